#include "app/ClockWindowHandler.h"

#include <gtest/gtest.h>

#include "app/ClockTooltip.h"
#include "support/TestWindow.h"

namespace halyard {
namespace {

using namespace std::chrono;
using testing::TestWindow;

class SteppingClock final : public SystemClock {
 public:
  ClockReading Read() override {
    ++reads;
    return {now, offset};
  }
  int reads = 0;
  seconds offset = hours{2};
  sys_time<milliseconds> now = sys_days{2026y / December / 8} + hours{23} + minutes{59} + seconds{59} + milliseconds{999};
};

class ClockWindowHandlerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CurrentClockOptions() = DefaultClockOptions();
    ClockTimerHandle() = 0;
    SetHandlerClock(&clock);
  }
  void TearDown() override {
    SetHandlerClock(nullptr);
    CurrentClockSettings() = {};
  }
  std::string LegendDrawn() const {
    const auto printed = window.OpsNamed("PrintText");
    return printed.empty() ? "" : printed.back().text;
  }
  SteppingClock clock;
  TestWindow window;
};

TEST_F(ClockWindowHandlerTest, InitialiseStartsTheTimerAndDrawsAtOnce) {
  EXPECT_EQ(ClockWindowHandler(&window, kEventInitialise, 0, 0), 0);
  EXPECT_EQ(window.events.front(), "start 100 500");
  EXPECT_EQ(ClockTimerHandle(), 100u);
  EXPECT_EQ(LegendDrawn(), "23:59:59 UTC");  // milliseconds dropped, never rounded up
  EXPECT_EQ(window.LabelText(), DefaultClockOptions().BannerText);
  EXPECT_EQ(window.presenter.count, 1);
}

TEST_F(ClockWindowHandlerTest, OnlyTimer100Repaints) {
  ClockWindowHandler(&window, kEventInitialise, 0, 0);
  clock.now += seconds{1};
  EXPECT_EQ(ClockWindowHandler(&window, kEventTimer, 101, 0), 0);
  EXPECT_EQ(ClockWindowHandler(&window, kEventTimer, 100 + (1u << 16), 0), 0);  // the whole value counts
  EXPECT_EQ(window.presenter.count, 1);
  EXPECT_EQ(window.OpsNamed("Redraw").size(), 1u);
  ClockWindowHandler(&window, kEventTimer, 100, 0);
  EXPECT_EQ(window.OpsNamed("Redraw").size(), 2u);
  EXPECT_GE(window.presenter.count, 2);
  EXPECT_EQ(LegendDrawn(), "00:00:00 UTC");
  EXPECT_EQ(window.LabelText(), "SILENT 2182 kHz PH");
  // Every tick reads the clock; one with nothing new draws and shows nothing,
  // until the face loses its picture (IncrementalRepaint proves the pictures).
  const int shown = window.presenter.count;
  const int reads = clock.reads;
  ClockWindowHandler(&window, kEventTimer, 100, 0);
  EXPECT_EQ(clock.reads, reads + 1);
  EXPECT_EQ(window.OpsNamed("Redraw").size(), 2u);
  EXPECT_EQ(window.presenter.count, shown);
  window.Face().Invalidate();
  ClockWindowHandler(&window, kEventTimer, 100, 0);
  EXPECT_EQ(window.OpsNamed("Redraw").size(), 3u);
}

// The face shows the clock as it is at each tick, whatever the clock does
// between ticks: a repeated second, steps either way, a change of zone offset.
TEST_F(ClockWindowHandlerTest, EveryTickShowsTheClockEvenWhenItRepeatsStepsOrChangesZone) {
  ClockWindowHandler(&window, kEventInitialise, 0, 0);
  const auto tick = [&](auto step) {
    clock.now += step;
    ClockWindowHandler(&window, kEventTimer, 100, 0);
    return LegendDrawn();
  };
  EXPECT_EQ(tick(milliseconds{0}), "23:59:59 UTC");  // a leap second shown as a repeat
  EXPECT_EQ(tick(milliseconds{1}), "00:00:00 UTC");
  EXPECT_EQ(tick(-hours{1}), "23:00:00 UTC");
  EXPECT_EQ(tick(days{3} + minutes{15}), "23:15:00 UTC");
  EXPECT_EQ(window.LabelText(), "SILENT 500 kHz CW");
  clock.offset = hours{1};  // daylight saving ends: local time jumps, UTC does not
  EXPECT_EQ(tick(seconds{1}), "23:15:01 UTC");
  clock.now = sys_days{2046y / March / 1} + hours{11} + minutes{7} + seconds{13};  // past 32-bit seconds
  EXPECT_EQ(tick(milliseconds{0}), "11:07:13 UTC");
  EXPECT_EQ(window.OpsNamed("Redraw").size(), 6u);  // the repeat drew nothing
}

