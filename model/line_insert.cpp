#include "model/line_insert.h"

#include <algorithm>

namespace vex {

std::vector<LineInsert> PlanLineInsert(int first, int last, bool below, const std::vector<int>& sizes) {
  const int start = std::max(first, 1);
  if (last < start || sizes.size() < static_cast<std::size_t>(last - start + 1)) return {};
  std::vector<LineInsert> plan;
  for (int k = 0; k <= last - start; ++k)
    plan.push_back({below ? last + 1 + k : start + k, sizes[static_cast<std::size_t>(k)]});
  return plan;
}

HeaderPlacement PlaceHeader(int titleROrC, int row, int col, int gridRows, int gridCols, int headerRows,
                            int headerCols) {
  HeaderPlacement p;
  p.row = std::max(row, 1);
  p.col = std::max(col, 1);
  headerRows = std::max(headerRows, 0);
  headerCols = std::max(headerCols, 0);
  switch (titleROrC) {
    case 0:
      p.insertRows = headerRows;
      p.appendCols = std::max(p.col + headerCols - gridCols, 0);
      break;
    case 1:
      p.appendRows = std::max(p.row + headerRows - gridRows, 0);
      p.insertCols = headerCols;
      break;
    default:
      p.insertRows = headerRows;
      p.insertCols = headerCols;
      break;
  }
  return p;
}

}  // namespace vex
