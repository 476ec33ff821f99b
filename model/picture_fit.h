#pragma once
// Fitting a cell picture into its cell: the fitted window (a box around the picture's bounds
// with the cell's proportions, shrunk by the picture's scale and placed by the cell's
// alignment) and its isotropic mapping onto the cell rectangle inset by one pixel.

#include <optional>

#include "model/cell_image.h"

namespace vex {

// A device rectangle in pixels, y down; right and bottom exclusive.
struct PixelRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool operator==(const PixelRect&) const = default;
};

// The logical window in hundredths of a picture unit: its top-left corner and extents
// (y up, so the window runs from originY down to originY - extentY).
struct PictureWindow {
  int originX = 0;
  int originY = 0;
  int extentX = 0;
  int extentY = 0;
  bool operator==(const PictureWindow&) const = default;
};

// The window that shows a picture of `bounds` in a cell of cellWidth x cellHeight pixels:
// the bounds widened (or heightened) to the cell's aspect, shrunk by the scale (a scale below
// 0.0001 counts as 1) and placed by the modes (horizontal 0 left, 1 centre, 2 right; vertical
// 0 top, 1 centre, 2 bottom). Nothing (nullopt) when a cell side is 0 or the picture has
// neither width nor height.
std::optional<PictureWindow> FitPictureWindow(const Rect2d& bounds, int cellWidth, int cellHeight, double scale,
                                              int horzMode, int vertMode);

// Logical to device: device = offset + (logical - window origin) x scale, y flipped.
struct PictureMapping {
  double scale = 1.0;
  double offsetX = 0.0;
  double offsetY = 0.0;
  int originX = 0;
  int originY = 0;
  double DeviceX(double x) const { return offsetX + (x - originX) * scale; }
  double DeviceY(double y) const { return offsetY + (originY - y) * scale; }
};

// The window mapped onto `target` with one scale for both axes, the smaller of the two, from
// the target's top-left corner (an isotropic mapping).
PictureMapping MapWindowIsotropic(const PictureWindow& window, const PixelRect& target);

// The mapping for a cell picture: the window fitted to `cell` (the cell rectangle before
// the inset) and mapped onto `cell` inset by one pixel. Nothing when nothing is to be drawn.
// The alignment comes from the cell's format word (left/centre/right = 0/1/2, top/centre/
// bottom = 0/4/8).
std::optional<PictureMapping> CellPictureMapping(const Rect2d& bounds, const PixelRect& cell, double scale,
                                                 int format);

}  // namespace vex
