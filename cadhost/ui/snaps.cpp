#include "cadhost/ui/snaps.h"

#include <numbers>

namespace cadhost::ui {
namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;
constexpr double kEps = 1e-9;

double Wrap(double a) {
  a = std::fmod(a, kTwoPi);
  return a < 0.0 ? a + kTwoPi : a;
}

Pt OnCircle(const Pt& c, double r, double angle) {
  return {c.x + r * std::cos(angle), c.y + r * std::sin(angle)};
}

bool OnSegment(const std::pair<Pt, Pt>& s, const Pt& p) {
  const Pt d = s.second - s.first;
  const double len2 = Dot(d, d);
  if (len2 <= 0.0) return Distance(s.first, p) <= kEps;
  const double t = Dot(p - s.first, d) / len2;
  return t >= -kEps && t <= 1.0 + kEps;
}

bool OnArc(const ArcShape& a, const Pt& p) {
  return a.Covers(std::atan2(p.y - a.center.y, p.x - a.center.x));
}

// Where the line through `s` meets the circle of `a` (not yet limited to either piece).
std::vector<Pt> LineCircle(const std::pair<Pt, Pt>& s, const Pt& c, double r) {
  const Pt d = s.second - s.first;
  const double len2 = Dot(d, d);
  if (len2 <= 0.0) return {};
  const Pt f = s.first - c;
  const double b = 2.0 * Dot(f, d), cc = Dot(f, f) - r * r;
  double disc = b * b - 4.0 * len2 * cc;
  if (disc < -kEps * len2) return {};
  disc = std::max(0.0, disc);
  const double sq = std::sqrt(disc);
  std::vector<Pt> out = {s.first + d * ((-b - sq) / (2.0 * len2))};
  if (sq > 0.0) out.push_back(s.first + d * ((-b + sq) / (2.0 * len2)));
  return out;
}

int Rank(SnapMode m) {
  switch (m) {
    case kSnapEnd: return 0;
    case kSnapInt: return 1;
    case kSnapMid: return 2;
    default: return 3;
  }
}

}  // namespace

Pt ArcShape::StartPoint() const { return OnCircle(center, radius, start); }
Pt ArcShape::EndPoint() const { return OnCircle(center, radius, end); }
Pt ArcShape::MidPoint() const {
  double e = end;
  while (e <= start) e += kTwoPi;
  return OnCircle(center, radius, (start + e) / 2.0);
}

bool ArcShape::Covers(double angle) const {
  if (full) return true;
  const double span = Wrap(end - start);
  return Wrap(angle - start) <= span + kEps || Wrap(angle - start) >= kTwoPi - kEps;
}

void SnapGeometry::Add(const SnapGeometry& o) {
  segments.insert(segments.end(), o.segments.begin(), o.segments.end());
  arcs.insert(arcs.end(), o.arcs.begin(), o.arcs.end());
}

void SnapGeometry::Transform(const Affine& m) {
  for (auto& s : segments) s = {m.Map(s.first), m.Map(s.second)};
  const bool mirrored = m.Det() < 0.0;
  const double rot = std::atan2(m.b, m.a);
  for (ArcShape& a : arcs) {
    a.center = m.Map(a.center);
    a.radius *= std::sqrt(std::abs(m.Det()));
    if (mirrored) {
      // A mirror turns the arc round: it now runs from the old end's image to the start's.
      const double s = rot - a.end, e = rot - a.start;
      a.start = Wrap(s);
      a.end = Wrap(e);
    } else {
      a.start = Wrap(a.start + rot);
      a.end = Wrap(a.end + rot);
    }
  }
}

std::vector<Pt> Intersections(const std::pair<Pt, Pt>& s, const std::pair<Pt, Pt>& t) {
  const Pt r = s.second - s.first, q = t.second - t.first;
  const double den = Cross(r, q);
  if (std::abs(den) < kEps * Length(r) * Length(q)) return {};
  const double u = Cross(t.first - s.first, q) / den;
  const double v = Cross(t.first - s.first, r) / den;
  if (u < -kEps || u > 1.0 + kEps || v < -kEps || v > 1.0 + kEps) return {};
  return {s.first + r * u};
}

