// Glyphs for the software rasterizer: measuring and drawing text into a picture.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/canvas/FontSpec.h"
#include "platform/canvas/Picture.h"

namespace halyard {

class TextEngine {
 public:
  virtual ~TextEngine() = default;
  // Realises the font at the given resolution; false leaves the previous font.
  virtual bool SetFont(const FontSpec& spec, std::int32_t dpi) = 0;
  virtual FontMetrics Metrics() const = 0;
  // Sum of the advance widths of the text's characters.
  virtual std::int32_t Advance(std::string_view text) = 0;
  // Draws the glyphs only (no background) with the top-left of the first cell at
  // `origin`, blended in `pixel` (0x00RRGGBB), inside `clip`.
  virtual void DrawGlyphs(Picture& picture, PixelPoint origin, std::string_view text,
                          std::uint32_t pixel, PixelRect clip) = 0;
  // The span of each character of `text`, in order, in place of `spans`'
  // contents; false when the engine cannot tell (then nothing narrower than the
  // whole line may be assumed).
  virtual bool CharacterSpans(std::string_view /*text*/, std::vector<CharacterSpan>& /*spans*/) {
    return false;
  }
};

}  // namespace halyard
