#include "backends/win32/WinFaceControl.h"

#include "backends/gdi/GdiRasterizer.h"

namespace halyard {

WinFaceControl::WinFaceControl(HWND control, std::int32_t dpi) : control_(control) {
  auto rasterizer = MakeRasterizer();
  raster_ = rasterizer.get();
  const SystemColors system{GetSysColor(COLOR_WINDOWTEXT), GetSysColor(COLOR_BTNFACE)};
  canvas_ = std::make_unique<Canvas>(std::move(rasterizer), this, dpi, system);
}

WinFaceControl::~WinFaceControl() = default;

std::unique_ptr<GdiRasterizer> WinFaceControl::MakeRasterizer() const {
  RECT client{};
  GetClientRect(control_, &client);
  return std::make_unique<GdiRasterizer>(client.right - client.left, client.bottom - client.top);
}

void WinFaceControl::Present(const Picture& picture, const PixelRect& area) {
  const PixelRect part = Intersect(area, picture.Bounds());
  if (part.Empty()) return;
  const RECT rect{part.left, part.top, part.right, part.bottom};
  // The picture covers the whole control, so erasing first would only flicker.
  InvalidateRect(control_, &rect, FALSE);
  UpdateWindow(control_);
}

void WinFaceControl::Paint(const DRAWITEMSTRUCT& item) {
  const RECT& r = item.rcItem;
  const int width = r.right - r.left;
  const int height = r.bottom - r.top;
  if (HDC source = static_cast<HDC>(raster_->Dc())) {
    BitBlt(item.hDC, r.left, r.top, width, height, source, r.left, r.top, SRCCOPY);
    return;
  }
  // Without a memory DC the picture still exists in memory: copy its rows.
  const Picture& picture = raster_->Pixels();
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = picture.Width();
  info.bmiHeader.biHeight = -picture.Height();  // top-down, as Picture stores it
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  StretchDIBits(item.hDC, 0, 0, picture.Width(), picture.Height(), 0, 0, picture.Width(),
                picture.Height(), picture.Data(), &info, DIB_RGB_COLORS, SRCCOPY);
}

void WinFaceControl::Rebuild(std::int32_t dpi) {
  auto rasterizer = MakeRasterizer();
  GdiRasterizer* fresh = rasterizer.get();
  canvas_->Rebuild(std::move(rasterizer), dpi);
  raster_ = fresh;
}

}  // namespace halyard
