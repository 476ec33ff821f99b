#include "recognize/rule_network.h"

#include <algorithm>
#include <numeric>
#include <string>

namespace vex {
namespace {

constexpr double kTol = kRecognitionTolerance;

// Collinear segments of one line that overlap or meet: one rule as drawn, whatever pieces it
// was drawn in. `lo`/`hi` run along the line; `pmin`/`pmax` are the positions of its segments
// across it.
struct Run {
  double lo = 0.0, hi = 0.0;
  double pmin = 0.0, pmax = 0.0;
  bool inside = false;  // holds a segment that was not clipped
  std::vector<int> segments;  // indexes into the direction's segment list
};

// The runs of one direction, grouped by line: lines ascending by position, each line's runs
// ascending along it. Runs are numbered across the direction's lines.
struct Direction {
  std::vector<Run> runs;
  std::vector<int> lineBegin;   // first run of each line; one more entry at the end
  std::vector<double> linePmin, linePmax;
};

Direction RunsOf(const std::vector<LineSegment>& segments, bool vertical, const std::vector<bool>& clipped) {
  std::vector<LineSegment> indexed = segments;
  for (std::size_t k = 0; k < indexed.size(); ++k) indexed[k].lineIndex = static_cast<int>(k);
  // A single segment forms no line for the table, but it is still a line of the drawing.
  std::vector<RuleLine> lines =
      indexed.size() == 1 ? std::vector<RuleLine>{indexed} : GroupRuleLines(std::move(indexed), /*descending=*/false);
  Direction d;
  for (const RuleLine& line : lines) {
    d.lineBegin.push_back(static_cast<int>(d.runs.size()));
    struct Span {
      double lo, hi, p;
      int seg;
    };
    std::vector<Span> spans;
    spans.reserve(line.size());
    for (const LineSegment& s : line)
      spans.push_back({vertical ? s.to : s.from, vertical ? s.from : s.to, s.position, s.lineIndex});
    std::sort(spans.begin(), spans.end(), [](const Span& a, const Span& b) { return a.lo < b.lo; });
    double pmin = spans.front().p, pmax = spans.front().p;
    for (const Span& s : spans) {
      pmin = std::min(pmin, s.p);
      pmax = std::max(pmax, s.p);
      if (d.runs.size() == static_cast<std::size_t>(d.lineBegin.back()) || s.lo >= d.runs.back().hi + kTol)
        d.runs.push_back({s.lo, s.hi, s.p, s.p, false, {}});
      Run& r = d.runs.back();
      r.hi = std::max(r.hi, s.hi);
      r.pmin = std::min(r.pmin, s.p);
      r.pmax = std::max(r.pmax, s.p);
      const int piece = segments[static_cast<std::size_t>(s.seg)].piece;
      if (piece < 0 || static_cast<std::size_t>(piece) >= clipped.size() || !clipped[static_cast<std::size_t>(piece)])
        r.inside = true;
      r.segments.push_back(s.seg);
    }
    d.linePmin.push_back(pmin);
    d.linePmax.push_back(pmax);
  }
  d.lineBegin.push_back(static_cast<int>(d.runs.size()));
  return d;
}

// Calls visit(q) for every run q of `other` that `r` touches: they cross or meet within the
// tolerance, ends included.
template <class Visit>
void ForEachTouch(const Run& r, const Direction& other, Visit&& visit) {
  const auto first = std::upper_bound(other.linePmax.begin(), other.linePmax.end(), r.lo - kTol);
  for (auto l = static_cast<std::size_t>(first - other.linePmax.begin());
       l < other.linePmin.size() && other.linePmin[l] < r.hi + kTol; ++l) {
    const auto begin = other.runs.begin() + other.lineBegin[l], end = other.runs.begin() + other.lineBegin[l + 1];
    auto q = std::upper_bound(begin, end, r.pmin - kTol, [](double v, const Run& run) { return v < run.hi; });
    for (; q != end && q->lo < r.pmax + kTol; ++q)
      if (q->pmax > r.lo - kTol && q->pmin < r.hi + kTol) visit(static_cast<int>(q - other.runs.begin()));
  }
}

// Union-find over all runs, horizontal ones first.
struct Components {
  std::vector<int> parent;
  explicit Components(std::size_t n) : parent(n) { std::iota(parent.begin(), parent.end(), 0); }
  int Find(int x) {
    while (parent[static_cast<std::size_t>(x)] != x) x = parent[static_cast<std::size_t>(x)] = parent[static_cast<std::size_t>(parent[static_cast<std::size_t>(x)])];
    return x;
  }
  void Join(int a, int b) { parent[static_cast<std::size_t>(Find(a))] = Find(b); }
};

Result TooManyTouches() {
  return Result(ErrorCode::kTooLarge, "the selected lines cross each other more than " +
                                          std::to_string(kMaxRuleTouches) + " times, more than any table can");
}

}  // namespace

ResultOr<TableRules> FindTableRules(const std::vector<LineSegment>& horizontal, const std::vector<LineSegment>& vertical,
                                    int pieceCount, const std::vector<bool>& clipped) {
  TableRules out;
  out.roles.assign(static_cast<std::size_t>(std::max(pieceCount, 0)), RuleRole::kNone);
  const Direction h = RunsOf(horizontal, false, clipped), v = RunsOf(vertical, true, clipped);
  const int nh = static_cast<int>(h.runs.size()), n = nh + static_cast<int>(v.runs.size());
  const auto runAt = [&](int k) -> const Run& {
    return k < nh ? h.runs[static_cast<std::size_t>(k)] : v.runs[static_cast<std::size_t>(k - nh)];
  };
  // Each touch counts once for both runs; the vertical runs' touches are found from the
  // horizontal ones.
  std::vector<int> degree(static_cast<std::size_t>(n), 0);
  long long touches = 0;
  for (int k = 0; k < nh; ++k) {
    ForEachTouch(h.runs[static_cast<std::size_t>(k)], v, [&](int q) {
      ++degree[static_cast<std::size_t>(k)];
      ++degree[static_cast<std::size_t>(nh + q)];
      ++touches;
    });
    if (touches > kMaxRuleTouches) return TooManyTouches();
  }
  const auto forEachNeighbour = [&](int k, auto&& visit) {
    if (k < nh) ForEachTouch(runAt(k), v, [&](int q) { visit(nh + q); });
    else ForEachTouch(runAt(k), h, [&](int q) { visit(q); });
  };

  // A rule runs between two others: peel off what touches fewer, and what that leaves loose.
  std::vector<bool> removed(static_cast<std::size_t>(n), false);
  std::vector<int> queue;
  for (int k = 0; k < n; ++k)
    if (degree[static_cast<std::size_t>(k)] < 2) {
      removed[static_cast<std::size_t>(k)] = true;
      queue.push_back(k);
    }
  for (std::size_t at = 0; at < queue.size(); ++at)
    forEachNeighbour(queue[at], [&](int q) {
      if (removed[static_cast<std::size_t>(q)] || --degree[static_cast<std::size_t>(q)] >= 2) return;
      removed[static_cast<std::size_t>(q)] = true;
      queue.push_back(q);
    });

  // The largest joined set of what remains, counted in runs that lie inside the selection.
  Components sets(static_cast<std::size_t>(n));
  for (int k = 0; k < nh; ++k)
    if (!removed[static_cast<std::size_t>(k)])
      forEachNeighbour(k, [&](int q) {
        if (!removed[static_cast<std::size_t>(q)]) sets.Join(k, q);
      });
  std::vector<int> size(static_cast<std::size_t>(n), 0);
  int best = -1;
  for (int k = 0; k < n; ++k) {
    if (removed[static_cast<std::size_t>(k)] || !runAt(k).inside) continue;
    const int root = sets.Find(k);
    if (++size[static_cast<std::size_t>(root)] > (best < 0 ? 0 : size[static_cast<std::size_t>(best)])) best = root;
  }

  if (best >= 0)
    for (int k = 0; k < n; ++k)
      if (sets.Find(k) == k && k != best && size[static_cast<std::size_t>(k)] == size[static_cast<std::size_t>(best)])
        ++out.rivals;

  std::vector<bool> table(static_cast<std::size_t>(n), false);
  for (int k = 0; k < n; ++k) table[static_cast<std::size_t>(k)] = best >= 0 && !removed[static_cast<std::size_t>(k)] && sets.Find(k) == best;
  std::vector<bool> keepH(horizontal.size(), false), keepV(vertical.size(), false);
  for (int k = 0; k < n; ++k) {
    RuleRole role = RuleRole::kTable;
    if (!table[static_cast<std::size_t>(k)]) {
      bool touchesTable = false;
      forEachNeighbour(k, [&](int q) { touchesTable = touchesTable || table[static_cast<std::size_t>(q)]; });
      role = touchesTable ? RuleRole::kDangling : RuleRole::kApart;
    }
    const bool isH = k < nh;
    for (int seg : runAt(k).segments) {
      const LineSegment& s = (isH ? horizontal : vertical)[static_cast<std::size_t>(seg)];
      if (role == RuleRole::kTable) (isH ? keepH : keepV)[static_cast<std::size_t>(seg)] = true;
      if (s.piece >= 0 && s.piece < pieceCount) {
        RuleRole& r = out.roles[static_cast<std::size_t>(s.piece)];
        // A piece of several segments (never, for lines as drawn) counts for its best part.
        if (r == RuleRole::kNone || role == RuleRole::kTable || (role == RuleRole::kDangling && r == RuleRole::kApart))
          r = role;
      }
    }
  }
  for (std::size_t k = 0; k < horizontal.size(); ++k)
    if (keepH[k]) out.horizontal.push_back(horizontal[k]);
  for (std::size_t k = 0; k < vertical.size(); ++k)
    if (keepV[k]) out.vertical.push_back(vertical[k]);
  return out;
}

}  // namespace vex
