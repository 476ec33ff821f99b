// The host's window as a drafter uses it: open a drawing and see it, draw a LINE by two clicks,
// select it by a window, MOVE it by a drag, undo and redo, load VexTable.arx through Tools ->
// Load Application, and save. Real input events on the real widgets, offscreen.

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QCompleter>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>

#include <filesystem>

#include "cadhost/ui/appload_dialog.h"
#include "window_fixture.h"

namespace cadhost::ui::test {
namespace {

namespace fs = std::filesystem;

// A drawing with a frame of four lines 0..100 x 0..60 and a circle about (50, 30).
std::string FrameDrawing(const std::string& path) {
  AcDbDatabase db;
  AcDbObjectPointer<AcDbBlockTableRecord> ms(db.modelSpaceId(), AcDb::kForWrite);
  const std::vector<std::pair<AcGePoint3d, AcGePoint3d>> frame = {
      {{0, 0, 0}, {100, 0, 0}}, {{100, 0, 0}, {100, 60, 0}}, {{100, 60, 0}, {0, 60, 0}}, {{0, 60, 0}, {0, 0, 0}}};
  for (const auto& [a, b] : frame) {
    auto* l = new AcDbLine(a, b);
    ms->appendAcDbEntity(l);
    l->close();
  }
  auto* c = new AcDbCircle({50, 30, 0}, AcGeVector3d::kZAxis, 10);
  ms->appendAcDbEntity(c);
  c->close();
  ms.close();
  EXPECT_EQ(db.saveAs(path.c_str()), Acad::eOk);
  return path;
}

// Drawn in colour 7 (white on the dark view) near `p`: lines of the drawing and of previews.
bool Lit(const QImage& image, QPoint p, int reach = 1) {
  for (int dy = -reach; dy <= reach; ++dy)
    for (int dx = -reach; dx <= reach; ++dx) {
      const QPoint q = p + QPoint(dx, dy);
      if (image.rect().contains(q) && qGray(image.pixel(q)) > 160) return true;
    }
  return false;
}

// The one line that runs from about `a` to about `b`.
std::optional<std::pair<AcGePoint3d, AcGePoint3d>> LineNear(const std::vector<AcDbObjectId>& ids,
                                                            Pt a, Pt b, double tol) {
  for (AcDbObjectId id : ids) {
    AcDbObjectPointer<AcDbLine> l(id, AcDb::kForRead);
    if (!l) continue;
    const AcGePoint3d s = l->startPoint(), e = l->endPoint();
    if (std::hypot(s.x - a.x, s.y - a.y) < tol && std::hypot(e.x - b.x, e.y - b.y) < tol)
      return std::make_pair(s, e);
  }
  return std::nullopt;
}

TEST_F(WindowTest, ADrafterDrawsSelectsMovesUndoesLoadsAndSaves) {
  const std::string drawing = FrameDrawing(dir.File("frame.dxf"));
  const std::string saved = dir.File("saved.dxf");
  // The plug-in installed in the scratch folder: it sets up its folders beside Sys16/.
  fs::create_directories(dir.File("install/Sys16"));
  const std::string arx = dir.File("install/Sys16/VexTable.arx");
  fs::copy_file(VEXTABLE_ARX, arx);
  Start({drawing});
  double px = 0;  // a pixel in drawing units
  AcDbObjectId line;

  Step([&] {
    ASSERT_EQ(window->Tabs()->count(), 1);
    EXPECT_EQ(window->Tabs()->tabText(0), "frame.dxf");
    // The frame and the circle show.
    const QImage image = View()->Render();
    EXPECT_TRUE(Lit(image, At(50, 0)));
    EXPECT_TRUE(Lit(image, At(100, 30)));
    EXPECT_TRUE(Lit(image, At(60, 30)));
    EXPECT_FALSE(Lit(image, At(25, 45), 0));
    px = 1.0 / View()->Transform().Scale();
    Type("LINE");
  });
  Step([&] { Click(20, 20); });
  Step([&] {
    // The rubber line runs from the first point to the cursor.
    Move(35, 45);
    EXPECT_TRUE(Lit(View()->Render(), At(27.5, 32.5)));
    Click(35, 45);
  });
  Step([&] { Key(Qt::Key_Return); });
  Step([&] {
    const auto l = LineNear(Entities(), {20, 20}, {35, 45}, 2 * px);
    ASSERT_TRUE(l) << History();
    line = Entities().back();
    // A window from left to right around the new line only.
    QTest::mousePress(View(), Qt::LeftButton, {}, At(15, 15));
  });
  Step([&] {
    QTest::mouseMove(View(), At(40, 50));
    QTest::mouseRelease(View(), Qt::LeftButton, {}, At(40, 50));
  });
  Step([&] {
    EXPECT_EQ(Highlighted(), (std::vector<AcDbObjectId>{line})) << History();
    Type("MOVE");
  });
  Step([&] {
    EXPECT_EQ(History().find("Select objects"), std::string::npos) << "the pick-first set";
    Click(30, 52);  // base point, on nothing: no snap
  });
  Step([&] {
    // The line follows the cursor: 30 to the right, 5 down.
    Move(60, 47);
    // As the widget paints itself.
    const QImage image = View()->grab().toImage();
    EXPECT_TRUE(Lit(image, At(57.5, 27.5))) << "the preview at the moved place";
    Click(60, 47);
  });
  Step([&] {
    EXPECT_TRUE(LineNear(Entities(), {50, 15}, {65, 40}, 3 * px)) << History();
    EXPECT_TRUE(Lit(View()->Render(), At(57.5, 27.5)));
    QTest::keyClick(CommandLine()->Input(), Qt::Key_Z, Qt::ControlModifier);
  });
  Step([&] {
    EXPECT_NE(History().find("MOVE undone"), std::string::npos) << History();
    EXPECT_TRUE(LineNear(Entities(), {20, 20}, {35, 45}, 2 * px));
    EXPECT_FALSE(Lit(View()->Render(), At(57.5, 27.5), 0)) << "the view shows the undo";
    QTest::keyClick(CommandLine()->Input(), Qt::Key_Y, Qt::ControlModifier);
  });
  Step([&] {
    EXPECT_TRUE(LineNear(Entities(), {50, 15}, {65, 40}, 3 * px)) << History();
    WhenModal([&](QWidget* dialog) {
      auto* load = qobject_cast<AppLoadDialog*>(dialog);
      ASSERT_NE(load, nullptr);
      QLineEdit* file = load->FileField();
      QTest::keyClicks(file, QString::fromStdString(arx));
      QTest::mouseClick(load->findChild<QPushButton*>("load"), Qt::LeftButton);
      EXPECT_EQ(load->List()->count(), 1) << load->Message().toStdString();
      load->accept();
    });
    window->Action("toolsLoadApplication")->trigger();
  });
  Step([&] {
    EXPECT_TRUE(acedRegCmds->lookupCmd("VEXTABLE_DRAW")) << History();
    WhenModal([&](QWidget* dialog) {
      auto* files = qobject_cast<QFileDialog*>(dialog);
      ASSERT_NE(files, nullptr);
      // Typed into the name field, as a drafter does.
      auto* name = files->findChild<QLineEdit*>("fileNameEdit");
      ASSERT_NE(name, nullptr);
      name->clear();
      QTest::keyClicks(name, QString::fromStdString(saved));
      // The name's completion list pops up once the folder has been read, which on a busy
      // machine can be after the typing: it would take the Return. And the dialog selects the
      // folders the typing passed through ("/tmp"), which Save would open instead of saving:
      // the whole name given once more leaves only the name. Save is pressed then.
      if (QCompleter* c = name->completer(); c != nullptr && c->popup() != nullptr) c->popup()->hide();
      for (QAbstractItemView* view : files->findChildren<QAbstractItemView*>())
        if (view->selectionModel() != nullptr) view->selectionModel()->clearSelection();
      name->setText(QString::fromStdString(saved));
      auto* buttons = files->findChild<QDialogButtonBox*>("buttonBox");
      ASSERT_NE(buttons, nullptr);
      QTest::mouseClick(buttons->button(QDialogButtonBox::Save), Qt::LeftButton);
    });
    window->Action("fileSaveAs")->trigger();
  });
  Step([&] { EXPECT_TRUE(fs::exists(saved)) << History(); });
  Run();

  AcDbDatabase back(false);
  ASSERT_EQ(back.readDwgFile(saved.c_str()), Acad::eOk);
  AcDbObjectPointer<AcDbBlockTableRecord> ms(back.modelSpaceId(), AcDb::kForRead);
  ASSERT_TRUE(ms);
  EXPECT_EQ(ms->entityIds().size(), 6u);
  EXPECT_TRUE(LineNear(ms->entityIds(), {50, 15}, {65, 40}, 3 * px));
}

}  // namespace
}  // namespace cadhost::ui::test
