// Recognition of tables drawn other than as plain lines and texts, and of drawings that hold
// more than the table: regressions of issue 11 and what drafters' drawings hold.

#include <gtest/gtest.h>

#include <functional>

#include "pictures/image_store.h"
#include "platform/message_sink.h"
#include "recognize/table_recognizer.h"
#include "settings/settings.h"
#include "support/drawing.h"
#include "support/temp_dir.h"

namespace vex {
namespace {

class DrawnTableTest : public test::DrawingTest {
 protected:
  ResultOr<RecognizedTable> Read() { return RecognizeTable(ModelSpace(), db_, settings_, store_, messages_); }

  // A block named `name` holding what `fill` adds to it.
  AcDbObjectId Block(const char* name, const std::function<void(AcDbObjectId)>& fill) {
    AcDbBlockTable* table = nullptr;
    EXPECT_EQ(db_.getBlockTable(table, AcDb::kForWrite), Acad::eOk);
    auto* record = new AcDbBlockTableRecord();
    record->setName(name);
    AcDbObjectId id;
    EXPECT_EQ(table->add(id, record), Acad::eOk);
    record->close();
    table->close();
    fill(id);
    return id;
  }
  static void Put(AcDbObjectId block, AcDbEntity* e) {
    AcDbObjectPointer<AcDbBlockTableRecord> b(block, AcDb::kForWrite);
    ASSERT_EQ(b->appendAcDbEntity(e), Acad::eOk);
    e->close();
  }

