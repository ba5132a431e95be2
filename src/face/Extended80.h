// A number in the x87 unit's 80-bit format (a 64-bit significand), with the
// few operations the dial's geometry needs, each rounded as that unit rounds
// it: to nearest, ties to even. The faces were first drawn on x86, where long
// double is this format. Other machines have a wider long double (quad on
// aarch64) or a narrower one (double on armhf), which rounds a result lying
// on or near a half differently and moves a mark or a hand by a pixel. Worked
// out in integers, the result is the x86 one on every machine.
#pragma once

#include <bit>
#include <cstdint>

namespace halyard {

class Extended80 {
 public:
  constexpr Extended80() = default;  // zero
  explicit Extended80(std::int32_t whole);

  // From the format's bits as x86 stores them: the sign and the 15-bit biased
  // exponent, then the significand with its explicit leading bit.
  static constexpr Extended80 FromBits(std::uint16_t signExponent, std::uint64_t significand) {
    Extended80 v;
    v.negative_ = (signExponent & 0x8000) != 0;
    if (significand == 0) return v;
    const int shift = std::countl_zero(significand);  // 0 but for denormals
    v.exponent_ = static_cast<std::int32_t>(signExponent & 0x7FFF) - 16383 - 63 - shift +
                  ((signExponent & 0x7FFF) == 0 ? 1 : 0);
    v.significand_ = significand << shift;
    return v;
  }
  // Exact where long double is this format; otherwise rounded to 64 bits.
  // Not a number and infinities give zero (no face asks for them).
  static Extended80 FromLongDouble(long double value);

  friend Extended80 operator*(const Extended80& a, const Extended80& b);
  friend Extended80 operator+(const Extended80& a, const Extended80& b);

  // The nearest integer, ties to even (the unit's fistp); beyond ±2^62, ±2^62.
  std::int64_t Nearest() const;
  // The nearest float, ties to even, as converting the 80-bit value gives it
  // (for magnitudes from 2^-126 up; smaller ones are not rounded as a denormal).
  explicit operator float() const;
  // Exact where long double is this format or wider.
  long double ToLongDouble() const;

  bool operator==(const Extended80&) const = default;

 private:
  // A 128-bit magnitude times 2^exponent, rounded to 64 bits.
  static Extended80 Round(bool negative, std::uint64_t high, std::uint64_t low, std::int32_t exponent);

  bool negative_ = false;
  std::int32_t exponent_ = 0;      // the value is significand_ * 2^exponent_
  std::uint64_t significand_ = 0;  // 0, or with its top bit set
};

}  // namespace halyard
