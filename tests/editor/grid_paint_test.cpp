// What the grid looks like: pixels of the widget (grab) where the drawing rules matter.

#include "grid_widget_fixture.h"

#include <QPainter>
#include <QScrollBar>

#include <tuple>

#include "editor/grid/qpainter_canvas.h"

namespace vex::test {
namespace {

using PaintTest = GridWidgetTest;

constexpr QRgb kGridLine = qRgb(0xC0, 0xC0, 0xC0);

// Rows 2..3 x columns 1..3 merged, holding "X"; no other text.
void MergedBlock(GridHarness& t) {
  GridModel& m = t.grid->Model();
  for (int r = 1; r < m.RowCount(); ++r)
    for (int c = 1; c < m.ColumnCount(); ++c) m.SetText(r, c, "");
  m.SetText(2, 1, "X");
  m.SetText(3, 2, "hidden");  // a covered cell's own text never shows
  t.grid->MergeCells({2, 1, 3, 3});
}

TEST_F(PaintTest, AMergedBlockHasNoInnerLinesAndItsTextIsCentredInTheWholeBlock) {
  Build();
  MergedBlock(*this);
  const QImage image = Grab();
  const QRect block = grid->CellRectOf(2, 1);
  EXPECT_EQ(block.size(), QSize(240, 60));
  // The inner boundaries of the block: white; the same boundaries outside it: grid lines.
  const int innerX = grid->CellRectOf(1, 1).right(), innerY = grid->CellRectOf(2, 2).top() + 29;
  EXPECT_EQ(image.pixel(innerX, block.top() + 5), qRgb(255, 255, 255));
  EXPECT_EQ(image.pixel(innerX, grid->CellRectOf(4, 1).center().y()), kGridLine);
  EXPECT_EQ(image.pixel(block.left() + 5, innerY), qRgb(255, 255, 255));
  EXPECT_EQ(image.pixel(block.right(), block.center().y()), kGridLine);  // its own edge stays
  const QRect text = DarkPixels(image, block.adjusted(1, 1, -2, -2));
  ASSERT_FALSE(text.isEmpty());
  EXPECT_LE(std::abs(text.center().x() - block.center().x()), 1) << text.center().x();
  EXPECT_LE(std::abs(text.center().y() - block.center().y()), 2) << text.center().y();
  EXPECT_LT(text.width(), 15);  // only the "X"
}

TEST_F(PaintTest, ABlockWhoseOwnerIsScrolledAwayIsDrawnWhole) {
  Build(30, 5);
  GridModel& m = grid->Model();
  for (int r = 1; r <= 30; ++r)
    for (int c = 1; c <= 5; ++c) m.SetText(r, c, "");
  m.SetText(2, 2, "O");
  grid->MergeCells({2, 2, 9, 3});  // 8 rows: 240 pixels
  grid->verticalScrollBar()->setValue(60);  // rows 1 and 2 (the owner's) out of view
  QApplication::processEvents();
  ASSERT_EQ(VisibleBody(m, grid->View()).firstRow, 3);
  const QImage image = Grab();
  const QRect block = grid->CellRectOf(2, 2);  // starts above the window
  ASSERT_LT(block.top(), 24);
  // No row line crosses the visible part of the block; the owner's text sits at the centre
  // of the whole block.
  for (int r = 3; r < 9; ++r) {
    const int y = grid->CellRectOf(r, 1).bottom();
    EXPECT_EQ(image.pixel(block.left() + 3, y), qRgb(255, 255, 255)) << r;
    EXPECT_EQ(image.pixel(block.left() - 3, y), kGridLine) << r;
  }
  const QRect text = DarkPixels(image, block.intersected(QRect(41, 25, 500, 300)).adjusted(1, 1, -2, -2));
  ASSERT_FALSE(text.isEmpty());
  EXPECT_LE(std::abs(text.center().y() - block.center().y()), 2);
  EXPECT_LE(std::abs(text.center().x() - block.center().x()), 1);
}

TEST_F(PaintTest, ThreeCentredLinesAreCentredAsABlock) {
  Build();
  GridModel& m = grid->Model();
  grid->SetRowHeight(2, 120);
  for (int c = 1; c <= 3; ++c) m.SetText(2, c, "I\r\nI\r\nI");
  m.SetFormat(2, 1, 5);   // centre
  m.SetFormat(2, 2, 9);   // bottom
  m.SetFormat(2, 3, 1);   // top
  const QImage image = Grab();
  const auto textOf = [&](int c) { return DarkPixels(image, grid->CellRectOf(2, c).adjusted(1, 1, -2, -2)); };
  const QRect centred = textOf(1), bottom = textOf(2), top = textOf(3);
  const QRect cell = grid->CellRectOf(2, 1);
  const int lineHeight = grid->Painter().LineHeight(15);
  EXPECT_GT(centred.height(), 2 * lineHeight);  // three lines, one block
  EXPECT_LE(std::abs(centred.center().y() - cell.center().y()), 3);
  EXPECT_GT(bottom.bottom(), cell.bottom() - lineHeight);
  EXPECT_LT(top.top(), cell.top() + lineHeight);
  EXPECT_EQ(centred.height(), bottom.height());
}

TEST_F(PaintTest, APictureAtScaleZeroLooksLikeScaleOne) {
  Build();
  GridModel& m = grid->Model();
  CellImage picture;
  picture.images.Append(std::make_unique<JCircle>(Point2d{5, 5}, 5));
  picture.images.Append(std::make_unique<JLine>(Point2d{0, 0}, Point2d{20, 10}));
  for (const auto& [col, scale] : {std::pair{1, 0.0}, {2, 1.0}, {3, 2.0}}) {
    m.SetKind(2, col, kImageCell);
    picture.dScael = scale;
    m.SetPicture(2, col, picture);
  }
  grid->Redraw();
  const QImage image = Grab();
  const auto cellImage = [&](int c) { return image.copy(grid->CellRectOf(2, c)); };
  EXPECT_EQ(cellImage(1), cellImage(2));
  EXPECT_NE(cellImage(2), cellImage(3));
  // The picture is drawn: grey pixels inside the cell.
  const QRect drawn = DarkPixels(image, grid->CellRectOf(2, 2).adjusted(1, 1, -2, -2), 200);
  EXPECT_GT(drawn.width(), 40);
  EXPECT_GT(drawn.height(), 20);
}

TEST_F(PaintTest, SelectionAndFocusShowAndHeadersPressForTheFocus) {
  Build();
  grid->SetSelectedRange({2, 2, 3, 3}, {3, 3});
  const QImage image = Grab();
  const QColor highlight = grid->Painter().Colours().highlight;
  EXPECT_EQ(image.pixel(grid->CellRectOf(2, 2).topLeft() + QPoint(3, 3)), highlight.rgb());
  EXPECT_EQ(image.pixel(grid->CellRectOf(3, 3).topLeft()), grid->Painter().Colours().text.rgb());  // focus frame
  EXPECT_NE(image.pixel(grid->CellRectOf(4, 4).topLeft() + QPoint(3, 3)), highlight.rgb());
}

TEST_F(PaintTest, GridLineModesAndColour) {
  Build();
  const QPoint vertical(grid->CellRectOf(4, 2).right(), grid->CellRectOf(4, 2).center().y());
  const QPoint horizontal(grid->CellRectOf(4, 2).left() + 5, grid->CellRectOf(4, 2).bottom());
  const std::tuple<int, QRgb, QRgb> cases[] = {{0, qRgb(255, 255, 255), qRgb(255, 255, 255)},
                                               {1, qRgb(255, 255, 255), kGridLine},
                                               {2, kGridLine, qRgb(255, 255, 255)},
                                               {3, kGridLine, kGridLine}};
  for (const auto& [mode, v, h] : cases) {
    grid->SetGridLines(mode);
    const QImage image = Grab();
    EXPECT_EQ(image.pixel(vertical), v) << mode;
    EXPECT_EQ(image.pixel(horizontal), h) << mode;
  }
  grid->SetGridLineColour(Qt::red);
  EXPECT_EQ(Grab().pixel(vertical), qRgb(255, 0, 0));
}

// The canvas's arcs and texts, which no cell picture of today uses.
TEST(QPainterCanvasTest, ArcsAndTextFollowTheMapping) {
  QImage image(100, 100, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter p(&image);
  p.setPen(QPen(Qt::black, 0));
  PictureMapping m;  // 1 logical unit = 1 pixel, origin at the top-left, y up
  m.scale = 1;
  m.originX = 0;
  m.originY = 100;
  QPainterCanvas canvas(p, m);
  canvas.Arc({50, 50}, 20, 0, 90);  // the upper-right quarter
  canvas.Text({10, 20}, 12, "T");
  p.end();
  EXPECT_FALSE(DarkPixels(image, QRect(68, 46, 4, 3)).isEmpty());  // the start, right of the centre
  EXPECT_FALSE(DarkPixels(image, QRect(48, 28, 5, 4)).isEmpty());  // the end, above it
  EXPECT_TRUE(DarkPixels(image, QRect(26, 46, 8, 8)).isEmpty());   // nothing on the left
  EXPECT_TRUE(DarkPixels(image, QRect(46, 66, 8, 8)).isEmpty());   // nor below
  EXPECT_FALSE(DarkPixels(image, QRect(8, 65, 20, 16)).isEmpty());
}

}  // namespace
}  // namespace vex::test
