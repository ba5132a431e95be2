// The floor of what an idle clock can cost on X11: a client with a window of
// the clock's size that wakes at the clock's instants, just after each
// half-second of the wall clock, reads its events and does nothing else.
// With --send it also asks the server to refresh one pixel of its window
// whenever the second changes: the least a clock that shows seconds must send.
// scripts/idle-cost.sh runs both beside the clock.
#include <X11/Xlib.h>
#include <poll.h>
#include <time.h>

#include <chrono>
#include <cstring>

#include "platform/time/TickPhase.h"

int main(int argc, char** argv) {
  const bool send = argc > 1 && std::strcmp(argv[1], "--send") == 0;
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) return 1;
  const Window window = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 330, 488, 0, 0, 0);
  XSelectInput(display, window, KeyPressMask | StructureNotifyMask);
  XMapWindow(display, window);
  XFlush(display);
  pollfd watch{ConnectionNumber(display), POLLIN, 0};
  time_t shown = 0;
  for (;;) {
    while (XPending(display) > 0) {
      XEvent event;
      XNextEvent(display, &event);
    }
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    const std::chrono::sys_time<std::chrono::milliseconds> instant{
        std::chrono::milliseconds{static_cast<long long>(now.tv_sec) * 1000 + now.tv_nsec / 1'000'000}};
    if (send && now.tv_sec != shown) {
      shown = now.tv_sec;
      XClearArea(display, window, 0, 0, 1, 1, False);
      XFlush(display);
    }
    const auto delay = halyard::DelayToNextTick(instant);
    const timespec wait{static_cast<time_t>(delay.count() / 1000), static_cast<long>(delay.count() % 1000) * 1'000'000};
    if (ppoll(&watch, 1, &wait, nullptr) < 0) return 1;
  }
}
