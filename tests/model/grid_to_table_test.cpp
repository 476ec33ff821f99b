// A table loaded into the editor's grid and taken back: sizes at the zoom, merges, text
// heights exact or rounded to 0.5 mm for Draw, and the millimetres that survive small zooms.

#include <gtest/gtest.h>

#include "model/grid_from_table.h"
#include "model/grid_millimetres.h"
#include "model/grid_to_table.h"
#include "model/merge_blocks.h"
#include "support/tables.h"

namespace vex {
namespace {

constexpr double kStyle = 3.5;

// A 3 x 4 table with a 2 x 2 block and a one-row block, alignments and heights that vary.
TableData Sample() {
  TableData t = test::NamedTable(3, 4, 10, 20);
  t.RowHeights = {10, 12.4, 8};
  t.ColWidths = {20, 15, 30, 25};
  AppendMergeSpans(t, {{0, 0, 1, 1}, {2, 1, 2, 3}});
  t.rows[0].cells[0].HorzMode = 0;
  t.rows[0].cells[0].VertMode = 2;
  t.rows[0].cells[0].dHeight = 5;
  t.rows[2].cells[1].strText = "line 1\r\nline 2";
  t.rows[1].cells[3].strText.clear();
  return t;
}

TEST(TakeTable, GivesBackWhatWasLoaded) {
  const TableData original = Sample();
  GridModel g;
  ASSERT_TRUE(LoadTableIntoGrid(g, original, 1.0, kStyle));
  const TableData back = TakeTableFromGrid(g, 1.0, TextHeights::kExact);
  EXPECT_EQ(back.nRows, 3);
  EXPECT_EQ(back.nCols, 4);
  EXPECT_EQ(back.RowHeights, original.RowHeights);
  EXPECT_EQ(back.ColWidths, original.ColWidths);
  EXPECT_EQ(back.MergeRows, original.MergeRows);
  EXPECT_EQ(back.MergeCols, original.MergeCols);
  EXPECT_EQ(back.rows[0].cells[0].HorzMode, 0);
  EXPECT_EQ(back.rows[0].cells[0].VertMode, 2);
  EXPECT_EQ(back.rows[2].cells[1].strText, "line 1\r\nline 2");
  // 3 mm shows as round(15.5) = 16 pixels, which is 3.2 mm taken back exactly.
  EXPECT_DOUBLE_EQ(back.rows[1].cells[0].dHeight, 3.2);
  EXPECT_DOUBLE_EQ(back.rows[0].cells[0].dHeight, 5.2);
  // An empty cell shows centred at the style's height.
  EXPECT_EQ(back.rows[1].cells[3].HorzMode, 1);
  EXPECT_DOUBLE_EQ(back.rows[1].cells[3].dHeight, 18 / 5.0);
}

TEST(TakeTable, DrawRoundsTextHeightsToHalfMillimetres) {
  GridModel g;
  ASSERT_TRUE(LoadTableIntoGrid(g, Sample(), 1.0, kStyle));
  g.SetFontHeight(1, 2, 17);  // 3.4 mm
  g.SetFontHeight(1, 3, 12);  // 2.4 mm
  const TableData drawn = TakeTableFromGrid(g, 1.0, TextHeights::kRounded);
  EXPECT_DOUBLE_EQ(drawn.rows[0].cells[1].dHeight, 3.5);
  EXPECT_DOUBLE_EQ(drawn.rows[0].cells[2].dHeight, 2.5);
  EXPECT_DOUBLE_EQ(drawn.rows[1].cells[0].dHeight, 3.0);  // 16 px
}

TEST(TakeTable, ZoomScalesPixelsNotMillimetres) {
  GridModel g;
  ASSERT_TRUE(LoadTableIntoGrid(g, test::UniformTable(2, 2, 10, 20), 1.5, kStyle));
  EXPECT_EQ(g.RowHeight(1), 75);
  EXPECT_EQ(g.ColumnWidth(2), 150);
  const TableData back = TakeTableFromGrid(g, 1.5, TextHeights::kExact);
  EXPECT_DOUBLE_EQ(back.RowHeights[1], 10);
  EXPECT_DOUBLE_EQ(back.ColWidths[0], 20);
}

TEST(TakeTable, HiddenRowsAndEmptyGrids) {
  GridModel g;
  ASSERT_TRUE(LoadTableIntoGrid(g, test::UniformTable(2, 2), 1.0, kStyle));
  g.SetRowHeight(2, 0);
  EXPECT_DOUBLE_EQ(TakeTableFromGrid(g, 1.0, TextHeights::kExact).RowHeights[1], 0);
  GridModel empty;
  const TableData none = TakeTableFromGrid(empty, 1.0, TextHeights::kExact);
  EXPECT_EQ(none.nRows, 0);
  EXPECT_EQ(none.nCols, 0);
}

TEST(BlankTable, TruncatesItsSizes) {
  GridModel g;
  ASSERT_TRUE(LoadBlankTableIntoGrid(g, 6, 6, 5, 15, 0.75, kStyle));
  EXPECT_EQ(g.RowCount(), 7);
  EXPECT_EQ(g.RowHeight(3), 18);     // trunc(18.75)
  EXPECT_EQ(g.ColumnWidth(6), 56);   // trunc(56.25)
  EXPECT_EQ(g.Format(4, 4), 5);
  EXPECT_EQ(g.FontHeight(4, 4), StyleFontPixels(0.75, kStyle));
  EXPECT_EQ(g.Text(0, 3), "3");
  EXPECT_FALSE(LoadBlankTableIntoGrid(g, -1, 2, 5, 15, 1, kStyle));
  EXPECT_EQ(g.RowCount(), 0);
}

// At zoom 0.1 a 15 mm column is 8 pixels, 16 mm by its pixels: the remembered millimetres
// keep it at 15 for as long as the pixels agree.
TEST(RememberedMillimetres, SurviveSmallZooms) {
  TableData t = test::NamedTable(2, 3, 8, 15);
  t.rows[0].cells[0].dHeight = 3.5;
  GridModel g;
  GridMillimetres mm(g);
  ASSERT_TRUE(LoadTableIntoGrid(g, t, 0.1, kStyle));
  mm.Remember(t);
  EXPECT_EQ(g.ColumnWidth(1), 8);
  TableData back = TakeTableFromGrid(g, 0.1, TextHeights::kExact, &mm);
  EXPECT_DOUBLE_EQ(back.ColWidths[0], 15);
  EXPECT_DOUBLE_EQ(back.RowHeights[0], 8);
  EXPECT_DOUBLE_EQ(back.rows[0].cells[0].dHeight, 3.5);
  EXPECT_DOUBLE_EQ(TakeTableFromGrid(g, 0.1, TextHeights::kExact).ColWidths[0], 16);  // without

  // A column dragged to another width counts as its pixels say.
  g.SetColumnWidth(2, 10);
  back = TakeTableFromGrid(g, 0.1, TextHeights::kExact, &mm);
  EXPECT_DOUBLE_EQ(back.ColWidths[1], 20);
  EXPECT_DOUBLE_EQ(back.ColWidths[2], 15);

  // Inserted and deleted lines move the remembered values with them.
  ASSERT_EQ(g.InsertColumn(1), 1);
  g.SetColumnWidth(1, 3);
  back = TakeTableFromGrid(g, 0.1, TextHeights::kExact, &mm);
  EXPECT_DOUBLE_EQ(back.ColWidths[0], 6);
  EXPECT_DOUBLE_EQ(back.ColWidths[1], 15);
  EXPECT_DOUBLE_EQ(back.ColWidths[3], 15);
  EXPECT_DOUBLE_EQ(back.rows[0].cells[1].dHeight, 3.5);
  ASSERT_TRUE(g.DeleteRow(1));
  back = TakeTableFromGrid(g, 0.1, TextHeights::kExact, &mm);
  EXPECT_EQ(back.nRows, 1);
  EXPECT_EQ(back.rows[0].cells[1].strText, "r1c0");
}

// Undo puts a deleted row back at its place: its millimetres come back with it, so a table
// shown at a small zoom is taken back as it was.
TEST(RememberedMillimetres, ComeBackWithALineInsertedAgainAtItsPlace) {
  TableData t = test::NamedTable(3, 2, 8, 15);
  t.RowHeights = {8, 7.3, 9.1};
  GridModel g;
  GridMillimetres mm(g);
  ASSERT_TRUE(LoadTableIntoGrid(g, t, 0.1, kStyle));
  mm.Remember(t);
  const int height = g.RowHeight(2);
  ASSERT_TRUE(g.DeleteRow(2));
  ASSERT_TRUE(g.DeleteColumn(1));
  ASSERT_EQ(g.InsertColumn(1), 1);
  g.SetColumnWidth(1, 8);
  ASSERT_EQ(g.InsertRow(2), 2);
  g.SetRowHeight(2, height);
  const TableData back = TakeTableFromGrid(g, 0.1, TextHeights::kExact, &mm);
  EXPECT_DOUBLE_EQ(back.RowHeights[1], 7.3);
  EXPECT_DOUBLE_EQ(back.ColWidths[0], 15);
  // A row inserted elsewhere starts unknown: its pixels decide, not the 9.1 mm of the row
  // deleted last (5 pixels at this zoom, as 9.1 mm would be).
  ASSERT_TRUE(g.DeleteRow(3));
  ASSERT_EQ(g.InsertRow(1), 1);
  g.SetRowHeight(1, 5);
  EXPECT_DOUBLE_EQ(TakeTableFromGrid(g, 0.1, TextHeights::kExact, &mm).RowHeights[0], 10);
}

}  // namespace
}  // namespace vex
