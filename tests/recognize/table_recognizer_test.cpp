#include "recognize/table_recognizer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "cadhost/host/host_control.h"
#include "draw/line_grid.h"
#include "draw/table_drawer.h"
#include "model/cell_capture.h"
#include "model/image_store.h"
#include "model/merge_blocks.h"
#include "settings/profile_file.h"
#include "support/drawing.h"
#include "support/install_dir.h"

namespace vex {
namespace {

using test::InstallDir;

class RecognizeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    acdbHostApplicationServices()->setWorkingDatabase(&db_);
    cadhost::Feedback::Clear();
  }
  void TearDown() override { acdbHostApplicationServices()->setWorkingDatabase(nullptr); }

  AcDbObjectId Add(AcDbEntity* e) { return test::AddToModelSpace(db_, e); }
  AcDbObjectId AddLine(double x1, double y1, double x2, double y2) {
    return Add(new AcDbLine(AcGePoint3d(x1, y1, 0), AcGePoint3d(x2, y2, 0)));
  }
  AcDbObjectId AddText(double x, double y, const char* s, double h = 3, int horz = 1, int vert = 2) {
    auto* t = new AcDbText();
    t->setTextString(s);
    t->setHeight(h);
    t->setHorizontalMode(static_cast<AcDb::TextHorzMode>(horz));
    t->setVerticalMode(static_cast<AcDb::TextVertMode>(vert));
    t->setPosition(AcGePoint3d(x, y, 0));
    t->setAlignmentPoint(AcGePoint3d(x, y, 0));
    return Add(t);
  }
  // A grid of rows x cols cells of 10 x 30 with its top-left corner at (x0, y0).
  void AddGrid(int rows, int cols, double x0 = 0, double y0 = 0) {
    for (int i = 0; i <= rows; ++i) AddLine(x0, y0 - 10 * i, x0 + 30 * cols, y0 - 10 * i);
    for (int j = 0; j <= cols; ++j) AddLine(x0 + 30 * j, y0, x0 + 30 * j, y0 - 10 * rows);
  }
  AcDbObjectIdArray ModelSpace() {
    AcDbObjectIdArray ids;
    EnumerateBlock(&db_, "", ids);
    return ids;
  }
  bool Read(TableData& t) { return recognizer_.Recognize(ModelSpace(), &db_, t, store_); }

  InstallDir install_;
  AcDbDatabase db_{true, true};
  ImageStore store_;
  TableRecognizer recognizer_;
};

TEST_F(RecognizeTest, PlainGrid) {
  AddGrid(2, 3, 100, 50);
  TableData t;
  ASSERT_TRUE(Read(t));
  EXPECT_EQ(t.nRows, 2);
  EXPECT_EQ(t.nCols, 3);
  EXPECT_EQ(t.RowHeights, (std::vector<double>{10, 10}));
  EXPECT_EQ(t.ColWidths, (std::vector<double>{30, 30, 30}));
  EXPECT_TRUE(t.MergeRows.empty());
  EXPECT_TRUE(t.MergeCols.empty());
  EXPECT_EQ(recognizer_.origin, AcGePoint3d(100, 50, 0));
  EXPECT_EQ(recognizer_.frameMatchesSelection, 1);
  EXPECT_EQ(recognizer_.lineIds.length(), 7);
  EXPECT_EQ(t.GetCell(1, 2).dHeight, 3.0);
  EXPECT_EQ(t.GetCell(1, 2).HorzMode, 1);
}

TEST_F(RecognizeTest, OneHorizontalLineFormsNoTable) {
  AddLine(0, 0, 90, 0);
  for (int j = 0; j <= 3; ++j) AddLine(30 * j, 0, 30 * j, -20);
  TableData t;
  EXPECT_FALSE(Read(t));
  EXPECT_NE(cadhost::Feedback::Text().find("Select line can't form table!\n"), std::string::npos);
}

TEST_F(RecognizeTest, NearlyEqualPositionsChainIntoOneLine) {
  AddLine(0, 0, 60, 0);
  AddLine(0, -10.0, 20, -10.0);
  AddLine(20, -10.0008, 40, -10.0008);
  AddLine(40, -10.0016, 60, -10.0016);
  AddLine(0, -20, 60, -20);
  AddLine(0, 0, 0, -20);
  AddLine(60, 0, 60, -20);
  TableData t;
  ASSERT_TRUE(Read(t));
  EXPECT_EQ(t.nRows, 2);
  EXPECT_EQ(t.nCols, 1);
}

TEST_F(RecognizeTest, TextsOnOneBaselineThenTheNextLine) {
  AddLine(0, 0, 60, 0);
  AddLine(0, -30, 60, -30);
  AddLine(0, 0, 0, -30);
  AddLine(60, 0, 60, -30);
  AddText(10, -10, "first", 3, 0, 1);
  AddText(30, -10, "second", 3, 0, 1);
  AddText(10, -16, "third", 3, 0, 1);
  TableData t;
  ASSERT_TRUE(Read(t));
  EXPECT_EQ(t.GetCell(0, 0).strText, "first second\r\nthird");
  EXPECT_EQ(t.GetCell(0, 0).dHeight, 3);
}

