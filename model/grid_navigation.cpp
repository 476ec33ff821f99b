#include "model/grid_navigation.h"

#include <algorithm>

namespace vex {
namespace {

// The nearest shown index from `i` in direction `step` (+1 or -1) within [first, last];
// -1 when there is none.
int Shown(const GridAxis& axis, int i, int step, int first, int last) {
  for (; i >= first && i <= last; i += step)
    if (!axis.IsHidden(i)) return i;
  return -1;
}

}  // namespace

CellPos MoveFocus(const GridModel& grid, CellPos focus, GridMove move, int pageRows) {
  const CellRange body = grid.BodyRange();
  if (!body.IsValid()) return {};
  const GridAxis& rows = grid.Rows();
  const GridAxis& cols = grid.Columns();
  const int firstRow = Shown(rows, body.minRow, 1, body.minRow, body.maxRow);
  const int lastRow = Shown(rows, body.maxRow, -1, body.minRow, body.maxRow);
  const int firstCol = Shown(cols, body.minCol, 1, body.minCol, body.maxCol);
  const int lastCol = Shown(cols, body.maxCol, -1, body.minCol, body.maxCol);
  if (firstRow < 0 || firstCol < 0) return {};
  if (!body.Contains(focus.row, focus.col)) return grid.OwnerOf(firstRow, firstCol);

  const CellRange block = grid.BlockOf(focus.row, focus.col);
  const auto at = [&](int r, int c) { return r < 0 || c < 0 ? focus : grid.OwnerOf(r, c); };
  pageRows = std::max(pageRows, 1);
  switch (move) {
    case GridMove::kUp: return at(Shown(rows, block.minRow - 1, -1, firstRow, lastRow), focus.col);
    case GridMove::kDown: return at(Shown(rows, block.maxRow + 1, 1, firstRow, lastRow), focus.col);
    case GridMove::kLeft: return at(focus.row, Shown(cols, block.minCol - 1, -1, firstCol, lastCol));
    case GridMove::kRight: return at(focus.row, Shown(cols, block.maxCol + 1, 1, firstCol, lastCol));
    case GridMove::kPageUp: {
      const int r = Shown(rows, std::max(focus.row - pageRows, firstRow), 1, firstRow, lastRow);
      return at(r, focus.col);
    }
    case GridMove::kPageDown: {
      const int r = Shown(rows, std::min(focus.row + pageRows, lastRow), -1, firstRow, lastRow);
      return at(r, focus.col);
    }
    case GridMove::kHome: return at(focus.row, firstCol);
    case GridMove::kEnd: return at(focus.row, lastCol);
    case GridMove::kFirstCell: return at(firstRow, firstCol);
    case GridMove::kLastCell: return at(lastRow, lastCol);
    case GridMove::kNext: {
      if (const int c = Shown(cols, block.maxCol + 1, 1, firstCol, lastCol); c >= 0) return at(focus.row, c);
      // Wrap into the following rows; a block that also fills them is passed over.
      for (int r = Shown(rows, focus.row + 1, 1, firstRow, lastRow); r >= 0; r = Shown(rows, r + 1, 1, firstRow, lastRow))
        if (const CellPos p = at(r, firstCol); p != focus) return p;
      return focus;
    }
    case GridMove::kPrevious: {
      if (const int c = Shown(cols, block.minCol - 1, -1, firstCol, lastCol); c >= 0) return at(focus.row, c);
      for (int r = Shown(rows, focus.row - 1, -1, firstRow, lastRow); r >= 0; r = Shown(rows, r - 1, -1, firstRow, lastRow))
        if (const CellPos p = at(r, lastCol); p != focus) return p;
      return focus;
    }
  }
  return focus;
}

CellRange SelectionBetween(const GridModel& grid, CellPos start, CellPos focus) {
  if (!grid.IsValid(start.row, start.col)) start = focus;
  return grid.ExpandToBlocks(CellRange::Spanning(start, focus));
}

}  // namespace vex
