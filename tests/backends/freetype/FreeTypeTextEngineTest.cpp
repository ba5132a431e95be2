#include "backends/freetype/FreeTypeTextEngine.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <limits>
#include <new>
#include <random>
#include <string>

#include "backends/freetype/LocaleGuard.h"

// Counts operator new on threads that ask for it, to prove the warm text path
// allocates nothing. Everything else passes straight through to malloc.
namespace {
thread_local bool countAllocations = false;
std::atomic<long> allocationCount{0};
}  // namespace

[[gnu::noinline]] void* operator new(std::size_t size) {
  if (countAllocations) ++allocationCount;
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}
[[gnu::noinline]] void operator delete(void* p) noexcept { std::free(p); }
[[gnu::noinline]] void operator delete(void* p, std::size_t) noexcept { std::free(p); }
// Every form that pairs with the deletes above must come from malloc too.
[[gnu::noinline]] void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  if (countAllocations) ++allocationCount;
  return std::malloc(size == 0 ? 1 : size);
}
[[gnu::noinline]] void* operator new[](std::size_t size) { return operator new(size); }
[[gnu::noinline]] void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept {
  return operator new(size, tag);
}
[[gnu::noinline]] void operator delete[](void* p) noexcept { std::free(p); }
[[gnu::noinline]] void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
[[gnu::noinline]] void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
[[gnu::noinline]] void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }

namespace halyard {
namespace {

using namespace testing;

constexpr std::uint32_t kBlack = 0x000000;
constexpr std::uint32_t kWhite = 0xFFFFFF;

FontSpec Font(const std::string& face, float points, bool bold) {
  FontSpec font;
  font.face = face;
  font.points = points;
  font.style = bold ? FontSpec::kBold : 0;
  return font;
}

class ClockFont : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(engine.SetFont(ClockFontSpec(), 96)); }
  FreeTypeTextEngine engine;
};

// Pixels of `picture` that differ from `background` outside `box`.
int ChangedOutside(const Picture& picture, std::uint32_t background, const PixelRect& box) {
  int changed = 0;
  for (std::int32_t y = 0; y < picture.Height(); ++y) {
    for (std::int32_t x = 0; x < picture.Width(); ++x) {
      const bool inside = x >= box.left && x < box.right && y >= box.top && y < box.bottom;
      if (!inside && picture.Get(x, y) != background) ++changed;
    }
  }
  return changed;
}

TEST_F(ClockFont, ArialBoldIsLiberationSansBoldWithGdiCellMetrics) {
  EXPECT_EQ(engine.FamilyName(), "Liberation Sans");
  EXPECT_EQ(engine.StyleName(), "Bold");
  EXPECT_FALSE(engine.SyntheticBold());
  // Wine 8, Arial -> Liberation Sans Bold at an em of 27 pixels.
  EXPECT_EQ(engine.Metrics(), (FontMetrics{.height = 30, .ascent = 24, .descent = 6, .externalLeading = 1}));
  EXPECT_EQ(engine.Metrics().LineHeight(), 31);
}

TEST_F(ClockFont, AdvancesAreGdiTextExtents) {
  EXPECT_EQ(engine.Advance("14:05:09 UTC"), 173);
  EXPECT_EQ(engine.Advance("00:00:00 UTC"), 173);
  const std::int32_t digit = engine.Advance("0");
  EXPECT_EQ(digit, 15);
  for (char c = '1'; c <= '9'; ++c) EXPECT_EQ(engine.Advance(std::string(1, c)), digit) << c;
  EXPECT_EQ(engine.Advance("23:59:59"), 6 * digit + 2 * engine.Advance(":"));
  EXPECT_EQ(engine.Advance(""), 0);
}

// "Åland" from a marked UTF-8 file draws as the same glyphs in the C locale as
// the single byte 0xC5 does there: the mark, not the locale, decides.
TEST_F(ClockFont, AUtf8FontSpecReadsUtf8WhateverTheLocale) {
  LocaleGuard locale("C");
  ASSERT_TRUE(locale.Ok());
  FontSpec utf8 = ClockFontSpec();
  utf8.utf8Text = true;
  const std::int32_t latin = engine.Advance("\xC5land");
  ASSERT_TRUE(engine.SetFont(utf8, 96));
  EXPECT_EQ(engine.Advance("\xC3\x85land"), latin);
  ASSERT_TRUE(engine.SetFont(ClockFontSpec(), 96));
  EXPECT_NE(engine.Advance("\xC3\x85land"), latin);
}

TEST(FreeTypeTextEngine, PositiveHeightAsksForTheCellNotTheEm) {
  FreeTypeTextEngine engine;
  ASSERT_TRUE(engine.SetFont(Font("Arial", -20, true), 96));  // LOGFONT height +27
  EXPECT_LE(engine.Metrics().height, 27);
  EXPECT_GE(engine.Metrics().height, 25);
}

