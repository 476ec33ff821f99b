// The in-memory sheet: references, sizes in points, merging as the spreadsheet merges.

#include <gtest/gtest.h>

#include "excel/sheet_data.h"

namespace vex::excel {
namespace {

TEST(SheetData, ParsesCellAndAreaReferences) {
  int r = 0, c = 0;
  EXPECT_TRUE(ParseCellReference("C5", r, c));
  EXPECT_EQ(r, 5);
  EXPECT_EQ(c, 3);
  EXPECT_TRUE(ParseCellReference("$AB$12", r, c));
  EXPECT_EQ(c, 28);
  EXPECT_TRUE(ParseCellReference("XFD1048576", r, c));
  for (const char* bad : {"", "5", "C", "C0", "XFE1", "A1048577", "A1x", "1A"}) EXPECT_FALSE(ParseCellReference(bad, r, c)) << bad;
  CellArea a;
  EXPECT_TRUE(ParseAreaReference("E9:C8", a));
  EXPECT_EQ(a, (CellArea{8, 3, 2, 3}));
  EXPECT_FALSE(ParseAreaReference("C8:", a));
}

TEST(SheetData, WidthsInPointsAsTheSpreadsheetComputesThem) {
  // The default 8 characters of a 7-pixel digit: 61 pixels rounded up to 64, 48 points.
  EXPECT_DOUBLE_EQ(BaseWidthToPoints(8, 7), 48);
  // A file width of 20 characters is 140 pixels; the ColumnWidth 20 adds 5 pixels of padding.
  EXPECT_DOUBLE_EQ(FileWidthToPoints(20, 7), 105);
  EXPECT_DOUBLE_EQ(CharactersToPoints(20, 7), 108.75);
  EXPECT_DOUBLE_EQ(CharactersToPoints(0, 7), 0);
  EXPECT_DOUBLE_EQ(MaxDigitWidthFor(11), 7);
  EXPECT_DOUBLE_EQ(DefaultRowHeightFor(11), 15);
}

TEST(SheetData, UsedRangeCoversCellsAndMerges) {
  SheetData s;
  EXPECT_TRUE(s.UsedRange().empty());
  s.At(5, 3).kind = CellKind::kText;
  s.At(7, 4).kind = CellKind::kNumber;
  ASSERT_TRUE(s.AddMerge(CellArea{8, 3, 2, 3}).ok());
  EXPECT_EQ(s.UsedRange(), (CellArea{5, 3, 5, 3}));
}

TEST(SheetData, MergingTheRowsThenTheColumnsOfABlockGivesTheBlock) {
  SheetData s;
  ASSERT_TRUE(s.Merge(CellArea{2, 1, 1, 3}).ok());
  ASSERT_TRUE(s.Merge(CellArea{3, 1, 1, 3}).ok());
  for (int c = 1; c <= 3; ++c) ASSERT_TRUE(s.Merge(CellArea{2, c, 2, 1}).ok());
  ASSERT_EQ(s.Merges().size(), 1u);
  EXPECT_EQ(s.Merges()[0], (CellArea{2, 1, 2, 3}));
  ASSERT_NE(s.MergeAreaAt(3, 3), nullptr);
  EXPECT_EQ(*s.MergeAreaAt(3, 3), (CellArea{2, 1, 2, 3}));
  EXPECT_EQ(s.MergeAreaAt(4, 1), nullptr);
}

TEST(SheetData, MergeAreasAreFoundAcrossRowBands) {
  SheetData s;
  ASSERT_TRUE(s.AddMerge(CellArea{60, 2, 10, 2}).ok());
  ASSERT_TRUE(s.Merge(CellArea{69, 3, 5, 1}).ok());
  ASSERT_EQ(s.Merges().size(), 1u);
  EXPECT_EQ(s.Merges()[0], (CellArea{60, 2, 14, 2}));
  EXPECT_NE(s.MergeAreaAt(73, 3), nullptr);
}

TEST(SheetData, ASingleCellIsNotMerged) {
  SheetData s;
  ASSERT_TRUE(s.Merge(CellArea{1, 1, 1, 1}).ok());
  EXPECT_TRUE(s.Merges().empty());
}

TEST(SheetData, FormatsAreShared) {
  SheetData s;
  CellFormat f;
  f.fontSize = 9;
  const int a = s.FormatIndex(f);
  EXPECT_EQ(s.FormatIndex(f), a);
  EXPECT_EQ(s.FormatIndex(CellFormat{}), 0);
  s.At(1, 1).format = a;
  EXPECT_EQ(s.FormatOf(1, 1).fontSize, 9);
  EXPECT_EQ(s.FormatOf(2, 2).fontSize, 11);
}

}  // namespace
}  // namespace vex::excel
