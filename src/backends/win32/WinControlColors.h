// The text and background colours a window or a static control is painted in,
// answered to its WM_CTLCOLOR* query, with the one brush that goes with them.
#pragma once

#include <windows.h>

#include <cstdint>

#include "options/ColorValue.h"

namespace halyard {

class WinControlColors {
 public:
  WinControlColors() = default;
  ~WinControlColors();
  WinControlColors(const WinControlColors&) = delete;
  WinControlColors& operator=(const WinControlColors&) = delete;

  // Values >= 0 use their low 24 bits; a negative text colour is the system
  // window-text colour; a background of -2 is transparent; any other negative
  // background is the 3-D face colour. Returns true when the look changed.
  bool Set(std::int32_t textColor, std::int32_t backgroundColor);

  // Prepares `dc` and gives the background brush, or null before any Set
  // (the system's own colours then apply).
  HBRUSH Apply(HDC dc) const;
  // Back to the system's colours, freeing the brush.
  void Clear();

  bool IsSet() const { return set_; }
  bool Transparent() const { return set_ && background_ == ColorNone; }
  // The solid brush this object owns, if any.
  HBRUSH OwnBrush() const { return brush_; }

 private:

  bool set_ = false;
  std::int32_t text_ = -1;
  std::int32_t background_ = -1;
  HBRUSH brush_ = nullptr;  // solid brush of background_ when background_ >= 0
};

}  // namespace halyard
