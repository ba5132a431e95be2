// The clock on Linux: an X11 window. Arguments are ignored.
#include <clocale>
#include <cstdio>

#include "app/RunClock.h"
#include "platform/window/ClockWindowPlatform.h"

int main() {
  // Texts are bytes in the locale's character set, as on Windows in the ANSI code page.
  std::setlocale(LC_CTYPE, "");
  std::unique_ptr<halyard::ClockWindowPlatform> window = halyard::MakeClockWindowPlatform();
  if (window == nullptr) {
    std::fputs("halyard: cannot open the X display (is DISPLAY set?)\n", stderr);
    return 1;
  }
  return halyard::RunClock(*window);
}
