// Our workbooks read by peers (openpyxl, LibreOffice), and peers' workbooks read by us.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "excel_test_util.h"
#include "model/merge_blocks.h"
#include "support/tables.h"

namespace vex::test {
namespace {

TableData PeerSample() {
  TableData t = NamedTable(4, 3, 10, 30);
  TableCell c = t.GetCell(0, 0);
  c.strText = "first\r\nsecond";
  c.HorzMode = 2;
  t.SetCell(0, 0, c);
  c = t.GetCell(3, 2);
  c.strText = "2.5";
  c.HorzMode = 0;
  t.SetCell(3, 2, c);
  AppendMergeSpans(t, {{1, 0, 2, 1}});
  return t;
}

std::string ExportTo(const TempDir& dir, const TableData& t, const std::string& name = "out.xlsx") {
  excel::FileWorkbookViewer viewer(dir.File(name));
  FakeExchange fake;
  EXPECT_EQ(excel::Export(t, {}, fake, fake.messages, viewer), 1) << fake.messages.Text();
  return dir.File(name);
}

TEST(ExcelPeers, OpenpyxlReadsOurExport) {
  TempDir dir;
  const std::string book = ExportTo(dir, PeerSample());
  const ProgramRun run = RunShell("/usr/bin/python3 " + PeerScript() + " dump " + book);
  ASSERT_EQ(run.status, 0) << run.err;
  const nlohmann::json j = nlohmann::json::parse(run.out);
  EXPECT_EQ(j["cells"]["A1"]["value"], "first\nsecond");
  EXPECT_EQ(j["cells"]["A1"]["h"], "right");
  EXPECT_EQ(j["cells"]["A1"]["v"], "center");
  EXPECT_EQ(j["cells"]["A1"]["size"], 12.25);
  EXPECT_EQ(j["cells"]["C4"]["value"], 2.5);
  EXPECT_EQ(j["cells"]["C4"]["h"], "left");
  EXPECT_EQ(j["merges"], nlohmann::json::array({"A2:B3"}));
  EXPECT_EQ(j["rows"]["1"], 40);
}

TEST(ExcelPeers, LibreOfficeConvertsOurExportAndWeReadItsOds) {
  TempDir dir;
  const TableData t = PeerSample();
  const std::string book = ExportTo(dir, t);
  ConvertWithOffice(dir, book, "ods");
  TableData fromOds, fromXlsx;
  ASSERT_EQ(ImportBook(dir.File("converted/out.ods"), fromOds), 1);
  ASSERT_EQ(ImportBook(book, fromXlsx), 1);
  EXPECT_EQ(fromOds.nRows, 4);
  EXPECT_EQ(fromOds.nCols, 3);
  EXPECT_EQ(fromOds.GetCell(0, 0).strText, "first\r\nsecond");
  EXPECT_EQ(fromOds.GetCell(2, 2).strText, "r2c2");
  EXPECT_EQ(fromOds.GetCell(3, 2).strText, "2.5");
  EXPECT_EQ(fromOds.MergeRows, t.MergeRows);
  EXPECT_EQ(fromOds.MergeCols, t.MergeCols);
  EXPECT_EQ(fromOds.GetCell(0, 0).HorzMode, 2);
  EXPECT_EQ(fromOds.GetCell(0, 0).dHeight, 3.0);
  // Row heights go through LibreOffice's own units: within a millimetre of ours. Column widths
  // it measures in the digits of whatever font stands in for the workbook's, so only their
  // equality is kept.
  for (int i = 0; i < 4; ++i) EXPECT_NEAR(fromOds.RowHeights[i], fromXlsx.RowHeights[i], 1.0) << i;
  EXPECT_GT(fromOds.ColWidths[0], 0);
  EXPECT_EQ(fromOds.ColWidths[1], fromOds.ColWidths[0]);
  EXPECT_EQ(fromOds.ColWidths[2], fromOds.ColWidths[0]);
}

TEST(ExcelPeers, LibreOfficeReadsOurExportAsCsv) {
  TempDir dir;
  const std::string book = ExportTo(dir, PeerSample());
  ConvertWithOffice(dir, book, "csv:Text - txt - csv (StarCalc):44,34,76,1");
  const std::string csv = ReadFile(dir.File("converted/out.csv"));
  EXPECT_EQ(csv.substr(0, csv.find('\n', csv.find('\n') + 1)), "\"first\nsecond\",\"r0c1\",\"r0c2\"");
  TableData t;
  ASSERT_EQ(ImportBook(dir.File("converted/out.csv"), t), 1);
  EXPECT_EQ(t.GetCell(0, 0).strText, "first\r\nsecond");
  EXPECT_EQ(t.GetCell(3, 2).strText, "2.5");
}

TEST(ExcelPeers, WorkbooksOfLibreOfficesMakingShowCachedFormulaValues) {
  TempDir dir;
  MakeWorkbook(dir, R"({"sheets": [{"name": "F", "cells": [["A1", 1234.5678, {"format": "#,##0.00"}],
    ["B1", "=A1*2"], ["C1", 45358.5, {"format": "yyyy-mm-dd hh:mm"}], ["A2", "merged", {"h": "right", "size": 9}]],
    "merges": ["A2:C3"]}]})",
               dir.File("made.xlsx"));
  ConvertWithOffice(dir, dir.File("made.xlsx"), "ods");
  ConvertWithOffice(dir, dir.File("converted/made.ods"), "xlsx");
  for (const std::string book : {dir.File("converted/made.xlsx"), dir.File("converted/made.ods")}) {
    TableData t;
    ASSERT_EQ(ImportBook(book, t), 1) << book;
    EXPECT_EQ(t.GetCell(0, 0).strText, "1,234.57") << book;
    EXPECT_EQ(t.GetCell(0, 1).strText, "2469.1356") << book;
    EXPECT_EQ(t.GetCell(0, 2).strText, "2024-03-07 12:00") << book;
    EXPECT_EQ(t.GetCell(1, 0).HorzMode, 2) << book;
    EXPECT_EQ(t.GetCell(1, 0).dHeight, 2.5) << book;
    EXPECT_EQ(t.MergeRows, (std::vector<MergeSpan>{{1, 0, 2}, {2, 0, 2}})) << book;
  }
}

TEST(ExcelPeers, XlsIsReadThroughLibreOffice) {
  TempDir dir;
  const std::string book = ExportTo(dir, PeerSample());
  ConvertWithOffice(dir, book, "xls");
  TableData t;
  FakeExchange seen;
  ASSERT_EQ(ImportBook(dir.File("converted/out.xls"), t, {}, 0, &seen), 1) << seen.messages.Text();
  EXPECT_EQ(t.GetCell(3, 1).strText, "r3c1");
  EXPECT_EQ(t.MergeRows, PeerSample().MergeRows);
}

}  // namespace
}  // namespace vex::test
