#include "backends/freetype/FreeTypeTextEngine.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <limits>

#include "options/Reporter.h"
#include "platform/window/Utf8Encoder.h"
#include "backends/freetype/FontFileMatch.h"
#include "backends/freetype/LocaleDecoder.h"
#include "backends/freetype/RealisedFont.h"

namespace halyard {

namespace {

// LOGFONT keeps 31 characters of a face name.
constexpr std::size_t kMaxFaceCharacters = 31;

// The face name as fontconfig wants it: UTF-8, cut where GDI cuts it.
std::string FamilyForFontconfig(std::string_view face) {
  std::string family;
  LocaleDecoder decoder(face);
  char32_t c = 0;
  for (std::size_t count = 0; count < kMaxFaceCharacters && decoder.Next(c); ++count) {
    if (c == 0) break;  // the name ends at a NUL, as a C string would
    AppendUtf8(family, c);
  }
  return family;
}

std::uint32_t Blend(std::uint32_t under, std::uint32_t over, std::uint32_t alpha) {
  const std::uint32_t inverse = 255 - alpha;
  std::uint32_t result = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    const std::uint32_t d = (under >> shift) & 0xFF;
    const std::uint32_t s = (over >> shift) & 0xFF;
    result |= ((s * alpha + d * inverse + 127) / 255) << shift;
  }
  return result;
}

}  // namespace

FreeTypeTextEngine::FreeTypeTextEngine() {
  FT_Library library = nullptr;
  if (FT_Init_FreeType(&library) == 0) library_ = library;
}

FreeTypeTextEngine::~FreeTypeTextEngine() {
  current_ = nullptr;
  requests_.clear();
  fonts_.clear();  // the faces go before their library
  if (library_ != nullptr) FT_Done_FreeType(library_);
}

bool FreeTypeTextEngine::SetFont(const FontSpec& font, std::int32_t dpi) {
  if (library_ == nullptr || dpi <= 0 || !std::isfinite(font.points)) return false;
  // Refuse absurd sizes before they reach integer arithmetic.
  const double em = std::fabs(static_cast<double>(dpi) * font.points / 72.0);
  if (em > kMaxPixelHeight + 1) return false;
  const std::int32_t logicalHeight = FontPixelHeight(font.points, dpi);
  if (logicalHeight < -kMaxPixelHeight || logicalHeight > kMaxPixelHeight) return false;

  Request request;
  request.family = FamilyForFontconfig(font.face);
  request.bold = (font.style & FontSpec::kBold) != 0;
  request.logicalHeight = logicalHeight;

  const auto known = std::find_if(requests_.begin(), requests_.end(), [&](const Request& r) {
    return r.family == request.family && r.bold == request.bold &&
           r.logicalHeight == request.logicalHeight;
  });
  if (known != requests_.end()) {
    current_ = known->font;
    utf8Text_ = font.utf8Text;
    std::rotate(known, known + 1, requests_.end());  // most recently used last
    return true;
  }

  const std::int32_t pixels = logicalHeight < 0 ? -logicalHeight : logicalHeight;
  auto match = MatchFontFile(request.family, request.bold, pixels);
  if (!match) {
    // Text must never vanish from the face: take any font there is, and say so once.
    match = FallbackFontFile(request.bold);
    if (!match) return false;
    static bool told = false;
    if (!told) {
      Reporter::Report("no font matches \"" + request.family + "\"; using " + match->file);
      told = true;
    }
  }
  RealisedFont* realised = Realise(match->file, match->index, logicalHeight, match->embolden);
  if (realised == nullptr) return false;
  request.font = realised;
  Remember(std::move(request));
  current_ = realised;
  utf8Text_ = font.utf8Text;
  return true;
}

RealisedFont* FreeTypeTextEngine::Realise(const std::string& file, int index,
                                          std::int32_t logicalHeight, bool embolden) {
  const auto known = std::find_if(fonts_.begin(), fonts_.end(), [&](const Realised& r) {
    return r.file == file && r.index == index && r.logicalHeight == logicalHeight &&
           r.embolden == embolden;
  });
  if (known != fonts_.end()) {
    RealisedFont* font = known->font.get();
    std::rotate(known, known + 1, fonts_.end());
    return font;
  }

  std::unique_ptr<RealisedFont> font = RealisedFont::Open(library_, file, index, logicalHeight, embolden);
  if (!font) return nullptr;
  if (fonts_.size() >= kMaxFonts) {
    // Drop the least recently used font that is not in use, with the requests leading to it.
    const auto victim = std::find_if(fonts_.begin(), fonts_.end(),
                                     [&](const Realised& r) { return r.font.get() != current_; });
    if (victim != fonts_.end()) {
      const RealisedFont* gone = victim->font.get();
      std::erase_if(requests_, [&](const Request& r) { return r.font == gone; });
      fonts_.erase(victim);
    }
  }
  Realised entry{file, index, logicalHeight, embolden, std::move(font)};
  fonts_.push_back(std::move(entry));
  return fonts_.back().font.get();
}

