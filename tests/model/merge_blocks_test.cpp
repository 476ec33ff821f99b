#include "model/merge_blocks.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace vex {
namespace {

TEST(MergeSpans, BlockOfTwoRowsAndThreeColumns) {
  TableData t;
  AppendMergeSpans(t, {{1, 0, 2, 2}});
  EXPECT_EQ(t.MergeRows, (std::vector<MergeSpan>{{1, 0, 2}, {2, 0, 2}}));
  EXPECT_EQ(t.MergeCols, (std::vector<MergeSpan>{{0, 1, 2}, {1, 1, 2}, {2, 1, 2}}));
  EXPECT_EQ(MergeBlocksFromSpans(t).back(), (MergeBlock{1, 0, 2, 2}));
}

TEST(MergeSpans, OneRowAndOneColumnBlocksGiveOneKindOnly) {
  TableData t;
  AppendMergeSpans(t, {{0, 1, 0, 3}, {2, 0, 4, 0}, {3, 3, 3, 3}});
  EXPECT_EQ(t.MergeRows, (std::vector<MergeSpan>{{0, 1, 3}}));
  EXPECT_EQ(t.MergeCols, (std::vector<MergeSpan>{{0, 2, 4}}));
  EXPECT_EQ(MergeBlocksFromSpans(t), (std::vector<MergeBlock>{{0, 1, 0, 3}, {2, 0, 4, 0}}));
}

TEST(MergeSpans, EmissionOrderIsRowMajorThenColumnMajor) {
  // Block A top-left (0, 2), block B top-left (1, 0): A comes first by rows, B by columns.
  TableData t;
  AppendMergeSpans(t, {{1, 0, 2, 1}, {0, 2, 1, 3}});
  EXPECT_EQ(t.MergeRows,
            (std::vector<MergeSpan>{{0, 2, 3}, {1, 2, 3}, {1, 0, 1}, {2, 0, 1}}));
  EXPECT_EQ(t.MergeCols,
            (std::vector<MergeSpan>{{0, 1, 2}, {1, 1, 2}, {2, 0, 1}, {3, 0, 1}}));
}

TEST(MergeSpans, BlocksComeBackAfterTheirRemainingSpans) {
  TableData t;
  const std::vector<MergeBlock> blocks{{0, 0, 1, 1}, {3, 2, 5, 4}, {2, 0, 2, 1}};
  AppendMergeSpans(t, blocks);
  const auto merges = MergeBlocksFromSpans(t);
  // The two multi-cell blocks are recognised and applied last, in MergeRows order.
  ASSERT_GE(merges.size(), 2u);
  EXPECT_EQ(merges[merges.size() - 2], (MergeBlock{0, 0, 1, 1}));
  EXPECT_EQ(merges.back(), (MergeBlock{3, 2, 5, 4}));
  // Every other merge lies inside one of the original blocks.
  for (std::size_t k = 0; k + 2 < merges.size(); ++k) {
    const MergeBlock& m = merges[k];
    const bool inside = std::any_of(blocks.begin(), blocks.end(), [&](const MergeBlock& b) {
      return m.row0 >= b.row0 && m.row1 <= b.row1 && m.col0 >= b.col0 && m.col1 <= b.col1;
    });
    EXPECT_TRUE(inside) << k;
  }
}

TEST(MergeSpans, UnpairedSpansStayPartialMerges) {
  TableData t;
  t.AppendMergeRow({4, 1, 3});
  t.AppendMergeCol({0, 2, 5});
  t.AppendMergeCol({1, 5, 6});  // begins at (5, 1): no MergeRows span there
  EXPECT_EQ(MergeBlocksFromSpans(t),
            (std::vector<MergeBlock>{{4, 1, 4, 3}, {2, 0, 5, 0}, {5, 1, 6, 1}}));
}

TEST(MergeSpans, EachColumnSpanPairsOnce) {
  TableData t;
  t.AppendMergeRow({0, 0, 1});
  t.AppendMergeRow({0, 0, 2});
  t.AppendMergeCol({0, 0, 3});
  const auto merges = MergeBlocksFromSpans(t);
  EXPECT_EQ(merges, (std::vector<MergeBlock>{{0, 0, 0, 2}, {0, 0, 3, 1}}));
}

}  // namespace
}  // namespace vex
