// `halyard --sync-status`: one line on the state of the system clock and an
// exit status a script can test, without opening a window.
#pragma once

#include <string>
#include <vector>

#include "platform/time/SyncHealth.h"

namespace halyard {

struct SyncStatusReport {
  std::string line;  // without a line end
  int exitStatus = 2;  // 0 synchronised, 1 not synchronised, 2 unknown
};

SyncStatusReport ReportSyncStatus(SyncSource& source = PlatformSyncSource());

}  // namespace halyard
