// The two kinds of silent period and the words the clock uses for them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace halyard {

enum class SilentPeriod { None, Telegraphy500, Telephony2182 };

// The 500 kHz sectors and status line are always pure red, whatever the options.
inline constexpr std::int32_t kTelegraphyRed = 0x0000FF;

// "SILENT 500 <unit> CW" or "SILENT 2182 <unit> PH", the unit as written;
// empty for None. Reuses `text`'s buffer, so a repaint need not allocate.
void AssignSilentText(std::string& text, SilentPeriod period, std::string_view unit);
std::string SilentText(SilentPeriod period, std::string_view unit);

}  // namespace halyard
