// Test doubles for the platform's pixel and text layers.
#pragma once

#include <string>
#include <vector>

#include "platform/canvas/Rasterizer.h"
#include "platform/canvas/TextEngine.h"

namespace halyard::testing {

// Remembers the shapes it was asked for and paints nothing but FillAll.
class FakeRasterizer final : public Rasterizer {
 public:
  struct Call {
    std::string name;
    std::vector<std::int64_t> values;
  };

  FakeRasterizer(std::int32_t width, std::int32_t height) : picture_(width, height) {}

  const Picture& Pixels() override { return picture_; }
  using Rasterizer::SetClip;
  void SetClip(std::span<const PixelRect> region) override {
    clip = {};
    for (const PixelRect& r : region) clip = Union(clip, r);
  }
  void FillAll(std::uint32_t color) override {
    picture_.FillRect(picture_.Bounds(), ColorRefToPixel(color));
    calls.push_back({"FillAll", {color}});
  }
  void Line(PixelPoint a, PixelPoint b, std::int32_t pen, std::uint32_t color) override {
    calls.push_back({"Line", {a.x, a.y, b.x, b.y, pen, color}});
  }
  void RoundBox(PixelRect r, std::int32_t cw, std::int32_t ch, std::int32_t pen, std::uint32_t outline,
                std::optional<std::uint32_t> fill) override {
    calls.push_back({"RoundBox", {r.left, r.top, r.right, r.bottom, cw, ch, pen, outline, fill ? static_cast<std::int64_t>(*fill) : std::int64_t{-1}}});
  }
  void Ellipse(PixelRect r, std::int32_t pen, std::uint32_t outline, std::optional<std::uint32_t> fill) override {
    calls.push_back({"Ellipse", {r.left, r.top, r.right, r.bottom, pen, outline, fill ? static_cast<std::int64_t>(*fill) : std::int64_t{-1}}});
  }
  void Polygon(std::span<const PixelPoint> points, std::int32_t pen, std::uint32_t outline,
               std::optional<std::uint32_t> fill, FillRule rule) override {
    Call call{"Polygon", {pen, outline, fill ? static_cast<std::int64_t>(*fill) : std::int64_t{-1}, rule == FillRule::Winding ? 0 : 1}};
    for (const PixelPoint& p : points) {
      call.values.push_back(p.x);
      call.values.push_back(p.y);
    }
    calls.push_back(call);
  }
  bool SetFont(const FontSpec& spec, std::int32_t dpi) override {
    if (spec.face.empty()) return false;
    fontHeight = -FontPixelHeight(spec.points, dpi) + 3;
    return true;
  }
  FontMetrics Metrics() override { return {fontHeight, fontHeight - 6, 6, 1}; }
  TextExtent MeasureText(std::string_view text) override {
    return {textWidth >= 0 ? textWidth : static_cast<std::int32_t>(text.size()) * 10, fontHeight};
  }
  void DrawText(PixelPoint origin, std::string_view text, std::uint32_t color,
                std::optional<std::uint32_t> background, PixelRect clip) override {
    calls.push_back({"DrawText", {origin.x, origin.y, color, background ? static_cast<std::int64_t>(*background) : std::int64_t{-1}, clip.left, clip.top,
                                  clip.right, clip.bottom}});
    lastText = std::string(text);
  }

  std::vector<Call> calls;
  PixelRect clip{};
  std::int32_t fontHeight = 0;
  std::int32_t textWidth = -1;  // -1: ten pixels a byte
  std::string lastText;

 private:
  Picture picture_;
};

// Glyph-free text: a fixed advance per byte and a fixed cell.
class FakeTextEngine final : public TextEngine {
 public:
  bool SetFont(const FontSpec&, std::int32_t) override { return true; }
  FontMetrics Metrics() const override { return {30, 24, 6, 1}; }
  std::int32_t Advance(std::string_view text) override { return static_cast<std::int32_t>(text.size()) * 10; }
  void DrawGlyphs(Picture& picture, PixelPoint origin, std::string_view text, std::uint32_t pixel,
                  PixelRect clip) override {
    // One solid block per byte, so a test can see where the text went.
    for (std::size_t i = 0; i < text.size(); ++i) {
      const auto x = origin.x + static_cast<std::int32_t>(i) * 10;
      picture.FillRect(Intersect({x + 2, origin.y + 4, x + 8, origin.y + 24}, clip), pixel);
    }
  }
};

}  // namespace halyard::testing
