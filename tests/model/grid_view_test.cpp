#include "model/grid_view.h"

#include <gtest/gtest.h>

namespace vex {
namespace {

// Header row 20 high and column 40 wide; 100 rows of 10 and 50 columns of 30 pixels; a block
// at rows 5..9, columns 2..3.
GridModel Grid() {
  GridModel g;
  g.SetDefaultSizes(10, 30);
  g.SetRowCount(101);
  g.SetColumnCount(51);
  g.SetFixedRowCount(1);
  g.SetFixedColumnCount(1);
  g.SetRowHeight(0, 20);
  g.SetColumnWidth(0, 40);
  g.Merge({5, 2, 9, 3});
  return g;
}

TEST(GridView, FixedCellsStayAndOrdinaryCellsScroll) {
  const GridModel g = Grid();
  const GridViewport view{60, 25, 300, 200};
  EXPECT_EQ(FixedWidth(g), 40);
  EXPECT_EQ(FixedHeight(g), 20);
  EXPECT_EQ(ColumnLeft(g, view, 0), 0);
  EXPECT_EQ(ColumnLeft(g, view, 3), 40 + 60 - 60);
  EXPECT_EQ(RowTop(g, view, 3), 20 + 20 - 25);
  EXPECT_EQ(CellRect(g, view, 0, 3), (WindowRect{40, 0, 70, 20}));
  // The block is whole even though its top rows are scrolled away.
  EXPECT_EQ(BlockWindowRect(g, view, 9, 3), (WindowRect{10, 35, 70, 85}));
  EXPECT_EQ(ContentX(g, view, 10), 10);   // inside the header column
  EXPECT_EQ(ContentX(g, view, 100), 160);
}

TEST(GridView, CellsUnderPointsAndTheVisibleRange) {
  const GridModel g = Grid();
  const GridViewport view{60, 25, 300, 200};
  EXPECT_EQ(CellAtPoint(g, view, 5, 5), (CellPos{0, 0}));
  EXPECT_EQ(CellAtPoint(g, view, 100, 5), (CellPos{0, 5}));  // content x 160
  EXPECT_EQ(CellAtPoint(g, view, 100, 50), (CellPos{6, 5}));  // content y 75
  const GridViewport far{0, 0, 5000, 5000};
  EXPECT_EQ(CellAtPoint(g, far, 4000, 4000), (CellPos{-1, -1}));
  const VisibleCells v = VisibleBody(g, view);
  EXPECT_EQ(v.firstRow, 3);   // content y 45
  EXPECT_EQ(v.lastRow, 21);   // content y 224
  EXPECT_EQ(v.firstCol, 3);   // content x 100
  EXPECT_EQ(v.lastCol, 11);   // content x 359
  const VisibleCells none = VisibleBody(g, GridViewport{0, 0, 30, 10});  // the window shows headers only
  EXPECT_LT(none.lastRow, none.firstRow);
}

TEST(GridView, ScrollingToShowACell) {
  const GridModel g = Grid();
  const GridViewport view{0, 0, 300, 200};
  EXPECT_EQ(MaxScrollX(g, view), 40 + 50 * 30 - 300);
  EXPECT_EQ(MaxScrollY(g, view), 20 + 100 * 10 - 200);
  const GridViewport down = ScrolledToShow(g, view, {50, 1});
  EXPECT_EQ(down.scrollY, 320);  // row 50 (510..520) ends at the window's bottom
  const GridViewport back = ScrolledToShow(g, down, {7, 2});  // a block cell: its top comes in
  EXPECT_EQ(back.scrollY, 40);
  EXPECT_EQ(ScrolledToShow(g, view, {100, 50}).scrollX, MaxScrollX(g, view));
  EXPECT_EQ(ScrolledToShow(g, down, {0, 0}).scrollY, down.scrollY);  // headers need no scrolling
}

}  // namespace
}  // namespace vex
