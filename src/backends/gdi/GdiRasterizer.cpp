#include "backends/gdi/GdiRasterizer.h"

#include <windows.h>
#undef DrawText  // the Rasterizer method, not user32's DrawTextW

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/window/Utf8Encoder.h"

namespace halyard {

namespace {

// Only the low 24 bits are a colour; the top byte would select palette modes.
COLORREF Rgb(std::uint32_t color) { return color & 0x00FFFFFFu; }

// Converts code-page (or UTF-8) bytes to UTF-16 into `out`; false if the text
// is too long for GDI's int counts or the conversion fails.
bool Widen(std::string_view text, bool utf8, std::wstring& out) {
  out.clear();
  if (text.empty()) return true;
  if (text.size() > static_cast<std::size_t>(INT_MAX)) return false;
  const int length = static_cast<int>(text.size());
  const UINT codePage = utf8 ? CP_UTF8 : CP_ACP;
  const int needed = MultiByteToWideChar(codePage, 0, text.data(), length, nullptr, 0);
  if (needed <= 0) return false;
  out.resize(static_cast<std::size_t>(needed));
  return MultiByteToWideChar(codePage, 0, text.data(), length, out.data(), needed) == needed;
}

LOGFONTW ToLogFont(const FontSpec& spec, std::int32_t dpi) {
  LOGFONTW font{};
  font.lfHeight = FontPixelHeight(spec.points, dpi);
  font.lfEscapement = spec.angle;
  font.lfOrientation = spec.angle;
  font.lfWeight = (spec.style & FontSpec::kBold) ? FW_BOLD : FW_NORMAL;
  font.lfCharSet = spec.charset;
  font.lfOutPrecision = OUT_DEFAULT_PRECIS;
  font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  font.lfQuality = DEFAULT_QUALITY;
  font.lfPitchAndFamily = spec.pitchAndFamily;
  std::wstring face;
  Widen(spec.face, false, face);
  const std::size_t kept = std::min<std::size_t>(face.size(), LF_FACESIZE - 1);
  std::copy_n(face.begin(), kept, font.lfFaceName);  // the rest stays zero
  return font;
}

// The pen, and for filled shapes the brush, of one drawing call: made and
// selected here, put back and deleted at the end of the call.
class OperationTools {
 public:
  OperationTools(HDC dc, std::int32_t penWidth, std::uint32_t outline, bool withBrush,
                 std::optional<std::uint32_t> fill)
      : dc_(dc) {
    pen_ = CreatePen(PS_SOLID, penWidth, Rgb(outline));
    if (!pen_) return;
    oldPen_ = SelectObject(dc_, pen_);
    if (!withBrush) return;
    if (fill) {
      brush_ = CreateSolidBrush(Rgb(*fill));
      if (!brush_) return;
      oldBrush_ = SelectObject(dc_, brush_);
    } else {
      oldBrush_ = SelectObject(dc_, GetStockObject(NULL_BRUSH));
    }
    brushReady_ = true;
  }
  ~OperationTools() {
    if (oldBrush_) SelectObject(dc_, oldBrush_);
    if (brush_) DeleteObject(brush_);
    if (oldPen_) SelectObject(dc_, oldPen_);
    if (pen_) DeleteObject(pen_);
  }
  OperationTools(const OperationTools&) = delete;
  OperationTools& operator=(const OperationTools&) = delete;

  // Drawing with the DC's previous pen or brush would paint the wrong pixels,
  // so a call whose tools could not be made draws nothing.
  bool PenReady() const { return oldPen_ != nullptr; }
  bool Ready() const { return PenReady() && brushReady_; }

 private:
  HDC dc_;
  HPEN pen_ = nullptr;
  HBRUSH brush_ = nullptr;
  HGDIOBJ oldPen_ = nullptr;
  HGDIOBJ oldBrush_ = nullptr;
  bool brushReady_ = false;
};

}  // namespace

struct GdiRasterizer::Gdi {
  HDC dc = nullptr;
  HBITMAP bitmap = nullptr;
  HGDIOBJ oldBitmap = nullptr;
  HGDIOBJ oldFont = nullptr;
  std::uint32_t* bits = nullptr;  // the DIB section's pixels

