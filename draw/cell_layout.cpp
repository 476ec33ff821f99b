#include "draw/cell_layout.h"

#include <algorithm>
#include <cmath>

namespace vex {

std::vector<std::string> SplitCellLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (;;) {
    const auto brk = text.find("\r\n", start);
    lines.push_back(text.substr(start, brk == std::string::npos ? std::string::npos : brk - start));
    if (brk == std::string::npos) break;
    start = brk + 2;
  }
  return lines;
}

std::vector<TextLinePlacement> PlaceCellText(const TableCell& cell, const Rect2d& b, double s) {
  const double h = cell.dHeight;
  const int horz = cell.HorzMode >= 0 && cell.HorzMode <= 2 ? cell.HorzMode : 1;
  const int vert = cell.VertMode >= 0 && cell.VertMode <= 2 ? cell.VertMode : 1;
  const double x = horz == 0 ? b.left + s : horz == 2 ? b.right - s : (b.left + b.right) / 2;
  const std::vector<std::string> lines = SplitCellLines(cell.strText);
  const double n = static_cast<double>(lines.size());
  double y = vert == 0   ? b.top - s
             : vert == 2 ? b.bottom + (n - 1) * (h + s)
                         : (b.top + b.bottom) / 2 + (n - 1) * (h + s) / 2;
  std::vector<TextLinePlacement> out;
  out.reserve(lines.size());
  for (const std::string& line : lines) {
    out.push_back({x, y, line, horz, 3 - vert});
    y -= s + h;
  }
  return out;
}

double PictureScale(double w, double h, double W, double H, double cellScale) {
  const double s = std::clamp(cellScale, 0.05, 1.0);
  const double ux = std::fabs(w) > 0.001 ? s * W / w : s;
  const double uy = std::fabs(h) > 0.001 ? s * H / h : s;
  double u = (ux > uy && std::fabs(h) > 0.001) ? uy : ux;
  if (u < 1e-7) u = 1.0;
  return u;
}

PicturePosition PicturePlace(double w, double h, const Rect2d& box, int horzMode, int vertMode) {
  const double W = box.right - box.left;
  const double H = box.top - box.bottom;
  const double x = horzMode == 0 ? box.left : horzMode == 1 ? box.left + W / 2 - w / 2 : box.left + W - w;
  const double y = vertMode == 0 ? box.bottom + H - h : vertMode == 1 ? box.bottom + H / 2 - h / 2 : box.bottom;
  return {x, y};
}

}  // namespace vex
