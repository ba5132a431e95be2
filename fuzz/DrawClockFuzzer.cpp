// DrawClock with any time text and any nine options, on the software canvas
// at any size from 1 x 1 to 2000 x 2000 (so also where the radius is negative).
#include <fuzzer/FuzzedDataProvider.h>

#include <memory>

#include "app/ClockWindowHandler.h"
#include "app/ClockWindowSetup.h"
#include "face/DrawClock.h"
#include "platform/canvas/Canvas.h"
#include "platform/window/CanvasWindow.h"
#include "backends/freetype/FreeTypeTextEngine.h"
#include "backends/soft/SoftRasterizer.h"

namespace {

halyard::FreeTypeTextEngine& Text() {
  static halyard::FreeTypeTextEngine engine;  // fonts are found once, not per input
  return engine;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const int width = input.ConsumeIntegralInRange<int>(1, 2000);
  const int height = input.ConsumeIntegralInRange<int>(1, 2000);
  halyard::ClockOptions options;
  for (std::size_t i = 0; i < halyard::ClockOptions::kLineCount; ++i) {
    options.Line(i) = input.ConsumeRandomLengthString(64);
  }
  const std::string timeText = input.ConsumeRandomLengthString(16);
  // Last, each added after the ones before, so older corpus inputs keep their meaning.
  halyard::FaceMarks marks;
  marks.notSynchronised = input.ConsumeBool();
  marks.countdown = input.ConsumeBool();
  const std::string secondTime = input.ConsumeRandomLengthString(32);
  marks.secondTime = secondTime;

  halyard::CanvasWindow window(std::make_unique<halyard::SoftRasterizer>(width, height, &Text()));
  halyard::Canvas::Attach(&window, halyard::kClockFaceId, halyard::DrawingMode::Immediate);
  halyard::Canvas::SetColors(halyard::ColorValue(options.DialColor), halyard::ColorValue(options.BackgroundColor));
  halyard::Canvas::SetFont(halyard::ClockFontSpec());
  halyard::Canvas::SetScale(0, 0, static_cast<float>(width), static_cast<float>(height));
  halyard::DrawClock(&window, halyard::kClockFaceId, timeText, options, marks);
  halyard::Canvas::SetCurrent(nullptr, halyard::DrawingMode::Immediate);
  return 0;
}
