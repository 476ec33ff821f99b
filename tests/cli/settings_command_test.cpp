// The batch tool's "settings" verb, run as a drafter would run it.

#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>

#include "support/run_cli.h"
#include "support/temp_dir.h"

namespace vex {
namespace {

using Json = nlohmann::ordered_json;
using test::ProgramRun;
using test::RunCli;
using test::TempDir;
using test::WriteFile;

TEST(SettingsVerb, ReportsTheExampleFile) {
  const ProgramRun r = RunCli(std::string("settings --ini ") + VEXTABLE_SOURCE_DIR + "/examples/VexTable.ini");
  ASSERT_EQ(r.status, 0);
  const Json j = Json::parse(r.out);
  std::vector<std::string> sections;
  for (const auto& [k, v] : j.items()) sections.push_back(k);
  EXPECT_EQ(sections, (std::vector<std::string>{"BASE SETTING", "Sideline", "Inline", "Text",
                                                "Table", "TURN_TEXT", "EXCEL_SETUP", "Setting"}));
  EXPECT_EQ(j["BASE SETTING"]["PlotScale"], 50.0);
  EXPECT_EQ(j["Sideline"]["Name"], "TABLE-FRAME");
  EXPECT_EQ(j["Inline"]["Color"], 8);
  EXPECT_EQ(j["Table"]["BigFontName"], "gbcbig.shx");
  EXPECT_EQ(j["TURN_TEXT"]["ENABLE"], 1);
  ASSERT_EQ(j["TURN_TEXT"]["Items"].size(), 4u);
  EXPECT_EQ(j["TURN_TEXT"]["Items"][3], Json::array({"(m2)", "m²", "Square metres"}));
  EXPECT_EQ(j["EXCEL_SETUP"]["ExcelFontHeight"], 2.5);
  EXPECT_EQ(j["Setting"]["Language"], "English");
}

TEST(SettingsVerb, MissingFileGivesTheDefaults) {
  TempDir dir;
  const ProgramRun r = RunCli("settings --ini " + dir.File("VexTable.ini"));
  ASSERT_EQ(r.status, 0);
  const Json j = Json::parse(r.out);
  EXPECT_EQ(j["BASE SETTING"]["PlotScale"], 1.0);
  EXPECT_EQ(j["Text"], (Json{{"LayerTag", "Text"}, {"Name", "Text"}, {"Color", 7},
                             {"LineType", "CONTINUOUS"}}));
  EXPECT_EQ(j["Table"]["Height"], 3.5);
  EXPECT_EQ(j["TURN_TEXT"]["Items"][0], Json::array({"(d)", "%%d", "Degrees"}));
  EXPECT_EQ(j["EXCEL_SETUP"]["ExcelRowHeight"], 10);
  EXPECT_EQ(j["Setting"]["Language"], "English");
  // A report writes nothing.
  EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

TEST(SettingsVerb, PlaceholderBigFontIsReportedAsNone) {
  TempDir dir;
  WriteFile(dir.File("VexTable.ini"), "[Table]\nBigFontName=Please Select\n");
  const Json j = Json::parse(RunCli("settings --ini " + dir.File("VexTable.ini")).out);
  EXPECT_EQ(j["Table"]["BigFontName"], "");
}

TEST(SettingsVerb, UnreadablePathFails) {
  TempDir dir;
  const ProgramRun r = RunCli("settings --ini " + dir.path());
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(r.out.empty());
  EXPECT_NE(r.err.find("is a folder"), std::string::npos) << r.err;
}

TEST(SettingsVerb, BadArgumentsAreUsageErrors) {
  EXPECT_EQ(RunCli("settings --ini").status, 2);
  EXPECT_EQ(RunCli("settings --bogus x").status, 2);
  EXPECT_EQ(RunCli("frobnicate").status, 2);
}

}  // namespace
}  // namespace vex
