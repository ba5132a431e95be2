#include "app/ClockIcon.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "app/ClockWindowHandler.h"
#include "face/DrawClock.h"
#include "face/FixedColors.h"
#include "options/ColorValue.h"
#include "options/SilentPeriod.h"
#include "platform/window/CanvasWindow.h"

namespace halyard {

namespace {

// Below this size the face's fixed-size marks, hub and hands merge into a
// blob, so the icon is drawn from fewer, bolder shapes scaled to the size.
constexpr std::int32_t kFullFaceSize = 100;

// What one point of the small picture shows, in pixel units from the top-left
// corner: a rim, the silent-period sectors (wider than the face's 18 degrees,
// so that each still shows at 16 pixels), and the hour and minute
// hands at 10:10 over a small hub.
class SmallFace {
 public:
  SmallFace(std::int32_t size, const ClockOptions& options)
      : size_(size),
        center_(size / 2.0),
        rim_(std::max(1.5, size / 16.0)),
        background_(ColorValue(options.BackgroundColor)),
        dial_(ColorValue(options.DialColor)),
        hands_(ColorValue(options.HandColor)) {
    for (std::size_t i = 0; i < kSilentSchedule.size(); ++i) {
      sectors_[i] = SilentPeriodColor(kSilentSchedule[i].period, options);
    }
    const double inner = center_ - rim_;
    hour_ = {Direction(215, inner * 0.55), std::max(2.2, size / 9.0) / 2};
    minute_ = {Direction(-30, inner * 0.85), std::max(1.5, size / 14.0) / 2};
    reach_ = inner - (size >= 24 ? size / 24.0 : 0.0);
    hub_ = size >= 32 ? size / 24.0 : 0.0;
  }

  std::int32_t At(double x, double y) const {
    const double dx = x - center_, dy = y - center_;
    const double distance = std::hypot(dx, dy);
    if (distance > center_) return background_;
    if (distance >= center_ - rim_) return dial_;
    if (distance <= hub_) return kHubGrey;
    if (hour_.Covers(dx, dy) || minute_.Covers(dx, dy)) return hands_;
    if (distance <= reach_) {
      // Screen angle from twelve o'clock, clockwise, 0 to 360.
      const double angle = std::fmod(std::atan2(dx, -dy) * 180 / kPi + 360, 360);
      const double sweep = size_ < 24 ? 27 : 24;
      for (std::size_t i = 0; i < kSilentSchedule.size(); ++i) {
        const double start = 6.0 * kSilentSchedule[i].minute;  // a minute is 6 degrees
        if (angle >= start && angle < start + sweep) return sectors_[i];
      }
    }
    return background_;
  }

 private:
  static constexpr double kPi = 3.14159265358979323846;
  struct Point {
    double x, y;
  };
  // A hand from the centre to `tip`, with round ends.
  struct Hand {
    Point tip{};
    double halfWidth = 0;
    bool Covers(double dx, double dy) const {
      const double along = std::clamp((dx * tip.x + dy * tip.y) / (tip.x * tip.x + tip.y * tip.y), 0.0, 1.0);
      return std::hypot(dx - along * tip.x, dy - along * tip.y) <= halfWidth;
    }
  };
  // Screen angle: 0 is three o'clock, growing clockwise.
  static Point Direction(double degrees, double reach) {
    return {reach * std::cos(degrees * kPi / 180), reach * std::sin(degrees * kPi / 180)};
  }

  std::int32_t size_;
  double center_, rim_;
  std::int32_t background_, dial_, hands_;
  std::array<std::int32_t, kSilentSchedule.size()> sectors_{};
  Hand hour_, minute_;
  double reach_ = 0, hub_ = 0;
};

// Each pixel is the mean of 4 x 4 samples of the small face, so edges are
// smooth instead of stair-stepped: at these sizes a step is a tenth of the picture.
Picture DrawSmallFace(std::int32_t size, const ClockOptions& options) {
  constexpr int kSamples = 4;
  const SmallFace face(size, options);
  Picture picture(size, size);
  for (std::int32_t y = 0; y < size; ++y) {
    for (std::int32_t x = 0; x < size; ++x) {
      std::array<std::uint32_t, 3> sum{};
      for (int sy = 0; sy < kSamples; ++sy) {
        for (int sx = 0; sx < kSamples; ++sx) {
          const std::uint32_t pixel = ColorRefToPixel(static_cast<std::uint32_t>(
              face.At(x + (sx + 0.5) / kSamples, y + (sy + 0.5) / kSamples)));
          sum[0] += (pixel >> 16) & 0xFF;
          sum[1] += (pixel >> 8) & 0xFF;
          sum[2] += pixel & 0xFF;
        }
      }
      constexpr std::uint32_t kCount = kSamples * kSamples;
      const auto mean = [&](std::size_t i) { return (sum[i] + kCount / 2) / kCount; };
      picture.Set(x, y, (mean(0) << 16) | (mean(1) << 8) | mean(2));
    }
  }
  return picture;
}
}  // namespace

Picture RenderClockIcon(std::unique_ptr<Rasterizer> target) {
  if (target == nullptr || target->Pixels().Width() <= 0) return {};
  const std::int32_t size = target->Pixels().Width();
  if (size < kFullFaceSize) return DrawSmallFace(size, DefaultClockOptions());
  // The icon's canvas is its own one-control window.
  CanvasWindow window(std::move(target));
  Canvas* previous = Canvas::Current();
  const ClockOptions options = DefaultClockOptions();
  Canvas::SetCurrent(&window.Face(), DrawingMode::Immediate);
  Canvas::SetColors(ColorValue(options.DialColor), ColorValue(options.BackgroundColor));
  DrawClock(&window, kClockFaceId, "10:10:30", options);
  Picture picture = window.Face().Pixels();
  Canvas::SetCurrent(previous, previous != nullptr ? previous->Mode() : DrawingMode::Immediate);
  return picture;
}

}  // namespace halyard
