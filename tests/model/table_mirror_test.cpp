// The editor's flips on the table: sizes reversed, blocks mirrored with their content kept in
// the block's new top-left cell, and a flip done twice giving the table back.

#include <gtest/gtest.h>


#include "model/grid_from_table.h"
#include "model/merge_blocks.h"
#include "model/table_mirror.h"
#include "support/tables.h"

namespace vex {
namespace {

// The blocks the spans make when the table is shown, top to bottom (table indices).
std::vector<MergeBlock> Blocks(const TableData& t) {
  GridModel g;
  EXPECT_TRUE(LoadTableIntoGrid(g, t, 1.0, 3.5));
  std::vector<MergeBlock> out;
  for (const CellRange& b : g.Blocks()) out.push_back({b.minRow - 1, b.minCol - 1, b.maxRow - 1, b.maxCol - 1});
  return out;
}

std::string Text(const TableData& t, int r, int c) {
  return t.rows[static_cast<std::size_t>(r)].cells[static_cast<std::size_t>(c)].strText;
}

// 3 x 4 with widths 10..40, a 2 x 2 block at (0, 0) and a one-row block (2, 1..3).
TableData Sample() {
  TableData t = test::NamedTable(3, 4);
  t.ColWidths = {10, 20, 30, 40};
  t.RowHeights = {5, 6, 7};
  AppendMergeSpans(t, {{0, 0, 1, 1}, {2, 1, 2, 3}});
  return t;
}

TEST(Mirror, HorizontallyKeepsEachBlocksContentInItsTopLeftCell) {
  TableData t = Sample();
  MirrorHorizontally(t);
  EXPECT_EQ(t.ColWidths, (std::vector<double>{40, 30, 20, 10}));
  EXPECT_EQ(t.RowHeights, (std::vector<double>{5, 6, 7}));
  EXPECT_EQ(Blocks(t), (std::vector<MergeBlock>{{0, 2, 1, 3}, {2, 0, 2, 2}}));
  EXPECT_EQ(Text(t, 0, 2), "r0c0");  // the owner's content, now at the block's left
  EXPECT_EQ(Text(t, 1, 2), "r1c0");
  EXPECT_EQ(Text(t, 2, 0), "r2c1");
  EXPECT_EQ(Text(t, 2, 3), "r2c0");  // outside the block: plainly mirrored
  EXPECT_EQ(Text(t, 0, 0), "r0c3");
}

TEST(Mirror, VerticallyKeepsEachBlocksContentInItsTopLeftCell) {
  TableData t = Sample();
  MirrorVertically(t);
  EXPECT_EQ(t.RowHeights, (std::vector<double>{7, 6, 5}));
  EXPECT_EQ(Blocks(t), (std::vector<MergeBlock>{{0, 1, 0, 3}, {1, 0, 2, 1}}));
  EXPECT_EQ(Text(t, 1, 0), "r0c0");
  EXPECT_EQ(Text(t, 1, 1), "r0c1");
  EXPECT_EQ(Text(t, 0, 1), "r2c1");
  EXPECT_EQ(Text(t, 0, 0), "r2c0");
  EXPECT_EQ(Text(t, 2, 3), "r0c3");
}

TEST(Mirror, TwiceGivesTheTableBack) {
  for (bool horizontal : {true, false}) {
    TableData t = Sample();
    const TableData original = t;
    if (horizontal) {
      MirrorHorizontally(t);
      MirrorHorizontally(t);
    } else {
      MirrorVertically(t);
      MirrorVertically(t);
    }
    EXPECT_EQ(t, original) << (horizontal ? "horizontal" : "vertical");
  }
}

TEST(Mirror, StraySpansAndRaggedTablesAreSafe) {
  TableData t;
  t.nRows = 2;
  t.nCols = 3;
  t.rows.resize(1);  // ragged: normalising fills it
  t.MergeRows = {{5, 0, 1}, {0, -1, 2}, {1, 0, 9}};
  t.MergeCols = {{7, 0, 1}};
  MirrorHorizontally(t);
  EXPECT_EQ(t.rows.size(), 2u);
  // (1, 0, 9) was cut to the table; the spans off the table were dropped.
  EXPECT_EQ(t.MergeRows, (std::vector<MergeSpan>{{1, 0, 2}}));
  EXPECT_TRUE(t.MergeCols.empty());
  MirrorVertically(t);
  EXPECT_EQ(t.MergeRows, (std::vector<MergeSpan>{{0, 0, 2}}));
  TableData empty;
  MirrorHorizontally(empty);
  MirrorVertically(empty);
  EXPECT_EQ(empty.nRows, 0);
}

}  // namespace
}  // namespace vex
