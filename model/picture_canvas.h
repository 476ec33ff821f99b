#pragma once
// What cell pictures draw on. Coordinates are logical units of one hundredth of a picture
// unit, y pointing up; the canvas maps them onto its device (the grid maps a cell's fitted
// window onto the cell, see picture_fit.h).

#include <span>
#include <string_view>

namespace vex {

struct LogicalPoint {
  int x = 0;
  int y = 0;
  bool operator==(const LogicalPoint&) const = default;
};

class PictureCanvas {
 public:
  virtual ~PictureCanvas() = default;
  virtual void Line(LogicalPoint from, LogicalPoint to) = 0;
  // A chain of segments from each point to the next.
  virtual void Polyline(std::span<const LogicalPoint> points) = 0;
  // The ellipse inscribed in the box left..right by bottom..top.
  virtual void Ellipse(int left, int top, int right, int bottom) = 0;
  // An arc of the circle around `centre`, from `startDegrees` counter-clockwise over
  // `sweepDegrees` (negative sweeps run clockwise).
  virtual void Arc(LogicalPoint centre, int radius, double startDegrees, double sweepDegrees) = 0;
  // Text whose baseline starts at `origin`, `height` logical units tall.
  virtual void Text(LogicalPoint origin, int height, std::string_view utf8) = 0;
};

}  // namespace vex
