#include "backends/win32/WinControlColors.h"

namespace halyard {

namespace {

COLORREF LowBits(std::int32_t value) { return static_cast<COLORREF>(value) & 0xFFFFFFu; }

}  // namespace

WinControlColors::~WinControlColors() { Clear(); }

void WinControlColors::Clear() {
  if (brush_) DeleteObject(brush_);
  brush_ = nullptr;
  set_ = false;
}

bool WinControlColors::Set(std::int32_t textColor, std::int32_t backgroundColor) {
  // Colours are compared as painted, so a repaint with equal colours costs nothing.
  const std::int32_t text = textColor < 0 ? -1 : static_cast<std::int32_t>(LowBits(textColor));
  std::int32_t background = backgroundColor;
  if (background >= 0) {
    background = static_cast<std::int32_t>(LowBits(background));
  } else if (background != ColorNone) {
    background = -1;
  }
  if (set_ && text == text_ && background == background_) return false;

  // The previous brush is deleted here, once it is replaced: one brush per
  // colour change, never one per repaint.
  HBRUSH fresh = background >= 0 ? CreateSolidBrush(LowBits(background)) : nullptr;
  if (brush_) DeleteObject(brush_);
  brush_ = fresh;
  text_ = text;
  background_ = background;
  set_ = true;
  return true;
}

HBRUSH WinControlColors::Apply(HDC dc) const {
  if (!set_) return nullptr;
  SetTextColor(dc, text_ >= 0 ? LowBits(text_) : GetSysColor(COLOR_WINDOWTEXT));
  if (background_ == ColorNone) {
    SetBkMode(dc, TRANSPARENT);
    return static_cast<HBRUSH>(GetStockObject(HOLLOW_BRUSH));
  }
  SetBkMode(dc, OPAQUE);
  if (background_ >= 0 && brush_) {
    SetBkColor(dc, LowBits(background_));
    return brush_;
  }
  // The 3-D face colour, also the fallback when the solid brush could not be made.
  SetBkColor(dc, background_ >= 0 ? LowBits(background_) : GetSysColor(COLOR_3DFACE));
  return background_ >= 0 ? nullptr : GetSysColorBrush(COLOR_3DFACE);
}

}  // namespace halyard
