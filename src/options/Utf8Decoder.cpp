#include "options/Utf8Decoder.h"

#include <cstdint>

namespace halyard {

Utf8Step NextUtf8(std::string_view text, std::size_t& position, char32_t& codePoint,
                  Surrogates surrogates) {
  const auto byte = [&](std::size_t k) { return static_cast<std::uint8_t>(text[k]); };
  const std::uint8_t lead = byte(position);
  std::size_t extra = 0;
  char32_t code = lead;
  char32_t minimum = 0;
  if (lead < 0x80) {
    ++position;
    codePoint = lead;
    return Utf8Step::Character;
  }
  if (lead >= 0xC2 && lead <= 0xDF) { extra = 1; code = lead & 0x1F; minimum = 0x80; }
  else if (lead >= 0xE0 && lead <= 0xEF) { extra = 2; code = lead & 0x0F; minimum = 0x800; }
  else if (lead >= 0xF0 && lead <= 0xF4) { extra = 3; code = lead & 0x07; minimum = 0x10000; }
  else {
    ++position;
    return Utf8Step::Invalid;
  }
  for (std::size_t k = 1; k <= extra; ++k) {
    if (position + k >= text.size()) {
      ++position;
      return Utf8Step::Truncated;
    }
    if ((byte(position + k) & 0xC0) != 0x80) {
      ++position;
      return Utf8Step::Invalid;
    }
    code = (code << 6) | (byte(position + k) & 0x3F);
  }
  if (code < minimum || code > 0x10FFFF || (surrogates == Surrogates::Reject && code >= 0xD800 && code <= 0xDFFF)) {
    ++position;
    return Utf8Step::Invalid;
  }
  position += extra + 1;
  codePoint = code;
  return Utf8Step::Character;
}

}  // namespace halyard
