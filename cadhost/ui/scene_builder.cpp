#include "cadhost/ui/scene_builder.h"

#include <numbers>

#include "cadhost/host/host_control.h"
#include "cadhost/sdk/acedads.h"
#include "cadhost/sdk/dbsymtb.h"
#include "cadhost/sdk/text_metrics.h"

namespace cadhost::ui {
namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;
// The chord of a drawn arc stays within this fraction of its radius of the curve.
constexpr double kArcTolerance = 1e-3;
constexpr double kDefaultWeightMm = 0.25;

Pt Flat(const AcGePoint3d& p) { return {p.x, p.y}; }

AcGePoint3d ToWorld(const AcGeMatrix3d& ocs, double x, double y, double z) {
  AcGePoint3d p(x, y, z);
  return p.transformBy(ocs);
}

double WeightMm(AcDb::LineWeight w, double byLayer, double byBlock) {
  switch (w) {
    case AcDb::kLnWtByLayer: return byLayer;
    case AcDb::kLnWtByBlock: return byBlock;
    case AcDb::kLnWtByLwDefault: return kDefaultWeightMm;
    default: return static_cast<int>(w) / 100.0;
  }
}

bool IsPlusZ(const AcGeVector3d& n) { return std::abs(n.x) < 1e-12 && std::abs(n.y) < 1e-12 && n.z > 0; }
bool IsMinusZ(const AcGeVector3d& n) { return std::abs(n.x) < 1e-12 && std::abs(n.y) < 1e-12 && n.z < 0; }

// The arc as snaps see it, for arcs in the drawing plane (either side up); nothing for arcs
// seen at a slant.
std::optional<ArcShape> FlatArc(const AcGePoint3d& center, const AcGeVector3d& normal,
                                double radius, double a0, double a1, bool full) {
  if (!IsPlusZ(normal) && !IsMinusZ(normal)) return std::nullopt;
  const AcGeMatrix3d ocs = acgeOcsToWcs(normal);
  const AcGePoint3d s = ToWorld(ocs, std::cos(a0), std::sin(a0), 0.0);
  const AcGePoint3d e = ToWorld(ocs, std::cos(a1), std::sin(a1), 0.0);
  const AcGePoint3d o = ToWorld(ocs, 0, 0, 0);
  double start = std::atan2(s.y - o.y, s.x - o.x), end = std::atan2(e.y - o.y, e.x - o.x);
  // Seen from below the arc runs clockwise: from above it goes from its end to its start.
  if (IsMinusZ(normal)) std::swap(start, end);
  ArcShape a;
  a.center = {center.x, center.y};
  a.radius = radius;
  a.start = start < 0 ? start + kTwoPi : start;
  a.end = end < 0 ? end + kTwoPi : end;
  a.full = full;
  return a;
}

}  // namespace

Colour IndexColour(int index) {
  if (index == 7 || index == 0 || index == 256) return Colour::Foreground();
  return Colour::Rgb(static_cast<std::uint32_t>(acedGetRGB(index)));
}

std::vector<Pt> ArcPoints(const AcGePoint3d& center, const AcGeVector3d& normal, double radius,
                          double a0, double a1) {
  const AcGeMatrix3d ocs = acgeOcsToWcs(normal);
  // The centre in the plane's own coordinates: points are made there and mapped out.
  AcGePoint3d c = center;
  c.transformBy(ocs.inverse());
  const double sweep = a1 - a0;
  const double step = 2.0 * std::acos(1.0 - kArcTolerance);
  const int n = std::clamp(static_cast<int>(std::ceil(std::abs(sweep) / step)), 2, 4096);
  std::vector<Pt> out;
  out.reserve(static_cast<std::size_t>(n) + 1);
  for (int i = 0; i <= n; ++i) {
    const double a = a0 + sweep * i / n;
    out.push_back(Flat(ToWorld(ocs, c.x + radius * std::cos(a), c.y + radius * std::sin(a), c.z)));
  }
  return out;
}

