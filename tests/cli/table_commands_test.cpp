// The batch tool's "dump" and "convert" verbs, run as a drafter would run them.

#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>

#include "files/table_file.h"
#include "model/table_header.h"
#include "support/run_cli.h"
#include "support/temp_dir.h"

namespace vex {
namespace {

using Json = nlohmann::json;
using test::ReadFile;
using test::RunCli;
using test::TempDir;
using test::WriteFile;

std::string Data(const std::string& name) { return std::string(VEXTABLE_TEST_DATA) + "/files/" + name; }

const char* kTableJson = R"({
  "nRows": 2, "nCols": 2, "RowHeights": [8, 12.345], "ColWidths": [20],
  "MergeRows": [[0, 0, 1]], "MergeCols": [],
  "Cells": [[{"strText": "A & <B>", "HorzMode": 0}, {}], [{"strText": "中文", "dHeight": 5}]]
})";

class TableVerbs : public ::testing::Test {
 protected:
  TempDir dir_;
};

TEST_F(TableVerbs, DumpPrintsTheTableAsJson) {
  const std::string path = dir_.File("t.vtf");
  WriteFile(path, ReadFile(Data("table_2x3.vtf")));
  const auto r = RunCli("dump " + path);
  ASSERT_EQ(r.status, 0) << r.err;
  const Json j = Json::parse(r.out);
  EXPECT_EQ(j["nRows"], 2);
  EXPECT_EQ(j["nCols"], 3);
  EXPECT_EQ(j["RowHeights"], Json::array({8.0, 12.345}));
  EXPECT_EQ(j["MergeRows"], Json::array({Json::array({0, 0, 1})}));
  EXPECT_EQ(j["Cells"][0][0]["strText"], "Ø20 %%c & <b>");
  EXPECT_EQ(j["Cells"][1][0]["sBlockName"], "VexTable0");
  EXPECT_FALSE(j.contains("TitleName"));
}

TEST_F(TableVerbs, DumpOfAHeaderFileCarriesItsKeys) {
  const std::string path = dir_.File("Header.vtt");
  WriteFile(path, ReadFile(Data("header_2x3.vtt")));
  const Json j = Json::parse(RunCli("dump " + path).out);
  EXPECT_EQ(j["TitleName"], "Parts list");
  EXPECT_EQ(j["TitleROrC"], 2);
}

TEST_F(TableVerbs, DumpReadsAnOldKeyValueFileWithoutWritingIt_Issue11) {
  const std::string path = dir_.File("old.vtf");
  const std::string original = ReadFile(Data("old_key_value.vtf"));
  WriteFile(path, original);
  const auto r = RunCli("dump " + path + " --normalize");
  ASSERT_EQ(r.status, 0) << r.err;
  const Json j = Json::parse(r.out);
  EXPECT_EQ(j["Cells"][0][1]["strText"], "Length (mm)");
  EXPECT_EQ(j["RowHeights"], Json::array({7.5, 0.0}));
  EXPECT_EQ(ReadFile(path), original);
  EXPECT_FALSE(std::filesystem::exists(path + ".kv.bak"));
}

TEST_F(TableVerbs, DumpOfASettingsFileIsRefusedAndLeavesIt_Issue11) {
  const std::string path = dir_.File("VexTable.ini");
  const std::string settings = "[Table]\nStyleName=Table\nHeight=3.50\n[Setting]\nLanguage=English\n";
  WriteFile(path, settings);
  const auto r = RunCli("dump " + path + " --prefix Table");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("not a table file"), std::string::npos) << r.err;
  EXPECT_EQ(ReadFile(path), settings);
  const auto c = RunCli("convert " + path + " " + dir_.File("out.vtf") + " --prefix Table");
  EXPECT_EQ(c.status, 1);
  EXPECT_EQ(ReadFile(path), settings);
}

TEST_F(TableVerbs, ConvertSaysWhatForcesTheXmlLayout_Issue11) {
  const std::string json = dir_.File("t.json");
  Json j = Json::parse(kTableJson);
  j["Cells"][0][0]["strText"] = "two\r\nlines";
  WriteFile(json, j.dump());
  const auto r = RunCli("convert " + json + " " + dir_.File("t.vtf") + " --layout key-value");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.err.find("line break"), std::string::npos) << r.err;
  EXPECT_EQ(r.err.find("ten or more"), std::string::npos) << r.err;
  EXPECT_EQ(ReadFile(dir_.File("t.vtf")).rfind("<?xml", 0), 0u);
}

