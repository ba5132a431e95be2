#include "platform/canvas/DrawingRecord.h"

#include <algorithm>
#include <limits>
#include <utility>

#include "platform/canvas/DrawingBoxTrim.h"

namespace halyard {
namespace {

// Larger than any picture, small enough that a box grown from it cannot overflow.
constexpr PixelRect kEverywhere{std::numeric_limits<std::int32_t>::min() / 2,
                                std::numeric_limits<std::int32_t>::min() / 2,
                                std::numeric_limits<std::int32_t>::max() / 2,
                                std::numeric_limits<std::int32_t>::max() / 2};

std::int32_t Clamp32(std::int64_t v) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, kEverywhere.left, kEverywhere.right));
}

// How far a pen of `pen` writes from the points it is drawn along: half the
// pen (round caps reach a pixel further) and a pixel for rounding.
std::int64_t Reach(std::int32_t pen) {
  const std::int64_t width = std::max<std::int64_t>(1, pen < 0 ? -static_cast<std::int64_t>(pen) : pen);
  return std::max<std::int64_t>(0, width / 2 + 2 - kDrawingBoxTrim);
}

// Points from x0..x1, y0..y1 (inclusive) with a pen of `pen` around them, and
// the exclusive right and bottom edges.
PixelRect AroundPoints(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1, std::int32_t pen) {
  const std::int64_t grow = Reach(pen);
  return {Clamp32(x0 - grow), Clamp32(y0 - grow), Clamp32(x1 + grow + 1), Clamp32(y1 + grow + 1)};
}

// A slanted line's change is told in bands of this many rows, aligned to the
// picture, so a moving hand redraws a strip along itself instead of the box
// around it, and the bands of two lines meet only within the same rows.
constexpr std::int64_t kBandRows = 16;
// Lines longer than this keep their box (and their arithmetic stays small).
constexpr std::int64_t kBandedLimit = std::int64_t{1} << 24;

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }
std::int64_t CeilDiv(std::int64_t a, std::int64_t b) { return -FloorDiv(-a, b); }

std::int64_t Area(const PixelRect& r) {
  return r.Empty() ? 0 : static_cast<std::int64_t>(r.right - r.left) * (r.bottom - r.top);
}

}  // namespace

bool DrawOp::operator==(const DrawOp& other) const {
  if (kind != other.kind || color != other.color || fill != other.fill) return false;
  switch (kind) {
    case Kind::Fill:
      return true;
    case Kind::Line:
      return pen == other.pen && from == other.from && to == other.to;
    case Kind::RoundBox:
      return pen == other.pen && rect == other.rect && corner == other.corner;
    case Kind::Ellipse:
      return pen == other.pen && rect == other.rect;
    case Kind::Polygon:
      return pen == other.pen && rule == other.rule && points == other.points;
    case Kind::Text:
      return from == other.from && rect == other.rect && text == other.text && hasFont == other.hasFont &&
             (!hasFont || font == other.font);
  }
  return false;
}

DrawOp& DrawingRecord::Add(DrawOp::Kind kind) {
  DrawOp& op = next_;
  op.kind = kind;
  op.color = 0;
  op.fill.reset();
  op.pen = 0;
  op.from = op.to = {};
  op.rect = {};
  op.corner = 0;
  op.rule = FillRule::Winding;
  op.hasFont = false;
  op.hasSpans = false;
  op.box = {};
  // Only the kinds that use a buffer touch it: it keeps its capacity, and the
  // many small shapes of a repaint stay within their first cache lines.
  if (kind == DrawOp::Kind::Polygon) op.points.clear();
  if (kind == DrawOp::Kind::Text) {
    op.text.clear();
    op.spans.clear();
  }
  return op;
}

