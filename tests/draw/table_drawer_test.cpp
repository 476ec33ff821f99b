#include "draw/table_drawer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "cadhost/host/host_control.h"
#include "draw/entities.h"
#include "model/cell_capture.h"
#include "model/image_store.h"
#include "settings/profile_file.h"
#include "support/drawing.h"
#include "support/install_dir.h"

namespace vex {
namespace {

using test::InstallDir;

struct Line {
  double x1, y1, x2, y2;
  std::string layer;
};

struct Text {
  double x, y;
  std::string text;
  double height;
  int horz, vert;
  std::string layer;
};

class DrawTableTest : public ::testing::Test {
 protected:
  void SetUp() override {
    acdbHostApplicationServices()->setWorkingDatabase(&db_);
    cadhost::Feedback::Clear();
  }
  void TearDown() override { acdbHostApplicationServices()->setWorkingDatabase(nullptr); }

  static TableData Table(int rows, int cols, double h = 10, double w = 30) {
    TableData t;
    t.nRows = rows;
    t.nCols = cols;
    t.RowHeights = {h};
    t.ColWidths = {w};
    t.Normalize();
    return t;
  }

  std::vector<Line> Lines(const AcDbObjectIdArray& ids) {
    std::vector<Line> out;
    for (const AcDbObjectId& id : ids) {
      AcDbObjectPointer<AcDbLine> l(id, AcDb::kForRead);
      if (!l) continue;
      out.push_back({l->startPoint().x, l->startPoint().y, l->endPoint().x, l->endPoint().y, l->layer()});
    }
    return out;
  }
  std::vector<Text> Texts(const AcDbObjectIdArray& ids) {
    std::vector<Text> out;
    for (const AcDbObjectId& id : ids) {
      AcDbObjectPointer<AcDbText> t(id, AcDb::kForRead);
      if (!t) continue;
      out.push_back({t->alignmentPoint().x, t->alignmentPoint().y, t->textString(), t->height(),
                     t->horizontalMode(), t->verticalMode(), t->layer()});
    }
    return out;
  }

