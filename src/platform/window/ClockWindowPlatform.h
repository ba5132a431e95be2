// The window the clock runs in, as the start-up routine sees it on any platform.
// Win32 builds it from a dialog template; X11 from a top-level window; both
// place the controls in dialog units and deliver events to the one handler.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/canvas/Canvas.h"
#include "platform/window/WindowHost.h"
#include "platform/canvas/FontSpec.h"
#include "platform/window/DialogUnits.h"
#include "platform/window/WindowPlacement.h"

namespace halyard {

// The handler's signature: window, message number, first and second parameter.
using ClockEventHandler = std::int32_t (*)(WindowHandle, std::uint32_t, std::uint32_t, std::int32_t);
// Draws the program icon into a square target of the size wanted.
using IconRenderer = Picture (*)(std::unique_ptr<Rasterizer> target);
// The lines of the face's tooltip as they are at the moment it is asked for.
using TooltipLinesProvider = std::vector<std::string> (*)();

class ClockWindowPlatform {
 public:
  virtual ~ClockWindowPlatform() = default;

  // Where and how large the next window opens; a platform without a screen ignores it.
  virtual void SetPlacement(const WindowPlacement& /*placement*/) {}

  // Creates the top-level window, hidden, sized in dialog units, with its caption.
  virtual WindowHandle CreateHiddenWindow(std::string_view caption, std::int32_t widthUnits,
                                          std::int32_t heightUnits) = 0;
  // A graphic control with its own canvas, and a centred one-line text control.
  virtual bool AddFaceControl(std::int32_t id, DialogRect rect) = 0;
  virtual bool AddLabelControl(std::int32_t id, DialogRect rect) = 0;
  // The program icon, drawn by `renderIcon` at each size the platform wants.
  virtual void SetIcons(IconRenderer renderIcon) = 0;
  // The label's font; the platform keeps the realised font until ReleaseFonts.
  virtual void SetLabelFont(std::int32_t id, const FontSpec& font) = 0;
  // The window's own text and background colours (same rules as a label's).
  virtual void SetWindowColors(std::int32_t textColor, std::int32_t backgroundColor) = 0;
  // Client size of a control in pixels, and the window's unit conversion.
  virtual TextExtent ControlClientSize(std::int32_t id) = 0;
  virtual DialogUnits Units() = 0;
  // Brings the window forward and makes it visible.
  virtual void BringToForeground() = 0;
  virtual void Show() = 0;
  // Delivers events to `handler` until the window has been destroyed.
  virtual void RunEventLoop(ClockEventHandler handler) = 0;
  // A tooltip over the face whose lines come from `provider` each time it
  // opens; it changes nothing on screen until the pointer rests on the face.
  // A window without a pointer ignores it.
  virtual void SetFaceTooltip(TooltipLinesProvider /*provider*/) {}
  // Frees the fonts the platform realised, if nothing uses them any more.
  virtual void ReleaseFonts() = 0;
};

// The platform's window, made by the platform layer.
std::unique_ptr<ClockWindowPlatform> MakeClockWindowPlatform();

}  // namespace halyard
