#include "model/grid_model.h"

#include <gtest/gtest.h>

#include "model/grid_axis.h"

namespace vex {
namespace {

// A grid as the editor makes it: one header row and column, `rows` x `cols` ordinary cells of
// 20 x 50 pixels, each holding "r,c".
GridModel Grid(int rows, int cols) {
  GridModel g;
  g.SetDefaultSizes(20, 50);
  EXPECT_TRUE(g.SetRowCount(rows + 1));
  EXPECT_TRUE(g.SetColumnCount(cols + 1));
  g.SetFixedRowCount(1);
  g.SetFixedColumnCount(1);
  for (int r = 0; r <= rows; ++r)
    for (int c = 0; c <= cols; ++c) g.SetText(r, c, std::to_string(r) + "," + std::to_string(c));
  return g;
}

TEST(GridAxis, PrefixSumsAndLookup) {
  GridAxis a;
  a.Resize(4, 10);
  a.SetSize(1, 0);  // hidden
  a.SetSize(2, 5);
  EXPECT_EQ(a.Total(), 25);
  EXPECT_EQ(a.Offset(2), 10);
  EXPECT_EQ(a.Span(1, 3), 15);
  // Row under each pixel: the hidden entry is never found.
  const std::pair<std::int64_t, int> cases[] = {{-1, -1}, {0, 0}, {9, 0}, {10, 2}, {14, 2}, {15, 3}, {24, 3}, {25, 4}};
  for (auto [pos, index] : cases) EXPECT_EQ(a.IndexAt(pos), index) << pos;
  a.Insert(0, 2, 7);
  EXPECT_EQ(a.Offset(2), 14);
  a.Erase(0);
  EXPECT_EQ(a.Total(), 32);
  EXPECT_EQ(a.Size(9), -1);
  EXPECT_FALSE(a.SetSize(9, 1));
}

TEST(GridModel, CountsGrowWithDefaultsAndShrinkCuttingBlocks) {
  GridModel g = Grid(4, 4);
  EXPECT_EQ(g.RowHeight(4), 20);
  EXPECT_EQ(g.Format(2, 2), -1);
  EXPECT_EQ(g.EffectiveFormat(2, 2), kDefaultCellFormat);
  ASSERT_TRUE(g.Merge({2, 2, 4, 4}));
  g.SetFocus({4, 4});
  EXPECT_TRUE(g.SetRowCount(4));  // block rows 2..3 remain
  EXPECT_EQ(g.BlockOf(3, 3), (CellRange{2, 2, 3, 4}));
  EXPECT_FALSE(g.Focus().IsValid());
  EXPECT_TRUE(g.SetColumnCount(3));  // down to a single column: 2 x 1 stays a block
  EXPECT_EQ(g.BlockOf(2, 2), (CellRange{2, 2, 3, 2}));
  EXPECT_TRUE(g.SetRowCount(3));  // one cell left: no block
  EXPECT_FALSE(g.IsInBlock(2, 2));
  EXPECT_EQ(g.BlockCount(), 0);
  EXPECT_FALSE(g.SetRowCount(-1));
  EXPECT_FALSE(g.SetColumnCount(GridModel::kMaxCells));
  EXPECT_EQ(g.ColumnCount(), 3);
}

TEST(GridModel, AccessOutsideTheGridDoesNothing) {
  GridModel g = Grid(2, 2);
  for (auto [r, c] : {std::pair{-1, 0}, {0, -1}, {3, 0}, {0, 3}}) {
    EXPECT_EQ(g.Text(r, c), "");
    EXPECT_EQ(g.Format(r, c), -1);
    EXPECT_EQ(g.Kind(r, c), -1);
    EXPECT_EQ(g.Picture(r, c), nullptr);
    EXPECT_FALSE(g.SetText(r, c, "x"));
    EXPECT_FALSE(g.SetPicture(r, c, CellImage{}));
    EXPECT_FALSE(g.BlockOf(r, c).IsValid());
  }
}

TEST(GridModel, MergeShowsOneBlockAndUnmergeRestoresEveryCell) {
  GridModel g = Grid(5, 5);
  EXPECT_FALSE(g.Merge({2, 2, 2, 2}));  // a single cell
  EXPECT_FALSE(g.Merge({0, 1, 1, 2}));  // reaches into the header
  ASSERT_TRUE(g.Merge({1, 1, 2, 3}));
  EXPECT_TRUE(g.IsMergedOwner(1, 1));
  EXPECT_TRUE(g.IsCovered(2, 3));
  EXPECT_EQ(g.OwnerOf(2, 3), (CellPos{1, 1}));
  EXPECT_EQ(g.MergedWidth(2, 2), 150);
  EXPECT_EQ(g.MergedHeight(1, 1), 40);
  EXPECT_EQ(g.Text(2, 3), "2,3");  // covered cells keep their contents
  g.Unmerge({2, 2, 2, 2});           // any cell of the block undoes all of it
  for (int r = 1; r <= 2; ++r)
    for (int c = 1; c <= 3; ++c) {
      EXPECT_FALSE(g.IsInBlock(r, c));
      EXPECT_EQ(g.Text(r, c), std::to_string(r) + "," + std::to_string(c));
    }
}

TEST(GridModel, AMergeReplacesTheBlocksItTouches) {
  GridModel g = Grid(6, 6);
  g.Merge({1, 1, 1, 4});  // a one-row merge...
  g.Merge({4, 4, 5, 5});
  g.Merge({1, 1, 2, 2});  // ...overridden by a block over part of it
  EXPECT_EQ(g.BlockOf(1, 3), (CellRange{1, 3, 1, 3}));
  EXPECT_EQ(g.BlockOf(2, 2), (CellRange{1, 1, 2, 2}));
  EXPECT_EQ(g.BlockOf(5, 5), (CellRange{4, 4, 5, 5}));
  EXPECT_EQ(g.Blocks(), (std::vector<CellRange>{{1, 1, 2, 2}, {4, 4, 5, 5}}));
}

TEST(GridModel, InsertAndDeleteMoveBlocksAndFocus) {
  GridModel g = Grid(6, 6);
  g.Merge({2, 2, 3, 3});
  g.SetFocus({4, 4});
  EXPECT_EQ(g.InsertRow(0), -1);  // inside the fixed rows
  EXPECT_EQ(g.InsertRow(9), -1);  // past the end
  EXPECT_EQ(g.InsertRow(1), 1);   // above the block: it moves down
  EXPECT_EQ(g.BlockOf(3, 3), (CellRange{3, 2, 4, 3}));
  EXPECT_EQ(g.Focus(), (CellPos{5, 4}));
  EXPECT_EQ(g.InsertColumn(3), 3);  // inside the block: it widens
  EXPECT_EQ(g.BlockOf(4, 4), (CellRange{3, 2, 4, 4}));
  EXPECT_TRUE(g.IsCovered(3, 3));
  const int rows = g.RowCount();
  EXPECT_EQ(g.InsertRow(-1), rows);  // appends
  EXPECT_TRUE(g.DeleteRow(3));                   // the owner's row: the block shrinks
  EXPECT_EQ(g.BlockOf(3, 2), (CellRange{3, 2, 3, 4}));
  EXPECT_TRUE(g.DeleteColumn(2));
  EXPECT_TRUE(g.DeleteColumn(2));  // one cell left: dissolved
  EXPECT_EQ(g.BlockCount(), 0);
  EXPECT_TRUE(g.DeleteRow(4));  // the focus row
  EXPECT_FALSE(g.Focus().IsValid());
  EXPECT_FALSE(g.DeleteRow(99));
}

TEST(GridModel, SelectionBoundsFollowSelectAndDeselect) {
  GridModel g = Grid(5, 5);
  EXPECT_FALSE(g.SelectedRange().IsValid());
  g.Select({1, 1, 2, 2});
  g.Select({4, 3, 4, 3});
  EXPECT_EQ(g.SelectedRange(), (CellRange{1, 1, 4, 3}));
  g.Select({4, 3, 4, 3}, false);
  EXPECT_EQ(g.SelectedRange(), (CellRange{1, 1, 2, 2}));
  EXPECT_TRUE(g.IsSelected(2, 2));
  g.ClearSelection();
  EXPECT_FALSE(g.IsSelected(2, 2));
  EXPECT_FALSE(g.SelectedRange().IsValid());
}

TEST(GridModel, ExpandToBlocksFollowsChainsOfBlocks) {
  GridModel g = Grid(8, 8);
  g.Merge({2, 2, 3, 4});
  g.Merge({4, 4, 6, 5});  // reached only through the first block
  EXPECT_EQ(g.ExpandToBlocks({1, 1, 2, 2}), (CellRange{1, 1, 3, 4}));
  EXPECT_EQ(g.ExpandToBlocks({3, 4, 4, 4}), (CellRange{2, 2, 6, 5}));
  EXPECT_EQ(g.ExpandToBlocks({7, 7, 8, 8}), (CellRange{7, 7, 8, 8}));
}

TEST(GridModel, PicturesLiveBesideTheCellsAndAreFreedOnReuse) {
  GridModel g = Grid(2, 2);
  CellImage p;
  p.images.Append(std::make_unique<JLine>(Point2d{0, 0}, Point2d{4, 2}));
  ASSERT_TRUE(g.SetPicture(1, 1, p));
  EXPECT_EQ(g.Picture(1, 1)->images.CachedBounds(), (Rect2d{0, 2, 4, 0}));
  g.ClearPicture(1, 1);
  EXPECT_EQ(g.Picture(1, 1), nullptr);
  g.SetPicture(2, 2, p);
  g.SetKind(2, 2, kImageCell);
  g.ResetCell(2, 2);
  EXPECT_EQ(g.Picture(2, 2), nullptr);
  EXPECT_EQ(g.Kind(2, 2), kTextCell);
}

}  // namespace
}  // namespace vex
