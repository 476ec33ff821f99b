// Reading workbook packages: good ones made by hand and by openpyxl, and hostile ones.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "excel/automation.h"
#include "excel/workbook_source.h"
#include "excel/zip_archive.h"
#include "excel_test_util.h"

namespace vex::test {
namespace {

using excel::CellArea;
using excel::ReadLimits;

// A package of the given parts, deflated, made by Python's zipfile.
void MakeZip(const TempDir& dir, const std::string& out, const nlohmann::json& parts) {
  WriteFile(dir.File("parts.json"), parts.dump());
  const ProgramRun run = RunShell(
      "/usr/bin/python3 -c \"import zipfile,sys,json; p=json.load(open(sys.argv[1])); "
      "z=zipfile.ZipFile(sys.argv[2],'w',zipfile.ZIP_DEFLATED); [z.writestr(k,v) for k,v in p.items()]; z.close()\" " +
      dir.File("parts.json") + " " + out);
  ASSERT_EQ(run.status, 0) << run.err;
}

const char* kRootRels =
    R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships"><Relationship Id="r1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="xl/workbook.xml"/></Relationships>)";
const char* kWorkbook =
    R"(<workbook xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships"><sheets><sheet name="Data" sheetId="1" r:id="rId1"/></sheets></workbook>)";

std::string WorkbookRels(const std::string& target, const std::string& extra = "") {
  return R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships"><Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" Target=")" +
         target + "\"/>" + extra + "</Relationships>";
}

std::string Sheet(const std::string& data, const std::string& after = "") {
  return R"(<worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><sheetData>)" + data +
         "</sheetData>" + after + "</worksheet>";
}

nlohmann::json Package(const std::string& sheet, const std::string& target = "worksheets/sheet1.xml") {
  return {{"_rels/.rels", kRootRels},
          {"xl/workbook.xml", kWorkbook},
          {"xl/_rels/workbook.xml.rels", WorkbookRels(target)},
          {"xl/worksheets/sheet1.xml", sheet}};
}

TEST(WorkbookReader, ReadsAHandMadePackageWithAbsolutePartNames) {
  TempDir dir;
  MakeZip(dir, dir.File("a.xlsx"),
          Package(Sheet(R"(<row r="2"><c r="B2" t="inlineStr"><is><t>x_x000D_y</t></is></c><c r="C2"><v>2.5</v></c></row>)",
                        R"(<mergeCells><mergeCell ref="B3:C4"/></mergeCells>)"),
                  "/xl/worksheets/sheet1.xml"));
  auto book = excel::OpenWorkbookFile(dir.File("a.xlsx"));
  ASSERT_TRUE(book.ok()) << book.result().Describe();
  ASSERT_EQ(book.value()->SheetNames(), std::vector<std::string>{"Data"});
  auto used = book.value()->UsedRange(0);
  ASSERT_TRUE(used.ok());
  EXPECT_EQ(used.value(), (CellArea{2, 2, 3, 2}));
  auto sheet = book.value()->ReadSheet(0);
  ASSERT_TRUE(sheet.ok()) << sheet.result().Describe();
  EXPECT_EQ(sheet->Find(2, 2)->text, "x\ry");
  EXPECT_EQ(sheet->Find(2, 3)->number, 2.5);
  ASSERT_EQ(sheet->Merges().size(), 1u);
  // No styles part: the default 11-point font, 15-point rows, 48-point columns.
  EXPECT_EQ(sheet->RowHeight(2), 15);
  EXPECT_EQ(sheet->ColumnWidth(2), 48);
}

struct Hostile {
  const char* name;
  std::function<nlohmann::json()> parts;
  ErrorCode code;
  const char* says;
};

class HostileWorkbookTest : public ::testing::TestWithParam<Hostile> {};

TEST_P(HostileWorkbookTest, IsRefusedWithAReason) {
  const Hostile& h = GetParam();
  TempDir dir;
  MakeZip(dir, dir.File("h.xlsx"), h.parts());
  ReadLimits limits;
  limits.maxPartBytes = 1 << 20;
  limits.maxTotalBytes = 3 << 20;
  Result failure;
  auto book = excel::OpenWorkbookFile(dir.File("h.xlsx"), limits);
  if (!book) {
    failure = book.result();
  } else {
    auto used = book.value()->UsedRange(0);
    auto sheet = used ? book.value()->ReadSheet(0) : ResultOr<excel::SheetData>(used.result());
    failure = sheet ? Result() : sheet.result();
  }
  ASSERT_FALSE(failure.ok());
  EXPECT_EQ(failure.code(), h.code) << failure.Describe();
  EXPECT_NE(failure.Describe().find(h.says), std::string::npos) << failure.Describe();
}