void FreeTypeTextEngine::Remember(Request request) {
  if (requests_.size() >= kMaxRequests) requests_.erase(requests_.begin());
  requests_.push_back(std::move(request));
}

FontMetrics FreeTypeTextEngine::Metrics() const {
  return current_ != nullptr ? current_->Metrics() : FontMetrics{};
}

std::string FreeTypeTextEngine::FontFile() const { return current_ != nullptr ? current_->File() : ""; }
std::string FreeTypeTextEngine::FamilyName() const {
  return current_ != nullptr ? current_->FamilyName() : "";
}
std::string FreeTypeTextEngine::StyleName() const {
  return current_ != nullptr ? current_->StyleName() : "";
}
bool FreeTypeTextEngine::SyntheticBold() const { return current_ != nullptr && current_->Emboldened(); }

std::uint64_t FreeTypeTextEngine::GlyphRenders() const {
  std::uint64_t renders = 0;
  for (const Realised& realised : fonts_) renders += realised.font->Renders();
  return renders;
}

std::int32_t FreeTypeTextEngine::Advance(std::string_view text) {
  if (current_ == nullptr) return 0;
  std::int64_t total = 0;
  LocaleDecoder decoder(text, utf8Text_);
  char32_t c = 0;
  while (decoder.Next(c)) total += current_->GlyphFor(c).advance;
  return static_cast<std::int32_t>(std::min<std::int64_t>(total, std::numeric_limits<std::int32_t>::max()));
}

std::string FreeTypeTextEngine::MissingGlyphs(std::string_view text) {
  std::string missing;
  if (current_ == nullptr) return missing;
  std::u32string seen;
  LocaleDecoder decoder(text, utf8Text_);
  for (char32_t c = 0; decoder.Next(c);) {
    if (c < 0x20 || c == 0x7F || seen.find(c) != std::u32string::npos || current_->HasGlyph(c)) continue;
    seen += c;
    AppendUtf8(missing, c);
  }
  return missing;
}

bool FreeTypeTextEngine::CharacterSpans(std::string_view text, std::vector<CharacterSpan>& spans) {
  spans.clear();
  if (current_ == nullptr) return false;
  // The same walk as DrawGlyphs: a span is the cell (the opaque background)
  // joined with the glyph's ink, which may lean out of it.
  std::int64_t pen = 0;
  LocaleDecoder decoder(text, utf8Text_);
  for (char32_t c = 0; decoder.Next(c);) {
    const Glyph glyph = current_->GlyphFor(c);
    const std::int64_t inkLeft = pen + glyph.left;
    const std::int64_t left = std::min(pen, inkLeft);
    pen += glyph.advance;
    const std::int64_t right = std::max(pen, inkLeft + glyph.width);
    constexpr std::int64_t kLimit = std::numeric_limits<std::int32_t>::max() / 2;
    spans.push_back({static_cast<std::uint32_t>(decoder.Position()),
                     static_cast<std::int32_t>(std::clamp(left, -kLimit, kLimit)),
                     static_cast<std::int32_t>(std::clamp(right, -kLimit, kLimit))});
  }
  return true;
}

void FreeTypeTextEngine::DrawGlyphs(Picture& picture, PixelPoint origin, std::string_view text,
                                    std::uint32_t pixel, PixelRect clip) {
  if (current_ == nullptr) return;
  const PixelRect area = Intersect(clip, picture.Bounds());
  if (area.Empty()) return;
  pixel &= 0xFFFFFFu;

  // 64-bit positions: an origin near the edge of the int range must not wrap.
  const std::int64_t baseline = static_cast<std::int64_t>(origin.y) + current_->Metrics().ascent;
  std::int64_t pen = origin.x;
  LocaleDecoder decoder(text, utf8Text_);
  char32_t c = 0;
  while (decoder.Next(c)) {
    const Glyph glyph = current_->GlyphFor(c);
    const std::int64_t glyphLeft = pen + glyph.left;
    const std::int64_t glyphTop = baseline + glyph.top;
    pen += glyph.advance;

    const std::int64_t left = std::max<std::int64_t>(glyphLeft, area.left);
    const std::int64_t right = std::min<std::int64_t>(glyphLeft + glyph.width, area.right);
    const std::int64_t top = std::max<std::int64_t>(glyphTop, area.top);
    const std::int64_t bottom = std::min<std::int64_t>(glyphTop + glyph.rows, area.bottom);
    if (left >= right || top >= bottom) continue;

    for (std::int64_t y = top; y < bottom; ++y) {
      const std::uint8_t* coverage =
          glyph.coverage + (y - glyphTop) * glyph.width + (left - glyphLeft);
      std::uint32_t* target = picture.Row(static_cast<std::int32_t>(y)) + left;
      for (std::int64_t x = left; x < right; ++x, ++coverage, ++target) {
        const std::uint32_t alpha = *coverage;
        if (alpha == 255) {
          *target = pixel;
        } else if (alpha != 0) {
          *target = Blend(*target, pixel, alpha);
        }
      }
    }
  }
}

}  // namespace halyard
