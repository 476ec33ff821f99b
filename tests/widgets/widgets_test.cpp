#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>

#include "widgets/check_list_box.h"
#include "widgets/check_message_box.h"
#include "widgets/flat_button.h"
#include "widgets/html_message_box.h"

namespace vex {
namespace {

TEST(HtmlMessageBox, ShowsTheHtmlAsTextWithLinksThatDoNotNavigateTheBox) {
  HtmlMessageBox box("About VexTable", "<center><h2>VexTable 2.1.06</h2></center><hr><a href='https://example.org/'>home</a>");
  EXPECT_EQ(box.windowTitle(), "About VexTable");
  EXPECT_TRUE(box.PlainText().contains("VexTable 2.1.06"));
  EXPECT_FALSE(box.Browser()->openLinks());
  box.show();
  QDialogButtonBox* buttons = box.findChild<QDialogButtonBox*>();
  ASSERT_NE(buttons, nullptr);
  QTest::mouseClick(buttons->button(QDialogButtonBox::Ok), Qt::LeftButton);
  EXPECT_EQ(box.result(), QDialog::Accepted);
}

// Answers the message box the function opens: ticks the check box when asked, then OK.
void AnswerNextBox(bool tick) {
  QTimer::singleShot(0, [tick] {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      auto* box = qobject_cast<QMessageBox*>(w);
      if (box == nullptr || !box->isVisible()) continue;
      if (tick) box->checkBox()->setChecked(true);
      QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
    }
  });
}

TEST(CheckMessageBox, TickedOnceItIsNotShownAgain) {
  bool suppressed = false;
  const RememberedChoice choice{[&] { return suppressed; }, [&] { suppressed = true; }};
  AnswerNextBox(false);
  EXPECT_TRUE(ShowUnlessSuppressed(nullptr, "VexTable", "Pictures are kept with the table.", "Do not show again", choice));
  EXPECT_FALSE(suppressed);
  AnswerNextBox(true);
  EXPECT_TRUE(ShowUnlessSuppressed(nullptr, "VexTable", "Pictures are kept with the table.", "Do not show again", choice));
  EXPECT_TRUE(suppressed);
  EXPECT_FALSE(ShowUnlessSuppressed(nullptr, "VexTable", "Pictures are kept with the table.", "Do not show again", choice));
}

TEST(CheckListBox, RowsTickByMouseAndByCode) {
  CheckListBox list;
  list.resize(200, 120);
  EXPECT_EQ(list.AddItem("Profile A", true), 0);
  EXPECT_EQ(list.AddItem("Profile B"), 1);
  QSignalSpy changed(&list, &CheckListBox::CheckChanged);
  list.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
  list.setCurrentRow(1);
  QTest::keyClick(list.viewport(), Qt::Key_Space);  // the keyboard ticks the current row
  EXPECT_TRUE(list.IsChecked(1));
  list.SetChecked(0, false);
  EXPECT_EQ(list.CheckedRows(), QList<int>{1});
  ASSERT_EQ(changed.count(), 2);
  EXPECT_EQ(changed.at(1).at(0).toInt(), 0);
  EXPECT_FALSE(changed.at(1).at(1).toBool());
}

TEST(FlatButton, IsFlatTakesNoFocusAndClicks) {
  FlatButton button(QIcon(), "Settings");
  EXPECT_TRUE(button.autoRaise());
  EXPECT_EQ(button.focusPolicy(), Qt::NoFocus);
  EXPECT_EQ(button.toolTip(), "Settings");
  QSignalSpy clicked(&button, &QToolButton::clicked);
  button.show();
  QTest::mouseClick(&button, Qt::LeftButton);
  EXPECT_EQ(clicked.count(), 1);
}

}  // namespace
}  // namespace vex
