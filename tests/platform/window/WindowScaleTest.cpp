#include "platform/window/WindowScale.h"

#include <gtest/gtest.h>

#include "platform/window/DialogUnits.h"

namespace halyard {
namespace {

TEST(WindowScaleTest, TheScaleMultipliesTheResolutionWithinItsRange) {
  EXPECT_EQ(ScaledDpi(96, 1.0), 96);
  EXPECT_EQ(ScaledDpi(96, 2.0), 192);
  EXPECT_EQ(ScaledDpi(96, 1.25), 120);
  EXPECT_EQ(ScaledDpi(144, 1.5), 216);
  EXPECT_EQ(ScaledDpi(96, 0.5), 48);
  EXPECT_EQ(ScaledDpi(60, 0.5), kMinimumDpi);
  EXPECT_EQ(ScaledDpi(500, 4.0), kMaximumDpi);
}

TEST(WindowScaleTest, FitScreenTakesTheLargestResolutionThatFits) {
  // The clock's window with a frame of 2 x 21 pixels, as the X11 layout sizes it.
  const auto outer = [](std::int32_t dpi) {
    const DialogUnits units = DialogUnits::ForDpi(dpi);
    return TextExtent{units.ToPixelsX(kWindowWidthUnits) + 2, units.ToPixelsY(kWindowHeightUnits) + 21};
  };
  struct Case {
    std::int32_t wanted, least;
    TextExtent room;
    std::int32_t fitting;
  };
  const Case cases[] = {
      {96, 48, {1280, 1024}, 96},   // fits: unchanged
      {500, 48, {1280, 1024}, 195},  // 660x975 and a frame in 1024 rows
      {96, 48, {800, 480}, 92},      // 330x450 and the frame
      {96, 48, {100, 100}, 48},      // nothing fits: the least
      {40, 48, {100, 100}, 48},
  };
  for (const Case& c : cases) {
    const std::int32_t fitting = FittingDpi(c.wanted, c.least, c.room, outer);
    EXPECT_EQ(fitting, c.fitting) << c.wanted << " in " << c.room.width << "x" << c.room.height;
    if (fitting > c.least) {
      EXPECT_LE(outer(fitting).height, c.room.height);
      if (fitting < c.wanted) {
        EXPECT_GT(outer(fitting + 1).height, c.room.height);
      }
    }
  }
}

}  // namespace
}  // namespace halyard
