// The one place pixels are written: solid spans and rectangles, clipped to the
// picture and to a clip rectangle or region. Every shape reaches the picture
// through here, so clipping is done once and coordinates may be anything a
// 64-bit sum of 32-bit values can be. It can also keep, instead of writing,
// the rectangles a shape covers, to be painted again later.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstddef>
#include <span>
#include <vector>

#include "platform/canvas/Picture.h"
#include "backends/soft/ClipRegion.h"
#include "backends/soft/Point64.h"

namespace halyard::soft {

class SpanPainter {
 public:
  SpanPainter(Picture& picture, std::uint32_t pixel) : SpanPainter(picture, pixel, picture.Bounds()) {}
  // Writes only inside `clip` (and the picture).
  SpanPainter(Picture& picture, std::uint32_t pixel, const PixelRect& clip)
      : picture_(picture), width_(picture.Width()), height_(picture.Height()), pixel_(pixel) {
    single_ = Intersect(clip, picture.Bounds());
    rects_ = {&single_, single_.Empty() ? 0u : 1u};
    SetBounds(single_);
  }
  // Writes only inside the region's rectangles, which lie inside the picture.
  SpanPainter(Picture& picture, std::uint32_t pixel, const ClipRegion& clip)
      : picture_(picture), width_(picture.Width()), height_(picture.Height()), pixel_(pixel),
        rects_(clip.Rects()) {
    SetBounds(clip.Bounds());
  }
  // Writes nothing: what would be written inside the picture is appended to
  // `pieces` instead (neighbours joined), up to `limit` rectangles; past that
  // Overflowed() is true and the pieces are incomplete.
  SpanPainter(Picture& picture, std::vector<PixelRect>& pieces, std::size_t limit)
      : picture_(picture), width_(picture.Width()), height_(picture.Height()), pixel_(0), sink_(&pieces),
        limit_(limit) {
    single_ = picture.Bounds();
    rects_ = {&single_, single_.Empty() ? 0u : 1u};
    SetBounds(single_);
  }
  SpanPainter(const SpanPainter&) = delete;
  SpanPainter& operator=(const SpanPainter&) = delete;

  // The picture's size: shapes walk the picture, the clip only limits writes.
  std::int64_t Width() const { return width_; }
  std::int64_t Height() const { return height_; }
  std::uint32_t Pixel() const { return pixel_; }
  // The rows and columns that can be written, within the picture: [ClipTop(),
  // ClipBottom()) and [ClipLeft(), ClipRight()), around the whole clip.
  std::int64_t ClipTop() const { return top_; }
  std::int64_t ClipBottom() const { return bottom_; }
  std::int64_t ClipLeft() const { return left_; }
  std::int64_t ClipRight() const { return right_; }

  // Columns [x0, x1) of row y.
  void Span(std::int64_t y, std::int64_t x0, std::int64_t x1) {
    if (y < top_ || y >= bottom_) return;
    x0 = std::max(x0, left_);
    x1 = std::min(x1, right_);
    if (x0 >= x1) return;
    if (sink_ != nullptr) return Keep(x0, y, x1, y + 1);
    std::uint32_t* row = picture_.Row(static_cast<std::int32_t>(y));
    if (rects_.size() == 1) {
      std::fill(row + x0, row + x1, pixel_);
      return;
    }
    for (const PixelRect& r : rects_) {
      if (y < r.top || y >= r.bottom) continue;
      const std::int64_t a = std::max<std::int64_t>(x0, r.left);
      const std::int64_t b = std::min<std::int64_t>(x1, r.right);
      if (a < b) std::fill(row + a, row + b, pixel_);
    }
  }

  // Columns [left, right) of rows [top, bottom).
  void Rect(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom) {
    for (const PixelRect& r : rects_) {
      const std::int64_t y0 = std::max<std::int64_t>(top, r.top);
      const std::int64_t y1 = std::min<std::int64_t>(bottom, r.bottom);
      const std::int64_t x0 = std::max<std::int64_t>(left, r.left);
      const std::int64_t x1 = std::min<std::int64_t>(right, r.right);
      if (x0 >= x1 || y0 >= y1) continue;
      if (sink_ != nullptr) {
        Keep(x0, y0, x1, y1);
        continue;
      }
      for (std::int64_t y = y0; y < y1; ++y) {
        std::uint32_t* row = picture_.Row(static_cast<std::int32_t>(y));
        std::fill(row + x0, row + x1, pixel_);
      }
    }
  }

  // A pixel the caller has already clipped to the picture.
  void PlotInside(std::int64_t x, std::int64_t y) {
    if (x < left_ || x >= right_ || y < top_ || y >= bottom_) return;
    if (rects_.size() > 1 && !InRegion(x, y)) return;
    if (sink_ != nullptr) return Keep(x, y, x + 1, y + 1);
    picture_.Row(static_cast<std::int32_t>(y))[x] = pixel_;
  }

  bool Overflowed() const { return overflowed_; }

  // True when the box [left, right) x [top, bottom) misses the clipped picture
  // (it may miss the region's rectangles and still be drawn, to no effect).
  bool Misses(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom) const {
    return right <= left_ || bottom <= top_ || left >= right_ || top >= bottom_ || left >= right ||
           top >= bottom;
  }

 private:
  void SetBounds(const PixelRect& bounds) {
    left_ = bounds.left;
    top_ = bounds.top;
    right_ = bounds.Empty() ? bounds.left : bounds.right;
    bottom_ = bounds.Empty() ? bounds.top : bounds.bottom;
  }
  // Appends a rectangle already inside the picture, joined to the last one
  // when it continues it along its row or below it.
  void Keep(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom) {
    const PixelRect piece{static_cast<std::int32_t>(left), static_cast<std::int32_t>(top),
                          static_cast<std::int32_t>(right), static_cast<std::int32_t>(bottom)};
    if (!sink_->empty()) {
      PixelRect& last = sink_->back();
      if (last.top == piece.top && last.bottom == piece.bottom && last.right == piece.left) {
        last.right = piece.right;
        return;
      }
      if (last.left == piece.left && last.right == piece.right && last.bottom == piece.top) {
        last.bottom = piece.bottom;
        return;
      }
    }
    if (sink_->size() >= limit_) {
      overflowed_ = true;
      return;
    }
    sink_->push_back(piece);
  }
  bool InRegion(std::int64_t x, std::int64_t y) const {
    for (const PixelRect& r : rects_) {
      if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) return true;
    }
    return false;
  }

  Picture& picture_;
  std::int64_t width_;
  std::int64_t height_;
  std::uint32_t pixel_;
  PixelRect single_{};
  std::span<const PixelRect> rects_;
  std::vector<PixelRect>* sink_ = nullptr;
  std::size_t limit_ = 0;
  bool overflowed_ = false;
  std::int64_t left_ = 0;
  std::int64_t top_ = 0;
  std::int64_t right_ = 0;
  std::int64_t bottom_ = 0;
};

}  // namespace halyard::soft
