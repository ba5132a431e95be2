#include "backends/win32/WinDialogTemplate.h"

namespace halyard {

namespace {

constexpr std::uint32_t kSetFontStyle = 0x40;  // DS_SETFONT

void PutDword(std::vector<std::uint16_t>& words, std::uint32_t value) {
  words.push_back(static_cast<std::uint16_t>(value & 0xFFFF));
  words.push_back(static_cast<std::uint16_t>(value >> 16));
}

void PutText(std::vector<std::uint16_t>& words, const std::u16string& text) {
  for (char16_t c : text) {
    if (c == 0) break;  // the template's strings end at the first NUL
    words.push_back(static_cast<std::uint16_t>(c));
  }
  words.push_back(0);
}

}  // namespace

std::vector<std::uint16_t> WinDialogTemplate::Words() const {
  std::vector<std::uint16_t> words;
  words.push_back(1);       // dlgVer
  words.push_back(0xFFFF);  // signature: extended template
  PutDword(words, 0);       // helpID
  PutDword(words, exStyle);
  PutDword(words, style);
  words.push_back(0);  // no items
  words.push_back(static_cast<std::uint16_t>(x));
  words.push_back(static_cast<std::uint16_t>(y));
  words.push_back(static_cast<std::uint16_t>(cx));
  words.push_back(static_cast<std::uint16_t>(cy));
  words.push_back(0);  // no menu
  words.push_back(0);  // the predefined dialog class
  PutText(words, title);
  if (style & kSetFontStyle) {
    words.push_back(fontPoints);
    words.push_back(fontWeight);
    words.push_back(static_cast<std::uint16_t>(fontItalic | (fontCharset << 8)));
    PutText(words, fontFace);
  }
  return words;
}

}  // namespace halyard
