#include "app/RunClock.h"

#include "app/ClockTooltip.h"
#include "app/ClockWindowHandler.h"
#include "app/ClockWindowSetup.h"

namespace halyard {

std::int32_t RunClock(ClockWindowPlatform& platform, const ClockConfiguration& configuration) {
  CurrentClockOptions() = configuration.options;
  CurrentClockSettings() = configuration.settings.settings;
  const ClockSettings& settings = CurrentClockSettings();
  platform.SetPlacement({settings.geometry, settings.scale, settings.fitScreen, settings.rememberPosition});
  const WindowHandle window = PrepareClockWindow(platform, CurrentClockOptions());
  if (window == nullptr) return 0;  // nothing to show; nothing is reported
  platform.SetFaceTooltip(&CurrentClockTooltipLines);

  platform.BringToForeground();
  // The first face is drawn before the window becomes visible.
  ClockWindowHandler(window, kEventInitialise, 0, 0);
  const DialogUnits units = platform.Units();
  const std::int32_t clientWidth = units.ToPixelsX(kWindowWidthUnits);
  const std::int32_t clientHeight = units.ToPixelsY(kWindowHeightUnits);
  ClockWindowHandler(window, kEventSize, 0,
                     static_cast<std::int32_t>((static_cast<std::uint32_t>(clientWidth) & 0xFFFFu) |
                                               (static_cast<std::uint32_t>(clientHeight) << 16)));
  platform.Show();
  platform.RunEventLoop(&ClockWindowHandler);
  platform.ReleaseFonts();
  return 0;
}

std::int32_t RunClock(const ClockConfiguration& configuration) {
  const std::unique_ptr<ClockWindowPlatform> platform = MakeClockWindowPlatform();
  return platform != nullptr ? RunClock(*platform, configuration) : 0;
}

}  // namespace halyard
