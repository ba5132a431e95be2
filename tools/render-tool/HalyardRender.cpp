// halyard-render: draws the clock window's client area (or the face alone) into
// a PNG without a display, exactly as the Linux window shows it.
#include <chrono>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

#include "app/ClockIcon.h"
#include "app/ClockStartup.h"
#include "app/ClockWindowHandler.h"
#include "app/ClockWindowSetup.h"
#include "app/SecondTime.h"
#include "face/DrawClock.h"
#include "backends/offscreen/OffscreenWindow.h"
#include "options/CommandLine.h"
#include "options/Reporter.h"
#include "platform/window/OptionsPath.h"
#include "platform/window/ProgramArguments.h"
#include "platform/window/WindowScale.h"
#include "backends/freetype/FreeTypeTextEngine.h"
#include "backends/posix/PngFile.h"
#include "backends/soft/SoftRasterizer.h"

namespace {

constexpr const char* kUsage =
    "usage: halyard-render [--time HH:MM:SS | --time YYYY-MM-DDTHH:MM:SSZ] [--options FILE] [--dpi N]\n"
    "                      [--scale S] [--sync STATE] [--offset SECONDS] [--countdown[=on|off]]\n"
    "                      [--second-time ZONE] [--second-time-label TEXT] [--face-only] -o OUT.png\n"
    "       halyard-render --icon SIZE -o OUT.png\n"
    "       halyard-render --help | --version\n"
    "\n"
    "Draws the clock as its Linux window shows it, into a PNG file.\n"
    "  --time HH:MM:SS  the UTC time to show, today (default: now)\n"
    "  --time YYYY-MM-DDTHH:MM:SSZ\n"
    "                   a UTC instant: a day near a daylight-saving change, for the second time\n"
    "  --options FILE   options file (default: the file the clock reads, see halyard-options)\n"
    "  --dpi N          display resolution, 48 to 960 (default 96)\n"
    "  --scale S        multiplies the resolution, 0.5 to 4, as the clock's scale setting does\n"
    "  --sync STATE     draw the face as the clock with sync-check on does when the system\n"
    "                   clock is synchronised, not-synchronised or unknown (default: no mark)\n"
    "  --offset SECONDS draw the mark as the clock with sync-check on does when it has\n"
    "                   measured the system clock this far from its time server (the\n"
    "                   system clock minus the server: -2.5 is 2.5 s slow)\n"
    "  --countdown      the status line as the clock with countdown on shows it: outside\n"
    "                   silent periods, the time to the next one instead of the banner\n"
    "  --second-time ZONE\n"
    "                   the second time as the clock's setting shows it: local or a zone name\n"
    "  --second-time-label TEXT\n"
    "                   the words after it (default: the zone's abbreviation)\n"
    "  --face-only      write the face alone, without the status line\n"
    "  --icon SIZE      write the program icon, SIZE x SIZE pixels (16 to 1024)\n"
    "  -o OUT.png       where to write the picture\n"
    "Long arguments are also written --NAME=VALUE, as the clock takes its settings.\n";

bool ValidTimeText(const std::string& t) {
  if (t.size() != 8 || t[2] != ':' || t[5] != ':') return false;
  for (int i : {0, 1, 3, 4, 6, 7}) {
    if (t[i] < '0' || t[i] > '9') return false;
  }
  return std::atoi(t.substr(0, 2).c_str()) < 24 && std::atoi(t.substr(3, 2).c_str()) < 60 &&
         std::atoi(t.substr(6, 2).c_str()) < 60;
}

// "YYYY-MM-DDTHH:MM:SSZ": the day's date and the time of day (checked apart).
bool ValidInstantText(const std::string& t, std::chrono::sys_days& day) {
  if (t.size() != 20 || t[4] != '-' || t[7] != '-' || t[10] != 'T' || t[19] != 'Z') return false;
  for (int i : {0, 1, 2, 3, 5, 6, 8, 9}) {
    if (t[i] < '0' || t[i] > '9') return false;
  }
  const std::chrono::year_month_day date{std::chrono::year{std::atoi(t.substr(0, 4).c_str())},
                                         std::chrono::month{static_cast<unsigned>(std::atoi(t.substr(5, 2).c_str()))},
                                         std::chrono::day{static_cast<unsigned>(std::atoi(t.substr(8, 2).c_str()))}};
  if (!date.ok() || !ValidTimeText(t.substr(11, 8))) return false;
  day = date;
  return true;
}

bool ParseInt(const char* text, long low, long high, long& value) {
  char* end = nullptr;
  value = std::strtol(text, &end, 10);
  return end != text && *end == '\0' && value >= low && value <= high;
}

int Fail(const std::string& message) {
  halyard::Reporter::Report(message);
  return 2;
}

// Its own arguments, and the clock's settings that change the picture.
constexpr halyard::ProgramArgument kRenderArguments[] = {
    {"--time", true}, {"--dpi", true}, {"--sync", true}, {"--offset", true}, {"--icon", true}, {"--face-only", false}, {"-o", true},
};
constexpr std::string_view kRenderSettings[] = {"scale", "countdown", "second-time", "second-time-label"};

}  // namespace

