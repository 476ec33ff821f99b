#pragma once
// Object snaps: the exact points of geometry near the cursor that a click takes instead of the
// cursor's own point. END (ends of lines and arcs, polyline vertices), MID (middles of lines
// and arcs), INT (where two pieces of geometry cross) and CEN (centres of arcs and circles).

#include <cstdint>
#include <optional>
#include <vector>

#include "cadhost/ui/geometry.h"

namespace cadhost::ui {

enum SnapMode : unsigned {
  kSnapEnd = 1,
  kSnapMid = 2,
  kSnapInt = 4,
  kSnapCen = 8,
  kSnapAll = 15,
};

// A circular arc in the drawing plane, counter-clockwise from `start` to `end` (radians);
// a full circle when `full`.
struct ArcShape {
  Pt center;
  double radius = 0.0;
  double start = 0.0;
  double end = 0.0;
  bool full = false;
  Pt StartPoint() const;
  Pt EndPoint() const;
  Pt MidPoint() const;
  // Whether the direction `angle` lies on the arc.
  bool Covers(double angle) const;
};

// What snaps see of an entity.
struct SnapGeometry {
  std::vector<std::pair<Pt, Pt>> segments;
  std::vector<ArcShape> arcs;
  bool Empty() const { return segments.empty() && arcs.empty(); }
  void Add(const SnapGeometry& other);
  void Transform(const Affine& m);  // uniform scale and rotation keep arcs arcs
};

struct Snap {
  SnapMode mode = kSnapEnd;
  Pt point;
};

// The snap point of `geometry` nearest to `cursor`, within `aperture` of it, among `modes`;
// at equal distance END comes before INT, MID and CEN.
std::optional<Snap> FindSnap(const std::vector<const SnapGeometry*>& geometry, const Pt& cursor,
                             double aperture, unsigned modes);

// Where two pieces cross (at most two points each).
std::vector<Pt> Intersections(const std::pair<Pt, Pt>& s, const std::pair<Pt, Pt>& t);
std::vector<Pt> Intersections(const std::pair<Pt, Pt>& s, const ArcShape& a);
std::vector<Pt> Intersections(const ArcShape& a, const ArcShape& b);

}  // namespace cadhost::ui
