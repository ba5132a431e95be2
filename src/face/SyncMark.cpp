#include "face/SyncMark.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace halyard {
namespace {

// The mark's text is at least this many pixels high, however small the face,
// unless the corner has no room for it; never below the least.
constexpr float kMinimumTextPixels = 11;
constexpr float kLeastTextPixels = 9;
constexpr float kMarkPoints = 8;

bool OutsideDial(const FaceGeometry& face, const PixelRect& box) {
  // The corner of the box nearest the centre, against the dial's outer marks
  // (hour marks reach three pixels beyond the radius) and a pixel of air.
  const std::int64_t nearX = std::clamp(face.centerX, box.left, box.right);
  const std::int64_t nearY = std::clamp(face.centerY, box.top, box.bottom);
  const std::int64_t dx = nearX - face.centerX;
  const std::int64_t dy = nearY - face.centerY;
  const std::int64_t clear = std::int64_t{face.radius} + 5;
  return dx * dx + dy * dy > clear * clear;
}

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

void DrawSyncMark(const FaceGeometry& face, const PixelRect& legend) {
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
  const float dpi = static_cast<float>(canvas->Dpi());
  font.points = std::max(kMarkPoints, kMinimumTextPixels * 72.0f / dpi);
  PixelRect box;
  std::int32_t padding = 0;
  for (;;) {
    Canvas::SetFont(font);
    const TextExtent text = Canvas::TextSize(kSyncMarkText);
    padding = std::max(2, text.height / 5);
    box = PlaceSyncMark(face, legend, {text.width + 2 * padding, text.height + 2});
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
    Canvas::PrintText(kSyncMarkText);
  }

  if (savedFont) Canvas::SetFont(*savedFont);
  Canvas::SetColors(savedForeground, savedBackground);
  Canvas::SetPenWidth(savedPen);
}

}  // namespace halyard
