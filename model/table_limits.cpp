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

namespace {
// A table of this many cells or spans is taken from any file, however small.
constexpr long long kUncheckedCells = 4096;
constexpr long long kUncheckedSpans = 256;
// Every layout needs at least this many bytes of file for each cell or span it stores: a file
// that claims more than it could hold is refused before anything is allocated for it (a few
// bytes claiming a million default cells would otherwise cost gigabytes).
constexpr long long kFileBytesPerCell = 4;
constexpr long long kFileBytesPerSpan = 12;
}  // namespace

Result CheckTableClaims(long long rows, long long cols, long long rowSpans, long long colSpans,
                        long long fileBytes) {
  if (auto counts = CheckTableCounts(rows, cols); !counts) return counts;
  for (long long spans : {rowSpans, colSpans})
    if (spans < 0 || spans > kMaxMergeSpans)
      return Result(spans < 0 ? ErrorCode::kMalformed : ErrorCode::kTooLarge,
                    "it declares " + std::to_string(spans) + " merge spans; at most " +
                        std::to_string(kMaxMergeSpans) + " are allowed");
  const long long cells = rows * cols;
  if (cells > kUncheckedCells && cells > fileBytes / kFileBytesPerCell)
    return Result(ErrorCode::kMalformed, "it declares " + std::to_string(cells) + " cells, more than its " +
                                             std::to_string(fileBytes) + " bytes can hold");
  if (rowSpans + colSpans > kUncheckedSpans && rowSpans + colSpans > fileBytes / kFileBytesPerSpan)
    return Result(ErrorCode::kMalformed, "it declares " + std::to_string(rowSpans + colSpans) +
                                             " merge spans, more than its " + std::to_string(fileBytes) +
                                             " bytes can hold");
  return {};
}

}  // namespace vex
