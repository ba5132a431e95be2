// Dialog units: the layout unit of the clock's window, as Windows defines it.
#pragma once

#include <cstdint>

namespace halyard {

// Rounds a*b/c to the nearest integer, halves away from zero, as MulDiv does.
std::int32_t MulDiv(std::int32_t a, std::int32_t b, std::int32_t c);

struct DialogUnits {
  std::int32_t baseX = 6;   // average character width of the dialog font, pixels
  std::int32_t baseY = 13;  // character height of the dialog font, pixels

  std::int32_t ToPixelsX(std::int32_t units) const { return MulDiv(units, baseX, 4); }
  std::int32_t ToPixelsY(std::int32_t units) const { return MulDiv(units, baseY, 8); }
  // Pixels back to the nearest unit, halves upward.
  std::int32_t ToUnitsX(std::int32_t pixels) const;
  std::int32_t ToUnitsY(std::int32_t pixels) const;

  // Where no dialog-font metrics exist (X11, the off-screen renderer): Windows'
  // base units of 6 x 13 pixels at 96 dpi, scaled with the resolution.
  static DialogUnits ForDpi(std::int32_t dpi);
};

// The resolutions the clock lays itself out for, whatever asks for one.
inline constexpr std::int32_t kDefaultDpi = 96;
inline constexpr std::int32_t kMinimumDpi = 48;
inline constexpr std::int32_t kMaximumDpi = 960;

// The clock's layout in dialog units.
struct DialogRect {
  std::int32_t x = 0, y = 0, cx = 0, cy = 0;
};
inline constexpr std::int32_t kWindowWidthUnits = 220;
inline constexpr std::int32_t kWindowHeightUnits = 300;
inline constexpr DialogRect kFaceRectUnits{0, 0, 220, 250};
inline constexpr DialogRect kLabelRectUnits{0, 250, 220, 50};

}  // namespace halyard
