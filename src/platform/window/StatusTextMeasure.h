#pragma once

#include <functional>
#include <string_view>

namespace halyard {

// Measures a status-line text in the clock's font at `dpi`, with the text engine
// the clock itself uses on this platform; gives an empty function when no font
// can be had. `utf8Text`: the texts are UTF-8 (a file with a byte-order mark).
// For halyard-options' "too wide" warning.
std::function<int(std::string_view)> MakeStatusTextMeasure(int dpi, bool utf8Text);

}  // namespace halyard
