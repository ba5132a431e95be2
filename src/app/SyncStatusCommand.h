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

// Whether the arguments (after the program's name) ask for the status.
bool WantsSyncStatus(const std::vector<std::string>& arguments);

SyncStatusReport ReportSyncStatus(SyncSource& source = PlatformSyncSource());

// Until the settings table reads it: "--sync-check=on" (or "--sync-check on")
// turns the face's mark on; "off" or any other value leaves it off.
bool SyncCheckArgument(const std::vector<std::string>& arguments);

}  // namespace halyard
