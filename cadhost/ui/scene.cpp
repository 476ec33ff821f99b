#include "cadhost/ui/scene.h"

#include "cadhost/sdk/text_metrics.h"

namespace cadhost::ui {
namespace {

// Grid cells per side of the drawing's extents: a table of 316 x 316 cells gets a cell or two
// per grid cell.
constexpr double kCellsAcross = 512.0;

}  // namespace

std::vector<double> TextPrim::Offsets() const {
  std::vector<double> out;
  out.reserve(chars.size() + 1);
  double at = 0.0;
  out.push_back(at);
  for (char32_t c : chars) {
    at += CharAdvanceRatio(c) * height * widthFactor;
    out.push_back(at);
  }
  return out;
}

std::vector<Pt> TextPrim::Corners() const {
  const Pt lean_ = u * (lean * height);
  return {origin, origin + u * advance, origin + u * advance + v * height + lean_,
          origin + v * height + lean_};
}

void EntityGraphics::ComputeBox() {
  box = Box();
  for (const auto& l : lines)
    for (const Pt& p : l.points) box.Add(p);
  for (const auto& f : fills)
    for (const Pt& p : f.polygon) box.Add(p);
  for (const auto& t : texts)
    for (const Pt& p : t.Corners()) box.Add(p);
}

SpatialGrid::SpatialGrid(double cellSize) : m_cell(cellSize > 0.0 ? cellSize : 1.0) {}

SpatialGrid::Range SpatialGrid::RangeOf(const Box& b) const {
  auto cell = [&](double v) {
    const double c = std::floor(v / m_cell);
    return static_cast<long>(std::clamp(c, -2.0e9, 2.0e9));
  };
  return {cell(b.minX), cell(b.minY), cell(b.maxX), cell(b.maxY)};
}

void SpatialGrid::Insert(std::uint32_t index, const Box& box) {
  if (box.Empty()) return;
  const Range r = RangeOf(box);
  if (r.Count() > kMaxCellsPerEntry || r.Count() <= 0) {
    m_big.push_back(index);
    return;
  }
  for (long x = r.x0; x <= r.x1; ++x)
    for (long y = r.y0; y <= r.y1; ++y) m_cells[Key(x, y)].push_back(index);
}

void SpatialGrid::Remove(std::uint32_t index, const Box& box) {
  if (box.Empty()) return;
  const Range r = RangeOf(box);
  if (r.Count() > kMaxCellsPerEntry || r.Count() <= 0) {
    std::erase(m_big, index);
    return;
  }
  for (long x = r.x0; x <= r.x1; ++x)
    for (long y = r.y0; y <= r.y1; ++y) {
      const auto it = m_cells.find(Key(x, y));
      if (it == m_cells.end()) continue;
      std::erase(it->second, index);
      if (it->second.empty()) m_cells.erase(it);
    }
}

void Scene::Reset(const Box& around) {
  m_entities.clear();
  m_slots.clear();
  m_count = 0;
  m_stamps.clear();
  m_stamp = 0;
  const double span = around.Empty() ? 1000.0 : std::max(around.Width(), around.Height());
  m_grid = SpatialGrid(std::max(span / kCellsAcross, 1e-6));
  m_extents = Box();
  m_extentsValid = true;
}

const EntityGraphics* Scene::Find(AcDbObjectId id) const {
  const auto it = m_slots.find(id);
  if (it == m_slots.end()) return nullptr;
  const EntityGraphics& g = m_entities[it->second];
  return g.Empty() ? nullptr : &g;
}

void Scene::Set(EntityGraphics graphics) {
  auto [it, added] = m_slots.emplace(graphics.id, static_cast<std::uint32_t>(m_entities.size()));
  if (added) m_entities.emplace_back();
  EntityGraphics& slot = m_entities[it->second];
  if (!slot.Empty()) {
    m_grid.Remove(it->second, slot.box);
    --m_count;
    m_extentsValid = false;
  }
  slot = std::move(graphics);
  if (!slot.Empty()) {
    m_grid.Insert(it->second, slot.box);
    ++m_count;
    if (m_extentsValid) m_extents.Add(slot.box);
  }
}

void Scene::Remove(AcDbObjectId id) {
  EntityGraphics empty;
  empty.id = id;
  if (m_slots.count(id) != 0) Set(std::move(empty));
}

Box Scene::Extents() const {
  if (!m_extentsValid) {
    m_extents = Box();
    for (const EntityGraphics& g : m_entities)
      if (!g.Empty()) m_extents.Add(g.box);
    m_extentsValid = true;
  }
  return m_extents;
}

std::vector<std::uint32_t> Scene::Query(const Box& box) const {
  std::vector<std::uint32_t> out;
  if (m_stamps.size() < m_entities.size()) m_stamps.resize(m_entities.size(), 0);
  if (++m_stamp == 0) {
    std::fill(m_stamps.begin(), m_stamps.end(), 0);
    m_stamp = 1;
  }
  if (box.Contains(Extents())) {
    // Everything shows: no need to ask the grid.
    for (std::uint32_t i = 0; i < m_entities.size(); ++i)
      if (!m_entities[i].Empty()) out.push_back(i);
    return out;
  }
  std::size_t seen = 0;
  m_grid.Query(box, [&](std::uint32_t i) {
    if (m_stamps[i] == m_stamp) return;
    m_stamps[i] = m_stamp;
    if (!m_entities[i].Empty() && m_entities[i].box.Intersects(box)) ++seen;
  });
  // Walk the stamps in slot order: drawing order without sorting.
  out.reserve(seen);
  if (seen * 8 < m_entities.size()) {
    m_grid.Query(box, [&](std::uint32_t i) {
      if (m_stamps[i] == m_stamp && !m_entities[i].Empty() && m_entities[i].box.Intersects(box)) {
        out.push_back(i);
        m_stamps[i] = m_stamp - 1;  // once
      }
    });
    std::sort(out.begin(), out.end());
    return out;
  }
  for (std::uint32_t i = 0; i < m_entities.size(); ++i)
    if (m_stamps[i] == m_stamp && !m_entities[i].Empty() && m_entities[i].box.Intersects(box))
      out.push_back(i);
  return out;
}

int Scene::AddPattern(DashPattern pattern) {
  m_patterns.push_back(std::move(pattern));
  return static_cast<int>(m_patterns.size()) - 1;
}

}  // namespace cadhost::ui
