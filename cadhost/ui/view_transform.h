#pragma once
// How the drawing lies in a view: its scale in pixels per drawing unit and the drawing point
// at the view's centre. Drawing y runs up, screen y down. Zooming about a point keeps that
// point under the cursor; zooming to a box fits it with a margin.

#include "cadhost/ui/geometry.h"

namespace cadhost::ui {

class ViewTransform {
 public:
  // Scales outside this range are clamped: beyond them doubles lose the drawing's detail.
  static constexpr double kMinScale = 1e-7;
  static constexpr double kMaxScale = 1e7;

  void SetViewport(int width, int height) {
    m_width = std::max(1, width);
    m_height = std::max(1, height);
  }
  int Width() const { return m_width; }
  int Height() const { return m_height; }
  double Scale() const { return m_scale; }
  Pt Center() const { return m_center; }
  void Set(const Pt& center, double scale);

  Pt ToScreen(const Pt& world) const {
    return {m_width / 2.0 + (world.x - m_center.x) * m_scale,
            m_height / 2.0 - (world.y - m_center.y) * m_scale};
  }
  Pt ToWorld(const Pt& screen) const {
    return {m_center.x + (screen.x - m_width / 2.0) / m_scale,
            m_center.y - (screen.y - m_height / 2.0) / m_scale};
  }
  // World to screen as an affine map.
  Affine WorldToScreen() const {
    return {m_scale, 0, 0, -m_scale, m_width / 2.0 - m_center.x * m_scale,
            m_height / 2.0 + m_center.y * m_scale};
  }
  // The drawing area the view shows.
  Box Visible() const { return Box::Of(ToWorld({0, 0}), ToWorld({double(m_width), double(m_height)})); }

  // Scales by `factor` (above 1 zooms in) keeping the drawing point at `screen` where it is.
  void ZoomAbout(const Pt& screen, double factor);
  // Moves the drawing by a screen displacement (the drawing follows the cursor).
  void PanBy(double dx, double dy);
  // Fits `box` into the view with `margin` (a fraction of the view) on each side; an empty box
  // changes nothing, a box of no size keeps the scale and centres on it.
  void ZoomTo(const Box& box, double margin = 0.05);
  // The zoom factor of a wheel turn of `delta` eighths of a degree (120 a notch).
  static double WheelFactor(int delta);

 private:
  int m_width = 1;
  int m_height = 1;
  double m_scale = 1.0;
  Pt m_center;
};

}  // namespace cadhost::ui