  Settings settings_;
  ImageStore store_;
};

TEST_F(DrawnTableTest, RowLinesJustBeyondTheToleranceStayTwo_Issue11) {
  for (double y : {0.0, -10.0, -10.005, -20.0}) AddLine(0, y, 30, y);
  for (double x : {0.0, 30.0}) AddLine(x, 0, x, -20);
  const auto r = Read();
  ASSERT_TRUE(r) << messages_.Text();
  ASSERT_EQ(r->table.nRows, 3);
  EXPECT_NEAR(r->table.RowHeights[1], 0.005, 1e-9);
}

TEST_F(DrawnTableTest, ColumnLinesJustBeyondTheToleranceStayTwo_Issue11) {
  for (double x : {0.0, 30.0, 30.005, 60.0}) AddLine(x, 0, x, -10);
  for (double y : {0.0, -10.0}) AddLine(0, y, 60, y);
  const auto r = Read();
  ASSERT_TRUE(r) << messages_.Text();
  ASSERT_EQ(r->table.nCols, 3);
  EXPECT_NEAR(r->table.ColWidths[1], 0.005, 1e-9);
}

// The top rule drifts down in three segments, each within the tolerance of the last; the
// borders end where the segment above them lies.
TEST_F(DrawnTableTest, RuleDriftingPastTheToleranceInSegmentsIsOneRule_Issue11) {
  AddLine(0, 0, 20, 0);
  AddLine(20, -0.0008, 40, -0.0008);
  AddLine(40, -0.0016, 60, -0.0016);
  AddLine(0, -10, 60, -10);
  AddLine(0, 0, 0, -10);
  AddLine(30, -0.0008, 30, -10);
  AddLine(60, -0.0016, 60, -10);
  AddText(5, -6, "a");
  AddText(45, -6, "b");
  const auto r = Read();
  ASSERT_TRUE(r) << messages_.Text();
  EXPECT_EQ(r->table.nRows, 1);
  ASSERT_EQ(r->table.nCols, 2);
  EXPECT_TRUE(r->table.MergeRows.empty());
  EXPECT_EQ(r->table.GetCell(0, 1).strText, "b");
}

TEST_F(DrawnTableTest, GridBeyondTheTableLimitsIsRefused_Issue11) {
  // 1,001 x 1,001 cells: within 65,535 rows and columns, beyond 1,000,000 cells.
  for (int k = 0; k <= 1001; ++k) {
    AddLine(0, -k, 1001, -k);
    AddLine(k, 0, k, -1001);
  }
  const auto r = Read();
  ASSERT_FALSE(r);
  EXPECT_EQ(r.result().code(), ErrorCode::kTooLarge);
  EXPECT_NE(messages_.Text().find("1001 rows and 1001 columns (1002001 cells)"), std::string::npos) << messages_.Text();
}

TEST_F(DrawnTableTest, MoreRowsThanATableHoldsAreRefused_Issue11) {
  for (int k = 0; k <= 65536; ++k) AddLine(0, -k, 10, -k);
  AddLine(0, 0, 0, -65536);
  AddLine(10, 0, 10, -65536);
  const auto r = Read();
  ASSERT_FALSE(r);
  EXPECT_EQ(r.result().code(), ErrorCode::kTooLarge);
  EXPECT_NE(r.result().message().find("65536 rows"), std::string::npos) << r.result().message();
}

TEST_F(DrawnTableTest, TextsOfOneVisualLineJoinLeftToRight) {
  AddGrid(1, 1);
  AddText(15, -6.3, "right", 3.0, 0, 0);  // a higher baseline, a larger height
  AddText(2, -6.5, "left", 2.5, 0, 0);
  AddText(2, -9.5, "below", 2.5, 0, 0);
  const auto r = Read();
  ASSERT_TRUE(r);
  EXPECT_EQ(r->table.GetCell(0, 0).strText, "left right\r\nbelow");
  EXPECT_DOUBLE_EQ(r->table.GetCell(0, 0).dHeight, 3.0);  // the top text's
}

TEST_F(DrawnTableTest, TextsOnExactlyOneBaselineKeepTheirDrawingOrder) {
  AddGrid(1, 1);
  AddText(20, -6, "second", 2, 0, 0);
  AddText(2, -6, "first", 2, 0, 0);
  const auto r = Read();
  ASSERT_TRUE(r);
  EXPECT_EQ(r->table.GetCell(0, 0).strText, "second first");
}

TEST_F(DrawnTableTest, StrayLinesAreLeftOutAndSaid) {
  AddGrid(2, 2);
  AddLine(45, 2, 45, -2);     // a tick across the top rule
  AddLine(15, -10, 15, -15);  // a divider half a row high
  AddLine(70, -5, 80, -5);    // a mark outside
  AddText(0, 3, "Title");
  AddText(35, -6, "kept");
  const auto r = Read();
  ASSERT_TRUE(r) << messages_.Text();
  EXPECT_EQ(r->table.nRows, 2);
  EXPECT_EQ(r->table.nCols, 2);
  EXPECT_EQ(r->table.GetCell(0, 1).strText, "kept");
  EXPECT_EQ(r->lineIds.length(), 6);
  EXPECT_TRUE(r->frameMatchesSelection);
  EXPECT_EQ(r->textIds.length(), 1);
  const std::string said = messages_.Text();
  EXPECT_NE(said.find("\nThe table found covers only part of the selection: 2 entities outside it left out"),
            std::string::npos) << said;
  EXPECT_NE(said.find("\n2 lines that end loose on the table's rules"), std::string::npos) << said;
}

TEST_F(DrawnTableTest, TwoSeparateTablesOfOneSizeAreNoOneTable) {
  AddGrid(1, 2);
  AddGrid(1, 2, 100, 0);
  const auto r = Read();
  ASSERT_FALSE(r);
  EXPECT_EQ(r.result().code(), ErrorCode::kNoTable);
  EXPECT_NE(messages_.Text().find("2 separate tables of the same size"), std::string::npos) << messages_.Text();
}

TEST_F(DrawnTableTest, LargerOfTwoTablesIsReadAndTheOtherSaid) {
  AddGrid(2, 2);
  AddGrid(1, 1, 100, 0);
  const auto r = Read();
  ASSERT_TRUE(r);
  EXPECT_EQ(r->table.nRows, 2);
  EXPECT_NE(messages_.Text().find("4 entities outside it"), std::string::npos) << messages_.Text();
}

TEST_F(DrawnTableTest, LinesFloatingInACellBecomeItsPicture) {
  AddGrid(1, 2);
  AddLine(35, -3, 55, -3);  // a symbol of orthogonal lines, touching no rule
  AddLine(35, -3, 35, -7);
  const auto r = Read();
  ASSERT_TRUE(r) << messages_.Text();
  EXPECT_EQ(r->table.nCols, 2);
  EXPECT_EQ(r->table.GetCell(0, 1).nType, 1);
  EXPECT_EQ(r->imageIds.length(), 2);
}

TEST_F(DrawnTableTest, TableInABlockReferenceIsTheReference) {
  const AcDbObjectId block = Block("TBL", [](AcDbObjectId b) {
    for (int i = 0; i <= 1; ++i) Put(b, new AcDbLine(AcGePoint3d(0, -10.0 * i, 0), AcGePoint3d(60, -10.0 * i, 0)));
    for (int j = 0; j <= 2; ++j) Put(b, new AcDbLine(AcGePoint3d(30.0 * j, 0, 0), AcGePoint3d(30.0 * j, -10, 0)));
    Put(b, new AcDbText(AcGePoint3d(2, -6, 0), "in", AcDbObjectId(), 2.5));
  });
  auto* ref = new AcDbBlockReference(AcGePoint3d(100, 100, 0), block);
  const AcDbObjectId refId = Add(ref);
  AddText(135, 94, "beside");  // a text of the drawing in the second cell
  const auto r = Read();
  ASSERT_TRUE(r) << messages_.Text();
  EXPECT_EQ(r->table.nCols, 2);
  EXPECT_EQ(r->table.GetCell(0, 0).strText, "in");
  EXPECT_EQ(r->table.GetCell(0, 1).strText, "beside");
  EXPECT_EQ(r->origin, AcGePoint3d(100, 100, 0));
  ASSERT_EQ(r->lineIds.length(), 1);
  EXPECT_EQ(r->lineIds[0], refId);
  ASSERT_EQ(r->textIds.length(), 2);
  EXPECT_EQ(r->textIds[0], refId);
  EXPECT_TRUE(r->frameMatchesSelection);
}

TEST_F(DrawnTableTest, StretchedBlockKeepsItsRulesAndSaysWhatTextCannotFollow) {
  const AcDbObjectId block = Block("TBL", [](AcDbObjectId b) {
    for (int i = 0; i <= 1; ++i) Put(b, new AcDbLine(AcGePoint3d(0, -10.0 * i, 0), AcGePoint3d(30, -10.0 * i, 0)));
    for (int j = 0; j <= 1; ++j) Put(b, new AcDbLine(AcGePoint3d(30.0 * j, 0, 0), AcGePoint3d(30.0 * j, -10, 0)));
    Put(b, new AcDbText(AcGePoint3d(2, -6, 0), "squeezed", AcDbObjectId(), 2.5));
  });
  auto* ref = new AcDbBlockReference(AcGePoint3d(0, 0, 0), block);
  ref->setScaleFactors(AcGeScale3d(2, 1, 1));
  Add(ref);
  const auto r = Read();
  ASSERT_TRUE(r) << messages_.Text();
  EXPECT_DOUBLE_EQ(r->table.ColWidths[0], 60);
  EXPECT_DOUBLE_EQ(r->table.RowHeights[0], 10);
  EXPECT_EQ(r->table.GetCell(0, 0).strText, "");
  EXPECT_NE(messages_.Text().find("1 TEXT under a stretched block"), std::string::npos) << messages_.Text();
}

TEST_F(DrawnTableTest, ReferencesNestedIntoBillionsOfLinesAreCutShortAndSaid) {
  // Seven levels of ten references each over one line: ten million lines from a few entities.
  AcDbObjectId inner = Block("L0", [](AcDbObjectId b) { Put(b, new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 1, 0))); });
  for (int level = 1; level <= 7; ++level)
    inner = Block(("L" + std::to_string(level)).c_str(), [&](AcDbObjectId b) {
      for (int k = 0; k < 10; ++k) Put(b, new AcDbBlockReference(AcGePoint3d(k, 0, 0), inner));
    });
  AddGrid(1, 1);
  Add(new AcDbBlockReference(AcGePoint3d(100, 100, 0), inner));
  const auto r = Read();
  ASSERT_TRUE(r) << messages_.Text();
  EXPECT_EQ(r->table.nRows, 1);
  EXPECT_NE(messages_.Text().find("selection beyond the 2000000 parts it may have"), std::string::npos)
      << messages_.Text();
}

