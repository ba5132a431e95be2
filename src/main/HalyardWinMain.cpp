// Entry point of halyard.exe.
#include <windows.h>

#include <cstdio>
#include <string>

#include "app/ClockStartup.h"
#include "app/RunClock.h"
#include "app/SyncStatusCommand.h"
#include "platform/window/OptionsPath.h"
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

// The clock has no console, so what --help and --version print is shown in a box.
void ShowMessage(const std::string& utf8, const wchar_t* title = L"HALYARD", UINT icon = MB_ICONINFORMATION) {
  const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, nullptr, 0);
  std::wstring text(static_cast<std::size_t>(length > 0 ? length : 1), L'\0');
  if (length > 0) MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, text.data(), length);
  MessageBoxW(nullptr, text.c_str(), title, MB_OK | icon);
}

// The status goes to a message box, and to standard output too for a script
// that started the clock with one.
int ShowSyncStatus() {
  const halyard::SyncStatusReport report = halyard::ReportSyncStatus();
  std::printf("%s\n", report.line.c_str());
  std::fflush(stdout);
  ShowMessage(report.line, L"HALYARD sync status", report.exitStatus == 0 ? MB_ICONINFORMATION : MB_ICONWARNING);
  return report.exitStatus;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  const halyard::CommandLine commandLine = halyard::ParseCommandLine(halyard::ProgramArguments(0, nullptr));
  switch (commandLine.action) {
    case halyard::CommandLine::Action::Help:
      ShowMessage(halyard::ClockUsage(halyard::DescribeOptionsPlaces(halyard::PlatformOptionsSearch().userPlaces)));
      return 0;
    case halyard::CommandLine::Action::Version:
      ShowMessage(halyard::VersionText("halyard"));
      return 0;
    case halyard::CommandLine::Action::SyncStatus:
      return ShowSyncStatus();
    case halyard::CommandLine::Action::Run:
      break;
  }
  // Without a console these lines go nowhere; from a console or under Wine
  // they are seen. The clock starts whatever they say.
  const halyard::ClockConfiguration configuration = halyard::ConfigureClock(commandLine);
  for (const std::string& message : configuration.messages) std::fprintf(stderr, "halyard: %s\n", message.c_str());
#ifdef HALYARD_FULL_SPEED_TIMER
  static SteppingClock clock;
  halyard::SetHandlerClock(&clock);
#endif
  return halyard::RunClock(configuration);
}
