#include "model/table_data.h"

#include <gtest/gtest.h>

#include "model/alignment.h"

namespace vex {
namespace {

TableData Sized(int rows, int cols) {
  TableData t;
  t.nRows = rows;
  t.nCols = cols;
  return t;
}

void ExpectRectangular(const TableData& t) {
  ASSERT_EQ(t.RowHeights.size(), static_cast<std::size_t>(t.nRows));
  ASSERT_EQ(t.ColWidths.size(), static_cast<std::size_t>(t.nCols));
  ASSERT_EQ(t.rows.size(), static_cast<std::size_t>(t.nRows));
  for (const TableRow& r : t.rows) ASSERT_EQ(r.cells.size(), static_cast<std::size_t>(t.nCols));
  for (const MergeSpan& s : t.MergeRows) {
    EXPECT_LT(s.nStart, t.nCols);
    EXPECT_LT(s.nEnd, t.nCols);
  }
  for (const MergeSpan& s : t.MergeCols) {
    EXPECT_LT(s.nStart, t.nRows);
    EXPECT_LT(s.nEnd, t.nRows);
  }
}

TEST(TableCell, FreshAndDefaultValues) {
  const TableCell fresh;
  EXPECT_EQ(fresh.HorzMode, 0);
  EXPECT_EQ(fresh.VertMode, 0);
  EXPECT_EQ(fresh.dHeight, 0.0);
  EXPECT_EQ(fresh.nType, 0);
  EXPECT_EQ(fresh.dScael, 1.0);
  EXPECT_TRUE(fresh.strText.empty());
  EXPECT_TRUE(fresh.sBlockName.empty());
  EXPECT_TRUE(fresh.picture.empty());

  const TableCell d = TableCell::Default();
  EXPECT_EQ(d.HorzMode, 1);
  EXPECT_EQ(d.VertMode, 1);
  EXPECT_EQ(d.dHeight, 3.0);
  EXPECT_EQ(d.dScael, 1.0);

  TableCell c = d;
  c.strText = "x";
  c.picture.Append(std::make_unique<JLine>(Point2d{0, 0}, Point2d{1, 1}));
  c.Reset();
  EXPECT_EQ(c, fresh);
}

TEST(Normalize, EmptyTableStaysEmptyAndDropsSpans) {
  TableData t;
  t.RowHeights = {5};
  t.rows.push_back(TableRow{{TableCell{}}});
  t.AppendMergeRow({0, 0, 0});
  t.AppendMergeCol({3, 1, 2});
  t.Normalize();
  EXPECT_EQ(t, TableData{});
}

TEST(Normalize, PadsShortArraysWithLastValueAndDefaultCells) {
  TableData t = Sized(4, 3);
  t.RowHeights = {8.0};
  t.Normalize();
  ExpectRectangular(t);
  EXPECT_EQ(t.RowHeights, (std::vector<double>{8, 8, 8, 8}));
  EXPECT_EQ(t.ColWidths, (std::vector<double>{30, 30, 30}));
  for (const TableRow& r : t.rows)
    for (const TableCell& c : r.cells) EXPECT_EQ(c, TableCell::Default());
}

TEST(Normalize, MissingHeightsRepeatTheLastOne) {
  TableData t = Sized(4, 2);
  t.RowHeights = {5, 7};
  t.ColWidths = {};
  t.Normalize();
  EXPECT_EQ(t.RowHeights, (std::vector<double>{5, 7, 7, 7}));
  EXPECT_EQ(t.ColWidths, (std::vector<double>{30, 30}));

  TableData none = Sized(2, 1);
  none.Normalize();
  EXPECT_EQ(none.RowHeights, (std::vector<double>{10, 10}));
}

TEST(Normalize, DropsWhatLiesBeyondTheCounts) {
  TableData t = Sized(1, 2);
  t.RowHeights = {1, 2, 3};
  t.ColWidths = {4, 5, 6, 7};
  TableCell kept;
  kept.strText = "kept";
  TableCell extra;
  extra.strText = "extra";
  t.rows.push_back(TableRow{{kept, kept, extra}});
  t.rows.push_back(TableRow{{extra}});
  t.Normalize();
  ExpectRectangular(t);
  EXPECT_EQ(t.RowHeights, (std::vector<double>{1}));
  EXPECT_EQ(t.ColWidths, (std::vector<double>{4, 5}));
  EXPECT_EQ(t.GetCell(0, 0).strText, "kept");
  EXPECT_EQ(t.GetCell(0, 1).strText, "kept");
}

TEST(Normalize, ShortRowsKeepTheirCellsAndArePadded) {
  TableData t = Sized(3, 3);
  TableCell c;
  c.strText = "a";
  t.rows.push_back(TableRow{{c}});
  t.Normalize();
  ExpectRectangular(t);
  EXPECT_EQ(t.GetCell(0, 0), c);  // a fresh cell stays fresh, it is not made a default cell
  EXPECT_EQ(t.GetCell(0, 1), TableCell::Default());
  EXPECT_EQ(t.GetCell(2, 2), TableCell::Default());
}

TEST(Normalize, CutsAndDropsSpans) {
  TableData t = Sized(5, 5);
  t.AppendMergeRow({2, 1, 9});
  t.AppendMergeRow({2, 5, 9});
  t.AppendMergeRow({9, 0, 1});
  t.AppendMergeRow({1, 7, 3});
  t.AppendMergeCol({0, 3, 6});
  t.AppendMergeCol({0, 6, 5});
  t.Normalize();
  ExpectRectangular(t);
  EXPECT_EQ(t.MergeRows, (std::vector<MergeSpan>{{2, 1, 4}, {9, 0, 1}, {1, 4, 3}}));
  EXPECT_EQ(t.MergeCols, (std::vector<MergeSpan>{{0, 3, 4}}));
}

TEST(Normalize, NegativeCountsGiveAnEmptyTable) {
  TableData t = Sized(-3, -1);
  t.RowHeights = {4};
  t.Normalize();
  EXPECT_TRUE(t.RowHeights.empty());
  EXPECT_TRUE(t.rows.empty());
}

TEST(Normalize, KeepsPictures) {
  TableData t = Sized(1, 1);
  TableCell c;
  c.nType = 1;
  c.sBlockName = "VexTable0";
  c.picture.Append(std::make_unique<JCircle>(Point2d{1, 1}, 2));
  t.rows.push_back(TableRow{{c}});
  t.Normalize();
  EXPECT_EQ(t.GetCell(0, 0), c);
}

TEST(MergeSpan, ClampSetsNegativesToZero) {
  MergeSpan s(-1, 3, -7);
  s.Clamp();
  EXPECT_EQ(s, MergeSpan(0, 3, 0));
}

TEST(TableData, ClearEmptiesEverything) {
  TableData t = Sized(2, 2);
  t.Normalize();
  t.AppendMergeRow({0, 0, 1});
  EXPECT_TRUE(t.Clear());
  EXPECT_EQ(t, TableData{});
}

TEST(TableData, CopiesAreDeep) {
  TableData source = Sized(2, 2);
  source.Normalize();
  TableCell pic;
  pic.nType = 1;
  pic.picture.Append(std::make_unique<JLine>(Point2d{0, 0}, Point2d{3, 4}));
  source.SetCell(0, 0, pic);

  TableData copy = source;
  TableCell changed;
  changed.strText = "changed";
  copy.SetCell(1, 1, changed);
  copy.RowHeights[0] = 99;
  EXPECT_EQ(source.GetCell(1, 1), TableCell::Default());
  EXPECT_EQ(source.RowHeights[0], 10);

  // The copy's picture outlives the source's.
  TableData assigned;
  assigned = source;
  source.Clear();
  ASSERT_EQ(assigned.GetCell(0, 0).picture.size(), 1u);
  EXPECT_EQ(assigned.GetCell(0, 0).picture[0].GetBounds(), (Rect2d{0, 4, 3, 0}));
}

TEST(TableData, AppendsAreInOrder) {
  TableData t;
  t.AppendRow({});
  TableCell a;
  a.strText = "a";
  t.AppendCell(0, a);
  t.AppendCell(0, TableCell{});
  t.AppendMergeRow({0, 1, 0});
  t.AppendMergeRow({0, 0, 1});
  EXPECT_EQ(t.rows[0].cells.size(), 2u);
  EXPECT_EQ(t.GetCell(0, 0).strText, "a");
  EXPECT_EQ(t.MergeRows, (std::vector<MergeSpan>{{0, 1, 0}, {0, 0, 1}}));
}

TEST(Alignment, FlagWordBothWays) {
  for (int h = 0; h < 3; ++h)
    for (int v = 0; v < 3; ++v) {
      const int flags = AlignmentToFlags(h, v);
      EXPECT_EQ(flags, h + 4 * v);
      EXPECT_EQ(AlignmentFromFlags(flags), (Alignment{h, v})) << "flags " << flags;
    }
}

TEST(Alignment, UnlistedFlagWordsReadAsCentreMiddle) {
  for (int flags : {3, 5, 7, 11, 12, -1, 100})
    EXPECT_EQ(AlignmentFromFlags(flags), (Alignment{1, 1})) << "flags " << flags;
  EXPECT_EQ(AlignmentFromFlags(0), (Alignment{0, 0}));
}

}  // namespace
}  // namespace vex
