// Turns option text into a number, the way colour options have always been read.
#pragma once

#include <cstdint>
#include <string_view>

namespace halyard {

// Special colour values understood by the drawing and label operations.
inline constexpr std::int32_t ColorDefault = -1;
inline constexpr std::int32_t ColorNone = -2;

// "&HBBGGRR" gives 0x00BBGGRR; radix forms &H &B &O &Q and bare "&", decimal
// numbers with E or D exponents, 16-bit sign rule and suffixes as documented in
// the README. Any text gives a value; text without a number gives 0.
std::int32_t ColorValue(std::string_view text);

}  // namespace halyard
