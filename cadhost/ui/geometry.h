#pragma once
// Plain 2D geometry of the view: drawing points, boxes, affine maps. No window needed.

#include <algorithm>
#include <cmath>
#include <limits>

namespace cadhost::ui {

struct Pt {
  double x = 0.0;
  double y = 0.0;
  Pt operator+(const Pt& o) const { return {x + o.x, y + o.y}; }
  Pt operator-(const Pt& o) const { return {x - o.x, y - o.y}; }
  Pt operator*(double s) const { return {x * s, y * s}; }
  bool operator==(const Pt&) const = default;
};

inline double Dot(const Pt& a, const Pt& b) { return a.x * b.x + a.y * b.y; }
inline double Cross(const Pt& a, const Pt& b) { return a.x * b.y - a.y * b.x; }
inline double Length(const Pt& v) { return std::hypot(v.x, v.y); }
inline double Distance(const Pt& a, const Pt& b) { return Length(a - b); }

// An axis-aligned box; a default one is empty and takes the first point added.
struct Box {
  double minX = std::numeric_limits<double>::infinity();
  double minY = std::numeric_limits<double>::infinity();
  double maxX = -std::numeric_limits<double>::infinity();
  double maxY = -std::numeric_limits<double>::infinity();

  static Box Of(const Pt& a, const Pt& b) {
    Box r;
    r.Add(a);
    r.Add(b);
    return r;
  }
  bool Empty() const { return !(minX <= maxX && minY <= maxY); }
  void Add(const Pt& p) {
    minX = std::min(minX, p.x);
    minY = std::min(minY, p.y);
    maxX = std::max(maxX, p.x);
    maxY = std::max(maxY, p.y);
  }
  void Add(const Box& b) {
    if (b.Empty()) return;
    Add(Pt{b.minX, b.minY});
    Add(Pt{b.maxX, b.maxY});
  }
  double Width() const { return Empty() ? 0.0 : maxX - minX; }
  double Height() const { return Empty() ? 0.0 : maxY - minY; }
  Pt Center() const { return {(minX + maxX) / 2, (minY + maxY) / 2}; }
  bool Intersects(const Box& b) const {
    return !Empty() && !b.Empty() && minX <= b.maxX && b.minX <= maxX && minY <= b.maxY &&
           b.minY <= maxY;
  }
  bool Contains(const Box& b) const {
    return !Empty() && !b.Empty() && minX <= b.minX && b.maxX <= maxX && minY <= b.minY &&
           b.maxY <= maxY;
  }
  bool Contains(const Pt& p) const {
    return p.x >= minX && p.x <= maxX && p.y >= minY && p.y <= maxY;
  }
  Box Grown(double d) const {
    if (Empty()) return *this;
    return {minX - d, minY - d, maxX + d, maxY + d};
  }
  bool operator==(const Box&) const = default;
};

// A 2D affine map: p' = (a x + c y + e, b x + d y + f), as Qt's QTransform writes it.
struct Affine {
  double a = 1, b = 0, c = 0, d = 1, e = 0, f = 0;
  Pt Map(const Pt& p) const { return {a * p.x + c * p.y + e, b * p.x + d * p.y + f}; }
  Pt MapVector(const Pt& v) const { return {a * v.x + c * v.y, b * v.x + d * v.y}; }
  // This after `first`.
  Affine After(const Affine& first) const {
    return {a * first.a + c * first.b, b * first.a + d * first.b,
            a * first.c + c * first.d, b * first.c + d * first.d,
            a * first.e + c * first.f + e, b * first.e + d * first.f + f};
  }
  bool IsIdentity() const { return a == 1 && b == 0 && c == 0 && d == 1 && e == 0 && f == 0; }
  double Det() const { return a * d - b * c; }
  // The largest factor by which lengths grow.
  double Scale() const { return std::sqrt(std::max(a * a + b * b, c * c + d * d)); }
  Box MapBox(const Box& box) const {
    Box r;
    if (box.Empty()) return r;
    for (const Pt& p : {Pt{box.minX, box.minY}, Pt{box.maxX, box.minY}, Pt{box.maxX, box.maxY},
                        Pt{box.minX, box.maxY}})
      r.Add(Map(p));
    return r;
  }
};

}  // namespace cadhost::ui
