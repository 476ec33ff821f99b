#include "model/grid_to_table.h"

#include <cmath>

#include "model/alignment.h"
#include "model/editor_units.h"
#include "model/grid_from_table.h"
#include "model/grid_millimetres.h"
#include "model/grid_table_clipboard.h"
#include "model/merge_blocks.h"

namespace vex {

TableData TakeTableFromGrid(const GridModel& grid, double zoom, TextHeights heights, const GridMillimetres* remembered) {
  TableData t;
  zoom = ClampZoom(zoom);
  if (grid.RowCount() < 1 || grid.ColumnCount() < 1) return t;
  t.nRows = grid.RowCount() - 1;
  t.nCols = grid.ColumnCount() - 1;
  t.RowHeights.reserve(static_cast<std::size_t>(t.nRows));
  t.ColWidths.reserve(static_cast<std::size_t>(t.nCols));
  for (int r = 1; r <= t.nRows; ++r)
    t.RowHeights.push_back(remembered ? remembered->RowHeight(r, zoom) : PixelsToMm(grid.RowHeight(r), zoom));
  for (int c = 1; c <= t.nCols; ++c)
    t.ColWidths.push_back(remembered ? remembered->ColumnWidth(c, zoom) : PixelsToMm(grid.ColumnWidth(c), zoom));

  std::vector<MergeBlock> blocks;
  for (const CellRange& b : grid.Blocks())
    if (b.minRow >= 1 && b.minCol >= 1) blocks.push_back({b.minRow - 1, b.minCol - 1, b.maxRow - 1, b.maxCol - 1});
  AppendMergeSpans(t, std::move(blocks));

  t.rows.resize(static_cast<std::size_t>(t.nRows));
  for (int r = 1; r <= t.nRows; ++r) {
    std::vector<TableCell>& cells = t.rows[static_cast<std::size_t>(r - 1)].cells;
    cells.resize(static_cast<std::size_t>(t.nCols));
    for (int c = 1; c <= t.nCols; ++c) {
      TableCell& cell = cells[static_cast<std::size_t>(c - 1)];
      cell.strText = grid.Text(r, c);
      const Alignment a = AlignmentFromFlags(grid.Format(r, c));
      cell.HorzMode = a.HorzMode;
      cell.VertMode = a.VertMode;
      if (remembered) {
        const double h = remembered->TextHeight(r, c, zoom);
        cell.dHeight = heights == TextHeights::kRounded ? std::trunc(2 * h + 0.5) * 0.5 : h;
      } else {
        const int font = grid.EffectiveFontHeight(r, c);
        cell.dHeight = heights == TextHeights::kRounded ? RoundedTextHeight(font, zoom) : PixelsToMm(font, zoom);
      }
      cell.nType = grid.Kind(r, c);
      if (const CellImage* p = grid.Picture(r, c)) {
        cell.dScael = p->dScael;
        cell.sBlockName = p->sBlockName;
        cell.picture = p->images;
      }
    }
  }
  return t;
}

bool LoadBlankTableIntoGrid(GridModel& grid, int rows, int cols, double rowHeightMm, double colWidthMm,
                            double zoom, double styleHeightMm) {
  zoom = ClampZoom(zoom);
  grid.DeleteAllItems();
  if (rows < 0 || cols < 0 || !grid.SetRowCount(rows + 1) || !grid.SetColumnCount(cols + 1)) {
    grid.DeleteAllItems();
    return false;
  }
  grid.SetFixedRowCount(1);
  grid.SetFixedColumnCount(1);
  FillGridHeaders(grid, zoom, styleHeightMm);
  const int height = MmToPixelsTruncated(rowHeightMm, zoom), width = MmToPixelsTruncated(colWidthMm, zoom);
  for (int r = 1; r <= rows; ++r) grid.SetRowHeight(r, height);
  for (int c = 1; c <= cols; ++c) grid.SetColumnWidth(c, width);
  const int font = StyleFontPixels(zoom, styleHeightMm);
  for (int r = 1; r <= rows; ++r)
    for (int c = 1; c <= cols; ++c) {
      grid.SetFormat(r, c, FormatOfModes(1, 1));
      grid.SetFontHeight(r, c, font);
    }
  return true;
}

}  // namespace vex
