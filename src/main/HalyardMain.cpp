// The clock on Linux: an X11 window.
#include <clocale>

#include "app/ClockProgram.h"
#include "app/ConsoleAnswers.h"
#include "platform/window/ProgramArguments.h"

int main(int argc, char** argv) {
  // Texts are bytes in the locale's character set, as on Windows in the ANSI code page.
  std::setlocale(LC_CTYPE, "");
  halyard::ConsoleAnswers answers;
  return halyard::RunClockProgram(halyard::ProgramArguments(argc, argv), answers);
}
