// Entry point of halyard.exe.
#include <windows.h>

#include <cstdio>
#include <string>

#include "app/ClockProgram.h"
#include "platform/window/ProgramArguments.h"

namespace {

// The clock has no console, so what --help and --version print is shown in a box.
void ShowMessage(const std::string& utf8, const wchar_t* title = L"HALYARD", UINT icon = MB_ICONINFORMATION) {
  const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, nullptr, 0);
  std::wstring text(static_cast<std::size_t>(length > 0 ? length : 1), L'\0');
  if (length > 0) MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, text.data(), length);
  MessageBoxW(nullptr, text.c_str(), title, MB_OK | icon);
}

class BoxAnswers final : public halyard::ProgramAnswers {
 public:
  void Show(const std::string& text) override { ShowMessage(text); }
  // The status goes to a message box, and to standard output too for a script
  // that started the clock with one.
  void ShowSyncStatus(const halyard::SyncStatusReport& report) override {
    std::printf("%s\n", report.line.c_str());
    std::fflush(stdout);
    ShowMessage(report.line, L"HALYARD sync status", report.exitStatus == 0 ? MB_ICONINFORMATION : MB_ICONWARNING);
  }
};

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // Without a console the lines on stderr go nowhere; from a console or under
  // Wine they are seen.
  BoxAnswers answers;
  return halyard::RunClockProgram(halyard::ProgramArguments(0, nullptr), answers);
}
