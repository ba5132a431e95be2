// The clock window's event handler and the state shared with start-up.
#pragma once

#include <cstdint>

#include "options/ClockOptions.h"
#include "platform/canvas/Canvas.h"
#include "platform/time/TimeSource.h"

namespace halyard {

// Event numbers, as Windows numbers them; every backend delivers these.
inline constexpr std::uint32_t kEventDestroy = 0x0002;
inline constexpr std::uint32_t kEventSize = 0x0005;
inline constexpr std::uint32_t kEventClose = 0x0010;
inline constexpr std::uint32_t kEventInitialise = 0x0110;
inline constexpr std::uint32_t kEventCommand = 0x0111;
inline constexpr std::uint32_t kEventTimer = 0x0113;

inline constexpr std::int32_t kClockFaceId = 120;
inline constexpr std::int32_t kStatusLabelId = 150;
inline constexpr std::uint32_t kClockTimerId = 100;
inline constexpr std::uint32_t kClockTimerPeriodMs = 500;
inline constexpr std::uint32_t kCancelCommand = 2;

// Set once at start-up, constant afterwards.
ClockOptions& CurrentClockOptions();
// 0 until the clock timer has been started.
std::uint32_t& ClockTimerHandle();
// The clock the handler reads; tests replace it.
void SetHandlerClock(SystemClock* clock);

// Always returns 0, so the platform's default handling follows every event.
std::int32_t ClockWindowHandler(WindowHandle window, std::uint32_t message, std::uint32_t wParam,
                                std::int32_t lParam);

}  // namespace halyard
