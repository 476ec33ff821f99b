#include "model/table_data.h"

#include <algorithm>

namespace vex {
namespace {

// Heights (or widths) for `count` entries: each index takes the stored value where one
// exists, otherwise the last value seen so far.
std::vector<double> RepeatLast(const std::vector<double>& stored, int count, double start) {
  std::vector<double> out;
  out.reserve(static_cast<std::size_t>(std::max(count, 0)));
  double running = start;
  for (int i = 0; i < count; ++i) {
    if (static_cast<std::size_t>(i) < stored.size()) running = stored[static_cast<std::size_t>(i)];
    out.push_back(running);
  }
  return out;
}

std::vector<MergeSpan> CutSpans(const std::vector<MergeSpan>& spans, int limit) {
  std::vector<MergeSpan> out;
  for (const MergeSpan& s : spans) {
    if (s.nStart >= limit && s.nEnd >= limit) continue;
    MergeSpan cut = s;
    if (cut.nStart >= limit) cut.nStart = limit - 1;
    if (cut.nEnd >= limit) cut.nEnd = limit - 1;
    out.push_back(cut);
  }
  return out;
}

}  // namespace

void MergeSpan::Clamp() {
  nPlace = std::max(nPlace, 0);
  nStart = std::max(nStart, 0);
  nEnd = std::max(nEnd, 0);
}

TableCell TableCell::Default() {
  TableCell c;
  c.HorzMode = 1;
  c.VertMode = 1;
  c.dHeight = 3.0;
  return c;
}

namespace {
constexpr Field<TableCell> kCellFields[] = {
    {"HorzMode", &TableCell::HorzMode}, {"VertMode", &TableCell::VertMode},
    {"strText", &TableCell::strText},   {"dHeight", &TableCell::dHeight},
    {"nType", &TableCell::nType},       {"dScael", &TableCell::dScael},
    {"sBlockName", &TableCell::sBlockName},
};
}  // namespace

std::span<const Field<TableCell>> CellFields() { return kCellFields; }

bool TableCell::operator==(const TableCell& o) const {
  return HorzMode == o.HorzMode && VertMode == o.VertMode && strText == o.strText &&
         dHeight == o.dHeight && nType == o.nType && dScael == o.dScael &&
         sBlockName == o.sBlockName && picture == o.picture;
}

bool TableData::Clear() {
  nRows = 0;
  nCols = 0;
  RowHeights.clear();
  ColWidths.clear();
  MergeRows.clear();
  MergeCols.clear();
  rows.clear();
  return true;
}

void TableData::Normalize() {
  TableData old = std::move(*this);
  Clear();
  nRows = old.nRows;
  nCols = old.nCols;
  RowHeights = RepeatLast(old.RowHeights, nRows, 10.0);
  ColWidths = RepeatLast(old.ColWidths, nCols, 30.0);

  const TableCell padding = TableCell::Default();
  const std::size_t cols = static_cast<std::size_t>(std::max(nCols, 0));
  rows.reserve(static_cast<std::size_t>(std::max(nRows, 0)));
  for (int i = 0; i < nRows; ++i) {
    TableRow row;
    row.cells.reserve(cols);
    if (static_cast<std::size_t>(i) < old.rows.size()) {
      auto& source = old.rows[static_cast<std::size_t>(i)].cells;
      for (std::size_t j = 0; j < cols; ++j)
        row.cells.push_back(j < source.size() ? std::move(source[j]) : padding);
    } else {
      row.cells.assign(cols, padding);
    }
    rows.push_back(std::move(row));
  }
  MergeRows = CutSpans(old.MergeRows, nCols);
  MergeCols = CutSpans(old.MergeCols, nRows);
}

bool TableData::operator==(const TableData& o) const {
  return nRows == o.nRows && nCols == o.nCols && RowHeights == o.RowHeights &&
         ColWidths == o.ColWidths && MergeRows == o.MergeRows && MergeCols == o.MergeCols &&
         rows == o.rows;
}

}  // namespace vex
