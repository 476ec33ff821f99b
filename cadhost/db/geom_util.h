#pragma once
// Geometry helpers of the entities: angles, and exact extents of arcs under affine maps.

#include "cadhost/sdk/dbmain.h"

namespace cadhost {

// `a` in [0, 2pi); non-finite angles give 0.
double NormalizeAngle(double a);
// True for the normal (0, 0, 1) of plain 2D geometry.
bool IsPlusZ(const AcGeVector3d& n);

// Adds the points c + u cos t + v sin t for t in [t0, t1] (an arc of an ellipse): the two ends
// and every point where a coordinate is extreme.
void AddEllipseArcExtents(const AcGePoint3d& c, const AcGeVector3d& u, const AcGeVector3d& v,
                          double t0, double t1, AcDbExtents& ext);
// Adds the arc of `radius` about `center` in the plane of `normal`, from `start` counter-
// clockwise to `end` (a full circle when end - start is 2pi), mapped through `m`.
void AddArcExtents(const AcGeMatrix3d& m, const AcGePoint3d& center, const AcGeVector3d& normal,
                   double radius, double start, double end, AcDbExtents& ext);

// Adds `body` and `body` moved by `v`: the box of geometry extruded along v (thickness).
void AddExtruded(const AcDbExtents& body, const AcGeVector3d& v, AcDbExtents& ext);
// The world vector of a thickness along a normal, mapped through m.
AcGeVector3d ThicknessVector(const AcGeMatrix3d& m, const AcGeVector3d& normal, double thickness);

// The arc of a polyline segment from p0 to p1 with a non-zero bulge: its centre, radius and
// the angle range [t0, t1] it covers (t0 < t1, counter-clockwise).
struct BulgeArc {
  AcGePoint2d center;
  double radius = 0.0;
  double t0 = 0.0;
  double t1 = 0.0;
};
BulgeArc ArcOfBulge(const AcGePoint2d& p0, const AcGePoint2d& p1, double bulge);

}  // namespace cadhost
