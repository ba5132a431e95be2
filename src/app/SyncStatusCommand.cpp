#include "app/SyncStatusCommand.h"

namespace halyard {

SyncStatusReport ReportSyncStatus(SyncSource& source) {
  const SyncHealth health = ClassifySync(source.Read());
  return {health.line, SyncExitStatus(health.state)};
}

}  // namespace halyard