TEST_F(RecognizeTest, TextOnABorderBelongsToNoCell) {
  AddGrid(1, 2);
  AddText(30, -5, "on the rule", 3, 1, 2);  // centred exactly on x = 30
  TableData t;
  ASSERT_TRUE(Read(t));
  EXPECT_EQ(t.GetCell(0, 0).strText, "");
  EXPECT_EQ(t.GetCell(0, 1).strText, "");
  EXPECT_EQ(recognizer_.textIds.length(), 1);  // still inside the frame
}

TEST_F(RecognizeTest, OvershootingFrameIsStillReadButFlagged) {
  AddLine(-2, 0, 62, 0);  // overshoots left and right
  AddLine(0, -10, 60, -10);
  AddLine(0, 0, 0, -10);
  AddLine(60, 0, 60, -10);
  TableData t;
  ASSERT_TRUE(Read(t));
  EXPECT_EQ(recognizer_.frameMatchesSelection, 0);
  EXPECT_EQ(t.ColWidths, (std::vector<double>{60}));
}

TEST_F(RecognizeTest, OtherCurvesBecomeImageCells) {
  AddGrid(1, 4);
  Add(new AcDbLine(AcGePoint3d(2, -2, 0), AcGePoint3d(20, -8, 0)));  // slanted
  Add(new AcDbArc(AcGePoint3d(45, -5, 0), 3, 0, 3.14159));
  auto* pl = new AcDbPolyline();
  pl->addVertexAt(0, AcGePoint2d(65, -3));
  pl->addVertexAt(1, AcGePoint2d(85, -7));
  Add(pl);
  Add(new AcDbCircle(AcGePoint3d(105, -5, 0), AcGeVector3d(0, 0, 1), 2));
  TableData t;
  ASSERT_TRUE(Read(t));
  for (int j = 0; j < 4; ++j) {
    const TableCell c = t.GetCell(0, j);
    EXPECT_EQ(c.nType, 1) << j;
    EXPECT_FALSE(c.sBlockName.empty()) << j;
  }
  EXPECT_EQ(t.GetCell(0, 0).picture.size(), 1u);
  EXPECT_STREQ(t.GetCell(0, 3).picture[0].ClassName(), "JCircle");
  EXPECT_EQ(recognizer_.imageIds.length(), 4);
  EXPECT_EQ(recognizer_.selectedIds.length(), 7);  // the seven table lines remain
  EXPECT_NE(cadhost::Feedback::Text().find("\nEdit on row 1, column 4 cell image..."), std::string::npos);
}

TEST_F(RecognizeTest, SizesAreDividedByThePlotScale) {
  ProfileFile().PutDouble("BASE SETTING", "PlotScale", 100);
  AddLine(0, 0, 3000, 0);
  AddLine(0, -500, 3000, -500);
  AddLine(0, 0, 0, -500);
  AddLine(3000, 0, 3000, -500);
  AddText(1500, -250, "x", 350);
  TableData t;
  ASSERT_TRUE(Read(t));
  EXPECT_DOUBLE_EQ(t.RowHeights[0], 5);
  EXPECT_DOUBLE_EQ(t.ColWidths[0], 30);
  EXPECT_DOUBLE_EQ(t.GetCell(0, 0).dHeight, 3.5);
}

TEST_F(RecognizeTest, MissingBorderSegmentIsRefused) {
  // The right border is missing between rows 1 and 2: the merge scan would run off the table.
  AddLine(0, 0, 60, 0);
  AddLine(0, -10, 60, -10);
  AddLine(0, -20, 60, -20);
  AddLine(0, 0, 0, -20);
  AddLine(30, 0, 30, -20);
  AddLine(60, 0, 60, -10);
  AddLine(60, -10.5, 60, -20);
  TableData t;
  EXPECT_FALSE(Read(t));
}

// Tables drawn by the drawing code come back as they were drawn.
class RoundTripTest : public RecognizeTest, public ::testing::WithParamInterface<unsigned> {};

