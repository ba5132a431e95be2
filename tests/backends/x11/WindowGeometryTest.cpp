#include "backends/x11/WindowGeometry.h"

#include <gtest/gtest.h>

#include "backends/x11/ScreenDpi.h"

namespace halyard {
namespace {

TEST(WindowGeometry, ClockLayoutAt96Dpi) {
  const DialogUnits units = DialogUnits::ForDpi(96);
  // 300 units * 13 / 8 = 487.5, rounded away from zero.
  EXPECT_EQ(ClientPixels(units, kWindowWidthUnits, kWindowHeightUnits), (TextExtent{330, 488}));
  EXPECT_EQ(ControlPixels(units, kFaceRectUnits), (PixelRect{0, 0, 330, 406}));
  // y and height converted apart: 406 + 81 ends one row above the client's 488.
  EXPECT_EQ(ControlPixels(units, kLabelRectUnits), (PixelRect{0, 406, 330, 487}));
}

TEST(WindowGeometry, ClockLayoutAt144Dpi) {
  const DialogUnits units = DialogUnits::ForDpi(144);  // 9 x 20 (19.5 rounded up)
  EXPECT_EQ(ClientPixels(units, kWindowWidthUnits, kWindowHeightUnits), (TextExtent{495, 750}));
  EXPECT_EQ(ControlPixels(units, kFaceRectUnits), (PixelRect{0, 0, 495, 625}));
  EXPECT_EQ(ControlPixels(units, kLabelRectUnits), (PixelRect{0, 625, 495, 750}));
}

TEST(WindowGeometry, CentredInTheWorkAreaButNeverAboveOrLeftOfIt) {
  EXPECT_EQ(CentredPosition({330, 488}, {0, 0, 1024, 768}), (PixelPoint{347, 140}));
  // A panel on the left and top: centred in what remains.
  EXPECT_EQ(CentredPosition({330, 488}, {64, 32, 1024, 768}), (PixelPoint{379, 156}));
  // Larger than the area: pinned to its top-left so the caption stays reachable.
  EXPECT_EQ(CentredPosition({495, 750}, {0, 24, 640, 480}), (PixelPoint{72, 24}));
}

TEST(ScreenDpi, ReadsXftDpiFromTheResourceDatabase) {
  EXPECT_EQ(DpiFromResources("Xft.dpi:\t144\n"), 144);
  EXPECT_EQ(DpiFromResources("Xft.antialias:\t1\nXft.dpi:  120\nXft.hinting:\t1\n"), 120);
  EXPECT_EQ(DpiFromResources("*dpi: 192\n"), 192);  // a loose binding matches too
  EXPECT_EQ(DpiFromResources("Xft.dpi: 96.5\n"), 97);
  EXPECT_EQ(DpiFromResources("Xft.dpi: 143.4\n"), 143);
}

TEST(ScreenDpi, FallsBackTo96WithoutAUsableValue) {
  EXPECT_EQ(DpiFromResources(nullptr), 96);
  EXPECT_EQ(DpiFromResources(""), 96);
  EXPECT_EQ(DpiFromResources("Xcursor.size: 24\n"), 96);
  EXPECT_EQ(DpiFromResources("Xft.dpi: high\n"), 96);
  EXPECT_EQ(DpiFromResources("Xft.dpi: 144dpi\n"), 96);
  EXPECT_EQ(DpiFromResources("Xft.dpi: 0\n"), 96);
  EXPECT_EQ(DpiFromResources("Xft.dpi: -96\n"), 96);
  EXPECT_EQ(DpiFromResources("Xft.dpi: 100000\n"), 96);
  EXPECT_EQ(DpiFromResources("Xft.dpi: nan\n"), 96);
  EXPECT_EQ(DpiFromResources("Xft.dpi: 47.4\n"), 96);  // below the renderer's 48 too
  std::string complaint;
  EXPECT_EQ(DpiFromResources("Xft.dpi: 47.5\n", &complaint), 48);
  EXPECT_EQ(complaint, "");
  EXPECT_EQ(DpiFromResources("Xft.dpi: 2000\n", &complaint), 96);
  EXPECT_EQ(complaint, "Xft.dpi '2000' is not a resolution from 48 to 960; using 96");
}

}  // namespace
}  // namespace halyard
