// Import and Export: the sizes, texts, alignment and merges they carry, their meters and
// messages, and what they do at the edges.

#include <gtest/gtest.h>

#include <climits>
#include <cmath>

#include "excel/xlsx_writer.h"
#include "excel_test_util.h"
#include "model/merge_blocks.h"
#include "support/tables.h"

namespace vex::test {
namespace {

using excel::CellArea;

// C5..E9 with a merged block C8:E9, a 30-point row 5, a wide column D, a 9-point font in C7.
constexpr const char* kBook = R"({"sheets": [{"name": "First", "cells": [
  ["C5", "hello"], ["D5", 1234.5678, {"format": "#,##0.00"}], ["E5", 0.256, {"format": "0.0%"}],
  ["C6", "right", {"h": "right"}], ["D6", "centre", {"h": "center", "v": "top"}], ["E6", "two\nlines", {"h": "justify"}],
  ["C7", "small", {"size": 9, "h": "left"}], ["D7", "fill", {"h": "fill"}], ["E7", "general", {"h": "general"}],
  ["C8", "block"]],
  "merges": ["C8:E9"], "rows": {"5": 30}, "cols": {"D": 20}},
  {"name": "Second", "cells": [["A1", "only"]]}]})";

class ImportTest : public ::testing::Test {
 protected:
  void SetUp() override { MakeWorkbook(dir, kBook, dir.File("book.xlsx")); }
  TempDir dir;
};

TEST_F(ImportTest, AUsedRangeFromC5BecomesRowZeroColumnZero) {
  TableData t;
  FakeExchange seen;
  ASSERT_EQ(ImportBook(dir.File("book.xlsx"), t, {}, 0, &seen), 1) << seen.messages.Text();
  EXPECT_EQ(seen.offeredSheets, (std::vector<std::string>{"First", "Second"}));
  ASSERT_EQ(t.nRows, 5);
  ASSERT_EQ(t.nCols, 3);
  EXPECT_EQ(t.GetCell(0, 0).strText, "hello");
  EXPECT_EQ(t.GetCell(3, 0).strText, "block");
  EXPECT_EQ(t.MergeRows, (std::vector<MergeSpan>{{3, 0, 2}, {4, 0, 2}}));
  EXPECT_EQ(t.MergeCols, (std::vector<MergeSpan>{{0, 3, 4}, {1, 3, 4}, {2, 3, 4}}));
  TableData copy = t;
  copy.Normalize();
  EXPECT_EQ(copy, t);  // already rectangular
}

TEST_F(ImportTest, TextsAreShownAsTheSpreadsheetShowsThem) {
  TableData t;
  ASSERT_EQ(ImportBook(dir.File("book.xlsx"), t), 1);
  EXPECT_EQ(t.GetCell(0, 1).strText, "1,234.57");
  EXPECT_EQ(t.GetCell(0, 2).strText, "25.6%");
  EXPECT_EQ(t.GetCell(1, 2).strText, "two\r\nlines");
}

TEST_F(ImportTest, ByScaleSizesFollowTheScale) {
  TableData t;
  ASSERT_EQ(ImportBook(dir.File("book.xlsx"), t), 1);  // ExcelScale 4
  // 30 points, then the default 15 points; 48-point default columns; D is 140 pixels.
  EXPECT_EQ(t.RowHeights, (std::vector<double>{8, 4, 4, 4, 4}));
  EXPECT_EQ(t.ColWidths, (std::vector<double>{12, 26, 12}));
  EXPECT_EQ(t.GetCell(2, 0).dHeight, 2.5);  // 9 points
  EXPECT_EQ(t.GetCell(0, 0).dHeight, 3.0);  // 11 points: trunc(5.5 + 0.5) x 0.5
}

TEST_F(ImportTest, ByValueRowsAndTextsTakeTheFixedSizes) {
  TableData t;
  ASSERT_EQ(ImportBook(dir.File("book.xlsx"), t, ByValue(10, 3.3)), 1);
  EXPECT_EQ(t.RowHeights, (std::vector<double>(5, 10)));
  for (const TableRow& r : t.rows)
    for (const TableCell& c : r.cells) EXPECT_EQ(c.dHeight, 3.5);
  // Widths against the first row's 30 points: 10 x 36 / 30 and 10 x 105 / 30.
  EXPECT_EQ(t.ColWidths, (std::vector<double>{16, 35, 16}));
}

