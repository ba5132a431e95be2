// Every second of twelve hours, for each option set of the golden pictures and
// at another resolution, drawn as the clock draws them (each repaint only
// where something changed), folded into one number per set: the areas each
// repaint drew and their pixels. The numbers were made on x86-64; a machine
// that draws any of these faces a pixel differently gets another number. Run
// under qemu, this shows arm64 and armhf draw x86's faces.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "app/ClockWindowSetup.h"
#include "platform/window/ClockWindowIds.h"
#include "backends/freetype/FreeTypeTextEngine.h"
#include "backends/offscreen/OffscreenWindow.h"
#include "face/DrawClock.h"

namespace halyard {
namespace {

struct DigestCase {
  const char* name;
  std::int32_t dpi;
  const char* lines[ClockOptions::kLineCount];  // empty: the default
  FaceMarks marks;
  std::uint64_t digest;
};

void PrintTo(const DigestCase& c, std::ostream* out) { *out << c.name; }

// FNV-1a over 32-bit words rather than bytes: the same on every machine.
class Digest {
 public:
  void Add(std::uint32_t word) { value_ = (value_ ^ word) * 0x100000001B3u; }
  void AddArea(const Picture& picture, const PixelRect& area) {
    for (const std::int32_t v : {area.left, area.top, area.right, area.bottom}) Add(static_cast<std::uint32_t>(v));
    for (std::int32_t y = area.top; y < area.bottom; ++y) {
      const std::uint32_t* row = picture.Row(y);
      for (std::int32_t x = area.left; x < area.right; ++x) Add(row[x]);
    }
  }
  std::uint64_t Value() const { return value_; }

 private:
  std::uint64_t value_ = 0xCBF29CE484222325u;
};

class FaceDigest : public ::testing::TestWithParam<DigestCase> {};

TEST_P(FaceDigest, TwelveHoursOfFacesAsX86DrawsThem) {
  const DigestCase& c = GetParam();
  ClockOptions options = DefaultClockOptions();
  for (std::size_t i = 0; i < ClockOptions::kLineCount; ++i) {
    if (c.lines[i] != nullptr) options.Line(i) = c.lines[i];
  }
  OffscreenWindow window(c.dpi, [] { return std::make_unique<FreeTypeTextEngine>(); });
  const WindowHandle handle = PrepareClockWindow(window, options);
  ASSERT_NE(handle, nullptr);
  const Canvas& canvas = *window.FindCanvas(kClockFaceId);
  Digest digest;
  for (int second = 0; second < 12 * 3600; ++second) {
    char time[16];
    std::snprintf(time, sizeof time, "%02d:%02d:%02d", second / 3600, second / 60 % 60, second % 60);
    DrawClock(handle, kClockFaceId, time, options, c.marks);
    const Picture& face = *window.FacePicture();
    if (second == 0) digest.AddArea(face, face.Bounds());
    for (const PixelRect& area : canvas.LastRedrawAreas()) digest.AddArea(face, area);
  }
  EXPECT_EQ(digest.Value(), c.digest) << std::hex << "0x" << digest.Value();
}

INSTANTIATE_TEST_SUITE_P(
    OptionSets, FaceDigest,
    ::testing::Values(DigestCase{"defaults", 96, {}, {}, 0x3de4e782c5cf5416},
                      DigestCase{"dot", 96, {nullptr, nullptr, nullptr, "DOT"}, {}, 0x51b13912388c1b5c},
                      DigestCase{"odd_colours", 96, {"&H404040", "&H00FFFF", "&H0000FF", "DOT", "&HFF00FF", "&H00A5FF", "&HFFFF", " kc/s ", "QTH \xE9 GRID"}, {}, 0x0eef4c6824cdfc3e},
                      DigestCase{"no_sync", 96, {}, {true}, 0x20bfa839efb56616},
                      DigestCase{"dot_144dpi", 144, {nullptr, nullptr, nullptr, "DOT"}, {}, 0xe5957a1a163a4164}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace halyard
