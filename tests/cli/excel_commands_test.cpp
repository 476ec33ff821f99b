// vextable import and vextable export run as programs.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "excel/excel_exchange.h"
#include "excel/xlsx_writer.h"
#include "support/run_cli.h"
#include "support/temp_dir.h"

namespace vex::test {
namespace {

constexpr const char* kTable = R"({"nRows":2,"nCols":2,"RowHeights":[10],"ColWidths":[30],
  "MergeRows":[[1,0,1]],"MergeCols":[],
  "Cells":[[{"strText":"a","HorzMode":2,"VertMode":1,"dHeight":3},{"strText":"b","HorzMode":1,"VertMode":1,"dHeight":3}],
           [{"strText":"merged","HorzMode":1,"VertMode":1,"dHeight":3.5},{}]]})";

TEST(ExcelCommands, ExportThenImportGivesTheTableBack) {
  TempDir dir;
  WriteFile(dir.File("t.json"), kTable);
  ProgramRun run = RunCli("export " + dir.File("t.json") + " -o " + dir.File("t.xlsx"));
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find(dir.File("t.xlsx")), std::string::npos);
  run = RunCli("import " + dir.File("t.xlsx") + " -o " + dir.File("back.json"));
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("2 rows and 2 columns"), std::string::npos);
  const nlohmann::json j = nlohmann::json::parse(ReadFile(dir.File("back.json")));
  EXPECT_EQ(j["Cells"][0][0]["strText"], "a");
  EXPECT_EQ(j["Cells"][0][0]["HorzMode"], 2);
  EXPECT_EQ(j["Cells"][1][0]["strText"], "merged");
  EXPECT_EQ(j["Cells"][1][0]["dHeight"], 3.5);
  EXPECT_EQ(j["MergeRows"], nlohmann::json::parse("[[1,0,1]]"));
  run = RunCli("import " + dir.File("t.xlsx") + " --sheet 1");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(ReadFile(dir.File("t.vtf")).find("merged"), std::string::npos);
}

TEST(ExcelCommands, TheSettingsGiveTheSizes) {
  TempDir dir;
  WriteFile(dir.File("t.json"), kTable);
  WriteFile(dir.File("v.ini"), "[EXCEL_SETUP]\nExcelScale=2.00\n");
  ASSERT_EQ(RunCli("export " + dir.File("t.json") + " -o " + dir.File("t.xlsx") + " --ini " + dir.File("v.ini")).status, 0);
  const ProgramRun run = RunCli("import " + dir.File("t.xlsx") + " -o " + dir.File("b.json") + " --ini " + dir.File("v.ini"));
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(nlohmann::json::parse(ReadFile(dir.File("b.json")))["RowHeights"][0], 10);
}

struct BadRun {
  const char* name;
  std::string args;
  int status;
  const char* says;
};

class ExcelCommandErrors : public ::testing::TestWithParam<BadRun> {};

TEST_P(ExcelCommandErrors, AreReported) {
  TempDir dir;
  WriteFile(dir.File("t.json"), kTable);
  excel::SheetData s;
  s.name = "Only";
  for (excel::SheetCell* c : {&s.At(1, 1), &s.At(317, 316)}) {
    c->kind = excel::CellKind::kText;
    c->text = "x";
  }
  ASSERT_TRUE(excel::WriteXlsx(s, dir.File("big.xlsx")).ok());
  ASSERT_EQ(RunCli("export " + dir.File("t.json") + " -o " + dir.File("t.xlsx")).status, 0);
  std::string args = GetParam().args;
  for (std::size_t at = args.find('@'); at != std::string::npos; at = args.find('@')) args.replace(at, 1, dir.path());
  const ProgramRun run = RunCli(args + " 2>&1");
  EXPECT_EQ(run.status, GetParam().status) << run.out;
  EXPECT_NE(run.out.find(GetParam().says), std::string::npos) << run.out;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ExcelCommandErrors,
    ::testing::Values(BadRun{"ImportNoBook", "import", 2, "usage: vextable import"},
                      BadRun{"ImportMissingSheet", "import @t.xlsx --sheet Nope -o @x.json", 1, "no sheet \"Nope\""},
                      BadRun{"ImportTooLarge", "import @big.xlsx -o @x.json", 1,
                             "Table is Large!Software can read maximum cell is 100000."},
                      BadRun{"ImportOverTheBook", "import @t.xlsx -o @t.xlsx", 1, "is the workbook being read"},
                      BadRun{"ImportUnknownOutput", "import @t.xlsx -o @t.txt", 1, "neither a table file"},
                      BadRun{"ImportNotAWorkbook", "import @t.json -o @x.json", 1, "cannot be read"},
                      BadRun{"ExportNoOutput", "export @t.json", 2, "-o OUT.xlsx is required"},
                      BadRun{"ExportMissingTable", "export @none.json -o @x.xlsx", 1, "none.json"}),
    [](const ::testing::TestParamInfo<BadRun>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vex::test
