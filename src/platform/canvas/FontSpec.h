// A font request: what the program asks for, before any platform realises it.
#pragma once

#include <cstdint>
#include <string>

namespace halyard {

struct FontSpec {
  std::string face;          // typeface name, at most 31 characters (longer names are cut)
  float points = 0;          // size in points; 0 means 8
  std::int32_t style = 0;    // bit 1: bold
  std::uint8_t charset = 0;  // 0: the default Western set
  std::uint8_t pitchAndFamily = 0;
  std::int32_t angle = 0;    // tenths of a degree
  bool utf8Text = false;     // texts in this font are UTF-8, not in the platform's code page

  static constexpr std::int32_t kBold = 1;
  bool operator==(const FontSpec&) const = default;
};

// Cell metrics of a realised font, in pixels, as GDI's TEXTMETRIC reports them.
struct FontMetrics {
  std::int32_t height = 0;           // tmHeight: ascent + descent
  std::int32_t ascent = 0;
  std::int32_t descent = 0;
  std::int32_t externalLeading = 0;
  std::int32_t LineHeight() const { return height + externalLeading; }
  bool operator==(const FontMetrics&) const = default;
};

// The columns one character of a text can write, counted from the text's
// origin: its cell and any ink outside it. `end` is the byte after it.
struct CharacterSpan {
  std::uint32_t end = 0;
  std::int32_t left = 0;
  std::int32_t right = 0;
  bool operator==(const CharacterSpan&) const = default;
};

// The pixel height asked of the platform: -round(dpi * points / 72), ties to even.
std::int32_t FontPixelHeight(float points, std::int32_t dpi);

// The one font of the clock: "Arial", 20 points, bold.
FontSpec ClockFontSpec();

}  // namespace halyard
