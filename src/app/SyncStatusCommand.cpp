#include "app/SyncStatusCommand.h"

#include <algorithm>

namespace halyard {

bool WantsSyncStatus(const std::vector<std::string>& arguments) {
  return std::find(arguments.begin(), arguments.end(), "--sync-status") != arguments.end();
}

SyncStatusReport ReportSyncStatus(SyncSource& source) {
  const SyncHealth health = ClassifySync(source.Read());
  return {health.line, SyncExitStatus(health.state)};
}

bool SyncCheckArgument(const std::vector<std::string>& arguments) {
  bool on = false;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    if (arguments[i] == "--sync-check" && i + 1 < arguments.size()) {
      on = arguments[++i] == "on";
    } else if (arguments[i].starts_with("--sync-check=")) {
      on = arguments[i].substr(13) == "on";
    }
  }
  return on;
}

}  // namespace halyard
