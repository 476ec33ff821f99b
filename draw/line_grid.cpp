#include "draw/line_grid.h"

#include <algorithm>

namespace vex {

LineGrid::LineGrid(int rows, int cols)
    : rows_(std::max(rows, 0)),
      cols_(std::max(cols, 0)),
      nodes_(static_cast<std::size_t>(rows_ + 1) * static_cast<std::size_t>(cols_ + 1)) {}

LineGrid BuildLineGrid(const TableData& t) {
  LineGrid g(t.nRows, t.nCols);
  double y = 0.0;
  for (int i = 0; i <= g.Rows(); ++i) {
    double x = 0.0;
    for (int j = 0; j <= g.Cols(); ++j) {
      GridNode& n = g.At(i, j);
      n.point = {x, y, 0.0};
      n.up = i != 0;
      n.down = i != g.Rows();
      n.left = j != 0;
      n.right = j != g.Cols();
      if (j < g.Cols() && static_cast<std::size_t>(j) < t.ColWidths.size()) x += t.ColWidths[static_cast<std::size_t>(j)];
    }
    if (i < g.Rows() && static_cast<std::size_t>(i) < t.RowHeights.size()) y -= t.RowHeights[static_cast<std::size_t>(i)];
  }
  // Spans come from files and builders: stay inside the grid whatever they say.
  for (const MergeSpan& s : t.MergeRows) {
    if (s.nPlace < 0 || s.nPlace >= g.Rows()) continue;
    for (int k = std::max(s.nStart + 1, 1); k <= std::min(s.nEnd, g.Cols() - 1); ++k) {
      g.At(s.nPlace, k).down = 0;
      g.At(s.nPlace + 1, k).up = 0;
    }
  }
  for (const MergeSpan& s : t.MergeCols) {
    if (s.nPlace < 0 || s.nPlace >= g.Cols()) continue;
    for (int k = std::max(s.nStart + 1, 1); k <= std::min(s.nEnd, g.Rows() - 1); ++k) {
      g.At(k, s.nPlace).right = 0;
      g.At(k, s.nPlace + 1).left = 0;
    }
  }
  return g;
}

}  // namespace vex
