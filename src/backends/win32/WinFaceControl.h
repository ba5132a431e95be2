// The clock face control: an owner-drawn static whose picture is a Canvas
// drawn by GDI off screen and copied to the control when it paints.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>

#include "platform/canvas/Canvas.h"

namespace halyard {

class GdiRasterizer;

class WinFaceControl final : public CanvasPresenter {
 public:
  // `control` is an existing SS_OWNERDRAW static; the canvas gets its client size.
  WinFaceControl(HWND control, std::int32_t dpi);
  ~WinFaceControl() override;
  WinFaceControl(const WinFaceControl&) = delete;
  WinFaceControl& operator=(const WinFaceControl&) = delete;

  HWND Handle() const { return control_; }
  Canvas& Surface() { return *canvas_; }

  // Invalidates the changed part without erasing and repaints it before returning.
  void Present(const Picture& picture, const PixelRect& area) override;
  // WM_DRAWITEM for this control: copies the picture into the control.
  void Paint(const DRAWITEMSTRUCT& item);
  // A new picture at the control's present client size and `dpi`, keeping
  // colours, pen and font (after a DPI change resized the control).
  void Rebuild(std::int32_t dpi);

 private:
  std::unique_ptr<GdiRasterizer> MakeRasterizer() const;

  HWND control_;
  GdiRasterizer* raster_ = nullptr;  // owned by canvas_
  std::unique_ptr<Canvas> canvas_;
};

}  // namespace halyard