  struct RealisedFont {
    FontSpec spec;
    std::int32_t dpi;
    HFONT font;
  };
  std::vector<RealisedFont> fonts;  // a handful at most: a linear search is enough

  // Kept between calls so that drawing does not allocate once warmed up.
  std::vector<POINT> points;
  std::wstring wide;
  bool utf8Text = false;  // the current font's texts are UTF-8
};

GdiRasterizer::GdiRasterizer(std::int32_t width, std::int32_t height)
    : gdi_(std::make_unique<Gdi>()), picture_(width, height), clip_{picture_.Bounds()} {
  if (picture_.Width() == 0 || picture_.Height() == 0) return;

  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = picture_.Width();
  info.bmiHeader.biHeight = -picture_.Height();  // negative: top-down rows, as in Picture
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;

  HDC dc = CreateCompatibleDC(nullptr);  // compatible with the screen
  if (!dc) return;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bitmap || !bits) {
    if (bitmap) DeleteObject(bitmap);
    DeleteDC(dc);
    return;
  }
  // The section's memory starts zeroed, which is the black picture_ already holds.
  gdi_->dc = dc;
  gdi_->bitmap = bitmap;
  gdi_->bits = static_cast<std::uint32_t*>(bits);
  gdi_->oldBitmap = SelectObject(dc, bitmap);
  gdi_->oldFont = GetCurrentObject(dc, OBJ_FONT);
  // A new DC already has MM_TEXT, GM_COMPATIBLE and R2_COPYPEN, which the shapes rely on.
  SetTextAlign(dc, TA_TOP | TA_LEFT | TA_NOUPDATECP);
}

GdiRasterizer::~GdiRasterizer() {
  if (!gdi_->dc) return;
  // Objects must be deselected before they can be deleted.
  SelectObject(gdi_->dc, gdi_->oldFont);
  SelectObject(gdi_->dc, gdi_->oldBitmap);
  DeleteDC(gdi_->dc);
  DeleteObject(gdi_->bitmap);
  for (const auto& realised : gdi_->fonts) DeleteObject(realised.font);
}

void* GdiRasterizer::Dc() const { return gdi_->dc; }

void GdiRasterizer::Touch(std::int32_t top, std::int32_t bottom) {
  top = std::max(top, 0);
  bottom = std::min(bottom, picture_.Height());
  if (top >= bottom) return;
  if (dirtyTop_ >= dirtyBottom_) {
    dirtyTop_ = top;
    dirtyBottom_ = bottom;
  } else {
    dirtyTop_ = std::min(dirtyTop_, top);
    dirtyBottom_ = std::max(dirtyBottom_, bottom);
  }
}

void GdiRasterizer::TouchAround(std::int32_t top, std::int32_t bottom, std::int32_t penWidth) {
  // GDI uses |width|; a margin of a pixel more than half the pen on each side
  // covers round caps, joins and the pen centred on a boundary.
  const std::int64_t reach = std::llabs(static_cast<std::int64_t>(penWidth)) / 2 + 2;
  const auto low = std::max<std::int64_t>(static_cast<std::int64_t>(std::min(top, bottom)) - reach, 0);
  const auto high = std::min<std::int64_t>(
      static_cast<std::int64_t>(std::max(top, bottom)) + reach + 1, picture_.Height());
  Touch(static_cast<std::int32_t>(low), static_cast<std::int32_t>(high));
}

const Picture& GdiRasterizer::Pixels() {
  if (dirtyTop_ < dirtyBottom_ && gdi_->bits) {
    GdiFlush();  // GDI may batch calls; the bits are only current after a flush
    const std::int32_t width = picture_.Width();
    for (std::int32_t y = dirtyTop_; y < dirtyBottom_; ++y) {
      const std::uint32_t* source = gdi_->bits + static_cast<std::size_t>(y) * width;
      std::uint32_t* target = picture_.Row(y);
      // The top byte of a BI_RGB pixel is unused; Picture keeps it zero.
      for (std::int32_t x = 0; x < width; ++x) target[x] = source[x] & 0x00FFFFFFu;
    }
  }
  dirtyTop_ = dirtyBottom_ = 0;
  return picture_;
}

