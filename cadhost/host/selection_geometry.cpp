// Outlines of entities for selection by window, crossing and pick.

#include "cadhost/host/selection_geometry.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>

namespace cadhost {
namespace {

constexpr double kStep = 5.0 * std::numbers::pi / 180.0;
constexpr double kTol = 1e-9;
constexpr int kMaxNesting = 16;

using Path3 = std::vector<AcGePoint3d>;

// Points of an arc of `radius` about `center` in the plane of `normal`, from angle a0 to a1
// (counter-clockwise, a1 > a0).
Path3 ArcPoints(const AcGePoint3d& center, const AcGeVector3d& normal, double radius, double a0,
                double a1) {
  const AcGeMatrix3d ocs = acgeOcsToWcs(normal);
  AcGeVector3d u = AcGeVector3d::kXAxis, v = AcGeVector3d::kYAxis;
  u.transformBy(ocs);
  v.transformBy(ocs);
  const int n = std::max(1, static_cast<int>(std::ceil((a1 - a0) / kStep)));
  Path3 out;
  for (int i = 0; i <= n; ++i) {
    const double a = a0 + (a1 - a0) * i / n;
    out.push_back(center + u * (radius * std::cos(a)) + v * (radius * std::sin(a)));
  }
  return out;
}

// The polyline's path in its own plane coordinates, bulges as arcs.
Path3 PolylinePath(const AcDbPolyline* pl) {
  Path3 out;
  const unsigned n = pl->numVerts();
  const unsigned segments = pl->isClosed() ? n : (n == 0 ? 0 : n - 1);
  const AcGeMatrix3d ocs = acgeOcsToWcs(pl->normal());
  auto at = [&](unsigned i) {
    AcGePoint2d p;
    pl->getPointAt(i % n, p);
    return p;
  };
  auto place = [&](const AcGePoint2d& p) {
    AcGePoint3d q(p.x, p.y, pl->elevation());
    return q.transformBy(ocs);
  };
  if (n == 1) out.push_back(place(at(0)));
  for (unsigned i = 0; i < segments; ++i) {
    const AcGePoint2d a = at(i), b = at(i + 1);
    double bulge = 0.0;
    pl->getBulgeAt(i, bulge);
    if (out.empty()) out.push_back(place(a));
    const double chord = a.distanceTo(b);
    if (std::abs(bulge) < kTol || chord < kTol) {
      out.push_back(place(b));
      continue;
    }
    // Centre and start angle of the bulge arc, walked from a to b.
    const double theta = 4.0 * std::atan(bulge);
    const double radius = chord / (2.0 * std::sin(std::abs(theta) / 2.0));
    const AcGePoint2d mid((a.x + b.x) / 2, (a.y + b.y) / 2);
    const double h = radius * std::cos(theta / 2.0);
    const AcGeVector2d dir((b.x - a.x) / chord, (b.y - a.y) / chord);
    const AcGeVector2d left(-dir.y, dir.x);
    const double side = bulge > 0 ? 1.0 : -1.0;
    const AcGePoint2d c = mid + left * (h * side);
    const double start = std::atan2(a.y - c.y, a.x - c.x);
    const int steps = std::max(1, static_cast<int>(std::ceil(std::abs(theta) / kStep)));
    for (int k = 1; k <= steps; ++k) {
      const double ang = start + theta * k / steps;
      out.push_back(place({c.x + std::abs(radius) * std::cos(ang),
                           c.y + std::abs(radius) * std::sin(ang)}));
    }
  }
  return out;
}

// The four corners of a text's box, following its rotation.
Path3 TextBox(const AcDbText* t) {
  std::unique_ptr<AcDbEntity> flat;
  const AcGeMatrix3d unrotate = AcGeMatrix3d::rotation(-t->rotation(), t->normal(), t->position());
  AcDbExtents ext;
  if (t->getTransformedCopy(unrotate, flat) != Acad::eOk || flat->getGeomExtents(ext) != Acad::eOk)
    return {};
  const AcGePoint3d lo = ext.minPoint(), hi = ext.maxPoint();
  Path3 box = {lo, {hi.x, lo.y, lo.z}, hi, {lo.x, hi.y, hi.z}, lo};
  const AcGeMatrix3d rotate = unrotate.inverse();
  for (AcGePoint3d& p : box) p.transformBy(rotate);
  return box;
}

Path3 BoxPath(const AcDbExtents& e) {
  const AcGePoint3d lo = e.minPoint(), hi = e.maxPoint();
  return {lo, {hi.x, lo.y, lo.z}, {hi.x, hi.y, lo.z}, {lo.x, hi.y, lo.z}, lo};
}

void Collect(const AcDbEntity* e, std::vector<Path3>& paths, std::vector<Path3>& areas,
             int depth) {
  if (const auto* l = AcDbLine::cast(e)) {
    paths.push_back({l->startPoint(), l->endPoint()});
  } else if (const auto* c = AcDbCircle::cast(e)) {
    paths.push_back(ArcPoints(c->center(), c->normal(), c->radius(), 0, 2 * std::numbers::pi));
  } else if (const auto* a = AcDbArc::cast(e)) {
    double end = a->endAngle();
    if (end <= a->startAngle()) end += 2 * std::numbers::pi;
    paths.push_back(ArcPoints(a->center(), a->normal(), a->radius(), a->startAngle(), end));
  } else if (const auto* pl = AcDbPolyline::cast(e)) {
    paths.push_back(PolylinePath(pl));
  } else if (const auto* t = AcDbText::cast(e)) {
    Path3 box = TextBox(t);
    if (!box.empty()) {
      paths.push_back(box);
      areas.push_back(std::move(box));
    }
  } else if (AcDbBlockReference::cast(e) != nullptr && depth < kMaxNesting) {
    std::vector<std::unique_ptr<AcDbEntity>> pieces;
    if (e->explode(pieces) == Acad::eOk) {
      for (const auto& p : pieces) Collect(p.get(), paths, areas, depth + 1);
      return;
    }
    AcDbExtents ext;
    if (e->getGeomExtents(ext) == Acad::eOk) paths.push_back(BoxPath(ext));
  } else {
    // Kinds the host keeps but does not model: their box stands for them.
    AcDbExtents ext;
    if (e->getGeomExtents(ext) == Acad::eOk) paths.push_back(BoxPath(ext));
  }
}

std::vector<AcGePoint2d> Project(const Path3& path, const AcGeMatrix3d& m) {
  std::vector<AcGePoint2d> out;
  out.reserve(path.size());
  for (AcGePoint3d p : path) {
    p.transformBy(m);
    out.emplace_back(p.x, p.y);
  }
  return out;
}

bool InBox(const AcGePoint2d& p, const AcGePoint2d& lo, const AcGePoint2d& hi) {
  return p.x >= lo.x - kTol && p.x <= hi.x + kTol && p.y >= lo.y - kTol && p.y <= hi.y + kTol;
}

// Liang-Barsky: does the segment p-q meet the box?
bool SegmentMeetsBox(const AcGePoint2d& p, const AcGePoint2d& q, const AcGePoint2d& lo,
                     const AcGePoint2d& hi) {
  double t0 = 0.0, t1 = 1.0;
  const double dx = q.x - p.x, dy = q.y - p.y;
  const double pp[4] = {-dx, dx, -dy, dy};
  const double qq[4] = {p.x - lo.x, hi.x - p.x, p.y - lo.y, hi.y - p.y};
  for (int i = 0; i < 4; ++i) {
    if (std::abs(pp[i]) < kTol) {
      if (qq[i] < -kTol) return false;
      continue;
    }
    const double r = qq[i] / pp[i];
    if (pp[i] < 0) t0 = std::max(t0, r);
    else t1 = std::min(t1, r);
    if (t0 > t1 + kTol) return false;
  }
  return true;
}

double DistanceToSegment(const AcGePoint2d& p, const AcGePoint2d& a, const AcGePoint2d& b) {
  const AcGeVector2d ab = b - a;
  const double len2 = ab.x * ab.x + ab.y * ab.y;
  double t = len2 < kTol ? 0.0 : ((p.x - a.x) * ab.x + (p.y - a.y) * ab.y) / len2;
  t = std::clamp(t, 0.0, 1.0);
  return p.distanceTo(a + ab * t);
}

bool InsidePolygon(const AcGePoint2d& p, const std::vector<AcGePoint2d>& poly) {
  bool inside = false;
  for (std::size_t i = 0, j = poly.size() - 1; i < poly.size(); j = i++) {
    const AcGePoint2d& a = poly[i];
    const AcGePoint2d& b = poly[j];
    if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x)
      inside = !inside;
  }
  return inside;
}

void Corners(const AcGePoint2d& a, const AcGePoint2d& b, AcGePoint2d& lo, AcGePoint2d& hi) {
  lo = {std::min(a.x, b.x), std::min(a.y, b.y)};
  hi = {std::max(a.x, b.x), std::max(a.y, b.y)};
}

}  // namespace

