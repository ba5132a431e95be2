// A picture in memory: 32 bits per pixel, 0x00RRGGBB, top-down rows. A picture
// of its own has no padding between rows: the layout of a 32-bpp top-down DIB
// section, so both rasterizers share it. A view draws into memory owned by
// someone else (a window's shared image, a part of a larger picture), whose
// rows may lie further apart than the view is wide.
#pragma once

#include <algorithm>
#include <cstddef>
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

// Inline: a repaint asks them some thousand times.
inline PixelRect Intersect(const PixelRect& a, const PixelRect& b) {
  const PixelRect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                    std::min(a.bottom, b.bottom)};
  return r.Empty() ? PixelRect{} : r;
}
// An empty side is ignored.
inline PixelRect Union(const PixelRect& a, const PixelRect& b) {
  if (a.Empty()) return b;
  if (b.Empty()) return a;
  return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
          std::max(a.bottom, b.bottom)};
}

// GDI colours are 0x00BBGGRR; pictures hold 0x00RRGGBB.
constexpr std::uint32_t ColorRefToPixel(std::uint32_t colorRef) {
  return ((colorRef & 0xFFu) << 16) | (colorRef & 0xFF00u) | ((colorRef >> 16) & 0xFFu);
}
constexpr std::uint32_t PixelToColorRef(std::uint32_t pixel) { return ColorRefToPixel(pixel); }

class Picture {
 public:
  Picture() = default;
  Picture(std::int32_t width, std::int32_t height, std::uint32_t pixel = 0);
  // A view of `width` x `height` pixels at `pixels`, rows `stride` pixels apart;
  // the memory must outlive the view.
  static Picture View(std::uint32_t* pixels, std::int32_t width, std::int32_t height, std::int32_t stride);
  // A view of `rect` (clipped) of this picture.
  Picture Part(const PixelRect& rect);

  // A copy has pixels of its own, even when copied from a view.
  Picture(const Picture& other);
  Picture& operator=(const Picture& other);
  Picture(Picture&& other) noexcept;
  Picture& operator=(Picture&& other) noexcept;

  std::int32_t Width() const { return width_; }
  std::int32_t Height() const { return height_; }
  PixelRect Bounds() const { return {0, 0, width_, height_}; }
  // Pixels from one row to the next: the width, except in some views.
  std::int32_t Stride() const { return stride_; }
  bool IsView() const { return pixels_ != nullptr && data_.empty(); }

  std::uint32_t* Row(std::int32_t y) { return pixels_ + static_cast<std::ptrdiff_t>(y) * stride_; }
  const std::uint32_t* Row(std::int32_t y) const { return pixels_ + static_cast<std::ptrdiff_t>(y) * stride_; }
  // The first row; all rows follow without gaps when Stride() == Width().
  std::uint32_t* Data() { return pixels_; }
  const std::uint32_t* Data() const { return pixels_; }

  // Checked access: outside the picture Get gives 0 and Set does nothing.
  std::uint32_t Get(std::int32_t x, std::int32_t y) const;
  void Set(std::int32_t x, std::int32_t y, std::uint32_t pixel);
  // Fills rect clipped to the picture.
  void FillRect(const PixelRect& rect, std::uint32_t pixel);
  // Copies `source` with its top-left at (x, y), clipped.
  void Blit(const Picture& source, std::int32_t x, std::int32_t y);

  // Same size and pixels (row padding and ownership aside).
  bool operator==(const Picture& other) const;

 private:
  std::int32_t width_ = 0;
  std::int32_t height_ = 0;
  std::int32_t stride_ = 0;
  std::vector<std::uint32_t> data_;  // empty in a view
  std::uint32_t* pixels_ = nullptr;
};

}  // namespace halyard
