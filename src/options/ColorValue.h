// Turns option text into a number, the way colour options have always been read.
#pragma once

#include <cstdint>
#include <string_view>

namespace halyard {

// Special colour values understood by the drawing and label operations:
// the platform's own colour, no colour (transparent), and "leave unchanged".
inline constexpr std::int32_t ColorDefault = -1;
inline constexpr std::int32_t ColorNone = -2;
inline constexpr std::int32_t ColorKeep = -3;

// "&HBBGGRR" gives 0x00BBGGRR. Any text gives a value; text without a number
// gives 0. After leading spaces, tabs, CRs and LFs:
// - "&H", "&B", "&O"/"&Q" (either case) or a bare "&" (octal) start a radix
//   number; it needs one digit at least, more than 64 bits give 0. A value of
//   0x8000 to 0xFFFF whose first digit is not 0 is a negative 16-bit number
//   unless a suffix "&", "&&", "?", "??" or "???" follows ("%" keeps the rule);
//   with "?" a value of 2^63 or more gives 0.
// - Anything else is a decimal number: sign, digits, point, exponent E/e/D/d.
//   It is rounded exactly, half to even; a result outside the signed 64-bit
//   range gives 0, like a radix overflow.
// The result is the low 32 bits of the integer, read as signed.
std::int32_t ColorValue(std::string_view text);

}  // namespace halyard
