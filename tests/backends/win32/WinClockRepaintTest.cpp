// Many repaints through the real window and controls: nothing may accumulate.
#include <gtest/gtest.h>

#include <cstdio>

#include "face/DrawClock.h"
#include "backends/win32/GdiObjectCount.h"
#include "backends/win32/WinClockFixture.h"

namespace halyard {
namespace {

using testing::Pump;
using testing::ScreenPixels;
using testing::WindowText;

std::string TimeText(int tick) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d", (tick / 3600) % 24, (tick / 60) % 60, tick % 60);
  return text;
}

class WinClockRepaintTest : public testing::WinClockFixture {};

TEST_F(WinClockRepaintTest, SeventyThousandRepaintsLeaveGdiObjectsAndThePictureAsTheyWere) {
  const ClockOptions options = DefaultClockOptions();
  window->Show();
  DrawClock(window.get(), kClockFaceId, "07:15:42", options);
  Pump(dialog);
  const Picture firstPicture = FaceCanvas().Pixels();
  const std::uint32_t afterOne = CountGdiObjects();
  ASSERT_GT(afterOne, 0u);

  // Every minute of the day and every second hand position, with the label's
  // colours changing at each silent-period boundary; the label repaints too.
  for (int tick = 0; tick < 70000; ++tick) {
    DrawClock(window.get(), kClockFaceId, TimeText(tick), options);
    if (tick % 200 == 0) Pump(dialog);
  }
  DrawClock(window.get(), kClockFaceId, "07:15:42", options);
  Pump(dialog);

  EXPECT_EQ(CountGdiObjects(), afterOne);
  EXPECT_TRUE(FaceCanvas().Pixels() == firstPicture) << "the same time draws the same face";
  EXPECT_TRUE(ScreenPixels(face) == firstPicture);
  EXPECT_EQ(WindowText(label), "SILENT 500 kHz CW");
}

}  // namespace
}  // namespace halyard
