#pragma once
// Where a cell's contents go inside its block when a table is drawn: the text lines with
// their alignment points, and the scale and position of a picture. Plain geometry in
// drawing units (y up), so that drawing and its tests share one definition.

#include <string>
#include <vector>

#include "model/table_data.h"

namespace vex {


// One single-line text of a cell: its alignment point and the host's justification
// (horizontal 0 left, 1 centre, 2 right; vertical 3 top, 2 middle, 1 bottom).
struct TextLinePlacement {
  double x = 0.0;
  double y = 0.0;
  std::string text;  // may be empty: such a line is placed but draws nothing
  int horizontalMode = 0;
  int verticalMode = 0;
};

// The lines of a cell's text (split at "\r\n") inside `block`, with the margin s kept from
// the rules: left/right alignment keep s from the side, top alignment keeps s below the top
// rule, bottom alignment puts the last line's alignment point on the bottom rule. Lines are
// h + s apart, h being the cell's dHeight. Alignment values outside 0..2 count as centre.
std::vector<TextLinePlacement> PlaceCellText(const TableCell& cell, const Rect2d& block, double s);

// The text split at every "\r\n" (one element for a text without breaks, "" included).
std::vector<std::string> SplitCellLines(const std::string& text);

// The uniform scale that fits a picture of width w and height h (at scale 1) into a box of
// width W and height H, times the cell's scale clamped to 0.05..1; the limiting direction
// wins, a direction thinner than 0.001 is ignored, and a scale below 1e-7 becomes 1.
double PictureScale(double w, double h, double W, double H, double cellScale);

// Where the lower-left corner of a picture of width w and height h goes in `box` for the
// cell's alignment (0 left/top, 1 centre/middle, anything else right/bottom).
struct PicturePosition {
  double x = 0.0;
  double y = 0.0;
};
PicturePosition PicturePlace(double w, double h, const Rect2d& box, int horzMode, int vertMode);

}  // namespace vex
