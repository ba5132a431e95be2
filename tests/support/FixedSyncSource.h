// A system that reports one sync reading, and counts how often it was asked.
#pragma once

#include <utility>

#include "platform/time/SyncHealth.h"

namespace halyard::testing {

class FixedSyncSource final : public SyncSource {
 public:
  explicit FixedSyncSource(SyncReading r) : reading(std::move(r)) {}
  SyncReading Read() override {
    ++reads;
    return reading;
  }
  SyncReading reading;
  int reads = 0;
};

// The kernel's word that the clock is synchronised, to within 2 ms.
inline SyncReading KernelSynchronised() {
  SyncReading r;
  r.kind = SyncReading::Kind::Kernel;
  r.maxErrorMicros = 2000;
  return r;
}

}  // namespace halyard::testing
