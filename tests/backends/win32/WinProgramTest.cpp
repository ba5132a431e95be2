// halyard.exe as a user starts it, seen from another process: found by its
// caption, its face on the screen, its command line, where it puts itself and
// how it ends. scripts/win32-tests.sh names the program in HALYARD_BINARY and
// gives Wine a screen of 1600x1200; keys through the X server are its own.
#include <windows.h>
#include <psapi.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "WinClockFixture.h"
#include "backends/gdi/BmpFile.h"
#include "backends/gdi/GdiRasterizer.h"
#include "face/DrawClock.h"
#include "options/ColorValue.h"
#include "options/CommandLine.h"
#include "platform/window/CanvasWindow.h"
#include "platform/window/ClockWindowIds.h"
#include "platform/window/DialogUnits.h"
#include "platform/window/PositionStore.h"
#include "support/WindowShot.h"

namespace halyard {
namespace {

std::string FileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  std::string s = text.str();
  std::erase(s, '\r');
  return s;
}

std::string TextOf(HWND window) {
  wchar_t text[256] = {};
  SendMessageTimeoutW(window, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000, nullptr);
  char narrow[512] = {};
  WideCharToMultiByte(CP_UTF8, 0, text, -1, narrow, sizeof narrow, nullptr, nullptr);
  return narrow;
}

RECT WindowRect(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return r;
}

PixelRect ToPixelRect(const RECT& r) {
  return {static_cast<std::int32_t>(r.left), static_cast<std::int32_t>(r.top), static_cast<std::int32_t>(r.right),
          static_cast<std::int32_t>(r.bottom)};
}

// The face as GDI draws it at `dpi`, in the clock's font and default colours.
Picture GdiFace(TextExtent size, std::int32_t dpi, const std::string& time) {
  const ClockOptions options = DefaultClockOptions();
  CanvasWindow window(std::make_unique<GdiRasterizer>(size.width, size.height), nullptr, dpi);
  Canvas::Attach(&window, kClockFaceId, DrawingMode::Immediate);
  Canvas::SetColors(ColorValue(options.DialColor), ColorValue(options.BackgroundColor));
  Canvas::SetFont(ClockFontSpec());
  DrawClock(&window, kClockFaceId, time, options);
  Canvas::SetCurrent(nullptr, DrawingMode::Immediate);
  return window.Face().Pixels();
}

// The height of the clock's font at `dpi` as GDI realises it: the legend's cell.
std::int32_t LegendCellHeight(std::int32_t dpi) {
  const FontSpec spec = ClockFontSpec();
  const std::wstring face(spec.face.begin(), spec.face.end());
  HFONT font = CreateFontW(FontPixelHeight(spec.points, dpi), 0, 0, 0, (spec.style & FontSpec::kBold) ? FW_BOLD : FW_NORMAL,
                           FALSE, FALSE, FALSE, spec.charset, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                           spec.pitchAndFamily, face.c_str());
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font);
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(font);
  return metrics.tmHeight;
}

std::string UtcNow(int& millisecond) {
  SYSTEMTIME now{};
  GetSystemTime(&now);
  millisecond = now.wMilliseconds;
  char text[16];
  std::snprintf(text, sizeof text, "%02u:%02u:%02u", now.wHour, now.wMinute, now.wSecond);
  return text;
}

// What the screen shows where the window's face control stands.
Picture FaceOnScreen(HWND window) {
  RECT face{};
  GetWindowRect(GetDlgItem(window, kClockFaceId), &face);
  HDC screen = GetDC(nullptr);
  Picture shown = testing::DcPixels(screen, face.left, face.top, face.right - face.left, face.bottom - face.top);
  ReleaseDC(nullptr, screen);
  return shown;
}

bool OnScreen(const RECT& r) {
  return r.left >= 0 && r.top >= 0 && r.right <= GetSystemMetrics(SM_CXSCREEN) &&
         r.bottom <= GetSystemMetrics(SM_CYSCREEN);
}

class WinProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* binary = std::getenv("HALYARD_BINARY");
    if (binary == nullptr) GTEST_SKIP() << "needs scripts/win32-tests.sh";
    binary_ = binary;
    // The clock runs from a folder of its own, so no options file sits beside
    // it; the folder is its LOCALAPPDATA too, for the remembered position.
    folder_ = ::testing::TempDir() + "halyard-program";
    CreateDirectoryA(folder_.c_str(), nullptr);
    DeleteFileA((folder_ + "\\OPTION.DTA").c_str());
    ASSERT_TRUE(CopyFileA(binary, (folder_ + "\\halyard.exe").c_str(), FALSE));
    char saved[MAX_PATH] = {};
    if (GetEnvironmentVariableA("LOCALAPPDATA", saved, MAX_PATH) > 0) savedAppData_ = saved;
    SetEnvironmentVariableA("LOCALAPPDATA", folder_.c_str());
    ASSERT_EQ(FindWindowW(nullptr, L"HALYARD"), nullptr) << "a clock is running already";
  }
  void TearDown() override {
    if (process_ != nullptr) {
      TerminateProcess(process_, 99);
      WaitForSingleObject(process_, 10000);
      CloseHandle(process_);
    }
    if (!binary_.empty()) SetEnvironmentVariableA("LOCALAPPDATA", savedAppData_ ? savedAppData_->c_str() : nullptr);
  }

  // Starts a program with its standard output and error in files.
  bool Launch(const std::string& program, const std::string& arguments) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    auto open = [&](const std::string& path) {
      return CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
    };
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = open(Out());
    startup.hStdError = open(Err());
    std::string command = "\"" + program + "\" " + arguments;
    PROCESS_INFORMATION started{};
    const bool ok = CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr, &startup,
                                   &started);
    CloseHandle(startup.hStdOutput);
    CloseHandle(startup.hStdError);
    if (!ok) return false;
    CloseHandle(started.hThread);
    process_ = started.hProcess;
    pid_ = started.dwProcessId;
    threadId_ = started.dwThreadId;
    return true;
  }

  // Starts the clock; its visible window with that caption, or nullptr.
  HWND Start(const std::string& arguments = "", const wchar_t* caption = L"HALYARD") {
    return Launch(folder_ + "\\halyard.exe", arguments) ? Shown(caption) : nullptr;
  }

  // The launched program's visible window with that caption, or nullptr.
  HWND Shown(const wchar_t* caption) {
    for (int i = 0; i < 1200; ++i) {
      HWND window = FindWindowW(nullptr, caption);
      DWORD owner = 0;
      if (window != nullptr && IsWindowVisible(window) && GetWindowThreadProcessId(window, &owner) && owner == pid_) {
        return window;
      }
      if (WaitForSingleObject(process_, 100) == WAIT_OBJECT_0) break;
    }
    return nullptr;
  }

  // The exit code, or -1 if the program had not ended after that long.
  int Stop(DWORD milliseconds = 30000) {
    DWORD code = 0;
    if (WaitForSingleObject(process_, milliseconds) != WAIT_OBJECT_0 || !GetExitCodeProcess(process_, &code)) {
      return -1;
    }
    CloseHandle(process_);
    process_ = nullptr;
    return static_cast<int>(code);
  }

  // Once in a few runs Wine has left a close posted right after start-up
  // unanswered: one more after 15 s, said in the log, before giving up.
  int Close(HWND window) {
    PostMessageW(window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process_, 15000) == WAIT_TIMEOUT) {
      std::printf("[ info     ] no end 15 s after the close; closing again\n");
      PostMessageW(window, WM_CLOSE, 0, 0);
    }
    return Stop(15000);
  }

  // A file of the build, beside halyard.exe or under it.
  std::string Built(const std::string& path) const { return binary_.substr(0, binary_.find_last_of("/\\") + 1) + path; }
  std::string Out() const { return folder_ + "\\out.txt"; }
  std::string Err() const { return folder_ + "\\err.txt"; }

  std::string binary_;
  std::string folder_;
  std::optional<std::string> savedAppData_;
  HANDLE process_ = nullptr;
  DWORD pid_ = 0, threadId_ = 0;
};

// The window's shape is WinClockWindowTest's; here the running program shows it.
TEST_F(WinProgramTest, TheWindowShowsTheFaceOnTheScreenAndTheCloseCommandEndsIt) {
  HWND window = Start();
  ASSERT_NE(window, nullptr) << "no window with the caption HALYARD";
  EXPECT_TRUE(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_NE(TextOf(GetDlgItem(window, kStatusLabelId)), "");
  Sleep(1000);  // the first paint reaches the screen
  EXPECT_GT(testing::DistinctColours(FaceOnScreen(window)), 2u) << "the face is blank on the screen";
  PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);  // the close box, the system menu
  EXPECT_EQ(Stop(), 0);
  EXPECT_EQ(FindWindowW(nullptr, L"HALYARD"), nullptr);
}

TEST_F(WinProgramTest, AnUnknownArgumentIsNamedOnStderrAndTheClockStarts) {
  HWND window = Start("--bogus");
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(Close(window), 0);
  EXPECT_NE(FileText(Err()).find("halyard: unknown argument '--bogus'"), std::string::npos) << FileText(Err());
}

