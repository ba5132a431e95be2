// The zone module: named zones from the system's zone database
// (/usr/share/zoneinfo) through the date/tz library, which reads a zone
// without touching the process's TZ, so no other thread ever sees the
// environment or the C library's zone change. Nothing thrown leaves it.
#include <algorithm>
#include <chrono>
#include <cstring>
#include <string_view>

#include <date/tz.h>

#include "backends/tzdb/ZoneModuleInterface.h"

namespace {

// Looked up by hand rather than with locate_zone, whose answer to an unknown
// name is an exception.
const ZoneModuleZone* FindZone(const char* name, size_t length) noexcept {
  try {
    const std::string_view wanted(name, length);
    const auto& zones = date::get_tzdb().zones;
    const auto found = std::lower_bound(zones.begin(), zones.end(), wanted,
                                        [](const date::time_zone& z, std::string_view n) { return z.name() < n; });
    if (found == zones.end() || found->name() != wanted) return nullptr;
    // A zone's file is read when first asked: one that cannot be read is not a zone.
    found->get_info(std::chrono::sys_seconds{});
    return reinterpret_cast<const ZoneModuleZone*>(&*found);
  } catch (...) {
    return nullptr;  // no database, or an unreadable file
  }
}

int ZoneAt(const ZoneModuleZone* zone, long long utc, long long* offsetSeconds, char* abbreviation,
           size_t capacity) noexcept {
  try {
    const auto& rules = *reinterpret_cast<const date::time_zone*>(zone);
    const date::sys_info info = rules.get_info(std::chrono::sys_seconds{std::chrono::seconds{utc}});
    if (info.abbrev.size() >= capacity) return 0;
    std::memcpy(abbreviation, info.abbrev.c_str(), info.abbrev.size() + 1);
    *offsetSeconds = std::chrono::duration_cast<std::chrono::seconds>(info.offset).count();
    return 1;
  } catch (...) {
    return 0;  // the zone's file could not be read
  }
}

constexpr ZoneModuleInterface kInterface{FindZone, ZoneAt};

}  // namespace

// Built with hidden visibility: this is the one symbol the module exports.
extern "C" __attribute__((visibility("default"))) const ZoneModuleInterface* halyard_zone_module_1(void) {
  return &kInterface;
}
