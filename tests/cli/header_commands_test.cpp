#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>

#include "files/table_init.h"
#include "files/header_library.h"
#include "files/table_file.h"
#include "pictures/image_store.h"
#include "support/run_cli.h"
#include "support/tables.h"
#include "support/temp_dir.h"

namespace vex {
namespace {

using Json = nlohmann::json;
using test::RunCli;
using test::TempDir;

std::string Source(const std::string& path) { return std::string(VEXTABLE_SOURCE_DIR) + "/" + path; }

class HeaderVerbs : public ::testing::Test {
 protected:
  std::string Lib() const { return " --library '" + dir_.File("lib") + "'"; }
  Json Dump(const std::string& path) { return Json::parse(RunCli("dump '" + path + "'").out); }
  TempDir dir_;
};

TEST_F(HeaderVerbs, AddListAndDelete) {
  ASSERT_EQ(RunCli("header add " + Source("examples/example_table.vtf") + " --name 'Parts list' --class Mechanical"
                   " --type full" + Lib()).status, 0);
  ASSERT_EQ(RunCli("header add " + Source("examples/example_table.json") + " --name Bolts" + Lib()).status, 0);
  EXPECT_TRUE(std::filesystem::exists(dir_.File("lib/Parts list.vtt.dxf")));  // its pictures came along
  const auto all = RunCli("header list" + Lib());
  EXPECT_EQ(all.out, "Bolts\t\tvertical\nParts list\tMechanical\tfull\n");
  EXPECT_EQ(RunCli("header list --class Mechanical" + Lib()).out, "Parts list\tMechanical\tfull\n");
  const auto twice = RunCli("header add " + Source("examples/example_table.json") + " --name Bolts" + Lib());
  EXPECT_EQ(twice.status, 1);
  EXPECT_NE(twice.err.find("exists"), std::string::npos);
  ASSERT_EQ(RunCli("header delete Bolts" + Lib()).status, 0);
  EXPECT_EQ(RunCli("header list" + Lib()).out, "Parts list\tMechanical\tfull\n");
  EXPECT_EQ(RunCli("header delete Bolts" + Lib()).status, 1);
}

TEST_F(HeaderVerbs, NamesThatWouldLeaveTheLibraryAreRefused) {
  const auto r = RunCli("header add " + Source("examples/example_table.json") + " --name ../escape" + Lib());
  EXPECT_EQ(r.status, 1);
  EXPECT_FALSE(std::filesystem::exists(dir_.File("escape.vtt")));
  EXPECT_EQ(RunCli("header add x.json --name A --type diagonal" + Lib()).status, 2);
}

// `vextable new --header` builds the table the dialog's OK builds, for each header type.
TEST_F(HeaderVerbs, NewFromEachHeaderTypeIsTheDialogsTable) {
  HeaderLibrary library(dir_.File("lib"));
  ImageStore none;
  for (int type : {kVerticalHeader, kHorizontalHeader, kFullHeader}) {
    const std::string name = "H" + std::to_string(type);
    ASSERT_TRUE(library.SaveHeader(test::NamedTable(3, 4, 12, 30), name, "", type, none));
    const std::string out = dir_.File(name + ".vtf");
    const auto r = RunCli("new --header " + name + " --rows 6 --cols 5 --row-height 8 --col-width 22 -o " + out + Lib());
    ASSERT_EQ(r.status, 0) << r.err;

    TableInit dialog;
    TableHeader h;
    static_cast<TableData&>(h) = test::NamedTable(3, 4, 12, 30);
    h.TitleROrC = type;
    dialog.ChooseHeader(h);
    dialog.Set(SizeField::kRows, 6);
    dialog.Set(SizeField::kCols, 5);
    dialog.Set(SizeField::kRowHeight, 8);
    dialog.Set(SizeField::kColWidth, 22);
    TableData made;
    ASSERT_TRUE(LoadTableFile(made, kTableFilePrefix, out));
    EXPECT_EQ(made, dialog.Table()) << type;
  }
}

TEST_F(HeaderVerbs, NewBlankTableAndBadSizes) {
  const std::string out = dir_.File("blank.vtf");
  ASSERT_EQ(RunCli("new --rows 2 --cols 3 --row-height 9 -o " + out + Lib()).status, 0);
  const Json t = Dump(out);
  EXPECT_EQ(t["RowHeights"], Json::array({9.0, 9.0}));
  EXPECT_EQ(t["ColWidths"], Json::array({20.0, 20.0, 20.0}));
  EXPECT_EQ(RunCli("new --rows 0 -o " + out + Lib()).status, 2);
  EXPECT_EQ(RunCli("new --rows 2.5 -o " + out + Lib()).status, 2);
  EXPECT_EQ(RunCli("new --rows 70000 -o " + out + Lib()).status, 2);
  EXPECT_EQ(RunCli("new --header Nothing -o " + out + Lib()).status, 1);
  EXPECT_EQ(RunCli("new --rows 2" + Lib()).status, 2);  // no -o
}

}  // namespace
}  // namespace vex
