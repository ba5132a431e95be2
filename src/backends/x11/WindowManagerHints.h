// Property contents that tell a window manager how to treat the clock.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/canvas/Picture.h"

namespace halyard {

// The _MOTIF_WM_HINTS property: five 32-bit items, which Xlib passes as longs.
struct MotifWmHints {
  static constexpr unsigned long kFunctionsFlag = 1;
  static constexpr unsigned long kDecorationsFlag = 2;
  static constexpr unsigned long kFunctionResize = 2;
  static constexpr unsigned long kFunctionMove = 4;
  static constexpr unsigned long kFunctionMinimise = 8;
  static constexpr unsigned long kFunctionMaximise = 16;
  static constexpr unsigned long kFunctionClose = 32;
  static constexpr unsigned long kDecorBorder = 2;
  static constexpr unsigned long kDecorResizeHandle = 4;
  static constexpr unsigned long kDecorTitle = 8;
  static constexpr unsigned long kDecorMenu = 16;
  static constexpr unsigned long kDecorMinimise = 32;
  static constexpr unsigned long kDecorMaximise = 64;

  unsigned long flags = 0;
  unsigned long functions = 0;
  unsigned long decorations = 0;
  long inputMode = 0;
  unsigned long status = 0;

  // A caption with a system menu and a minimise box, no maximise box and no
  // sizing border: the window can be moved, minimised and closed only.
  static MotifWmHints FixedSizeWindow();
};

// _NET_WM_ICON: for each picture its width, its height, then its pixels as
// ARGB, one per item. The pictures carry no alpha, so every pixel is opaque.
std::vector<unsigned long> NetWmIconData(std::span<const Picture> icons);

// Text in the platform's character set (decoded as the text engine decodes
// it) as UTF-8, for the EWMH properties.
std::string LocaleToUtf8(std::string_view text);

}  // namespace halyard
