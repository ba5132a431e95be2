// A face repainted only where its operations changed must equal the face
// drawn whole, bit for bit, whatever sequence of times it went through.
#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>

#include "app/ClockWindowHandler.h"
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
  const auto paint = [&](const std::string& time, const char* what) {
    DrawClock(changing, kClockFaceId, time, options);
    fullCanvas.Invalidate();
    DrawClock(reference, kClockFaceId, time, options);
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
    paint(TimeText(second), "tick");
    std::int32_t legendWidth = 0;
    for (const PixelRect& area : canvas.LastRedrawAreas()) {
      const PixelRect legend = Intersect(area, {0, 10, 1000, 20});
      if (!legend.Empty()) legendWidth += legend.right - legend.left;
    }
    if (tick % 2 == 1) {
      EXPECT_TRUE(canvas.LastRedrawAreas().empty()) << TimeText(second);
    } else if (second % 60 > 10 && second % 60 < 50 && second % 10 != 0) {
      EXPECT_LT(legendWidth, 30) << TimeText(second);
    }
  }
  // Jumps anywhere in the day, as clock changes and resumes make them.
  std::mt19937 random(20260314);
  std::uniform_int_distribution<int> anySecond(0, 24 * 3600 - 1);
  for (int jump = 0; jump < 2000; ++jump) paint(TimeText(anySecond(random)), "jump");
  EXPECT_EQ(mismatches, 0);
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
        ReplayCase{"light", "DOT", {"&HF0F0F0", "&H000080", "&HFFFF", "&H008000", "&HFF0000", "&HFFFFFF"}}),
    [](const ::testing::TestParamInfo<ReplayCase>& info) {
      return std::string(info.param.name) + "_" + info.param.style;
    });

}  // namespace
}  // namespace halyard
