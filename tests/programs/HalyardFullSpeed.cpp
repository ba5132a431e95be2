// The Windows clock with its timer at full speed, for the Wine run that
// passes through many hours of faces, and every change of the status line, in
// a few minutes: the timer fires as often as a message timer may, and each
// tick shows the next second. On exit it reports its counts on stderr in one
// line, "full-speed: ticks=... wake-ups=... gdi-objects first=... last=...
// least=... most=...". With --polling-loop first among its arguments its
// message loop polls instead of blocking, to measure what blocking saves.
#include <windows.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "app/ClockProgram.h"
#include "app/ClockWindowHandler.h"
#include "app/ConsoleAnswers.h"
#include "backends/win32/GdiObjectCount.h"
#include "backends/win32/WinClockWindow.h"
#include "platform/time/TimeSource.h"
#include "platform/window/ProgramArguments.h"

namespace {

// Each reading is one second after the last, from the system's time at the
// first. The clock reads once a tick, so it also counts the ticks, and it
// looks at the GDI objects held every thousandth one (counting walks the whole
// handle table).
class SteppingClock final : public halyard::SystemClock {
 public:
  halyard::ClockReading Read() override {
    if (step_ == 0) start_ = halyard::PlatformClock().Read();
    halyard::ClockReading reading = start_;
    reading.utc += std::chrono::seconds{step_++};
    if (step_ % 1000 == 0) Sample();
    return reading;
  }

  void Report() const {
    std::fprintf(stderr, "full-speed: ticks=%llu wake-ups=%llu gdi-objects first=%u last=%u least=%u most=%u\n",
                 static_cast<unsigned long long>(step_ > 0 ? step_ - 1 : 0),
                 static_cast<unsigned long long>(halyard::WinClockWindow::WakeUps()), first_, last_, least_, most_);
    std::fflush(stderr);
  }

 private:
  void Sample() {
    const std::uint32_t count = halyard::CountGdiObjects();
    if (first_ == 0) first_ = least_ = most_ = count;
    last_ = count;
    least_ = count < least_ ? count : least_;
    most_ = count > most_ ? count : most_;
  }

  halyard::ClockReading start_{};
  std::uint64_t step_ = 0;
  std::uint32_t first_ = 0, last_ = 0, least_ = 0, most_ = 0;
};

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  std::vector<std::string> args = halyard::ProgramArguments(0, nullptr);
  halyard::WinClockWindow::Pacing pacing;
  pacing.nextTick = [] { return std::chrono::milliseconds{USER_TIMER_MINIMUM}; };
  if (!args.empty() && args.front() == "--polling-loop") {
    pacing.polling = true;
    args.erase(args.begin());
  }
  SteppingClock clock;
  halyard::SetHandlerClock(&clock);
  halyard::ConsoleAnswers answers;
  const int status = halyard::RunClockProgram(args, answers, [&pacing] {
    return std::make_unique<halyard::WinClockWindow>(pacing);
  });
  clock.Report();
  return status;
}