SceneBuilder::SceneBuilder(AcDbDatabase* db) : m_db(db) {
  AcDbLayerTable* layers = nullptr;
  if (m_db != nullptr && m_db->getLayerTable(layers, AcDb::kForRead) == Acad::eOk) {
    layers->getAt("0", m_layerZero);
    layers->close();
  }
}

SceneBuilder::Inherited SceneBuilder::TopLevel() const { return Inherited{}; }

void SceneBuilder::BuildAll(Scene& scene) {
  m_scene = &scene;
  m_layers.clear();
  m_patterns.clear();
  scene.ClearPatterns();
  std::vector<AcDbObjectId> ids;
  if (m_db != nullptr) {
    AcDbObjectPointer<AcDbBlockTableRecord> space(m_db->currentSpaceId(), AcDb::kForRead);
    if (space) ids = space->entityIds();
  }
  // Graphics first, then a grid sized for what they cover.
  std::vector<EntityGraphics> all;
  all.reserve(ids.size());
  Box extents;
  for (AcDbObjectId id : ids) {
    AcDbEntityPointer e(id, AcDb::kForRead);
    if (!e) continue;
    all.push_back(Build(*e.object()));
    extents.Add(all.back().box);
  }
  scene.Reset(extents);
  for (EntityGraphics& g : all) scene.Set(std::move(g));
}

bool SceneBuilder::Update(Scene& scene, const std::vector<AcDbObjectId>& ids) {
  m_scene = &scene;
  const AcDbObjectId space = m_db != nullptr ? m_db->currentSpaceId() : AcDbObjectId();
  for (AcDbObjectId id : ids) {
    if (id == space) continue;  // its list of entities: new ones come as ids of their own
    AcDbObject* o = nullptr;
    const Acad::ErrorStatus es = acdbOpenAcDbObject(o, id, AcDb::kForRead, true);
    if (es != Acad::eOk) {
      // Taken out by undo, or open for write right now (read again at the next refresh).
      if (es == Acad::eWasOpenForWrite) continue;
      scene.Remove(id);
      continue;
    }
    const AcDbEntity* e = AcDbEntity::cast(o);
    if (e == nullptr) {
      o->close();
      return false;  // a table, record or block definition
    }
    if (e->isErased() || e->ownerId() != space) scene.Remove(id);
    else scene.Set(Build(*e));
    o->close();
  }
  return true;
}

EntityGraphics SceneBuilder::Build(const AcDbEntity& entity) {
  EntityGraphics g;
  g.id = entity.objectId();
  AddEntity(entity, TopLevel(), 0, g);
  g.ComputeBox();
  return g;
}

AcDbObjectId SceneBuilder::EffectiveLayer(const AcDbEntity& e, const Inherited& in) const {
  // Pieces of a block on layer "0" take the layer of the reference they are drawn through.
  if (!in.layer.isNull() && e.layerId() == m_layerZero) return in.layer;
  return e.layerId();
}

const SceneBuilder::LayerInfo& SceneBuilder::Layer(AcDbObjectId id) {
  auto it = m_layers.find(id);
  if (it != m_layers.end()) return it->second;
  LayerInfo info;
  AcDbObjectPointer<AcDbLayerTableRecord> l(id, AcDb::kForRead);
  if (l) {
    info.shown = !l->isOff() && !l->isFrozen();
    const AcCmColor c = l->color();
    info.colour = c.hasRGB() ? Colour::Rgb(c.rgb()) : IndexColour(c.colorIndex());
    info.linetype = l->linetypeObjectId();
    info.weightMm = WeightMm(l->lineWeight(), kDefaultWeightMm, kDefaultWeightMm);
  }
  return m_layers.emplace(id, info).first->second;
}

Colour SceneBuilder::ColourOf(const AcDbEntity& e, const Inherited& in) {
  const AcCmColor c = e.color();
  if (c.hasRGB()) return Colour::Rgb(c.rgb());
  if (c.isByBlock()) return in.colour;
  if (c.isByLayer()) return Layer(EffectiveLayer(e, in)).colour;
  return IndexColour(c.colorIndex());
}

