#include "draw/cell_layout.h"

#include <gtest/gtest.h>

namespace vex {
namespace {

TableCell Cell(const std::string& text, int horz, int vert, double h) {
  TableCell c;
  c.strText = text;
  c.HorzMode = horz;
  c.VertMode = vert;
  c.dHeight = h;
  return c;
}

TEST(PlaceCellText, RightTopKeepsTheMargin) {
  const auto lines = PlaceCellText(Cell("x", 2, 0, 3), {0, 0, 30, -10}, 1);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_DOUBLE_EQ(lines[0].x, 29);
  EXPECT_DOUBLE_EQ(lines[0].y, -1);
  EXPECT_EQ(lines[0].horizontalMode, 2);
  EXPECT_EQ(lines[0].verticalMode, 3);
}

TEST(PlaceCellText, ThreeMiddleLinesAreCentredAroundTheMiddle) {
  const auto lines = PlaceCellText(Cell("a\r\nb\r\nc", 1, 1, 3), {0, 0, 30, -20}, 1);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_DOUBLE_EQ(lines[0].y, -6);
  EXPECT_DOUBLE_EQ(lines[1].y, -10);
  EXPECT_DOUBLE_EQ(lines[2].y, -14);
  EXPECT_DOUBLE_EQ(lines[0].x, 15);
  EXPECT_EQ(lines[1].text, "b");
  EXPECT_EQ(lines[2].verticalMode, 2);
}

struct Alignment {
  int horz, vert;
  double x, firstY;
  int hostVert;
};

class PlaceCellTextAlignment : public ::testing::TestWithParam<Alignment> {};

TEST_P(PlaceCellTextAlignment, TwoLinesInATenByFortyCell) {
  const auto& a = GetParam();
  // Plot scale 2: margin 2, text height 5 (both already scaled).
  const auto lines = PlaceCellText(Cell("one\r\ntwo", a.horz, a.vert, 5), {100, -20, 140, -40}, 2);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_DOUBLE_EQ(lines[0].x, a.x);
  EXPECT_DOUBLE_EQ(lines[0].y, a.firstY);
  EXPECT_DOUBLE_EQ(lines[1].y, a.firstY - 7);
  EXPECT_EQ(lines[0].horizontalMode, a.horz > 2 ? 1 : a.horz);
  EXPECT_EQ(lines[0].verticalMode, a.hostVert);
}

INSTANTIATE_TEST_SUITE_P(Modes, PlaceCellTextAlignment,
                         ::testing::Values(Alignment{0, 0, 102, -22, 3}, Alignment{1, 0, 120, -22, 3},
                                           Alignment{2, 0, 138, -22, 3}, Alignment{0, 1, 102, -26.5, 2},
                                           Alignment{0, 2, 102, -33, 1}, Alignment{7, 9, 120, -26.5, 2}));

TEST(PlaceCellText, EmptyTextIsOneEmptyLine) {
  const auto lines = PlaceCellText(Cell("", 1, 1, 3), {0, 0, 10, -10}, 1);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_TRUE(lines[0].text.empty());
}

TEST(SplitCellLines, SplitsOnlyAtCarriageReturnLineFeed) {
  EXPECT_EQ(SplitCellLines("a\nb"), (std::vector<std::string>{"a\nb"}));
  EXPECT_EQ(SplitCellLines("a\r\n\r\nb\r\n"), (std::vector<std::string>{"a", "", "b", ""}));
}

TEST(PictureScale, ClampsTheCellScale) {
  // A 10 x 10 picture in a 20 x 10 box: height limits.
  EXPECT_DOUBLE_EQ(PictureScale(10, 10, 20, 10, 1), 1);
  EXPECT_DOUBLE_EQ(PictureScale(10, 10, 20, 10, 0.01), 0.05);
  EXPECT_DOUBLE_EQ(PictureScale(10, 10, 20, 10, 3), 1);
  EXPECT_DOUBLE_EQ(PictureScale(10, 10, 20, 10, 0.5), 0.5);
  // Width limits when the box is narrow.
  EXPECT_DOUBLE_EQ(PictureScale(10, 10, 5, 10, 1), 0.5);
}

TEST(PictureScale, ThinPicturesUseTheirOtherDirection) {
  // A single horizontal line: scaled by its width alone.
  EXPECT_DOUBLE_EQ(PictureScale(40, 0, 20, 10, 1), 0.5);
  EXPECT_DOUBLE_EQ(PictureScale(0, 40, 20, 10, 1), 0.25);
  // A point: the cell scale itself.
  EXPECT_DOUBLE_EQ(PictureScale(0, 0, 20, 10, 0.3), 0.3);
  // A degenerate box gives a scale of 1 rather than 0.
  EXPECT_DOUBLE_EQ(PictureScale(10, 10, 0, 0, 1), 1);
}

TEST(PicturePlace, FollowsTheAlignment) {
  const Rect2d box{0, 10, 20, 0};
  EXPECT_DOUBLE_EQ(PicturePlace(4, 2, box, 0, 0).x, 0);
  EXPECT_DOUBLE_EQ(PicturePlace(4, 2, box, 0, 0).y, 8);
  EXPECT_DOUBLE_EQ(PicturePlace(4, 2, box, 1, 1).x, 8);
  EXPECT_DOUBLE_EQ(PicturePlace(4, 2, box, 1, 1).y, 4);
  EXPECT_DOUBLE_EQ(PicturePlace(4, 2, box, 2, 2).x, 16);
  EXPECT_DOUBLE_EQ(PicturePlace(4, 2, box, 2, 2).y, 0);
}

}  // namespace
}  // namespace vex
