#include "excel/excel_exchange.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>

namespace vex::excel {
namespace {

bool ByScale(const ExcelSettings& s) { return s.ExcelTurnType == 0; }

std::string Replace(std::string text, std::string_view from, std::string_view to) {
  for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
  return text;
}

int HorzModeFrom(int alignment) {
  if (alignment == kXlGeneral || alignment == kXlLeft) return 0;
  if (alignment == kXlRight) return 2;
  return 1;
}

int HorizontalAlignmentOf(int horzMode) {
  switch (horzMode) {
    case 0: return kXlLeft;
    case 1: return kXlCenter;
    case 2: return kXlRight;
    default: return kXlGeneral;
  }
}

int VerticalAlignmentOf(int vertMode) {
  switch (vertMode) {
    case 0: return kXlTop;
    case 1: return kXlCenter;
    case 2: return kXlBottom;
    default: return kXlGeneral;
  }
}

// The used range of the sheet being imported, placed on the sheet.
struct SheetBlock {
  Range cells;
  int firstRow = 1;
  int firstCol = 1;
  int nRows = 0;
  int nCols = 0;
};

// Step by step, the cells of the block into the table: texts, sizes, font heights,
// alignment, and the merge flag of each cell.
void ReadCellData(const SheetBlock& b, const ExcelSettings& s, TableData& table, std::vector<std::int16_t>& flags,
                  StatusMeter& meter) {
  const double scale = EffectiveExcelScale(s);
  meter.Show(kReadingCellData);
  flags.assign(static_cast<std::size_t>(b.nRows) * static_cast<std::size_t>(b.nCols), 0);
  for (int u = b.firstRow; u < b.firstRow + b.nRows; ++u) {
    TableRow row;
    row.cells.reserve(static_cast<std::size_t>(b.nCols));
    for (int v = b.firstCol; v < b.firstCol + b.nCols; ++v) {
      TableCell cell;
      cell.dHeight = 3.0;
      cell.HorzMode = 1;
      cell.VertMode = 1;
      const Range item = b.cells.Item(u, v);
      cell.strText = Replace(item.Text(), "\n", "\r\n");
      if (v == b.firstCol)
        table.RowHeights.push_back(ByScale(s) ? TruncToInt(item.Height() / scale + 0.5) : s.ExcelRowHeight);
      if (u == b.firstRow) {
        // A hidden row has no height to divide by; a point keeps the width finite.
        const double rowHeight = std::max(item.RowHeight(), 1.0);
        table.ColWidths.push_back(ByScale(s) ? TruncToInt(item.Width() / scale + 0.5)
                                             : TruncToInt(s.ExcelRowHeight * item.Width() / rowHeight + 0.5));
      }
      const std::size_t k = static_cast<std::size_t>(u - b.firstRow) * static_cast<std::size_t>(b.nCols) +
                            static_cast<std::size_t>(v - b.firstCol);
      flags[k] = item.MergeCells() ? -1 : 0;
      cell.dHeight = ByScale(s) ? TruncToInt(item.Font().Size() / (scale * 0.5) + 0.5) * 0.5
                                : TruncToInt(s.ExcelFontHeight * 2 + 0.5) * 0.5;
      cell.HorzMode = HorzModeFrom(item.HorizontalAlignment());
      row.cells.push_back(std::move(cell));
      meter.Set((b.nCols * (u - b.firstRow) + (v - b.firstCol) + 1) * 100 / b.nRows / b.nCols);
    }
    table.AppendRow(std::move(row));
  }
  meter.Restore();
}

// Merged areas into MergeRows spans (one per row of an area wider than a column) and
// MergeCols spans (one per column of an area taller than a row).
void ReadMerges(const SheetBlock& b, const std::vector<std::int16_t>& flags, TableData& table, StatusMeter& meter) {
  meter.Show(kReadingCellMerge);
  auto flag = [&](int u, int v) {
    return flags[static_cast<std::size_t>(u - b.firstRow) * static_cast<std::size_t>(b.nCols) +
                 static_cast<std::size_t>(v - b.firstCol)];
  };
  for (int u = b.firstRow; u < b.firstRow + b.nRows; ++u)
    for (int v = b.firstCol; v < b.firstCol + b.nCols; ++v) {
      meter.Set(((u - b.firstRow) * b.nCols + (v - b.firstCol) + 1) * 50 / b.nRows / b.nCols);
      if (flag(u, v) != -1) continue;
      const int n = static_cast<int>(b.cells.Item(u, v).MergeArea().Columns().Count());
      if (n != 1) {
        table.AppendMergeRow(MergeSpan(u - b.firstRow, v - b.firstCol, v - b.firstCol + n - 1));
        v += n - 1;
      }
    }
  for (int v = b.firstCol; v < b.firstCol + b.nCols; ++v)
    for (int u = b.firstRow; u < b.firstRow + b.nRows; ++u) {
      meter.Set(((v - b.firstCol) * b.nRows + (u - b.firstRow) + 1) * 50 / b.nRows / b.nCols + 50);
      if (flag(u, v) != -1) continue;
      const int n = static_cast<int>(b.cells.Item(u, v).MergeArea().Rows().Count());
      if (n != 1) {
        table.AppendMergeCol(MergeSpan(v - b.firstCol, u - b.firstRow, u - b.firstRow + n - 1));
        u += n - 1;
      }
    }
  meter.Restore();
}

// Opens the workbook, lets the drafter choose a sheet and checks its size. nullopt with the
// result 0 when the import ends here.
std::optional<SheetBlock> OpenChosenSheet(Application& excel, const std::string& path, ImportUi& ui) {
  ResultOr<Workbook*> book = excel.Workbooks().Open(path);
  if (!book) {
    ui.messages.Alert("The workbook \"" + path + "\" cannot be read: " + book.result().Describe());
    return std::nullopt;
  }
  std::vector<std::string> names;
  Sheets& sheets = book.value()->Worksheets();
  for (int i = 1; i <= sheets.Count(); ++i) names.push_back(sheets.Item(i)->Name());
  const std::optional<int> chosen = ui.chooser.ChooseSheet(names);
  if (!chosen || *chosen < 0 || *chosen >= sheets.Count()) return std::nullopt;
  Worksheet* sheet = sheets.Item(*chosen + 1);
  ResultOr<Range> used = sheet->UsedRange();
  if (!used) {
    ui.messages.Alert("The sheet \"" + sheet->Name() + "\" cannot be read: " + used.result().Describe());
    return std::nullopt;
  }
  SheetBlock b;
  b.nRows = static_cast<int>(used->Rows().Count());
  b.nCols = static_cast<int>(used->Columns().Count());
  b.firstRow = used->Row();
  b.firstCol = used->Column();
  if (b.nRows < 1 || b.nCols < 1) {
    ui.messages.Print("\nThe sheet \"" + sheet->Name() + "\" holds no cells.");
    return std::nullopt;
  }
  if (static_cast<long long>(b.nRows) * b.nCols > kMaxImportCells) {
    // On a line of its own, as every command-line message.
    ui.messages.Print(std::string("\n") + kTableTooLarge);
    return std::nullopt;
  }
  ResultOr<Range> cells = sheet->Cells();
  if (!cells) {
    ui.messages.Alert("The sheet \"" + sheet->Name() + "\" cannot be read: " + cells.result().Describe());
    return std::nullopt;
  }
  b.cells = cells.value();
  return b;
}

// Each model cell into the sheet: its text, the sizes and font size (By Scale), alignment.
void WriteCellData(const TableData& t, const ExcelSettings& s, const Range& cells, StatusMeter& meter) {
  const double scale = EffectiveExcelScale(s);
  meter.Show(kWritingCellData);
  // By Value divides by the first row's height in whole millimetres; a row lower than 1 mm
  // would make that 0, so 1 mm is the least divisor.
  const double firstRow = t.nRows > 0 ? std::max(1.0, std::trunc(t.RowHeights[0])) : 1.0;
  for (int i = 0; i < t.nRows; ++i)
    for (int j = 0; j < t.nCols; ++j) {
      const TableCell& c = t.rows[static_cast<std::size_t>(i)].cells[static_cast<std::size_t>(j)];
      const std::string text = Replace(c.strText, "\r\n", "\n");
      cells.PutItem(i + 1, j + 1, text);
      const Range item = cells.Item(i + 1, j + 1);
      if (j == 0 && ByScale(s)) item.PutRowHeight(TruncToInt(t.RowHeights[static_cast<std::size_t>(i)] * scale + 0.5));
      if (i == 0) {
        const double w = t.ColWidths[static_cast<std::size_t>(j)];
        item.PutColumnWidth(ByScale(s) ? TruncToInt(w * scale * 0.16335 + 0.5)
                                       : TruncToInt(w * item.Height() * 0.16335 / firstRow + 0.5));
      }
      if (ByScale(s)) item.Font().PutSize(static_cast<float>((scale * c.dHeight * 2 + 0.5) * 0.5));
      item.PutHorizontalAlignment(HorizontalAlignmentOf(c.HorzMode));
      item.PutVerticalAlignment(VerticalAlignmentOf(c.VertMode));
      meter.Set((j + t.nCols * i) * 100 / t.nRows / t.nCols);
    }
  meter.Restore();
}

Result WriteMerges(const TableData& t, const Range& cells, StatusMeter& meter) {
  meter.Show(kWritingCellMerge);
  const int nR = static_cast<int>(t.MergeRows.size());
  const int nC = static_cast<int>(t.MergeCols.size());
  for (int k = 0; k < nR; ++k) {
    meter.Set(k * 100 / (nR + nC));
    const MergeSpan& m = t.MergeRows[static_cast<std::size_t>(k)];
    if (const Result r = cells.Item(m.nPlace + 1, m.nStart + 1).Resize(1, m.nEnd - m.nStart + 1).Merge(false); !r) return r;
  }
  for (int k = 0; k < nC; ++k) {
    meter.Set((k + nR) * 100 / (nR + nC));
    const MergeSpan& m = t.MergeCols[static_cast<std::size_t>(k)];
    if (const Result r = cells.Item(m.nStart + 1, m.nPlace + 1).Resize(m.nEnd - m.nStart + 1, 1).Merge(false); !r) return r;
  }
  meter.Restore();
  return Result::Ok();
}

}  // namespace

double EffectiveExcelScale(const ExcelSettings& settings) {
  return std::isfinite(settings.ExcelScale) && settings.ExcelScale > 0 ? settings.ExcelScale : 4.0;
}

int TruncToInt(double x) {
  if (std::isnan(x)) return 0;
  return static_cast<int>(std::clamp(std::trunc(x), static_cast<double>(INT_MIN), static_cast<double>(INT_MAX)));
}

int Import(TableData& table, const ExcelSettings& settings, ImportUi& ui, const ReadLimits& limits) {
  const std::optional<std::string> path = ui.files.AskWorkbookToOpen();
  if (!path) return 0;
  ui.meter.BeginWait();
  Application excel(nullptr, limits);
  int result = 0;
  if (std::optional<SheetBlock> block = OpenChosenSheet(excel, *path, ui)) {
    table.Clear();
    table.nRows = block->nRows;
    table.nCols = block->nCols;
    std::vector<std::int16_t> flags;
    ReadCellData(*block, settings, table, flags, ui.meter);
    ReadMerges(*block, flags, table, ui.meter);
    result = 1;
  }
  excel.Workbooks().Close(*path);
  excel.Workbooks().Close();
  excel.Quit();
  ui.meter.EndWait();
  return result;
}

int Export(const TableData& table, const ExcelSettings& settings, StatusMeter& meter, MessageSink& messages,
           WorkbookViewer& viewer) {
  // The editor's table is rectangular already; a table from elsewhere is made so.
  TableData t = table;
  t.Normalize();
  meter.BeginWait();
  Application excel(&viewer);
  Workbook& book = excel.Workbooks().Add(1);
  ResultOr<Range> cells = book.ActiveSheet()->Cells();
  Result done = cells.result();
  if (cells) {
    WriteCellData(t, settings, cells.value(), meter);
    done = WriteMerges(t, cells.value(), meter);
  }
  if (done) done = excel.PutVisible(true);
  excel.PutUserControl(true);
  meter.EndWait();
  if (!done) {
    messages.Alert("The workbook cannot be written: " + done.Describe());
    return 0;
  }
  messages.Print("\nThe table is in the workbook \"" + excel.Shown().front() + "\".\n");
  return 1;
}

}  // namespace vex::excel
