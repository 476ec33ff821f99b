#pragma once
// The editor's flips as operations on a table: the table mirrored left to right or top to
// bottom, with each merged block's content kept in the block's new top-left cell.

#include "model/table_data.h"

namespace vex {

// Left to right, n = nCols: the widths reversed; for each MergeRows span (row, start, end)
// the cells at start and end of that row swapped, then the span becomes (row, n - end - 1,
// n - start - 1); each MergeCols span (col, start, end) becomes (n - col - 1, start, end);
// finally the cells of every row reversed. The table is normalised first. Mirroring twice
// gives the table back.
void MirrorHorizontally(TableData& table);

// Top to bottom, m = nRows: the heights reversed; for each MergeCols span (col, start, end)
// the cells at rows start and end of that column swapped, then the span becomes (col,
// m - end - 1, m - start - 1); each MergeRows span (row, start, end) becomes (m - row - 1,
// start, end); finally the order of the rows reversed.
void MirrorVertically(TableData& table);

}  // namespace vex
