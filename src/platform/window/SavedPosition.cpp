#include "platform/window/SavedPosition.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <limits>
#include <system_error>

namespace halyard {

namespace {

constexpr std::int32_t kFarthest = 1'000'000;
constexpr std::int32_t kShownCorner = 32;

bool ReadCoordinate(std::string_view& text, std::int32_t& value) {
  if (!text.empty() && text.front() == '-' && (text.size() < 2 || text[1] < '0' || text[1] > '9')) return false;
  std::int32_t number = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
  if (error != std::errc{} || number > kFarthest || number < -kFarthest) return false;
  text.remove_prefix(static_cast<std::size_t>(end - text.data()));
  value = number;
  return true;
}

std::int64_t Gap(std::int32_t low, std::int32_t high, std::int32_t from, std::int32_t to) {
  // How far the span from..to lies outside low..high.
  if (to <= low) return static_cast<std::int64_t>(low) - to;
  if (from >= high) return static_cast<std::int64_t>(from) - high;
  return 0;
}

}  // namespace

std::string SavedPositionText(PixelPoint where) {
  return std::to_string(where.x) + " " + std::to_string(where.y) + "\n";
}

std::optional<PixelPoint> ParseSavedPosition(std::string_view text) {
  if (text.size() > kMaxSavedPositionBytes) return std::nullopt;
  PixelPoint where;
  if (!ReadCoordinate(text, where.x) || text.empty() || text.front() != ' ') return std::nullopt;
  text.remove_prefix(1);
  if (!ReadCoordinate(text, where.y)) return std::nullopt;
  if (text == "\n" || text == "\r\n") text = {};
  if (!text.empty()) return std::nullopt;
  return where;
}

PixelPoint VisiblePosition(PixelPoint where, TextExtent size, std::span<const PixelRect> monitors) {
  if (monitors.empty()) return where;
  const PixelRect window{where.x, where.y, where.x + size.width, where.y + size.height};
  const std::int32_t needX = std::min(kShownCorner, std::max(size.width, 1));
  const std::int32_t needY = std::min(kShownCorner, std::max(size.height, 1));
  const PixelRect* nearest = nullptr;
  std::int64_t nearestGap = std::numeric_limits<std::int64_t>::max();
  for (const PixelRect& monitor : monitors) {
    const PixelRect shown = Intersect(window, monitor);
    if (!shown.Empty() && shown.right - shown.left >= needX && shown.bottom - shown.top >= needY) return where;
    const std::int64_t gap = Gap(monitor.left, monitor.right, window.left, window.right) +
                             Gap(monitor.top, monitor.bottom, window.top, window.bottom);
    if (gap < nearestGap && !monitor.Empty()) {
      nearestGap = gap;
      nearest = &monitor;
    }
  }
  if (nearest == nullptr) return where;
  const auto keep = [](std::int32_t at, std::int32_t length, std::int32_t low, std::int32_t high) {
    return std::max(low, std::min(at, high - length));
  };
  return {keep(where.x, size.width, nearest->left, nearest->right),
          keep(where.y, size.height, nearest->top, nearest->bottom)};
}

}  // namespace halyard
