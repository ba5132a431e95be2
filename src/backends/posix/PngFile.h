// Pictures to and from PNG files.
#pragma once

#include <string>

#include "platform/canvas/Picture.h"

namespace halyard {

// Writes the picture as 8-bit RGB. On failure returns false, leaves no partial
// file behind and, when `error` is given, says why.
bool WritePng(const std::string& path, const Picture& picture, std::string* error);

// Reads any common PNG (palette, grey, 16-bit, with or without alpha,
// interlaced) as 0x00RRGGBB; alpha is dropped. On failure returns false, leaves
// `picture` as it was and, when `error` is given, says why.
bool ReadPng(const std::string& path, Picture& picture, std::string* error);

}  // namespace halyard
