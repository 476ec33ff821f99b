#pragma once
// A table shown in the grid as the table editor shows it: one header row and one header
// column, sizes at the editor's zoom (pixels = round(mm x zoom x 5)), merges rebuilt from the
// spans, and each cell's kind, alignment, text and text height. Texts are taken as given:
// the caller applies the reverse output text replacement first.

#include "model/editor_units.h"
#include "model/grid_model.h"
#include "model/table_data.h"

namespace vex {

// Header row height round(zoom x 5 x H) + 2, header column width trunc(zoom x 5 x 6), header
// cells numbered "%d", format 37 and font height round(zoom x 5 x H + 0.5), H being the text
// height (mm) of the table text style.
void FillGridHeaders(GridModel& grid, double zoom, double styleHeightMm);

// Replaces the grid's contents by the table (normalised first) at `zoom` (held within
// kMinZoom..kMaxZoom). False, with the grid emptied, when the table is too large for a grid.
bool LoadTableIntoGrid(GridModel& grid, TableData table, double zoom, double styleHeightMm);

}  // namespace vex
