#include "backends/win32/GdiObjectCount.h"

#include <windows.h>
#include <winternl.h>

namespace halyard {

namespace {

// One entry of the handle table that the PEB points to (x64 layout, 24 bytes);
// a non-zero type marks a live object.
struct GdiHandleEntry {
  std::uint64_t object;
  std::uint16_t processId;
  std::uint16_t count;
  std::uint16_t unique;
  std::uint8_t type;
  std::uint8_t flags;
  std::uint64_t user;
};
static_assert(sizeof(GdiHandleEntry) == 24);

constexpr std::size_t kPebGdiTableOffset = 0xF8;
constexpr std::size_t kTableEntries = 0x10000;

std::uint32_t CountTableEntries() {
  using QueryFunction = NTSTATUS(WINAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);
  const auto query = reinterpret_cast<QueryFunction>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
  PROCESS_BASIC_INFORMATION basic{};
  if (query == nullptr ||
      query(GetCurrentProcess(), ProcessBasicInformation, &basic, sizeof basic, nullptr) != 0) {
    return 0;
  }
  const auto* peb = reinterpret_cast<const std::uint8_t*>(basic.PebBaseAddress);
  const auto* table = *reinterpret_cast<const GdiHandleEntry* const*>(peb + kPebGdiTableOffset);
  if (table == nullptr) return 0;
  std::uint32_t live = 0;
  for (std::size_t i = 0; i < kTableEntries; ++i) {
    if (table[i].type != 0) ++live;
  }
  return live;
}

}  // namespace

std::uint32_t CountGdiObjects() {
  const DWORD reported = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  return reported != 0 ? reported : CountTableEntries();
}

}  // namespace halyard
