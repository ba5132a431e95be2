#include "app/ClockWindowSetup.h"

#include "app/ClockIcon.h"
#include "app/ClockWindowHandler.h"
#include "options/ColorValue.h"

namespace halyard {

WindowHandle PrepareClockWindow(ClockWindowPlatform& platform, const ClockOptions& options) {
  const WindowHandle window = platform.CreateHiddenWindow("HALYARD", kWindowWidthUnits, kWindowHeightUnits);
  if (window == nullptr) return nullptr;
  platform.AddFaceControl(kClockFaceId, kFaceRectUnits);
  platform.AddLabelControl(kStatusLabelId, kLabelRectUnits);
  platform.SetIcons(&RenderClockIcon);

  Canvas::Attach(window, kClockFaceId, DrawingMode::Immediate);
  Canvas::SetColors(ColorValue(options.DialColor), ColorValue(options.BackgroundColor));
  FontSpec font = ClockFontSpec();
  font.utf8Text = options.Utf8Texts;
  Canvas::SetFont(font);
  platform.SetLabelFont(kStatusLabelId, font);
  platform.SetWindowColors(ColorValue(options.DialColor), ColorValue(options.BackgroundColor));

  // Pixels -> units -> pixels: the round trip gives the client size back, so
  // the scale is the identity and the face draws in plain pixels.
  const TextExtent client = platform.ControlClientSize(kClockFaceId);
  const DialogUnits units = platform.Units();
  const std::int32_t width = units.ToPixelsX(units.ToUnitsX(client.width));
  const std::int32_t height = units.ToPixelsY(units.ToUnitsY(client.height));
  Canvas::SetScale(0, 0, static_cast<float>(width), static_cast<float>(height));
  return window;
}

}  // namespace halyard
