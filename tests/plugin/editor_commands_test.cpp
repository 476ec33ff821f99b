// The commands that show the editor (VEXOPENTABLE, VEXEDITTABLE) with a stand-in editor, and
// the real editor window inside the host: typing, Draw, the drawing command it posts, reading
// the drawn table back and drawing it again in place.

#include <gtest/gtest.h>

#include <QAction>
#include <algorithm>
#include <optional>
#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <QPushButton>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include "draw/entities.h"
#include "pictures/cell_capture.h"
#include "draw/table_drawer.h"
#include "editor/grid/grid_ctrl.h"
#include "editor/table_editor_window.h"
#include "files/table_file.h"
#include "model/editor_commands.h"
#include "plugin/commands.h"
#include "plugin/editor_window.h"
#include "plugin_test_util.h"
#include "support/tables.h"

namespace vex {
namespace {

using test::FakeEditor;
using test::PluginTest;

// Texts of model space, in creation order.
std::vector<std::string> Texts(AcDbDatabase* db) {
  std::vector<std::string> out;
  AcDbObjectIdArray ids;
  SilentSink messages;
  EnumerateBlock(db, "", ids, messages);
  for (const AcDbObjectId& id : ids) {
    AcDbObjectPointer<AcDbEntity> e(id, AcDb::kForRead);
    if (const auto* t = e ? AcDbText::cast(e.object()) : nullptr) out.push_back(t->textString());
  }
  return out;
}

int EntityCount(AcDbDatabase* db) {
  AcDbObjectIdArray ids;
  SilentSink messages;
  EnumerateBlock(db, "", ids, messages);
  return ids.length();
}

class OpenCommandsTest : public PluginTest {
 protected:
  void SetUp() override {
    PluginTest::SetUp();
    Plugin().editor.reset();
    Plugin().makeEditor = [this] {
      auto e = std::make_unique<FakeEditor>();
      made = e.get();
      ++makes;
      return e;
    };
  }
  void TearDown() override {
    Plugin().makeEditor = MakeEditorWindow;
    PluginTest::TearDown();
  }
  FakeEditor* made = nullptr;
  int makes = 0;
};

TEST_F(OpenCommandsTest, OpenTableMakesABlankEditorOnceAndThenOnlyShowsIt) {
  CmdOpenTable();
  ASSERT_EQ(makes, 1);
  EXPECT_EQ(made->origin, kNewTable);
  EXPECT_EQ(made->blank, std::pair(6, 6));
  EXPECT_EQ(made->blankSizes, std::pair(5.0, 15.0));
  EXPECT_EQ(made->restored, 1);
  made->blank = {0, 0};
  CmdOpenTable();
  EXPECT_EQ(makes, 1);
  EXPECT_EQ(made->blank, std::pair(0, 0));  // its table is left alone
  EXPECT_EQ(made->restored, 2);
}

TEST_F(OpenCommandsTest, EditTableReadsTheDrawnTableIntoTheEditor) {
  TableData drawn = test::NamedTable(2, 3, 10, 30);
  SilentSink messages;
  ASSERT_FALSE(DrawTable(drawn, Settings{}, nullptr, *Drawing(), messages).isEmpty());
  cadhost::TypeInput("W\n-5,-25\n95,5\n\n");
  CmdReadTable();
  ASSERT_EQ(makes, 1);
  EXPECT_EQ(made->origin, kTableFromDrawing);
  EXPECT_TRUE(made->full);
  EXPECT_EQ(made->loads, 1);
  EXPECT_EQ(made->table.nRows, 2);
  EXPECT_EQ(made->table.GetCell(1, 2).strText, "r1c2");
  EXPECT_EQ(made->restored, 1);
  EXPECT_EQ(Plugin().lastRead.textIds.length(), 6);

  // An open editor is minimised while the drafter picks, and shown again after.
  cadhost::TypeInput("W\n-5,-25\n95,5\n\n");
  CmdReadTable();
  EXPECT_EQ(makes, 1);
  EXPECT_EQ(made->minimized, 1);
  EXPECT_EQ(made->restored, 2);
  EXPECT_EQ(made->loads, 2);
}

TEST_F(OpenCommandsTest, CancelledReadLeavesTheEditorAndDropsOnlyTheStoreItMade) {
  CmdOpenTable();
  Plugin().imageStore.Discard();
  cadhost::TypeInput("\x1b");
  CmdReadTable();
  EXPECT_EQ(made->loads, 0);
  EXPECT_EQ(made->minimized, 1);
  EXPECT_EQ(made->restored, 2);
  EXPECT_FALSE(Plugin().imageStore);
  // A store that holds the editor's pictures stays.
  Plugin().imageStore.Create();
  cadhost::TypeInput("\x1b");
  CmdReadTable();
  EXPECT_TRUE(Plugin().imageStore);
}

// The real window, in the host without a window of its own.
class EditorInHostTest : public PluginTest {
 protected:
  void SetUp() override {
    PluginTest::SetUp();
    Plugin().editor.reset();
    ASSERT_TRUE(RegisterCommands());
  }
  void TearDown() override {
    RemoveCommands();
    PluginTest::TearDown();
  }
  TableEditorWindow* Window() const { return WindowOf(Plugin().editor.get()); }
  void Press(int id) {
    QAction* a = Window()->Action(id);
    ASSERT_NE(a, nullptr);
    for (QToolBar* bar : {Window()->FileToolbar(), Window()->FormatToolbar()})
      if (auto* b = qobject_cast<QToolButton*>(bar->widgetForAction(a))) {
        QTest::mouseClick(b, Qt::LeftButton);
        return;
      }
    a->trigger();
  }
  void Click(int row, int col) {
    GridCtrl& g = Window()->Grid();
    QTest::mouseClick(g.viewport(), Qt::LeftButton, {}, g.CellRectOf(row, col).center());
  }
  void Type(const QString& text) {
    for (const QChar ch : text) {
      GridCtrl& g = Window()->Grid();
      QWidget* target = g.InPlaceEditor() ? static_cast<QWidget*>(g.InPlaceEditor()) : &g;
      QTest::keyClicks(target, QString(ch));
    }
  }
  void Enter() {
    GridCtrl& g = Window()->Grid();
    QTest::keyClick(g.InPlaceEditor() ? static_cast<QWidget*>(g.InPlaceEditor()) : &g, Qt::Key_Return);
  }
};

TEST_F(EditorInHostTest, TypeDrawReadBackAndDrawInPlace_Issue14) {
  ASSERT_TRUE(cadhost::RunCommand("VEXOPENTABLE"));
  ASSERT_NE(Window(), nullptr);
  ASSERT_TRUE(Window()->isVisible());
  EXPECT_EQ(Window()->parentWidget(), nullptr);  // no main frame: a window of its own
  QApplication::setActiveWindow(Window());
  ASSERT_TRUE(QTest::qWaitForWindowExposed(Window()));
  Click(1, 1);
  Type("hello");
  Enter();
  Click(2, 1);
  QTest::mouseClick(Window()->Grid().viewport(), Qt::LeftButton, Qt::ShiftModifier,
                    Window()->Grid().CellRectOf(2, 3).center());
  Press(editor_cmd::kTbMerge);

  cadhost::Feedback::Clear();
  QTest::mouseClick(Window()->DrawButton(), Qt::LeftButton);
  EXPECT_FALSE(Window()->isVisible());
  EXPECT_EQ(cadhost::Feedback::Posted(), (std::vector<std::string>{"\x1b", "VEXTABLE_DRAW", "\r"}));
  EXPECT_EQ(Plugin().currentTable.GetCell(0, 0).strText, "hello");
  // The drafter picks the insertion point; the posted command draws there.
  cadhost::TypeInput("100,50\n");
  cadhost::RunCommandLine();
  EXPECT_EQ(Texts(Drawing()), (std::vector<std::string>{"hello"}));
  const int drawn = EntityCount(Drawing());

  // Read back by a window around it: the same text and merge, ready to be drawn in place.
  cadhost::TypeInput("W\n90,60\n200,10\n\n");
  ASSERT_TRUE(cadhost::RunCommand("VEXEDITTABLE"));
  ASSERT_NE(Window(), nullptr);
  EXPECT_TRUE(Window()->isVisible());
  EXPECT_EQ(Window()->Origin(), kTableFromDrawing);
  EXPECT_EQ(Window()->Grid().Model().Text(1, 1), "hello");
  EXPECT_EQ(Window()->Grid().Model().BlockOf(2, 2), (CellRange{2, 1, 2, 3}));
  Click(3, 3);
  Type("more");
  Enter();
  cadhost::Feedback::Clear();
  QTest::mouseClick(Window()->DrawButton(), Qt::LeftButton);
  EXPECT_EQ(cadhost::Feedback::Posted()[1], "VEXTABLE_EDIT");
  cadhost::TypeInput("\n");  // ENTER: the old place
  cadhost::RunCommandLine();
  std::vector<std::string> texts = Texts(Drawing());
  std::sort(texts.begin(), texts.end());
  EXPECT_EQ(texts, (std::vector<std::string>{"hello", "more"}));
  EXPECT_EQ(EntityCount(Drawing()), drawn + 1);
  // Each Draw left the drawn table as the autosave.
  TableData autosaved;
  ASSERT_TRUE(LoadTableFile(autosaved, kAutoSavePrefix, Plugin().where.headerRoot + "_AutoSave.vtt"));
  EXPECT_EQ(autosaved.GetCell(2, 2).strText, "more");
}

// While the editor asks a modal question the host switches no document and takes no command;
// after the answer it does again.
TEST_F(EditorInHostTest, AModalQuestionHoldsTheHostsDocumentActivation_Issue14) {
  ASSERT_TRUE(cadhost::RunCommand("VEXOPENTABLE"));
  QApplication::setActiveWindow(Window());
  ASSERT_TRUE(QTest::qWaitForWindowExposed(Window()));
  Click(1, 1);
  std::optional<bool> enabledWhileAsked;
  QTimer::singleShot(0, [&] {
    enabledWhileAsked = acDocManager->isDocumentActivationEnabled();
    if (QWidget* dialog = QApplication::activeModalWidget()) static_cast<QDialog*>(dialog)->reject();
  });
  Window()->RunCommand(editor_cmd::kRowHeight);
  ASSERT_TRUE(enabledWhileAsked.has_value()) << "no row-height dialog was shown";
  EXPECT_FALSE(*enabledWhileAsked);
  EXPECT_TRUE(acDocManager->isDocumentActivationEnabled());
}

TEST_F(EditorInHostTest, ClosingReleasesTheEditor) {
  ASSERT_TRUE(cadhost::RunCommand("VEXOPENTABLE"));
  ASSERT_NE(Window(), nullptr);
  QTest::mouseClick(Window()->CancelButton(), Qt::LeftButton);
  QCoreApplication::processEvents();
  EXPECT_EQ(Plugin().editor, nullptr);
  cadhost::Feedback::Clear();
  CmdDrawTable();
  EXPECT_EQ(cadhost::Feedback::Text(), "\nDialog is close, command close!");
  // The next command makes a new one.
  ASSERT_TRUE(cadhost::RunCommand("VEXOPENTABLE"));
  EXPECT_NE(Window(), nullptr);
}

TEST_F(EditorInHostTest, PicturesGoIntoTheSelectedCells) {
  ASSERT_TRUE(cadhost::RunCommand("VEXOPENTABLE"));
  AcDbBlockTableRecord* space = nullptr;
  ASSERT_EQ(acdbOpenObject(space, Drawing()->modelSpaceId(), AcDb::kForWrite), Acad::eOk);
  auto* circle = new AcDbCircle(AcGePoint3d(50, 50, 0), AcGeVector3d(0, 0, 1), 5);
  space->appendAcDbEntity(circle);
  circle->close();
  space->close();
  Window()->Grid().SetSelectedRange({2, 2, 2, 2});
  cadhost::TypeInput("W\n40,40\n60,60\n\n");
  ASSERT_TRUE(cadhost::RunCommand("VEXTABLE_SELECTIMAGE"));
  EXPECT_EQ(Window()->Grid().Model().Kind(2, 2), kImageCell);
  ASSERT_EQ(Window()->SelectedPictures().size(), 1u);
  EXPECT_TRUE(Window()->PictureBoxMode());
  // The file toolbar's draw-picture button posts the command that places it.
  cadhost::Feedback::Clear();
  Press(editor_cmd::kTbDrawImage);
  EXPECT_EQ(cadhost::Feedback::Posted()[1], "VEXTABLE_DRAWIMAGE");
}

}  // namespace
}  // namespace vex