// A random table whose drawing can be read back: every row and column boundary keeps a
// segment somewhere (a boundary merged away in every row draws nothing to find), and cells
// are roomy enough that each alignment stays recognisable by its gaps.
TableData RandomTable(std::mt19937& rng, const std::string& pictureBlock) {
  std::uniform_int_distribution<int> size(1, 7), height(12, 20), width(25, 40), mode(0, 2), coin(0, 3);
  TableData t;
  t.nRows = size(rng);
  t.nCols = size(rng);
  t.Normalize();
  for (double& h : t.RowHeights) h = height(rng);
  for (double& w : t.ColWidths) w = width(rng);
  // Non-overlapping rectangular merges.
  std::vector<std::vector<bool>> used(static_cast<std::size_t>(t.nRows), std::vector<bool>(static_cast<std::size_t>(t.nCols)));
  std::vector<MergeBlock> blocks;
  for (int r = 0; r < t.nRows; ++r)
    for (int c = 0; c < t.nCols; ++c) {
      if (used[r][c] || coin(rng) != 0) continue;
      const int r1 = std::min(t.nRows - 1, r + coin(rng) % 2), c1 = std::min(t.nCols - 1, c + coin(rng) % 3);
      bool free = true;
      for (int i = r; i <= r1; ++i)
        for (int j = c; j <= c1; ++j) free = free && !used[i][j];
      if (!free || (r1 == r && c1 == c)) continue;
      for (int i = r; i <= r1; ++i)
        for (int j = c; j <= c1; ++j) used[i][j] = true;
      blocks.push_back({r, c, r1, c1});
    }
  AppendMergeSpans(t, blocks);
  const LineGrid g = BuildLineGrid(t);
  for (int j = 1; j < t.nCols; ++j) {
    bool any = false;
    for (int i = 0; i < t.nRows; ++i) any = any || g.At(i, j).down;
    if (!any) return RandomTable(rng, pictureBlock);
  }
  for (int i = 1; i < t.nRows; ++i) {
    bool any = false;
    for (int j = 0; j < t.nCols; ++j) any = any || g.At(i, j).right;
    if (!any) return RandomTable(rng, pictureBlock);
  }
  const char* words[] = {"A", "M12", "中文", "%%c20", "x"};
  for (int r = 0; r < t.nRows; ++r)
    for (int c = 0; c < t.nCols; ++c) {
      TableCell cell = TableCell::Default();
      const int kind = coin(rng);
      if (kind == 0) {
        t.SetCell(r, c, cell);  // empty
        continue;
      }
      if (kind == 1 && !pictureBlock.empty()) {
        cell.nType = 1;
        cell.sBlockName = pictureBlock;
        cell.HorzMode = 1;
        cell.VertMode = 1;
        t.SetCell(r, c, cell);
        continue;
      }
      cell.HorzMode = mode(rng);
      cell.VertMode = mode(rng);
      cell.dHeight = 2.5;
      cell.strText = words[coin(rng)];
      if (kind == 3 && t.RowHeights[r] >= 16) cell.strText += "\r\n" + std::string(words[coin(rng) + 1]);
      t.SetCell(r, c, cell);
    }
  return t;
}

TEST_P(RoundTripTest, DrawnTablesReadBackEqual) {
  std::mt19937 rng(GetParam());
  // A picture to put in some cells: a 4 x 2 rectangle.
  AcDbDatabase source(true, true);
  const AcDbObjectId plId = test::AddToModelSpace(source, test::NewRectangle(0, 0, 4, 2));
  ImageStore pictures;
  std::string name;
  AcDbObjectId block;
  CellImageList images;
  ASSERT_TRUE(CaptureImage({plId}, &source, name, &pictures.Ensure(), block, images));

  TableData drawn = RandomTable(rng, name);
  DrawTable(drawn, &pictures, &db_);
  TableData read;
  ASSERT_TRUE(Read(read)) << cadhost::Feedback::Text();
  ASSERT_EQ(read.nRows, drawn.nRows);
  ASSERT_EQ(read.nCols, drawn.nCols);
  for (int i = 0; i < drawn.nRows; ++i) EXPECT_NEAR(read.RowHeights[i], drawn.RowHeights[i], 1e-9);
  for (int j = 0; j < drawn.nCols; ++j) EXPECT_NEAR(read.ColWidths[j], drawn.ColWidths[j], 1e-9);
  auto sorted = [](std::vector<MergeSpan> v) {
    std::sort(v.begin(), v.end(), [](const MergeSpan& a, const MergeSpan& b) {
      return std::tie(a.nPlace, a.nStart, a.nEnd) < std::tie(b.nPlace, b.nStart, b.nEnd);
    });
    return v;
  };
  EXPECT_EQ(sorted(read.MergeRows), sorted(drawn.MergeRows));
  EXPECT_EQ(sorted(read.MergeCols), sorted(drawn.MergeCols));

  const LineGrid g = BuildLineGrid(drawn);
  for (int r = 0; r < drawn.nRows; ++r)
    for (int c = 0; c < drawn.nCols; ++c) {
      const TableCell want = drawn.GetCell(r, c);
      const TableCell got = read.GetCell(r, c);
      SCOPED_TRACE("cell " + std::to_string(r) + "," + std::to_string(c));
      if (!g.At(r, c).right || !g.At(r, c).down) {  // covered by a merge
        EXPECT_EQ(got.strText, "");
        continue;
      }
      EXPECT_EQ(got.nType, want.nType);
      if (want.nType == 1) {
        EXPECT_EQ(got.picture.size(), 1u);
        EXPECT_EQ(got.HorzMode, 1);
        EXPECT_EQ(got.VertMode, 1);
        continue;
      }
      EXPECT_EQ(got.strText, want.strText);
      if (want.strText.empty()) continue;
      EXPECT_NEAR(got.dHeight, want.dHeight, 1e-9);
      EXPECT_EQ(got.HorzMode, want.HorzMode);
      EXPECT_EQ(got.VertMode, want.VertMode);
    }
  EXPECT_EQ(recognizer_.frameMatchesSelection, 1);
}

INSTANTIATE_TEST_SUITE_P(Seeds, RoundTripTest, ::testing::Range(1u, 21u));

}  // namespace
}  // namespace vex
