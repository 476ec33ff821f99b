// Points, vectors and matrices.

#include <algorithm>
#include <cmath>
#include <numbers>

#include "cadhost/db/geom_util.h"
#include "cadhost/sdk/gegeom.h"

const AcGePoint2d AcGePoint2d::kOrigin;
const AcGePoint3d AcGePoint3d::kOrigin;
const AcGeVector3d AcGeVector3d::kIdentity;
const AcGeVector3d AcGeVector3d::kXAxis(1, 0, 0);
const AcGeVector3d AcGeVector3d::kYAxis(0, 1, 0);
const AcGeVector3d AcGeVector3d::kZAxis(0, 0, 1);
const AcGeMatrix3d AcGeMatrix3d::kIdentity;

double AcGeVector2d::angle() const { return cadhost::NormalizeAngle(std::atan2(y, x)); }

AcGeVector3d AcGeVector3d::normal() const {
  const double len = length();
  return len > 0.0 ? *this / len : AcGeVector3d();
}

double AcGeVector3d::angleTo(const AcGeVector3d& v) const {
  return std::atan2(crossProduct(v).length(), dotProduct(v));
}

double AcGeVector3d::angleTo(const AcGeVector3d& v, const AcGeVector3d& reference) const {
  const double a = angleTo(v);
  return crossProduct(v).dotProduct(reference) < 0.0 ? cadhost::NormalizeAngle(-a) : a;
}

AcGeVector3d& AcGeVector3d::transformBy(const AcGeMatrix3d& m) {
  const auto& e = m.entry;
  *this = {e[0][0] * x + e[0][1] * y + e[0][2] * z, e[1][0] * x + e[1][1] * y + e[1][2] * z,
           e[2][0] * x + e[2][1] * y + e[2][2] * z};
  return *this;
}

AcGePoint3d& AcGePoint3d::transformBy(const AcGeMatrix3d& m) {
  const auto& e = m.entry;
  *this = {e[0][0] * x + e[0][1] * y + e[0][2] * z + e[0][3],
           e[1][0] * x + e[1][1] * y + e[1][2] * z + e[1][3],
           e[2][0] * x + e[2][1] * y + e[2][2] * z + e[2][3]};
  return *this;
}

AcGeMatrix3d::AcGeMatrix3d() { setToIdentity(); }

AcGeMatrix3d& AcGeMatrix3d::setToIdentity() {
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) entry[r][c] = r == c ? 1.0 : 0.0;
  return *this;
}

AcGeMatrix3d& AcGeMatrix3d::setToTranslation(const AcGeVector3d& v) {
  setToIdentity();
  entry[0][3] = v.x;
  entry[1][3] = v.y;
  entry[2][3] = v.z;
  return *this;
}

AcGeMatrix3d& AcGeMatrix3d::setToScaling(double s, const AcGePoint3d& center) {
  return *this = scaling3d(s, s, s, center);
}

AcGeMatrix3d& AcGeMatrix3d::setToRotation(double angle, const AcGeVector3d& axis,
                                          const AcGePoint3d& center) {
  const AcGeVector3d u = axis.normal();
  const double c = std::cos(angle), s = std::sin(angle), t = 1.0 - c;
  setToIdentity();
  entry[0][0] = t * u.x * u.x + c;
  entry[0][1] = t * u.x * u.y - s * u.z;
  entry[0][2] = t * u.x * u.z + s * u.y;
  entry[1][0] = t * u.x * u.y + s * u.z;
  entry[1][1] = t * u.y * u.y + c;
  entry[1][2] = t * u.y * u.z - s * u.x;
  entry[2][0] = t * u.x * u.z - s * u.y;
  entry[2][1] = t * u.y * u.z + s * u.x;
  entry[2][2] = t * u.z * u.z + c;
  // Keep the centre fixed: p' = R (p - c) + c.
  AcGeVector3d rc = center.asVector();
  rc.transformBy(*this);
  entry[0][3] = center.x - rc.x;
  entry[1][3] = center.y - rc.y;
  entry[2][3] = center.z - rc.z;
  return *this;
}

AcGeMatrix3d& AcGeMatrix3d::setCoordSystem(const AcGePoint3d& origin, const AcGeVector3d& x,
                                           const AcGeVector3d& y, const AcGeVector3d& z) {
  setToIdentity();
  const AcGeVector3d cols[3] = {x, y, z};
  for (int c = 0; c < 3; ++c) {
    entry[0][c] = cols[c].x;
    entry[1][c] = cols[c].y;
    entry[2][c] = cols[c].z;
  }
  entry[0][3] = origin.x;
  entry[1][3] = origin.y;
  entry[2][3] = origin.z;
  return *this;
}

