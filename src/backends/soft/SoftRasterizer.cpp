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

// How far from its points a pen writes (caps and rounding included).
std::int64_t PenReach(std::int32_t width) { return PenPixels(width) / 2 + 2; }

std::int32_t ClampTo32(std::int64_t v) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(
      v, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

}  // namespace

SoftRasterizer::SoftRasterizer(std::int32_t width, std::int32_t height, TextEngine* text)
    : picture_(width, height, 0), text_(text) {
  SetClip(picture_.Bounds());
}

SoftRasterizer::SoftRasterizer(Picture target, TextEngine* text) : picture_(std::move(target)), text_(text) {
  SetClip(picture_.Bounds());
}

void SoftRasterizer::SetClip(std::span<const PixelRect> region) { clip_.Set(region, picture_.Bounds()); }

const soft::ClipRegion& SoftRasterizer::ClipNear(std::int64_t left, std::int64_t top, std::int64_t right,
                                                 std::int64_t bottom) {
  near_.Select(clip_, left, top, right, bottom);
  return near_;
}

void SoftRasterizer::FillAll(std::uint32_t color) {
  for (const PixelRect& r : clip_.Rects()) picture_.FillRect(r, ColorRefToPixel(color));
}

template <class Draw>
void SoftRasterizer::DrawShape(const soft::CoverageCache::Key& key, std::int64_t left, std::int64_t top,
                               std::int64_t right, std::int64_t bottom, std::uint32_t outline,
                               std::optional<std::uint32_t> fill, Draw draw) {
  const soft::ClipRegion& clip = ClipNear(left, top, right, bottom);
  if (clip.Empty()) return;
  // A shape of a few rows costs less to work out than to look up and keep.
  if (bottom - top >= kCoveredRows && key.Fits()) {
    const soft::CoverageCache::Coverage* coverage = coverage_.Find(key);
    if (coverage == nullptr && coverage_.SeenBefore(key)) {
      coverage = coverage_.Record(key, picture_, fill.has_value(), draw);
    }
    if (coverage != nullptr) {
      if (fill) coverage->brush.Paint(picture_, ColorRefToPixel(*fill), clip.Rects());
      coverage->pen.Paint(picture_, ColorRefToPixel(outline), clip.Rects());
      return;
    }
  }
  std::optional<soft::SpanPainter> brush;
  if (fill) brush.emplace(picture_, ColorRefToPixel(*fill), clip);
  soft::SpanPainter pen(picture_, ColorRefToPixel(outline), clip);
  draw(brush ? &*brush : nullptr, pen);
}

void SoftRasterizer::Line(PixelPoint from, PixelPoint to, std::int32_t penWidth,
                          std::uint32_t color) {
  const std::int64_t width = PenPixels(penWidth);
  const std::int64_t reach = PenReach(penWidth);
  soft::CoverageCache::Key key;
  for (std::int64_t v : {std::int64_t{1}, std::int64_t{from.x}, std::int64_t{from.y}, std::int64_t{to.x},
                         std::int64_t{to.y}, width}) {
    key.Add(v);
  }
  const std::array<Point64, 2> path{ToPoint(from), ToPoint(to)};
  DrawShape(key, std::int64_t{std::min(from.x, to.x)} - reach, std::int64_t{std::min(from.y, to.y)} - reach,
            std::int64_t{std::max(from.x, to.x)} + reach + 1, std::int64_t{std::max(from.y, to.y)} + reach + 1,
            color, std::nullopt,
            [&](soft::SpanPainter*, soft::SpanPainter& pen) { stroker_.Stroke(path, false, width, pen); });
}

void SoftRasterizer::RoundBox(PixelRect box, std::int32_t cornerWidth, std::int32_t cornerHeight,
                              std::int32_t penWidth, std::uint32_t outline,
                              std::optional<std::uint32_t> fill) {
  DrawBox(Normalised(box), cornerWidth, cornerHeight, penWidth, outline, fill);
}

void SoftRasterizer::Ellipse(PixelRect box, std::int32_t penWidth, std::uint32_t outline,
                             std::optional<std::uint32_t> fill) {
  const soft::Box64 b = Normalised(box);
  DrawBox(b, b.right - b.left, b.bottom - b.top, penWidth, outline, fill);
}

void SoftRasterizer::DrawBox(const soft::Box64& b, std::int64_t cornerWidth, std::int64_t cornerHeight,
                             std::int32_t penWidth, std::uint32_t outline, std::optional<std::uint32_t> fill) {
  const std::int64_t width = PenPixels(penWidth);
  const std::int64_t reach = PenReach(penWidth);
  soft::CoverageCache::Key key;
  for (std::int64_t v : {std::int64_t{2}, b.left, b.top, b.right, b.bottom, cornerWidth, cornerHeight, width,
                         std::int64_t{fill.has_value()}}) {
    key.Add(v);
  }
  DrawShape(key, b.left - reach, b.top - reach, b.right + reach, b.bottom + reach, outline, fill,
            [&](soft::SpanPainter* brush, soft::SpanPainter& pen) {
              boxes_.RoundRect(b, cornerWidth, cornerHeight, width, brush, pen);
            });
}

void SoftRasterizer::Polygon(std::span<const PixelPoint> points, std::int32_t penWidth,
                             std::uint32_t outline, std::optional<std::uint32_t> fill,
                             FillRule rule) {
  // GDI refuses a polygon of fewer than two points outright.
  if (points.size() < 2) return;
  const std::int64_t width = PenPixels(penWidth);
  soft::CoverageCache::Key key;
  for (std::int64_t v : {std::int64_t{3}, width, std::int64_t{fill.has_value()},
                         std::int64_t{rule == FillRule::Winding}}) {
    key.Add(v);
  }
  points_.clear();
  std::int64_t left = points.front().x, right = left, top = points.front().y, bottom = top;
  for (const PixelPoint& p : points) {
    points_.push_back(ToPoint(p));
    key.Add(p.x);
    key.Add(p.y);
    left = std::min<std::int64_t>(left, p.x);
    right = std::max<std::int64_t>(right, p.x);
    top = std::min<std::int64_t>(top, p.y);
    bottom = std::max<std::int64_t>(bottom, p.y);
  }
  const std::int64_t reach = PenReach(penWidth);
  DrawShape(key, left - reach, top - reach, right + reach + 1, bottom + reach + 1, outline, fill,
            [&](soft::SpanPainter* brush, soft::SpanPainter& pen) {
              if (brush != nullptr) filler_.Fill(points_, rule, *brush);
              stroker_.Stroke(points_, true, width, pen);
            });
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
  bool measured = false;
  PixelRect cells{};
  for (const PixelRect& r : clip_.Rects()) {
    const PixelRect area = Intersect(clip, r);
    if (area.Empty()) continue;
    if (background) {
      if (!measured) {
        // The character cells behind the text, as an opaque background fills them.
        const std::int64_t advance = text_->Advance(text);
        const std::int64_t height = text_->Metrics().height;
        cells = {origin.x, origin.y, ClampTo32(std::int64_t{origin.x} + advance),
                 ClampTo32(std::int64_t{origin.y} + height)};
        measured = true;
      }
      picture_.FillRect(Intersect(cells, area), ColorRefToPixel(*background));
    }
    text_->DrawGlyphs(picture_, origin, text, ColorRefToPixel(color), area);
  }
}

}  // namespace halyard
