#include "app/ClockIcon.h"

#include <gtest/gtest.h>

#include <cmath>

#include "backends/soft/SoftRasterizer.h"

namespace halyard {
namespace {

struct Rgb {
  int r, g, b;
};
Rgb At(const Picture& p, double x, double y) {
  const std::uint32_t v = p.Get(static_cast<std::int32_t>(x), static_cast<std::int32_t>(y));
  return {static_cast<int>(v >> 16), static_cast<int>((v >> 8) & 0xFF), static_cast<int>(v & 0xFF)};
}
bool White(Rgb c) { return c.r > 190 && c.g > 190 && c.b > 190; }
bool Black(Rgb c) { return c.r < 40 && c.g < 40 && c.b < 40; }
// The point at `fraction` of the radius in a screen direction (0 is three o'clock, clockwise).
Rgb Along(const Picture& p, double degrees, double fraction) {
  const double c = p.Width() / 2.0, reach = fraction * c, rad = degrees * 3.14159265358979 / 180;
  return At(p, c + reach * std::cos(rad), c + reach * std::sin(rad));
}

// The sizes a panel, a menu and a switcher use: each must still read as the
// face at 10:10 with its sectors, not a scaled-down blob.
TEST(ClockIcon, SmallSizesShowRimSectorsAndHands) {
  for (const std::int32_t size : {16, 22, 24, 32, 48, 64}) {
    SCOPED_TRACE(size);
    const Picture icon = RenderClockIcon(std::make_unique<SoftRasterizer>(size, size));
    ASSERT_EQ(icon.Width(), size);
    ASSERT_EQ(icon.Height(), size);
    EXPECT_TRUE(Black(At(icon, 0, 0))) << "corner outside the rim";
    EXPECT_TRUE(White(At(icon, size / 2, 0))) << "rim at twelve o'clock";
    EXPECT_TRUE(White(At(icon, size / 2, size - 1))) << "rim at six o'clock";
    EXPECT_TRUE(White(Along(icon, -30, 0.5))) << "minute hand towards two o'clock";
    EXPECT_TRUE(White(Along(icon, 215, 0.35))) << "hour hand towards ten o'clock";
    EXPECT_TRUE(Black(Along(icon, 140, 0.6))) << "empty dial between the sectors";
    int red = 0, blue = 0;
    for (std::int32_t y = 0; y < size; ++y) {
      for (std::int32_t x = 0; x < size; ++x) {
        const Rgb c = At(icon, x, y);
        red += c.r > 200 && c.g < 60 && c.b < 60;
        blue += c.b > 200 && c.r < 80;
      }
    }
    // Two sectors of each colour, each a few pixels even at 16.
    EXPECT_GE(red, size / 2);
    EXPECT_GE(blue, size / 2);
  }
}

}  // namespace
}  // namespace halyard
