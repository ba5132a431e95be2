// Lines: GDI's width-1 Bresenham rules and the shapes of wide pens.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "backends/soft/Point64.h"
#include "backends/soft/SoftRasterizer.h"
#include "backends/soft/SoftTestSupport.h"

namespace halyard {
namespace {

using namespace testing;

// GDI's tie rule stated independently: walk the major axis, round the exact
// minor coordinate to nearest, and send exact halves to the smaller
// coordinate in every octant. Only majors inside [0, size) are listed.
PixelSet ExpectedThinLine(PixelPoint a, PixelPoint b, int size) {
  using W = soft::Wide;  // __int128 where the compiler has it
  const W dx = W{b.x} - a.x, dy = W{b.y} - a.y;
  const bool xMajor = (dx < 0 ? -dx : dx) > (dy < 0 ? -dy : dy);
  const W dMajor = xMajor ? dx : dy, dMinor = xMajor ? dy : dx;
  const W len = dMajor < 0 ? -dMajor : dMajor;
  const W major0 = xMajor ? a.x : a.y, minor0 = xMajor ? a.y : a.x;
  PixelSet out;
  for (int m = 0; m < size; ++m) {
    const W i = dMajor > 0 ? m - major0 : major0 - m;
    if (i < 0 || i >= len) continue;
    const W num = 2 * i * dMinor - len, den = 2 * len;  // minor offset = ceil(num / den)
    const W minor = minor0 + (num >= 0 ? (num + den - 1) / den : -((-num) / den));
    if (minor < 0 || minor >= size) continue;
    const int n = static_cast<int>(static_cast<std::int64_t>(minor));
    out.insert(xMajor ? std::pair{m, n} : std::pair{n, m});
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
  r.Line({7, 25}, {7, 20}, 1, kRed);
  r.Line({3, 3}, {3, 3}, 1, kRed);  // nothing
  PixelSet expected;
  for (int i = 0; i < 10; ++i) expected.insert({{10 + i, 10}, {11 + i, 12}});
  for (int y = 21; y <= 25; ++y) expected.insert({7, y});
  EXPECT_EQ(Lit(r.Pixels()), expected);
}

TEST(SoftThinLine, FollowsTheTieRuleInAllOctantsAndReversingOnlySwapsTheDroppedEnd) {
  // Slopes of exactly 1/2 put every other pixel on a tie.
  for (PixelPoint d : {PixelPoint{24, 12}, {12, 24}, {-24, 12}, {-12, 24}, {24, -12}, {12, -24},
                       {-24, -12}, {-12, -24}}) {
    EXPECT_EQ(ThinLine({32, 32}, {32 + d.x, 32 + d.y}, 64),
              ExpectedThinLine({32, 32}, {32 + d.x, 32 + d.y}, 64)) << d.x << "," << d.y;
  }
  std::mt19937 rng(7);
  std::uniform_int_distribution<int> coord(-20, 80);
  for (int n = 0; n < 300; ++n) {
    const PixelPoint a{coord(rng), coord(rng)}, b{coord(rng), coord(rng)};
    if (a.x == b.x || a.y == b.y) continue;
    PixelSet forward = ThinLine(a, b, 64), backward = ThinLine(b, a, 64);
    EXPECT_EQ(forward, ExpectedThinLine(a, b, 64));
    EXPECT_TRUE(forward.erase({a.x, a.y}) == (a.x >= 0 && a.y >= 0 && a.x < 64 && a.y < 64));
    backward.erase({b.x, b.y});
    EXPECT_EQ(forward, backward);
  }
}

TEST(SoftThinLine, HugeEndpointsWalkOnlyTheVisiblePart) {
  const PixelPoint a{-2147483647 - 1, -1000000007}, b{2147483647, 1000000000};
  const PixelPoint c{-1000000000, -1000000000}, d{1000000000, 1000000000};
  EXPECT_EQ(ThinLine(c, d, 50), ExpectedThinLine(c, d, 50));
  EXPECT_EQ(ThinLine(b, a, 50), ExpectedThinLine(b, a, 50));
  EXPECT_FALSE(ThinLine(a, b, 50).empty());
}

TEST(SoftWidePen, CapShapesForWidthsTwoToEight) {
  // A zero-length line shows the round cap alone. The extra row and column of
  // even widths go on the top and left of the point.
  const std::vector<std::vector<std::string>> caps{
      {"##", "##"},
      {".#.", "###", ".#."},
      {".##.", "####", "####", ".##."},
      {".###.", "#####", "#####", "#####", ".###."},
      {"..##..", ".####.", "######", "######", ".####.", "..##.."},
      {"..###..", ".#####.", "#######", "#######", "#######", ".#####.", "..###.."},
      {"..####..", ".######.", "########", "########", "########", "########", ".######.",
       "..####.."}};
  for (int width = 2; width <= 8; ++width) {
    SoftRasterizer r(10, 10);
    r.Line({4, 4}, {4, 4}, width, kRed);
    const std::vector<std::string> art = Art(r.Pixels());
    std::vector<std::string> window;
    std::size_t inked = 0;
    for (int y = 4 - width / 2; y <= 4 + (width - 1) / 2; ++y) {
      window.push_back(art[y].substr(4 - width / 2, width));
      inked += std::count(window.back().begin(), window.back().end(), '#');
    }
    EXPECT_EQ(window, caps[width - 2]) << "width " << width;
    EXPECT_EQ(Lit(r.Pixels()).size(), inked) << "nothing outside the cap";
  }
}

TEST(SoftWidePen, BodyIsCentredKeepsTheEndPixelAndIgnoresDirection) {
  SoftRasterizer r(40, 20);
  r.Line({10, 10}, {30, 10}, 7, kRed);
  const std::vector<std::string> art = Art(r.Pixels());  // body rows 7..13, a cap each end
  EXPECT_EQ(art[6] + art[14], std::string(80, '.'));
  EXPECT_EQ(art[7], std::string(9, '.') + std::string(23, '#') + std::string(8, '.'));
  EXPECT_EQ(art[10], std::string(7, '.') + std::string(27, '#') + std::string(6, '.'));

  std::mt19937 rng(3);
  std::uniform_int_distribution<int> coord(0, 60);
  for (int n = 0; n < 200; ++n) {
    const PixelPoint a{coord(rng), coord(rng)}, b{coord(rng), coord(rng)};
    SoftRasterizer forward(64, 64), backward(64, 64);
    forward.Line(a, b, 2 + n % 7, kRed);
    backward.Line(b, a, 2 + n % 7, kRed);
    EXPECT_EQ(forward.Pixels(), backward.Pixels()) << a.x << "," << a.y << " " << b.x << "," << b.y;
  }
}

}  // namespace
}  // namespace halyard
