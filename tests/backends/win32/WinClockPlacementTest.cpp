// The Windows window at another scale: laid out at the scaled resolution with
// the dialog font measured there, as a monitor of that resolution would have it.
#include <gtest/gtest.h>

#include "WinClockFixture.h"
#include "platform/window/WindowScale.h"

namespace halyard {
namespace {

using testing::Pump;

TEST(WinClockPlacementTest, AScaledWindowIsDrawnAtTheScaledResolution) {
  const double scale = 2.0;
  // The system keeps a window no taller than the screen.
  if (GetSystemMetrics(SM_CYSCREEN) < 1000) GTEST_SKIP() << "needs a screen of 1000 rows (scripts/win32-tests.sh)";
  testing::FixedClock clock;
  clock.Set(10, 8, 42);
  SetHandlerClock(&clock);
  CurrentClockOptions() = DefaultClockOptions();
  ClockTimerHandle() = 0;
  WinClockWindow window;
  window.SetPlacement({"", scale, false, false});
  ASSERT_EQ(PrepareClockWindow(window, CurrentClockOptions()), &window);
  window.SetHandler(&ClockWindowHandler);
  ClockWindowHandler(&window, kEventInitialise, 0, 0);
  window.Show();
  HWND dialog = window.Handle();
  Pump(dialog);
  UpdateWindow(dialog);

  EXPECT_EQ(window.LayoutDpi(), ScaledDpi(window.Dpi(), scale));
  const DialogUnits units = window.Units();
  RECT client{};
  GetClientRect(dialog, &client);
  EXPECT_EQ(client.right, units.ToPixelsX(kWindowWidthUnits));
  EXPECT_EQ(client.bottom, units.ToPixelsY(kWindowHeightUnits));
  const TextExtent face = window.ControlClientSize(kClockFaceId);
  EXPECT_EQ(face.width, units.ToPixelsX(kFaceRectUnits.cx));
  EXPECT_EQ(face.height, units.ToPixelsY(kFaceRectUnits.cy));
  SetHandlerClock(nullptr);
  ClockTimerHandle() = 0;
}

}  // namespace
}  // namespace halyard
