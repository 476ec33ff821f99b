#include "excel/sheet_data.h"

#include <algorithm>
#include <cctype>
#include <cmath>

namespace vex::excel {
namespace {

// Rows per band of the merge index.
constexpr int kBandRows = 64;
// Beyond these a workbook's merges cost more than any table could use.
constexpr std::size_t kMaxMerges = 200000;
constexpr long long kMaxBandEntries = 4'000'000;

std::uint64_t Key(int row, int col) {
  return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(row)) << 32) | static_cast<std::uint32_t>(col);
}

Result TooManyMerges() {
  return Result(ErrorCode::kTooLarge, "the sheet has more merged cells than can be read");
}

}  // namespace

CellArea CellArea::United(const CellArea& o) const {
  if (empty()) return o;
  if (o.empty()) return *this;
  return FromCorners(std::min(row, o.row), std::min(col, o.col), std::max(lastRow(), o.lastRow()),
                     std::max(lastCol(), o.lastCol()));
}

SheetData::SheetData() : formats{CellFormat{}} {}

const SheetCell* SheetData::Find(int row, int col) const {
  const auto it = cells_.find(Key(row, col));
  return it == cells_.end() ? nullptr : &it->second;
}

SheetCell& SheetData::At(int row, int col) {
  cellExtent_ = cellExtent_.United(CellArea{row, col, 1, 1});
  return cells_[Key(row, col)];
}

int SheetData::FormatIndex(const CellFormat& format) {
  const auto it = std::find(formats.begin(), formats.end(), format);
  if (it != formats.end()) return static_cast<int>(it - formats.begin());
  formats.push_back(format);
  return static_cast<int>(formats.size() - 1);
}

const CellFormat& SheetData::FormatOf(int row, int col) const {
  const SheetCell* c = Find(row, col);
  const int f = c ? c->format : 0;
  return formats[f >= 0 && static_cast<std::size_t>(f) < formats.size() ? static_cast<std::size_t>(f) : 0];
}

double SheetData::RowHeight(int row) const {
  const auto it = rowHeights_.find(row);
  return it == rowHeights_.end() ? defaultRowHeight : it->second;
}

double SheetData::ColumnWidth(int col) const {
  const auto it = columnWidths_.find(col);
  return it == columnWidths_.end() ? defaultColumnWidth : it->second;
}

CellArea SheetData::UsedRange() const {
  CellArea used = cellExtent_;
  for (const CellArea& m : merges_) used = used.United(m);
  return used;
}

const CellArea* SheetData::MergeAreaAt(int row, int col) const {
  const auto band = mergeBands_.find((row - 1) / kBandRows);
  if (band == mergeBands_.end()) return nullptr;
  for (int i : band->second)
    if (merges_[static_cast<std::size_t>(i)].Contains(row, col)) return &merges_[static_cast<std::size_t>(i)];
  return nullptr;
}

void SheetData::IndexMerge(int index) {
  const CellArea& a = merges_[static_cast<std::size_t>(index)];
  for (int b = (a.row - 1) / kBandRows; b <= (a.lastRow() - 1) / kBandRows; ++b) {
    mergeBands_[b].push_back(index);
    ++bandEntries_;
  }
}

void SheetData::RebuildMergeIndex() {
  mergeBands_.clear();
  bandEntries_ = 0;
  for (std::size_t i = 0; i < merges_.size(); ++i) IndexMerge(static_cast<int>(i));
}

Result SheetData::AddMerge(const CellArea& area) {
  if (area.empty() || area.CellCount() == 1) return Result::Ok();
  const long long bands = (area.lastRow() - 1) / kBandRows - (area.row - 1) / kBandRows + 1;
  if (merges_.size() >= kMaxMerges || bandEntries_ + bands > kMaxBandEntries) return TooManyMerges();
  merges_.push_back(area);
  IndexMerge(static_cast<int>(merges_.size() - 1));
  return Result::Ok();
}

