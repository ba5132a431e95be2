// Whole faces drawn through real GDI against the software rasterizer that
// draws the Linux window, compared below the legend (glyph shapes of the two
// text engines never match, and the software side here draws no text).
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "face/DrawClock.h"
#include "app/ClockWindowHandler.h"
#include "options/ColorValue.h"
#include "platform/canvas/Canvas.h"
#include "platform/canvas/TextEngine.h"
#include "platform/window/CanvasWindow.h"
#include "backends/gdi/GdiRasterizer.h"
#include "backends/soft/SoftRasterizer.h"
#include "PictureComparison.h"

namespace halyard {
namespace {

using namespace testing;

// Measures every text as GDI measured the legend and draws nothing: the
// software face then leaves the same room for its legend as the GDI face.
class MeasureOnlyText final : public TextEngine {
 public:
  explicit MeasureOnlyText(TextExtent legend) : legend_(legend) {}
  bool SetFont(const FontSpec&, std::int32_t) override { return true; }
  FontMetrics Metrics() const override { return {legend_.height, legend_.height, 0, 0}; }
  std::int32_t Advance(std::string_view) override { return legend_.width; }
  void DrawGlyphs(Picture&, PixelPoint, std::string_view, std::uint32_t, PixelRect) override {}

 private:
  TextExtent legend_;
};

Picture DrawFace(std::unique_ptr<Rasterizer> raster, const char* time, const ClockOptions& options) {
  CanvasWindow window(std::move(raster));
  Canvas::Attach(&window, kClockFaceId, DrawingMode::Immediate);
  Canvas::SetColors(ColorValue(options.DialColor), ColorValue(options.BackgroundColor));
  DrawClock(&window, kClockFaceId, time, options);
  Canvas::SetCurrent(nullptr, DrawingMode::Immediate);
  Picture face = window.Face().Pixels();
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
  // The square face has too little room above its dial for the legend.
  for (auto [w, h] : {std::pair{330, 406}, std::pair{495, 609}, std::pair{256, 256}}) {
    const Picture gdi = DrawFace(std::make_unique<GdiRasterizer>(w, h), GetParam().time, options);
    MeasureOnlyText text(GdiRasterizer(w, h).MeasureText(GetParam().time + std::string(" UTC")));
    const Picture soft = DrawFace(std::make_unique<SoftRasterizer>(w, h, &text), GetParam().time, options);
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
