// The settings dialog, its linetype dialog and the replacement list, driven with real keys and
// clicks offscreen: the plot scale's spin steps, the Excel fields of the radio pair, the big
// font rule, the number check of the style cells, the layer cells' choosers, the language box
// and what OK and Cancel write.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>
#include <QTreeWidget>

#include "editor/grid/grid_ctrl.h"
#include "settings/linetype_dialog.h"
#include "settings/replacement_dialog.h"
#include "settings/settings_dialog.h"
#include "support/install_dir.h"
#include "support/temp_dir.h"

namespace vex::test {
namespace {

FontCatalogue Fonts() { return {{"txt.shx", "simplex.shx"}, {"gbcbig.shx", "hztxt.shx"}}; }

LinetypeCatalogue Linetypes() {
  LinetypeCatalogue l;
  l.entries.push_back({"CONTINUOUS", kContinuousDescription});
  for (int i = 0; i < 60; ++i) {
    if (i == 30) l.entries.push_back({"DASHED", "__ __ __"});  // row 31
    l.entries.push_back({"LT" + std::to_string(i), "line type " + std::to_string(i)});
  }
  return l;
}

class SettingsDialogTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(install.Language().StartLanguage("")); }
  void TearDown() override { dialog.reset(); }

  void Open() {
    SettingsDialogServices s;
    s.chooseColour = [this](QWidget*, int current) -> std::optional<int> {
      asked.push_back(current);
      return colourAnswer;
    };
    s.chooseLinetype = [this](QWidget*, const std::string& current) -> std::optional<std::string> {
      askedLinetype = current;
      return linetypeAnswer;
    };
    s.languageChanged = [this] { ++languageChanges; };
    s.tell = [this](QWidget*, const QString& text) { told.push_back(text.toStdString()); };
    s.openUrl = [this](const std::string& url) { opened.push_back(url); };
    dialog = std::make_unique<SettingsDialog>(install.SettingsFile(), install.Language(), Fonts(), Linetypes(), s);
    dialog->show();
    QApplication::setActiveWindow(dialog.get());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
  }

  double Spin(QDoubleSpinBox* box, double from, Qt::Key key) {
    box->setValue(from);
    box->setFocus();
    QTest::keyClick(box, key);
    return box->value();
  }

  // Clicks a cell of a list as the drafter does.
  void ClickCell(QTableWidget* list, int row, int col) {
    const QRect r = list->visualRect(list->model()->index(row, col));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, r.center());
  }

  // Opens the in-place editor of a text style cell; its editor widget.
  template <class W>
  W* EditStyleCell(int col) {
    QTableWidget* list = dialog->StyleList();
    list->setFocus();
    list->setCurrentCell(0, col);
    QApplication::processEvents();
    list->edit(list->model()->index(0, col));
    for (W* w : list->viewport()->findChildren<W*>())
      if (w->isVisible()) return w;
    return nullptr;
  }

  std::string Ini() const { return ReadFile(install.where().settingsFile); }

  InstallDir install;
  std::unique_ptr<SettingsDialog> dialog;
  std::vector<int> asked;
  std::optional<int> colourAnswer = 3;
  std::string askedLinetype;
  std::optional<std::string> linetypeAnswer = "DASHED";
  int languageChanges = 0;
  std::vector<std::string> told;
  std::vector<std::string> opened;
};

TEST_F(SettingsDialogTest, PlotScaleSpinSteps) {
  Open();
  QDoubleSpinBox* box = dialog->PlotScaleBox();
  EXPECT_EQ(Spin(box, 4, Qt::Key_Up), 5);
  QTest::keyClick(box, Qt::Key_Up);
  EXPECT_EQ(box->value(), 10);
  EXPECT_EQ(Spin(box, 100, Qt::Key_Up), 150);
  EXPECT_EQ(Spin(box, 10, Qt::Key_Down), 5);
  QTest::keyClick(box, Qt::Key_Down);
  EXPECT_EQ(box->value(), 4);
  EXPECT_EQ(Spin(box, 1, Qt::Key_Down), 1);
  EXPECT_EQ(Spin(box, 0.5, Qt::Key_Up), 0.5);
}

TEST_F(SettingsDialogTest, PlotScaleOfZeroBecomesOneWhenLeft) {
  Open();
  QDoubleSpinBox* box = dialog->PlotScaleBox();
  box->setFocus();
  box->selectAll();
  QTest::keyClicks(box, QStringLiteral("0"));
  QTest::keyClick(box, Qt::Key_Tab);
  EXPECT_EQ(box->value(), 1);
  EXPECT_EQ(box->text(), "1");
}

