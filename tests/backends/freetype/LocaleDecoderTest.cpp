#include "backends/freetype/LocaleDecoder.h"

#include <gtest/gtest.h>

#include <string>

#include "backends/freetype/LocaleGuard.h"

namespace halyard {
namespace {

using namespace testing;

using namespace std::string_literals;

std::u32string Decode(std::string_view bytes) {
  std::u32string out;
  LocaleDecoder decoder(bytes);
  char32_t c = 0;
  while (decoder.Next(c)) out += c;
  return out;
}

TEST(LocaleDecoder, CLocaleReadsHighBytesAsWindows1252) {
  LocaleGuard locale("C");
  ASSERT_TRUE(locale.Ok());
  EXPECT_EQ(Decode(std::string_view("A\xE9\x80\0z\xFF", 6)), U"A\u00E9\u20AC\0z\u00FF"s);
  EXPECT_EQ(Decode("\x81\x9F"), U"\u0081\u0178");
}

// Texts from a file with a byte-order mark are UTF-8 in any locale, with the
// same replacement rules as a UTF-8 locale.
TEST(LocaleDecoder, MarkedUtf8IsUtf8EvenInTheCLocale) {
  LocaleGuard locale("C");
  ASSERT_TRUE(locale.Ok());
  const auto decode = [](std::string_view bytes) {
    std::u32string out;
    LocaleDecoder decoder(bytes, true);
    for (char32_t c = 0; decoder.Next(c);) out += c;
    return out;
  };
  EXPECT_EQ(decode("\xC3\x85land \xE2\x82\xAC\xF0\x9F\x98\x80"), U"\u00C5land \u20AC\U0001F600");
  EXPECT_EQ(decode("\x80z\xC0\xAF\xED\xA0\x80"), U"\uFFFDz\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD");
  EXPECT_EQ(decode("a\xE2\x82"), U"a\uFFFD");  // cut off at the end: one replacement
}

TEST(LocaleDecoder, Utf8LocaleDecodesCharactersAndReplacesBadBytes) {
  LocaleGuard locale("C.UTF-8");
  ASSERT_TRUE(locale.Ok());
  EXPECT_EQ(Decode("\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"), U"\u00E9\u20AC\U0001F600");
  EXPECT_EQ(Decode(std::string_view("a\0b", 3)), U"a\0b"s);

  // A stray continuation byte, a lead byte followed by ASCII, an overlong form.
  EXPECT_EQ(Decode("\x80z"), U"\uFFFDz");
  EXPECT_EQ(Decode("\xC3" "A"), U"\uFFFDA");
  EXPECT_EQ(Decode("\xC0\xAF"), U"\uFFFD\uFFFD");
  // A sequence cut off by the end of the text is one replacement.
  EXPECT_EQ(Decode("x\xE2\x82"), U"x\uFFFD");
  // Encoded surrogates are not characters.
  for (char32_t c : Decode("\xED\xA0\x80")) EXPECT_EQ(c, kReplacementCharacter);
}

}  // namespace
}  // namespace halyard
