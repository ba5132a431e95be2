#include "platform/canvas/Canvas.h"

#include <gtest/gtest.h>

#include "platform/window/CanvasWindow.h"
#include "support/FakeRasterizer.h"

namespace halyard {
namespace {

using testing::FakeRasterizer;

class CountingPresenter final : public CanvasPresenter {
 public:
  void Present(const Picture&, const PixelRect& area) override {
    ++count;
    last = area;
  }
  int count = 0;
  PixelRect last{};
};

class CanvasTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto raster = std::make_unique<FakeRasterizer>(100, 80);
    fake = raster.get();
    window = std::make_unique<CanvasWindow>(std::move(raster), &presenter, 96, SystemColors{0x111111, 0xC0C0C0});
    canvas = &window->Face();
    Canvas::Attach(window.get(), kClockFaceId, DrawingMode::Immediate);
    fake->calls.clear();
  }
  void TearDown() override { Canvas::SetCurrent(nullptr, DrawingMode::Immediate); }

  CountingPresenter presenter;
  FakeRasterizer* fake = nullptr;
  std::unique_ptr<CanvasWindow> window;
  Canvas* canvas = nullptr;
};

TEST_F(CanvasTest, WithoutATargetEveryOperationDoesNothing) {
  Canvas::Attach(window.get(), 999, DrawingMode::Deferred);  // no such control
  EXPECT_EQ(Canvas::Current(), nullptr);
  Canvas::Clear(0, 0);
  Canvas::MoveTo(5, 5);
  Canvas::LineTo(50, 50, 0xFF);
  Canvas::Box(1, 1, 9, 9, 0, 0xFF, -2, 0);
  Canvas::PrintText("x");
  Canvas::Redraw();
  EXPECT_EQ(Canvas::PixelSize(), (TextExtent{0, 0}));
  EXPECT_TRUE(fake->calls.empty());
  EXPECT_EQ(presenter.count, 0);
  Canvas::Attach(nullptr, 120, DrawingMode::Immediate);
  EXPECT_EQ(Canvas::Current(), nullptr);
}

TEST_F(CanvasTest, CoordinatesRoundHalfToEven) {
  Canvas::MoveTo(12.5f, 7.5f);
  EXPECT_EQ(canvas->CurrentPoint(), (PixelPoint{12, 8}));
  Canvas::MoveTo(13.5f, 6.5f);
  EXPECT_EQ(canvas->CurrentPoint(), (PixelPoint{14, 6}));
  Canvas::MoveTo(-2.5f, 1e30f);  // far outside: pinned, then clipped by the rasterizer
  EXPECT_EQ(canvas->CurrentPoint().x, -2);
  EXPECT_GT(canvas->CurrentPoint().y, 1'000'000);
}

TEST_F(CanvasTest, ColourRulesForForegroundAndBackground) {
  Canvas::SetColors(-1, -1);
  EXPECT_EQ(canvas->Foreground(), 0x111111);
  EXPECT_EQ(canvas->Background(), 0xC0C0C0);
  EXPECT_TRUE(canvas->OpaqueText());
  Canvas::SetColors(0x1000000 + 0x123456, -2);
  EXPECT_EQ(canvas->Foreground(), 0x123456);
  EXPECT_EQ(canvas->Background(), ColorNone);
  EXPECT_FALSE(canvas->OpaqueText());
  Canvas::SetColors(-3, 0x7F000042);
  EXPECT_EQ(canvas->Foreground(), 0x123456);
  EXPECT_EQ(canvas->Background(), 0x000042);
  EXPECT_TRUE(canvas->OpaqueText());
  Canvas::SetColors(0xFF, -3);
  EXPECT_EQ(canvas->Background(), 0x000042);

  // ColorDefault outlines take the foreground, ColorDefault fills the outline colour.
  Canvas::Box(0, 0, 10, 10, 0, -1, -1, 0);
  ASSERT_EQ(fake->calls.back().name, "RoundBox");
  EXPECT_EQ(fake->calls.back().values[7], 0xFF);
  EXPECT_EQ(fake->calls.back().values[8], 0xFF);
  Canvas::Ellipse(0, 0, 10, 10, 0x01000000 + 0x00AA00, -2, 0);
  EXPECT_EQ(fake->calls.back().values[5], 0x00AA00);
  EXPECT_EQ(fake->calls.back().values[6], -1);  // no fill
}

TEST_F(CanvasTest, ClearUsesBackgroundAndResetsCurrentPoint) {
  Canvas::SetColors(0, 0x00FF00);
  Canvas::MoveTo(40, 30);
  Canvas::Clear(-1, 0);
  EXPECT_EQ(canvas->CurrentPoint(), (PixelPoint{0, 0}));
  EXPECT_EQ(canvas->Pixels().Get(99, 79), 0x00FF00u);
  Canvas::SetColors(0, -2);
  fake->calls.clear();
  Canvas::Clear(-1, 0);  // transparent background: nothing to fill with
  Canvas::Clear(-2, 0);
  EXPECT_TRUE(fake->calls.empty());
  Canvas::Clear(0x0000FF, 0);
  EXPECT_EQ(canvas->Pixels().Get(0, 0), 0xFF0000u);  // red, as 0x00RRGGBB
}

