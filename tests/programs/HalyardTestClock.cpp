// The Linux clock for the X11 program tests, never installed: with
// HALYARD_TEST_CLOCK_OFFSET=N it shows the time N whole seconds ahead of the
// system's, so a test can put the clock just before a silent period; the
// ticks keep the system clock's phase.
#include <chrono>
#include <clocale>
#include <cstdlib>

#include "app/ClockProgram.h"
#include "app/ClockWindowHandler.h"
#include "app/ConsoleAnswers.h"
#include "platform/time/TimeSource.h"
#include "platform/window/ProgramArguments.h"

namespace {

class OffsetClock final : public halyard::SystemClock {
 public:
  explicit OffsetClock(std::chrono::seconds offset) : offset_(offset) {}
  halyard::ClockReading Read() override {
    halyard::ClockReading reading = halyard::PlatformClock().Read();
    reading.utc += offset_;
    return reading;
  }

 private:
  std::chrono::seconds offset_;
};

}  // namespace

int main(int argc, char** argv) {
  std::setlocale(LC_CTYPE, "");
  const char* offset = std::getenv("HALYARD_TEST_CLOCK_OFFSET");
  OffsetClock clock(std::chrono::seconds{offset != nullptr ? std::strtoll(offset, nullptr, 10) : 0});
  if (offset != nullptr) halyard::SetHandlerClock(&clock);
  halyard::ConsoleAnswers answers;
  return halyard::RunClockProgram(halyard::ProgramArguments(argc, argv), answers);
}
