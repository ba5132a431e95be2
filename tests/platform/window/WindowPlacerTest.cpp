#include "platform/window/WindowPlacer.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace halyard {
namespace {

TEST(WindowPlacerTest, CentredInTheWorkAreaButNeverAboveOrLeftOfIt) {
  EXPECT_EQ(CentredPosition({330, 488}, {0, 0, 1024, 768}), (PixelPoint{347, 140}));
  // A panel on the left and top: centred in what remains.
  EXPECT_EQ(CentredPosition({330, 488}, {64, 32, 1024, 768}), (PixelPoint{379, 156}));
  // Larger than the area: pinned to its top-left so the caption stays reachable.
  EXPECT_EQ(CentredPosition({495, 750}, {0, 24, 640, 480}), (PixelPoint{72, 24}));
}

// A window whose outer size grows with the resolution, as every window's does.
TextExtent Outer(std::int32_t dpi) { return {dpi * 3, dpi * 5}; }

TEST(WindowPlacerTest, TheSettingsDecideTheResolutionAndThePlace) {
  std::unique_ptr<PositionMemory> memory;
  ::testing::internal::CaptureStderr();
  const WindowPlacer placer({"300x200-10+20", 1.5, true, false}, memory);
  const WindowPlacer plain({"", 1.0, false, false}, memory);
  const WindowPlacer bad({"+10", 1.0, true, false}, memory);
  const std::string said = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(said,
            "halyard: geometry '300x200-10+20': the window's size is fixed; the size given is ignored\n"
            "halyard: bad geometry '+10' (expected [WxH][{+-}X{+-}Y]): using the default placement\n");

  EXPECT_EQ(placer.LayoutDpi(96), 144);
  EXPECT_EQ(plain.LayoutDpi(96), 96);
  // Fit-screen: the largest resolution that fits, never more than asked.
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(placer.FitScreen(144, 96, {1000, 500}, Outer), 100);
  EXPECT_EQ(placer.FitScreen(96, 96, {1000, 500}, Outer), 96);
  EXPECT_NE(::testing::internal::GetCapturedStderr().find("using scale 1.04 (fit-screen)"), std::string::npos);
  EXPECT_EQ(plain.FitScreen(144, 96, {1000, 500}, Outer), 144);

  // The geometry counts from the area's edges, with the size it is given.
  EXPECT_EQ(placer.ChosenPosition({100, 50}, {0, 0, 1000, 800}, {110, 70}, {}), (PixelPoint{890, 20}));
  EXPECT_FALSE(plain.ChosenPosition({100, 50}, {0, 0, 1000, 800}, {110, 70}, {}).has_value());
  EXPECT_FALSE(bad.Geometry().has_value());
  EXPECT_EQ(memory, nullptr);  // remember-position off: nothing is kept
}

}  // namespace
}  // namespace halyard
