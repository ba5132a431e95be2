// The clock's one rounding rule, from a coordinate or a size worked out in
// floating point to a pixel: the nearest integer, ties to even (the default
// rounding mode), as GDI rounds them.
#pragma once

#include <cmath>
#include <cstdint>

namespace halyard {

// NaN gives 0, and values beyond +-2e9 (only fuzzed sizes reach them) are
// pinned there, so nothing is undefined. lrint, unlike nearbyint, need not
// save and restore the floating-point state, nor switch the FPU to truncation
// for the conversion: together those would cost a third of a repaint.
inline std::int32_t RoundHalfEven(long double value) {
  if (std::isnan(value)) return 0;
  if (value > 2.0e9L) return 2'000'000'000;
  if (value < -2.0e9L) return -2'000'000'000;
  return static_cast<std::int32_t>(std::lrint(value));
}

// A float, which a long double holds exactly, rounds to the same pixel
// without the x87 unit.
inline std::int32_t RoundHalfEven(float value) {
  if (!(std::fabs(value) <= 2.0e9f)) return RoundHalfEven(static_cast<long double>(value));
  return static_cast<std::int32_t>(std::lrint(value));
}

}  // namespace halyard