int SceneBuilder::PatternOf(AcDbObjectId linetype, double scale) {
  if (linetype.isNull() || m_scene == nullptr) return -1;
  const auto key = std::make_pair(linetype, scale);
  if (const auto it = m_patterns.find(key); it != m_patterns.end()) return it->second;
  int index = -1;
  AcDbObjectPointer<AcDbLinetypeTableRecord> lt(linetype, AcDb::kForRead);
  if (lt && lt->numDashes() > 0) {
    DashPattern p;
    for (int i = 0; i < lt->numDashes(); ++i) p.elements.push_back(lt->dashLengthAt(i) * scale);
    if (!p.Continuous()) index = m_scene->AddPattern(std::move(p));
  }
  m_patterns.emplace(key, index);
  return index;
}

Pen SceneBuilder::PenOf(const AcDbEntity& e, const Inherited& in) {
  const LayerInfo& layer = Layer(EffectiveLayer(e, in));
  Pen pen;
  pen.colour = ColourOf(e, in);
  pen.weightMm = WeightMm(e.lineWeight(), layer.weightMm, in.weightMm);
  AcDbObjectId linetype = e.linetypeId();
  if (m_db != nullptr) {
    if (linetype.isNull() || linetype == m_db->byLayerLinetype()) linetype = layer.linetype;
    else if (linetype == m_db->byBlockLinetype()) linetype = in.linetype;
  }
  const double scale = (m_db != nullptr ? m_db->ltscale() : 1.0) * e.linetypeScale();
  pen.pattern = PatternOf(linetype, scale);
  return pen;
}

void SceneBuilder::AddEntity(const AcDbEntity& e, const Inherited& in, int depth,
                             EntityGraphics& out) {
  if (!Layer(EffectiveLayer(e, in)).shown) return;
  // One place per kind: a new kind of entity gets its line here and a function of its own.
  if (const auto* line = AcDbLine::cast(&e)) {
    AddLine(*line, PenOf(e, in), out);
  } else if (const auto* circle = AcDbCircle::cast(&e)) {
    AddCircle(*circle, PenOf(e, in), out);
  } else if (const auto* arc = AcDbArc::cast(&e)) {
    AddArc(*arc, PenOf(e, in), out);
  } else if (const auto* pl = AcDbPolyline::cast(&e)) {
    AddPolyline(*pl, PenOf(e, in), out);
  } else if (const auto* text = AcDbText::cast(&e)) {
    AddText(*text, ColourOf(e, in), out);
  } else if (const auto* mtext = AcDbMText::cast(&e)) {
    // Shown as the single-line texts it explodes into, so it looks as it will when exploded.
    std::vector<std::unique_ptr<AcDbEntity>> pieces;
    if (mtext->explode(pieces) == Acad::eOk)
      for (const auto& piece : pieces)
        if (const auto* line = AcDbText::cast(piece.get())) AddText(*line, ColourOf(e, in), out);
  } else if (const auto* ref = AcDbBlockReference::cast(&e)) {
    const Pen pen = PenOf(e, in);
    Inherited inner;
    inner.colour = pen.colour;
    inner.layer = EffectiveLayer(e, in);
    inner.weightMm = pen.weightMm;
    inner.linetype = e.linetypeId();
    if (m_db != nullptr && inner.linetype == m_db->byLayerLinetype())
      inner.linetype = Layer(inner.layer).linetype;
    else if (m_db != nullptr && inner.linetype == m_db->byBlockLinetype())
      inner.linetype = in.linetype;
    if (depth >= kMaxDepth) AddBox(e, pen, out);
    else AddBlockReference(*ref, inner, depth, out);
  }
  // Anything else is kept by the host without being modelled: nothing to draw.
}

void SceneBuilder::AddLine(const AcDbLine& e, const Pen& pen, EntityGraphics& out) {
  const Pt a = Flat(e.startPoint()), b = Flat(e.endPoint());
  out.lines.push_back({{a, b}, false, pen});
  out.snaps.segments.emplace_back(a, b);
}

