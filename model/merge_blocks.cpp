#include "model/merge_blocks.h"

#include <algorithm>
#include <map>
#include <utility>

namespace vex {

void AppendMergeSpans(TableData& table, std::vector<MergeBlock> blocks) {
  std::stable_sort(blocks.begin(), blocks.end(), [](const MergeBlock& a, const MergeBlock& b) {
    return std::pair(a.row0, a.col0) < std::pair(b.row0, b.col0);
  });
  for (const MergeBlock& b : blocks)
    if (b.col0 != b.col1)
      for (int r = b.row0; r <= b.row1; ++r) table.AppendMergeRow(MergeSpan(r, b.col0, b.col1));

  std::stable_sort(blocks.begin(), blocks.end(), [](const MergeBlock& a, const MergeBlock& b) {
    return std::pair(a.col0, a.row0) < std::pair(b.col0, b.row0);
  });
  for (const MergeBlock& b : blocks)
    if (b.row0 != b.row1)
      for (int c = b.col0; c <= b.col1; ++c) table.AppendMergeCol(MergeSpan(c, b.row0, b.row1));
}

std::vector<MergeBlock> MergeBlocksFromSpans(const TableData& table) {
  // MergeCols spans by the cell they begin at (row nStart, column nPlace); the first unused
  // one of each cell pairs with a MergeRows span beginning there.
  std::multimap<std::pair<int, int>, std::size_t> colStarts;
  for (std::size_t k = 0; k < table.MergeCols.size(); ++k) {
    const MergeSpan& s = table.MergeCols[k];
    colStarts.emplace(std::pair(s.nStart, s.nPlace), k);
  }
  std::vector<bool> rowUsed(table.MergeRows.size(), false);
  std::vector<bool> colUsed(table.MergeCols.size(), false);
  std::vector<MergeBlock> blocks;
  for (std::size_t k = 0; k < table.MergeRows.size(); ++k) {
    const MergeSpan& r = table.MergeRows[k];
    const auto key = std::pair(r.nPlace, r.nStart);
    const auto it = colStarts.lower_bound(key);  // equal keys keep insertion order
    if (it == colStarts.end() || it->first != key) continue;
    const MergeSpan& c = table.MergeCols[it->second];
    blocks.push_back({r.nPlace, r.nStart, c.nEnd, r.nEnd});
    rowUsed[k] = true;
    colUsed[it->second] = true;
    colStarts.erase(it);
  }

  std::vector<MergeBlock> merges;
  for (std::size_t k = 0; k < table.MergeRows.size(); ++k)
    if (!rowUsed[k]) {
      const MergeSpan& s = table.MergeRows[k];
      merges.push_back({s.nPlace, s.nStart, s.nPlace, s.nEnd});
    }
  for (std::size_t k = 0; k < table.MergeCols.size(); ++k)
    if (!colUsed[k]) {
      const MergeSpan& s = table.MergeCols[k];
      merges.push_back({s.nStart, s.nPlace, s.nEnd, s.nPlace});
    }
  merges.insert(merges.end(), blocks.begin(), blocks.end());
  return merges;
}

}  // namespace vex
