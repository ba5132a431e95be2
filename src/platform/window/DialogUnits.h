// Dialog units: the layout unit of the clock's window, as Windows defines it.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/canvas/Dpi.h"
#include "platform/canvas/Picture.h"
#include "platform/canvas/Rasterizer.h"

namespace halyard {

// Rounds a*b/c to the nearest integer, halves away from zero, as MulDiv does.
std::int32_t MulDiv(std::int32_t a, std::int32_t b, std::int32_t c);

// The dialog font, whose character cell makes the dialog unit.
inline constexpr std::string_view kDialogFontFace = "MS Sans Serif";
inline constexpr std::int32_t kDialogFontPoints = 8;

// The clock's layout in dialog units.
struct DialogRect {
  std::int32_t x = 0, y = 0, cx = 0, cy = 0;
};

struct DialogUnits {
  // The dialog font's cell at kDefaultDpi: its average character width and its height.
  static constexpr std::int32_t kBaseXAtDefaultDpi = 6;
  static constexpr std::int32_t kBaseYAtDefaultDpi = 13;

  std::int32_t baseX = kBaseXAtDefaultDpi;  // average character width of the dialog font, pixels
  std::int32_t baseY = kBaseYAtDefaultDpi;  // character height of the dialog font, pixels

  std::int32_t ToPixelsX(std::int32_t units) const { return MulDiv(units, baseX, 4); }
  std::int32_t ToPixelsY(std::int32_t units) const { return MulDiv(units, baseY, 8); }
  // A size in units (a window's client area), in pixels.
  TextExtent SizeToPixels(TextExtent units) const { return {ToPixelsX(units.width), ToPixelsY(units.height)}; }
  // A control's rectangle: x, y, width and height each converted on its own,
  // as MapDialogRect maps a template's items, so a control may end a pixel
  // short of the next one's start (the window background shows there).
  PixelRect ToPixels(const DialogRect& rect) const;
  // Pixels back to the nearest unit, halves upward.
  std::int32_t ToUnitsX(std::int32_t pixels) const;
  std::int32_t ToUnitsY(std::int32_t pixels) const;

  // The layout's units at `dpi` on every platform: the dialog font's cell at
  // kDefaultDpi, scaled with the resolution. The Windows dialog does not take
  // the units its dialog manager measures from the font instead: the face
  // behind "MS Sans Serif" is a bitmap font made for 96 and 120 dpi only, or
  // another font where a system lacks it (Wine without its own fonts gives
  // Liberation Sans, a cell of 6 x 12 at 96 dpi), and its cell does not grow
  // in proportion with the resolution.
  static DialogUnits ForDpi(std::int32_t dpi);
};

inline constexpr std::int32_t kWindowWidthUnits = 220;
inline constexpr std::int32_t kWindowHeightUnits = 300;
// The face on top, the status line below it, both the window's width.
inline constexpr std::int32_t kFaceHeightUnits = 250;
inline constexpr DialogRect kFaceRectUnits{0, 0, kWindowWidthUnits, kFaceHeightUnits};
inline constexpr DialogRect kLabelRectUnits{0, kFaceHeightUnits, kWindowWidthUnits,
                                            kWindowHeightUnits - kFaceHeightUnits};

}  // namespace halyard
