#include "backends/gdi/GdiRasterizer.h"

#include <gtest/gtest.h>
#include <windows.h>
#undef DrawText

#include <algorithm>
#include <functional>
#include <vector>

#include "PictureComparison.h"
#include "backends/win32/GdiObjectCount.h"

namespace halyard {
namespace {

using namespace testing;

constexpr std::uint32_t kPaper = 0x00F0F0F0;
constexpr std::uint32_t kInk = 0x00102030;
constexpr std::uint32_t kFill = 0x0020C0E0;
constexpr std::uint32_t kBack = 0x00E08040;

HDC DcOf(GdiRasterizer& r) { return static_cast<HDC>(r.Dc()); }

// The DIB's pixels as GDI itself copies them out, independent of Pixels().
Picture ReadThroughGdi(GdiRasterizer& r, std::int32_t width, std::int32_t height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  HDC dc = CreateCompatibleDC(nullptr);
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(dc, bitmap);
  BitBlt(dc, 0, 0, width, height, DcOf(r), 0, 0, SRCCOPY);
  GdiFlush();
  Picture copy(width, height);
  const auto* source = static_cast<const std::uint32_t*>(bits);
  for (std::size_t i = 0; i < static_cast<std::size_t>(width) * height; ++i) {
    copy.Data()[i] = source[i] & 0x00FFFFFFu;
  }
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  return copy;
}

std::int32_t CountPixels(const Picture& p, PixelRect area, std::uint32_t colorRef) {
  std::int32_t count = 0;
  for (std::int32_t y = area.top; y < area.bottom; ++y) {
    for (std::int32_t x = area.left; x < area.right; ++x) {
      count += p.Get(x, y) == ColorRefToPixel(colorRef);
    }
  }
  return count;
}

// Pixels() copies only the rows an operation may have touched, so every kind of
// operation, including wide pens and shapes that reach past the picture, must
// still leave it equal to the DIB, whether read after each call or after several.
TEST(GdiRasterizer, PixelsFollowTheDib) {
  constexpr std::int32_t kW = 64, kH = 48;
  const PixelPoint triangle[] = {{5, 5}, {60, 40}, {5, 44}};
  const std::vector<std::function<void(GdiRasterizer&)>> operations = {
      [](GdiRasterizer& r) { r.FillAll(kPaper); },
      [](GdiRasterizer& r) { r.Line({-5, 1}, {70, 2}, 8, kInk); },
      [](GdiRasterizer& r) { r.Line({10, 47}, {40, 44}, 5, kFill); },
      [](GdiRasterizer& r) { r.RoundBox({2, 30, 20, 46}, 0, 0, 3, kInk, kFill); },
      [](GdiRasterizer& r) { r.RoundBox({30, 10, 50, 20}, 6, 6, 1, kInk, std::nullopt); },
      [](GdiRasterizer& r) { r.Ellipse({40, -3, 70, 10}, 5, kInk, std::nullopt); },
      [](GdiRasterizer& r) { r.Ellipse({20, 38, 36, 54}, 3, kInk, kFill); },
      [&](GdiRasterizer& r) { r.Polygon(triangle, 3, kInk, kFill, FillRule::Alternate); },
      [](GdiRasterizer& r) { r.DrawText({1, 20}, "12:00", kInk, kBack, {0, 25, kW, 40}); },
      [](GdiRasterizer& r) { r.DrawText({30, 30}, "W", kInk, std::nullopt, {0, 0, kW, kH}); },
  };
  for (const std::size_t stride : {std::size_t{1}, std::size_t{2}}) {
    GdiRasterizer r(kW, kH);
    ASSERT_NE(r.Dc(), nullptr);
    ASSERT_TRUE(r.SetFont(ClockFontSpec(), 96));
    for (std::size_t i = 0; i < operations.size(); ++i) {
      operations[i](r);
      if ((i + 1) % stride != 0) continue;
      const Picture& seen = r.Pixels();
      const PictureComparison result = ComparePictures(seen, ReadThroughGdi(r, kW, kH));
      ASSERT_TRUE(result.Same()) << "stride " << stride << ", after operation " << i << ": "
                                 << result.Describe(seen, ReadThroughGdi(r, kW, kH));
    }
  }

  GdiRasterizer r(kW, kH);
  EXPECT_EQ(r.Pixels().Get(30, 1), 0u) << "a new picture is black";
  r.FillAll(kPaper);
  EXPECT_EQ(r.Pixels().Get(30, 1), ColorRefToPixel(kPaper));
  r.Line({0, 1}, {60, 1}, 1, kInk);
  EXPECT_EQ(r.Pixels().Get(30, 1), ColorRefToPixel(kInk)) << "colours arrive as 0x00RRGGBB";
}

// A clipped fill writes the DIB and the picture itself, beside GDI: both must
// change exactly inside the clip, and GDI's own drawing must keep to it too.
TEST(GdiRasterizer, ClippedFillChangesOnlyTheClipInBothCopies) {
  constexpr std::int32_t kW = 40, kH = 30;
  const PixelRect clips[] = {{5, 7, 23, 19}, {-10, 20, 15, 99}, {30, -4, 99, 3}, {12, 12, 12, 20}, {0, 0, kW, kH}};
  for (const PixelRect& clip : clips) {
    GdiRasterizer r(kW, kH);
    ASSERT_NE(r.Dc(), nullptr);
    r.FillAll(kPaper);
    r.SetClip(clip);
    r.FillAll(kFill);
    r.Line({0, 0}, {kW, kH}, 3, kInk);
    r.SetClip(r.Pixels().Bounds());
    const Picture seen = r.Pixels();
    const Picture dib = ReadThroughGdi(r, kW, kH);
    const PictureComparison result = ComparePictures(seen, dib);
    ASSERT_TRUE(result.Same()) << clip.left << "," << clip.top << ": " << result.Describe(seen, dib);
    const PixelRect inside = Intersect(clip, seen.Bounds());
    for (std::int32_t y = 0; y < kH; ++y) {
      for (std::int32_t x = 0; x < kW; ++x) {
        const bool in = x >= inside.left && x < inside.right && y >= inside.top && y < inside.bottom;
        const std::uint32_t p = seen.Get(x, y);
        if (in) {
          ASSERT_TRUE(p == ColorRefToPixel(kFill) || p == ColorRefToPixel(kInk)) << x << "," << y;
        } else {
          ASSERT_EQ(p, ColorRefToPixel(kPaper)) << "outside the clip " << clip.left << "," << clip.top << " at " << x
                                                << "," << y;
        }
      }
    }
    EXPECT_EQ(CountPixels(seen, inside, kFill) + CountPixels(seen, inside, kInk),
              (inside.right - inside.left) * (inside.bottom - inside.top));
  }
}

// Pens and brushes live for one call only; the font is the one object kept.
TEST(GdiRasterizer, ReleasesEveryPenAndBrush) {
  GdiRasterizer r(64, 64);
  ASSERT_TRUE(r.SetFont(ClockFontSpec(), 96));
  const PixelPoint pie[] = {{32, 32}, {60, 20}, {62, 30}, {62, 40}, {58, 50}};
  auto draw = [&](int i) {
    switch (i % 7) {
      case 0: r.Line({0, 0}, {50, 20}, 1, kInk); break;
      case 1: r.Line({0, 10}, {50, 30}, 5, kInk); break;
      case 2: r.RoundBox({5, 5, 20, 20}, 0, 0, 3, kInk, kFill); break;
      case 3: r.RoundBox({5, 5, 30, 20}, 8, 8, 1, kInk, std::nullopt); break;
      case 4: r.Ellipse({20, 20, 36, 36}, 3, kInk, kFill); break;
      case 5: r.Polygon(pie, 1, kInk, kInk, FillRule::Winding); break;
      case 6: r.DrawText({2, 40}, "14:05", kInk, kBack, {0, 0, 64, 64}); break;
    }
  };
  for (int i = 0; i < 7; ++i) draw(i);  // anything GDI keeps after a first use is made now
  const std::uint32_t before = CountGdiObjects();
  for (int i = 0; i < 70'000; ++i) draw(i);
  EXPECT_EQ(CountGdiObjects(), before);
  // A pen or brush still selected could not have been deleted on Windows.
  EXPECT_EQ(GetCurrentObject(DcOf(r), OBJ_PEN), GetStockObject(BLACK_PEN));
  EXPECT_EQ(GetCurrentObject(DcOf(r), OBJ_BRUSH), GetStockObject(WHITE_BRUSH));
}

// Measured under Wine, where "Arial" is served by the metric-compatible
// Liberation Sans through fontconfig; Windows' Arial is expected to agree.
TEST(GdiRasterizerText, ClockFontMetricsAndWidth) {
  GdiRasterizer r(8, 8);
  ASSERT_TRUE(r.SetFont(ClockFontSpec(), 96));
  const FontMetrics metrics = r.Metrics();
  EXPECT_EQ(metrics.height, 30);
  EXPECT_EQ(metrics.externalLeading, 1);
  EXPECT_EQ(metrics.ascent + metrics.descent, metrics.height);
  EXPECT_EQ(r.MeasureText("14:05:09 UTC"), (TextExtent{173, 30}));

  TEXTMETRICW tm{};
  ASSERT_TRUE(GetTextMetricsW(DcOf(r), &tm));
  EXPECT_EQ(tm.tmWeight, FW_BOLD);
  FontSpec regular = ClockFontSpec();
  regular.style = 0;
  ASSERT_TRUE(r.SetFont(regular, 96));
  EXPECT_LT(r.MeasureText("14:05:09 UTC").width, 173);
}

TEST(GdiRasterizerText, IdenticalRequestsShareOneFont) {
  GdiRasterizer r(8, 8);
  auto current = [&] { return GetCurrentObject(DcOf(r), OBJ_FONT); };
  FontSpec small = ClockFontSpec();
  small.points = 10;
  ASSERT_TRUE(r.SetFont(ClockFontSpec(), 96));
  const HGDIOBJ clock96 = current();
  ASSERT_TRUE(r.SetFont(small, 96));
  const HGDIOBJ small96 = current();
  ASSERT_TRUE(r.SetFont(ClockFontSpec(), 120));
  const HGDIOBJ clock120 = current();
  ASSERT_TRUE(r.SetFont(ClockFontSpec(), 96));
  EXPECT_EQ(current(), clock96);
  EXPECT_NE(small96, clock96);
  EXPECT_NE(clock120, clock96);
  EXPECT_EQ(r.Metrics().height, 30);
}

TEST(GdiRasterizerText, BackgroundFillsTheCellsInsideTheClip) {
  GdiRasterizer r(160, 90);
  r.FillAll(kPaper);
  ASSERT_TRUE(r.SetFont(ClockFontSpec(), 96));
  const TextExtent cell = r.MeasureText("08");
  ASSERT_GT(cell.width, 0);

  r.DrawText({5, 5}, "08", kInk, kBack, {0, 0, 160, 90});
  const Picture& opaque = r.Pixels();
  EXPECT_EQ(opaque.Get(5, 5), ColorRefToPixel(kBack));
  EXPECT_EQ(opaque.Get(5 + cell.width - 1, 5 + cell.height - 1), ColorRefToPixel(kBack));
  EXPECT_EQ(opaque.Get(4, 5), ColorRefToPixel(kPaper));
  EXPECT_EQ(opaque.Get(5 + cell.width, 5), ColorRefToPixel(kPaper));
  EXPECT_EQ(opaque.Get(5, 5 + cell.height), ColorRefToPixel(kPaper));
  EXPECT_GT(CountPixels(opaque, {5, 5, 5 + cell.width, 5 + cell.height}, kInk), 20);

  // Without a background only the glyphs' own pixels change.
  r.DrawText({80, 5}, "08", kInk, std::nullopt, {0, 0, 160, 90});
  const Picture& transparent = r.Pixels();
  EXPECT_EQ(CountPixels(transparent, {80, 5, 80 + cell.width, 5 + cell.height}, kBack), 0);
  EXPECT_GT(CountPixels(transparent, {80, 5, 80 + cell.width, 5 + cell.height}, kInk), 20);

  const Picture before = r.Pixels();
  const PixelRect clip{10, 50, 30, 60};
  r.DrawText({5, 45}, "08", kInk, kBack, clip);
  const Picture& clipped = r.Pixels();
  for (std::int32_t y = 0; y < clipped.Height(); ++y) {
    for (std::int32_t x = 0; x < clipped.Width(); ++x) {
      const bool inside = x >= clip.left && x < clip.right && y >= clip.top && y < clip.bottom;
      if (inside) continue;
      ASSERT_EQ(clipped.Get(x, y), before.Get(x, y)) << x << "," << y;
    }
  }
  EXPECT_GT(CountPixels(clipped, clip, kBack), 0);
}

// The angle turns the text: 90 degrees runs it upward from the origin.
TEST(GdiRasterizerText, AngleTurnsTheText) {
  GdiRasterizer r(100, 120);
  r.FillAll(kPaper);
  FontSpec turned = ClockFontSpec();
  turned.angle = 900;
  ASSERT_TRUE(r.SetFont(turned, 96));
  r.DrawText({20, 110}, "12345", kInk, std::nullopt, {0, 0, 100, 120});
  const Picture& p = r.Pixels();
  PixelRect ink{100, 120, 0, 0};
  for (std::int32_t y = 0; y < p.Height(); ++y) {
    for (std::int32_t x = 0; x < p.Width(); ++x) {
      if (p.Get(x, y) == ColorRefToPixel(kPaper)) continue;
      ink = {std::min(ink.left, x), std::min(ink.top, y), std::max(ink.right, x + 1),
             std::max(ink.bottom, y + 1)};
    }
  }
  ASSERT_FALSE(ink.Empty());
  EXPECT_GT(ink.bottom - ink.top, 2 * (ink.right - ink.left));
  EXPECT_LE(ink.bottom, 111);
}

}  // namespace
}  // namespace halyard
