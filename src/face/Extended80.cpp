#include "face/Extended80.h"

#include <cmath>

namespace halyard {
namespace {

constexpr std::uint64_t kTopBit = std::uint64_t{1} << 63;

// The exact 128-bit product, from 32-bit halves: armhf has no 128-bit integers.
void MultiplyWide(std::uint64_t a, std::uint64_t b, std::uint64_t& high, std::uint64_t& low) {
  const std::uint64_t aLow = a & 0xFFFFFFFFu, aHigh = a >> 32;
  const std::uint64_t bLow = b & 0xFFFFFFFFu, bHigh = b >> 32;
  const std::uint64_t lowLow = aLow * bLow;
  const std::uint64_t lowHigh = aLow * bHigh;
  const std::uint64_t highLow = aHigh * bLow;
  const std::uint64_t middle = (lowLow >> 32) + (lowHigh & 0xFFFFFFFFu) + (highLow & 0xFFFFFFFFu);
  low = (middle << 32) | (lowLow & 0xFFFFFFFFu);
  high = aHigh * bHigh + (lowHigh >> 32) + (highLow >> 32) + (middle >> 32);
}

}  // namespace

Extended80::Extended80(std::int32_t whole) {
  if (whole == 0) return;
  negative_ = whole < 0;
  const std::uint64_t magnitude =
      negative_ ? std::uint64_t{0} - static_cast<std::uint64_t>(static_cast<std::int64_t>(whole))
                : static_cast<std::uint64_t>(whole);
  const int shift = std::countl_zero(magnitude);
  significand_ = magnitude << shift;
  exponent_ = -shift;
}

Extended80 Extended80::FromLongDouble(long double value) {
  if (!std::isfinite(value)) return {};
  if (value == 0) {
    Extended80 zero;
    zero.negative_ = std::signbit(value);
    return zero;
  }
  int exponent = 0;
  const long double fraction = std::frexp(std::fabs(value), &exponent);  // in [0.5, 1)
  // 2^64 times the fraction: its integer part, then the rest, rounded half to even.
  const long double scaled = std::ldexp(fraction, 64);
  std::uint64_t significand = static_cast<std::uint64_t>(scaled);
  const long double rest = scaled - static_cast<long double>(significand);
  std::int32_t exp2 = exponent - 64;
  if (rest > 0.5L || (rest == 0.5L && (significand & 1) != 0)) {
    if (++significand == 0) {
      significand = kTopBit;
      ++exp2;
    }
  }
  Extended80 v;
  v.negative_ = value < 0;
  v.exponent_ = exp2;
  v.significand_ = significand;
  return v;
}

Extended80 Extended80::Round(bool negative, std::uint64_t high, std::uint64_t low, std::int32_t exponent) {
  if (high == 0) {
    if (low == 0) return {};
    high = low;
    low = 0;
    exponent -= 64;
  }
  const int shift = std::countl_zero(high);
  if (shift > 0) {
    high = (high << shift) | (low >> (64 - shift));
    low <<= shift;
    exponent -= shift;
  }
  if (low > kTopBit || (low == kTopBit && (high & 1) != 0)) {
    if (++high == 0) {
      high = kTopBit;
      ++exponent;
    }
  }
  Extended80 v;
  v.negative_ = negative;
  v.exponent_ = exponent + 64;
  v.significand_ = high;
  return v;
}

Extended80 operator*(const Extended80& a, const Extended80& b) {
  if (a.significand_ == 0 || b.significand_ == 0) {
    Extended80 zero;
    zero.negative_ = a.negative_ != b.negative_;
    return zero;
  }
  std::uint64_t high = 0, low = 0;
  MultiplyWide(a.significand_, b.significand_, high, low);
  return Extended80::Round(a.negative_ != b.negative_, high, low, a.exponent_ + b.exponent_);
}

Extended80 operator+(const Extended80& a, const Extended80& b) {
  if (b.significand_ == 0) {
    if (a.significand_ != 0) return a;
    Extended80 zero;
    zero.negative_ = a.negative_ && b.negative_;
    return zero;
  }
  if (a.significand_ == 0) return b;
  // The larger magnitude first; both are normalised, so the exponent decides
  // unless it is the same.
  const bool aLarger = a.exponent_ != b.exponent_ ? a.exponent_ > b.exponent_ : a.significand_ >= b.significand_;
  const Extended80& big = aLarger ? a : b;
  const Extended80& small = aLarger ? b : a;
  // Both as 128-bit numbers in units of 2^(big.exponent_ - 64). The smaller
  // one is exact while it is shifted by 64 bits or less; beyond, the bits it
  // loses are kept as one sticky bit, far below where the sum is rounded.
  const std::int64_t distance = static_cast<std::int64_t>(big.exponent_) - small.exponent_;
  std::uint64_t smallHigh = 0, smallLow = 0;
  if (distance == 0) {
    smallHigh = small.significand_;
  } else if (distance < 64) {
    smallHigh = small.significand_ >> distance;
    smallLow = small.significand_ << (64 - distance);
  } else if (distance == 64) {
    smallLow = small.significand_;
  } else if (distance < 128) {
    smallLow = small.significand_ >> (distance - 64);
    smallLow |= (small.significand_ << (128 - distance)) != 0 ? 1 : 0;
  } else {
    smallLow = 1;
  }

  std::uint64_t high = 0, low = 0;
  std::int32_t exponent = big.exponent_ - 64;
  if (a.negative_ == b.negative_) {
    low = smallLow;
    high = big.significand_ + smallHigh;
    if (high < big.significand_) {  // the sum needs 129 bits: halve it, keeping the sticky bit
      low = (low >> 1) | (high << 63) | (low & 1);
      high = (high >> 1) | kTopBit;
      ++exponent;
    }
  } else {
    low = std::uint64_t{0} - smallLow;
    high = big.significand_ - smallHigh - (smallLow != 0 ? 1 : 0);
    if (high == 0 && low == 0) return {};  // exact cancellation: +0
  }
  return Extended80::Round(big.negative_, high, low, exponent);
}

std::int64_t Extended80::Nearest() const {
  constexpr std::int64_t kLimit = std::int64_t{1} << 62;
  if (significand_ == 0 || exponent_ <= -65) return 0;  // below a half
  std::uint64_t whole = 0;
  if (exponent_ >= 0) {
    whole = static_cast<std::uint64_t>(kLimit);
  } else {
    const int shift = -exponent_;  // 1 to 64
    whole = shift == 64 ? 0 : significand_ >> shift;
    const std::uint64_t rest = shift == 64 ? significand_ : significand_ & ((std::uint64_t{1} << shift) - 1);
    const std::uint64_t half = std::uint64_t{1} << (shift - 1);
    if (rest > half || (rest == half && (whole & 1) != 0)) ++whole;
    if (whole > static_cast<std::uint64_t>(kLimit)) whole = static_cast<std::uint64_t>(kLimit);
  }
  const auto magnitude = static_cast<std::int64_t>(whole);
  return negative_ ? -magnitude : magnitude;
}

Extended80::operator float() const {
  if (significand_ == 0) return negative_ ? -0.0f : 0.0f;
  std::uint64_t kept = significand_ >> 40;  // 24 bits
  const std::uint64_t rest = significand_ & ((std::uint64_t{1} << 40) - 1);
  const std::uint64_t half = std::uint64_t{1} << 39;
  int exponent = exponent_ + 40;
  if (rest > half || (rest == half && (kept & 1) != 0)) {
    if (++kept == (std::uint64_t{1} << 24)) {
      kept >>= 1;
      ++exponent;
    }
  }
  const float magnitude = std::ldexp(static_cast<float>(kept), exponent);
  return negative_ ? -magnitude : magnitude;
}

long double Extended80::ToLongDouble() const {
  const long double magnitude = std::ldexp(static_cast<long double>(significand_), exponent_);
  return negative_ ? -magnitude : magnitude;
}

}  // namespace halyard