std::vector<Pt> Intersections(const std::pair<Pt, Pt>& s, const ArcShape& a) {
  std::vector<Pt> out;
  for (const Pt& p : LineCircle(s, a.center, a.radius))
    if (OnSegment(s, p) && OnArc(a, p)) out.push_back(p);
  return out;
}

std::vector<Pt> Intersections(const ArcShape& a, const ArcShape& b) {
  const double d = Distance(a.center, b.center);
  if (d <= kEps || d > a.radius + b.radius + kEps || d < std::abs(a.radius - b.radius) - kEps)
    return {};
  const double x = (d * d + a.radius * a.radius - b.radius * b.radius) / (2.0 * d);
  const double h = std::sqrt(std::max(0.0, a.radius * a.radius - x * x));
  const Pt dir = (b.center - a.center) * (1.0 / d);
  const Pt base = a.center + dir * x;
  const Pt normal{-dir.y, dir.x};
  std::vector<Pt> out;
  for (const Pt& p : {base + normal * h, base - normal * h}) {
    if (!out.empty() && Distance(out.front(), p) <= kEps) continue;
    if (OnArc(a, p) && OnArc(b, p)) out.push_back(p);
  }
  return out;
}

std::optional<Snap> FindSnap(const std::vector<const SnapGeometry*>& geometry, const Pt& cursor,
                             double aperture, unsigned modes) {
  std::optional<Snap> best;
  double bestDistance = 0.0;
  // `d` is how far the cursor is from what gives the snap: the point itself, or for a centre
  // the circle's curve when the cursor is on it.
  auto offer = [&](SnapMode mode, const Pt& p, double d) {
    if ((modes & mode) == 0 || d > aperture) return;
    if (!best || d < bestDistance - kEps ||
        (std::abs(d - bestDistance) <= kEps && Rank(mode) < Rank(best->mode))) {
      best = Snap{mode, p};
      bestDistance = d;
    }
  };
  auto offerPoint = [&](SnapMode mode, const Pt& p) { offer(mode, p, Distance(p, cursor)); };
  // Pieces near the cursor take part in intersections; far ones cannot give a point in reach.
  const Box reach = Box::Of(cursor, cursor).Grown(aperture);
  std::vector<std::pair<Pt, Pt>> near;
  std::vector<ArcShape> nearArcs;
  for (const SnapGeometry* g : geometry) {
    for (const auto& s : g->segments) {
      offerPoint(kSnapEnd, s.first);
      offerPoint(kSnapEnd, s.second);
      offerPoint(kSnapMid, (s.first + s.second) * 0.5);
      if (Box::Of(s.first, s.second).Intersects(reach)) near.push_back(s);
    }
    for (const ArcShape& a : g->arcs) {
      if (!a.full) {
        offerPoint(kSnapEnd, a.StartPoint());
        offerPoint(kSnapEnd, a.EndPoint());
        offerPoint(kSnapMid, a.MidPoint());
      }
      const double toCentre = Distance(a.center, cursor);
      const double toCurve = std::abs(toCentre - a.radius);
      const bool onCurve = toCurve <= aperture &&
                           (a.full || a.Covers(std::atan2(cursor.y - a.center.y,
                                                          cursor.x - a.center.x)));
      // On the curve, the centre is the snap of last resort: any point snap in reach comes first.
      if (toCentre <= aperture) offer(kSnapCen, a.center, toCentre);
      else if (onCurve) offer(kSnapCen, a.center, aperture);
      if (Box::Of(a.center, a.center).Grown(a.radius).Intersects(reach)) nearArcs.push_back(a);
    }
  }
  if ((modes & kSnapInt) != 0) {
    for (std::size_t i = 0; i < near.size(); ++i) {
      for (std::size_t j = i + 1; j < near.size(); ++j)
        for (const Pt& p : Intersections(near[i], near[j])) offerPoint(kSnapInt, p);
      for (const ArcShape& a : nearArcs)
        for (const Pt& p : Intersections(near[i], a)) offerPoint(kSnapInt, p);
    }
    for (std::size_t i = 0; i < nearArcs.size(); ++i)
      for (std::size_t j = i + 1; j < nearArcs.size(); ++j)
        for (const Pt& p : Intersections(nearArcs[i], nearArcs[j])) offerPoint(kSnapInt, p);
  }
  return best;
}

}  // namespace cadhost::ui
