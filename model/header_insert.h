#pragma once
// The editor's header commands on the grid, without the window: a header's table inserted at
// a cell as its type says, and the selected cells taken as a table to be saved as a header.

#include "model/grid_model.h"
#include "model/table_data.h"

namespace vex {

// Inserts `header` (a normalised table, texts as the grid shows them) at grid cell `at` (a
// row or column in the headers counts as 1) as PlaceHeader plans it for `titleROrC`: the rows
// and columns it needs are inserted or appended (their other cells empty and centred at the
// style's text height), the target rectangle is unmerged and takes the header's row heights,
// column widths, merges and cells at `zoom`, and the grid's header row and column are filled
// again. Returns the rectangle written; invalid when nothing was (an empty header, or a grid
// that cannot grow).
CellRange InsertHeaderIntoGrid(GridModel& grid, const TableData& header, int titleROrC, CellPos at, double zoom,
                               double styleHeightMm);

// The selected rectangle of the grid as a table: a corner in the grid's headers is replaced by
// the first ordinary row or column; blocks are cut to the rectangle. Sizes, texts and text
// heights are those of `whole`, the grid's whole table as the editor takes it (millimetres at
// its zoom, texts through the output text replacement); kinds, alignment and pictures come
// from the grid. Normalised; empty for an invalid range.
TableData SelectionAsTable(const GridModel& grid, CellRange range, const TableData& whole);

}  // namespace vex
