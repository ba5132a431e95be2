// Whole-pixel geometry in 64 bits, so that sums and mirrors of 32-bit
// coordinates never overflow inside the rasterizer.
#pragma once

#include <cstdint>

#include "backends/soft/Int128.h"

namespace halyard::soft {

struct Point64 {
  std::int64_t x = 0;
  std::int64_t y = 0;
  bool operator==(const Point64&) const = default;
};

// Exact products of two coordinate differences need more than 64 bits.
// 32-bit compilers (armhf) have no 128-bit integer: Int128 stands in there.
#ifdef __SIZEOF_INT128__
using Wide = __int128;
#else
using Wide = Int128;
#endif

// Division rounding towards minus infinity; `den` must be positive.
constexpr Wide FloorDiv(Wide num, Wide den) {
  Wide q = num / den;
  if (num % den != 0 && num < 0) --q;
  return q;
}

constexpr Wide CeilDiv(Wide num, Wide den) { return -FloorDiv(-num, den); }

constexpr std::int64_t Abs64(std::int64_t v) { return v < 0 ? -v : v; }

}  // namespace halyard::soft