TEST_F(SettingsDialogTest, TheRadioPairOpensTheExcelFieldsOfItsWay) {
  Open();
  // The stored way (by scale) shows first.
  EXPECT_TRUE(dialog->ByScale()->isChecked());
  EXPECT_TRUE(dialog->ExcelScale()->isEnabled());
  EXPECT_FALSE(dialog->ExcelRowHeight()->isEnabled());
  QTest::mouseClick(dialog->ByValue(), Qt::LeftButton);
  EXPECT_FALSE(dialog->ExcelScale()->isEnabled());
  EXPECT_TRUE(dialog->ExcelRowHeight()->isEnabled());
  EXPECT_TRUE(dialog->ExcelFontHeight()->isEnabled());
  QTest::mouseClick(dialog->ByScale(), Qt::LeftButton);
  EXPECT_TRUE(dialog->ExcelScale()->isEnabled());
  EXPECT_FALSE(dialog->ExcelRowHeight()->isEnabled());
  EXPECT_FALSE(dialog->ExcelFontHeight()->isEnabled());
}

TEST_F(SettingsDialogTest, FontListHasTheShapeFontsFirstThenTheSystemsFamilies) {
  Open();
  const QStringList fonts = dialog->FontEntries();
  ASSERT_GE(fonts.size(), 3);
  EXPECT_EQ(fonts[0], "txt.shx");
  EXPECT_EQ(fonts[1], "simplex.shx");
}

TEST_F(SettingsDialogTest, BigFontRuleFollowsTheChosenFont) {
  Open();
  QTableWidget* list = dialog->StyleList();
  EXPECT_EQ(list->item(0, SettingsDialog::kStyleBigFont)->text(), "gbcbig.shx");
  // A family of the system: no big font.
  auto* box = EditStyleCell<QComboBox>(SettingsDialog::kStyleFont);
  ASSERT_NE(box, nullptr);
  ASSERT_GT(box->count(), 2) << "no font family on this system";
  QTest::keyClick(box, Qt::Key_End);
  QApplication::processEvents();
  EXPECT_EQ(list->item(0, SettingsDialog::kStyleFont)->text(), box->itemText(box->count() - 1));
  EXPECT_EQ(list->item(0, SettingsDialog::kStyleBigFont)->text(), "None");
  // The big font cell does not open while it reads "None".
  EXPECT_EQ(EditStyleCell<QComboBox>(SettingsDialog::kStyleBigFont), nullptr);
  // A shape font: a big font may be chosen again.
  box = EditStyleCell<QComboBox>(SettingsDialog::kStyleFont);
  ASSERT_NE(box, nullptr);
  QTest::keyClick(box, Qt::Key_Home);
  QApplication::processEvents();
  EXPECT_EQ(list->item(0, SettingsDialog::kStyleFont)->text(), "txt.shx");
  EXPECT_EQ(list->item(0, SettingsDialog::kStyleBigFont)->text(), "Please Select");
  auto* big = EditStyleCell<QComboBox>(SettingsDialog::kStyleBigFont);
  ASSERT_NE(big, nullptr);
  QTest::keyClick(big, Qt::Key_End);
  QApplication::processEvents();
  EXPECT_EQ(list->item(0, SettingsDialog::kStyleBigFont)->text(), "hztxt.shx");
}

TEST_F(SettingsDialogTest, WidthFactorTypedAsThreeQuartersIsShownAndSavedWithOneDecimal) {
  Open();
  auto* edit = EditStyleCell<QLineEdit>(SettingsDialog::kStyleWidth);
  ASSERT_NE(edit, nullptr);
  edit->selectAll();
  QTest::keyClicks(edit, QStringLiteral("0.75"));
  QTest::keyClick(edit, Qt::Key_Return);
  QApplication::processEvents();
  EXPECT_EQ(dialog->StyleList()->item(0, SettingsDialog::kStyleWidth)->text(), "0.8");
  QTest::mouseClick(dialog->OkButton(), Qt::LeftButton);
  EXPECT_EQ(dialog->result(), QDialog::Accepted);
  EXPECT_DOUBLE_EQ(install.ReadSettings().Table.WidthFactor, 0.8);
  EXPECT_NE(Ini().find("WidthFactor=0.80"), std::string::npos);
}

