// A window that is the clock's face and nothing else: one canvas, the face
// control, and a label that keeps the text and colours it is told. No timers,
// nothing to end. The icon, the fuzzer and the tests draw the face into one.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/canvas/Canvas.h"
#include "platform/canvas/Dpi.h"
#include "platform/window/ClockWindowIds.h"
#include "platform/window/WindowHost.h"

namespace halyard {

class CanvasWindow : public WindowHost {
 public:
  explicit CanvasWindow(std::unique_ptr<Rasterizer> rasterizer, CanvasPresenter* presenter = nullptr,
                        std::int32_t dpi = kDefaultDpi, SystemColors colors = {});

  Canvas& Face() { return canvas_; }
  const std::string& LabelText() const { return labelText_; }
  std::int32_t LabelTextColor() const { return labelTextColor_; }
  std::int32_t LabelBackground() const { return labelBackground_; }

  // WindowHost: the face is control kClockFaceId, the label kStatusLabelId.
  Canvas* FindCanvas(std::int32_t id) override { return id == kClockFaceId ? &canvas_ : nullptr; }
  bool SetControlText(std::int32_t id, std::string_view text) override;
  bool SetControlColors(std::int32_t id, std::int32_t textColor, std::int32_t backgroundColor) override;
  std::uint32_t StartTimer(std::uint32_t /*timerId*/, std::uint32_t /*periodMs*/) override { return 0; }
  void StopTimer(std::uint32_t /*handle*/) override {}
  void EndWindow() override {}

 private:
  Canvas canvas_;
  std::string labelText_;
  std::int32_t labelTextColor_ = 0;
  std::int32_t labelBackground_ = 0;
};

}  // namespace halyard
