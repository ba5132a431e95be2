#include "platform/canvas/Canvas.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

#include "platform/canvas/Dpi.h"
#include "platform/canvas/RoundHalfEven.h"

namespace halyard {
namespace {

thread_local Canvas* g_current = nullptr;

// Pixels far outside any picture are pulled in to a range where the
// rasterizers' integer arithmetic cannot overflow; they are clipped anyway.
constexpr long double kCoordinateLimit = 1 << 28;

std::int32_t RoundToPixel(long double value) {
  return RoundHalfEven(std::clamp(value, -kCoordinateLimit, kCoordinateLimit));
}

std::int32_t RoundToPixel(float value) {
  if (!(std::fabs(value) <= static_cast<float>(kCoordinateLimit))) {
    return RoundToPixel(static_cast<long double>(value));
  }
  return RoundHalfEven(value);
}

std::uint32_t Low24(std::int32_t color) { return static_cast<std::uint32_t>(color) & 0xFFFFFFu; }

// A shape's fill: the outline's colour by default, none, or the colour given.
std::optional<std::uint32_t> ResolveFill(std::int32_t fill, std::uint32_t outlineColor) {
  if (fill == ColorDefault) return outlineColor;
  if (fill == ColorNone) return std::nullopt;
  return Low24(fill);
}

}  // namespace

Canvas::Canvas(std::unique_ptr<Rasterizer> rasterizer, CanvasPresenter* presenter, std::int32_t dpi,
               SystemColors colors)
    : rasterizer_(std::move(rasterizer)),
      presenter_(presenter),
      dpi_(dpi > 0 ? dpi : kDefaultDpi),
      system_(colors),
      foreground_(static_cast<std::int32_t>(colors.windowText)),
      background_(static_cast<std::int32_t>(colors.buttonFace)) {
  rasterizer_->FillAll(system_.buttonFace);
  lineHeight_ = rasterizer_->Metrics().LineHeight();
}

Canvas::~Canvas() {
  if (g_current == this) g_current = nullptr;
}

void Canvas::Rebuild(std::unique_ptr<Rasterizer> rasterizer, std::int32_t dpi) {
  rasterizer_ = std::move(rasterizer);
  dpi_ = dpi > 0 ? dpi : kDefaultDpi;
  rasterizer_->FillAll(background_ == ColorNone ? system_.buttonFace : Low24(background_));
  if (hasFont_ && rasterizer_->SetFont(font_, dpi_)) {
    lineHeight_ = rasterizer_->Metrics().LineHeight();
  }
  scaled_ = false;
  current_ = {};
  changed_ = {};
  // Operations recorded for the old picture mean nothing on the new one.
  pending_ = false;
  record_.Forget();
}

Canvas* Canvas::Current() { return g_current; }

void Canvas::SetCurrent(Canvas* canvas, DrawingMode mode) {
  // Leaving deferred drawing: what was recorded reaches the picture now and is
  // shown with the next change, as if it had been drawn at once.
  if (g_current != nullptr && g_current->pending_ && (g_current != canvas || mode == DrawingMode::Immediate)) {
    g_current->DrawPending();
  }
  g_current = canvas;
  if (canvas != nullptr) canvas->mode_ = mode;
}

void Canvas::Attach(CanvasOwner* window, std::int32_t controlId, DrawingMode mode) {
  SetCurrent(window != nullptr ? window->FindCanvas(controlId) : nullptr, mode);
  if (g_current != nullptr) {
    g_current->Record("Attach", {static_cast<double>(controlId), mode == DrawingMode::Deferred ? 1.0 : 0.0});
  }
}

void Canvas::Record(const char* name, std::initializer_list<double> args, std::string_view text) {
  if (recorder_ == nullptr) return;
  recorder_->push_back(CanvasOp{name, std::vector<double>(args), {}, std::string(text)});
}

PixelPoint Canvas::ToPixel(float x, float y) const {
  if (!scaled_) return {RoundToPixel(x), RoundToPixel(y)};
  return {RoundToPixel((static_cast<long double>(x) - x0_) * sx_),
          RoundToPixel((static_cast<long double>(y) - y0_) * sy_)};
}

void Canvas::Touch(const PixelRect& area) {
  const PixelRect clipped = Intersect(area, rasterizer_->Pixels().Bounds());
  if (clipped.Empty()) return;
  changed_ = Union(changed_, clipped);
  if (mode_ == DrawingMode::Immediate) {
    if (presenter_ != nullptr) presenter_->Present(rasterizer_->Pixels(), changed_);
    changed_ = {};
  }
}

DrawOp& Canvas::NewOp(DrawOp::Kind kind) {
  if (!pending_) record_.Begin(rasterizer_->Pixels().Bounds());
  pending_ = true;
  return record_.Add(kind);
}

void Canvas::Emit(const PixelRect& area) {
  if (mode_ == DrawingMode::Immediate) {
    if (presenter_ != nullptr) presenter_->BeforeDrawing();
    DrawingRecord::Draw(*rasterizer_, record_.Adding());
    pending_ = record_.Size() > 0;
    // The picture now holds something no record describes.
    record_.Forget();
  } else {
    record_.Seal();
  }
  Touch(area);
}

std::span<const PixelRect> Canvas::DrawPending() {
  if (!pending_) return {};
  pending_ = false;
  const std::span<const PixelRect> areas = record_.Changes();
  if (!areas.empty() && presenter_ != nullptr) presenter_->BeforeDrawing();
  record_.Replay(*rasterizer_, areas, dpi_, hasFont_ ? &font_ : nullptr);
  record_.Commit();
  return areas;
}

std::uint32_t Canvas::ResolveOutline(std::int32_t color) const {
  return color == ColorDefault ? Low24(foreground_) : Low24(color);
}

// --- static operations: all act on the current target, if any ---

void Canvas::SetColors(std::int32_t foreground, std::int32_t background) {
  if (Canvas* c = g_current) {
    c->Record("SetColors", {static_cast<double>(foreground), static_cast<double>(background)});
    c->DoSetColors(foreground, background);
  }
}

void Canvas::DoSetColors(std::int32_t foreground, std::int32_t background) {
  if (foreground == ColorDefault) {
    foreground_ = static_cast<std::int32_t>(system_.windowText);
  } else if (foreground != ColorKeep) {
    foreground_ = static_cast<std::int32_t>(Low24(foreground));
  }
  if (background == ColorDefault) {
    background_ = static_cast<std::int32_t>(system_.buttonFace);
    opaqueText_ = true;
  } else if (background == ColorNone) {
    background_ = ColorNone;
    opaqueText_ = false;
  } else if (background != ColorKeep) {
    background_ = static_cast<std::int32_t>(Low24(background));
    opaqueText_ = true;
  }
}

void Canvas::SetFont(const FontSpec& font) {
  if (Canvas* c = g_current) {
    c->Record("SetFont", {static_cast<double>(font.points), static_cast<double>(font.style)}, font.face);
    c->DoSetFont(font);
  }
}

void Canvas::DoSetFont(const FontSpec& font) {
  FontSpec spec = font;
  if (spec.face.size() > 31) spec.face.resize(31);
  if (hasFont_ && spec == font_) return;  // an identical request shares the realised font
  if (!rasterizer_->SetFont(spec, dpi_)) return;  // a font that cannot be made leaves the old one
  font_ = spec;
  hasFont_ = true;
  lineHeight_ = rasterizer_->Metrics().LineHeight();
}

void Canvas::SetScale(float x1, float y1, float x2, float y2) {
  if (Canvas* c = g_current) {
    c->Record("SetScale", {x1, y1, x2, y2});
    c->DoSetScale(x1, y1, x2, y2);
  }
}

void Canvas::DoSetScale(float x1, float y1, float x2, float y2) {
  if (x1 == x2 || y1 == y2) return;
  const Picture& pic = rasterizer_->Pixels();
  x0_ = std::min(x1, x2);
  y0_ = std::min(y1, y2);
  sx_ = static_cast<float>(pic.Width()) / std::fabs(x2 - x1);
  sy_ = static_cast<float>(pic.Height()) / std::fabs(y2 - y1);
  scaled_ = !(x0_ == 0 && y0_ == 0 && sx_ == 1.0f && sy_ == 1.0f);
}

TextExtent Canvas::PixelSize() {
  Canvas* c = g_current;
  if (c == nullptr) return {};
  c->Record("PixelSize", {});
  const Picture& pic = c->rasterizer_->Pixels();
  return {pic.Width(), pic.Height()};
}

void Canvas::Clear(std::int32_t color, FillStyle style) {
  if (Canvas* c = g_current) {
    c->Record("Clear", {static_cast<double>(color), static_cast<double>(style)});
    c->DoClear(color, style);
  }
}

void Canvas::DoClear(std::int32_t color, FillStyle /*style: only solid exists*/) {
  current_ = {};
  if (color == ColorNone || (color == ColorDefault && background_ == ColorNone)) return;
  NewOp(DrawOp::Kind::Fill).color = color == ColorDefault ? Low24(background_) : Low24(color);
  Emit(rasterizer_->Pixels().Bounds());
}

void Canvas::SetPenWidth(std::int32_t width) {
  if (Canvas* c = g_current) {
    c->Record("SetPenWidth", {static_cast<double>(width)});
    c->penWidth_ = width;
  }
}

void Canvas::MoveTo(float x, float y) {
  if (Canvas* c = g_current) {
    c->Record("MoveTo", {x, y});
    c->current_ = c->ToPixel(x, y);
  }
}

void Canvas::LineTo(float x, float y, std::int32_t color) {
  if (Canvas* c = g_current) {
    c->Record("LineTo", {x, y, static_cast<double>(color)});
    c->DoLineTo(x, y, color);
  }
}

void Canvas::DoLineTo(float x, float y, std::int32_t color) {
  const PixelPoint from = current_;
  const PixelPoint to = ToPixel(x, y);
  current_ = to;
  if (color == ColorNone) return;
  const std::int32_t pen = std::clamp(penWidth_, 0, 1 << 16);
  DrawOp& op = NewOp(DrawOp::Kind::Line);
  op.from = from;
  op.to = to;
  op.pen = pen;
  op.color = ResolveOutline(color);
  const std::int32_t grow = pen / 2 + 1;
  Emit({std::min(from.x, to.x) - grow, std::min(from.y, to.y) - grow, std::max(from.x, to.x) + grow + 1,
         std::max(from.y, to.y) + grow + 1});
}

void Canvas::Box(float x1, float y1, float x2, float y2, std::int32_t cornerPercent,
                 std::int32_t outline, std::int32_t fill, FillStyle style) {
  if (Canvas* c = g_current) {
    c->Record("Box", {x1, y1, x2, y2, static_cast<double>(cornerPercent), static_cast<double>(outline),
                      static_cast<double>(fill), static_cast<double>(style)});
    c->DoBox(x1, y1, x2, y2, cornerPercent, outline, fill, false);
  }
}

void Canvas::Ellipse(float x1, float y1, float x2, float y2, std::int32_t outline, std::int32_t fill,
                     FillStyle style) {
  if (Canvas* c = g_current) {
    c->Record("Ellipse", {x1, y1, x2, y2, static_cast<double>(outline), static_cast<double>(fill),
                          static_cast<double>(style)});
    c->DoBox(x1, y1, x2, y2, 100, outline, fill, true);
  }
}

void Canvas::DoBox(float x1, float y1, float x2, float y2, std::int32_t cornerPercent,
                   std::int32_t outline, std::int32_t fill, bool ellipse) {
  const PixelPoint a = ToPixel(x1, y1);
  const PixelPoint b = ToPixel(x2, y2);
  const PixelRect box{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
  const std::uint32_t outlineColor = ResolveOutline(outline);
  const std::optional<std::uint32_t> fillColor = ResolveFill(fill, outlineColor);
  const std::int32_t pen = std::clamp(penWidth_, 0, 1 << 16);
  DrawOp& op = NewOp(ellipse ? DrawOp::Kind::Ellipse : DrawOp::Kind::RoundBox);
  op.rect = box;
  op.pen = pen;
  op.color = outlineColor;
  op.fill = fillColor;
  if (!ellipse) {
    // Compared unsigned, so any negative percentage counts as 100 too.
    const std::uint32_t percent = std::min<std::uint32_t>(static_cast<std::uint32_t>(cornerPercent), 100u);
    const std::int64_t side = std::min<std::int64_t>(static_cast<std::int64_t>(box.right) - box.left,
                                                     static_cast<std::int64_t>(box.bottom) - box.top);
    op.corner = static_cast<std::int32_t>(side * percent / 100);
  }
  const std::int32_t grow = pen / 2 + 1;
  Emit({box.left - grow, box.top - grow, box.right + grow, box.bottom + grow});
}

void Canvas::Polygon(std::span<const PointF> points, std::int32_t outline, std::int32_t fill, FillStyle style,
                     std::int32_t fillRule) {
  if (Canvas* c = g_current) {
    if (c->recorder_ != nullptr) {
      c->recorder_->push_back(CanvasOp{"Polygon",
                                       {static_cast<double>(outline), static_cast<double>(fill),
                                        static_cast<double>(style), static_cast<double>(fillRule)},
                                       PointList(points.begin(), points.end()),
                                       {}});
    }
    c->DoPolygon(points, outline, fill, fillRule);
  }
}

void Canvas::DoPolygon(std::span<const PointF> points, std::int32_t outline, std::int32_t fill,
                       std::int32_t fillRule) {
  DrawOp& op = NewOp(DrawOp::Kind::Polygon);
  for (const PointF& p : points) op.points.push_back(ToPixel(p.x, p.y));
  const std::uint32_t outlineColor = ResolveOutline(outline);
  const std::optional<std::uint32_t> fillColor = ResolveFill(fill, outlineColor);
  op.pen = std::clamp(penWidth_, 0, 1 << 16);
  op.color = outlineColor;
  op.fill = fillColor;
  op.rule = fillRule == 0 ? FillRule::Winding : FillRule::Alternate;
  Emit(rasterizer_->Pixels().Bounds());
}

TextExtent Canvas::TextSize(std::string_view text) {
  Canvas* c = g_current;
  if (c == nullptr) return {};
  c->Record("TextSize", {}, text);
  return c->DoTextSize(text);
}

TextExtent Canvas::DoTextSize(std::string_view text) {
  TextExtent extent = rasterizer_->MeasureText(text);
  if (scaled_) {
    extent.width = RoundToPixel(static_cast<long double>(extent.width) / sx_);
    extent.height = RoundToPixel(static_cast<long double>(extent.height) / sy_);
  }
  return extent;
}

void Canvas::PrintText(std::string_view text) {
  if (Canvas* c = g_current) {
    c->Record("PrintText", {}, text);
    c->DoPrintText(text);
  }
}

void Canvas::DoPrintText(std::string_view text) {
  const Picture& pic = rasterizer_->Pixels();
  const PixelRect line{current_.x, current_.y, std::max(pic.Width(), current_.x), current_.y + lineHeight_};
  std::optional<std::uint32_t> background;
  if (opaqueText_ && background_ != ColorNone) background = Low24(background_);
  DrawOp& op = NewOp(DrawOp::Kind::Text);
  op.from = current_;
  op.text.assign(text);
  op.color = Low24(foreground_);
  op.fill = background;
  op.rect = line;
  op.hasFont = hasFont_;
  if (hasFont_) op.font = font_;
  // Where each character writes tells only what changed: a text shown as it
  // was (the legend at every other tick) is not walked for it.
  op.hasSpans = !record_.AddingRepeatsShown() && rasterizer_->CharacterSpans(op.text, op.spans);
  current_ = {0, current_.y + lineHeight_};
  Emit(line);
}

void Canvas::Redraw() {
  if (Canvas* c = g_current) {
    c->Record("Redraw", {});
    c->DoRedraw();
  }
}

void Canvas::DoRedraw() {
  if (!pending_) {
    // Nothing recorded since the last repaint: show the whole picture, as asked.
    lastAreas_ = {};
    if (presenter_ != nullptr) presenter_->Present(rasterizer_->Pixels(), rasterizer_->Pixels().Bounds());
  } else {
    lastAreas_ = DrawPending();
    if (presenter_ != nullptr) {
      for (const PixelRect& area : lastAreas_) presenter_->Present(rasterizer_->Pixels(), area);
    }
  }
  changed_ = {};
}

}  // namespace halyard
