// The editor as a window of the host's main window: a dialog the window system keeps above its
// owner, placed over it the first time and where the drafter left it afterwards (its title bar
// on the screen), and every modal question it asks bracketed for the host.

#include <QApplication>
#include <QDialog>
#include <QMainWindow>
#include <QPushButton>
#include <QTimer>
#include <QWindow>

#include "editor_window_fixture.h"
#include "model/editor_commands.h"
#include "settings/window_placement.h"

namespace vex::test {
namespace {

using namespace editor_cmd;

class EditorOwnerTest : public EditorWindowTest {
 protected:
  void SetUp() override {
    EditorWindowTest::SetUp();
    // Within the screen (800 x 600 offscreen), which windows are kept on.
    owner.setGeometry(30, 20, 760, 560);
    owner.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&owner));
    host->owner = &owner;
  }
  void TearDown() override {
    EditorWindowTest::TearDown();
    owner.hide();
  }
  void CloseAndDelete() {
    QTest::mouseClick(window->CancelButton(), Qt::LeftButton);
    window.reset();
  }
  QMainWindow owner;
};

TEST_F(EditorOwnerTest, OwnedItIsADialogOfTheHostsWindow_Issue14) {
  Open();
  EXPECT_EQ(window->windowType(), Qt::Dialog);
  EXPECT_EQ(window->parentWidget(), &owner);
  ASSERT_NE(window->windowHandle(), nullptr);
  // What the window manager is told (WM_TRANSIENT_FOR): it keeps the editor above its owner.
  EXPECT_EQ(window->windowHandle()->transientParent(), owner.windowHandle());
  // Still a window the drafter can minimise, maximise and close.
  const Qt::WindowFlags flags = window->windowFlags();
  EXPECT_TRUE(flags & Qt::WindowMinimizeButtonHint);
  EXPECT_TRUE(flags & Qt::WindowMaximizeButtonHint);
  EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
}

// While the drafter picks in the drawing the editor is out of the way and the host's window
// stays: window managers iconify an owned window together with its owner.
TEST_F(EditorOwnerTest, MinimisedItLeavesTheHostsWindowAlone_Issue14) {
  Open();
  const QRect where = window->geometry();
  window->Minimize();
  EXPECT_FALSE(window->isVisible());
  EXPECT_TRUE(owner.isVisible());
  EXPECT_FALSE(owner.isMinimized());
  window->ShowRestored();
  EXPECT_TRUE(window->isVisible());
  EXPECT_FALSE(window->isMinimized());
  EXPECT_EQ(window->geometry(), where);
}

TEST_F(EditorOwnerTest, WithoutAnOwnerItIsAWindowOfItsOwn) {
  host->owner = nullptr;
  Open();
  EXPECT_EQ(window->windowType(), Qt::Window);
  EXPECT_EQ(window->windowHandle()->transientParent(), nullptr);
  window->Minimize();  // the program's own window: minimised as any other
  EXPECT_TRUE(window->isMinimized());
}

TEST_F(EditorOwnerTest, TheFirstTimeItOpensOverItsOwner_Issue14) {
  ASSERT_FALSE(HasWindowPlacement(install.SettingsFile(), kEditorPlacementSection));
  Open();
  const QPoint centre = window->frameGeometry().center(), ownerCentre = owner.frameGeometry().center();
  EXPECT_LE((centre - ownerCentre).manhattanLength(), 4) << centre.x() << "," << centre.y();
}

TEST_F(EditorOwnerTest, ItReopensWhereItWasLeft) {
  Open();
  window->move(20, 30);
  window->resize(740, 480);
  CloseAndDelete();
  ASSERT_TRUE(HasWindowPlacement(install.SettingsFile(), kEditorPlacementSection));
  Open();
  EXPECT_EQ(window->frameGeometry().topLeft(), QPoint(20, 30));
  EXPECT_EQ(window->size(), QSize(740, 480));
}

// A corner stored above or left of the screen comes back at its edge: the frame, title bar
// included, is on the screen where the drafter can take hold of it.
TEST_F(EditorOwnerTest, AFrameLeftOffTheScreenComesBackOntoIt_Issue14) {
  WindowPlacement p;
  p.left = -300;
  p.top = -50;
  p.right = p.left + 720;
  p.bottom = p.top + 460;
  ASSERT_TRUE(WriteWindowPlacement(install.SettingsFile(), kEditorPlacementSection, p));
  Open();
  EXPECT_EQ(window->frameGeometry().topLeft(), QPoint(0, 0));
}

TEST_F(EditorOwnerTest, EveryModalQuestionIsBracketedForTheHost_Issue14) {
  Open();
  std::vector<int> modalWhenAsked;
  dialogs->whenAsked = [&] { modalWhenAsked.push_back(host->modal); };
  dialogs->openPaths.push_back(install.File("missing.vtf"));  // then says it is missing
  window->RunCommand(kOpen);
  dialogs->savePaths.push_back(std::nullopt);
  window->RunCommand(kSave);
  Click(1, 1);
  dialogs->lineSizes.push_back(std::nullopt);
  window->RunCommand(kRowHeight);
  EXPECT_EQ(modalWhenAsked, (std::vector<int>{1, 1, 1, 1})) << "open, the message, save, row height";
  EXPECT_EQ(host->modal, 0);
}

TEST_F(EditorOwnerTest, TheHeaderLibrarysWindowsAreBracketedToo) {
  Open();
  std::vector<int> modalWhenAsked;
  dialogs->whenAsked = [&] { modalWhenAsked.push_back(host->modal); };
  // Each window is cancelled as soon as it shows.
  QTimer drafter;
  QObject::connect(&drafter, &QTimer::timeout, [] {
    if (auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget())) d->reject();
  });
  drafter.start(10);
  Click(1, 1);
  for (int id : {kInsertHeader, kSaveHeader, kHeaderManager}) window->RunCommand(id);
  drafter.stop();
  EXPECT_EQ(modalWhenAsked, (std::vector<int>{1, 1, 1})) << "insert header, save header, header manager";
  EXPECT_EQ(host->modal, 0);
}

TEST_F(EditorOwnerTest, TheStandaloneDrawingQuestionIsBracketedToo) {
  host->owner = nullptr;
  host->inside = false;
  Open();
  int modalWhenAsked = -1;
  dialogs->whenAsked = [&] { modalWhenAsked = host->modal; };
  dialogs->drawingPaths.push_back(std::nullopt);
  QTest::mouseClick(window->DrawButton(), Qt::LeftButton);
  EXPECT_EQ(modalWhenAsked, 1);
  EXPECT_EQ(host->modal, 0);
}

}  // namespace
}  // namespace vex::test
