// Object snaps: END, MID, INT, CEN near the cursor.

#include "cadhost/ui/snaps.h"

#include <gtest/gtest.h>

#include <numbers>

namespace cadhost::ui {
namespace {

constexpr double kPi = std::numbers::pi;

SnapGeometry Segment(Pt a, Pt b) {
  SnapGeometry g;
  g.segments.emplace_back(a, b);
  return g;
}

SnapGeometry Circle(Pt c, double r) {
  SnapGeometry g;
  g.arcs.push_back({c, r, 0, 2 * kPi, true});
  return g;
}

struct SnapCase {
  const char* name;
  Pt cursor;
  double aperture;
  unsigned modes;
  std::optional<SnapMode> mode;
  Pt at;
};

class FindSnapIn : public ::testing::TestWithParam<SnapCase> {};

// A line from (0,0) to (10,0), a line from (5,-5) to (5,5), a circle of radius 2 about
// (20,0) and a quarter arc of radius 3 about (30,0) from 0 to 90 degrees.
TEST_P(FindSnapIn, TheNearestSnapWithinTheAperture) {
  const SnapGeometry a = Segment({0, 0}, {10, 0});
  const SnapGeometry b = Segment({5, -5}, {5, 5});
  const SnapGeometry c = Circle({20, 0}, 2);
  SnapGeometry arc;
  arc.arcs.push_back({{30, 0}, 3, 0, kPi / 2, false});
  const SnapCase& t = GetParam();
  const auto s = FindSnap({&a, &b, &c, &arc}, t.cursor, t.aperture, t.modes);
  ASSERT_EQ(s.has_value(), t.mode.has_value());
  if (!s) return;
  EXPECT_EQ(s->mode, *t.mode);
  EXPECT_NEAR(s->point.x, t.at.x, 1e-9);
  EXPECT_NEAR(s->point.y, t.at.y, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FindSnapIn,
    ::testing::Values(
        SnapCase{"EndOfLine", {9.6, 0.3}, 1, kSnapAll, kSnapEnd, {10, 0}},
        SnapCase{"AtEqualDistanceIntersectionBeforeMiddle", {5.1, 0.1}, 1, kSnapAll, kSnapInt, {5, 0}},
        SnapCase{"MidWithoutInt", {5.1, 0.1}, 1, kSnapEnd | kSnapMid, kSnapMid, {5, 0}},
        SnapCase{"NothingNearTheUpright", {5.2, 2.6}, 1, kSnapAll, std::nullopt, {}},
        SnapCase{"CentreFromTheCurve", {22.1, 0.2}, 0.5, kSnapCen, kSnapCen, {20, 0}},
        SnapCase{"CentreFromTheCentre", {20.2, 0.1}, 0.5, kSnapAll, kSnapCen, {20, 0}},
        SnapCase{"EndOfArc", {30.2, 2.8}, 0.5, kSnapAll, kSnapEnd, {30, 3}},
        SnapCase{"MidOfArc", {32.0, 2.0}, 0.5, kSnapMid, kSnapMid, {30 + 3 * std::cos(kPi / 4), 3 * std::sin(kPi / 4)}},
        SnapCase{"NothingInReach", {15, 10}, 1, kSnapAll, std::nullopt, {}},
        SnapCase{"ModesOff", {9.6, 0.3}, 1, 0u, std::nullopt, {}}),
    [](const auto& i) { return std::string(i.param.name); });

TEST(Intersections, LineLineOnlyWithinBothSegments) {
  EXPECT_EQ(Intersections({{0, 0}, {10, 10}}, {{0, 10}, {10, 0}}), (std::vector<Pt>{{5, 5}}));
  EXPECT_TRUE(Intersections({{0, 0}, {1, 1}}, {{0, 10}, {10, 0}}).empty()) << "beyond the ends";
  EXPECT_TRUE(Intersections({{0, 0}, {10, 0}}, {{0, 1}, {10, 1}}).empty()) << "parallel";
}

TEST(Intersections, LineArcAndArcArcRespectTheArcsRange) {
  const ArcShape upper{{0, 0}, 5, 0, kPi, false};
  const auto hits = Intersections({{-10, 3}, {10, 3}}, upper);
  ASSERT_EQ(hits.size(), 2u);
  EXPECT_NEAR(std::abs(hits[0].x), 4, 1e-9);
  EXPECT_TRUE(Intersections({{-10, -3}, {10, -3}}, upper).empty()) << "below: the lower half";
  const ArcShape full{{8, 0}, 5, 0, 2 * kPi, true};
  const auto cross = Intersections(upper, full);
  ASSERT_EQ(cross.size(), 1u) << "the upper one only";
  EXPECT_NEAR(cross[0].x, 4, 1e-9);
  EXPECT_NEAR(cross[0].y, 3, 1e-9);
  EXPECT_TRUE(Intersections(full, ArcShape{{8, 0}, 2, 0, 0, true}).empty()) << "concentric";
}

TEST(SnapGeometry, TransformKeepsArcsArcs) {
  SnapGeometry g;
  g.arcs.push_back({{1, 0}, 1, 0, kPi / 2, false});
  // A quarter turn about the origin and twice the size.
  g.Transform(Affine{0, 2, -2, 0, 0, 0});
  EXPECT_NEAR(g.arcs[0].center.x, 0, 1e-12);
  EXPECT_NEAR(g.arcs[0].center.y, 2, 1e-12);
  EXPECT_NEAR(g.arcs[0].radius, 2, 1e-12);
  const Pt s = g.arcs[0].StartPoint();
  EXPECT_NEAR(s.x, 0, 1e-12);
  EXPECT_NEAR(s.y, 4, 1e-12);
  // A mirror across the y axis turns the arc round.
  SnapGeometry m;
  m.arcs.push_back({{0, 0}, 1, 0, kPi / 2, false});
  m.Transform(Affine{-1, 0, 0, 1, 0, 0});
  EXPECT_NEAR(m.arcs[0].StartPoint().x, 0, 1e-12);
  EXPECT_NEAR(m.arcs[0].StartPoint().y, 1, 1e-12);
  EXPECT_NEAR(m.arcs[0].EndPoint().x, -1, 1e-12);
}

}  // namespace
}  // namespace cadhost::ui
