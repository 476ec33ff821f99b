#include "model/cell_image.h"

#include <algorithm>
#include <cmath>

namespace vex {

Rect2d JLine::GetBounds() const {
  return {std::min(start.x, end.x), std::max(start.y, end.y), std::max(start.x, end.x),
          std::min(start.y, end.y)};
}

bool JLine::Equals(const JImage& other) const {
  const auto* o = dynamic_cast<const JLine*>(&other);
  return o && o->start == start && o->end == end;
}

Rect2d JCircle::GetBounds() const {
  const double a = std::fabs(radius);
  return {center.x - a, center.y + a, center.x + a, center.y - a};
}

bool JCircle::Equals(const JImage& other) const {
  const auto* o = dynamic_cast<const JCircle*>(&other);
  return o && o->center == center && o->radius == radius;
}

Rect2d JPolyLine::GetBounds() const {
  if (vertices.empty()) return {};
  Rect2d b{vertices[0].x, vertices[0].y, vertices[0].x, vertices[0].y};
  for (const Point2d& p : vertices) {
    b.left = std::min(b.left, p.x);
    b.right = std::max(b.right, p.x);
    b.top = std::max(b.top, p.y);
    b.bottom = std::min(b.bottom, p.y);
  }
  return b;
}
bool JPolyLine::Equals(const JImage& other) const {
  const auto* o = dynamic_cast<const JPolyLine*>(&other);
  return o && o->vertices == vertices;
}

bool JText::Equals(const JImage& other) const {
  return dynamic_cast<const JText*>(&other) != nullptr;
}

CellImageList::CellImageList(const CellImageList& other) : cached_(other.cached_) {
  items_.reserve(other.items_.size());
  for (const auto& item : other.items_) items_.push_back(item->Clone());
}

CellImageList& CellImageList::operator=(const CellImageList& other) {
  if (this != &other) {
    CellImageList copy(other);
    *this = std::move(copy);
  }
  return *this;
}

void CellImageList::Append(std::unique_ptr<JImage> image) {
  if (image) items_.push_back(std::move(image));
}

void CellImageList::Clear() {
  items_.clear();
  cached_ = {};
}

Rect2d CellImageList::Bounds() {
  if (items_.empty()) {
    cached_ = {};
    return cached_;
  }
  Rect2d b = items_.front()->GetBounds();
  for (const auto& item : items_) {
    const Rect2d i = item->GetBounds();
    b.left = std::min(b.left, i.left);
    b.top = std::max(b.top, i.top);
    b.right = std::max(b.right, i.right);
    b.bottom = std::min(b.bottom, i.bottom);
  }
  cached_ = b;
  return b;
}

bool CellImageList::operator==(const CellImageList& other) const {
  return std::equal(items_.begin(), items_.end(), other.items_.begin(), other.items_.end(),
                    [](const auto& a, const auto& b) { return a->Equals(*b); });
}

}  // namespace vex