void DrawingRecord::Seal() {
  DrawOp& op = next_;
  switch (op.kind) {
    case DrawOp::Kind::Fill:
      op.box = kEverywhere;
      break;
    case DrawOp::Kind::Line:
      op.box = AroundPoints(std::min(op.from.x, op.to.x), std::min(op.from.y, op.to.y), std::max(op.from.x, op.to.x),
                            std::max(op.from.y, op.to.y), op.pen);
      break;
    case DrawOp::Kind::RoundBox:
    case DrawOp::Kind::Ellipse:
      // The outline runs inside the box, along its last column and row.
      op.box = AroundPoints(op.rect.left, op.rect.top, op.rect.right, op.rect.bottom, op.pen);
      break;
    case DrawOp::Kind::Polygon: {
      if (op.points.empty()) break;
      std::int64_t left = op.points.front().x, right = left;
      std::int64_t top = op.points.front().y, bottom = top;
      for (const PixelPoint& p : op.points) {
        left = std::min<std::int64_t>(left, p.x);
        right = std::max<std::int64_t>(right, p.x);
        top = std::min<std::int64_t>(top, p.y);
        bottom = std::max<std::int64_t>(bottom, p.y);
      }
      op.box = AroundPoints(left, top, right, bottom, op.pen);
      break;
    }
    case DrawOp::Kind::Text:
      op.box = op.rect;  // text and its cells stay inside the clip it is given
      if (op.hasSpans) {
        // ... and inside its characters' spans.
        std::int64_t left = 0, right = 0;
        for (const CharacterSpan& span : op.spans) {
          left = std::min<std::int64_t>(left, span.left);
          right = std::max<std::int64_t>(right, span.right);
        }
        op.box.left = std::max(op.box.left, Clamp32(op.from.x + left));
        op.box.right = std::min(op.box.right, Clamp32(op.from.x + right));
        if (op.spans.empty()) op.box = {};
      }
      break;
  }

  if (count_ == shown_.size()) shown_.emplace_back();
  DrawOp& before = shown_[count_];
  const bool known = ShownInPlace();
  ++count_;
  if (known && op == before) return;
  if (known && !AddTextChange(op, before)) {
    AddOperationArea(op);
    AddOperationArea(before);
  } else if (!known && shownValid_) {
    AddOperationArea(op);  // an operation more than last time
  }
  std::swap(op, before);  // its buffers go back to next_, for reuse
}

void DrawingRecord::AddArea(PixelRect area) {
  if (area.Empty()) return;
  // Overlapping areas become one, so no pixel is drawn or sent twice. The
  // areas held never overlap, so only the newcomer (grown by what it took in)
  // needs checking.
  for (std::size_t i = 0; i < areaCount_;) {
    if (Intersect(areas_[i], area).Empty()) {
      ++i;
      continue;
    }
    area = Union(area, areas_[i]);
    areas_[i] = areas_[--areaCount_];
    i = 0;
  }
  areas_[areaCount_++] = area;
  if (areaCount_ <= kMaxAreas) return;
  // Too many: join the two whose union adds the least area.
  std::size_t bestI = 0, bestJ = 1;
  std::int64_t bestCost = std::numeric_limits<std::int64_t>::max();
  for (std::size_t i = 0; i < areaCount_; ++i) {
    for (std::size_t j = i + 1; j < areaCount_; ++j) {
      const std::int64_t cost = Area(Union(areas_[i], areas_[j])) - Area(areas_[i]) - Area(areas_[j]);
      if (cost < bestCost) {
        bestCost = cost;
        bestI = i;
        bestJ = j;
      }
    }
  }
  const PixelRect joined = Union(areas_[bestI], areas_[bestJ]);
  areas_[bestJ] = areas_[--areaCount_];  // bestI < bestJ, so bestI stays put
  areas_[bestI] = areas_[--areaCount_];
  AddArea(joined);  // it may overlap others now
}

std::span<const PixelRect> DrawingRecord::Changes() {
  if (!shownValid_) {
    areaCount_ = 0;
    AddArea(bounds_);
    return {areas_.data(), areaCount_};
  }
  // The areas of the operations recorded came with them; those of the
  // operations that are no longer drawn come now.
  for (std::size_t i = count_; i < shownCount_; ++i) AddOperationArea(shown_[i]);
  return {areas_.data(), areaCount_};
}

void DrawingRecord::AddOperationArea(const DrawOp& op) {
  const PixelRect box = Intersect(op.box, bounds_);
  PixelPoint a = op.from, b = op.to;
  if (a.y > b.y) std::swap(a, b);
  const std::int64_t dx = std::int64_t{b.x} - a.x, dy = std::int64_t{b.y} - a.y;
  if (op.kind != DrawOp::Kind::Line || box.Empty() || box.bottom - box.top <= kBandRows || dx == 0 || dy == 0 ||
      dy > kBandedLimit || dx > kBandedLimit || -dx > kBandedLimit) {
    AddArea(box);
    return;
  }
  // A pixel in row y lies within the pen's reach of a point of the line whose
  // row is within that reach of y; between two rows the line's x is linear.
  const std::int64_t grow = Reach(op.pen);
  const auto xAt = [&](std::int64_t y, bool up) {
    const std::int64_t num = (y - a.y) * dx;
    return a.x + (up ? CeilDiv(num, dy) : FloorDiv(num, dy));
  };
  for (std::int64_t top = box.top, next; top < box.bottom; top = next) {
    next = std::min<std::int64_t>(box.bottom, (FloorDiv(top, kBandRows) + 1) * kBandRows);
    const std::int64_t first = std::max<std::int64_t>(a.y, top - grow);
    const std::int64_t last = std::min<std::int64_t>(b.y, next - 1 + grow);
    if (first > last) continue;
    const std::int64_t left = std::min(xAt(first, false), xAt(last, false));
    const std::int64_t right = std::max(xAt(first, true), xAt(last, true));
    AddArea(Intersect({Clamp32(left - grow), Clamp32(top), Clamp32(right + grow + 1), Clamp32(next)}, box));
  }
}

