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
#include "backends/soft/ClipRegion.h"
#include "backends/soft/CoverageCache.h"
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
  bool CharacterSpans(std::string_view text, std::vector<CharacterSpan>& spans) override;
  void DrawText(PixelPoint origin, std::string_view text, std::uint32_t color,
                std::optional<std::uint32_t> background, PixelRect clip) override;

 private:
  // Shapes spanning this many rows keep their coverage.
  static constexpr std::int64_t kCoveredRows = 12;

  // Draws the shape, which writes only within the box, pen included:
  // draw(SpanPainter* brush, SpanPainter& pen), from its coverage when kept.
  template <class Draw>
  void DrawShape(const soft::CoverageCache::Key& key, std::int64_t left, std::int64_t top, std::int64_t right,
                 std::int64_t bottom, std::uint32_t outline, std::optional<std::uint32_t> fill, Draw draw);
  // RoundRect and Ellipse: a normalised box.
  void DrawBox(const soft::Box64& box, std::int64_t cornerWidth, std::int64_t cornerHeight, std::int32_t penWidth,
               std::uint32_t outline, std::optional<std::uint32_t> fill);
  // The rectangles of the clip that a shape drawn within the box (its pen
  // included) can reach.
  const soft::ClipRegion& ClipNear(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom);

  Picture picture_;
  soft::ClipRegion clip_;  // within the picture
  soft::ClipRegion near_;  // the part of it a shape can reach
  soft::CoverageCache coverage_;
  TextEngine* text_;
  soft::PenStroker stroker_;
  soft::PolygonFiller filler_;
  soft::BoxPainter boxes_{stroker_};
  std::vector<soft::Point64> points_;  // Polygon's points, kept to avoid allocating per call
};

}  // namespace halyard
