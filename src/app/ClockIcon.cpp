#include "app/ClockIcon.h"

#include "app/ClockWindowHandler.h"
#include "face/DrawClock.h"
#include "options/ColorValue.h"
#include "platform/window/WindowHost.h"

namespace halyard {

namespace {
// The icon's canvas is its own one-control window.
class IconWindow final : public WindowHost {
 public:
  explicit IconWindow(Canvas& canvas) : canvas_(canvas) {}
  Canvas* FindCanvas(std::int32_t id) override { return id == kClockFaceId ? &canvas_ : nullptr; }
  bool SetControlText(std::int32_t, std::string_view) override { return false; }
  bool SetControlColors(std::int32_t, std::int32_t, std::int32_t) override { return false; }
  std::uint32_t StartTimer(std::uint32_t, std::uint32_t) override { return 0; }
  void StopTimer(std::uint32_t) override {}
  void EndWindow() override {}

 private:
  Canvas& canvas_;
};
}  // namespace

Picture RenderClockIcon(std::unique_ptr<Rasterizer> target) {
  if (target == nullptr || target->Pixels().Width() <= 0) return {};
  Canvas canvas(std::move(target), nullptr, 96);
  IconWindow window(canvas);
  Canvas* previous = Canvas::Current();
  const ClockOptions options = DefaultClockOptions();
  Canvas::SetCurrent(&canvas, DrawingMode::Immediate);
  Canvas::SetColors(ColorValue(options.DialColor), ColorValue(options.BackgroundColor));
  DrawClock(&window, kClockFaceId, "10:10:30", options);
  Picture picture = canvas.Pixels();
  Canvas::SetCurrent(previous, previous != nullptr ? previous->Mode() : DrawingMode::Immediate);
  return picture;
}

}  // namespace halyard
