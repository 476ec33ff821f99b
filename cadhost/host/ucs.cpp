// The user coordinate system and conversions to and from world coordinates.

#include <cmath>

#include "cadhost/host/host_state.h"
#include "cadhost/sdk/acedads.h"
#include "cadhost/sdk/dbxutil.h"

namespace cadhost {

AcGeMatrix3d Ucs::ToWorld() const {
  AcGeMatrix3d m;
  m.setCoordSystem(origin, xAxis, yAxis, xAxis.crossProduct(yAxis));
  return m;
}

AcGeMatrix3d Ucs::FromWorld() const { return ToWorld().inverse(); }

bool Ucs::IsWorld() const {
  return origin == AcGePoint3d::kOrigin && xAxis == AcGeVector3d::kXAxis &&
         yAxis == AcGeVector3d::kYAxis;
}

void PushPreviousUcs(DocumentState& doc) {
  constexpr std::size_t kKept = 10;
  doc.previousUcs.push_back(doc.ucs);
  if (doc.previousUcs.size() > kKept) doc.previousUcs.erase(doc.previousUcs.begin());
}

namespace {

bool Convert(const ads_point from, ads_point to, bool vec, bool toWorld) {
  const DocumentState* doc = Host::Get().CurrentState();
  AcGePoint3d p(from[X], from[Y], from[Z]);
  if (doc != nullptr) {
    const AcGeMatrix3d m = toWorld ? doc->ucs.ToWorld() : doc->ucs.FromWorld();
    if (vec) {
      AcGeVector3d v = p.asVector();
      v.transformBy(m);
      p = AcGePoint3d::kOrigin + v;
    } else {
      p.transformBy(m);
    }
  }
  to[X] = p.x;
  to[Y] = p.y;
  to[Z] = p.z;
  return true;
}

}  // namespace
}  // namespace cadhost

bool acdbUcs2Wcs(const ads_point from, ads_point to, bool vec) {
  return cadhost::Convert(from, to, vec, true);
}

bool acdbWcs2Ucs(const ads_point from, ads_point to, bool vec) {
  return cadhost::Convert(from, to, vec, false);
}

Acad::ErrorStatus acedGetCurrentUCS(AcGeMatrix3d& ucsToWorld) {
  const cadhost::DocumentState* doc = cadhost::Host::Get().CurrentState();
  ucsToWorld = doc != nullptr ? doc->ucs.ToWorld() : AcGeMatrix3d::kIdentity;
  return doc != nullptr ? Acad::eOk : Acad::eNotApplicable;
}

Acad::ErrorStatus acedSetCurrentUCS(const AcGeMatrix3d& m) {
  cadhost::DocumentState* doc = cadhost::Host::Get().CurrentState();
  if (doc == nullptr) return Acad::eNotApplicable;
  const AcGeVector3d x(m.entry[0][0], m.entry[1][0], m.entry[2][0]);
  const AcGeVector3d y(m.entry[0][1], m.entry[1][1], m.entry[2][1]);
  const AcGeVector3d z(m.entry[0][2], m.entry[1][2], m.entry[2][2]);
  constexpr double kTol = 1e-9;
  if (std::abs(x.length() - 1) > kTol || std::abs(y.length() - 1) > kTol ||
      std::abs(x.dotProduct(y)) > kTol || (x.crossProduct(y) - z).length() > kTol)
    return Acad::eInvalidInput;
  cadhost::PushPreviousUcs(*doc);
  doc->ucs.origin = AcGePoint3d(m.entry[0][3], m.entry[1][3], m.entry[2][3]);
  doc->ucs.xAxis = x;
  doc->ucs.yAxis = y;
  return Acad::eOk;
}
