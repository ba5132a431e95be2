// Properties that hold for any input: shared edges, bounds, clipping and
// coordinates far outside the picture.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "platform/soft/PolygonFiller.h"
#include "platform/soft/SoftRasterizer.h"
#include "platform/soft/SoftTestSupport.h"
#include "platform/soft/SpanPainter.h"

namespace halyard {
namespace {

using soft::Point64;
using softtest::kBlue;
using softtest::kRed;
using softtest::Lit;

constexpr int kSize = 96;

// How many of the given polygons cover each pixel, by the fill alone.
std::vector<int> CoverCounts(const std::vector<std::vector<Point64>>& polygons, FillRule rule) {
  std::vector<int> counts(kSize * kSize, 0);
  soft::PolygonFiller filler;
  for (const auto& polygon : polygons) {
    Picture picture(kSize, kSize);
    soft::SpanPainter painter(picture, 1);
    filler.Fill(polygon, rule, painter);
    for (int i = 0; i < kSize * kSize; ++i) counts[i] += picture.Data()[i];
  }
  return counts;
}

// Tiles of a partition must cover exactly the outline of the whole: no pixel
// twice, none missing.
void ExpectPartition(const std::vector<std::vector<Point64>>& tiles,
                     const std::vector<Point64>& whole, FillRule rule) {
  const std::vector<int> tileCounts = CoverCounts(tiles, rule);
  const std::vector<int> wholeCount = CoverCounts({whole}, rule);
  int covered = 0;
  for (int i = 0; i < kSize * kSize; ++i) {
    ASSERT_EQ(tileCounts[i], wholeCount[i]) << "pixel " << i % kSize << "," << i / kSize;
    covered += wholeCount[i];
  }
  EXPECT_GT(covered, 200);
}

TEST(SoftFillProperty, JitteredGridOfQuadsAndTrianglesNeitherOverlapNorLeaveGaps) {
  std::mt19937 rng(11);
  std::uniform_int_distribution<int> jitter(-4, 4);
  std::bernoulli_distribution coin;
  constexpr int kCells = 6;
  constexpr int kStep = 13;
  for (int round = 0; round < 20; ++round) {
    Point64 grid[kCells + 1][kCells + 1];
    for (int i = 0; i <= kCells; ++i) {
      for (int j = 0; j <= kCells; ++j) grid[i][j] = {8 + i * kStep + jitter(rng), 8 + j * kStep + jitter(rng)};
    }
    std::vector<std::vector<Point64>> tiles;
    for (int i = 0; i < kCells; ++i) {
      for (int j = 0; j < kCells; ++j) {
        const Point64 a = grid[i][j], b = grid[i + 1][j], c = grid[i + 1][j + 1], d = grid[i][j + 1];
        if (coin(rng)) {
          tiles.push_back({a, b, c, d});
        } else if (coin(rng)) {
          tiles.push_back({a, b, c});
          tiles.push_back({c, d, a});  // the other way round on purpose
        } else {
          tiles.push_back({a, b, d});
          tiles.push_back({b, c, d});
        }
      }
    }
    std::vector<Point64> outline;
    for (int i = 0; i < kCells; ++i) outline.push_back(grid[i][0]);
    for (int j = 0; j < kCells; ++j) outline.push_back(grid[kCells][j]);
    for (int i = kCells; i > 0; --i) outline.push_back(grid[i][kCells]);
    for (int j = kCells; j > 0; --j) outline.push_back(grid[0][j]);
    ExpectPartition(tiles, outline, round % 2 ? FillRule::Winding : FillRule::Alternate);
  }
}

TEST(SoftFillProperty, FanOfTrianglesFillsItsStarExactly) {
  std::mt19937 rng(5);
  std::uniform_real_distribution<double> radius(15, 46);
  std::uniform_real_distribution<double> jitter(0, 0.4);
  for (int round = 0; round < 20; ++round) {
    // Spread so that every triangle turns the same way after rounding.
    std::vector<double> angles(4 + round % 10);
    for (std::size_t i = 0; i < angles.size(); ++i) {
      angles[i] = 2 * M_PI * (static_cast<double>(i) + jitter(rng)) / static_cast<double>(angles.size());
    }
    const Point64 centre{48, 47};
    std::vector<Point64> star;
    for (double a : angles) {
      const double r = radius(rng);
      star.push_back({centre.x + std::lround(r * std::cos(a)), centre.y + std::lround(r * std::sin(a))});
    }
    std::vector<std::vector<Point64>> fan;
    for (std::size_t i = 0; i < star.size(); ++i) fan.push_back({centre, star[i], star[(i + 1) % star.size()]});
    ExpectPartition(fan, star, FillRule::Winding);
  }
}

// GDI's convention stated as a point test: pixel (x, y) is inside when the
// exact crossings of the edges active on row y (top <= y < bottom) at or left
// of x give a non-zero winding number (or an odd count).
bool InsideByRule(const std::vector<Point64>& polygon, int x, int y, FillRule rule) {
  int winding = 0;
  int crossings = 0;
  for (std::size_t i = 0; i < polygon.size(); ++i) {
    const Point64 a = polygon[i == 0 ? polygon.size() - 1 : i - 1];
    const Point64 b = polygon[i];
    if (a.y == b.y) continue;
    const Point64 top = a.y < b.y ? a : b;
    const Point64 bottom = a.y < b.y ? b : a;
    if (y < top.y || y >= bottom.y) continue;
    // crossing = top.x + (y - top.y) * dx / dy <= x, compared exactly
    const std::int64_t dy = bottom.y - top.y;
    if ((top.x - x) * dy + (y - top.y) * (bottom.x - top.x) <= 0) {
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
    Picture picture(40, 40);
    soft::SpanPainter painter(picture, 1);
    soft::PolygonFiller().Fill(polygon, rule, painter);
    for (int y = 0; y < 40; ++y) {
      for (int x = 0; x < 40; ++x) {
        ASSERT_EQ(picture.Get(x, y) == 1, InsideByRule(polygon, x, y, rule))
            << "pixel " << x << "," << y << " case " << n;
      }
    }
  }
}

TEST(SoftShapeProperty, BoxesAndEllipsesStayInsideTheirBoxGrownByHalfThePen) {
  std::mt19937 rng(9);
  std::uniform_int_distribution<int> coord(10, 70);
  std::uniform_int_distribution<int> pen(0, 8);
  std::uniform_int_distribution<int> corner(0, 40);
  for (int n = 0; n < 600; ++n) {
    const PixelRect box{coord(rng), coord(rng), coord(rng), coord(rng)};
    const int width = pen(rng);
    SoftRasterizer r(80, 80);
    if (n % 2) {
      r.Ellipse(box, width, kRed, kBlue);
    } else {
      const int c = corner(rng);
      r.RoundBox(box, c, n % 4 ? c : c / 2, width, kRed, kBlue);
    }
    const int half = std::max(width, 1) / 2;
    const int left = std::min(box.left, box.right) - half;
    const int right = std::max(box.left, box.right) + half;  // exclusive
    const int top = std::min(box.top, box.bottom) - half;
    const int bottom = std::max(box.top, box.bottom) + half;
    for (int y = 0; y < 80; ++y) {
      int firstRed = 80, lastRed = -1;
      for (int x = 0; x < 80; ++x) {
        const std::uint32_t pixel = r.Pixels().Get(x, y);
        if (pixel == 0) continue;
        ASSERT_TRUE(x >= left && x < right && y >= top && y < bottom)
            << "pixel " << x << "," << y << " box " << box.left << "," << box.top << ","
            << box.right << "," << box.bottom << " pen " << width << " case " << n;
        if (pixel == ColorRefToPixel(kRed)) firstRed = std::min(firstRed, x), lastRed = x;
      }
      // The brush never passes the outline.
      for (int x = 0; x < 80; ++x) {
        if (r.Pixels().Get(x, y) == ColorRefToPixel(kBlue)) {
          ASSERT_TRUE(firstRed < x && x < lastRed) << "brush at " << x << "," << y << " case " << n;
        }
      }
    }
  }
}

// Draws one random shape with its coordinates shifted by (dx, dy).
void DrawRandomShape(SoftRasterizer& r, std::mt19937 seed, int dx, int dy) {
  std::uniform_int_distribution<int> coord(-30, 70);
  std::uniform_int_distribution<int> pen(0, 9);
  auto point = [&] { return PixelPoint{coord(seed) + dx, coord(seed) + dy}; };
  const int kind = std::uniform_int_distribution<int>(0, 3)(seed);
  const int width = pen(seed);
  if (kind == 0) {
    r.Line(point(), point(), width, kRed);
  } else if (kind == 1) {
    const PixelPoint a = point(), b = point();
    r.Ellipse({a.x, a.y, b.x, b.y}, width, kRed, kBlue);
  } else if (kind == 2) {
    const PixelPoint a = point(), b = point();
    r.RoundBox({a.x, a.y, b.x, b.y}, coord(seed) + 30, coord(seed) + 30, width, kRed, kBlue);
  } else {
    const PixelPoint points[] = {point(), point(), point(), point(), point()};
    r.Polygon(points, width, kRed, kBlue, width % 2 ? FillRule::Winding : FillRule::Alternate);
  }
}

TEST(SoftShapeProperty, ClippingMatchesAnUnclippedPicture) {
  // The small picture sees a window of the large one: every shape must give
  // the same pixels there, whatever part of it falls outside.
  constexpr int kOffset = 200;
  for (unsigned n = 0; n < 400; ++n) {
    SoftRasterizer small(40, 30);
    SoftRasterizer large(500, 500);
    DrawRandomShape(small, std::mt19937(n), 0, 0);
    DrawRandomShape(large, std::mt19937(n), kOffset, kOffset);
    for (int y = 0; y < 30; ++y) {
      for (int x = 0; x < 40; ++x) {
        ASSERT_EQ(small.Pixels().Get(x, y), large.Pixels().Get(x + kOffset, y + kOffset))
            << "pixel " << x << "," << y << " case " << n;
      }
    }
  }
}

TEST(SoftShapeProperty, FarCoordinatesAndHugePensFinishAndCoverWhatTheyShould) {
  constexpr int kMax = std::numeric_limits<std::int32_t>::max();
  constexpr int kMin = std::numeric_limits<std::int32_t>::min();
  const PixelPoint far[] = {{kMin, kMin}, {kMax, kMin}, {kMax, kMax}, {kMin, kMax}};
  for (int size : {1, 7}) {
    SoftRasterizer r(size, size);
    r.Polygon(far, 1, kRed, kRed, FillRule::Alternate);
    EXPECT_EQ(Lit(r.Pixels()).size(), static_cast<std::size_t>(size * size));

    r.FillAll(0);
    r.Ellipse({-1000000000, -1000000000, 1000000000, 1000000000}, 3, kRed, kBlue);
    EXPECT_EQ(Lit(r.Pixels(), kBlue).size(), static_cast<std::size_t>(size * size));

    r.FillAll(0);
    r.Line({kMin, 3}, {kMax, 3}, 1000000000, kRed);  // a pen far wider than the picture
    EXPECT_EQ(Lit(r.Pixels()).size(), static_cast<std::size_t>(size * size));

    // Anything else only has to finish without a fault.
    r.Line({kMin, kMin}, {kMax, kMax}, kMax, kRed);
    r.Line({kMax, kMin}, {kMin, kMax}, kMin, kBlue);
    r.RoundBox({kMin, kMin, kMax, kMax}, kMax, kMin, 9, kRed, kBlue);
    r.RoundBox({kMin, 0, kMax, 1}, kMax, kMax, kMax, kRed, kBlue);
    r.Ellipse({kMin, kMin, kMax, kMax}, kMin, kRed, kBlue);
    r.Ellipse({-5, -3, size + 4, size + 1000000}, 1, kRed, std::nullopt);
    r.Polygon(far, kMax, kRed, kBlue, FillRule::Winding);
  }
  SoftRasterizer empty(0, 0);
  empty.Polygon(far, 3, kRed, kBlue, FillRule::Winding);
  empty.Ellipse({0, 0, 10, 10}, 3, kRed, kBlue);
  empty.Line({0, 0}, {10, 7}, 1, kRed);
  empty.FillAll(kRed);
}

}  // namespace
}  // namespace halyard