AcGeMatrix3d AcGeMatrix3d::translation(const AcGeVector3d& v) {
  return AcGeMatrix3d().setToTranslation(v);
}
AcGeMatrix3d AcGeMatrix3d::scaling(double s, const AcGePoint3d& center) {
  return AcGeMatrix3d().setToScaling(s, center);
}
AcGeMatrix3d AcGeMatrix3d::rotation(double angle, const AcGeVector3d& axis,
                                    const AcGePoint3d& center) {
  return AcGeMatrix3d().setToRotation(angle, axis, center);
}

AcGeMatrix3d AcGeMatrix3d::scaling3d(double sx, double sy, double sz,
                                     const AcGePoint3d& center) {
  AcGeMatrix3d m;
  m.entry[0][0] = sx;
  m.entry[1][1] = sy;
  m.entry[2][2] = sz;
  m.entry[0][3] = center.x * (1.0 - sx);
  m.entry[1][3] = center.y * (1.0 - sy);
  m.entry[2][3] = center.z * (1.0 - sz);
  return m;
}

AcGeMatrix3d AcGeMatrix3d::operator*(const AcGeMatrix3d& m) const {
  AcGeMatrix3d r;
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) {
      double s = 0.0;
      for (int k = 0; k < 4; ++k) s += entry[i][k] * m.entry[k][j];
      r.entry[i][j] = s;
    }
  return r;
}

double AcGeMatrix3d::det() const {
  const auto& e = entry;
  return e[0][0] * (e[1][1] * e[2][2] - e[1][2] * e[2][1]) -
         e[0][1] * (e[1][0] * e[2][2] - e[1][2] * e[2][0]) +
         e[0][2] * (e[1][0] * e[2][1] - e[1][1] * e[2][0]);
}

AcGeMatrix3d AcGeMatrix3d::inverse(bool* ok) const {
  const double d = det();
  if (ok != nullptr) *ok = std::abs(d) > 1e-300;
  if (std::abs(d) <= 1e-300) return AcGeMatrix3d();
  const auto& e = entry;
  AcGeMatrix3d r;
  r.entry[0][0] = (e[1][1] * e[2][2] - e[1][2] * e[2][1]) / d;
  r.entry[0][1] = (e[0][2] * e[2][1] - e[0][1] * e[2][2]) / d;
  r.entry[0][2] = (e[0][1] * e[1][2] - e[0][2] * e[1][1]) / d;
  r.entry[1][0] = (e[1][2] * e[2][0] - e[1][0] * e[2][2]) / d;
  r.entry[1][1] = (e[0][0] * e[2][2] - e[0][2] * e[2][0]) / d;
  r.entry[1][2] = (e[0][2] * e[1][0] - e[0][0] * e[1][2]) / d;
  r.entry[2][0] = (e[1][0] * e[2][1] - e[1][1] * e[2][0]) / d;
  r.entry[2][1] = (e[0][1] * e[2][0] - e[0][0] * e[2][1]) / d;
  r.entry[2][2] = (e[0][0] * e[1][1] - e[0][1] * e[1][0]) / d;
  for (int i = 0; i < 3; ++i)
    r.entry[i][3] = -(r.entry[i][0] * e[0][3] + r.entry[i][1] * e[1][3] + r.entry[i][2] * e[2][3]);
  return r;
}

namespace {
AcGeVector3d Column(const AcGeMatrix3d& m, int c) {
  return {m.entry[0][c], m.entry[1][c], m.entry[2][c]};
}
}  // namespace

bool AcGeMatrix3d::isUniScaledOrtho(const AcGeTol& tol) const {
  const AcGeVector3d x = Column(*this, 0), y = Column(*this, 1), z = Column(*this, 2);
  const double lx = x.length(), ly = y.length(), lz = z.length();
  if (lx <= tol.equalVector()) return false;
  const double t = 1e-9 * std::max(1.0, lx * lx);
  return std::abs(lx - ly) <= 1e-9 * lx && std::abs(lx - lz) <= 1e-9 * lx &&
         std::abs(x.dotProduct(y)) <= t && std::abs(y.dotProduct(z)) <= t &&
         std::abs(x.dotProduct(z)) <= t;
}

double AcGeMatrix3d::scale() const {
  return std::max({Column(*this, 0).length(), Column(*this, 1).length(),
                   Column(*this, 2).length()});
}

bool AcGeMatrix3d::isEqualTo(const AcGeMatrix3d& m, const AcGeTol& tol) const {
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j)
      if (std::abs(entry[i][j] - m.entry[i][j]) > tol.equalVector()) return false;
  return true;
}

