#pragma once
// The picture canvas on a QPainter: logical units (hundredths of a picture unit, y up) are
// mapped onto device pixels by a cell's picture mapping, drawn with the painter's pen.

#include <QPainter>

#include "model/picture_canvas.h"
#include "model/picture_fit.h"

namespace vex {

class QPainterCanvas final : public PictureCanvas {
 public:
  QPainterCanvas(QPainter& painter, const PictureMapping& mapping) : p_(painter), m_(mapping) {}

  void Line(LogicalPoint from, LogicalPoint to) override;
  void Polyline(std::span<const LogicalPoint> points) override;
  void Ellipse(int left, int top, int right, int bottom) override;
  void Arc(LogicalPoint centre, int radius, double startDegrees, double sweepDegrees) override;
  void Text(LogicalPoint origin, int height, std::string_view utf8) override;

 private:
  QPointF Map(LogicalPoint p) const { return {m_.DeviceX(p.x), m_.DeviceY(p.y)}; }

  QPainter& p_;
  PictureMapping m_;
};

}  // namespace vex
