#include "draw/line_grid.h"

#include <gtest/gtest.h>

namespace vex {
namespace {

TableData Table(int rows, int cols, double h, double w) {
  TableData t;
  t.nRows = rows;
  t.nCols = cols;
  t.RowHeights = {h};
  t.ColWidths = {w};
  t.Normalize();
  return t;
}

// "udlr" flags of a node, '-' for a cleared one.
std::string Flags(const GridNode& n) {
  return std::string(n.up ? "u" : "-") + (n.down ? "d" : "-") + (n.left ? "l" : "-") + (n.right ? "r" : "-");
}

TEST(BuildLineGrid, PlacesNodesFromTheTopLeftCorner) {
  TableData t = Table(2, 2, 10, 30);
  t.RowHeights = {10, 5};
  const LineGrid g = BuildLineGrid(t);
  ASSERT_EQ(g.Rows(), 2);
  ASSERT_EQ(g.Cols(), 2);
  EXPECT_EQ(g.At(0, 0).point, (GridPoint{0, 0, 0}));
  EXPECT_EQ(g.At(1, 2).point, (GridPoint{60, -10, 0}));
  EXPECT_EQ(g.At(2, 1).point, (GridPoint{30, -15, 0}));
  EXPECT_EQ(Flags(g.At(0, 0)), "-d-r");
  EXPECT_EQ(Flags(g.At(0, 1)), "-dlr");
  EXPECT_EQ(Flags(g.At(1, 1)), "udlr");
  EXPECT_EQ(Flags(g.At(2, 2)), "u-l-");
  EXPECT_EQ(g.At(1, 1).rowLine, 0);
}

TEST(BuildLineGrid, RowMergeRemovesTheVerticalRuleInThatRow) {
  TableData t = Table(2, 2, 10, 30);
  t.AppendMergeRow({0, 0, 1});
  const LineGrid g = BuildLineGrid(t);
  EXPECT_EQ(Flags(g.At(0, 1)), "--lr");
  EXPECT_EQ(Flags(g.At(1, 1)), "-dlr");
  EXPECT_EQ(Flags(g.At(2, 1)), "u-lr");
}

TEST(BuildLineGrid, ColumnMergeRemovesTheHorizontalRuleInThatColumn) {
  TableData t = Table(2, 2, 10, 30);
  t.AppendMergeCol({0, 0, 1});
  const LineGrid g = BuildLineGrid(t);
  EXPECT_EQ(Flags(g.At(1, 0)), "ud--");
  EXPECT_EQ(Flags(g.At(1, 1)), "ud-r");
  EXPECT_EQ(Flags(g.At(1, 2)), "udl-");
}

TEST(BuildLineGrid, BlockClearsItsInterior) {
  TableData t = Table(3, 3, 10, 10);
  t.AppendMergeRow({0, 0, 1});
  t.AppendMergeRow({1, 0, 1});
  t.AppendMergeCol({0, 0, 1});
  t.AppendMergeCol({1, 0, 1});
  const LineGrid g = BuildLineGrid(t);
  EXPECT_EQ(Flags(g.At(1, 1)), "----");
  EXPECT_EQ(Flags(g.At(0, 1)), "--lr");
  EXPECT_EQ(Flags(g.At(1, 0)), "ud--");
  EXPECT_EQ(Flags(g.At(2, 2)), "udlr");
}

TEST(BuildLineGrid, SpansOutsideTheGridNeverOpenTheFrame) {
  TableData t = Table(2, 2, 10, 30);
  t.AppendMergeRow({0, -3, 5});
  t.AppendMergeRow({7, 0, 1});
  t.AppendMergeCol({-1, 0, 1});
  t.AppendMergeCol({1, 0, 9});
  const LineGrid g = BuildLineGrid(t);
  EXPECT_EQ(Flags(g.At(0, 2)), "-dl-");
  EXPECT_EQ(Flags(g.At(2, 2)), "u-l-");
  EXPECT_EQ(Flags(g.At(1, 2)), "ud--");
  EXPECT_EQ(Flags(g.At(0, 0)), "-d-r");
}

TEST(BuildLineGrid, EmptyTableHasOneNode) {
  const LineGrid g = BuildLineGrid(TableData{});
  EXPECT_EQ(Flags(g.At(0, 0)), "----");
}

}  // namespace
}  // namespace vex
