// Whole faces drawn through real GDI against the software rasterizer that
// draws the Linux window, compared below the legend (glyph shapes of the two
// text engines never match, and the software side here draws no text).
#include <gtest/gtest.h>

#include "face/DrawClock.h"
#include "app/ClockWindowHandler.h"
#include "options/ColorValue.h"
#include "platform/canvas/Canvas.h"
#include "platform/window/WindowHost.h"
#include "backends/gdi/GdiRasterizer.h"
#include "backends/soft/SoftRasterizer.h"
#include "PictureComparison.h"

namespace halyard {
namespace {

using namespace testing;

class FaceOnlyWindow final : public WindowHost {
 public:
  explicit FaceOnlyWindow(std::unique_ptr<Rasterizer> raster) : canvas(std::move(raster), nullptr, 96) {}
  Canvas* FindCanvas(std::int32_t id) override { return id == kClockFaceId ? &canvas : nullptr; }
  bool SetControlText(std::int32_t, std::string_view) override { return true; }
  bool SetControlColors(std::int32_t, std::int32_t, std::int32_t) override { return true; }
  std::uint32_t StartTimer(std::uint32_t, std::uint32_t) override { return 0; }
  void StopTimer(std::uint32_t) override {}
  void EndWindow() override {}
  Canvas canvas;
};

Picture DrawFace(std::unique_ptr<Rasterizer> raster, const char* time, const ClockOptions& options) {
  FaceOnlyWindow window(std::move(raster));
  Canvas::Attach(&window, kClockFaceId, DrawingMode::Immediate);
  Canvas::SetColors(ColorValue(options.DialColor), ColorValue(options.BackgroundColor));
  DrawClock(&window, kClockFaceId, time, options);
  Canvas::SetCurrent(nullptr, DrawingMode::Immediate);
  Picture face = window.canvas.Pixels();
  // Blank out the legend's rows on both sides: the legend sits at y = 5.
  face.FillRect({0, 0, face.Width(), 40}, 0);
  return face;
}

struct FaceCase {
  const char* time;
  const char* style;
  const char* sectorColour;
};

class GdiFaceAgreement : public ::testing::TestWithParam<FaceCase> {};

TEST_P(GdiFaceAgreement, GdiFaceEqualsSoftwareFaceBelowTheLegend) {
  ClockOptions options = DefaultClockOptions();
  options.SecondHandStyle = GetParam().style;
  options.PhoneSectorColor = GetParam().sectorColour;
  for (auto [w, h] : {std::pair{330, 406}, std::pair{495, 609}, std::pair{256, 256}}) {
    const Picture gdi = DrawFace(std::make_unique<GdiRasterizer>(w, h), GetParam().time, options);
    const Picture soft = DrawFace(std::make_unique<SoftRasterizer>(w, h), GetParam().time, options);
    const PictureComparison result = ComparePictures(gdi, soft);
    if (!result.Same()) {
      const auto folder = SaveComparison("face-agreement", std::string("face-") + std::to_string(w), gdi, soft);
      ADD_FAILURE() << GetParam().time << " at " << w << "x" << h << ": " << result.Describe(gdi, soft)
                    << " (images in " << folder.string() << ")";
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Faces, GdiFaceAgreement,
                         ::testing::Values(FaceCase{"14:01:09", "LINE (normal)", "&HFF901E"},
                                           FaceCase{"09:46:15", "DOT", "&HFF901E"},
                                           FaceCase{"23:59:59", "DOT", "&H00A5FF"},
                                           FaceCase{"06:30:40", "LINE (normal)", "&H123456"}));

}  // namespace
}  // namespace halyard