TEST(Import, ByValueAColumnTwiceAsWideAsItsRowGetsTwiceTheRowHeight) {
  TempDir dir;
  // 40 pixels wide (30 points) against the default 15-point row.
  MakeWorkbook(dir, R"({"sheets": [{"name": "S", "cells": [["A1", "x"]], "cols": {"A": 5.714285714}}]})",
               dir.File("b.xlsx"));
  TableData t;
  ASSERT_EQ(ImportBook(dir.File("b.xlsx"), t, ByValue(7)), 1);
  EXPECT_EQ(t.ColWidths, (std::vector<double>{14}));
}

TEST_F(ImportTest, OnlyRightAlignmentIsKeptAsSuch) {
  TableData t;
  ASSERT_EQ(ImportBook(dir.File("book.xlsx"), t), 1);
  EXPECT_EQ(t.GetCell(1, 0).HorzMode, 2);  // right
  EXPECT_EQ(t.GetCell(1, 1).HorzMode, 1);  // centre
  EXPECT_EQ(t.GetCell(1, 2).HorzMode, 1);  // justify
  EXPECT_EQ(t.GetCell(2, 0).HorzMode, 0);  // left
  EXPECT_EQ(t.GetCell(2, 1).HorzMode, 1);  // fill
  EXPECT_EQ(t.GetCell(2, 2).HorzMode, 0);  // general
  for (const TableRow& r : t.rows)
    for (const TableCell& c : r.cells) EXPECT_EQ(c.VertMode, 1);
}

TEST_F(ImportTest, TheChosenSheetIsRead) {
  TableData t;
  ASSERT_EQ(ImportBook(dir.File("book.xlsx"), t, {}, 1), 1);
  EXPECT_EQ(t.nRows, 1);
  EXPECT_EQ(t.GetCell(0, 0).strText, "only");
}

TEST_F(ImportTest, CancellingEndsWithoutAMessage) {
  TableData t;
  FakeExchange fake;
  fake.path = dir.File("book.xlsx");
  fake.sheet = std::nullopt;
  excel::ImportUi ui = fake.Ui();
  EXPECT_EQ(excel::Import(t, {}, ui), 0);
  EXPECT_EQ(fake.messages.Text(), "");
  fake.path = std::nullopt;
  EXPECT_EQ(excel::Import(t, {}, ui), 0);
  EXPECT_TRUE(fake.offeredSheets.size() == 2);
}

TEST_F(ImportTest, MetersRunToTheirEnds) {
  TableData t;
  FakeExchange seen;
  ASSERT_EQ(ImportBook(dir.File("book.xlsx"), t, {}, 0, &seen), 1);
  EXPECT_EQ(seen.meters, (std::vector<std::string>{"Reading Excel cell data ", "Read Excel cell merge "}));
  EXPECT_EQ(seen.restores, 2);
  // 15 cells of data; then the merge steps, where the cells a merge covers are skipped: 11
  // by rows, 12 by columns.
  ASSERT_EQ(seen.positions.size(), 38u);
  EXPECT_EQ(seen.positions[14], 100);
  EXPECT_EQ(seen.positions[15], 3);
  EXPECT_EQ(seen.positions[25], 50 * 13 / 15);
  EXPECT_EQ(seen.positions[26], 50 + 50 / 15);
  EXPECT_EQ(seen.positions.back(), 96);  // the last cell visited is the top of E8:E9
}

TEST(Import, AnUnreadableWorkbookIsReportedInAMessageBox) {
  TempDir dir;
  WriteFile(dir.File("bad.xlsx"), "PK but not really");
  TableData t;
  FakeExchange seen;
  EXPECT_EQ(ImportBook(dir.File("bad.xlsx"), t, {}, 0, &seen), 0);
  EXPECT_EQ(seen.messages.Alerts(), 1);
  EXPECT_NE(seen.messages.Text().find("cannot be read"), std::string::npos);
}

// A sheet whose used range is rows x cols: text in its first and last cells.
void WriteSheetOf(const std::string& path, int rows, int cols, bool everyCell = false) {
  excel::SheetData s;
  s.name = "Big";
  for (int r = 1; r <= rows; ++r)
    for (int c = 1; c <= cols; ++c)
      if (everyCell || (r == 1 && c == 1) || (r == rows && c == cols)) {
        excel::SheetCell& cell = s.At(r, c);
        cell.kind = excel::CellKind::kText;
        cell.text = "t";
      }
  ASSERT_TRUE(excel::WriteXlsx(s, path).ok());
}

TEST(Import, ASheetOf316By316IsRead) {
  TempDir dir;
  WriteSheetOf(dir.File("ok.xlsx"), 316, 316, true);
  TableData t;
  ASSERT_EQ(ImportBook(dir.File("ok.xlsx"), t), 1);
  EXPECT_EQ(t.nRows * t.nCols, 99856);
  EXPECT_EQ(t.GetCell(315, 315).strText, "t");
}

