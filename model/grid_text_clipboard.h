#pragma once
// The plain-text form of a copied selection, pasting such text back, and the HTML table that
// lets a copied fragment paste into a spreadsheet with its merges.

#include <functional>
#include <string>
#include <string_view>

#include "model/grid_model.h"

namespace vex {

// The text of the cells in `range`, row by row: fields separated by "\t", rows by "\n" (no
// carriage return, none after the last row). Hidden rows and columns (size 0) are skipped;
// a cell that is not selected gives an empty field. The clipboard adds the zero byte.
std::string SelectionText(const GridModel& grid, const CellRange& range);

// Asked before a pasted field replaces a cell's text; false keeps the old text.
using AcceptPastedText = std::function<bool(int row, int col, const std::string& text)>;

// Pastes text at `focus`: the text ends at its first zero byte; it is split into lines at
// "\n" (a line break at the very end starts no line) and each line into fields at every "\t"
// or ","; line i goes to the i-th shown row from the focus row on, field j to the j-th shown
// column from the focus column on. Each field is trimmed of white space and, when it differs
// from the cell's text, the cell is not read-only and `accept` agrees, stored and marked
// modified. Lines and fields beyond the grid are dropped. Returns the rectangle from the focus
// to the last row and column reached; invalid when the focus is not an ordinary cell.
CellRange PasteText(GridModel& grid, CellPos focus, std::string_view text, const AcceptPastedText& accept);

// The cells of `range` as an HTML table: a merged block is one cell with rowspan and colspan
// (counted over shown rows and columns), text is escaped with line breaks as <br>, and the
// alignment goes into the cell's style. Hidden rows and columns are left out.
std::string SelectionHtml(const GridModel& grid, const CellRange& range);

}  // namespace vex
