// Pixel-for-pixel comparison of two pictures (RGB only), for tests.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/canvas/Picture.h"

namespace halyard::testing {

struct PictureComparison {
  bool sizesDiffer = false;
  std::int64_t differing = 0;        // pixels whose RGB differ
  std::vector<PixelPoint> examples;  // the first few of them, in row order
  bool Same() const { return !sizesDiffer && differing == 0; }
  // "N pixels differ; (x,y) actual 0xRRGGBB expected 0xRRGGBB; ..."
  std::string Describe(const Picture& actual, const Picture& expected) const;
};

PictureComparison ComparePictures(const Picture& actual, const Picture& expected);

// Differing pixels in red, equal ones as a faint copy of `expected`.
Picture DiffPicture(const Picture& actual, const Picture& expected);

// Writes <stem>-actual.bmp, <stem>-expected.bmp and <stem>-diff.bmp into
// `folder`, creating it; returns the folder's absolute path.
std::filesystem::path SaveComparison(const std::filesystem::path& folder, const std::string& stem,
                                     const Picture& actual, const Picture& expected);

}  // namespace halyard::testing
