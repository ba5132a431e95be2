// The one place pixels are written: solid spans and rectangles, clipped to the
// picture and to a clip rectangle. Every shape reaches the picture through
// here, so clipping is done once and coordinates may be anything a 64-bit sum
// of 32-bit values can be.
#pragma once

#include <algorithm>
#include <cstdint>

#include "platform/canvas/Picture.h"
#include "backends/soft/Point64.h"

namespace halyard::soft {

class SpanPainter {
 public:
  SpanPainter(Picture& picture, std::uint32_t pixel) : SpanPainter(picture, pixel, picture.Bounds()) {}
  // Writes only inside `clip` (and the picture).
  SpanPainter(Picture& picture, std::uint32_t pixel, const PixelRect& clip)
      : picture_(picture), width_(picture.Width()), height_(picture.Height()), pixel_(pixel) {
    const PixelRect inside = Intersect(clip, picture.Bounds());
    left_ = inside.left;
    top_ = inside.top;
    right_ = inside.Empty() ? inside.left : inside.right;
    bottom_ = inside.Empty() ? inside.top : inside.bottom;
  }

  // The picture's size: shapes walk the picture, the clip only limits writes.
  std::int64_t Width() const { return width_; }
  std::int64_t Height() const { return height_; }
  std::uint32_t Pixel() const { return pixel_; }
  // The rows and columns written, within the picture: [ClipTop(), ClipBottom())
  // and [ClipLeft(), ClipRight()).
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
    std::uint32_t* row = picture_.Row(static_cast<std::int32_t>(y));
    std::fill(row + x0, row + x1, pixel_);
  }

  // Columns [left, right) of rows [top, bottom).
  void Rect(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom) {
    top = std::max(top, top_);
    bottom = std::min(bottom, bottom_);
    left = std::max(left, left_);
    right = std::min(right, right_);
    if (left >= right) return;
    for (std::int64_t y = top; y < bottom; ++y) {
      std::uint32_t* row = picture_.Row(static_cast<std::int32_t>(y));
      std::fill(row + left, row + right, pixel_);
    }
  }

  // A pixel the caller has already clipped to the picture.
  void PlotInside(std::int64_t x, std::int64_t y) {
    if (x < left_ || x >= right_ || y < top_ || y >= bottom_) return;
    picture_.Row(static_cast<std::int32_t>(y))[x] = pixel_;
  }

  // True when the box [left, right) x [top, bottom) misses the clipped picture.
  bool Misses(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom) const {
    return right <= left_ || bottom <= top_ || left >= right_ || top >= bottom_ || left >= right ||
           top >= bottom;
  }

 private:
  Picture& picture_;
  std::int64_t width_;
  std::int64_t height_;
  std::uint32_t pixel_;
  std::int64_t left_ = 0;
  std::int64_t top_ = 0;
  std::int64_t right_ = 0;
  std::int64_t bottom_ = 0;
};

}  // namespace halyard::soft
