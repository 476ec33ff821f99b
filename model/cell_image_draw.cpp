// Drawing the primitives of a cell picture onto a canvas (the grid's cells and previews).

#include <cmath>
#include <vector>

#include "model/cell_image.h"
#include "model/picture_canvas.h"

namespace vex {
namespace {

// Hundredths, truncated as the logical units are; values beyond the int range (a hostile or
// broken picture) are held at its edge instead of overflowing.
int Logical(double v) {
  const double h = std::trunc(v * 100.0);
  if (!(h == h)) return 0;
  return static_cast<int>(std::fmax(-2e9, std::fmin(2e9, h)));
}

LogicalPoint Logical(Point2d p) { return {Logical(p.x), Logical(p.y)}; }

}  // namespace

int JLine::Draw(PictureCanvas* canvas) const {
  if (!canvas) return 0;
  canvas->Line(Logical(start), Logical(end));
  return 1;
}

int JCircle::Draw(PictureCanvas* canvas) const {
  if (!canvas) return 0;
  canvas->Ellipse(Logical(center.x - radius), Logical(center.y + radius), Logical(center.x + radius),
                  Logical(center.y - radius));
  return 1;
}

int JPolyLine::Draw(PictureCanvas* canvas) const {
  if (!canvas) return 0;
  if (vertices.size() < 2) return 1;
  std::vector<LogicalPoint> points;
  points.reserve(vertices.size());
  for (const Point2d& v : vertices) points.push_back(Logical(v));
  canvas->Polyline(points);
  return 1;
}

// Capture never makes one and it carries no text: nothing to draw.
int JText::Draw(PictureCanvas* canvas) const { return canvas ? 1 : 0; }

int CellImageList::DrawAll(PictureCanvas* canvas) const {
  if (!canvas) return 0;
  for (const auto& item : items_) item->Draw(canvas);
  return 1;
}

}  // namespace vex
