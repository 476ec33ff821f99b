#include "model/table_mirror.h"

#include <algorithm>
#include <utility>

namespace vex {
namespace {

std::size_t At(int i) { return static_cast<std::size_t>(i); }

// Normalising cuts the spans' ends to the table but not their places; a span that does not
// lie on the table's cells describes nothing and is dropped.
void DropStraySpans(std::vector<MergeSpan>& spans, int places, int length) {
  std::erase_if(spans, [&](const MergeSpan& s) {
    return s.nPlace < 0 || s.nPlace >= places || s.nStart < 0 || s.nEnd < 0 || s.nStart >= length ||
           s.nEnd >= length;
  });
}

}  // namespace

void MirrorHorizontally(TableData& t) {
  t.Normalize();
  DropStraySpans(t.MergeRows, t.nRows, t.nCols);
  DropStraySpans(t.MergeCols, t.nCols, t.nRows);
  const int n = t.nCols;
  std::reverse(t.ColWidths.begin(), t.ColWidths.end());
  for (MergeSpan& s : t.MergeRows) {
    std::vector<TableCell>& row = t.rows[At(s.nPlace)].cells;
    std::swap(row[At(s.nStart)], row[At(s.nEnd)]);
    s = MergeSpan(s.nPlace, n - s.nEnd - 1, n - s.nStart - 1);
  }
  for (MergeSpan& s : t.MergeCols) s.nPlace = n - s.nPlace - 1;
  for (TableRow& row : t.rows) std::reverse(row.cells.begin(), row.cells.end());
}

void MirrorVertically(TableData& t) {
  t.Normalize();
  DropStraySpans(t.MergeRows, t.nRows, t.nCols);
  DropStraySpans(t.MergeCols, t.nCols, t.nRows);
  const int m = t.nRows;
  std::reverse(t.RowHeights.begin(), t.RowHeights.end());
  for (MergeSpan& s : t.MergeCols) {
    std::swap(t.rows[At(s.nStart)].cells[At(s.nPlace)], t.rows[At(s.nEnd)].cells[At(s.nPlace)]);
    s = MergeSpan(s.nPlace, m - s.nEnd - 1, m - s.nStart - 1);
  }
  for (MergeSpan& s : t.MergeRows) s.nPlace = m - s.nPlace - 1;
  std::reverse(t.rows.begin(), t.rows.end());
}

}  // namespace vex
