// Entry point of halyard.exe. Arguments other than the sync ones are ignored.
#include <windows.h>

#include <cstdio>
#include <string>

#include "app/ClockWindowHandler.h"
#include "app/RunClock.h"
#include "app/SyncStatusCommand.h"
#include "platform/window/ProgramArguments.h"

#ifdef HALYARD_FULL_SPEED_TIMER
#include "app/ClockWindowHandler.h"
#include "platform/time/TimeSource.h"

namespace {

// Test build: every tick shows the next second, so a few minutes at full speed
// pass through many hours of faces and every change of the status line.
class SteppingClock final : public halyard::SystemClock {
 public:
  halyard::ClockReading Read() override {
    if (step_ == 0) start_ = halyard::PlatformClock().Read();
    halyard::ClockReading reading = start_;
    reading.utc += std::chrono::seconds{step_++};
    return reading;
  }

 private:
  halyard::ClockReading start_{};
  long long step_ = 0;
};

}  // namespace
#endif

namespace {

// The clock has no console: the status goes to a message box, and to standard
// output too for a script that started it with one.
int ShowSyncStatus() {
  const halyard::SyncStatusReport report = halyard::ReportSyncStatus();
  std::printf("%s\n", report.line.c_str());
  std::fflush(stdout);
  const int length = MultiByteToWideChar(CP_UTF8, 0, report.line.c_str(), -1, nullptr, 0);
  std::wstring text(static_cast<std::size_t>(length > 0 ? length : 1), L'\0');
  if (length > 0) MultiByteToWideChar(CP_UTF8, 0, report.line.c_str(), -1, text.data(), length);
  const UINT icon = report.exitStatus == 0 ? MB_ICONINFORMATION : MB_ICONWARNING;
  MessageBoxW(nullptr, text.c_str(), L"HALYARD sync status", MB_OK | icon);
  return report.exitStatus;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  const std::vector<std::string> arguments = halyard::ProgramArguments(0, nullptr);
  if (halyard::WantsSyncStatus(arguments)) return ShowSyncStatus();
  halyard::SyncCheckEnabled() = halyard::SyncCheckArgument(arguments);
#ifdef HALYARD_FULL_SPEED_TIMER
  static SteppingClock clock;
  halyard::SetHandlerClock(&clock);
#endif
  return halyard::RunClock();
}
