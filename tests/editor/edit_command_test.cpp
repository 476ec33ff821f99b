// vextable edit: the editor window without a CAD host. In process, the same session the
// program runs, its Draw writing a drawing that ezdxf reads and audits; as a program, that it
// opens offscreen and waits for the drafter.

#include <gtest/gtest.h>

#include <QPushButton>
#include <QTest>
#include <QToolBar>

#include <nlohmann/json.hpp>

#include "cli/edit_command.h"
#include "editor/grid/grid_ctrl.h"
#include "editor_window_fixture.h"
#include "files/table_file.h"
#include "model/editor_commands.h"
#include "model/merge_blocks.h"
#include "support/run_cli.h"
#include "support/tables.h"

namespace vex::test {
namespace {

using Json = nlohmann::json;

// What ezdxf reads from a drawing: its audit and its entities.
Json Peer(const std::string& dxf) {
  const auto r = RunShell("/usr/bin/python3 " + std::string(VEXTABLE_SOURCE_DIR) + "/tests/support/dxf_summary.py '" +
                          dxf + "'");
  const Json j = Json::parse(r.out, nullptr, false);
  EXPECT_FALSE(j.is_discarded()) << "ezdxf could not read " << dxf << ":\n" << r.out << r.err;
  return j;
}

std::vector<std::string> PeerTexts(const Json& peer) {
  std::vector<std::string> out;
  for (const auto& e : peer["entities"])
    if (e["type"] == "TEXT") out.push_back(e["text"]);
  return out;
}

class EditCommandTest : public testing::Test {
 protected:
  void SetUp() override {
    TableData t = NamedTable(3, 3, 8, 25);
    AppendMergeSpans(t, {{0, 0, 0, 1}});
    ASSERT_TRUE(SaveTableFile(t, kTableFilePrefix, dir.File("plan.vtf")));
  }
  // Starts the session on `table` with scripted answers; the window is shown.
  void Start(const std::optional<std::string>& table) {
    session = std::make_unique<cli::EditSession>(dir.File("VexTable.ini"));
    ASSERT_TRUE(session->problem().empty()) << session->problem();
    session->Host().onClosed = [this] { ++closed; };
    auto d = std::make_unique<ScriptedDialogs>();
    dialogs = d.get();
    ASSERT_TRUE(session->Start(table, std::nullopt, std::move(d)));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(session->Window()));
  }
  TableEditorWindow& Window() const { return *session->Window(); }
  void Draw(const std::string& into) {
    dialogs->drawingPaths.push_back(into);
    QTest::mouseClick(Window().DrawButton(), Qt::LeftButton);
  }

  TempDir dir;
  std::unique_ptr<cli::EditSession> session;
  ScriptedDialogs* dialogs = nullptr;
  int closed = 0;
};

TEST_F(EditCommandTest, DrawsIntoANewDrawingThatEzdxfAudits_Issue14) {
  Start(dir.File("plan.vtf"));
  EXPECT_EQ(Window().Grid().Model().Text(1, 1), "r0c0");
  Window().Grid().Model().SetText(3, 3, "edited");
  Draw(dir.File("out.dxf"));
  ASSERT_FALSE(dialogs->told.empty());
  EXPECT_NE(dialogs->told.back().find("out.dxf"), std::string::npos) << dialogs->told.back();
  EXPECT_TRUE(Window().isVisible());  // outside a host the editor stays open
  const Json peer = Peer(dir.File("out.dxf"));
  EXPECT_EQ(peer["errors"], 0);
  std::vector<std::string> texts = PeerTexts(peer);
  std::sort(texts.begin(), texts.end());
  // The merged cell's covered neighbour draws nothing.
  EXPECT_EQ(texts, (std::vector<std::string>{"edited", "r0c0", "r0c2", "r1c0", "r1c1", "r1c2", "r2c0", "r2c1"}));
  // At 0,0: the table's top-left corner is the origin.
  double minX = 1e9, maxY = -1e9;
  for (const auto& e : peer["entities"])
    if (e["type"] == "LINE") {
      minX = std::min({minX, e["start"][0].get<double>(), e["end"][0].get<double>()});
      maxY = std::max({maxY, e["start"][1].get<double>(), e["end"][1].get<double>()});
    }
  EXPECT_NEAR(minX, 0, 1e-9);
  EXPECT_NEAR(maxY, 0, 1e-9);
}

TEST_F(EditCommandTest, DrawsIntoAnExistingDrawingKeepingWhatItHeld) {
  Start(dir.File("plan.vtf"));
  Draw(dir.File("sheet.dxf"));
  const std::size_t once = Peer(dir.File("sheet.dxf"))["entities"].size();
  Draw(dir.File("sheet.dxf"));
  const Json peer = Peer(dir.File("sheet.dxf"));
  EXPECT_EQ(peer["errors"], 0);
  EXPECT_EQ(peer["entities"].size(), 2 * once);
  // A file that is no drawing is refused and left alone.
  WriteFile(dir.File("notes.dxf"), "these are notes");
  Draw(dir.File("notes.dxf"));
  EXPECT_EQ(ReadFile(dir.File("notes.dxf")), "these are notes");
  EXPECT_NE(dialogs->told.back().find("could not be drawn"), std::string::npos) << dialogs->told.back();
}

TEST_F(EditCommandTest, BlankWithoutATableAndNoDrawingCommands) {
  Start(std::nullopt);
  EXPECT_EQ(Window().Grid().Model().RowCount(), 7);
  EXPECT_EQ(Window().Origin(), kNewTable);
  for (int id : {editor_cmd::kTbEditDrawn, editor_cmd::kTbSelectImage, editor_cmd::kTbDrawImage})
    EXPECT_FALSE(Window().FileToolbar()->actions().contains(Window().Action(id))) << id;
  QTest::mouseClick(Window().CancelButton(), Qt::LeftButton);
  EXPECT_EQ(closed, 1);
}

TEST_F(EditCommandTest, ATableThatCannotBeReadIsRefusedBeforeAWindowOpens) {
  session = std::make_unique<cli::EditSession>(dir.File("VexTable.ini"));
  WriteFile(dir.File("bad.vtf"), "no table here");
  EXPECT_FALSE(session->Start(dir.File("bad.vtf"), std::nullopt));
  EXPECT_FALSE(session->Start(dir.File("missing.vtf"), std::nullopt));
  EXPECT_EQ(session->Window(), nullptr);
}

// The program itself: it opens offscreen and waits for the drafter until it is stopped.
TEST_F(EditCommandTest, TheProgramOpensAndWaits) {
  const std::string ini = " --ini '" + dir.File("VexTable.ini") + "'";
  const auto waited =
      RunShell("QT_QPA_PLATFORM=offscreen timeout -s TERM 3 " + std::string(VEXTABLE_CLI) + " edit '" +
               dir.File("plan.vtf") + "'" + ini);
  EXPECT_EQ(waited.status, 124) << waited.out << waited.err;  // still open when stopped
  const auto missing = RunShell("QT_QPA_PLATFORM=offscreen " + std::string(VEXTABLE_CLI) + " edit '" +
                                dir.File("missing.vtf") + "'" + ini);
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.err.find("does not exist"), std::string::npos) << missing.err;
  const auto noDisplay = RunShell("env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM " + std::string(VEXTABLE_CLI) +
                                  " edit" + ini);
  EXPECT_EQ(noDisplay.status, 1);
  EXPECT_NE(noDisplay.err.find("no display"), std::string::npos) << noDisplay.err;
}

}  // namespace
}  // namespace vex::test
