#include "options/ColorValue.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string_view>

namespace halyard {

namespace {

// The result is the low 32 bits of a 64-bit integer read as signed; the
// unsigned-to-signed conversion is modular since C++20, so this is exact.
std::int32_t Low32(std::uint64_t value) { return static_cast<std::int32_t>(static_cast<std::uint32_t>(value)); }

bool IsDecimalDigit(char c) { return c >= '0' && c <= '9'; }

int DigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return 99;  // never below a radix
}

std::int32_t RadixValue(std::string_view text) {
  // text starts just after the "&".
  std::size_t pos = 0;
  unsigned radix = 8;
  if (!text.empty()) {
    switch (text[0]) {
      case 'H': case 'h': radix = 16; ++pos; break;
      case 'B': case 'b': radix = 2; ++pos; break;
      case 'O': case 'o': case 'Q': case 'q': radix = 8; ++pos; break;
      default: break;  // octal, and this character is the first digit
    }
  }

  const std::size_t firstDigit = pos;
  std::uint64_t value = 0;
  bool overflow = false;
  constexpr std::uint64_t kMax = std::numeric_limits<std::uint64_t>::max();
  while (pos < text.size()) {
    const int digit = DigitValue(text[pos]);
    if (digit >= static_cast<int>(radix)) break;
    if (!overflow) {
      if (value > (kMax - static_cast<unsigned>(digit)) / radix) {
        overflow = true;
      } else {
        value = value * radix + static_cast<unsigned>(digit);
      }
    }
    ++pos;
  }
  if (pos == firstDigit || overflow) return 0;

  // Suffixes: "%", "&", "&&", "?", "??", "???".
  std::size_t ampersands = 0;
  std::size_t questionMarks = 0;
  if (pos < text.size() && text[pos] == '&') {
    while (pos < text.size() && text[pos] == '&' && ampersands < 2) { ++ampersands; ++pos; }
  } else if (pos < text.size() && text[pos] == '?') {
    while (pos < text.size() && text[pos] == '?' && questionMarks < 3) { ++questionMarks; ++pos; }
  }

  // Only the single "?" refuses the upper half; "??" and "???" keep the value.
  if (questionMarks == 1 && value >= (std::uint64_t{1} << 63)) return 0;
  const bool widened = ampersands > 0 || questionMarks > 0;
  if (!widened && value >= 0x8000 && value <= 0xFFFF && text[firstDigit] != '0') {
    return static_cast<std::int32_t>(value) - 0x10000;
  }
  return Low32(value);
}

// Decimal numbers are evaluated exactly on their digit string, so that no
// input (thousands of digits, an exponent of a million, values beyond any
// floating-point range) can reach an out-of-range real-to-integer conversion.
// A value whose rounded magnitude does not fit a signed 64-bit integer gives
// 0, just as a radix number that does not fit 64 bits does.
std::int32_t DecimalValue(std::string_view text) {
  std::size_t pos = 0;
  bool negative = false;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
    negative = text[pos] == '-';
    ++pos;
  }
  const std::size_t intStart = pos;
  while (pos < text.size() && IsDecimalDigit(text[pos])) ++pos;
  const std::string_view intDigits = text.substr(intStart, pos - intStart);
  std::string_view fracDigits;
  if (pos < text.size() && text[pos] == '.') {
    const std::size_t fracStart = ++pos;
    while (pos < text.size() && IsDecimalDigit(text[pos])) ++pos;
    fracDigits = text.substr(fracStart, pos - fracStart);
  }
  if (intDigits.empty() && fracDigits.empty()) return 0;

  // The exponent saturates far beyond anything that can still give a value
  // in range, which keeps all the arithmetic below within 64 bits.
  constexpr std::int64_t kExponentCap = std::int64_t{1} << 40;
  std::int64_t exponent = 0;
  if (pos < text.size() && (text[pos] == 'E' || text[pos] == 'e' || text[pos] == 'D' || text[pos] == 'd')) {
    std::size_t p = pos + 1;
    bool negativeExponent = false;
    if (p < text.size() && (text[p] == '+' || text[p] == '-')) {
      negativeExponent = text[p] == '-';
      ++p;
    }
    if (p < text.size() && IsDecimalDigit(text[p])) {
      while (p < text.size() && IsDecimalDigit(text[p])) {
        if (exponent < kExponentCap) exponent = exponent * 10 + (text[p] - '0');
        ++p;
      }
      if (negativeExponent) exponent = -exponent;
    }
  }

