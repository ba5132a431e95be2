// A face repainted only where its operations changed must equal the face
// drawn whole, bit for bit, whatever sequence of times it went through.
#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>

#include "app/ClockWindowHandler.h"
#include "app/SecondTime.h"
#include "platform/time/SyncHealth.h"
#include "app/ClockWindowSetup.h"
#include "face/DrawClock.h"
#include "backends/offscreen/OffscreenWindow.h"
#include "backends/freetype/FreeTypeTextEngine.h"

namespace halyard {
namespace {

struct ReplayCase {
  const char* name;
  const char* style;
  const char* colours[6];  // background, dial, hand, dot, 2182 kHz, status text
  const char* secondLabel = nullptr;  // a second time an hour ahead, with this label
};

void PrintTo(const ReplayCase& c, std::ostream* out) { *out << c.name << " " << c.style; }

ClockOptions OptionsFor(const ReplayCase& c) {
  ClockOptions o = DefaultClockOptions();
  o.BackgroundColor = c.colours[0];
  o.DialColor = c.colours[1];
  o.HandColor = c.colours[2];
  o.SecondHandStyle = c.style;
  o.SecondDotColor = c.colours[3];
  o.PhoneSectorColor = c.colours[4];
  o.LabelTextColor = c.colours[5];
  return o;
}

std::string TimeText(int secondOfDay) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d", secondOfDay / 3600, secondOfDay / 60 % 60, secondOfDay % 60);
  return text;
}

std::unique_ptr<TextEngine> MakeText() { return std::make_unique<FreeTypeTextEngine>(); }

class IncrementalRepaint : public ::testing::TestWithParam<ReplayCase> {};

TEST_P(IncrementalRepaint, EqualsAFullRedrawAfterEveryTickAndJump) {
  const ClockOptions options = OptionsFor(GetParam());
  OffscreenWindow incremental(96, MakeText);
  OffscreenWindow whole(96, MakeText);
  const WindowHandle changing = PrepareClockWindow(incremental, options);
  const WindowHandle reference = PrepareClockWindow(whole, options);
  ASSERT_NE(changing, nullptr);
  ASSERT_NE(reference, nullptr);
  Canvas& fullCanvas = *whole.FindCanvas(kClockFaceId);

  int mismatches = 0;
  const auto paint = [&](int secondOfDay, const char* what) {
    const std::string time = TimeText(secondOfDay);
    FaceMarks marks;
    std::string legend;
    if (GetParam().secondLabel != nullptr) {
      legend = TimeText((secondOfDay + 3600) % 86400) + " " + GetParam().secondLabel;
      marks.secondTime = legend;
    }
    DrawClock(changing, kClockFaceId, time, options, marks);
    fullCanvas.Invalidate();
    DrawClock(reference, kClockFaceId, time, options, marks);
    if (*incremental.FacePicture() != *whole.FacePicture() && ++mismatches <= 3) {
      ADD_FAILURE() << what << " to " << time << ": the incremental face differs from a full redraw";
    }
  };

  // An hour of ticks from 13:59:30, two a second: every second shows twice.
  // A repeated second redraws nothing; a new one redraws of the legend only
  // the digit that changed (the hand keeps off the legend from :10 to :50).
  const Canvas& canvas = *incremental.FindCanvas(kClockFaceId);
  const int start = 13 * 3600 + 59 * 60 + 30;
  for (int tick = 0; tick < 2 * 3600; ++tick) {
    const int second = start + tick / 2;
    paint(second, "tick");
    std::int32_t legendWidth = 0, secondLegendWidth = 0;
    for (const PixelRect& area : canvas.LastRedrawAreas()) {
      const PixelRect legend = Intersect(area, {0, 10, 1000, 20});
      if (!legend.Empty()) legendWidth += legend.right - legend.left;
      const PixelRect below = Intersect(area, {0, 365, 1000, 406});  // below the dial
      if (!below.Empty()) secondLegendWidth += below.right - below.left;
    }
    if (tick % 2 == 1) {
      EXPECT_TRUE(canvas.LastRedrawAreas().empty()) << TimeText(second);
    } else if (second % 60 > 10 && second % 60 < 50 && second % 10 != 0) {
      EXPECT_LT(legendWidth, 30) << TimeText(second);
      EXPECT_LT(secondLegendWidth, 30) << TimeText(second);
    }
  }
  // Jumps anywhere in the day, as clock changes and resumes make them.
  std::mt19937 random(20260314);
  std::uniform_int_distribution<int> anySecond(0, 24 * 3600 - 1);
  for (int jump = 0; jump < 2000; ++jump) paint(anySecond(random), "jump");
  EXPECT_EQ(mismatches, 0);
}

// The handler skips a tick with nothing new, and only such a tick: an hour
// of ticks and jumps through the handler, with every input of the picture
// changed now and then (colours, countdown, sync state, second time), always
// shows what a full redraw from those inputs shows.
class SteppingClock final : public SystemClock {
 public:
  ClockReading Read() override { return {now, {}}; }
  std::chrono::sys_time<std::chrono::milliseconds> now;
};

class SwitchableSync final : public SyncSource {
 public:
  SyncReading Read() override {
    SyncReading reading;
    reading.kind = SyncReading::Kind::Kernel;
    reading.maxErrorMicros = synchronised ? 1000 : kKernelUnsyncedMaxErrorMicros;
    return reading;
  }
  bool synchronised = true;
};

std::unique_ptr<TimeZone> OneHourAhead(std::string_view) {
  class Zone final : public TimeZone {
   public:
    std::optional<ZoneState> At(std::chrono::sys_seconds) override { return ZoneState{std::chrono::hours{1}, "CET"}; }
  };
  return std::make_unique<Zone>();
}

TEST(IncrementalRepaintThroughTheHandler, SkipsOnlyTicksWithNothingNew) {
  using namespace std::chrono;
  SteppingClock clock;
  SwitchableSync sync;
  SetHandlerClock(&clock);
  SetHandlerTimeZones(&OneHourAhead);
  ClockSyncMonitor().SetSource(sync);
  CurrentClockOptions() = DefaultClockOptions();
  CurrentClockSettings() = {};
  CurrentClockSettings().syncCheck = true;
  OffscreenWindow incremental(96, MakeText);
  OffscreenWindow whole(96, MakeText);
  const WindowHandle changing = PrepareClockWindow(incremental, CurrentClockOptions());
  const WindowHandle reference = PrepareClockWindow(whole, CurrentClockOptions());
  ASSERT_NE(changing, nullptr);
  ASSERT_NE(reference, nullptr);
  Canvas& fullCanvas = *whole.FindCanvas(kClockFaceId);

  const sys_seconds day = sys_days{2026y / December / 9};
  clock.now = day + hours{13} + minutes{59} + seconds{30};
  ClockWindowHandler(changing, kEventInitialise, 0, 0);
  int mismatches = 0;
  const auto check = [&](const char* what) {
    const std::string time = TimeText(static_cast<int>(duration_cast<seconds>(clock.now - floor<days>(clock.now)).count()));
    FaceMarks marks;
    marks.notSynchronised = !sync.synchronised;
    marks.countdown = CurrentClockSettings().countdown;
    if (ShownSecondTime() != nullptr) marks.secondTime = ShownSecondTime()->Legend();
    fullCanvas.Invalidate();
    DrawClock(reference, kClockFaceId, time, CurrentClockOptions(), marks);
    if ((*incremental.FacePicture() != *whole.FacePicture() || incremental.LabelText() != whole.LabelText()) &&
        ++mismatches <= 3) {
      ADD_FAILURE() << what << " at " << time << ": the face differs from a full redraw";
    }
  };
  const auto tick = [&](const char* what) {
    ClockWindowHandler(changing, kEventTimer, kClockTimerId, 0);
    check(what);
  };

  std::mt19937 random(20261209);
  for (int step = 0; step < 2 * 3600 + 400; ++step) {
    if (step < 2 * 3600) {
      clock.now += milliseconds{500};
    } else {
      clock.now = day + seconds{std::uniform_int_distribution<int>(0, 86399)(random)};
    }
    switch (std::uniform_int_distribution<int>(0, 59)(random)) {
      case 0:
        CurrentClockOptions().HandColor = CurrentClockOptions().HandColor == "&HFFFFFF" ? "&H00FFFF" : "&HFFFFFF";
        break;
      case 1:
        CurrentClockSettings().countdown = !CurrentClockSettings().countdown;
        break;
      case 2:
        sync.synchronised = !sync.synchronised;
        ClockSyncMonitor().SetSource(sync);  // read at the next tick
        break;
      case 3:
        // The second time is made when the clock starts.
        CurrentClockSettings().secondTime = CurrentClockSettings().secondTime == "off" ? "Test/Zone" : "off";
        ClockWindowHandler(changing, kEventInitialise, 0, 0);
        check("a start");
        break;
      default:
        break;
    }
    tick(step < 2 * 3600 ? "a tick" : "a jump");
  }
  EXPECT_EQ(mismatches, 0);
  SetHandlerClock(nullptr);
  SetHandlerTimeZones(nullptr);
  ClockSyncMonitor().SetSource(PlatformSyncSource());
  CurrentClockSettings() = {};
}

INSTANTIATE_TEST_SUITE_P(
    OptionSets, IncrementalRepaint,
    ::testing::Values(
        ReplayCase{"defaults", "LINE", {"&H000000", "&HFFFFFF", "&HFFFFFF", "&H00FF00", "&HFF901E", "&HFFFFFF"}},
        ReplayCase{"defaults", "DOT", {"&H000000", "&HFFFFFF", "&HFFFFFF", "&H00FF00", "&HFF901E", "&HFFFFFF"}},
        // Hands the colour of the dial marks, the dot the colour of the red sectors.
        ReplayCase{"shared", "LINE", {"&H404040", "&H00FFFF", "&H00FFFF", "&H0000FF", "&H00A5FF", "&H000000"}},
        ReplayCase{"shared", "DOT", {"&H404040", "&H00FFFF", "&H00FFFF", "&H0000FF", "&H00A5FF", "&H000000"}},
        // Light face; the system colour for the hands.
        ReplayCase{"light", "LINE", {"&HF0F0F0", "&H000080", "&HFFFF", "&H008000", "&HFF0000", "&HFFFFFF"}},
        ReplayCase{"light", "DOT", {"&HF0F0F0", "&H000080", "&HFFFF", "&H008000", "&HFF0000", "&HFFFFFF"}},
        // A second time below the dial: only its changed digits are drawn again.
        ReplayCase{"second", "LINE", {"&H000000", "&HFFFFFF", "&HFFFFFF", "&H00FF00", "&HFF901E", "&HFFFFFF"}, "CET"}),
    [](const ::testing::TestParamInfo<ReplayCase>& info) {
      return std::string(info.param.name) + "_" + info.param.style;
    });

}  // namespace
}  // namespace halyard
