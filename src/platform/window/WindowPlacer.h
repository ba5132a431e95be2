// Where the clock's window opens and at what resolution, as the settings ask
// (geometry, scale, fit-screen, remember-position), with a remembered place
// rescued when it is on no screen any more. Both windows follow this one
// policy; each platform supplies only what its system knows (its monitors and
// their work areas, the window's frame) and moves its window itself.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>

#include "platform/canvas/Picture.h"
#include "platform/canvas/Rasterizer.h"
#include "platform/window/PlacementGeometry.h"
#include "platform/window/PositionMemory.h"
#include "platform/window/WindowPlacement.h"

namespace halyard {

class WindowPlacer {
 public:
  // Reads the geometry setting and, with remember-position, the position the
  // last run kept, giving `memory` the position memory the window is to keep.
  // Each problem with them is one line on stderr.
  WindowPlacer(const WindowPlacement& placement, std::unique_ptr<PositionMemory>& memory);

  // Where the user asked the window to go: the geometry, which wins, or else
  // the corner of the frame the last run kept.
  const std::optional<PlacementGeometry>& Geometry() const { return geometry_; }
  const std::optional<PixelPoint>& Remembered() const { return remembered_; }
  // Whether the window's frame counts: for fit-screen and for a remembered corner.
  bool FrameMatters() const { return placement_.fitScreen || remembered_.has_value(); }

  // The resolution the scale setting asks for on a screen of `screenDpi`.
  std::int32_t LayoutDpi(std::int32_t screenDpi) const;
  // With fit-screen on, the largest resolution from kMinimumDpi up to `dpi`
  // at which the window with its frame, `outerSize(dpi)`, fits in `room`,
  // said in one line when that is less than `dpi`; without it, `dpi`.
  std::int32_t FitScreen(std::int32_t dpi, std::int32_t screenDpi, TextExtent room,
                         const std::function<TextExtent(std::int32_t dpi)>& outerSize) const;
  // Where the window goes when the user chose a place: the geometry's corner
  // for a window of `sized` within `area` (what the geometry counts from),
  // else the remembered corner of the frame, of size `outer`, brought onto the
  // nearest of `screens` when it shows on none of them. Nullopt: nothing was
  // chosen, and the window opens where new windows do.
  std::optional<PixelPoint> ChosenPosition(TextExtent sized, const PixelRect& area, TextExtent outer,
                                           std::span<const PixelRect> screens) const;

 private:
  WindowPlacement placement_;
  std::optional<PlacementGeometry> geometry_;
  std::optional<PixelPoint> remembered_;
};

// The top-left corner that centres `size` in `area`, kept inside it when the
// window is larger, so that its caption stays within reach.
PixelPoint CentredPosition(TextExtent size, const PixelRect& area);

}  // namespace halyard