void GdiRasterizer::SetClip(std::span<const PixelRect> region) {
  clip_.clear();
  for (const PixelRect& r : region) {
    const PixelRect inside = Intersect(r, picture_.Bounds());
    if (!inside.Empty()) clip_.push_back(inside);
  }
  clipped_ = !(clip_.size() == 1 && clip_.front() == picture_.Bounds());
  if (!gdi_->dc) return;
  SelectClipRgn(gdi_->dc, nullptr);
  if (!clipped_) return;
  if (clip_.size() <= 1) {
    const PixelRect r = clip_.empty() ? PixelRect{} : clip_.front();
    IntersectClipRect(gdi_->dc, r.left, r.top, r.right, r.bottom);
    return;
  }
  HRGN area = CreateRectRgn(0, 0, 0, 0);
  for (const PixelRect& r : clip_) {
    HRGN part = CreateRectRgn(r.left, r.top, r.right, r.bottom);
    CombineRgn(area, area, part, RGN_OR);
    DeleteObject(part);
  }
  SelectClipRgn(gdi_->dc, area);  // the DC keeps a copy
  DeleteObject(area);
}

void GdiRasterizer::FillAll(std::uint32_t color) {
  if (!gdi_->dc) return;
  // A solid fill of the DIB is the same plain store with or without GDI;
  // writing both copies directly saves a copy of every row afterwards.
  GdiFlush();
  const std::uint32_t pixel = ColorRefToPixel(Rgb(color));
  if (!clipped_) {
    const std::size_t count = static_cast<std::size_t>(picture_.Width()) * picture_.Height();
    std::fill_n(gdi_->bits, count, pixel);
    std::fill_n(picture_.Data(), count, pixel);
    dirtyTop_ = dirtyBottom_ = 0;
    return;
  }
  const auto width = static_cast<std::size_t>(picture_.Width());
  for (const PixelRect& r : clip_) {
    const auto count = static_cast<std::size_t>(r.right - r.left);
    for (std::int32_t y = r.top; y < r.bottom; ++y) {
      std::fill_n(gdi_->bits + static_cast<std::size_t>(y) * width + r.left, count, pixel);
    }
    picture_.FillRect(r, pixel);
  }
}

void GdiRasterizer::Line(PixelPoint from, PixelPoint to, std::int32_t penWidth,
                         std::uint32_t color) {
  if (!gdi_->dc) return;
  OperationTools tools(gdi_->dc, penWidth, color, false, std::nullopt);
  if (!tools.PenReady()) return;
  MoveToEx(gdi_->dc, from.x, from.y, nullptr);
  LineTo(gdi_->dc, to.x, to.y);
  TouchAround(from.y, to.y, penWidth);
}

void GdiRasterizer::RoundBox(PixelRect box, std::int32_t cornerWidth, std::int32_t cornerHeight,
                             std::int32_t penWidth, std::uint32_t outline,
                             std::optional<std::uint32_t> fill) {
  if (!gdi_->dc) return;
  OperationTools tools(gdi_->dc, penWidth, outline, true, fill);
  if (!tools.Ready()) return;
  if (cornerWidth == 0 || cornerHeight == 0) {
    Rectangle(gdi_->dc, box.left, box.top, box.right, box.bottom);
  } else {
    RoundRect(gdi_->dc, box.left, box.top, box.right, box.bottom, cornerWidth, cornerHeight);
  }
  TouchAround(box.top, box.bottom, penWidth);
}

void GdiRasterizer::Ellipse(PixelRect box, std::int32_t penWidth, std::uint32_t outline,
                            std::optional<std::uint32_t> fill) {
  if (!gdi_->dc) return;
  OperationTools tools(gdi_->dc, penWidth, outline, true, fill);
  if (!tools.Ready()) return;
  ::Ellipse(gdi_->dc, box.left, box.top, box.right, box.bottom);
  TouchAround(box.top, box.bottom, penWidth);
}

