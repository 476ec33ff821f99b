#include "model/header_insert.h"

#include <algorithm>

#include "model/alignment.h"
#include "model/editor_units.h"
#include "model/grid_from_table.h"
#include "model/grid_table_clipboard.h"
#include "model/line_insert.h"

namespace vex {

namespace {

// Empty centred cells at the style's height across a new row (or column).
void BlankLine(GridModel& grid, bool row, int index, int font) {
  const int count = row ? grid.ColumnCount() : grid.RowCount();
  for (int k = 1; k < count; ++k) {
    const int r = row ? index : k, c = row ? k : index;
    grid.SetFormat(r, c, AlignmentToFlags(1, 1));
    grid.SetFontHeight(r, c, font);
  }
}

// Inserts `count` lines at `at` (-1 appends); false when the grid cannot grow.
bool AddLines(GridModel& grid, bool row, int at, int count, int font) {
  for (int i = 0; i < count; ++i) {
    const int index = row ? grid.InsertRow(at < 0 ? -1 : at + i) : grid.InsertColumn(at < 0 ? -1 : at + i);
    if (index < 0) return false;
    BlankLine(grid, row, index, font);
  }
  return true;
}

}  // namespace

CellRange InsertHeaderIntoGrid(GridModel& grid, const TableData& header, int titleROrC, CellPos at, double zoom,
                               double styleHeightMm) {
  if (header.nRows <= 0 || header.nCols <= 0 || grid.RowCount() < 1 || grid.ColumnCount() < 1) return {};
  zoom = ClampZoom(zoom);
  const int font = StyleFontPixels(zoom, styleHeightMm);
  const HeaderPlacement p = PlaceHeader(titleROrC, std::max(at.row, 1), std::max(at.col, 1), grid.RowCount(),
                                        grid.ColumnCount(), header.nRows, header.nCols);
  const bool grown = AddLines(grid, true, p.row, p.insertRows, font) && AddLines(grid, true, -1, p.appendRows, font) &&
                     AddLines(grid, false, p.col, p.insertCols, font) && AddLines(grid, false, -1, p.appendCols, font);
  FillGridHeaders(grid, zoom, styleHeightMm);
  if (!grown) return {};

  const CellRange written = PasteTableIntoGrid(grid, header, {p.row, p.col}, font);
  if (!written.IsValid()) return {};
  for (int r = written.minRow; r <= written.maxRow; ++r)
    grid.SetRowHeight(r, MmToPixels(header.RowHeights[static_cast<std::size_t>(r - p.row)], zoom));
  for (int c = written.minCol; c <= written.maxCol; ++c)
    grid.SetColumnWidth(c, MmToPixels(header.ColWidths[static_cast<std::size_t>(c - p.col)], zoom));
  // Text heights as loading shows them at the zoom (paste shows them at zoom 1).
  for (int r = written.minRow; r <= written.maxRow; ++r)
    for (int c = written.minCol; c <= written.maxCol; ++c) {
      const TableCell& cell = header.GetCell(r - p.row, c - p.col);
      if (cell.nType != kImageCell && !cell.strText.empty()) grid.SetFontHeight(r, c, TextFontPixels(cell.dHeight, zoom));
    }
  return written;
}

TableData SelectionAsTable(const GridModel& grid, CellRange range, const TableData& whole) {
  if (!range.IsValid()) return {};
  range.minRow = std::max(range.minRow, 1);
  range.minCol = std::max(range.minCol, 1);
  range.maxRow = std::max(range.maxRow, 1);
  range.maxCol = std::max(range.maxCol, 1);
  TableData t = GridToTable(grid, range);
  t.Normalize();
  for (int r = 0; r < t.nRows; ++r) {
    const int wr = range.minRow - 1 + r;
    if (wr < whole.nRows) t.RowHeights[static_cast<std::size_t>(r)] = whole.RowHeights[static_cast<std::size_t>(wr)];
  }
  for (int c = 0; c < t.nCols; ++c) {
    const int wc = range.minCol - 1 + c;
    if (wc < whole.nCols) t.ColWidths[static_cast<std::size_t>(c)] = whole.ColWidths[static_cast<std::size_t>(wc)];
  }
  for (int r = 0; r < t.nRows; ++r)
    for (int c = 0; c < t.nCols; ++c) {
      const int wr = range.minRow - 1 + r, wc = range.minCol - 1 + c;
      if (wr >= whole.nRows || wc >= whole.nCols) continue;
      TableCell& cell = t.rows[static_cast<std::size_t>(r)].cells[static_cast<std::size_t>(c)];
      const TableCell& from = whole.GetCell(wr, wc);
      cell.strText = from.strText;
      cell.dHeight = from.dHeight;
    }
  return t;
}

}  // namespace vex
