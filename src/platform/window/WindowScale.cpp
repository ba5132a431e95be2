#include "platform/window/WindowScale.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "platform/window/DialogUnits.h"

namespace halyard {

std::int32_t ScaledDpi(std::int32_t dpi, double scale) {
  const double scaled = std::floor(static_cast<double>(dpi) * scale + 0.5);
  if (!(scaled >= kMinimumDpi)) return kMinimumDpi;  // also NaN
  if (scaled > kMaximumDpi) return kMaximumDpi;
  return static_cast<std::int32_t>(scaled);
}

std::int32_t FittingDpi(std::int32_t wanted, std::int32_t least, TextExtent room,
                        const std::function<TextExtent(std::int32_t dpi)>& outerSize) {
  const auto fits = [&](std::int32_t dpi) {
    const TextExtent size = outerSize(dpi);
    return size.width <= room.width && size.height <= room.height;
  };
  if (wanted <= least || fits(wanted)) return std::max(wanted, least);
  // Sizes grow with the resolution: the last that fits, by halving.
  std::int32_t low = least, high = wanted;  // fits(high) is false
  if (!fits(low)) return least;
  while (high - low > 1) {
    const std::int32_t middle = low + (high - low) / 2;
    (fits(middle) ? low : high) = middle;
  }
  return low;
}

std::string FitScreenNote(double scale, std::int32_t screenDpi, std::int32_t fittingDpi, TextExtent room) {
  char line[200];
  std::snprintf(line, sizeof line,
                "the window at scale %g does not fit the %dx%d work area; using scale %.2f (fit-screen)", scale,
                static_cast<int>(room.width), static_cast<int>(room.height),
                static_cast<double>(fittingDpi) / static_cast<double>(screenDpi > 0 ? screenDpi : kDefaultDpi));
  return line;
}

}  // namespace halyard
