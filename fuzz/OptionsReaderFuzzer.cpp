// Whole options files: the fast reader must agree with a byte-at-a-time
// reading of the same rules, and every line must respect the limits.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "options/ClockOptions.h"
#include "options/OptionsReport.h"

using namespace halyard;

namespace {

// The rules, one byte at a time.
ClockOptions SlowParse(std::string_view bytes) {
  bytes = bytes.substr(0, kMaxOptionsFileBytes);
  ClockOptions options;
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") {
    bytes.remove_prefix(3);
    options.Utf8Texts = true;  // the mark makes the texts UTF-8
  }
  std::size_t pos = 0;
  for (std::size_t line = 0; line < ClockOptions::kLineCount; ++line) {
    std::string text;
    while (pos < bytes.size()) {
      const char c = bytes[pos];
      if (c == '\x1A') break;
      ++pos;
      if (c == '\n') break;
      if (c == '\r') {
        if (pos < bytes.size() && bytes[pos] == '\n') ++pos;
        break;
      }
      if (text.size() < kMaxOptionLineBytes) text += c;
    }
    options.Line(line) = text;
  }
  return options;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const ClockOptions options = ParseClockOptions(bytes);

  for (std::size_t i = 0; i < ClockOptions::kLineCount; ++i) {
    const std::string& line = options.Line(i);
    if (line.size() > kMaxOptionLineBytes) std::abort();
    if (line.find_first_of(std::string_view("\r\n\x1A", 3)) != std::string::npos) std::abort();
  }
  if (!(options == SlowParse(bytes))) std::abort();

  // Written back with CR LF, the lines read the same (unless line 1 would
  // begin with a byte-order mark, which is skipped).
  if (options.BackgroundColor.rfind("\xEF\xBB\xBF", 0) != 0) {
    std::string rewritten = options.Utf8Texts ? "\xEF\xBB\xBF" : "";
    for (std::size_t i = 0; i < ClockOptions::kLineCount; ++i) rewritten += options.Line(i) + "\r\n";
    if (!(ParseClockOptions(rewritten) == options)) std::abort();
  }

  // The report must cope with anything the reader gives.
  const OptionsReport report = ReportOnOptionsFile(bytes);
  if (report.linesInFile > ClockOptions::kLineCount) std::abort();
  // Its settings stay in range whatever the lines after the ninth say, and a
  // flood of bad lines keeps only a few problems.
  const ClockSettings& settings = report.settings.settings;
  if (!(settings.scale >= 0.5 && settings.scale <= 4.0)) std::abort();
  // Without a zone check no name but off and local is a zone.
  if (settings.secondTime != kSecondTimeOff && settings.secondTime != kSecondTimeLocal) std::abort();
  if (report.settings.problems.size() > kMaxSettingProblems) std::abort();
  for (const SettingProblem& problem : report.settings.problems) {
    if (problem.line <= ClockOptions::kLineCount || problem.message.size() > 400) std::abort();
  }
  return 0;
}
