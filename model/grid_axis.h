#pragma once
// The sizes of a grid's rows (or columns) in pixels, with prefix sums so that the row under a
// pixel is found by binary search: a 316-row grid at zoom 0.1 shows hundreds of rows, and a
// repaint must not walk the whole axis.

#include <cstdint>
#include <vector>

namespace vex {

class GridAxis {
 public:
  int Count() const { return static_cast<int>(sizes_.size()); }

  // Size of entry i in pixels; 0 hides the entry; -1 outside the axis.
  int Size(int i) const;
  // Sets the size of entry i (negative sizes count as 0); false outside the axis.
  bool SetSize(int i, int size);
  bool IsHidden(int i) const { return Size(i) == 0; }

  // Resizes the axis; new entries take `size`.
  void Resize(int count, int size);
  // Inserts `n` entries of `size` before entry i (i == Count() appends).
  void Insert(int i, int n, int size);
  // Removes entry i.
  void Erase(int i);

  // Distance from the start of the axis to the start of entry i (i == Count() gives Total()).
  std::int64_t Offset(int i) const;
  // The sum of entries first..last inclusive (0 when last < first).
  std::int64_t Span(int first, int last) const;
  std::int64_t Total() const { return Offset(Count()); }
  // The entry that holds pixel `pos` (hidden entries hold none); -1 before the start, Count()
  // at or past the end.
  int IndexAt(std::int64_t pos) const;

 private:
  void Touch(int from) const;
  void Refresh() const;

  std::vector<int> sizes_;
  // prefix_[i] = sum of sizes_[0..i-1], valid for indices below validUpTo_.
  mutable std::vector<std::int64_t> prefix_{0};
  mutable int validUpTo_ = 0;
};

}  // namespace vex
