// Lines: GDI's width-1 Bresenham rules and the shapes of wide pens.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "platform/soft/SoftRasterizer.h"
#include "platform/soft/SoftTestSupport.h"

namespace halyard {
namespace {

using softtest::Art;
using softtest::kRed;
using softtest::Lit;
using softtest::PixelSet;

// An independent statement of GDI's tie rule: walk the major axis, round the
// exact minor coordinate to nearest, and send exact halves to the smaller
// coordinate in every octant. Only majors inside [0, size) are listed.
PixelSet ExpectedThinLine(PixelPoint a, PixelPoint b, int size) {
  const __int128 dx = static_cast<__int128>(b.x) - a.x;
  const __int128 dy = static_cast<__int128>(b.y) - a.y;
  const bool xMajor = (dx < 0 ? -dx : dx) > (dy < 0 ? -dy : dy);
  const __int128 dMajor = xMajor ? dx : dy;
  const __int128 dMinor = xMajor ? dy : dx;
  const __int128 len = dMajor < 0 ? -dMajor : dMajor;
  const __int128 major0 = xMajor ? a.x : a.y;
  const __int128 minor0 = xMajor ? a.y : a.x;
  PixelSet out;
  for (int m = 0; m < size; ++m) {
    const __int128 i = dMajor > 0 ? m - major0 : major0 - m;
    if (i < 0 || i >= len) continue;
    // ceil((2*i*dMinor - len) / (2*len)): round half down.
    const __int128 num = 2 * i * dMinor - len;
    const __int128 den = 2 * len;
    const __int128 minor = minor0 + (num >= 0 ? (num + den - 1) / den : -((-num) / den));
    if (minor < 0 || minor >= size) continue;
    out.insert(xMajor ? std::pair<int, int>{m, static_cast<int>(minor)}
                      : std::pair<int, int>{static_cast<int>(minor), m});
  }
  return out;
}

PixelSet ThinLine(PixelPoint a, PixelPoint b, int size) {
  SoftRasterizer r(size, size);
  r.Line(a, b, 1, kRed);
  return Lit(r.Pixels());
}

TEST(SoftThinLine, HorizontalAndVerticalKeepTheStartAndDropTheEnd) {
  SoftRasterizer r(32, 32);
  r.Line({10, 10}, {20, 10}, 1, kRed);
  r.Line({20, 12}, {10, 12}, 0, kRed);  // pen 0 is the thinnest pen too
  r.Line({5, 20}, {5, 25}, 1, kRed);
  r.Line({7, 25}, {7, 20}, 1, kRed);
  r.Line({3, 3}, {3, 3}, 1, kRed);  // a point-long line draws nothing
  PixelSet expected;
  for (int x = 10; x < 20; ++x) expected.insert({x, 10});
  for (int x = 11; x <= 20; ++x) expected.insert({x, 12});
  for (int y = 20; y < 25; ++y) expected.insert({5, y});
  for (int y = 21; y <= 25; ++y) expected.insert({7, y});
  EXPECT_EQ(Lit(r.Pixels()), expected);
}

TEST(SoftThinLine, TiesFollowTheOctantBiasInAllEightOctants) {
  // Slopes of exactly 1/2 put every other pixel on a tie.
  for (int sx : {1, -1}) {
    for (int sy : {1, -1}) {
      for (bool xMajor : {true, false}) {
        const PixelPoint a{32, 32};
        const PixelPoint b{32 + sx * (xMajor ? 24 : 12), 32 + sy * (xMajor ? 12 : 24)};
        EXPECT_EQ(ThinLine(a, b, 64), ExpectedThinLine(a, b, 64))
            << "to " << b.x << "," << b.y;
      }
    }
  }
}

TEST(SoftThinLine, RandomLinesMatchTheRuleAndReversingOnlySwapsTheDroppedEnd) {
  std::mt19937 rng(7);
  std::uniform_int_distribution<int> coord(-20, 80);
  for (int n = 0; n < 300; ++n) {
    const PixelPoint a{coord(rng), coord(rng)};
    const PixelPoint b{coord(rng), coord(rng)};
    if (a == b) continue;
    const PixelSet forward = ThinLine(a, b, 64);
    if (a.x != b.x && a.y != b.y) {
      EXPECT_EQ(forward, ExpectedThinLine(a, b, 64));
    }
    PixelSet backward = ThinLine(b, a, 64);
    PixelSet f = forward;
    f.erase({a.x, a.y});
    backward.erase({b.x, b.y});
    EXPECT_EQ(f, backward) << a.x << "," << a.y << " - " << b.x << "," << b.y;
    EXPECT_FALSE(forward.count({b.x, b.y}));
  }
}

TEST(SoftThinLine, HugeEndpointsWalkOnlyTheVisiblePart) {
  EXPECT_EQ(ThinLine({-1000000000, -1000000000}, {1000000000, 1000000000}, 50),
            ExpectedThinLine({-1000000000, -1000000000}, {1000000000, 1000000000}, 50));
  const PixelPoint a{-2147483647 - 1, -1000000007};
  const PixelPoint b{2147483647, 1000000000};
  EXPECT_EQ(ThinLine(a, b, 50), ExpectedThinLine(a, b, 50));
  EXPECT_EQ(ThinLine(b, a, 50), ExpectedThinLine(b, a, 50));
  EXPECT_FALSE(ThinLine(a, b, 50).empty());
}

TEST(SoftWidePen, CapShapesForWidthsTwoToEight) {
  // A zero-length line shows the round cap alone. 4 and 5 lose a pixel at each
  // corner, 6 to 8 three; the extra row and column of even widths go on the
  // top and left of the point.
  const std::vector<std::vector<std::string>> caps{
      {"##", "##"},
      {".#.", "###", ".#."},
      {".##.", "####", "####", ".##."},
      {".###.", "#####", "#####", "#####", ".###."},
      {"..##..", ".####.", "######", "######", ".####.", "..##.."},
      {"..###..", ".#####.", "#######", "#######", "#######", ".#####.", "..###.."},
      {"..####..", ".######.", "########", "########", "########", "########", ".######.",
       "..####.."},
  };
  for (int width = 2; width <= 8; ++width) {
    SoftRasterizer r(10, 10);
    r.Line({4, 4}, {4, 4}, width, kRed);
    const std::vector<std::string> art = Art(r.Pixels());
    std::vector<std::string> window;
    for (int y = 4 - width / 2; y <= 4 + (width - 1) / 2; ++y) {
      window.push_back(art[y].substr(4 - width / 2, width));
    }
    EXPECT_EQ(window, caps[width - 2]) << "width " << width;
    std::size_t inked = 0;
    for (const std::string& row : caps[width - 2]) inked += std::count(row.begin(), row.end(), '#');
    EXPECT_EQ(Lit(r.Pixels()).size(), inked) << "nothing outside the cap";
  }
}

TEST(SoftWidePen, HorizontalLineIsCentredAndKeepsItsEndPixel) {
  SoftRasterizer r(40, 20);
  r.Line({10, 10}, {30, 10}, 7, kRed);
  const std::vector<std::string> art = Art(r.Pixels());
  // Body rows 7..13 over columns 10..29, and a cap on each end.
  EXPECT_EQ(art[6], std::string(40, '.'));
  EXPECT_EQ(art[7], std::string(9, '.') + std::string(23, '#') + std::string(8, '.'));
  EXPECT_EQ(art[10], std::string(7, '.') + std::string(27, '#') + std::string(6, '.'));
  EXPECT_EQ(art[14], std::string(40, '.'));
}

TEST(SoftWidePen, DirectionDoesNotMatter) {
  std::mt19937 rng(3);
  std::uniform_int_distribution<int> coord(0, 60);
  for (int n = 0; n < 200; ++n) {
    const PixelPoint a{coord(rng), coord(rng)};
    const PixelPoint b{coord(rng), coord(rng)};
    const int width = 2 + n % 7;
    SoftRasterizer forward(64, 64);
    SoftRasterizer backward(64, 64);
    forward.Line(a, b, width, kRed);
    backward.Line(b, a, width, kRed);
    EXPECT_EQ(forward.Pixels(), backward.Pixels())
        << a.x << "," << a.y << " - " << b.x << "," << b.y << " width " << width;
  }
}

}  // namespace
}  // namespace halyard
