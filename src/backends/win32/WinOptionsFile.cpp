#include <windows.h>

#include <cstdint>
#include <string>

#include "options/Utf8Decoder.h"
#include "platform/window/OptionsPath.h"
#include "platform/window/Utf8Encoder.h"

namespace halyard {

namespace {

// Paths travel as UTF-8 inside the program and as UTF-16 at the system calls.
// Unpaired surrogates, which Windows allows in names, are carried through as
// three-byte sequences, so the round trip never loses a character.
std::string WideToUtf8(const std::wstring& wide) {
  std::string out;
  out.reserve(wide.size());
  for (std::size_t i = 0; i < wide.size(); ++i) {
    std::uint32_t c = static_cast<std::uint16_t>(wide[i]);
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < wide.size()) {
      const std::uint32_t low = static_cast<std::uint16_t>(wide[i + 1]);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
        ++i;
      }
    }
    AppendUtf8(out, static_cast<char32_t>(c));
  }
  return out;
}

// The inverse of WideToUtf8; a byte that starts no valid sequence becomes U+FFFD.
std::wstring Utf8ToWide(const std::string& text) {
  std::wstring out;
  out.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    char32_t c = 0;
    if (NextUtf8(text, i, c, Surrogates::Allow) != Utf8Step::Character) {
      out += L'\xFFFD';
      continue;
    }
    if (c >= 0x10000) {
      out += static_cast<wchar_t>(0xD800 + ((c - 0x10000) >> 10));
      out += static_cast<wchar_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
      out += static_cast<wchar_t>(c);
    }
  }
  return out;
}

// A long absolute path gets the "\\?\" prefix so that it is not cut at MAX_PATH.
std::wstring SystemPath(const std::string& path) {
  std::wstring wide = Utf8ToWide(path);
  if (wide.size() < MAX_PATH - 12 || wide.rfind(L"\\\\?\\", 0) == 0 || wide.rfind(L"\\\\.\\", 0) == 0) return wide;
  std::wstring full(wide.size() + 16, L'\0');
  for (;;) {
    const DWORD length = GetFullPathNameW(wide.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (length == 0) return wide;
    if (length < full.size()) {
      full.resize(length);
      break;
    }
    full.resize(length + 1);
  }
  if (full.rfind(L"\\\\", 0) == 0) return L"\\\\?\\UNC\\" + full.substr(2);
  if (full.size() >= 3 && full[1] == L':' && full[2] == L'\\') return L"\\\\?\\" + full;
  return wide;
}

class WinOptionsFile final : public OptionsFileSource {
 public:
  ReadResult ReadFile(const std::string& path, std::size_t limit, std::string& bytes) override;
};

class FileHandle {
 public:
  explicit FileHandle(HANDLE handle) : handle_(handle) {}
  ~FileHandle() {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
  }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};

OptionsFileSource::ReadResult WinOptionsFile::ReadFile(const std::string& path, std::size_t limit, std::string& bytes) {
  bytes.clear();
  const std::wstring name = SystemPath(path);

  // Existence test first: a directory or a volume label counts as absent.
  WIN32_FILE_ATTRIBUTE_DATA attributes{};
  if (!GetFileAttributesExW(name.c_str(), GetFileExInfoStandard, &attributes)) {
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND || error == ERROR_INVALID_NAME ||
        error == ERROR_BAD_NETPATH || error == ERROR_BAD_PATHNAME || error == ERROR_INVALID_DRIVE ||
        error == ERROR_FILENAME_EXCED_RANGE) {
      return ReadResult::Absent;
    }
    // Present but not even its attributes can be had: fall through to the open.
  } else if ((attributes.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | 0x08)) != 0) {
    return ReadResult::Absent;
  }

  // Shared for reading and writing, so an editor holding the file open neither
  // blocks the clock nor is blocked by it; nothing is ever written.
  FileHandle file(CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (file.get() == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return ReadResult::Absent;
    return ReadResult::Unreadable;
  }
  // Only disk files are read: consoles, pipes and devices ("CON", "NUL",
  // "\\.\pipe\...") could block or never end, and are refused here.
  if (GetFileType(file.get()) != FILE_TYPE_DISK) return ReadResult::Unreadable;

  std::size_t capacity = limit;
  LARGE_INTEGER size{};
  if (GetFileSizeEx(file.get(), &size) && size.QuadPart >= 0 &&
      static_cast<std::uint64_t>(size.QuadPart) < limit) {
    capacity = static_cast<std::size_t>(size.QuadPart) + 1;  // one more byte notices growth
  }
  bytes.resize(capacity);
  std::size_t filled = 0;
  while (filled < limit) {
    if (filled == bytes.size()) bytes.resize(bytes.size() * 2 < limit ? bytes.size() * 2 : limit);
    DWORD got = 0;
    const std::size_t want = bytes.size() - filled < (1u << 30) ? bytes.size() - filled : (1u << 30);
    if (!::ReadFile(file.get(), bytes.data() + filled, static_cast<DWORD>(want), &got, nullptr)) {
      bytes.clear();
      return ReadResult::Unreadable;
    }
    if (got == 0) break;
    filled += got;
  }
  bytes.resize(filled);
  return ReadResult::Read;
}

}  // namespace

std::string ExecutableFolder() {
  // The buffer grows until the whole module name fits; no MAX_PATH cut.
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return std::string();
    if (length < buffer.size()) {
      buffer.resize(length);
      break;
    }
    if (buffer.size() >= 0x10000) return std::string();  // beyond any Windows path
    buffer.resize(buffer.size() * 2);
  }
  const std::size_t separator = buffer.find_last_of(L"\\/");
  if (separator == std::wstring::npos) return std::string();
  return WideToUtf8(buffer.substr(0, separator + 1));
}

std::string OptionsPath() {
  const std::string folder = ExecutableFolder();
  return folder.empty() ? std::string() : folder + kOptionsFileName;
}

// A portable program: the file beside halyard.exe, and --options.
OptionsSearchFacts PlatformOptionsSearch() {
  OptionsSearchFacts facts;
  facts.programFolder = ExecutableFolder();
  return facts;
}

std::string ClockProgramFileName() { return "halyard.exe"; }

OptionsFileSource& PlatformOptionsFile() {
  static WinOptionsFile source;
  return source;
}

}  // namespace halyard
