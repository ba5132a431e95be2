// A second connection to the X server under test, seen as another client
// (a window manager, xprop, a screenshot tool) would see the clock's window.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/canvas/Picture.h"

typedef struct _XDisplay Display;

namespace halyard::testing {

// Tests that need an X server run only when the Xvfb script asks for them.
bool X11TestsRequested();

class TestDisplay {
 public:
  TestDisplay();
  ~TestDisplay();
  TestDisplay(const TestDisplay&) = delete;
  TestDisplay& operator=(const TestDisplay&) = delete;

  Display* Get() const { return display_; }
  unsigned long Intern(const char* name) const;

  // A property as bytes (format 8) or as items (format 32), with its type name.
  struct Property {
    std::string type;
    int format = 0;
    std::string bytes;
    std::vector<unsigned long> items;
  };
  std::optional<Property> GetProperty(unsigned long window, const char* name) const;

  // Client size and position of a window.
  struct Geometry {
    int x = 0, y = 0, width = 0, height = 0;
  };
  Geometry WindowGeometry(unsigned long window) const;
  // What the screen shows of the window, as 0x00RRGGBB.
  Picture Capture(unsigned long window) const;

  void SendKey(unsigned long window, unsigned long keysym) const;
  void SendDeleteWindow(unsigned long window) const;
  // Replaces the root window's resource database (what xrdb loads); "" removes it.
  void SetResources(const std::string& text) const;
  std::string Resources() const;

  // Waits up to `timeoutMs` for a top-level window to be mapped whose
  // _NET_WM_PID is `pid`; 0 if none was. Must be called after WatchRoot().
  void WatchRoot() const;
  unsigned long WaitForMappedWindow(long pid, int timeoutMs) const;
  // Waits up to `timeoutMs` for the window manager to list, show and frame a
  // window whose _NET_WM_PID is `pid`; 0 if none was.
  unsigned long WaitForClient(long pid, int timeoutMs) const;
  // Whether `window` was destroyed within `timeoutMs` (after WatchRoot()).
  bool WaitForDestroyedWindow(unsigned long window, int timeoutMs) const;

  // Puts the pointer at a place on the screen, as a user's mouse would.
  void MovePointer(int x, int y) const;
  bool OverrideRedirect(unsigned long window) const;

 private:
  Display* display_;
};

}  // namespace halyard::testing
