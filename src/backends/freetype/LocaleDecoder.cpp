#include "backends/freetype/LocaleDecoder.h"

#include <langinfo.h>

#include <array>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "options/Utf8Decoder.h"

namespace halyard {

namespace {

// Bytes 0x80-0x9F of Windows-1252.
constexpr std::array<char16_t, 32> kWindows1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

bool IsScalarValue(char32_t c) { return c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF); }

}  // namespace

char32_t Windows1252ToUnicode(unsigned char byte) {
  if (byte >= 0x80 && byte < 0xA0) return kWindows1252High[byte - 0x80];
  return byte;
}

LocaleDecoder::LocaleDecoder(std::string_view bytes, bool utf8) : bytes_(bytes), forcedUtf8_(utf8) {
  // Every text is walked afresh, up to a few times a tick: ask the C library
  // only what the walk will use.
  if (utf8) {
    singleByte_ = false;
    return;
  }
  const char* codeset = nl_langinfo(CODESET);
  utf8_ = codeset != nullptr && std::strcmp(codeset, "UTF-8") == 0;
  singleByte_ = !utf8_ && MB_CUR_MAX == 1;
}

bool LocaleDecoder::Next(char32_t& codePoint) {
  if (position_ >= bytes_.size()) return false;
  const auto byte = static_cast<unsigned char>(bytes_[position_]);

  if (singleByte_) {
    ++position_;
    if (byte < 0x80) {
      codePoint = byte;
      return true;
    }
    const std::wint_t wide = std::btowc(byte);
    codePoint = wide == WEOF || !IsScalarValue(static_cast<char32_t>(wide))
                    ? Windows1252ToUnicode(byte)
                    : static_cast<char32_t>(wide);
    return true;
  }

  if (forcedUtf8_) {
    // The same rules as mbrtowc in a UTF-8 locale: one U+FFFD per bad byte,
    // one for a sequence cut off by the end of the text.
    switch (NextUtf8(bytes_, position_, codePoint)) {
      case Utf8Step::Character: break;
      case Utf8Step::Invalid: codePoint = kReplacementCharacter; break;
      case Utf8Step::Truncated: codePoint = kReplacementCharacter; position_ = bytes_.size(); break;
    }
    return true;
  }

  // ASCII is itself in UTF-8, and mbrtowc is comparatively slow.
  if (utf8_ && byte < 0x80) {
    ++position_;
    codePoint = byte;
    return true;
  }

  wchar_t wide = 0;
  const std::size_t remaining = bytes_.size() - position_;
  const std::size_t used = std::mbrtowc(&wide, bytes_.data() + position_, remaining, &state_);
  if (used == static_cast<std::size_t>(-1)) {
    state_ = {};
    ++position_;
    codePoint = kReplacementCharacter;
  } else if (used == static_cast<std::size_t>(-2)) {
    // The text ends inside a character.
    state_ = {};
    position_ = bytes_.size();
    codePoint = kReplacementCharacter;
  } else {
    // 0 means a NUL character, which takes one byte.
    position_ += used == 0 ? 1 : used;
    const auto c = static_cast<char32_t>(wide);
    codePoint = IsScalarValue(c) ? c : kReplacementCharacter;
  }
  return true;
}

}  // namespace halyard
