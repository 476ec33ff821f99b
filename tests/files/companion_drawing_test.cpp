#include "files/companion_drawing.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "cadhost/sdk/cadhost.h"
#include "files/table_file.h"
#include "pictures/cell_capture.h"
#include "pictures/image_store.h"
#include "platform/message_sink.h"
#include "support/drawing.h"
#include "support/temp_dir.h"

namespace vex {
namespace {

using test::ReadFile;
using test::TempDir;
using test::AddToModelSpace;
using test::WriteFile;

class CompanionTest : public ::testing::Test {
 protected:
  // A 1 x 3 table whose first two cells hold pictures captured from a drawing.
  void SetUp() override {
    table_.nRows = 1;
    table_.nCols = 3;
    table_.Normalize();
    const AcDbObjectId line = AddToModelSpace(drawing_, new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(8, 4, 0)));
    const AcDbObjectId circle =
        AddToModelSpace(drawing_, new AcDbCircle(AcGePoint3d(3, 3, 0), AcGeVector3d(0, 0, 1), 3));
    for (int j = 0; j < 2; ++j) {
      TableCell c = table_.GetCell(0, j);
      std::string name;
      AcDbObjectId block;
      ASSERT_TRUE(CaptureImage({j == 0 ? line : circle}, &drawing_, name, &store_.Ensure(), block, c.picture,
                               messages_));
      c.nType = 1;
      c.sBlockName = name;
      table_.SetCell(0, j, c);
    }
  }
  TempDir dir_;
  AcDbDatabase drawing_{true, true};
  ImageStore store_;
  TableData table_;
  RecordingSink messages_;
};

TEST_F(CompanionTest, PathIsTheWholeFileNameWithDxf_Issue11) {
  EXPECT_EQ(CompanionDrawingPath("/a/plan.vtf"), "/a/plan.vtf.dxf");
  EXPECT_EQ(CompanionDrawingPath("/a/Pipes.vtt"), "/a/Pipes.vtt.dxf");
  EXPECT_EQ(CompanionDrawingPath("/x.y/table"), "/x.y/table.dxf");
  EXPECT_EQ(LegacyCompanionDrawingPath("/a/a.b.vtf"), "/a/a.b.dxf");
}

TEST_F(CompanionTest, SavingBesideTheDrafterDrawingLeavesIt_Issue11) {
  WriteFile(dir_.File("plan.dxf"), "the drafter's drawing");
  ASSERT_TRUE(SaveTableWithPictures(table_, kTableFilePrefix, dir_.File("plan.vtf"), store_));
  EXPECT_EQ(ReadFile(dir_.File("plan.dxf")), "the drafter's drawing");
  EXPECT_TRUE(std::filesystem::exists(dir_.File("plan.vtf.dxf")));
}

TEST_F(CompanionTest, OldNameIsReadOnlyWhenItHoldsTheTablesBlocks_Issue11) {
  const std::string path = dir_.File("plan.vtf");
  ASSERT_TRUE(SaveTableWithPictures(table_, kTableFilePrefix, path, store_));
  std::filesystem::rename(dir_.File("plan.vtf.dxf"), dir_.File("plan.dxf"));  // as an earlier version named it
  ImageStore other;
  TableData back;
  TableFileReport report;
  ASSERT_TRUE(LoadTableWithPictures(back, kTableFilePrefix, path, other, messages_, report));
  EXPECT_EQ(back.GetCell(0, 0).picture.size(), 1u);

  // A drawing of that name without the blocks is the drafter's: not taken as the pictures.
  AcDbDatabase unrelated(true, true);
  AddToModelSpace(unrelated, new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 1, 0)));
  ASSERT_EQ(unrelated.saveAs(dir_.File("plan.dxf").c_str()), Acad::eOk);
  ImageStore third;
  TableData again;
  ASSERT_TRUE(LoadTableWithPictures(again, kTableFilePrefix, path, third, messages_, report));
  EXPECT_TRUE(again.GetCell(0, 0).picture.empty());
  EXPECT_FALSE(third);
}