AcGeMatrix3d acgeOcsToWcs(const AcGeVector3d& normal) {
  // Plain 2D geometry, nearly all of a drawing: the rule below gives the identity.
  if (normal.x == 0.0 && normal.y == 0.0 && normal.z > 0.0) return AcGeMatrix3d();
  const AcGeVector3d n = normal.isZeroLength() ? AcGeVector3d::kZAxis : normal.normal();
  constexpr double kLimit = 1.0 / 64.0;
  const AcGeVector3d ax =
      (std::abs(n.x) < kLimit && std::abs(n.y) < kLimit ? AcGeVector3d::kYAxis.crossProduct(n)
                                                        : AcGeVector3d::kZAxis.crossProduct(n))
          .normal();
  const AcGeVector3d ay = n.crossProduct(ax).normal();
  return AcGeMatrix3d().setCoordSystem(AcGePoint3d::kOrigin, ax, ay, n);
}

namespace cadhost {

double NormalizeAngle(double a) {
  constexpr double kTwoPi = 2.0 * std::numbers::pi;
  if (!std::isfinite(a)) return 0.0;
  a = std::fmod(a, kTwoPi);
  if (a < 0.0) a += kTwoPi;
  if (a >= kTwoPi) a = 0.0;
  return a;
}

bool IsPlusZ(const AcGeVector3d& n) {
  return std::abs(n.x) < 1e-12 && std::abs(n.y) < 1e-12 && n.z > 0.0;
}

void AddEllipseArcExtents(const AcGePoint3d& c, const AcGeVector3d& u, const AcGeVector3d& v,
                          double t0, double t1, AcDbExtents& ext) {
  auto at = [&](double t) { return c + u * std::cos(t) + v * std::sin(t); };
  ext.addPoint(at(t0));
  ext.addPoint(at(t1));
  const double us[3] = {u.x, u.y, u.z}, vs[3] = {v.x, v.y, v.z};
  for (int i = 0; i < 3; ++i) {
    // Coordinate i is c_i + u_i cos t + v_i sin t: extreme where tan t = v_i / u_i.
    if (us[i] == 0.0 && vs[i] == 0.0) continue;
    const double base = std::atan2(vs[i], us[i]);
    for (int k = -4; k <= 4; ++k) {
      const double t = base + k * std::numbers::pi;
      if (t > t0 && t < t1) ext.addPoint(at(t));
    }
  }
}

void AddArcExtents(const AcGeMatrix3d& m, const AcGePoint3d& center, const AcGeVector3d& normal,
                   double radius, double start, double end, AcDbExtents& ext) {
  const AcGeMatrix3d ocs = acgeOcsToWcs(normal);
  AcGeVector3d u = AcGeVector3d(ocs.entry[0][0], ocs.entry[1][0], ocs.entry[2][0]) * radius;
  AcGeVector3d v = AcGeVector3d(ocs.entry[0][1], ocs.entry[1][1], ocs.entry[2][1]) * radius;
  u.transformBy(m);
  v.transformBy(m);
  AcGePoint3d c = center;
  c.transformBy(m);
  if (end <= start) end += 2.0 * std::numbers::pi;
  AddEllipseArcExtents(c, u, v, start, end, ext);
}

void AddExtruded(const AcDbExtents& body, const AcGeVector3d& v, AcDbExtents& ext) {
  if (body.isEmpty()) return;
  ext.addExt(body);
  ext.addPoint(body.minPoint() + v);
  ext.addPoint(body.maxPoint() + v);
}

AcGeVector3d ThicknessVector(const AcGeMatrix3d& m, const AcGeVector3d& normal, double thickness) {
  AcGeVector3d v = normal * thickness;
  return v.transformBy(m);
}

BulgeArc ArcOfBulge(const AcGePoint2d& p0, const AcGePoint2d& p1, double bulge) {
  BulgeArc a;
  const AcGeVector2d chord = p1 - p0;
  const double d = chord.length();
  const double theta = 4.0 * std::atan(bulge);  // signed included angle
  a.radius = d / (2.0 * std::abs(std::sin(theta / 2.0)));
  const AcGeVector2d mid(p0.x + chord.x / 2.0, p0.y + chord.y / 2.0);
  const AcGeVector2d left(-chord.y / d, chord.x / d);
  const double offset = d / 2.0 * (1.0 - bulge * bulge) / (2.0 * bulge);
  a.center = AcGePoint2d(mid.x + left.x * offset, mid.y + left.y * offset);
  const double a0 = std::atan2(p0.y - a.center.y, p0.x - a.center.x);
  a.t0 = theta > 0.0 ? a0 : a0 + theta;
  a.t1 = theta > 0.0 ? a0 + theta : a0;
  return a;
}

}  // namespace cadhost
