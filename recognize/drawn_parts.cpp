#include "recognize/drawn_parts.h"

#include <algorithm>
#include <cmath>
#include <string_view>

#include "platform/message_sink.h"

namespace vex {
namespace {

// References nested deeper than this are a damaged drawing (or one that refers to itself).
constexpr int kMaxNesting = 32;

// A single-line text of the selection itself, centred as the drawing's own texts are measured:
// its position plus half the size of its extents.
TextItem SelectedText(const AcDbText& text, const DrawnEntity& d) {
  TextItem item;
  if (d.hasExtents) {
    item.extentsMin = d.extents.minPoint();
    item.extentsMax = d.extents.maxPoint();
  } else {
    item.extentsMin = item.extentsMax = text.position();
  }
  const AcGePoint3d p = text.position();
  item.centre = AcGePoint3d(p.x + (item.extentsMax.x - item.extentsMin.x) / 2,
                            p.y + (item.extentsMax.y - item.extentsMin.y) / 2, p.z);
  item.horizontalMode = text.horizontalMode();
  item.verticalMode = text.verticalMode();
  item.text = text.textString();
  item.height = text.height();
  return item;
}

// A map that keeps the drawing plane and scales it alike in x and y (a reference scaled 2, 2, 1)
// as the map that scales z alike too: a text in the plane cannot tell them apart, and texts
// follow only maps that scale alike in every direction.
AcGeMatrix3d PlanarUniform(const AcGeMatrix3d& m) {
  const double(&e)[4][4] = m.entry;
  if (e[0][2] != 0.0 || e[1][2] != 0.0 || e[2][0] != 0.0 || e[2][1] != 0.0 || e[2][2] == 0.0) return m;
  AcGeMatrix3d out = m;
  const double s = std::sqrt(std::fabs(e[0][0] * e[1][1] - e[0][1] * e[1][0]));
  out.entry[2][2] = e[2][2] > 0.0 ? s : -s;
  return out;
}

// Clips the segment a-b to the box (x and y only); false when nothing of it lies inside.
bool ClipToBox(AcGePoint3d& a, AcGePoint3d& b, const AcDbExtents& box) {
  double t0 = 0.0, t1 = 1.0;
  const AcGeVector3d d = b - a;
  const double p[4] = {-d.x, d.x, -d.y, d.y};
  const double q[4] = {a.x - box.minPoint().x, box.maxPoint().x - a.x, a.y - box.minPoint().y,
                       box.maxPoint().y - a.y};
  for (int k = 0; k < 4; ++k) {
    if (p[k] == 0.0) {
      if (q[k] < 0.0) return false;
      continue;
    }
    const double r = q[k] / p[k];
    if (p[k] < 0.0) t0 = std::max(t0, r);
    else t1 = std::min(t1, r);
    if (t0 > t1) return false;
  }
  const AcGePoint3d start = a;
  a = start + d * t0;
  b = start + d * t1;
  return true;
}

// Takes entities apart into the parts of one selected entity.
class Taker {
 public:
  Taker(DrawnSelection& out, int entity) : out_(out), entity_(entity) {}

  // `e` with its coordinates mapped to the world by m.
  void Inside(const AcDbEntity& e, const AcGeMatrix3d& m, int depth) {
    if (!Room()) return;
    ++out_.visited;
    if (const auto* line = AcDbLine::cast(&e)) {
      Straight(AcGePoint3d(line->startPoint()).transformBy(m), AcGePoint3d(line->endPoint()).transformBy(m));
    } else if (const auto* pl = AcDbPolyline::cast(&e)) {
      Polyline(*pl, m, nullptr);
    } else if (const auto* text = AcDbText::cast(&e)) {
      Text(*text, m);
    } else if (const auto* ref = AcDbBlockReference::cast(&e)) {
      Reference(*ref, m, depth);
    } else if (AcDbCurve::cast(&e) != nullptr) {
      Entity().drawsOther = true;
    } else {
      std::vector<std::unique_ptr<AcDbEntity>> pieces;
      if (depth < kMaxNesting && e.explode(pieces) == Acad::eOk && !pieces.empty()) {
        for (const auto& piece : pieces) Inside(*piece, m, depth + 1);
      } else if (AcDbExtents ext; e.getGeomExtents(ext) == Acad::eOk) {
        Entity().drawsOther = true;
      } else {
        LeaveOut(e.dxfName());
      }
    }
  }

