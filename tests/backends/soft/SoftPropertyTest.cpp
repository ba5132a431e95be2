// Properties that hold for any input: the fill convention, shared edges,
// bounds, clipping and coordinates far outside the picture.
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <random>
#include <vector>

#include "backends/soft/PolygonFiller.h"
#include "backends/soft/SoftRasterizer.h"
#include "backends/soft/SoftTestSupport.h"

namespace halyard {
namespace {

using soft::Point64;
using namespace testing;

Picture FillOnly(const std::vector<Point64>& polygon, FillRule rule, int size) {
  Picture picture(size, size);
  soft::SpanPainter painter(picture, 1);
  soft::PolygonFiller().Fill(polygon, rule, painter);
  return picture;
}

// GDI's convention as a point test: (x, y) is inside when the exact crossings
// of the edges active on row y (top <= y < bottom) at or left of x give a
// non-zero winding number (or an odd count).
bool InsideByRule(const std::vector<Point64>& polygon, int x, int y, FillRule rule) {
  int winding = 0, crossings = 0;
  for (std::size_t i = 0; i < polygon.size(); ++i) {
    const Point64 a = polygon[(i + polygon.size() - 1) % polygon.size()], b = polygon[i];
    const Point64 top = a.y < b.y ? a : b, bottom = a.y < b.y ? b : a;
    if (y < top.y || y >= bottom.y) continue;
    if ((top.x - x) * (bottom.y - top.y) + (y - top.y) * (bottom.x - top.x) <= 0) {
      ++crossings;
      winding += a.y < b.y ? 1 : -1;
    }
  }
  return rule == FillRule::Winding ? winding != 0 : crossings % 2 == 1;
}

TEST(SoftFillProperty, RandomPolygonsFollowTheFillConvention) {
  std::mt19937 rng(21);
  std::uniform_int_distribution<int> coord(-10, 50);
  for (int n = 0; n < 200; ++n) {
    std::vector<Point64> polygon(3 + n % 6);
    for (Point64& p : polygon) p = {coord(rng), coord(rng)};
    const FillRule rule = n % 2 ? FillRule::Winding : FillRule::Alternate;
    const Picture picture = FillOnly(polygon, rule, 40);
    for (int i = 0; i < 40 * 40; ++i) {
      ASSERT_EQ(picture.Data()[i] == 1, InsideByRule(polygon, i % 40, i / 40, rule)) << n;
    }
  }
}

TEST(SoftFillProperty, JitteredGridOfQuadsAndTrianglesNeitherOverlapNorLeaveGaps) {
  std::mt19937 rng(11);
  std::uniform_int_distribution<int> jitter(-4, 4), split(0, 2);
  constexpr int kCells = 6, kSize = 96;
  for (int round = 0; round < 20; ++round) {
    Point64 g[kCells + 1][kCells + 1];
    for (int i = 0; i <= kCells; ++i) {
      for (int j = 0; j <= kCells; ++j) g[i][j] = {8 + i * 13 + jitter(rng), 8 + j * 13 + jitter(rng)};
    }
    const FillRule rule = round % 2 ? FillRule::Winding : FillRule::Alternate;
    std::vector<int> count(kSize * kSize, 0);
    auto add = [&](const std::vector<Point64>& tile) {
      const Picture p = FillOnly(tile, rule, kSize);
      for (int k = 0; k < kSize * kSize; ++k) count[k] += static_cast<int>(p.Data()[k]);
    };
    std::vector<Point64> outline;
    for (int i = 0; i < kCells; ++i) {
      outline.insert(outline.end(), {g[i][0]});
      for (int j = 0; j < kCells; ++j) {
        const Point64 a = g[i][j], b = g[i + 1][j], c = g[i + 1][j + 1], d = g[i][j + 1];
        const int how = split(rng);
        if (how == 0) add({a, b, c, d});
        if (how == 1) add({a, b, c}), add({c, d, a});  // one of them the other way round
        if (how == 2) add({a, b, d}), add({b, c, d});
      }
    }
    for (int j = 0; j < kCells; ++j) outline.push_back(g[kCells][j]);
    for (int i = kCells; i > 0; --i) outline.push_back(g[i][kCells]);
    for (int j = kCells; j > 0; --j) outline.push_back(g[0][j]);
    const Picture whole = FillOnly(outline, rule, kSize);
    for (int k = 0; k < kSize * kSize; ++k) {
      ASSERT_EQ(count[k], static_cast<int>(whole.Data()[k])) << k % kSize << "," << k / kSize;
    }
  }
}

TEST(SoftShapeProperty, BoxesAndEllipsesStayInsideTheirBoxGrownByHalfThePen) {
  std::mt19937 rng(9);
  std::uniform_int_distribution<int> coord(10, 70), pen(0, 8), corner(0, 40);
  for (int n = 0; n < 600; ++n) {
    const PixelRect box{coord(rng), coord(rng), coord(rng), coord(rng)};
    const int width = pen(rng), c = corner(rng);
    SoftRasterizer r(80, 80);
    if (n % 2) {
      r.Ellipse(box, width, kRed, kBlue);
    } else {
      r.RoundBox(box, c, n % 4 ? c : c / 2, width, kRed, kBlue);
    }
    const int half = std::max(width, 1) / 2;
    const PixelRect grown{std::min(box.left, box.right) - half, std::min(box.top, box.bottom) - half,
                          std::max(box.left, box.right) + half, std::max(box.top, box.bottom) + half};
    for (int y = 0; y < 80; ++y) {
      std::vector<int> red, blue;
      for (int x = 0; x < 80; ++x) {
        const std::uint32_t pixel = r.Pixels().Get(x, y);
        if (pixel == 0) continue;
        ASSERT_TRUE(x >= grown.left && x < grown.right && y >= grown.top && y < grown.bottom)
            << x << "," << y << " case " << n;
        (pixel == ColorRefToPixel(kRed) ? red : blue).push_back(x);
      }
      // The brush never passes the outline.
      ASSERT_TRUE(blue.empty() || (!red.empty() && red.front() < blue.front() && blue.back() < red.back()))
          << "brush outside the outline, case " << n;
    }
  }
}

// One random shape, its coordinates shifted by `offset`.
void DrawRandomShape(SoftRasterizer& r, std::mt19937 rng, int offset) {
  std::uniform_int_distribution<int> coord(-30, 70);
  auto point = [&] { return PixelPoint{coord(rng) + offset, coord(rng) + offset}; };
  const int kind = static_cast<int>(rng() % 4), width = static_cast<int>(rng() % 10);
  const PixelPoint a = point(), b = point();
  if (kind == 0) r.Line(a, b, width, kRed);
  if (kind == 1) r.Ellipse({a.x, a.y, b.x, b.y}, width, kRed, kBlue);
  if (kind == 2) r.RoundBox({a.x, a.y, b.x, b.y}, coord(rng) + 30, coord(rng) + 30, width, kRed, kBlue);
  if (kind == 3) {
    const PixelPoint points[] = {a, b, point(), point(), point()};
    r.Polygon(points, width, kRed, kBlue, width % 2 ? FillRule::Winding : FillRule::Alternate);
  }
}

TEST(SoftShapeProperty, ClippingMatchesAnUnclippedPicture) {
  // The small picture sees a window of the large one, whatever falls outside.
  for (unsigned n = 0; n < 400; ++n) {
    SoftRasterizer small(40, 30), large(500, 500);
    DrawRandomShape(small, std::mt19937(n), 0);
    DrawRandomShape(large, std::mt19937(n), 200);
    for (int i = 0; i < 40 * 30; ++i) {
      ASSERT_EQ(small.Pixels().Get(i % 40, i / 40), large.Pixels().Get(200 + i % 40, 200 + i / 40))
          << i % 40 << "," << i / 40 << " case " << n;
    }
  }
}

TEST(SoftShapeProperty, AShapeDrawnAgainIntoSeveralAreasMatchesItsUnclippedPicture) {
  // Drawn three times, the shape is worked out, then kept, then painted from
  // what was kept: each time only inside the areas, and there as unclipped.
  for (unsigned n = 0; n < 300; ++n) {
    SoftRasterizer whole(100, 100), parts(100, 100);
    DrawRandomShape(whole, std::mt19937(n), 0);
    std::mt19937 rng(n + 1000);
    for (int pass = 0; pass < 3; ++pass) {
      parts.SetClip(parts.Pixels().Bounds());
      parts.FillAll(0);
      // Bands of rows, each with its own columns: areas that do not overlap.
      std::vector<PixelRect> areas;
      for (int top = static_cast<int>(rng() % 20); top < 100; top += 10 + static_cast<int>(rng() % 30)) {
        const int left = static_cast<int>(rng() % 60);
        areas.push_back({left, top, left + 5 + static_cast<int>(rng() % 40), top + 4 + static_cast<int>(rng() % 6)});
      }
      parts.SetClip(areas);
      DrawRandomShape(parts, std::mt19937(n), 0);
      for (int i = 0; i < 100 * 100; ++i) {
        const int x = i % 100, y = i / 100;
        const bool inside = std::any_of(areas.begin(), areas.end(), [&](const PixelRect& r) {
          return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
        });
        ASSERT_EQ(parts.Pixels().Get(x, y), inside ? whole.Pixels().Get(x, y) : 0u)
            << x << "," << y << " case " << n << " pass " << pass;
      }
    }
  }
}

TEST(SoftShapeProperty, FarCoordinatesAndHugePensFinishAndCoverWhatTheyShould) {
  constexpr int kMax = std::numeric_limits<std::int32_t>::max(), kMin = -kMax - 1;
  const PixelPoint far[] = {{kMin, kMin}, {kMax, kMin}, {kMax, kMax}, {kMin, kMax}};
  for (int size : {0, 1, 7}) {
    const std::size_t all = static_cast<std::size_t>(size * size);
    SoftRasterizer r(size, size);
    r.Polygon(far, 1, kRed, kRed, FillRule::Alternate);
    EXPECT_EQ(Lit(r.Pixels()).size(), all);
    r.Ellipse({-1000000000, -1000000000, 1000000000, 1000000000}, 3, kRed, kBlue);
    EXPECT_EQ(Lit(r.Pixels(), kBlue).size(), all);
    r.Line({kMin, 3}, {kMax, 3}, 1000000000, kRed);  // a pen far wider than the picture
    EXPECT_EQ(Lit(r.Pixels()).size(), all);
    // The rest only has to finish without a fault.
    r.Line({kMax, kMin}, {kMin, kMax}, kMin, kBlue);
    r.RoundBox({kMin, 0, kMax, 1}, kMax, kMin, kMax, kRed, kBlue);
    r.Ellipse({kMin, kMin, kMax, kMax}, kMin, kRed, kBlue);
    r.Polygon(far, kMax, kRed, kBlue, FillRule::Winding);
  }
}

}  // namespace
}  // namespace halyard
