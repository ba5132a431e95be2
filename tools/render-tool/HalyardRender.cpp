// halyard-render: draws the clock window's client area (or the face alone) into
// a PNG without a display, exactly as the Linux window shows it.
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/ClockIcon.h"
#include "app/ClockStartup.h"
#include "app/ClockWindowHandler.h"
#include "app/ClockWindowSetup.h"
#include "face/DrawClock.h"
#include "backends/offscreen/OffscreenWindow.h"
#include "options/CommandLine.h"
#include "platform/window/OptionsPath.h"
#include "platform/window/WindowScale.h"
#include "backends/freetype/FreeTypeTextEngine.h"
#include "backends/posix/PngFile.h"
#include "backends/soft/SoftRasterizer.h"

namespace {

constexpr const char* kUsage =
    "usage: halyard-render [--time HH:MM:SS] [--options FILE] [--dpi N] [--scale S] [--sync STATE]\n"
    "                      [--countdown] [--face-only] -o OUT.png\n"
    "       halyard-render --icon SIZE -o OUT.png\n"
    "       halyard-render --help | --version\n"
    "\n"
    "Draws the clock as its Linux window shows it, into a PNG file.\n"
    "  --time HH:MM:SS  the UTC time to show (default: now)\n"
    "  --options FILE   options file (default: the file the clock reads, see halyard-options)\n"
    "  --dpi N          display resolution, 48 to 960 (default 96)\n"
    "  --scale S        multiplies the resolution, 0.5 to 4, as the clock's scale setting does\n"
    "  --sync STATE     draw the face as the clock with sync-check on does when the system\n"
    "                   clock is synchronised, not-synchronised or unknown (default: no mark)\n"
    "  --countdown      the status line as the clock with countdown on shows it: outside\n"
    "                   silent periods, the time to the next one instead of the banner\n"
    "  --face-only      write the face alone, without the status line\n"
    "  --icon SIZE      write the program icon, SIZE x SIZE pixels (16 to 1024)\n"
    "  -o OUT.png       where to write the picture\n";

bool ValidTimeText(const std::string& t) {
  if (t.size() != 8 || t[2] != ':' || t[5] != ':') return false;
  for (int i : {0, 1, 3, 4, 6, 7}) {
    if (t[i] < '0' || t[i] > '9') return false;
  }
  return std::atoi(t.substr(0, 2).c_str()) < 24 && std::atoi(t.substr(3, 2).c_str()) < 60 &&
         std::atoi(t.substr(6, 2).c_str()) < 60;
}

bool ParseInt(const char* text, long low, long high, long& value) {
  char* end = nullptr;
  value = std::strtol(text, &end, 10);
  return end != text && *end == '\0' && value >= low && value <= high;
}

int Fail(const std::string& message) {
  std::fprintf(stderr, "halyard-render: %s\n", message.c_str());
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::setlocale(LC_CTYPE, "");
  std::string timeText, optionsFile, output;
  long dpi = 96, iconSize = 0;
  double scale = 1.0;
  bool faceOnly = false;
  halyard::FaceMarks marks;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == "--help" || arg == "-h") {
      std::fputs(kUsage, stdout);
      return 0;
    } else if (arg == "--version") {
      std::printf("%s\n", halyard::VersionText("halyard-render").c_str());
      return 0;
    } else if (arg == "--time" && hasValue) {
      timeText = argv[++i];
      if (!ValidTimeText(timeText)) return Fail("bad time '" + timeText + "': expected HH:MM:SS, 00:00:00 to 23:59:59");
    } else if (arg == "--options" && hasValue) {
      optionsFile = argv[++i];
    } else if (arg == "--dpi" && hasValue) {
      if (!ParseInt(argv[++i], halyard::kMinimumDpi, halyard::kMaximumDpi, dpi)) {
        return Fail(std::string("bad --dpi '") + argv[i] + "': expected " + std::to_string(halyard::kMinimumDpi) +
                    " to " + std::to_string(halyard::kMaximumDpi));
      }
    } else if (arg == "--scale" && hasValue) {
      // The clock's own reading of the setting, so both accept the same values.
      halyard::ClockSettings settings;
      if (!halyard::StoreSetting(*halyard::FindSetting("scale"), argv[++i], settings)) {
        return Fail(std::string("bad --scale '") + argv[i] + "': expected 0.5 to 4");
      }
      scale = settings.scale;
    } else if (arg == "--icon" && hasValue) {
      if (!ParseInt(argv[++i], 16, 1024, iconSize)) return Fail(std::string("bad --icon '") + argv[i] + "': expected 16 to 1024");
    } else if (arg == "--sync" && hasValue) {
      const std::string state = argv[++i];
      if (state != "synchronised" && state != "not-synchronised" && state != "unknown") {
        return Fail("bad --sync '" + state + "': expected synchronised, not-synchronised or unknown");
      }
      marks.notSynchronised = state == "not-synchronised";
    } else if (arg == "--countdown") {
      marks.countdown = true;
    } else if (arg == "--face-only") {
      faceOnly = true;
    } else if (arg == "-o" && hasValue) {
      output = argv[++i];
    } else {
      std::fputs(kUsage, stderr);
      return Fail("unknown or incomplete argument '" + arg + "'");
    }
  }
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
    for (const std::string& message : found.messages) std::fprintf(stderr, "halyard-render: %s\n", message.c_str());
    options = found.options;
  } else {
    std::string bytes;
    const auto status = halyard::PlatformOptionsFile().ReadFile(optionsFile, halyard::kMaxOptionsFileBytes, bytes);
    if (status != halyard::OptionsFileSource::ReadResult::Read) return Fail("cannot read options file '" + optionsFile + "'");
    options = halyard::ParseClockOptions(bytes);
  }
  if (timeText.empty()) timeText = halyard::UtcTimeText();
  dpi = halyard::ScaledDpi(static_cast<std::int32_t>(dpi), scale);

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