TEST_F(TableVerbs, DumpNormalizes) {
  const std::string path = dir_.File("t.json");
  WriteFile(path, kTableJson);
  const Json raw = Json::parse(RunCli("dump " + path).out);
  EXPECT_EQ(raw["ColWidths"].size(), 1u);
  EXPECT_EQ(raw["Cells"][1].size(), 1u);
  const Json j = Json::parse(RunCli("dump " + path + " --normalize").out);
  EXPECT_EQ(j["ColWidths"], Json::array({20.0, 20.0}));
  EXPECT_EQ(j["Cells"][1].size(), 2u);
  EXPECT_EQ(j["Cells"][1][1]["HorzMode"], 1);
}

TEST_F(TableVerbs, DumpRefusesWhatIsNotATable) {
  const std::string junk = dir_.File("junk.vtf");
  WriteFile(junk, "\x7f" "ELF this is not a table");
  const auto r = RunCli("dump " + junk);
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("not a table file"), std::string::npos) << r.err;
  EXPECT_EQ(ReadFile(junk), "\x7f" "ELF this is not a table");

  EXPECT_EQ(RunCli("dump " + dir_.File("missing.vtf")).status, 1);
  const auto unknownKind = RunCli("dump " + dir_.File("t.txt"));
  EXPECT_EQ(unknownKind.status, 1);
  WriteFile(dir_.File("t.txt"), "x");
  const auto noPrefix = RunCli("dump " + dir_.File("t.txt"));
  EXPECT_EQ(noPrefix.status, 1);
  EXPECT_NE(noPrefix.err.find("--prefix"), std::string::npos) << noPrefix.err;
  EXPECT_EQ(RunCli("dump").status, 2);
}

TEST_F(TableVerbs, ConvertRoundTripsThroughEveryLayout) {
  const std::string json = dir_.File("in.json");
  WriteFile(json, kTableJson);
  // A file holds as many heights and cells as its counts say, so compare rectangular tables.
  const Json original = Json::parse(RunCli("dump " + json + " --normalize").out);

  ASSERT_EQ(RunCli("convert " + json + " " + dir_.File("a.vtf") + " --normalize").status, 0);
  ASSERT_EQ(RunCli("convert " + dir_.File("a.vtf") + " " + dir_.File("b.json")).status, 0);
  EXPECT_EQ(Json::parse(ReadFile(dir_.File("b.json"))), original);

  const auto kv = RunCli("convert " + json + " " + dir_.File("kv.vtf") + " --layout key-value");
  ASSERT_EQ(kv.status, 0) << kv.err;
  EXPECT_EQ(ReadFile(dir_.File("kv.vtf")).rfind("[VexTableSaveFile]", 0), 0u);
  TableData t;
  ASSERT_TRUE(LoadTableKeyValue(t, kTableFilePrefix, dir_.File("kv.vtf")));
  EXPECT_EQ(t.RowHeights, (std::vector<double>{8.0, 12.35}));
  EXPECT_EQ(t.GetCell(1, 0).strText, "中文");
}

TEST_F(TableVerbs, ConvertWritesLargeTablesAsXmlEvenWhenAskedForKeyValue) {
  Json j{{"nRows", 10}, {"nCols", 2}};
  WriteFile(dir_.File("big.json"), j.dump());
  const auto r = RunCli("convert " + dir_.File("big.json") + " " + dir_.File("big.vtf") +
                        " --layout key-value --normalize");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.err.find("XML layout"), std::string::npos) << r.err;
  EXPECT_EQ(ReadFile(dir_.File("big.vtf")).rfind("<?xml", 0), 0u);
}

