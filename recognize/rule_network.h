#pragma once
// Which of the selected horizontal and vertical lines are the table's rules. Drawings hold more
// than the table: marks, ticks, half-height dividers, a sheet frame, pictures drawn with lines.
// The table is the largest set of rules joined to each other where every rule runs between two
// others (a rule with a loose end is a mark, not a border); the other lines are left out. Sets
// are measured in rules as drawn: collinear segments that meet count as one.
// Plain geometry in drawing units, as in rule_lines.h.

#include <optional>
#include <vector>

#include "platform/result.h"
#include "recognize/rule_lines.h"

namespace vex {

// What a straight piece of the selection is to the table.
enum class RuleRole : unsigned char {
  kNone,      // not a horizontal or vertical line
  kTable,     // one of the table's rules
  kDangling,  // touches the table's rules but has a loose end: a tick, a mark, a half divider
  kApart,     // not joined to the table's rules (elsewhere in the drawing, or inside a cell)
};

struct TableRules {
  // The table's rules, in the order they came.
  std::vector<LineSegment> horizontal;
  std::vector<LineSegment> vertical;
  // By piece index (LineSegment::piece).
  std::vector<RuleRole> roles;
  // Other joined sets of rules as large as the table's: then there is no one table to read.
  int rivals = 0;
};

// More touches between lines than the largest table has crossings, with room for what else a
// drawing holds: the selection is refused rather than searched.
inline constexpr long long kMaxRuleTouches = 8'000'000;

// Sorts `horizontal` and `vertical` (their `piece` in 0..pieceCount-1) into the table's rules
// and the rest. Pieces marked in `clipped` were cut at the edge of a selection window: they
// join the table where they touch its rules but never make a table of their own. kTooLarge
// when the lines touch each other more than kMaxRuleTouches times.
ResultOr<TableRules> FindTableRules(const std::vector<LineSegment>& horizontal, const std::vector<LineSegment>& vertical,
                                    int pieceCount, const std::vector<bool>& clipped = {});

}  // namespace vex