TEST_F(WinProgramTest, WithTheCountdownOnTheLabelCountsDownToTheNextPeriod) {
  HWND window = Start("--countdown=on --alert=both");
  ASSERT_NE(window, nullptr);
  const std::string label = TextOf(GetDlgItem(window, kStatusLabelId));
  EXPECT_TRUE(std::regex_match(label, std::regex("(500 kHz CW|2182 kHz PH) IN [0-9]+:[0-5][0-9]|SILENT .*"))) << label;
  EXPECT_EQ(Close(window), 0);
}

TEST_F(WinProgramTest, SyncStatusAnswersInABoxAndOnStandardOutputWithoutAClock) {
  HWND box = Start("--sync-status", L"HALYARD sync status");
  ASSERT_NE(box, nullptr) << "no message box";
  EXPECT_EQ(FindWindowW(nullptr, L"HALYARD"), nullptr) << "the clock's window opened";
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  const int status = Stop();
  const std::string line = FileText(Out());
  const int expected = line.starts_with("synchronised, ") ? 0 : line.starts_with("not synchronised: ") ? 1
                       : line.starts_with("unknown: ")    ? 2 : -2;
  EXPECT_EQ(status, expected) << line;
  // Without the precise adjustment query (Wine lacks it) the system cannot say.
  if (GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "GetSystemTimeAdjustmentPrecise") == nullptr) {
    EXPECT_EQ(expected, 2) << line;
  }
}

TEST_F(WinProgramTest, TheOptionsToolPrintsItsVersion) {
  const std::string tool = Built("tools/halyard-options.exe");
  ASSERT_TRUE(Launch(tool, "--version")) << tool;
  EXPECT_EQ(Stop(), 0);
  EXPECT_EQ(FileText(Out()), VersionText("halyard-options") + "\n");
}

