// The editor's header commands on a grid without a window: where each header type goes and
// what the selection saved as a header holds.

#include "model/header_insert.h"

#include <gtest/gtest.h>

#include "model/editor_units.h"
#include "model/grid_from_table.h"
#include "model/grid_to_table.h"
#include "support/tables.h"

namespace vex {
namespace {

constexpr double kStyle = 3.5;

// A grid showing a table of rows x cols named cells, 10 x 30 mm, at `zoom`.
GridModel Grid(int rows, int cols, double zoom = 1.0) {
  GridModel g;
  EXPECT_TRUE(LoadTableIntoGrid(g, test::NamedTable(rows, cols), zoom, kStyle));
  return g;
}

// A 2 x 3 header with its own sizes, texts "h<i><j>" and its first row merged.
TableData Header() {
  TableData h = test::UniformTable(2, 3, 7, 11);
  h.RowHeights = {7, 9};
  h.ColWidths = {11, 12, 13};
  for (int i = 0; i < 2; ++i)
    for (int j = 0; j < 3; ++j) {
      TableCell c = h.GetCell(i, j);
      c.strText = "h" + std::to_string(i) + std::to_string(j);
      c.dHeight = 5;
      h.SetCell(i, j, c);
    }
  h.MergeRows.push_back({0, 0, 2});
  h.Normalize();
  return h;
}

TEST(InsertHeader, VerticalHeaderInsertsItsRowsAndWidensTheGrid) {
  GridModel g = Grid(3, 2, 1.5);  // grid rows 0..3, columns 0..2
  const CellRange w = InsertHeaderIntoGrid(g, Header(), 0, {2, 1}, 1.5, kStyle);
  EXPECT_EQ(w, (CellRange{2, 1, 3, 3}));
  EXPECT_EQ(g.RowCount(), 6);
  EXPECT_EQ(g.ColumnCount(), 4);  // appended until col + 3 columns
  EXPECT_EQ(g.Text(2, 1), "h00");
  EXPECT_EQ(g.Text(3, 3), "h12");
  EXPECT_EQ(g.Text(1, 1), "r0c0");
  EXPECT_EQ(g.Text(4, 1), "r1c0");  // the old second row moved down by two
  EXPECT_EQ(g.BlockOf(2, 1), (CellRange{2, 1, 2, 3}));
  EXPECT_EQ(g.RowHeight(3), MmToPixels(9, 1.5));
  EXPECT_EQ(g.ColumnWidth(3), MmToPixels(13, 1.5));
  EXPECT_EQ(g.FontHeight(3, 2), TextFontPixels(5, 1.5));
  // The headers count the new rows.
  EXPECT_EQ(g.Text(5, 0), "5");
  EXPECT_EQ(g.Text(0, 3), "3");
  // Cells of the inserted rows outside the header are empty and centred.
  EXPECT_EQ(g.Text(4, 3), "");
}

TEST(InsertHeader, HorizontalHeaderIntoALargeGridAppendsNoRows) {
  GridModel g = Grid(5, 2);
  const CellRange w = InsertHeaderIntoGrid(g, Header(), 1, {1, 2}, 1.0, kStyle);
  EXPECT_EQ(w, (CellRange{1, 2, 2, 4}));
  EXPECT_EQ(g.RowCount(), 6);
  EXPECT_EQ(g.ColumnCount(), 6);
  EXPECT_EQ(g.Text(1, 1), "r0c0");
  EXPECT_EQ(g.Text(1, 5), "r0c1");  // moved right by three
  EXPECT_EQ(g.Text(2, 4), "h12");
}

TEST(InsertHeader, HorizontalHeaderAtTheBottomAppendsRows) {
  GridModel g = Grid(2, 2);
  InsertHeaderIntoGrid(g, Header(), 1, {2, 1}, 1.0, kStyle);
  EXPECT_EQ(g.RowCount(), 4);  // row 2 + two header rows
  EXPECT_EQ(g.Text(3, 3), "h12");
}

TEST(InsertHeader, FullHeaderAndBlankTableInsertBoth) {
  for (int type : {2, -1}) {
    GridModel g = Grid(2, 2);
    const CellRange w = InsertHeaderIntoGrid(g, Header(), type, {0, 0}, 1.0, kStyle);  // a corner in the headers
    EXPECT_EQ(w, (CellRange{1, 1, 2, 3})) << type;
    EXPECT_EQ(g.RowCount(), 5) << type;
    EXPECT_EQ(g.ColumnCount(), 6) << type;
    EXPECT_EQ(g.Text(3, 4), "r0c0") << type;
  }
}

TEST(InsertHeader, EmptyHeaderChangesNothing) {
  GridModel g = Grid(2, 2);
  EXPECT_FALSE(InsertHeaderIntoGrid(g, TableData{}, 0, {1, 1}, 1.0, kStyle).IsValid());
  EXPECT_EQ(g.RowCount(), 3);
}

TEST(SelectionAsHeader, TakesMillimetresAndTextsOfTheWholeTable) {
  TableData t = test::NamedTable(3, 3, 10, 30);
  t.RowHeights = {10, 12.5, 14};
  t.MergeCols.push_back({1, 0, 2});  // column 1 merged over all rows
  t.Normalize();
  GridModel g;
  ASSERT_TRUE(LoadTableIntoGrid(g, t, 1.5, kStyle));
  TableData whole = TakeTableFromGrid(g, 1.5, TextHeights::kExact);
  whole.RowHeights = {10, 12.5, 14};  // as the editor remembers them
  whole.rows[1].cells[2].strText = "%%c";  // after the forward replacement
  const TableData sel = SelectionAsTable(g, CellRange{0, 2, 2, 3}, whole);  // a corner in the headers
  ASSERT_EQ(sel.nRows, 2);
  ASSERT_EQ(sel.nCols, 2);
  EXPECT_EQ(sel.RowHeights, (std::vector<double>{10, 12.5}));
  EXPECT_EQ(sel.ColWidths, (std::vector<double>{30, 30}));
  EXPECT_EQ(sel.GetCell(0, 0).strText, "r0c1");
  EXPECT_EQ(sel.GetCell(1, 1).strText, "%%c");
  EXPECT_EQ(sel.GetCell(0, 1).dHeight, whole.GetCell(0, 2).dHeight);
  // The merged column is cut to the selection.
  ASSERT_EQ(sel.MergeCols.size(), 1u);
  EXPECT_EQ(sel.MergeCols[0].nPlace, 0);
  EXPECT_EQ(sel.MergeCols[0].nStart, 0);
  EXPECT_EQ(sel.MergeCols[0].nEnd, 1);
  EXPECT_FALSE(SelectionAsTable(g, CellRange{}, whole).nRows > 0);
}

}  // namespace
}  // namespace vex
