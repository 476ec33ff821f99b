#include "recognize/rule_lines.h"

#include <gtest/gtest.h>

namespace vex {
namespace {

LineSegment H(double y, double x0, double x1) { return {0, y, x0, x1}; }
LineSegment V(double x, double y0, double y1) { return {0, x, y0, y1}; }

// Row and column lines of a grid of rows x cols cells of 10 x 30, top-left at the origin.
struct Lines {
  std::vector<RuleLine> rows, cols;
};
Lines Grid(int rows, int cols) {
  std::vector<LineSegment> h, v;
  for (int i = 0; i <= rows; ++i) h.push_back(H(-10.0 * i, 0, 30.0 * cols));
  for (int j = 0; j <= cols; ++j) v.push_back(V(30.0 * j, 0, -10.0 * rows));
  return {GroupRuleLines(h, true), GroupRuleLines(v, false)};
}

TEST(GroupRuleLines, SortsAndGroupsByChainedPositions) {
  const auto rows = GroupRuleLines({H(-10, 0, 20), H(0, 0, 60), H(-10.0008, 20, 40), H(-10.0016, 40, 60)}, true);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].size(), 1u);
  EXPECT_EQ(rows[1].size(), 3u);  // each within the tolerance of the one before
  EXPECT_EQ(LineGaps(rows), (std::vector<double>{10}));
}

TEST(GroupRuleLines, LinesJustBeyondTheToleranceStayApart_Issue11) {
  const auto rows = GroupRuleLines({H(0, 0, 10), H(-0.005, 0, 10)}, true);
  EXPECT_EQ(rows.size(), 2u);
  const auto exact = GroupRuleLines({H(0, 0, 10), H(-0.001, 0, 10)}, true);
  EXPECT_EQ(exact.size(), 2u);  // a difference of the tolerance itself separates
}

TEST(GroupRuleLines, OneSegmentFormsNoLine) {
  EXPECT_TRUE(GroupRuleLines({H(0, 0, 10)}, true).empty());
  EXPECT_TRUE(GroupRuleLines({}, false).empty());
}

TEST(GroupRuleLines, ColumnsAscendAndEqualPositionsKeepTheirOrder) {
  const auto cols = GroupRuleLines({V(30, 0, -5), V(0, 0, -10), V(30, -5, -10)}, false);
  ASSERT_EQ(cols.size(), 2u);
  EXPECT_EQ(cols[0][0].position, 0);
  EXPECT_EQ(cols[1][0].from, 0);
  EXPECT_EQ(cols[1][1].from, -5);
}

TEST(BuildJunctions, FlagsTellWhereSegmentsLeave) {
  Lines g = Grid(2, 2);
  const auto j = BuildJunctions(g.rows, g.cols);
  ASSERT_EQ(j.size(), 3u);
  ASSERT_EQ(j[0].size(), 3u);
  const Junction& tl = j[0][0];
  EXPECT_EQ(std::tie(tl.up, tl.down, tl.left, tl.right), std::make_tuple(0, 1, 0, 1));
  const Junction& mid = j[1][1];
  EXPECT_EQ(mid.Count(), 4);
  EXPECT_EQ(mid.x, 30);
  EXPECT_EQ(mid.y, -10);
  const Junction& br = j[2][2];
  EXPECT_EQ(std::tie(br.up, br.down, br.left, br.right), std::make_tuple(1, 0, 1, 0));
  EXPECT_EQ(g.rows[2][0].lineIndex, 2);
}

TEST(BuildJunctions, EachSegmentCountsAtItsOwnPosition_Issue11) {
  // The top row line drifts down in three segments (0, 0.0008, 0.0016 below 0): the right
  // border starts at the third, the middle column at the second.
  auto rows = GroupRuleLines({H(0, 0, 20), H(-0.0008, 20, 40), H(-0.0016, 40, 60), H(-10, 0, 60)}, true);
  const auto cols = GroupRuleLines({V(0, 0, -10), V(30, -0.0008, -10), V(60, -0.0016, -10)}, false);
  ASSERT_EQ(rows.size(), 2u);
  const auto j = BuildJunctions(rows, cols);
  const Junction& tr = j[0][2];
  EXPECT_EQ(std::tie(tr.up, tr.down, tr.left, tr.right), std::make_tuple(0, 1, 1, 0));
  const Junction& mid = j[0][1];
  EXPECT_EQ(std::tie(mid.up, mid.down, mid.left, mid.right), std::make_tuple(0, 1, 1, 1));
  EXPECT_EQ(tr.y, 0);  // the point stays that of the line's first segment
  EXPECT_TRUE(FindFrame(j));
}

TEST(FindFrame, NeedsFourCornersThatLineUp) {
  Lines g = Grid(1, 1);
  auto j = BuildJunctions(g.rows, g.cols);
  const auto frame = FindFrame(j);
  ASSERT_TRUE(frame);
  EXPECT_EQ(frame->topLeft.x, 0);
  EXPECT_EQ(frame->bottomRight.y, -10);

  j[1][1].up = 0;  // the right border does not reach the bottom corner
  EXPECT_FALSE(FindFrame(j));
  EXPECT_FALSE(FindFrame({}));
}

TEST(RemoveStrayJunctions, DropsOneDeadEndPerInteriorRowLine) {
  // Three row lines; the middle one has an extra junction where only its own rule passes.
  std::vector<JunctionRow> rows(3);
  for (auto& r : rows) r.resize(4);
  rows[1][1].left = rows[1][1].right = 1;   // a straight run: kept
  rows[1][2].up = 1;                        // a dead end
  rows[1][3].left = 1;
  RemoveStrayJunctions(rows);
  EXPECT_EQ(rows[1].size(), 3u);
  EXPECT_EQ(rows[0].size(), 4u);  // outer lines untouched
  EXPECT_EQ(rows[2].size(), 4u);
}

TEST(FindMerges, MissingSegmentsBecomeSpans) {
  // 2 x 2 with the middle vertical missing in the top row, and the middle horizontal missing
  // in the right column.
  std::vector<LineSegment> h{H(0, 0, 60), H(-10, 0, 30), H(-20, 0, 60)};
  std::vector<LineSegment> v{V(0, 0, -20), V(30, -10, -20), V(60, 0, -20)};
  auto rows = GroupRuleLines(h, true);
  const auto cols = GroupRuleLines(v, false);
  const auto j = BuildJunctions(rows, cols);
  const auto m = FindMerges(j, 2, 2);
  ASSERT_TRUE(m);
  EXPECT_EQ(m->rows, (std::vector<MergeSpan>{{0, 0, 1}}));
  EXPECT_EQ(m->cols, (std::vector<MergeSpan>{{1, 0, 1}}));
}

TEST(FindMerges, RunThatNeverEndsIsRefused) {
  Lines g = Grid(1, 2);
  auto j = BuildJunctions(g.rows, g.cols);
  for (auto* n : {&j[0][1], &j[0][2]}) n->down = 0;
  for (auto* n : {&j[1][1], &j[1][2]}) n->up = 0;
  EXPECT_FALSE(FindMerges(j, 1, 2));
}

}  // namespace
}  // namespace vex
