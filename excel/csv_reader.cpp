#include "excel/csv_reader.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "model/table_limits.h"

namespace vex::excel {
namespace {

// Calls field(row, col, text) for every field, rows and columns from 1; stops when it returns
// false.
template <class F>
void ForEachField(std::string_view data, char separator, F&& field) {
  int row = 1, col = 1;
  std::string text;
  std::size_t i = 0;
  while (i < data.size()) {
    text.clear();
    if (data[i] == '"') {
      ++i;
      while (i < data.size()) {
        if (data[i] == '"') {
          if (i + 1 < data.size() && data[i + 1] == '"') {
            text += '"';
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        text += data[i++];
      }
      // Anything between the closing quote and the separator is kept, as spreadsheets do.
      while (i < data.size() && data[i] != separator && data[i] != '\n' && data[i] != '\r') text += data[i++];
    } else {
      while (i < data.size() && data[i] != separator && data[i] != '\n' && data[i] != '\r') text += data[i++];
    }
    if (!field(row, col, text)) return;
    if (i < data.size() && data[i] == separator) {
      ++i;
      ++col;
      if (i == data.size() && !field(row, col, "")) return;
    } else {
      if (i < data.size() && data[i] == '\r') ++i;
      if (i < data.size() && data[i] == '\n') ++i;
      ++row;
      col = 1;
    }
  }
}

class CsvSource final : public WorkbookSource {
 public:
  CsvSource(std::string name, std::string data) : data_(std::move(data)) {
    names_.push_back(std::move(name));
    const std::string_view firstLine = std::string_view(data_).substr(0, data_.find('\n'));
    if (firstLine.find(',') == std::string_view::npos) {
      if (firstLine.find(';') != std::string_view::npos) separator_ = ';';
      else if (firstLine.find('\t') != std::string_view::npos) separator_ = '\t';
    }
  }

  const std::vector<std::string>& SheetNames() const override { return names_; }

  ResultOr<CellArea> UsedRange(int index) override {
    if (index != 0) return Result(ErrorCode::kNotFound, "the workbook has no sheet " + std::to_string(index + 1));
    CellArea used;
    int lastRow = 0, lastCol = 0;
    ForEachField(data_, separator_, [&](int r, int c, const std::string& text) {
      if (!text.empty()) {
        lastRow = std::max(lastRow, r);
        lastCol = std::max(lastCol, c);
      }
      return r <= kMaxSheetRows && c <= kMaxSheetColumns;
    });
    if (lastRow > 0) used = CellArea{1, 1, std::min(lastRow, kMaxSheetRows), std::min(lastCol, kMaxSheetColumns)};
    return used;
  }

  ResultOr<SheetData> ReadSheet(int index) override {
    ResultOr<CellArea> used = UsedRange(index);
    if (!used) return used.result();
    if (const Result counts = CheckTableCounts(used->rows, used->cols); !counts) return counts;
    SheetData out;
    out.name = names_[0];
    out.defaultColumnWidth = BaseWidthToPoints(8, out.maxDigitWidth);
    ForEachField(data_, separator_, [&](int r, int c, const std::string& text) {
      if (text.empty() || !used->Contains(r, c)) return r <= used->lastRow();
      SheetCell& cell = out.At(r, c);
      char* end = nullptr;
      const double v = std::strtod(text.c_str(), &end);
      const bool number = end != text.c_str() && *end == '\0' && text.find_first_of("xXnN") == std::string::npos;
      cell.kind = number ? CellKind::kNumber : CellKind::kText;
      if (number) cell.number = v;
      else cell.text = text;
      return true;
    });
    return out;
  }

 private:
  std::vector<std::string> names_;
  std::string data_;
  char separator_ = ',';
};

}  // namespace

ResultOr<std::unique_ptr<WorkbookSource>> OpenCsv(const std::string& path, const ReadLimits& limits) {
  std::error_code ec;
  if (!std::filesystem::exists(path, ec)) return Result(ErrorCode::kNotFound, "the file does not exist");
  const auto size = std::filesystem::file_size(path, ec);
  if (ec) return Result(ErrorCode::kCannotRead, "it cannot be read (" + ec.message() + ")");
  if (static_cast<std::int64_t>(size) > limits.maxFileBytes)
    return Result(ErrorCode::kTooLarge, "the file is larger than " + std::to_string(limits.maxFileBytes >> 20) + " MiB");
  std::ifstream in(path, std::ios::binary);
  std::string data(size, '\0');
  if (!in || !in.read(data.data(), static_cast<std::streamsize>(size)))
    return Result(ErrorCode::kCannotRead, "it cannot be read");
  if (data.compare(0, 3, "\xEF\xBB\xBF") == 0) data.erase(0, 3);
  return std::unique_ptr<WorkbookSource>(
      std::make_unique<CsvSource>(std::filesystem::path(path).stem().string(), std::move(data)));
}

}  // namespace vex::excel
