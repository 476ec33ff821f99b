// Selecting, merging and resizing with the mouse and keys.

#include "grid_widget_fixture.h"

#include <QScrollBar>

namespace vex::test {
namespace {

using MouseTest = GridWidgetTest;

// Drags with the left button from `from` to `to` (viewport points) in a few steps.
void Drag(QWidget* w, QPoint from, QPoint to) {
  QTest::mousePress(w, Qt::LeftButton, {}, from);
  for (int i = 1; i <= 4; ++i) QTest::mouseMove(w, from + (to - from) * i / 4);
  QTest::mouseRelease(w, Qt::LeftButton, {}, to);
}

TEST_F(MouseTest, DraggingSelectsAndMergeMakesOneBlock) {
  Build();
  Drag(View(), Centre(2, 1), Centre(3, 3));
  EXPECT_EQ(grid->SelectedCellRange(), (CellRange{2, 1, 3, 3}));
  const auto changed = Notes(kGridSelChanged);
  ASSERT_FALSE(changed.empty());
  EXPECT_EQ(std::pair(changed.back().row, changed.back().column), std::pair(3, 3));
  grid->MergeSelectedCells();
  EXPECT_EQ(grid->MergedExtent(2, 1), QSize(240, 60));
  EXPECT_EQ(Text(2, 1), "2,1");
  // Clicking any cell of the block selects the block.
  Click(3, 2);
  EXPECT_EQ(grid->SelectedCellRange(), (CellRange{2, 1, 3, 3}));
  EXPECT_EQ(grid->FocusCell(), (CellPos{2, 1}));
  // Dragging from outside into the block takes the whole block.
  Drag(View(), Centre(1, 2), Centre(2, 2));
  EXPECT_EQ(grid->SelectedCellRange(), (CellRange{1, 1, 3, 3}));
  grid->SetSelectedRange({3, 3, 3, 3});
  grid->UnmergeSelectedCells();
  EXPECT_FALSE(grid->Model().IsInBlock(2, 1));
  EXPECT_EQ(Text(3, 3), "3,3");
  grid->SetSelectedRange({4, 4, 4, 4});
  grid->MergeSelectedCells();  // one cell: nothing
  EXPECT_EQ(grid->Model().BlockCount(), 0);
}

TEST_F(MouseTest, HeaderClicksSelectColumnsRowsAndAll) {
  Build();
  grid->MergeCells({2, 2, 2, 3});
  Click(0, 2);
  EXPECT_EQ(grid->SelectedCellRange(), (CellRange{1, 2, 6, 3}));  // grown to the block
  Drag(View(), Centre(2, 0), Centre(4, 0));
  EXPECT_EQ(grid->SelectedCellRange(), (CellRange{2, 1, 4, 5}));
  Click(0, 0);
  EXPECT_EQ(grid->SelectedCellRange(), (CellRange{1, 1, 6, 5}));
}

TEST_F(MouseTest, KeysMoveAndShiftExtends) {
  Build();
  Click(2, 2);
  Key(Qt::Key_Right, Qt::ShiftModifier);
  Key(Qt::Key_Down, Qt::ShiftModifier);
  EXPECT_EQ(grid->SelectedCellRange(), (CellRange{2, 2, 3, 3}));
  EXPECT_EQ(grid->FocusCell(), (CellPos{3, 3}));
  Key(Qt::Key_Left);
  EXPECT_EQ(grid->SelectedCellRange(), (CellRange{3, 2, 3, 2}));
  Key(Qt::Key_End, Qt::ControlModifier);
  EXPECT_EQ(grid->FocusCell(), (CellPos{6, 5}));
  Key(Qt::Key_Home);
  EXPECT_EQ(grid->FocusCell(), (CellPos{6, 1}));
  Key(Qt::Key_A, Qt::ControlModifier);
  EXPECT_EQ(grid->SelectedCellRange(), (CellRange{1, 1, 6, 5}));
  Key(Qt::Key_Return);  // stays in the grid and changes nothing
  EXPECT_FALSE(grid->IsEditing());
}

// Drags the boundary right of header column `col` by dx pixels.
void DragColumnBoundary(GridHarness& t, int col, int dx) {
  const QRect header = t.grid->CellRectOf(0, col);
  const QPoint edge(header.right() + 1, header.center().y());
  QTest::mousePress(t.View(), Qt::LeftButton, {}, edge);
  QTest::mouseMove(t.View(), edge + QPoint(dx, 0));
  QTest::mouseRelease(t.View(), Qt::LeftButton, {}, edge + QPoint(dx, 0));
}

TEST_F(MouseTest, ResizingAColumnInsideAndAcrossAMergedBlock) {
  Build();
  grid->MergeCells({2, 2, 3, 4});  // columns 2..4
  DragColumnBoundary(*this, 2, 30);  // a boundary inside the block
  EXPECT_EQ(grid->ColumnWidth(2), 110);
  EXPECT_EQ(grid->MergedExtent(2, 2).width(), 270);
  DragColumnBoundary(*this, 4, -50);  // the block's right edge
  EXPECT_EQ(grid->ColumnWidth(4), 30);
  EXPECT_EQ(grid->MergedExtent(3, 3).width(), 220);
  DragColumnBoundary(*this, 3, -200);  // below zero: hidden
  EXPECT_EQ(grid->ColumnWidth(3), 0);
  // A drag starting just right of the hidden column's boundary opens it again.
  const QRect next = grid->CellRectOf(0, 4);
  QTest::mousePress(View(), Qt::LeftButton, {}, QPoint(next.left(), 5));
  QTest::mouseMove(View(), QPoint(next.left() + 40, 5));
  QTest::mouseRelease(View(), Qt::LeftButton, {}, QPoint(next.left() + 40, 5));
  EXPECT_EQ(grid->ColumnWidth(3), 40);
  // Rows, from the header column.
  const QRect rowHeader = grid->CellRectOf(1, 0);
  QTest::mousePress(View(), Qt::LeftButton, {}, QPoint(10, rowHeader.bottom() + 1));
  QTest::mouseMove(View(), QPoint(10, rowHeader.bottom() + 21));
  QTest::mouseRelease(View(), Qt::LeftButton, {}, QPoint(10, rowHeader.bottom() + 21));
  EXPECT_EQ(grid->RowHeight(1), 50);
  // With resizing off the header click selects instead.
  grid->SetColumnResize(false);
  DragColumnBoundary(*this, 1, 20);
  EXPECT_EQ(grid->ColumnWidth(1), 80);
}

TEST_F(MouseTest, DraggingPastTheEdgeScrolls) {
  Build(40, 5);
  const int before = grid->verticalScrollBar()->value();
  QTest::mousePress(View(), Qt::LeftButton, {}, Centre(2, 2));
  QTest::mouseMove(View(), QPoint(Centre(2, 2).x(), View()->height() + 30));
  QTest::qWait(200);
  QTest::mouseRelease(View(), Qt::LeftButton, {}, QPoint(Centre(2, 2).x(), View()->height() + 30));
  EXPECT_GT(grid->verticalScrollBar()->value(), before);
  EXPECT_GT(grid->SelectedCellRange().maxRow, 12);
}

TEST_F(MouseTest, RightClickAndWheel) {
  Build(40, 5);
  QTest::mouseClick(View(), Qt::RightButton, {}, Centre(2, 3));
  QTest::mouseClick(View(), Qt::RightButton, {}, QPoint(590, 390));  // below the last column
  const auto clicks = Notes(kGridRightClick);
  ASSERT_EQ(clicks.size(), 2u);
  EXPECT_EQ(std::pair(clicks[0].row, clicks[0].column), std::pair(2, 3));
  EXPECT_EQ(std::pair(clicks[1].row, clicks[1].column), std::pair(-1, -1));
  QWheelEvent wheel(QPointF(100, 100), View()->mapToGlobal(QPointF(100, 100)), {}, QPoint(0, -120), Qt::NoButton,
                    Qt::NoModifier, Qt::NoScrollPhase, false);
  QCoreApplication::sendEvent(View(), &wheel);
  EXPECT_EQ(grid->verticalScrollBar()->value(), 30 * QApplication::wheelScrollLines());
}

}  // namespace
}  // namespace vex::test
