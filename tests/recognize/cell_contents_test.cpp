#include "recognize/cell_contents.h"

#include <gtest/gtest.h>

#include "model/merge_blocks.h"
#include "support/tables.h"

namespace vex {
namespace {

TextItem Text(double cx, double cy, const char* s, double w = 4, double h = 3) {
  TextItem t;
  t.centre = AcGePoint3d(cx, cy, 0);
  t.extentsMin = AcGePoint3d(cx - w / 2, cy - h / 2, 0);
  t.extentsMax = AcGePoint3d(cx + w / 2, cy + h / 2, 0);
  t.text = s;
  t.height = h;
  return t;
}

TEST(AlignmentOf, NearMiddleFar) {
  EXPECT_EQ(AlignmentOf(1, 10, 19), 0);
  EXPECT_EQ(AlignmentOf(10, 0, 10), 1);
  EXPECT_EQ(AlignmentOf(19, 10, 1), 2);
  EXPECT_EQ(AlignmentOf(5, 5, 5), 1);  // ties go to the middle
}

TEST(TextCellOf, JoinsLinesTopFirstAndAligns) {
  const Rect2d rect{0, 0, 60, -30};
  const TextItem third = Text(12, -16, "third"), first = Text(12, -10, "first"), second = Text(20, -10, "second");
  const TableCell c = TextCellOf({&third, &first, &second}, rect);
  EXPECT_EQ(c.strText, "first second\r\nthird");
  EXPECT_EQ(c.dHeight, 3);
  EXPECT_EQ(c.HorzMode, 0);  // nearest to the left side
}

TEST(TextCellOf, NoTextGivesAnEmptyCentredCell) {
  const TableCell c = TextCellOf({}, Rect2d{0, 0, 30, -10});
  EXPECT_EQ(c.strText, "");
  EXPECT_EQ(c.dHeight, 3.0);
  EXPECT_EQ(c.HorzMode, 1);
  EXPECT_EQ(c.VertMode, 1);
}

TEST(TextCellOf, BottomRightText) {
  const TextItem t = Text(27, -8, "R");
  const TableCell c = TextCellOf({&t}, Rect2d{0, 0, 30, -10});
  EXPECT_EQ(c.HorzMode, 2);
  EXPECT_EQ(c.VertMode, 2);
}

TEST(CellBlocks, MergedBlockCoversItsCellsAndPointsFindIt) {
  TableData t = test::UniformTable(2, 3);
  AppendMergeSpans(t, {{0, 0, 1, 1}});  // a 2 x 2 block in the top-left corner
  const auto cells = CellBlocks::Of(t, AcGePoint3d(100, 50, 0));
  ASSERT_TRUE(cells);
  ASSERT_EQ(cells->blocks().size(), 3u);  // the block and the two cells of the last column
  const CellBlock& big = cells->blocks()[0];
  EXPECT_EQ(big.rect.left, 100);
  EXPECT_EQ(big.rect.right, 160);
  EXPECT_EQ(big.rect.bottom, 30);
  EXPECT_EQ(cells->OwnerAt(150, 35), 0);   // in the block's lower-right cell
  EXPECT_EQ(cells->OwnerAt(170, 45), 1);
  EXPECT_EQ(cells->OwnerAt(170, 35), 2);
  EXPECT_EQ(cells->OwnerAt(99, 45), -1);   // left of the table
  EXPECT_EQ(cells->OwnerAt(150, 60), -1);  // above it
}

}  // namespace
}  // namespace vex
