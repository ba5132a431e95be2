// A real clock window built as the program builds it, for tests that run
// inside Wine or Windows.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <set>
#include <string>

#include "app/ClockWindowHandler.h"
#include "app/ClockWindowSetup.h"
#include "backends/win32/WinClockWindow.h"

namespace halyard::testing {

class FixedClock final : public SystemClock {
 public:
  ClockReading Read() override { return {now, std::chrono::seconds{0}}; }
  void Set(int hours, int minutes, int seconds) {
    using namespace std::chrono;
    now = sys_days{2026y / March / 1} + hours * 1h + minutes * 1min + seconds * 1s;
  }
  std::chrono::sys_time<std::chrono::milliseconds> now{};
};

// Runs what is waiting in this thread's queue, as the clock's loop would.
inline void Pump(HWND dialog) {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (!IsDialogMessageW(dialog, &message)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
}

inline std::string WindowText(HWND window) {
  wchar_t text[256] = {};
  GetWindowTextW(window, text, 256);
  char narrow[512] = {};
  WideCharToMultiByte(CP_ACP, 0, text, -1, narrow, sizeof narrow, nullptr, nullptr);
  return narrow;
}

// A rectangle of the layout in pixels, in the layout's units at `dpi` (the
// same on every platform, whatever font the dialog's template names).
inline RECT UnitsToPixels(std::int32_t dpi, int x, int y, int cx, int cy) {
  const PixelRect r = DialogUnits::ForDpi(dpi).ToPixels({x, y, cx, cy});
  return {r.left, r.top, r.right, r.bottom};
}

inline std::size_t DistinctColours(const Picture& picture) {
  std::set<std::uint32_t> colours(picture.Data(),
                                  picture.Data() + picture.Width() * picture.Height());
  return colours.size();
}

// An area of a DC as a picture, read back through a DIB.
inline Picture DcPixels(HDC dc, int left, int top, int width, int height) {
  Picture picture(width, height);
  HDC memory = CreateCompatibleDC(dc);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, dc, left, top, SRCCOPY);
  GdiFlush();
  const auto* pixels = static_cast<const std::uint32_t*>(bits);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) picture.Set(x, y, pixels[y * width + x] & 0xFFFFFF);
  }
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  return picture;
}

// What the control shows on screen, read back through its own DC.
inline Picture ScreenPixels(HWND control) {
  RECT client{};
  GetClientRect(control, &client);
  HDC dc = GetDC(control);
  Picture picture = DcPixels(dc, 0, 0, client.right, client.bottom);
  ReleaseDC(control, dc);
  return picture;
}

class WinClockFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    CurrentClockOptions() = DefaultClockOptions();
    ClockTimerHandle() = 0;
    clock.Set(12, 20, 0);
    SetHandlerClock(&clock);
    window = std::make_unique<WinClockWindow>();
    ASSERT_EQ(PrepareClockWindow(*window, CurrentClockOptions()), window.get());
    dialog = window->Handle();
    face = GetDlgItem(dialog, kClockFaceId);
    label = GetDlgItem(dialog, kStatusLabelId);
  }
  void TearDown() override {
    window.reset();
    SetHandlerClock(nullptr);
    ClockTimerHandle() = 0;
    CurrentClockSettings() = {};
  }

  // The start-up's first event, as RunClock delivers it.
  void Initialise() { ClockWindowHandler(window.get(), kEventInitialise, 0, 0); }
  Canvas& FaceCanvas() { return *window->FindCanvas(kClockFaceId); }
  void MarkFace() { FaceCanvas().Raster().FillAll(kMarker); }
  bool FaceIsMarked() {
    const Picture& p = FaceCanvas().Pixels();
    return DistinctColours(p) == 1 && p.Get(0, 0) == ColorRefToPixel(kMarker);
  }

  static constexpr std::uint32_t kMarker = 0x00123456;
  FixedClock clock;
  std::unique_ptr<WinClockWindow> window;
  HWND dialog = nullptr;
  HWND face = nullptr;
  HWND label = nullptr;
};

}  // namespace halyard::testing
