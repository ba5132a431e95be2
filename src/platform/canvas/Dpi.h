// The resolutions the clock lays itself out for, whatever asks for one: the
// pictures, the fonts and the dialog units all follow from one of them.
#pragma once

#include <cstdint>

namespace halyard {

// Where a system names no resolution (and a picture's own default).
inline constexpr std::int32_t kDefaultDpi = 96;
inline constexpr std::int32_t kMinimumDpi = 48;
inline constexpr std::int32_t kMaximumDpi = 960;

}  // namespace halyard
