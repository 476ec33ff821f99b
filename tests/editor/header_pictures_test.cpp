// Inserting a header with pictures into an editor whose table has pictures of its own: both
// sets stay, in the editor and in the file it saves.

#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <string>
#include <vector>

#include "cadhost/sdk/cadhost.h"
#include "editor/grid/grid_ctrl.h"
#include "editor_window_fixture.h"
#include "files/header_library.h"
#include "files/table_init_dialog.h"
#include "model/editor_commands.h"
#include "pictures/cell_capture.h"
#include "pictures/image_store.h"
#include "pictures/picture_merge.h"
#include "support/drawing.h"
#include "support/tables.h"

namespace vex::test {
namespace {

using namespace editor_cmd;

// Captures `entity` from a scratch drawing into `store` as a cell picture; returns the image cell.
TableCell CapturedCell(AcDbEntity* entity, ImageStore& store) {
  AcDbDatabase drawing(true, true);
  const AcDbObjectId id = AddToModelSpace(drawing, entity);
  TableCell cell;
  cell.nType = kImageCell;
  AcDbObjectId block;
  RecordingSink sink;
  EXPECT_TRUE(CaptureImage({id}, &drawing, cell.sBlockName, &store.Ensure(), block, cell.picture, sink));
  return cell;
}

struct ImageAt {
  int row, col;
  TableCell cell;
};

std::vector<ImageAt> ImageCells(const TableData& t) {
  std::vector<ImageAt> out;
  for (int r = 0; r < t.nRows; ++r)
    for (int c = 0; c < t.nCols; ++c)
      if (t.GetCell(r, c).IsImage() && !t.GetCell(r, c).sBlockName.empty()) out.push_back({r, c, t.GetCell(r, c)});
  return out;
}

class HeaderPicturesTest : public EditorWindowTest {
 protected:
  void SetUp() override {
    EditorWindowTest::SetUp();
    // The editor's table: a circle in cell (1, 1). Both pictures lie at the origin, so that
    // their previews are what a reload rebuilds from the blocks.
    table_ = NamedTable(3, 3, 10, 30);
    table_.rows[1].cells[1] = CapturedCell(new AcDbCircle(AcGePoint3d(4, 4, 0), AcGeVector3d(0, 0, 1), 4), host->store);
    // The header: a rectangle in cell (0, 1), captured into a store of its own, so that its
    // block gets the same first name as the editor's circle.
    ImageStore headerStore;
    TableData header = NamedTable(2, 2, 12, 20);
    header.rows[0].cells[1] = CapturedCell(NewRectangle(0, 0, 8, 6), headerStore);
    ASSERT_EQ(header.GetCell(0, 1).sBlockName, table_.GetCell(1, 1).sBlockName);
    HeaderLibrary library(install.where().headerRoot);
    ASSERT_TRUE(library.SaveHeader(header, "Valves", "Pipes", kVerticalHeader, headerStore));
    // Reference copies of both pictures, to compare the store's blocks with.
    circle_ = table_.GetCell(1, 1);
    square_ = header.GetCell(0, 1);
    reference_.Replace(std::make_unique<AcDbDatabase>(true, true));
    AcDbObjectId ignored;
    ASSERT_EQ(reference_.Get()->insert(ignored, "Circle", Blocks(*host->store.Get(), circle_.sBlockName).get()),
              Acad::eOk);
    ASSERT_EQ(reference_.Get()->insert(ignored, "Square", Blocks(*headerStore.Get(), square_.sBlockName).get()),
              Acad::eOk);
  }

  // A drawing whose model space holds the entities of block `name` of `db`.
  static std::unique_ptr<AcDbDatabase> Blocks(AcDbDatabase& db, const std::string& name) {
    AcDbObjectIdArray ids;
    SilentSink quiet;
    EXPECT_TRUE(EnumerateBlock(&db, name, ids, quiet));
    std::unique_ptr<AcDbDatabase> out;
    EXPECT_EQ(db.wblock(out, ids, AcGePoint3d()), Acad::eOk);
    return out;
  }

