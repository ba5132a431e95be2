// halyard-inspect: finds the running clock's window from another process and
// reports on it or drives it, for the system tests under Wine or Windows.
//
//   halyard-inspect wait SECONDS      wait for the visible window, print its facts
//   halyard-inspect gone SECONDS      wait until no such window exists
//   halyard-inspect close             post WM_CLOSE
//   halyard-inspect sysclose          post WM_SYSCOMMAND SC_CLOSE (close box, Alt+F4)
//   halyard-inspect escape            post the Escape key to the window
//   halyard-inspect shot FILE.bmp     copy the client area from the screen, print
//                                     how many colours the face and label show
//   halyard-inspect move X Y          move the window's top-left corner, as a drag would
//
// Facts are printed as key=value lines. Exit status: 0 done, 1 no window or
// timed out, 2 bad usage.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <vector>

namespace {

constexpr wchar_t kCaption[] = L"HALYARD";
constexpr int kFaceId = 120;
constexpr int kLabelId = 150;

HWND FindClock() { return FindWindowW(nullptr, kCaption); }

HWND WaitForClock(double seconds, bool visible) {
  const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(seconds * 1000);
  do {
    HWND window = FindClock();
    if (window != nullptr && (!visible || IsWindowVisible(window))) return window;
    Sleep(100);
  } while (GetTickCount64() < end);
  return nullptr;
}

std::string Narrow(const std::wstring& text) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string out(size > 0 ? size : 1, '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, out.data(), size, nullptr, nullptr);
  out.resize(std::strlen(out.c_str()));
  return out;
}

std::wstring TextOf(HWND window) {
  wchar_t text[512] = {};
  SendMessageTimeoutW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                      2000, nullptr);
  return text;
}

