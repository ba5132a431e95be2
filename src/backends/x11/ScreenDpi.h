// The resolution the clock lays itself out for: the desktop's Xft.dpi
// setting, which is what toolkits scale by, rather than the screen's
// physical size, which X servers often report wrongly.
#pragma once

#include <X11/Xlib.h>

#include <cstdint>
#include <string>

#include "platform/window/DialogUnits.h"

namespace halyard {

// The Xft.dpi value of a resource database text (the RESOURCE_MANAGER
// property's format), rounded to the nearest whole dot per inch; kDefaultDpi
// when the text is null, has no such entry, or gives no number within
// kMinimumDpi..kMaximumDpi. A value that is there but unusable is described
// in `complaint` (when given), for the user.
std::int32_t DpiFromResources(const char* resources, std::string* complaint = nullptr);

// The resolution for windows on `display`'s screens; an unusable Xft.dpi is
// named in one line on stderr.
std::int32_t ScreenDpi(Display* display);

}  // namespace halyard