TEST_F(SettingsDialogTest, ANonNumberIsRefusedAndTheEditorKeepsItsText) {
  Open();
  QPointer<QLineEdit> edit = EditStyleCell<QLineEdit>(SettingsDialog::kStyleHeight);
  ASSERT_NE(edit, nullptr);
  edit->selectAll();
  QTest::keyClicks(edit, QStringLiteral("-.5"));
  QTest::keyClick(edit, Qt::Key_Return);
  QApplication::processEvents();
  EXPECT_EQ(told, (std::vector<std::string>{"Please input number!"}));
  ASSERT_TRUE(edit);
  EXPECT_TRUE(edit->isVisible());
  EXPECT_EQ(edit->text(), "-.5");
  EXPECT_EQ(dialog->StyleList()->item(0, SettingsDialog::kStyleHeight)->text(), "3.5");
  // OK with the wrong number still open says so again and stays.
  QTest::mouseClick(dialog->OkButton(), Qt::LeftButton);
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_EQ(told.size(), 2u);
  ASSERT_TRUE(edit);
  edit->selectAll();
  QTest::keyClicks(edit, QStringLiteral(" 5 "));
  QTest::keyClick(edit, Qt::Key_Return);
  QApplication::processEvents();
  EXPECT_EQ(dialog->StyleList()->item(0, SettingsDialog::kStyleHeight)->text(), "5.0");
}

TEST_F(SettingsDialogTest, LayerCellsOpenTheColourAndLinetypeChoosers) {
  Open();
  QTableWidget* list = dialog->LayerList();
  EXPECT_EQ(list->item(0, 0)->text(), "Sideline");
  EXPECT_EQ(list->item(1, 0)->text(), "Inline");
  EXPECT_EQ(list->rowHeight(0), 18);
  ClickCell(list, 1, SettingsDialog::kLayerColour);
  EXPECT_EQ(asked, (std::vector<int>{7}));
  EXPECT_EQ(list->item(1, SettingsDialog::kLayerColour)->text(), "3");
  colourAnswer.reset();  // cancelled: unchanged
  ClickCell(list, 1, SettingsDialog::kLayerColour);
  EXPECT_EQ(list->item(1, SettingsDialog::kLayerColour)->text(), "3");
  ClickCell(list, 2, SettingsDialog::kLayerLinetype);
  EXPECT_EQ(askedLinetype, "CONTINUOUS");
  EXPECT_EQ(list->item(2, SettingsDialog::kLayerLinetype)->text(), "DASHED");
  QTest::mouseClick(dialog->OkButton(), Qt::LeftButton);
  const Settings s = install.ReadSettings();
  EXPECT_EQ(s.Inline.Color, 3);
  EXPECT_EQ(s.Inline.LayerTag, "Inline");
  EXPECT_EQ(s.Text.LineType, "DASHED");
  EXPECT_EQ(s.Sideline.Color, 7);
}

TEST_F(SettingsDialogTest, ChineseChosenThenCancelStillStoresTheLanguageAndNothingElse) {
  Open();
  QComboBox* box = dialog->LanguageBox();
  ASSERT_GE(box->findText("Chinese"), 0);
  box->setFocus();
  box->setCurrentIndex(box->findText("English"));
  // The keyboard picks the other entry, as the drop-down does.
  QTest::keyClick(box, box->findText("Chinese") > box->currentIndex() ? Qt::Key_Down : Qt::Key_Up);
  EXPECT_EQ(box->currentText(), "Chinese");
  EXPECT_EQ(install.Language().ActiveLanguage(), "Chinese");
  EXPECT_EQ(languageChanges, 1);
  // Re-labelled at once: caption, controls, list titles and roles.
  EXPECT_EQ(dialog->windowTitle(), "VexTable设置");
  EXPECT_EQ(dialog->ByScale()->text(), "按比例(&S)");
  EXPECT_EQ(dialog->LayerList()->item(0, 0)->text(), "外框线");
  EXPECT_EQ(dialog->StyleList()->horizontalHeaderItem(SettingsDialog::kStyleBigFont)->text(),
            QString::fromStdString(install.Language().Text("IDS_FONT_BIG_NAME")));
  QTest::mouseClick(dialog->CancelButton(), Qt::LeftButton);
  EXPECT_EQ(dialog->result(), QDialog::Rejected);
  EXPECT_EQ(install.SettingsFile().GetString("Setting", "Language", ""), "Chinese");
  EXPECT_EQ(Ini().find("PlotScale"), std::string::npos);
}

TEST_F(SettingsDialogTest, LanguageChangeKeepsTheValuesNotYetSaved) {
  Open();
  dialog->PlotScaleBox()->setValue(25);
  ClickCell(dialog->LayerList(), 0, SettingsDialog::kLayerColour);
  dialog->ChooseLanguage("Chinese");
  EXPECT_EQ(dialog->PlotScaleBox()->value(), 25);
  EXPECT_EQ(dialog->LayerList()->item(0, SettingsDialog::kLayerColour)->text(), "3");
  dialog->ChooseLanguage("English");
  EXPECT_EQ(dialog->LayerList()->item(0, 0)->text(), "Sideline");
  EXPECT_EQ(dialog->windowTitle(), "VexTable Setting");
}

