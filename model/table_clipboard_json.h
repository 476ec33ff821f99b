#pragma once
// The table clipboard as JSON, the payload that carries a copied fragment (merges, alignment,
// heights, pictures) to another window or another running program. The layout is the table
// JSON of the batch tool ("nRows", "nCols", "RowHeights", "ColWidths", "MergeRows" and
// "MergeCols" as [nPlace, nStart, nEnd], "Cells" as rows of cell objects) with one more cell
// member, "picture": a list of {"JLine": [x1, y1, x2, y2]}, {"JCircle": [cx, cy, r]},
// {"JPolyLine": [x0, y0, x1, y1, ...]} and {"JText": []}.

#include <cstddef>
#include <string>
#include <string_view>

#include "model/table_data.h"

namespace vex {

// The payload of a table fragment.
std::string TableToClipboardJson(const TableData& table);

// How much of a payload a reader keeps: a fragment is pasted into a grid of limited size, and
// the payload may come from any program.
struct ClipboardLimits {
  int maxRows = 100000;   // rows kept (the rest is dropped)
  int maxCols = 100000;   // columns kept
  int maxCells = 4000000; // cells and spans kept at most, whatever the rows and columns
  std::size_t maxBytes = std::size_t(64) << 20;  // larger payloads are refused
};

// Reads a payload, keeping at most the rows, columns and cells of `limits` (nRows and nCols
// are cut to match; spans that begin outside the kept part are dropped). A payload that is too large,
// is not JSON, nests too deeply or has a member of the wrong type or out of range gives false
// with the reason (naming the member) in `why`; `out` is then left empty.
bool TableFromClipboardJson(std::string_view payload, const ClipboardLimits& limits, TableData& out,
                            std::string& why);

}  // namespace vex
