// What the named settings ask of the window's place and size, handed to the
// platform before the window is made. All at their defaults: the window opens
// as it always has.
#pragma once

#include <string>

namespace halyard {

struct WindowPlacement {
  std::string geometry;  // X11 geometry text, checked by the platform; empty: none
  double scale = 1.0;
  bool fitScreen = true;
  bool rememberPosition = false;
};

}  // namespace halyard
