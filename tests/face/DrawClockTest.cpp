#include "face/DrawClock.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "support/TestWindow.h"

namespace halyard {
namespace {

using testing::TestWindow;
constexpr double kPi = 3.14159265358979323846;

// The Linux window's face at 96 dpi: 330 x 406, centre (165, 203), radius 155.
class DrawClockTest : public ::testing::Test {
 protected:
  void Draw(const std::string& time, const ClockOptions& options = DefaultClockOptions()) {
    window.ops.clear();
    window.fake->calls.clear();
    DrawClock(&window, kClockFaceId, time, options);
  }
  // The last LineTo after a SetPenWidth of `pen`.
  std::pair<double, double> TipOfPen(int pen) const {
    int currentPen = -1;
    std::pair<double, double> tip{-1, -1};
    for (const CanvasOp& op : window.ops) {
      if (op.name == "SetPenWidth") currentPen = static_cast<int>(op.args[0]);
      if (op.name == "LineTo" && currentPen == pen) tip = {op.args[0], op.args[1]};
    }
    return tip;
  }
  TestWindow window;
};

TEST(FaceGeometry, CentreRoundsHalfToEvenAndRadiusKeepsAMargin) {
  const FaceGeometry g = ComputeFaceGeometry(330, 406);
  EXPECT_EQ(g.centerX, 165);
  EXPECT_EQ(g.centerY, 203);
  EXPECT_EQ(g.radius, 155);
  EXPECT_EQ(ComputeFaceGeometry(331, 400).centerX, 166);
  EXPECT_EQ(ComputeFaceGeometry(329, 400).centerX, 164);
  EXPECT_EQ(ComputeFaceGeometry(1, 1).radius, -10);  // tiny faces: a negative radius, still drawn
}

// Where the legend needs more rows than the centred dial leaves it, the dial's
// top comes down just enough (its marks reach 5 beyond the radius) and its
// lowest point stays, a pixel higher at most; elsewhere it stays centred.
TEST(FaceGeometry, TheDialMakesRoomForTheLegendOnlyWhereItLacks) {
  struct Case {
    int width, height, clearTop, centerY, radius;
  };
  for (const Case c : {Case{330, 406, 40, 203, 155},   // 96 dpi: room enough
                       Case{440, 500, 47, 256, 204},   // 120 dpi: 12 rows short
                       Case{275, 313, 32, 160, 123},   // 72 dpi: 9 short
                       Case{256, 256, 0, 128, 118}}) {  // no legend
    const FaceGeometry g = ComputeFaceGeometry(c.width, c.height, c.clearTop);
    EXPECT_EQ(g.centerX, ComputeFaceGeometry(c.width, c.height).centerX);
    EXPECT_EQ(g.centerY, c.centerY) << c.width << "x" << c.height;
    EXPECT_EQ(g.radius, c.radius) << c.width << "x" << c.height;
  }
}

TEST(ClockTimeDecoding, FixedPositionsAndMalformedTexts) {
  const ClockTime t = DecodeClockTime("23:59:59");
  EXPECT_EQ(t.hours, 23);
  EXPECT_EQ(t.minutes, 59);
  EXPECT_EQ(t.seconds, 59);
  const ClockTime empty = DecodeClockTime("");
  EXPECT_EQ(empty.hours + empty.minutes + empty.seconds, 0);
  const ClockTime odd = DecodeClockTime(" 7:-3:x9");
  EXPECT_EQ(odd.hours, 7);
  EXPECT_EQ(odd.minutes, -3);
  EXPECT_EQ(odd.seconds, 0);  // "x9": no digits where the number must start
  EXPECT_EQ(DecodeClockTime("5").seconds, 5);
}

TEST_F(DrawClockTest, LegendIsCentredFiveBelowTheTop) {
  window.fake->textWidth = 173;  // odd: the half goes to the canvas, which rounds to even
  Draw("14:05:09");
  const auto moves = window.OpsNamed("MoveTo");
  ASSERT_FALSE(moves.empty());
  EXPECT_DOUBLE_EQ(moves[0].args[0], 165 - 86.5);
  EXPECT_DOUBLE_EQ(moves[0].args[1], 5);
  const auto printed = window.OpsNamed("PrintText");
  ASSERT_EQ(printed.size(), 1u);
  EXPECT_EQ(printed[0].text, "14:05:09 UTC");
  const auto& text = window.fake->calls;
  const auto it = std::find_if(text.begin(), text.end(), [](auto& c) { return c.name == "DrawText"; });
  ASSERT_NE(it, text.end());
  EXPECT_EQ(it->values[0], 78);  // 78.5 rounds to the even 78
  Draw("");
  EXPECT_EQ(window.OpsNamed("PrintText")[0].text, " UTC");
}

TEST_F(DrawClockTest, DialMarksAnchorOnTheCircle) {
  Draw("12:00:00");
  const auto boxes = window.OpsNamed("Box");
  ASSERT_EQ(boxes.size(), 60u);
  int hourMarks = 0;
  for (const CanvasOp& box : boxes) {
    const double size = box.args[2] - box.args[0];
    hourMarks += size == 3;
    EXPECT_TRUE(size == 3 || size == 1);
    EXPECT_EQ(box.args[4], 0);   // square corners
    EXPECT_EQ(box.args[6], -2);  // not filled
  }
  EXPECT_EQ(hourMarks, 12);
  EXPECT_EQ(boxes[0].args[0], 320);  // i = 0: 3 o'clock
  EXPECT_EQ(boxes[0].args[1], 203);
  EXPECT_EQ(boxes[15].args[0], 165);  // i = 90: 6 o'clock, below the centre
  EXPECT_EQ(boxes[15].args[1], 358);
  EXPECT_EQ(boxes[45].args[0], 165);  // i = 270: 12 o'clock
  EXPECT_EQ(boxes[45].args[1], 48);
  EXPECT_EQ(boxes[30].args[0], 10);   // 9 o'clock: ten pixels in from the left edge
}

TEST_F(DrawClockTest, SectorsHaveFivePointsInOrderAndColour) {
  ClockOptions options = DefaultClockOptions();
  options.PhoneSectorColor = "&H00AA00";
  Draw("08:20:00", options);
  const auto polygons = window.OpsNamed("Polygon");
  ASSERT_EQ(polygons.size(), 4u);
  // In the order of the hour: 2182 kHz at 00, 500 kHz at 15, 2182 kHz at 30, 500 kHz at 45.
  const double colours[] = {0x00AA00, 255, 0x00AA00, 255};
  for (int s = 0; s < 4; ++s) {
    ASSERT_EQ(polygons[s].points.size(), 5u);
    EXPECT_EQ(polygons[s].args[0], colours[s]);
    EXPECT_EQ(polygons[s].args[1], -1);  // fill in the outline colour
    EXPECT_EQ(polygons[s].args[3], 0);   // winding
    EXPECT_FLOAT_EQ(polygons[s].points[0].x, 165);
    EXPECT_FLOAT_EQ(polygons[s].points[0].y, 203);
  }
  // The first sector starts at 12 o'clock, the second at 3 o'clock, four pixels inside the marks.
  EXPECT_NEAR(polygons[0].points[1].x, 165, 1e-4);
  EXPECT_NEAR(polygons[0].points[1].y, 203 - 151, 1e-4);
  EXPECT_NEAR(polygons[1].points[1].x, 165 + 151, 1e-4);
  EXPECT_NEAR(polygons[1].points[1].y, 203, 1e-4);
  // The last point of the second is 18 degrees on, not rounded to pixels.
  EXPECT_NEAR(polygons[1].points[4].x, 165 + 151 * std::cos(18 * kPi / 180), 1e-3);
  EXPECT_NEAR(polygons[1].points[4].y, 203 + 151 * std::sin(18 * kPi / 180), 1e-3);
}

TEST_F(DrawClockTest, HourAndMinuteHandsStepInWholeDegrees) {
  auto expectTip = [&](const char* time, int pen, int reach, double degrees) {
    Draw(time);
    const auto tip = TipOfPen(pen);
    const double rad = degrees * kPi / 180;
    EXPECT_EQ(tip.first, std::nearbyint(165 + reach * std::cos(rad))) << time << " pen " << pen;
    EXPECT_EQ(tip.second, std::nearbyint(203 + reach * std::sin(rad))) << time << " pen " << pen;
  };
  expectTip("00:00:00", 8, 129, -90);
  expectTip("00:00:00", 5, 141, -90);
  expectTip("12:00:00", 8, 129, -90);
  expectTip("03:00:00", 8, 129, 0);
  expectTip("15:00:00", 8, 129, 0);
  expectTip("06:30:00", 8, 129, 105);
  expectTip("06:30:00", 5, 141, 90);
  expectTip("10:59:59", 8, 129, 239);
  expectTip("10:59:59", 5, 141, 269);
  expectTip("11:59:59", 8, 129, 269);
  expectTip("00:01:00", 8, 129, -90);   // odd minute: the hour hand stands still
  expectTip("00:02:09", 8, 129, -89);
  expectTip("00:00:09", 5, 141, -90);
  expectTip("00:00:10", 5, 141, -89);
  Draw("03:00:00");
  EXPECT_EQ(TipOfPen(8), (std::pair<double, double>{294, 203}));
}

TEST_F(DrawClockTest, SecondHandInBothStylesThenHubAndPresent) {
  for (int s : {0, 15, 30, 45}) {
    char time[9];
    std::snprintf(time, sizeof time, "10:20:%02d", s);
    Draw(time);
    const double rad = (6 * s - 90) * kPi / 180;
    const auto tip = TipOfPen(2);
    EXPECT_EQ(tip.first, std::nearbyint(165 + 149 * std::cos(rad))) << s;
    EXPECT_EQ(tip.second, std::nearbyint(203 + 149 * std::sin(rad))) << s;

    ClockOptions dot = DefaultClockOptions();
    dot.SecondHandStyle = "DOT";
    dot.SecondDotColor = "&H0000AA";
    Draw(time, dot);
    const auto ellipses = window.OpsNamed("Ellipse");
    ASSERT_EQ(ellipses.size(), 3u);
    const double px = std::nearbyint(165 + 155 * std::cos(rad)), py = std::nearbyint(203 + 155 * std::sin(rad));
    EXPECT_EQ(ellipses[0].args, (std::vector<double>{px - 3, py - 3, px + 3, py + 3, 0xAA, -2, 0}));
    EXPECT_EQ(TipOfPen(2).first, -1);  // no line hand
  }
  Draw("10:20:30");
  const auto& ops = window.ops;
  ASSERT_GE(ops.size(), 5u);
  EXPECT_EQ(ops[ops.size() - 1].name, "Redraw");
  EXPECT_EQ(ops[ops.size() - 2].name, "Ellipse");  // grey centre dot, last of the drawing
  EXPECT_EQ(ops[ops.size() - 2].args, (std::vector<double>{163, 201, 167, 205, 0x808080, -1, 0}));
  EXPECT_EQ(ops[ops.size() - 3].name, "SetPenWidth");
  EXPECT_EQ(ops[ops.size() - 4].args, (std::vector<double>{157, 195, 173, 211, 0xFFFFFF, -1, 0}));  // hub
}

TEST_F(DrawClockTest, SecondHandStyleIsAnExactByteComparison) {
  for (const char* style : {"dot", "Dot", "DOT ", " DOT", "", "LINE (normal)", "DOT\0"}) {
    ClockOptions options = DefaultClockOptions();
    options.SecondHandStyle = std::string(style, std::strlen(style) + (std::strcmp(style, "DOT") == 0 ? 1 : 0));
    Draw("01:02:03", options);
    EXPECT_NE(TipOfPen(2).first, -1) << '"' << style << '"';
  }
}

TEST_F(DrawClockTest, OrderOfStepsAndStatusLineBeforeSecondHand) {
  Draw("00:16:00");
  std::vector<std::string> names;
  for (const CanvasOp& op : window.ops) {
    if (names.empty() || names.back() != op.name) names.push_back(op.name);
  }
  const std::vector<std::string> opening = {"Attach", "PixelSize", "Clear", "TextSize", "MoveTo", "PrintText",
                                            "SetPenWidth", "Box"};
  ASSERT_GE(names.size(), opening.size());
  EXPECT_EQ(std::vector<std::string>(names.begin(), names.begin() + 8), opening);
  EXPECT_EQ(window.ops[0].args[1], 1);  // deferred
  EXPECT_EQ(window.LabelText(), "SILENT 500 kHz CW");
  EXPECT_EQ(window.LabelBackground(), 255);
  EXPECT_EQ(window.events, (std::vector<std::string>{"text", "colors"}));
  EXPECT_EQ(window.presenter.count, 1);  // one present per repaint
}

TEST_F(DrawClockTest, StatusLineStillUpdatesWhenTheFaceCannotBeAttached) {
  Draw("00:31:00");
  window.SetControlText(kStatusLabelId, "");
  DrawClock(&window, 121, "00:31:00", DefaultClockOptions());
  EXPECT_EQ(window.LabelText(), "SILENT 2182 kHz PH");
  DrawClock(nullptr, kClockFaceId, "00:31:00", DefaultClockOptions());  // nothing at all: no crash
}

}  // namespace
}  // namespace halyard
