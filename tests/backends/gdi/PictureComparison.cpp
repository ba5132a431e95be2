#include "PictureComparison.h"

#include <algorithm>
#include <cstdio>

#include "BmpFile.h"

namespace halyard::testing {

namespace {

constexpr std::uint32_t kRgb = 0x00FFFFFFu;
constexpr std::size_t kExamples = 8;

std::string Hex(std::uint32_t pixel) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%06X", static_cast<unsigned>(pixel & kRgb));
  return text;
}

}  // namespace

PictureComparison ComparePictures(const Picture& actual, const Picture& expected) {
  PictureComparison result;
  if (actual.Width() != expected.Width() || actual.Height() != expected.Height()) {
    result.sizesDiffer = true;
    return result;
  }
  for (std::int32_t y = 0; y < actual.Height(); ++y) {
    for (std::int32_t x = 0; x < actual.Width(); ++x) {
      if (((actual.Row(y)[x] ^ expected.Row(y)[x]) & kRgb) == 0) continue;
      ++result.differing;
      if (result.examples.size() < kExamples) result.examples.push_back({x, y});
    }
  }
  return result;
}

std::string PictureComparison::Describe(const Picture& actual, const Picture& expected) const {
  if (sizesDiffer) {
    return "sizes differ: actual " + std::to_string(actual.Width()) + "x" +
           std::to_string(actual.Height()) + ", expected " + std::to_string(expected.Width()) +
           "x" + std::to_string(expected.Height());
  }
  std::string text = std::to_string(differing) + " pixels differ";
  for (const PixelPoint& p : examples) {
    text += "; (" + std::to_string(p.x) + "," + std::to_string(p.y) + ") actual " +
            Hex(actual.Get(p.x, p.y)) + " expected " + Hex(expected.Get(p.x, p.y));
  }
  if (differing > static_cast<std::int64_t>(examples.size())) text += "; ...";
  return text;
}

Picture DiffPicture(const Picture& actual, const Picture& expected) {
  const std::int32_t width = std::min(actual.Width(), expected.Width());
  const std::int32_t height = std::min(actual.Height(), expected.Height());
  Picture diff(width, height);
  for (std::int32_t y = 0; y < height; ++y) {
    for (std::int32_t x = 0; x < width; ++x) {
      const std::uint32_t e = expected.Row(y)[x];
      const bool same = ((actual.Row(y)[x] ^ e) & kRgb) == 0;
      // A quarter of each channel, lifted so that black shapes still show.
      const std::uint32_t faint = 0x00A0A0A0u + ((e >> 2) & 0x003F3F3Fu);
      diff.Row(y)[x] = same ? faint : 0x00FF0000u;
    }
  }
  return diff;
}

std::filesystem::path SaveComparison(const std::filesystem::path& folder, const std::string& stem,
                                     const Picture& actual, const Picture& expected) {
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  WriteBmp(actual, folder / (stem + "-actual.bmp"));
  WriteBmp(expected, folder / (stem + "-expected.bmp"));
  WriteBmp(DiffPicture(actual, expected), folder / (stem + "-diff.bmp"));
  return std::filesystem::absolute(folder, error);
}

}  // namespace halyard::testing
