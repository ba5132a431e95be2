#include "platform/window/SavedPosition.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/window/PositionMemory.h"

namespace halyard {
namespace {

TEST(SavedPositionTest, ReadsOnlyWhatItWrites) {
  for (const PixelPoint where : {PixelPoint{0, 0}, PixelPoint{-1280, 37}, PixelPoint{1000000, -1000000}}) {
    EXPECT_EQ(ParseSavedPosition(SavedPositionText(where)), where);
  }
  EXPECT_EQ(ParseSavedPosition("12 34"), (PixelPoint{12, 34}));
  EXPECT_EQ(ParseSavedPosition("12 34\r\n"), (PixelPoint{12, 34}));
  for (const char* bad : {"", "\n", "12", "12 ", "12  34", " 12 34", "12,34", "12 34\n\n", "12 34 56", "+12 34",
                          "1000001 0", "0 -1000001", "99999999999999999999 1", "12 0x22", "--1 2",
                          "1 2\nx"}) {
    EXPECT_EQ(ParseSavedPosition(bad), std::nullopt) << bad;
  }
  EXPECT_EQ(ParseSavedPosition(std::string(kMaxSavedPositionBytes - 3, '0') + "1 2\n"), std::nullopt);
}

TEST(SavedPositionTest, APositionOffEveryMonitorComesBackOnTheNearest) {
  const std::vector<PixelRect> monitors{{0, 0, 1280, 1024}, {1280, 200, 2080, 800}};
  const TextExtent size{332, 509};
  struct Case {
    PixelPoint saved;
    PixelPoint shown;
  };
  const Case cases[] = {
      {{100, 100}, {100, 100}},     // on the first
      {{1500, 300}, {1500, 300}},   // on the second
      {{-300, -477}, {-300, -477}},   // a 32x32 corner still shows
      {{-301, 100}, {0, 100}},        // only 31 columns show: pulled in
      {{5000, 5000}, {1748, 291}},    // far right and below: the nearest is the second
      {{-5000, 5000}, {0, 515}},      // far left and below: the first
      {{1300, -400}, {948, 0}},       // above the second, nearer the first
      {{1260, 1010}, {948, 515}},     // a corner of 20x14 on the first: too little to take hold of
  };
  for (const Case& c : cases) {
    EXPECT_EQ(VisiblePosition(c.saved, size, monitors), c.shown) << c.saved.x << "," << c.saved.y;
  }
  // Larger than the monitor: its top-left corner on it.
  EXPECT_EQ(VisiblePosition({9000, 9000}, {3000, 3000}, std::vector<PixelRect>{{0, 0, 1280, 1024}}), (PixelPoint{0, 0}));
}

class MemoryStore final : public PositionStore {
 public:
  std::string Path() const override { return ""; }
  bool Write(std::string_view text, std::string&) override {
    writes.emplace_back(text);
    return true;
  }
  std::vector<std::string> writes;
};

TEST(SavedPositionTest, MovesAreWrittenAtMostOnceASecondAndTheLastOneAtExit) {
  using std::chrono::milliseconds;
  MemoryStore store;
  PositionMemory memory(store);
  memory.Moved({1, 1}, milliseconds(10'000));  // the first at once
  memory.Moved({2, 2}, milliseconds(10'100));  // held
  memory.Moved({3, 3}, milliseconds(10'200));  // replaces the held one
  EXPECT_EQ(memory.Due(), milliseconds(11'000));
  memory.WriteIfDue(milliseconds(10'999));
  EXPECT_EQ(store.writes, (std::vector<std::string>{"1 1\n"}));
  memory.WriteIfDue(milliseconds(11'000));
  memory.Moved({3, 3}, milliseconds(13'000));  // where it already is: nothing to write
  memory.Moved({4, 4}, milliseconds(13'500));
  memory.Flush();  // at exit, whatever the time
  memory.Flush();
  EXPECT_EQ(store.writes, (std::vector<std::string>{"1 1\n", "3 3\n", "4 4\n"}));
  EXPECT_EQ(memory.Due(), std::nullopt);
}

}  // namespace
}  // namespace halyard
