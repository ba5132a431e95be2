#include "platform/window/DialogUnits.h"

#include <gtest/gtest.h>

namespace halyard {
namespace {

TEST(DialogUnitsTest, ClockLayoutAt96Dpi) {
  const DialogUnits units = DialogUnits::ForDpi(96);
  // 300 units * 13 / 8 = 487.5, rounded away from zero.
  EXPECT_EQ(units.SizeToPixels({kWindowWidthUnits, kWindowHeightUnits}), (TextExtent{330, 488}));
  EXPECT_EQ(units.ToPixels(kFaceRectUnits), (PixelRect{0, 0, 330, 406}));
  // y and height converted apart: 406 + 81 ends one row above the client's 488.
  EXPECT_EQ(units.ToPixels(kLabelRectUnits), (PixelRect{0, 406, 330, 487}));
}

TEST(DialogUnitsTest, ClockLayoutAt144Dpi) {
  const DialogUnits units = DialogUnits::ForDpi(144);  // 9 x 20 (19.5 rounded up)
  EXPECT_EQ(units.SizeToPixels({kWindowWidthUnits, kWindowHeightUnits}), (TextExtent{495, 750}));
  EXPECT_EQ(units.ToPixels(kFaceRectUnits), (PixelRect{0, 0, 495, 625}));
  EXPECT_EQ(units.ToPixels(kLabelRectUnits), (PixelRect{0, 625, 495, 750}));
}

}  // namespace
}  // namespace halyard
