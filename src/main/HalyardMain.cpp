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
  if (window == nullptr) return 1;  // the platform has said why on stderr
  return halyard::RunClock(*window);
}
