#include "face/SecondLegend.h"

#include <algorithm>
#include <optional>
#include <string>

#include "face/DialClearance.h"

namespace halyard {
namespace {

// Never smaller than this, however small the face.
constexpr float kLeastTextPixels = 9;

std::int32_t Margin(TextExtent size) { return std::max(3, size.height / 4); }

// The rows below the dial's marks, down to the face's bottom margin.
PixelRect BandBelowDial(const FaceGeometry& face, TextExtent size) {
  return {0, face.centerY + DialClearance(face) + 1, face.width, face.height - Margin(size)};
}

}  // namespace

PixelRect PlaceSecondLegend(const FaceGeometry& face, TextExtent size) {
  const std::int32_t margin = Margin(size);
  const PixelRect band = BandBelowDial(face, size);
  if (size.height <= band.bottom - band.top && size.width <= face.width - 2 * margin) {
    const std::int32_t left = face.centerX - size.width / 2;
    const std::int32_t top = band.top + (band.bottom - band.top - size.height) / 2;
    return {left, top, left + size.width, top + size.height};
  }
  // A squat face: the dial reaches the bottom, but its corners are free.
  const std::int32_t top = face.height - margin - size.height;
  for (const std::int32_t left : {face.width - margin - size.width, margin}) {
    const PixelRect corner{left, top, left + size.width, top + size.height};
    if (left >= margin && corner.right <= face.width - margin && top >= face.centerY && OutsideDial(face, corner)) {
      return corner;
    }
  }
  return {};
}

void DrawSecondLegend(const FaceGeometry& face, std::string_view legend) {
  Canvas* canvas = Canvas::Current();
  if (canvas == nullptr || legend.empty()) return;
  const std::optional<FontSpec> savedFont =
      canvas->CurrentFont() != nullptr ? std::optional<FontSpec>(*canvas->CurrentFont()) : std::nullopt;

  FontSpec font = savedFont.value_or(ClockFontSpec());
  const float dpi = static_cast<float>(canvas->Dpi());
  // The size found for this face and this shape of legend (its digits aside)
  // is where the next repaint starts: the search realises a font per step.
  thread_local struct {
    FaceGeometry face;
    std::int32_t dpi = 0;
    std::string shape;
    float points = 0;
  } found;
  thread_local std::string shape;
  shape.assign(legend);
  for (char& c : shape) c = (c >= '0' && c <= '9') ? '0' : c;
  const bool known = found.points > 0 && found.dpi == canvas->Dpi() && found.shape == shape &&
                     found.face.width == face.width && found.face.height == face.height;
  font.points = known ? found.points : kSecondLegendPoints;
  PixelRect box;
  TextExtent text;
  for (;;) {
    Canvas::SetFont(font);
    text = Canvas::TextSize(legend);
    box = PlaceSecondLegend(face, text);
    const float pixels = font.points * dpi / 72.0f;
    if (!box.Empty() || pixels - 1 < kLeastTextPixels) break;
    font.points = (pixels - 1) * 72.0f / dpi;
  }
  found.face = face;
  found.dpi = canvas->Dpi();
  found.shape = shape;
  found.points = font.points;
  if (box.Empty()) {
    // Too wide even at the least size (a long label on a small face): the
    // time keeps its place at the left and the label is cut at the edge.
    const PixelRect band = BandBelowDial(face, text);
    if (text.height <= band.bottom - band.top) {
      const std::int32_t top = band.top + (band.bottom - band.top - text.height) / 2;
      box = {Margin(text), top, Margin(text) + text.width, top + text.height};
    }
  }
  if (!box.Empty()) {
    Canvas::MoveTo(static_cast<float>(box.left), static_cast<float>(box.top));
    Canvas::PrintText(legend);
  }
  if (savedFont) Canvas::SetFont(*savedFont);
}

}  // namespace halyard
