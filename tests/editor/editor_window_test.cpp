// The table editor window driven as a drafter drives it: real keys and clicks on the grid,
// the toolbars and the boxes, offscreen.

#include "editor_window_fixture.h"

#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

#include <filesystem>
#include <memory>

#include "files/table_file.h"
#include "model/editor_commands.h"
#include "model/grid_journal.h"
#include "model/merge_blocks.h"
#include "platform/profile.h"
#include "support/tables.h"

namespace vex::test {
namespace {

using namespace editor_cmd;

// A 5 x 4 table of 10 x 20 mm cells named "r<i>c<j>", a 2 x 2 block at (1, 1), one column
// 15 mm wide (8 pixels at 10 %, which would come back as 16 mm).
TableData Sample() {
  TableData t = NamedTable(5, 4, 10, 20);
  t.ColWidths = {20, 15, 20, 20};
  AppendMergeSpans(t, {{1, 1, 2, 2}});
  t.rows[0].cells[0].dHeight = 5;
  t.rows[0].cells[0].HorzMode = 0;
  return t;
}

std::string SaveSample(const InstallDir& install, const std::string& name, const TableData& t = Sample()) {
  const std::string path = install.File(name);
  EXPECT_TRUE(SaveTableFile(t, kTableFilePrefix, path));
  return path;
}

using EditorTest = EditorWindowTest;

// Open, type, merge, flip, undo and redo, zoom back and forth, save, reopen: equal.
TEST_F(EditorTest, OpenEditFlipUndoZoomSaveReopen_Issue14) {
  Open();
  dialogs->openPaths.push_back(SaveSample(install, "in.vtf"));
  Press(kTbOpen);
  EXPECT_EQ(window->Origin(), kLoadedTable);
  EXPECT_EQ(Grid().Model().RowCount(), 6);
  EXPECT_EQ(Text(1, 1), "r0c0");
  EXPECT_EQ(Grid().Model().BlockOf(2, 2), (CellRange{2, 2, 3, 3}));

  Click(4, 3);
  Type("typed");
  Key(Qt::Key_Return);
  EXPECT_EQ(Text(4, 3), "typed");

  SelectCells(5, 1, 5, 3);
  Press(kTbMerge);
  EXPECT_EQ(Grid().Model().BlockOf(5, 2), (CellRange{5, 1, 5, 3}));

  Press(kTbFlipH);
  // Column 3 of 4 is column 2 after the flip; the merged row keeps its content at its left.
  EXPECT_EQ(Text(4, 2), "typed");
  EXPECT_EQ(Text(5, 2), "r4c0");
  EXPECT_EQ(Grid().Model().BlockOf(5, 2), (CellRange{5, 2, 5, 4}));
  EXPECT_EQ(Grid().Model().BlockOf(2, 2), (CellRange{2, 2, 3, 3}));
  const TableData flipped = Taken();

  Key(Qt::Key_Z, Qt::ControlModifier);  // the flip
  EXPECT_EQ(Text(4, 3), "typed");
  EXPECT_EQ(Grid().Model().BlockOf(5, 1), (CellRange{5, 1, 5, 3}));
  Key(Qt::Key_Z, Qt::ControlModifier);  // the merge
  EXPECT_EQ(Grid().Model().BlockOf(5, 1), (CellRange{5, 1, 5, 1}));
  Key(Qt::Key_Z, Qt::ControlModifier);  // the typing
  EXPECT_EQ(Text(4, 3), "r3c2");
  EXPECT_FALSE(window->Action(kUndo)->isEnabled());
  for (int i = 0; i < 3; ++i) Key(Qt::Key_Y, Qt::ControlModifier);
  EXPECT_EQ(Taken(), flipped);
  EXPECT_FALSE(window->Action(kRedo)->isEnabled());

  // Zoom by typing into the box, down to 10 % and back: the millimetres stay.
  QLineEdit* zoom = window->ZoomBox()->lineEdit();
  zoom->selectAll();
  QTest::keyClicks(zoom, QStringLiteral("150"));
  QTest::keyClick(zoom, Qt::Key_Return);
  EXPECT_DOUBLE_EQ(window->Zoom(), 1.5);
  EXPECT_EQ(window->ZoomBox()->currentText(), "150%");
  EXPECT_EQ(Grid().RowHeight(1), 75);  // a 10 mm row
  for (const char* z : {"10", "100"}) {
    zoom->selectAll();
    QTest::keyClicks(zoom, QString::fromLatin1(z));
    QTest::keyClick(zoom, Qt::Key_Return);
  }
  EXPECT_DOUBLE_EQ(window->Zoom(), 1.0);
  EXPECT_EQ(Grid().RowHeight(1), 50);
  const TableData zoomed = Taken();
  EXPECT_EQ(zoomed.RowHeights, flipped.RowHeights);
  EXPECT_EQ(zoomed.ColWidths, flipped.ColWidths);
  EXPECT_EQ(zoomed.MergeRows, flipped.MergeRows);
  for (int r = 0; r < zoomed.nRows; ++r)
    for (int c = 0; c < zoomed.nCols; ++c) {
      EXPECT_EQ(zoomed.GetCell(r, c).strText, flipped.GetCell(r, c).strText);
      EXPECT_DOUBLE_EQ(zoomed.GetCell(r, c).dHeight, flipped.GetCell(r, c).dHeight) << r << "," << c;
    }
  // Undo still works after the zoom change, at the new pixels.
  Key(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(Text(4, 3), "typed");
  Key(Qt::Key_Y, Qt::ControlModifier);

  const std::string out = install.File("out.vtf");
  dialogs->savePaths.push_back(out);
  Press(kTbSave);
  TableData saved;
  ASSERT_TRUE(LoadTableFile(saved, kTableFilePrefix, out));
  EXPECT_EQ(saved, zoomed);

  // Reopened in a new editor, the table is the same.
  window.reset();
  Open();
  dialogs->openPaths.push_back(out);
  Press(kTbOpen);
  EXPECT_EQ(Taken(), saved);
}

TEST_F(EditorTest, OpenLeavesTheTableAsItWasWhenTheFileIsNoTable) {
  const TableData t = Sample();
  Open(&t);
  Click(2, 2);
  const TableData before = Taken();
  WriteFile(install.File("settings.vtf"), "[BASE SETTING]\nPlotScale=1\n");
  WriteFile(install.File("garbage.vtf"), std::string("\x01\x02<<not xml", 11));
  for (const std::string& path : {install.File("settings.vtf"), install.File("garbage.vtf"), install.File("missing.vtf")}) {
    dialogs->openPaths.push_back(path);
    Press(kTbOpen);
    EXPECT_EQ(Taken(), before) << path;
    ASSERT_FALSE(dialogs->told.empty()) << path;
    EXPECT_NE(dialogs->told.back().find("could not be opened"), std::string::npos) << dialogs->told.back();
  }
  EXPECT_EQ(window->Origin(), kLoadedTable);
  // The file was never locked for without a reason to: every lock was given back.
  EXPECT_EQ(host->locks, 0);
}

// Open converts a table file of the old key-value layout, keeping the original beside it.
TEST_F(EditorTest, OpenConvertsAnOldKeyValueFile) {
  Open();
  const std::string path = install.File("old.vtf");
  const TableData t = NamedTable(3, 3);
  ASSERT_TRUE(SaveTableKeyValue(t, kTableFilePrefix, path));
  dialogs->openPaths.push_back(path);
  Press(kTbOpen);
  EXPECT_EQ(Text(3, 3), "r2c2");
  EXPECT_TRUE(std::filesystem::exists(path + ".kv.bak"));
  EXPECT_EQ(ReadFile(path).rfind("<?xml", 0), 0u) << ReadFile(path).substr(0, 40);
}

// What the grid shows: a merged block has no line inside it, and undo draws the line again.
TEST_F(EditorTest, MergedCellsShowAsOneAndComeApartOnUndo) {
  const TableData t = Sample();
  Open(&t);
  const QRect left = Grid().CellRectOf(5, 1);
  const auto lineBetween = [&] {
    const QImage image = View()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const int y = left.center().y();
    for (int x = left.right() - 1; x <= left.right() + 2; ++x)
      if (QColor(image.pixel(x, y)) == QColor(0xC0, 0xC0, 0xC0)) return true;
    return false;
  };
  EXPECT_TRUE(lineBetween());
  SelectCells(5, 1, 5, 2);
  Press(kTbMerge);
  Click(1, 4);  // the block is no longer selected
  EXPECT_FALSE(lineBetween());
  Key(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_TRUE(lineBetween());
  // At 150 % the same cell is half as large again.
  window->SetZoom(1.5);
  EXPECT_EQ(Grid().CellRectOf(5, 1).width(), left.width() * 3 / 2);
}

TEST_F(EditorTest, EnterAndEscapeNeverDrawOrCancel) {
  Open();
  Click(2, 2);
  for (QWidget* target : {static_cast<QWidget*>(&Grid()), static_cast<QWidget*>(window->DrawButton()),
                          static_cast<QWidget*>(window->CancelButton())}) {
    target->setFocus();
    for (int key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) QTest::keyClick(target, static_cast<Qt::Key>(key));
  }
  // In the cell editor Enter ends the edit and Escape takes it back; neither reaches the buttons.
  Click(3, 3);
  Type("x");
  Key(Qt::Key_Return);
  Click(3, 4);
  Type("y");
  Key(Qt::Key_Escape);
  EXPECT_EQ(Text(3, 3), "x");
  EXPECT_EQ(Text(3, 4), "");
  EXPECT_TRUE(host->posted.empty());
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(host->closed, 0);
}

TEST_F(EditorTest, DrawHandsTheRoundedTableToTheHostAndPostsByOrigin) {
  const TableData t = Sample();
  Open(&t);
  Grid().Model().SetFontHeight(1, 2, 17);  // 3.4 mm
  QTest::mouseClick(window->DrawButton(), Qt::LeftButton);
  EXPECT_EQ(host->posted, (std::vector<std::string>{"VEXTABLE_DRAW"}));
  EXPECT_FALSE(window->isVisible());
  EXPECT_EQ(host->current.nRows, 5);
  EXPECT_DOUBLE_EQ(host->current.GetCell(0, 1).dHeight, 3.5);
  EXPECT_DOUBLE_EQ(host->current.GetCell(0, 0).dHeight, 5);
  // The drawn table is also the autosave, under its own prefix.
  TableData autosaved;
  ASSERT_TRUE(LoadTableFile(autosaved, kAutoSavePrefix, install.where().headerRoot + "_AutoSave.vtt"));
  EXPECT_EQ(autosaved, host->current);
  EXPECT_GT(host->lockCount, 0);
  EXPECT_EQ(host->locks, 0);

  window->SetOrigin(kTableFromDrawing);
  window->ShowRestored();
  QTest::mouseClick(window->DrawButton(), Qt::LeftButton);
  EXPECT_EQ(host->posted.back(), "VEXTABLE_EDIT");

  // Without a document nothing is posted and the editor stays.
  host->document = false;
  window->ShowRestored();
  QTest::mouseClick(window->DrawButton(), Qt::LeftButton);
  EXPECT_EQ(host->posted.size(), 2u);
  EXPECT_TRUE(window->isVisible());
}

TEST_F(EditorTest, TextReplacementTogglesAndIsStoredOnDraw) {
  TableData t = Sample();
  t.rows[0].cells[1].strText = "30%%d";
  Open(&t);
  EXPECT_EQ(Text(1, 2), "30(d)");  // the editor shows the readable token
  EXPECT_TRUE(window->Action(kTbUseReplacement)->isChecked());
  Press(kTbUseReplacement);
  EXPECT_FALSE(window->ReplacementOn());
  QTest::mouseClick(window->DrawButton(), Qt::LeftButton);
  EXPECT_EQ(host->current.GetCell(0, 1).strText, "30(d)");
  EXPECT_EQ(install.SettingsFile().GetInt("TURN_TEXT", "ENABLE", -1), 0);
  window->ShowRestored();
  Press(kTbUseReplacement);
  QTest::mouseClick(window->DrawButton(), Qt::LeftButton);
  EXPECT_EQ(host->current.GetCell(0, 1).strText, "30%%d");
  EXPECT_EQ(install.SettingsFile().GetInt("TURN_TEXT", "ENABLE", -1), 1);
}

TEST_F(EditorTest, LoadAutosaveSwapsWithTheLastDrawnTable) {
  const TableData t = Sample();
  Open(&t);
  // Nothing drawn and no autosave: the table stays.
  Press(kTbLoadAutosave);
  EXPECT_EQ(Text(1, 1), "r0c0");
  ASSERT_EQ(dialogs->told.size(), 1u);

  host->current = NamedTable(2, 2);
  host->current.rows[0].cells[0].strText = "drawn";
  Press(kTbLoadAutosave);
  EXPECT_EQ(Text(1, 1), "drawn");
  EXPECT_EQ(host->current.GetCell(0, 0).strText, "r0c0");
  Press(kTbLoadAutosave);  // twice swaps back
  EXPECT_EQ(Text(1, 1), "r0c0");

  // After a restart only the file is left.
  QTest::mouseClick(window->DrawButton(), Qt::LeftButton);
  host->current = TableData{};
  window.reset();
  Open();
  Press(kTbLoadAutosave);
  EXPECT_EQ(Text(1, 1), "r0c0");
  EXPECT_EQ(Grid().Model().RowCount(), 6);
}

TEST_F(EditorTest, ZoomBoxClampsWhatIsTyped) {
  Open();
  QLineEdit* zoom = window->ZoomBox()->lineEdit();
  const struct {
    const char* typed;
    double zoom;
    const char* shown;
  } cases[] = {{"3000%", 30, "3000%"}, {"2", 0.05, "5%"}, {"abc", 0.05, "5%"}, {"0", 0.05, "5%"},
               {"-50", 0.05, "5%"},    {"1e9", 64, "6400%"}, {"75%", 0.75, "75%"}};
  for (const auto& c : cases) {
    zoom->selectAll();
    QTest::keyClicks(zoom, QString::fromLatin1(c.typed));
    QTest::keyClick(zoom, Qt::Key_Return);
    EXPECT_DOUBLE_EQ(window->Zoom(), c.zoom) << c.typed;
    EXPECT_EQ(window->ZoomBox()->currentText(), c.shown) << c.typed;
  }
  // A listed item chosen from the list.
  window->ZoomBox()->setCurrentIndex(window->ZoomBox()->findText("200%"));
  emit window->ZoomBox()->textActivated(QStringLiteral("200%"));
  EXPECT_DOUBLE_EQ(window->Zoom(), 2);
  EXPECT_EQ(Grid().ColumnWidth(1), 150);  // a 15 mm blank column
}

TEST_F(EditorTest, HeightBoxAppliesToTheSelectionAsOneStep) {
  const TableData t = Sample();
  Open(&t);
  SelectCells(4, 1, 5, 2);
  QLineEdit* box = window->ValueBox()->lineEdit();
  EXPECT_EQ(box->text(), "3.0");
  box->selectAll();
  QTest::keyClicks(box, QStringLiteral("4.5"));
  for (int r = 4; r <= 5; ++r)
    for (int c = 1; c <= 2; ++c) EXPECT_EQ(Grid().Model().FontHeight(r, c), 23) << r << c;  // round(22.5 + 0.5)
  EXPECT_EQ(Grid().Model().FontHeight(4, 3), 16);
  EXPECT_EQ(window->Journal().UndoCount(), 1u);
  window->Undo();
  EXPECT_EQ(Grid().Model().FontHeight(4, 1), 16);
}

TEST_F(EditorTest, PicturesComeFromTheHostAndTheBoxShowsTheirScale) {
  const TableData t = Sample();
  Open(&t);
  SelectCells(4, 3, 5, 4);
  CellImage image;
  image.sBlockName = "PIC1";
  image.images.Append(std::make_unique<JLine>(Point2d{0, 0}, Point2d{10, 10}));
  window->StorePicture(image);
  EXPECT_EQ(Grid().Model().Kind(5, 4), kImageCell);
  EXPECT_TRUE(window->PictureBoxMode());
  EXPECT_TRUE(window->Action(kTbPicture)->isChecked());
  EXPECT_EQ(window->ValueBox()->currentText(), "100%");
  ASSERT_EQ(window->SelectedPictures().size(), 4u);

  QLineEdit* box = window->ValueBox()->lineEdit();
  box->selectAll();
  QTest::keyClicks(box, QStringLiteral("0"));
  EXPECT_DOUBLE_EQ(Grid().Model().Picture(4, 3)->dScael, 0.05);
  box->selectAll();
  QTest::keyClicks(box, QStringLiteral("250"));
  EXPECT_DOUBLE_EQ(Grid().Model().Picture(5, 4)->dScael, 1.0);

  Press(kTbDrawImage);
  EXPECT_EQ(host->posted, (std::vector<std::string>{"VEXTABLE_DRAWIMAGE"}));
  Press(kTbSelectImage);
  EXPECT_EQ(host->posted.back(), "VEXTABLE_SELECTIMAGE");
  Press(kTbDeleteImage);
  EXPECT_EQ(Grid().Model().Kind(4, 3), kTextCell);
  EXPECT_EQ(Grid().Model().Picture(4, 3), nullptr);
  EXPECT_TRUE(window->SelectedPictures().empty());
  Press(kTbDrawImage);  // no picture selected: nothing
  EXPECT_EQ(host->posted.size(), 2u);
  window->Undo();
  EXPECT_EQ(window->SelectedPictures().size(), 4u);
}

TEST_F(EditorTest, AlignmentButtonsKeepTheOtherDirection) {
  const TableData t = Sample();
  Open(&t);
  SelectCells(4, 1, 4, 2);
  Press(kTbRight);
  Press(kTbBottom);
  EXPECT_EQ(Grid().Model().Format(4, 1), 2 + 4 * 2);
  EXPECT_EQ(Grid().Model().Format(4, 2), 10);
  EXPECT_TRUE(window->Action(kTbRight)->isChecked());
  EXPECT_FALSE(window->Action(kTbCentre)->isChecked());
  Click(1, 1);  // left/middle: the buttons follow the focus cell
  EXPECT_TRUE(window->Action(kTbLeft)->isChecked());
  EXPECT_TRUE(window->Action(kTbMiddle)->isChecked());
  EXPECT_EQ(window->ValueBox()->currentText(), "5.0");
}

TEST_F(EditorTest, InsertAndDeleteRowsAndColumns) {
  const TableData t = Sample();
  Open(&t);
  Grid().SetRowHeight(3, 60);
  Grid().SetRowHeight(4, 70);
  window->Journal().Clear();
  const TableData start = Taken();
  SelectCells(3, 1, 4, 1);
  Press(kRowsAbove);
  // Two rows at 3 and 4 with the heights of the old rows 3 and 4.
  EXPECT_EQ(Grid().Model().RowCount(), 8);
  EXPECT_EQ(Grid().RowHeight(3), 60);
  EXPECT_EQ(Grid().RowHeight(4), 70);
  EXPECT_EQ(Text(5, 1), "r2c0");
  EXPECT_EQ(Text(7, 0), "7");  // the headers are numbered again
  // The 2 x 2 block that row 3 ran through grew with it.
  EXPECT_EQ(Grid().Model().BlockOf(2, 2), (CellRange{2, 2, 5, 3}));
  SelectCells(1, 4, 1, 4);
  Press(kColsRight);
  EXPECT_EQ(Grid().Model().ColumnCount(), 6);
  EXPECT_EQ(Grid().ColumnWidth(5), Grid().ColumnWidth(4));
  EXPECT_EQ(Grid().Model().Format(2, 5), 5);
  SelectCells(1, 1, 2, 1);
  Press(kDeleteRows);
  EXPECT_EQ(Grid().Model().RowCount(), 6);
  EXPECT_EQ(Text(1, 1), "");  // the first inserted row
  SelectCells(1, 2, 1, 3);
  Press(kDeleteCols);
  EXPECT_EQ(Grid().Model().ColumnCount(), 4);
  EXPECT_EQ(Text(0, 3), "3");
  for (int i = 0; i < 4; ++i) window->Undo();
  EXPECT_EQ(Taken(), start);
}

TEST_F(EditorTest, RowHeightDialogSetsEverySelectedRow) {
  const TableData t = Sample();
  Open(&t);
  Grid().SetRowHeight(2, 53);  // 10.6 mm: the dialog opens with 10
  SelectCells(2, 1, 3, 1);
  dialogs->lineSizes.push_back(10);
  Press(kTbRowHeight);
  EXPECT_EQ(dialogs->asked, (std::vector<int>{10}));
  EXPECT_EQ(Grid().RowHeight(2), 50);
  EXPECT_EQ(Grid().RowHeight(3), 50);
  EXPECT_GT(host->lockCount, 0);  // the host waited while the dialog was open
  EXPECT_EQ(host->locks, 0);
  // Columns at zoom 0.5: 7 mm is trunc(17.5) pixels.
  window->SetZoom(0.5);
  SelectCells(1, 2, 1, 4);
  dialogs->lineSizes.push_back(7);
  Press(kTbColWidth);
  for (int c = 2; c <= 4; ++c) EXPECT_EQ(Grid().ColumnWidth(c), 17);
  dialogs->lineSizes.push_back(std::nullopt);  // cancelled: nothing changes
  Press(kTbColWidth);
  EXPECT_EQ(Grid().ColumnWidth(2), 17);
}

TEST_F(EditorTest, ContentsOnlyModeTakesTheStructureCommandsAway) {
  const TableData t = Sample();
  Open(&t);
  window->SetFullEditing(false);
  const QList<QAction*> format = window->FormatToolbar()->actions();
  for (int id : {kTbMerge, kTbUnmerge, kTbRowHeight, kTbColWidth, kTbLoadAutosave})
    EXPECT_FALSE(format.contains(window->Action(id))) << id;
  EXPECT_TRUE(format.contains(window->Action(kTbFullEditing)));
  for (int id : {kTbFlipH, kTbFlipV}) EXPECT_FALSE(window->FileToolbar()->actions().contains(window->Action(id))) << id;
  for (int id : {kDeleteRows, kRowsAbove, kColWidth, kOpen, kFlipH}) EXPECT_FALSE(window->Action(id)->isEnabled()) << id;
  EXPECT_TRUE(window->Action(kSave)->isEnabled());
  // Greyed commands do nothing, even when asked for.
  EXPECT_FALSE(window->RunCommand(kDeleteRows));
  // The row border in the header cannot be dragged.
  const QRect header = Grid().CellRectOf(1, 0);
  QTest::mousePress(View(), Qt::LeftButton, {}, QPoint(header.center().x(), header.bottom()));
  QTest::mouseMove(View(), QPoint(header.center().x(), header.bottom() + 30));
  QTest::mouseRelease(View(), Qt::LeftButton, {}, QPoint(header.center().x(), header.bottom() + 30));
  EXPECT_EQ(Grid().RowHeight(1), 50);
  // Typing still works.
  Click(5, 4);
  Type("z");
  Key(Qt::Key_Return);
  EXPECT_EQ(Text(5, 4), "z");

  Press(kTbFullEditing);
  EXPECT_TRUE(window->FullEditing());
  EXPECT_TRUE(window->FormatToolbar()->actions().contains(window->Action(kTbMerge)));
  EXPECT_TRUE(window->Action(kDeleteRows)->isEnabled());
  QTest::mousePress(View(), Qt::LeftButton, {}, QPoint(header.center().x(), header.bottom()));
  QTest::mouseMove(View(), QPoint(header.center().x(), header.bottom() + 30));
  QTest::mouseRelease(View(), Qt::LeftButton, {}, QPoint(header.center().x(), header.bottom() + 30));
  EXPECT_GT(Grid().RowHeight(1), 50);
}

// The undo of a 100 x 100 paste is one step that brings back every cell.
TEST_F(EditorTest, PasteOfManyCellsIsOneUndoStep) {
  const TableData t = NamedTable(210, 105, 8, 20);
  Open(&t);
  Grid().SetSelectedRange({1, 1, 100, 100});
  Press(kTbCopy);
  const TableData before = Taken();
  Grid().SetSelectedRange(CellRange::Single({101, 2}));
  Press(kTbPaste);
  EXPECT_EQ(Text(101, 2), "r0c0");
  EXPECT_EQ(Text(200, 101), "r99c99");
  EXPECT_EQ(window->Journal().UndoCount(), 1u);
  Key(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(Taken(), before);
}

TEST_F(EditorTest, MenusShowTheirMnemonicsAndAccelerators) {
  Open();
  QStringList titles;
  for (QAction* a : window->Menus()->actions()) titles << a->text();
  EXPECT_EQ(titles, (QStringList{"&File", "&Edit", "&Insert", "F&ormat", "I&mage", "&Tools", "&Help"}));
  EXPECT_EQ(window->Action(kOpen)->text(), "&Open...");
  EXPECT_EQ(window->Action(kOpen)->shortcut(), QKeySequence(QStringLiteral("Ctrl+O")));
  EXPECT_EQ(window->Action(kCut)->shortcut(), QKeySequence(QStringLiteral("Ctrl+X")));
  EXPECT_EQ(window->Action(kUndo)->shortcut(), QKeySequence(QStringLiteral("Ctrl+Z")));
  EXPECT_EQ(window->Action(kTbOpen)->toolTip(), "Open Table");
  EXPECT_EQ(window->Action(kTbMerge)->toolTip(), "Merge Cells");
  EXPECT_EQ(window->ZoomBox()->toolTip(), "Zoom");
  EXPECT_EQ(window->DrawButton()->text(), "&Draw");
  EXPECT_EQ(window->windowTitle(), "VexTable");
  // Every command of the menus is there.
  for (int id : {kNew, kInsertHeader, kHeaderWeb, kSaveHeader, kHeaderManager, kReplacementList, kUpdate, kAbout,
                 kWebMail, kExcelImport, kExcelExport})
    EXPECT_TRUE(window->Action(id)->isVisible()) << id;
}

TEST_F(EditorTest, ChineseTexts) {
  ASSERT_TRUE(install.Language().SetLanguage("Chinese"));
  Open();
  EXPECT_EQ(window->Menus()->actions().front()->text(), QString::fromUtf8("文件(&F)"));
  EXPECT_EQ(window->Action(kTbCut)->toolTip(), QString::fromUtf8("剪 切"));
  EXPECT_EQ(window->Action(kUndo)->text(), QString::fromUtf8("撤销(&U)"));
}

TEST_F(EditorTest, PlacementAndZoomAreKeptInTheSettings) {
  Open();
  window->setGeometry(40, 50, 800, 500);
  window->SetZoom(1.25);
  QTest::mouseClick(window->CancelButton(), Qt::LeftButton);
  EXPECT_EQ(host->closed, 1);
  EXPECT_FALSE(window->isVisible());
  window.reset();  // the host deletes the closed window
  const ProfileFile file = install.SettingsFile();
  EXPECT_EQ(file.GetInt("VexTable_Dialog", "Lenth", 0), 44);
  EXPECT_EQ(file.GetInt("VexTable_Dialog", "right", 0) - file.GetInt("VexTable_Dialog", "left", 0), 800);
  EXPECT_DOUBLE_EQ(file.GetDouble("VexTable_Dialog", "ZoomView", 0), 1.25);
  Open();
  EXPECT_DOUBLE_EQ(window->Zoom(), 1.25);
  EXPECT_EQ(window->ZoomBox()->currentText(), "125%");
  EXPECT_EQ(window->width(), 800);
  EXPECT_EQ(window->height(), 500);
}

TEST_F(EditorTest, WithoutAHostTheDrawingCommandsAreNotOffered) {
  host->inside = false;
  Open();
  for (int id : {kTbEditDrawn, kTbSelectImage, kTbDrawImage}) {
    EXPECT_FALSE(window->FileToolbar()->actions().contains(window->Action(id))) << id;
    EXPECT_FALSE(window->RunCommand(id)) << id;
  }
  EXPECT_TRUE(window->FileToolbar()->actions().contains(window->Action(kTbOpen)));
}

// Each toolbar button and menu item shows its own picture: no two commands share one, and a
// button that repeats a menu item shows that item's.
TEST_F(EditorTest, EveryButtonHasAPictureOfItsOwn) {
  Open();
  std::map<int, QImage> seen;
  for (QToolBar* bar : {window->FileToolbar(), window->FormatToolbar()})
    for (QAction* a : bar->actions()) {
      if (a->isSeparator() || a->data().isNull()) continue;
      ASSERT_FALSE(a->icon().isNull()) << a->data().toInt();
      seen[a->data().toInt()] = a->icon().pixmap(16, 16).toImage();
    }
  for (QAction* title : window->Menus()->actions())
    for (QAction* a : title->menu()->actions())
      if (!a->isSeparator() && a->isVisible()) {
        ASSERT_FALSE(a->icon().isNull()) << a->text().toStdString();
        seen[a->data().toInt()] = a->icon().pixmap(16, 16).toImage();
      }
  window->SetFullEditing(false);
  seen[kTbFullEditing] = window->Action(kTbFullEditing)->icon().pixmap(16, 16).toImage();
  EXPECT_GE(seen.size(), 35u);
  for (auto a = seen.begin(); a != seen.end(); ++a) {
    EXPECT_FALSE(a->second.isNull()) << a->first;
    for (auto b = std::next(a); b != seen.end(); ++b) EXPECT_NE(a->second, b->second) << a->first << " " << b->first;
  }
}

}  // namespace
}  // namespace vex::test
