// Cut, copy and paste through the keys and the system clipboard, and drag and drop.

#include "grid_widget_fixture.h"

#include <ostream>

#include <QClipboard>
#include <QDrag>
#include <QMimeData>

#include "editor/grid/grid_mime.h"
#include "model/table_clipboard_json.h"

namespace vex::test {
namespace {

using ClipboardTest = GridWidgetTest;

QClipboard* Clipboard() { return QGuiApplication::clipboard(); }

void PutText(const QString& text) { Clipboard()->setText(text); }

TEST_F(ClipboardTest, CopyOfTwoByTwoIsTabsLineFeedsAndAZeroByte) {
  Build();
  grid->Model().SetText(1, 1, "a");
  grid->Model().SetText(1, 2, "b");
  grid->Model().SetText(2, 1, "c");
  grid->Model().SetText(2, 2, "d");
  Click(1, 1);
  Click(2, 2, Qt::ShiftModifier);
  Key(Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(Clipboard()->text(), QString::fromUtf8("a\tb\nc\td\0", 8));
  const QMimeData* mime = Clipboard()->mimeData();
  ASSERT_TRUE(mime->hasFormat(kTableMimeType));
  ASSERT_TRUE(mime->hasHtml());
  EXPECT_TRUE(mime->html().contains("<td style=\"text-align:center;vertical-align:middle\">d</td>"));
  EXPECT_EQ(grid->TableClipboard().nRows, 2);
  Key(Qt::Key_Insert, Qt::ControlModifier);  // Ctrl+Insert copies too
  EXPECT_EQ(Clipboard()->text().size(), 8);
}

TEST_F(ClipboardTest, PasteOfCommaAndTabFillsThreeCells) {
  Build();
  PutText("1,2\t3");
  Click(2, 2);
  Key(Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(Text(2, 2), "1");
  EXPECT_EQ(Text(2, 3), "2");
  EXPECT_EQ(Text(2, 4), "3");
  EXPECT_EQ(Text(2, 5), "2,5");
  EXPECT_EQ(grid->LastPastedRange(), (CellRange{2, 2, 2, 4}));
  EXPECT_FALSE(grid->IsCellSelected(2, 2));  // pasted cells are deselected
  EXPECT_EQ(Notes(kGridEndEdit).size(), 3u);
  PutText("x");
  Key(Qt::Key_Insert, Qt::ShiftModifier);
  EXPECT_EQ(Text(2, 2), "x");
}

TEST_F(ClipboardTest, CopyAndPasteCarryMergesBetweenGrids) {
  Build();
  grid->MergeCells({1, 1, 2, 2});
  grid->Model().SetFormat(1, 1, 10);
  grid->SetSelectedRange({1, 1, 2, 3});
  grid->CopySelectedText();

  GridHarness other;
  other.Build();
  other.Click(3, 2);
  other.Key(Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(other.grid->Model().BlockOf(4, 3), (CellRange{3, 2, 4, 3}));
  EXPECT_EQ(other.Text(3, 2), "1,1");
  EXPECT_EQ(other.grid->Model().Format(3, 2), 10);
  EXPECT_EQ(other.Text(4, 4), "2,3");
}

TEST_F(ClipboardTest, CutOfAPictureCellLeavesAnEmptyPictureCell) {
  Build();
  GridModel& m = grid->Model();
  m.SetKind(2, 2, kImageCell);
  CellImage p;
  p.sBlockName = "VexTable0";
  p.images.Append(std::make_unique<JLine>(Point2d{0, 0}, Point2d{1, 1}));
  m.SetPicture(2, 2, p);
  Click(2, 2);
  Click(2, 3, Qt::ShiftModifier);
  Key(Qt::Key_X, Qt::ControlModifier);
  EXPECT_EQ(m.Kind(2, 2), kImageCell);
  EXPECT_EQ(m.Picture(2, 2), nullptr);
  EXPECT_EQ(Text(2, 3), "");
  EXPECT_EQ(m.Format(2, 3), 5);  // kind, format and font stay
  // The copy made by the cut still holds the picture.
  TableData t;
  std::string why;
  const QByteArray json = Clipboard()->mimeData()->data(kTableMimeType);
  ASSERT_TRUE(TableFromClipboardJson(json.toStdString(), {}, t, why)) << why;
  EXPECT_EQ(t.GetCell(0, 0).sBlockName, "VexTable0");
  EXPECT_EQ(t.GetCell(0, 0).picture.size(), 1u);
}

TEST_F(ClipboardTest, DeleteCutsWithoutCopyingAndHonoursVetoes) {
  Build();
  PutText("kept");
  veto = [](const GridNotification& n) { return n.code == kGridBeginEdit && n.column == 2; };
  Click(1, 1);
  Click(1, 2, Qt::ShiftModifier);
  Key(Qt::Key_Delete);
  EXPECT_EQ(Text(1, 1), "");
  EXPECT_EQ(Text(1, 2), "1,2");
  EXPECT_EQ(Clipboard()->text(), "kept");
}

struct BadPaste {
  const char* name;
  QByteArray payload;  // our MIME type
  QByteArray text;
  const char* cell22;  // text of (2, 2) after pasting at (2, 2)
};

// Test names and failure messages show the case by its name.
void PrintTo(const BadPaste& c, std::ostream* os) { *os << c.name; }

class BadPasteTest : public GridWidgetTest, public testing::WithParamInterface<BadPaste> {};

TEST_P(BadPasteTest, NoCrashNothingBeyondTheGridAndTheTextAsFallback) {
  Build(3, 3);
  auto* mime = new QMimeData;
  if (!GetParam().payload.isNull()) mime->setData(kTableMimeType, GetParam().payload);
  if (!GetParam().text.isNull()) mime->setData("text/plain", GetParam().text);
  Clipboard()->setMimeData(mime);
  Click(2, 2);
  grid->Model().Merge({1, 1, 1, 3});  // outside the pasted area: must survive
  Key(Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(Text(2, 2), GetParam().cell22);
  EXPECT_EQ(grid->Model().RowCount(), 4);
  EXPECT_EQ(grid->Model().ColumnCount(), 4);
  EXPECT_EQ(grid->Model().BlockOf(1, 2), (CellRange{1, 1, 1, 3}));
  EXPECT_EQ(Text(1, 1), "1,1");
}

QByteArray Big(const QByteArray& unit, int times) {
  QByteArray b;
  b.reserve(unit.size() * times);
  for (int i = 0; i < times; ++i) b += unit;
  return b;
}

INSTANTIATE_TEST_SUITE_P(
    Samples, BadPasteTest,
    testing::Values(
        BadPaste{"MalformedPayloadFallsBackToText", "{\"nRows\":", "plain", "plain"},
        BadPaste{"WrongTypesFallBackToText", R"({"nRows":"two","nCols":1})", "t", "t"},
        BadPaste{"DeepNestingFallsBackToText", QByteArray(200000, '['), "deep", "deep"},
        BadPaste{"HugeDeclaredTable", R"({"nRows":2000000000,"nCols":2000000000,"MergeRows":[[0,0,1999999999]],
                  "MergeCols":[[0,0,1999999999]],"Cells":[[{"strText":"big"}]]})", QByteArray(), "big"},
        BadPaste{"SpansFarOutside", R"({"nRows":1,"nCols":1,"MergeRows":[[2147483647,0,2147483647]],
                  "Cells":[[{"strText":"s","nType":99,"HorzMode":-7}]]})", QByteArray(), "s"},
        BadPaste{"TenMegabytesOfText", QByteArray(), Big("0123456789,abcdefghi\t", 500000), "0123456789"},
        BadPaste{"OneLongLine", QByteArray(), "x," + QByteArray(10 << 20, 'y'), "x"},
        BadPaste{"BinaryText", QByteArray(), QByteArray("\xff\xfe\x00zz", 5), "\xef\xbf\xbd\xef\xbf\xbd"},
        BadPaste{"NothingUsable", QByteArray(), QByteArray(), "2,2"}),
    [](const auto& info) { return std::string(info.param.name); });

// Runs a drag by dropping its data on `target` at `at`, as the platform's drag loop would.
std::function<Qt::DropAction(QDrag&)> DropOn(GridCtrl& target, QPoint at, Qt::KeyboardModifiers mods = {}) {
  return [&target, at, mods](QDrag& drag) {
    QDragEnterEvent enter(at, Qt::CopyAction | Qt::MoveAction, drag.mimeData(), Qt::LeftButton, mods);
    QCoreApplication::sendEvent(target.viewport(), &enter);
    QDragMoveEvent move(at, Qt::CopyAction | Qt::MoveAction, drag.mimeData(), Qt::LeftButton, mods);
    QCoreApplication::sendEvent(target.viewport(), &move);
    QDropEvent drop(QPointF(at), Qt::CopyAction | Qt::MoveAction, drag.mimeData(), Qt::LeftButton, mods);
    QCoreApplication::sendEvent(target.viewport(), &drop);
    return drop.isAccepted() ? drop.dropAction() : Qt::IgnoreAction;
  };
}

void DragFrom(GridHarness& t, int row, int col) {
  QTest::mousePress(t.View(), Qt::LeftButton, {}, t.Centre(row, col));
  QTest::mouseMove(t.View(), t.Centre(row, col) + QPoint(30, 30));
  QTest::mouseRelease(t.View(), Qt::LeftButton, {}, t.Centre(row, col) + QPoint(30, 30));
}

TEST_F(ClipboardTest, DragAndDropMovesASelectionWithinTheGrid) {
  Build();
  grid->MergeCells({1, 1, 1, 2});
  grid->SetSelectedRange({1, 1, 2, 2});
  grid->SetDragRunner(DropOn(*grid, Centre(4, 3)));
  DragFrom(*this, 2, 2);
  const auto drags = Notes(kGridBeginDrag);
  ASSERT_EQ(drags.size(), 1u);
  EXPECT_EQ(std::pair(drags[0].row, drags[0].column), std::pair(1, 1));
  EXPECT_EQ(grid->Model().BlockOf(4, 4), (CellRange{4, 3, 4, 4}));
  EXPECT_EQ(Text(4, 3), "1,1");
  EXPECT_EQ(Text(5, 4), "2,2");
  EXPECT_EQ(Text(1, 1), "");  // moved away
  EXPECT_EQ(Text(2, 2), "");
  EXPECT_EQ(grid->FocusCell(), (CellPos{4, 3}));
}

TEST_F(ClipboardTest, DragAndDropWithCtrlCopiesIntoAnotherGrid) {
  Build();
  GridHarness other;
  other.Build();
  grid->SetSelectedRange({3, 3, 3, 4});
  grid->SetDragRunner(DropOn(*other.grid, other.Centre(1, 1), Qt::ControlModifier));
  DragFrom(*this, 3, 3);
  EXPECT_EQ(other.Text(1, 1), "3,3");
  EXPECT_EQ(other.Text(1, 2), "3,4");
  EXPECT_EQ(Text(3, 3), "3,3");  // a copy leaves the source
  // Overlapping move inside one grid: the cells that landed on the source stay.
  grid->SetSelectedRange({1, 1, 1, 2});
  grid->SetDragRunner(DropOn(*grid, Centre(1, 2)));
  DragFrom(*this, 1, 1);
  EXPECT_EQ(Text(1, 1), "");
  EXPECT_EQ(Text(1, 2), "1,1");
  EXPECT_EQ(Text(1, 3), "1,2");
}

TEST_F(ClipboardTest, AClickOnTheSelectionThatIsNoDragSelectsThatCell) {
  Build();
  grid->SetSelectedRange({1, 1, 3, 3});
  Click(2, 2);
  EXPECT_EQ(grid->SelectedCellRange(), (CellRange{2, 2, 2, 2}));
  EXPECT_TRUE(Notes(kGridBeginDrag).empty());
}

}  // namespace
}  // namespace vex::test
