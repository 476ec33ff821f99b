#pragma once
// The table clipboard: a selection of the grid as a table fragment (with its merges,
// alignment, text heights and pictures) and back. Copy fills it; paste writes it at the
// focus cell before the plain text is pasted over it.

#include "model/grid_model.h"
#include "model/table_data.h"

namespace vex {

// Text height in pixels that a table text height (mm) is shown with: rounded to 0.5 mm and
// shown at 5 pixels per mm, round(2.5 x round(2 x mm)); 0 for heights that are not positive
// numbers, and at most 32767.
int PastedFontHeight(double heightMm);

// The format word of a cell's alignment (HorzMode + 4 x VertMode); modes outside 0..2 give
// centre/middle.
int FormatOfModes(int horzMode, int vertMode);

// The selected range as a table. A corner outside the ordinary cells is replaced by the first
// ordinary row or column. Sizes are recorded at 5 pixels per mm (paste does not use them);
// every block whose owner lies in the range gives its spans, cut to the range; each cell
// gives its text, alignment from its format, dHeight = font height x 0.2, its kind and its
// picture. Hidden rows and columns are kept.
TableData GridToTable(const GridModel& grid, CellRange range);

// Writes a table fragment into the grid with its top-left at `topLeft` (a row or column
// outside the ordinary cells is replaced by the first ordinary one). Rows and columns beyond
// the grid are dropped; the target rectangle is unmerged and the fragment's merges rebuilt;
// each cell gets its kind, format and font height (text cells with text their text and
// round(2.5 x round(2 x dHeight)); empty text cells format 5 and `styleFontHeight`; image
// cells their picture and `styleFontHeight`). Row heights and column widths stay.
// Returns the rectangle written (invalid when nothing was).
CellRange PasteTableIntoGrid(GridModel& grid, const TableData& table, CellPos topLeft, int styleFontHeight);

}  // namespace vex
