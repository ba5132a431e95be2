#include "backends/posix/PngFile.h"

#include <gtest/gtest.h>
#include <png.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace halyard {
namespace {

std::string TempPath(const std::string& name) {
  return ::testing::TempDir() + "halyard-png-" + std::to_string(::getpid()) + "-" + name;
}

// Writes a file with libpng's own encoder, in a format WritePng never produces.
bool WriteWithLibpng(const std::string& path, png_uint_32 format, png_uint_32 width,
                     png_uint_32 height, const void* pixels, const void* colormap = nullptr,
                     png_uint_32 colormapEntries = 0) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = width;
  image.height = height;
  image.format = format;
  image.colormap_entries = colormapEntries;
  return png_image_write_to_file(&image, path.c_str(), 0, pixels, 0, colormap) != 0;
}

TEST(PngFile, RoundTripKeepsEveryPixel) {
  Picture picture(7, 5);
  for (std::int32_t y = 0; y < picture.Height(); ++y) {
    for (std::int32_t x = 0; x < picture.Width(); ++x) {
      picture.Set(x, y, (static_cast<std::uint32_t>(x * 37) << 16) | (static_cast<std::uint32_t>(y * 53) << 8) |
                            static_cast<std::uint32_t>(x * y * 11 + 1));
    }
  }
  const std::string path = TempPath("round.png");
  std::string error;
  ASSERT_TRUE(WritePng(path, picture, &error)) << error;
  Picture read;
  ASSERT_TRUE(ReadPng(path, read, &error)) << error;
  EXPECT_EQ(read, picture);
  std::remove(path.c_str());
}

TEST(PngFile, ReadsGreyAndPaletteFilesAsRgb) {
  const std::string grey = TempPath("grey.png");
  const unsigned char greyPixels[] = {0, 128, 255, 7};
  ASSERT_TRUE(WriteWithLibpng(grey, PNG_FORMAT_GRAY, 2, 2, greyPixels));

  const std::string palette = TempPath("palette.png");
  const unsigned char indices[] = {1, 0, 2};
  const unsigned char colours[] = {0xFF, 0x00, 0x00, 0x00, 0x80, 0x00, 0x12, 0x34, 0x56};
  ASSERT_TRUE(WriteWithLibpng(palette, PNG_FORMAT_RGB_COLORMAP, 3, 1, indices, colours, 3));

  Picture picture;
  std::string error;
  ASSERT_TRUE(ReadPng(grey, picture, &error)) << error;
  EXPECT_EQ(picture.Width(), 2);
  EXPECT_EQ(picture.Get(0, 0), 0x000000u);
  EXPECT_EQ(picture.Get(1, 0), 0x808080u);
  EXPECT_EQ(picture.Get(0, 1), 0xFFFFFFu);
  EXPECT_EQ(picture.Get(1, 1), 0x070707u);

  ASSERT_TRUE(ReadPng(palette, picture, &error)) << error;
  EXPECT_EQ(picture.Get(0, 0), 0x008000u);
  EXPECT_EQ(picture.Get(1, 0), 0xFF0000u);
  EXPECT_EQ(picture.Get(2, 0), 0x123456u);

  for (const std::string& path : {grey, palette}) std::remove(path.c_str());
}

TEST(PngFile, UnwritablePathFailsWithAClearMessage) {
  const Picture picture(4, 4, 0x123456);
  std::string error;
  const std::string missingFolder = "/nonexistent-halyard-folder/clock.png";
  EXPECT_FALSE(WritePng(missingFolder, picture, &error));
  EXPECT_NE(error.find(missingFolder), std::string::npos) << error;
  EXPECT_NE(error.find("No such file or directory"), std::string::npos) << error;

  error.clear();
  EXPECT_FALSE(WritePng(::testing::TempDir(), picture, &error));  // a folder
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(WritePng(missingFolder, picture, nullptr));  // no message wanted: still fails cleanly
}

TEST(PngFile, BadFilesFailAndLeaveThePictureAlone) {
  const Picture original(3, 2, 0xABCDEF);
  const std::string good = TempPath("good.png");
  ASSERT_TRUE(WritePng(good, Picture(40, 30, 0x336699), nullptr));
  std::ifstream in(good, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  ASSERT_GT(bytes.size(), 60u);

  const std::string truncated = TempPath("truncated.png");
  std::ofstream(truncated, std::ios::binary) << bytes.substr(0, bytes.size() - 30);
  const std::string text = TempPath("text.png");
  std::ofstream(text, std::ios::binary) << "this is not a picture";

  for (const std::string& path : {truncated, text, TempPath("missing.png")}) {
    Picture picture = original;
    std::string error;
    EXPECT_FALSE(ReadPng(path, picture, &error)) << path;
    EXPECT_NE(error.find(path), std::string::npos) << error;
    EXPECT_EQ(picture, original);
  }
  for (const std::string& path : {good, truncated, text}) std::remove(path.c_str());
}

}  // namespace
}  // namespace halyard
