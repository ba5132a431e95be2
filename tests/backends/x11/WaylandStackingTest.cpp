// The clock in a Wayland session of GNOME or KDE, where it is an X11 client of
// the compositor's XWayland. A second window takes the focus and covers the
// clock; the clock must stay above it, in the stacking order the compositor
// gives X11 clients and in a screenshot of the compositor's output, whose
// pixels where the clock stands must be the clock's own.
// scripts/wayland-tests.sh runs this inside headless Mutter and KWin.
#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>

#include "TestDisplay.h"
#include "backends/posix/PngFile.h"
#include "support/ChildProcess.h"

#include <X11/Xlib.h>
#include <X11/Xatom.h>
#include <X11/Xutil.h>

namespace halyard {
namespace {

using testing::TestDisplay;

// How many pixels of `window` differ from the screen's at `x`, `y`.
long DifferingPixels(const Picture& screen, const Picture& window, int x, int y) {
  if (x < 0 || y < 0 || x + window.Width() > screen.Width() || y + window.Height() > screen.Height()) {
    return static_cast<long>(window.Width()) * window.Height();
  }
  long differing = 0;
  for (int row = 0; row < window.Height(); ++row) {
    for (int column = 0; column < window.Width(); ++column) {
      differing += screen.Get(x + column, y + row) != window.Get(column, row);
    }
  }
  return differing;
}

TEST(WaylandStackingTest, TheClockStaysAboveACoveringWindowThatTakesTheFocus) {
  const char* session = std::getenv("HALYARD_WAYLAND_SESSION");  // mutter or kwin: how to take a screenshot
  const char* binary = std::getenv("HALYARD_BINARY");
  if (session == nullptr || binary == nullptr) GTEST_SKIP() << "needs scripts/wayland-tests.sh";

  // XWayland may still be starting.
  std::unique_ptr<TestDisplay> connection;
  for (int i = 0; i < 100 && (connection == nullptr || connection->Get() == nullptr); ++i) {
    if (i > 0) std::this_thread::sleep_for(std::chrono::milliseconds(100));
    connection = std::make_unique<TestDisplay>();
  }
  const TestDisplay& screen = *connection;
  ASSERT_NE(screen.Get(), nullptr) << "no XWayland";
  Display* display = screen.Get();
  const Window root = DefaultRootWindow(display);

  screen.MovePointer(0, 0);  // off the face, where the clock would show its tooltip
  const pid_t clockPid = testing::Spawn({binary});
  ASSERT_GT(clockPid, 0);
  struct Ender {
    pid_t pid;
    ~Ender() {
      kill(pid, SIGTERM);
      testing::WaitForExit(pid, 10);
    }
  } ender{clockPid};
  const unsigned long clock = screen.WaitForClient(clockPid, 20000);
  ASSERT_NE(clock, 0u) << "the clock shows no window";
  auto placeOf = [&](unsigned long window) {
    TestDisplay::Geometry place = screen.WindowGeometry(window);
    Window child = 0;
    XTranslateCoordinates(display, window, root, 0, 0, &place.x, &place.y, &child);
    return place;
  };
  const TestDisplay::Geometry at = placeOf(clock);

  // A window larger than the clock, over it, that takes the focus as a pager
  // gives it (source 2, which compositors honour).
  const Window cover = XCreateSimpleWindow(display, root, at.x - 100, at.y - 100, at.width + 200, at.height + 200, 0,
                                           0xC03030, 0xC03030);
  XSizeHints hints{};
  hints.flags = USPosition | USSize;
  XSetWMNormalHints(display, cover, &hints);
  const long self = getpid();
  XChangeProperty(display, cover, screen.Intern("_NET_WM_PID"), XA_CARDINAL, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(&self), 1);
  XMapWindow(display, cover);
  XFlush(display);
  ASSERT_EQ(screen.WaitForClient(self, 20000), cover) << "the covering window is not shown";
  XEvent activate{};
  activate.xclient.type = ClientMessage;
  activate.xclient.window = cover;
  activate.xclient.message_type = screen.Intern("_NET_ACTIVE_WINDOW");
  activate.xclient.format = 32;
  activate.xclient.data.l[0] = 2;
  activate.xclient.data.l[1] = CurrentTime;
  XSendEvent(display, root, False, SubstructureRedirectMask | SubstructureNotifyMask, &activate);
  XFlush(display);
  std::this_thread::sleep_for(std::chrono::seconds(1));

  const auto stacking = screen.GetProperty(root, "_NET_CLIENT_LIST_STACKING");
  const auto active = screen.GetProperty(root, "_NET_ACTIVE_WINDOW");
  ASSERT_TRUE(stacking && !stacking->items.empty() && active && active->items.size() == 1);
  std::string order;
  for (const unsigned long window : stacking->items) {
    char id[32];
    std::snprintf(id, sizeof id, "0x%lx", window);
    order += window == clock ? "clock " : window == cover ? "cover " : std::string(id) + " ";
  }
  std::printf("[ info     ] %s: stacking, bottom to top: %s\n", session, order.c_str());
  EXPECT_EQ(active->items[0], cover) << "the covering window did not take the focus";
  EXPECT_EQ(stacking->items.back(), clock) << "the clock is not on top";
  const TestDisplay::Geometry over = placeOf(cover);
  EXPECT_TRUE(over.x <= at.x && over.y <= at.y && over.x + over.width >= at.x + at.width &&
              over.y + over.height >= at.y + at.height)
      << "the second window does not cover the clock";

  // The screen where the clock stands shows the clock's own picture (the same
  // second in both captures: up to three tries).
  const std::string shot = ::testing::TempDir() + "halyard-" + std::string(session) + ".png";
  long differing = -1;
  for (int attempt = 0; attempt < 3 && differing != 0; ++attempt) {
    const Picture own = screen.Capture(clock);
    const pid_t taker = testing::Spawn({"/usr/bin/python3", HALYARD_SOURCE_DIR "/tests/wayland/screenshot.py", session, shot});
    Picture shown;
    std::string error;
    if (testing::WaitForExit(taker, 60) == 0 && ReadPng(shot, shown, &error)) differing = DifferingPixels(shown, own, at.x, at.y);
  }
  EXPECT_EQ(differing, 0) << "the screenshot (" << shot << ") does not show the clock at " << at.x << "," << at.y
                          << " (-1: no screenshot)";
  XDestroyWindow(display, cover);
  XFlush(display);
}

}  // namespace
}  // namespace halyard
