// Whole faces against committed pictures. On a mismatch the actual, expected
// and difference images are written next to the test binary.
// HALYARD_UPDATE_GOLDEN=1 rewrites the committed pictures instead.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "app/ClockWindowHandler.h"
#include "app/ClockWindowSetup.h"
#include "face/DialClearance.h"
#include "face/DrawClock.h"
#include "face/SecondLegend.h"
#include "backends/offscreen/OffscreenWindow.h"
#include "backends/freetype/FreeTypeTextEngine.h"
#include "backends/posix/PngFile.h"
#include "support/WindowShot.h"
#include "support/FixedSyncSource.h"

namespace halyard {
namespace {

struct GoldenCase {
  const char* name;
  const char* time;
  ClockOptions options;
  FaceMarks marks = {};
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
  DrawClock(handle, kClockFaceId, c.time, c.options, c.marks);
  return window.Compose();
}

class FixedClock final : public SystemClock {
 public:
  explicit FixedClock(const std::string& hhmmss) {
    using namespace std::chrono;
    const auto field = [&](std::size_t at) { return std::stoi(hhmmss.substr(at, 2)); };
    now = sys_days{2026y / December / 9} + hours{field(0)} + minutes{field(3)} + seconds{field(6)};
  }
  ClockReading Read() override { return {now, {}}; }
  std::chrono::sys_time<std::chrono::milliseconds> now;
};

using testing::FixedSyncSource;

// The clock's own path: the handler's first repaint, with sync-check on and
// the system saying `sync`.
Picture RenderThroughHandler(const GoldenCase& c, SyncReading sync) {
  FixedClock clock(c.time);
  FixedSyncSource source(std::move(sync));
  SetHandlerClock(&clock);
  ClockSyncMonitor().SetSource(source);
  CurrentClockSettings().syncCheck = true;
  CurrentClockOptions() = c.options;
  OffscreenWindow window(96, [] { return std::make_unique<FreeTypeTextEngine>(); });
  const WindowHandle handle = PrepareClockWindow(window, c.options);
  ClockWindowHandler(handle, kEventInitialise, 0, 0);
  ClockWindowHandler(handle, kEventDestroy, 0, 0);
  Picture picture = window.Compose();
  CurrentClockSettings().syncCheck = false;
  ClockSyncMonitor().SetSource(PlatformSyncSource());
  SetHandlerClock(nullptr);
  return picture;
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

void ExpectGolden(const GoldenCase& c, const Picture& actual) {
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

TEST_P(FaceGolden, MatchesTheCommittedPicture) { ExpectGolden(GetParam(), Render(GetParam())); }

// Sync-check on changes nothing while the clock is synchronised or its state unknown.
TEST_P(FaceGolden, SyncCheckOnWithoutATroubleChangesNothing) {
  const GoldenCase& c = GetParam();
  if (c.marks.notSynchronised || !c.marks.secondTime.empty() || std::getenv("HALYARD_UPDATE_GOLDEN") != nullptr) {
    GTEST_SKIP();
  }
  SyncReading synchronised;
  synchronised.kind = SyncReading::Kind::Kernel;
  synchronised.maxErrorMicros = 40'000;
  ExpectGolden(c, RenderThroughHandler(c, synchronised));
  ExpectGolden(c, RenderThroughHandler(c, SyncReading{}));  // missing: unknown
}

INSTANTIATE_TEST_SUITE_P(Faces, FaceGolden,
                         ::testing::Values(GoldenCase{"default-2182", "14:01:09", DefaultClockOptions()},
                                           GoldenCase{"default-banner", "03:27:52", DefaultClockOptions()},
                                           GoldenCase{"dot-500", "09:46:15", DotStyle()},
                                           GoldenCase{"odd-colours", "23:59:59", OddColours()},
                                           GoldenCase{"no-sync", "14:01:09", DefaultClockOptions(), {true}},
                                           GoldenCase{"second-local", "14:05:09", DefaultClockOptions(),
                                                      {false, false, "15:05:09 CET"}},
                                           GoldenCase{"second-label-no-sync", "23:46:59", OddColours(),
                                                      {true, false, "05:31:59 Kathmandu"}}),
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

// At every resolution, with the hands and a sector at twelve and the longest
// status line, nothing but the legend lies in its text cell (5 rows down) and
// the status text stays inside its line.
TEST(FaceRendering, TheWholeFaceShowsAtEveryResolution) {
  const ClockOptions options = DefaultClockOptions();
  for (const std::int32_t dpi : {48, 52, 60, 72, 96, 120, 144, 192, 288, 480}) {
    OffscreenWindow window(dpi, [] { return std::make_unique<FreeTypeTextEngine>(); });
    DrawClock(PrepareClockWindow(window, options), kClockFaceId, "00:00:00", options);
    const Picture shown = window.Compose();
    FreeTypeTextEngine font;
    ASSERT_TRUE(font.SetFont(ClockFontSpec(), dpi));
    EXPECT_EQ(testing::WhatCrowdsTheLegend(shown, 5 + font.Metrics().height), "") << dpi << " dpi";
    EXPECT_EQ(testing::WhereTheStatusTextIsCut(shown, window.LabelRect()), "") << dpi << " dpi";
  }
}

// At every resolution the mark is there, readable, and covers only empty
// background well clear of the legend, the dial and the hands.
TEST(FaceRendering, TheSyncMarkKeepsClearOfTheFaceAtEveryResolution) {
  const ClockOptions options = DefaultClockOptions();
    // 52 and 60 dpi: a wide legend and a close dial leave the corner tight.
  for (const std::int32_t dpi : {48, 52, 60, 72, 96, 120, 144, 192, 288, 480}) {
    OffscreenWindow window(dpi, [] { return std::make_unique<FreeTypeTextEngine>(); });
    const WindowHandle handle = PrepareClockWindow(window, options);
    DrawClock(handle, kClockFaceId, "20:08:58", options);
    const Picture plain = *window.FacePicture();
    DrawClock(handle, kClockFaceId, "20:08:58", options, FaceMarks{true});
    const Picture marked = *window.FacePicture();
    const std::uint32_t background = plain.Get(0, 0);
    PixelRect changed{marked.Width(), marked.Height(), 0, 0};
    int crowded = 0;
    for (std::int32_t y = 0; y < marked.Height(); ++y) {
      for (std::int32_t x = 0; x < marked.Width(); ++x) {
        if (marked.Get(x, y) == plain.Get(x, y)) continue;
        changed = {std::min(changed.left, x), std::min(changed.top, y), std::max(changed.right, x + 1),
                   std::max(changed.bottom, y + 1)};
        for (std::int32_t dy = -2; dy <= 2; ++dy) {
          for (std::int32_t dx = -2; dx <= 2; ++dx) {
            const std::int32_t nx = x + dx, ny = y + dy;
            if (nx >= 0 && ny >= 0 && nx < plain.Width() && ny < plain.Height() && plain.Get(nx, ny) != background) {
              ++crowded;
            }
          }
        }
      }
    }
    EXPECT_FALSE(changed.Empty()) << dpi << " dpi: no mark";
    EXPECT_GE(changed.bottom - changed.top, 11) << dpi << " dpi: too small to read";  // the text cell at least
    EXPECT_EQ(crowded, 0) << dpi << " dpi: the mark comes within two pixels of the face";
    DrawClock(handle, kClockFaceId, "20:08:58", options);
    EXPECT_TRUE(*window.FacePicture() == plain) << dpi << " dpi: the mark leaves something behind";
  }
}

// At every resolution, with the shortest and the longest label, the second
// legend is there and covers only empty background well clear of the dial,
// the hands, the UTC legend and the sync mark.
TEST(FaceRendering, TheSecondLegendKeepsClearOfTheFaceAtEveryResolution) {
  const ClockOptions options = DefaultClockOptions();
  for (const std::int32_t dpi : {48, 52, 60, 72, 96, 120, 144, 192, 288, 480}) {
    for (const char* legend : {"20:08:58 +14", "20:08:58 WWWWWWWWWWWW"}) {
      OffscreenWindow window(dpi, [] { return std::make_unique<FreeTypeTextEngine>(); });
      const WindowHandle handle = PrepareClockWindow(window, options);
      DrawClock(handle, kClockFaceId, "20:08:58", options, FaceMarks{true});
      const Picture plain = *window.FacePicture();
      DrawClock(handle, kClockFaceId, "20:08:58", options, FaceMarks{true, false, legend});
      const Picture marked = *window.FacePicture();
      const std::uint32_t background = plain.Get(0, 0);
      int changed = 0, crowded = 0, lowest = 0, leftmost = marked.Width(), rightmost = 0;
      for (std::int32_t y = 0; y < marked.Height(); ++y) {
        for (std::int32_t x = 0; x < marked.Width(); ++x) {
          if (marked.Get(x, y) == plain.Get(x, y)) continue;
          ++changed;
          lowest = std::max(lowest, y);
          leftmost = std::min(leftmost, x);
          rightmost = std::max(rightmost, x);
          for (std::int32_t dy = -2; dy <= 2; ++dy) {
            for (std::int32_t dx = -2; dx <= 2; ++dx) {
              const std::int32_t nx = x + dx, ny = y + dy;
              if (nx >= 0 && ny >= 0 && nx < plain.Width() && ny < plain.Height() && plain.Get(nx, ny) != background) {
                ++crowded;
              }
            }
          }
        }
      }
      EXPECT_GT(changed, 0) << dpi << " dpi, " << legend << ": no legend";
      EXPECT_EQ(crowded, 0) << dpi << " dpi, " << legend << ": the legend comes within two pixels of the face";
      EXPECT_TRUE(lowest < marked.Height() - 1 && leftmost > 0 && rightmost < marked.Width() - 1)
          << dpi << " dpi, " << legend << ": the legend reaches the face's edge";
    }
  }
}

// A squat face (a dialog font taller than wide for its resolution) leaves no
// band below the dial: the legend goes to a bottom corner, clear of the dial.
TEST(FaceRendering, OnASquatFaceTheSecondLegendFindsACorner) {
  for (const auto& [width, height] : {std::pair{330, 406}, {440, 500}, {440, 480}, {495, 520}, {330, 360}}) {
    const FaceGeometry face = ComputeFaceGeometry(width, height);
    for (const TextExtent size : {TextExtent{70, 16}, TextExtent{120, 19}}) {
      const PixelRect box = PlaceSecondLegend(face, size);
      ASSERT_FALSE(box.Empty()) << width << "x" << height << ", " << size.width << " wide";
      EXPECT_TRUE(box.left >= 0 && box.right <= width && box.bottom <= height && box.top > face.centerY)
          << width << "x" << height;
      EXPECT_TRUE(OutsideDial(face, box)) << width << "x" << height;
      EXPECT_EQ(box.right - box.left, size.width);
    }
  }
  // No room at all: nothing, and the legend is drawn smaller.
  EXPECT_TRUE(PlaceSecondLegend(ComputeFaceGeometry(400, 400), {120, 19}).Empty());
}

}  // namespace
}  // namespace halyard
