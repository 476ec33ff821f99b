// "vextable read" of tables as drafters really draw them (tests/data/recognize), from model
// space, a layout or a window, and of drawings it must refuse.

#include <gtest/gtest.h>

#include <fstream>
#include <nlohmann/json.hpp>

#include "support/run_cli.h"
#include "support/temp_dir.h"

namespace vex {
namespace {

using Json = nlohmann::json;
using test::RunCli;
using test::RunShell;

std::string Data(const std::string& name) { return std::string(VEXTABLE_TEST_DATA) + "/recognize/" + name; }

struct ReadCase {
  const char* name;
  const char* file;
  const char* options;
  std::vector<std::vector<std::string>> texts;
  const char* said = "";
};

class ReadRealDrawing : public ::testing::TestWithParam<ReadCase> {
 protected:
  test::TempDir dir_;
};

TEST_P(ReadRealDrawing, GivesTheTableAsDrawn) {
  const ReadCase& c = GetParam();
  const std::string out = dir_.File("t.vtf");
  const auto r = RunCli("read " + Data(c.file) + " -o " + out + " " + c.options);
  ASSERT_EQ(r.status, 0) << r.out << r.err;
  EXPECT_NE(r.out.find(c.said), std::string::npos) << r.out;
  const Json t = Json::parse(RunCli("dump " + out).out);
  ASSERT_EQ(t["nRows"], c.texts.size());
  ASSERT_EQ(t["nCols"], c.texts[0].size());
  for (std::size_t i = 0; i < c.texts.size(); ++i)
    for (std::size_t j = 0; j < c.texts[i].size(); ++j) EXPECT_EQ(t["Cells"][i][j]["strText"], c.texts[i][j]) << i << "," << j;
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, ReadRealDrawing,
    ::testing::Values(
        ReadCase{"multiline_text", "mtext_table.dxf", "", {{"Bold size", "1/2 inch x"}, {"Line one\r\nLine two", "alpha beta\r\ngamma"}}},
        ReadCase{"block_with_attributes", "block_table.dxf", "", {{"A", "B", "C"}, {"x1", "x2", "x3"}}},
        ReadCase{"other_programs_table", "acad_table.dxf", "", {{"r0c0", "r0c1"}, {"r1c0", "r1c1"}}},
        ReadCase{"polylines", "polyline_frame.dxf", "", {{"a", "b", "c"}, {"d", "", ""}}, "(1 pictures)"},
        ReadCase{"layout", "paper_layout.dxf", "--layout 'sheet a'", {{"p00", "p01"}, {"p10", "p11"}}},
        ReadCase{"stray_geometry", "stray_geometry.dxf", "", {{"left right", "M12 x 40"}, {"", "under"}},
                 "\nThe table found covers only part of the selection: 8 entities outside it left out"},
        ReadCase{"sheet_frame_through_a_window", "sheet_corner.dxf", "--window 135,-125,205,-155",
                 {{"s00", "s01"}, {"s10", "s11"}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ReadRealDrawings, UnknownLayoutIsRefusedNamingTheLayouts) {
  test::TempDir dir;
  const auto r = RunCli("read " + Data("paper_layout.dxf") + " -o " + dir.File("t.vtf") + " --layout Sheet9");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("no layout \"Sheet9\" (its layouts: Model, Layout1, Sheet A)"), std::string::npos) << r.err;
}

TEST(ReadRealDrawings, GridBeyondTheTableLimitsIsRefused_Issue11) {
  test::TempDir dir;
  const std::string grid = dir.File("grid.dxf");
  ASSERT_EQ(RunShell("/usr/bin/python3 " + Data("make_big_grid.py") + " " + grid).status, 0);
  const auto r = RunCli("read " + grid + " -o " + dir.File("t.vtf"));
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("2000 rows and 2000 columns (4000000 cells)"), std::string::npos) << r.err;
  EXPECT_FALSE(std::ifstream(dir.File("t.vtf")).good());
}

}  // namespace
}  // namespace vex
