// The stand-in for a 128-bit integer: against the built-in one where the
// compiler has it, and by the laws of truncating division everywhere.
#include "backends/soft/Int128.h"

#include <gtest/gtest.h>

#include <random>

namespace halyard::soft {
namespace {

// Products and sums of 64-bit values reach every width up to 128 bits.
struct Operands {
  std::int64_t a, b, c, d;
  Int128 N() const { return Int128(a) * b + c; }
};

Operands RandomOperands(std::mt19937_64& random) {
  const auto value = [&] { return static_cast<std::int64_t>(random()) >> (random() % 64); };
  Operands o{value(), value(), value(), value()};
  if (o.d == 0) o.d = 1;
  return o;
}

TEST(Int128, DivisionTruncatesAndItsRemainderMakesUpTheDividend) {
  std::mt19937_64 random(2026);
  for (int i = 0; i < 100000; ++i) {
    const Operands o = RandomOperands(random);
    const Int128 n = o.N(), d = i % 2 == 0 ? Int128(o.d) : Int128(o.d) * o.c + 1;
    if (d == 0) continue;
    const Int128 q = n / d, r = n % d;
    ASSERT_TRUE(q * d + r == n) << i;
    const Int128 absR = r < 0 ? -r : r, absD = d < 0 ? -d : d;
    ASSERT_TRUE(absR < absD) << i;
    ASSERT_TRUE(r == 0 || ((r < 0) == (n < 0))) << i;
  }
}

#ifdef __SIZEOF_INT128__
TEST(Int128, AgreesWithTheBuiltInType) {
  // Both halves: the low one, then the multiple of 2^64 left after it.
  const Int128 twoTo64 = Int128(std::int64_t{1} << 62) * 4;
  const auto same = [&](Int128 x, __int128 y) {
    const auto xLow = static_cast<std::int64_t>(x), yLow = static_cast<std::int64_t>(y);
    return xLow == yLow && static_cast<std::int64_t>((x - xLow) / twoTo64) == static_cast<std::int64_t>((y - yLow) >> 64);
  };
  std::mt19937_64 random(2027);
  for (int i = 0; i < 100000; ++i) {
    const Operands o = RandomOperands(random);
    const Int128 n = o.N();
    const __int128 m = static_cast<__int128>(o.a) * o.b + o.c;
    ASSERT_TRUE(same(n, m)) << i;
    // A product past 127 bits wraps in both; the built-in type wraps only unsigned.
    const auto wrapped = static_cast<__int128>(static_cast<unsigned __int128>(m) * static_cast<unsigned __int128>(o.d));
    ASSERT_TRUE(same(n * o.d, wrapped)) << i;
    ASSERT_TRUE(same(n / o.d, m / o.d)) << i;
    ASSERT_TRUE(same(-n % o.d, -m % o.d)) << i;
    ASSERT_EQ(n < Int128(o.d), m < o.d) << i;
  }
}
#endif

}  // namespace
}  // namespace halyard::soft
