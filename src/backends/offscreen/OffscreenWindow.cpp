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
    : dpi_(dpi > 0 ? dpi : 96), makeText_(std::move(makeText)), system_(colors),
      units_(DialogUnits::ForDpi(dpi_)), presenter_(std::make_unique<Presenter>(presents_)) {}

OffscreenWindow::~OffscreenWindow() = default;

PixelRect OffscreenWindow::ToPixels(DialogRect rect) const {
  // Each value is mapped on its own, as MapDialogRect maps x, y, cx and cy.
  const std::int32_t x = units_.ToPixelsX(rect.x);
  const std::int32_t y = units_.ToPixelsY(rect.y);
  return {x, y, x + units_.ToPixelsX(rect.cx), y + units_.ToPixelsY(rect.cy)};
}

WindowHandle OffscreenWindow::CreateHiddenWindow(std::string_view, std::int32_t widthUnits,
                                                 std::int32_t heightUnits) {
  created_ = true;
  client_ = {units_.ToPixelsX(widthUnits), units_.ToPixelsY(heightUnits)};
  return this;
}

bool OffscreenWindow::AddFaceControl(std::int32_t id, DialogRect rect) {
  if (!created_) return false;
  faceId_ = id;
  faceRect_ = ToPixels(rect);
  face_.reset();
  faceTextEngine_ = makeText_ ? makeText_() : nullptr;
  face_ = std::make_unique<Canvas>(
      std::make_unique<SoftRasterizer>(faceRect_.right - faceRect_.left, faceRect_.bottom - faceRect_.top,
                                       faceTextEngine_.get()),
      presenter_.get(), dpi_, system_);
  return true;
}

bool OffscreenWindow::AddLabelControl(std::int32_t id, DialogRect rect) {
  if (!created_) return false;
  labelId_ = id;
  labelRect_ = ToPixels(rect);
  labelText_.clear();
  return true;
}

void OffscreenWindow::SetLabelFont(std::int32_t id, const FontSpec& font) {
  if (id != labelId_) return;
  if (!labelTextEngine_ && makeText_) labelTextEngine_ = makeText_();
  if (labelTextEngine_) labelTextEngine_->SetFont(font, dpi_);
}

void OffscreenWindow::SetWindowColors(std::int32_t textColor, std::int32_t backgroundColor) {
  windowText_ = textColor;
  windowBackground_ = backgroundColor;
}

TextExtent OffscreenWindow::ControlClientSize(std::int32_t id) {
  if (id == faceId_) return {faceRect_.right - faceRect_.left, faceRect_.bottom - faceRect_.top};
  if (id == labelId_) return {labelRect_.right - labelRect_.left, labelRect_.bottom - labelRect_.top};
  return {};
}

void OffscreenWindow::RunEventLoop(ClockEventHandler handler) {
  // No display: nothing arrives, so the loop ends at once unless the window
  // is already ended (a test ends it through the handler).
  handler_ = handler;
}

Canvas* OffscreenWindow::FindCanvas(std::int32_t controlId) {
  return controlId == faceId_ ? face_.get() : nullptr;
}

bool OffscreenWindow::SetControlText(std::int32_t controlId, std::string_view text) {
  if (controlId != labelId_) return false;
  labelText_.assign(text.data(), text.size());
  return true;
}

bool OffscreenWindow::SetControlColors(std::int32_t controlId, std::int32_t textColor,
                                       std::int32_t backgroundColor) {
  if (controlId != labelId_) return false;
  labelTextColor_ = textColor;
  labelBackground_ = backgroundColor;
  return true;
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
    handler_(this, 0x0002, 0, 0);  // destroy
  }
}

const Picture* OffscreenWindow::FacePicture() const { return face_ ? &face_->Pixels() : nullptr; }

Picture OffscreenWindow::Compose() {
  const LabelColors windowColors = ResolveLabelColors(windowText_, windowBackground_, system_);
  Picture picture(client_.width, client_.height,
                  ColorRefToPixel(windowColors.transparent ? system_.buttonFace : windowColors.background));
  if (face_) picture.Blit(face_->Pixels(), faceRect_.left, faceRect_.top);
  if (labelId_ >= 0) {
    PaintLabel(picture, labelRect_, labelTextEngine_.get(), labelText_,
               ResolveLabelColors(labelTextColor_, labelBackground_, system_));
  }
  return picture;
}

}  // namespace halyard
