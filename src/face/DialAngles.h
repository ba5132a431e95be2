// Cosine and sine of the dial's angles, in degrees, as the clock has always
// worked them out on x86: in the x87 unit's 80-bit format, with the C
// library's extended-precision cosine and sine of d * pi / 180, pi being
// 4 * atan(1). Whole degrees from -366 to 719, the only angles a face asks
// for, come from a table of those values; others are worked out here, and on
// a machine without the 80-bit format may differ in the last bit.
#pragma once

#include <limits>
#include <type_traits>

#include "face/Extended80.h"

namespace halyard {

// The dial's numbers: where long double is the x87 format, the unit itself
// works them out; elsewhere Extended80 rounds each step the same way.
using DialNumber = std::conditional_t<std::numeric_limits<long double>::digits == 64, long double, Extended80>;

class DialAngles {
 public:
  static DialNumber Cos(long double degrees);
  static DialNumber Sin(long double degrees);

  static constexpr int kFirst = -366;
  static constexpr int kLast = 719;
};

}  // namespace halyard
