#pragma once
// Taking the editor's table back from its grid: the inverse of LoadTableIntoGrid. Grid row 0
// and column 0 are the headers and are left out; sizes become millimetres at the zoom.

#include "model/grid_model.h"
#include "model/table_data.h"

namespace vex {

class GridMillimetres;

// How text heights come back.
enum class TextHeights {
  kExact,    // font height / (zoom x 5): save, flips, zoom changes
  kRounded,  // to 0.5 mm, trunc(2 x font height / (zoom x 5) + 0.5) x 0.5: Draw
};

// The grid's ordinary cells as a table at `zoom`: nRows = row count - 1, nCols = column count
// - 1, heights and widths pixels / (zoom x 5), one MergeRows span per row of each block wider
// than a column and one MergeCols span per column of each block taller than a row (the order
// of AppendMergeSpans), and each cell's text as it stands (the caller applies the forward
// output text replacement), alignment from its format, text height from its font height,
// kind, and picture with its scale and block name. An empty grid gives an empty table.
// With `remembered`, the millimetres that the grid's pixels still agree with are taken from
// it instead (so that a zoom change and back keeps a 15 mm column at 15 mm).
TableData TakeTableFromGrid(const GridModel& grid, double zoom, TextHeights heights,
                            const GridMillimetres* remembered = nullptr);

// Shows a blank table of `rows` x `cols` as the editor does before any table was loaded:
// headers as for a table, every row trunc(zoom x 5 x rowHeightMm) and every column
// trunc(zoom x 5 x colWidthMm) pixels, every cell centred with the style's text height.
// False, with the grid emptied, for a size a grid cannot hold.
bool LoadBlankTableIntoGrid(GridModel& grid, int rows, int cols, double rowHeightMm, double colWidthMm,
                            double zoom, double styleHeightMm);

}  // namespace vex