TEST(FreeTypeTextEngine, IdenticalRequestsShareOneRealisedFont) {
  FreeTypeTextEngine engine;
  ASSERT_TRUE(engine.SetFont(ClockFontSpec(), 96));
  ASSERT_TRUE(engine.SetFont(ClockFontSpec(), 96));
  EXPECT_EQ(engine.RealisedFontCount(), 1u);
  ASSERT_TRUE(engine.SetFont(Font("Arial", 15, true), 128));  // also an em of 27 pixels
  EXPECT_EQ(engine.RealisedFontCount(), 1u);

  ASSERT_TRUE(engine.SetFont(Font("Arial", 10, false), 96));
  EXPECT_EQ(engine.RealisedFontCount(), 2u);
  EXPECT_EQ(engine.StyleName(), "Regular");
  EXPECT_LT(engine.Metrics().height, 30);

  ASSERT_TRUE(engine.SetFont(ClockFontSpec(), 96));
  EXPECT_EQ(engine.RealisedFontCount(), 2u);
  EXPECT_EQ(engine.Metrics().height, 30);
}

TEST(FreeTypeTextEngine, RefusedRequestKeepsThePreviousFont) {
  FreeTypeTextEngine engine;
  EXPECT_EQ(engine.Advance("12:00"), 0);  // no font yet: nothing to measure
  EXPECT_FALSE(engine.SetFont(ClockFontSpec(), 0));
  EXPECT_EQ(engine.Metrics(), FontMetrics{});

  ASSERT_TRUE(engine.SetFont(ClockFontSpec(), 96));
  const FontMetrics before = engine.Metrics();
  EXPECT_FALSE(engine.SetFont(Font("Arial", 1e9f, true), 96));
  EXPECT_FALSE(engine.SetFont(Font("Arial", std::numeric_limits<float>::quiet_NaN(), true), 96));
  EXPECT_EQ(engine.Metrics(), before);
  EXPECT_EQ(engine.Advance("14:05:09 UTC"), 173);
}

TEST(FreeTypeTextEngine, BoldFromALightFaceIsEmboldenedOnePixelWider) {
  FreeTypeTextEngine engine;
  ASSERT_TRUE(engine.SetFont(Font("DejaVu Sans Light", 20, false), 96));
  if (engine.FamilyName().find("DejaVu") == std::string::npos) GTEST_SKIP() << "no DejaVu Sans Light";
  const std::int32_t regular = engine.Advance("0000");
  ASSERT_TRUE(engine.SetFont(Font("DejaVu Sans Light", 20, true), 96));
  EXPECT_TRUE(engine.SyntheticBold());
  EXPECT_EQ(engine.Advance("0000"), regular + 4);
}

TEST_F(ClockFont, InvalidBytesMeasureAsTheReplacementCharacter) {
  LocaleGuard locale("C.UTF-8");
  ASSERT_TRUE(locale.Ok());
  const std::int32_t replacement = engine.Advance("\xEF\xBF\xBD");
  EXPECT_GT(replacement, 0);
  EXPECT_EQ(engine.Advance("\xFF"), replacement);
  EXPECT_EQ(engine.Advance("1\x80\xFE" "1"), 2 * engine.Advance("1") + 2 * replacement);
  // A NUL is a character, not the end of the text.
  EXPECT_GE(engine.Advance(std::string_view("1\0" "1", 3)), 2 * engine.Advance("1"));
}

TEST_F(ClockFont, WhiteOnBlackStaysInsideTheCells) {
  Picture picture(240, 50, kBlack);
  engine.DrawGlyphs(picture, {20, 10}, "14:05:09 UTC", kWhite, picture.Bounds());

  int bright = 0;
  for (std::int32_t y = 0; y < picture.Height(); ++y) {
    for (std::int32_t x = 0; x < picture.Width(); ++x) {
      const std::uint32_t p = picture.Get(x, y);
      EXPECT_EQ(p & 0xFF, (p >> 8) & 0xFF) << "grey expected at " << x << "," << y;
      if ((p & 0xFF) > 200) ++bright;
    }
  }
  EXPECT_GT(bright, 300);
  EXPECT_EQ(ChangedOutside(picture, kBlack, {20, 10, 20 + 173, 10 + 30}), 0);
}

TEST_F(ClockFont, BlendsTheColourPerChannel) {
  Picture picture(60, 40, kWhite);
  engine.DrawGlyphs(picture, {5, 5}, "0", 0xFF0000, picture.Bounds());
  int solid = 0;
  int partial = 0;
  for (std::int32_t y = 0; y < picture.Height(); ++y) {
    for (std::int32_t x = 0; x < picture.Width(); ++x) {
      const std::uint32_t p = picture.Get(x, y);
      EXPECT_EQ(p >> 16, 0xFFu);                    // red over white keeps full red
      EXPECT_EQ((p >> 8) & 0xFF, p & 0xFF);         // green and blue fade together
      if (p == 0xFF0000) ++solid;
      if (p != 0xFF0000 && p != kWhite) ++partial;  // antialiased edges
    }
  }
  EXPECT_GT(solid, 20);
  EXPECT_GT(partial, 10);
}

