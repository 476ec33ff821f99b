#include "model/grid_view.h"

#include <algorithm>

namespace vex {
namespace {

// The scroll that shows [start, end) of an axis whose scrolled part begins at `fixed` and
// whose window is `size` long.
std::int64_t ScrollToShow(std::int64_t scroll, std::int64_t start, std::int64_t end, std::int64_t fixed,
                          std::int64_t size, std::int64_t maxScroll) {
  const std::int64_t shown = std::max<std::int64_t>(size - fixed, 0);
  if (end - scroll > fixed + shown) scroll = end - fixed - shown;
  if (start - scroll < fixed) scroll = start - fixed;
  return std::clamp<std::int64_t>(scroll, 0, std::max<std::int64_t>(maxScroll, 0));
}

}  // namespace

std::int64_t FixedWidth(const GridModel& grid) { return grid.Columns().Offset(grid.FixedColumnCount()); }
std::int64_t FixedHeight(const GridModel& grid) { return grid.Rows().Offset(grid.FixedRowCount()); }

std::int64_t ColumnLeft(const GridModel& grid, const GridViewport& view, int col) {
  return grid.Columns().Offset(col) - (grid.IsFixedColumn(col) ? 0 : view.scrollX);
}

std::int64_t RowTop(const GridModel& grid, const GridViewport& view, int row) {
  return grid.Rows().Offset(row) - (grid.IsFixedRow(row) ? 0 : view.scrollY);
}

WindowRect CellRect(const GridModel& grid, const GridViewport& view, int row, int col) {
  const std::int64_t x = ColumnLeft(grid, view, col), y = RowTop(grid, view, row);
  return {x, y, x + std::max(grid.ColumnWidth(col), 0), y + std::max(grid.RowHeight(row), 0)};
}

WindowRect BlockWindowRect(const GridModel& grid, const GridViewport& view, int row, int col) {
  const CellRange b = grid.BlockOf(row, col);
  if (!b.IsValid()) return {};
  const std::int64_t x = ColumnLeft(grid, view, b.minCol), y = RowTop(grid, view, b.minRow);
  return {x, y, x + grid.Columns().Span(b.minCol, b.maxCol), y + grid.Rows().Span(b.minRow, b.maxRow)};
}

std::int64_t ContentX(const GridModel& grid, const GridViewport& view, int x) {
  return x < FixedWidth(grid) ? x : x + view.scrollX;
}

std::int64_t ContentY(const GridModel& grid, const GridViewport& view, int y) {
  return y < FixedHeight(grid) ? y : y + view.scrollY;
}

CellPos CellAtPoint(const GridModel& grid, const GridViewport& view, int x, int y) {
  int col = grid.Columns().IndexAt(ContentX(grid, view, x));
  int row = grid.Rows().IndexAt(ContentY(grid, view, y));
  if (col >= grid.ColumnCount()) col = -1;
  if (row >= grid.RowCount()) row = -1;
  return {row, col};
}

VisibleCells VisibleBody(const GridModel& grid, const GridViewport& view) {
  VisibleCells v;
  const auto range = [](const GridAxis& axis, int fixed, std::int64_t fixedSize, std::int64_t scroll, int size,
                        int& first, int& last) {
    first = fixed;
    last = fixed - 1;
    if (size <= fixedSize || fixed >= axis.Count()) return;
    first = std::max(axis.IndexAt(fixedSize + scroll), fixed);
    last = std::min(axis.IndexAt(scroll + size - 1), axis.Count() - 1);
  };
  range(grid.Rows(), grid.FixedRowCount(), FixedHeight(grid), view.scrollY, view.height, v.firstRow, v.lastRow);
  range(grid.Columns(), grid.FixedColumnCount(), FixedWidth(grid), view.scrollX, view.width, v.firstCol, v.lastCol);
  return v;
}

std::int64_t MaxScrollX(const GridModel& grid, const GridViewport& view) {
  return std::max<std::int64_t>(grid.Columns().Total() - view.width, 0);
}

std::int64_t MaxScrollY(const GridModel& grid, const GridViewport& view) {
  return std::max<std::int64_t>(grid.Rows().Total() - view.height, 0);
}

GridViewport ScrolledToShow(const GridModel& grid, GridViewport view, CellPos cell) {
  const CellRange b = grid.BlockOf(cell.row, cell.col);
  if (!b.IsValid()) return view;
  if (!grid.IsFixedColumn(b.minCol))
    view.scrollX = ScrollToShow(view.scrollX, grid.Columns().Offset(b.minCol), grid.Columns().Offset(b.maxCol + 1),
                                FixedWidth(grid), view.width, MaxScrollX(grid, view));
  if (!grid.IsFixedRow(b.minRow))
    view.scrollY = ScrollToShow(view.scrollY, grid.Rows().Offset(b.minRow), grid.Rows().Offset(b.maxRow + 1),
                                FixedHeight(grid), view.height, MaxScrollY(grid, view));
  return view;
}

}  // namespace vex
