// A window for tests: the face over a FakeRasterizer, whose operations are
// recorded, and a log of what the window was asked to do.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/ClockWindowHandler.h"
#include "platform/canvas/Canvas.h"
#include "platform/window/CanvasWindow.h"
#include "support/FakeRasterizer.h"

namespace halyard::testing {

class TestWindow final : public CanvasWindow {
 public:
  TestWindow(std::int32_t width = 330, std::int32_t height = 406)
      : TestWindow(std::make_unique<FakeRasterizer>(width, height)) {}
  ~TestWindow() override { Canvas::SetCurrent(nullptr, DrawingMode::Immediate); }

  bool SetControlText(std::int32_t id, std::string_view text) override {
    if (!CanvasWindow::SetControlText(id, text)) return false;
    events.push_back("text");
    return true;
  }
  bool SetControlColors(std::int32_t id, std::int32_t text, std::int32_t background) override {
    if (!CanvasWindow::SetControlColors(id, text, background)) return false;
    events.push_back("colors");
    return true;
  }
  std::uint32_t StartTimer(std::uint32_t id, std::uint32_t period) override {
    events.push_back("start " + std::to_string(id) + " " + std::to_string(period));
    return timerResult;
  }
  void StopTimer(std::uint32_t handle) override { events.push_back("stop " + std::to_string(handle)); }
  void RequestAttention(Attention kind) override {
    events.push_back(kind == Attention::Bell ? "bell" : kind == Attention::Flash ? "flash" : "stop flash");
  }
  void EndWindow() override {
    events.push_back("end");
    ClockWindowHandler(this, kEventClose, 0, 0);
    ClockWindowHandler(this, kEventDestroy, 0, 0);
  }

  // Ops of one kind, in order.
  std::vector<CanvasOp> OpsNamed(const std::string& name) const {
    std::vector<CanvasOp> found;
    for (const CanvasOp& op : ops) {
      if (op.name == name) found.push_back(op);
    }
    return found;
  }

  class Presenter final : public CanvasPresenter {
   public:
    void Present(const Picture&, const PixelRect&) override { ++count; }
    int count = 0;
  } presenter;
  FakeRasterizer* fake = nullptr;
  std::vector<CanvasOp> ops;
  std::vector<std::string> events;
  std::uint32_t timerResult = 100;

 private:
  explicit TestWindow(std::unique_ptr<FakeRasterizer> raster)
      : CanvasWindow(std::move(raster), &presenter), fake(static_cast<FakeRasterizer*>(&Face().Raster())) {
    Face().SetRecorder(&ops);
  }
};

}  // namespace halyard::testing
