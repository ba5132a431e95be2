#include "app/ClockWindowHandler.h"

#include "app/SilentPeriodAlert.h"
#include "face/DrawClock.h"
#include "platform/window/WindowHost.h"

namespace halyard {
namespace {
ClockOptions g_options;
ClockSettings g_settings;
std::uint32_t g_timerHandle = 0;
SystemClock* g_clock = nullptr;

SilentPeriodAlert g_alert;
std::optional<ClockTime> g_shown;

// The time of one tick, from one reading of the clock: its text and its instant.
struct TickTime {
  std::string text;
  std::chrono::sys_seconds utc;
};

class OneReading final : public SystemClock {
 public:
  explicit OneReading(ClockReading reading) : reading_(reading) {}
  ClockReading Read() override { return reading_; }

 private:
  ClockReading reading_;
};

TickTime ReadTickTime() {
  OneReading once((g_clock != nullptr ? *g_clock : PlatformClock()).Read());
  const ClockReading reading = once.Read();
  return {UtcTimeText(once), std::chrono::floor<std::chrono::seconds>(reading.utc)};
}

void ShowTick(WindowHandle window, const TickTime& time, const FaceMarks& marks) {
  DrawClock(window, kClockFaceId, time.text, g_options, marks);
  g_shown = DecodeClockTime(time.text);
}

// With the setting off nothing is asked of the window.
void FollowSilentPeriods(WindowHandle window, std::chrono::sys_seconds utc) {
  const AlertMode mode = g_settings.alert;
  if (mode == AlertMode::Off || window == nullptr) return;
  const bool bell = mode == AlertMode::Bell || mode == AlertMode::Both;
  const bool flash = mode == AlertMode::Flash || mode == AlertMode::Both;
  switch (g_alert.Tick(utc)) {
    case SilentPeriodAlert::Signal::Start:
      if (bell) window->RequestAttention(Attention::Bell);
      if (flash) window->RequestAttention(Attention::Flash);
      break;
    case SilentPeriodAlert::Signal::End:
      if (flash) window->RequestAttention(Attention::StopFlash);
      break;
    case SilentPeriodAlert::Signal::None:
      break;
  }
}

// With the setting off the system is not even asked.
FaceMarks CurrentFaceMarks() {
  FaceMarks marks;
  if (g_settings.syncCheck) {
    marks.notSynchronised =
        ClockSyncMonitor().Health(std::chrono::steady_clock::now()).state == SyncState::NotSynchronised;
  }
  marks.countdown = g_settings.countdown;
  return marks;
}
}  // namespace

ClockOptions& CurrentClockOptions() { return g_options; }
ClockSettings& CurrentClockSettings() { return g_settings; }
std::uint32_t& ClockTimerHandle() { return g_timerHandle; }
void SetHandlerClock(SystemClock* clock) { g_clock = clock; }
std::optional<ClockTime> ShownClockTime() { return g_shown; }
SyncMonitor& ClockSyncMonitor() {
  static SyncMonitor monitor;
  return monitor;
}

std::int32_t ClockWindowHandler(WindowHandle window, std::uint32_t message, std::uint32_t wParam,
                                std::int32_t /*lParam*/) {
  switch (message) {
    case kEventInitialise: {
      const TickTime time = ReadTickTime();
      g_timerHandle = window != nullptr ? window->StartTimer(kClockTimerId, kClockTimerPeriodMs) : 0;
      ShowTick(window, time, CurrentFaceMarks());
      g_alert = SilentPeriodAlert{};  // a clock started inside a period stays quiet
      FollowSilentPeriods(window, time.utc);
      break;
    }
    case kEventTimer:
      if (wParam == kClockTimerId) {
        const TickTime time = ReadTickTime();
        ShowTick(window, time, CurrentFaceMarks());
        FollowSilentPeriods(window, time.utc);
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
