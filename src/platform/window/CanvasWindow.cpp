#include "platform/window/CanvasWindow.h"

namespace halyard {

CanvasWindow::CanvasWindow(std::unique_ptr<Rasterizer> rasterizer, CanvasPresenter* presenter, std::int32_t dpi,
                           SystemColors colors)
    : canvas_(std::move(rasterizer), presenter, dpi, colors) {}

bool CanvasWindow::SetControlText(std::int32_t id, std::string_view text) {
  if (id != kStatusLabelId) return false;
  labelText_.assign(text.data(), text.size());
  return true;
}

bool CanvasWindow::SetControlColors(std::int32_t id, std::int32_t textColor, std::int32_t backgroundColor) {
  if (id != kStatusLabelId) return false;
  labelTextColor_ = textColor;
  labelBackground_ = backgroundColor;
  return true;
}

}  // namespace halyard