INSTANTIATE_TEST_SUITE_P(
    Samples, HostileWorkbookTest,
    ::testing::Values(
        Hostile{"MalformedSheetXml", [] { return Package("<worksheet><sheetData><row></sheetData>"); },
                ErrorCode::kMalformed, "\"xl/worksheets/sheet1.xml\" is not well-formed XML"},
        Hostile{"ZipBomb",
                [] { return Package(Sheet(std::string(2 << 20, ' '))); },
                ErrorCode::kTooLarge, "zip bomb"},
        Hostile{"TargetOutsideThePackage",
                [] { return Package(Sheet(""), "../../../../etc/passwd"); }, ErrorCode::kMalformed,
                "no worksheet"},
        Hostile{"MissingSharedString",
                [] { return Package(Sheet(R"(<row r="1"><c r="A1" t="s"><v>7</v></c></row>)")); },
                ErrorCode::kMalformed, "shared string"},
        Hostile{"WrongCellReference",
                [] { return Package(Sheet(R"(<row r="1"><c r="A2"><v>1</v></c></row>)")); }, ErrorCode::kMalformed,
                "wrong reference \"A2\""},
        Hostile{"WrongMergeReference",
                [] { return Package(Sheet("", R"(<mergeCells><mergeCell ref="A1:ZZZZ9"/></mergeCells>)")); },
                ErrorCode::kMalformed, "merged area"},
        Hostile{"NoWorkbookPart", [] { return nlohmann::json{{"a.txt", "hello"}}; }, ErrorCode::kMalformed,
                "no workbook part"},
        Hostile{"BeyondTheTableLimits",
                [] { return Package(Sheet(R"(<row r="1"><c r="A1"><v>1</v></c><c r="XFD1"><v>1</v></c></row><row r="100"><c r="A100"><v>1</v></c></row>)")); },
                ErrorCode::kTooLarge, ""}),
    [](const ::testing::TestParamInfo<Hostile>& info) { return std::string(info.param.name); });

TEST(WorkbookReader, AFileThatIsNoPackageIsRefused) {
  TempDir dir;
  WriteFile(dir.File("x.xlsx"), "this is no workbook");
  auto book = excel::OpenWorkbookFile(dir.File("x.xlsx"));
  ASSERT_FALSE(book.ok());
  EXPECT_EQ(book.result().code(), ErrorCode::kMalformed);
  EXPECT_EQ(excel::OpenWorkbookFile(dir.File("missing.xlsx")).result().code(), ErrorCode::kNotFound);
}

TEST(WorkbookReader, PartNamesNeverLeaveThePackage) {
  EXPECT_EQ(excel::ResolvePartName("xl/workbook.xml", "worksheets/sheet1.xml"), "xl/worksheets/sheet1.xml");
  EXPECT_EQ(excel::ResolvePartName("xl/workbook.xml", "/xl/worksheets/sheet1.xml"), "xl/worksheets/sheet1.xml");
  EXPECT_EQ(excel::ResolvePartName("xl/worksheets/sheet1.xml", "../drawings/d.xml"), "xl/drawings/d.xml");
  EXPECT_EQ(excel::ResolvePartName("xl/workbook.xml", "../../etc/passwd"), "");
  EXPECT_EQ(excel::ResolvePartName("", "/../x"), "");
}

TEST(WorkbookReader, CsvFieldsAndQuotes) {
  TempDir dir;
  WriteFile(dir.File("t.csv"), "\xEF\xBB\xBFname,\"a, \"\"quoted\"\"\nline\",2.50\n,,7\n");
  auto book = excel::OpenWorkbookFile(dir.File("t.csv"));
  ASSERT_TRUE(book.ok());
  EXPECT_EQ(book.value()->SheetNames()[0], "t");
  excel::Application app;
  auto opened = app.Workbooks().Open(dir.File("t.csv"));
  ASSERT_TRUE(opened.ok());
  auto cells = opened.value()->ActiveSheet()->Cells();
  ASSERT_TRUE(cells.ok());
  EXPECT_EQ(cells->Item(1, 1).Text(), "name");
  EXPECT_EQ(cells->Item(1, 2).Text(), "a, \"quoted\"\nline");
  EXPECT_EQ(cells->Item(1, 3).Text(), "2.5");
  EXPECT_EQ(cells->Item(2, 3).Text(), "7");
  auto used = opened.value()->ActiveSheet()->UsedRange();
  EXPECT_EQ(used->Area(), (CellArea{1, 1, 2, 3}));
}

TEST(WorkbookReader, XlsWithoutLibreOfficeSaysToSaveAsXlsx) {
  TempDir dir;
  WriteFile(dir.File("old.xls"), "binary");
  const char* path = std::getenv("PATH");
  const std::string saved = path ? path : "";
  setenv("PATH", dir.path().c_str(), 1);
  auto book = excel::OpenWorkbookFile(dir.File("old.xls"));
  setenv("PATH", saved.c_str(), 1);
  ASSERT_FALSE(book.ok());
  EXPECT_NE(book.result().message().find("save the workbook as .xlsx"), std::string::npos);
}

}  // namespace
}  // namespace vex::test