  // The number is digits x 10^scale, with digits = intDigits followed by
  // fracDigits; leading and trailing zeros carry no information.
  auto digitAt = [&](std::size_t i) { return i < intDigits.size() ? intDigits[i] : fracDigits[i - intDigits.size()]; };
  std::size_t first = 0;
  std::size_t last = intDigits.size() + fracDigits.size();
  while (first < last && digitAt(first) == '0') ++first;
  if (first == last) return 0;
  std::int64_t scale = exponent - static_cast<std::int64_t>(fracDigits.size());
  while (digitAt(last - 1) == '0') {
    --last;
    ++scale;
  }
  const std::int64_t count = static_cast<std::int64_t>(last - first);

  // Digits before the decimal point of the value; 20 or more means at least
  // 10^19, beyond the signed 64-bit range.
  const std::int64_t integerDigits = count + scale;
  if (integerDigits > 19) return 0;

  std::uint64_t magnitude = 0;
  const std::int64_t takenDigits = integerDigits <= 0 ? 0 : (integerDigits < count ? integerDigits : count);
  for (std::int64_t i = 0; i < takenDigits; ++i) {
    magnitude = magnitude * 10 + static_cast<unsigned>(digitAt(first + static_cast<std::size_t>(i)) - '0');
  }
  for (std::int64_t i = count; i < integerDigits; ++i) magnitude *= 10;

  // Round half to even on what follows the point. Trailing zeros are gone,
  // so any digit after a leading 5 makes the fraction more than a half.
  if (integerDigits < count) {
    const char firstFraction = integerDigits < 0 ? '0' : digitAt(first + static_cast<std::size_t>(integerDigits));
    const bool moreFollow = integerDigits < 0 || integerDigits + 1 < count;
    bool up = false;
    if (firstFraction > '5') up = true;
    else if (firstFraction == '5') up = moreFollow || (magnitude & 1) != 0;
    if (up) ++magnitude;
  }

  constexpr std::uint64_t kLimit = std::uint64_t{1} << 63;
  if (negative ? magnitude > kLimit : magnitude >= kLimit) return 0;
  return Low32(negative ? std::uint64_t{0} - magnitude : magnitude);
}

}  // namespace

namespace {

// The last few short texts read and their values: the face reads the same
// colour options at every tick, and a decimal text is costly to evaluate.
class RecentColors {
 public:
  const std::int32_t* Find(std::string_view text) const {
    for (const Entry& e : entries_) {
      if (e.length == text.size() && e.length > 0 && text.compare(0, text.size(), e.text.data(), e.length) == 0) {
        return &e.value;
      }
    }
    return nullptr;
  }
  void Add(std::string_view text, std::int32_t value) {
    if (text.empty() || text.size() > kLongest) return;
    Entry& e = entries_[next_];
    next_ = (next_ + 1) % entries_.size();
    text.copy(e.text.data(), text.size());
    e.length = text.size();
    e.value = value;
  }

 private:
  static constexpr std::size_t kLongest = 24;
  struct Entry {
    std::array<char, kLongest> text{};
    std::size_t length = 0;
    std::int32_t value = 0;
  };
  std::array<Entry, 8> entries_{};
  std::size_t next_ = 0;
};

std::int32_t Evaluate(std::string_view text) {
  std::size_t pos = 0;
  while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t' || text[pos] == '\r' || text[pos] == '\n')) ++pos;
  text.remove_prefix(pos);
  if (text.empty()) return 0;
  if (text[0] == '&') return RadixValue(text.substr(1));
  return DecimalValue(text);
}

}  // namespace

std::int32_t ColorValue(std::string_view text) {
  thread_local RecentColors recent;
  if (const std::int32_t* known = recent.Find(text)) return *known;
  const std::int32_t value = Evaluate(text);
  recent.Add(text, value);
  return value;
}

}  // namespace halyard
