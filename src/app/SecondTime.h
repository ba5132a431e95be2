// The second time beside UTC: a zone's time of day with its label, read at
// each repaint from the zone's rules as they are then, so a daylight-saving
// change or a new system zone shows at the next repaint.
#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>

#include "platform/time/TimeZone.h"

namespace halyard {

class SecondTime {
 public:
  // `zone` as the setting names it (`name`: "local" or a zone name); null
  // when it cannot be had, and then the time shows as unknown. `label` is the
  // label setting, empty for the zone's abbreviation.
  SecondTime(std::unique_ptr<TimeZone> zone, std::string name, std::string label);

  // Reads the zone's time at `utc`.
  void Read(std::chrono::sys_seconds utc);

  // "15:05:09 CET"; "--:--:-- CET" when the zone's rules could not be read.
  const std::string& Legend() const { return legend_; }
  // "Local: 15:05:09 CET (UTC+01:00)", "Asia/Kathmandu: 20:50:09 +0545 (UTC+05:45)".
  std::string TooltipLine() const;
  // What the zone's rules said at the last reading; none when they could not be read.
  const std::optional<ZoneState>& State() const { return state_; }

 private:
  std::unique_ptr<TimeZone> zone_;
  std::string name_;
  std::string label_;
  std::optional<ZoneState> state_;
  std::string time_;    // "15:05:09"
  std::string legend_;  // kept from reading to reading: a repaint allocates nothing
};

// An abbreviation made of the offset where the system names none, as the
// zone database writes it: "+01", "-03", "+0545".
std::string NumericZoneAbbreviation(std::chrono::seconds offset);

}  // namespace halyard
