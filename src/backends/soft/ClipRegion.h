// Where drawing may write: the union of rectangles inside the picture that do
// not overlap. A replay of the changed areas draws each operation once into
// all of them, and a shape is handed only the rectangles near it.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "platform/canvas/Picture.h"

namespace halyard::soft {

class ClipRegion {
 public:
  // The rectangles inside `bounds` (the picture); empty ones are dropped.
  void Set(std::span<const PixelRect> rects, const PixelRect& bounds) {
    rects_.clear();
    bounds_ = {};
    for (const PixelRect& r : rects) Keep(Intersect(r, bounds));
  }
  // The rectangles of `from` that meet [left, right) x [top, bottom).
  void Select(const ClipRegion& from, std::int64_t left, std::int64_t top, std::int64_t right,
              std::int64_t bottom) {
    rects_.clear();
    bounds_ = {};
    if (right <= from.bounds_.left || bottom <= from.bounds_.top || left >= from.bounds_.right ||
        top >= from.bounds_.bottom) {
      return;
    }
    for (const PixelRect& r : from.rects_) {
      if (right > r.left && bottom > r.top && left < r.right && top < r.bottom) Keep(r);
    }
  }

  std::span<const PixelRect> Rects() const { return rects_; }
  // The smallest rectangle around them all (empty when there are none).
  const PixelRect& Bounds() const { return bounds_; }
  bool Empty() const { return rects_.empty(); }

 private:
  void Keep(const PixelRect& r) {
    if (r.Empty()) return;
    rects_.push_back(r);
    bounds_ = Union(bounds_, r);
  }

  std::vector<PixelRect> rects_;  // kept between calls, so that clipping does not allocate once warm
  PixelRect bounds_{};
};

}  // namespace halyard::soft
