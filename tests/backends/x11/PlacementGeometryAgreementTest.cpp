// The portable geometry reader (the one Windows uses) against Xlib's own.
#include <gtest/gtest.h>

#include "platform/window/PlacementGeometry.h"
#include "platform/window/PlacementGeometryCases.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace halyard {
namespace {

TEST(PlacementGeometryAgreementTest, TheTableIsWhatXParseGeometrySays) {
  for (const GeometryCase& c : kGeometryCases) {
    int x = 0, y = 0;
    unsigned width = 0, height = 0;
    const int mask = XParseGeometry(c.text, &x, &y, &width, &height);
    // An X without a Y (or the reverse) is no place to put a window: both readers refuse it.
    const bool usable = mask != NoValue && ((mask & XValue) != 0) == ((mask & YValue) != 0);
    EXPECT_EQ(usable, c.valid) << c.text;
    if (!usable) continue;
    EXPECT_EQ((mask & XValue) != 0, c.hasPosition) << c.text;
    if (!c.hasPosition) continue;
    EXPECT_EQ(x, c.x) << c.text;
    EXPECT_EQ(y, c.y) << c.text;
    EXPECT_EQ((mask & XNegative) != 0, c.fromRight) << c.text;
    EXPECT_EQ((mask & YNegative) != 0, c.fromBottom) << c.text;
  }
}

}  // namespace
}  // namespace halyard