int main(int argc, char** argv) {
  std::setlocale(LC_CTYPE, "");
  halyard::Reporter::SetProgram("halyard-render");
  const halyard::CommandLine line = halyard::ParseCommandLine(halyard::ProgramArguments(argc, argv),
                                                              {kRenderArguments, kRenderSettings});
  switch (line.action) {
    case halyard::CommandLine::Action::Help:
      std::fputs(kUsage, stdout);
      return 0;
    case halyard::CommandLine::Action::Version:
      std::printf("%s\n", halyard::VersionText("halyard-render").c_str());
      return 0;
    default:
      break;
  }
  if (!line.refused.empty()) {
    std::fputs(kUsage, stderr);
    return Fail("unknown or incomplete argument '" + line.refused.front() + "'");
  }
  std::string timeText, output;
  const std::string optionsFile = line.optionsFile.value_or("");
  long dpi = halyard::kDefaultDpi, iconSize = 0;
  bool faceOnly = false;
  halyard::FaceMarks marks;
  std::optional<std::chrono::sys_days> day;  // none: today's
  for (const halyard::CommandLineSetting& arg : line.own) {
    const std::string& value = arg.value;
    if (arg.name == "--time") {
      timeText = value;
      std::chrono::sys_days date;
      if (ValidInstantText(timeText, date)) {
        day = date;
        timeText = timeText.substr(11, 8);
      } else if (!ValidTimeText(timeText)) {
        return Fail("bad time '" + timeText + "': expected HH:MM:SS, 00:00:00 to 23:59:59, or YYYY-MM-DDTHH:MM:SSZ");
      }
    } else if (arg.name == "--dpi") {
      if (!ParseInt(value.c_str(), halyard::kMinimumDpi, halyard::kMaximumDpi, dpi)) {
        return Fail("bad --dpi '" + value + "': expected " + std::to_string(halyard::kMinimumDpi) + " to " +
                    std::to_string(halyard::kMaximumDpi));
      }
    } else if (arg.name == "--icon") {
      if (!ParseInt(value.c_str(), 16, 1024, iconSize)) return Fail("bad --icon '" + value + "': expected 16 to 1024");
    } else if (arg.name == "--sync") {
      if (value != "synchronised" && value != "not-synchronised" && value != "unknown") {
        return Fail("bad --sync '" + value + "': expected synchronised, not-synchronised or unknown");
      }
      marks.notSynchronised = value == "not-synchronised";
    } else if (arg.name == "--offset") {
      char* end = nullptr;
      const double seconds = std::strtod(value.c_str(), &end);
      if (end == value.c_str() || *end != '\0' || !std::isfinite(seconds) || std::abs(seconds) > 1e6) {
        return Fail("bad --offset '" + value + "': expected seconds, such as -2.5");
      }
      marks.clockOffset = seconds;
    } else if (arg.name == "--face-only") {
      faceOnly = true;
    } else if (arg.name == "-o") {
      output = value;
    }
  }
  // The clock's own reading of its settings, so both accept the same values.
  halyard::ClockSettings settings;
  for (const halyard::CommandLineSetting& setting : line.settings) {
    const halyard::SettingDefinition& definition = *halyard::FindSetting(setting.name);
    if (!halyard::StoreSetting(definition, setting.value, settings) ||
        (definition.namesZone && setting.value != halyard::kSecondTimeOff &&
         setting.value != halyard::kSecondTimeLocal && !halyard::PlatformKnowsTimeZone(setting.value))) {
      return Fail("bad --" + setting.name + " '" + setting.value + "': expected " +
                  halyard::AcceptedValues(definition));
    }
  }
  marks.countdown = settings.countdown;
  if (output.empty()) {
    std::fputs(kUsage, stderr);
    return Fail("no output file given (-o OUT.png)");
  }

  std::string error;
  if (iconSize > 0) {
    const auto size = static_cast<std::int32_t>(iconSize);
    const halyard::Picture icon = halyard::RenderClockIcon(std::make_unique<halyard::SoftRasterizer>(size, size));
    if (!halyard::WritePng(output, icon, &error)) return Fail(error);
    return 0;
  }

  halyard::ClockOptions options;
  if (optionsFile.empty()) {
    const halyard::ClockConfiguration found =
        halyard::LoadClockConfiguration(halyard::LocateClockOptionsFileFromTool(), {}, halyard::PlatformOptionsFile());
    for (const std::string& message : found.messages) halyard::Reporter::Report(message);
    options = found.options;
  } else {
    std::string bytes;
    const auto status = halyard::PlatformOptionsFile().ReadFile(optionsFile, halyard::kMaxOptionsFileBytes, bytes);
    if (status != halyard::OptionsFileSource::ReadResult::Read) return Fail("cannot read options file '" + optionsFile + "'");
    options = halyard::ParseClockOptions(bytes);
  }
  if (timeText.empty()) timeText = halyard::UtcTimeText();
  // The instant shown: the time given on the day given, else today (UTC).
  const auto now = std::chrono::floor<std::chrono::seconds>(std::chrono::system_clock::now());
  const halyard::ClockTime shown = halyard::DecodeClockTime(timeText);
  const std::chrono::sys_seconds instant = day.value_or(std::chrono::floor<std::chrono::days>(now)) +
                                           std::chrono::hours{shown.hours} + std::chrono::minutes{shown.minutes} +
                                           std::chrono::seconds{shown.seconds};
  std::optional<halyard::SecondTime> second;
  if (settings.secondTime != halyard::kSecondTimeOff) {
    second.emplace(halyard::PlatformTimeZone(settings.secondTime), settings.secondTime, settings.secondTimeLabel);
    second->Read(instant);
    marks.secondTime = second->Legend();
  }
  dpi = halyard::ScaledDpi(static_cast<std::int32_t>(dpi), settings.scale);

  // A face without its time text would be a wrong picture, not a preview.
  if (!halyard::FreeTypeTextEngine().SetFont(halyard::ClockFontSpec(), static_cast<std::int32_t>(dpi))) {
    return Fail("no usable font: neither fontconfig nor the fallback fonts give one (install fonts-liberation)");
  }
  halyard::OffscreenWindow window(static_cast<std::int32_t>(dpi), [] {
    return std::make_unique<halyard::FreeTypeTextEngine>();
  });
  const halyard::WindowHandle handle = halyard::PrepareClockWindow(window, options);
  halyard::DrawClock(handle, halyard::kClockFaceId, timeText, options, marks);

  const halyard::Picture picture = faceOnly ? *window.FacePicture() : window.Compose();
  if (!halyard::WritePng(output, picture, &error)) return Fail(error);
  return 0;
}
