// One font file at one size, with GDI's cell metrics and a cache of glyphs.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/canvas/FontSpec.h"

struct FT_LibraryRec_;
struct FT_FaceRec_;

namespace halyard {

// A glyph as the text engine uses it: the hinted advance and the grey-scale
// coverage (0-255, `width` bytes a row) with its top-left relative to the pen
// on the baseline (y grows downward, so `top` is usually negative).
struct Glyph {
  std::int32_t advance = 0;
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t width = 0;
  std::int32_t rows = 0;
  const std::uint8_t* coverage = nullptr;
};

class RealisedFont {
 public:
  // Opens face `index` of `file`. `logicalHeight` is a LOGFONT height: negative
  // is the em height in pixels, positive the cell height. Null if the file is
  // unusable or not scalable.
  static std::unique_ptr<RealisedFont> Open(FT_LibraryRec_* library, const std::string& file,
                                            int index, std::int32_t logicalHeight, bool embolden);
  ~RealisedFont();
  RealisedFont(const RealisedFont&) = delete;
  RealisedFont& operator=(const RealisedFont&) = delete;

  const FontMetrics& Metrics() const { return metrics_; }
  std::int32_t Ppem() const { return ppem_; }
  const std::string& File() const { return file_; }
  std::string FamilyName() const;
  std::string StyleName() const;
  bool Emboldened() const { return embolden_; }

  // The glyph shown for a code point (the font's default glyph when it has
  // none). Valid until the next call.
  Glyph GlyphFor(char32_t codePoint);
  // Whether the font has a glyph of its own for the code point.
  bool HasGlyph(char32_t codePoint) const;
  // How many times a glyph was loaded and rendered (cache misses).
  std::uint64_t Renders() const { return renders_; }

 private:
  struct Slot {
    std::uint32_t glyphIndex = kEmptySlot;
    std::int32_t advance = 0;
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t width = 0;
    std::int32_t rows = 0;
    std::vector<std::uint8_t> coverage;  // keeps its capacity when the slot is reused
  };
  static constexpr std::uint32_t kEmptySlot = 0xFFFFFFFFu;
  // Direct-mapped by glyph index; sized so that Latin text never collides.
  static constexpr std::size_t kSlotCount = 1024;
  // Above this many bytes of cached coverage the cache starts over, so that a
  // huge size cannot hold on to unbounded memory.
  static constexpr std::size_t kCoverageBudget = 16u << 20;

  RealisedFont() = default;
  bool Initialise(FT_LibraryRec_* library, const std::string& file, int index,
                  std::int32_t logicalHeight, bool embolden);
  void ComputeMetrics();
  void Fill(Slot& slot, std::uint32_t glyphIndex);
  std::int32_t AdvanceFor(long hintedAdvance) const;
  void ForgetCoverage();

  FT_FaceRec_* face_ = nullptr;
  std::string file_;
  bool embolden_ = false;
  std::int32_t ppem_ = 0;
  long emScale_ = 0;           // 16.16: pixels per font unit
  long averageWidth_ = 0;      // OS/2 xAvgCharWidth, font units
  bool fixedPitch_ = false;
  std::uint32_t defaultGlyph_ = 0;
  FontMetrics metrics_{};
  std::vector<Slot> slots_;
  // One more than the glyph index of each code point below 256, looked up
  // once (0 until then): the legend's characters are drawn every second.
  std::array<std::uint32_t, 256> byteIndex_{};
  std::size_t coverageBytes_ = 0;
  std::uint64_t renders_ = 0;
};

}  // namespace halyard