TEST_F(SettingsDialogTest, OkWritesTheWholeRecordAndTheLanguage) {
  Open();
  dialog->PlotScaleBox()->setValue(50);
  QTest::mouseClick(dialog->UseReplacement(), Qt::LeftButton);
  QTest::mouseClick(dialog->ByValue(), Qt::LeftButton);
  dialog->ExcelRowHeight()->setValue(12);
  QTest::mouseClick(dialog->OkButton(), Qt::LeftButton);
  const Settings s = install.ReadSettings();
  EXPECT_EQ(s.PlotScale, 50);
  EXPECT_EQ(s.TurnTextEnable, 0);
  EXPECT_EQ(s.Excel.ExcelTurnType, 1);
  EXPECT_EQ(s.Excel.ExcelRowHeight, 12);
  EXPECT_EQ(s.Table.BigFontName, "gbcbig.shx");
  EXPECT_EQ(install.SettingsFile().GetString("Setting", "Language", ""), "English");
}

TEST_F(SettingsDialogTest, ThePictureOpensTheMakersPage) {
  Open();
  QTest::mouseClick(dialog->WebPicture(), Qt::LeftButton);
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_EQ(opened[0], WebLinks().home);
}

TEST_F(SettingsDialogTest, LooksRight) {
  Open();
  const QImage shot = dialog->grab().toImage();
  EXPECT_GT(shot.width(), 500);
  shot.save(QString::fromStdString(testing::TempDir() + "settings_dialog.png"));
  // The colour swatch of the border layer (colour 7 is white on the list's white: framed).
  QTableWidget* list = dialog->LayerList();
  const QRect cell = list->visualRect(list->model()->index(0, SettingsDialog::kLayerColour));
  const QImage listShot = list->viewport()->grab(cell).toImage();
  bool framed = false;
  for (int x = 0; x < listShot.width(); ++x)
    for (int y = 0; y < listShot.height(); ++y)
      if (qGray(listShot.pixel(x, y)) < 40) framed = true;
  EXPECT_TRUE(framed);
}

TEST_F(SettingsDialogTest, LooksRightInChinese) {
  Open();
  const int width = dialog->width();
  dialog->ChooseLanguage("Chinese");
  QApplication::processEvents();
  const QImage shot = dialog->grab().toImage();
  shot.save(QString::fromStdString(testing::TempDir() + "settings_dialog_zh.png"));
  // The Chinese labels fit the same dialog.
  EXPECT_LE(dialog->width(), width + 40);
}

// ---------------------------------------------------------------- linetype dialog

TEST_F(SettingsDialogTest, LinetypeDialogSelectsTheCurrentAndReturnsTheChosen) {
  const LanguagePack language = install.Language();
  LinetypeDialog d(Linetypes().entries, "dashed", language);
  d.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
  EXPECT_EQ(d.windowTitle(), "Select LineType");
  EXPECT_EQ(d.Chosen(), "DASHED");
  EXPECT_EQ(d.List()->headerItem()->text(0), "Linetype");
  // Five rows stand above it.
  const int top = d.List()->indexOfTopLevelItem(d.List()->itemAt(QPoint(5, 5)));
  EXPECT_EQ(top, 31 - 5);
  QTest::keyClick(d.List(), Qt::Key_Up);
  EXPECT_EQ(d.Chosen(), "LT29");
  QTest::mouseClick(d.OkButton(), Qt::LeftButton);
  EXPECT_EQ(d.result(), QDialog::Accepted);
}

// ---------------------------------------------------------------- replacement list

class ReplacementDialogTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(install.Language().StartLanguage("")); }
  void Open() {
    dialog = std::make_unique<ReplacementDialog>(install.SettingsFile(), install.Language());
    dialog->SetQuestion([this](QWidget*, const QString& caption, const QString& text) {
      questions.push_back((caption + "|" + text).toStdString());
      return answer;
    });
    dialog->show();
    QApplication::setActiveWindow(dialog.get());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
  }
  GridCtrl& Grid() { return dialog->Grid(); }
  void ClickCell(int row, int col, Qt::KeyboardModifiers mods = {}) {
    QTest::mouseClick(Grid().viewport(), Qt::LeftButton, mods, Grid().CellRectOf(row, col).center());
  }
  std::string Cell(int row, int col) { return Grid().Model().Text(row, col); }

  InstallDir install;
  std::unique_ptr<ReplacementDialog> dialog;
  std::vector<std::string> questions;
  bool answer = true;
};

