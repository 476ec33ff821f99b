#include "model/table_limits.h"

#include <string>

namespace vex {

Result CheckTableCounts(long long rows, long long cols) {
  if (rows < 0 || cols < 0)
    return Result(ErrorCode::kMalformed, "it declares a negative size (" + std::to_string(rows) + " rows, " +
                                             std::to_string(cols) + " columns)");
  if (rows > kMaxTableRowsOrCols || cols > kMaxTableRowsOrCols)
    return Result(ErrorCode::kTooLarge, "it declares " + std::to_string(rows) + " rows and " +
                                            std::to_string(cols) + " columns; at most " +
                                            std::to_string(kMaxTableRowsOrCols) + " of each are allowed");
  if (rows * cols > kMaxTableCells)
    return Result(ErrorCode::kTooLarge, "it declares " + std::to_string(rows * cols) + " cells; at most " +
                                            std::to_string(kMaxTableCells) + " are allowed");
  return {};
}

}  // namespace vex