Result SheetData::Merge(const CellArea& area) {
  if (area.empty() || area.CellCount() == 1) return Result::Ok();
  CellArea joined = area;
  // Taking in one merged area can make the result touch another: repeat until none is left.
  for (bool grew = true; grew;) {
    grew = false;
    for (int b = (joined.row - 1) / kBandRows; b <= (joined.lastRow() - 1) / kBandRows && !grew; ++b) {
      const auto band = mergeBands_.find(b);
      if (band == mergeBands_.end()) continue;
      for (int i : band->second) {
        const CellArea& m = merges_[static_cast<std::size_t>(i)];
        if (m.Intersects(joined) && joined.United(m) != joined) {
          joined = joined.United(m);
          grew = true;
          break;
        }
      }
    }
  }
  const auto inside = [&](const CellArea& m) { return m.Intersects(joined); };
  if (std::any_of(merges_.begin(), merges_.end(), inside)) {
    merges_.erase(std::remove_if(merges_.begin(), merges_.end(), inside), merges_.end());
    RebuildMergeIndex();
  }
  return AddMerge(joined);
}

bool ParseCellReference(std::string_view text, int& row, int& col) {
  std::size_t i = 0;
  long long c = 0, r = 0;
  while (i < text.size() && text[i] == '$') ++i;
  const std::size_t letters = i;
  for (; i < text.size() && std::isalpha(static_cast<unsigned char>(text[i])); ++i) {
    c = c * 26 + (std::toupper(static_cast<unsigned char>(text[i])) - 'A' + 1);
    if (c > kMaxSheetColumns) return false;
  }
  if (i == letters) return false;
  if (i < text.size() && text[i] == '$') ++i;
  const std::size_t digits = i;
  for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
    r = r * 10 + (text[i] - '0');
    if (r > kMaxSheetRows) return false;
  }
  if (i == digits || i != text.size() || r < 1) return false;
  row = static_cast<int>(r);
  col = static_cast<int>(c);
  return true;
}

bool ParseAreaReference(std::string_view text, CellArea& area) {
  const std::size_t colon = text.find(':');
  int r0 = 0, c0 = 0, r1 = 0, c1 = 0;
  if (!ParseCellReference(text.substr(0, colon), r0, c0)) return false;
  if (colon == std::string_view::npos) {
    r1 = r0;
    c1 = c0;
  } else if (!ParseCellReference(text.substr(colon + 1), r1, c1)) {
    return false;
  }
  area = CellArea::FromCorners(std::min(r0, r1), std::min(c0, c1), std::max(r0, r1), std::max(c0, c1));
  return true;
}

double CharactersToPoints(double characters, double maxDigitWidth) {
  if (!(characters > 0)) return 0;
  return PixelsToPoints(std::trunc(characters * maxDigitWidth + 0.5) + 5);
}

double FileWidthToPoints(double fileWidth, double maxDigitWidth) {
  if (!(fileWidth > 0)) return 0;
  return PixelsToPoints(std::trunc(fileWidth * maxDigitWidth + 0.5));
}

double BaseWidthToPoints(double baseCharacters, double maxDigitWidth) {
  const double pixels = std::ceil((std::trunc(baseCharacters * maxDigitWidth + 0.5) + 5) / 8) * 8;
  return PixelsToPoints(pixels);
}

double MaxDigitWidthFor(double fontPoints) {
  if (!(fontPoints > 0)) fontPoints = 11;
  // Digits of the usual sans-serif faces are about half an em wide.
  return std::max(1.0, std::round(fontPoints * 4.0 / 3.0 * 0.5));
}

double DefaultRowHeightFor(double fontPoints) {
  if (!(fontPoints > 0)) fontPoints = 11;
  // The line height of the font (1.2 em) rounded up to pixels, and 2 pixels of padding.
  return PixelsToPoints(std::ceil(fontPoints * 4.0 / 3.0 * 1.2) + 2);
}

}  // namespace vex::excel
