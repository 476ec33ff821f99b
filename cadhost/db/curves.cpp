// Lines, circles, arcs and lightweight polylines.

#include <cmath>
#include <numbers>

#include "cadhost/db/geom_util.h"
#include "cadhost/db/object_access.h"
#include "cadhost/sdk/dbents.h"

CADHOST_DEFINE_MEMBERS(AcDbCurve, AcDbEntity)
CADHOST_DEFINE_MEMBERS(AcDbLine, AcDbCurve)
CADHOST_DEFINE_MEMBERS(AcDbCircle, AcDbCurve)
CADHOST_DEFINE_MEMBERS(AcDbArc, AcDbCurve)
CADHOST_DEFINE_MEMBERS(AcDbPolyline, AcDbCurve)

#define CADHOST_SETTER(CLASS, NAME, TYPE, MEMBER) \
  Acad::ErrorStatus CLASS::NAME(TYPE value) {    \
    if (!assertWriteEnabled()) return Acad::eNotOpenForWrite; \
    MEMBER = value;                              \
    return Acad::eOk;                            \
  }

namespace {

AcGeVector3d Axis(const AcGeMatrix3d& m, int c) {
  return {m.entry[0][c], m.entry[1][c], m.entry[2][c]};
}

// A unit normal from a caller's vector; false for a zero vector.
bool UnitNormal(const AcGeVector3d& n, AcGeVector3d& out) {
  if (n.isZeroLength()) return false;
  out = n.normal();
  return true;
}

// The transformed normal of planar geometry under a conformal map (kept pointing the way the
// map sends it, so mirrored geometry reverses its direction of travel instead).
AcGeVector3d MappedNormal(const AcGeVector3d& n, const AcGeMatrix3d& m) {
  AcGeVector3d t = n;
  return t.transformBy(m).normal();
}

// Angle of world point `p` about `center` in the plane coordinate system of `normal`.
double AngleInPlane(const AcGePoint3d& p, const AcGePoint3d& center, const AcGeVector3d& normal) {
  const AcGeMatrix3d ocs = acgeOcsToWcs(normal);
  const AcGeVector3d d = p - center;
  return cadhost::NormalizeAngle(std::atan2(d.dotProduct(Axis(ocs, 1)), d.dotProduct(Axis(ocs, 0))));
}

AcGePoint3d PointOnCircle(const AcGePoint3d& c, const AcGeVector3d& normal, double r, double a) {
  const AcGeMatrix3d ocs = acgeOcsToWcs(normal);
  return c + Axis(ocs, 0) * (r * std::cos(a)) + Axis(ocs, 1) * (r * std::sin(a));
}

}  // namespace

// ---- line

CADHOST_SETTER(AcDbLine, setStartPoint, const AcGePoint3d&, m_start)
CADHOST_SETTER(AcDbLine, setEndPoint, const AcGePoint3d&, m_end)
CADHOST_SETTER(AcDbLine, setThickness, double, m_thickness)

Acad::ErrorStatus AcDbLine::setNormal(const AcGeVector3d& n) {
  if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
  return UnitNormal(n, m_normal) ? Acad::eOk : Acad::eInvalidInput;
}