TEST(Import, ASheetOf317By316IsRefusedBeforeItsCellsAreRead) {
  TempDir dir;
  WriteSheetOf(dir.File("big.xlsx"), 317, 316);
  // A cell naming a shared string that does not exist: reading the cells would report it.
  const ProgramRun run = RunShell(
      "cd " + dir.path() + " && mkdir x && cd x && unzip -q ../big.xlsx && "
      "sed -i 's|<c r=\"A1\" t=\"s\"><v>0</v></c>|<c r=\"A1\" t=\"s\"><v>99</v></c>|' xl/worksheets/sheet1.xml && "
      "grep -q '<v>99</v>' xl/worksheets/sheet1.xml && zip -q -r ../big2.xlsx .");
  ASSERT_EQ(run.status, 0) << run.err;
  TableData t;
  FakeExchange seen;
  EXPECT_EQ(ImportBook(dir.File("big2.xlsx"), t, {}, 0, &seen), 0);
  EXPECT_EQ(seen.messages.Text(), "\nTable is Large!Software can read maximum cell is 100000.");
  EXPECT_EQ(seen.messages.Alerts(), 0);
  EXPECT_TRUE(seen.meters.empty());
}

// ---- Export

// Exports into a sheet kept in memory.
class MemoryViewer final : public excel::WorkbookViewer {
 public:
  Result Show(const excel::SheetData& sheet, std::string& shownAt) override {
    shown = sheet;
    shownAt = "memory";
    return Result::Ok();
  }
  excel::SheetData shown;
};

excel::SheetData Exported(const TableData& t, const ExcelSettings& s, FakeExchange* seen = nullptr) {
  MemoryViewer viewer;
  FakeExchange local;
  FakeExchange& fake = seen ? *seen : local;
  EXPECT_EQ(excel::Export(t, s, fake, fake.messages, viewer), 1) << fake.messages.Text();
  return viewer.shown;
}

TableData Sample() {
  TableData t = NamedTable(3, 4, 10, 30);
  TableCell c = t.GetCell(0, 0);
  c.strText = "a\r\nb";
  c.HorzMode = 2;
  c.VertMode = 0;
  t.SetCell(0, 0, c);
  c = t.GetCell(1, 1);
  c.HorzMode = 0;
  c.VertMode = 2;
  c.dHeight = 2.5;
  t.SetCell(1, 1, c);
  t.RowHeights[2] = 7;
  t.ColWidths[3] = 12;
  AppendMergeSpans(t, {{1, 1, 2, 3}});
  return t;
}

TEST(Export, ByScaleWritesSizesFontsAlignmentAndMerges) {
  FakeExchange seen;
  const excel::SheetData s = Exported(Sample(), {}, &seen);
  EXPECT_EQ(s.RowHeight(1), 40);
  EXPECT_EQ(s.RowHeight(3), 28);
  // trunc(30 x 4 x 0.16335 + 0.5) = 20 characters: 145 pixels.
  EXPECT_EQ(s.ColumnWidth(1), 108.75);
  EXPECT_EQ(s.ColumnWidth(4), excel::CharactersToPoints(8, 7));
  EXPECT_EQ(s.FormatOf(1, 1).fontSize, 12.25);
  EXPECT_EQ(s.FormatOf(2, 2).fontSize, 10.25);
  EXPECT_EQ(s.Find(1, 1)->text, "a\nb");
  EXPECT_EQ(s.FormatOf(1, 1).horizontal, excel::kXlRight);
  EXPECT_EQ(s.FormatOf(1, 1).vertical, excel::kXlTop);
  EXPECT_EQ(s.FormatOf(2, 2).horizontal, excel::kXlLeft);
  EXPECT_EQ(s.FormatOf(2, 2).vertical, excel::kXlBottom);
  EXPECT_EQ(s.FormatOf(1, 2).horizontal, excel::kXlCenter);
  ASSERT_EQ(s.Merges().size(), 1u);
  EXPECT_EQ(s.Merges()[0], (CellArea{2, 2, 2, 3}));
  EXPECT_EQ(seen.meters, (std::vector<std::string>{"Write Excel cell data", "Write Excel cell merge"}));
  EXPECT_NE(seen.messages.Text().find("\"memory\""), std::string::npos);
}

