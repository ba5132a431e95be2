#include "backends/freetype/RealisedFont.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace halyard {

namespace {

// The OS/2 panose proportion value of a monospaced design.
constexpr FT_Byte kPanoseMonospaced = 9;

// The vertical extent GDI builds the cell from: the OS/2 Windows ascent and
// descent, or the hhea ones when the OS/2 pair is zero. Some tools write a
// signed descent into the unsigned field; GDI takes its magnitude.
struct VerticalExtent {
  long ascent = 0;
  long descent = 0;
};

VerticalExtent CellExtent(const TT_OS2& os2, const TT_HoriHeader& hhea) {
  const long winDescent = std::labs(static_cast<FT_Short>(os2.usWinDescent));
  if (os2.usWinAscent + winDescent == 0) return {hhea.Ascender, -static_cast<long>(hhea.Descender)};
  return {os2.usWinAscent, winDescent};
}

}  // namespace

std::unique_ptr<RealisedFont> RealisedFont::Open(FT_LibraryRec_* library, const std::string& file,
                                                 int index, std::int32_t logicalHeight,
                                                 bool embolden) {
  std::unique_ptr<RealisedFont> font(new RealisedFont());
  if (!font->Initialise(library, file, index, logicalHeight, embolden)) return nullptr;
  return font;
}

RealisedFont::~RealisedFont() {
  if (face_ != nullptr) FT_Done_Face(face_);
}

bool RealisedFont::Initialise(FT_LibraryRec_* library, const std::string& file, int index,
                              std::int32_t logicalHeight, bool embolden) {
  if (FT_New_Face(library, file.c_str(), index, &face_) != 0) {
    face_ = nullptr;
    return false;
  }
  if (!FT_IS_SCALABLE(face_) || face_->units_per_EM == 0) return false;
  if (FT_Select_Charmap(face_, FT_ENCODING_UNICODE) != 0) {
    FT_Select_Charmap(face_, FT_ENCODING_MS_SYMBOL);  // symbol fonts; otherwise keep FreeType's pick
  }
  file_ = file;
  embolden_ = embolden;

  const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face_, FT_SFNT_OS2));
  const auto* hhea = static_cast<const TT_HoriHeader*>(FT_Get_Sfnt_Table(face_, FT_SFNT_HHEA));

  // A negative height is the em itself; a positive one is the whole cell, so
  // the em is the largest one whose cell still fits (0 asks for a 16-pixel cell).
  const std::int32_t height = logicalHeight == 0 ? 16 : logicalHeight;
  long ppem = 0;
  if (height < 0) {
    ppem = -static_cast<long>(height);
  } else if (os2 != nullptr && hhea != nullptr) {
    const VerticalExtent extent = CellExtent(*os2, *hhea);
    const long units = extent.ascent + extent.descent;
    ppem = units > 0 ? FT_MulDiv(face_->units_per_EM, height, units) : height;
    if (units > 0 && ppem > 1 && FT_MulDiv(units, ppem, face_->units_per_EM) > height) --ppem;
  } else {
    ppem = height;
  }
  ppem_ = static_cast<std::int32_t>(std::clamp(ppem, 1L, 0xFFFFL));
  if (FT_Set_Pixel_Sizes(face_, 0, static_cast<FT_UInt>(ppem_)) != 0) return false;

  emScale_ = FT_MulDiv(ppem_, 1L << 16, face_->units_per_EM);
  if (os2 != nullptr && os2->version != 0xFFFFu) {
    averageWidth_ = os2->xAvgCharWidth;
    fixedPitch_ = FT_IS_FIXED_WIDTH(face_) || os2->panose[3] == kPanoseMonospaced;
    if (os2->usDefaultChar != 0) defaultGlyph_ = FT_Get_Char_Index(face_, os2->usDefaultChar);
  } else {
    fixedPitch_ = FT_IS_FIXED_WIDTH(face_);
  }
  ComputeMetrics();
  slots_.resize(kSlotCount);
  byteIndex_.fill(0);
  return true;
}

void RealisedFont::ComputeMetrics() {
  const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face_, FT_SFNT_OS2));
  const auto* hhea = static_cast<const TT_HoriHeader*>(FT_Get_Sfnt_Table(face_, FT_SFNT_HHEA));
  if (os2 == nullptr || hhea == nullptr || os2->version == 0xFFFFu) {
    // Not TrueType: what FreeType scaled for this size.
    const FT_Size_Metrics& size = face_->size->metrics;
    metrics_.ascent = static_cast<std::int32_t>(size.ascender >> 6);
    metrics_.descent = static_cast<std::int32_t>(-size.descender >> 6);
    metrics_.height = metrics_.ascent + metrics_.descent;
    metrics_.externalLeading = std::max(0, static_cast<std::int32_t>(size.height >> 6) - metrics_.height);
    return;
  }
  const VerticalExtent cell = CellExtent(*os2, *hhea);
  const auto scale = [this](long units) {
    return static_cast<std::int32_t>(FT_MulFix(units, emScale_));
  };
  metrics_.ascent = scale(cell.ascent);
  metrics_.descent = scale(cell.descent);
  metrics_.height = metrics_.ascent + metrics_.descent;
  // The hhea line gap, less whatever of it the Windows cell already covers
  // beyond the typographic one.
  const long typographic = static_cast<long>(hhea->Ascender) - hhea->Descender;
  const long gap = hhea->Line_Gap - ((cell.ascent + cell.descent) - typographic);
  metrics_.externalLeading = std::max(0, scale(gap));
}

std::string RealisedFont::FamilyName() const {
  return face_->family_name != nullptr ? face_->family_name : "";
}

std::string RealisedFont::StyleName() const {
  return face_->style_name != nullptr ? face_->style_name : "";
}

