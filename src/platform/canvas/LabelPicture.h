// The status label drawn in software, as a Windows static control with
// SS_CENTER | SS_CENTERIMAGE draws it: one line, centred both ways, clipped.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/canvas/Canvas.h"
#include "platform/canvas/Picture.h"
#include "platform/canvas/TextEngine.h"

namespace halyard {

// A text control's resolved colours (the WindowHost colour rules applied).
struct LabelColors {
  std::uint32_t text = 0;        // COLORREF
  std::uint32_t background = 0;  // COLORREF; ignored when transparent
  bool transparent = false;
};

// Applies the label colour rules: >= 0 low 24 bits; negative text -> window
// text; background -2 -> transparent; other negative background -> 3-D face.
LabelColors ResolveLabelColors(std::int32_t textColor, std::int32_t backgroundColor,
                               const SystemColors& system);

// Paints the label into `picture` inside `area`. With a transparent background
// the pixels under the label are left as they are (the parent shows through).
void PaintLabel(Picture& picture, const PixelRect& area, TextEngine* text, std::string_view label,
                const LabelColors& colors);

}  // namespace halyard