TEST_F(WinProgramTest, GeometryPutsTheWindowWhereAsked) {
  HWND window = Start("--geometry -0-0");
  ASSERT_NE(window, nullptr);
  RECT r = WindowRect(window);
  EXPECT_EQ(r.right, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(r.bottom, GetSystemMetrics(SM_CYSCREEN));
  EXPECT_EQ(Close(window), 0);

  window = Start("--geometry +10+20");
  ASSERT_NE(window, nullptr);
  r = WindowRect(window);
  EXPECT_EQ(r.left, 10);
  EXPECT_EQ(r.top, 20);
  EXPECT_EQ(Close(window), 0);
}

TEST_F(WinProgramTest, AtScaleTwoTheWindowGrowsAndAtFourItIsMadeToFitTheScreen) {
  HWND window = Start("--scale 2");
  ASSERT_NE(window, nullptr);
  RECT client{};
  GetClientRect(window, &client);
  EXPECT_EQ(client.right, 660);  // as the Linux window at scale 2
  EXPECT_EQ(client.bottom, 975);
  EXPECT_EQ(Close(window), 0);

  window = Start("--scale 4");
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(OnScreen(WindowRect(window)));
  EXPECT_EQ(Close(window), 0);
  const std::string said = FileText(Err());
  const std::size_t first = said.find("does not fit");
  EXPECT_TRUE(first != std::string::npos && said.find("does not fit", first + 1) == std::string::npos) << said;
}

// Each resolution a user may set (LogPixels, which Wine reads when a program
// starts; Windows at sign-in) and each scale at 96 dpi: the window has the
// layout's size there, the same as the Linux window's; from its pixels on the
// screen, the dial keeps out of the legend's text cell, the status text stays
// inside its line and the window inside the work area; the face is what GDI
// draws at that resolution, and a scale draws the status line as the
// resolution it stands for does. The screen must be large enough for 192 dpi
// (scripts/win32-tests.sh gives 1600x1200).
TEST_F(WinProgramTest, AtEveryResolutionAndScaleTheWholeFaceShowsAndTheWindowFits) {
  if (GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") == nullptr) {
    GTEST_SKIP() << "a new resolution takes effect at the next sign-in on Windows";
  }
  // The resolution the next program starts with; the prefix's own comes back at the end.
  struct LogPixels {
    LogPixels() {
      RegOpenKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, KEY_QUERY_VALUE | KEY_SET_VALUE, &key);
      DWORD size = sizeof saved;
      had = RegQueryValueExW(key, L"LogPixels", nullptr, nullptr, reinterpret_cast<BYTE*>(&saved), &size) == ERROR_SUCCESS;
    }
    ~LogPixels() {
      if (had) Set(saved); else RegDeleteValueW(key, L"LogPixels");
      RegCloseKey(key);
    }
    void Set(DWORD dpi) { RegSetValueExW(key, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof dpi); }
    HKEY key = nullptr;
    DWORD saved = 0;
    bool had = false;
  } logPixels;
  SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);  // no tooltip over the face
  std::map<int, std::pair<std::string, Picture>> statusLines;  // by layout dpi: the text and its pixels
  struct Case {
    DWORD logPixels;
    const char* scale;  // "": none given
    int layoutDpi, width, height;
  };
  for (const Case& c : {Case{96, "", 96, 330, 488}, Case{120, "", 120, 440, 600}, Case{144, "", 144, 495, 750},
                        Case{192, "", 192, 660, 975}, Case{96, "0.75", 72, 275, 375}, Case{96, "1.25", 120, 440, 600},
                        Case{96, "1.5", 144, 495, 750}, Case{96, "2", 192, 660, 975}}) {
    SCOPED_TRACE("LogPixels " + std::to_string(c.logPixels) + (*c.scale ? std::string(", scale ") + c.scale : ""));
    logPixels.Set(c.logPixels);
    HWND window = Start(*c.scale ? std::string("--scale ") + c.scale : "");
    ASSERT_NE(window, nullptr);
    RECT client{};
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, c.width);
    EXPECT_EQ(client.bottom, c.height);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
    EXPECT_EQ(testing::HowItLeaves(ToPixelRect(WindowRect(window)), ToPixelRect(monitor.rcWork)), "");

    // Between two ticks, in one second, so that the picture is a whole one of a known time.
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    Picture shown;
    std::string time, status;
    for (int attempt = 0; attempt < 3 && time.empty(); ++attempt) {
      int millisecond = 0;
      while (UtcNow(millisecond), millisecond < 650 || millisecond > 900) Sleep(5);
      time = UtcNow(millisecond);
      status = TextOf(GetDlgItem(window, kStatusLabelId));
      HDC screen = GetDC(nullptr);
      shown = testing::DcPixels(screen, origin.x, origin.y, client.right, client.bottom);
      ReleaseDC(nullptr, screen);
      if (UtcNow(millisecond) != time || TextOf(GetDlgItem(window, kStatusLabelId)) != status) time.clear();
    }
    ASSERT_FALSE(time.empty());
    // The legend's cell starts 5 rows down.
    EXPECT_EQ(testing::WhatCrowdsTheLegend(shown, 5 + LegendCellHeight(c.layoutDpi)), "");
    const DialogUnits units = DialogUnits::ForDpi(c.layoutDpi);
    const PixelRect statusRect = units.ToPixels(kLabelRectUnits);
    EXPECT_EQ(testing::WhereTheStatusTextIsCut(shown, statusRect), "");
    const Picture statusLine = shown.Part(statusRect);  // a view: the map keeps a copy
    const auto [earlier, first] = statusLines.try_emplace(c.layoutDpi, status, statusLine);
    if (!first && earlier->second.first == status && !(earlier->second.second == statusLine)) {
      const std::string base = ::testing::TempDir() + "status-" + std::to_string(c.layoutDpi) + "dpi-";
      testing::WriteBmp(earlier->second.second, base + "first.bmp");
      testing::WriteBmp(statusLine, base + "scaled.bmp");
      ADD_FAILURE() << "'" << status << "' differs from the first at " << c.layoutDpi << " dpi (" << base << "{first,scaled}.bmp)";
    } else if (!first && earlier->second.first != status) {
      std::printf("[ info     ] the status line changed meanwhile; not compared at %d dpi\n", c.layoutDpi);
    }
    const PixelRect faceRect = units.ToPixels(kFaceRectUnits);
    const Picture face = shown.Part(faceRect);
    const Picture drawn = GdiFace({faceRect.right, faceRect.bottom}, c.layoutDpi, time);
    if (!(face == drawn)) {
      const std::string base = ::testing::TempDir() + "face-" + std::to_string(c.layoutDpi) + "dpi-";
      testing::WriteBmp(face, base + "screen.bmp");
      testing::WriteBmp(drawn, base + "gdi.bmp");
      ADD_FAILURE() << "at " << time << " the screen's face differs from GDI's (" << base << "{screen,gdi}.bmp)";
    }
    EXPECT_EQ(Close(window), 0);
  }
}

