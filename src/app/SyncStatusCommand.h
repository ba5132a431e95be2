// `halyard --sync-status`: one line on the state of the system clock and an
// exit status a script can test, without opening a window; with a time server
// named, a second line with the offset one burst measured.
#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "options/ClockSettings.h"
#include "platform/time/SyncHealth.h"
#include "platform/time/TimeSource.h"

namespace halyard {

struct SyncStatusReport {
  std::string line;  // without a line end; two lines with a server named
  int exitStatus = 2;  // 0 synchronised, 1 not synchronised or beyond the offset limit, 2 unknown
};

SyncStatusReport ReportSyncStatus(SyncSource& source = PlatformSyncSource());

// The longest a query waits for its burst, the name lookup included.
inline constexpr std::chrono::seconds kSyncStatusBurstLimit{10};

// The same; with `settings.ntpServer` set, one burst against it follows
// (at most kSyncStatusBurstLimit) and an offset surely beyond
// `settings.offsetLimit` makes the exit status 1.
SyncStatusReport ReportSyncStatus(const ClockSettings& settings, SyncSource& source = PlatformSyncSource(),
                                  SystemClock& clock = PlatformClock());

}  // namespace halyard
