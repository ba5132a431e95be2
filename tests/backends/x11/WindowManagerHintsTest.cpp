#include "backends/x11/WindowManagerHints.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>

namespace halyard {
namespace {

TEST(WindowManagerHints, IconDataIsSizeThenOpaqueArgbRowsPerPicture) {
  Picture small(2, 1);
  small.Set(0, 0, 0x123456);
  small.Set(1, 0, 0xFF0000);
  Picture large(3, 2, 0x00FF00);
  const Picture icons[] = {small, Picture(), large};  // an empty picture is skipped
  const std::vector<unsigned long> data = NetWmIconData(icons);
  ASSERT_EQ(data.size(), 2u + 2u + 2u + 6u);
  EXPECT_EQ(data[0], 2u);
  EXPECT_EQ(data[1], 1u);
  EXPECT_EQ(data[2], 0xFF123456u);
  EXPECT_EQ(data[3], 0xFFFF0000u);
  EXPECT_EQ(data[4], 3u);
  EXPECT_EQ(data[5], 2u);
  for (std::size_t i = 6; i < data.size(); ++i) EXPECT_EQ(data[i], 0xFF00FF00u);
}

TEST(WindowManagerHints, TitleBecomesValidUtf8) {
  const std::string saved = std::setlocale(LC_CTYPE, nullptr);
  std::setlocale(LC_CTYPE, "C");
  // A single-byte locale: the byte is read as in the Windows ANSI code page.
  EXPECT_EQ(LocaleToUtf8("caf\xE9"), "caf\xC3\xA9");
  std::setlocale(LC_CTYPE, saved.c_str());
}

}  // namespace
}  // namespace halyard
