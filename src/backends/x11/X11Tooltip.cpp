#include "backends/x11/X11Tooltip.h"

#include <unistd.h>

#include <algorithm>

#include "backends/freetype/FreeTypeTextEngine.h"
#include "backends/soft/SoftRasterizer.h"
#include "backends/x11/WindowImage.h"
#include "backends/x11/WindowManagerHints.h"

// Last: Xlib's macros (Status, None, Bool) would clash with the portable headers.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace halyard {
namespace {

// The colours and font of a classic tooltip: dark text on pale yellow.
constexpr std::uint32_t kPaper = 0xE1FFFF;   // COLORREF
constexpr std::uint32_t kInk = 0x000000;
constexpr std::uint32_t kEdge = 0x646464;
constexpr float kPoints = 9;
// Below the pointer, clear of a usual cursor's height.
constexpr std::int32_t kBelowPointer = 20;

FontSpec TooltipFont() {
  FontSpec font;
  font.face = "Sans";
  font.points = kPoints;
  return font;
}

bool Inside(const PixelRect& r, int x, int y) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; }

}  // namespace

X11Tooltip::X11Tooltip(Display* display, int screen, unsigned long owner, std::int32_t dpi,
                       TooltipLinesProvider provider)
    : display_(display), screen_(screen), owner_(owner), dpi_(dpi), provider_(provider) {}

X11Tooltip::~X11Tooltip() { Hide(); }

Picture X11Tooltip::Draw(const std::vector<std::string>& lines, TextEngine& text) {
  const std::int32_t lineHeight = text.Metrics().LineHeight();
  const std::int32_t padding = std::max(3, lineHeight / 4);
  std::int32_t widest = 0;
  for (const std::string& line : lines) widest = std::max(widest, text.Advance(line));
  const std::int32_t width = widest + 2 * padding + 2;
  const std::int32_t height = static_cast<std::int32_t>(lines.size()) * lineHeight + 2 * padding;
  SoftRasterizer raster(width, height, &text);
  raster.FillAll(kPaper);
  raster.RoundBox({0, 0, width, height}, 0, 0, 1, kEdge, kPaper);
  PixelPoint origin{padding + 1, padding};
  for (const std::string& line : lines) {
    raster.DrawText(origin, line, kInk, std::nullopt, {1, 1, width - 1, height - 1});
    origin.y += lineHeight;
  }
  return raster.Pixels();
}

X11Tooltip::RestTimer X11Tooltip::OnEvent(const XEvent& event, const PixelRect& face) {
  switch (event.type) {
    case MotionNotify:
    case EnterNotify: {
      const int x = event.type == MotionNotify ? event.xmotion.x : event.xcrossing.x;
      const int y = event.type == MotionNotify ? event.xmotion.y : event.xcrossing.y;
      const bool over = Inside(face, x, y);
      if (!over) {
        overFace_ = false;
        Hide();
        return RestTimer::Stop;
      }
      overFace_ = true;
      pointer_ = event.type == MotionNotify ? PixelPoint{event.xmotion.x_root, event.xmotion.y_root}
                                            : PixelPoint{event.xcrossing.x_root, event.xcrossing.y_root};
      // While it shows it stays; before, every move starts the rest again.
      return Shown() ? RestTimer::Keep : RestTimer::Restart;
    }
    case LeaveNotify:
      // Leaving into a child is not leaving, but the clock's window has none.
      if (event.xcrossing.mode != NotifyNormal) return RestTimer::Keep;
      overFace_ = false;
      Hide();
      return RestTimer::Stop;
    case KeyPress:
    case ButtonPress:
      Hide();
      return RestTimer::Stop;
    default:
      return RestTimer::Keep;
  }
}

