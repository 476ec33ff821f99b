#pragma once
// Tables for tests.

#include <string>

#include "model/table_data.h"

namespace vex::test {

// A normalised table of rows x cols cells, every row h and every column w millimetres high
// and wide, with default (centred, 3 mm) cells.
inline TableData UniformTable(int rows, int cols, double h = 10, double w = 30) {
  TableData t;
  t.nRows = rows;
  t.nCols = cols;
  t.RowHeights = {h};
  t.ColWidths = {w};
  t.Normalize();
  return t;
}

// The same with the text "r<i>c<j>" in cell (i, j).
inline TableData NamedTable(int rows, int cols, double h = 10, double w = 30) {
  TableData t = UniformTable(rows, cols, h, w);
  for (int i = 0; i < rows; ++i)
    for (int j = 0; j < cols; ++j)
      t.rows[static_cast<std::size_t>(i)].cells[static_cast<std::size_t>(j)].strText =
          "r" + std::to_string(i) + "c" + std::to_string(j);
  return t;
}

}  // namespace vex::test
