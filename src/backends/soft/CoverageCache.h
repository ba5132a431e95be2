// The pixels a shape covers, kept for the shapes a repaint draws again and
// again: the dial's sectors, the hub, hands that have not moved. Painting the
// kept rectangles clipped to the changed areas costs a fraction of working the
// shape out again for them. The cache has a few slots, each reused with its
// buffers, so that once warm it allocates nothing.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "platform/canvas/Picture.h"
#include "backends/soft/SpanPainter.h"

namespace halyard::soft {

class CoverageCache {
 public:
  static constexpr std::size_t kSlots = 16;

  // What decides a shape's pixels: its kind and geometry, not its colours.
  class Key {
   public:
    static constexpr std::size_t kCapacity = 24;
    // False once the shape has more numbers than a key holds: it is not kept.
    bool Add(std::int64_t value) {
      if (size_ == kCapacity) return full_ = false;
      values_[size_++] = value;
      return full_;
    }
    bool Fits() const { return full_; }
    bool operator==(const Key& other) const;

   private:
    std::array<std::int64_t, kCapacity> values_{};
    std::size_t size_ = 0;
    bool full_ = true;
  };

  // Rectangles inside the picture, by their top row.
  struct Pieces {
    std::vector<PixelRect> rects;
    std::int32_t tallest = 0;  // rows of the tallest
    // Paints those inside `clip` (rectangles that do not overlap).
    void Paint(Picture& picture, std::uint32_t pixel, std::span<const PixelRect> clip) const;
    void Sort();
  };
  struct Coverage {
    Pieces brush;  // the fill, painted first
    Pieces pen;    // the outline over it
  };

  // The coverage kept for the key, or null.
  const Coverage* Find(const Key& key);
  // True when the shape was asked for before (and not kept): a shape is kept
  // from its second drawing on, so one drawn once and gone (a second hand's
  // place) is never worked out twice. Notes the key either way.
  bool SeenBefore(const Key& key);

  // Works the shape out with painters that keep what it covers inside
  // `picture`: draw(SpanPainter* brush, SpanPainter& pen), the brush null
  // without a fill. Null (and nothing kept) for a shape too large to keep.
  template <class Draw>
  const Coverage* Record(const Key& key, Picture& picture, bool hasBrush, Draw draw) {
    Slot& slot = Victim();
    // Any shape the clock draws fits in a few pieces per row.
    const std::size_t limit = 2 * static_cast<std::size_t>(picture.Height()) + 64;
    Coverage& coverage = slot.coverage;
    if (coverage.pen.rects.capacity() < limit) {
      coverage.pen.rects.reserve(limit);
      coverage.brush.rects.reserve(limit);
    }
    coverage.pen.rects.clear();
    coverage.brush.rects.clear();
    SpanPainter pen(picture, coverage.pen.rects, limit);
    bool overflowed = false;
    if (hasBrush) {
      SpanPainter brush(picture, coverage.brush.rects, limit);
      draw(&brush, pen);
      overflowed = brush.Overflowed();
    } else {
      draw(nullptr, pen);
    }
    if (overflowed || pen.Overflowed()) {
      slot.used = false;
      return nullptr;
    }
    coverage.pen.Sort();
    coverage.brush.Sort();
    slot.key = key;
    slot.used = true;
    slot.lastUse = ++clock_;
    return &slot.coverage;
  }

 private:
  struct Slot {
    Key key;
    Coverage coverage;
    std::uint64_t lastUse = 0;
    bool used = false;
  };
  // An empty slot, or the one used longest ago.
  Slot& Victim();

  std::array<Slot, kSlots> slots_;
  std::array<Key, kSlots> seen_{};  // keys drawn once, the oldest replaced
  std::size_t nextSeen_ = 0;
  std::uint64_t clock_ = 0;
};

}  // namespace halyard::soft
