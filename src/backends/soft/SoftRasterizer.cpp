#include "backends/soft/SoftRasterizer.h"

#include <algorithm>
#include <array>
#include <limits>

#include "backends/soft/SpanPainter.h"

namespace halyard {
namespace {

using soft::Point64;

// GDI takes the pen's length, so a negative width draws like a positive one,
// and 0 is the thinnest pen.
std::int64_t PenPixels(std::int32_t width) { return std::max<std::int64_t>(1, soft::Abs64(width)); }

Point64 ToPoint(PixelPoint p) { return {p.x, p.y}; }

soft::Box64 Normalised(const PixelRect& r) {
  return {std::min<std::int64_t>(r.left, r.right), std::min<std::int64_t>(r.top, r.bottom),
          std::max<std::int64_t>(r.left, r.right), std::max<std::int64_t>(r.top, r.bottom)};
}

std::int32_t ClampTo32(std::int64_t v) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(
      v, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

}  // namespace

SoftRasterizer::SoftRasterizer(std::int32_t width, std::int32_t height, TextEngine* text)
    : picture_(width, height, 0), clip_(picture_.Bounds()), text_(text) {}

SoftRasterizer::SoftRasterizer(Picture target, TextEngine* text)
    : picture_(std::move(target)), clip_(picture_.Bounds()), text_(text) {}

void SoftRasterizer::SetClip(const PixelRect& clip) {
  clip_ = Intersect(clip, picture_.Bounds());
  boxes_.SetClip(clip_);
}

void SoftRasterizer::FillAll(std::uint32_t color) { picture_.FillRect(clip_, ColorRefToPixel(color)); }

void SoftRasterizer::Line(PixelPoint from, PixelPoint to, std::int32_t penWidth,
                          std::uint32_t color) {
  const std::array<Point64, 2> path{ToPoint(from), ToPoint(to)};
  soft::SpanPainter pen(picture_, ColorRefToPixel(color), clip_);
  stroker_.Stroke(path, false, PenPixels(penWidth), pen);
}

void SoftRasterizer::RoundBox(PixelRect box, std::int32_t cornerWidth, std::int32_t cornerHeight,
                              std::int32_t penWidth, std::uint32_t outline,
                              std::optional<std::uint32_t> fill) {
  std::optional<std::uint32_t> brush;
  if (fill) brush = ColorRefToPixel(*fill);
  boxes_.RoundRect(picture_, Normalised(box), cornerWidth, cornerHeight, PenPixels(penWidth),
                   ColorRefToPixel(outline), brush);
}

void SoftRasterizer::Ellipse(PixelRect box, std::int32_t penWidth, std::uint32_t outline,
                             std::optional<std::uint32_t> fill) {
  const soft::Box64 b = Normalised(box);
  std::optional<std::uint32_t> brush;
  if (fill) brush = ColorRefToPixel(*fill);
  boxes_.RoundRect(picture_, b, b.right - b.left, b.bottom - b.top, PenPixels(penWidth),
                   ColorRefToPixel(outline), brush);
}

void SoftRasterizer::Polygon(std::span<const PixelPoint> points, std::int32_t penWidth,
                             std::uint32_t outline, std::optional<std::uint32_t> fill,
                             FillRule rule) {
  // GDI refuses a polygon of fewer than two points outright.
  if (points.size() < 2) return;
  points_.clear();
  for (const PixelPoint& p : points) points_.push_back(ToPoint(p));
  if (fill) {
    soft::SpanPainter brush(picture_, ColorRefToPixel(*fill), clip_);
    filler_.Fill(points_, rule, brush);
  }
  soft::SpanPainter pen(picture_, ColorRefToPixel(outline), clip_);
  stroker_.Stroke(points_, true, PenPixels(penWidth), pen);
}

bool SoftRasterizer::SetFont(const FontSpec& spec, std::int32_t dpi) {
  return text_ != nullptr && text_->SetFont(spec, dpi);
}

FontMetrics SoftRasterizer::Metrics() { return text_ ? text_->Metrics() : FontMetrics{}; }

TextExtent SoftRasterizer::MeasureText(std::string_view text) {
  if (!text_) return {};
  return {text_->Advance(text), text_->Metrics().height};
}

bool SoftRasterizer::CharacterSpans(std::string_view text, std::vector<CharacterSpan>& spans) {
  if (!text_) return false;
  return text_->CharacterSpans(text, spans);
}

void SoftRasterizer::DrawText(PixelPoint origin, std::string_view text, std::uint32_t color,
                              std::optional<std::uint32_t> background, PixelRect clip) {
  if (!text_) return;
  const PixelRect area = Intersect(clip, clip_);
  if (background && !area.Empty()) {
    // The character cells behind the text, as an opaque background fills them.
    const std::int64_t advance = text_->Advance(text);
    const std::int64_t height = text_->Metrics().height;
    const PixelRect cells{origin.x, origin.y, ClampTo32(std::int64_t{origin.x} + advance),
                          ClampTo32(std::int64_t{origin.y} + height)};
    picture_.FillRect(Intersect(cells, area), ColorRefToPixel(*background));
  }
  if (area.Empty()) return;
  text_->DrawGlyphs(picture_, origin, text, ColorRefToPixel(color), area);
}

}  // namespace halyard
