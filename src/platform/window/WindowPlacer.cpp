#include "platform/window/WindowPlacer.h"

#include <algorithm>
#include <string>

#include "options/Reporter.h"
#include "platform/canvas/Dpi.h"
#include "platform/window/SavedPosition.h"
#include "platform/window/WindowScale.h"

namespace halyard {

namespace {

// The geometry setting; nullopt, after one line on stderr, when it is not a
// geometry. A size is ignored (the window's is fixed), with a line too.
std::optional<PlacementGeometry> ReadGeometry(const std::string& text) {
  if (text.empty()) return std::nullopt;
  std::string shown = text.substr(0, 40);
  for (char& c : shown) c = (c < ' ' || c > '~') ? '?' : c;
  std::optional<PlacementGeometry> geometry = ParsePlacementGeometry(text);
  if (!geometry) {
    Reporter::Report("bad geometry '" + shown + "' (expected [WxH][{+-}X{+-}Y]): using the default placement");
    return std::nullopt;
  }
  if (geometry->hasSize) {
    Reporter::Report("geometry '" + shown + "': the window's size is fixed; the size given is ignored");
  }
  if (!geometry->hasPosition) return std::nullopt;
  return geometry;
}

}  // namespace

WindowPlacer::WindowPlacer(const WindowPlacement& placement, std::unique_ptr<PositionMemory>& memory)
    : placement_(placement), geometry_(ReadGeometry(placement.geometry)) {
  std::string problem;
  remembered_ = OpenPositionMemory(placement.rememberPosition, geometry_.has_value(), memory, problem);
  if (!problem.empty()) Reporter::Report(problem);
}

std::int32_t WindowPlacer::LayoutDpi(std::int32_t screenDpi) const {
  return placement_.scale != 1.0 ? ScaledDpi(screenDpi, placement_.scale) : screenDpi;
}

std::int32_t WindowPlacer::FitScreen(std::int32_t dpi, std::int32_t screenDpi, TextExtent room,
                                     const std::function<TextExtent(std::int32_t dpi)>& outerSize) const {
  if (!placement_.fitScreen) return dpi;
  const std::int32_t fitting = FittingDpi(dpi, kMinimumDpi, room, outerSize);
  if (fitting >= dpi) return dpi;
  Reporter::Report(FitScreenNote(placement_.scale, screenDpi, fitting, room));
  return fitting;
}

std::optional<PixelPoint> WindowPlacer::ChosenPosition(TextExtent sized, const PixelRect& area, TextExtent outer,
                                                       std::span<const PixelRect> screens) const {
  if (geometry_) return geometry_->TopLeft(sized, area);
  // Never back off-screen: a position on no monitor now (one unplugged, a
  // smaller desktop) gives way to the nearest place that shows the window.
  if (remembered_) return VisiblePosition(*remembered_, outer, screens);
  return std::nullopt;
}

PixelPoint CentredPosition(TextExtent size, const PixelRect& area) {
  const std::int32_t x = area.left + (area.right - area.left - size.width) / 2;
  const std::int32_t y = area.top + (area.bottom - area.top - size.height) / 2;
  return {std::max(x, area.left), std::max(y, area.top)};
}

}  // namespace halyard
