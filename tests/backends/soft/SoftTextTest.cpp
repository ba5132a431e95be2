// Text goes through the TextEngine; the rasterizer adds the opaque cells.
#include <gtest/gtest.h>

#include "backends/soft/SoftRasterizer.h"
#include "backends/soft/SoftTestSupport.h"

namespace halyard {
namespace {

using namespace testing;

// Cells 3 px wide and 5 tall; each glyph is one pixel at its cell's top-left.
struct FakeTextEngine : TextEngine {
  bool SetFont(const FontSpec& spec, std::int32_t dpi) override {
    font = spec;
    return dpi == 96 && !spec.face.empty();
  }
  FontMetrics Metrics() const override { return {5, 4, 1, 1}; }
  std::int32_t Advance(std::string_view text) override { return 3 * static_cast<int>(text.size()); }
  void DrawGlyphs(Picture& picture, PixelPoint origin, std::string_view text, std::uint32_t pixel,
                  PixelRect area) override {
    clip = area;
    for (std::int64_t x = origin.x, i = 0; i < static_cast<std::int64_t>(text.size()); ++i, x += 3) {
      if (x >= area.left && x < area.right) picture.Set(static_cast<int>(x), origin.y, pixel);
    }
  }
  FontSpec font;
  PixelRect clip{};
};

TEST(SoftText, DelegatesToTheEngineAndFillsOpaqueCellsInsideTheClip) {
  FakeTextEngine engine;
  SoftRasterizer r(20, 10, &engine);
  EXPECT_TRUE(r.SetFont(ClockFontSpec(), 96));
  EXPECT_EQ(engine.font, ClockFontSpec());
  EXPECT_EQ(r.Metrics(), (FontMetrics{5, 4, 1, 1}));
  EXPECT_EQ(r.MeasureText("abcd"), (TextExtent{12, 5}));

  SoftRasterizer bare(8, 8);
  EXPECT_FALSE(bare.SetFont(ClockFontSpec(), 96));
  EXPECT_EQ(bare.Metrics(), FontMetrics{});
  EXPECT_EQ(bare.MeasureText("abc"), (TextExtent{0, 0}));
  bare.DrawText({0, 0}, "abc", kRed, kBlue, {0, 0, 8, 8});
  EXPECT_TRUE(Lit(bare.Pixels(), kBlue).empty());

  r.DrawText({2, 1}, "abc", kRed, kBlue, {0, 0, 9, 10});  // cells [2, 11) x [1, 6), cut at 9
  PixelSet cells;
  for (int y = 1; y < 6; ++y) {
    for (int x = 2; x < 9; ++x) cells.insert({x, y});
  }
  const PixelSet glyphs{{2, 1}, {5, 1}, {8, 1}};
  for (const auto& p : glyphs) cells.erase(p);
  EXPECT_EQ(Lit(r.Pixels(), kBlue), cells);
  EXPECT_EQ(Lit(r.Pixels()), glyphs);

  // Transparent text leaves the cells; the engine's clip stays in the picture.
  r.FillAll(0);
  r.DrawText({15, 8}, "abc", kRed, std::nullopt, {-100, -100, 100, 100});
  EXPECT_EQ(Lit(r.Pixels()), (PixelSet{{15, 8}, {18, 8}}));
  EXPECT_EQ(engine.clip, (PixelRect{0, 0, 20, 10}));
  r.DrawText({2147483640, 2147483640}, "abcdefgh", kRed, kBlue, {0, 0, 20, 10});
}

}  // namespace
}  // namespace halyard
