#include <memory>

#include "platform/window/StatusTextMeasure.h"
#include "backends/gdi/GdiRasterizer.h"

namespace halyard {

std::function<int(std::string_view)> MakeStatusTextMeasure(int dpi, bool utf8Text) {
  FontSpec font = ClockFontSpec();
  font.utf8Text = utf8Text;
  auto gdi = std::make_shared<GdiRasterizer>(1, 1);
  if (!gdi->SetFont(font, dpi)) return {};
  return [gdi](std::string_view text) { return static_cast<int>(gdi->MeasureText(text).width); };
}

}  // namespace halyard