void SceneBuilder::AddCircle(const AcDbCircle& e, const Pen& pen, EntityGraphics& out) {
  std::vector<Pt> pts = ArcPoints(e.center(), e.normal(), e.radius(), 0.0, kTwoPi);
  pts.pop_back();  // the closing point: the polyline is closed
  out.lines.push_back({std::move(pts), true, pen});
  if (auto a = FlatArc(e.center(), e.normal(), e.radius(), 0.0, kTwoPi, true))
    out.snaps.arcs.push_back(*a);
}

void SceneBuilder::AddArc(const AcDbArc& e, const Pen& pen, EntityGraphics& out) {
  double end = e.endAngle();
  if (end <= e.startAngle()) end += kTwoPi;
  out.lines.push_back({ArcPoints(e.center(), e.normal(), e.radius(), e.startAngle(), end), false, pen});
  if (auto a = FlatArc(e.center(), e.normal(), e.radius(), e.startAngle(), end, false))
    out.snaps.arcs.push_back(*a);
}

void SceneBuilder::AddPolyline(const AcDbPolyline& e, const Pen& pen, EntityGraphics& out) {
  const unsigned n = e.numVerts();
  if (n == 0) return;
  const AcGeMatrix3d ocs = acgeOcsToWcs(e.normal());
  const unsigned segments = e.isClosed() ? n : n - 1;
  auto vertex = [&](unsigned i) {
    AcGePoint2d p;
    e.getPointAt(i % n, p);
    return p;
  };
  auto world = [&](double x, double y) { return Flat(ToWorld(ocs, x, y, e.elevation())); };
  std::vector<Pt> path = {world(vertex(0).x, vertex(0).y)};
  for (unsigned i = 0; i < segments; ++i) {
    const AcGePoint2d a = vertex(i), b = vertex(i + 1);
    double bulge = 0.0, w0 = 0.0, w1 = 0.0;
    e.getBulgeAt(i, bulge);
    e.getWidthsAt(i, w0, w1);
    // The segment's centre line in the polyline's plane, as points from a to b.
    std::vector<AcGePoint2d> centre;
    const double chord = a.distanceTo(b);
    if (std::abs(bulge) < 1e-12 || chord <= 0.0) {
      centre = {a, b};
      out.snaps.segments.emplace_back(world(a.x, a.y), world(b.x, b.y));
    } else {
      const double theta = 4.0 * std::atan(bulge);
      const double radius = chord / (2.0 * std::sin(std::abs(theta) / 2.0));
      const AcGePoint2d mid((a.x + b.x) / 2, (a.y + b.y) / 2);
      const double h = radius * std::cos(theta / 2.0);
      const AcGeVector2d dir((b.x - a.x) / chord, (b.y - a.y) / chord);
      const AcGeVector2d left(-dir.y, dir.x);
      const AcGePoint2d c = mid + left * (h * (bulge > 0 ? 1.0 : -1.0));
      const double start = std::atan2(a.y - c.y, a.x - c.x);
      const double step = 2.0 * std::acos(1.0 - kArcTolerance);
      const int k = std::clamp(static_cast<int>(std::ceil(std::abs(theta) / step)), 1, 4096);
      for (int j = 0; j <= k; ++j) {
        const double ang = start + theta * j / k;
        centre.emplace_back(c.x + radius * std::cos(ang), c.y + radius * std::sin(ang));
      }
      const double end = start + theta;
      const AcGePoint3d cw = ToWorld(ocs, c.x, c.y, e.elevation());
      if (auto arc = FlatArc(cw, e.normal(), radius, std::min(start, end), std::max(start, end), false))
        out.snaps.arcs.push_back(*arc);
    }
    for (std::size_t j = 1; j < centre.size(); ++j) path.push_back(world(centre[j].x, centre[j].y));
    if (w0 <= 0.0 && w1 <= 0.0) continue;
    // A wide segment is an area: the centre line offset by half the width either side, the
    // width running from w0 to w1 along it.
    std::vector<Pt> leftSide, rightSide;
    double total = 0.0;
    for (std::size_t j = 1; j < centre.size(); ++j) total += centre[j - 1].distanceTo(centre[j]);
    double along = 0.0;
    for (std::size_t j = 0; j < centre.size(); ++j) {
      if (j > 0) along += centre[j - 1].distanceTo(centre[j]);
      const std::size_t p0 = j == 0 ? 0 : j - 1, p1 = j == 0 ? 1 : j;
      AcGeVector2d d(centre[p1].x - centre[p0].x, centre[p1].y - centre[p0].y);
      const double len = std::hypot(d.x, d.y);
      if (len <= 0.0) continue;
      const AcGeVector2d nrm(-d.y / len, d.x / len);
      const double half = (w0 + (w1 - w0) * (total > 0.0 ? along / total : 0.0)) / 2.0;
      leftSide.push_back(world(centre[j].x + nrm.x * half, centre[j].y + nrm.y * half));
      rightSide.push_back(world(centre[j].x - nrm.x * half, centre[j].y - nrm.y * half));
    }
    FillPrim fill;
    fill.colour = pen.colour;
    fill.polygon = leftSide;
    fill.polygon.insert(fill.polygon.end(), rightSide.rbegin(), rightSide.rend());
    out.fills.push_back(std::move(fill));
  }
  if (e.isClosed() && path.size() > 1) path.pop_back();  // drawn closed
  out.lines.push_back({std::move(path), e.isClosed(), pen});
}