  // A polyline's straight segments (clipped to `box` when given); its arcs draw other things.
  void Polyline(const AcDbPolyline& pl, const AcGeMatrix3d& m, const AcDbExtents* box) {
    const unsigned n = pl.numVerts();
    for (unsigned i = 0; i < n; ++i) {
      if (i + 1 == n && !pl.isClosed()) break;
      double bulge = 0.0;
      pl.getBulgeAt(i, bulge);
      if (bulge != 0.0) {
        Entity().drawsOther = true;
        continue;
      }
      AcGePoint3d a, b;
      pl.getPointAt(i, a);
      pl.getPointAt((i + 1) % n, b);
      a.transformBy(m);
      b.transformBy(m);
      if (box == nullptr || ClipToBox(a, b, *box)) Straight(a, b);
    }
  }

  void Straight(const AcGePoint3d& a, const AcGePoint3d& b) {
    if (Room()) out_.straights.push_back({a, b, entity_});
  }

  // False, said once, when the selection was taken apart as far as it may be.
  bool Room() {
    if (out_.visited + out_.straights.size() + out_.texts.size() < kMaxDrawnParts) return true;
    const std::string beyond = "selection beyond the " + std::to_string(kMaxDrawnParts) + " parts it may have";
    if (out_.leftOut.count(beyond) == 0) LeaveOut(beyond);
    return false;
  }

  void LeaveOut(const std::string& what) { ++out_.leftOut[what.empty() ? std::string("entity") : what]; }

 private:
  DrawnEntity& Entity() { return out_.entities[static_cast<std::size_t>(entity_)]; }

  void Text(const AcDbText& text, const AcGeMatrix3d& m) {
    std::unique_ptr<AcDbEntity> moved;
    const AcDbText* placed = &text;
    if (!m.isEqualTo(AcGeMatrix3d::kIdentity)) {
      if (text.getTransformedCopy(m, moved) != Acad::eOk &&
          (!text.normal().isEqualTo(AcGeVector3d::kZAxis) || text.getTransformedCopy(PlanarUniform(m), moved) != Acad::eOk)) {
        LeaveOut("TEXT under a stretched block");  // texts scale alike in every direction
        return;
      }
      placed = AcDbText::cast(moved.get());
    }
    AcDbExtents ext;
    if (placed->getGeomExtents(ext) != Acad::eOk || !Room()) return;  // nothing shown
    TextItem item;
    item.extentsMin = ext.minPoint();
    item.extentsMax = ext.maxPoint();
    item.centre = AcGePoint3d((ext.minPoint().x + ext.maxPoint().x) / 2, (ext.minPoint().y + ext.maxPoint().y) / 2,
                              (ext.minPoint().z + ext.maxPoint().z) / 2);
    item.horizontalMode = placed->horizontalMode();
    item.verticalMode = placed->verticalMode();
    item.text = placed->textString();
    item.height = placed->height();
    out_.texts.push_back(std::move(item));
  }

  void Reference(const AcDbBlockReference& ref, const AcGeMatrix3d& m, int depth) {
    if (depth >= kMaxNesting) {
      LeaveOut("INSERT nested more than " + std::to_string(kMaxNesting) + " deep");
      return;
    }
    const AcGeMatrix3d inner = m * ref.blockTransform();
    AcDbObjectPointer<AcDbBlockTableRecord> block(ref.blockTableRecord(), AcDb::kForRead);
    if (block)
      for (const AcDbObjectId& id : block->entityIds()) {
        if (!Room()) return;
        AcDbObjectPointer<AcDbEntity> e(id, AcDb::kForRead);
        // Attribute definitions are not shown by a reference: its attributes are.
        if (e && std::string_view(e->dxfName()) != "ATTDEF") Inside(*e.object(), inner, depth + 1);
      }
    for (const std::unique_ptr<AcDbText>& attribute : ref.attributeTexts()) Text(*attribute, m);
  }

