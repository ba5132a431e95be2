// The kernel's view of its own clock: adjtimex with no modes only reads, needs
// no privilege and returns at once.
#include <sys/timex.h>

#include <cerrno>
#include <cstring>
#include <ctime>

#include "platform/time/SyncHealth.h"

namespace halyard {
namespace {

static_assert(TIME_ERROR == kKernelTimeError);

class PosixSyncSource final : public SyncSource {
 public:
  SyncReading Read() override {
    SyncReading reading;
    timex query{};
    query.modes = 0;
    const int state = adjtimex(&query);
    if (state == -1) {
      const int error = errno;
      reading.kind = SyncReading::Kind::Failed;
      char text[128] = "unknown error";
      // The GNU strerror_r returns its text, which may not be in the buffer.
      const char* message = strerror_r(error, text, sizeof text);
      reading.failure = std::string("adjtimex: ") + message;
      return reading;
    }
    reading.kind = SyncReading::Kind::Kernel;
    reading.clockState = state;
    reading.maxErrorMicros = query.maxerror;
    timespec boot{};
    if (clock_gettime(CLOCK_BOOTTIME, &boot) == 0) reading.sinceBoot = std::chrono::seconds{boot.tv_sec};
    return reading;
  }
};

}  // namespace

SyncSource& PlatformSyncSource() {
  static PosixSyncSource source;
  return source;
}

}  // namespace halyard
