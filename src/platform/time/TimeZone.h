// A time zone as the system's zone rules describe it: its offset from UTC and
// its abbreviation at any instant.
#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace halyard {

// What a zone's rules say of one instant.
struct ZoneState {
  std::chrono::seconds offset{0};  // the zone's time minus UTC
  std::string abbreviation;        // "CET", "+0545"; empty where the system names none (Windows)

  bool operator==(const ZoneState&) const = default;
};

class TimeZone {
 public:
  virtual ~TimeZone() = default;
  // The state in force at `utc`, from the rules as they are now; none when
  // they cannot be read, so that a failure is never shown as a time.
  virtual std::optional<ZoneState> At(std::chrono::sys_seconds utc) = 0;
};

// The word that names the system's own zone, followed as it changes.
inline constexpr std::string_view kLocalZoneName = "local";

// `kLocalZoneName`, or a zone name the platform knows: an IANA name from the
// system's zone database on Linux, a time-zone key name on Windows. Null for
// a name it does not know.
std::unique_ptr<TimeZone> PlatformTimeZone(std::string_view name);

// Whether PlatformTimeZone knows `name`: the settings' zone check.
inline bool PlatformKnowsTimeZone(std::string_view name) { return PlatformTimeZone(name) != nullptr; }

}  // namespace halyard
