// The X11 window in this process, driven through the real start-up and
// handler, with another connection acting as the user and the window manager.
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <functional>
#include <string>
#include <vector>

#include "TestDisplay.h"
#include "app/ClockWindowHandler.h"
#include "app/ClockWindowSetup.h"
#include "backends/x11/WindowImage.h"
#include "backends/x11/X11ClockWindow.h"

#include <X11/Xlib.h>
#include <X11/keysym.h>

namespace halyard {
namespace {

std::vector<std::uint32_t> g_messages;
std::function<void(WindowHandle, std::uint32_t, std::uint32_t)> g_after;

// The clock's own handler, recorded, with the test's action after it.
std::int32_t RecordingHandler(WindowHandle window, std::uint32_t message, std::uint32_t wParam, std::int32_t lParam) {
  g_messages.push_back(message);
  ClockWindowHandler(window, message, wParam, lParam);
  if (g_after) g_after(window, message, wParam);
  return 0;
}

// The ways a running clock is ended, and the events the handler must see last.
enum class Ending { EscapeKey, CloseBox, Sigterm, DestroyedByOtherClient };

class X11ClockWindowTest : public ::testing::TestWithParam<Ending> {
 protected:
  void SetUp() override {
    if (!testing::X11TestsRequested()) GTEST_SKIP() << "needs the X server of scripts/x11-tests.sh";
    g_messages.clear();
    CurrentClockOptions() = DefaultClockOptions();
    window_ = X11ClockWindow::Connect();
    ASSERT_NE(window_, nullptr);
    handle_ = PrepareClockWindow(*window_, CurrentClockOptions());
    ASSERT_NE(handle_, nullptr);
  }
  void TearDown() override {
    g_after = nullptr;
    ClockTimerHandle() = 0;
    SetHandlerClock(nullptr);
    CurrentClockSettings() = {};
  }

  std::unique_ptr<X11ClockWindow> window_;
  WindowHandle handle_ = nullptr;
  testing::TestDisplay user_;
};

TEST_P(X11ClockWindowTest, EndingDeliversTheEventsADialogWould) {
  constexpr std::uint32_t kWatchdog = 9;
  const unsigned long xwindow = window_->XWindow();
  Display* user = user_.Get();
  // On the first tick the test acts and leaves only a slow watchdog timer: an
  // event the loop failed to notice would wait for the watchdog, which shows.
  g_after = [&](WindowHandle w, std::uint32_t message, std::uint32_t id) {
    if (message != kEventTimer) return;
    if (id == kWatchdog) return w->EndWindow();
    w->StopTimer(ClockTimerHandle());
    w->StartTimer(kWatchdog, 5000);
    switch (GetParam()) {
      case Ending::EscapeKey: return user_.SendKey(xwindow, XK_Escape);
      case Ending::CloseBox: return user_.SendDeleteWindow(xwindow);
      case Ending::Sigterm: std::raise(SIGTERM); return;  // held back until the loop waits
      case Ending::DestroyedByOtherClient: XDestroyWindow(user, xwindow); XFlush(user); return;
    }
  };
  RecordingHandler(handle_, kEventInitialise, 0, 0);
  window_->Show();
  window_->RunEventLoop(&RecordingHandler);

  ASSERT_TRUE(window_->Destroyed());
  const std::vector<std::uint32_t> expected =
      GetParam() == Ending::EscapeKey ? std::vector<std::uint32_t>{kEventCommand, kEventClose, kEventDestroy}
      : GetParam() == Ending::DestroyedByOtherClient ? std::vector<std::uint32_t>{kEventTimer, kEventDestroy}
                                                      : std::vector<std::uint32_t>{kEventTimer, kEventClose, kEventDestroy};
  ASSERT_GE(g_messages.size(), expected.size());
  EXPECT_EQ(std::vector<std::uint32_t>(g_messages.end() - static_cast<long>(expected.size()), g_messages.end()), expected);
  EXPECT_EQ(std::count(g_messages.begin(), g_messages.end(), kEventTimer), 1) << "seen only at the watchdog's tick";
}

std::string EndingName(const ::testing::TestParamInfo<Ending>& info) {
  static const char* const kNames[] = {"EscapeKey", "CloseBox", "Sigterm", "DestroyedByOtherClient"};
  return kNames[static_cast<int>(info.param)];
}

INSTANTIATE_TEST_SUITE_P(Ways, X11ClockWindowTest,
                         ::testing::Values(Ending::EscapeKey, Ending::CloseBox, Ending::Sigterm,
                                           Ending::DestroyedByOtherClient),
                         EndingName);

TEST_F(X11ClockWindowTest, IdleLoopWakesOnlyForItsTicks) {
  window_->Show();
  constexpr int kTicks = 12;
  int ticks = 0;
  g_after = [&](WindowHandle w, std::uint32_t message, std::uint32_t) {
    if (message == kEventTimer && ++ticks == kTicks) w->EndWindow();
  };
  // A fast private timer keeps the test short; the clock's own runs the same code.
  ASSERT_NE(handle_->StartTimer(7, 20), 0u);
  const std::uint64_t before = X11ClockWindow::WakeUps();
  window_->RunEventLoop(&RecordingHandler);
  const std::uint64_t wakeUps = X11ClockWindow::WakeUps() - before;

  EXPECT_EQ(ticks, kTicks);
  // One per tick, plus a few for the map traffic at the start.
  EXPECT_GE(wakeUps, static_cast<std::uint64_t>(kTicks));
  EXPECT_LE(wakeUps, static_cast<std::uint64_t>(kTicks + 4));
}

class FixedClock final : public SystemClock {
 public:
  ClockReading Read() override { return {now, std::chrono::seconds{0}}; }
  std::chrono::sys_time<std::chrono::milliseconds> now;
};

// With the countdown on the status line changes every second, and only then:
// a second tick within the same second sends nothing to the server.
TEST_F(X11ClockWindowTest, CountdownRepaintsOnlyWhenTheSecondChanges) {
  using namespace std::chrono;
  FixedClock clock;
  clock.now = sys_days{2026y / December / 9} + hours{14} + minutes{10} + seconds{48} + milliseconds{200};
  SetHandlerClock(&clock);
  CurrentClockSettings().countdown = true;
  ClockWindowHandler(handle_, kEventInitialise, 0, 0);
  window_->Show();
  const auto tick = [&](milliseconds step) {
    clock.now += step;
    ClockWindowHandler(handle_, kEventTimer, kClockTimerId, 0);
    return window_->Image()->Uploads();
  };
  const std::uint64_t first = tick(milliseconds{0});
  EXPECT_EQ(tick(milliseconds{500}), first) << "same second, same countdown: nothing to send";
  EXPECT_GT(tick(milliseconds{500}), first) << "the next second is sent";
}

}  // namespace
}  // namespace halyard
