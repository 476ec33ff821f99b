#pragma once
// Cell positions and rectangles of the grid control, in grid indices: row 0 and column 0 are
// the fixed headers when the editor shows a table, table row r is grid row r + 1.

#include <algorithm>

namespace vex {

// A cell position; -1, -1 when there is none.
struct CellPos {
  int row = -1;
  int col = -1;
  bool IsValid() const { return row >= 0 && col >= 0; }
  bool operator==(const CellPos&) const = default;
};

// A rectangle of cells, inclusive on both ends; all -1 when empty.
struct CellRange {
  int minRow = -1;
  int minCol = -1;
  int maxRow = -1;
  int maxCol = -1;

  // The rectangle spanned by two corners given in any order.
  static CellRange Spanning(CellPos a, CellPos b) {
    return {std::min(a.row, b.row), std::min(a.col, b.col), std::max(a.row, b.row), std::max(a.col, b.col)};
  }
  static CellRange Single(CellPos p) { return {p.row, p.col, p.row, p.col}; }

  bool IsValid() const { return minRow >= 0 && minCol >= 0 && maxRow >= minRow && maxCol >= minCol; }
  bool Contains(int row, int col) const {
    return row >= minRow && row <= maxRow && col >= minCol && col <= maxCol;
  }
  bool Contains(const CellRange& o) const { return Contains(o.minRow, o.minCol) && Contains(o.maxRow, o.maxCol); }
  bool Intersects(const CellRange& o) const {
    return IsValid() && o.IsValid() && o.minRow <= maxRow && o.maxRow >= minRow && o.minCol <= maxCol &&
           o.maxCol >= minCol;
  }
  // The smallest rectangle holding both; an invalid side is ignored.
  CellRange United(const CellRange& o) const {
    if (!IsValid()) return o;
    if (!o.IsValid()) return *this;
    return {std::min(minRow, o.minRow), std::min(minCol, o.minCol), std::max(maxRow, o.maxRow),
            std::max(maxCol, o.maxCol)};
  }
  // The common part; invalid when there is none.
  CellRange Intersected(const CellRange& o) const {
    if (!Intersects(o)) return {};
    return {std::max(minRow, o.minRow), std::max(minCol, o.minCol), std::min(maxRow, o.maxRow),
            std::min(maxCol, o.maxCol)};
  }
  CellPos TopLeft() const { return {minRow, minCol}; }
  int RowSpan() const { return IsValid() ? maxRow - minRow + 1 : 0; }
  int ColSpan() const { return IsValid() ? maxCol - minCol + 1 : 0; }
  bool IsSingleCell() const { return IsValid() && minRow == maxRow && minCol == maxCol; }
  bool operator==(const CellRange&) const = default;
};

}  // namespace vex
