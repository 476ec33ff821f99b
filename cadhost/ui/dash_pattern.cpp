#include "cadhost/ui/dash_pattern.h"

namespace cadhost::ui {

double DashPattern::Length() const {
  double sum = 0.0;
  for (double e : elements) sum += std::abs(e);
  return sum;
}

bool DashPattern::Continuous() const {
  if (elements.empty() || !(Length() > 0.0)) return true;
  for (double e : elements)
    if (e < 0.0) return false;
  return true;  // no gaps: nothing to leave out
}

std::vector<std::vector<Pt>> DashPath(const std::vector<Pt>& path, bool closed,
                                      const DashPattern& pattern, std::size_t maxPieces) {
  std::vector<Pt> points = path;
  if (closed && points.size() > 1) points.push_back(points.front());
  std::vector<std::vector<Pt>> out;
  if (points.size() < 2) return out;
  double total = 0.0;
  for (std::size_t i = 1; i < points.size(); ++i) total += Distance(points[i - 1], points[i]);
  const double cycle = pattern.Length();
  if (pattern.Continuous() || total / cycle * pattern.elements.size() > double(maxPieces)) {
    out.push_back(points);
    return out;
  }
  std::size_t element = 0;
  double left = std::abs(pattern.elements[0]);  // of the current element
  bool open = false;  // a dash is being drawn into out.back()
  auto drawing = [&] { return pattern.elements[element] > 0.0; };
  for (std::size_t i = 1; i < points.size(); ++i) {
    const Pt a = points[i - 1], b = points[i];
    const double len = Distance(a, b);
    double at = 0.0;
    if (len <= 0.0) continue;
    const Pt dir = (b - a) * (1.0 / len);
    while (at < len) {
      const double e = pattern.elements[element];
      if (e == 0.0) {
        out.push_back({a + dir * at, a + dir * at});
      } else if (e > 0.0) {
        if (!open) {
          out.push_back({a + dir * at});
          open = true;
        }
      }
      const double step = std::min(left, len - at);
      at += step;
      left -= step;
      if (drawing() && open) out.back().push_back(a + dir * at);
      if (left <= 1e-12) {
        open = false;
        element = (element + 1) % pattern.elements.size();
        left = std::abs(pattern.elements[element]);
      }
    }
  }
  std::erase_if(out, [](const std::vector<Pt>& piece) { return piece.size() < 2; });
  return out;
}

}  // namespace cadhost::ui
