#include "recognize/rule_lines.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace vex {
namespace {

constexpr double kTol = kRecognitionTolerance;

bool Equal(double a, double b) { return std::fabs(a - b) < kTol; }

// For one line: its segments sorted by their low end with the running maximum of the high
// end, to answer "does a segment reaching from at most a to beyond b exist" in log time.
class Reach {
 public:
  // low/high: the segment's smaller and larger coordinate along the line.
  void Add(double low, double high) { spans_.push_back({low, high}); }
  void Build() {
    std::sort(spans_.begin(), spans_.end());
    best_.resize(spans_.size());
    for (std::size_t k = 0; k < spans_.size(); ++k)
      best_[k] = k == 0 ? spans_[k].second : std::max(best_[k - 1], spans_[k].second);
  }
  // The largest high end among segments whose low end is <= a (strict: < a).
  std::optional<double> MaxHigh(double a, bool strict) const {
    auto it = strict ? std::lower_bound(spans_.begin(), spans_.end(), std::pair(a, -HUGE_VAL))
                     : std::upper_bound(spans_.begin(), spans_.end(), std::pair(a, HUGE_VAL));
    const std::size_t n = static_cast<std::size_t>(it - spans_.begin());
    if (n == 0) return std::nullopt;
    return best_[n - 1];
  }

 private:
  std::vector<std::pair<double, double>> spans_;
  std::vector<double> best_;
};

// Flags of the segments of a horizontal line (along x) at x, and of a vertical line (along y)
// at y. A segment counts at a point within the tolerance of it; a flag is set when a counting
// segment goes on beyond the point by the tolerance or more.
void HorizontalFlags(const Reach& r, double x, Junction& n) {
  if (auto m = r.MaxHigh(x - kTol, false); m && *m > x - kTol) n.left = 1;
  if (auto m = r.MaxHigh(x + kTol, true); m && *m >= x + kTol) n.right = 1;
}
void VerticalFlags(const Reach& r, double y, Junction& n) {
  if (auto m = r.MaxHigh(y + kTol, true); m && *m >= y + kTol) n.up = 1;
  if (auto m = r.MaxHigh(y - kTol, false); m && *m > y - kTol) n.down = 1;
}

bool IsDeadEndOrCorner(const Junction& n) {
  if (n.Count() == 1) return true;
  const int vertical = n.up + n.down, horizontal = n.left + n.right;
  return n.Count() == 2 && vertical == 1 && horizontal == 1;
}

}  // namespace

std::vector<RuleLine> GroupRuleLines(std::vector<LineSegment> segs, bool descending) {
  std::stable_sort(segs.begin(), segs.end(), [descending](const LineSegment& a, const LineSegment& b) {
    return descending ? a.position > b.position : a.position < b.position;
  });
  std::vector<RuleLine> lines;
  if (segs.size() <= 1) return lines;
  for (std::size_t k = 0; k < segs.size(); ++k) {
    if (k == 0 || std::fabs(segs[k].position - segs[k - 1].position) >= kTol) lines.emplace_back();
    lines.back().push_back(segs[k]);
  }
  return lines;
}

std::vector<double> LineGaps(const std::vector<RuleLine>& lines) {
  std::vector<double> gaps;
  for (std::size_t k = 1; k < lines.size(); ++k)
    gaps.push_back(std::fabs(lines[k].front().position - lines[k - 1].front().position));
  return gaps;
}

namespace {

// The distinct positions of a line's segments, ascending.
std::vector<double> PositionsOf(const RuleLine& line) {
  std::vector<double> p;
  p.reserve(line.size());
  for (const LineSegment& s : line) p.push_back(s.position);
  std::sort(p.begin(), p.end());
  p.erase(std::unique(p.begin(), p.end()), p.end());
  return p;
}

}  // namespace