TEST_F(ClockFont, ClipMasksWithoutMovingAnything) {
  const std::uint32_t background = 0x102030;
  Picture whole(240, 50, background);
  engine.DrawGlyphs(whole, {20, 10}, "14:05:09 UTC", kWhite, whole.Bounds());

  const PixelRect clip{47, 17, 131, 33};  // cuts through glyphs on every side
  Picture clipped(240, 50, background);
  engine.DrawGlyphs(clipped, {20, 10}, "14:05:09 UTC", kWhite, clip);

  EXPECT_EQ(ChangedOutside(clipped, background, clip), 0);
  int drawn = 0;
  for (std::int32_t y = clip.top; y < clip.bottom; ++y) {
    for (std::int32_t x = clip.left; x < clip.right; ++x) {
      EXPECT_EQ(clipped.Get(x, y), whole.Get(x, y)) << x << "," << y;
      if (clipped.Get(x, y) != background) ++drawn;
    }
  }
  EXPECT_GT(drawn, 0);
}

TEST_F(ClockFont, GlyphsSitOnTheBaselineOneAdvanceApart) {
  Picture together(120, 50, kBlack);
  engine.DrawGlyphs(together, {10, 5}, "10", kWhite, together.Bounds());
  Picture apart(120, 50, kBlack);
  engine.DrawGlyphs(apart, {10, 5}, "1", kWhite, apart.Bounds());
  engine.DrawGlyphs(apart, {10 + engine.Advance("1"), 5}, "0", kWhite, apart.Bounds());
  EXPECT_EQ(together, apart);

  // The foot of the 1 is flat: its last solid row is the one above the baseline.
  const std::int32_t baseline = 5 + engine.Metrics().ascent;
  Picture one(60, 50, kBlack);
  engine.DrawGlyphs(one, {10, 5}, "1", kWhite, one.Bounds());
  EXPECT_EQ(one.Get(18, baseline - 1), kWhite);
  for (std::int32_t x = 0; x < one.Width(); ++x) EXPECT_EQ(one.Get(x, baseline), kBlack) << x;
}

TEST_F(ClockFont, AnyBytesAnyLengthAnyOrigin) {
  std::mt19937 random(7);
  std::string noise(100000, '\0');
  for (char& c : noise) c = static_cast<char>(random());

  for (const char* name : {"C", "C.UTF-8"}) {
    LocaleGuard locale(name);
    ASSERT_TRUE(locale.Ok());
    EXPECT_GT(engine.Advance(noise), 0);

    const std::uint32_t background = 0x404040;
    Picture picture(120, 40, background);
    const PixelRect clip{10, 5, 100, 30};
    engine.DrawGlyphs(picture, {-500, 0}, noise, kWhite, clip);
    EXPECT_EQ(ChangedOutside(picture, background, clip), 0);

    const Picture untouched = picture;
    constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
    constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    for (PixelPoint origin : {PixelPoint{kMin, kMin}, PixelPoint{kMax, kMax}, PixelPoint{kMax - 5, 0},
                              PixelPoint{0, kMin + 3}, PixelPoint{5000, 10}}) {
      engine.DrawGlyphs(picture, origin, noise.substr(0, 2000), kWhite, picture.Bounds());
    }
    EXPECT_EQ(picture, untouched);
  }
}

TEST_F(ClockFont, WarmCacheMeasuresAndDrawsWithoutAllocating) {
  LocaleGuard locale("C.UTF-8");
  ASSERT_TRUE(locale.Ok());
  const char* texts[] = {"14:05:09 UTC", "00:00:00 UTC", "23:59:59", "\xC3\xA9t\xC3\xA9 \xFF"};
  Picture picture(240, 50, kBlack);
  const auto once = [&] {
    std::int32_t total = 0;
    for (const char* text : texts) {
      total += engine.Advance(text);
      engine.DrawGlyphs(picture, {3, 4}, text, kWhite, picture.Bounds());
    }
    return total;
  };
  const std::int32_t cold = once();
  const std::uint64_t rendered = engine.GlyphRenders();
  EXPECT_GT(rendered, 0u);

  allocationCount = 0;
  countAllocations = true;
  const std::int32_t warm = once();
  countAllocations = false;
  EXPECT_EQ(allocationCount.load(), 0);
  EXPECT_EQ(engine.GlyphRenders(), rendered);  // FreeType was not asked again
  EXPECT_EQ(warm, cold);
}

}  // namespace
}  // namespace halyard
