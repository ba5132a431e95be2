#include "platform/canvas/Picture.h"

#include <algorithm>
#include <cstring>

namespace halyard {

PixelRect Intersect(const PixelRect& a, const PixelRect& b) {
  PixelRect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
              std::min(a.bottom, b.bottom)};
  return r.Empty() ? PixelRect{} : r;
}

PixelRect Union(const PixelRect& a, const PixelRect& b) {
  if (a.Empty()) return b;
  if (b.Empty()) return a;
  return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
          std::max(a.bottom, b.bottom)};
}

Picture::Picture(std::int32_t width, std::int32_t height, std::uint32_t pixel)
    : width_(std::max(width, 0)), height_(std::max(height, 0)),
      data_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), pixel) {}

std::uint32_t Picture::Get(std::int32_t x, std::int32_t y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
  return Row(y)[x];
}

void Picture::Set(std::int32_t x, std::int32_t y, std::uint32_t pixel) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  Row(y)[x] = pixel;
}

void Picture::FillRect(const PixelRect& rect, std::uint32_t pixel) {
  const PixelRect r = Intersect(rect, Bounds());
  if (r.top >= r.bottom || r.left >= r.right) return;
  // One row filled pixel by pixel, the others copied from it: the library's
  // copy is several times faster than a plain loop, and every repaint starts
  // by clearing the whole picture.
  std::uint32_t* first = Row(r.top) + r.left;
  const auto count = static_cast<std::size_t>(r.right - r.left);
  std::fill_n(first, count, pixel);
  for (std::int32_t y = r.top + 1; y < r.bottom; ++y) {
    std::memcpy(Row(y) + r.left, first, count * sizeof(std::uint32_t));
  }
}

void Picture::Blit(const Picture& source, std::int32_t x, std::int32_t y) {
  const PixelRect target = Intersect({x, y, x + source.Width(), y + source.Height()}, Bounds());
  const auto count = static_cast<std::size_t>(target.right - target.left);
  for (std::int32_t row = target.top; row < target.bottom; ++row) {
    std::memcpy(Row(row) + target.left, source.Row(row - y) + (target.left - x),
                count * sizeof(std::uint32_t));
  }
}

}  // namespace halyard
