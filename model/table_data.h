#pragma once
// The in-memory table that every part of the system exchanges. Plain values: copies are deep
// and nothing is shared between two tables. Lengths are millimetres of the printed sheet.

#include <string>
#include <vector>

#include <string_view>

#include "model/cell_image.h"
#include "model/table_file_status.h"

namespace vex {

// One merge segment: on row (MergeRows) or column (MergeCols) nPlace, from nStart to nEnd
// inclusive, across columns (MergeRows) or rows (MergeCols).
class MergeSpan {
 public:
  MergeSpan() = default;
  MergeSpan(int place, int start, int end) : nPlace(place), nStart(start), nEnd(end) {}
  MergeSpan(const MergeSpan&) = default;
  MergeSpan& operator=(const MergeSpan&) = default;
  virtual ~MergeSpan() = default;

  // Sets each negative member to 0.
  void Clamp();

  bool operator==(const MergeSpan& o) const {
    return nPlace == o.nPlace && nStart == o.nStart && nEnd == o.nEnd;
  }

  int nPlace = 0;
  int nStart = 0;
  int nEnd = 0;
};

// Horizontal alignment 0 left, 1 centre, 2 right; vertical 0 top, 1 middle, 2 bottom.
class TableCell {
 public:
  TableCell() = default;
  TableCell(const TableCell&) = default;
  TableCell& operator=(const TableCell&) = default;
  TableCell(TableCell&&) noexcept = default;
  TableCell& operator=(TableCell&&) noexcept = default;
  virtual ~TableCell() = default;

  // Back to the fresh values: left/top, no text, height 0, text cell, scale 1, no picture.
  void Reset() { *this = TableCell{}; }

  // The cell that normalisation pads a table with: centre/middle, height 3.0.
  static TableCell Default();

  bool operator==(const TableCell& o) const;

  int HorzMode = 0;
  int VertMode = 0;
  std::string strText;  // as it goes into the drawing (output replacement already applied)
  double dHeight = 0.0;
  int nType = 0;  // 0 text cell, 1 image cell
  double dScael = 1.0;
  std::string sBlockName;  // image cells: the picture's block in the picture store
  CellImageList picture;
};

// The cells of one table row; element j is column j.
struct TableRow {
  std::vector<TableCell> cells;
  bool operator==(const TableRow&) const = default;
};

class TableData {
 public:
  TableData() = default;
  TableData(const TableData&) = default;
  TableData& operator=(const TableData&) = default;
  TableData(TableData&&) noexcept = default;
  TableData& operator=(TableData&&) noexcept = default;
  virtual ~TableData() = default;

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

  // Writes the table under `prefix` ("VexTableSaveFile", "TableTitle", "AutoSave") in the XML
  // layout of a table file, or the key-value layout when no XML parser can be had. The old
  // file is replaced only once the new one is complete. (Defined with the file formats.)
  TableFileStatus Save(std::string_view prefix, const std::string& path) const;
  // Reads the table under `prefix`; an old key-value file is converted to the XML layout.
  // On failure the table is left as it was. A missing file reads as defaults.
  TableFileStatus Load(std::string_view prefix, const std::string& path);

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
