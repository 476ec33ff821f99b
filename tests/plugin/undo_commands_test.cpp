// The drawing commands as the host runs them, undone and redone as whole commands: undoing
// VEXTABLE_DRAW takes the drawn table away, undoing VEXTABLE_EDIT brings the old table back,
// and a drawing saved after either is the drawing before the command.

#include <gtest/gtest.h>

#include "draw/table_drawer.h"
#include "draw/selection.h"
#include "pictures/cell_capture.h"
#include "plugin/commands.h"
#include "plugin_test_util.h"
#include "platform/message_sink.h"
#include "recognize/table_recognizer.h"
#include "support/tables.h"
#include "support/temp_dir.h"

namespace vex {
namespace {

using test::PluginTest;

class UndoCommands : public PluginTest {
 protected:
  void SetUp() override {
    PluginTest::SetUp();
    ASSERT_TRUE(RegisterCommands());
    TableData t = test::UniformTable(3, 2);
    TableCell c = TableCell::Default();
    c.strText = "表 1";
    t.SetCell(0, 0, c);
    Plugin().currentTable = t;
  }
  // Runs typed input through the host's command line.
  void Run(const std::string& input) {
    cadhost::TypeInput(input);
    cadhost::RunCommandLine();
  }
  std::string Saved(const std::string& name) {
    const std::string path = dir.File(name);
    EXPECT_EQ(Drawing()->saveAs(path.c_str()), Acad::eOk);
    return test::ReadFile(path);
  }
  std::size_t Entities() {
    AcDbObjectIdArray ids;
    SilentSink messages;
    EnumerateBlock(Drawing(), "", ids, messages);
    return static_cast<std::size_t>(ids.length());
  }
  test::TempDir dir;
};

TEST_F(UndoCommands, UndoingTheDrawTakesTheTableAway) {
  Run("LINE 0,0 500,0\n\n");
  const std::string before = Saved("before.dxf");
  Run("VEXTABLE_DRAW\n100,50\n");
  const std::size_t drawn = Entities();
  ASSERT_GT(drawn, 5u);
  const std::string after = Saved("after.dxf");
  Run("U\n");
  EXPECT_EQ(Entities(), 1u);
  EXPECT_EQ(Saved("undone.dxf"), before) << "the layers and the style it made go too";
  Run("REDO\n");
  EXPECT_EQ(Entities(), drawn);
  EXPECT_EQ(Saved("redone.dxf"), after);
}

TEST_F(UndoCommands, UndoingTheEditBringsTheOldTableBack) {
  Run("VEXTABLE_DRAW\n200,100\n");
  const std::string old = Saved("old.dxf");
  AcDbObjectIdArray all;
  SilentSink messages;
  EnumerateBlock(Drawing(), "", all, messages);
  auto read = RecognizeTable(all, *Drawing(), Settings{}, Plugin().imageStore, messages);
  ASSERT_TRUE(read);
  Plugin().lastRead = std::move(read).value();
  TableData edited = test::UniformTable(2, 2);
  TableCell c = TableCell::Default();
  c.strText = "new";
  edited.SetCell(1, 1, c);
  Plugin().currentTable = edited;
  Run("VEXTABLE_EDIT\n\n");
  ASSERT_NE(Saved("edited.dxf"), old);
  Run("U\n");
  EXPECT_NE(cadhost::Feedback::Text().find("VEXTABLE_EDIT undone"), std::string::npos);
  EXPECT_EQ(Saved("back.dxf"), old);
}

}  // namespace
}  // namespace vex