TEST_F(CanvasTest, BoxCornersAndOrdering) {
  Canvas::SetPenWidth(1);
  Canvas::Box(8, 8, 5, 5, 0, 0xFF, -2, 0);  // corners in either order
  EXPECT_EQ(fake->calls.back().values, (std::vector<std::int64_t>{5, 5, 8, 8, 0, 0, 1, 0xFF, -1}));
  // Percentages above 100, and negative ones (compared unsigned), count as 100.
  for (std::int32_t percent : {0xFFFFFF, -5, 100}) {
    Canvas::Box(0, 0, 40, 20, percent, 0xFF, -2, 0);
    EXPECT_EQ(fake->calls.back().values[4], 20) << percent;
  }
  Canvas::Box(0, 0, 40, 20, 50, 0xFF, -2, 0);
  EXPECT_EQ(fake->calls.back().values[4], 10);
}

TEST_F(CanvasTest, LinesMoveTheCurrentPoint) {
  Canvas::SetPenWidth(5);
  Canvas::MoveTo(10, 10);
  Canvas::LineTo(20, 10.5f, 0xFF);
  Canvas::LineTo(20, 30, -1);
  ASSERT_EQ(fake->calls.size(), 2u);
  EXPECT_EQ(fake->calls[0].values, (std::vector<std::int64_t>{10, 10, 20, 10, 5, 0xFF}));
  EXPECT_EQ(fake->calls[1].values[0], 20);
  EXPECT_EQ(canvas->CurrentPoint(), (PixelPoint{20, 30}));
}

TEST_F(CanvasTest, PrintTextAdvancesALineAndClipsToIt) {
  FontSpec font = ClockFontSpec();
  Canvas::SetFont(font);
  const std::int32_t lineHeight = canvas->LineHeight();
  EXPECT_EQ(lineHeight, 27 + 3 + 1);  // the fake's cell is em + 3, leading 1
  Canvas::SetColors(0xFFFFFF, 0x000000);
  Canvas::MoveTo(7, 5);
  Canvas::PrintText("12:00:00 UTC");
  EXPECT_EQ(canvas->CurrentPoint(), (PixelPoint{0, 5 + lineHeight}));
  const auto& call = fake->calls.back();
  EXPECT_EQ(call.values, (std::vector<std::int64_t>{7, 5, 0xFFFFFF, 0x000000, 7, 5, 100, 5 + lineHeight}));
  // A transparent text background leaves the cells alone.
  Canvas::SetColors(-3, -2);
  Canvas::PrintText("x");
  EXPECT_EQ(fake->calls.back().values[3], -1);
  // A font that cannot be made keeps the old one.
  FontSpec bad;
  Canvas::SetFont(bad);
  EXPECT_EQ(canvas->LineHeight(), lineHeight);
  ASSERT_NE(canvas->CurrentFont(), nullptr);
  EXPECT_EQ(canvas->CurrentFont()->face, "Arial");
}

TEST_F(CanvasTest, DeferredModeShowsNothingUntilRedraw) {
  Canvas::Attach(window.get(), kClockFaceId, DrawingMode::Deferred);
  presenter.count = 0;
  Canvas::Clear(0, 0);
  Canvas::SetPenWidth(3);
  for (int i = 0; i < 50; ++i) Canvas::LineTo(static_cast<float>(i), 40, 0xFF);
  EXPECT_EQ(presenter.count, 0);
  EXPECT_EQ(canvas->ChangedArea(), (PixelRect{0, 0, 100, 80}));
  Canvas::Redraw();
  EXPECT_EQ(presenter.count, 1);
  EXPECT_TRUE(canvas->ChangedArea().Empty());

  // Immediate mode shows each operation's area, grown by half the pen plus one.
  Canvas::Attach(window.get(), kClockFaceId, DrawingMode::Immediate);
  presenter.count = 0;
  Canvas::SetPenWidth(4);
  Canvas::MoveTo(10, 10);
  Canvas::LineTo(20, 10, 0xFF);
  EXPECT_EQ(presenter.count, 1);
  EXPECT_EQ(presenter.last, (PixelRect{7, 7, 24, 14}));
}

TEST_F(CanvasTest, IdentityScaleSwitchesScalingOff) {
  Canvas::SetScale(0, 0, 100, 80);
  EXPECT_FALSE(canvas->Scaled());
  Canvas::MoveTo(99, 79);
  EXPECT_EQ(canvas->CurrentPoint(), (PixelPoint{99, 79}));
  Canvas::SetScale(50, 40, 0, 0);  // half the size: factor 2, origin at the smaller corner
  EXPECT_TRUE(canvas->Scaled());
  Canvas::MoveTo(10, 10);
  EXPECT_EQ(canvas->CurrentPoint(), (PixelPoint{20, 20}));
  Canvas::SetScale(5, 5, 5, 9);  // degenerate: ignored
  Canvas::MoveTo(10, 10);
  EXPECT_EQ(canvas->CurrentPoint(), (PixelPoint{20, 20}));
}

TEST_F(CanvasTest, RecorderSeesOperationsInOrder) {
  std::vector<CanvasOp> ops;
  canvas->SetRecorder(&ops);
  Canvas::SetPenWidth(2);
  const PointF pts[] = {{1, 1}, {5.5f, 1}, {3, 4}};
  Canvas::Polygon(pts, 0xFF, -1, 0, 0);
  Canvas::Redraw();
  canvas->SetRecorder(nullptr);
  ASSERT_EQ(ops.size(), 3u);
  EXPECT_EQ(ops[0].name, "SetPenWidth");
  EXPECT_EQ(ops[1].name, "Polygon");
  ASSERT_EQ(ops[1].points.size(), 3u);
  EXPECT_FLOAT_EQ(ops[1].points[1].x, 5.5f);
  EXPECT_EQ(ops[2].name, "Redraw");
  // The rasterizer got rounded pixels: 5.5 goes to 6.
  EXPECT_EQ(fake->calls.back().values[6], 6);
}

}  // namespace
}  // namespace halyard
