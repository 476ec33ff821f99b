#pragma once
// Where the editor's insert commands put new rows and columns: rows above or below the
// selected ones with their heights, and the rows and columns a header needs by its type.

#include <vector>

namespace vex {

// One new row (or column): the grid index it is inserted at and its size in pixels.
struct LineInsert {
  int at = 0;
  int size = 0;
  bool operator==(const LineInsert&) const = default;
};

// New rows for a selection of grid rows first..last, `first` below 1 (in the header) counting
// as 1, whose sizes are `sizes[k]` for row max(first, 1) + k: as many rows as are selected,
// inserted in this order; "above" at first, first + 1, ..., "below" at last + 1, last + 2,
// ..., new row k taking the size of selected row k. Columns likewise. Empty for an empty
// selection or when `sizes` does not cover it.
std::vector<LineInsert> PlanLineInsert(int first, int last, bool below, const std::vector<int>& sizes);

// What inserting a header of `headerRows` x `headerCols` at grid cell (row, col) does to a
// grid of `gridRows` x `gridCols` (headers included), by the header's type.
struct HeaderPlacement {
  int row = 1;           // the header's top-left grid cell (a header row or column counts as 1)
  int col = 1;
  int insertRows = 0;    // rows inserted at `row`
  int appendRows = 0;    // rows appended at the end
  int insertCols = 0;    // columns inserted at `col`
  int appendCols = 0;    // columns appended at the end
  bool operator==(const HeaderPlacement&) const = default;
};

// Types of header (TitleROrC): 0 fixes the columns, 1 the rows, 2 both; -1 is a blank table.
// 0: the header's rows are inserted, and columns appended until the grid has col +
// headerCols columns; 1: rows appended until it has row + headerRows rows, and the header's
// columns inserted; 2 and -1 (and any other value): both inserted.
HeaderPlacement PlaceHeader(int titleROrC, int row, int col, int gridRows, int gridCols, int headerRows,
                            int headerCols);

}  // namespace vex
