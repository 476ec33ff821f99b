#include "model/grid_table_clipboard.h"

#include <algorithm>
#include <cmath>

#include "model/alignment.h"
#include "model/merge_blocks.h"

namespace vex {
namespace {

// A corner index outside [first, last] becomes `first`.
int InsideOrFirst(int index, int first, int last) { return index < first || index > last ? first : index; }

void WriteCell(GridModel& grid, int row, int col, const TableCell& cell, int styleFontHeight) {
  const bool image = cell.nType == kImageCell;
  grid.SetKind(row, col, image ? kImageCell : kTextCell);
  if (image) {
    CellImage picture;
    picture.HorzMode = cell.HorzMode;
    picture.VertMode = cell.VertMode;
    picture.dScael = cell.dScael;
    picture.sBlockName = cell.sBlockName;
    picture.images = cell.picture;
    grid.SetFormat(row, col, FormatOfModes(cell.HorzMode, cell.VertMode));
    grid.SetPicture(row, col, std::move(picture));
    grid.SetFontHeight(row, col, styleFontHeight);
    return;
  }
  grid.ClearPicture(row, col);
  if (!cell.strText.empty()) {
    grid.SetText(row, col, cell.strText);
    grid.SetFormat(row, col, FormatOfModes(cell.HorzMode, cell.VertMode));
    grid.SetFontHeight(row, col, PastedFontHeight(cell.dHeight));
  } else {
    grid.SetText(row, col, std::string());
    grid.SetFormat(row, col, FormatOfModes(1, 1));
    grid.SetFontHeight(row, col, styleFontHeight);
  }
}

}  // namespace

int PastedFontHeight(double heightMm) {
  if (!(heightMm > 0)) return 0;
  const double px = 2.5 * std::round(2.0 * std::min(heightMm, 1e6));
  return static_cast<int>(std::min(std::round(px), 32767.0));
}

int FormatOfModes(int horzMode, int vertMode) {
  const auto inRange = [](int m) { return m >= 0 && m <= 2; };
  return inRange(horzMode) && inRange(vertMode) ? AlignmentToFlags(horzMode, vertMode) : AlignmentToFlags(1, 1);
}

TableData GridToTable(const GridModel& grid, CellRange range) {
  TableData t;
  const CellRange body = grid.BodyRange();
  if (!body.IsValid()) return t;
  range.minRow = InsideOrFirst(range.minRow, body.minRow, body.maxRow);
  range.maxRow = InsideOrFirst(range.maxRow, body.minRow, body.maxRow);
  range.minCol = InsideOrFirst(range.minCol, body.minCol, body.maxCol);
  range.maxCol = InsideOrFirst(range.maxCol, body.minCol, body.maxCol);
  if (!range.IsValid()) return t;

  t.nRows = range.RowSpan();
  t.nCols = range.ColSpan();
  for (int r = range.minRow; r <= range.maxRow; ++r) t.RowHeights.push_back(grid.RowHeight(r) * 0.2);
  for (int c = range.minCol; c <= range.maxCol; ++c) t.ColWidths.push_back(grid.ColumnWidth(c) * 0.2);

  std::vector<MergeBlock> blocks;
  for (const CellRange& b : grid.Blocks()) {
    if (!range.Contains(b.minRow, b.minCol)) continue;
    const CellRange cut = b.Intersected(range);
    blocks.push_back({cut.minRow - range.minRow, cut.minCol - range.minCol, cut.maxRow - range.minRow,
                      cut.maxCol - range.minCol});
  }
  AppendMergeSpans(t, std::move(blocks));

  t.rows.reserve(static_cast<std::size_t>(t.nRows));
  for (int r = range.minRow; r <= range.maxRow; ++r) {
    TableRow row;
    row.cells.reserve(static_cast<std::size_t>(t.nCols));
    for (int c = range.minCol; c <= range.maxCol; ++c) {
      TableCell cell;
      cell.strText = grid.Text(r, c);
      const Alignment a = AlignmentFromFlags(grid.Format(r, c));
      cell.HorzMode = a.HorzMode;
      cell.VertMode = a.VertMode;
      cell.dHeight = grid.EffectiveFontHeight(r, c) * 0.2;
      cell.nType = grid.Kind(r, c);
      if (const CellImage* p = grid.Picture(r, c)) {
        cell.dScael = p->dScael;
        cell.sBlockName = p->sBlockName;
        cell.picture = p->images;
      }
      row.cells.push_back(std::move(cell));
    }
    t.rows.push_back(std::move(row));
  }
  return t;
}

CellRange PasteTableIntoGrid(GridModel& grid, const TableData& table, CellPos topLeft, int styleFontHeight) {
  const CellRange body = grid.BodyRange();
  if (!body.IsValid()) return {};
  const int top = InsideOrFirst(topLeft.row, body.minRow, body.maxRow);
  const int left = InsideOrFirst(topLeft.col, body.minCol, body.maxCol);
  const int rows = std::min(table.nRows, body.maxRow - top + 1);
  const int cols = std::min(table.nCols, body.maxCol - left + 1);
  if (rows <= 0 || cols <= 0) return {};
  const CellRange target{top, left, top + rows - 1, left + cols - 1};

  grid.Unmerge(target);
  for (const MergeBlock& b : MergeBlocksFromSpans(table)) {
    if (b.row0 < 0 || b.col0 < 0 || b.row0 > b.row1 || b.col0 > b.col1 || b.row0 >= rows || b.col0 >= cols)
      continue;
    const CellRange shifted{top + b.row0, left + b.col0, top + std::min(b.row1, rows), left + std::min(b.col1, cols)};
    grid.Merge(shifted.Intersected(target));
  }

  const TableCell padding = TableCell::Default();
  for (int i = 0; i < rows; ++i) {
    const auto* cells = static_cast<std::size_t>(i) < table.rows.size() ? &table.rows[static_cast<std::size_t>(i)].cells
                                                                       : nullptr;
    for (int j = 0; j < cols; ++j) {
      const bool present = cells && static_cast<std::size_t>(j) < cells->size();
      WriteCell(grid, top + i, left + j, present ? (*cells)[static_cast<std::size_t>(j)] : padding, styleFontHeight);
    }
  }
  return target;
}

}  // namespace vex
