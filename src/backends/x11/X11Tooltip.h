// The face's tooltip on an X server, the way toolkits do it: after the pointer
// has rested on the face for a moment, a small override-redirect window below
// it shows the lines the provider gives; it goes when the pointer leaves the
// face or a key is pressed. Drawn with the software rasterizer and FreeType.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/canvas/Picture.h"
#include "platform/canvas/TextEngine.h"
#include "platform/window/ClockWindowPlatform.h"

typedef struct _XDisplay Display;
typedef union _XEvent XEvent;

namespace halyard {

class WindowImage;

class X11Tooltip {
 public:
  // For the face of `owner` (an Xlib Window), whose visual and colormap it shares.
  X11Tooltip(Display* display, int screen, unsigned long owner, std::int32_t dpi, TooltipLinesProvider provider);
  ~X11Tooltip();
  X11Tooltip(const X11Tooltip&) = delete;
  X11Tooltip& operator=(const X11Tooltip&) = delete;

  // What the owner does with its rest timer after an event.
  enum class RestTimer { Keep, Restart, Stop };

  // A pointer or key event on the owner's window, whose face covers `face`
  // (window coordinates).
  RestTimer OnEvent(const XEvent& event, const PixelRect& face);
  // The pointer has rested: show the lines below it.
  void Show();
  void Hide();
  // While it shows, asks for the lines again and shows them where they
  // changed: the clock calls this at each repaint, so the tooltip's times and
  // countdown stay current.
  void Refresh();

  bool Shown() const { return window_ != 0; }
  unsigned long XWindow() const { return window_; }  // an Xlib Window, 0 when hidden

  // The tooltip's picture for `lines`, as it is put on screen.
  static Picture Draw(const std::vector<std::string>& lines, TextEngine& text);

 private:
  // Names the window with its lines, for compositors and accessibility tools.
  void NameWindow(const std::vector<std::string>& lines);

  Display* display_;
  int screen_;
  unsigned long owner_;  // Window
  std::int32_t dpi_;
  TooltipLinesProvider provider_;
  std::unique_ptr<TextEngine> text_;
  PixelPoint pointer_{};  // root coordinates of the last motion over the face
  bool overFace_ = false;
  unsigned long window_ = 0;  // Window
  std::unique_ptr<WindowImage> image_;
  std::vector<std::string> lines_;  // as shown
  PixelRect shownAt_{};             // the window's place on the screen
};

}  // namespace halyard
