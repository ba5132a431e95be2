#include "backends/freetype/FontFileMatch.h"

#include <fontconfig/fontconfig.h>

#include <memory>

namespace halyard {

namespace {

struct PatternDeleter {
  void operator()(FcPattern* pattern) const { FcPatternDestroy(pattern); }
};
using PatternPtr = std::unique_ptr<FcPattern, PatternDeleter>;

bool InitialiseFontconfig() {
  static const bool ready = FcInit() == FcTrue;
  return ready;
}

}  // namespace

std::optional<FontFileMatch> MatchFontFile(const std::string& family, bool bold, double pixelSize) {
  if (!InitialiseFontconfig()) return std::nullopt;

  PatternPtr request(FcPatternCreate());
  if (!request) return std::nullopt;
  if (!family.empty() &&
      !FcPatternAddString(request.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()))) {
    return std::nullopt;
  }
  FcPatternAddInteger(request.get(), FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(request.get(), FC_SLANT, FC_SLANT_ROMAN);
  FcPatternAddBool(request.get(), FC_SCALABLE, FcTrue);
  if (pixelSize > 0) FcPatternAddDouble(request.get(), FC_PIXEL_SIZE, pixelSize);

  if (!FcConfigSubstitute(nullptr, request.get(), FcMatchPattern)) return std::nullopt;
  FcDefaultSubstitute(request.get());

  FcResult result = FcResultNoMatch;
  PatternPtr found(FcFontMatch(nullptr, request.get(), &result));
  if (!found || result != FcResultMatch) return std::nullopt;

  FcChar8* file = nullptr;
  if (FcPatternGetString(found.get(), FC_FILE, 0, &file) != FcResultMatch || file == nullptr) {
    return std::nullopt;
  }
  FontFileMatch match;
  match.file = reinterpret_cast<const char*>(file);
  int index = 0;
  if (FcPatternGetInteger(found.get(), FC_INDEX, 0, &index) == FcResultMatch) match.index = index;
  FcBool embolden = FcFalse;
  if (FcPatternGetBool(found.get(), FC_EMBOLDEN, 0, &embolden) == FcResultMatch) {
    match.embolden = embolden == FcTrue;
  }
  return match;
}

}  // namespace halyard
