#pragma once
// What a view draws of a drawing: for every entity of the current space, in drawing order,
// its graphics reduced to three primitive kinds (polylines, filled areas, text runs) with
// resolved colours and linetypes, its box and what object snaps see of it. A grid index over
// the boxes finds what lies in a part of the drawing without looking at the rest.

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "cadhost/sdk/dbid.h"
#include "cadhost/ui/dash_pattern.h"
#include "cadhost/ui/geometry.h"
#include "cadhost/ui/snaps.h"

namespace cadhost::ui {

// A resolved colour: the foreground (index colour 7: white on a dark screen, black on paper)
// or an RGB value (0xRRGGBB).
struct Colour {
  std::uint32_t rgb = 0xFFFFFF;
  bool foreground = true;
  static Colour Foreground() { return {0xFFFFFF, true}; }
  static Colour Rgb(std::uint32_t rgb) { return {rgb, false}; }
  bool operator==(const Colour&) const = default;
};

struct Pen {
  Colour colour;
  double weightMm = 0.25;  // the lineweight on paper
  int pattern = -1;        // index of a dash pattern of the scene; -1 continuous
  bool operator==(const Pen&) const = default;
};

struct PolylinePrim {
  std::vector<Pt> points;
  bool closed = false;
  Pen pen;
};

struct FillPrim {
  std::vector<Pt> polygon;
  Colour colour;
};

// A single line of text: its displayed characters placed by the host's text advance model.
// Text space (s along the baseline, t up, in drawing units) maps to the drawing by
// origin + u * s + v * t; u and v are unit vectors (or shorter, seen at a slant).
struct TextPrim {
  std::u32string chars;
  Pt origin;
  Pt u{1, 0};
  Pt v{0, 1};
  double height = 1.0;
  double widthFactor = 1.0;
  double lean = 0.0;     // tan of the oblique angle: the top shifts by lean * height
  double advance = 0.0;  // the whole width, height * widthFactor * ratios
  Colour colour;
  // Where character i starts along the baseline, in drawing units (size chars + 1).
  std::vector<double> Offsets() const;
  // The four corners of the text's box (baseline left, baseline right, top right, top left).
  std::vector<Pt> Corners() const;
};

struct EntityGraphics {
  AcDbObjectId id;
  Box box;
  std::vector<PolylinePrim> lines;
  std::vector<FillPrim> fills;
  std::vector<TextPrim> texts;
  SnapGeometry snaps;
  bool Empty() const { return lines.empty() && fills.empty() && texts.empty(); }
  // Sets `box` from the primitives.
  void ComputeBox();
};

// Buckets of a square grid over the drawing; entities covering too many cells are kept aside
// and always looked at.
class SpatialGrid {
 public:
  explicit SpatialGrid(double cellSize = 1.0);
  double CellSize() const { return m_cell; }
  void Insert(std::uint32_t index, const Box& box);
  void Remove(std::uint32_t index, const Box& box);
  void Clear() {
    m_cells.clear();
    m_big.clear();
  }
  // Calls visit(index) for the entries whose cells meet `box`; an index may come more than
  // once.
  template <typename Visit>
  void Query(const Box& box, Visit&& visit) const;

  static constexpr long kMaxCellsPerEntry = 256;

 private:
  struct Range {
    long x0, y0, x1, y1;
    long Count() const { return (x1 - x0 + 1) * (y1 - y0 + 1); }
  };
  Range RangeOf(const Box& box) const;
  static std::uint64_t Key(long x, long y) {
    return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(x)) << 32) |
           static_cast<std::uint32_t>(y);
  }
  double m_cell;
  std::unordered_map<std::uint64_t, std::vector<std::uint32_t>> m_cells;
  std::vector<std::uint32_t> m_big;
};

class Scene {
 public:
  // Empties the scene (its patterns stay) and sizes the grid for a drawing of extents `around`.
  void Reset(const Box& around);
  const std::vector<EntityGraphics>& Entities() const { return m_entities; }
  const EntityGraphics* Find(AcDbObjectId id) const;
  // Puts an entity's graphics in its slot (a new one at the end for a new entity); empty
  // graphics leave the slot empty.
  void Set(EntityGraphics graphics);
  void Remove(AcDbObjectId id);
  // The box of everything drawn; empty for an empty scene.
  Box Extents() const;
  // Slots of the entities whose boxes meet `box`, in drawing order.
  std::vector<std::uint32_t> Query(const Box& box) const;
  std::size_t Count() const { return m_count; }

  // Dash patterns the pens name; Reset keeps them.
  int AddPattern(DashPattern pattern);
  void ClearPatterns() { m_patterns.clear(); }
  const DashPattern& Pattern(int index) const { return m_patterns[static_cast<std::size_t>(index)]; }

 private:
  std::vector<EntityGraphics> m_entities;
  std::unordered_map<AcDbObjectId, std::uint32_t> m_slots;
  SpatialGrid m_grid;
  std::vector<DashPattern> m_patterns;
  std::size_t m_count = 0;
  mutable Box m_extents;
  mutable bool m_extentsValid = true;
  mutable std::vector<std::uint32_t> m_stamps;  // per slot: the query that saw it last
  mutable std::uint32_t m_stamp = 0;
};

template <typename Visit>
void SpatialGrid::Query(const Box& box, Visit&& visit) const {
  for (std::uint32_t i : m_big) visit(i);
  if (box.Empty() || m_cells.empty()) return;
  const Range r = RangeOf(box);
  if (r.Count() > static_cast<long>(m_cells.size())) {
    // Wider than the drawing: walk the cells there are.
    for (const auto& [key, entries] : m_cells) {
      const long x = static_cast<std::int32_t>(key >> 32), y = static_cast<std::int32_t>(key);
      if (x >= r.x0 && x <= r.x1 && y >= r.y0 && y <= r.y1)
        for (std::uint32_t i : entries) visit(i);
    }
    return;
  }
  for (long x = r.x0; x <= r.x1; ++x)
    for (long y = r.y0; y <= r.y1; ++y) {
      const auto it = m_cells.find(Key(x, y));
      if (it != m_cells.end())
        for (std::uint32_t i : it->second) visit(i);
    }
}

}  // namespace cadhost::ui