bool ShapeOf(const AcDbEntity* entity, const AcGeMatrix3d& worldToView, bool outline,
             ViewShape& shape) {
  shape = {};
  AcDbExtents box;
  if (worldToView.isEqualTo(AcGeMatrix3d::kIdentity)) {
    if (entity->getGeomExtents(box) != Acad::eOk) return false;
  } else {
    std::unique_ptr<AcDbEntity> seen;
    if (entity->getTransformedCopy(worldToView, seen) != Acad::eOk ||
        seen->getGeomExtents(box) != Acad::eOk)
      return false;
  }
  shape.min = {box.minPoint().x, box.minPoint().y};
  shape.max = {box.maxPoint().x, box.maxPoint().y};
  if (!outline) return true;
  std::vector<Path3> paths, areas;
  Collect(entity, paths, areas, 0);
  for (const Path3& p : paths) shape.paths.push_back(Project(p, worldToView));
  for (const Path3& a : areas) shape.areas.push_back(Project(a, worldToView));
  return true;
}

bool InsideWindow(const ViewShape& s, const AcGePoint2d& a, const AcGePoint2d& b) {
  AcGePoint2d lo, hi;
  Corners(a, b, lo, hi);
  return InBox(s.min, lo, hi) && InBox(s.max, lo, hi);
}

bool CrossesWindow(const ViewShape& s, const AcGePoint2d& a, const AcGePoint2d& b) {
  AcGePoint2d lo, hi;
  Corners(a, b, lo, hi);
  if (InsideWindow(s, a, b)) return true;
  for (const auto& path : s.paths) {
    if (path.size() == 1 && InBox(path[0], lo, hi)) return true;
    for (std::size_t i = 1; i < path.size(); ++i)
      if (SegmentMeetsBox(path[i - 1], path[i], lo, hi)) return true;
  }
  // A window wholly inside a text's box touches the text.
  for (const auto& area : s.areas)
    if (InsidePolygon(lo, area)) return true;
  return false;
}

bool Hits(const ViewShape& s, const AcGePoint2d& p, double aperture) {
  for (const auto& path : s.paths) {
    if (path.size() == 1 && p.distanceTo(path[0]) <= aperture) return true;
    for (std::size_t i = 1; i < path.size(); ++i)
      if (DistanceToSegment(p, path[i - 1], path[i]) <= aperture) return true;
  }
  for (const auto& area : s.areas)
    if (InsidePolygon(p, area)) return true;
  return false;
}

}  // namespace cadhost
