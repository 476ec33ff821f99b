#include "cadhost/dxf/entity_parse.h"

#include <cmath>
#include <numbers>

#include "cadhost/db/geom_util.h"
#include "cadhost/db/raw_objects.h"
#include "cadhost/sdk/dbents.h"

namespace cadhost {
namespace {

using dxf::RawTag;
constexpr double kDegree = std::numbers::pi / 180.0;

// Reads the known groups of an entity's own part; keeps the others.
class Fields {
 public:
  Fields(Split& s, ParseContext& ctx) : m_s(s), m_ctx(ctx) {}
  double d(int code, double fallback) const {
    for (const RawTag& t : m_s.body)
      if (t.code == code) return dxf::ToDouble(t);
    return fallback;
  }
  long long i(int code, long long fallback) const {
    for (const RawTag& t : m_s.body)
      if (t.code == code) return dxf::ToInt(t);
    return fallback;
  }
  std::string str(int code, const std::string& fallback) const {
    for (const RawTag& t : m_s.body)
      if (t.code == code) return m_ctx.text(t);
    return fallback;
  }
  bool has(int code) const {
    for (const RawTag& t : m_s.body)
      if (t.code == code) return true;
    return false;
  }
  AcGePoint3d p(int code) const { return {d(code, 0), d(code + 10, 0), d(code + 20, 0)}; }
  AcGeVector3d normal() const {
    AcGeVector3d n(d(210, 0), d(220, 0), d(230, 1));
    return n.isZeroLength() ? AcGeVector3d::kZAxis : n.normal();
  }
  // Groups not in `known` (class markers dropped) into the entity's extras.
  void keepOthers(AcDbObject& o, std::initializer_list<int> known) const {
    for (const RawTag& t : m_s.body) {
      if (t.code == 100) continue;
      bool k = false;
      for (int c : known) k = k || c == t.code;
      if (!k) ObjectAccess::extras(o).body.push_back({t.code, m_ctx.text(t)});
    }
  }