std::vector<JunctionRow> BuildJunctions(std::vector<RuleLine>& rowLines, const std::vector<RuleLine>& colLines) {
  std::vector<Reach> colReach(colLines.size());
  std::vector<std::vector<double>> colXs(colLines.size());
  for (std::size_t i = 0; i < colLines.size(); ++i) {
    for (const LineSegment& s : colLines[i]) colReach[i].Add(s.to, s.from);
    colReach[i].Build();
    colXs[i] = PositionsOf(colLines[i]);
  }
  std::vector<JunctionRow> rows(rowLines.size());
  for (std::size_t j = 0; j < rowLines.size(); ++j) {
    Reach rowReach;
    for (LineSegment& s : rowLines[j]) {
      s.lineIndex = static_cast<int>(j);
      rowReach.Add(s.from, s.to);
    }
    rowReach.Build();
    const std::vector<double> ys = PositionsOf(rowLines[j]);
    const double y = rowLines[j].front().position;
    rows[j].reserve(colLines.size());
    for (std::size_t i = 0; i < colLines.size(); ++i) {
      Junction n;
      n.x = colLines[i].front().position;
      n.y = y;
      n.row = static_cast<int>(j);
      n.col = static_cast<int>(i);
      for (double x : colXs[i]) {
        HorizontalFlags(rowReach, x, n);
        if (n.left && n.right) break;
      }
      for (double at : ys) {
        VerticalFlags(colReach[i], at, n);
        if (n.up && n.down) break;
      }
      rows[j].push_back(n);
    }
  }
  return rows;
}

std::optional<Frame> FindFrame(const std::vector<JunctionRow>& rows) {
  if (rows.size() < 2 || rows.front().size() < 2 || rows.back().size() < 2) return std::nullopt;
  const Frame f{rows.front().front(), rows.front().back(), rows.back().front(), rows.back().back()};
  if (!Equal(f.topLeft.x, f.bottomLeft.x) || !Equal(f.topRight.x, f.bottomRight.x)) return std::nullopt;
  if (!(f.topLeft.down && f.topLeft.right) || !(f.topRight.down && f.topRight.left) ||
      !(f.bottomLeft.up && f.bottomLeft.right) || !(f.bottomRight.up && f.bottomRight.left))
    return std::nullopt;
  return f;
}

void RemoveStrayJunctions(std::vector<JunctionRow>& rows) {
  if (rows.size() < 3) return;
  for (std::size_t j = rows.size() - 2; j >= 1; --j) {
    JunctionRow& row = rows[j];
    for (std::size_t k = row.size() >= 2 ? row.size() - 2 : 0; k >= 1 && k + 1 < row.size(); --k)
      if (IsDeadEndOrCorner(row[k])) {
        row.erase(row.begin() + static_cast<std::ptrdiff_t>(k));
        break;
      }
  }
}

std::optional<Merges> FindMerges(const std::vector<JunctionRow>& rows, int nRows, int nCols) {
  Merges m;
  // Do the junctions at column line n above and below row band r separate its cells?
  const auto separatesColumns = [&](int r, int n) -> std::optional<bool> {
    const auto& up = rows[static_cast<std::size_t>(r)];
    const auto& low = rows[static_cast<std::size_t>(r) + 1];
    if (n < 0 || static_cast<std::size_t>(n) >= up.size() || static_cast<std::size_t>(n) >= low.size())
      return std::nullopt;
    return up[static_cast<std::size_t>(n)].down && low[static_cast<std::size_t>(n)].up;
  };
  for (int r = 0; r < nRows; ++r) {
    for (int n = 1; n <= nCols;) {
      const auto sep = separatesColumns(r, n);
      if (!sep) return std::nullopt;
      if (*sep) {
        ++n;
        continue;
      }
      int end = n + 1;
      for (;; ++end) {
        const auto s = separatesColumns(r, end);
        if (!s || end > nCols) return std::nullopt;
        if (*s) break;
      }
      m.rows.emplace_back(r, n - 1, end - 1);
      n = end + 1;
    }
  }
  // Do the junctions left and right of column band n on row line r separate its cells?
  const auto separatesRows = [&](int r, int n) -> std::optional<bool> {
    const auto& row = rows[static_cast<std::size_t>(r)];
    if (static_cast<std::size_t>(n) + 1 >= row.size()) return std::nullopt;
    return row[static_cast<std::size_t>(n)].right && row[static_cast<std::size_t>(n) + 1].left;
  };
  for (int n = 0; n < nCols; ++n) {
    for (int r = 1; r <= nRows;) {
      const auto sep = separatesRows(r, n);
      if (!sep) break;  // a row line too short for this band ends its scan
      if (*sep) {
        ++r;
        continue;
      }
      int end = r + 1;
      for (;; ++end) {
        if (end > nRows) return std::nullopt;
        const auto s = separatesRows(end, n);
        if (!s) return std::nullopt;
        if (*s) break;
      }
      m.cols.emplace_back(n, r - 1, end - 1);
      r = end + 1;
    }
  }
  return m;
}

}  // namespace vex
