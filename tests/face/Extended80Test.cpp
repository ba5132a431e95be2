// The 80-bit arithmetic worked out in integers, against the x87 unit itself
// where long double is that unit's format (x86-64 Linux; Windows under Wine,
// which also shows the unit there rounds to 64 bits); and dial points whose
// results x86 gave, on every machine.
#include "face/Extended80.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>

#include "face/DialAngles.h"

namespace halyard {
namespace {

constexpr bool kNativeIs80Bit = std::numeric_limits<long double>::digits == 64;

Extended80 FromNative(long double value) {
  std::uint64_t significand = 0;
  std::uint16_t signExponent = 0;
  std::memcpy(&significand, &value, 8);
  std::memcpy(&signExponent, reinterpret_cast<const unsigned char*>(&value) + 8, 2);
  return Extended80::FromBits(signExponent, significand);
}

// A dial number as Extended80, on any machine (the native kind only where it is the x87 format).
[[maybe_unused]] Extended80 AsExtended(long double value) { return FromNative(value); }
[[maybe_unused]] Extended80 AsExtended(const Extended80& value) { return value; }

[[maybe_unused]] std::int64_t NearestInteger(long double value) { return std::llrint(value); }
[[maybe_unused]] std::int64_t NearestInteger(const Extended80& value) { return value.Nearest(); }

// centre + reach * value, as the dial works it out.
Extended80 DialPoint(std::int32_t centre, std::int32_t reach, const Extended80& value) {
  return Extended80(centre) + Extended80(reach) * value;
}
DialNumber DialPoint(std::int32_t centre, std::int32_t reach, long double degrees, bool cosine) {
  return DialNumber(centre) + DialNumber(reach) * (cosine ? DialAngles::Cos(degrees) : DialAngles::Sin(degrees));
}

TEST(Extended80, DialPointsAsX86GaveThem) {
  // cos 60 and 120 degrees lie just off a half, sin 30 too: these points fall
  // within 2^-60 of a half, where each step's rounding decides. The 96 dpi
  // face has its centre at (165, 203) and a radius of 155. Both ways of
  // working them out: the dial's own, and the integer one.
  for (const bool viaDialNumber : {true, false}) {
    const auto nearest = [&](std::int32_t centre, std::int32_t reach, int degrees, bool cosine) {
      return viaDialNumber ? NearestInteger(DialPoint(centre, reach, degrees, cosine))
                           : DialPoint(centre, reach, AsExtended(cosine ? DialAngles::Cos(degrees) : DialAngles::Sin(degrees))).Nearest();
    };
    EXPECT_EQ(nearest(203, 155, 30, false), 280);  // exactly: 281
    EXPECT_EQ(nearest(165, 155, 120, true), 87);   // in doubles: 88
    EXPECT_EQ(nearest(165, 149, 60, true), 239);   // in doubles: 240
    EXPECT_EQ(nearest(11, 1, 60, true), 12);       // exactly: 11
    EXPECT_EQ(nearest(10, 5, 90, true), 10);
  }
  EXPECT_EQ(static_cast<float>(DialPoint(203, 151, 30, false)), 278.5f);
  EXPECT_EQ(static_cast<float>(DialPoint(0, 0, 30, false)), 0.0f);
  EXPECT_EQ(Extended80(std::numeric_limits<std::int32_t>::min()).Nearest(), std::numeric_limits<std::int32_t>::min());
}

// Every table angle at reaches up to 1200 pixels, the centre a little beyond
// the reach as on a face: the dial's own sums, with all their near-ties.
TEST(Extended80, DialPointsAgreeWithTheX87Unit) {
  if (!kNativeIs80Bit) GTEST_SKIP() << "long double is not the 80-bit format here";
  int differing = 0;
  for (int degrees = DialAngles::kFirst; degrees <= DialAngles::kLast; ++degrees) {
    for (const DialNumber& angle : {DialAngles::Cos(degrees), DialAngles::Sin(degrees)}) {
      const Extended80 value = AsExtended(angle);
      const long double native = value.ToLongDouble();
      for (std::int32_t reach = -3; reach <= 1200; ++reach) {
        const std::int32_t centre = reach + 10 + (reach & 1) * (degrees & 7);
        const long double sum = static_cast<long double>(centre) + static_cast<long double>(reach) * native;
        const Extended80 emulated = DialPoint(centre, reach, value);
        if (emulated.Nearest() != std::llrint(sum) || static_cast<float>(emulated) != static_cast<float>(sum)) {
          if (++differing <= 5) ADD_FAILURE() << degrees << " degrees, reach " << reach;
        }
      }
    }
  }
  EXPECT_EQ(differing, 0);
}

// Products, sums and differences of any two numbers, including equal and
// opposite ones and exponents far apart, bit for bit.
TEST(Extended80, ArithmeticAgreesWithTheX87UnitBitForBit) {
  if (!kNativeIs80Bit) GTEST_SKIP() << "long double is not the 80-bit format here";
  std::mt19937_64 random(20260928);
  const auto number = [&] {
    const auto exponent = static_cast<std::uint16_t>(16383 - 100 + random() % 200);
    std::uint64_t significand = random() | (std::uint64_t{1} << 63);
    if (random() % 4 == 0) significand &= ~std::uint64_t{0} << (random() % 64);  // short ones, for exact sums and ties
    return Extended80::FromBits(static_cast<std::uint16_t>(exponent | (random() % 2) << 15), significand);
  };
  int differing = 0;
  for (int i = 0; i < 200000; ++i) {
    const Extended80 a = number();
    Extended80 b = i % 16 == 0 ? a : number();
    if (i % 16 == 1) b = Extended80() + Extended80(-1) * a;
    const long double x = a.ToLongDouble(), y = b.ToLongDouble();
    const bool inIntegerRange = std::fabs(x) < 0x1p62L;
    if (!(a * b == FromNative(x * y)) || !(a + b == FromNative(x + y)) ||
        (inIntegerRange && a.Nearest() != std::llrint(x)) || static_cast<float>(a) != static_cast<float>(x)) {
      if (++differing <= 5) ADD_FAILURE() << "case " << i;
    }
  }
  EXPECT_EQ(differing, 0);
}

}  // namespace
}  // namespace halyard
