// Whole faces against committed pictures. On a mismatch the actual, expected
// and difference images are written next to the test binary.
// HALYARD_UPDATE_GOLDEN=1 rewrites the committed pictures instead.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "app/ClockWindowHandler.h"
#include "app/ClockWindowSetup.h"
#include "face/DrawClock.h"
#include "backends/offscreen/OffscreenWindow.h"
#include "backends/freetype/FreeTypeTextEngine.h"
#include "backends/posix/PngFile.h"

namespace halyard {
namespace {

struct GoldenCase {
  const char* name;
  const char* time;
  ClockOptions options;
};

// Named in test output by its picture, not dumped as bytes.
void PrintTo(const GoldenCase& c, std::ostream* out) { *out << c.name << " at " << c.time; }

ClockOptions DotStyle() {
  ClockOptions o = DefaultClockOptions();
  o.SecondHandStyle = "DOT";
  return o;
}

ClockOptions OddColours() {
  ClockOptions o;
  const char* lines[] = {"&H404040", "&H00FFFF", "&H0000FF", "DOT", "&HFF00FF",
                         "&H00A5FF", "&HFFFF", " kc/s ", "QTH \xE9 GRID"};
  for (std::size_t i = 0; i < ClockOptions::kLineCount; ++i) o.Line(i) = lines[i];
  return o;
}

Picture Render(const GoldenCase& c) {
  OffscreenWindow window(96, [] { return std::make_unique<FreeTypeTextEngine>(); });
  const WindowHandle handle = PrepareClockWindow(window, c.options);
  DrawClock(handle, kClockFaceId, c.time, c.options);
  return window.Compose();
}

Picture Difference(const Picture& a, const Picture& b) {
  Picture diff(a.Width(), a.Height());
  for (std::int32_t y = 0; y < a.Height(); ++y) {
    for (std::int32_t x = 0; x < a.Width(); ++x) {
      diff.Set(x, y, a.Get(x, y) == b.Get(x, y) ? 0x000000 : 0xFF00FF);
    }
  }
  return diff;
}

class FaceGolden : public ::testing::TestWithParam<GoldenCase> {};

TEST_P(FaceGolden, MatchesTheCommittedPicture) {
  const GoldenCase& c = GetParam();
  const Picture actual = Render(c);
  const std::string expectedPath = std::string(HALYARD_TEST_DATA) + "/golden/" + c.name + ".png";
  if (std::getenv("HALYARD_UPDATE_GOLDEN") != nullptr) {
    std::filesystem::create_directories(std::string(HALYARD_TEST_DATA) + "/golden");
    ASSERT_TRUE(WritePng(expectedPath, actual, nullptr));
    GTEST_SKIP() << "rewrote " << expectedPath;
  }
  Picture expected;
  std::string error;
  ASSERT_TRUE(ReadPng(expectedPath, expected, &error)) << error;
  ASSERT_EQ(actual.Width(), expected.Width());
  ASSERT_EQ(actual.Height(), expected.Height());
  std::int64_t differing = 0;
  for (std::int32_t y = 0; y < actual.Height(); ++y) {
    for (std::int32_t x = 0; x < actual.Width(); ++x) differing += actual.Get(x, y) != expected.Get(x, y);
  }
  if (differing != 0) {
    const std::string base = std::filesystem::current_path().string() + "/golden-failure-" + c.name;
    WritePng(base + "-actual.png", actual, nullptr);
    WritePng(base + "-expected.png", expected, nullptr);
    WritePng(base + "-diff.png", Difference(actual, expected), nullptr);
    FAIL() << differing << " pixels differ; see " << base << "-{actual,expected,diff}.png";
  }
}

INSTANTIATE_TEST_SUITE_P(Faces, FaceGolden,
                         ::testing::Values(GoldenCase{"default-2182", "14:01:09", DefaultClockOptions()},
                                           GoldenCase{"default-banner", "03:27:52", DefaultClockOptions()},
                                           GoldenCase{"dot-500", "09:46:15", DotStyle()},
                                           GoldenCase{"odd-colours", "23:59:59", OddColours()}),
                         [](const auto& info) {
                           std::string name = info.param.name;
                           for (char& ch : name) ch = ch == '-' ? '_' : ch;
                           return name;
                         });

TEST(FaceRendering, RepaintingTheSameTimeGivesTheSamePicture) {
  // Nothing may carry over from one repaint to the next.
  OffscreenWindow window(96, [] { return std::make_unique<FreeTypeTextEngine>(); });
  const ClockOptions options = DefaultClockOptions();
  const WindowHandle handle = PrepareClockWindow(window, options);
  DrawClock(handle, kClockFaceId, "07:45:30", options);
  const Picture first = window.Compose();
  for (const char* other : {"00:00:00", "12:59:59", "", "xx:yy:zz"}) DrawClock(handle, kClockFaceId, other, options);
  DrawClock(handle, kClockFaceId, "07:45:30", options);
  EXPECT_TRUE(window.Compose() == first);
}

}  // namespace
}  // namespace halyard