void SceneBuilder::AddText(const AcDbText& e, const Colour& colour, EntityGraphics& out) {
  TextPrim t;
  t.chars = DisplayCharacters(e.textString());
  if (t.chars.empty()) return;
  // The text's frame as the host's text model places it: baseline direction and up.
  const AcGeMatrix3d ocs = acgeOcsToWcs(e.normal());
  const AcGeVector3d ax(ocs.entry[0][0], ocs.entry[1][0], ocs.entry[2][0]);
  const AcGeVector3d ay(ocs.entry[0][1], ocs.entry[1][1], ocs.entry[2][1]);
  const double c = std::cos(e.rotation()), s = std::sin(e.rotation());
  AcGeVector3d dir = ax * c + ay * s, up = ay * c - ax * s;
  if (e.isMirroredInX()) dir = -dir;
  if (e.isMirroredInY()) up = -up;
  t.origin = Flat(e.position());
  t.u = {dir.x, dir.y};
  t.v = {up.x, up.y};
  t.height = e.height();
  t.widthFactor = e.widthFactor();
  t.lean = std::tan(e.oblique());
  t.advance = TextAdvance(e.textString(), e.height(), e.widthFactor());
  t.colour = colour;
  out.texts.push_back(std::move(t));
}

void SceneBuilder::AddBlockReference(const AcDbBlockReference& e, const Inherited& inner,
                                     int depth, EntityGraphics& out) {
  std::vector<std::unique_ptr<AcDbEntity>> pieces;
  if (e.explode(pieces) == Acad::eOk) {
    for (const auto& piece : pieces) AddEntity(*piece, inner, depth + 1, out);
  } else {
    // Scaled unevenly where its pieces cannot follow: the block's box stands for it.
    Pen pen;
    pen.colour = inner.colour;
    AddBox(e, pen, out);
  }
  for (const auto& attribute : AttributesOf(e)) AddEntity(*attribute, inner, depth + 1, out);
}

void SceneBuilder::AddBox(const AcDbEntity& e, const Pen& pen, EntityGraphics& out) {
  AcDbExtents ext;
  if (e.getGeomExtents(ext) != Acad::eOk) return;
  const Pt lo = Flat(ext.minPoint()), hi = Flat(ext.maxPoint());
  out.lines.push_back({{lo, {hi.x, lo.y}, hi, {lo.x, hi.y}}, true, pen});
}

}  // namespace cadhost::ui
