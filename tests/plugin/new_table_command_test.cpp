// VEXDRAWTABLE: the table initialization dialog's answer into the editor, with a stand-in
// answer and a stand-in editor, then with the real dialog and the real editor inside the host,
// started from the editor's New.

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

#include "editor/grid/grid_ctrl.h"
#include "editor/table_editor_window.h"
#include "files/header_library.h"
#include "files/table_init_dialog.h"
#include "model/editor_commands.h"
#include "pictures/image_store.h"
#include "plugin/commands.h"
#include "plugin/editor_window.h"
#include "plugin_test_util.h"
#include "support/tables.h"

namespace vex {
namespace {

using test::FakeEditor;
using test::PluginTest;

class NewTableTest : public PluginTest {
 protected:
  void SetUp() override {
    PluginTest::SetUp();
    Plugin().editor.reset();
    Plugin().makeEditor = [this] {
      auto e = std::make_unique<FakeEditor>();
      made = e.get();
      return e;
    };
    Plugin().askNewTable = [this] {
      ++asked;
      return answer;
    };
  }
  void TearDown() override {
    Plugin().makeEditor = MakeEditorWindow;
    Plugin().askNewTable = AskNewTable;
    Plugin().headers.reset();
    PluginTest::TearDown();
  }
  FakeEditor* made = nullptr;
  int asked = 0;
  std::optional<TableInitAnswer> answer;
};

TEST_F(NewTableTest, HeaderGoesIntoTheEditorWithOriginOne) {
  answer = TableInitAnswer{};
  answer->hasHeader = true;
  answer->type = 0;
  answer->table = test::NamedTable(5, 4);
  CmdNewTable();
  ASSERT_NE(made, nullptr);
  EXPECT_EQ(made->origin, kLoadedTable);
  EXPECT_EQ(made->loads, 1);
  EXPECT_EQ(made->table, answer->table);
  EXPECT_EQ(made->restored, 1);
}

TEST_F(NewTableTest, BlankTableGoesIntoTheEditorWithOriginZeroAndItsSizes) {
  CmdOpenTable();  // an editor that shows something already
  made->origin = kLoadedTable;
  answer = TableInitAnswer{};
  answer->rows = 3;
  answer->cols = 2;
  answer->rowHeight = 7;
  answer->colWidth = 25;
  answer->table = test::UniformTable(3, 2, 7, 25);
  CmdNewTable();
  EXPECT_EQ(made->origin, kNewTable);
  EXPECT_EQ(made->blank, std::pair(3, 2));
  EXPECT_EQ(made->blankSizes, std::pair(7.0, 25.0));
  EXPECT_EQ(made->loads, 1);  // shown, although the editor had a table
  EXPECT_EQ(made->table, answer->table);
}

TEST_F(NewTableTest, CancelLeavesEverythingAsItWas) {
  CmdNewTable();
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(made, nullptr);  // no editor made
  CmdOpenTable();
  CmdNewTable();
  EXPECT_EQ(made->loads, 0);
  EXPECT_EQ(made->restored, 1);
}

// The real dialog and the real editor in the host: the editor's New posts VEXDRAWTABLE, the
// host runs it, the drafter picks a header in the dialog, and the editor shows the new table.
class NewTableInHostTest : public PluginTest {
 protected:
  void SetUp() override {
    PluginTest::SetUp();
    Plugin().editor.reset();
    ASSERT_TRUE(RegisterCommands());
  }
  void TearDown() override {
    RemoveCommands();
    Plugin().headers.reset();
    PluginTest::TearDown();
  }
  TableEditorWindow* Window() const { return WindowOf(Plugin().editor.get()); }
};

TEST_F(NewTableInHostTest, NewFromTheEditorThroughTheDialog) {
  ImageStore none;
  ASSERT_TRUE(HeaderLibrary(Plugin().where.headerRoot).SaveHeader(test::NamedTable(2, 3, 9, 21), "Top", "Pipes", 0, none));
  ASSERT_TRUE(cadhost::RunCommand("VEXOPENTABLE"));
  ASSERT_NE(Window(), nullptr);
  cadhost::Feedback::Clear();
  Window()->Action(editor_cmd::kTbNew)->trigger();
  EXPECT_EQ(cadhost::Feedback::Posted(), (std::vector<std::string>{"\x1b", "VEXDRAWTABLE", "\r"}));

  bool shown = false;
  QTimer::singleShot(0, [&shown] {
    auto* d = qobject_cast<TableInitDialog*>(QApplication::activeModalWidget());
    if (d == nullptr) {
      ADD_FAILURE() << "no table initialization dialog";
      return;
    }
    shown = true;
    d->HeaderBox()->setFocus();
    QTest::keyClick(d->HeaderBox(), Qt::Key_Down);
    QSpinBox* rows = d->Field(SizeField::kRows);
    rows->setFocus();
    QTest::keyClick(rows, Qt::Key_Up);
    QTest::mouseClick(d->OkButton(), Qt::LeftButton);
  });
  cadhost::RunCommandLine();
  ASSERT_TRUE(shown);
  ASSERT_NE(Window(), nullptr);
  EXPECT_EQ(Window()->Origin(), kLoadedTable);
  const TableData t = Window()->TakeTable(TextHeights::kExact);
  EXPECT_EQ(t.nRows, 7);  // 6 and one click up
  EXPECT_EQ(t.nCols, 3);
  EXPECT_EQ(t.RowHeights[1], 9);
  EXPECT_EQ(t.RowHeights[6], 8);
  EXPECT_EQ(t.GetCell(1, 2).strText, "r1c2");
}

}  // namespace
}  // namespace vex
