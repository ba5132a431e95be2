// Any text gives a value without undefined behaviour, and the value obeys the
// rules that do not depend on the digits.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "options/ColorValue.h"

using halyard::ColorValue;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::int32_t value = ColorValue(text);

  // Leading blanks never change the value.
  if (ColorValue(" \t\r\n" + std::string(text)) != value) std::abort();

  // Whatever follows a six-digit &HBBGGRR is ignored unless it is a suffix,
  // and the value is a plain 24-bit colour.
  if (size >= 6) {
    std::string colour = "&H" + std::string(text.substr(0, 6));
    bool hex = true;
    for (char c : text.substr(0, 6)) {
      hex = hex && ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'));
    }
    if (hex) {
      const std::int32_t plain = ColorValue(colour);
      if (plain < 0 || plain > 0xFFFFFF) std::abort();
      if (ColorValue(colour + "%") != plain || ColorValue(colour + " " + std::string(text)) != plain) std::abort();
    }
  }

  // A short plain integer is read as itself, modulo 2^32.
  if (size > 0 && size <= 18) {
    bool digits = true;
    for (char c : text) digits = digits && c >= '0' && c <= '9';
    if (digits) {
      const long long whole = std::strtoll(std::string(text).c_str(), nullptr, 10);
      if (value != static_cast<std::int32_t>(static_cast<std::uint32_t>(whole))) std::abort();
      if (ColorValue("-" + std::string(text)) != static_cast<std::int32_t>(static_cast<std::uint32_t>(-whole))) {
        std::abort();
      }
    }
  }
  return 0;
}