void GdiRasterizer::Polygon(std::span<const PixelPoint> points, std::int32_t penWidth,
                            std::uint32_t outline, std::optional<std::uint32_t> fill,
                            FillRule rule) {
  if (!gdi_->dc || points.empty() || points.size() > static_cast<std::size_t>(INT_MAX)) return;
  auto& corners = gdi_->points;
  corners.clear();
  std::int32_t top = points.front().y;
  std::int32_t bottom = top;
  for (const PixelPoint& p : points) {
    corners.push_back({p.x, p.y});
    top = std::min(top, p.y);
    bottom = std::max(bottom, p.y);
  }
  OperationTools tools(gdi_->dc, penWidth, outline, true, fill);
  if (!tools.Ready()) return;
  SetPolyFillMode(gdi_->dc, rule == FillRule::Winding ? WINDING : ALTERNATE);
  ::Polygon(gdi_->dc, corners.data(), static_cast<int>(corners.size()));
  TouchAround(top, bottom, penWidth);
}

bool GdiRasterizer::SetFont(const FontSpec& spec, std::int32_t dpi) {
  if (!gdi_->dc) return false;
  HFONT font = nullptr;
  for (const auto& realised : gdi_->fonts) {
    if (realised.dpi == dpi && realised.spec == spec) {
      font = realised.font;
      break;
    }
  }
  if (!font) {
    const LOGFONTW request = ToLogFont(spec, dpi);
    font = CreateFontIndirectW(&request);
    if (!font) return false;
    gdi_->fonts.push_back({spec, dpi, font});
  }
  // Fonts stay alive until the destructor, so the one deselected here needs no care.
  SelectObject(gdi_->dc, font);
  gdi_->utf8Text = spec.utf8Text;
  return true;
}

FontMetrics GdiRasterizer::Metrics() {
  TEXTMETRICW tm{};
  if (!gdi_->dc || !GetTextMetricsW(gdi_->dc, &tm)) return {};
  return {tm.tmHeight, tm.tmAscent, tm.tmDescent, tm.tmExternalLeading};
}

std::string GdiRasterizer::MissingGlyphs(std::string_view text) {
  std::string missing;
  if (!gdi_->dc || !Widen(text, gdi_->utf8Text, gdi_->wide) || gdi_->wide.empty()) return missing;
  std::vector<WORD> indices(gdi_->wide.size());
  if (GetGlyphIndicesW(gdi_->dc, gdi_->wide.c_str(), static_cast<int>(gdi_->wide.size()), indices.data(),
                       GGI_MARK_NONEXISTING_GLYPHS) == GDI_ERROR) {
    return missing;
  }
  std::wstring seen;
  for (std::size_t i = 0; i < indices.size(); ++i) {
    const wchar_t c = gdi_->wide[i];
    if (indices[i] != 0xFFFF || c < 0x20 || c == 0x7F || seen.find(c) != std::wstring::npos) continue;
    seen += c;
    AppendUtf8(missing, static_cast<char32_t>(c));
  }
  return missing;
}

TextExtent GdiRasterizer::MeasureText(std::string_view text) {
  if (!gdi_->dc || !Widen(text, gdi_->utf8Text, gdi_->wide)) return {};
  SIZE size{};
  if (!GetTextExtentPoint32W(gdi_->dc, gdi_->wide.c_str(), static_cast<int>(gdi_->wide.size()),
                             &size)) {
    return {};
  }
  return {size.cx, size.cy};
}

void GdiRasterizer::DrawText(PixelPoint origin, std::string_view text, std::uint32_t color,
                             std::optional<std::uint32_t> background, PixelRect clip) {
  if (!gdi_->dc || clip.Empty() || !Widen(text, gdi_->utf8Text, gdi_->wide)) return;
  SetTextColor(gdi_->dc, Rgb(color));
  if (background) {
    SetBkMode(gdi_->dc, OPAQUE);
    SetBkColor(gdi_->dc, Rgb(*background));
  } else {
    SetBkMode(gdi_->dc, TRANSPARENT);
  }
  const RECT bounds{clip.left, clip.top, clip.right, clip.bottom};
  ExtTextOutW(gdi_->dc, origin.x, origin.y, ETO_CLIPPED, &bounds, gdi_->wide.c_str(),
              static_cast<UINT>(gdi_->wide.size()), nullptr);
  Touch(clip.top, clip.bottom);
}

}  // namespace halyard
