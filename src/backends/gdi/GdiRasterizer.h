// Shapes and text drawn by Windows GDI into a 32-bpp top-down DIB section.
//
// The DIB has the layout of Picture, so Pixels() is a plain copy of the rows
// drawn since the last call. <windows.h> stays out of this header: its
// DrawText macro would rename the Rasterizer method for every includer.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "platform/canvas/FontSpec.h"
#include "platform/canvas/Picture.h"
#include "platform/canvas/Rasterizer.h"

namespace halyard {

class GdiRasterizer final : public Rasterizer {
 public:
  // A picture of width x height, black. If GDI cannot make it, the picture
  // keeps its size and every drawing call does nothing.
  GdiRasterizer(std::int32_t width, std::int32_t height);
  ~GdiRasterizer() override;
  GdiRasterizer(const GdiRasterizer&) = delete;
  GdiRasterizer& operator=(const GdiRasterizer&) = delete;

  const Picture& Pixels() override;

  using Rasterizer::SetClip;
  void SetClip(std::span<const PixelRect> region) override;
  void FillAll(std::uint32_t color) override;
  void Line(PixelPoint from, PixelPoint to, std::int32_t penWidth, std::uint32_t color) override;
  void RoundBox(PixelRect box, std::int32_t cornerWidth, std::int32_t cornerHeight,
                std::int32_t penWidth, std::uint32_t outline,
                std::optional<std::uint32_t> fill) override;
  void Ellipse(PixelRect box, std::int32_t penWidth, std::uint32_t outline,
               std::optional<std::uint32_t> fill) override;
  void Polygon(std::span<const PixelPoint> points, std::int32_t penWidth, std::uint32_t outline,
               std::optional<std::uint32_t> fill, FillRule rule) override;

  bool SetFont(const FontSpec& spec, std::int32_t dpi) override;
  FontMetrics Metrics() override;
  TextExtent MeasureText(std::string_view text) override;
  // The characters of `text` (control characters aside) the current font has
  // no glyph for, each once, as UTF-8.
  std::string MissingGlyphs(std::string_view text);
  void DrawText(PixelPoint origin, std::string_view text, std::uint32_t color,
                std::optional<std::uint32_t> background, PixelRect clip) override;

  // The memory DC that holds the picture (an HDC), for copying it to a window
  // with BitBlt; null if the picture could not be made.
  void* Dc() const;

 private:
  struct Gdi;

  // Rows [top, bottom) have changed in the DIB since Pixels() last copied them.
  void Touch(std::int32_t top, std::int32_t bottom);
  void TouchAround(std::int32_t top, std::int32_t bottom, std::int32_t penWidth);

  std::unique_ptr<Gdi> gdi_;
  Picture picture_;
  std::vector<PixelRect> clip_;  // within the picture, none empty
  bool clipped_ = false;         // false: the whole picture
  std::int32_t dirtyTop_ = 0;
  std::int32_t dirtyBottom_ = 0;
};

}  // namespace halyard
