#include "options/ColorValue.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace halyard {
namespace {

struct Case {
  std::string text;
  std::int32_t want;
};

// Each text is read twice, the second time in reverse order, so that values
// remembered from recent calls are checked as well as fresh ones.
void ExpectAll(const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    EXPECT_EQ(ColorValue(c.text), c.want) << "text: \"" << c.text << "\"";
  }
  for (auto c = cases.rbegin(); c != cases.rend(); ++c) {
    EXPECT_EQ(ColorValue(c->text), c->want) << "again: \"" << c->text << "\"";
  }
}

TEST(ColorValueTest, DocumentedTable) {
  ExpectAll({
      {"&H000000", 0},
      {"&HFFFFFF", 0xFFFFFF},
      {"&HFF901E", 0xFF901E},
      {"&H00FF00", 0x00FF00},
      {"&hff901e", 0xFF901E},
      {"&HFF", 255},
      {"&HFFFF", -1},
      {"&H8000", -32768},
      {"&H0FFFF", 65535},
      {"&HFFFF&", 65535},
      {"&HFFFFFFFF", -1},
      {"&H", 0},
      {"", 0},
      {"FF901E", 0},
      {"16748574", 16748574},
      {"  &HFF901E  xyz", 16748574},
  });
}

TEST(ColorValueTest, LeadingBlanksAreSpaceTabCrLfOnly) {
  ExpectAll({
      {" \t\r\n&HFF", 255},
      {"\r\n12", 12},
      {" \t ", 0},
      {"\v12", 0},   // vertical tab is not a blank here
      {"\xA0" "12", 0},
  });
}

TEST(ColorValueTest, RadixPrefixesAndDigits) {
  ExpectAll({
      {"&B101", 5},
      {"&b101", 5},
      {"&O17", 15},
      {"&o17", 15},
      {"&Q17", 15},
      {"&q17", 15},
      {"&17", 15},      // bare "&": octal, the character is the first digit
      {"&8", 0},        // not an octal digit, so no digit at all
      {"&", 0},
      {"&&H1", 0},
      {"&B102", 2},     // digits end at the first one not below the radix
      {"&O78", 7},
      {"&H1G", 1},
      {"&HxyZ", 0},
      {"&H7fFf", 0x7FFF},
      {"&H 1", 0},
  });
}

TEST(ColorValueTest, SixteenBitSignRuleAndSuffixes) {
  ExpectAll({
      {"&H8000", -32768},
      {"&HFFFF", -1},
      {"&H7FFF", 32767},
      {"&H10000", 65536},
      {"&H08000", 32768},      // first digit 0
      {"&B1111111111111111", -1},
      {"&O177777", -1},
      {"&177777", -1},
      {"&0177777", 65535},
      {"&H8000%", -32768},     // "%" keeps the 16-bit reading
      {"&H8000&", 32768},
      {"&H8000&&", 32768},
      {"&H8000&&&", 32768},
      {"&H8000?", 32768},
      {"&H8000??", 32768},
      {"&H8000???", 32768},
      {"&H8000 &", -32768},    // a suffix must follow the digits directly
      {"&HFFFF&xyz", 65535},
  });
}

TEST(ColorValueTest, SixtyFourBitLimits) {
  ExpectAll({
      {"&HFFFFFFFFFFFFFFFF", -1},            // fits 64 bits: low 32 bits
      {"&H123456789ABCDEF0", static_cast<std::int32_t>(0x9ABCDEF0u)},
      {"&H10000000000000000", 0},           // needs 65 bits
      {"&H10000000000000001", 0},
      {"&H00000000000000000000FF", 255},    // leading zeros do not overflow
      {"&B" + std::string(64, '1'), -1},
      {"&B1" + std::string(64, '0'), 0},
      {"&H8000000000000001", 1},
      {"&H8000000000000001?", 0},           // "?" refuses 2^63 and above
      {"&H7FFFFFFFFFFFFFFF?", -1},
      {"&H8000000000000001??", 1},
  });
}

TEST(ColorValueTest, DecimalForms) {
  ExpectAll({
      {"+7", 7},
      {"-1", -1},
      {"12abc", 12},
      {"1.", 1},
      {".6", 1},
      {"1E3", 1000},
      {"1e3", 1000},
      {"1D3", 1000},
      {"1d+3", 1000},
      {"-1.5E1", -15},
      {"123e-2", 1},
      {"1E", 1},        // an exponent letter without digits ends the number
      {"1E+", 1},
      {"1.2.3", 1},
      {"-", 0},
      {".", 0},
      {"+.", 0},
      {"E5", 0},
      {"- 5", 0},
      {"4294967295", -1},
      {"4294967296", 0},
      {"2147483648", -2147483648},
      {"1e18", -1486618624},              // 10^18 modulo 2^32
      {"1000000000000000000000e-3", -1486618624},
  });
}

TEST(ColorValueTest, RoundsHalfToEvenExactly) {
  ExpectAll({
      {"0.5", 0},
      {"1.5", 2},
      {"2.5", 2},
      {"3.5", 4},
      {"-2.5", -2},
      {"-3.5", -4},
      {".5", 0},
      {"25e-1", 2},
      {"35D-1", 4},
      {"2.4999999999", 2},
      {"2.5000000001", 3},
      {"2.50000000000000000000000000001", 3},  // beyond any floating-point precision
      {"0.49999999999999999999999999999", 0},
      {"-0.4", 0},
      {"9223372036854775806.5", -2},           // ties to even at the top of the range
  });
}

TEST(ColorValueTest, DecimalBeyondSixtyFourBitsGivesZero) {
  ExpectAll({
      {"9223372036854775807", -1},      // 2^63 - 1 still counts
      {"-9223372036854775807", 1},
      {"9223372036854775809", 0},       // 2^63 + 1 would wrap to 1
      {"-9223372036854775809", 0},      // would wrap to -1
      {"18446744073709551617", 0},
      {"9223372036854775807.5", 0},     // rounds up out of range
  });
}

TEST(ColorValueTest, ExtremeTextsStayDefined) {
  const std::string thousandsOfDigits = "1" + std::string(10000, '0');
  ExpectAll({
      {thousandsOfDigits, 0},
      {thousandsOfDigits + "e-10000", 1},
      {"0." + std::string(10000, '0') + "1", 0},
      {std::string(10000, '0') + "7", 7},
      {std::string(10000, '9'), 0},
      {"-" + std::string(10000, '9') + "e-9999", -10},
      {"1e999999", 0},
      {"1e-999999", 0},
      {"0e999999", 0},
      {"1e" + std::string(5000, '9'), 0},
      {"1e-" + std::string(5000, '9'), 0},
      {"5e" + std::string(30, '0') + "1", 50},
      {"&H" + std::string(10000, 'F'), 0},
      {"inf", 0},
      {"-Infinity", 0},
      {"NaN", 0},
      {std::string(1, '\0') + "5", 0},
  });
}

}  // namespace
}  // namespace halyard
