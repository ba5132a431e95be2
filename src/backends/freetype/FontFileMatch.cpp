#include "backends/freetype/FontFileMatch.h"

#include <fontconfig/fontconfig.h>

#include <unistd.h>

#include <algorithm>
#include <memory>
#include <vector>

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

struct FontSetDeleter {
  void operator()(FcFontSet* set) const { FcFontSetDestroy(set); }
};
struct ObjectSetDeleter {
  void operator()(FcObjectSet* set) const { FcObjectSetDestroy(set); }
};

// Every scalable font file fontconfig knows, in a stable order.
std::vector<std::string> ScalableFontFiles() {
  std::vector<std::string> files;
  if (!InitialiseFontconfig()) return files;
  PatternPtr request(FcPatternCreate());
  std::unique_ptr<FcObjectSet, ObjectSetDeleter> objects(FcObjectSetBuild(FC_FILE, nullptr));
  if (!request || !objects) return files;
  FcPatternAddBool(request.get(), FC_SCALABLE, FcTrue);
  std::unique_ptr<FcFontSet, FontSetDeleter> set(FcFontList(nullptr, request.get(), objects.get()));
  if (!set) return files;
  for (int i = 0; i < set->nfont; ++i) {
    FcChar8* file = nullptr;
    if (FcPatternGetString(set->fonts[i], FC_FILE, 0, &file) == FcResultMatch && file != nullptr) {
      files.emplace_back(reinterpret_cast<const char*>(file));
    }
  }
  std::sort(files.begin(), files.end());
  return files;
}

}  // namespace

std::optional<FontFileMatch> FallbackFontFile(bool bold) {
  static constexpr const char* kBold[] = {"/usr/share/fonts/truetype/liberation/LiberationSans-Bold.ttf",
                                          "/usr/share/fonts/truetype/liberation2/LiberationSans-Bold.ttf"};
  static constexpr const char* kRegular[] = {"/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf",
                                             "/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf"};
  for (const char* file : bold ? kBold : kRegular) {
    if (access(file, R_OK) == 0) return FontFileMatch{file, 0, false};
  }
  for (const char* file : bold ? kRegular : kBold) {
    if (access(file, R_OK) == 0) return FontFileMatch{file, 0, bold};
  }
  const std::vector<std::string> listed = ScalableFontFiles();
  if (listed.empty()) return std::nullopt;
  return FontFileMatch{listed.front(), 0, bold};
}

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
