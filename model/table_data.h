#pragma once
// The in-memory table that every part of the system exchanges. Plain values: copies are deep
// and nothing is shared between two tables. Lengths are millimetres of the printed sheet.

#include <span>
#include <string>
#include <vector>

#include "model/cell_image.h"
#include "model/field.h"

namespace vex {

// One merge segment: on row (MergeRows) or column (MergeCols) nPlace, from nStart to nEnd
// inclusive, across columns (MergeRows) or rows (MergeCols).
class MergeSpan {
 public:
  MergeSpan() = default;
  MergeSpan(int place, int start, int end) : nPlace(place), nStart(start), nEnd(end) {}
  // Sets each negative member to 0.
  void Clamp();

  bool operator==(const MergeSpan& o) const {
    return nPlace == o.nPlace && nStart == o.nStart && nEnd == o.nEnd;
  }

  int nPlace = 0;
  int nStart = 0;
  int nEnd = 0;
};

// What a cell holds (TableCell::nType).
inline constexpr int kTextCell = 0;
inline constexpr int kImageCell = 1;

// Horizontal alignment 0 left, 1 centre, 2 right; vertical 0 top, 1 middle, 2 bottom.
class TableCell {
 public:

  // Back to the fresh values: left/top, no text, height 0, text cell, scale 1, no picture.
  void Reset() { *this = TableCell{}; }

  // The cell that normalisation pads a table with: centre/middle, height 3.0.
  static TableCell Default();

  bool operator==(const TableCell& o) const;

  bool IsImage() const { return nType == kImageCell; }

  int HorzMode = 0;
  int VertMode = 0;
  std::string strText;  // as it goes into the drawing (output replacement already applied)
  double dHeight = 0.0;
  int nType = kTextCell;
  double dScael = 1.0;
  std::string sBlockName;  // image cells: the picture's block in the picture store
  CellImageList picture;
};

// The stored members of a cell, in the order table files hold them. The picture is not
// stored with the cell: it is rebuilt from the block that sBlockName names.
std::span<const Field<TableCell>> CellFields();

// The cells of one table row; element j is column j.
struct TableRow {
  std::vector<TableCell> cells;
  bool operator==(const TableRow&) const = default;
};

class TableData {
 public:
  // Empties the table: both counts 0, every array and row gone. Returns true.
  bool Clear();

  // Makes the table rectangular: nRows heights, nCols widths, nRows rows of nCols cells,
  // spans cut to the table. Missing heights repeat the last one that existed (10.0 when none),
  // missing widths likewise (30.0); missing cells are default cells; a span that starts and
  // ends outside the table is dropped, one that only ends outside is cut.
  void Normalize();

  // A copy of cell (i, j). The indices must be valid.
  TableCell GetCell(int i, int j) const { return rows[Index(i)].cells[Index(j)]; }
  // Replaces cell (i, j). The indices must be valid.
  void SetCell(int i, int j, const TableCell& cell) { rows[Index(i)].cells[Index(j)] = cell; }
  // Appends a cell to row i. The row must exist.
  void AppendCell(int i, const TableCell& cell) { rows[Index(i)].cells.push_back(cell); }
  void AppendRow(TableRow row) { rows.push_back(std::move(row)); }
  // Plain appends: spans are neither sorted nor joined.
  void AppendMergeRow(const MergeSpan& span) { MergeRows.push_back(span); }
  void AppendMergeCol(const MergeSpan& span) { MergeCols.push_back(span); }

  bool operator==(const TableData& o) const;

  int nRows = 0;
  int nCols = 0;
  std::vector<double> RowHeights;
  std::vector<double> ColWidths;
  std::vector<MergeSpan> MergeRows;
  std::vector<MergeSpan> MergeCols;
  std::vector<TableRow> rows;

 private:
  static std::size_t Index(int i) { return static_cast<std::size_t>(i); }
};

}  // namespace vex
