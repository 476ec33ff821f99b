// The user coordinate system.

#include "cadhost/host/host_state.h"

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

}  // namespace cadhost
