#pragma once
// The junction grid of a table's rules: (nRows + 1) x (nCols + 1) nodes, node (i, j) where
// row boundary i (0 = top edge) crosses column boundary j (0 = left edge), each with flags
// for the rule segments that leave it. Table drawing builds it from a model; recognition
// builds the grid of the model it recovered and compares.

#include <vector>

#include "model/table_data.h"

namespace vex {

struct GridPoint {
  double x = 0.0;
  double y = 0.0;
  double z = 0.0;
  bool operator==(const GridPoint&) const = default;
};

struct GridNode {
  GridPoint point;
  int rowLine = 0;  // used by recognition; the builder leaves 0
  int colLine = 0;
  int up = 0;       // a vertical rule leaves the node upwards
  int down = 0;
  int left = 0;     // a horizontal rule leaves the node to the left
  int right = 0;
  bool operator==(const GridNode&) const = default;
};

class LineGrid {
 public:
  LineGrid() = default;
  LineGrid(int rows, int cols);

  int Rows() const { return rows_; }  // table rows: the grid has Rows() + 1 row boundaries
  int Cols() const { return cols_; }
  GridNode& At(int i, int j) { return nodes_[Index(i, j)]; }
  const GridNode& At(int i, int j) const { return nodes_[Index(i, j)]; }

 private:
  std::size_t Index(int i, int j) const {
    return static_cast<std::size_t>(i) * static_cast<std::size_t>(cols_ + 1) + static_cast<std::size_t>(j);
  }
  int rows_ = 0;
  int cols_ = 0;
  std::vector<GridNode> nodes_;
};

// The grid of a normalised table whose sizes are already in drawing units: the top-left
// corner at the origin, x to the right, y downwards negative; every boundary drawn except
// inside merges (a MergeRows span (r, c0, c1) removes the vertical rules c0+1..c1 in row r; a
// MergeCols span (c, r0, r1) the horizontal rules r0+1..r1 in column c). Spans reaching
// outside the grid are cut to it.
LineGrid BuildLineGrid(const TableData& table);

}  // namespace vex
