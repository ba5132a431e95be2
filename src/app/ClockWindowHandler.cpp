#include "app/ClockWindowHandler.h"

#include "face/DrawClock.h"
#include "platform/window/WindowHost.h"

namespace halyard {
namespace {
ClockOptions g_options;
ClockSettings g_settings;
std::uint32_t g_timerHandle = 0;
SystemClock* g_clock = nullptr;

std::string CurrentUtcTimeText() { return UtcTimeText(g_clock != nullptr ? *g_clock : PlatformClock()); }

// With the setting off the system is not even asked.
FaceMarks CurrentFaceMarks() {
  FaceMarks marks;
  if (g_settings.syncCheck) {
    marks.notSynchronised =
        ClockSyncMonitor().Health(std::chrono::steady_clock::now()).state == SyncState::NotSynchronised;
  }
  return marks;
}
}  // namespace

ClockOptions& CurrentClockOptions() { return g_options; }
ClockSettings& CurrentClockSettings() { return g_settings; }
std::uint32_t& ClockTimerHandle() { return g_timerHandle; }
void SetHandlerClock(SystemClock* clock) { g_clock = clock; }
SyncMonitor& ClockSyncMonitor() {
  static SyncMonitor monitor;
  return monitor;
}

std::int32_t ClockWindowHandler(WindowHandle window, std::uint32_t message, std::uint32_t wParam,
                                std::int32_t /*lParam*/) {
  switch (message) {
    case kEventInitialise: {
      const std::string timeText = CurrentUtcTimeText();
      g_timerHandle = window != nullptr ? window->StartTimer(kClockTimerId, kClockTimerPeriodMs) : 0;
      DrawClock(window, kClockFaceId, timeText, g_options, CurrentFaceMarks());
      break;
    }
    case kEventTimer:
      if (wParam == kClockTimerId) {
        DrawClock(window, kClockFaceId, CurrentUtcTimeText(), g_options, CurrentFaceMarks());
      }
      break;
    case kEventDestroy:
      if (g_timerHandle != 0 && window != nullptr) window->StopTimer(g_timerHandle);
      break;
    case kEventCommand: {
      const std::uint32_t command = wParam & 0xFFFFu;
      const std::uint32_t notification = wParam >> 16;
      if (command == kCancelCommand && notification <= 1 && window != nullptr) window->EndWindow();
      break;
    }
    default:
      break;
  }
  return 0;
}

}  // namespace halyard
