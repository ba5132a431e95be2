// The table of the dial's angles holds what x86-64 with glibc works out at
// run time, the values the faces were first drawn with.
#include "face/DialAngles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace halyard {
namespace {

[[maybe_unused]] Extended80 AsExtended(long double value) { return Extended80::FromLongDouble(value); }
[[maybe_unused]] Extended80 AsExtended(const Extended80& value) { return value; }
bool Same(const DialNumber& value, long double expected) { return AsExtended(value) == AsExtended(expected); }

TEST(DialAngles, TheTableHoldsTheValuesX86WorksOut) {
  if (std::numeric_limits<long double>::digits != 64) GTEST_SKIP() << "long double is not the 80-bit format here";
  const long double pi = 4.0L * std::atan(1.0L);
  int differing = 0;
  for (int degrees = DialAngles::kFirst; degrees <= DialAngles::kLast; ++degrees) {
    const long double radians = static_cast<long double>(degrees) * pi / 180.0L;
    if (!Same(DialAngles::Cos(degrees), std::cos(radians)) || !Same(DialAngles::Sin(degrees), std::sin(radians))) {
      if (++differing <= 5) ADD_FAILURE() << degrees << " degrees";
    }
  }
  EXPECT_EQ(differing, 0);
  // Between whole degrees, and beyond the table, the same expression.
  EXPECT_TRUE(Same(DialAngles::Sin(0.5L), std::sin(0.5L * pi / 180.0L)));
  EXPECT_TRUE(Same(DialAngles::Cos(-400), std::cos(-400.0L * pi / 180.0L)));
}

}  // namespace
}  // namespace halyard
