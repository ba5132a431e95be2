// The Linux text engine: fonts found through fontconfig, glyphs hinted and
// rendered by FreeType, measured and placed the way GDI does it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/canvas/TextEngine.h"

struct FT_LibraryRec_;

namespace halyard {

class RealisedFont;

class FreeTypeTextEngine final : public TextEngine {
 public:
  FreeTypeTextEngine();
  ~FreeTypeTextEngine() override;
  FreeTypeTextEngine(const FreeTypeTextEngine&) = delete;
  FreeTypeTextEngine& operator=(const FreeTypeTextEngine&) = delete;

  bool SetFont(const FontSpec& font, std::int32_t dpi) override;
  FontMetrics Metrics() const override;
  std::int32_t Advance(std::string_view text) override;
  // The characters of `text` (control characters aside) the current font has
  // no glyph for, each once, as UTF-8; empty with no font.
  std::string MissingGlyphs(std::string_view text);
  bool CharacterSpans(std::string_view text, std::vector<CharacterSpan>& spans) override;
  void DrawGlyphs(Picture& picture, PixelPoint origin, std::string_view text, std::uint32_t pixel,
                  PixelRect clip) override;

  // --- the current font, for diagnostics and tests (empty with no font) ---
  std::string FontFile() const;
  std::string FamilyName() const;
  std::string StyleName() const;
  bool SyntheticBold() const;
  // How many faces are realised and kept.
  std::size_t RealisedFontCount() const { return fonts_.size(); }
  // Glyphs loaded and rendered by the kept fonts: cache misses.
  std::uint64_t GlyphRenders() const;

  // Em heights beyond this many pixels are refused.
  static constexpr std::int32_t kMaxPixelHeight = 2048;

 private:
  struct Request {
    std::string family;  // UTF-8, at most 31 characters
    bool bold = false;
    std::int32_t logicalHeight = 0;
    RealisedFont* font = nullptr;
  };
  struct Realised {
    std::string file;
    int index = 0;
    std::int32_t logicalHeight = 0;
    bool embolden = false;
    std::unique_ptr<RealisedFont> font;
  };
  static constexpr std::size_t kMaxFonts = 8;
  static constexpr std::size_t kMaxRequests = 32;

  RealisedFont* Realise(const std::string& file, int index, std::int32_t logicalHeight, bool embolden);
  void Remember(Request request);

  FT_LibraryRec_* library_ = nullptr;
  std::vector<Realised> fonts_;     // oldest first
  std::vector<Request> requests_;   // oldest first
  RealisedFont* current_ = nullptr;
  bool utf8Text_ = false;  // texts are UTF-8, not in the locale's character set
};

}  // namespace halyard
