// Whether Windows is adjusting its clock, which is how its time service
// disciplines it. The function exists from Windows 10 on and not in Wine 8:
// looked up at run time, so halyard.exe still loads where it is missing.
#include <windows.h>

#include <string>

#include "platform/time/SyncHealth.h"

namespace halyard {
namespace {

using AdjustmentFunction = BOOL(WINAPI*)(PDWORD64, PDWORD64, PBOOL);

AdjustmentFunction FindAdjustmentFunction() {
  HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
  if (kernel == nullptr) return nullptr;
  return reinterpret_cast<AdjustmentFunction>(
      reinterpret_cast<void*>(GetProcAddress(kernel, "GetSystemTimeAdjustmentPrecise")));
}

class WinSyncSource final : public SyncSource {
 public:
  SyncReading Read() override {
    static const AdjustmentFunction function = FindAdjustmentFunction();
    SyncReading reading;
    if (function == nullptr) {
      reading.kind = SyncReading::Kind::Missing;
      reading.failure = "this system cannot tell (no GetSystemTimeAdjustmentPrecise)";
      return reading;
    }
    DWORD64 adjustment = 0, increment = 0;
    BOOL disabled = TRUE;
    if (!function(&adjustment, &increment, &disabled)) {
      reading.kind = SyncReading::Kind::Failed;
      reading.failure = "GetSystemTimeAdjustmentPrecise failed (error " + std::to_string(GetLastError()) + ")";
      return reading;
    }
    reading.kind = SyncReading::Kind::WindowsAdjustment;
    reading.adjustmentDisabled = disabled != FALSE;
    return reading;
  }
};

}  // namespace

SyncSource& PlatformSyncSource() {
  static WinSyncSource source;
  return source;
}

}  // namespace halyard
