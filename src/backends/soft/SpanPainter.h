// The one place pixels are written: solid spans and rectangles, clipped to the
// picture. Every shape reaches the picture through here, so clipping is done
// once and coordinates may be anything a 64-bit sum of 32-bit values can be.
#pragma once

#include <algorithm>
#include <cstdint>

#include "platform/canvas/Picture.h"
#include "backends/soft/Point64.h"

namespace halyard::soft {

class SpanPainter {
 public:
  SpanPainter(Picture& picture, std::uint32_t pixel)
      : picture_(picture), width_(picture.Width()), height_(picture.Height()), pixel_(pixel) {}

  std::int64_t Width() const { return width_; }
  std::int64_t Height() const { return height_; }
  std::uint32_t Pixel() const { return pixel_; }

  // Columns [x0, x1) of row y.
  void Span(std::int64_t y, std::int64_t x0, std::int64_t x1) {
    if (y < 0 || y >= height_) return;
    x0 = std::max<std::int64_t>(x0, 0);
    x1 = std::min(x1, width_);
    if (x0 >= x1) return;
    std::uint32_t* row = picture_.Row(static_cast<std::int32_t>(y));
    std::fill(row + x0, row + x1, pixel_);
  }

  // Columns [left, right) of rows [top, bottom).
  void Rect(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom) {
    top = std::max<std::int64_t>(top, 0);
    bottom = std::min(bottom, height_);
    left = std::max<std::int64_t>(left, 0);
    right = std::min(right, width_);
    if (left >= right) return;
    for (std::int64_t y = top; y < bottom; ++y) {
      std::uint32_t* row = picture_.Row(static_cast<std::int32_t>(y));
      std::fill(row + left, row + right, pixel_);
    }
  }

  // A pixel the caller has already clipped.
  void PlotInside(std::int64_t x, std::int64_t y) {
    picture_.Row(static_cast<std::int32_t>(y))[x] = pixel_;
  }

  // True when the box [left, right) x [top, bottom) misses the picture.
  bool Misses(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom) const {
    return right <= 0 || bottom <= 0 || left >= width_ || top >= height_ || left >= right ||
           top >= bottom;
  }

 private:
  Picture& picture_;
  std::int64_t width_;
  std::int64_t height_;
  std::uint32_t pixel_;
};

}  // namespace halyard::soft
