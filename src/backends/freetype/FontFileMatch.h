// Finding the font file for a request, through fontconfig.
#pragma once

#include <optional>
#include <string>

namespace halyard {

struct FontFileMatch {
  std::string file;
  int index = 0;          // face (and named instance) in the file
  bool embolden = false;  // bold asked for but the file is lighter: embolden it
};

// The file fontconfig's rules choose for a family (UTF-8; empty: the default
// family) at a weight and pixel size, with its aliases applied, so "Arial"
// can come back as a metric-compatible substitute. Nothing: no usable font.
std::optional<FontFileMatch> MatchFontFile(const std::string& family, bool bold, double pixelSize);

// A font for when fontconfig matches nothing (no configuration, an empty
// font cache): Liberation Sans at its Debian paths, found without fontconfig,
// else the first scalable font fontconfig lists. Nothing: no font at all.
std::optional<FontFileMatch> FallbackFontFile(bool bold);

}  // namespace halyard
