// In-place editing driven by keys and mouse: starting, ending, Tab wrapping, Escape, vetoes,
// and picture cells that ask the host instead.

#include "grid_widget_fixture.h"

#include "editor/grid/in_place_edit.h"

namespace vex::test {
namespace {

using EditTest = GridWidgetTest;

TEST_F(EditTest, DoubleClickEditsAndEnterStores) {
  Build();
  DoubleClick(2, 3);
  ASSERT_TRUE(grid->IsEditing());
  EXPECT_EQ(grid->InPlaceEditor()->toPlainText(), "2,3");
  Key(Qt::Key_End);
  Type(" more");
  Key(Qt::Key_Return, Qt::ControlModifier);  // a line break, not the end
  Type("x");
  Key(Qt::Key_Return);
  EXPECT_FALSE(grid->IsEditing());
  EXPECT_EQ(Text(2, 3), "2,3 more\r\nx");
  EXPECT_TRUE(grid->Model().IsModified(2, 3));
  const auto ends = Notes(kGridEndEdit);
  ASSERT_EQ(ends.size(), 1u);
  EXPECT_EQ(ends[0].endKey, Qt::Key_Return);
  EXPECT_EQ(ends[0].text, "2,3 more\r\nx");
  EXPECT_EQ(std::pair(ends[0].row, ends[0].column), std::pair(2, 3));
  EXPECT_EQ(Notes(kGridBeginEdit).size(), 1u);
}

TEST_F(EditTest, TypingIntoTheFocusCellReplacesItsText) {
  Build();
  Click(1, 1);
  Type("Q");
  ASSERT_TRUE(grid->IsEditing());
  Type("rs");
  Key(Qt::Key_Return);
  EXPECT_EQ(Text(1, 1), "Qrs");
  Key(Qt::Key_F2);  // F2 keeps the text and puts the caret at its end
  Type("t");
  Key(Qt::Key_Return);
  EXPECT_EQ(Text(1, 1), "Qrst");
}

TEST_F(EditTest, EscapeRestoresTheText) {
  Build();
  Click(3, 2);
  Key(Qt::Key_F2);
  Type("changed");
  Key(Qt::Key_Escape);
  EXPECT_FALSE(grid->IsEditing());
  EXPECT_EQ(Text(3, 2), "3,2");
  EXPECT_FALSE(grid->Model().IsModified(3, 2));
  EXPECT_EQ(Notes(kGridEndEdit).back().endKey, Qt::Key_Escape);
}

TEST_F(EditTest, TabEndsTheEditAndWrapsToTheNextRow) {
  Build(3, 2);
  Click(1, 2);  // last column
  Type("a");
  Key(Qt::Key_Tab);
  EXPECT_EQ(Text(1, 2), "a");
  ASSERT_TRUE(grid->IsEditing());  // reopened on the next cell
  EXPECT_EQ(grid->FocusCell(), (CellPos{2, 1}));
  Type("b");
  Key(Qt::Key_Tab);
  EXPECT_EQ(Text(2, 1), "b");
  EXPECT_EQ(grid->FocusCell(), (CellPos{2, 2}));
  Key(Qt::Key_Escape);
  Key(Qt::Key_Tab, Qt::ShiftModifier);  // Shift+Tab in the grid goes back
  EXPECT_EQ(grid->FocusCell(), (CellPos{2, 1}));
  Key(Qt::Key_Tab, Qt::ShiftModifier);
  EXPECT_EQ(grid->FocusCell(), (CellPos{1, 2}));
}

TEST_F(EditTest, LosingTheFocusEndsTheEdit) {
  Build();
  Click(2, 2);
  Type("z");
  Click(4, 4);
  EXPECT_FALSE(grid->IsEditing());
  EXPECT_EQ(Text(2, 2), "z");
  EXPECT_EQ(Notes(kGridEndEdit).back().endKey, 0);
}

TEST_F(EditTest, TheEditorWidensWithTheTextWithinTheWindow) {
  Build();
  Click(1, 1);
  Type("w");
  const int start = grid->InPlaceEditor()->width();
  Type(QString(40, QLatin1Char('W')));
  EXPECT_GT(grid->InPlaceEditor()->width(), start);
  EXPECT_LE(grid->InPlaceEditor()->geometry().right(), View()->width());
  Key(Qt::Key_Escape);
}

TEST_F(EditTest, TheParentCanVetoBeginAndEnd) {
  Build();
  veto = [](const GridNotification& n) { return n.code == kGridBeginEdit && n.row == 2; };
  Click(2, 2);
  Type("x");
  EXPECT_FALSE(grid->IsEditing());
  EXPECT_EQ(Text(2, 2), "2,2");

  veto = [](const GridNotification& n) { return n.code == kGridEndEdit; };
  Click(3, 3);
  Type("y");
  Key(Qt::Key_Return);
  EXPECT_EQ(Text(3, 3), "3,3");  // the old text is put back
  EXPECT_FALSE(grid->Model().IsModified(3, 3));
}

TEST_F(EditTest, APictureCellAsksTheHostAndNeverOpensTheEditor) {
  Build();
  std::vector<std::string> posted;
  bool document = true;
  grid->SetCommandPoster({[&] { return document; }, [&](const std::string& c) { posted.push_back(c); }});
  grid->Model().SetKind(2, 2, kImageCell);
  DoubleClick(2, 2);
  Key(Qt::Key_F2);
  Type("a");
  EXPECT_FALSE(grid->IsEditing());
  EXPECT_EQ(posted, (std::vector<std::string>(3, "VEXTABLE_SELECTIMAGE")));
  document = false;  // no document: nothing is posted
  Key(Qt::Key_F2);
  EXPECT_EQ(posted.size(), 3u);
}

TEST_F(EditTest, MergedBlocksAreEditedThroughTheirOwner) {
  Build();
  grid->MergeCells({2, 2, 3, 3});
  QTest::mouseDClick(View(), Qt::LeftButton, {}, Centre(3, 3) + QPoint(30, 10));  // no click first
  ASSERT_TRUE(grid->IsEditing());
  EXPECT_EQ(grid->InPlaceEditor()->geometry(), grid->CellRectOf(2, 2));
  Type("!");
  Key(Qt::Key_Return);
  EXPECT_EQ(Text(2, 2), "2,2!");
  EXPECT_EQ(Text(3, 3), "3,3");
}

}  // namespace
}  // namespace vex::test