  DrawnSelection& out_;
  int entity_;
};

// Sorts one opened entity of the selection (the last of out.entities) and takes it apart.
void Take(const AcDbEntity& e, DrawnSelection& out) {
  const int index = static_cast<int>(out.entities.size()) - 1;
  DrawnEntity& self = out.entities.back();  // the list does not grow while it is taken apart
  self.hasExtents = e.getGeomExtents(self.extents) == Acad::eOk;
  self.textBegin = static_cast<int>(out.texts.size());
  Taker taker(out, index);
  const AcGeMatrix3d& world = AcGeMatrix3d::kIdentity;
  std::vector<std::unique_ptr<AcDbEntity>> pieces;
  if (const auto* line = AcDbLine::cast(&e)) {
    self.kind = DrawnKind::kLine;
    taker.Straight(line->startPoint(), line->endPoint());
  } else if (const auto* text = AcDbText::cast(&e)) {
    self.kind = DrawnKind::kText;
    if (taker.Room()) out.texts.push_back(SelectedText(*text, self));
  } else if (AcDbMText::cast(&e) != nullptr) {
    self.kind = DrawnKind::kMultiText;
    e.explode(pieces);
    for (const auto& line : pieces) taker.Inside(*line, world, 0);
  } else if (const auto* pl = AcDbPolyline::cast(&e)) {
    self.kind = DrawnKind::kPolyline;
    taker.Polyline(*pl, world, nullptr);
  } else if (AcDbBlockReference::cast(&e) != nullptr) {
    self.kind = DrawnKind::kCompound;
    taker.Inside(e, world, 0);
  } else if (AcDbCurve::cast(&e) != nullptr) {
    self.kind = DrawnKind::kCurve;
  } else if (e.explode(pieces) == Acad::eOk && !pieces.empty()) {
    // Kinds the host keeps without modelling them: old-style polylines and other programs'
    // tables show what they explode into.
    self.kind = std::string_view(e.dxfName()) == "POLYLINE" ? DrawnKind::kPolyline : DrawnKind::kCompound;
    for (const auto& piece : pieces) taker.Inside(*piece, world, 1);
  } else if (self.hasExtents) {
    self.kind = DrawnKind::kOther;
  } else {
    self.kind = DrawnKind::kUnknown;
    taker.LeaveOut(e.dxfName());
  }
  self.textEnd = static_cast<int>(out.texts.size());
}

}  // namespace

DrawnSelection DrawnPartsOf(const AcDbObjectIdArray& selection, MessageSink& sink) {
  DrawnSelection out;
  out.entities.reserve(static_cast<std::size_t>(selection.length()));
  out.texts.reserve(static_cast<std::size_t>(selection.length()));  // texts outnumber lines in tables
  for (const AcDbObjectId& id : selection) {
    AcDbObjectPointer<AcDbEntity> e(id, AcDb::kForRead);
    if (!e) {
      sink.Print("\nacdbOpenAcDbEntity wrong");
      continue;
    }
    out.entities.push_back({});
    out.entities.back().id = id;
    Take(*e.object(), out);
  }
  return out;
}

void AddCrossingParts(const AcDbObjectIdArray& crossing, const AcDbExtents& box, DrawnSelection& into) {
  for (const AcDbObjectId& id : crossing) {
    AcDbObjectPointer<AcDbEntity> e(id, AcDb::kForRead);
    if (!e) continue;
    std::vector<std::unique_ptr<AcDbEntity>> pieces;
    const AcDbPolyline* pl = AcDbPolyline::cast(e.object());
    if (pl == nullptr && std::string_view(e->dxfName()) == "POLYLINE" && e->explode(pieces) == Acad::eOk &&
        pieces.size() == 1)
      pl = AcDbPolyline::cast(pieces.front().get());
    const auto* line = AcDbLine::cast(e.object());
    if (line == nullptr && pl == nullptr) continue;
    DrawnEntity d;
    d.id = id;
    d.kind = line != nullptr ? DrawnKind::kLine : DrawnKind::kPolyline;
    d.crossing = true;
    d.hasExtents = e->getGeomExtents(d.extents) == Acad::eOk;
    d.textBegin = d.textEnd = static_cast<int>(into.texts.size());
    into.entities.push_back(d);
    Taker taker(into, static_cast<int>(into.entities.size()) - 1);
    if (line != nullptr) {
      AcGePoint3d a = line->startPoint(), b = line->endPoint();
      if (ClipToBox(a, b, box)) taker.Straight(a, b);
    } else {
      taker.Polyline(*pl, AcGeMatrix3d::kIdentity, &box);
    }
  }
}

}  // namespace vex
