// What an X server and its window manager say about where a window can go:
// the monitors (XRandR), the work area free of panels (EWMH), and the frame
// the window manager puts around a window.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/canvas/Picture.h"

typedef struct _XDisplay Display;

namespace halyard {

struct FrameExtents {
  std::int32_t left = 0, right = 0, top = 0, bottom = 0;
};

class X11ScreenLayout {
 public:
  X11ScreenLayout(Display* display, int screen);

  // The screen's monitors, the primary first; the whole screen when XRandR
  // has none to tell of.
  const std::vector<PixelRect>& Monitors() const { return monitors_; }
  // The monitor under `point`, else the primary one.
  PixelRect MonitorAt(PixelPoint point) const;
  // The part of that monitor the window manager leaves to windows
  // (_NET_WORKAREA of the current desktop); the monitor without one.
  PixelRect WorkAreaAt(PixelPoint point) const;

  // The frame around `window` as _NET_FRAME_EXTENTS says. For a window not
  // yet mapped the window manager is asked first (_NET_REQUEST_FRAME_EXTENTS,
  // when it offers that) and given a moment to answer. No frame without one.
  static FrameExtents Frame(Display* display, int screen, unsigned long window, bool ask);

 private:
  std::vector<PixelRect> monitors_;
  PixelRect workArea_{};  // empty when the window manager sets none
};

}  // namespace halyard
