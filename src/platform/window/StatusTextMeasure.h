#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace halyard {

// Measures a status-line text in the clock's font at `dpi`, with the text engine
// the clock itself uses on this platform; gives an empty function when no font
// can be had. `utf8Text`: the texts are UTF-8 (a file with a byte-order mark).
// For halyard-options' "too wide" warning.
std::function<int(std::string_view)> MakeStatusTextMeasure(int dpi, bool utf8Text);

// The characters of a text that the clock's font has no glyph for, as UTF-8
// (empty when it has them all); an empty function when no font can be had.
std::function<std::string(std::string_view)> MakeMissingGlyphs(int dpi, bool utf8Text);

// Whether bytes read without a byte-order mark show here (in the locale's
// character set, or the ANSI code page) as the characters UTF-8 gives.
bool ShowsAsUtf8(std::string_view bytes);

}  // namespace halyard
