// The batch tool's "draw" and "read" verbs, with ezdxf (Debian's python3-ezdxf) reading what
// we draw.

#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>

#include "files/table_file.h"
#include "support/run_cli.h"
#include "support/temp_dir.h"

namespace vex {
namespace {

using Json = nlohmann::json;
using test::ReadFile;
using test::RunCli;
using test::RunShell;
using test::TempDir;
using test::WriteFile;

std::string Source(const std::string& rel) { return std::string(VEXTABLE_SOURCE_DIR) + "/" + rel; }

// What ezdxf reads from a drawing.
Json Peer(const std::string& dxf) {
  const auto r = RunShell("/usr/bin/python3 " + Source("tests/support/dxf_summary.py") + " '" + dxf + "'");
  const Json j = Json::parse(r.out, nullptr, false);
  EXPECT_FALSE(j.is_discarded()) << "ezdxf could not read " << dxf << ":\n" << r.out << r.err;
  return j;
}

std::vector<Json> OfType(const Json& peer, const std::string& type) {
  std::vector<Json> out;
  for (const auto& e : peer["entities"])
    if (e["type"] == type) out.push_back(e);
  return out;
}

class DrawReadTest : public ::testing::Test {
 protected:
  TempDir dir_;
};

TEST_F(DrawReadTest, ExampleTableDrawsCleanForEzdxf) {
  const std::string out = dir_.File("example.dxf");
  const auto r = RunCli("draw " + Source("examples/example_table.vtf") + " -o " + out + " --at 100,50");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("\nDrawing horizontal line..."), std::string::npos);
  EXPECT_NE(r.out.find("Drew a table of 5 rows and 4 columns"), std::string::npos) << r.out;

  const Json peer = Peer(out);
  ASSERT_TRUE(peer.is_object());
  EXPECT_EQ(peer["errors"], 0);
  EXPECT_EQ(peer["fixes"], 0);
  EXPECT_EQ(peer["insunits"], 4);
  for (const char* layer : {"Sideline", "Inline", "Text"})
    EXPECT_NE(std::find(peer["layers"].begin(), peer["layers"].end(), layer), peer["layers"].end()) << layer;
  EXPECT_EQ(peer["styles"]["Table"], Json::array({"txt.shx", "gbcbig.shx"}));

  // The frame: top edge at y = 50 from x = 100 to 215, on the border layer.
  const auto lines = OfType(peer, "LINE");
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines[0]["start"], Json::array({100.0, 50.0}));
  EXPECT_EQ(lines[0]["end"], Json::array({215.0, 50.0}));
  EXPECT_EQ(lines[0]["layer"], "Sideline");

  // The title centred in the merged first row (x 100..215, y 50..38).
  const auto texts = OfType(peer, "TEXT");
  ASSERT_FALSE(texts.empty());
  EXPECT_EQ(texts[0]["text"], "零件明细表 Parts list");
  EXPECT_EQ(texts[0]["point"], Json::array({157.5, 44.0}));
  EXPECT_EQ(texts[0]["halign"], 1);
  EXPECT_EQ(texts[0]["valign"], 2);
  EXPECT_EQ(texts[0]["layer"], "Text");
  // The two-line note: top-left, its lines 3 + 1 apart.
  std::vector<Json> notes;
  for (const auto& t : texts)
    if (t["text"] == "Notes: tighten to 80 N·m" || t["text"] == "注意：装配前清洁") notes.push_back(t);
  ASSERT_EQ(notes.size(), 2u);
  EXPECT_EQ(notes[0]["point"], Json::array({101.0, 13.0}));
  EXPECT_EQ(notes[1]["point"], Json::array({101.0, 9.0}));

  // The two pictures, with their blocks copied in and fitted into their cells.
  const auto inserts = OfType(peer, "INSERT");
  ASSERT_EQ(inserts.size(), 2u);
  for (const auto& ins : inserts) {
    EXPECT_FALSE(ins["block_entities"].empty());
    EXPECT_GT(ins["scale"].get<double>(), 0.0);
    EXPECT_LT(ins["scale"].get<double>(), 1.0);
  }
}

