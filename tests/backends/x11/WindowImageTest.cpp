// Every way a picture reaches the server: a shared pixmap, a shared-memory
// put or a plain put, and
// a screen whose pixels have the picture's layout or need converting.
#include <gtest/gtest.h>

#include <ostream>

#include "TestDisplay.h"

// Last: Xlib's macros (None, Bool, Status) break gtest's templates.
#include "backends/x11/WindowImage.h"

#include <X11/Xlib.h>

namespace halyard {
namespace {

// What a channel of `bits` bits keeps of an 8-bit value, read back as 8 bits.
std::uint32_t Quantised(std::uint32_t value8, int bits) {
  const std::uint32_t max = (1u << bits) - 1;
  return (value8 >> (8 - bits)) * 255 / max;
}

Picture Gradient(int width, int height) {
  Picture picture(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      picture.Set(x, y, static_cast<std::uint32_t>((x * 7) & 0xFF) << 16 | static_cast<std::uint32_t>((y * 5) & 0xFF) << 8 |
                            static_cast<std::uint32_t>((x + y) & 0xFF));
    }
  }
  return picture;
}

struct Case {
  int screen;
  bool sharedMemory;
  bool sharedPixmap;
};
void PrintTo(const Case& c, std::ostream* out) {
  *out << "screen " << c.screen << (c.sharedPixmap ? ", shared pixmap" : c.sharedMemory ? ", shared memory" : ", plain");
}

class WindowImageTest : public ::testing::TestWithParam<Case> {};

TEST_P(WindowImageTest, ScreenShowsThePictureAndAPartialUpdateTouchesOnlyItsArea) {
  if (!testing::X11TestsRequested()) GTEST_SKIP() << "needs the X server of scripts/x11-tests.sh";
  testing::TestDisplay display;
  Display* x = display.Get();
  ASSERT_NE(x, nullptr);
  const Case c = GetParam();
  if (c.screen >= ScreenCount(x)) GTEST_SKIP() << "the server has no screen " << c.screen;
  const int depth = DefaultDepth(x, c.screen);
  Visual* visual = DefaultVisual(x, c.screen);
  constexpr int kWidth = 120, kHeight = 90;
  XSetWindowAttributes attributes{};
  attributes.colormap = DefaultColormap(x, c.screen);
  const Window window = XCreateWindow(x, RootWindow(x, c.screen), 10, 10, kWidth, kHeight, 0, depth, InputOutput,
                                      visual, CWColormap, &attributes);

  Picture frame = Gradient(kWidth, kHeight);
  {
    WindowImage image(x, window, visual, depth, kWidth, kHeight, c.sharedMemory, c.sharedPixmap);
    EXPECT_EQ(image.SharedMemory(), c.sharedMemory);
    EXPECT_EQ(image.SharedPixmap(), c.sharedPixmap);  // Xvfb offers shared pixmaps
    EXPECT_EQ(image.DirectCopy(), depth == 24);
    image.Send(frame, frame.Bounds());
    XMapWindow(x, window);
    XSync(x, False);
    // The window paints itself from the kept picture when mapped.
    Picture expected = frame;
    if (depth == 16) {
      for (int py = 0; py < kHeight; ++py) {
        for (int px = 0; px < kWidth; ++px) {
          const std::uint32_t p = frame.Get(px, py);
          expected.Set(px, py, Quantised(p >> 16, 5) << 16 | Quantised((p >> 8) & 0xFF, 6) << 8 | Quantised(p & 0xFF, 5));
        }
      }
    }
    EXPECT_TRUE(display.Capture(window) == expected) << "depth " << depth;

    // Only the area sent changes, even though the whole picture differs.
    frame.FillRect(frame.Bounds(), 0xFFFFFF);
    image.Send(frame, {20, 30, 50, 40});
    XSync(x, False);
    expected.FillRect({20, 30, 50, 40}, 0xFFFFFF);
    EXPECT_TRUE(display.Capture(window) == expected);
    EXPECT_EQ(image.Uploads(), 2u);

    // Drawn into the image's own picture, which is its memory where the layouts agree.
    EXPECT_EQ(image.DrawsInPlace(), depth == 24);
    image.PrepareToDraw();
    image.Frame().Blit(frame, 0, 0);  // all white: only the area sent may show
    image.Frame().FillRect({5, 60, 100, 70}, 0x3366CC);
    image.Send(image.Frame(), {5, 60, 100, 70});
    XSync(x, False);
    if (depth == 24) expected.FillRect({5, 60, 100, 70}, 0x3366CC);
    if (depth == 16) expected.FillRect({5, 60, 100, 70}, Quantised(0x33, 5) << 16 | Quantised(0x66, 6) << 8 | Quantised(0xCC, 5));
    EXPECT_TRUE(display.Capture(window) == expected);
  }
  XDestroyWindow(x, window);
  XSync(x, False);
}

INSTANTIATE_TEST_SUITE_P(Paths, WindowImageTest,
                         ::testing::Values(Case{0, true, true}, Case{0, true, false}, Case{0, false, false},
                                           Case{1, true, true}, Case{1, true, false}, Case{1, false, false}),
                         [](const ::testing::TestParamInfo<Case>& info) {
                           return std::string(info.param.screen == 0 ? "Depth24" : "Depth16") +
                                  (info.param.sharedPixmap   ? "SharedPixmap"
                                   : info.param.sharedMemory ? "Shared"
                                                             : "Plain");
                         });

}  // namespace
}  // namespace halyard
