#include "TestDisplay.h"

#include <poll.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace halyard::testing {

bool X11TestsRequested() {
  const char* flag = std::getenv("HALYARD_X11_TESTS");
  return flag != nullptr && std::strcmp(flag, "1") == 0 && std::getenv("DISPLAY") != nullptr;
}

TestDisplay::TestDisplay() : display_(XOpenDisplay(nullptr)) {}

TestDisplay::~TestDisplay() {
  if (display_ != nullptr) XCloseDisplay(display_);
}

unsigned long TestDisplay::Intern(const char* name) const { return XInternAtom(display_, name, False); }

std::optional<TestDisplay::Property> TestDisplay::GetProperty(unsigned long window, const char* name) const {
  Atom type = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  if (XGetWindowProperty(display_, window, Intern(name), 0, 1 << 24, False, AnyPropertyType, &type, &format, &count,
                         &after, &data) != Success ||
      type == None) {
    if (data != nullptr) XFree(data);
    return std::nullopt;
  }
  Property property;
  char* typeName = XGetAtomName(display_, type);
  property.type = typeName;
  XFree(typeName);
  property.format = format;
  if (format == 8) property.bytes.assign(reinterpret_cast<char*>(data), count);
  if (format == 32) {
    const long* items = reinterpret_cast<long*>(data);
    for (unsigned long i = 0; i < count; ++i) property.items.push_back(static_cast<unsigned long>(items[i]));
  }
  XFree(data);
  return property;
}

TestDisplay::Geometry TestDisplay::WindowGeometry(unsigned long window) const {
  XWindowAttributes attributes{};
  XGetWindowAttributes(display_, window, &attributes);
  return {attributes.x, attributes.y, attributes.width, attributes.height};
}

Picture TestDisplay::Capture(unsigned long window) const {
  const Geometry size = WindowGeometry(window);
  XImage* image = XGetImage(display_, window, 0, 0, static_cast<unsigned>(size.width),
                            static_cast<unsigned>(size.height), AllPlanes, ZPixmap);
  if (image == nullptr) return {};
  Picture picture(size.width, size.height);
  auto channel = [](unsigned long pixel, unsigned long mask) -> std::uint32_t {
    if (mask == 0) return 0;
    const int shift = __builtin_ctzl(mask);
    const unsigned long max = mask >> shift;
    return static_cast<std::uint32_t>(((pixel & mask) >> shift) * 255 / max);
  };
  for (int y = 0; y < size.height; ++y) {
    for (int x = 0; x < size.width; ++x) {
      const unsigned long p = XGetPixel(image, x, y);
      picture.Set(x, y, channel(p, image->red_mask) << 16 | channel(p, image->green_mask) << 8 |
                            channel(p, image->blue_mask));
    }
  }
  XDestroyImage(image);
  return picture;
}

void TestDisplay::SendKey(unsigned long window, unsigned long keysym) const {
  // As `xdotool key --window` does it: a synthetic press and release.
  XEvent event{};
  event.xkey.type = KeyPress;
  event.xkey.display = display_;
  event.xkey.window = window;
  event.xkey.root = DefaultRootWindow(display_);
  event.xkey.same_screen = True;
  event.xkey.keycode = XKeysymToKeycode(display_, keysym);
  XSendEvent(display_, window, True, KeyPressMask, &event);
  event.xkey.type = KeyRelease;
  XSendEvent(display_, window, True, KeyReleaseMask, &event);
  XFlush(display_);
}

void TestDisplay::SendDeleteWindow(unsigned long window) const {
  // What a window manager sends when the close box is clicked.
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = Intern("WM_PROTOCOLS");
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(Intern("WM_DELETE_WINDOW"));
  event.xclient.data.l[1] = CurrentTime;
  XSendEvent(display_, window, False, NoEventMask, &event);
  XFlush(display_);
}

void TestDisplay::SetResources(const std::string& text) const {
  const Window root = DefaultRootWindow(display_);
  if (text.empty()) {
    XDeleteProperty(display_, root, XA_RESOURCE_MANAGER);
  } else {
    XChangeProperty(display_, root, XA_RESOURCE_MANAGER, XA_STRING, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(text.data()), static_cast<int>(text.size()));
  }
  XSync(display_, False);
}

std::string TestDisplay::Resources() const {
  const auto property = GetProperty(DefaultRootWindow(display_), "RESOURCE_MANAGER");
  return property ? property->bytes : std::string();
}

void TestDisplay::WatchRoot() const {
  XSelectInput(display_, DefaultRootWindow(display_), SubstructureNotifyMask);
  XSync(display_, False);
}

unsigned long TestDisplay::WaitForMappedWindow(long pid, int timeoutMs) const {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    while (XPending(display_) > 0) {
      XEvent event;
      XNextEvent(display_, &event);
      if (event.type != MapNotify) continue;
      const auto owner = GetProperty(event.xmap.window, "_NET_WM_PID");
      if (owner && owner->items.size() == 1 && static_cast<long>(owner->items[0]) == pid) return event.xmap.window;
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return 0;
    pollfd watch{ConnectionNumber(display_), POLLIN, 0};
    poll(&watch, 1, static_cast<int>(left.count()));
  }
}

unsigned long TestDisplay::WaitForClient(long pid, int timeoutMs) const {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (std::chrono::steady_clock::now() < deadline) {
    const auto clients = GetProperty(DefaultRootWindow(display_), "_NET_CLIENT_LIST");
    for (const unsigned long client : clients ? clients->items : std::vector<unsigned long>{}) {
      const auto owner = GetProperty(client, "_NET_WM_PID");
      XWindowAttributes attributes{};
      if (owner && owner->items == std::vector<unsigned long>{static_cast<unsigned long>(pid)} &&
          XGetWindowAttributes(display_, client, &attributes) && attributes.map_state == IsViewable &&
          GetProperty(client, "_NET_FRAME_EXTENTS")) {
        return client;
      }
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return 0;
}

bool TestDisplay::WaitForDestroyedWindow(unsigned long window, int timeoutMs) const {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    while (XPending(display_) > 0) {
      XEvent event;
      XNextEvent(display_, &event);
      if (event.type == DestroyNotify && event.xdestroywindow.window == window) return true;
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return false;
    pollfd watch{ConnectionNumber(display_), POLLIN, 0};
    poll(&watch, 1, static_cast<int>(left.count()));
  }
}

void TestDisplay::MovePointer(int x, int y) const {
  XWarpPointer(display_, None, DefaultRootWindow(display_), 0, 0, 0, 0, x, y);
  XFlush(display_);
}

bool TestDisplay::OverrideRedirect(unsigned long window) const {
  XWindowAttributes attributes{};
  return XGetWindowAttributes(display_, window, &attributes) != 0 && attributes.override_redirect;
}

}  // namespace halyard::testing
