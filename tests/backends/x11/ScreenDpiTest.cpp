// GoogleTest first: Xlib's None macro would break it.
#include <gtest/gtest.h>

#include "backends/x11/ScreenDpi.h"

namespace halyard {
namespace {

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
