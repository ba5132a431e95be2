// The drawing operations of the repaint last shown, with every parameter
// resolved. A new repaint is compared with them one by one as it is recorded,
// so that only what differs is stored and drawn.
//
// Each operation carries a conservative box of every pixel it can write. A
// pixel outside the boxes of the operations that differ receives, in the same
// order, the same operations as last time, so it already holds its final
// value; replaying every operation clipped to the changed boxes then gives the
// picture a full redraw would, bit for bit.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/canvas/FontSpec.h"
#include "platform/canvas/Picture.h"
#include "platform/canvas/Rasterizer.h"

namespace halyard {

struct alignas(64) DrawOp {
  enum class Kind : std::uint8_t { Fill, Line, RoundBox, Ellipse, Polygon, Text };

  // What every repaint compares and every replay checks comes first, so that
  // a box or an ellipse is compared within one cache line; the buffers follow.
  Kind kind = Kind::Fill;
  FillRule rule = FillRule::Winding;
  bool hasFont = false;
  bool hasSpans = false;
  std::uint32_t color = 0;              // COLORREF: fill, pen or text colour
  std::optional<std::uint32_t> fill;    // brush, or the text's cell background
  std::int32_t pen = 0;
  std::int32_t corner = 0;              // RoundBox corner, both axes
  PixelRect box{};                      // every pixel the operation can write
  PixelRect rect{};                     // RoundBox and Ellipse box (normalised); Text clip
  PixelPoint from{};                    // Line ends; Text origin
  PixelPoint to{};
  std::vector<PixelPoint> points;       // Polygon
  std::string text;                     // Text
  std::vector<CharacterSpan> spans;     // Text: where each character writes, when known
  FontSpec font{};                      // Text: the font it was measured with (when hasFont)

  bool operator==(const DrawOp& other) const;
};

class DrawingRecord {
 public:
  // At most this many rectangles describe a change; more are merged.
  static constexpr std::size_t kMaxAreas = 24;

  // Starts recording the next repaint of a picture of `bounds`.
  void Begin(const PixelRect& bounds) {
    count_ = 0;
    areaCount_ = 0;
    bounds_ = bounds;
  }
  // Starts an operation of `kind`, to be filled in by the caller, then
  // Seal()ed. Its buffers are reused from earlier operations,
  // so recording does not allocate once warm.
  DrawOp& Add(DrawOp::Kind kind);
  // Works out the operation's box and records it. It is compared at once with
  // the operation shown in its place, so a repaint that repeats the last one
  // reads the record and writes nothing to it.
  void Seal();
  // The operation being added: one drawn at once instead is never sealed.
  const DrawOp& Adding() const { return next_; }
  // True when the operation being added repeats the one shown in its place:
  // Seal will keep that one, so nothing more about it need be worked out.
  bool AddingRepeatsShown() const { return ShownInPlace() && next_ == shown_[count_]; }
  std::size_t Size() const { return count_; }
  // The operations recorded since Begin.
  std::span<const DrawOp> Operations() const { return {shown_.data(), count_}; }

  // The areas of the picture that differ from the repaint last shown: all of
  // it when that repaint is unknown.
  std::span<const PixelRect> Changes();
  // The picture shows the last repaint committed.
  bool Shown() const { return shownValid_; }
  // The picture no longer shows the last repaint: the next change is total.
  void Forget() { shownValid_ = false; }
  // What was recorded is now what the picture shows.
  void Commit();

  // Draws every recorded operation clipped to the areas (which do not
  // overlap), in order: each operation once, into all the areas it meets.
  // Text is drawn in its own font; `currentFont` is the one the rasterizer
  // holds and gets back.
  void Replay(Rasterizer& rasterizer, std::span<const PixelRect> areas, std::int32_t dpi,
              const FontSpec* currentFont) const;
  // Draws one operation, unclipped.
  static void Draw(Rasterizer& rasterizer, const DrawOp& op);

 private:
  // The repaint shown had an operation where the one being added goes.
  bool ShownInPlace() const { return shownValid_ && count_ < shownCount_; }
  void AddArea(PixelRect area);
  // Adds the area an operation can write: a box, or for a slanted line the
  // band of each few rows it crosses.
  void AddOperationArea(const DrawOp& op);
  // Adds what differs between two texts drawn alike; false when that cannot be told.
  bool AddTextChange(const DrawOp& now, const DrawOp& before);

  DrawOp next_;                // the operation being added
  std::size_t count_ = 0;      // operations recorded since Begin, in shown_[0, count_)
  // The operations shown, each replaced as this repaint records a different one.
  std::vector<DrawOp> shown_;
  std::size_t shownCount_ = 0;
  bool shownValid_ = false;
  PixelRect bounds_{};
  std::array<PixelRect, kMaxAreas + 1> areas_{};
  std::size_t areaCount_ = 0;
};

}  // namespace halyard