  void InsertTheHeaderAt(int gridRow, int gridCol) {
    Click(gridRow, gridCol);
    QTimer::singleShot(0, [] {
      auto* d = qobject_cast<TableInitDialog*>(QApplication::activeModalWidget());
      if (d == nullptr) {
        ADD_FAILURE() << "the table initialization dialog did not show";
        return;
      }
      d->HeaderBox()->setFocus();
      QTest::keyClick(d->HeaderBox(), Qt::Key_Home);
      QTest::keyClick(d->HeaderBox(), Qt::Key_Down);
      QTest::mouseClick(d->OkButton(), Qt::LeftButton);
    });
    Press(kTbInsertHeader);
  }

  // The image cells of the editor's table name the circle and the square, each with its
  // preview, and the store holds both pictures under those names.
  void ExpectBothPictures(const std::vector<ImageAt>& images, ImageStore& store) {
    ASSERT_EQ(images.size(), 2u);
    EXPECT_EQ(images[0].row, 1);
    EXPECT_EQ(images[0].col, 1);
    EXPECT_EQ(images[0].cell.sBlockName, circle_.sBlockName);
    EXPECT_NE(images[1].cell.sBlockName, circle_.sBlockName);
    EXPECT_EQ(images[0].cell.picture, circle_.picture);
    EXPECT_EQ(images[1].cell.picture, square_.picture);
    ASSERT_TRUE(store);
    EXPECT_TRUE(SamePicture(*store.Get(), images[0].cell.sBlockName, *reference_.Get(), "Circle"));
    EXPECT_TRUE(SamePicture(*store.Get(), images[1].cell.sBlockName, *reference_.Get(), "Square"));
  }

  TableData table_;
  TableCell circle_, square_;
  ImageStore reference_;
};

TEST_F(HeaderPicturesTest, InsertedHeaderKeepsTheEditorsPicturesAndBringsItsOwn) {
  Open(&table_);
  InsertTheHeaderAt(3, 1);  // table row 2, column 0
  const std::vector<ImageAt> images = ImageCells(Taken());
  ExpectBothPictures(images, host->store);
  EXPECT_EQ(images[1].row, 2);
  EXPECT_EQ(images[1].col, 1);

  // Both cells paint their picture: the cell rectangles are not blank.
  const QImage shot = window->Grid().viewport()->grab().toImage();
  for (const ImageAt& at : images) {
    const QRect r = Grid().CellRectOf(at.row + 1, at.col + 1).adjusted(2, 2, -2, -2);
    const QRgb background = shot.pixel(r.topLeft());
    bool drawn = false;
    for (int y = r.top(); y <= r.bottom() && !drawn; ++y)
      for (int x = r.left(); x <= r.right() && !drawn; ++x) drawn = shot.pixel(x, y) != background;
    EXPECT_TRUE(drawn) << at.row << "," << at.col;
  }

  // Saved and opened again, in a new editor with a new store.
  const std::string out = install.File("with header.vtf");
  dialogs->savePaths.push_back(out);
  Press(kTbSave);
  window.reset();
  host->store.Discard();
  Open();
  dialogs->openPaths.push_back(out);
  Press(kTbOpen);
  ExpectBothPictures(ImageCells(Taken()), host->store);
}

TEST_F(HeaderPicturesTest, CancelledInsertLeavesTheStoreAlone) {
  Open(&table_);
  Click(3, 1);
  QTimer::singleShot(0, [] {
    if (auto* d = qobject_cast<TableInitDialog*>(QApplication::activeModalWidget())) d->reject();
  });
  Press(kTbInsertHeader);
  const std::vector<ImageAt> images = ImageCells(Taken());
  ASSERT_EQ(images.size(), 1u);
  EXPECT_TRUE(SamePicture(*host->store.Get(), circle_.sBlockName, *reference_.Get(), "Circle"));
}

}  // namespace
}  // namespace vex::test
