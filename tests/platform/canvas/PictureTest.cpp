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

// A view of part of a picture writes into that part only, clipped to itself;
// a copy of the view has pixels of its own, equal to the view's.
TEST(PictureTest, APartViewWritesOnlyInsideItselfAndCopiesOwnTheirPixels) {
  std::mt19937 random(20261209);
  std::uniform_int_distribution<std::int32_t> coordinate(-8, 30);
  for (int round = 0; round < 500; ++round) {
    Picture whole(31, 23, 0x010203);
    const PixelRect part{coordinate(random), coordinate(random), coordinate(random), coordinate(random)};
    Picture view = whole.Part(part);
    const PixelRect inWhole = Intersect(part, whole.Bounds());
    ASSERT_EQ(view.Bounds(), (PixelRect{0, 0, inWhole.right - inWhole.left, inWhole.bottom - inWhole.top}));
    const PixelRect fill{coordinate(random), coordinate(random), coordinate(random), coordinate(random)};
    view.FillRect(fill, 0xABCDEF);
    Picture copy = view;
    ASSERT_FALSE(copy.IsView());
    ASSERT_TRUE(copy == view);
    copy.FillRect(copy.Bounds(), 0);  // the copy's pixels are not the view's
    for (std::int32_t y = 0; y < whole.Height(); ++y) {
      for (std::int32_t x = 0; x < whole.Width(); ++x) {
        const std::int32_t vx = x - inWhole.left, vy = y - inWhole.top;
        const bool inside = !inWhole.Empty() && x >= inWhole.left && x < inWhole.right && y >= inWhole.top &&
                            y < inWhole.bottom && vx >= fill.left && vx < fill.right && vy >= fill.top &&
                            vy < fill.bottom;
        ASSERT_EQ(whole.Get(x, y), inside ? 0xABCDEFu : 0x010203u) << round << " at " << x << "," << y;
      }
    }
  }
}

}  // namespace
}  // namespace halyard