TEST_F(WinProgramTest, ARememberedPositionSurvivesARestartAndComesBackOnScreen) {
  const std::string state = PlatformPositionStore().Path();
  ASSERT_EQ(state, folder_ + "\\HALYARD\\position");
  DeleteFileA(state.c_str());
  HWND window = Start("--remember-position=on");
  ASSERT_NE(window, nullptr);
  // As a drag ends.
  SetWindowPos(window, nullptr, 200, 150, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  Sleep(500);
  EXPECT_EQ(Close(window), 0);
  EXPECT_EQ(FileText(state), "200 150\n");

  window = Start("--remember-position=on");
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(WindowRect(window).left, 200);
  EXPECT_EQ(WindowRect(window).top, 150);
  EXPECT_EQ(Close(window), 0);

  // A position left on a monitor that is gone: the window comes back whole.
  std::ofstream(state) << "5000 5000\n";
  window = Start("--remember-position=on");
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(OnScreen(WindowRect(window)));
  EXPECT_EQ(Close(window), 0);
  DeleteFileA(state.c_str());
}

// The commit charge, as PrivateUsage on Windows; Wine fills only this field.
std::uint64_t PrivateKib(HANDLE process) {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  GetProcessMemoryInfo(process, &counters, sizeof counters);
  return counters.PagefileUsage / 1024;
}

// Wine counts CPU time per thread only (a process's is nought): the clock's
// thread, which ticks and draws.
double CpuSeconds(HANDLE thread) {
  FILETIME created, ended, kernel, user;
  GetThreadTimes(thread, &created, &ended, &kernel, &user);
  auto seconds = [](const FILETIME& t) { return (std::uint64_t{t.dwHighDateTime} << 32 | t.dwLowDateTime) / 1e7; };
  return seconds(kernel) + seconds(user);
}

// tests/halyard-full-speed.exe passes through many hours of faces in a long
// run (HALYARD_FULL_SPEED_SECONDS): it must stay drawn, answering and fast,
// hold no more GDI objects than at first, let its memory level off (Wine's
// own caches settle early on, so the second half counts) and end on Escape.
TEST_F(WinProgramTest, AtFullSpeedTheClockStaysDrawnAnsweringAndSteady) {
  const char* secondsText = std::getenv("HALYARD_FULL_SPEED_SECONDS");
  if (secondsText == nullptr) GTEST_SKIP() << "a long run: scripts/win32-tests.sh BUILD_DIR --full-speed SECONDS";
  const int seconds = std::atoi(secondsText);
  const std::string program = folder_ + "\\halyard-full-speed.exe";
  ASSERT_TRUE(CopyFileA(Built("tests/halyard-full-speed.exe").c_str(), program.c_str(), FALSE));
  ASSERT_TRUE(Launch(program, ""));
  HWND window = Shown(L"HALYARD");
  ASSERT_NE(window, nullptr);
  HANDLE thread = OpenThread(THREAD_QUERY_INFORMATION, FALSE, threadId_);
  // A sample each tenth of the run, the first once caches and the label's colours have settled.
  std::vector<std::uint64_t> kib;
  double cpu = 0;
  for (int tenth = 1; tenth <= 10; ++tenth) {
    Sleep(seconds * 100);
    if (tenth == 1) cpu = -CpuSeconds(thread);
    kib.push_back(PrivateKib(process_));
  }
  cpu += CpuSeconds(thread);
  CloseHandle(thread);
  DWORD_PTR answer = 0;
  EXPECT_NE(SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer), 0) << "not answering";
  EXPECT_GT(testing::DistinctColours(FaceOnScreen(window)), 2u) << "the face is blank on the screen";
  const std::string label = TextOf(GetDlgItem(window, kStatusLabelId));
  PostMessageW(window, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
  EXPECT_EQ(Stop(), 0);

  std::smatch counts;
  const std::string said = FileText(Err());
  ASSERT_TRUE(std::regex_search(said, counts, std::regex("full-speed: ticks=([0-9]+) .*first=([0-9]+) last=([0-9]+) "
                                                         "least=([0-9]+) most=([0-9]+)")))
      << said;
  const auto count = [&counts](int i) { return std::stoull(counts[i]); };
  // The clock's own timer is half a second; at full speed it runs far faster.
  EXPECT_GE(count(1), 20ull * seconds) << "ticks in " << seconds << " s";
  EXPECT_GT(count(2), 0u);
  EXPECT_TRUE(count(3) == count(2) && count(4) == count(2) && count(5) == count(2)) << "GDI objects: " << counts[0];
  EXPECT_LE(kib[9] * 100, kib[4] * 101) << "private KiB at half time " << kib[4] << ", at the end " << kib[9];
  std::printf("[ info     ] %d s, '%s', cpu after warm-up %.1f %%, %s, private KiB", seconds, label.c_str(),
              100 * cpu / (0.9 * seconds), counts[0].str().c_str());
  for (std::uint64_t k : kib) std::printf(" %llu", static_cast<unsigned long long>(k));
  std::printf("\n");
}

}  // namespace
}  // namespace halyard
