#include "plugin/drag_place.h"

#include "cadhost/sdk/aced.h"
#include "cadhost/sdk/dbxutil.h"

namespace vex {
namespace {

// The drag callback has no room for a base point: the one being dragged lives here while the
// drag runs (commands run one at a time on the host's thread).
AcGePoint3d g_dragBase;

void Translation(ads_matrix m, const AcGeVector3d& v) {
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) m[i][j] = i == j ? 1.0 : 0.0;
  m[0][3] = v.x;
  m[1][3] = v.y;
  m[2][3] = v.z;
}

AcGePoint3d ToWorld(const ads_point p) {
  ads_point w;
  acdbUcs2Wcs(p, w, false);
  return AcGePoint3d(w[X], w[Y], w[Z]);
}

int FollowCursor(ads_point pt, ads_matrix matrix) {
  Translation(matrix, ToWorld(pt) - g_dragBase);
  return RTNORM;
}

}  // namespace

DragResult DragPlace(const AcDbObjectIdArray& ids, const std::string& prompt, const AcGePoint3d& base) {
  DragResult result;
  ads_name set;
  if (acedSSAdd(nullptr, nullptr, set) != RTNORM) {
    result.status = RTERROR;
    return result;
  }
  for (const AcDbObjectId& id : ids) {
    ads_name entity;
    if (id.isNull() || acdbGetAdsName(entity, id) != Acad::eOk) continue;
    acedRedraw(entity, 2);
    acedSSAdd(entity, set, set);
  }
  Adesk::Int32 length = 0;
  if (acedSSLength(set, &length) != RTNORM) {
    acedSSFree(set);
    result.status = RTERROR;
    return result;
  }
  g_dragBase = base;
  ads_point picked;
  result.status = acedDragGen(set, prompt.c_str(), 0, FollowCursor, picked);
  if (result.status == RTNORM) {
    result.point = ToWorld(picked);
    ads_matrix m;
    Translation(m, result.point - base);
    acedXformSS(set, m);
  }
  acedSSFree(set);
  return result;
}

}  // namespace vex