TEST_F(TableVerbs, HeaderKeysTravelBetweenHeadersAndJson) {
  const std::string json = dir_.File("h.json");
  Json j = Json::parse(kTableJson);
  j["TitleName"] = "Bill of materials";
  j["TitleType"] = "Mechanical";
  j["TitleROrC"] = 1;
  WriteFile(json, j.dump());
  ASSERT_EQ(RunCli("convert " + json + " " + dir_.File("H.vtt")).status, 0);
  TableHeader h;
  ASSERT_TRUE(LoadHeaderKeys(h, kHeaderFilePrefix, dir_.File("H.vtt")));
  EXPECT_EQ(h.TitleName, "Bill of materials");
  EXPECT_EQ(h.TitleVersion, "1.0");

  ASSERT_EQ(RunCli("convert " + dir_.File("H.vtt") + " " + dir_.File("back.json")).status, 0);
  const Json back = Json::parse(ReadFile(dir_.File("back.json")));
  EXPECT_EQ(back["TitleType"], "Mechanical");
  EXPECT_EQ(back["TitleROrC"], 1);

  // A table file carries no header keys into JSON.
  ASSERT_EQ(RunCli("convert " + dir_.File("H.vtt") + " " + dir_.File("plain.vtf")).status, 0);
  ASSERT_EQ(RunCli("convert " + dir_.File("plain.vtf") + " " + dir_.File("plain.json")).status, 0);
  EXPECT_FALSE(Json::parse(ReadFile(dir_.File("plain.json"))).contains("TitleName"));
}

struct BadJson {
  const char* name;
  const char* text;
  const char* reason;
};

void PrintTo(const BadJson& b, std::ostream* os) { *os << b.name; }

class ConvertBadJson : public TableVerbs, public ::testing::WithParamInterface<BadJson> {};

TEST_P(ConvertBadJson, FailsWithAReasonAndWritesNothing) {
  WriteFile(dir_.File("bad.json"), GetParam().text);
  const auto r = RunCli("convert " + dir_.File("bad.json") + " " + dir_.File("out.vtf"));
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find(GetParam().reason), std::string::npos) << r.err;
  EXPECT_FALSE(std::filesystem::exists(dir_.File("out.vtf")));
}

INSTANTIATE_TEST_SUITE_P(
    Samples, ConvertBadJson,
    ::testing::Values(
        BadJson{"not_json", "{nRows: 2", "not valid JSON"},
        BadJson{"not_an_object", "[1, 2]", "JSON object"},
        BadJson{"no_counts", "{\"Cells\": []}", "nRows and nCols"},
        BadJson{"huge_counts", "{\"nRows\": 100000, \"nCols\": 100000}", "at most 65535"},
        BadJson{"float_count", "{\"nRows\": 1.5, \"nCols\": 1}", "nRows: expected"},
        BadJson{"bad_height", "{\"nRows\": 1, \"nCols\": 1, \"RowHeights\": [\"x\"]}", "RowHeights[0]"},
        BadJson{"bad_span", "{\"nRows\": 1, \"nCols\": 1, \"MergeRows\": [[0, 1]]}", "MergeRows[0]"},
        BadJson{"bad_cell", "{\"nRows\": 1, \"nCols\": 1, \"Cells\": [[{\"strText\": 5}]]}",
                "Cells[0][0].strText"},
        BadJson{"cells_not_rows", "{\"nRows\": 1, \"nCols\": 1, \"Cells\": [5]}", "Cells[0]"},
        BadJson{"big_int", "{\"nRows\": 4294967297, \"nCols\": 1}", "32-bit"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(TableVerbs, JsonNumbersAndTextsThatWouldChangeAreRefused_Issue11) {
  struct Bad {
    const char* json;
    const char* field;
  };
  for (const Bad& b : {Bad{R"({"nRows": 99999999999, "nCols": 1})", "nRows"},
                       Bad{R"({"nRows": 1, "nCols": 1, "MergeRows": [[0, 0, 4294967297]]})", "MergeRows[0]"},
                       Bad{R"({"nRows": 1, "nCols": 1, "Cells": [[{"nType": 1.5}]]})", "Cells[0][0].nType"},
                       Bad{R"({"nRows": 1, "nCols": 1, "Cells": [[{"strText": "cut\u0000here"}]]})",
                           "Cells[0][0].strText"}}) {
    const std::string path = dir_.File("bad.json");
    WriteFile(path, b.json);
    const auto r = RunCli("convert " + path + " " + dir_.File("out.vtf"));
    EXPECT_EQ(r.status, 1) << b.json;
    EXPECT_NE(r.err.find(b.field), std::string::npos) << r.err;
    EXPECT_FALSE(std::filesystem::exists(dir_.File("out.vtf")));
  }
}

}  // namespace
}  // namespace vex
