#include "platform/x11/WindowManagerHints.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>

namespace halyard {
namespace {

TEST(WindowManagerHints, FixedSizeWindowOffersNoMaximiseAndNoResize) {
  const MotifWmHints hints = MotifWmHints::FixedSizeWindow();
  EXPECT_EQ(hints.flags, MotifWmHints::kFunctionsFlag | MotifWmHints::kDecorationsFlag);
  EXPECT_EQ(hints.functions,
            MotifWmHints::kFunctionMove | MotifWmHints::kFunctionMinimise | MotifWmHints::kFunctionClose);
  EXPECT_EQ(hints.decorations & (MotifWmHints::kDecorMaximise | MotifWmHints::kDecorResizeHandle), 0u);
  EXPECT_NE(hints.decorations & MotifWmHints::kDecorMinimise, 0u);
  EXPECT_NE(hints.decorations & MotifWmHints::kDecorTitle, 0u);
}

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

TEST(WindowManagerHints, TitleBytesBecomeUtf8InTheLocalesCharacterSet) {
  const std::string saved = std::setlocale(LC_CTYPE, nullptr);
  std::setlocale(LC_CTYPE, "C");
  EXPECT_EQ(LocaleToUtf8("HALYARD"), "HALYARD");
  // A single-byte locale: the byte is read as in the Windows ANSI code page.
  EXPECT_EQ(LocaleToUtf8("caf\xE9"), "caf\xC3\xA9");
  if (std::setlocale(LC_CTYPE, "C.UTF-8") != nullptr) {
    EXPECT_EQ(LocaleToUtf8("caf\xC3\xA9 \xE2\x82\xAC"), "caf\xC3\xA9 \xE2\x82\xAC");
    EXPECT_EQ(LocaleToUtf8("a\xFF"), "a\xEF\xBF\xBD");  // never invalid UTF-8 in the property
  }
  std::setlocale(LC_CTYPE, saved.c_str());
}

}  // namespace
}  // namespace halyard
