// The X11 window in this process, driven through the real start-up and
// handler, with another connection acting as the user and the window manager.
#include "platform/x11/X11ClockWindow.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <functional>
#include <vector>

#include "TestDisplay.h"
#include "app/ClockWindowHandler.h"
#include "app/ClockWindowSetup.h"
#include "face/DrawClock.h"
#include "platform/OffscreenWindow.h"
#include "platform/freetype/FreeTypeTextEngine.h"
#include "platform/x11/WindowImage.h"

#include <X11/keysym.h>

namespace halyard {
namespace {

using test::TestDisplay;

class FixedClock final : public SystemClock {
 public:
  explicit FixedClock(std::chrono::sys_time<std::chrono::milliseconds> utc) : utc_(utc) {}
  ClockReading Read() override { return {utc_, std::chrono::seconds(0)}; }

 private:
  std::chrono::sys_time<std::chrono::milliseconds> utc_;
};

struct Event {
  std::uint32_t message;
  std::uint32_t wParam;
  bool operator==(const Event&) const = default;
};

// The handler is a plain function: what it records and does lives here.
std::vector<Event> g_events;
std::function<void(WindowHandle, const Event&)> g_onEvent;

std::int32_t RecordingHandler(WindowHandle window, std::uint32_t message, std::uint32_t wParam, std::int32_t lParam) {
  const Event event{message, wParam};
  g_events.push_back(event);
  const std::int32_t result = ClockWindowHandler(window, message, wParam, lParam);
  if (g_onEvent) g_onEvent(window, event);
  return result;
}

std::vector<std::uint32_t> Messages() {
  std::vector<std::uint32_t> messages;
  for (const Event& e : g_events) messages.push_back(e.message);
  return messages;
}

class X11ClockWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!test::X11TestsRequested()) GTEST_SKIP() << "needs the X server of scripts/x11-tests.sh";
    g_events.clear();
    g_onEvent = nullptr;
    CurrentClockOptions() = DefaultClockOptions();
    SetHandlerClock(&clock_);
    window_ = X11ClockWindow::Connect();
    ASSERT_NE(window_, nullptr);
  }
  void TearDown() override {
    g_onEvent = nullptr;
    SetHandlerClock(nullptr);
    ClockTimerHandle() = 0;
  }

  // RunClock's steps, with the recording handler.
  WindowHandle StartClock() {
    const WindowHandle handle = PrepareClockWindow(*window_, CurrentClockOptions());
    if (handle == nullptr) return nullptr;
    RecordingHandler(handle, kEventInitialise, 0, 0);
    window_->Show();
    return handle;
  }

  // Runs `act` once, on the first tick, then leaves only a watchdog timer: an
  // event the loop fails to notice would then wait for the watchdog, not for
  // the next tick, and the watchdog's tick shows in the events.
  void ActOnFirstTick(std::function<void()> act) {
    g_onEvent = [act](WindowHandle w, const Event& e) {
      if (e.message != kEventTimer) return;
      if (e.wParam == kWatchdogTimer) {
        w->EndWindow();
        return;
      }
      w->StopTimer(ClockTimerHandle());
      w->StartTimer(kWatchdogTimer, 5000);
      act();
    };
  }
  static bool WatchdogFired() {
    return std::count(g_events.begin(), g_events.end(), Event{kEventTimer, kWatchdogTimer}) > 0;
  }
  static constexpr std::uint32_t kWatchdogTimer = 9;

  // 14:05:09.250 UTC: minute 5, the banner.
  FixedClock clock_{std::chrono::sys_days{std::chrono::year{2024} / 3 / 10} + std::chrono::hours(14) +
                    std::chrono::minutes(5) + std::chrono::milliseconds(9250)};
  std::unique_ptr<X11ClockWindow> window_;
  TestDisplay user_;
};

TEST_F(X11ClockWindowTest, FirstPictureIsComposedBeforeMappingAndMatchesTheOffscreenRenderer) {
  const WindowHandle handle = PrepareClockWindow(*window_, CurrentClockOptions());
  ASSERT_NE(handle, nullptr);
  RecordingHandler(handle, kEventInitialise, 0, 0);

  OffscreenWindow offscreen(window_->Dpi(), [] { return std::make_unique<FreeTypeTextEngine>(); });
  const WindowHandle reference = PrepareClockWindow(offscreen, CurrentClockOptions());
  DrawClock(reference, kClockFaceId, "14:05:09", CurrentClockOptions());
  const Picture expected = offscreen.Compose();
  EXPECT_TRUE(window_->Frame() == expected) << "the window's picture differs from halyard-render's";

  // Mapped with nothing more from the clock: the server paints the kept picture.
  window_->Show();
  XSync(window_->XDisplay(), False);
  EXPECT_TRUE(user_.Capture(window_->XWindow()) == expected) << "the screen differs from the composed picture";
  EXPECT_TRUE(window_->Image()->DirectCopy());
}

