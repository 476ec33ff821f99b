#include "model/grid_from_table.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "model/grid_table_clipboard.h"
#include "model/merge_blocks.h"

namespace vex {

void FillGridHeaders(GridModel& grid, double zoom, double styleHeightMm) {
  if (grid.RowCount() == 0 || grid.ColumnCount() == 0) return;
  const int font = StyleFontPixels(zoom, styleHeightMm);
  grid.SetRowHeight(0, HeaderRowHeight(zoom, styleHeightMm));
  grid.SetColumnWidth(0, HeaderColumnWidth(zoom));
  const auto header = [&](int r, int c, int number) {
    grid.SetText(r, c, number > 0 ? std::to_string(number) : std::string());
    grid.SetFormat(r, c, 37);
    grid.SetFontHeight(r, c, font);
  };
  header(0, 0, 0);
  for (int c = 1; c < grid.ColumnCount(); ++c) header(0, c, c);
  for (int r = 1; r < grid.RowCount(); ++r) header(r, 0, r);
}

bool LoadTableIntoGrid(GridModel& grid, TableData table, double zoom, double styleHeightMm) {
  zoom = ClampZoom(zoom);
  grid.DeleteAllItems();
  // Checked before normalising, which would build every row of an oversized table.
  const std::int64_t cells = (std::int64_t(table.nRows) + 1) * (std::int64_t(table.nCols) + 1);
  if (table.nRows < 0 || table.nCols < 0 || cells > GridModel::kMaxCells) return false;
  table.Normalize();
  if (!grid.SetRowCount(table.nRows + 1) || !grid.SetColumnCount(table.nCols + 1)) {
    grid.DeleteAllItems();
    return false;
  }
  grid.SetFixedRowCount(1);
  grid.SetFixedColumnCount(1);
  FillGridHeaders(grid, zoom, styleHeightMm);
  for (int r = 0; r < table.nRows; ++r) grid.SetRowHeight(r + 1, MmToPixels(table.RowHeights[r], zoom));
  for (int c = 0; c < table.nCols; ++c) grid.SetColumnWidth(c + 1, MmToPixels(table.ColWidths[c], zoom));
  for (const MergeBlock& b : MergeBlocksFromSpans(table)) grid.Merge({b.row0 + 1, b.col0 + 1, b.row1 + 1, b.col1 + 1});

  const int styleFont = StyleFontPixels(zoom, styleHeightMm);
  for (int r = 0; r < table.nRows; ++r)
    for (int c = 0; c < table.nCols; ++c) {
      TableCell& cell = table.rows[r].cells[c];
      const int row = r + 1, col = c + 1;
      if (cell.nType == kImageCell) {
        grid.SetKind(row, col, kImageCell);
        grid.SetFormat(row, col, FormatOfModes(cell.HorzMode, cell.VertMode));
        CellImage picture;
        picture.HorzMode = cell.HorzMode;
        picture.VertMode = cell.VertMode;
        picture.dScael = cell.dScael;
        picture.sBlockName = std::move(cell.sBlockName);
        picture.images = std::move(cell.picture);
        grid.SetPicture(row, col, std::move(picture));
        grid.SetFontHeight(row, col, styleFont);
      } else if (!cell.strText.empty()) {
        grid.SetText(row, col, std::move(cell.strText));
        grid.SetFormat(row, col, FormatOfModes(cell.HorzMode, cell.VertMode));
        grid.SetFontHeight(row, col, TextFontPixels(cell.dHeight, zoom));
      } else {
        grid.SetFormat(row, col, FormatOfModes(1, 1));
        grid.SetFontHeight(row, col, styleFont);
      }
    }
  return true;
}

}  // namespace vex