bool DrawingRecord::AddTextChange(const DrawOp& now, const DrawOp& before) {
  if (now.kind != DrawOp::Kind::Text || before.kind != DrawOp::Kind::Text || !now.hasSpans || !before.hasSpans ||
      now.color != before.color || now.fill != before.fill || now.from != before.from || now.rect != before.rect ||
      now.hasFont != before.hasFont || (now.hasFont && !(now.font == before.font))) {
    return false;
  }
  // Characters alike at both ends, in the same bytes and the same columns, get
  // the same pixels in the same order; only the characters between can differ.
  const auto same = [&](std::size_t i, std::size_t j) {
    const std::size_t nowStart = i == 0 ? 0 : now.spans[i - 1].end;
    const std::size_t beforeStart = j == 0 ? 0 : before.spans[j - 1].end;
    const CharacterSpan& a = now.spans[i];
    const CharacterSpan& b = before.spans[j];
    return a.left == b.left && a.right == b.right &&
           std::string_view(now.text).substr(nowStart, a.end - nowStart) ==
               std::string_view(before.text).substr(beforeStart, b.end - beforeStart);
  };
  const std::size_t nowCount = now.spans.size(), beforeCount = before.spans.size();
  std::size_t head = 0;
  while (head < nowCount && head < beforeCount && same(head, head)) ++head;
  std::size_t tail = 0;
  while (tail < nowCount - head && tail < beforeCount - head && same(nowCount - 1 - tail, beforeCount - 1 - tail)) {
    ++tail;
  }
  std::int64_t left = std::numeric_limits<std::int64_t>::max(), right = std::numeric_limits<std::int64_t>::min();
  for (const DrawOp* op : {&now, &before}) {
    for (std::size_t i = head; i + tail < op->spans.size(); ++i) {
      left = std::min<std::int64_t>(left, op->spans[i].left);
      right = std::max<std::int64_t>(right, op->spans[i].right);
    }
  }
  if (left < right) {
    const PixelRect columns{Clamp32(now.from.x + left + kDrawingBoxTrim), now.rect.top,
                            Clamp32(now.from.x + right - kDrawingBoxTrim), now.rect.bottom};
    AddArea(Intersect(Intersect(columns, now.rect), bounds_));
  }
  return true;
}

void DrawingRecord::Commit() {
  shownCount_ = count_;
  shownValid_ = true;
  count_ = 0;
}

void DrawingRecord::Replay(Rasterizer& rasterizer, std::span<const PixelRect> areas, std::int32_t dpi,
                           const FontSpec* currentFont) const {
  if (areas.empty()) return;
  // One pass over all the areas: an operation that meets several (a hand
  // crossing the bands of another) is worked out once, not once per area.
  rasterizer.SetClip(areas);
  PixelRect around{};
  for (const PixelRect& area : areas) around = Union(around, area);
  const auto meets = [&](const PixelRect& box) {
    if (Intersect(box, around).Empty()) return false;
    for (const PixelRect& area : areas) {
      if (!Intersect(box, area).Empty()) return true;
    }
    return false;
  };
  const FontSpec* active = currentFont;
  for (const DrawOp& op : Operations()) {
    if (!meets(op.box)) continue;
    if (op.kind == DrawOp::Kind::Text && op.hasFont && (active == nullptr || !(*active == op.font))) {
      rasterizer.SetFont(op.font, dpi);
      active = &op.font;
    }
    Draw(rasterizer, op);
  }
  if (currentFont != nullptr && active != currentFont && !(*active == *currentFont)) {
    rasterizer.SetFont(*currentFont, dpi);
  }
  rasterizer.SetClip(kEverywhere);
}

void DrawingRecord::Draw(Rasterizer& rasterizer, const DrawOp& op) {
  switch (op.kind) {
    case DrawOp::Kind::Fill:
      rasterizer.FillAll(op.color);
      break;
    case DrawOp::Kind::Line:
      rasterizer.Line(op.from, op.to, op.pen, op.color);
      break;
    case DrawOp::Kind::RoundBox:
      rasterizer.RoundBox(op.rect, op.corner, op.corner, op.pen, op.color, op.fill);
      break;
    case DrawOp::Kind::Ellipse:
      rasterizer.Ellipse(op.rect, op.pen, op.color, op.fill);
      break;
    case DrawOp::Kind::Polygon:
      rasterizer.Polygon(op.points, op.pen, op.color, op.fill, op.rule);
      break;
    case DrawOp::Kind::Text:
      rasterizer.DrawText(op.from, op.text, op.color, op.fill, op.rect);
      break;
  }
}

}  // namespace halyard