bool RealisedFont::HasGlyph(char32_t codePoint) const {
  if (face_->charmap != nullptr && face_->charmap->encoding == FT_ENCODING_MS_SYMBOL && codePoint < 0x100 &&
      FT_Get_Char_Index(face_, 0xF000 + codePoint) != 0) {
    return true;
  }
  return FT_Get_Char_Index(face_, codePoint) != 0;
}

Glyph RealisedFont::GlyphFor(char32_t codePoint) {
  const bool small = codePoint < byteIndex_.size();
  FT_UInt index = small && byteIndex_[codePoint] != 0 ? byteIndex_[codePoint] - 1 : 0;
  if (!small || byteIndex_[codePoint] == 0) {
    if (face_->charmap != nullptr && face_->charmap->encoding == FT_ENCODING_MS_SYMBOL &&
        codePoint < 0x100) {
      // Symbol fonts keep their characters at U+F000-U+F0FF; some old ones at the byte value.
      index = FT_Get_Char_Index(face_, 0xF000 + codePoint);
    }
    if (index == 0) index = FT_Get_Char_Index(face_, codePoint);
    if (index == 0) index = defaultGlyph_;
    if (small) byteIndex_[codePoint] = index + 1;
  }

  Slot& slot = slots_[index % kSlotCount];
  if (slot.glyphIndex != index) Fill(slot, index);
  return {slot.advance, slot.left, slot.top, slot.width, slot.rows, slot.coverage.data()};
}

std::int32_t RealisedFont::AdvanceFor(long hintedAdvance) const {
  long advance = hintedAdvance;
  // In a fixed-pitch font GDI makes a glyph about two cells wide exactly
  // two average widths, so that wide characters line up with narrow ones.
  if (fixedPitch_ && averageWidth_ > 0) {
    const long average = FT_MulFix(averageWidth_, emScale_);
    if (average > 0 && (hintedAdvance + 63) >> 6 == FT_MulFix(averageWidth_ * 2, emScale_)) {
      advance = (average * 2) << 6;
    }
  }
  if (embolden_) advance += 64;  // emboldening widens every glyph by one pixel
  return static_cast<std::int32_t>(std::max(0L, (advance + 63) >> 6));
}

void RealisedFont::ForgetCoverage() {
  for (Slot& slot : slots_) {
    slot.glyphIndex = kEmptySlot;
    std::vector<std::uint8_t>().swap(slot.coverage);
  }
  coverageBytes_ = 0;
}

void RealisedFont::Fill(Slot& slot, std::uint32_t glyphIndex) {
  ++renders_;
  slot.glyphIndex = glyphIndex;
  slot.advance = slot.left = slot.top = slot.width = slot.rows = 0;

  const FT_Int32 flags = FT_LOAD_IGNORE_GLOBAL_ADVANCE_WIDTH | FT_LOAD_NO_BITMAP | FT_LOAD_TARGET_NORMAL;
  if (FT_Load_Glyph(face_, glyphIndex, flags) != 0 &&
      FT_Load_Glyph(face_, glyphIndex, flags | FT_LOAD_NO_HINTING) != 0) {
    return;  // a broken glyph shows as nothing
  }
  FT_GlyphSlot glyph = face_->glyph;
  if (embolden_ && glyph->format == FT_GLYPH_FORMAT_OUTLINE) {
    FT_Outline_Embolden(&glyph->outline, FT_MulDiv(ppem_, 64, 24));
  }
  slot.advance = AdvanceFor(glyph->metrics.horiAdvance);
  if (FT_Render_Glyph(glyph, FT_RENDER_MODE_NORMAL) != 0) return;

  const FT_Bitmap& bitmap = glyph->bitmap;
  if (bitmap.pixel_mode != FT_PIXEL_MODE_GRAY && bitmap.pixel_mode != FT_PIXEL_MODE_MONO) return;
  // GDI cuts glyphs at the cell: nothing above the ascent or below the descent.
  const long bitmapTop = -static_cast<long>(glyph->bitmap_top);
  const long firstRow = std::max(0L, -metrics_.ascent - bitmapTop);
  const long endRow = std::min<long>(bitmap.rows, metrics_.descent - bitmapTop);
  if (bitmap.width == 0 || endRow <= firstRow) return;

  const std::size_t width = bitmap.width;
  const std::size_t rows = static_cast<std::size_t>(endRow - firstRow);
  const std::size_t bytes = width * rows;
  if (coverageBytes_ + bytes > kCoverageBudget) ForgetCoverage();
  slot.glyphIndex = glyphIndex;
  const std::size_t before = slot.coverage.capacity();
  slot.coverage.resize(bytes);
  coverageBytes_ += slot.coverage.capacity() - before;

  const long pitch = bitmap.pitch;
  for (std::size_t row = 0; row < rows; ++row) {
    const long sourceRow = firstRow + static_cast<long>(row);
    // A negative pitch stores the rows bottom-up.
    const unsigned char* source =
        pitch >= 0 ? bitmap.buffer + sourceRow * pitch
                   : bitmap.buffer + (static_cast<long>(bitmap.rows) - 1 - sourceRow) * -pitch;
    std::uint8_t* target = slot.coverage.data() + row * width;
    if (bitmap.pixel_mode == FT_PIXEL_MODE_GRAY) {
      std::memcpy(target, source, width);
    } else {
      for (std::size_t x = 0; x < width; ++x) {
        target[x] = (source[x >> 3] & (0x80 >> (x & 7))) != 0 ? 255 : 0;
      }
    }
  }
  slot.left = glyph->bitmap_left;
  slot.top = static_cast<std::int32_t>(bitmapTop + firstRow);
  slot.width = static_cast<std::int32_t>(width);
  slot.rows = static_cast<std::int32_t>(rows);
}

}  // namespace halyard
