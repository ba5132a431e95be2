#include "face/SyncMark.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>

#include "face/DialClearance.h"

namespace halyard {
namespace {

// The mark's text is at least this many pixels high, however small the face,
// unless the corner has no room for it; never below the least.
constexpr float kMinimumTextPixels = 11;
constexpr float kLeastTextPixels = 9;
constexpr float kMarkPoints = 8;

}  // namespace

PixelRect PlaceSyncMark(const FaceGeometry& face, const PixelRect& legend, TextExtent markSize) {
  const std::int32_t margin = std::max(3, markSize.height / 4);
  const PixelRect beside{margin, margin, margin + markSize.width, margin + markSize.height};
  if (beside.right + margin <= legend.left && beside.bottom <= face.height && OutsideDial(face, beside)) {
    return beside;
  }
  const std::int32_t top = legend.bottom + margin;
  const PixelRect below{margin, top, margin + markSize.width, top + markSize.height};
  if (below.right <= face.width && below.bottom <= face.height && OutsideDial(face, below)) return below;
  return {};
}

std::string OffsetMarkText(double clockMinusServer) {
  const double size = std::abs(clockMinusServer);
  // Two digits where one would round a small offset towards the limit; a
  // clock hours or days out keeps the mark as short as one seconds out.
  char digits[32];
  if (size < 0.95) std::snprintf(digits, sizeof digits, "%.2f s", size);
  else if (size < 99.5) std::snprintf(digits, sizeof digits, "%.1f s", size);
  else if (size < 5999.5) std::snprintf(digits, sizeof digits, "%.0f min", size / 60);
  else if (size < 359'999.5) std::snprintf(digits, sizeof digits, "%.0f h", size / 3600);
  else if (size < 86'400.0 * 9999.5) std::snprintf(digits, sizeof digits, "%.0f d", size / 86'400);
  else std::snprintf(digits, sizeof digits, "%s", "9999+ d");
  return std::string(clockMinusServer < 0 ? "\xE2\x88\x92" : "+") + digits;
}

void DrawSyncMark(const FaceGeometry& face, const PixelRect& legend, std::string_view text) {
  Canvas* canvas = Canvas::Current();
  if (canvas == nullptr) return;
  const std::int32_t savedForeground = canvas->Foreground();
  const std::int32_t savedBackground = canvas->Background();
  const std::int32_t savedPen = canvas->PenWidth();
  const std::optional<FontSpec> savedFont =
      canvas->CurrentFont() != nullptr ? std::optional<FontSpec>(*canvas->CurrentFont()) : std::nullopt;

  // Small, but never smaller than a readable few pixels. At some resolutions
  // below 64 dpi the legend is wide for its face and the dial close below it,
  // and the mark fits only a pixel or two smaller.
  FontSpec font = savedFont.value_or(ClockFontSpec());
  font.style = FontSpec::kBold;
  font.utf8Text = text != kSyncMarkText;  // an offset's minus sign
  const float dpi = static_cast<float>(canvas->Dpi());
  font.points = std::max(kMarkPoints, kMinimumTextPixels * 72.0f / dpi);
  PixelRect box;
  std::int32_t padding = 0;
  for (;;) {
    Canvas::SetFont(font);
    const TextExtent extent = Canvas::TextSize(text);
    padding = std::max(2, extent.height / 5);
    box = PlaceSyncMark(face, legend, {extent.width + 2 * padding, extent.height + 2});
    const float pixels = font.points * dpi / 72.0f;
    if (!box.Empty() || pixels - 1 < kLeastTextPixels) break;
    font.points = (pixels - 1) * 72.0f / dpi;
  }
  if (!box.Empty()) {
    Canvas::SetPenWidth(1);
    Canvas::Box(static_cast<float>(box.left), static_cast<float>(box.top), static_cast<float>(box.right),
                static_cast<float>(box.bottom), 0, kSyncMarkInk, kSyncMarkAmber, kSolidFill);
    Canvas::SetColors(kSyncMarkInk, ColorNone);
    Canvas::MoveTo(static_cast<float>(box.left + padding), static_cast<float>(box.top + 1));
    Canvas::PrintText(text);
  }

  if (savedFont) Canvas::SetFont(*savedFont);
  Canvas::SetColors(savedForeground, savedBackground);
  Canvas::SetPenWidth(savedPen);
}

}  // namespace halyard
