#include "platform/canvas/Picture.h"

#include <algorithm>
#include <cstring>

namespace halyard {

Picture::Picture(std::int32_t width, std::int32_t height, std::uint32_t pixel)
    : width_(std::max(width, 0)), height_(std::max(height, 0)), stride_(width_),
      data_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), pixel),
      pixels_(data_.data()) {}

Picture Picture::View(std::uint32_t* pixels, std::int32_t width, std::int32_t height, std::int32_t stride) {
  Picture view;
  if (pixels == nullptr || width <= 0 || height <= 0 || stride < width) return view;
  view.width_ = width;
  view.height_ = height;
  view.stride_ = stride;
  view.pixels_ = pixels;
  return view;
}

Picture Picture::Part(const PixelRect& rect) {
  const PixelRect r = Intersect(rect, Bounds());
  if (r.Empty()) return {};
  return View(Row(r.top) + r.left, r.right - r.left, r.bottom - r.top, stride_);
}

Picture::Picture(const Picture& other)
    : width_(other.width_), height_(other.height_), stride_(other.width_),
      data_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_)), pixels_(data_.data()) {
  Blit(other, 0, 0);
}

Picture& Picture::operator=(const Picture& other) {
  if (this != &other) *this = Picture(other);
  return *this;
}

Picture::Picture(Picture&& other) noexcept
    : width_(other.width_), height_(other.height_), stride_(other.stride_), data_(std::move(other.data_)),
      pixels_(other.pixels_) {
  other = Picture();
}

Picture& Picture::operator=(Picture&& other) noexcept {
  if (this == &other) return *this;
  width_ = other.width_;
  height_ = other.height_;
  stride_ = other.stride_;
  data_ = std::move(other.data_);  // a vector's move keeps its buffer where it is
  pixels_ = other.pixels_;
  other.width_ = other.height_ = other.stride_ = 0;
  other.data_.clear();
  other.pixels_ = nullptr;
  return *this;
}

bool Picture::operator==(const Picture& other) const {
  if (width_ != other.width_ || height_ != other.height_) return false;
  const auto count = static_cast<std::size_t>(width_);
  for (std::int32_t y = 0; y < height_; ++y) {
    if (count > 0 && std::memcmp(Row(y), other.Row(y), count * sizeof(std::uint32_t)) != 0) return false;
  }
  return true;
}

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
