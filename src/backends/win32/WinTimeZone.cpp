// Time zones on Windows: the system's own, and the zones Windows knows by
// their key names ("W. Europe Standard Time"), with each year's rules read
// from the system at every reading. Windows gives no abbreviations.
#include <windows.h>

#include <cwchar>

#include "platform/time/TimeZone.h"

namespace halyard {
namespace {

constexpr std::int64_t kTicksPerSecond = 10'000'000;
constexpr std::int64_t kSecondsFrom1601To1970 = 11'644'473'600;

// Vista and later; looked up so that the program loads wherever it runs.
using ZoneRulesForYear = BOOL(WINAPI*)(USHORT, PDYNAMIC_TIME_ZONE_INFORMATION, LPTIME_ZONE_INFORMATION);

ZoneRulesForYear RulesForYear() {
  static const auto function = reinterpret_cast<ZoneRulesForYear>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "GetTimeZoneInformationForYear")));
  return function;
}

bool ToSystemTime(std::chrono::sys_seconds utc, SYSTEMTIME& fields) {
  const std::int64_t seconds = utc.time_since_epoch().count() + kSecondsFrom1601To1970;
  if (seconds < 0) return false;
  const auto ticks = static_cast<std::uint64_t>(seconds) * kTicksPerSecond;
  const FILETIME file{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
  return FileTimeToSystemTime(&file, &fields) != 0;
}

// The offset from `utc` to `local`, the same instant's fields in the zone.
std::optional<ZoneState> StateOf(const SYSTEMTIME& utc, const SYSTEMTIME& local) {
  FILETIME utcFile{}, localFile{};
  if (!SystemTimeToFileTime(&utc, &utcFile) || !SystemTimeToFileTime(&local, &localFile)) return std::nullopt;
  const auto ticks = [](const FILETIME& f) {
    return static_cast<std::int64_t>((static_cast<std::uint64_t>(f.dwHighDateTime) << 32) | f.dwLowDateTime);
  };
  return ZoneState{std::chrono::seconds{(ticks(localFile) - ticks(utcFile)) / kTicksPerSecond}, {}};
}

class SystemZone final : public TimeZone {
 public:
  std::optional<ZoneState> At(std::chrono::sys_seconds utc) override {
    SYSTEMTIME utcFields{}, localFields{};
    // The zone in force now, as the system is set at this moment.
    if (!ToSystemTime(utc, utcFields) || !SystemTimeToTzSpecificLocalTime(nullptr, &utcFields, &localFields)) {
      return std::nullopt;
    }
    return StateOf(utcFields, localFields);
  }
};

class KeyZone final : public TimeZone {
 public:
  explicit KeyZone(const DYNAMIC_TIME_ZONE_INFORMATION& key) : key_(key) {}
  std::optional<ZoneState> At(std::chrono::sys_seconds utc) override {
    SYSTEMTIME utcFields{}, localFields{};
    if (!ToSystemTime(utc, utcFields) || !LocalTime(utcFields, utcFields.wYear, localFields)) return std::nullopt;
    // Around New Year the zone's own year may be the other one, whose rules then count.
    if (localFields.wYear != utcFields.wYear && !LocalTime(utcFields, localFields.wYear, localFields)) {
      return std::nullopt;
    }
    return StateOf(utcFields, localFields);
  }

 private:
  bool LocalTime(const SYSTEMTIME& utc, WORD year, SYSTEMTIME& local) {
    TIME_ZONE_INFORMATION rules{};
    const ZoneRulesForYear rulesForYear = RulesForYear();
    return rulesForYear != nullptr && rulesForYear(year, &key_, &rules) &&
           SystemTimeToTzSpecificLocalTime(&rules, &utc, &local);
  }

  DYNAMIC_TIME_ZONE_INFORMATION key_;
};

}  // namespace

std::unique_ptr<TimeZone> PlatformTimeZone(std::string_view name) {
  if (name == kLocalZoneName) return std::make_unique<SystemZone>();
  // Key names are short printable ASCII; a backslash would reach into another registry key.
  DYNAMIC_TIME_ZONE_INFORMATION key{};
  constexpr std::size_t kKeyChars = sizeof key.TimeZoneKeyName / sizeof key.TimeZoneKeyName[0];
  if (name.empty() || name.size() >= kKeyChars) return nullptr;
  for (std::size_t i = 0; i < name.size(); ++i) {
    if (name[i] < ' ' || name[i] > '~' || name[i] == '\\') return nullptr;
    key.TimeZoneKeyName[i] = static_cast<WCHAR>(name[i]);
  }
  // A zone is one whose rules the system gives for this year.
  SYSTEMTIME now{};
  GetSystemTime(&now);
  TIME_ZONE_INFORMATION rules{};
  const ZoneRulesForYear rulesForYear = RulesForYear();
  if (rulesForYear == nullptr || !rulesForYear(now.wYear, &key, &rules)) return nullptr;
  return std::make_unique<KeyZone>(key);
}

}  // namespace halyard
