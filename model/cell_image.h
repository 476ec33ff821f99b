#pragma once
// The preview form of a cell picture: simple 2D primitives in drawing units, y up.
// A picture is held by value: copying a list copies its primitives, so a copy stays valid
// when its source is cleared or destroyed.

#include <memory>
#include <string>
#include <vector>

namespace vex {

class PictureCanvas;

struct Point2d {
  double x = 0.0;
  double y = 0.0;
  bool operator==(const Point2d&) const = default;
};

// Left, top, right, bottom with top >= bottom (y up).
struct Rect2d {
  double left = 0.0;
  double top = 0.0;
  double right = 0.0;
  double bottom = 0.0;
  bool operator==(const Rect2d&) const = default;

  // Inside, not on an edge.
  bool StrictlyInside(double x, double y) const { return left < x && x < right && bottom < y && y < top; }
  // The rectangle with each side moved inwards by d.
  Rect2d Shrunk(double d) const { return {left + d, top - d, right - d, bottom + d}; }
};

// Base of the primitives. The run-time type names are the class names.
class JImage {
 public:
  virtual ~JImage() = default;
  // The class name of the primitive ("JLine", "JCircle", ...).
  virtual const char* ClassName() const = 0;
  // The bounds computed from the primitive's fields.
  virtual Rect2d GetBounds() const = 0;
  // A deep copy of this primitive.
  virtual std::unique_ptr<JImage> Clone() const = 0;
  virtual bool Equals(const JImage& other) const = 0;
  // Draws the primitive in hundredths of a drawing unit (coordinates times 100, truncated);
  // 1 when drawn, 0 without a canvas.
  virtual int Draw(PictureCanvas* canvas) const = 0;
};

// A line segment from start to end.
class JLine final : public JImage {
 public:
  JLine(Point2d s, Point2d e) : start(s), end(e) {}
  const char* ClassName() const override { return "JLine"; }
  Rect2d GetBounds() const override;
  std::unique_ptr<JImage> Clone() const override { return std::make_unique<JLine>(*this); }
  bool Equals(const JImage& other) const override;
  int Draw(PictureCanvas* canvas) const override;
  Point2d start;
  Point2d end;
};

// A full circle; its bounds use the absolute radius.
class JCircle final : public JImage {
 public:
  JCircle(Point2d c, double r) : center(c), radius(r) {}
  const char* ClassName() const override { return "JCircle"; }
  Rect2d GetBounds() const override;
  std::unique_ptr<JImage> Clone() const override { return std::make_unique<JCircle>(*this); }
  bool Equals(const JImage& other) const override;
  int Draw(PictureCanvas* canvas) const override;
  Point2d center;
  double radius = 0.0;
};

// An open chain of straight segments through the vertices in order (a closed outline repeats
// its first vertex at the end). An empty chain has bounds 0,0,0,0.
class JPolyLine final : public JImage {
 public:
  explicit JPolyLine(std::vector<Point2d> v) : vertices(std::move(v)) {}
  const char* ClassName() const override { return "JPolyLine"; }
  Rect2d GetBounds() const override;
  std::unique_ptr<JImage> Clone() const override { return std::make_unique<JPolyLine>(*this); }
  bool Equals(const JImage& other) const override;
  int Draw(PictureCanvas* canvas) const override;
  std::vector<Point2d> vertices;
};

// A declared kind that capture never produces; it draws nothing and has zero bounds.
class JText final : public JImage {
 public:
  const char* ClassName() const override { return "JText"; }
  Rect2d GetBounds() const override { return {}; }
  std::unique_ptr<JImage> Clone() const override { return std::make_unique<JText>(*this); }
  bool Equals(const JImage& other) const override;
  int Draw(PictureCanvas* canvas) const override;
};

// An ordered list of primitives that owns them, with cached union bounds.
class CellImageList {
 public:
  CellImageList() = default;
  CellImageList(const CellImageList& other);
  CellImageList& operator=(const CellImageList& other);
  CellImageList(CellImageList&&) noexcept = default;
  CellImageList& operator=(CellImageList&&) noexcept = default;
  ~CellImageList() = default;

  void Append(std::unique_ptr<JImage> image);
  // Deletes every primitive and resets the cached bounds.
  void Clear();
  // Union of the members' bounds (0,0,0,0 for an empty list); refreshes the cache.
  Rect2d Bounds();
  // The bounds as of the last Bounds() or copy.
  Rect2d CachedBounds() const { return cached_; }
  // Draws every primitive in order; 0 without a canvas.
  int DrawAll(PictureCanvas* canvas) const;

  std::size_t size() const { return items_.size(); }
  bool empty() const { return items_.empty(); }
  const JImage& operator[](std::size_t i) const { return *items_[i]; }
  auto begin() const { return items_.begin(); }
  auto end() const { return items_.end(); }

  bool operator==(const CellImageList& other) const;

 private:
  std::vector<std::unique_ptr<JImage>> items_;
  Rect2d cached_;
};

// The picture value handed between capture, the editor and the picture commands.
struct CellImage {
  int HorzMode = 1;
  int VertMode = 1;
  double dScael = 1.0;
  CellImageList images;
  std::string sBlockName;

  // Restores the defaults and clears the list.
  void Reset() { *this = CellImage{}; }
};

}  // namespace vex
