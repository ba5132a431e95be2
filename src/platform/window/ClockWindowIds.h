// The numbers the handler and every window backend share: event numbers (as
// Windows numbers them, so the Win32 backend passes its messages through
// unchanged), the ids of the two controls, and the clock's timer.
#pragma once

#include <cstdint>

#include "platform/time/TickPhase.h"

namespace halyard {

inline constexpr std::uint32_t kEventDestroy = 0x0002;
inline constexpr std::uint32_t kEventSize = 0x0005;
inline constexpr std::uint32_t kEventClose = 0x0010;
inline constexpr std::uint32_t kEventInitialise = 0x0110;
inline constexpr std::uint32_t kEventCommand = 0x0111;
inline constexpr std::uint32_t kEventTimer = 0x0113;

inline constexpr std::int32_t kClockFaceId = 120;
inline constexpr std::int32_t kStatusLabelId = 150;
// The command a dialog's Escape key and close box send.
inline constexpr std::uint32_t kCancelCommand = 2;

// The clock's own timer, the one the backends keep in phase with the wall clock.
inline constexpr std::uint32_t kClockTimerId = 100;
inline constexpr std::uint32_t kClockTimerPeriodMs = static_cast<std::uint32_t>(kTickPeriod.count());
// A window's own one-shot timer: the pointer has rested on the face long enough
// for its tooltip. Backends keep it to themselves; the handler never sees it.
inline constexpr std::uint32_t kTooltipTimerId = 101;
inline constexpr std::uint32_t kTooltipDelayMs = 700;

}  // namespace halyard
