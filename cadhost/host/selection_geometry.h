#pragma once
// What selection sees of an entity: its outline and box in view coordinates (the user
// coordinate system, looked at from above), for windows, crossings and picks.

#include <vector>

#include "cadhost/sdk/dbents.h"

namespace cadhost {

struct ViewShape {
  std::vector<std::vector<AcGePoint2d>> paths;  // polylines; arcs as chords of at most 5 deg
  std::vector<std::vector<AcGePoint2d>> areas;  // closed areas a pick inside hits (text boxes)
  AcGePoint2d min, max;                         // exact box of the geometry
};

// The box of `entity` seen through `worldToView`, and with `outline` its paths and areas too;
// false when it has no geometry.
bool ShapeOf(const AcDbEntity* entity, const AcGeMatrix3d& worldToView, bool outline,
             ViewShape& shape);

// Wholly inside the window between `a` and `b` (corners in any order).
bool InsideWindow(const ViewShape& s, const AcGePoint2d& a, const AcGePoint2d& b);
// Inside the window or crossing its edges (needs the outline unless the box decides).
bool CrossesWindow(const ViewShape& s, const AcGePoint2d& a, const AcGePoint2d& b);
// Within `aperture` of the outline, or inside an area.
bool Hits(const ViewShape& s, const AcGePoint2d& p, double aperture);

}  // namespace cadhost
