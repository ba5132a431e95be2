#include <windows.h>

#include <memory>
#include <string>

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

std::function<std::string(std::string_view)> MakeMissingGlyphs(int dpi, bool utf8Text) {
  FontSpec font = ClockFontSpec();
  font.utf8Text = utf8Text;
  auto gdi = std::make_shared<GdiRasterizer>(1, 1);
  if (!gdi->SetFont(font, dpi)) return {};
  return [gdi](std::string_view text) { return gdi->MissingGlyphs(text); };
}

bool ShowsAsUtf8(std::string_view bytes) {
  if (bytes.empty()) return true;
  const auto widen = [bytes](UINT codePage) {
    const int size = static_cast<int>(bytes.size());
    const int length = MultiByteToWideChar(codePage, 0, bytes.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length > 0 ? length : 0), L'\0');
    if (length > 0) MultiByteToWideChar(codePage, 0, bytes.data(), size, wide.data(), length);
    return wide;
  };
  return widen(CP_ACP) == widen(CP_UTF8);
}

}  // namespace halyard
