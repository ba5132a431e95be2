#include "app/RunClock.h"

#include "app/ClockTooltip.h"
#include "app/ClockWindowHandler.h"
#include "app/ClockWindowSetup.h"
#include "options/ServerName.h"

namespace halyard {

std::int32_t RunClock(ClockWindowPlatform& platform, const ClockConfiguration& configuration) {
  CurrentClockOptions() = configuration.options;
  CurrentClockSettings() = configuration.settings.settings;
  const ClockSettings& settings = CurrentClockSettings();
  platform.SetPlacement({settings.geometry, settings.scale, settings.fitScreen, settings.rememberPosition});
  const WindowHandle window = PrepareClockWindow(platform, CurrentClockOptions());
  if (window == nullptr) return 0;  // nothing to show; nothing is reported
  platform.SetFaceTooltip(&CurrentClockTooltipLines);
  // Nothing is sent unless a server is named; the setting was checked when read.
  std::unique_ptr<OffsetMonitor> offset;
  if (const std::optional<ServerName> server = ParseServerName(settings.ntpServer)) {
    offset = std::make_unique<OffsetMonitor>(*server, settings.ntpServer, MakePlatformSntpTransport(), HandlerClock());
  }
  ClockOffsetMonitor() = offset.get();

  platform.BringToForeground();
  // The first face is drawn before the window becomes visible, and the
  // handler hears of its size as a dialog's would on showing.
  ClockWindowHandler(window, kEventInitialise, 0, 0);
  ClockWindowHandler(window, kEventSize, 0, 0);
  platform.Show();
  platform.RunEventLoop(&ClockWindowHandler);
  ClockOffsetMonitor() = nullptr;
  platform.ReleaseFonts();
  return 0;
}

}  // namespace halyard
