#include "platform/x11/WindowManagerHints.h"

#include "platform/freetype/LocaleDecoder.h"

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
void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}
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
