// The row-height / column-width dialog with real keys and clicks: its texts by mode, the spin
// that never goes below 1, typed values taken as they are, and the editor asking through it.

#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>

#include "editor/row_col_dialog.h"
#include "editor_window_fixture.h"
#include "model/editor_commands.h"
#include "support/tables.h"

namespace vex::test {
namespace {

class RowColDialogTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(install.Language().StartLanguage("")); }
  InstallDir install;
};

TEST_F(RowColDialogTest, TextsByMode) {
  RowColDialog rows(nullptr, install.Language(), RowColDialog::kRowHeight, 10);
  EXPECT_EQ(rows.windowTitle(), "Row Height Setting");
  EXPECT_EQ(rows.Prompt()->text(), "Row Height");
  EXPECT_EQ(rows.OkButton()->text(), "OK");
  RowColDialog cols(nullptr, install.Language(), RowColDialog::kColumnWidth, 10);
  EXPECT_EQ(cols.windowTitle(), "Column Width Setting");
  EXPECT_EQ(cols.Prompt()->text(), "Column Width");
}

// A small question: the window manager is offered a title and a close button, nothing to
// minimise or maximise, and the dialog keeps its size.
TEST_F(RowColDialogTest, ATitleAndACloseButtonAtAFixedSize_Issue14) {
  RowColDialog d(nullptr, install.Language(), RowColDialog::kRowHeight, 10);
  d.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
  const Qt::WindowFlags flags = d.windowFlags();
  EXPECT_TRUE(flags & Qt::WindowTitleHint);
  EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
  EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
  EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
  EXPECT_EQ(d.minimumSize(), d.maximumSize());
}

TEST_F(RowColDialogTest, SpinStepsByOneAndNeverBelowOne) {
  RowColDialog d(nullptr, install.Language(), RowColDialog::kRowHeight, 1);
  d.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
  QSpinBox* edit = d.Edit();
  QTest::keyClick(edit, Qt::Key_Down);  // the down arrow on 1 keeps 1
  EXPECT_EQ(d.Value(), 1);
  QTest::keyClick(edit, Qt::Key_Up);
  QTest::keyClick(edit, Qt::Key_Up);
  EXPECT_EQ(d.Value(), 3);
  // A value typed directly is not held: 0 and negatives pass.
  edit->selectAll();
  QTest::keyClicks(edit, QStringLiteral("-4"));
  EXPECT_EQ(d.Value(), -4);
  QTest::keyClick(edit, Qt::Key_Up);
  EXPECT_EQ(d.Value(), 1);
  // Letters are refused as they are typed.
  edit->selectAll();
  QTest::keyClicks(edit, QStringLiteral("7x"));
  EXPECT_EQ(d.Value(), 7);
}

// The editor's column-width command through the real dialog: typed 12, OK.
TEST_F(EditorWindowTest, ColumnWidthThroughTheDialog) {
  const TableData t = NamedTable(3, 4, 10, 20);
  Open(&t);
  dialogs->useRealLineSizeDialog = true;
  SelectCells(1, 2, 1, 3);
  QTimer::singleShot(0, [] {
    auto* d = qobject_cast<RowColDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->Value(), 20);
    d->Edit()->selectAll();
    QTest::keyClicks(d->Edit(), QStringLiteral("12"));
    QTest::mouseClick(d->OkButton(), Qt::LeftButton);
  });
  window->RunCommand(editor_cmd::kColWidth);
  EXPECT_EQ(Grid().ColumnWidth(2), 60);
  EXPECT_EQ(Grid().ColumnWidth(3), 60);
  EXPECT_EQ(Grid().ColumnWidth(4), 100);
  // Escape cancels.
  QTimer::singleShot(0, [] {
    QWidget* d = QApplication::activeModalWidget();
    ASSERT_NE(d, nullptr);
    QTest::keyClick(d, Qt::Key_Escape);
  });
  window->RunCommand(editor_cmd::kColWidth);
  EXPECT_EQ(Grid().ColumnWidth(2), 60);
}

}  // namespace
}  // namespace vex::test
