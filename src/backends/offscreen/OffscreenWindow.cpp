#include "backends/offscreen/OffscreenWindow.h"

#include "backends/soft/SoftRasterizer.h"
#include "platform/window/ClockWindowIds.h"

namespace halyard {

class OffscreenWindow::Presenter final : public CanvasPresenter {
 public:
  explicit Presenter(std::int32_t& count) : count_(count) {}
  void Present(const Picture&, const PixelRect&) override { ++count_; }

 private:
  std::int32_t& count_;
};

OffscreenWindow::OffscreenWindow(std::int32_t dpi, TextEngineFactory makeText, SystemColors colors)
    : dpi_(dpi > 0 ? dpi : kDefaultDpi), makeText_(std::move(makeText)), system_(colors),
      units_(DialogUnits::ForDpi(dpi_)), presenter_(std::make_unique<Presenter>(presents_)) {}

OffscreenWindow::~OffscreenWindow() = default;

WindowHandle OffscreenWindow::CreateHiddenWindow(std::string_view, std::int32_t widthUnits,
                                                 std::int32_t heightUnits) {
  created_ = true;
  client_ = units_.SizeToPixels({widthUnits, heightUnits});
  return this;
}

bool OffscreenWindow::AddFaceControl(std::int32_t id, DialogRect rect) {
  if (!created_) return false;
  face_.id = id;
  face_.rect = units_.ToPixels(rect);
  face_.canvas.reset();
  face_.text = makeText_ ? makeText_() : nullptr;
  face_.canvas = std::make_unique<Canvas>(
      std::make_unique<SoftRasterizer>(face_.rect.right - face_.rect.left, face_.rect.bottom - face_.rect.top,
                                       face_.text.get()),
      presenter_.get(), dpi_, system_);
  return true;
}

bool OffscreenWindow::AddLabelControl(std::int32_t id, DialogRect rect) {
  if (!created_) return false;
  label_.id = id;
  label_.rect = units_.ToPixels(rect);
  label_.shown.clear();
  return true;
}

void OffscreenWindow::SetLabelFont(std::int32_t id, const FontSpec& font) {
  if (id != label_.id) return;
  if (!label_.text && makeText_) label_.text = makeText_();
  if (label_.text) label_.text->SetFont(font, dpi_);
}

void OffscreenWindow::SetWindowColors(std::int32_t textColor, std::int32_t backgroundColor) {
  windowText_ = textColor;
  windowBackground_ = backgroundColor;
}

TextExtent OffscreenWindow::ControlClientSize(std::int32_t id) { return ControlSize(id); }

void OffscreenWindow::RunEventLoop(ClockEventHandler handler) {
  // No display: nothing arrives, so the loop ends at once unless the window
  // is already ended (a test ends it through the handler).
  handler_ = handler;
}

std::uint32_t OffscreenWindow::StartTimer(std::uint32_t timerId, std::uint32_t) {
  timer_ = timerId;
  return timerId;
}

void OffscreenWindow::StopTimer(std::uint32_t handle) {
  if (handle == timer_) timer_ = 0;
}

void OffscreenWindow::EndWindow() {
  if (ended_) return;
  ended_ = true;
  if (handler_ != nullptr) {
    handler_(this, kEventClose, 0, 0);
    handler_(this, kEventDestroy, 0, 0);
  }
}

const Picture* OffscreenWindow::FacePicture() const {
  return face_.canvas ? &face_.canvas->Pixels() : nullptr;
}

Picture OffscreenWindow::Compose() {
  Picture picture(client_.width, client_.height, WindowPixel(system_));
  if (const Canvas* face = face_.canvas.get()) {
    picture.Blit(face->Pixels(), face_.rect.left, face_.rect.top);
  }
  PaintLabel(picture, system_);
  return picture;
}

}  // namespace halyard
