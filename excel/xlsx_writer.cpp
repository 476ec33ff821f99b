#include "excel/xlsx_writer.h"

#include <unistd.h>
#include <xlsxwriter.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <vector>

namespace vex::excel {
namespace {

namespace fs = std::filesystem;

uint8_t HorizontalAlign(int v) {
  switch (v) {
    case kXlLeft: return LXW_ALIGN_LEFT;
    case kXlCenter: return LXW_ALIGN_CENTER;
    case kXlRight: return LXW_ALIGN_RIGHT;
    case kXlJustify: return LXW_ALIGN_JUSTIFY;
    case kXlFill: return LXW_ALIGN_FILL;
    default: return LXW_ALIGN_NONE;
  }
}

uint8_t VerticalAlign(int v) {
  switch (v) {
    case kXlTop: return LXW_ALIGN_VERTICAL_TOP;
    case kXlCenter: return LXW_ALIGN_VERTICAL_CENTER;
    case kXlJustify: return LXW_ALIGN_VERTICAL_JUSTIFY;
    default: return LXW_ALIGN_NONE;  // bottom, the default
  }
}

Result Failed(lxw_error e, const std::string& what) {
  return Result(ErrorCode::kCannotWrite, what + " (" + lxw_strerror(e) + ")");
}

// The workbook's content written to `file`.
Result WriteTo(const SheetData& sheet, const std::string& file) {
  lxw_workbook_options options{};
  std::string tmp = fs::path(file).parent_path().string();
  if (tmp.empty()) tmp = ".";
  options.tmpdir = tmp.data();
  lxw_workbook* wb = workbook_new_opt(file.c_str(), &options);
  if (!wb) return Result(ErrorCode::kCannotWrite, "the workbook cannot be made");
  // Sheet names are limited by the format; an unusable one gives the default name.
  const bool named = !sheet.name.empty() && workbook_validate_sheet_name(wb, sheet.name.c_str()) == LXW_NO_ERROR;
  lxw_worksheet* ws = workbook_add_worksheet(wb, named ? sheet.name.c_str() : nullptr);
  if (!ws) {
    workbook_close(wb);  // the only way to release it; the caller removes the file
    return Result(ErrorCode::kCannotWrite, "the worksheet cannot be made");
  }

  std::vector<lxw_format*> formats(sheet.formats.size(), nullptr);
  for (std::size_t i = 1; i < sheet.formats.size(); ++i) {
    const CellFormat& f = sheet.formats[i];
    lxw_format* x = workbook_add_format(wb);
    format_set_font_size(x, f.fontSize);
    if (const uint8_t h = HorizontalAlign(f.horizontal)) format_set_align(x, h);
    if (const uint8_t v = VerticalAlign(f.vertical)) format_set_align(x, v);
    if (f.wrap) format_set_text_wrap(x);
    if (f.numberFormat != "General") format_set_num_format(x, f.numberFormat.c_str());
    formats[i] = x;
  }
  auto formatOf = [&](int k) {
    return k > 0 && static_cast<std::size_t>(k) < formats.size() ? formats[static_cast<std::size_t>(k)] : nullptr;
  };

  for (const auto& [col, points] : sheet.ColumnWidths())
    worksheet_set_column_pixels(ws, static_cast<lxw_col_t>(col - 1), static_cast<lxw_col_t>(col - 1),
                                static_cast<uint32_t>(std::lround(points / 0.75)), nullptr);
  for (const auto& [row, points] : sheet.RowHeights())
    worksheet_set_row(ws, static_cast<lxw_row_t>(row - 1), points, nullptr);

  const CellArea used = sheet.UsedRange();
  lxw_error e = LXW_NO_ERROR;
  for (int r = used.row; r <= used.lastRow() && e == LXW_NO_ERROR; ++r)
    for (int c = used.col; c <= used.lastCol() && e == LXW_NO_ERROR; ++c) {
      const SheetCell* cell = sheet.Find(r, c);
      if (!cell) continue;
      const lxw_row_t row = static_cast<lxw_row_t>(r - 1);
      const lxw_col_t col = static_cast<lxw_col_t>(c - 1);
      lxw_format* f = formatOf(cell->format);
      switch (cell->kind) {
        case CellKind::kNumber: e = worksheet_write_number(ws, row, col, cell->number, f); break;
        case CellKind::kBool: e = worksheet_write_boolean(ws, row, col, cell->number != 0, f); break;
        case CellKind::kText:
        case CellKind::kError: e = worksheet_write_string(ws, row, col, cell->text.c_str(), f); break;
        case CellKind::kEmpty: e = worksheet_write_blank(ws, row, col, f); break;
      }
    }
  for (const CellArea& m : sheet.Merges()) {
    if (e != LXW_NO_ERROR) break;
    const SheetCell* first = sheet.Find(m.row, m.col);
    const bool text = first && (first->kind == CellKind::kText || first->kind == CellKind::kError);
    lxw_format* f = formatOf(first ? first->format : 0);
    e = worksheet_merge_range(ws, static_cast<lxw_row_t>(m.row - 1), static_cast<lxw_col_t>(m.col - 1),
                              static_cast<lxw_row_t>(m.lastRow() - 1), static_cast<lxw_col_t>(m.lastCol() - 1),
                              text ? first->text.c_str() : "", f);
    // A merged area keeps a number as a number: written over the blank the merge left.
    if (e == LXW_NO_ERROR && first && first->kind == CellKind::kNumber)
      e = worksheet_write_number(ws, static_cast<lxw_row_t>(m.row - 1), static_cast<lxw_col_t>(m.col - 1), first->number, f);
  }
  if (e != LXW_NO_ERROR) {
    workbook_close(wb);  // the only way to release it; the caller removes the file
    return Failed(e, "the sheet cannot be written");
  }
  const lxw_error closed = workbook_close(wb);
  if (closed != LXW_NO_ERROR) return Failed(closed, "the workbook cannot be written");
  return Result::Ok();
}

}  // namespace

Result WriteXlsx(const SheetData& sheet, const std::string& path) {
  const fs::path target(path);
  std::string tmpl = (target.parent_path().empty() ? fs::path(".") : target.parent_path()).string() + "/." +
                     target.filename().string() + ".tmp-XXXXXX";
  const int fd = ::mkstemp(tmpl.data());
  if (fd < 0) return Result(ErrorCode::kCannotWrite, "\"" + path + "\" cannot be written (its folder is not writable)");
  ::close(fd);
  const Result written = WriteTo(sheet, tmpl);
  std::error_code ec;
  if (!written) {
    fs::remove(tmpl, ec);
    return written.WithContext("\"" + path + "\"");
  }
  fs::rename(tmpl, path, ec);
  if (ec) {
    fs::remove(tmpl, ec);
    return Result(ErrorCode::kCannotWrite, "\"" + path + "\" cannot be put in place (" + ec.message() + ")");
  }
  return Result::Ok();
}

}  // namespace vex::excel
