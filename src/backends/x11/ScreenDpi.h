// The resolution the clock lays itself out for: the desktop's Xft.dpi
// setting, which is what toolkits scale by, rather than the screen's
// physical size, which X servers often report wrongly.
#pragma once

#include <X11/Xlib.h>

#include <cstdint>

namespace halyard {

inline constexpr std::int32_t kDefaultDpi = 96;
inline constexpr std::int32_t kMinimumDpi = 24;
inline constexpr std::int32_t kMaximumDpi = 960;

// The Xft.dpi value of a resource database text (the RESOURCE_MANAGER
// property's format), rounded to whole dots per inch; kDefaultDpi when the
// text is null, has no such entry, or gives no number within the limits.
std::int32_t DpiFromResources(const char* resources);

// The resolution for windows on `display`'s screens.
std::int32_t ScreenDpi(Display* display);

}  // namespace halyard
