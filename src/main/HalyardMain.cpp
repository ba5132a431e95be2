// The clock on Linux: an X11 window. Arguments are ignored.
#include <clocale>
#include <cstdio>
#include <cstdlib>

#include "app/RunClock.h"
#include "platform/window/ClockWindowPlatform.h"

int main() {
  // Texts are bytes in the locale's character set, as on Windows in the ANSI code page.
  std::setlocale(LC_CTYPE, "");
  std::unique_ptr<halyard::ClockWindowPlatform> window = halyard::MakeClockWindowPlatform();
  if (window == nullptr) {
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || *display == '\0') {
      std::fputs("halyard: cannot open display: DISPLAY is not set\n", stderr);
    } else {
      std::fprintf(stderr, "halyard: cannot open display '%s'\n", display);
    }
    return 1;
  }
  return halyard::RunClock(*window);
}
