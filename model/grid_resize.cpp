#include "model/grid_resize.h"

#include <algorithm>
#include <limits>

namespace vex {
namespace {

struct Along {
  const GridAxis& axis;   // the axis whose boundaries are dragged
  bool columns;
  int LineCount(const GridModel& g) const { return columns ? g.ColumnCount() : g.RowCount(); }
  // The block holding cell `i` on line `other` of the crossing axis.
  CellRange Block(const GridModel& g, int other, int i) const {
    return columns ? g.BlockOf(other, i) : g.BlockOf(i, other);
  }
  int First(const CellRange& b) const { return columns ? b.minCol : b.minRow; }
  int Last(const CellRange& b) const { return columns ? b.maxCol : b.maxRow; }
};

int BoundaryAt(const GridModel& grid, const Along& a, int other, std::int64_t pos, int capture) {
  const int count = a.LineCount(grid);
  if (count == 0 || pos < 0) return -1;
  const int i = a.axis.IndexAt(pos);
  if (i >= count) return pos - a.axis.Total() < capture ? count - 1 : -1;
  const CellRange block = a.Block(grid, other, i);
  if (!block.IsValid()) return -1;
  const std::int64_t start = a.axis.Offset(a.First(block));
  const std::int64_t end = a.axis.Offset(a.Last(block) + 1);
  if (end - pos < capture) return a.Last(block);
  if (pos - start < capture && a.First(block) > 0) return a.First(block) - 1;
  return -1;
}

int Drag(GridModel& grid, const Along& a, CellPos start, std::int64_t pos) {
  if (!grid.IsValid(start.row, start.col)) return -1;
  const CellRange block = grid.BlockOf(start.row, start.col);
  const int first = a.First(block), last = a.Last(block);
  const std::int64_t whole = std::max<std::int64_t>(pos - a.axis.Offset(first), 0);
  const std::int64_t own = std::max<std::int64_t>(whole - a.axis.Span(first + 1, last), 0);
  const int size = static_cast<int>(std::min<std::int64_t>(own, std::numeric_limits<int>::max()));
  if (a.columns) grid.SetColumnWidth(first, size);
  else grid.SetRowHeight(first, size);
  return first;
}

}  // namespace

int ColumnBoundaryAt(const GridModel& grid, int row, std::int64_t x, int capture) {
  return BoundaryAt(grid, {grid.Columns(), true}, row, x, capture);
}

int RowBoundaryAt(const GridModel& grid, int col, std::int64_t y, int capture) {
  return BoundaryAt(grid, {grid.Rows(), false}, col, y, capture);
}

int ResizeColumnByDrag(GridModel& grid, CellPos start, std::int64_t x) {
  return Drag(grid, {grid.Columns(), true}, start, x);
}

int ResizeRowByDrag(GridModel& grid, CellPos start, std::int64_t y) {
  return Drag(grid, {grid.Rows(), false}, start, y);
}

}  // namespace vex
