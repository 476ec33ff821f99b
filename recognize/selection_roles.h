#pragma once
// What each selected entity is to the table whose rules were found: holder of rules, text,
// possible picture of a cell, or left out. Entities are indexes into DrawnSelection::entities.

#include <vector>

#include "recognize/drawn_parts.h"
#include "recognize/rule_network.h"

namespace vex {

// The horizontal and vertical straight pieces of a selection, as rule segments (their `piece`
// the index of the straight piece): a piece is vertical when it runs less than the tolerance
// across x and more along y, horizontal the other way round; any other piece is neither.
struct RuleCandidates {
  std::vector<LineSegment> horizontal;
  std::vector<LineSegment> vertical;
  std::vector<bool> clipped;  // by piece: cut at a selection window
};
RuleCandidates RuleCandidatesOf(const DrawnSelection& parts);

struct SelectionRoles {
  std::vector<int> lines;       // entities that hold the table's rules, in selection order
  std::vector<int> texts;       // the texts that may fill cells: indexes into DrawnSelection::texts
  std::vector<int> textOwners;  // parallel to texts: the entity each came from
  // Entities that become the picture of the cell they lie in when they lie well inside one:
  // lines (drawn rules too, which never do), curves, references that hold no rule.
  std::vector<int> nonTexts;
  // Every entity of the selection that could be opened; the ones a picture may take.
  std::vector<int> selected;
  std::vector<bool> takeable;  // by entity
  std::vector<int> dangling;  // lines left out that end loose on the table's rules
  int tableExtras = 0;  // entities holding rules that also draw what is neither rule nor text
};

SelectionRoles RolesOf(const DrawnSelection& parts, const std::vector<RuleRole>& pieceRoles);

}  // namespace vex
