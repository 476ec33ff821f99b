#pragma once
// One worksheet held in memory: cell values with their formats, row heights and column widths
// in points, merged areas. The readers fill it, the automation objects read and change it, the
// writer stores it. Rows and columns are 1-based, as the spreadsheet counts them.

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/result.h"

namespace vex::excel {

// Alignment values of the spreadsheet's automation interface.
inline constexpr int kXlGeneral = 1;
inline constexpr int kXlLeft = -4131;
inline constexpr int kXlCenter = -4108;
inline constexpr int kXlRight = -4152;
inline constexpr int kXlJustify = -4130;
inline constexpr int kXlFill = 5;
inline constexpr int kXlTop = -4160;
inline constexpr int kXlBottom = -4107;

// The largest sheet a workbook can have.
inline constexpr int kMaxSheetRows = 1048576;
inline constexpr int kMaxSheetColumns = 16384;

// A rectangle of cells; empty when rows or cols is 0.
struct CellArea {
  int row = 1;
  int col = 1;
  int rows = 0;
  int cols = 0;

  bool empty() const { return rows <= 0 || cols <= 0; }
  int lastRow() const { return row + rows - 1; }
  int lastCol() const { return col + cols - 1; }
  long long CellCount() const { return empty() ? 0 : static_cast<long long>(rows) * cols; }
  bool Contains(int r, int c) const { return !empty() && r >= row && r <= lastRow() && c >= col && c <= lastCol(); }
  bool Intersects(const CellArea& o) const {
    return !empty() && !o.empty() && row <= o.lastRow() && o.row <= lastRow() && col <= o.lastCol() &&
           o.col <= lastCol();
  }
  // The smallest area holding both (either may be empty).
  CellArea United(const CellArea& o) const;
  static CellArea FromCorners(int r0, int c0, int r1, int c1) { return {r0, c0, r1 - r0 + 1, c1 - c0 + 1}; }
  bool operator==(const CellArea&) const = default;
};

// How a cell looks: font size in points, alignment, number format code.
struct CellFormat {
  double fontSize = 11;
  int horizontal = kXlGeneral;
  int vertical = kXlBottom;
  bool wrap = false;
  std::string numberFormat = "General";
  bool operator==(const CellFormat&) const = default;
};

enum class CellKind { kEmpty, kNumber, kText, kBool, kError };

struct SheetCell {
  CellKind kind = CellKind::kEmpty;
  double number = 0;  // kNumber; kBool as 0 or 1
  std::string text;   // kText; kError its code ("#DIV/0!")
  int format = 0;     // index into SheetData::formats
};

class SheetData {
 public:
  SheetData();

  std::string name;
  bool date1904 = false;        // serial dates count from 1904 instead of 1900
  double defaultRowHeight = 15;  // points
  double defaultColumnWidth = 48;  // points
  double maxDigitWidth = 7;  // pixels of the default font's widest digit: column width units
  // Formats in use; 0 is the sheet's default.
  std::vector<CellFormat> formats;

  // nullptr when the cell holds nothing and has no format of its own.
  const SheetCell* Find(int row, int col) const;
  // The cell, made when missing.
  SheetCell& At(int row, int col);
  std::size_t CellCount() const { return cells_.size(); }
  // The index of `format` in formats, added when new.
  int FormatIndex(const CellFormat& format);
  const CellFormat& FormatOf(int row, int col) const;

  // Heights and widths in points: the set one, or the sheet's default.
  double RowHeight(int row) const;
  double ColumnWidth(int col) const;
  void SetRowHeight(int row, double points) { rowHeights_[row] = points; }
  void SetColumnWidth(int col, double points) { columnWidths_[col] = points; }
  const std::map<int, double>& RowHeights() const { return rowHeights_; }
  const std::map<int, double>& ColumnWidths() const { return columnWidths_; }

  // The area covering every cell with a value or a format of its own, and every merged area.
  CellArea UsedRange() const;

  const std::vector<CellArea>& Merges() const { return merges_; }
  // The merged area holding the cell, or nullptr.
  const CellArea* MergeAreaAt(int row, int col) const;
  // Merges `area` as the spreadsheet does: merged areas it touches are taken into it, so that
  // merging the rows of a block one by one and then its columns gives the whole block. A
  // single cell is not merged (nothing to join). kTooLarge beyond the merge limit.
  Result Merge(const CellArea& area);
  // Adds a merged area as a file states it (no joining). kTooLarge beyond the merge limit.
  Result AddMerge(const CellArea& area);

 private:
  void IndexMerge(int index);
  void RebuildMergeIndex();

  std::unordered_map<std::uint64_t, SheetCell> cells_;
  std::map<int, double> rowHeights_;
  std::map<int, double> columnWidths_;
  std::vector<CellArea> merges_;
  // Merged areas by bands of rows, so that finding a cell's area does not scan them all.
  std::unordered_map<int, std::vector<int>> mergeBands_;
  long long bandEntries_ = 0;
  CellArea cellExtent_;
};

// "C5" gives row 5, column 3; false for anything else or beyond the sheet's bounds.
bool ParseCellReference(std::string_view text, int& row, int& col);
// "C8:E9" or "C8" as an area; false when malformed.
bool ParseAreaReference(std::string_view text, CellArea& area);

// Excel's widths: a column of `pixels` (its padding included) at 96 pixels per inch.
inline double PixelsToPoints(double pixels) { return pixels * 0.75; }
// The width in points of a column whose width is `characters` as the spreadsheet shows it
// (the ColumnWidth property): the characters' pixels rounded, plus 5 pixels of padding.
double CharactersToPoints(double characters, double maxDigitWidth);
// The width in points of a column stored in a workbook as `fileWidth` (the padding included).
double FileWidthToPoints(double fileWidth, double maxDigitWidth);
// The default column width in points from the sheet's base width in characters: the padded
// width rounded up to a multiple of 8 pixels, as the spreadsheet does (8 gives 64 pixels).
double BaseWidthToPoints(double baseCharacters, double maxDigitWidth);
// The widest digit of a font of `points` in pixels (7 for the default 11-point font).
double MaxDigitWidthFor(double fontPoints);
// The row height in points that the spreadsheet gives a font of `points` (15 for 11).
double DefaultRowHeightFor(double fontPoints);

}  // namespace vex::excel