TEST(Export, ByValueSetsNoRowHeightsAndNoFontSizes) {
  const excel::SheetData s = Exported(Sample(), ByValue());
  EXPECT_TRUE(s.RowHeights().empty());
  for (const excel::CellFormat& f : s.formats) EXPECT_EQ(f.fontSize, 11);
  // trunc(30 x 15 x 0.16335 / 10 + 0.5) = 7 characters against the default 15-point row.
  EXPECT_EQ(s.ColumnWidth(1), excel::CharactersToPoints(7, 7));
}

TEST(Export, ByValueWithAFirstRowLowerThan1mmDividesBy1mm) {
  TableData t = UniformTable(2, 2, 0.4, 30);
  const excel::SheetData s = Exported(t, ByValue());
  // trunc(30 x 15 x 0.16335 / 1 + 0.5) = 74 characters.
  EXPECT_EQ(s.ColumnWidth(1), excel::CharactersToPoints(74, 7));
}

TEST(Export, NumbersThatReadBackTheSameAreStoredAsNumbers) {
  TableData t = UniformTable(1, 4);
  const char* texts[] = {"12", "3.5", "007", "1/2"};
  for (int j = 0; j < 4; ++j) {
    TableCell c = t.GetCell(0, j);
    c.strText = texts[j];
    t.SetCell(0, j, c);
  }
  const excel::SheetData s = Exported(t, {});
  EXPECT_EQ(s.Find(1, 1)->kind, excel::CellKind::kNumber);
  EXPECT_EQ(s.Find(1, 2)->kind, excel::CellKind::kNumber);
  EXPECT_EQ(s.Find(1, 3)->kind, excel::CellKind::kText);
  EXPECT_EQ(s.Find(1, 4)->kind, excel::CellKind::kText);
}

TEST(Export, AWorkbookThatCannotBeWrittenIsReported) {
  TableData t = UniformTable(1, 1);
  FakeExchange fake;
  excel::FileWorkbookViewer viewer("/nonexistent-folder/x.xlsx");
  EXPECT_EQ(excel::Export(t, {}, fake, fake.messages, viewer), 0);
  EXPECT_EQ(fake.messages.Alerts(), 1);
}

TEST(Export, RoundTripGivesTheTableBackWithinTheRoundings) {
  TempDir dir;
  const TableData t = Sample();
  excel::FileWorkbookViewer viewer(dir.File("out.xlsx"));
  FakeExchange fake;
  ASSERT_EQ(excel::Export(t, {}, fake, fake.messages, viewer), 1);
  TableData back;
  ASSERT_EQ(ImportBook(dir.File("out.xlsx"), back), 1);
  ASSERT_EQ(back.nRows, t.nRows);
  ASSERT_EQ(back.nCols, t.nCols);
  EXPECT_EQ(back.RowHeights, t.RowHeights);
  for (int j = 0; j < t.nCols; ++j) {
    // Millimetres to characters and back: trunc(w x 4 x 0.16335 + 0.5) characters.
    const int chars = excel::TruncToInt(t.ColWidths[j] * 4 * 0.16335 + 0.5);
    EXPECT_EQ(back.ColWidths[j], excel::TruncToInt(excel::CharactersToPoints(chars, 7) / 4 + 0.5)) << j;
  }
  EXPECT_EQ(back.MergeRows, t.MergeRows);
  EXPECT_EQ(back.MergeCols, t.MergeCols);
  for (int i = 0; i < t.nRows; ++i)
    for (int j = 0; j < t.nCols; ++j) {
      const TableCell a = t.GetCell(i, j), b = back.GetCell(i, j);
      const bool covered = (i == 1 || i == 2) && j >= 1 && !(i == 1 && j == 1);
      EXPECT_EQ(b.VertMode, 1);
      if (covered) continue;  // a merged area keeps the text and format of its first cell
      EXPECT_EQ(b.strText, a.strText) << i << "," << j;
      EXPECT_EQ(b.HorzMode, a.HorzMode) << i << "," << j;
      EXPECT_EQ(b.dHeight, a.dHeight) << i << "," << j;
    }
}

TEST(ExcelSizes, AScaleThatIsNotPositiveIsTheDefault) {
  ExcelSettings s;
  s.ExcelScale = 0;
  EXPECT_EQ(excel::EffectiveExcelScale(s), 4);
  s.ExcelScale = std::nan("");
  EXPECT_EQ(excel::EffectiveExcelScale(s), 4);
  EXPECT_EQ(excel::TruncToInt(1e300), INT_MAX);
  EXPECT_EQ(excel::TruncToInt(-2.7), -2);
}

}  // namespace
}  // namespace vex::test
