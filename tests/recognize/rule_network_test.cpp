#include "recognize/rule_network.h"

#include <gtest/gtest.h>

namespace vex {
namespace {

// A line of a case: horizontal (y, x0, x1) or vertical (x, y0, y1), maybe cut at a window.
struct Line {
  bool vertical;
  double position, a, b;
  bool clipped = false;
};
Line H(double y, double x0, double x1, bool clipped = false) { return {false, y, x0, x1, clipped}; }
Line V(double x, double y0, double y1, bool clipped = false) { return {true, x, y0, y1, clipped}; }

constexpr RuleRole T = RuleRole::kTable, D = RuleRole::kDangling, A = RuleRole::kApart;

// The frame and inner rules of a 2 x 2 table of 10 x 30 cells at the origin: pieces 0..5.
std::vector<Line> Table() {
  return {H(0, 0, 60), H(-10, 0, 60), H(-20, 0, 60), V(0, 0, -20), V(30, 0, -20), V(60, 0, -20)};
}
std::vector<Line> TablePlus(std::vector<Line> more) {
  std::vector<Line> out = Table();
  out.insert(out.end(), more.begin(), more.end());
  return out;
}
std::vector<RuleRole> TableRoles(std::vector<RuleRole> more) {
  std::vector<RuleRole> out(6, T);
  for (RuleRole r : more) out.push_back(r);
  return out;
}

struct NetworkCase {
  const char* name;
  std::vector<Line> lines;
  std::vector<RuleRole> roles;  // by piece, in the order of `lines`
  int rivals = 0;
};

class FindTableRulesTest : public ::testing::TestWithParam<NetworkCase> {};

TEST_P(FindTableRulesTest, SortsLinesIntoTableAndRest) {
  const NetworkCase& c = GetParam();
  std::vector<LineSegment> h, v;
  std::vector<bool> clipped;
  for (const Line& l : c.lines) {
    const int piece = static_cast<int>(clipped.size());
    clipped.push_back(l.clipped);
    if (l.vertical) v.push_back({0, l.position, std::max(l.a, l.b), std::min(l.a, l.b), piece});
    else h.push_back({0, l.position, std::min(l.a, l.b), std::max(l.a, l.b), piece});
  }
  const auto rules = FindTableRules(h, v, static_cast<int>(clipped.size()), clipped);
  ASSERT_TRUE(rules) << rules.result().message();
  EXPECT_EQ(rules->roles, c.roles);
  EXPECT_EQ(rules->rivals, c.rivals);
  int kept = 0;
  for (RuleRole r : c.roles) kept += r == T ? 1 : 0;
  EXPECT_EQ(static_cast<int>(rules->horizontal.size() + rules->vertical.size()), kept);
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, FindTableRulesTest,
    ::testing::Values(
        NetworkCase{"plain_table", Table(), TableRoles({})},
        NetworkCase{"tick_across_a_rule", TablePlus({V(45, 2, -2)}), TableRoles({D})},
        NetworkCase{"divider_half_a_row_high", TablePlus({V(15, -10, -15)}), TableRoles({D})},
        NetworkCase{"divider_that_stops_short", TablePlus({V(15, -10.5, -20)}), TableRoles({D})},
        NetworkCase{"rule_from_pieces_that_meet", {H(0, 0, 20), H(0, 20, 60), H(-10, 0, 60), V(0, 0, -10), V(60, 0, -10)},
                    {T, T, T, T, T}},
        NetworkCase{"rule_drifting_in_pieces", {H(0, 0, 20), H(-0.0008, 20, 40), H(-0.0016, 40, 60), H(-10, 0, 60),
                                               V(0, 0, -10), V(60, -0.0016, -10)},
                    {T, T, T, T, T, T}},
        NetworkCase{"overshooting_frame", {H(0, -2, 62), H(-10, 0, 60), V(0, 1, -10), V(60, 0, -10)}, {T, T, T, T}},
        NetworkCase{"rectangle_inside_a_cell", TablePlus({H(-3, 5, 10), H(-7, 5, 10), V(5, -3, -7), V(10, -3, -7)}),
                    TableRoles({A, A, A, A})},
        NetworkCase{"sheet_frame_around_it", TablePlus({H(100, -50, 200), H(-100, -50, 200), V(-50, 100, -100),
                                                        V(200, 100, -100)}),
                    TableRoles({A, A, A, A})},
        NetworkCase{"mark_outside", TablePlus({H(5, 100, 110)}), TableRoles({A})},
        NetworkCase{"two_tables_alike", TablePlus({H(0, 100, 160), H(-10, 100, 160), H(-20, 100, 160),
                                                   V(100, 0, -20), V(130, 0, -20), V(160, 0, -20)}),
                    TableRoles({A, A, A, A, A, A}), 1},
        NetworkCase{"lines_gap_just_over_the_tolerance",
                    {H(0, 0, 30), H(-10, 0, 30), V(0, 0, -10), V(30.001, 0, -10)}, {A, A, A, A}},
        NetworkCase{"clipped_border_joins_the_table",
                    {H(0, 0, 30), H(-10, 0, 30), V(0, 0, -10), V(30, 5, -15, true)}, {T, T, T, T}},
        NetworkCase{"clipped_lines_alone_make_no_table",
                    {H(0, 0, 30, true), H(-10, 0, 30, true), V(0, 0, -10, true), V(30, 0, -10, true)}, {A, A, A, A}},
        NetworkCase{"nothing_crosses", {H(0, 0, 10), H(-5, 0, 10)}, {A, A}},
        NetworkCase{"nothing", {}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FindTableRules, TooManyCrossingsAreRefused) {
  // 2,900 x 2,900 crossings: more than kMaxRuleTouches, found before anything is kept.
  std::vector<LineSegment> h, v;
  for (int k = 0; k < 2900; ++k) {
    h.push_back({0, -1.0 * k, 0, 2900, k});
    v.push_back({0, 1.0 * k, 0, -2900, 2900 + k});
  }
  const auto rules = FindTableRules(h, v, 5800);
  ASSERT_FALSE(rules);
  EXPECT_EQ(rules.result().code(), ErrorCode::kTooLarge);
}

}  // namespace
}  // namespace vex
