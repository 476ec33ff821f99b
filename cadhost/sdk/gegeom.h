#pragma once
// Geometry of the host SDK: points, vectors and 4 x 4 affine matrices in the world coordinate
// system. Values: every type here copies freely and has no hidden state.

#include <cmath>

#pragma GCC visibility push(default)

// Tolerances for comparisons. Points are equal when their distance is at most equalPoint().
class AcGeTol {
 public:
  AcGeTol() = default;
  double equalPoint() const { return m_point; }
  double equalVector() const { return m_vector; }
  void setEqualPoint(double t) { m_point = t; }
  void setEqualVector(double t) { m_vector = t; }

 private:
  double m_point = 1e-10;
  double m_vector = 1e-10;
};

class AcGeMatrix3d;

class AcGeVector2d {
 public:
  AcGeVector2d() = default;
  AcGeVector2d(double xx, double yy) : x(xx), y(yy) {}
  double length() const { return std::hypot(x, y); }
  // The angle from the positive x axis, in [0, 2pi).
  double angle() const;
  AcGeVector2d operator+(const AcGeVector2d& v) const { return {x + v.x, y + v.y}; }
  AcGeVector2d operator-(const AcGeVector2d& v) const { return {x - v.x, y - v.y}; }
  AcGeVector2d operator*(double s) const { return {x * s, y * s}; }
  bool operator==(const AcGeVector2d& v) const { return x == v.x && y == v.y; }
  double x = 0.0;
  double y = 0.0;
};

class AcGePoint2d {
 public:
  AcGePoint2d() = default;
  AcGePoint2d(double xx, double yy) : x(xx), y(yy) {}
  static const AcGePoint2d kOrigin;
  double distanceTo(const AcGePoint2d& p) const { return std::hypot(x - p.x, y - p.y); }
  bool isEqualTo(const AcGePoint2d& p, const AcGeTol& tol = AcGeTol()) const {
    return distanceTo(p) <= tol.equalPoint();
  }
  AcGePoint2d operator+(const AcGeVector2d& v) const { return {x + v.x, y + v.y}; }
  AcGePoint2d operator-(const AcGeVector2d& v) const { return {x - v.x, y - v.y}; }
  AcGeVector2d operator-(const AcGePoint2d& p) const { return {x - p.x, y - p.y}; }
  bool operator==(const AcGePoint2d& p) const { return x == p.x && y == p.y; }
  double x = 0.0;
  double y = 0.0;
};

class AcGeVector3d {
 public:
  AcGeVector3d() = default;
  AcGeVector3d(double xx, double yy, double zz) : x(xx), y(yy), z(zz) {}
  static const AcGeVector3d kIdentity;  // zero vector
  static const AcGeVector3d kXAxis;
  static const AcGeVector3d kYAxis;
  static const AcGeVector3d kZAxis;

  double length() const { return std::sqrt(x * x + y * y + z * z); }
  bool isZeroLength(const AcGeTol& tol = AcGeTol()) const { return length() <= tol.equalVector(); }
  // A unit vector in the same direction; the zero vector stays zero.
  AcGeVector3d normal() const;
  AcGeVector3d& normalize() { return *this = normal(); }
  double dotProduct(const AcGeVector3d& v) const { return x * v.x + y * v.y + z * v.z; }
  AcGeVector3d crossProduct(const AcGeVector3d& v) const {
    return {y * v.z - z * v.y, z * v.x - x * v.z, x * v.y - y * v.x};
  }
  // The angle to `v` in [0, pi].
  double angleTo(const AcGeVector3d& v) const;
  // The angle from this vector to `v` measured counter-clockwise about `reference`, in
  // [0, 2pi).
  double angleTo(const AcGeVector3d& v, const AcGeVector3d& reference) const;
  bool isEqualTo(const AcGeVector3d& v, const AcGeTol& tol = AcGeTol()) const {
    return (*this - v).length() <= tol.equalVector();
  }
  // Applies the linear part of `m` (translation does not move vectors).
  AcGeVector3d& transformBy(const AcGeMatrix3d& m);

  AcGeVector3d operator+(const AcGeVector3d& v) const { return {x + v.x, y + v.y, z + v.z}; }
  AcGeVector3d operator-(const AcGeVector3d& v) const { return {x - v.x, y - v.y, z - v.z}; }
  AcGeVector3d operator-() const { return {-x, -y, -z}; }
  AcGeVector3d operator*(double s) const { return {x * s, y * s, z * s}; }
  AcGeVector3d operator/(double s) const { return {x / s, y / s, z / s}; }
  AcGeVector3d& operator+=(const AcGeVector3d& v) { return *this = *this + v; }
  AcGeVector3d& operator-=(const AcGeVector3d& v) { return *this = *this - v; }
  AcGeVector3d& operator*=(double s) { return *this = *this * s; }
  bool operator==(const AcGeVector3d& v) const { return x == v.x && y == v.y && z == v.z; }
  double x = 0.0;
  double y = 0.0;
  double z = 0.0;
};
inline AcGeVector3d operator*(double s, const AcGeVector3d& v) { return v * s; }

