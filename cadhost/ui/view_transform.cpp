#include "cadhost/ui/view_transform.h"

namespace cadhost::ui {

void ViewTransform::Set(const Pt& center, double scale) {
  m_center = center;
  m_scale = std::clamp(scale, kMinScale, kMaxScale);
}

void ViewTransform::ZoomAbout(const Pt& screen, double factor) {
  if (!(factor > 0.0) || !std::isfinite(factor)) return;
  const Pt anchor = ToWorld(screen);
  m_scale = std::clamp(m_scale * factor, kMinScale, kMaxScale);
  // Put the anchor back under the same screen point.
  m_center = {anchor.x - (screen.x - m_width / 2.0) / m_scale,
              anchor.y + (screen.y - m_height / 2.0) / m_scale};
}

void ViewTransform::PanBy(double dx, double dy) {
  m_center = {m_center.x - dx / m_scale, m_center.y + dy / m_scale};
}

void ViewTransform::ZoomTo(const Box& box, double margin) {
  if (box.Empty()) return;
  m_center = box.Center();
  const double usable = std::max(0.05, 1.0 - 2.0 * margin);
  const double w = box.Width(), h = box.Height();
  if (w <= 0.0 && h <= 0.0) return;
  const double sx = w > 0.0 ? m_width * usable / w : kMaxScale;
  const double sy = h > 0.0 ? m_height * usable / h : kMaxScale;
  m_scale = std::clamp(std::min(sx, sy), kMinScale, kMaxScale);
}

double ViewTransform::WheelFactor(int delta) { return std::pow(1.25, delta / 120.0); }

}  // namespace cadhost::ui
