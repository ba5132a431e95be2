#include "platform/window/DrawnControls.h"

namespace halyard {

Canvas* DrawnControls::FindCanvas(std::int32_t controlId) {
  return controlId == face_.id && controlId >= 0 ? face_.canvas.get() : nullptr;
}

bool DrawnControls::SetControlText(std::int32_t controlId, std::string_view text) {
  if (controlId < 0) return false;
  if (controlId == face_.id) return true;  // a graphic control shows no text
  if (controlId != label_.id) return false;
  if (label_.shown == text) return true;  // the same text: nothing to draw
  label_.shown.assign(text.data(), text.size());
  label_.changed = true;
  return true;
}

bool DrawnControls::SetControlColors(std::int32_t controlId, std::int32_t textColor, std::int32_t backgroundColor) {
  if (controlId < 0) return false;
  if (controlId == face_.id) return true;
  if (controlId != label_.id) return false;
  if (label_.textColor == textColor && label_.background == backgroundColor) return true;
  label_.textColor = textColor;
  label_.background = backgroundColor;
  label_.changed = true;
  return true;
}

TextExtent DrawnControls::ControlSize(std::int32_t id) const {
  const PixelRect* rect = id == face_.id ? &face_.rect : id == label_.id ? &label_.rect : nullptr;
  if (rect == nullptr || id < 0) return {};
  return {rect->right - rect->left, rect->bottom - rect->top};
}

std::uint32_t DrawnControls::WindowPixel(const SystemColors& system) const {
  const LabelColors window = ResolveLabelColors(windowText_, windowBackground_, system);
  return ColorRefToPixel(window.transparent ? system.buttonFace : window.background);
}

void DrawnControls::PaintLabel(Picture& picture, const SystemColors& system) {
  label_.changed = false;
  if (label_.id < 0 || label_.rect.Empty()) return;
  // Under a transparent label the window background shows.
  picture.FillRect(label_.rect, WindowPixel(system));
  halyard::PaintLabel(picture, label_.rect, label_.text.get(), label_.shown,
                      ResolveLabelColors(label_.textColor, label_.background, system));
}

}  // namespace halyard
