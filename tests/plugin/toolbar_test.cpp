// The floating toolbar inside a host with a window (offscreen), and the settings and about
// commands: where the toolbar first shows and comes back, its buttons posting their commands,
// the close mark, dragging, keys that do nothing, and a language chosen in the settings
// dialog re-labelling the open editor and the toolbar at once.

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "editor/table_editor_window.h"
#include "plugin/commands.h"
#include "plugin/editor_window.h"
#include "plugin/floating_toolbar.h"
#include "plugin_test_util.h"
#include "settings/settings_dialog.h"
#include "settings/window_placement.h"
#include "support/temp_dir.h"
#include "widgets/html_message_box.h"

namespace vex {
namespace {

class ToolbarTest : public test::PluginTest {
 protected:
  void SetUp() override {
    PluginTest::SetUp();
    frame = std::make_unique<QWidget>();
    // Inside the offscreen screen (800 x 600), so that nothing is pulled back onto it.
    frame->setGeometry(20, 30, 760, 500);
    frame->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
    cadhost::SetMainWindows(frame.get(), frame.get());
  }
  void TearDown() override {
    DestroyToolbar();
    Plugin().makeEditor = MakeEditorWindow;
    PluginTest::TearDown();
    cadhost::SetMainWindows(nullptr, nullptr);
    frame.reset();
  }
  FloatingToolbar* Shown() {
    CmdToolbar();
    FloatingToolbar* t = Toolbar();
    if (t) {
      EXPECT_TRUE(QTest::qWaitForWindowExposed(t));
    }
    return t;
  }
  std::unique_ptr<QWidget> frame;
};

TEST_F(ToolbarTest, FirstShowsThreeHundredPixelsLeftOfTheHostsRightEdge) {
  FloatingToolbar* t = Shown();
  ASSERT_NE(t, nullptr);
  const QRect host = frame->frameGeometry();
  EXPECT_EQ(t->x() + t->width(), host.right() + 1 - 300);
  EXPECT_EQ(t->y(), host.top());
  EXPECT_TRUE(t->windowFlags() & Qt::FramelessWindowHint);
  EXPECT_NEAR(t->windowOpacity(), 168.0 / 255.0, 0.01);
  // A second VEXTABLE shows the same toolbar.
  CmdToolbar();
  EXPECT_EQ(Toolbar(), t);
}

TEST_F(ToolbarTest, ANegativeStoredLeftShowsAtZero) {
  ASSERT_TRUE(WriteToolbarSpot(install_.SettingsFile(), {-50, 120}));
  FloatingToolbar* t = Shown();
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(t->pos(), QPoint(0, 120));
}

TEST_F(ToolbarTest, ButtonsPostTheirCommandsWithCaptionsAndTips) {
  FloatingToolbar* t = Shown();
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(t->Button(FloatingToolbar::kOpenTable)->text(), "TABLE");
  EXPECT_EQ(t->Button(FloatingToolbar::kExcel)->toolTip(), "Import Excel Sheet");
  EXPECT_EQ(t->CloseMark()->toolTip(), "Close Toolbar");
  const std::pair<int, const char*> buttons[] = {{FloatingToolbar::kSettings, "VEXBASESETUP"},
                                                 {FloatingToolbar::kOpenTable, "VEXOPENTABLE"},
                                                 {FloatingToolbar::kNewTable, "VEXDRAWTABLE"},
                                                 {FloatingToolbar::kEditTable, "VEXEDITTABLE"},
                                                 {FloatingToolbar::kExcel, "VEXDRAWEXCEL"}};
  for (const auto& [id, command] : buttons) {
    cadhost::Feedback::Clear();
    QTest::mouseClick(t->Button(id), Qt::LeftButton);
    EXPECT_EQ(cadhost::Feedback::Posted(), (std::vector<std::string>{"\x1b", command, "\r"})) << command;
  }
}

TEST_F(ToolbarTest, EnterAndEscapeDoNothing) {
  FloatingToolbar* t = Shown();
  ASSERT_NE(t, nullptr);
  t->activateWindow();
  QTest::keyClick(t, Qt::Key_Return);
  QTest::keyClick(t, Qt::Key_Escape);
  QApplication::processEvents();
  EXPECT_EQ(Toolbar(), t);
  EXPECT_TRUE(t->isVisible());
  EXPECT_TRUE(cadhost::Feedback::Posted().empty());
}

TEST_F(ToolbarTest, DraggedByItsHandleClosedByItsMarkAndBackWhereItWas) {
  FloatingToolbar* t = Shown();
  ASSERT_NE(t, nullptr);
  const QPoint start = t->pos();
  QLabel* handle = t->Handle();
  const QPoint grip = handle->rect().center();
  QTest::mousePress(handle, Qt::LeftButton, {}, grip);
  QTest::mouseMove(handle, grip + QPoint(30, 20));
  // The handle moved with the toolbar: (-40, 60) from the press is (-70, 40) from here.
  QTest::mouseMove(handle, grip + QPoint(-70, 40));
  QTest::mouseRelease(handle, Qt::LeftButton, {}, grip + QPoint(-70, 40));
  EXPECT_EQ(t->pos(), start + QPoint(-40, 60));
  const QPoint left = t->pos();

  cadhost::Feedback::Clear();
  QTest::mouseClick(t->CloseMark(), Qt::LeftButton);
  EXPECT_EQ(Toolbar(), nullptr);
  EXPECT_NE(cadhost::Feedback::Text().find("\nVexTable toolbar is close! Open toolbar command：VEXTABLE"),
            std::string::npos);
  EXPECT_EQ(cadhost::Feedback::Posted(), (std::vector<std::string>{"\x1b"}));
  QApplication::processEvents();
  EXPECT_EQ(ReadToolbarSpot(install_.SettingsFile(), {}), (ToolbarSpot{left.x(), left.y()}));

  FloatingToolbar* again = Shown();
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(again->pos(), left);
}

TEST_F(ToolbarTest, AFreeSpotDragsTheWholeToolbar) {
  FloatingToolbar* t = Shown();
  ASSERT_NE(t, nullptr);
  const QPoint start = t->pos();
  // The margin left of the last button is free.
  const QPoint spot(t->width() - 1, t->height() / 2);
  QTest::mousePress(t, Qt::LeftButton, {}, spot);
  QTest::mouseMove(t, spot + QPoint(25, 5));
  QTest::mouseRelease(t, Qt::LeftButton, {}, spot + QPoint(25, 5));
  EXPECT_EQ(t->pos(), start + QPoint(25, 5));
}

TEST_F(ToolbarTest, UnloadingDestroysItAndKeepsItsPlace) {
  FloatingToolbar* t = Shown();
  ASSERT_NE(t, nullptr);
  t->move(321, 234);
  DestroyToolbar();
  EXPECT_EQ(Toolbar(), nullptr);
  EXPECT_EQ(ReadToolbarSpot(install_.SettingsFile(), {}), (ToolbarSpot{321, 234}));
}

TEST_F(ToolbarTest, HeadlessHostShowsNoToolbarAndNoModalWindows) {
  cadhost::SetMainWindows(nullptr, nullptr);
  CmdToolbar();
  EXPECT_EQ(Toolbar(), nullptr);
  CmdBaseSetup();
  CmdAbout();
  EXPECT_NE(cadhost::Feedback::Text().find("VexTable 2.1.06"), std::string::npos);
}

TEST_F(ToolbarTest, AboutCommandShowsTheAboutBox) {
  bool seen = false;
  QTimer::singleShot(0, [&] {
    if (auto* box = qobject_cast<HtmlMessageBox*>(QApplication::activeModalWidget())) {
      seen = box->windowTitle() == "About VexTable";
      box->reject();
    }
  });
  CmdAbout();
  EXPECT_TRUE(seen);
}

// The settings dialog from its command: choosing Chinese re-labels the open editor, the
// toolbar and the dialog at once; Cancel keeps the language.
TEST_F(ToolbarTest, ChineseChosenInTheSettingsDialogRelabelsEveryOpenWindow) {
  Plugin().editor.reset();
  Plugin().makeEditor = MakeEditorWindow;
  CmdOpenTable();
  TableEditorWindow* editor = WindowOf(Plugin().editor.get());
  ASSERT_NE(editor, nullptr);
  FloatingToolbar* t = Shown();
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(editor->Menus()->actions().front()->text(), "&File");

  bool seen = false;
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<SettingsDialog*>(QApplication::activeModalWidget());
    if (!dialog) return;
    seen = true;
    EXPECT_EQ(dialog->windowTitle(), "VexTable Setting");
    QComboBox* box = dialog->LanguageBox();
    box->setFocus();
    QTest::keyClick(box, box->findText("Chinese") > box->currentIndex() ? Qt::Key_Down : Qt::Key_Up);
    EXPECT_EQ(dialog->windowTitle(), "VexTable设置");
    EXPECT_EQ(editor->Menus()->actions().front()->text(), "文件(&F)");
    EXPECT_EQ(editor->DrawButton()->text(), QString::fromStdString(install_.Language().DialogText(202, 1)));
    EXPECT_EQ(t->Button(FloatingToolbar::kOpenTable)->text(), "制表");
    EXPECT_EQ(t->Button(FloatingToolbar::kHelp)->toolTip(), QString::fromStdString(install_.Language().Text("IDS_BTN_HELP")));
    dialog->reject();
  });
  CmdBaseSetup();
  EXPECT_TRUE(seen);
  EXPECT_EQ(install_.SettingsFile().GetString("Setting", "Language", ""), "Chinese");
  Plugin().editor.reset();
  QApplication::processEvents();
}

TEST_F(ToolbarTest, LooksRight) {
  FloatingToolbar* t = Shown();
  ASSERT_NE(t, nullptr);
  const QImage shot = t->grab().toImage();
  shot.save(QString::fromStdString(testing::TempDir() + "floating_toolbar.png"));
  EXPECT_LT(shot.height(), 40);
  // The light grey face.
  EXPECT_EQ(QColor(shot.pixel(shot.width() - 1, shot.height() / 2)), QColor(0xC0, 0xC0, 0xC0));
}

}  // namespace
}  // namespace vex
