#include <memory>

#include "platform/window/StatusTextMeasure.h"
#include "backends/freetype/FreeTypeTextEngine.h"
#include "backends/freetype/LocaleDecoder.h"

namespace halyard {

std::function<int(std::string_view)> MakeStatusTextMeasure(int dpi, bool utf8Text) {
  FontSpec font = ClockFontSpec();
  font.utf8Text = utf8Text;
  auto engine = std::make_shared<FreeTypeTextEngine>();
  if (!engine->SetFont(font, dpi)) return {};
  return [engine](std::string_view text) { return static_cast<int>(engine->Advance(text)); };
}

std::function<std::string(std::string_view)> MakeMissingGlyphs(int dpi, bool utf8Text) {
  FontSpec font = ClockFontSpec();
  font.utf8Text = utf8Text;
  auto engine = std::make_shared<FreeTypeTextEngine>();
  if (!engine->SetFont(font, dpi)) return {};
  return [engine](std::string_view text) { return engine->MissingGlyphs(text); };
}

bool ShowsAsUtf8(std::string_view bytes) {
  LocaleDecoder here(bytes);
  LocaleDecoder utf8(bytes, true);
  char32_t a = 0;
  char32_t b = 0;
  for (;;) {
    const bool moreHere = here.Next(a);
    const bool moreUtf8 = utf8.Next(b);
    if (moreHere != moreUtf8 || (moreHere && a != b)) return false;
    if (!moreHere) return true;
  }
}

}  // namespace halyard
