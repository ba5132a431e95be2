// Reading pictures drawn by the software rasterizer in tests.
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/canvas/Picture.h"

namespace halyard::testing {

inline constexpr std::uint32_t kRed = 0x0000FF;   // COLORREF
inline constexpr std::uint32_t kBlue = 0xFF0000;  // COLORREF

using PixelSet = std::set<std::pair<int, int>>;  // (x, y)

// Pixels of the picture that hold the given COLORREF.
inline PixelSet Lit(const Picture& picture, std::uint32_t color = kRed) {
  PixelSet lit;
  for (int i = 0; i < picture.Width() * picture.Height(); ++i) {
    if (picture.Data()[i] == ColorRefToPixel(color)) lit.insert({i % picture.Width(), i / picture.Width()});
  }
  return lit;
}

// The picture as text: '#' for red, 'o' for blue, '.' for anything else.
inline std::vector<std::string> Art(const Picture& picture) {
  std::vector<std::string> rows;
  for (int y = 0; y < picture.Height(); ++y) {
    std::string row;
    for (int x = 0; x < picture.Width(); ++x) {
      const std::uint32_t pixel = picture.Get(x, y);
      row += pixel == ColorRefToPixel(kRed) ? '#' : pixel == ColorRefToPixel(kBlue) ? 'o' : '.';
    }
    rows.push_back(row);
  }
  return rows;
}

}  // namespace halyard::testing
