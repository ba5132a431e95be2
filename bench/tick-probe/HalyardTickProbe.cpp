// Measures how far after a half-second boundary of the wall clock each tick of
// the real window lands: the clock's phase-locked timer 100 beside a plain
// 500 ms timer 102 started at the same moment, in one run.
//   halyard-tick-probe [SECONDS [NTP-SERVER]]   (needs an X display)
// With a time server the clock measures its offset as it runs, with
// sync-check on, so each tick also reads the measurement's status.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "app/ClockWindowHandler.h"
#include "app/ClockWindowSetup.h"
#include "options/ServerName.h"
#include "platform/time/TickPhase.h"
#include "platform/window/WindowHost.h"

namespace {

// Not 101, the window's own tooltip timer, which it keeps to itself.
constexpr std::uint32_t kPlainTimerId = 102;
std::vector<long> g_locked, g_plain;
long g_wantedTicks = 240;

std::int32_t ProbeHandler(halyard::WindowHandle window, std::uint32_t message, std::uint32_t wParam,
                          std::int32_t lParam) {
  const long offset = halyard::OffsetPastHalfSecond(halyard::PlatformClock().Read().utc).count();
  if (message == halyard::kEventTimer && wParam == halyard::kClockTimerId) g_locked.push_back(offset);
  if (message == halyard::kEventTimer && wParam == kPlainTimerId) g_plain.push_back(offset);
  halyard::ClockWindowHandler(window, message, wParam, lParam);
  if (message == halyard::kEventInitialise) window->StartTimer(kPlainTimerId, 500);
  if (static_cast<long>(g_locked.size()) >= g_wantedTicks && message == halyard::kEventTimer) window->EndWindow();
  return 0;
}

void Report(const char* name, std::vector<long> offsets) {
  if (offsets.empty()) {
    std::printf("%-22s no ticks\n", name);
    return;
  }
  std::sort(offsets.begin(), offsets.end());
  const auto at = [&](double q) { return offsets[static_cast<std::size_t>(q * static_cast<double>(offsets.size() - 1))]; };
  const long within10 = std::count_if(offsets.begin(), offsets.end(), [](long v) { return v <= 10; });
  std::printf("%-22s ticks %4zu  median %3ld ms  p95 %3ld ms  max %3ld ms  within 10 ms %5.1f%%\n", name,
              offsets.size(), at(0.5), at(0.95), offsets.back(), 100.0 * static_cast<double>(within10) / static_cast<double>(offsets.size()));
}

}  // namespace

int main(int argc, char** argv) {
  const long seconds = argc > 1 ? std::atol(argv[1]) : 120;
  g_wantedTicks = std::max(2L, seconds * 2);
  auto platform = halyard::MakeClockWindowPlatform();
  if (!platform) {
    std::fprintf(stderr, "halyard-tick-probe: no window could be made (no display?)\n");
    return 1;
  }
  halyard::CurrentClockOptions() = halyard::DefaultClockOptions();
  std::unique_ptr<halyard::OffsetMonitor> offset;
  if (argc > 2) {
    const std::optional<halyard::ServerName> server = halyard::ParseServerName(argv[2]);
    if (!server) {
      std::fprintf(stderr, "halyard-tick-probe: bad server '%s'\n", argv[2]);
      return 2;
    }
    halyard::CurrentClockSettings().syncCheck = true;
    offset = std::make_unique<halyard::OffsetMonitor>(*server, argv[2], halyard::MakePlatformSntpTransport(),
                                                       halyard::PlatformClock());
    halyard::ClockOffsetMonitor() = offset.get();
  }
  const halyard::WindowHandle window = halyard::PrepareClockWindow(*platform, halyard::CurrentClockOptions());
  if (window == nullptr) return 1;
  ProbeHandler(window, halyard::kEventInitialise, 0, 0);
  platform->Show();
  platform->RunEventLoop(&ProbeHandler);
  std::printf("offset of each tick after a half-second boundary of the wall clock, %ld s:\n", seconds);
  Report("phase-locked (100)", g_locked);
  Report("plain 500 ms (102)", g_plain);
  if (offset) std::printf("%s\n", halyard::OffsetStatusLine(offset->Status(), std::chrono::steady_clock::now()).c_str());
  halyard::ClockOffsetMonitor() = nullptr;
  return 0;
}
