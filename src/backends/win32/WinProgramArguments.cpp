#include <windows.h>

#include "platform/window/ProgramArguments.h"

namespace halyard {
namespace {

std::string ToUtf8(const wchar_t* text) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (size <= 1) return std::string();
  std::string out(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), size, nullptr, nullptr);
  out.resize(static_cast<std::size_t>(size) - 1);
  return out;
}

// The wide command line keeps names the ANSI code page cannot hold. shell32
// is loaded here rather than linked, as nothing else of the program needs it.
std::vector<std::string> WideArguments() {
  std::vector<std::string> args;
  using Splitter = LPWSTR*(WINAPI*)(LPCWSTR, int*);
  HMODULE shell = LoadLibraryW(L"shell32.dll");
  if (!shell) return args;
  auto split = reinterpret_cast<Splitter>(reinterpret_cast<void*>(GetProcAddress(shell, "CommandLineToArgvW")));
  int count = 0;
  LPWSTR* list = split ? split(GetCommandLineW(), &count) : nullptr;
  for (int i = 1; list && i < count; ++i) args.push_back(ToUtf8(list[i]));
  if (list) LocalFree(list);
  FreeLibrary(shell);
  return args;
}

}  // namespace

std::vector<std::string> ProgramArguments(int, char**) {
  SetConsoleOutputCP(CP_UTF8);
  return WideArguments();
}

}  // namespace halyard
