// Turns the bytes of a text into code points, in the character set of the C
// library's current LC_CTYPE locale: texts reach the text engine as bytes in
// the platform's code page, and on Linux that is the locale's character set.
#pragma once

#include <cstddef>
#include <cwchar>
#include <string_view>

namespace halyard {

inline constexpr char32_t kReplacementCharacter = 0xFFFD;

class LocaleDecoder {
 public:
  // Reads the locale once; the decoder must not outlive `bytes`. With `utf8`
  // the bytes are UTF-8 whatever the locale (a file that says so with its mark).
  explicit LocaleDecoder(std::string_view bytes, bool utf8 = false);

  // Stores the next code point and returns true, or returns false at the end.
  // Every byte is consumed: NUL bytes decode to U+0000, bytes that do not form
  // a character decode to U+FFFD (one per byte; a truncated sequence at the
  // end is one U+FFFD). In a single-byte locale a byte the C library does not
  // know (the "C" locale knows none above 0x7F) is read as Windows-1252.
  bool Next(char32_t& codePoint);
  // The bytes consumed so far.
  std::size_t Position() const { return position_; }

 private:
  std::string_view bytes_;
  std::size_t position_ = 0;
  bool singleByte_ = true;
  bool utf8_ = false;
  bool forcedUtf8_ = false;
  std::mbstate_t state_{};
};

// The Windows-1252 character of a byte (bytes 0xA0-0xFF are Latin-1; the few
// bytes 1252 leaves undefined map to the C1 control of the same value).
char32_t Windows1252ToUnicode(unsigned char byte);

}  // namespace halyard
