#include <memory>

#include "platform/window/StatusTextMeasure.h"
#include "backends/freetype/FreeTypeTextEngine.h"

namespace halyard {

std::function<int(std::string_view)> MakeStatusTextMeasure(int dpi, bool utf8Text) {
  FontSpec font = ClockFontSpec();
  font.utf8Text = utf8Text;
  auto engine = std::make_shared<FreeTypeTextEngine>();
  if (!engine->SetFont(font, dpi)) return {};
  return [engine](std::string_view text) { return static_cast<int>(engine->Advance(text)); };
}

}  // namespace halyard
