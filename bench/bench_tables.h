#pragma once
// What the table benchmarks share: a big table and a scratch folder.

#include <stdlib.h>

#include <filesystem>
#include <string>
#include <vector>

#include "model/merge_blocks.h"
#include "model/table_data.h"

namespace vex::bench {

// An n x n table of 8 x 25 mm cells with a short text in every cell (alignments varying) and a
// merged 2 x 3 block every ten rows.
inline TableData BigTable(int n) {
  TableData t;
  t.nRows = n;
  t.nCols = n;
  t.RowHeights = {8};
  t.ColWidths = {25};
  t.Normalize();
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < n; ++j) {
      TableCell c = t.GetCell(i, j);
      c.strText = "R" + std::to_string(i) + "C" + std::to_string(j) + " 30%%d";
      c.HorzMode = (i + j) % 3;
      t.SetCell(i, j, c);
    }
  std::vector<MergeBlock> blocks;
  for (int i = 0; i + 1 < n; i += 10) blocks.push_back({i, 0, i + 1, 2});
  AppendMergeSpans(t, blocks);
  return t;
}

// A new scratch folder, with a trailing '/'.
inline std::string ScratchFolder() {
  std::string tmpl = (std::filesystem::temp_directory_path() / "vextable-bench-XXXXXX").string();
  return std::string(::mkdtemp(tmpl.data())) + "/";
}

}  // namespace vex::bench
