#include "model/grid_axis.h"

#include <algorithm>

namespace vex {

int GridAxis::Size(int i) const {
  if (i < 0 || i >= Count()) return -1;
  return sizes_[static_cast<std::size_t>(i)];
}

bool GridAxis::SetSize(int i, int size) {
  if (i < 0 || i >= Count()) return false;
  sizes_[static_cast<std::size_t>(i)] = std::max(size, 0);
  Touch(i);
  return true;
}

void GridAxis::Resize(int count, int size) {
  const int old = Count();
  sizes_.resize(static_cast<std::size_t>(std::max(count, 0)), std::max(size, 0));
  Touch(std::min(old, Count()));
}

void GridAxis::Insert(int i, int n, int size) {
  i = std::clamp(i, 0, Count());
  sizes_.insert(sizes_.begin() + i, static_cast<std::size_t>(std::max(n, 0)), std::max(size, 0));
  Touch(i);
}

void GridAxis::Erase(int i) {
  if (i < 0 || i >= Count()) return;
  sizes_.erase(sizes_.begin() + i);
  Touch(i);
}

void GridAxis::Touch(int from) const { validUpTo_ = std::min(validUpTo_, std::max(from, 0)); }

// Sums are rebuilt from the first changed entry on the next query, so that setting every
// height in a loop costs one pass, not one per call.
void GridAxis::Refresh() const {
  const std::size_t n = sizes_.size();
  if (validUpTo_ >= static_cast<int>(n) && prefix_.size() == n + 1) return;
  prefix_.resize(n + 1);
  prefix_[0] = 0;
  for (std::size_t i = static_cast<std::size_t>(validUpTo_); i < n; ++i) prefix_[i + 1] = prefix_[i] + sizes_[i];
  validUpTo_ = static_cast<int>(n);
}

std::int64_t GridAxis::Offset(int i) const {
  Refresh();
  return prefix_[static_cast<std::size_t>(std::clamp(i, 0, Count()))];
}

std::int64_t GridAxis::Span(int first, int last) const {
  if (last < first) return 0;
  return Offset(last + 1) - Offset(first);
}

int GridAxis::IndexAt(std::int64_t pos) const {
  if (pos < 0) return -1;
  Refresh();
  // The first entry whose end lies beyond pos; zero-size entries end where they start and are
  // therefore never found.
  const auto it = std::upper_bound(prefix_.begin() + 1, prefix_.end(), pos);
  return static_cast<int>(it - (prefix_.begin() + 1));
}

}  // namespace vex
