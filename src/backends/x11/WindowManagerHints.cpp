#include "backends/x11/WindowManagerHints.h"

#include "platform/window/Utf8Encoder.h"
#include "backends/freetype/LocaleDecoder.h"

namespace halyard {

MotifWmHints MotifWmHints::FixedSizeWindow() {
  MotifWmHints hints;
  hints.flags = kFunctionsFlag | kDecorationsFlag;
  hints.functions = kFunctionMove | kFunctionMinimise | kFunctionClose;
  hints.decorations = kDecorBorder | kDecorTitle | kDecorMenu | kDecorMinimise;
  return hints;
}

std::vector<unsigned long> NetWmIconData(std::span<const Picture> icons) {
  std::vector<unsigned long> data;
  for (const Picture& icon : icons) {
    if (icon.Width() <= 0 || icon.Height() <= 0) continue;
    data.push_back(static_cast<unsigned long>(icon.Width()));
    data.push_back(static_cast<unsigned long>(icon.Height()));
    const std::uint32_t* pixel = icon.Data();
    const std::size_t count = static_cast<std::size_t>(icon.Width()) * static_cast<std::size_t>(icon.Height());
    for (std::size_t i = 0; i < count; ++i) data.push_back(0xFF000000ul | (pixel[i] & 0xFFFFFFu));
  }
  return data;
}

namespace {
}  // namespace

std::string LocaleToUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  LocaleDecoder decoder(text);
  char32_t code = 0;
  while (decoder.Next(code)) {
    AppendUtf8(out, code > 0x10FFFF || (code >= 0xD800 && code < 0xE000) ? kReplacementCharacter : code);
  }
  return out;
}

}  // namespace halyard