TEST_F(CompanionTest, EveryBlockRoundTripsByName) {
  const std::string path = dir_.File("plan.vtf");
  const auto saved = SaveTableWithPictures(table_, kTableFilePrefix, path, store_);
  ASSERT_TRUE(saved) << saved.message();
  ASSERT_TRUE(std::filesystem::exists(dir_.File("plan.vtf.dxf")));

  ImageStore other;
  TableData back;
  TableFileReport report;
  const auto loaded = LoadTableWithPictures(back, kTableFilePrefix, path, other, messages_, report);
  ASSERT_TRUE(loaded) << loaded.message();
  EXPECT_TRUE(report.warnings.empty());
  ASSERT_TRUE(other);
  for (int j = 0; j < 2; ++j) {
    const TableCell c = back.GetCell(0, j);
    EXPECT_EQ(c.sBlockName, table_.GetCell(0, j).sBlockName);
    AcDbObjectIdArray ids;
    EXPECT_TRUE(EnumerateBlock(other.Get(), c.sBlockName, ids, messages_)) << c.sBlockName;
    ASSERT_EQ(c.picture.size(), 1u);
  }
  EXPECT_STREQ(back.GetCell(0, 0).picture[0].ClassName(), "JLine");
  EXPECT_STREQ(back.GetCell(0, 1).picture[0].ClassName(), "JCircle");
}

TEST_F(CompanionTest, TableWithoutPicturesWritesNoDrawing) {
  TableData plain;
  plain.nRows = 1;
  plain.nCols = 1;
  plain.Normalize();
  const std::string path = dir_.File("plain.vtf");
  WriteFile(dir_.File("plain.vtf.dxf"), "older drawing");
  ASSERT_TRUE(SaveTableWithPictures(plain, kTableFilePrefix, path, store_));
  EXPECT_EQ(ReadFile(dir_.File("plain.vtf.dxf")), "older drawing");
}

TEST_F(CompanionTest, MissingBlockLeavesOnlyThatPreviewEmpty) {
  const std::string path = dir_.File("plan.vtf");
  ASSERT_TRUE(SaveTableWithPictures(table_, kTableFilePrefix, path, store_));
  TableData edited = table_;
  TableCell c = edited.GetCell(0, 1);
  c.sBlockName = "VexTable99";
  edited.SetCell(0, 1, c);
  ASSERT_TRUE(SaveTableFile(edited, kTableFilePrefix, path));
  ImageStore other;
  TableData back;
  TableFileReport report;
  ASSERT_TRUE(LoadTableWithPictures(back, kTableFilePrefix, path, other, messages_, report));
  EXPECT_EQ(back.GetCell(0, 0).picture.size(), 1u);
  EXPECT_TRUE(back.GetCell(0, 1).picture.empty());
  EXPECT_EQ(back.GetCell(0, 1).sBlockName, "VexTable99");
}

TEST_F(CompanionTest, UnreadableDrawingIsReportedAndTheTableStillLoads) {
  const std::string path = dir_.File("plan.vtf");
  ASSERT_TRUE(SaveTableFile(table_, kTableFilePrefix, path));
  WriteFile(dir_.File("plan.vtf.dxf"), "  0\nSECTION\n  2\nENTITIES\n  0\nLINE\n 10\nnot a number\n");
  ImageStore other;
  TableData back;
  TableFileReport report;
  const auto s = LoadTableWithPictures(back, kTableFilePrefix, path, other, messages_, report);
  ASSERT_TRUE(s);
  ASSERT_EQ(report.warnings.size(), 1u);
  EXPECT_NE(report.warnings[0].find("plan.vtf.dxf"), std::string::npos) << report.warnings[0];
  EXPECT_TRUE(other);  // a new, empty store
  EXPECT_EQ(back.GetCell(0, 0).sBlockName, table_.GetCell(0, 0).sBlockName);
  EXPECT_TRUE(back.GetCell(0, 0).picture.empty());
}

TEST_F(CompanionTest, FailedDrawingSaveFailsTheSaveAndWritesNoTable_Issue11) {
  std::filesystem::create_directory(dir_.File("plan.vtf.dxf"));  // a folder in the way
  const auto s = SaveTableWithPictures(table_, kTableFilePrefix, dir_.File("plan.vtf"), store_);
  EXPECT_FALSE(s);
  EXPECT_EQ(s.code(), ErrorCode::kCannotWrite);
  // A table file now would name blocks that no drawing beside it holds.
  EXPECT_FALSE(std::filesystem::exists(dir_.File("plan.vtf")));
}

TEST_F(CompanionTest, FailedDrawingSaveKeepsTheOldTableFile_Issue11) {
  const std::string path = dir_.File("plan.vtf");
  ASSERT_TRUE(SaveTableWithPictures(table_, kTableFilePrefix, path, store_));
  const std::string before = ReadFile(path);
  std::filesystem::remove(dir_.File("plan.vtf.dxf"));
  std::filesystem::create_directory(dir_.File("plan.vtf.dxf"));
  TableData changed = table_;
  changed.RowHeights[0] = 99;
  EXPECT_FALSE(SaveTableWithPictures(changed, kTableFilePrefix, path, store_));
  EXPECT_EQ(ReadFile(path), before);
}

}  // namespace
}  // namespace vex