 private:
  Split& m_s;
  ParseContext& m_ctx;
};

// Object coordinates of a point to world coordinates.
AcGePoint3d ToWorld(const AcGePoint3d& p, const AcGeVector3d& normal) {
  if (IsPlusZ(normal)) return p;
  AcGePoint3d w = p;
  return w.transformBy(acgeOcsToWcs(normal));
}

std::unique_ptr<AcDbEntity> Line(Split& s, ParseContext& ctx) {
  Fields f(s, ctx);
  auto e = std::make_unique<AcDbLine>(f.p(10), f.p(11));
  e->setThickness(f.d(39, 0));
  e->setNormal(f.normal());
  f.keepOthers(*e, {10, 20, 30, 11, 21, 31, 39, 210, 220, 230});
  return e;
}

std::unique_ptr<AcDbEntity> CircleOrArc(Split& s, ParseContext& ctx, bool arc) {
  Fields f(s, ctx);
  const double r = f.d(40, 0);
  if (!(r > 0.0)) {
    ctx.warn(s.line, s.type + " with radius " + std::to_string(r) + " left out");
    return nullptr;
  }
  const AcGeVector3d n = f.normal();
  const AcGePoint3d c = ToWorld(f.p(10), n);
  std::unique_ptr<AcDbEntity> e;
  if (arc) {
    auto a = std::make_unique<AcDbArc>(c, n, r, f.d(50, 0) * kDegree, f.d(51, 360) * kDegree);
    a->setThickness(f.d(39, 0));
    e = std::move(a);
  } else {
    auto ci = std::make_unique<AcDbCircle>(c, n, r);
    ci->setThickness(f.d(39, 0));
    e = std::move(ci);
  }
  f.keepOthers(*e, {10, 20, 30, 40, 50, 51, 39, 210, 220, 230});
  return e;
}

std::unique_ptr<AcDbEntity> Text(Split& s, ParseContext& ctx) {
  // One pass over the groups: a drawing may hold a hundred thousand texts.
  double num[64] = {};
  bool has[64] = {};
  const RawTag* value = nullptr;
  const RawTag* style = nullptr;
  // Where a group comes twice, the first counts.
  for (const RawTag& t : s.body) {
    const int c = t.code;
    if (c == 1 && value == nullptr) value = &t;
    else if (c == 7 && style == nullptr) style = &t;
    else if ((c >= 10 && c <= 51) || (c >= 71 && c <= 73) || c == 210 || c == 220 || c == 230) {
      const int k = c >= 210 ? c / 10 + 31 : c - 10;  // 210, 220, 230 at 52, 53, 54
      if (has[k]) continue;
      num[k] = c >= 71 && c <= 73 ? static_cast<double>(dxf::ToInt(t)) : dxf::ToDouble(t);
      has[k] = true;
    }
  }
  const auto get = [&](int code, double fallback) { return has[code - 10] ? num[code - 10] : fallback; };
  AcGeVector3d n(has[52] ? num[52] : 0.0, has[53] ? num[53] : 0.0, has[54] ? num[54] : 1.0);
  n = n.isZeroLength() ? AcGeVector3d::kZAxis : n.normal();
  auto e = std::make_unique<AcDbText>();
  // The justification goes last: until then every setter keeps the position as it is instead
  // of measuring the text again.
  e->setNormal(n);
  e->setTextString(value != nullptr ? ctx.text(*value).c_str() : "");
  e->setTextStyle(ctx.style(style != nullptr ? ctx.text(*style) : std::string("Standard"), s.line));
  e->setHeight(get(40, 0));
  e->setWidthFactor(get(41, 1));
  e->setRotation(get(50, 0) * kDegree);
  e->setOblique(get(51, 0) * kDegree);
  const int gen = static_cast<int>(get(71, 0));
  e->mirrorInX((gen & 2) != 0);
  e->mirrorInY((gen & 4) != 0);
  e->setThickness(get(39, 0));
  const AcGePoint3d pos = ToWorld({get(10, 0), get(20, 0), get(30, 0)}, n);
  e->setPosition(pos);
  e->setAlignmentPoint(has[1] ? ToWorld({get(11, 0), get(21, 0), get(31, 0)}, n) : pos);
  const long long h = static_cast<long long>(get(72, 0)), v = static_cast<long long>(get(73, 0));
  e->setHorizontalMode(static_cast<AcDb::TextHorzMode>(h >= 0 && h <= 5 ? h : 0));
  e->setVerticalMode(static_cast<AcDb::TextVertMode>(v >= 0 && v <= 3 ? v : 0));
  Fields(s, ctx).keepOthers(*e, {1, 7, 10, 20, 30, 11, 21, 31, 39, 40, 41, 50, 51, 71, 72, 73, 210, 220, 230});
  return e;
}

// Multiline text. Its contents come in pieces (groups 3, then 1), joined before they are
// decoded so that an escape split between two pieces still reads. Groups from an embedded
// object (101) on are kept as written: they repeat codes of the text's own part.
std::unique_ptr<AcDbEntity> MText(Split& s, ParseContext& ctx) {
  std::vector<RawTag> own, embedded;
  for (const RawTag& t : s.body) (embedded.empty() && t.code != 101 ? own : embedded).push_back(t);
  Split ownPart = s;
  ownPart.body = own;
  Fields f(ownPart, ctx);
  std::string raw;
  long contentLine = s.line;
  for (const RawTag& t : own)
    if (t.code == 3 || t.code == 1) {
      raw.append(t.value);
      contentLine = t.line;
    }
  auto e = std::make_unique<AcDbMText>();
  const AcGeVector3d n = f.normal();
  e->setNormal(n);
  e->setContents(ctx.text(RawTag{1, raw, contentLine}).c_str());
  e->setLocation(f.p(10));
  e->setTextStyle(ctx.style(f.str(7, "Standard"), s.line));
  if (f.d(40, 0) > 0) {
    e->setTextHeight(f.d(40, 0));
  } else {
    ctx.warn(s.line, "MTEXT without a text height: 2.5 used");
    e->setTextHeight(2.5);
  }
  if (f.d(41, 0) > 0) e->setWidth(f.d(41, 0));
  const long long attach = f.i(71, 1);
  e->setAttachment(static_cast<AcDbMText::AttachmentPoint>(attach >= 1 && attach <= 9 ? attach : 1));
  if (f.has(11)) {
    // A direction in world coordinates decides the rotation where a file gives both.
    AcGeVector3d dir = f.p(11).asVector();
    dir.transformBy(acgeOcsToWcs(n).inverse());
    if (!dir.isZeroLength()) e->setRotation(std::atan2(dir.y, dir.x));
  } else {
    e->setRotation(f.d(50, 0) * kDegree);
  }
  const double spacing = f.d(44, 1);
  if (spacing >= 0.25 && spacing <= 4.0) e->setLineSpacingFactor(spacing);
  // 42 and 43 are the extents the writing program measured: ours follow from the text.
  f.keepOthers(*e, {1, 3, 7, 10, 20, 30, 11, 21, 31, 40, 41, 42, 43, 44, 50, 71, 210, 220, 230});
  for (const RawTag& t : embedded) ObjectAccess::extras(*e).body.push_back({t.code, ctx.text(t)});
  return e;
}

std::unique_ptr<AcDbEntity> LwPolyline(Split& s, ParseContext& ctx) {
  auto e = std::make_unique<AcDbPolyline>();
  Fields f(s, ctx);
  e->setNormal(f.normal());
  e->setElevation(f.d(38, 0));
  e->setThickness(f.d(39, 0));
  const long long flags = f.i(70, 0);
  e->setClosed((flags & 1) != 0);
  e->setPlinegen((flags & 128) != 0);
  const double constant = f.d(43, 0);
  if (constant > 0) e->setConstantWidth(constant);
  int n = -1;
  double x = 0;
  bool haveX = false;
  for (const RawTag& t : s.body) {
    switch (t.code) {
      case 10: x = dxf::ToDouble(t); haveX = true; break;
      case 20:
        if (!haveX) break;
        ++n;
        e->addVertexAt(static_cast<unsigned>(n), AcGePoint2d(x, dxf::ToDouble(t)));
        haveX = false;
        break;
      case 40: case 41:
        if (n >= 0) {
          double sw, ew;
          e->getWidthsAt(static_cast<unsigned>(n), sw, ew);
          if (t.code == 40) sw = dxf::ToDouble(t); else ew = dxf::ToDouble(t);
          e->setWidthsAt(static_cast<unsigned>(n), sw, ew);
        }
        break;
      case 42:
        if (n >= 0) e->setBulgeAt(static_cast<unsigned>(n), dxf::ToDouble(t));
        break;
      default: break;
    }
  }
  f.keepOthers(*e, {10, 20, 38, 39, 40, 41, 42, 43, 70, 90, 91, 210, 220, 230});
  return e;
}

std::unique_ptr<AcDbEntity> Insert(Split& s, ParseContext& ctx) {
  Fields f(s, ctx);
  if (f.i(70, 1) > 1 || f.i(71, 1) > 1) return nullptr;  // an array insert: kept raw
  const AcGeVector3d n = f.normal();
  auto e = std::make_unique<AcDbBlockReference>(ToWorld(f.p(10), n),
                                                ctx.block(f.str(2, ""), s.line));
  e->setNormal(n);
  AcGeScale3d scale(f.d(41, 1), f.d(42, 1), f.d(43, 1));
  if (e->setScaleFactors(scale) != Acad::eOk) ctx.warn(s.line, "INSERT with a zero scale factor: 1 used");
  e->setRotation(f.d(50, 0) * kDegree);
  f.keepOthers(*e, {2, 10, 20, 30, 41, 42, 43, 50, 66, 70, 71, 44, 45, 210, 220, 230});
  return e;
}

// A heavy 2D polyline of an R12 file as the lightweight polyline it is; nullptr for 3D
// polylines, meshes and fitted curves.
std::unique_ptr<AcDbEntity> OldPolyline(Split& s, ParseContext& ctx) {
  Fields f(s, ctx);
  const long long flags = f.i(70, 0);
  if ((flags & (2 | 4 | 8 | 16 | 64)) != 0 || s.followers == nullptr) return nullptr;
  auto e = std::make_unique<AcDbPolyline>();
  e->setNormal(f.normal());
  e->setElevation(f.d(30, 0));
  e->setClosed((flags & 1) != 0);
  e->setPlinegen((flags & 128) != 0);
  const double sw0 = f.d(40, 0), ew0 = f.d(41, 0);
  unsigned n = 0;
  for (const RawFollower& v : *s.followers) {
    if (v.type != "VERTEX") continue;
    double x = 0, y = 0, bulge = 0, sw = sw0, ew = ew0;
    for (const DxfTag& t : v.tags) {
      const double val = std::strtod(t.value.c_str(), nullptr);
      if (t.code == 10) x = val;
      if (t.code == 20) y = val;
      if (t.code == 42) bulge = val;
      if (t.code == 40) sw = val;
      if (t.code == 41) ew = val;
    }
    e->addVertexAt(n, AcGePoint2d(x, y), bulge, sw, ew);
    ++n;
  }
  s.followersConsumed = true;
  return e;
}

// Class markers of the simple entities of R12 files, which have none.
const char* OldMarker(const std::string& type) {
  if (type == "POINT") return "AcDbPoint";
  if (type == "SOLID" || type == "TRACE") return "AcDbTrace";
  if (type == "3DFACE") return "AcDbFace";
  if (type == "SHAPE") return "AcDbShape";
  return nullptr;
}

std::unique_ptr<AcDbEntity> Raw(Split& s, ParseContext& ctx) {
  auto e = std::make_unique<RawEntity>(s.type);
  TagList& body = ObjectAccess::extras(*e).body;
  if (!ctx.modern) {
    const char* marker = OldMarker(s.type);
    if (marker == nullptr) {
      ctx.warn(s.line, s.type + " of an R12 file cannot be carried into a newer file; left out");
      return nullptr;
    }
    body.push_back({100, marker});
  }
  body.reserve(body.size() + s.body.size());
  for (const RawTag& t : s.body) body.push_back({t.code, ctx.text(t)});
  return e;
}

}  // namespace

std::unique_ptr<AcDbEntity> BuildEntity(Split& s, ParseContext& ctx) {
  const std::string& t = s.type;
  if (t == "LINE") return Line(s, ctx);
  if (t == "CIRCLE") return CircleOrArc(s, ctx, false);
  if (t == "ARC") return CircleOrArc(s, ctx, true);
  if (t == "TEXT") return Text(s, ctx);
  if (t == "MTEXT" && ctx.modern) return MText(s, ctx);
  if (t == "LWPOLYLINE") return LwPolyline(s, ctx);
  if (t == "INSERT") {
    if (!ctx.modern && s.followers != nullptr) {
      ctx.warn(s.line, "attributes of an R12 INSERT cannot be carried into a newer file; left out");
      s.followersConsumed = true;
    }
    if (auto e = Insert(s, ctx)) return e;
  }
  if (t == "POLYLINE" && !ctx.modern) {
    if (auto e = OldPolyline(s, ctx)) return e;
    ctx.warn(s.line, "a 3D polyline, mesh or fitted polyline of an R12 file cannot be carried "
                     "into a newer file; left out");
    return nullptr;
  }
  return Raw(s, ctx);
}

}  // namespace cadhost
