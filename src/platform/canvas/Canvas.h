// The off-screen picture of a graphic control and the drawing operations on it.
//
// Each control owns one Canvas. Drawing goes to the thread's current target,
// chosen by Canvas::Attach; with no target every operation does nothing.
// In deferred mode the operations are only recorded; Redraw draws the parts
// where they differ from the last repaint shown, and shows just those.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "options/ColorValue.h"
#include "platform/canvas/CanvasOwner.h"
#include "platform/canvas/DrawingRecord.h"
#include "platform/canvas/FontSpec.h"
#include "platform/canvas/Picture.h"
#include "platform/canvas/Rasterizer.h"

namespace halyard {

enum class DrawingMode { Immediate, Deferred };

struct PointF {
  float x = 0;
  float y = 0;
};
using PointList = std::vector<PointF>;

using FillStyle = std::int32_t;  // 0: solid
inline constexpr FillStyle kSolidFill = 0;

// Brings (part of) a canvas's picture to the screen.
class CanvasPresenter {
 public:
  virtual ~CanvasPresenter() = default;
  virtual void Present(const Picture& picture, const PixelRect& area) = 0;
  // The picture is about to be drawn into: a screen that may still be reading
  // what was presented from it must be done first.
  virtual void BeforeDrawing() {}
};

// Platform colours the canvas falls back on.
struct SystemColors {
  std::uint32_t windowText = 0x000000;  // COLORREF
  std::uint32_t buttonFace = 0xF0F0F0;
};

// One recorded operation, for tests that check geometry without pixels.
struct CanvasOp {
  std::string name;            // "Clear", "LineTo", "Box", ...
  std::vector<double> args;    // numbers in call order (colours included)
  std::vector<PointF> points;  // Polygon only
  std::string text;            // TextSize, PrintText
};

class Canvas {
 public:
  Canvas(std::unique_ptr<Rasterizer> rasterizer, CanvasPresenter* presenter, std::int32_t dpi,
         SystemColors colors = {});
  ~Canvas();
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  // --- operations on the thread's current target ---
  static void Attach(CanvasOwner* window, std::int32_t controlId, DrawingMode mode);
  static void SetColors(std::int32_t foreground, std::int32_t background);
  static void SetFont(const FontSpec& font);
  static void SetScale(float x1, float y1, float x2, float y2);
  static TextExtent PixelSize();
  static void Clear(std::int32_t color, FillStyle style);
  static void SetPenWidth(std::int32_t width);
  static void MoveTo(float x, float y);
  static void LineTo(float x, float y, std::int32_t color);
  static void Box(float x1, float y1, float x2, float y2, std::int32_t cornerPercent,
                  std::int32_t outline, std::int32_t fill, FillStyle style);
  static void Ellipse(float x1, float y1, float x2, float y2, std::int32_t outline,
                      std::int32_t fill, FillStyle style);
  static void Polygon(std::span<const PointF> points, std::int32_t outline, std::int32_t fill,
                      FillStyle style, std::int32_t fillRule);
  static TextExtent TextSize(std::string_view text);
  static void PrintText(std::string_view text);
  static void Redraw();

  // The current target of this thread, or null.
  static Canvas* Current();
  // Makes `canvas` (or nothing) the current target directly; Attach goes through a window.
  static void SetCurrent(Canvas* canvas, DrawingMode mode);

  // --- state, for the owner and for tests ---
  const Picture& Pixels() const { return rasterizer_->Pixels(); }
  // Direct access to the pixels: whatever is drawn through it is unknown to
  // the record, so the next repaint draws everything.
  Rasterizer& Raster() {
    record_.Forget();
    return *rasterizer_;
  }
  PixelPoint CurrentPoint() const { return current_; }
  std::int32_t PenWidth() const { return penWidth_; }
  std::int32_t Foreground() const { return foreground_; }   // COLORREF
  std::int32_t Background() const { return background_; }   // COLORREF or ColorNone
  bool OpaqueText() const { return opaqueText_; }
  std::int32_t LineHeight() const { return lineHeight_; }
  bool Scaled() const { return scaled_; }
  DrawingMode Mode() const { return mode_; }
  PixelRect ChangedArea() const { return changed_; }
  // The picture is the last repaint, as recorded, and nothing is pending.
  bool ShowsLastRepaint() const { return record_.Shown() && !pending_; }
  // The areas the last Redraw drew and showed (empty when nothing changed).
  std::span<const PixelRect> LastRedrawAreas() const { return lastAreas_; }
  std::int32_t Dpi() const { return dpi_; }
  // Every operation on this canvas is appended here while set.
  void SetRecorder(std::vector<CanvasOp>* recorder) { recorder_ = recorder; }
  // The canvas's own font-sharing cache: identical requests give one realisation.
  const FontSpec* CurrentFont() const { return hasFont_ ? &font_ : nullptr; }

  // Replaces the picture after the control changed size or resolution (a DPI
  // change): colours and pen stay, the font is realised again, the scale is off.
  void Rebuild(std::unique_ptr<Rasterizer> rasterizer, std::int32_t dpi);
  // The picture must be drawn whole at the next repaint (its contents were lost).
  void Invalidate() { record_.Forget(); }

  // Converts a user coordinate to a pixel (scale, then round half to even).
  PixelPoint ToPixel(float x, float y) const;

 private:
  void Record(const char* name, std::initializer_list<double> args, std::string_view text = {});
  void Touch(const PixelRect& area);
  DrawOp& NewOp(DrawOp::Kind kind);
  // Seals the operation just made; in immediate mode draws it at once.
  void Emit(const PixelRect& area);
  // Draws the deferred operations where they changed; returns those areas.
  std::span<const PixelRect> DrawPending();
  std::uint32_t ResolveOutline(std::int32_t color) const;

  void DoSetColors(std::int32_t foreground, std::int32_t background);
  void DoSetFont(const FontSpec& font);
  void DoSetScale(float x1, float y1, float x2, float y2);
  void DoClear(std::int32_t color, FillStyle style);
  void DoLineTo(float x, float y, std::int32_t color);
  void DoBox(float x1, float y1, float x2, float y2, std::int32_t cornerPercent,
             std::int32_t outline, std::int32_t fill, bool ellipse);
  void DoPolygon(std::span<const PointF> points, std::int32_t outline, std::int32_t fill,
                 std::int32_t fillRule);
  TextExtent DoTextSize(std::string_view text);
  void DoPrintText(std::string_view text);
  void DoRedraw();

  std::unique_ptr<Rasterizer> rasterizer_;
  CanvasPresenter* presenter_;
  std::int32_t dpi_;
  SystemColors system_;
  PixelPoint current_{};
  std::int32_t penWidth_ = 0;
  std::int32_t foreground_;
  std::int32_t background_;
  bool opaqueText_ = true;
  FontSpec font_{};
  bool hasFont_ = false;
  std::int32_t lineHeight_ = 0;
  bool scaled_ = false;
  float x0_ = 0, y0_ = 0, sx_ = 1, sy_ = 1;
  DrawingMode mode_ = DrawingMode::Immediate;
  PixelRect changed_{};
  std::vector<CanvasOp>* recorder_ = nullptr;
  DrawingRecord record_;
  bool pending_ = false;  // deferred operations not drawn yet
  std::span<const PixelRect> lastAreas_;
};

}  // namespace halyard
