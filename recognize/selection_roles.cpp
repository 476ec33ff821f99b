#include "recognize/selection_roles.h"

#include <cmath>

namespace vex {

RuleCandidates RuleCandidatesOf(const DrawnSelection& parts) {
  constexpr double kTol = kRecognitionTolerance;
  RuleCandidates out;
  out.clipped.resize(parts.straights.size());
  for (std::size_t k = 0; k < parts.straights.size(); ++k) {
    const StraightPiece& s = parts.straights[k];
    out.clipped[k] = parts.entities[static_cast<std::size_t>(s.entity)].crossing;
    const AcGePoint3d &a = s.start, &b = s.end;
    const double dx = std::fabs(a.x - b.x), dy = std::fabs(a.y - b.y);
    const int piece = static_cast<int>(k);
    if (dx < kTol && dy > kTol) out.vertical.push_back({0, a.x, std::max(a.y, b.y), std::min(a.y, b.y), piece});
    else if (dx > kTol && dy < kTol) out.horizontal.push_back({0, a.y, std::min(a.x, b.x), std::max(a.x, b.x), piece});
  }
  return out;
}

SelectionRoles RolesOf(const DrawnSelection& parts, const std::vector<RuleRole>& pieceRoles) {
  struct Count {
    int table = 0, dangling = 0, other = 0;
  };
  std::vector<Count> counts(parts.entities.size());
  for (std::size_t k = 0; k < parts.straights.size(); ++k) {
    Count& c = counts[static_cast<std::size_t>(parts.straights[k].entity)];
    const RuleRole role = k < pieceRoles.size() ? pieceRoles[k] : RuleRole::kNone;
    if (role == RuleRole::kTable) ++c.table;
    else if (role == RuleRole::kDangling) ++c.dangling;
    else ++c.other;
  }

  SelectionRoles out;
  out.takeable.assign(parts.entities.size(), false);
  const auto addTexts = [&](const DrawnEntity& d, int e) {
    for (int t = d.textBegin; t < d.textEnd; ++t) {
      out.texts.push_back(t);
      out.textOwners.push_back(e);
    }
  };
  for (std::size_t k = 0; k < parts.entities.size(); ++k) {
    const DrawnEntity& d = parts.entities[k];
    const Count& c = counts[k];
    const int e = static_cast<int>(k);
    const bool hasTexts = d.textEnd > d.textBegin;
    if (d.crossing) {
      if (c.table > 0) out.lines.push_back(e);
      continue;
    }
    out.selected.push_back(e);
    switch (d.kind) {
      case DrawnKind::kText:
      case DrawnKind::kMultiText:
        addTexts(d, e);
        out.takeable[k] = true;
        break;
      case DrawnKind::kLine:
        // A drawn rule is also a candidate picture, as it always was; it never lies well
        // inside a cell.
        if (c.table > 0) {
          out.lines.push_back(e);
          out.nonTexts.push_back(e);
        } else if (c.dangling > 0) {
          out.dangling.push_back(e);
        } else {
          out.nonTexts.push_back(e);
          out.takeable[k] = true;
        }
        break;
      case DrawnKind::kPolyline:
      case DrawnKind::kCompound:
        if (c.table > 0) {
          // Holds part of the table: its texts fill cells; the rest cannot be taken apart
          // from it into a picture.
          out.lines.push_back(e);
          addTexts(d, e);
          if (d.drawsOther || c.other > 0 || c.dangling > 0) ++out.tableExtras;
        } else if (c.dangling > 0 && c.other == 0 && !hasTexts && !d.drawsOther) {
          out.dangling.push_back(e);
        } else if (c.dangling + c.other == 0 && !d.drawsOther && hasTexts) {
          addTexts(d, e);  // texts only: a block of attributes, say
          out.takeable[k] = true;
        } else {
          out.nonTexts.push_back(e);
          out.takeable[k] = true;
        }
        break;
      case DrawnKind::kCurve:
      case DrawnKind::kOther:
        out.nonTexts.push_back(e);
        out.takeable[k] = true;
        break;
      case DrawnKind::kUnknown:
        break;
    }
  }
  return out;
}

}  // namespace vex
