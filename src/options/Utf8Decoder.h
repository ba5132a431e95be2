// Reads UTF-8 one code point at a time, strictly: overlong forms, surrogates
// and values above U+10FFFF are not characters.
#pragma once

#include <cstddef>
#include <string_view>

namespace halyard {

enum class Utf8Step {
  Character,  // a whole, valid sequence: `codePoint` holds it
  Invalid,    // the byte at the position starts no valid sequence
  Truncated,  // the text ends inside a sequence that was valid so far
};

// Decodes the sequence at `position` and moves past it; for Invalid and
// Truncated it moves past one byte. `position` must be inside `text`.
// `surrogates` lets through the three-byte forms of U+D800-U+DFFF, which carry
// the unpaired surrogates Windows allows in file names.
enum class Surrogates { Reject, Allow };
Utf8Step NextUtf8(std::string_view text, std::size_t& position, char32_t& codePoint,
                  Surrogates surrogates = Surrogates::Reject);

}  // namespace halyard
