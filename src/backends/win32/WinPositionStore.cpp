#include <windows.h>

#include <string>

#include "platform/window/PositionStore.h"

namespace halyard {

namespace {

std::string Utf8(const std::wstring& wide) {
  if (wide.empty()) return {};
  const int size = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
  if (size > 0) WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), out.data(), size, nullptr, nullptr);
  return out;
}

std::string SystemError(const std::wstring& path) {
  return Utf8(path) + ": error " + std::to_string(GetLastError());
}

class WinPositionStore final : public PositionStore {
 public:
  std::string Path() const override {
    const std::wstring folder = Folder();
    return folder.empty() ? std::string() : Utf8(folder + L"\\position");
  }

  bool Write(std::string_view text, std::string& error) override {
    const std::wstring folder = Folder();
    if (folder.empty()) {
      error = "LOCALAPPDATA names no folder";
      return false;
    }
    if (!CreateDirectoryW(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
      error = SystemError(folder);
      return false;
    }
    const std::wstring path = folder + L"\\position";
    const std::wstring temporary = path + L".new." + std::to_wstring(GetCurrentProcessId());
    HANDLE file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
      error = SystemError(temporary);
      return false;
    }
    DWORD wrote = 0;
    const bool written = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &wrote, nullptr) &&
                         wrote == text.size();
    const bool closed = CloseHandle(file) != 0;
    // The new file replaces the old one whole, or not at all.
    if (!written || !closed || !MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
      error = SystemError(path);
      DeleteFileW(temporary.c_str());
      return false;
    }
    return true;
  }

 private:
  // %LOCALAPPDATA%\HALYARD, when LOCALAPPDATA is an absolute path.
  static std::wstring Folder() {
    wchar_t buffer[MAX_PATH];
    const DWORD length = GetEnvironmentVariableW(L"LOCALAPPDATA", buffer, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return {};
    const std::wstring base(buffer, length);
    const bool absolute = (base.size() >= 3 && base[1] == L':' && (base[2] == L'\\' || base[2] == L'/')) ||
                          base.rfind(L"\\\\", 0) == 0;
    return absolute ? base + L"\\HALYARD" : std::wstring();
  }
};

}  // namespace

PositionStore& PlatformPositionStore() {
  static WinPositionStore store;
  return store;
}

}  // namespace halyard