// A child's rectangle in the parent's client coordinates.
RECT ChildRect(HWND parent, HWND child) {
  RECT r{};
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

void PrintRect(const char* name, const RECT& r) {
  std::printf("%s=%ld,%ld,%ld,%ld\n", name, r.left, r.top, r.right, r.bottom);
}

void PrintFacts(HWND window) {
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  wchar_t className[64] = {};
  GetClassNameW(window, className, 64);
  RECT client{};
  GetClientRect(window, &client);
  // Wine does not answer WM_GETICON across processes; there the X side shows the icons.
  DWORD_PTR bigIcon = 0, smallIcon = 0;
  const bool iconsRead =
      SendMessageTimeoutW(window, WM_GETICON, ICON_BIG, 0, SMTO_ABORTIFHUNG, 2000, &bigIcon) &&
      SendMessageTimeoutW(window, WM_GETICON, ICON_SMALL, 0, SMTO_ABORTIFHUNG, 2000, &smallIcon);
  std::printf("pid=%lu\n", pid);
  std::printf("class=%s\n", Narrow(className).c_str());
  std::printf("caption=%s\n", Narrow(TextOf(window)).c_str());
  std::printf("style=0x%08lx\n", static_cast<unsigned long>(GetWindowLongW(window, GWL_STYLE)));
  std::printf("exstyle=0x%08lx\n", static_cast<unsigned long>(GetWindowLongW(window, GWL_EXSTYLE)));
  std::printf("client=%ldx%ld\n", client.right, client.bottom);
  RECT frame{};
  GetWindowRect(window, &frame);
  PrintRect("window", frame);
  std::printf("screen=%dx%d\n", GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  if (iconsRead) std::printf("big_icon=%d\nsmall_icon=%d\n", bigIcon != 0, smallIcon != 0);
  if (HWND face = GetDlgItem(window, kFaceId)) PrintRect("face", ChildRect(window, face));
  if (HWND label = GetDlgItem(window, kLabelId)) {
    PrintRect("label", ChildRect(window, label));
    std::printf("label_text=%s\n", Narrow(TextOf(label)).c_str());
  }
}

bool WriteBmp(const char* path, int width, int height, const std::vector<std::uint32_t>& pixels) {
  FILE* f = std::fopen(path, "wb");
  if (f == nullptr) return false;
  BITMAPINFOHEADER info{};
  info.biSize = sizeof(info);
  info.biWidth = width;
  info.biHeight = -height;
  info.biPlanes = 1;
  info.biBitCount = 32;
  info.biCompression = BI_RGB;
  const DWORD dataSize = static_cast<DWORD>(pixels.size() * 4);
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof(file) + sizeof(info);
  file.bfSize = file.bfOffBits + dataSize;
  bool ok = std::fwrite(&file, sizeof(file), 1, f) == 1 && std::fwrite(&info, sizeof(info), 1, f) == 1 &&
            std::fwrite(pixels.data(), 1, dataSize, f) == dataSize;
  return std::fclose(f) == 0 && ok;
}

std::size_t ColoursIn(const std::vector<std::uint32_t>& pixels, int width, const RECT& area) {
  std::set<std::uint32_t> colours;
  for (LONG y = area.top; y < area.bottom; ++y) {
    for (LONG x = area.left; x < area.right; ++x) colours.insert(pixels[y * width + x] & 0xFFFFFF);
  }
  return colours.size();
}

int Shot(HWND window, const char* path) {
  RECT client{};
  GetClientRect(window, &client);
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  const int width = client.right, height = client.bottom;
  if (width <= 0 || height <= 0) return 1;

  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, origin.x, origin.y, SRCCOPY);
  GdiFlush();
  std::vector<std::uint32_t> pixels(static_cast<const std::uint32_t*>(bits),
                                    static_cast<const std::uint32_t*>(bits) + width * height);
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);

  if (!WriteBmp(path, width, height, pixels)) return 1;
  auto clip = [&](RECT r) {
    r.left = std::max(0L, r.left), r.top = std::max(0L, r.top);
    r.right = std::min(static_cast<LONG>(width), r.right);
    r.bottom = std::min(static_cast<LONG>(height), r.bottom);
    return r;
  };
  if (HWND face = GetDlgItem(window, kFaceId)) {
    std::printf("face_colors=%zu\n", ColoursIn(pixels, width, clip(ChildRect(window, face))));
  }
  if (HWND label = GetDlgItem(window, kLabelId)) {
    std::printf("label_colors=%zu\n", ColoursIn(pixels, width, clip(ChildRect(window, label))));
  }
  return 0;
}

int Usage() {
  std::fprintf(stderr, "usage: halyard-inspect wait|gone SECONDS | close | sysclose | escape | shot FILE.bmp | move X Y\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage();
  const std::string command = argv[1];
  const double seconds = argc >= 3 ? std::atof(argv[2]) : 10;

  if (command == "wait") {
    HWND window = WaitForClock(seconds, true);
    if (window == nullptr) return 1;
    PrintFacts(window);
    return 0;
  }
  if (command == "gone") {
    const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(seconds * 1000);
    while (FindClock() != nullptr) {
      if (GetTickCount64() >= end) return 1;
      Sleep(100);
    }
    return 0;
  }

  HWND window = FindClock();
  if (window == nullptr) return 1;
  if (command == "close") return PostMessageW(window, WM_CLOSE, 0, 0) ? 0 : 1;
  if (command == "sysclose") return PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0) ? 0 : 1;
  if (command == "escape") {
    // Posted to the dialog itself, the key reaches the loop's dialog keyboard handling.
    const LPARAM down = 1 | (MapVirtualKeyW(VK_ESCAPE, MAPVK_VK_TO_VSC) << 16);
    PostMessageW(window, WM_KEYDOWN, VK_ESCAPE, down);
    return PostMessageW(window, WM_KEYUP, VK_ESCAPE, down | 0xC0000000) ? 0 : 1;
  }
  if (command == "shot" && argc >= 3) return Shot(window, argv[2]);
  if (command == "move" && argc >= 4) {
    return SetWindowPos(window, nullptr, std::atoi(argv[2]), std::atoi(argv[3]), 0, 0,
                        SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE) ? 0 : 1;
  }
  return Usage();
}