TEST_F(X11ClockWindowTest, EscapeIsTheCancelCommandThenCloseThenDestroy) {
  ASSERT_NE(StartClock(), nullptr);
  const unsigned long xwindow = window_->XWindow();
  ActOnFirstTick([&] { user_.SendKey(xwindow, XK_Escape); });
  window_->RunEventLoop(&RecordingHandler);

  EXPECT_TRUE(window_->Destroyed());
  EXPECT_FALSE(WatchdogFired()) << "the key was seen only when the loop woke for another reason";
  const std::vector<Event> tail(g_events.end() - 3, g_events.end());
  EXPECT_EQ(tail, (std::vector<Event>{{kEventCommand, kCancelCommand}, {kEventClose, 0}, {kEventDestroy, 0}}));
}

TEST_F(X11ClockWindowTest, CloseBoxClosesAndDestroysWithoutACommand) {
  ASSERT_NE(StartClock(), nullptr);
  const unsigned long xwindow = window_->XWindow();
  ActOnFirstTick([&] { user_.SendDeleteWindow(xwindow); });
  window_->RunEventLoop(&RecordingHandler);
  EXPECT_FALSE(WatchdogFired());

  const std::vector<std::uint32_t> messages = Messages();
  EXPECT_EQ(std::vector<std::uint32_t>(messages.end() - 2, messages.end()),
            (std::vector<std::uint32_t>{kEventClose, kEventDestroy}));
  EXPECT_EQ(std::count(messages.begin(), messages.end(), kEventCommand), 0);
}

TEST_F(X11ClockWindowTest, TerminationSignalClosesTheWindowInsteadOfKillingTheProcess) {
  ASSERT_NE(StartClock(), nullptr);
  // Raised while the handler runs: held back until the loop waits, then seen at once.
  ActOnFirstTick([] { std::raise(SIGTERM); });
  window_->RunEventLoop(&RecordingHandler);
  EXPECT_FALSE(WatchdogFired());

  const std::vector<std::uint32_t> messages = Messages();
  ASSERT_GE(messages.size(), 2u);
  EXPECT_EQ(std::vector<std::uint32_t>(messages.end() - 2, messages.end()),
            (std::vector<std::uint32_t>{kEventClose, kEventDestroy}));
}

TEST_F(X11ClockWindowTest, WindowDestroyedByAnotherClientDeliversDestroyOnly) {
  ASSERT_NE(StartClock(), nullptr);
  const unsigned long xwindow = window_->XWindow();
  ActOnFirstTick([&] {
    XDestroyWindow(user_.Get(), xwindow);
    XFlush(user_.Get());
  });
  window_->RunEventLoop(&RecordingHandler);
  EXPECT_FALSE(WatchdogFired());

  const std::vector<std::uint32_t> messages = Messages();
  EXPECT_EQ(messages.back(), kEventDestroy);
  EXPECT_EQ(std::count(messages.begin(), messages.end(), kEventClose), 0);
  EXPECT_EQ(window_->XWindow(), 0u);
}

TEST_F(X11ClockWindowTest, LoopWakesOncePerTickAndOnlyForTicksWhenIdle) {
  const WindowHandle handle = PrepareClockWindow(*window_, CurrentClockOptions());
  ASSERT_NE(handle, nullptr);
  window_->Show();
  constexpr int kTicks = 12;
  int ticks = 0;
  g_onEvent = [&](WindowHandle w, const Event& e) {
    if (e.message == kEventTimer && ++ticks == kTicks) w->EndWindow();
  };
  // A fast private timer keeps the test short; the clock's own is the same code.
  ASSERT_NE(handle->StartTimer(7, 20), 0u);
  const std::uint64_t before = X11ClockWindow::WakeUps();
  window_->RunEventLoop(&RecordingHandler);
  const std::uint64_t wakeUps = X11ClockWindow::WakeUps() - before;

  EXPECT_EQ(ticks, kTicks);
  // One wake-up per tick, plus a few for the map and expose traffic at start.
  EXPECT_GE(wakeUps, static_cast<std::uint64_t>(kTicks));
  EXPECT_LE(wakeUps, static_cast<std::uint64_t>(kTicks + 4));
}

TEST_F(X11ClockWindowTest, StoppedTimerDeliversNothingMore) {
  const WindowHandle handle = PrepareClockWindow(*window_, CurrentClockOptions());
  ASSERT_NE(handle, nullptr);
  window_->Show();
  int fast = 0;
  g_onEvent = [&](WindowHandle w, const Event& e) {
    if (e.message != kEventTimer) return;
    if (e.wParam == 7 && ++fast == 2) w->StopTimer(7);
    if (e.wParam == 8) w->EndWindow();  // a slower timer ends the run
  };
  handle->StartTimer(7, 15);
  handle->StartTimer(8, 150);
  window_->RunEventLoop(&RecordingHandler);
  EXPECT_EQ(fast, 2);
}

}  // namespace
}  // namespace halyard
