#include "files/table_init.h"

#include <algorithm>
#include <cstdio>

#include "files/header_library.h"
#include "settings/language_pack.h"

namespace vex {

namespace {
int& SizeOf(SizeField f, int& rows, int& cols, int& rowHeight, int& colWidth) {
  switch (f) {
    case SizeField::kRows: return rows;
    case SizeField::kCols: return cols;
    case SizeField::kRowHeight: return rowHeight;
    case SizeField::kColWidth: break;
  }
  return colWidth;
}
}  // namespace

const char* HeaderTypeTextKey(int type) {
  switch (type) {
    case kVerticalHeader: return "IDS_VERTICAL_TABLE";
    case kHorizontalHeader: return "IDS_HORIZONTAL_TABLE";
    case kFullHeader: return "IDS_FIXUP_TABLE";
    default: return "";
  }
}

void TableInit::ChooseBlank() {
  header_.reset();
  Refresh();
}

void TableInit::ChooseHeader(TableHeader header) {
  header.Normalize();
  header_ = std::move(header);
  Refresh();
}

int TableInit::Get(SizeField f) const {
  int r = rows_, c = cols_, h = rowHeight_, w = colWidth_;
  return SizeOf(f, r, c, h, w);
}

void TableInit::Set(SizeField f, int value) {
  SizeOf(f, rows_, cols_, rowHeight_, colWidth_) = value;
  Refresh();
}

void TableInit::Spin(SizeField f, int delta) {
  if (!Enabled(f)) return;  // a count the header fixes has no arrows
  int& v = SizeOf(f, rows_, cols_, rowHeight_, colWidth_);
  v = std::max(Minimum(f), v + delta);
}

bool TableInit::Enabled(SizeField f) const {
  if (!header_) return true;
  const int type = header_->TitleROrC;
  const bool columnsFixed = type == kVerticalHeader || type == kFullHeader;
  const bool rowsFixed = type == kHorizontalHeader || type == kFullHeader;
  switch (f) {
    case SizeField::kRows: case SizeField::kRowHeight: return !rowsFixed;
    case SizeField::kCols: case SizeField::kColWidth: return !columnsFixed;
  }
  return true;
}

int TableInit::Minimum(SizeField f) const {
  if (f == SizeField::kRows) return header_ ? std::max(1, header_->nRows) : 1;
  if (f == SizeField::kCols) return header_ ? std::max(1, header_->nCols) : 1;
  return 1;
}

void TableInit::Refresh() {
  if (header_) {
    const int type = header_->TitleROrC;
    if (type == kVerticalHeader || type == kFullHeader) cols_ = header_->nCols;
    if (type == kHorizontalHeader || type == kFullHeader) rows_ = header_->nRows;
  }
  rows_ = std::max(rows_, Minimum(SizeField::kRows));
  cols_ = std::max(cols_, Minimum(SizeField::kCols));
  rowHeight_ = std::max(rowHeight_, 1);
  colWidth_ = std::max(colWidth_, 1);
}

std::string TableInit::InfoLine(const LanguagePack& language) const {
  if (!header_) return {};
  char line[64];
  std::snprintf(line, sizeof line, " %d ", header_->nRows);
  std::string out = line + language.Text("IDS_ROWS_UNIT");
  std::snprintf(line, sizeof line, ", %d ", header_->nCols);
  out += line + language.Text("IDS_COLS_UNIT") + ", ";
  const char* key = HeaderTypeTextKey(header_->TitleROrC);
  if (*key) out += language.Text(key);
  return out;
}

TableData TableInit::Table() const {
  TableData t;
  if (header_) t = *header_;
  t.nRows = rows_;
  t.nCols = cols_;
  t.RowHeights.resize(header_ ? std::min<std::size_t>(t.RowHeights.size(), static_cast<std::size_t>(header_->nRows)) : 0);
  t.ColWidths.resize(header_ ? std::min<std::size_t>(t.ColWidths.size(), static_cast<std::size_t>(header_->nCols)) : 0);
  t.RowHeights.push_back(rowHeight_);
  t.ColWidths.push_back(colWidth_);
  t.Normalize();
  return t;
}

}  // namespace vex
