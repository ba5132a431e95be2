#include "backends/win32/WaitableTickTimer.h"

#ifndef CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
#define CREATE_WAITABLE_TIMER_HIGH_RESOLUTION 0x00000002
#endif

namespace halyard {

namespace {

using CreateTimerExFunction = HANDLE(WINAPI*)(LPSECURITY_ATTRIBUTES, LPCWSTR, DWORD, DWORD);

// Looked up, not linked: a system without it must still load the program.
CreateTimerExFunction CreateTimerEx() {
  static const auto function = reinterpret_cast<CreateTimerExFunction>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "CreateWaitableTimerExW")));
  return function;
}

}  // namespace

WaitableTickTimer::WaitableTickTimer() {
  // The high-resolution kind exists from Windows 10 1803 on; older systems
  // refuse the flag, and a plain timer does.
  if (const CreateTimerExFunction create = CreateTimerEx()) {
    timer_ = create(nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION, TIMER_ALL_ACCESS);
    highResolution_ = timer_ != nullptr;
  }
  if (timer_ == nullptr) timer_ = CreateWaitableTimerW(nullptr, FALSE, nullptr);
}

WaitableTickTimer::~WaitableTickTimer() {
  if (timer_ != nullptr) CloseHandle(timer_);
}

bool WaitableTickTimer::Arm(std::chrono::microseconds delay) {
  if (timer_ == nullptr) return false;
  // Negative: relative, in units of 100 ns.
  LARGE_INTEGER due{};
  due.QuadPart = -(delay.count() > 0 ? static_cast<LONGLONG>(delay.count()) * 10 : 1);
  return SetWaitableTimer(timer_, &due, 0, nullptr, nullptr, FALSE) != 0;
}

void WaitableTickTimer::Cancel() {
  if (timer_ != nullptr) CancelWaitableTimer(timer_);
}

}  // namespace halyard
