#include "editor/grid/qpainter_canvas.h"

#include <QFont>
#include <QPolygonF>
#include <QString>

#include <cmath>

namespace vex {

void QPainterCanvas::Line(LogicalPoint from, LogicalPoint to) { p_.drawLine(Map(from), Map(to)); }

void QPainterCanvas::Polyline(std::span<const LogicalPoint> points) {
  QPolygonF poly;
  poly.reserve(static_cast<qsizetype>(points.size()));
  for (const LogicalPoint& pt : points) poly << Map(pt);
  p_.drawPolyline(poly);
}

void QPainterCanvas::Ellipse(int left, int top, int right, int bottom) {
  p_.drawEllipse(QRectF(Map({left, top}), Map({right, bottom})).normalized());
}

void QPainterCanvas::Arc(LogicalPoint centre, int radius, double startDegrees, double sweepDegrees) {
  const int r = std::abs(radius);
  const QRectF box = QRectF(Map({centre.x - r, centre.y + r}), Map({centre.x + r, centre.y - r})).normalized();
  // Qt counts sixteenths of a degree counter-clockwise on the screen, which is the picture's
  // counter-clockwise as well since the mapping flips y.
  p_.drawArc(box, static_cast<int>(std::lround(startDegrees * 16)), static_cast<int>(std::lround(sweepDegrees * 16)));
}

void QPainterCanvas::Text(LogicalPoint origin, int height, std::string_view utf8) {
  const double px = std::abs(height) * m_.scale;
  if (px < 1) return;
  QFont font = p_.font();
  font.setPixelSize(static_cast<int>(std::lround(px)));
  p_.save();
  p_.setFont(font);
  p_.drawText(Map(origin), QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
  p_.restore();
}

}  // namespace vex