void X11Tooltip::Show() {
  if (!overFace_ || provider_ == nullptr) return;
  Hide();
  const std::vector<std::string> lines = provider_();
  if (lines.empty()) return;
  if (!text_) text_ = std::make_unique<FreeTypeTextEngine>();
  if (!text_->SetFont(TooltipFont(), dpi_)) return;
  const Picture picture = Draw(lines, *text_);

  // Below the pointer, kept on the screen; above it when there is no room below.
  const int screenWidth = DisplayWidth(display_, screen_);
  const int screenHeight = DisplayHeight(display_, screen_);
  int x = std::clamp(pointer_.x, 0, std::max(0, screenWidth - picture.Width()));
  int y = pointer_.y + kBelowPointer;
  if (y + picture.Height() > screenHeight) y = std::max(0, pointer_.y - 4 - picture.Height());

  // The clock's own visual: on a palette screen it is not the default one.
  XWindowAttributes owner{};
  if (XGetWindowAttributes(display_, owner_, &owner) == 0) return;
  Visual* visual = owner.visual;
  const int depth = owner.depth;
  XSetWindowAttributes attributes{};
  attributes.override_redirect = True;
  attributes.save_under = True;
  attributes.background_pixmap = None;
  attributes.border_pixel = 0;
  attributes.colormap = owner.colormap;
  window_ = XCreateWindow(display_, RootWindow(display_, screen_), x, y, static_cast<unsigned>(picture.Width()),
                          static_cast<unsigned>(picture.Height()), 0, depth, InputOutput, visual,
                          CWOverrideRedirect | CWSaveUnder | CWBackPixmap | CWBorderPixel | CWColormap, &attributes);
  if (window_ == 0) return;

  // What a compositor and an accessibility tool want to know of it: a tooltip, its text, whose.
  Atom type = XInternAtom(display_, "_NET_WM_WINDOW_TYPE", False);
  Atom tooltip = XInternAtom(display_, "_NET_WM_WINDOW_TYPE_TOOLTIP", False);
  XChangeProperty(display_, window_, type, XA_ATOM, 32, PropModeReplace, reinterpret_cast<unsigned char*>(&tooltip), 1);
  NameWindow(lines);
  const long pid = static_cast<long>(getpid());
  XChangeProperty(display_, window_, XInternAtom(display_, "_NET_WM_PID", False), XA_CARDINAL, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(&pid), 1);

  image_ = std::make_unique<WindowImage>(display_, window_, visual, depth, picture.Width(), picture.Height(), false);
  image_->Send(picture, picture.Bounds());
  lines_ = lines;
  shownAt_ = {x, y, x + picture.Width(), y + picture.Height()};
  XMapRaised(display_, window_);
  XFlush(display_);
}

void X11Tooltip::Refresh() {
  if (!Shown() || provider_ == nullptr || !text_) return;
  std::vector<std::string> lines = provider_();
  if (lines == lines_) return;
  if (lines.empty()) {
    Hide();
    return;
  }
  const Picture picture = Draw(lines, *text_);
  if (picture.Width() != shownAt_.right - shownAt_.left || picture.Height() != shownAt_.bottom - shownAt_.top) {
    // A line grew or shrank: the same place, kept on the screen, and a picture of the new size.
    XWindowAttributes owner{};
    if (XGetWindowAttributes(display_, owner_, &owner) == 0) return;
    const int x = std::clamp(shownAt_.left, 0, std::max(0, DisplayWidth(display_, screen_) - picture.Width()));
    image_.reset();
    XMoveResizeWindow(display_, window_, x, shownAt_.top, static_cast<unsigned>(picture.Width()),
                      static_cast<unsigned>(picture.Height()));
    image_ = std::make_unique<WindowImage>(display_, window_, owner.visual, owner.depth, picture.Width(),
                                           picture.Height(), false);
    shownAt_ = {x, shownAt_.top, x + picture.Width(), shownAt_.top + picture.Height()};
  }
  image_->Send(picture, picture.Bounds());
  NameWindow(lines);
  lines_ = std::move(lines);
  XFlush(display_);
}

void X11Tooltip::NameWindow(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += (text.empty() ? "" : "\n") + line;
  const std::string utf8 = LocaleToUtf8(text);
  XChangeProperty(display_, window_, XInternAtom(display_, "_NET_WM_NAME", False),
                  XInternAtom(display_, "UTF8_STRING", False), 8, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(utf8.data()), static_cast<int>(utf8.size()));
}

void X11Tooltip::Hide() {
  if (window_ == 0) return;
  image_.reset();
  lines_.clear();
  XDestroyWindow(display_, window_);
  window_ = 0;
  XFlush(display_);
}

}  // namespace halyard
