// Linetype dash patterns along paths.

#include "cadhost/ui/dash_pattern.h"

#include <gtest/gtest.h>

namespace cadhost::ui {
namespace {

double Len(const std::vector<Pt>& piece) {
  double l = 0;
  for (std::size_t i = 1; i < piece.size(); ++i) l += Distance(piece[i - 1], piece[i]);
  return l;
}

TEST(DashPath, DashesAndGapsAlongALine) {
  const DashPattern p{{10, -5}};
  const auto pieces = DashPath({{0, 0}, {40, 0}}, false, p);
  ASSERT_EQ(pieces.size(), 3u);  // 0-10, 15-25, 30-40
  EXPECT_EQ(pieces[0].front(), (Pt{0, 0}));
  EXPECT_EQ(pieces[0].back(), (Pt{10, 0}));
  EXPECT_EQ(pieces[1].front(), (Pt{15, 0}));
  EXPECT_EQ(pieces[2].back(), (Pt{40, 0}));
}

TEST(DashPath, ADashRunsOnRoundACorner) {
  const DashPattern p{{10, -5}};
  const auto pieces = DashPath({{0, 0}, {6, 0}, {6, 10}}, false, p);
  ASSERT_GE(pieces.size(), 1u);
  EXPECT_EQ(pieces[0].size(), 3u) << "through the vertex";
  EXPECT_NEAR(Len(pieces[0]), 10, 1e-12);
  EXPECT_EQ(pieces[0][1], (Pt{6, 0}));
}

TEST(DashPath, DotsArePiecesOfOnePoint) {
  const DashPattern p{{0, -2}};
  const auto pieces = DashPath({{0, 0}, {5, 0}}, false, p);
  ASSERT_EQ(pieces.size(), 3u);  // at 0, 2, 4
  for (const auto& d : pieces) {
    ASSERT_EQ(d.size(), 2u);
    EXPECT_EQ(d[0], d[1]);
  }
  EXPECT_EQ(pieces[2][0], (Pt{4, 0}));
}

TEST(DashPath, AClosedPathGoesBackToItsStart) {
  const DashPattern p{{100, -1}};
  const auto pieces = DashPath({{0, 0}, {10, 0}, {10, 10}, {0, 10}}, true, p);
  ASSERT_EQ(pieces.size(), 1u);
  EXPECT_EQ(pieces[0].back(), (Pt{0, 0}));
  EXPECT_NEAR(Len(pieces[0]), 40, 1e-12);
}

TEST(DashPath, ContinuousPatternsAndFloodsDrawThePathWhole) {
  const std::vector<Pt> path = {{0, 0}, {1000, 0}};
  EXPECT_EQ(DashPath(path, false, DashPattern{}).size(), 1u);
  EXPECT_EQ(DashPath(path, false, DashPattern{{5}}).size(), 1u) << "no gaps";
  EXPECT_EQ(DashPath(path, false, DashPattern{{0.001, -0.001}}, 1000).size(), 1u)
      << "a million dashes would not show";
  EXPECT_TRUE((DashPattern{{0, 0}}.Continuous()));
}

}  // namespace
}  // namespace cadhost::ui