  InstallDir install_;
  AcDbDatabase db_{true, true};
  ImageStore store_;
};

void ExpectLine(const Line& l, double x1, double y1, double x2, double y2, const std::string& layer) {
  EXPECT_NEAR(l.x1, x1, 1e-9);
  EXPECT_NEAR(l.y1, y1, 1e-9);
  EXPECT_NEAR(l.x2, x2, 1e-9);
  EXPECT_NEAR(l.y2, y2, 1e-9);
  EXPECT_EQ(l.layer, layer);
}

TEST_F(DrawTableTest, TwoByTwoGivesSixMaximalLines) {
  TableData t = Table(2, 2);
  t.SetCell(0, 0, [] { TableCell c = TableCell::Default(); c.strText = "A"; return c; }());
  const AcDbObjectIdArray ids = DrawTable(t, &store_);
  const auto lines = Lines(ids);
  ASSERT_EQ(lines.size(), 6u);
  ExpectLine(lines[0], 0, 0, 60, 0, "Sideline");
  ExpectLine(lines[1], 0, -10, 60, -10, "Inline");
  ExpectLine(lines[2], 0, -20, 60, -20, "Sideline");
  ExpectLine(lines[3], 0, 0, 0, -20, "Sideline");
  ExpectLine(lines[4], 30, 0, 30, -20, "Inline");
  ExpectLine(lines[5], 60, 0, 60, -20, "Sideline");
  // Four text cells, three of them empty: null ids keep their places.
  ASSERT_EQ(ids.length(), 10);
  EXPECT_FALSE(ids[6].isNull());
  EXPECT_TRUE(ids[7].isNull());
  const auto texts = Texts(ids);
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_NEAR(texts[0].x, 15, 1e-9);
  EXPECT_NEAR(texts[0].y, -5, 1e-9);
  EXPECT_EQ(texts[0].layer, "Text");
  EXPECT_EQ(texts[0].horz, AcDb::kTextCenter);
  EXPECT_EQ(texts[0].vert, AcDb::kTextVertMid);
}

TEST_F(DrawTableTest, MergedTopRowShortensTheMiddleRule) {
  TableData t = Table(2, 2);
  t.AppendMergeRow({0, 0, 1});
  TableCell c = TableCell::Default();
  c.strText = "Title";
  t.SetCell(0, 0, c);
  const AcDbObjectIdArray ids = DrawTable(t, &store_);
  const auto lines = Lines(ids);
  ASSERT_EQ(lines.size(), 6u);
  ExpectLine(lines[4], 30, -10, 30, -20, "Inline");
  const auto texts = Texts(ids);
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_NEAR(texts[0].x, 30, 1e-9);  // centred in x 0..60
  EXPECT_NEAR(texts[0].y, -5, 1e-9);
}

TEST_F(DrawTableTest, MergedColumnShortensTheMiddleRule) {
  TableData t = Table(2, 2);
  t.AppendMergeCol({0, 0, 1});
  const auto lines = Lines(DrawTable(t, &store_));
  ASSERT_EQ(lines.size(), 6u);
  ExpectLine(lines[1], 30, -10, 60, -10, "Inline");
}

TEST_F(DrawTableTest, PlotScaleScalesSizesHeightsAndMargin) {
  ProfileFile().PutDouble("BASE SETTING", "PlotScale", 2);
  TableData t = Table(1, 1);
  TableCell c = TableCell::Default();
  c.strText = "x";
  c.HorzMode = 0;
  c.VertMode = 0;
  c.dHeight = 3;
  t.SetCell(0, 0, c);
  const AcDbObjectIdArray ids = DrawTable(t, &store_);
  const auto lines = Lines(ids);
  ASSERT_EQ(lines.size(), 4u);
  ExpectLine(lines[0], 0, 0, 60, 0, "Sideline");
  ExpectLine(lines[1], 0, -20, 60, -20, "Sideline");
  const auto texts = Texts(ids);
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_NEAR(texts[0].x, 2, 1e-9);
  EXPECT_NEAR(texts[0].y, -2, 1e-9);
  EXPECT_NEAR(texts[0].height, 6, 1e-9);
  // The given table is normalised but not scaled.
  EXPECT_EQ(t.RowHeights[0], 10);
  EXPECT_EQ(t.GetCell(0, 0).dHeight, 3);
}

TEST_F(DrawTableTest, RightTopTextAndMultiLineMiddleText) {
  TableData t = Table(1, 2, 20, 30);
  TableCell a = TableCell::Default();
  a.strText = "R";
  a.HorzMode = 2;
  a.VertMode = 0;
  t.SetCell(0, 0, a);
  TableCell b = TableCell::Default();
  b.strText = "one\r\ntwo\r\nthree";
  t.SetCell(0, 1, b);
  const auto texts = Texts(DrawTable(t, &store_));
  ASSERT_EQ(texts.size(), 4u);
  EXPECT_NEAR(texts[0].x, 29, 1e-9);
  EXPECT_NEAR(texts[0].y, -1, 1e-9);
  EXPECT_EQ(texts[0].horz, AcDb::kTextRight);
  EXPECT_EQ(texts[0].vert, AcDb::kTextTop);
  EXPECT_NEAR(texts[1].y, -6, 1e-9);
  EXPECT_NEAR(texts[2].y, -10, 1e-9);
  EXPECT_NEAR(texts[3].y, -14, 1e-9);
  EXPECT_EQ(texts[3].text, "three");
}

TEST_F(DrawTableTest, EmptyTableTouchesNothing) {
  TableData t;
  EXPECT_TRUE(DrawTable(t, &store_).isEmpty());
  AcDbLayerTable* layers = nullptr;
  ASSERT_EQ(db_.getLayerTable(layers, AcDb::kForRead), Acad::eOk);
  EXPECT_FALSE(layers->has("Sideline"));
  layers->close();
  EXPECT_TRUE(cadhost::Feedback::Progress().empty());
}

TEST_F(DrawTableTest, ShowsProgressAndWhatItDoes) {
  TableData t = Table(3, 4);
  DrawTable(t, &store_);
  const auto progress = cadhost::Feedback::Progress();
  ASSERT_GE(progress.size(), 3u);
  EXPECT_EQ(progress.front().kind, cadhost::ProgressEvent::Kind::Start);
  EXPECT_EQ(progress.front().label, "绘制表格");
  EXPECT_EQ(progress.back().kind, cadhost::ProgressEvent::Kind::Restore);
  EXPECT_EQ(progress[progress.size() - 2].pos, 100);
  const std::string text = cadhost::Feedback::Text();
  EXPECT_NE(text.find("\nDrawing horizontal line..."), std::string::npos);
  EXPECT_NE(text.find("\nDrawing vertical line..."), std::string::npos);
  EXPECT_NE(text.find("\nDrawing cell content..."), std::string::npos);
}

TEST_F(DrawTableTest, PaperSpaceWhenTilemodeIsZero) {
  db_.setTilemode(false);
  TableData t = Table(1, 1);
  const AcDbObjectIdArray ids = DrawTable(t, &store_);
  AcDbObjectPointer<AcDbLine> l(ids[0], AcDb::kForRead);
  ASSERT_TRUE(l);
  EXPECT_EQ(l->blockId(), db_.paperSpaceId());
}

TEST_F(DrawTableTest, PictureIsFittedIntoItsCell) {
  // A 20 x 10 rectangle captured into the store; a 40 x 10 cell (margin 1) at scale 1.
  AcDbDatabase source(true, true);
  const AcDbObjectId plId = test::AddToModelSpace(source, test::NewRectangle(0, 0, 20, 10));
  std::string name;
  AcDbObjectId block;
  CellImageList images;
  ASSERT_TRUE(CaptureImage({plId}, &source, name, &store_.Ensure(), block, images));

  TableData t = Table(1, 1, 10, 40);
  TableCell c = TableCell::Default();
  c.nType = 1;
  c.sBlockName = name;
  c.HorzMode = 0;  // left
  t.SetCell(0, 0, c);
  const AcDbObjectIdArray ids = DrawTable(t, &store_);
  ASSERT_EQ(ids.length(), 5);
  AcDbObjectPointer<AcDbBlockReference> ref(ids[4], AcDb::kForRead);
  ASSERT_TRUE(ref);
  AcDbExtents ext;
  ASSERT_EQ(ref->getGeomExtents(ext), Acad::eOk);
  // The box is 38 x 8: height limits, scale 0.8, left/middle.
  EXPECT_NEAR(ext.minPoint().x, 1, 1e-9);
  EXPECT_NEAR(ext.maxPoint().x, 17, 1e-9);
  EXPECT_NEAR(ext.minPoint().y, -9, 1e-9);
  EXPECT_NEAR(ext.maxPoint().y, -1, 1e-9);
  EXPECT_NE(cadhost::Feedback::Text().find("\nDrawing on row 1, column 1 cell image..."), std::string::npos);
}

TEST_F(DrawTableTest, PictureWhoseBlockIsMissingIsSkipped) {
  TableData t = Table(1, 2);
  TableCell c = TableCell::Default();
  c.nType = 1;
  c.sBlockName = "VexTable42";
  t.SetCell(0, 0, c);
  store_.Ensure();
  const AcDbObjectIdArray ids = DrawTable(t, &store_);
  EXPECT_EQ(ids.length(), 5 + 1);  // the lines and the other cell's (empty) text
}

}  // namespace
}  // namespace vex
