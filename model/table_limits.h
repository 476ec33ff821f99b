#pragma once
// How large a table may be. Every reader of tables (table files, JSON, drawings, workbooks)
// checks what its input declares against these before it allocates anything.

#include "platform/result.h"

namespace vex {

inline constexpr int kMaxTableRowsOrCols = 65535;
inline constexpr long long kMaxTableCells = 1000000;
inline constexpr int kMaxMergeSpans = 1000000;

// Ok when a table of this size is acceptable; kMalformed for a negative count, kTooLarge
// beyond the limits, with the reason.
Result CheckTableCounts(long long rows, long long cols);

}  // namespace vex