Acad::ErrorStatus AcDbLine::getStartPoint(AcGePoint3d& p) const {
  p = m_start;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbLine::getEndPoint(AcGePoint3d& p) const {
  p = m_end;
  return Acad::eOk;
}

bool AcDbLine::addExtentsUnder(const AcGeMatrix3d& m, AcDbExtents& ext) const {
  AcGePoint3d a = m_start, b = m_end;
  AcDbExtents body;
  body.addPoint(a.transformBy(m));
  body.addPoint(b.transformBy(m));
  cadhost::AddExtruded(body, cadhost::ThicknessVector(m, m_normal, m_thickness), ext);
  return true;
}

Acad::ErrorStatus AcDbLine::subTransformBy(const AcGeMatrix3d& m) {
  m_start.transformBy(m);
  m_end.transformBy(m);
  m_normal = MappedNormal(m_normal, m);
  return Acad::eOk;
}

// ---- circle

AcDbCircle::AcDbCircle(const AcGePoint3d& center, const AcGeVector3d& normal, double radius)
    : m_center(center), m_radius(radius > 0.0 ? radius : 1.0) {
  UnitNormal(normal, m_normal);
}

CADHOST_SETTER(AcDbCircle, setCenter, const AcGePoint3d&, m_center)
CADHOST_SETTER(AcDbCircle, setThickness, double, m_thickness)

Acad::ErrorStatus AcDbCircle::setRadius(double r) {
  if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
  if (!(r > 0.0) || !std::isfinite(r)) return Acad::eInvalidInput;
  m_radius = r;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbCircle::setNormal(const AcGeVector3d& n) {
  if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
  return UnitNormal(n, m_normal) ? Acad::eOk : Acad::eInvalidInput;
}

Acad::ErrorStatus AcDbCircle::getStartPoint(AcGePoint3d& p) const {
  p = PointOnCircle(m_center, m_normal, m_radius, 0.0);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbCircle::getEndPoint(AcGePoint3d& p) const { return getStartPoint(p); }

bool AcDbCircle::addExtentsUnder(const AcGeMatrix3d& m, AcDbExtents& ext) const {
  AcDbExtents body;
  cadhost::AddArcExtents(m, m_center, m_normal, m_radius, 0.0, 2.0 * std::numbers::pi, body);
  cadhost::AddExtruded(body, cadhost::ThicknessVector(m, m_normal, m_thickness), ext);
  return true;
}

Acad::ErrorStatus AcDbCircle::subTransformBy(const AcGeMatrix3d& m) {
  if (!m.isUniScaledOrtho()) return Acad::eCannotScaleNonUniformly;
  const double s = m.scale();
  m_center.transformBy(m);
  m_normal = MappedNormal(m_normal, m);
  m_radius *= s;
  m_thickness *= s;
  return Acad::eOk;
}

// ---- arc

AcDbArc::AcDbArc(const AcGePoint3d& center, double radius, double startAngle, double endAngle)
    : AcDbArc(center, AcGeVector3d::kZAxis, radius, startAngle, endAngle) {}

AcDbArc::AcDbArc(const AcGePoint3d& center, const AcGeVector3d& normal, double radius,
                 double startAngle, double endAngle)
    : m_center(center),
      m_radius(radius > 0.0 ? radius : 1.0),
      m_start(cadhost::NormalizeAngle(startAngle)),
      m_end(cadhost::NormalizeAngle(endAngle)) {
  UnitNormal(normal, m_normal);
}

CADHOST_SETTER(AcDbArc, setCenter, const AcGePoint3d&, m_center)
CADHOST_SETTER(AcDbArc, setThickness, double, m_thickness)

Acad::ErrorStatus AcDbArc::setRadius(double r) {
  if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
  if (!(r > 0.0) || !std::isfinite(r)) return Acad::eInvalidInput;
  m_radius = r;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbArc::setStartAngle(double a) {
  if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
  m_start = cadhost::NormalizeAngle(a);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbArc::setEndAngle(double a) {
  if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
  m_end = cadhost::NormalizeAngle(a);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbArc::setNormal(const AcGeVector3d& n) {
  if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
  return UnitNormal(n, m_normal) ? Acad::eOk : Acad::eInvalidInput;
}

Acad::ErrorStatus AcDbArc::getStartPoint(AcGePoint3d& p) const {
  p = PointOnCircle(m_center, m_normal, m_radius, m_start);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbArc::getEndPoint(AcGePoint3d& p) const {
  p = PointOnCircle(m_center, m_normal, m_radius, m_end);
  return Acad::eOk;
}

bool AcDbArc::addExtentsUnder(const AcGeMatrix3d& m, AcDbExtents& ext) const {
  AcDbExtents body;
  cadhost::AddArcExtents(m, m_center, m_normal, m_radius, m_start, m_end, body);
  cadhost::AddExtruded(body, cadhost::ThicknessVector(m, m_normal, m_thickness), ext);
  return true;
}

Acad::ErrorStatus AcDbArc::subTransformBy(const AcGeMatrix3d& m) {
  if (!m.isUniScaledOrtho()) return Acad::eCannotScaleNonUniformly;
  AcGePoint3d a, b;
  getStartPoint(a);
  getEndPoint(b);
  a.transformBy(m);
  b.transformBy(m);
  if (m.det() < 0.0) std::swap(a, b);  // a mirror reverses the direction of travel
  m_center.transformBy(m);
  m_normal = MappedNormal(m_normal, m);
  m_radius *= m.scale();
  m_thickness *= m.scale();
  m_start = AngleInPlane(a, m_center, m_normal);
  m_end = AngleInPlane(b, m_center, m_normal);
  return Acad::eOk;
}

// ---- lightweight polyline

namespace {
bool BadWidth(double w) { return !std::isfinite(w); }
}  // namespace

Acad::ErrorStatus AcDbPolyline::addVertexAt(unsigned int index, const AcGePoint2d& pt,
                                            double bulge, double startWidth, double endWidth) {
  if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
  if (index > m_vertices.size()) return Acad::eInvalidIndex;
  if (!std::isfinite(pt.x) || !std::isfinite(pt.y) || !std::isfinite(bulge) ||
      BadWidth(startWidth) || BadWidth(endWidth))
    return Acad::eInvalidInput;
  m_vertices.insert(m_vertices.begin() + index, Vertex{pt, bulge, startWidth, endWidth});
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::removeVertexAt(unsigned int index) {
  if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
  if (index >= m_vertices.size()) return Acad::eInvalidIndex;
  m_vertices.erase(m_vertices.begin() + index);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getPointAt(unsigned int index, AcGePoint2d& pt) const {
  if (index >= m_vertices.size()) return Acad::eInvalidIndex;
  pt = m_vertices[index].pt;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getPointAt(unsigned int index, AcGePoint3d& pt) const {
  if (index >= m_vertices.size()) return Acad::eInvalidIndex;
  pt = AcGePoint3d(m_vertices[index].pt.x, m_vertices[index].pt.y, m_elevation);
  if (!cadhost::IsPlusZ(m_normal)) pt.transformBy(acgeOcsToWcs(m_normal));
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::setPointAt(unsigned int index, const AcGePoint2d& pt) {
  if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
  if (index >= m_vertices.size()) return Acad::eInvalidIndex;
  m_vertices[index].pt = pt;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getBulgeAt(unsigned int index, double& bulge) const {
  if (index >= m_vertices.size()) return Acad::eInvalidIndex;
  bulge = m_vertices[index].bulge;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::setBulgeAt(unsigned int index, double bulge) {
  if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
  if (index >= m_vertices.size()) return Acad::eInvalidIndex;
  if (!std::isfinite(bulge)) return Acad::eInvalidInput;
  m_vertices[index].bulge = bulge;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getWidthsAt(unsigned int index, double& startWidth,
                                            double& endWidth) const {
  if (index >= m_vertices.size()) return Acad::eInvalidIndex;
  const Vertex& v = m_vertices[index];
  startWidth = v.startWidth < 0.0 ? m_constantWidth : v.startWidth;
  endWidth = v.endWidth < 0.0 ? m_constantWidth : v.endWidth;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::setWidthsAt(unsigned int index, double startWidth,
                                            double endWidth) {
  if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
  if (index >= m_vertices.size()) return Acad::eInvalidIndex;
  if (BadWidth(startWidth) || BadWidth(endWidth)) return Acad::eInvalidInput;
  m_vertices[index].startWidth = startWidth;
  m_vertices[index].endWidth = endWidth;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getConstantWidth(double& width) const {
  width = m_constantWidth;
  for (const Vertex& v : m_vertices)
    if ((v.startWidth >= 0.0 && v.startWidth != m_constantWidth) ||
        (v.endWidth >= 0.0 && v.endWidth != m_constantWidth))
      return Acad::eNotApplicable;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::setConstantWidth(double width) {
  if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
  if (!(width >= 0.0) || !std::isfinite(width)) return Acad::eInvalidInput;
  m_constantWidth = width;
  for (Vertex& v : m_vertices) v.startWidth = v.endWidth = -1.0;
  return Acad::eOk;
}

bool AcDbPolyline::hasWidth() const {
  for (unsigned int i = 0; i < m_vertices.size(); ++i) {
    double s, e;
    getWidthsAt(i, s, e);
    if (s != 0.0 || e != 0.0) return true;
  }
  return false;
}

bool AcDbPolyline::hasBulges() const {
  for (const Vertex& v : m_vertices)
    if (v.bulge != 0.0) return true;
  return false;
}

CADHOST_SETTER(AcDbPolyline, setClosed, bool, m_closed)
CADHOST_SETTER(AcDbPolyline, setPlinegen, bool, m_plinegen)
CADHOST_SETTER(AcDbPolyline, setElevation, double, m_elevation)
CADHOST_SETTER(AcDbPolyline, setThickness, double, m_thickness)

Acad::ErrorStatus AcDbPolyline::setNormal(const AcGeVector3d& n) {
  if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
  return UnitNormal(n, m_normal) ? Acad::eOk : Acad::eInvalidInput;
}

Acad::ErrorStatus AcDbPolyline::getStartPoint(AcGePoint3d& p) const {
  if (m_vertices.empty()) return Acad::eDegenerateGeometry;
  return getPointAt(0, p);
}

Acad::ErrorStatus AcDbPolyline::getEndPoint(AcGePoint3d& p) const {
  if (m_vertices.empty()) return Acad::eDegenerateGeometry;
  return getPointAt(m_closed ? 0 : numVerts() - 1, p);
}

bool AcDbPolyline::addExtentsUnder(const AcGeMatrix3d& m, AcDbExtents& out) const {
  if (m_vertices.empty()) return false;
  AcDbExtents ext;
  const AcGeMatrix3d full = m * acgeOcsToWcs(m_normal);
  const AcGeVector3d ax = Axis(full, 0), ay = Axis(full, 1);
  auto mapped = [&](double x, double y) {
    AcGePoint3d p(x, y, m_elevation);
    return p.transformBy(full);
  };
  const std::size_t n = m_vertices.size();
  const std::size_t segments = m_closed ? n : n - 1;
  ext.addPoint(mapped(m_vertices[0].pt.x, m_vertices[0].pt.y));
  for (std::size_t i = 0; i < segments; ++i) {
    const Vertex& v0 = m_vertices[i];
    const Vertex& v1 = m_vertices[(i + 1) % n];
    double w0, w1;
    getWidthsAt(static_cast<unsigned int>(i), w0, w1);
    const double half = std::max(w0, w1) / 2.0;
    if (v0.bulge == 0.0 || v0.pt.isEqualTo(v1.pt)) {
      const AcGeVector2d d = v1.pt - v0.pt;
      const double len = d.length();
      const AcGeVector2d side = len > 0.0 ? AcGeVector2d(-d.y / len, d.x / len) : AcGeVector2d();
      const double h0 = w0 / 2.0, h1 = w1 / 2.0;
      for (int s : {-1, 1}) {
        ext.addPoint(mapped(v0.pt.x + side.x * h0 * s, v0.pt.y + side.y * h0 * s));
        ext.addPoint(mapped(v1.pt.x + side.x * h1 * s, v1.pt.y + side.y * h1 * s));
      }
      continue;
    }
    const cadhost::BulgeArc arc = cadhost::ArcOfBulge(v0.pt, v1.pt, v0.bulge);
    AcGePoint3d c(arc.center.x, arc.center.y, m_elevation);
    c.transformBy(full);
    for (double r : {arc.radius - half, arc.radius + half}) {
      if (r < 0.0) r = 0.0;
      cadhost::AddEllipseArcExtents(c, ax * r, ay * r, arc.t0, arc.t1, ext);
    }
  }
  cadhost::AddExtruded(ext, cadhost::ThicknessVector(m, m_normal, m_thickness), out);
  return true;
}

Acad::ErrorStatus AcDbPolyline::subTransformBy(const AcGeMatrix3d& m) {
  const bool conformal = m.isUniScaledOrtho();
  if (!conformal && (hasBulges() || hasWidth())) return Acad::eCannotScaleNonUniformly;
  const AcGeMatrix3d ocs = acgeOcsToWcs(m_normal);
  AcGeVector3d x = Axis(ocs, 0), y = Axis(ocs, 1);
  x.transformBy(m);
  y.transformBy(m);
  AcGeVector3d normal = x.crossProduct(y).normal();
  const bool mirrored = m.det() < 0.0;
  // Keep mirrored geometry on the mirrored normal's side, so 2D stays 2D, and reverse bulges.
  if (mirrored) normal = -normal;
  const AcGeMatrix3d toPlane = acgeOcsToWcs(normal).inverse();
  const double s = conformal ? m.scale() : 1.0;
  AcGePoint3d origin(0, 0, m_elevation);
  origin.transformBy(ocs);
  double elevation = AcGePoint3d(origin).transformBy(m).transformBy(toPlane).z;
  for (Vertex& v : m_vertices) {
    AcGePoint3d p(v.pt.x, v.pt.y, m_elevation);
    p.transformBy(ocs).transformBy(m).transformBy(toPlane);
    v.pt = AcGePoint2d(p.x, p.y);
    elevation = p.z;
    if (mirrored) v.bulge = -v.bulge;
    if (v.startWidth > 0.0) v.startWidth *= s;
    if (v.endWidth > 0.0) v.endWidth *= s;
  }
  m_constantWidth *= s;
  m_thickness *= s;
  m_elevation = elevation;
  m_normal = normal;
  return Acad::eOk;
}
