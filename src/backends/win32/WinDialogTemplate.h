// An in-memory extended dialog template (DLGTEMPLATEEX) without items.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace halyard {

struct WinDialogTemplate {
  std::uint32_t style = 0;
  std::uint32_t exStyle = 0;
  std::int16_t x = 0, y = 0, cx = 0, cy = 0;  // dialog units
  std::u16string title;
  // The dialog font, which also defines the dialog unit; used when style has DS_SETFONT.
  std::uint16_t fontPoints = 0;
  std::uint16_t fontWeight = 0;
  std::uint8_t fontItalic = 0;
  std::uint8_t fontCharset = 0;
  std::u16string fontFace;

  // The template as 16-bit words; the vector's storage satisfies the DWORD
  // alignment the dialog manager requires.
  std::vector<std::uint16_t> Words() const;
};

}  // namespace halyard
