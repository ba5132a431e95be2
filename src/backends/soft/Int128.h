// A signed 128-bit integer for compilers that have none (32-bit ARM): two's
// complement in two 64-bit halves, with the operations the rasterizer's exact
// edge and line arithmetic uses, behaving as the built-in type does (division
// truncates towards zero).
#pragma once

#include <cstdint>

namespace halyard::soft {

class Int128 {
 public:
  constexpr Int128() = default;
  // Implicit, as from one built-in integer to a wider one.
  constexpr Int128(std::int64_t value)  // NOLINT(google-explicit-constructor)
      : high_(value < 0 ? ~std::uint64_t{0} : 0), low_(static_cast<std::uint64_t>(value)) {}
  // The low 64 bits, as a built-in narrowing conversion gives them.
  explicit constexpr operator std::int64_t() const { return static_cast<std::int64_t>(low_); }

  friend constexpr Int128 operator+(Int128 a, Int128 b) {
    const std::uint64_t low = a.low_ + b.low_;
    return Int128(a.high_ + b.high_ + (low < a.low_ ? 1 : 0), low);
  }
  friend constexpr Int128 operator-(Int128 a, Int128 b) {
    return Int128(a.high_ - b.high_ - (a.low_ < b.low_ ? 1 : 0), a.low_ - b.low_);
  }
  friend constexpr Int128 operator-(Int128 a) { return Int128() - a; }
  friend constexpr Int128 operator*(Int128 a, Int128 b) {
    // The low halves' full product from 32-bit pieces; the high halves only
    // reach bits above 64, where everything beyond 128 falls away.
    const std::uint64_t aLow = a.low_ & 0xFFFFFFFFu, aHigh = a.low_ >> 32;
    const std::uint64_t bLow = b.low_ & 0xFFFFFFFFu, bHigh = b.low_ >> 32;
    const std::uint64_t lowLow = aLow * bLow, lowHigh = aLow * bHigh, highLow = aHigh * bLow;
    const std::uint64_t middle = (lowLow >> 32) + (lowHigh & 0xFFFFFFFFu) + (highLow & 0xFFFFFFFFu);
    const std::uint64_t carry = aHigh * bHigh + (lowHigh >> 32) + (highLow >> 32) + (middle >> 32);
    return Int128(carry + a.high_ * b.low_ + a.low_ * b.high_, (middle << 32) | (lowLow & 0xFFFFFFFFu));
  }
  friend constexpr Int128 operator/(Int128 a, Int128 b) {
    if (a.FitsIn64() && b.FitsIn64() && !(a == Int128(INT64_MIN) && b == Int128(-1))) {
      return Int128(static_cast<std::int64_t>(a) / static_cast<std::int64_t>(b));
    }
    const Int128 quotient = DivideMagnitudes(a.Negative() ? -a : a, b.Negative() ? -b : b);
    return a.Negative() != b.Negative() ? -quotient : quotient;
  }
  friend constexpr Int128 operator%(Int128 a, Int128 b) { return a - a / b * b; }
  constexpr Int128& operator--() { return *this = *this - 1; }

  friend constexpr bool operator==(Int128 a, Int128 b) { return a.high_ == b.high_ && a.low_ == b.low_; }
  friend constexpr bool operator<(Int128 a, Int128 b) {
    return a.high_ != b.high_ ? static_cast<std::int64_t>(a.high_) < static_cast<std::int64_t>(b.high_)
                              : a.low_ < b.low_;
  }
  friend constexpr bool operator>(Int128 a, Int128 b) { return b < a; }
  friend constexpr bool operator<=(Int128 a, Int128 b) { return !(b < a); }
  friend constexpr bool operator>=(Int128 a, Int128 b) { return !(a < b); }

 private:
  constexpr Int128(std::uint64_t high, std::uint64_t low) : high_(high), low_(low) {}
  constexpr bool Negative() const { return (high_ >> 63) != 0; }
  constexpr bool FitsIn64() const { return high_ == (static_cast<std::int64_t>(low_) < 0 ? ~std::uint64_t{0} : 0); }
  // Both read as unsigned (the most negative value too): bit by bit, as on paper.
  static constexpr Int128 DivideMagnitudes(Int128 n, Int128 d) {
    Int128 quotient, rest;
    for (int bit = 127; bit >= 0; --bit) {
      const std::uint64_t next = bit >= 64 ? (n.high_ >> (bit - 64)) & 1 : (n.low_ >> bit) & 1;
      rest = Int128((rest.high_ << 1) | (rest.low_ >> 63), (rest.low_ << 1) | next);
      if (!UnsignedLess(rest, d)) {
        rest = rest - d;
        if (bit >= 64) {
          quotient.high_ |= std::uint64_t{1} << (bit - 64);
        } else {
          quotient.low_ |= std::uint64_t{1} << bit;
        }
      }
    }
    return quotient;
  }
  static constexpr bool UnsignedLess(Int128 a, Int128 b) {
    return a.high_ != b.high_ ? a.high_ < b.high_ : a.low_ < b.low_;
  }

  std::uint64_t high_ = 0;
  std::uint64_t low_ = 0;
};

}  // namespace halyard::soft
