#pragma once
// A grid control as the editor sets it up, shown offscreen, with helpers that press keys and
// click cells the way a user does, and that record the notifications.

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QTest>

#include <memory>
#include <vector>

#include "editor/grid/grid_ctrl.h"

namespace vex::test {

// One grid control and what the tests do with it; a test may hold a second one.
class GridHarness {
 public:
  // `rows` x `cols` ordinary cells of 30 x 80 pixels, headers 24 x 40, cells holding "r,c"
  // (format 5), editable, drag and drop on, in a 600 x 400 window.
  void Build(int rows = 6, int cols = 5) {
    grid = std::make_unique<GridCtrl>();
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(12);
    grid->setFont(font);
    grid->resize(600, 400);
    GridModel& m = grid->Model();
    m.SetRowCount(rows + 1);
    m.SetColumnCount(cols + 1);
    m.SetFixedRowCount(1);
    m.SetFixedColumnCount(1);
    m.SetRowHeight(0, 24);
    m.SetColumnWidth(0, 40);
    for (int r = 1; r <= rows; ++r) m.SetRowHeight(r, 30);
    for (int c = 1; c <= cols; ++c) m.SetColumnWidth(c, 80);
    for (int r = 1; r <= rows; ++r)
      for (int c = 1; c <= cols; ++c) {
        m.SetText(r, c, std::to_string(r) + "," + std::to_string(c));
        m.SetFormat(r, c, 5);
        m.SetFontHeight(r, c, 15);
      }
    grid->SetDragAndDrop(true);
    grid->UpdateScrollBars();
    QObject::connect(grid.get(), &GridCtrl::Notify, [this](GridNotification* n) {
      notes.push_back(*n);
      if (veto && veto(*n)) n->result = -1;
    });
    grid->show();
    QApplication::setActiveWindow(grid.get());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(grid.get()));
    grid->setFocus();
  }

  QWidget* View() const { return grid->viewport(); }
  QPoint Centre(int row, int col) const { return grid->CellRectOf(row, col).center(); }
  void Click(int row, int col, Qt::KeyboardModifiers mods = {}) {
    QTest::mouseClick(View(), Qt::LeftButton, mods, Centre(row, col));
  }
  // A double click as the platform delivers it: press, release, double click, release.
  void DoubleClick(int row, int col) {
    Click(row, col);
    QTest::mouseDClick(View(), Qt::LeftButton, {}, Centre(row, col));
    QTest::mouseRelease(View(), Qt::LeftButton, {}, Centre(row, col));
  }
  void Key(int key, Qt::KeyboardModifiers mods = {}) { QTest::keyClick(Target(), static_cast<Qt::Key>(key), mods); }
  // Types character by character; the first one may open the editor, which takes the rest.
  void Type(const QString& text) {
    for (const QChar ch : text) QTest::keyClicks(Target(), QString(ch));
  }
  // Where keys go: the in-place editor while it is open, else the grid.
  QWidget* Target() const {
    return grid->InPlaceEditor() ? static_cast<QWidget*>(grid->InPlaceEditor()) : grid.get();
  }
  const std::string& Text(int row, int col) const { return grid->Model().Text(row, col); }
  // Notifications of one code.
  std::vector<GridNotification> Notes(int code) const {
    std::vector<GridNotification> out;
    for (const auto& n : notes)
      if (n.code == code) out.push_back(n);
    return out;
  }
  QImage Grab() const { return View()->grab().toImage().convertToFormat(QImage::Format_RGB32); }

  std::unique_ptr<GridCtrl> grid;
  std::vector<GridNotification> notes;
  std::function<bool(const GridNotification&)> veto;
};

class GridWidgetTest : public testing::Test, public GridHarness {};

// Bounding box of the pixels inside `area` that are darker than `level` (text), empty when none.
inline QRect DarkPixels(const QImage& image, const QRect& area, int level = 110) {
  QRect box;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x)
      if (qGray(image.pixel(x, y)) < level) box = box.united(QRect(x, y, 1, 1));
  return box;
}

}  // namespace vex::test
