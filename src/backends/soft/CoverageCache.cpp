#include "backends/soft/CoverageCache.h"

#include <algorithm>

namespace halyard::soft {

bool CoverageCache::Key::operator==(const Key& other) const {
  return size_ == other.size_ && std::equal(values_.begin(), values_.begin() + size_, other.values_.begin());
}

const CoverageCache::Coverage* CoverageCache::Find(const Key& key) {
  for (Slot& slot : slots_) {
    if (slot.used && slot.key == key) {
      slot.lastUse = ++clock_;
      return &slot.coverage;
    }
  }
  return nullptr;
}

void CoverageCache::Pieces::Sort() {
  std::sort(rects.begin(), rects.end(), [](const PixelRect& a, const PixelRect& b) { return a.top < b.top; });
  tallest = 0;
  for (const PixelRect& r : rects) tallest = std::max(tallest, r.bottom - r.top);
}

void CoverageCache::Pieces::Paint(Picture& picture, std::uint32_t pixel, std::span<const PixelRect> clip) const {
  for (const PixelRect& area : clip) {
    // Only pieces whose top lies within the tallest piece above the area can reach it.
    auto it = std::partition_point(rects.begin(), rects.end(),
                                   [&](const PixelRect& r) { return r.top <= area.top - tallest; });
    for (; it != rects.end() && it->top < area.bottom; ++it) {
      // Both lie inside the picture: only their overlap is left to find.
      const std::int32_t left = std::max(it->left, area.left), right = std::min(it->right, area.right);
      const std::int32_t top = std::max(it->top, area.top), bottom = std::min(it->bottom, area.bottom);
      if (left >= right) continue;
      for (std::int32_t y = top; y < bottom; ++y) std::fill(picture.Row(y) + left, picture.Row(y) + right, pixel);
    }
  }
}

bool CoverageCache::SeenBefore(const Key& key) {
  for (const Key& seen : seen_) {
    if (seen == key) return true;
  }
  seen_[nextSeen_] = key;
  nextSeen_ = (nextSeen_ + 1) % seen_.size();
  return false;
}

CoverageCache::Slot& CoverageCache::Victim() {
  Slot* victim = &slots_.front();
  for (Slot& slot : slots_) {
    if (!slot.used) return slot;
    if (slot.lastUse < victim->lastUse) victim = &slot;
  }
  return *victim;
}

}  // namespace halyard::soft
