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

// CheckTableCounts, the span counts against kMaxMergeSpans, and what a file of `fileBytes`
// bytes can plausibly hold: beyond a small table, every layout needs a few bytes of file for
// each cell or span it stores, so a file claiming more is malformed (refused before anything
// is allocated for it: a few bytes claiming a million cells would cost gigabytes).
Result CheckTableClaims(long long rows, long long cols, long long rowSpans, long long colSpans,
                        long long fileBytes);

}  // namespace vex
