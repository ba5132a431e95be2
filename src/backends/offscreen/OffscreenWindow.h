// The clock's window without a display: face canvas and label in memory.
// Used by halyard-render and by tests; draws exactly what the Linux window shows.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/canvas/Canvas.h"
#include "platform/canvas/TextEngine.h"
#include "platform/window/ClockWindowPlatform.h"
#include "platform/window/DrawnControls.h"
#include "platform/window/WindowHost.h"

namespace halyard {

using TextEngineFactory = std::function<std::unique_ptr<TextEngine>()>;

class OffscreenWindow final : public ClockWindowPlatform, public DrawnControls {
 public:
  // `makeText` may be empty: text is then neither measured nor drawn.
  OffscreenWindow(std::int32_t dpi, TextEngineFactory makeText, SystemColors colors = {});
  ~OffscreenWindow() override;

  // ClockWindowPlatform
  WindowHandle CreateHiddenWindow(std::string_view caption, std::int32_t widthUnits,
                                  std::int32_t heightUnits) override;
  bool AddFaceControl(std::int32_t id, DialogRect rect) override;
  bool AddLabelControl(std::int32_t id, DialogRect rect) override;
  void SetIcons(IconRenderer /*renderIcon*/) override {}
  void SetLabelFont(std::int32_t id, const FontSpec& font) override;
  void SetWindowColors(std::int32_t textColor, std::int32_t backgroundColor) override;
  TextExtent ControlClientSize(std::int32_t id) override;
  DialogUnits Units() override { return units_; }
  void BringToForeground() override {}
  void Show() override { visible_ = true; }
  void RunEventLoop(ClockEventHandler handler) override;
  void ReleaseFonts() override {}

  // WindowHost, beside the controls' calls (DrawnControls)
  std::uint32_t StartTimer(std::uint32_t timerId, std::uint32_t periodMs) override;
  void StopTimer(std::uint32_t handle) override;
  void EndWindow() override;
  // Remembered, for tests: nothing here can ring or flash.
  void RequestAttention(Attention kind) override { attention_.push_back(kind); }

  // The whole client area: face on top, label below, window background elsewhere.
  Picture Compose();
  const Picture* FacePicture() const;
  const std::string& LabelText() const { return label_.shown; }
  std::int32_t LabelTextColor() const { return label_.textColor; }
  std::int32_t LabelBackgroundColor() const { return label_.background; }
  PixelRect LabelRect() const { return label_.rect; }
  TextExtent ClientSize() const { return client_; }
  std::uint32_t RunningTimer() const { return timer_; }
  bool Ended() const { return ended_; }
  bool Visible() const { return visible_; }
  std::int32_t PresentCount() const { return presents_; }
  const std::vector<Attention>& AttentionRequests() const { return attention_; }

 private:
  class Presenter;

  std::int32_t dpi_;
  TextEngineFactory makeText_;
  SystemColors system_;
  DialogUnits units_;
  bool created_ = false;
  bool visible_ = false;
  bool ended_ = false;
  TextExtent client_{};
  std::unique_ptr<Presenter> presenter_;
  std::uint32_t timer_ = 0;
  std::int32_t presents_ = 0;
  ClockEventHandler handler_ = nullptr;
  std::vector<Attention> attention_;
};

}  // namespace halyard
