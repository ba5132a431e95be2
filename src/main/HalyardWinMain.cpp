// Entry point of halyard.exe. The clock takes no arguments; any given are ignored.
#include <windows.h>

#include "app/RunClock.h"

#ifdef HALYARD_FULL_SPEED_TIMER
#include "app/ClockWindowHandler.h"
#include "platform/time/TimeSource.h"

namespace {

// Test build: every tick shows the next second, so a few minutes at full speed
// pass through many hours of faces and every change of the status line.
class SteppingClock final : public halyard::SystemClock {
 public:
  halyard::ClockReading Read() override {
    if (step_ == 0) start_ = halyard::PlatformClock().Read();
    halyard::ClockReading reading = start_;
    reading.utc += std::chrono::seconds{step_++};
    return reading;
  }

 private:
  halyard::ClockReading start_{};
  long long step_ = 0;
};

}  // namespace
#endif

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
#ifdef HALYARD_FULL_SPEED_TIMER
  static SteppingClock clock;
  halyard::SetHandlerClock(&clock);
#endif
  return halyard::RunClock();
}