TEST_F(DrawReadTest, DrawnTableReadsBackAsTheExample) {
  const std::string drawn = dir_.File("example.dxf");
  ASSERT_EQ(RunCli("draw " + Source("examples/example_table.vtf") + " -o " + drawn).status, 0);
  const std::string table = dir_.File("back.vtf");
  const auto r = RunCli("read " + drawn + " -o " + table);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("(2 pictures)"), std::string::npos) << r.out;
  EXPECT_TRUE(std::filesystem::exists(dir_.File("back.vtf.dxf")));

  const Json back = Json::parse(RunCli("dump " + table).out);
  const Json example = Json::parse(ReadFile(Source("examples/example_table.json")));
  EXPECT_EQ(back["RowHeights"], example["RowHeights"]);
  EXPECT_EQ(back["ColWidths"], example["ColWidths"]);
  EXPECT_EQ(back["MergeRows"], example["MergeRows"]);
  EXPECT_EQ(back["Cells"][0][0]["strText"], example["Cells"][0][0]["strText"]);
  EXPECT_EQ(back["Cells"][2][1]["strText"], "六角螺栓 M12");
  EXPECT_EQ(back["Cells"][2][1]["HorzMode"], 0);
  EXPECT_EQ(back["Cells"][2][2]["HorzMode"], 2);
  EXPECT_EQ(back["Cells"][4][0]["strText"], "Notes: tighten to 80 N·m\r\n注意：装配前清洁");
  EXPECT_EQ(back["Cells"][4][3]["VertMode"], 2);
  EXPECT_EQ(back["Cells"][2][3]["nType"], 1);
  EXPECT_EQ(back["Cells"][3][3]["nType"], 1);
}

TEST_F(DrawReadTest, ReadsATableDrawnByAnotherProgram) {
  const std::string table = dir_.File("ez.vtf");
  const auto r = RunCli("read " + Source("tests/data/recognize/ezdxf_table.dxf") + " -o " + table);
  ASSERT_EQ(r.status, 0) << r.err;
  const Json t = Json::parse(RunCli("dump " + table).out);
  EXPECT_EQ(t["RowHeights"], Json::array({12.0, 8.0, 8.0}));
  EXPECT_EQ(t["ColWidths"], Json::array({20.0, 40.0, 25.0}));
  EXPECT_EQ(t["MergeRows"], Json::array({Json::array({0, 0, 2})}));
  EXPECT_EQ(t["Cells"][0][0]["strText"], "Bill of materials");
  EXPECT_EQ(t["Cells"][0][0]["dHeight"], 5.0);
  EXPECT_EQ(t["Cells"][1][1]["strText"], "Name");
  EXPECT_EQ(t["Cells"][1][1]["HorzMode"], 0);
  EXPECT_EQ(t["Cells"][1][1]["VertMode"], 0);
  EXPECT_EQ(t["Cells"][1][2]["HorzMode"], 2);
  EXPECT_EQ(t["Cells"][1][2]["VertMode"], 2);
  EXPECT_EQ(t["Cells"][2][1]["strText"], "螺栓");
  EXPECT_EQ(t["Cells"][2][2]["nType"], 1);
}

TEST_F(DrawReadTest, WindowSelectsPartOfTheDrawing) {
  const std::string drawn = dir_.File("two.dxf");
  ASSERT_EQ(RunCli("draw " + Source("examples/example_table.vtf") + " -o " + drawn).status, 0);
  ASSERT_EQ(RunCli("draw " + Source("examples/example_table.json") + " -o " + drawn + " --into " + drawn +
                   " --at 500,0").status, 0);
  // Everything: two frames side by side do not form one table.
  EXPECT_NE(RunCli("read " + drawn + " -o " + dir_.File("all.vtf")).status, 0);
  const auto r = RunCli("read " + drawn + " -o " + dir_.File("right.vtf") + " --window 490,10,700,-100");
  ASSERT_EQ(r.status, 0) << r.err;
  const Json t = Json::parse(RunCli("dump " + dir_.File("right.vtf")).out);
  EXPECT_EQ(t["nRows"], 5);
}

