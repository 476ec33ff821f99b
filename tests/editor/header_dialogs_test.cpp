// The header library's three windows driven with real keys and clicks, offscreen: the table
// initialization dialog, the save-header dialog and the header manager, and the editor's
// header commands through them.

#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

#include <filesystem>

#include "editor/grid/grid_ctrl.h"
#include "editor_window_fixture.h"
#include "files/header_library.h"
#include "files/header_manager_dialog.h"
#include "files/save_header_dialog.h"
#include "files/table_init_dialog.h"
#include "model/editor_commands.h"
#include "model/editor_units.h"
#include "model/grid_journal.h"
#include "pictures/image_store.h"
#include "support/run_cli.h"
#include "support/tables.h"

namespace vex::test {
namespace {

namespace fs = std::filesystem;
using namespace editor_cmd;
constexpr double kStyle = 3.5;

// Runs `act` on the modal window of type D once it shows; a window of another type, or none
// after a while, fails the test and is closed so that nothing hangs.
template <class D, class F>
void WhenModal(F act) {
  QTimer::singleShot(0, [act] {
    QWidget* w = QApplication::activeModalWidget();
    auto* d = qobject_cast<D*>(w);
    if (d == nullptr) {
      ADD_FAILURE() << "the expected window did not show";
      if (w) w->close();
      return;
    }
    QApplication::setActiveWindow(d);
    act(*d);
  });
}

void Show(QWidget& w) {
  w.show();
  QApplication::setActiveWindow(&w);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
}

// Types into a spin box as the drafter does and leaves it with Tab.
void TypeInto(QSpinBox* spin, const QString& text) {
  spin->setFocus();
  QTest::keyClick(spin, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(spin, text);
  QTest::keyClick(spin, Qt::Key_Tab);
}

// Picks an entry of a drop-down list with the arrow keys.
void PickWithKeys(QComboBox* box, int index) {
  box->setFocus();
  QTest::keyClick(box, Qt::Key_Home);
  for (int i = 0; i < index; ++i) QTest::keyClick(box, Qt::Key_Down);
  ASSERT_EQ(box->currentIndex(), index);
}

QStringList Items(const QComboBox* box) {
  QStringList out;
  for (int i = 0; i < box->count(); ++i) out << box->itemText(i);
  return out;
}

// Saves a header of rows x cols named cells whose rows are 12, 14, 16 ... mm high.
void SaveHeader(HeaderLibrary& library, const std::string& name, const std::string& className, int type, int rows,
                int cols) {
  TableData t = NamedTable(rows, cols, 10, 20);
  for (int r = 0; r < rows; ++r) t.RowHeights[static_cast<std::size_t>(r)] = 12 + 2 * r;
  ImageStore none;
  ASSERT_TRUE(library.SaveHeader(t, name, className, type, none));
}

class HeaderDialogsTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(install.Language().StartLanguage("")); }
  InstallDir install;
  HeaderLibrary library{install.where().headerRoot};
  LanguagePack language = install.Language();
};

// ---------------------------------------------------------------- table initialization

TEST_F(HeaderDialogsTest, InitDialogStartsBlankWithTheLists) {
  SaveHeader(library, "Loose", "", kVerticalHeader, 2, 2);
  SaveHeader(library, "P1", "Pipes", kVerticalHeader, 2, 2);
  TableInitDialog d(nullptr, language, library, kStyle, QString::fromUtf8("插入表头"));
  EXPECT_EQ(d.windowTitle(), "Table Initialization");  // the language's title replaces the caption
  EXPECT_EQ(Items(d.ClassBox()), (QStringList{"Whole Header", "Pipes"}));
  // A header without a class is listed while all classes show.
  EXPECT_EQ(Items(d.HeaderBox()), (QStringList{"Blank Table", "Loose", "P1"}));
  EXPECT_EQ(d.Field(SizeField::kRows)->value(), 6);
  EXPECT_EQ(d.Field(SizeField::kCols)->value(), 6);
  EXPECT_EQ(d.Field(SizeField::kRowHeight)->value(), 8);
  EXPECT_EQ(d.Field(SizeField::kColWidth)->value(), 20);
  EXPECT_EQ(d.InfoLine()->text(), "");
  EXPECT_EQ(d.SetHeaderButton()->text(), "&Set Header...");
}

// The vertical header of 3 x 4: columns fixed, rows from 3 up; OK with 6 rows of 8 mm keeps
// the header's three heights and adds three rows of 8 mm.
TEST_F(HeaderDialogsTest, InitDialogVerticalHeaderOfThreeByFour) {
  SaveHeader(library, "V", "Pipes", kVerticalHeader, 3, 4);
  TableInitDialog d(nullptr, language, library, kStyle, QString());
  Show(d);
  PickWithKeys(d.HeaderBox(), 1);
  EXPECT_FALSE(d.Field(SizeField::kCols)->isEnabled());
  EXPECT_FALSE(d.Field(SizeField::kColWidth)->isEnabled());
  EXPECT_TRUE(d.Field(SizeField::kRows)->isEnabled());
  EXPECT_EQ(d.Field(SizeField::kCols)->value(), 4);
  EXPECT_EQ(d.InfoLine()->text(), " 3 rows, 4 columns, Vertical Table");
  QSpinBox* rows = d.Field(SizeField::kRows);
  for (int i = 0; i < 5; ++i) QTest::keyClick(rows, Qt::Key_Down);
  EXPECT_EQ(rows->value(), 3);  // never below the header
  TypeInto(rows, "2");
  EXPECT_EQ(rows->value(), 3);  // a typed value is raised when the field is left
  TypeInto(rows, "6");
  TypeInto(d.Field(SizeField::kRowHeight), "8");
  QTest::mouseClick(d.OkButton(), Qt::LeftButton);
  ASSERT_EQ(d.result(), QDialog::Accepted);
  const TableInitAnswer& a = d.Answer();
  EXPECT_TRUE(a.hasHeader);
  EXPECT_EQ(a.type, kVerticalHeader);
  EXPECT_EQ(a.table.nRows, 6);
  EXPECT_EQ(a.table.nCols, 4);
  EXPECT_EQ(a.table.RowHeights, (std::vector<double>{12, 14, 16, 8, 8, 8}));
  EXPECT_EQ(a.table.GetCell(2, 3).strText, "r2c3");
}

TEST_F(HeaderDialogsTest, InitDialogSpinsAndTypedValuesKeepTheirBounds) {
  TableInitDialog d(nullptr, language, library, kStyle, QString());
  Show(d);
  QSpinBox* height = d.Field(SizeField::kRowHeight);
  TypeInto(height, "1");
  QTest::keyClick(height, Qt::Key_Down);
  EXPECT_EQ(height->value(), 1);
  QTest::keyClick(height, Qt::Key_Up);
  EXPECT_EQ(height->value(), 2);
  TypeInto(d.Field(SizeField::kCols), "0");
  EXPECT_EQ(d.Field(SizeField::kCols)->value(), 1);
  // A value typed and not yet left still counts on OK.
  QSpinBox* cols = d.Field(SizeField::kColWidth);
  cols->setFocus();
  QTest::keyClick(cols, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(cols, "33");
  QTest::mouseClick(d.OkButton(), Qt::LeftButton);
  ASSERT_EQ(d.result(), QDialog::Accepted);
  EXPECT_FALSE(d.Answer().hasHeader);
  EXPECT_EQ(d.Answer().type, kBlankTableType);
  EXPECT_EQ(d.Answer().table.ColWidths, (std::vector<double>{33}));
  EXPECT_EQ(d.Answer().table.RowHeights, (std::vector<double>{2, 2, 2, 2, 2, 2}));
}

TEST_F(HeaderDialogsTest, InitDialogClassChoiceRebuildsTheHeaderList) {
  SaveHeader(library, "Loose", "", kVerticalHeader, 2, 2);
  SaveHeader(library, "C1", "Civil", kFullHeader, 2, 3);
  SaveHeader(library, "P1", "Pipes", kHorizontalHeader, 2, 2);
  TableInitDialog d(nullptr, language, library, kStyle, QString());
  Show(d);
  PickWithKeys(d.HeaderBox(), 1);  // C1, a full header
  EXPECT_EQ(d.HeaderBox()->currentText(), "C1");
  for (SizeField f : {SizeField::kRows, SizeField::kCols, SizeField::kRowHeight, SizeField::kColWidth})
    EXPECT_FALSE(d.Field(f)->isEnabled());
  ASSERT_EQ(Items(d.ClassBox()), (QStringList{"Whole Header", "Civil", "Pipes"}));
  PickWithKeys(d.ClassBox(), 2);
  EXPECT_EQ(Items(d.HeaderBox()), (QStringList{"Blank Table", "P1"}));
  EXPECT_EQ(d.HeaderBox()->currentIndex(), 0);
  // What shows is what OK gives: the blank table, not the header of the other class.
  EXPECT_FALSE(d.Rules().HasHeader());
  EXPECT_TRUE(d.Field(SizeField::kRows)->isEnabled());
  PickWithKeys(d.HeaderBox(), 1);
  EXPECT_EQ(d.InfoLine()->text(), " 2 rows, 2 columns, Horizontal Table");
}

TEST_F(HeaderDialogsTest, InitDialogSetHeaderSelectsWhatTheManagerLastSelected) {
  SaveHeader(library, "P1", "Pipes", kVerticalHeader, 2, 2);
  SaveHeader(library, "C1", "Civil", kVerticalHeader, 2, 5);
  TableInitDialog d(nullptr, language, library, kStyle, QString());
  Show(d);
  PickWithKeys(d.HeaderBox(), 2);  // P1 (C1 comes first in file-name order)
  ASSERT_EQ(d.HeaderBox()->currentText(), "P1");
  // The real manager: it opens with P1 selected; the drafter picks C1 and closes it.
  WhenModal<HeaderManagerDialog>([](HeaderManagerDialog& m) {
    QTreeWidgetItem* current = m.Tree()->currentItem();
    EXPECT_TRUE(current && current->text(0) == "P1");
    EXPECT_TRUE(m.OkButton()->isVisible());  // opened from the table initialization dialog
    m.Tree()->setCurrentItem(m.Tree()->topLevelItem(0)->child(0));
    QTest::mouseClick(m.CloseButton(), Qt::LeftButton);
  });
  QTest::mouseClick(d.SetHeaderButton(), Qt::LeftButton);
  EXPECT_EQ(d.ClassBox()->currentText(), "Civil");
  EXPECT_EQ(d.HeaderBox()->currentText(), "C1");
  EXPECT_EQ(d.Field(SizeField::kCols)->value(), 5);

  // A header the manager names that is gone: the first entries.
  d.SetManagerRunner([](QWidget*, const std::string&) { return TableInitDialog::ManagerResult{"Gone", "G"}; });
  QTest::mouseClick(d.SetHeaderButton(), Qt::LeftButton);
  EXPECT_EQ(d.ClassBox()->currentIndex(), 0);
  EXPECT_EQ(d.HeaderBox()->currentIndex(), 0);
  EXPECT_FALSE(d.Rules().HasHeader());
}

// `vextable new --header` builds the table the dialog's OK gives, for each header type.
TEST_F(HeaderDialogsTest, InitDialogGivesWhatVextableNewWrites) {
  for (int type : {kVerticalHeader, kHorizontalHeader, kFullHeader}) {
    const std::string name = "H" + std::to_string(type);
    SaveHeader(library, name, "", type, 3, 4);
    TableInitDialog d(nullptr, language, library, kStyle, QString());
    Show(d);
    PickWithKeys(d.HeaderBox(), d.HeaderBox()->findText(QString::fromStdString(name)));
    const std::pair<SizeField, const char*> typed[] = {{SizeField::kRows, "6"},
                                                       {SizeField::kCols, "5"},
                                                       {SizeField::kRowHeight, "8"},
                                                       {SizeField::kColWidth, "22"}};
    for (const auto& [field, text] : typed)
      if (d.Field(field)->isEnabled()) TypeInto(d.Field(field), text);
    QTest::mouseClick(d.OkButton(), Qt::LeftButton);
    ASSERT_EQ(d.result(), QDialog::Accepted) << type;

    const std::string out = install.File(name + ".vtf");
    const ProgramRun run = RunCli("new --header " + name + " --rows 6 --cols 5 --row-height 8 --col-width 22 -o '" +
                                  out + "' --library '" + library.Root() + "'");
    ASSERT_EQ(run.status, 0) << run.err;
    TableData made;
    ASSERT_TRUE(LoadTableFile(made, kTableFilePrefix, out));
    EXPECT_EQ(made, d.Answer().table) << type;
  }
}

// ---------------------------------------------------------------- save header

TEST_F(HeaderDialogsTest, SaveDialogStartsWithTheLanguagesTexts) {
  SaveHeader(library, "P1", "Pipes", kVerticalHeader, 1, 1);
  SaveHeaderDialog d(nullptr, language, library);
  EXPECT_EQ(d.windowTitle(), "Save Header");
  EXPECT_EQ(d.NameField()->text(), "NewHeader1");
  EXPECT_EQ(Items(d.ClassBox()), (QStringList{"None Class", "Pipes"}));
  EXPECT_TRUE(d.ClassBox()->isEditable());
  EXPECT_TRUE(d.TypeButton(kVerticalHeader)->isChecked());
  EXPECT_EQ(d.TypeButton(kHorizontalHeader)->text(), "&Horizontal");
  for (int t : {0, 1, 2}) EXPECT_FALSE(d.TypeButton(t)->icon().isNull()) << t;
}

// A.vtt exists: OK turns the name into A-1 and stays open; OK again saves A-1.
TEST_F(HeaderDialogsTest, SaveDialogExistingNameGetsMinusOne) {
  SaveHeader(library, "A", "", kVerticalHeader, 1, 1);
  SaveHeaderDialog d(nullptr, language, library);
  std::vector<QString> told;
  d.SetTell([&](QWidget*, const QString& text) { told.push_back(text); });
  Show(d);
  d.NameField()->selectAll();
  QTest::keyClicks(d.NameField(), "A");
  QTest::mouseClick(d.TypeButton(kHorizontalHeader), Qt::LeftButton);
  d.ClassBox()->setFocus();
  QTest::keyClick(d.ClassBox()->lineEdit(), Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(d.ClassBox()->lineEdit(), "Valves");
  QTest::mouseClick(d.OkButton(), Qt::LeftButton);
  EXPECT_TRUE(d.isVisible());
  EXPECT_EQ(d.NameField()->text(), "A-1");
  ASSERT_EQ(told.size(), 1u);
  EXPECT_EQ(told[0], "Header name is exist!Please use other name!");
  QTest::mouseClick(d.OkButton(), Qt::LeftButton);
  ASSERT_EQ(d.result(), QDialog::Accepted);
  EXPECT_EQ(d.Answer().name, "A-1");
  EXPECT_EQ(d.Answer().className, "Valves");
  EXPECT_EQ(d.Answer().type, kHorizontalHeader);
}

TEST_F(HeaderDialogsTest, SaveDialogRefusesNamesThatAreNoFileNames) {
  SaveHeaderDialog d(nullptr, language, library);
  std::vector<QString> told;
  d.SetTell([&](QWidget*, const QString& text) { told.push_back(text); });
  Show(d);
  const QString bad[] = {"../x", "a/b", "..", "CON", QString(101, 'x'), QString("a") + QChar(9) + "b"};
  for (const QString& name : bad) {
    told.clear();
    d.NameField()->setText(name);
    QTest::mouseClick(d.OkButton(), Qt::LeftButton);
    EXPECT_TRUE(d.isVisible()) << name.toStdString();
    EXPECT_EQ(told.size(), 1u) << name.toStdString();
    EXPECT_EQ(d.NameField()->text(), name);  // left for the drafter to correct
  }
  told.clear();
  d.NameField()->clear();
  QTest::mouseClick(d.OkButton(), Qt::LeftButton);
  EXPECT_EQ(d.NameField()->text(), "NewHeader1");
  ASSERT_EQ(told.size(), 1u);
  EXPECT_EQ(told[0], "Header name can't empty!");
  // The no-class entry as the language shows it is no class.
  QTest::mouseClick(d.OkButton(), Qt::LeftButton);
  ASSERT_EQ(d.result(), QDialog::Accepted);
  EXPECT_EQ(d.Answer().className, "");
  EXPECT_TRUE(library.ListHeaders("").empty());  // the dialog itself writes nothing
}

TEST(HeaderTypePictures, EachTypeHasItsOwnPicture) {
  const QImage v = HeaderTypePicture(SaveHeaderDialog::kVerticalPicture, 32).toImage();
  const QImage h = HeaderTypePicture(SaveHeaderDialog::kHorizontalPicture, 32).toImage();
  const QImage f = HeaderTypePicture(SaveHeaderDialog::kFullPicture, 32).toImage();
  EXPECT_NE(v, h);
  EXPECT_NE(h, f);
  EXPECT_NE(v, f);
  // The shaded header: the top row for vertical, the left column for horizontal.
  const QColor shade(120, 160, 220);
  EXPECT_EQ(v.pixelColor(12, 5), shade);
  EXPECT_NE(v.pixelColor(5, 12), shade);
  EXPECT_EQ(h.pixelColor(5, 12), shade);
  EXPECT_NE(h.pixelColor(12, 5), shade);
  EXPECT_EQ(f.pixelColor(12, 12), shade);
}

// ---------------------------------------------------------------- header manager

class ManagerTest : public HeaderDialogsTest {
 protected:
  void SetUp() override {
    HeaderDialogsTest::SetUp();
    SaveHeader(library, "C1", "Civil", kVerticalHeader, 2, 2);
    SaveHeader(library, "Loose", "", kVerticalHeader, 1, 1);
    SaveHeader(library, "P1", "Pipes", kVerticalHeader, 3, 2);
    SaveHeader(library, "P2", "Pipes", kFullHeader, 1, 1);
  }
  std::vector<QString> asked;
  bool answer = true;
  HeaderManagerDialog::Ask Asker() {
    return [this](QWidget*, const QString& caption, const QString& q) {
      EXPECT_EQ(caption, "System prompt");
      asked.push_back(q);
      return answer;
    };
  }
  QStringList Tree(const HeaderManagerDialog& m) const {
    QStringList out;
    for (int i = 0; i < m.Tree()->topLevelItemCount(); ++i) {
      const QTreeWidgetItem* c = m.Tree()->topLevelItem(i);
      out << c->text(0);
      for (int k = 0; k < c->childCount(); ++k) out << "  " + c->child(k)->text(0);
    }
    return out;
  }
};

TEST_F(ManagerTest, TreeHoldsClassesWithTheirHeadersAndPreviewsTheSelection) {
  HeaderManagerDialog m(nullptr, language, library, kStyle, "P1", kManagerFromInitDialog);
  Show(m);
  EXPECT_EQ(m.windowTitle(), "VexTable Header Manager");
  // A header without a class is not in the tree.
  EXPECT_EQ(Tree(m), (QStringList{"Civil", "  C1", "Pipes", "  P1", "  P2"}));
  EXPECT_TRUE(m.Tree()->topLevelItem(1)->isExpanded());
  EXPECT_FALSE(m.Tree()->topLevelItem(0)->isExpanded());
  EXPECT_EQ(m.LastClass(), "Pipes");
  EXPECT_EQ(m.LastHeader(), "P1");
  // The preview: P1's three rows of 12, 14, 16 mm at zoom 0.75.
  EXPECT_EQ(m.Preview().Model().RowCount(), 4);
  EXPECT_EQ(m.Preview().RowHeight(3), MmToPixels(16, 0.75));
  EXPECT_EQ(m.Preview().Model().Text(2, 1), "r1c0");
  EXPECT_FALSE(m.Preview().IsEditable());
  // Keys walk the tree; a class shows nothing new.
  m.Tree()->setFocus();
  QTest::keyClick(m.Tree(), Qt::Key_Down);
  EXPECT_EQ(m.LastHeader(), "P2");
  EXPECT_EQ(m.Preview().Model().RowCount(), 2);
  m.Tree()->setCurrentItem(m.Tree()->topLevelItem(0));
  EXPECT_EQ(m.LastHeader(), "P2");
  EXPECT_EQ(m.Preview().Model().RowCount(), 2);
}

TEST_F(ManagerTest, FromTheEditorOkIsHidden) {
  HeaderManagerDialog m(nullptr, language, library, kStyle, "", kManagerFromEditor);
  Show(m);
  EXPECT_FALSE(m.OkButton()->isVisible());
  EXPECT_EQ(m.CloseButton()->text(), "&Close");
  EXPECT_EQ(m.LastHeader(), "");  // nothing preselected, nothing previewed
  EXPECT_EQ(m.Preview().Model().RowCount(), 1);
  QTest::mouseClick(m.CloseButton(), Qt::LeftButton);
  EXPECT_EQ(m.result(), QDialog::Rejected);
}

TEST_F(ManagerTest, DeletingTheLastHeaderOfAClassRemovesTheClass) {
  HeaderManagerDialog m(nullptr, language, library, kStyle, "C1", kManagerFromEditor);
  m.SetAsk(Asker());
  Show(m);
  answer = false;
  QTest::mouseClick(m.DeleteButton(), Qt::LeftButton);
  ASSERT_EQ(asked, (std::vector<QString>{QString::fromUtf8("Do you delete Header C1？")}));
  EXPECT_TRUE(fs::exists(library.HeaderPath("C1")));
  answer = true;
  QTest::mouseClick(m.DeleteButton(), Qt::LeftButton);
  EXPECT_FALSE(fs::exists(library.HeaderPath("C1")));
  EXPECT_EQ(Tree(m), (QStringList{"Pipes", "  P1", "  P2"}));
  EXPECT_EQ(library.ListClasses(), (std::vector<std::string>{"Pipes"}));
}

TEST_F(ManagerTest, DeletingAClassDeletesItsHeadersOnly) {
  HeaderManagerDialog m(nullptr, language, library, kStyle, "", kManagerFromEditor);
  m.SetAsk(Asker());
  Show(m);
  m.Tree()->setCurrentItem(m.Tree()->topLevelItem(1));
  QTest::mouseClick(m.DeleteButton(), Qt::LeftButton);
  ASSERT_EQ(asked, (std::vector<QString>{QString::fromUtf8("Do you delete class Pipes？")}));
  EXPECT_EQ(Tree(m), (QStringList{"Civil", "  C1"}));
  EXPECT_EQ(library.ListHeaders(""), (std::vector<std::string>{"C1", "Loose"}));
}

TEST_F(ManagerTest, ResizingGivesThePreviewTheRoom) {
  HeaderManagerDialog m(nullptr, language, library, kStyle, "P1", kManagerFromInitDialog);
  Show(m);
  const QRect preview = m.Preview().geometry(), del = m.DeleteButton()->geometry(), close = m.CloseButton()->geometry();
  const QRect tree = m.Tree()->geometry();
  m.resize(m.width() + 200, m.height() + 100);
  QApplication::processEvents();
  EXPECT_EQ(m.Preview().width(), preview.width() + 200);
  EXPECT_EQ(m.Preview().height(), preview.height() + 100);
  EXPECT_EQ(m.Tree()->height(), tree.height() + 100);
  EXPECT_EQ(m.Tree()->width(), tree.width());
  EXPECT_EQ(m.DeleteButton()->y(), del.y() + 100);
  EXPECT_EQ(m.CloseButton()->geometry().topLeft(), close.topLeft() + QPoint(200, 100));
}

// Each window drawn: not blank, and written as a picture when VEXTABLE_SNAPSHOTS names a
// folder (to look at).
TEST_F(ManagerTest, WindowsDrawTheirContents) {
  TableInitDialog init(nullptr, language, library, kStyle, QString());
  SaveHeaderDialog save(nullptr, language, library);
  HeaderManagerDialog manager(nullptr, language, library, kStyle, "P1", kManagerFromInitDialog);
  const std::pair<QWidget*, const char*> windows[] = {
      {&init, "table_init_dialog"}, {&save, "save_header_dialog"}, {&manager, "header_manager_dialog"}};
  for (const auto& [w, name] : windows) {
    Show(*w);
    if (w == &init) PickWithKeys(init.HeaderBox(), 3);  // P1: the information line shows
    const QImage image = w->grab().toImage();
    ASSERT_FALSE(image.isNull()) << name;
    int colours = 0;
    QRgb last = 0;
    for (int y = 0; y < image.height(); y += 3)
      for (int x = 0; x < image.width(); x += 3)
        if (image.pixel(x, y) != last) ++colours, last = image.pixel(x, y);
    EXPECT_GT(colours, 50) << name;
    if (const QByteArray dir = qgetenv("VEXTABLE_SNAPSHOTS"); !dir.isEmpty())
      image.save(QString::fromUtf8(dir) + "/" + name + ".png");
    w->hide();
  }
}

// ---------------------------------------------------------------- the editor's commands

using EditorHeadersTest = EditorWindowTest;

TEST_F(EditorHeadersTest, NewInsideTheHostRunsTheNewTableCommand) {
  Open();
  Press(kTbNew);
  EXPECT_EQ(host->posted, (std::vector<std::string>{"VEXDRAWTABLE"}));
  host->document = false;
  Press(kNew);
  EXPECT_EQ(host->posted.size(), 1u);
}

TEST_F(EditorHeadersTest, NewWithoutAHostAsksWithTheDialog) {
  HeaderLibrary library(install.where().headerRoot);
  SaveHeader(library, "H", "", kHorizontalHeader, 2, 3);
  host->inside = false;
  Open();
  WhenModal<TableInitDialog>([](TableInitDialog& d) {
    PickWithKeys(d.HeaderBox(), 1);
    TypeInto(d.Field(SizeField::kCols), "5");
    TypeInto(d.Field(SizeField::kColWidth), "25");
    QTest::mouseClick(d.OkButton(), Qt::LeftButton);
  });
  Press(kTbNew);
  EXPECT_EQ(window->Origin(), kLoadedTable);
  const TableData t = Taken();
  EXPECT_EQ(t.nRows, 2);
  EXPECT_EQ(t.nCols, 5);
  EXPECT_EQ(t.ColWidths, (std::vector<double>{20, 20, 20, 25, 25}));
  EXPECT_EQ(Text(2, 3), "r1c2");

  // Cancel changes nothing.
  WhenModal<TableInitDialog>([](TableInitDialog& d) { d.reject(); });
  Press(kNew);
  EXPECT_EQ(Taken(), t);
}

TEST_F(EditorHeadersTest, InsertHeaderPlacesAVerticalHeaderAtTheSelection) {
  HeaderLibrary library(install.where().headerRoot);
  SaveHeader(library, "V", "Pipes", kVerticalHeader, 2, 3);
  const TableData t = NamedTable(3, 2, 10, 30);
  Open(&t);
  Click(2, 1);
  WhenModal<TableInitDialog>([](TableInitDialog& d) {
    EXPECT_EQ(d.windowTitle(), "Table Initialization");
    PickWithKeys(d.HeaderBox(), 1);
    TypeInto(d.Field(SizeField::kRows), "2");
    QTest::mouseClick(d.OkButton(), Qt::LeftButton);
  });
  Press(kTbInsertHeader);
  const TableData after = Taken();
  EXPECT_EQ(after.nRows, 5);
  EXPECT_EQ(after.nCols, 3);
  EXPECT_EQ(after.GetCell(0, 0).strText, "r0c0");
  EXPECT_EQ(after.GetCell(1, 2).strText, "r0c2");
  EXPECT_EQ(after.GetCell(3, 0).strText, "r1c0");
  EXPECT_EQ(after.RowHeights, (std::vector<double>{10, 12, 14, 10, 10}));
  EXPECT_EQ(Text(0, 3), "3");  // the headers count the new column
  // One undo step takes it all back.
  EXPECT_EQ(window->Journal().UndoCount(), 1u);
  Press(kUndo);
  EXPECT_EQ(Taken(), t);
}

TEST_F(EditorHeadersTest, SaveSelectionAsHeader) {
  const TableData t = NamedTable(4, 4, 10, 30);
  Open(&t);
  window->SetZoom(1.5);
  SelectCells(2, 2, 3, 3);
  const int locksBefore = host->lockCount;
  WhenModal<SaveHeaderDialog>([](SaveHeaderDialog& d) {
    d.NameField()->selectAll();
    QTest::keyClicks(d.NameField(), "Corner");
    QTest::mouseClick(d.TypeButton(kFullHeader), Qt::LeftButton);
    QTest::mouseClick(d.OkButton(), Qt::LeftButton);
  });
  Press(kTbSaveHeader);
  EXPECT_GT(host->lockCount, locksBefore);
  EXPECT_EQ(host->locks, 0);
  HeaderLibrary library(install.where().headerRoot);
  ASSERT_EQ(library.ListHeaders(""), (std::vector<std::string>{"Corner"}));
  TableHeader saved;
  RecordingSink sink;
  ASSERT_TRUE(library.LoadHeader("Corner", saved, host->store, sink));
  EXPECT_EQ(saved.TitleROrC, kFullHeader);
  EXPECT_EQ(saved.TitleType, "");
  EXPECT_EQ(saved.TitleVersion, "1.0");
  EXPECT_EQ(saved.nRows, 2);
  EXPECT_EQ(saved.nCols, 2);
  EXPECT_EQ(saved.ColWidths, (std::vector<double>{30, 30}));  // millimetres, not pixels at 150 %
  EXPECT_EQ(saved.GetCell(0, 0).strText, "r1c1");
  EXPECT_EQ(saved.GetCell(1, 1).strText, "r2c2");
}

TEST_F(EditorHeadersTest, ManageHeadersOpensTheManagerWithoutOk) {
  Open();
  bool shown = false;
  WhenModal<HeaderManagerDialog>([&shown](HeaderManagerDialog& m) {
    shown = true;
    EXPECT_FALSE(m.OkButton()->isVisible());
    QTest::mouseClick(m.CloseButton(), Qt::LeftButton);
  });
  Press(kTbHeaderManager);
  EXPECT_TRUE(shown);
}

}  // namespace
}  // namespace vex::test
