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
TimeZoneMaker g_zones = nullptr;
std::unique_ptr<SecondTime> g_secondTime;  // none while the setting is off

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
  OneReading once(HandlerClock().Read());
  const ClockReading reading = once.Read();
  return {UtcTimeText(once), std::chrono::floor<std::chrono::seconds>(reading.utc)};
}

// Made when the clock starts, from the setting checked as it was read.
static_assert(kSecondTimeLocal == kLocalZoneName, "the setting's word for the system's zone is the platform's");
std::unique_ptr<SecondTime> MakeSecondTime(const ClockSettings& settings) {
  if (settings.secondTime == kSecondTimeOff) return nullptr;
  TimeZoneMaker make = g_zones != nullptr ? g_zones : &PlatformTimeZone;
  return std::make_unique<SecondTime>(make(settings.secondTime), settings.secondTime, settings.secondTimeLabel);
}

// Everything the face and the status line are drawn from, gathered in one
// place: the picture is drawn from this alone, so a tick whose state equals
// the one shown has nothing new to show. Something new the picture shows
// comes in here, or it cannot be drawn.
struct FaceState {
  std::string timeText;
  ClockOptions options;
  bool notSynchronised = false;
  std::optional<double> clockOffset;
  bool countdown = false;
  std::string secondTime;  // the second time's legend; empty: none

  bool operator==(const FaceState&) const = default;
};

// The state shown, and the one being gathered (kept, so that gathering reuses its buffers).
FaceState g_shownState;
FaceState g_nextState;
bool g_stateShown = false;

// With the setting off the system is not even asked.
void GatherFaceState(const TickTime& time, FaceState& state) {
  state.timeText = time.text;
  state.options = g_options;
  state.notSynchronised = g_settings.syncCheck && ClockSyncMonitor().Health(std::chrono::steady_clock::now()).state ==
                                                      SyncState::NotSynchronised;
  state.clockOffset = g_settings.syncCheck && ClockOffsetMonitor() != nullptr
                          ? OffsetToMark(ClockOffsetMonitor()->Status(), g_settings.offsetLimit)
                          : std::nullopt;
  state.countdown = g_settings.countdown;
  if (g_secondTime) {
    g_secondTime->Read(time.utc);
    state.secondTime = g_secondTime->Legend();
  } else {
    state.secondTime.clear();
  }
}

// The face still shows the last repaint: nothing drew over it or lost it since.
bool FaceShowsLastRepaint(WindowHandle window) {
  const Canvas* face = window != nullptr ? window->FindCanvas(kClockFaceId) : nullptr;
  return face != nullptr && face->ShowsLastRepaint();
}

void ShowTick(WindowHandle window, const TickTime& time) {
  GatherFaceState(time, g_nextState);
  if (g_stateShown && g_nextState == g_shownState && FaceShowsLastRepaint(window)) return;
  const FaceState& state = g_nextState;
  FaceMarks marks;
  marks.notSynchronised = state.notSynchronised;
  marks.clockOffset = state.clockOffset;
  marks.countdown = state.countdown;
  marks.secondTime = state.secondTime;
  DrawClock(window, kClockFaceId, state.timeText, state.options, marks);
  g_shown = DecodeClockTime(state.timeText);
  std::swap(g_shownState, g_nextState);
  g_stateShown = true;
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

}  // namespace

ClockOptions& CurrentClockOptions() { return g_options; }
ClockSettings& CurrentClockSettings() { return g_settings; }
std::uint32_t& ClockTimerHandle() { return g_timerHandle; }
void SetHandlerClock(SystemClock* clock) { g_clock = clock; }
SystemClock& HandlerClock() { return g_clock != nullptr ? *g_clock : PlatformClock(); }
OffsetMonitor*& ClockOffsetMonitor() {
  static OffsetMonitor* monitor = nullptr;
  return monitor;
}
void SetHandlerTimeZones(TimeZoneMaker maker) { g_zones = maker; }
const SecondTime* ShownSecondTime() { return g_secondTime.get(); }
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
      g_secondTime = MakeSecondTime(g_settings);
      g_stateShown = false;  // a new window shows nothing yet
      ShowTick(window, time);
      g_alert = SilentPeriodAlert{};  // a clock started inside a period stays quiet
      FollowSilentPeriods(window, time.utc);
      break;
    }
    case kEventTimer:
      if (wParam == kClockTimerId) {
        const TickTime time = ReadTickTime();
        ShowTick(window, time);
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
