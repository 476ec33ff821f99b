#pragma once
// Where the grid's cells lie in its window: fixed rows and columns stay at the top and left,
// the ordinary cells scroll under them by whole pixels. The visible cells are found by binary
// search over the prefix sums of heights and widths, so a repaint touches only what it shows.

#include <cstdint>

#include "model/grid_model.h"

namespace vex {

// The window onto the grid: how far the ordinary cells are scrolled and the window's size.
struct GridViewport {
  std::int64_t scrollX = 0;
  std::int64_t scrollY = 0;
  int width = 0;
  int height = 0;
};

// A rectangle in window pixels, right and bottom exclusive.
struct WindowRect {
  std::int64_t left = 0;
  std::int64_t top = 0;
  std::int64_t right = 0;
  std::int64_t bottom = 0;
  bool operator==(const WindowRect&) const = default;
};

// The ordinary rows and columns that show in the window, first..last inclusive; an empty
// side has last < first.
struct VisibleCells {
  int firstRow = 0;
  int lastRow = -1;
  int firstCol = 0;
  int lastCol = -1;
};

// Width of the fixed columns, height of the fixed rows.
std::int64_t FixedWidth(const GridModel& grid);
std::int64_t FixedHeight(const GridModel& grid);

// Window x of column `col`'s left edge (scrolled unless the column is fixed); y of a row.
std::int64_t ColumnLeft(const GridModel& grid, const GridViewport& view, int col);
std::int64_t RowTop(const GridModel& grid, const GridViewport& view, int row);

// The window rectangle of a cell alone, and of the whole block it belongs to (owner scrolled
// out of view or not).
WindowRect CellRect(const GridModel& grid, const GridViewport& view, int row, int col);
WindowRect BlockWindowRect(const GridModel& grid, const GridViewport& view, int row, int col);

// Grid coordinates (from the top-left of row 0 and column 0) of a window point.
std::int64_t ContentX(const GridModel& grid, const GridViewport& view, int x);
std::int64_t ContentY(const GridModel& grid, const GridViewport& view, int y);

// The cell under a window point, headers included; a side is -1 where the point lies outside
// the rows or columns.
CellPos CellAtPoint(const GridModel& grid, const GridViewport& view, int x, int y);

VisibleCells VisibleBody(const GridModel& grid, const GridViewport& view);

// How far the ordinary cells can scroll.
std::int64_t MaxScrollX(const GridModel& grid, const GridViewport& view);
std::int64_t MaxScrollY(const GridModel& grid, const GridViewport& view);

// The viewport scrolled as little as possible for the cell's block to show (its top-left
// first when it is larger than the window).
GridViewport ScrolledToShow(const GridModel& grid, GridViewport view, CellPos cell);

}  // namespace vex
