#include "model/grid_navigation.h"

#include <gtest/gtest.h>

#include <ostream>

#include "model/grid_from_table.h"
#include "model/grid_resize.h"

namespace vex {
namespace {

// 4 x 4 ordinary cells of 20 x 50 pixels; a 2 x 2 block at rows 2..3, columns 2..3; column
// 4 hidden.
GridModel Grid() {
  GridModel g;
  g.SetDefaultSizes(20, 50);
  g.SetRowCount(5);
  g.SetColumnCount(6);
  g.SetFixedRowCount(1);
  g.SetFixedColumnCount(1);
  g.Merge({2, 2, 3, 3});
  g.SetColumnWidth(4, 0);
  return g;
}

struct MoveCase {
  const char* name;
  CellPos from;
  GridMove move;
  CellPos to;
};

// Test names and failure messages show the case by its name.
void PrintTo(const MoveCase& c, std::ostream* os) { *os << c.name; }

class MoveTest : public testing::TestWithParam<MoveCase> {};

TEST_P(MoveTest, Focus) {
  const MoveCase& c = GetParam();
  EXPECT_EQ(MoveFocus(Grid(), c.from, c.move, 2), c.to);
}

INSTANTIATE_TEST_SUITE_P(
    Moves, MoveTest,
    testing::Values(MoveCase{"NoFocusGoesToTheFirstCell", {}, GridMove::kDown, {1, 1}},
                    MoveCase{"IntoABlockReachesItsOwner", {1, 3}, GridMove::kDown, {2, 2}},
                    MoveCase{"OutOfABlockPassesIt", {2, 2}, GridMove::kDown, {4, 2}},
                    MoveCase{"RightSkipsTheHiddenColumn", {1, 3}, GridMove::kRight, {1, 5}},
                    MoveCase{"RightAtTheEndStays", {1, 5}, GridMove::kRight, {1, 5}},
                    MoveCase{"UpAtTheTopStays", {1, 2}, GridMove::kUp, {1, 2}},
                    MoveCase{"TabWrapsToTheNextRow", {1, 5}, GridMove::kNext, {2, 1}},
                    MoveCase{"TabAtTheLastCellStays", {4, 5}, GridMove::kNext, {4, 5}},
                    MoveCase{"ShiftTabWrapsBack", {2, 1}, GridMove::kPrevious, {1, 5}},
                    MoveCase{"TabLeavesABlockAtItsEnd", {2, 2}, GridMove::kNext, {2, 5}},
                    MoveCase{"PageDownByPageRows", {1, 1}, GridMove::kPageDown, {3, 1}},
                    MoveCase{"PageDownStopsAtTheLastRow", {3, 1}, GridMove::kPageDown, {4, 1}},
                    MoveCase{"PageUpStopsAtTheFirstRow", {2, 1}, GridMove::kPageUp, {1, 1}},
                    MoveCase{"HomeAndEnd", {3, 5}, GridMove::kHome, {3, 1}},
                    MoveCase{"EndSkipsNothingShown", {3, 1}, GridMove::kEnd, {3, 5}},
                    MoveCase{"LastCell", {1, 1}, GridMove::kLastCell, {4, 5}},
                    MoveCase{"FirstCell", {4, 5}, GridMove::kFirstCell, {1, 1}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SelectionBetween, GrowsToWholeBlocks) {
  const GridModel g = Grid();
  EXPECT_EQ(SelectionBetween(g, {1, 1}, {2, 2}), (CellRange{1, 1, 3, 3}));
  EXPECT_EQ(SelectionBetween(g, {}, {4, 1}), (CellRange{4, 1, 4, 1}));
}

TEST(ResizeBoundary, OfferedOnlyOnCellEdges) {
  const GridModel g = Grid();
  // Column edges at x = 50 (header column), 100, 150, 200, 200 (hidden column 4), 250.
  const std::pair<int, int> row1[] = {{98, 1}, {102, 1}, {104, -1}, {148, 2}, {151, 2}, {199, 3}, {201, 4},
                                      {248, 5}, {252, 5}, {253, -1}, {2, -1}};
  for (auto [x, col] : row1) EXPECT_EQ(ColumnBoundaryAt(g, 1, x), col) << x;
  // On row 2 the edge between columns 2 and 3 lies inside the block.
  EXPECT_EQ(ColumnBoundaryAt(g, 2, 150), -1);
  EXPECT_EQ(ColumnBoundaryAt(g, 2, 199), 3);
  EXPECT_EQ(RowBoundaryAt(g, 1, 41), 1);
  EXPECT_EQ(RowBoundaryAt(g, 2, 60), -1);  // inside the block on column 2
}

TEST(ResizeByDrag, ABlockTakesTheNewWidthAsAWhole) {
  GridModel g = Grid();
  // Plain column: width = pointer minus its left edge, never below 0.
  EXPECT_EQ(ResizeColumnByDrag(g, {1, 1}, 130), 1);
  EXPECT_EQ(g.ColumnWidth(1), 80);
  ResizeColumnByDrag(g, {1, 1}, 10);
  EXPECT_EQ(g.ColumnWidth(1), 0);
  g.SetColumnWidth(1, 50);
  // A cell covered by the block stands for the block: columns 2..3 become 130 wide together.
  EXPECT_EQ(ResizeColumnByDrag(g, {3, 3}, 230), 2);
  EXPECT_EQ(g.ColumnWidth(2), 80);
  EXPECT_EQ(g.ColumnWidth(3), 50);
  EXPECT_EQ(g.MergedWidth(2, 2), 130);
  ResizeColumnByDrag(g, {2, 2}, 120);  // narrower than its other columns: the owner's is 0
  EXPECT_EQ(g.ColumnWidth(2), 0);
  EXPECT_EQ(ResizeRowByDrag(g, {3, 2}, 100), 2);
  EXPECT_EQ(g.RowHeight(2), 40);
  EXPECT_EQ(ResizeColumnByDrag(g, {9, 9}, 10), -1);
}

TEST(LoadTableIntoGrid, AsTheEditorShowsIt) {
  TableData t;
  t.nRows = 2;
  t.nCols = 3;
  t.RowHeights = {8};
  t.ColWidths = {25, 10};
  t.Normalize();
  TableCell c = t.GetCell(0, 0);
  c.strText = "x";
  c.dHeight = 3.0;
  c.HorzMode = 0;
  t.SetCell(0, 0, c);
  t.AppendMergeRow({1, 0, 2});
  GridModel g;
  ASSERT_TRUE(LoadTableIntoGrid(g, t, 1.5, 3.5));
  EXPECT_EQ(g.RowCount(), 3);
  EXPECT_EQ(g.ColumnCount(), 4);
  EXPECT_EQ(g.RowHeight(0), 28);   // round(1.5 x 5 x 3.5) + 2
  EXPECT_EQ(g.ColumnWidth(0), 45);  // trunc(1.5 x 5 x 6)
  EXPECT_EQ(g.RowHeight(2), 60);
  EXPECT_EQ(g.ColumnWidth(3), 75);
  EXPECT_EQ(g.Text(0, 3), "3");
  EXPECT_EQ(g.Text(2, 0), "2");
  EXPECT_EQ(g.Format(0, 1), 37);
  EXPECT_EQ(g.BlockOf(2, 3), (CellRange{2, 1, 2, 3}));
  EXPECT_EQ(g.Format(1, 1), 4);
  EXPECT_EQ(g.FontHeight(1, 1), 23);  // round(1.5 x 5 x 3 + 0.5)
  EXPECT_EQ(g.Format(1, 2), 5);
  EXPECT_EQ(MmToPixels(10, 1.5), 75);
  TableData huge;
  huge.nRows = 1 << 20;
  huge.nCols = 1 << 20;
  EXPECT_FALSE(LoadTableIntoGrid(g, huge, 1, 3.5));
}

}  // namespace
}  // namespace vex