TEST_F(DrawnTableTest, MultilineTextFillsItsCellWithItsLines) {
  AddGrid(1, 2);
  auto* m = new AcDbMText();
  m->setContents("{\\fArial;M12}\\Px 40");
  m->setLocation(AcGePoint3d(45, -5, 0));
  m->setAttachment(AcDbMText::kMiddleCenter);
  m->setTextHeight(2);
  const AcDbObjectId id = Add(m);
  const auto r = Read();
  ASSERT_TRUE(r) << messages_.Text();
  const TableCell c = r->table.GetCell(0, 1);
  EXPECT_EQ(c.strText, "M12\r\nx 40");
  EXPECT_EQ(c.HorzMode, 1);
  EXPECT_EQ(c.VertMode, 1);
  ASSERT_EQ(r->textIds.length(), 1);
  EXPECT_EQ(r->textIds[0], id);
}

TEST_F(DrawnTableTest, KindsTheReaderDoesNotUseAreSaid) {
  test::TempDir dir;
  std::string dxf = "0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\nAC1021\n0\nENDSEC\n0\nSECTION\n2\nENTITIES\n";
  const auto line = [&](double x1, double y1, double x2, double y2) {
    dxf += "0\nLINE\n100\nAcDbEntity\n8\n0\n100\nAcDbLine\n10\n" + std::to_string(x1) + "\n20\n" +
           std::to_string(y1) + "\n11\n" + std::to_string(x2) + "\n21\n" + std::to_string(y2) + "\n";
  };
  line(0, 0, 30, 0);
  line(0, -10, 30, -10);
  line(0, 0, 0, -10);
  line(30, 0, 30, -10);
  for (int k = 0; k < 2; ++k) dxf += "0\nPOINT\n100\nAcDbEntity\n8\n0\n100\nAcDbPoint\n10\n5\n20\n-5\n30\n0\n";
  dxf += "0\nENDSEC\n0\nEOF\n";
  test::WriteFile(dir.File("p.dxf"), dxf);
  ASSERT_EQ(db_.readDwgFile(dir.File("p.dxf").c_str()), Acad::eOk) << db_.lastFileReport().message;
  const auto r = Read();
  ASSERT_TRUE(r) << messages_.Text();
  EXPECT_NE(messages_.Text().find("\nLeft out, of kinds the reader does not use: 2 POINT"), std::string::npos)
      << messages_.Text();
  EXPECT_EQ(r->selectedIds.length(), 6);
}

}  // namespace
}  // namespace vex
