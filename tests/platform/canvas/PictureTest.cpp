#include "platform/canvas/Picture.h"

#include <gtest/gtest.h>

#include <random>

namespace halyard {
namespace {

// Filling touches exactly the pixels of the rectangle that lie in the
// picture, whatever the rectangle: partly or wholly outside, empty, inverted.
TEST(PictureTest, FillRectPaintsExactlyItsClippedPixels) {
  std::mt19937 random(20261208);
  std::uniform_int_distribution<std::int32_t> coordinate(-12, 40);
  for (int round = 0; round < 2000; ++round) {
    Picture picture(29, 17, 0x010203);
    const PixelRect r{coordinate(random), coordinate(random), coordinate(random), coordinate(random)};
    picture.FillRect(r, 0xABCDEF);
    for (std::int32_t y = 0; y < picture.Height(); ++y) {
      for (std::int32_t x = 0; x < picture.Width(); ++x) {
        const bool inside = x >= r.left && x < r.right && y >= r.top && y < r.bottom;
        ASSERT_EQ(picture.Get(x, y), inside ? 0xABCDEFu : 0x010203u)
            << "rect " << r.left << "," << r.top << "," << r.right << "," << r.bottom << " at " << x << "," << y;
      }
    }
  }
}

}  // namespace
}  // namespace halyard
