#pragma once
// Resizing rows and columns with the mouse: which boundary lies under the pointer, and the
// sizes a drag gives. A boundary inside a merged block is never offered, and a drag on a
// block's edge sizes the block as a whole.

#include <cstdint>

#include "model/grid_model.h"

namespace vex {

// The pointer's distance from a boundary within which the boundary can be dragged.
inline constexpr int kResizeCaptureRange = 3;

// The column whose right edge lies within `capture` pixels of `x` on row `row` (x measured
// from the left edge of column 0); -1 when there is none. Near the left edge of a cell the
// boundary is that of the column before it, a hidden one included, so that a hidden column
// can be dragged open again.
int ColumnBoundaryAt(const GridModel& grid, int row, std::int64_t x, int capture = kResizeCaptureRange);
// The same for rows, with `y` measured from the top of row 0.
int RowBoundaryAt(const GridModel& grid, int col, std::int64_t y, int capture = kResizeCaptureRange);

// Ends a column drag that began on the boundary right of cell `start`: when the cell is in a
// merged block the block stands for it; the block's new width is `x` minus its left edge
// (never below 0), and its first column takes that width less the widths of its other
// columns. Returns the column resized, -1 when `start` is not a cell.
int ResizeColumnByDrag(GridModel& grid, CellPos start, std::int64_t x);
// Rows likewise with heights.
int ResizeRowByDrag(GridModel& grid, CellPos start, std::int64_t y);

}  // namespace vex
