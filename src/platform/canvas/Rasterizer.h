// What a platform does to pixels: shapes and text into a picture, in GDI's rules.
// Coordinates here are already whole pixels; colours are resolved COLORREFs
// (0x00BBGGRR). Everything is clipped to the picture.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "platform/canvas/FontSpec.h"
#include "platform/canvas/Picture.h"

namespace halyard {

enum class FillRule { Winding, Alternate };

struct TextExtent {
  std::int32_t width = 0;
  std::int32_t height = 0;
  bool operator==(const TextExtent&) const = default;
};

class Rasterizer {
 public:
  virtual ~Rasterizer() = default;

  // The picture drawn into; it keeps its contents between calls.
  virtual const Picture& Pixels() = 0;

  // Later drawing writes only inside the union of the rectangles, which must
  // not overlap (and inside the picture); the picture's bounds lift the clip.
  // Shapes are still worked out whole, so a clipped drawing is exactly the
  // part of the unclipped one inside the clip.
  virtual void SetClip(std::span<const PixelRect> region) = 0;
  void SetClip(const PixelRect& clip) { SetClip(std::span<const PixelRect>(&clip, 1)); }

  // Fills the picture (inside the clip) with one colour.
  virtual void FillAll(std::uint32_t color) = 0;
  // A line with a solid pen of `penWidth` (0 and 1: the thinnest line, end pixel
  // excluded; wider: round caps and joins).
  virtual void Line(PixelPoint from, PixelPoint to, std::int32_t penWidth, std::uint32_t color) = 0;
  // GDI's RoundRect (Rectangle when the corner is 0): covers columns left..right-1.
  virtual void RoundBox(PixelRect box, std::int32_t cornerWidth, std::int32_t cornerHeight,
                        std::int32_t penWidth, std::uint32_t outline,
                        std::optional<std::uint32_t> fill) = 0;
  // GDI's Ellipse inscribed in the box.
  virtual void Ellipse(PixelRect box, std::int32_t penWidth, std::uint32_t outline,
                       std::optional<std::uint32_t> fill) = 0;
  // GDI's Polygon: closed outline with a solid pen, fill by the rule.
  virtual void Polygon(std::span<const PixelPoint> points, std::int32_t penWidth,
                       std::uint32_t outline, std::optional<std::uint32_t> fill, FillRule rule) = 0;

  // Realises the font; false leaves the previous font current.
  virtual bool SetFont(const FontSpec& spec, std::int32_t dpi) = 0;
  virtual FontMetrics Metrics() = 0;
  // Advance width of the whole text and the cell height. Texts are bytes in the
  // platform's code page (the locale's character set on Linux).
  virtual TextExtent MeasureText(std::string_view text) = 0;
  // Text with the top-left of its first cell at `origin`; with a background the
  // cells are filled first. Drawing stays inside `clip`.
  virtual void DrawText(PixelPoint origin, std::string_view text, std::uint32_t color,
                        std::optional<std::uint32_t> background, PixelRect clip) = 0;
  // Where each character of the text can write, in the current font (see
  // TextEngine); false when the rasterizer cannot tell.
  virtual bool CharacterSpans(std::string_view /*text*/, std::vector<CharacterSpan>& /*spans*/) {
    return false;
  }
};

}  // namespace halyard
