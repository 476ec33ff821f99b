// The sheet chooser window, driven offscreen.

#include <gtest/gtest.h>

#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "excel/sheet_chooser_dialog.h"

namespace vex::excel {
namespace {

const SheetChooserTexts kTexts{"Select EXCEL Sheet", "OK", "Cancel"};

TEST(SheetChooserDialog, ListsTheSheetsWithTheFirstSelected) {
  SheetChooserDialog d({"Data", "Summary", "表2"}, kTexts);
  EXPECT_EQ(d.windowTitle(), "Select EXCEL Sheet");
  ASSERT_EQ(d.List()->count(), 3);
  EXPECT_EQ(d.List()->item(2)->text(), QString::fromUtf8("表2"));
  EXPECT_EQ(d.List()->currentRow(), 0);
  EXPECT_EQ(d.OkButton()->text(), "OK");
  EXPECT_EQ(d.CancelButton()->text(), "Cancel");
  EXPECT_EQ(d.List()->selectionMode(), QAbstractItemView::SingleSelection);
  // The resource's proportions: the list above the buttons, the buttons side by side.
  EXPECT_LT(d.List()->geometry().bottom(), d.OkButton()->geometry().top());
  EXPECT_LT(d.OkButton()->geometry().right(), d.CancelButton()->geometry().left());
}

TEST(SheetChooserDialog, OkStoresTheSelectedSheet) {
  SheetChooserDialog d({"Data", "Summary"}, kTexts);
  d.show();
  d.List()->setCurrentRow(1);
  QTest::mouseClick(d.OkButton(), Qt::LeftButton);
  EXPECT_EQ(d.result(), QDialog::Accepted);
  EXPECT_EQ(d.ChosenIndex(), 1);
}

TEST(SheetChooserDialog, OkWithNothingSelectedStoresZero) {
  SheetChooserDialog d({"Data", "Summary"}, kTexts);
  d.show();
  d.List()->setCurrentRow(-1);
  QTest::mouseClick(d.OkButton(), Qt::LeftButton);
  EXPECT_EQ(d.result(), QDialog::Accepted);
  EXPECT_EQ(d.ChosenIndex(), 0);
}

TEST(SheetChooserDialog, CancelRejects) {
  SheetChooserDialog d({"Data"}, kTexts);
  d.show();
  QTest::mouseClick(d.CancelButton(), Qt::LeftButton);
  EXPECT_EQ(d.result(), QDialog::Rejected);
}

TEST(SheetChooserDialog, DoubleClickChooses) {
  SheetChooserDialog d({"Data", "Summary"}, kTexts);
  d.show();
  const QRect r = d.List()->visualItemRect(d.List()->item(1));
  // A double click is a click and then the second press.
  QTest::mouseClick(d.List()->viewport(), Qt::LeftButton, {}, r.center());
  QTest::mouseDClick(d.List()->viewport(), Qt::LeftButton, {}, r.center());
  EXPECT_EQ(d.result(), QDialog::Accepted);
  EXPECT_EQ(d.ChosenIndex(), 1);
}

}  // namespace
}  // namespace vex::excel
