// The clock on Linux: an X11 window. Arguments other than the sync ones are ignored.
#include <clocale>
#include <cstdio>
#include <cstdlib>

#include "app/ClockWindowHandler.h"
#include "app/RunClock.h"
#include "app/SyncStatusCommand.h"
#include "platform/window/ClockWindowPlatform.h"
#include "platform/window/ProgramArguments.h"

int main(int argc, char** argv) {
  // Texts are bytes in the locale's character set, as on Windows in the ANSI code page.
  std::setlocale(LC_CTYPE, "");
  const std::vector<std::string> arguments = halyard::ProgramArguments(argc, argv);
  if (halyard::WantsSyncStatus(arguments)) {
    const halyard::SyncStatusReport report = halyard::ReportSyncStatus();
    std::printf("%s\n", report.line.c_str());
    return report.exitStatus;
  }
  halyard::SyncCheckEnabled() = halyard::SyncCheckArgument(arguments);

  std::unique_ptr<halyard::ClockWindowPlatform> window = halyard::MakeClockWindowPlatform();
  if (window == nullptr) return 1;  // the platform has said why on stderr
  return halyard::RunClock(*window);
}
