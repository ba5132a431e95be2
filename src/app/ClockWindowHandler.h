// The clock window's event handler and the state shared with start-up.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>

#include "app/SecondTime.h"
#include "face/DrawClock.h"
#include "options/ClockOptions.h"
#include "options/ClockSettings.h"
#include "platform/canvas/Canvas.h"
#include "platform/window/WindowHost.h"
#include "platform/time/OffsetMonitor.h"
#include "platform/time/SyncHealth.h"
#include "platform/time/TimeSource.h"
#include "platform/window/ClockWindowIds.h"

namespace halyard {

// Set once at start-up, constant afterwards.
ClockOptions& CurrentClockOptions();
// The named settings, set once at start-up with the options.
ClockSettings& CurrentClockSettings();
// 0 until the clock timer has been started.
std::uint32_t& ClockTimerHandle();
// The clock the handler reads; tests replace it.
void SetHandlerClock(SystemClock* clock);
// The UTC time the face shows now; none before the first repaint.
std::optional<ClockTime> ShownClockTime();
// Where the handler gets the zone of the second-time setting, when the clock
// starts; tests give their own. Null restores the platform's.
using TimeZoneMaker = std::unique_ptr<TimeZone> (*)(std::string_view name);
void SetHandlerTimeZones(TimeZoneMaker maker);
// The second time as the face shows it now; none while the setting is off.
const SecondTime* ShownSecondTime();
// What the system says of its clock, read at most every ten seconds; shared by
// the face's mark and the tooltip. Tests give it another source.
SyncMonitor& ClockSyncMonitor();
// The clock the face shows: the platform's unless a test gave another.
SystemClock& HandlerClock();
// The offset measurement against the `ntp-server` setting; none without one.
// Set by RunClock for the life of the window.
OffsetMonitor*& ClockOffsetMonitor();

// Always returns 0, so the platform's default handling follows every event.
std::int32_t ClockWindowHandler(WindowHandle window, std::uint32_t message, std::uint32_t wParam,
                                std::int32_t lParam);

}  // namespace halyard
