// Measures the system clock against a time server on a thread of its own, so
// that neither the name lookup nor a server that never answers can delay a
// tick. The UI thread reads the latest status whenever it likes: a copy taken
// under a lock the worker holds only to publish, never across the network.
#pragma once

#include <chrono>
#include <memory>
#include <string>

#include "options/ServerName.h"
#include "platform/time/OffsetStatus.h"
#include "platform/time/SntpTransport.h"
#include "platform/time/TimeSource.h"

namespace halyard {

class OffsetMonitor {
 public:
  // Starts at once with a burst of kBurstSamples requests kSampleSpacing
  // apart, then follows SntpSchedule. `label` is the server as the operator
  // wrote it. T1 and T4 are read from `clock`, the clock the face shows.
  OffsetMonitor(ServerName server, std::string label, std::unique_ptr<SntpTransport> transport,
                SystemClock& clock);
  ~OffsetMonitor();
  OffsetMonitor(const OffsetMonitor&) = delete;
  OffsetMonitor& operator=(const OffsetMonitor&) = delete;

  static constexpr int kBurstSamples = 4;
  static constexpr std::chrono::seconds kSampleSpacing{2};

  // The latest status. A measurement the system clock has since been set
  // away from is dropped here, and the worker asked to measure again.
  OffsetStatus Status();
  // Waits until the first burst has ended or `limit` has passed (a one-off query).
  OffsetStatus WaitForFirstBurst(std::chrono::steady_clock::duration limit);

  struct Shared;

 private:
  std::shared_ptr<Shared> shared_;
};

}  // namespace halyard
