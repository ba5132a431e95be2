#include "app/SyncStatusCommand.h"

#include "options/ServerName.h"
#include "platform/time/OffsetMonitor.h"

namespace halyard {

SyncStatusReport ReportSyncStatus(SyncSource& source) {
  const SyncHealth health = ClassifySync(source.Read());
  return {health.line, SyncExitStatus(health.state)};
}

SyncStatusReport ReportSyncStatus(const ClockSettings& settings, SyncSource& source, SystemClock& clock) {
  SyncStatusReport report = ReportSyncStatus(source);
  const std::optional<ServerName> server = ParseServerName(settings.ntpServer);
  if (!server) return report;
  OffsetMonitor monitor(*server, settings.ntpServer, MakePlatformSntpTransport(), clock);
  OffsetStatus status = monitor.WaitForFirstBurst(kSyncStatusBurstLimit);
  if (status.state == OffsetStatus::State::Measuring) {
    report.line += "\nno answer from " + settings.ntpServer + " within " +
                   std::to_string(kSyncStatusBurstLimit.count()) + " s";
    return report;
  }
  report.line += "\n" + OffsetStatusLine(status);
  if (OffsetToMark(status, settings.offsetLimit)) report.exitStatus = 1;
  return report;
}

}  // namespace halyard
