// halyard-options: shows how the clock reads an options file and what in it
// looks wrong. Exit code 0 when clean, 1 with warnings, 2 when the file cannot
// be read or the command line is wrong.
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "options/ClockOptions.h"
#include "options/ColorValue.h"
#include "options/OptionsReport.h"
#include "platform/window/DialogUnits.h"
#include "platform/window/OptionsPath.h"
#include "platform/window/ProgramArguments.h"
#include "platform/window/StatusTextMeasure.h"


namespace {

using halyard::OptionsFileSource;

constexpr int kExitClean = 0;
constexpr int kExitWarnings = 1;
constexpr int kExitFailure = 2;

void PrintUsage(std::FILE* out) {
  std::fputs(
      "usage: halyard-options [FILE]\n"
      "       halyard-options --color TEXT...\n"
      "       halyard-options --help\n"
      "\n"
      "Shows the nine options as the clock reads them from FILE (by default\n"
      "OPTION.DTA beside the clock), what each means, and warnings about texts\n"
      "that are probably mistakes. Bytes that do not print are shown as \\xNN.\n"
      "--color prints the number each TEXT gives as a colour, one per line.\n"
      "\n"
      "Exit status: 0 no warnings, 1 warnings, 2 the file cannot be read or\n"
      "the command line is wrong. A missing file is not an error: the clock\n"
      "then uses its defaults, and those are shown.\n",
      out);
}

// Paths keep their backslashes; only control bytes are escaped.
std::string PrintablePath(const std::string& path) {
  std::string out;
  for (char c : path) {
    if (static_cast<unsigned char>(c) < 0x20 || c == '\x7F') out += halyard::EscapeOptionText(std::string(1, c));
    else out += c;
  }
  return out;
}

void PrintReport(const std::string& path, bool absent, const halyard::OptionsReport& report) {
  std::printf("Options file: %s\n", PrintablePath(path).c_str());
  if (absent) std::printf("  not found: the clock uses its defaults, shown here\n");
  std::printf("\n");
  for (std::size_t i = 0; i < halyard::ClockOptions::kLineCount; ++i) {
    const std::string text = i < report.linesInFile ? "\"" + halyard::EscapeOptionText(report.options.Line(i)) + "\""
                                                    : "(missing: empty)";
    std::printf("%zu %-16s %s\n", i + 1, std::string(halyard::kOptionNames[i]).c_str(), text.c_str());
    std::printf("    %s\n", report.meanings[i].c_str());
  }
  if (report.warnings.empty()) {
    std::printf("\nNo warnings.\n");
    return;
  }
  std::printf("\n%zu warning%s:\n", report.warnings.size(), report.warnings.size() == 1 ? "" : "s");
  for (const auto& warning : report.warnings) {
    if (warning.line == 0) std::printf("  file: %s\n", warning.message.c_str());
    else std::printf("  line %zu (%s): %s\n", warning.line, std::string(halyard::kOptionNames[warning.line - 1]).c_str(),
                     warning.message.c_str());
  }
}

// The status line is the window's width: 220 dialog units, 330 pixels at 96 dpi.
std::optional<halyard::StatusWidthLimit> StatusLineWidth(bool utf8Text = false) {
  auto measure = halyard::MakeStatusTextMeasure(96, utf8Text);
  if (!measure) return std::nullopt;
  return halyard::StatusWidthLimit{measure, halyard::DialogUnits::ForDpi(96).ToPixelsX(halyard::kWindowWidthUnits)};
}

int ShowFile(const std::string& path) {
  std::string bytes;
  switch (halyard::FetchOptionsFile(path, halyard::PlatformOptionsFile(), bytes)) {
    case OptionsFileSource::ReadResult::Absent:
      PrintReport(path, true, halyard::ReportOnOptions(halyard::DefaultClockOptions(), halyard::ClockOptions::kLineCount, StatusLineWidth()));
      return kExitClean;
    case OptionsFileSource::ReadResult::Unreadable:
      std::fprintf(stderr, "halyard-options: cannot read %s; the clock would use its defaults\n",
                   PrintablePath(path).c_str());
      return kExitFailure;
    case OptionsFileSource::ReadResult::Read:
      break;
  }
  const bool utf8Text = bytes.rfind("\xEF\xBB\xBF", 0) == 0;
  const halyard::OptionsReport report = halyard::ReportOnOptionsFile(bytes, StatusLineWidth(utf8Text));
  PrintReport(path, false, report);
  return report.warnings.empty() ? kExitClean : kExitWarnings;
}

int Run(const std::vector<std::string>& args) {
  if (!args.empty() && (args[0] == "--help" || args[0] == "-h")) {
    PrintUsage(stdout);
    return kExitClean;
  }
  if (!args.empty() && args[0] == "--color") {
    for (std::size_t i = 1; i < args.size(); ++i) std::printf("%d\n", static_cast<int>(halyard::ColorValue(args[i])));
    return kExitClean;
  }
  std::size_t first = 0;
  if (!args.empty() && args[0] == "--") first = 1;
  else if (!args.empty() && args[0].size() > 1 && args[0][0] == '-') {
    std::fprintf(stderr, "halyard-options: unknown option %s\n", halyard::EscapeOptionText(args[0]).c_str());
    PrintUsage(stderr);
    return kExitFailure;
  }
  if (args.size() > first + 1) {
    PrintUsage(stderr);
    return kExitFailure;
  }
  return ShowFile(args.size() > first ? args[first] : halyard::OptionsPath());
}


}  // namespace

int main(int argc, char** argv) {
  return Run(halyard::ProgramArguments(argc, argv));
}
