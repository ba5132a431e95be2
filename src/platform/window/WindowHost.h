// What the portable clock needs from its window, whatever the platform.
// Backends (Win32, X11, off-screen) implement it; the face and the handler
// only ever see a WindowHandle.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/canvas/CanvasOwner.h"

namespace halyard {

// Ways a window asks for the user's attention, none of which takes the focus.
enum class Attention {
  Bell,       // the system's alert sound
  Flash,      // marked as wanting attention until StopFlash or until the user activates it
  StopFlash,
};

class WindowHost : public CanvasOwner {
 public:
  virtual ~WindowHost() = default;

  // The text control `controlId`: replace its text (bytes in the platform's code
  // page) and set its colours. Colour rules: values >= 0 use their low 24 bits;
  // a negative text colour is the system window-text colour; a background of -2
  // is transparent; any other negative background is the 3-D face colour.
  // Both return false, doing nothing, when there is no such control.
  virtual bool SetControlText(std::int32_t controlId, std::string_view text) = 0;
  virtual bool SetControlColors(std::int32_t controlId, std::int32_t textColor,
                                std::int32_t backgroundColor) = 0;

  // Window timer: returns a non-zero handle on success, 0 on failure.
  virtual std::uint32_t StartTimer(std::uint32_t timerId, std::uint32_t periodMs) = 0;
  virtual void StopTimer(std::uint32_t handle) = 0;

  // Ends the window: the close event, then destruction (which delivers the
  // destroy event to the handler).
  virtual void EndWindow() = 0;

  // Asks for the user's attention; a window that cannot does nothing.
  virtual void RequestAttention(Attention /*kind*/) {}
};

using WindowHandle = WindowHost*;

}  // namespace halyard
