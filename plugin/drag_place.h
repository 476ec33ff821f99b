#pragma once
// Placing drawn entities by dragging them to a point the drafter picks.

#include <string>

#include "cadhost/sdk/cadhost.h"

namespace vex {

struct DragResult {
  int status = 0;     // the drag's result: RTNORM for a picked point, RTNONE for ENTER, ...
  AcGePoint3d point;  // the picked point in world coordinates (RTNORM only)
};

// Hides the entities, drags them with `prompt` so that `base` follows the cursor and, when a
// point is picked, moves them by the vector from `base` to it (world coordinates, whatever the
// user coordinate system). Any other answer moves nothing. RTERROR when no set can be made.
DragResult DragPlace(const AcDbObjectIdArray& ids, const std::string& prompt, const AcGePoint3d& base);

}  // namespace vex
