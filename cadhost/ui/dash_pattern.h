#pragma once
// Linetype dash patterns along paths: what a dashed line draws.

#include <vector>

#include "cadhost/ui/geometry.h"

namespace cadhost::ui {

// A pattern in drawing units, scaled already: dashes (> 0), gaps (< 0) and dots (0), as a
// linetype lists them. Empty or all gaps: continuous.
struct DashPattern {
  std::vector<double> elements;
  double Length() const;
  bool Continuous() const;
};

// The pieces `pattern` draws along `path` (closed: back to its first point), the pattern
// running on across vertices from the start of the path. A dot is a piece of two equal
// points. When the pattern would make more than `maxPieces` pieces (it is tiny against the
// path, or on screen), the path is drawn whole instead.
std::vector<std::vector<Pt>> DashPath(const std::vector<Pt>& path, bool closed,
                                      const DashPattern& pattern, std::size_t maxPieces = 100000);

}  // namespace cadhost::ui
