#include "platform/canvas/DrawingRecord.h"

#include <gtest/gtest.h>

#include <vector>

namespace halyard {
namespace {

constexpr PixelRect kBounds{0, 0, 400, 300};

// One repaint: a fill, then a wide line per entry (from, to).
void Record(DrawingRecord& record, const std::vector<std::pair<PixelPoint, PixelPoint>>& lines) {
  record.Begin(kBounds);
  record.Add(DrawOp::Kind::Fill).color = 0x102030;
  record.Seal();
  for (const auto& [from, to] : lines) {
    DrawOp& op = record.Add(DrawOp::Kind::Line);
    op.from = from;
    op.to = to;
    op.pen = 8;
    op.color = 0xFFFFFF;
    record.Seal();
  }
}

bool Covers(std::span<const PixelRect> areas, const PixelRect& box) {
  // Every pixel of `box` lies in some area (areas never overlap).
  std::int64_t covered = 0;
  for (const PixelRect& a : areas) {
    const PixelRect i = Intersect(a, box);
    if (!i.Empty()) covered += static_cast<std::int64_t>(i.right - i.left) * (i.bottom - i.top);
  }
  return covered == static_cast<std::int64_t>(box.right - box.left) * (box.bottom - box.top);
}

// Every pixel within `reach` of the line's points lies in some area.
bool CoversLine(std::span<const PixelRect> areas, PixelPoint from, PixelPoint to, std::int32_t reach) {
  for (int t = 0; t <= 100; ++t) {
    const std::int32_t x = from.x + (to.x - from.x) * t / 100, y = from.y + (to.y - from.y) * t / 100;
    if (!Covers(areas, {x - reach, y - reach, x + reach + 1, y + reach + 1})) return false;
  }
  return true;
}

std::vector<PixelRect> Areas(std::span<const PixelRect> areas) { return {areas.begin(), areas.end()}; }

TEST(DrawingRecordTest, OnlyOperationsThatDifferMakeAChange) {
  DrawingRecord record;
  const std::vector<std::pair<PixelPoint, PixelPoint>> hands{{{200, 150}, {200, 40}}, {{200, 150}, {300, 150}}};
  Record(record, hands);
  EXPECT_EQ(Areas(record.Changes()), std::vector<PixelRect>{kBounds}) << "nothing shown yet";
  record.Commit();

  Record(record, hands);
  EXPECT_TRUE(record.Changes().empty()) << "the same repaint again";
  record.Commit();

  // The second hand moves: its old and new boxes change, the other hand does not.
  Record(record, {hands[0], {{200, 150}, {300, 160}}});
  const std::vector<PixelRect> moved = Areas(record.Changes());
  EXPECT_TRUE(CoversLine(moved, {200, 150}, {300, 150}, 5));
  EXPECT_TRUE(CoversLine(moved, {200, 150}, {300, 160}, 5));
  for (const PixelRect& area : moved) {
    EXPECT_TRUE(Intersect(area, {195, 40, 205, 130}).Empty()) << "the unchanged hand is left alone";
  }
  record.Commit();

  // A slanted hand changes a strip along itself, not the box around it.
  Record(record, {hands[0], {{200, 150}, {300, 50}}});
  record.Commit();
  Record(record, {hands[0], {{200, 150}, {310, 60}}});
  const std::vector<PixelRect> strip = Areas(record.Changes());
  std::int64_t area = 0;
  for (const PixelRect& a : strip) area += static_cast<std::int64_t>(a.right - a.left) * (a.bottom - a.top);
  EXPECT_LT(area, 117 * 107 / 2) << "less than half the box";
  EXPECT_TRUE(CoversLine(strip, {200, 150}, {300, 50}, 5));
  EXPECT_TRUE(CoversLine(strip, {200, 150}, {310, 60}, 5));
  record.Commit();

  // An operation fewer: the one that went is a change; forgetting makes everything one.
  Record(record, {hands[0]});
  EXPECT_TRUE(CoversLine(record.Changes(), {200, 150}, {310, 60}, 5));
  record.Forget();
  EXPECT_EQ(Areas(record.Changes()), std::vector<PixelRect>{kBounds});
}

TEST(DrawingRecordTest, ManyScatteredChangesAreJoinedIntoFewAreasThatCoverThemAll) {
  DrawingRecord record;
  std::vector<std::pair<PixelPoint, PixelPoint>> dots;
  for (int i = 0; i < 6; ++i) {
    for (int j = 0; j < 6; ++j) dots.push_back({{20 + 60 * i, 20 + 50 * j}, {20 + 60 * i, 20 + 50 * j}});
  }
  Record(record, dots);
  record.Commit();
  std::vector<std::pair<PixelPoint, PixelPoint>> moved = dots;
  for (auto& [from, to] : moved) to.x += 1;
  Record(record, moved);
  const std::span<const PixelRect> areas = record.Changes();
  EXPECT_LE(areas.size(), DrawingRecord::kMaxAreas);
  for (std::size_t i = 0; i < areas.size(); ++i) {
    for (std::size_t j = i + 1; j < areas.size(); ++j) EXPECT_TRUE(Intersect(areas[i], areas[j]).Empty());
  }
  for (const auto& [from, to] : moved) EXPECT_TRUE(Covers(areas, {from.x - 6, from.y - 6, to.x + 7, to.y + 7}));
}

}  // namespace
}  // namespace halyard
