#pragma once
// Where the editor's table came from, which decides what its Draw does: a table read from the
// drawing replaces the drawn one, any other is drawn anew.

namespace vex {

enum TableOrigin : int {
  kNewTable = 0,          // no table loaded: the editor shows a blank table
  kLoadedTable = 1,       // from a table file, a header or a workbook
  kTableFromDrawing = 2,  // read back from the drawing
};

}  // namespace vex
