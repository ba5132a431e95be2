#include "BmpFile.h"

#include <cstdint>
#include <fstream>
#include <vector>

namespace halyard::testing {

namespace {

void Put16(std::vector<unsigned char>& out, std::uint32_t value) {
  out.push_back(static_cast<unsigned char>(value));
  out.push_back(static_cast<unsigned char>(value >> 8));
}

void Put32(std::vector<unsigned char>& out, std::uint32_t value) {
  Put16(out, value & 0xFFFFu);
  Put16(out, value >> 16);
}

}  // namespace

bool WriteBmp(const Picture& picture, const std::filesystem::path& path) {
  constexpr std::uint32_t kHeaderSize = 14 + 40;
  const auto pixelBytes =
      static_cast<std::uint32_t>(picture.Width()) * static_cast<std::uint32_t>(picture.Height()) * 4;
  std::vector<unsigned char> file;
  file.reserve(kHeaderSize + pixelBytes);
  // BITMAPFILEHEADER
  file.push_back('B');
  file.push_back('M');
  Put32(file, kHeaderSize + pixelBytes);
  Put32(file, 0);
  Put32(file, kHeaderSize);
  // BITMAPINFOHEADER; a negative height means rows run top to bottom.
  Put32(file, 40);
  Put32(file, static_cast<std::uint32_t>(picture.Width()));
  Put32(file, static_cast<std::uint32_t>(-picture.Height()));
  Put16(file, 1);
  Put16(file, 32);
  Put32(file, 0);  // BI_RGB
  Put32(file, pixelBytes);
  Put32(file, 2835);  // 72 dpi
  Put32(file, 2835);
  Put32(file, 0);
  Put32(file, 0);
  for (std::int32_t y = 0; y < picture.Height(); ++y) {
    for (std::int32_t x = 0; x < picture.Width(); ++x) Put32(file, picture.Row(y)[x]);
  }
  std::ofstream stream(path, std::ios::binary);
  stream.write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
  return static_cast<bool>(stream);
}

}  // namespace halyard::testing
