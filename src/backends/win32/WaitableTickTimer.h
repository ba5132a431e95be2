// The clock's tick as a waitable timer, which the message loop waits on beside
// its messages: a message timer is only as fine as the system's timer tick
// (often 15.6 ms), a high-resolution waitable timer lands within a millisecond
// or two of the time asked for, where the system offers one.
#pragma once

#include <windows.h>

#include <chrono>

namespace halyard {

class WaitableTickTimer {
 public:
  WaitableTickTimer();
  ~WaitableTickTimer();
  WaitableTickTimer(const WaitableTickTimer&) = delete;
  WaitableTickTimer& operator=(const WaitableTickTimer&) = delete;

  // False when no timer could be made: the caller keeps to a message timer.
  bool Valid() const { return timer_ != nullptr; }
  bool HighResolution() const { return highResolution_; }
  HANDLE Handle() const { return timer_; }

  // Signals once, `delay` from now (at once when not positive).
  bool Arm(std::chrono::microseconds delay);
  void Cancel();

 private:
  HANDLE timer_ = nullptr;
  bool highResolution_ = false;
};

}  // namespace halyard
