#include "platform/window/PlacementGeometry.h"

#include <charconv>
#include <system_error>

namespace halyard {

namespace {

constexpr std::int32_t kLargestNumber = 32767;

// An optionally signed decimal, as X11 reads one; false without digits or when too large.
bool ReadNumber(std::string_view& text, std::int32_t& value) {
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (text.empty() || text.front() < '0' || text.front() > '9') return false;  // no second sign
  std::int32_t number = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
  if (error != std::errc{} || number > kLargestNumber) return false;
  text.remove_prefix(static_cast<std::size_t>(end - text.data()));
  value = negative ? -number : number;
  return true;
}

}  // namespace

std::optional<PlacementGeometry> ParsePlacementGeometry(std::string_view text) {
  PlacementGeometry geometry;
  if (!text.empty() && text.front() == '=') text.remove_prefix(1);
  if (!text.empty() && text.front() != '+' && text.front() != '-' && text.front() != 'x' && text.front() != 'X') {
    if (!ReadNumber(text, geometry.width) || geometry.width < 0) return std::nullopt;
    geometry.hasSize = true;
  }
  if (!text.empty() && (text.front() == 'x' || text.front() == 'X')) {
    text.remove_prefix(1);
    if (!ReadNumber(text, geometry.height) || geometry.height < 0) return std::nullopt;
    geometry.hasSize = true;
  }
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    // A sign, then a number that may carry a sign of its own: "+-5" is 5 to the left of the left edge.
    geometry.fromRight = text.front() == '-';
    text.remove_prefix(1);
    if (!ReadNumber(text, geometry.x)) return std::nullopt;
    if (text.empty() || (text.front() != '+' && text.front() != '-')) return std::nullopt;
    geometry.fromBottom = text.front() == '-';
    text.remove_prefix(1);
    if (!ReadNumber(text, geometry.y)) return std::nullopt;
    geometry.hasPosition = true;
  }
  if (!text.empty() || (!geometry.hasSize && !geometry.hasPosition)) return std::nullopt;
  return geometry;
}

PixelPoint PlacementGeometry::TopLeft(TextExtent size, const PixelRect& area) const {
  return {fromRight ? area.right - size.width - x : area.left + x,
          fromBottom ? area.bottom - size.height - y : area.top + y};
}

}  // namespace halyard
