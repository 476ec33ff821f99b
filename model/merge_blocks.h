#pragma once
// Merged blocks and their encoding as merge spans. A block rows r0..r1 x columns c0..c1 is
// stored as one MergeRows span (r, c0, c1) per row when c0 != c1, and one MergeCols span
// (c, r0, r1) per column when r0 != r1.

#include <vector>

#include "model/table_data.h"

namespace vex {

// A rectangle of cells, inclusive on both ends.
struct MergeBlock {
  int row0 = 0;
  int col0 = 0;
  int row1 = 0;
  int col1 = 0;
  bool operator==(const MergeBlock&) const = default;
};

// Appends the spans of `blocks` to the table: the MergeRows spans block by block in row-major
// order of the blocks' top-left cells, the MergeCols spans block by block in column-major order
// of the top-left cells. Single-cell blocks give no span.
void AppendMergeSpans(TableData& table, std::vector<MergeBlock> blocks);

// The merges that the table's spans describe, in the order they are to be applied: first the
// spans not taken up by a block, each as a one-row or one-column merge (MergeRows then
// MergeCols, in stored order), then the blocks, recognised where a MergeRows span (r, c0, c1)
// and a MergeCols span (c0, r, r1) begin at the same cell. Applying the blocks last lets a
// block override the partial merges formed by its own remaining spans.
std::vector<MergeBlock> MergeBlocksFromSpans(const TableData& table);

}  // namespace vex