TEST_F(DrawReadTest, FailuresSayWhatIsWrong) {
  EXPECT_EQ(RunCli("draw " + dir_.File("missing.vtf")).status, 1);
  EXPECT_EQ(RunCli("draw " + Source("examples/example_table.json") + " --at 1,x").status, 2);
  WriteFile(dir_.File("empty.json"), R"({"nRows": 0, "nCols": 3})");
  const auto empty = RunCli("draw " + dir_.File("empty.json") + " -o " + dir_.File("e.dxf"));
  EXPECT_EQ(empty.status, 1);
  EXPECT_NE(empty.err.find("no rows"), std::string::npos) << empty.err;
  // Drawing over the table's own picture drawing would lose its pictures.
  const auto clash = RunCli("draw " + Source("examples/example_table.vtf") + " -o " + Source("examples/example_table.vtf.dxf"));
  EXPECT_EQ(clash.status, 1);
  EXPECT_EQ(RunCli("draw " + Source("examples/example_table.json") + " --at 1e400,0").status, 2);

  WriteFile(dir_.File("junk.dxf"), "  0\nSECTION\n  2\nENTITIES\n  0\nLINE\n 10\nabc\n");
  const auto junk = RunCli("read " + dir_.File("junk.dxf"));
  EXPECT_EQ(junk.status, 1);
  EXPECT_FALSE(junk.err.empty());
  const std::string lonely = dir_.File("lonely.dxf");
  ASSERT_EQ(RunCli("draw " + Source("examples/example_table.json") + " -o " + lonely).status, 0);
  EXPECT_EQ(RunCli("read " + lonely + " --window 1000,1000,1001,1001").status, 1);
}

TEST_F(DrawReadTest, DefaultOutputNamesNeverOverwriteADrawing_Issue11) {
  const std::string vtf = dir_.File("plan.vtf");
  std::filesystem::copy_file(Source("examples/example_table.vtf"), vtf);
  std::filesystem::copy_file(Source("examples/example_table.vtf.dxf"), dir_.File("plan.vtf.dxf"));
  ASSERT_EQ(RunCli("draw " + vtf).status, 0);
  ASSERT_TRUE(std::filesystem::exists(dir_.File("plan.dxf")));
  const std::string drafters = ReadFile(dir_.File("plan.dxf"));

  // A second draw without -o would overwrite plan.dxf, which may be the drafter's drawing.
  const auto again = RunCli("draw " + vtf);
  EXPECT_EQ(again.status, 1);
  EXPECT_NE(again.err.find("give -o"), std::string::npos) << again.err;
  EXPECT_EQ(ReadFile(dir_.File("plan.dxf")), drafters);

  // Reading plan.dxf back without -o writes plan.vtf (and its pictures to plan.vtf.dxf), not
  // over the drawing.
  std::filesystem::remove(vtf);
  const auto read = RunCli("read " + dir_.File("plan.dxf"));
  ASSERT_EQ(read.status, 0) << read.err;
  EXPECT_TRUE(std::filesystem::exists(vtf));
  EXPECT_EQ(ReadFile(dir_.File("plan.dxf")), drafters);
  EXPECT_EQ(RunCli("read " + dir_.File("plan.dxf") + " -o " + dir_.File("plan.dxf")).status, 1);
  EXPECT_EQ(ReadFile(dir_.File("plan.dxf")), drafters);
}

TEST_F(DrawReadTest, TableSavedBeforeTheRenameFindsItsPicturesUnderTheOldName_Issue11) {
  std::filesystem::copy_file(Source("examples/example_table.vtf"), dir_.File("old.vtf"));
  std::filesystem::copy_file(Source("examples/example_table.vtf.dxf"), dir_.File("old.dxf"));
  const auto r = RunCli("draw " + dir_.File("old.vtf") + " -o " + dir_.File("drawn.dxf"));
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("cell image"), std::string::npos);
  // Both pictures made it into the drawing.
  const auto dump = RunShell("/usr/bin/python3 -c \"import ezdxf,sys; d=ezdxf.readfile(sys.argv[1]); "
                             "print(len(d.modelspace().query('INSERT')))\" " + dir_.File("drawn.dxf"));
  EXPECT_EQ(dump.out, "2\n") << dump.err;
}

}  // namespace
}  // namespace vex
