#include "backends/x11/X11ScreenLayout.h"

#include <time.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#ifdef HALYARD_HAVE_XRANDR
#include <X11/extensions/Xrandr.h>
#endif

namespace halyard {

namespace {

// A CARDINAL[] property of up to `count` items from `offset`, or nothing.
std::vector<long> Cardinals(Display* display, Window window, const char* name, long offset, long count) {
  const Atom property = XInternAtom(display, name, True);
  if (property == None) return {};
  Atom type = None;
  int format = 0;
  unsigned long items = 0, after = 0;
  unsigned char* data = nullptr;
  std::vector<long> values;
  if (XGetWindowProperty(display, window, property, offset, count, False, XA_CARDINAL, &type, &format, &items,
                         &after, &data) == Success && data != nullptr) {
    if (format == 32 && type == XA_CARDINAL) {
      const long* v = reinterpret_cast<const long*>(data);
      values.assign(v, v + items);
    }
    XFree(data);
  }
  return values;
}

bool Contains(const PixelRect& r, PixelPoint p) { return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom; }

bool Supported(Display* display, Window root, Atom wanted) {
  const Atom supported = XInternAtom(display, "_NET_SUPPORTED", True);
  if (supported == None || wanted == None) return false;
  Atom type = None;
  int format = 0;
  unsigned long items = 0, after = 0;
  unsigned char* data = nullptr;
  bool found = false;
  if (XGetWindowProperty(display, root, supported, 0, 4096, False, XA_ATOM, &type, &format, &items, &after, &data) ==
          Success && data != nullptr) {
    const Atom* atoms = reinterpret_cast<const Atom*>(data);
    for (unsigned long i = 0; i < items && format == 32; ++i) found = found || atoms[i] == wanted;
    XFree(data);
  }
  return found;
}

}  // namespace

X11ScreenLayout::X11ScreenLayout(Display* display, int screen) {
  const Window root = RootWindow(display, screen);
#ifdef HALYARD_HAVE_XRANDR
  int eventBase = 0, errorBase = 0, major = 0, minor = 0;
  if (XRRQueryExtension(display, &eventBase, &errorBase) && XRRQueryVersion(display, &major, &minor) &&
      (major > 1 || (major == 1 && minor >= 5))) {
    int count = 0;
    if (XRRMonitorInfo* monitors = XRRGetMonitors(display, root, True, &count)) {
      for (int i = 0; i < count; ++i) {
        const XRRMonitorInfo& m = monitors[i];
        const PixelRect rect{m.x, m.y, m.x + m.width, m.y + m.height};
        if (rect.Empty()) continue;
        if (m.primary) {
          monitors_.insert(monitors_.begin(), rect);
        } else {
          monitors_.push_back(rect);
        }
      }
      XRRFreeMonitors(monitors);
    }
  }
#endif
  if (monitors_.empty()) monitors_.push_back({0, 0, DisplayWidth(display, screen), DisplayHeight(display, screen)});

  const std::vector<long> desktop = Cardinals(display, root, "_NET_CURRENT_DESKTOP", 0, 1);
  const long current = desktop.size() == 1 && desktop[0] >= 0 && desktop[0] < 1024 ? desktop[0] : 0;
  const std::vector<long> area = Cardinals(display, root, "_NET_WORKAREA", current * 4, 4);
  if (area.size() == 4 && area[2] > 0 && area[3] > 0) {
    workArea_ = {static_cast<std::int32_t>(area[0]), static_cast<std::int32_t>(area[1]),
                 static_cast<std::int32_t>(area[0] + area[2]), static_cast<std::int32_t>(area[1] + area[3])};
  }
}

PixelRect X11ScreenLayout::MonitorAt(PixelPoint point) const {
  for (const PixelRect& monitor : monitors_) {
    if (Contains(monitor, point)) return monitor;
  }
  return monitors_.front();
}

PixelRect X11ScreenLayout::WorkAreaAt(PixelPoint point) const {
  const PixelRect monitor = MonitorAt(point);
  if (workArea_.Empty()) return monitor;
  // _NET_WORKAREA spans every monitor; the part on this one is what counts.
  const PixelRect area = Intersect(monitor, workArea_);
  return area.Empty() ? monitor : area;
}

FrameExtents X11ScreenLayout::Frame(Display* display, int screen, unsigned long window, bool ask) {
  const Window root = RootWindow(display, screen);
  const Atom request = XInternAtom(display, "_NET_REQUEST_FRAME_EXTENTS", True);
  const auto read = [&]() -> std::optional<FrameExtents> {
    const std::vector<long> v = Cardinals(display, window, "_NET_FRAME_EXTENTS", 0, 4);
    if (v.size() != 4) return std::nullopt;
    for (const long side : v) {
      if (side < 0 || side > 1000) return std::nullopt;
    }
    return FrameExtents{static_cast<std::int32_t>(v[0]), static_cast<std::int32_t>(v[1]),
                        static_cast<std::int32_t>(v[2]), static_cast<std::int32_t>(v[3])};
  };
  if (const auto known = read()) return *known;
  if (!ask || !Supported(display, root, request)) return {};
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = request;
  event.xclient.format = 32;
  XSendEvent(display, root, False, SubstructureRedirectMask | SubstructureNotifyMask, &event);
  // The answer is a property on the window; a window manager that offers the
  // request sets it within milliseconds. A quarter of a second at most.
  for (int i = 0; i < 25; ++i) {
    XSync(display, False);
    if (const auto answered = read()) return *answered;
    const timespec pause{0, 10'000'000};
    nanosleep(&pause, nullptr);
  }
  return {};
}

}  // namespace halyard
