// The colours of the face that no option changes (COLORREF values). The
// 500 kHz red belongs to the silent schedule, in options/SilentPeriod.h.
#pragma once

#include <cstdint>

namespace halyard {

// The small disc in the middle of the hub, on the face and on the icon.
inline constexpr std::int32_t kHubGrey = 0x808080;

// The mark of an unsynchronised clock: amber reads on a black face and, with
// its dark edge, on a white one.
inline constexpr std::int32_t kSyncMarkAmber = 0x00B4FF;  // #FFB400
inline constexpr std::int32_t kSyncMarkInk = 0x000000;

}  // namespace halyard
