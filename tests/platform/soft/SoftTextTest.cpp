// Text goes through the TextEngine; the rasterizer adds the opaque cells.
#include <gtest/gtest.h>

#include <string>

#include "platform/soft/SoftRasterizer.h"
#include "platform/soft/SoftTestSupport.h"

namespace halyard {
namespace {

using softtest::kBlue;
using softtest::kRed;
using softtest::Lit;

// Cells 3 px wide and 5 tall; a glyph is one pixel at its cell's top-left.
class FakeTextEngine : public TextEngine {
 public:
  bool SetFont(const FontSpec& spec, std::int32_t dpi) override {
    lastSpec = spec;
    lastDpi = dpi;
    return !spec.face.empty();
  }
  FontMetrics Metrics() const override { return {5, 4, 1, 1}; }
  std::int32_t Advance(std::string_view text) override { return 3 * static_cast<int>(text.size()); }
  void DrawGlyphs(Picture& picture, PixelPoint origin, std::string_view text, std::uint32_t pixel,
                  PixelRect clip) override {
    lastPixel = pixel;
    lastClip = clip;
    for (std::size_t i = 0; i < text.size(); ++i) {
      const std::int64_t x = origin.x + 3 * static_cast<std::int64_t>(i);
      if (x >= clip.left && x < clip.right && origin.y >= clip.top && origin.y < clip.bottom) {
        picture.Set(static_cast<int>(x), origin.y, pixel);
      }
    }
  }
  FontSpec lastSpec;
  std::int32_t lastDpi = 0;
  std::uint32_t lastPixel = 0;
  PixelRect lastClip{};
};

TEST(SoftText, DelegatesToTheEngine) {
  FakeTextEngine engine;
  SoftRasterizer r(20, 10, &engine);
  EXPECT_TRUE(r.SetFont(ClockFontSpec(), 96));
  EXPECT_EQ(engine.lastSpec, ClockFontSpec());
  EXPECT_EQ(engine.lastDpi, 96);
  EXPECT_FALSE(r.SetFont(FontSpec{}, 96));
  EXPECT_EQ(r.Metrics(), (FontMetrics{5, 4, 1, 1}));
  EXPECT_EQ(r.MeasureText("abcd"), (TextExtent{12, 5}));
}

TEST(SoftText, OpaqueCellsAreFilledInsideTheClipThenGlyphsDrawn) {
  FakeTextEngine engine;
  SoftRasterizer r(20, 10, &engine);
  // Three cells from x=2: [2, 11) x [1, 6), clipped on the right at 9.
  r.DrawText({2, 1}, "abc", kRed, kBlue, {0, 0, 9, 10});
  softtest::PixelSet cells;
  for (int y = 1; y < 6; ++y) {
    for (int x = 2; x < 9; ++x) cells.insert({x, y});
  }
  for (int x : {2, 5, 8}) cells.erase({x, 1});
  EXPECT_EQ(Lit(r.Pixels(), kBlue), cells);
  EXPECT_EQ(Lit(r.Pixels()), (softtest::PixelSet{{2, 1}, {5, 1}, {8, 1}}));
  EXPECT_EQ(engine.lastPixel, ColorRefToPixel(kRed));

  // Transparent text leaves the cells; the clip given to the engine stays
  // inside the picture.
  r.FillAll(0);
  r.DrawText({15, 8}, "abc", kRed, std::nullopt, {-100, -100, 100, 100});
  EXPECT_EQ(Lit(r.Pixels()), (softtest::PixelSet{{15, 8}, {18, 8}}));
  EXPECT_EQ(engine.lastClip, (PixelRect{0, 0, 20, 10}));
  r.DrawText({2147483640, 2147483640}, "abcdefgh", kRed, kBlue, {0, 0, 20, 10});
}

TEST(SoftText, WithoutAnEngineTextDoesNothing) {
  SoftRasterizer r(8, 8);
  EXPECT_FALSE(r.SetFont(ClockFontSpec(), 96));
  EXPECT_EQ(r.Metrics(), FontMetrics{});
  EXPECT_EQ(r.MeasureText("abc"), (TextExtent{0, 0}));
  r.DrawText({0, 0}, "abc", kRed, kBlue, {0, 0, 8, 8});
  EXPECT_TRUE(Lit(r.Pixels(), kBlue).empty());
}

}  // namespace
}  // namespace halyard