class AcGePoint3d {
 public:
  AcGePoint3d() = default;
  AcGePoint3d(double xx, double yy, double zz) : x(xx), y(yy), z(zz) {}
  static const AcGePoint3d kOrigin;

  double distanceTo(const AcGePoint3d& p) const { return (*this - p).length(); }
  bool isEqualTo(const AcGePoint3d& p, const AcGeTol& tol = AcGeTol()) const {
    return distanceTo(p) <= tol.equalPoint();
  }
  AcGePoint3d& transformBy(const AcGeMatrix3d& m);
  AcGeVector3d asVector() const { return {x, y, z}; }

  AcGePoint3d operator+(const AcGeVector3d& v) const { return {x + v.x, y + v.y, z + v.z}; }
  AcGePoint3d operator-(const AcGeVector3d& v) const { return {x - v.x, y - v.y, z - v.z}; }
  AcGeVector3d operator-(const AcGePoint3d& p) const { return {x - p.x, y - p.y, z - p.z}; }
  AcGePoint3d& operator+=(const AcGeVector3d& v) { return *this = *this + v; }
  AcGePoint3d& operator-=(const AcGeVector3d& v) { return *this = *this - v; }
  bool operator==(const AcGePoint3d& p) const { return x == p.x && y == p.y && z == p.z; }
  double x = 0.0;
  double y = 0.0;
  double z = 0.0;
};

// An affine transform of 3D space: entry[row][col], points are columns (p' = M p), the last
// row is (0 0 0 1). A product A * B applies B first.
class AcGeMatrix3d {
 public:
  AcGeMatrix3d();  // identity
  static const AcGeMatrix3d kIdentity;

  AcGeMatrix3d& setToIdentity();
  AcGeMatrix3d& setToTranslation(const AcGeVector3d& v);
  // Uniform scaling by `s` about `center`.
  AcGeMatrix3d& setToScaling(double s, const AcGePoint3d& center = AcGePoint3d::kOrigin);
  // Rotation by `angle` radians counter-clockwise about `axis` through `center`.
  AcGeMatrix3d& setToRotation(double angle, const AcGeVector3d& axis = AcGeVector3d::kZAxis,
                              const AcGePoint3d& center = AcGePoint3d::kOrigin);
  // The transform that maps the world axes onto the given coordinate system: the world origin
  // goes to `origin` and the world x, y, z axes to the given vectors.
  AcGeMatrix3d& setCoordSystem(const AcGePoint3d& origin, const AcGeVector3d& xAxis,
                               const AcGeVector3d& yAxis, const AcGeVector3d& zAxis);

  static AcGeMatrix3d translation(const AcGeVector3d& v);
  static AcGeMatrix3d scaling(double s, const AcGePoint3d& center = AcGePoint3d::kOrigin);
  static AcGeMatrix3d rotation(double angle, const AcGeVector3d& axis = AcGeVector3d::kZAxis,
                               const AcGePoint3d& center = AcGePoint3d::kOrigin);
  // Scaling by separate factors along the world axes about `center` (not part of the classic
  // interface; block references need it).
  static AcGeMatrix3d scaling3d(double sx, double sy, double sz,
                                const AcGePoint3d& center = AcGePoint3d::kOrigin);

  AcGeMatrix3d operator*(const AcGeMatrix3d& m) const;
  AcGeMatrix3d& operator*=(const AcGeMatrix3d& m) { return *this = *this * m; }
  // this = m * this (m applied after this).
  AcGeMatrix3d& preMultBy(const AcGeMatrix3d& m) { return *this = m * *this; }
  // this = this * m (m applied before this).
  AcGeMatrix3d& postMultBy(const AcGeMatrix3d& m) { return *this = *this * m; }

  // Determinant of the linear part.
  double det() const;
  // The inverse; a singular matrix gives the identity and `ok` false.
  AcGeMatrix3d inverse(bool* ok = nullptr) const;
  // True when the linear part is a rotation, possibly mirrored, times one positive scale.
  bool isUniScaledOrtho(const AcGeTol& tol = AcGeTol()) const;
  // The largest factor by which the transform stretches a length.
  double scale() const;
  AcGeVector3d translationVector() const { return {entry[0][3], entry[1][3], entry[2][3]}; }
  bool isEqualTo(const AcGeMatrix3d& m, const AcGeTol& tol = AcGeTol()) const;

  double entry[4][4];
};

// Scale factors along x, y and z.
class AcGeScale3d {
 public:
  AcGeScale3d() = default;
  explicit AcGeScale3d(double s) : sx(s), sy(s), sz(s) {}
  AcGeScale3d(double x, double y, double z) : sx(x), sy(y), sz(z) {}
  bool operator==(const AcGeScale3d&) const = default;
  double sx = 1.0;
  double sy = 1.0;
  double sz = 1.0;
};

// The coordinate system of an object whose geometry lies in a plane with the given normal, by
// the "arbitrary axis" rule of drawing files. Maps object coordinates to world coordinates.
AcGeMatrix3d acgeOcsToWcs(const AcGeVector3d& normal);

#pragma GCC visibility pop
