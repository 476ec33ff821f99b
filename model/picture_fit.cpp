#include "model/picture_fit.h"

#include <algorithm>
#include <cmath>

namespace vex {
namespace {

// Logical units are ints; a window beyond their range cannot be drawn.
bool ToLogical(double v, int& out) {
  const double r = std::round(100.0 * v);
  if (!std::isfinite(r) || std::fabs(r) > 2e9) return false;
  out = static_cast<int>(r);
  return true;
}

}  // namespace

std::optional<PictureWindow> FitPictureWindow(const Rect2d& bounds, int cellWidth, int cellHeight, double scale,
                                              int horzMode, int vertMode) {
  if (cellWidth <= 0 || cellHeight <= 0) return std::nullopt;
  const double x1 = bounds.left, y1 = bounds.top;
  const double w = bounds.right - bounds.left;
  const double h = bounds.top - bounds.bottom;
  if (!(w > 0) && !(h > 0)) return std::nullopt;
  const double aspect = static_cast<double>(cellHeight) / cellWidth;
  double wf = w, hf = h;
  if (!(w > 0) || h / w > aspect) wf = h / aspect;
  else hf = w * aspect;
  const double s = scale < 0.0001 ? 1.0 : scale;

  double x0 = x1, y0 = y1;
  if (horzMode == 1) x0 = x1 + w / 2 - wf / (2 * s);
  else if (horzMode == 2) x0 = x1 + w - wf / s;
  if (vertMode == 1) y0 = y1 - h / 2 + hf / (2 * s);
  else if (vertMode == 2) y0 = y1 - h + hf / s;

  PictureWindow win;
  if (!ToLogical(x0, win.originX) || !ToLogical(y0, win.originY) || !ToLogical(wf / s, win.extentX) ||
      !ToLogical(hf / s, win.extentY) || win.extentX <= 0 || win.extentY <= 0)
    return std::nullopt;
  return win;
}

PictureMapping MapWindowIsotropic(const PictureWindow& window, const PixelRect& target) {
  PictureMapping m;
  const double sx = window.extentX > 0 ? static_cast<double>(target.Width()) / window.extentX : 0.0;
  const double sy = window.extentY > 0 ? static_cast<double>(target.Height()) / window.extentY : 0.0;
  m.scale = std::max(0.0, std::min(sx, sy));
  m.offsetX = target.left;
  m.offsetY = target.top;
  m.originX = window.originX;
  m.originY = window.originY;
  return m;
}

std::optional<PictureMapping> CellPictureMapping(const Rect2d& bounds, const PixelRect& cell, double scale,
                                                 int format) {
  const int horz = std::min(format & 3, 2);
  const int vert = (format & 8) ? 2 : (format & 4) ? 1 : 0;
  const auto window = FitPictureWindow(bounds, cell.Width(), cell.Height(), scale, horz, vert);
  const PixelRect inset{cell.left + 1, cell.top + 1, cell.right - 1, cell.bottom - 1};
  if (!window || inset.Width() <= 0 || inset.Height() <= 0) return std::nullopt;
  return MapWindowIsotropic(*window, inset);
}

}  // namespace vex
