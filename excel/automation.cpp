#include "excel/automation.h"

#include <algorithm>
#include <cstdlib>

#include "excel/number_format.h"

namespace vex::excel {

// ---- Font

float Font::Size() const { return static_cast<float>(sheet_->FormatOf(area_.row, area_.col).fontSize); }

void Font::PutSize(float points) const {
  if (!sheet_) return;
  for (int r = area_.row; r <= area_.lastRow(); ++r)
    for (int c = area_.col; c <= area_.lastCol(); ++c) {
      CellFormat f = sheet_->FormatOf(r, c);
      f.fontSize = points;
      const int k = sheet_->FormatIndex(f);
      sheet_->At(r, c).format = k;
    }
}

// ---- Range

template <class F>
void Range::ChangeFormat(F&& change) const {
  if (!sheet_) return;
  for (int r = area_.row; r <= area_.lastRow(); ++r)
    for (int c = area_.col; c <= area_.lastCol(); ++c) {
      CellFormat f = sheet_->FormatOf(r, c);
      change(f);
      const int k = sheet_->FormatIndex(f);
      sheet_->At(r, c).format = k;
    }
}

long long Range::Count() const {
  switch (counting_) {
    case Counting::kRows: return area_.rows;
    case Counting::kColumns: return area_.cols;
    case Counting::kCells: break;
  }
  return area_.CellCount();
}

Range Range::Item(int row, int column) const {
  return Range(sheet_, CellArea{area_.row + row - 1, area_.col + column - 1, 1, 1});
}

void Range::PutItem(int row, int column, std::string_view value) const {
  if (!sheet_) return;
  SheetCell& cell = sheet_->At(area_.row + row - 1, area_.col + column - 1);
  const std::string text(value);
  char* end = nullptr;
  const double number = std::strtod(text.c_str(), &end);
  if (!text.empty() && *end == '\0' && FormatGeneral(number) == text) {
    cell.kind = CellKind::kNumber;
    cell.number = number;
    cell.text.clear();
  } else {
    cell.kind = text.empty() ? CellKind::kEmpty : CellKind::kText;
    cell.text = text;
  }
}

std::string Range::Text() const {
  if (!sheet_) return "";
  const SheetCell* cell = sheet_->Find(area_.row, area_.col);
  if (!cell) return "";
  const CellFormat& f = sheet_->FormatOf(area_.row, area_.col);
  switch (cell->kind) {
    case CellKind::kNumber: return FormatNumber(cell->number, f.numberFormat, sheet_->date1904);
    case CellKind::kText: return FormatText(cell->text, f.numberFormat);
    case CellKind::kBool: return cell->number != 0 ? "TRUE" : "FALSE";
    case CellKind::kError: return cell->text;
    case CellKind::kEmpty: break;
  }
  return "";
}

double Range::Height() const {
  if (!sheet_) return 0;
  double sum = 0;
  for (int r = area_.row; r <= area_.lastRow(); ++r) sum += sheet_->RowHeight(r);
  return sum;
}

double Range::Width() const {
  if (!sheet_) return 0;
  double sum = 0;
  for (int c = area_.col; c <= area_.lastCol(); ++c) sum += sheet_->ColumnWidth(c);
  return sum;
}

double Range::RowHeight() const { return sheet_ ? sheet_->RowHeight(area_.row) : 0; }

void Range::PutRowHeight(int points) const {
  if (!sheet_) return;
  // The spreadsheet's bounds for a row height.
  const double h = std::clamp(points, 0, 409);
  for (int r = area_.row; r <= area_.lastRow(); ++r) sheet_->SetRowHeight(r, h);
}

void Range::PutColumnWidth(int characters) const {
  if (!sheet_) return;
  const double w = CharactersToPoints(std::clamp(characters, 0, 255), sheet_->maxDigitWidth);
  for (int c = area_.col; c <= area_.lastCol(); ++c) sheet_->SetColumnWidth(c, w);
}

bool Range::MergeCells() const { return sheet_ && sheet_->MergeAreaAt(area_.row, area_.col) != nullptr; }

Range Range::MergeArea() const {
  if (!sheet_) return Range(nullptr, CellArea{area_.row, area_.col, 1, 1});
  const CellArea* m = sheet_->MergeAreaAt(area_.row, area_.col);
  return Range(sheet_, m ? *m : CellArea{area_.row, area_.col, 1, 1});
}

Range Range::Resize(int rows, int columns) const {
  return Range(sheet_, CellArea{area_.row, area_.col, std::max(rows, 0), std::max(columns, 0)});
}

Result Range::Merge(bool across) const {
  if (!sheet_) return Result(ErrorCode::kRefused, "the sheet's cells are not read");
  if (!across) return sheet_->Merge(area_);
  for (int r = area_.row; r <= area_.lastRow(); ++r)
    if (const Result m = sheet_->Merge(CellArea{r, area_.col, 1, area_.cols}); !m) return m;
  return Result::Ok();
}

int Range::HorizontalAlignment() const { return sheet_ ? sheet_->FormatOf(area_.row, area_.col).horizontal : kXlGeneral; }
void Range::PutHorizontalAlignment(int value) const {
  ChangeFormat([&](CellFormat& f) { f.horizontal = value; });
}
int Range::VerticalAlignment() const { return sheet_ ? sheet_->FormatOf(area_.row, area_.col).vertical : kXlBottom; }
void Range::PutVerticalAlignment(int value) const {
  ChangeFormat([&](CellFormat& f) { f.vertical = value; });
}

// ---- Worksheet

Worksheet::Worksheet(std::string name) : name_(std::move(name)) {
  data_.emplace();
  data_->name = name_;
}

ResultOr<Range> Worksheet::UsedRange() {
  if (data_) {
    const CellArea used = data_->UsedRange();
    return Range(&*data_, used.empty() ? CellArea{1, 1, 0, 0} : used, Range::Counting::kCells);
  }
  ResultOr<CellArea> used = source_->UsedRange(index_);
  if (!used) return used.result();
  // The cells are not read yet: the range can only be counted and placed (its other members
  // read as empty) until Cells() reads them.
  return Range(nullptr, used->empty() ? CellArea{1, 1, 0, 0} : used.value(), Range::Counting::kCells);
}

ResultOr<Range> Worksheet::Cells() {
  if (!data_) {
    ResultOr<SheetData> read = source_->ReadSheet(index_);
    if (!read) return read.result();
    data_.emplace(std::move(read).value());
  }
  return Range(&*data_, CellArea{1, 1, kMaxSheetRows, kMaxSheetColumns}, Range::Counting::kCells);
}

// ---- Sheets, Workbook, Workbooks, Application

Worksheet* Sheets::Item(int index) {
  if (index < 1 || index > Count()) return nullptr;
  return sheets_[static_cast<std::size_t>(index - 1)].get();
}

Workbook::Workbook(std::unique_ptr<WorkbookSource> source, std::string path)
    : source_(std::move(source)), path_(std::move(path)) {
  const std::vector<std::string>& names = source_->SheetNames();
  for (std::size_t i = 0; i < names.size(); ++i)
    sheets_.sheets_.push_back(std::make_unique<Worksheet>(source_.get(), static_cast<int>(i), names[i]));
}

Workbook::Workbook() { sheets_.sheets_.push_back(std::make_unique<Worksheet>("Sheet1")); }

ResultOr<Workbook*> Workbooks::Open(const std::string& path) {
  ResultOr<std::unique_ptr<WorkbookSource>> source = OpenWorkbookFile(path, limits_);
  if (!source) return source.result();
  books_.push_back(std::make_unique<Workbook>(std::move(source).value(), path));
  return books_.back().get();
}

Workbook& Workbooks::Add(int) {
  books_.push_back(std::make_unique<Workbook>());
  return *books_.back();
}

Workbook* Workbooks::Item(int index) {
  if (index < 1 || index > Count()) return nullptr;
  return books_[static_cast<std::size_t>(index - 1)].get();
}

void Workbooks::Close(const std::string& path) {
  books_.erase(std::remove_if(books_.begin(), books_.end(),
                              [&](const std::unique_ptr<Workbook>& b) { return !b->IsNew() && b->Path() == path; }),
               books_.end());
}

Result Application::PutVisible(bool visible) {
  visible_ = visible;
  if (!visible) return Result::Ok();
  for (int i = 1; i <= workbooks_.Count(); ++i) {
    const Workbook* book = workbooks_.Item(i);
    if (!book->IsNew() || std::find(shownBooks_.begin(), shownBooks_.end(), book) != shownBooks_.end()) continue;
    if (!viewer_) return Result(ErrorCode::kRefused, "there is nowhere to show the workbook");
    Worksheet* sheet = const_cast<Workbook*>(book)->ActiveSheet();
    std::string at;
    if (const Result shown = viewer_->Show(*sheet->Data(), at); !shown) return shown;
    shownBooks_.push_back(book);
    shown_.push_back(at);
  }
  return Result::Ok();
}

}  // namespace vex::excel
