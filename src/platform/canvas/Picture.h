// A picture in memory: 32 bits per pixel, 0x00RRGGBB, top-down rows, no padding.
// This is the layout of a 32-bpp top-down DIB section, so both rasterizers share it.
#pragma once

#include <cstdint>
#include <vector>

namespace halyard {

struct PixelPoint {
  std::int32_t x = 0;
  std::int32_t y = 0;
  bool operator==(const PixelPoint&) const = default;
};

// Half-open: columns left..right-1, rows top..bottom-1.
struct PixelRect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;
  bool Empty() const { return right <= left || bottom <= top; }
  bool operator==(const PixelRect&) const = default;
};

PixelRect Intersect(const PixelRect& a, const PixelRect& b);
PixelRect Union(const PixelRect& a, const PixelRect& b);  // an empty side is ignored

// GDI colours are 0x00BBGGRR; pictures hold 0x00RRGGBB.
constexpr std::uint32_t ColorRefToPixel(std::uint32_t colorRef) {
  return ((colorRef & 0xFFu) << 16) | (colorRef & 0xFF00u) | ((colorRef >> 16) & 0xFFu);
}
constexpr std::uint32_t PixelToColorRef(std::uint32_t pixel) { return ColorRefToPixel(pixel); }

class Picture {
 public:
  Picture() = default;
  Picture(std::int32_t width, std::int32_t height, std::uint32_t pixel = 0);

  std::int32_t Width() const { return width_; }
  std::int32_t Height() const { return height_; }
  PixelRect Bounds() const { return {0, 0, width_, height_}; }

  std::uint32_t* Row(std::int32_t y) { return data_.data() + static_cast<std::size_t>(y) * width_; }
  const std::uint32_t* Row(std::int32_t y) const {
    return data_.data() + static_cast<std::size_t>(y) * width_;
  }
  std::uint32_t* Data() { return data_.data(); }
  const std::uint32_t* Data() const { return data_.data(); }

  // Checked access: outside the picture Get gives 0 and Set does nothing.
  std::uint32_t Get(std::int32_t x, std::int32_t y) const;
  void Set(std::int32_t x, std::int32_t y, std::uint32_t pixel);
  // Fills rect clipped to the picture.
  void FillRect(const PixelRect& rect, std::uint32_t pixel);
  // Copies `source` with its top-left at (x, y), clipped.
  void Blit(const Picture& source, std::int32_t x, std::int32_t y);

  bool operator==(const Picture&) const = default;

 private:
  std::int32_t width_ = 0;
  std::int32_t height_ = 0;
  std::vector<std::uint32_t> data_;
};

}  // namespace halyard