// The countdown and the alert as the settings ask, the tooltip with the face.
TEST_F(ClockWindowHandlerTest, CountdownTooltipAndAlertFollowTheSettings) {
  CurrentClockSettings().countdown = true;
  CurrentClockSettings().alert = AlertMode::Both;
  clock.now = sys_days{2026y / December / 9} + hours{14} + minutes{14} + seconds{58} + milliseconds{500};
  const auto tick = [&](seconds step) {
    clock.now += step;
    ClockWindowHandler(&window, kEventTimer, 100, 0);
  };
  ClockWindowHandler(&window, kEventInitialise, 0, 0);
  EXPECT_EQ(window.LabelText(), "500 kHz CW IN 0:02");
  EXPECT_EQ(CurrentClockTooltipLines().back(), "Next: SILENT 500 kHz CW at 14:15 UTC, in 0:02");
  tick(seconds{1});
  EXPECT_EQ(window.LabelText(), "500 kHz CW IN 0:01");
  window.events.clear();
  tick(seconds{1});
  EXPECT_EQ(window.LabelText(), "SILENT 500 kHz CW");
  EXPECT_EQ(window.events, (std::vector<std::string>{"text", "colors", "bell", "flash"}));
  EXPECT_EQ(CurrentClockTooltipLines().back(), "SILENT 500 kHz CW until 14:18 UTC, 3:00 left");
  window.events.clear();
  tick(seconds{0});  // the second tick of the same second: nothing new
  tick(minutes{3});
  EXPECT_EQ(window.events, (std::vector<std::string>{"text", "colors", "stop flash"}));
  EXPECT_EQ(window.LabelText(), "2182 kHz PH IN 12:00");
}

// The second time: made from the setting when the clock starts, read at every
// tick with the UTC legend's second, and in the tooltip; nothing of it when off.
std::unique_ptr<TimeZone> OneHourAhead(std::string_view name) {
  class Zone final : public TimeZone {
   public:
    std::optional<ZoneState> At(sys_seconds) override { return ZoneState{hours{1}, "CET"}; }
  };
  return name == "Test/Zone" ? std::make_unique<Zone>() : nullptr;
}

TEST_F(ClockWindowHandlerTest, TheSecondTimeShowsWithTheUtcSecondAndInTheTooltip) {
  SetHandlerTimeZones(&OneHourAhead);
  const auto texts = [&] {
    std::vector<std::string> printed;
    for (const auto& op : window.OpsNamed("PrintText")) printed.push_back(op.text);
    window.ops.clear();
    return printed;
  };
  ClockWindowHandler(&window, kEventInitialise, 0, 0);
  EXPECT_EQ(texts(), std::vector<std::string>{"23:59:59 UTC"});
  EXPECT_EQ(ShownSecondTime(), nullptr);

  CurrentClockSettings().secondTime = "Test/Zone";
  ClockWindowHandler(&window, kEventInitialise, 0, 0);
  EXPECT_EQ(texts(), (std::vector<std::string>{"23:59:59 UTC", "00:59:59 CET"}));
  clock.now += milliseconds{1};
  ClockWindowHandler(&window, kEventTimer, 100, 0);
  EXPECT_EQ(texts(), (std::vector<std::string>{"00:00:00 UTC", "01:00:00 CET"}));
  EXPECT_EQ(CurrentClockTooltipLines().back(), "Test/Zone: 01:00:00 CET (UTC+01:00)");

  CurrentClockSettings().secondTimeLabel = "Home";
  CurrentClockSettings().secondTime = "Gone/Zone";  // known when read, gone since
  ClockWindowHandler(&window, kEventInitialise, 0, 0);
  EXPECT_EQ(texts(), (std::vector<std::string>{"00:00:00 UTC", "--:--:-- Home"}));
  SetHandlerTimeZones(nullptr);
  CurrentClockSettings() = {};
  ClockWindowHandler(&window, kEventInitialise, 0, 0);  // nothing left for the next test
}

TEST_F(ClockWindowHandlerTest, CancelEndsTheWindowAndDestroyStopsTheTimer) {
  ClockWindowHandler(&window, kEventInitialise, 0, 0);
  window.events.clear();
  for (std::uint32_t ignored : {2u | (2u << 16), 1u, 3u, 2u | (0x300u << 16)}) {
    ClockWindowHandler(&window, kEventCommand, ignored, 0);
  }
  EXPECT_TRUE(window.events.empty());
  ClockWindowHandler(&window, kEventCommand, 2u | (1u << 16), 0);  // accelerator
  EXPECT_EQ(window.events, (std::vector<std::string>{"end", "stop 100"}));
  window.events.clear();
  ClockWindowHandler(&window, kEventCommand, 2, 0);  // Escape's button click
  EXPECT_EQ(window.events, (std::vector<std::string>{"end", "stop 100"}));
}

TEST_F(ClockWindowHandlerTest, AFailedTimerStartIsRememberedAndDestroyDoesNothing) {
  window.timerResult = 0;
  ClockWindowHandler(&window, kEventInitialise, 0, 0);
  EXPECT_EQ(ClockTimerHandle(), 0u);
  EXPECT_EQ(window.presenter.count, 1);  // the first face is still drawn
  window.events.clear();
  ClockWindowHandler(&window, kEventDestroy, 0, 0);
  EXPECT_TRUE(window.events.empty());
  // Other events are left to the platform.
  EXPECT_EQ(ClockWindowHandler(&window, kEventSize, 0, 330 | (488 << 16)), 0);
  EXPECT_EQ(ClockWindowHandler(&window, kEventClose, 0, 0), 0);
  EXPECT_EQ(window.presenter.count, 1);
}

}  // namespace
}  // namespace halyard
