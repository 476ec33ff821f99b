#pragma once
// Keyboard movement of the focus cell and the selection it extends. Hidden rows and columns
// are skipped; a merged block is one stop, reached at its owner.

#include "model/grid_model.h"

namespace vex {

enum class GridMove {
  kUp,
  kDown,
  kLeft,
  kRight,
  kPageUp,    // by `pageRows` rows
  kPageDown,
  kHome,      // first column of the row
  kEnd,       // last column of the row
  kFirstCell, // first row, first column
  kLastCell,  // last row, last column
  kNext,      // right, wrapping to the first column of the next row (Tab)
  kPrevious,  // left, wrapping to the last column of the previous row (Shift+Tab)
};

// The focus after a move among the ordinary cells; the focus itself when there is nowhere to
// go, the first ordinary cell when there is no focus yet. Invalid when the grid has no
// ordinary cell that is shown.
CellPos MoveFocus(const GridModel& grid, CellPos focus, GridMove move, int pageRows);

// The selection from `start` to `focus`, grown to whole merged blocks.
CellRange SelectionBetween(const GridModel& grid, CellPos start, CellPos focus);

}  // namespace vex