TEST_F(ReplacementDialogTest, OpensWithTheBuiltInItemsAndANewItemRow) {
  Open();
  EXPECT_EQ(dialog->windowTitle(), "Set Text To Be Replaced");
  EXPECT_EQ(Grid().Model().RowCount(), 5);
  EXPECT_EQ(Cell(0, 1), "Replace with");
  EXPECT_EQ(Cell(1, 0), "(d)");
  EXPECT_EQ(Cell(1, 2), "Degrees");
  EXPECT_EQ(Cell(4, 0), "(New Item)");
  EXPECT_EQ(Grid().ColumnWidth(1), 80);
  EXPECT_EQ(Grid().ColumnWidth(2), 160);
}

TEST_F(ReplacementDialogTest, TypingIntoTheNewItemRowMakesAnItemAndANewRowFollows) {
  Open();
  ClickCell(4, 0);
  Grid().setFocus();
  QTest::keyClick(&Grid(), '(');
  QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("x)"));
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("%%x"));
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  QApplication::processEvents();
  EXPECT_EQ(Cell(4, 0), "(x)");
  EXPECT_EQ(Cell(4, 1), "%%x");
  EXPECT_EQ(Grid().Model().RowCount(), 6);
  EXPECT_EQ(Cell(5, 0), "(New Item)");
  QTest::mouseClick(dialog->OkButton(), Qt::LeftButton);
  const ProfileFile ini = install.SettingsFile();
  EXPECT_EQ(ini.GetInt("TURN_TEXT", "Count", -1), 4);
  EXPECT_EQ(ini.GetString("TURN_TEXT", "Item3", ""), "(x),%%x,");
}

TEST_F(ReplacementDialogTest, DeleteRemovesTheSelectedRowsAndKeepsTheNewItemRow) {
  Open();
  ClickCell(1, 1);
  ClickCell(2, 1, Qt::ShiftModifier);
  QTest::mouseClick(dialog->DeleteButton(), Qt::LeftButton);
  EXPECT_EQ(Grid().Model().RowCount(), 3);
  EXPECT_EQ(Cell(1, 0), "(c)");
  EXPECT_EQ(Cell(2, 0), "(New Item)");
  // Deleting the "(New Item)" row alone deletes nothing.
  ClickCell(2, 0);
  QTest::mouseClick(dialog->DeleteButton(), Qt::LeftButton);
  EXPECT_EQ(Grid().Model().RowCount(), 3);
}

TEST_F(ReplacementDialogTest, DefaultThenOkWritesCountThree) {
  test::WriteFile(install.where().settingsFile, "[TURN_TEXT]\nCount=1\nItem0=a,b,c\n");
  Open();
  EXPECT_EQ(Cell(1, 0), "a");
  answer = false;
  QTest::mouseClick(dialog->DefaultButton(), Qt::LeftButton);
  EXPECT_EQ(Cell(1, 0), "a");
  answer = true;
  QTest::mouseClick(dialog->DefaultButton(), Qt::LeftButton);
  EXPECT_EQ(questions.size(), 2u);
  EXPECT_EQ(questions[0], "Get back default|Do you get back default？");
  QTest::mouseClick(dialog->OkButton(), Qt::LeftButton);
  const ProfileFile ini = install.SettingsFile();
  EXPECT_EQ(ini.GetInt("TURN_TEXT", "Count", -1), 3);
  EXPECT_EQ(ini.GetString("TURN_TEXT", "Item0", ""), "(d),%%d,Degrees");
  EXPECT_EQ(ini.GetString("TURN_TEXT", "Item1", ""), "(p),%%p,Plus/Minus");
  EXPECT_EQ(ini.GetString("TURN_TEXT", "Item2", ""), "(c),%%c,Diameter");
}

TEST_F(ReplacementDialogTest, CancelWritesNothing) {
  Open();
  QTest::mouseClick(dialog->DefaultButton(), Qt::LeftButton);
  dialog->reject();
  EXPECT_EQ(install.SettingsFile().GetInt("TURN_TEXT", "Count", -1), -1);
}

TEST_F(ReplacementDialogTest, LooksRight) {
  Open();
  const QImage shot = dialog->grab().toImage();
  shot.save(QString::fromStdString(testing::TempDir() + "replacement_dialog.png"));
  EXPECT_GT(shot.width(), 300);
}

}  // namespace
}  // namespace vex::test
