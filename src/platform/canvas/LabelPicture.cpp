#include "platform/canvas/LabelPicture.h"

namespace halyard {

LabelColors ResolveLabelColors(std::int32_t textColor, std::int32_t backgroundColor,
                               const SystemColors& system) {
  LabelColors colors;
  colors.text = textColor >= 0 ? static_cast<std::uint32_t>(textColor) & 0xFFFFFFu
                               : system.windowText;
  if (backgroundColor >= 0) {
    colors.background = static_cast<std::uint32_t>(backgroundColor) & 0xFFFFFFu;
  } else if (backgroundColor == ColorNone) {
    colors.transparent = true;
  } else {
    colors.background = system.buttonFace;
  }
  return colors;
}

void PaintLabel(Picture& picture, const PixelRect& area, TextEngine* text, std::string_view label,
                const LabelColors& colors) {
  const PixelRect clip = Intersect(area, picture.Bounds());
  if (clip.Empty()) return;
  if (!colors.transparent) picture.FillRect(clip, ColorRefToPixel(colors.background));
  if (text == nullptr || label.empty()) return;

  const std::int32_t width = text->Advance(label);
  const std::int32_t height = text->Metrics().height;
  const PixelPoint origin{area.left + (area.right - area.left - width) / 2,
                          area.top + (area.bottom - area.top - height) / 2};
  // The cells behind the glyphs take the background too (opaque text), which
  // the fill above already did; only the glyphs remain to draw.
  text->DrawGlyphs(picture, origin, label, ColorRefToPixel(colors.text), clip);
}

}  // namespace halyard
