#pragma once
// The spreadsheet automation objects that Import and Export drive: Application, Workbooks,
// Workbook, Sheets, Worksheet, Range and Font with the members they use, indices from 1.
// They stand over the workbook engine of this folder (the readers, SheetData, the writer)
// instead of a spreadsheet program. Reading a file can fail, so Open, UsedRange and Cells
// return results; the other members are plain.

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "excel/sheet_data.h"
#include "excel/workbook_source.h"
#include "excel/workbook_viewer.h"
#include "platform/result.h"

namespace vex::excel {

class Range;

class Font {
 public:
  // Size in points, single precision as the automation interface carries it.
  float Size() const;
  void PutSize(float points) const;

 private:
  friend class Range;
  Font(SheetData* sheet, CellArea area) : sheet_(sheet), area_(area) {}
  SheetData* sheet_;
  CellArea area_;
};

// A handle to an area of a worksheet; cheap to copy. Members that read a property of a range
// of several cells read its top-left cell; members that set one set every cell.
class Range {
 public:
  // A range of no cells, to be assigned.
  Range() : sheet_(nullptr), counting_(Counting::kCells) {}

  // The same area counted by rows or by columns.
  Range Rows() const { return Range(sheet_, area_, Counting::kRows); }
  Range Columns() const { return Range(sheet_, area_, Counting::kColumns); }
  // Cells, rows or columns, as the range counts.
  long long Count() const;
  // The first row and column, 1-based on the sheet.
  int Row() const { return area_.row; }
  int Column() const { return area_.col; }
  // The one-cell range at (row, column) counted from this range's top-left cell.
  Range Item(int row, int column) const;
  // Stores a value there: a text that reads back as the same number under General is stored
  // as that number, any other text as text.
  void PutItem(int row, int column, std::string_view value) const;
  // The displayed text, as the cell's number format shows its value.
  std::string Text() const;
  // Sizes in points: the sum over the range's rows, over its columns.
  double Height() const;
  double Width() const;
  double RowHeight() const;
  void PutRowHeight(int points) const;
  // Width in characters of the default font's digits, as the spreadsheet shows column widths.
  void PutColumnWidth(int characters) const;
  bool MergeCells() const;
  // The merged area holding the top-left cell, or that cell alone.
  Range MergeArea() const;
  Range Resize(int rows, int columns) const;
  // Merges the range (across: each of its rows on its own). kTooLarge past the merge limit.
  Result Merge(bool across = false) const;
  excel::Font Font() const { return excel::Font(sheet_, area_); }
  int HorizontalAlignment() const;
  void PutHorizontalAlignment(int value) const;
  int VerticalAlignment() const;
  void PutVerticalAlignment(int value) const;

  const CellArea& Area() const { return area_; }

 private:
  friend class Worksheet;
  enum class Counting { kCells, kRows, kColumns };
  Range(SheetData* sheet, CellArea area, Counting counting = Counting::kCells)
      : sheet_(sheet), area_(area), counting_(counting) {}
  template <class F>
  void ChangeFormat(F&& change) const;

  SheetData* sheet_;
  CellArea area_;
  Counting counting_;
};

class Worksheet {
 public:
  // A sheet of an opened workbook, read when first asked for.
  Worksheet(WorkbookSource* source, int index, std::string name)
      : source_(source), index_(index), name_(std::move(name)) {}
  // A new, empty sheet.
  explicit Worksheet(std::string name);

  const std::string& Name() const { return name_; }
  // The used range, known before the sheet's cells are read (an empty range at A1 for an
  // empty sheet). Until Cells() has read them, the range can only be counted and placed.
  ResultOr<Range> UsedRange();
  // All cells of the sheet; reads them on first use.
  ResultOr<Range> Cells();
  // The sheet as it stands; nullptr before its cells were read.
  const SheetData* Data() const { return data_ ? &*data_ : nullptr; }

 private:
  WorkbookSource* source_ = nullptr;
  int index_ = 0;
  std::string name_;
  std::optional<SheetData> data_;
};

class Sheets {
 public:
  int Count() const { return static_cast<int>(sheets_.size()); }
  // Sheet `index` from 1; nullptr outside 1..Count.
  Worksheet* Item(int index);

 private:
  friend class Workbook;
  std::vector<std::unique_ptr<Worksheet>> sheets_;
};

class Workbook {
 public:
  // An opened workbook.
  explicit Workbook(std::unique_ptr<WorkbookSource> source, std::string path);
  // A new workbook of one empty sheet, "Sheet1".
  Workbook();

  Sheets& Worksheets() { return sheets_; }
  Worksheet* ActiveSheet() { return sheets_.Item(1); }
  const std::string& Path() const { return path_; }
  bool IsNew() const { return !source_; }

 private:
  std::unique_ptr<WorkbookSource> source_;
  std::string path_;
  Sheets sheets_;
};

class Workbooks {
 public:
  explicit Workbooks(ReadLimits limits) : limits_(limits) {}
  // Opens a workbook file; failures say why, for the drafter.
  ResultOr<Workbook*> Open(const std::string& path);
  // A new workbook.
  Workbook& Add(int kind = 1);
  int Count() const { return static_cast<int>(books_.size()); }
  Workbook* Item(int index);
  // Closes the workbook opened from `path` (all of that path).
  void Close(const std::string& path);
  // Closes every workbook.
  void Close() { books_.clear(); }

 private:
  ReadLimits limits_;
  std::vector<std::unique_ptr<Workbook>> books_;
};

class Application {
 public:
  // `viewer` receives the new workbooks when the application is made visible; nullptr when
  // none are to be shown.
  explicit Application(WorkbookViewer* viewer = nullptr, ReadLimits limits = {})
      : viewer_(viewer), workbooks_(limits) {}

  excel::Workbooks& Workbooks() { return workbooks_; }
  // Visible true hands every new workbook not shown yet to the viewer.
  Result PutVisible(bool visible);
  bool Visible() const { return visible_; }
  void PutUserControl(bool control) { userControl_ = control; }
  bool UserControl() const { return userControl_; }
  // Where the new workbooks were shown.
  const std::vector<std::string>& Shown() const { return shown_; }
  void Quit() { workbooks_.Close(); }

 private:
  WorkbookViewer* viewer_;
  excel::Workbooks workbooks_;
  bool visible_ = false;
  bool userControl_ = false;
  std::vector<const Workbook*> shownBooks_;
  std::vector<std::string> shown_;
};

}  // namespace vex::excel
