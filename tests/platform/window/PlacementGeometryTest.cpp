#include "platform/window/PlacementGeometry.h"

#include <gtest/gtest.h>

#include "platform/window/PlacementGeometryCases.h"

namespace halyard {
namespace {

TEST(PlacementGeometryTest, ReadsTheX11Form) {
  for (const GeometryCase& c : kGeometryCases) {
    const std::optional<PlacementGeometry> read = ParsePlacementGeometry(c.text);
    ASSERT_EQ(read.has_value(), c.valid) << c.text;
    if (!read) continue;
    EXPECT_EQ(read->hasPosition, c.hasPosition) << c.text;
    if (!c.hasPosition) continue;
    // As XParseGeometry reports them: the offset negated after a minus sign.
    EXPECT_EQ(read->fromRight ? -read->x : read->x, c.x) << c.text;
    EXPECT_EQ(read->fromBottom ? -read->y : read->y, c.y) << c.text;
    EXPECT_EQ(read->fromRight, c.fromRight) << c.text;
    EXPECT_EQ(read->fromBottom, c.fromBottom) << c.text;
  }
}

TEST(PlacementGeometryTest, OffsetsCountFromTheEdgesOfTheArea) {
  const PixelRect area{100, 50, 1380, 1074};  // a 1280x1024 area away from the origin
  const TextExtent size{332, 509};
  struct Case {
    const char* text;
    PixelPoint topLeft;
  };
  for (const Case& c : {Case{"+0+0", {100, 50}}, Case{"-0-0", {1048, 565}}, Case{"+10-20", {110, 545}},
                        Case{"-5+7", {1043, 57}}, Case{"+-10+-10", {90, 40}}}) {
    EXPECT_EQ(ParsePlacementGeometry(c.text)->TopLeft(size, area), c.topLeft) << c.text;
  }
}

}  // namespace
}  // namespace halyard
