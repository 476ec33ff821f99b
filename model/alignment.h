#pragma once
// Cell alignment as the text-drawing flag word that grid cells carry:
// horizontal left/centre/right = 0/1/2 plus vertical top/middle/bottom = 0/4/8.

namespace vex {

struct Alignment {
  int HorzMode = 1;  // 0 left, 1 centre, 2 right
  int VertMode = 1;  // 0 top, 1 middle, 2 bottom
  bool operator==(const Alignment&) const = default;
};

// HorzMode + 4 x VertMode.
constexpr int AlignmentToFlags(int horzMode, int vertMode) { return horzMode + 4 * vertMode; }

// The alignment of a flag word. Only 0, 1, 2, 4, 6, 8, 9 and 10 name a corner or an edge;
// every other value, 5 (centre/middle) included, reads as centre/middle.
constexpr Alignment AlignmentFromFlags(int flags) {
  switch (flags) {
    case 0: return {0, 0};
    case 1: return {1, 0};
    case 2: return {2, 0};
    case 4: return {0, 1};
    case 6: return {2, 1};
    case 8: return {0, 2};
    case 9: return {1, 2};
    case 10: return {2, 2};
    default: return {1, 1};
  }
}

// The flag word with one direction's mode replaced (0, 1 or 2) and the other's kept, as the
// alignment buttons set it.
constexpr int WithAlignmentMode(int flags, bool horizontal, int mode) {
  Alignment a = AlignmentFromFlags(flags);
  (horizontal ? a.HorzMode : a.VertMode) = mode;
  return AlignmentToFlags(a.HorzMode, a.VertMode);
}

}  // namespace vex
