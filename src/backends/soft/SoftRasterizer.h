// The portable rasterizer: shapes and text drawn into a picture in memory
// with the pixel rules of Windows GDI (aliased, MM_TEXT, R2_COPYPEN), so that
// a picture drawn here matches one drawn by GDI pixel for pixel.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "platform/canvas/Picture.h"
#include "platform/canvas/Rasterizer.h"
#include "platform/canvas/TextEngine.h"
#include "backends/soft/BoxPainter.h"
#include "backends/soft/PenStroker.h"
#include "backends/soft/PolygonFiller.h"
#include "backends/soft/Point64.h"

namespace halyard {

class SoftRasterizer final : public Rasterizer {
 public:
  // The picture starts black. Without a text engine, text calls do nothing.
  SoftRasterizer(std::int32_t width, std::int32_t height, TextEngine* text = nullptr);
  // Draws into `target` as it is: a view of memory someone else keeps (a
  // window's image), or a picture of its own.
  SoftRasterizer(Picture target, TextEngine* text);

  const Picture& Pixels() override { return picture_; }

  void SetClip(const PixelRect& clip) override;
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
  bool CharacterSpans(std::string_view text, std::vector<CharacterSpan>& spans) override;
  void DrawText(PixelPoint origin, std::string_view text, std::uint32_t color,
                std::optional<std::uint32_t> background, PixelRect clip) override;

 private:
  Picture picture_;
  PixelRect clip_;  // within the picture
  TextEngine* text_;
  soft::PenStroker stroker_;
  soft::PolygonFiller filler_;
  soft::BoxPainter boxes_{stroker_};
  std::vector<soft::Point64> points_;  // Polygon's points, kept to avoid allocating per call
};

}  // namespace halyard
