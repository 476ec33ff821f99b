// Block references: transform, extents through the block, explode.

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <unordered_map>

#include "cadhost/db/database_impl.h"
#include "cadhost/db/geom_util.h"
#include "cadhost/db/raw_objects.h"
#include "cadhost/sdk/dbents.h"

CADHOST_DEFINE_MEMBERS(AcDbBlockReference, AcDbEntity)

namespace {

// Moves the attributes that travel with a reference along with it: their points, height and
// rotation, kept as drawing-file groups. Attributes in planes of their own, and attributes
// under a mirror, stay as they are.
void TransformAttributes(cadhost::DxfExtras& x, const AcGeMatrix3d& m, double angle) {
  const double s = m.scale();
  for (cadhost::RawFollower& f : x.followers) {
    if (f.type != "ATTRIB") continue;
    bool flat = true;
    for (const cadhost::DxfTag& t : f.tags)
      if (t.code == 230 && std::strtod(t.value.c_str(), nullptr) != 1.0) flat = false;
    if (!flat) continue;
    auto find = [&](int code) -> cadhost::DxfTag* {
      for (cadhost::DxfTag& t : f.tags)
        if (t.code == code) return &t;
      return nullptr;
    };
    auto put = [](cadhost::DxfTag* t, double v) {
      if (t == nullptr) return;
      char buf[32];
      const auto [p, ec] = std::to_chars(buf, buf + sizeof buf, v);
      t->value.assign(buf, p);
    };
    for (int code : {10, 11}) {
      cadhost::DxfTag *x0 = find(code), *y0 = find(code + 10), *z0 = find(code + 20);
      if (x0 == nullptr || y0 == nullptr) continue;
      AcGePoint3d p(std::strtod(x0->value.c_str(), nullptr), std::strtod(y0->value.c_str(), nullptr),
                    z0 != nullptr ? std::strtod(z0->value.c_str(), nullptr) : 0.0);
      p.transformBy(m);
      put(x0, p.x);
      put(y0, p.y);
      put(z0, p.z);
    }
    if (cadhost::DxfTag* h = find(40)) put(h, std::strtod(h->value.c_str(), nullptr) * s);
    cadhost::DxfTag* r = find(50);
    const double deg = (r != nullptr ? std::strtod(r->value.c_str(), nullptr) : 0.0) + angle * 180.0 / M_PI;
    if (r != nullptr) put(r, std::fmod(deg + 360.0, 360.0));
    else if (angle != 0.0) f.tags.push_back({50, std::to_string(std::fmod(deg + 360.0, 360.0))});
  }
}

// Guards extents of blocks that (in a damaged drawing) reference themselves.
thread_local int g_depth = 0;
constexpr int kMaxDepth = 64;

const AcDbBlockTableRecord* BlockOf(AcDbObjectId id) {
  return AcDbBlockTableRecord::cast(cadhost::DatabaseImpl::lookup(id));
}

// Attribute definitions are templates for the attributes of references: a reference shows its
// attributes instead.
bool ShownByReferences(const AcDbEntity& e) { return std::string_view(e.dxfName()) != "ATTDEF"; }

// The groups of an ATTRIB as the text it shows; nullptr for an invisible attribute or one
// whose groups make no text. `db` names its style and layer.
std::unique_ptr<AcDbText> TextOfAttribute(const cadhost::RawFollower& f, cadhost::DatabaseImpl* db) {
  double num[256] = {};
  bool has[256] = {};
  std::string value, style = "Standard", layer;
  long long flags = 0;
  bool inAttribute = false;
  for (const cadhost::DxfTag& t : f.tags) {
    if (t.code == 101) break;  // an embedded multiline attribute follows: not read
    if (t.code == 100) inAttribute = t.value == "AcDbAttribute";
    const int c = t.code;
    if (c == 1) value = t.value;
    else if (c == 7) style = t.value;
    else if (c == 8) layer = t.value;
    else if (c == 70) flags = std::strtoll(t.value.c_str(), nullptr, 10);
    else if (c == 73 && inAttribute) continue;  // the field length, not a justification
    else if ((c >= 10 && c <= 74) || (c >= 210 && c <= 230)) {
      const int k = c >= 210 ? c - 100 : c;
      num[k] = std::strtod(t.value.c_str(), nullptr);
      has[k] = true;
    }
  }
  if ((flags & 1) != 0) return nullptr;
  const double height = has[40] && num[40] > 0 ? num[40] : 0.0;
  if (height <= 0.0) return nullptr;
  constexpr double kDegree = M_PI / 180.0;
  AcGeVector3d n(has[110] ? num[110] : 0.0, has[120] ? num[120] : 0.0, has[130] ? num[130] : 1.0);
  if (n.isZeroLength()) n = AcGeVector3d::kZAxis;
  n.normalize();
  const AcGeMatrix3d ocs = acgeOcsToWcs(n);
  auto text = std::make_unique<AcDbText>();
  text->setNormal(n);
  text->setTextString(value.c_str());
  text->setHeight(height);
  if (has[41] && num[41] > 0) text->setWidthFactor(num[41]);
  text->setRotation(num[50] * kDegree);
  text->setOblique(num[51] * kDegree);
  const int gen = static_cast<int>(num[71]);
  text->mirrorInX((gen & 2) != 0);
  text->mirrorInY((gen & 4) != 0);
  const AcGePoint3d pos = AcGePoint3d(num[10], num[20], num[30]).transformBy(ocs);
  text->setPosition(pos);
  text->setAlignmentPoint(has[11] ? AcGePoint3d(num[11], num[21], num[31]).transformBy(ocs) : pos);
  const int h = static_cast<int>(num[72]), v = static_cast<int>(num[74]);
  text->setHorizontalMode(static_cast<AcDb::TextHorzMode>(h >= 0 && h <= 5 ? h : 0));
  text->setVerticalMode(static_cast<AcDb::TextVertMode>(v >= 0 && v <= 3 ? v : 0));
  if (db != nullptr) {
    text->setTextStyle(db->recordId(db->styleTable, style));
    if (!layer.empty()) cadhost::ObjectAccess::setLayer(*text, db->recordId(db->layerTable, layer));
  }
  return text;
}

}  // namespace

AcDbBlockReference::AcDbBlockReference(const AcGePoint3d& position, AcDbObjectId block)
    : m_block(block), m_position(position) {}

Acad::ErrorStatus AcDbBlockReference::setBlockTableRecord(AcDbObjectId block) {
  if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
  if (BlockOf(block) == nullptr) return Acad::eInvalidInput;
  if (database() != nullptr && block.database() != database()) return Acad::eWrongDatabase;
  m_block = block;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockReference::setPosition(const AcGePoint3d& p) {
  if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
  m_position = p;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockReference::setScaleFactors(const AcGeScale3d& s) {
  if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
  if (s.sx == 0.0 || s.sy == 0.0 || s.sz == 0.0 || !std::isfinite(s.sx) ||
      !std::isfinite(s.sy) || !std::isfinite(s.sz))
    return Acad::eInvalidInput;
  m_scale = s;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockReference::setRotation(double angle) {
  if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
  m_rotation = cadhost::NormalizeAngle(angle);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockReference::setNormal(const AcGeVector3d& n) {
  if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
  if (n.isZeroLength()) return Acad::eInvalidInput;
  m_normal = n.normal();
  return Acad::eOk;
}

AcGeMatrix3d AcDbBlockReference::blockTransform() const {
  const AcDbBlockTableRecord* block = BlockOf(m_block);
  const AcGePoint3d origin = block != nullptr ? block->origin() : AcGePoint3d();
  AcGeMatrix3d ocs = acgeOcsToWcs(m_normal);
  ocs.entry[0][3] = m_position.x;
  ocs.entry[1][3] = m_position.y;
  ocs.entry[2][3] = m_position.z;
  return ocs * AcGeMatrix3d::rotation(m_rotation) *
         AcGeMatrix3d::scaling3d(m_scale.sx, m_scale.sy, m_scale.sz) *
         AcGeMatrix3d::translation(AcGePoint3d::kOrigin - origin);
}

namespace {

// True when the map sends each axis to an axis (moves, scales, quarter turns, mirrors): it maps
// an axis-aligned box onto exactly the box of what the box held.
// Entries a quarter turn leaves at rounding size (cos(pi / 2)) count as zero.
bool KeepsAxes(const AcGeMatrix3d& m) {
  for (int c = 0; c < 3; ++c) {
    double largest = 0.0;
    for (int r = 0; r < 3; ++r) largest = std::max(largest, std::fabs(m.entry[r][c]));
    int nonZero = 0;
    for (int r = 0; r < 3; ++r) nonZero += std::fabs(m.entry[r][c]) > largest * 1e-12 ? 1 : 0;
    if (nonZero > 1) return false;
  }
  return true;
}

// The extents of blocks in their own coordinates, found during the outermost extents call of a
// reference (the drawing cannot change during it). Nested references repeat the same blocks a
// thousandfold: a block is walked once, not once per reference.
thread_local std::unordered_map<const AcDbBlockTableRecord*, std::optional<AcDbExtents>>* g_blockBoxes = nullptr;

bool AddBlockExtents(const AcDbBlockTableRecord& block, const AcGeMatrix3d& full, AcDbExtents& ext);

// Keeps g_blockBoxes for the life of the outermost call.
class BlockBoxScope {
 public:
  BlockBoxScope() : m_owner(g_blockBoxes == nullptr) {
    if (m_owner) g_blockBoxes = &m_boxes;
  }
  ~BlockBoxScope() {
    if (m_owner) g_blockBoxes = nullptr;
  }
  BlockBoxScope(const BlockBoxScope&) = delete;
  BlockBoxScope& operator=(const BlockBoxScope&) = delete;

 private:
  bool m_owner;
  std::unordered_map<const AcDbBlockTableRecord*, std::optional<AcDbExtents>> m_boxes;
};

// Extends `ext` by the entities of `block` mapped by `full`.
bool AddBlockExtents(const AcDbBlockTableRecord& block, const AcGeMatrix3d& full, AcDbExtents& ext) {
  if (g_depth >= kMaxDepth) return false;
  if (g_blockBoxes != nullptr && KeepsAxes(full) && !full.isEqualTo(AcGeMatrix3d::kIdentity)) {
    auto found = g_blockBoxes->find(&block);
    if (found == g_blockBoxes->end()) {
      AcDbExtents own;
      const bool any = AddBlockExtents(block, AcGeMatrix3d::kIdentity, own);
      found = g_blockBoxes->emplace(&block, any && !own.isEmpty() ? std::optional(own) : std::nullopt).first;
    }
    if (!found->second) return false;
    AcDbExtents mapped = *found->second;
    mapped.transformBy(full);
    ext.addExt(mapped);
    return true;
  }
  ++g_depth;
  bool any = false;
  for (AcDbObjectId id : block.entityIds()) {
    const auto* e = AcDbEntity::cast(cadhost::DatabaseImpl::lookup(id));
    if (e != nullptr && ShownByReferences(*e) && e->addExtentsUnder(full, ext)) any = true;
  }
  --g_depth;
  return any;
}

}  // namespace

bool AcDbBlockReference::addExtentsUnder(const AcGeMatrix3d& m, AcDbExtents& ext) const {
  const AcDbBlockTableRecord* block = BlockOf(m_block);
  if (block == nullptr) return false;
  const BlockBoxScope boxes;
  bool any = AddBlockExtents(*block, m * blockTransform(), ext);
  for (const std::unique_ptr<AcDbText>& t : attributeTexts()) any = t->addExtentsUnder(m, ext) || any;
  return any;
}

namespace {

// The block an ACAD_TABLE shows and where: the block record its groups name (by handle, else
// by name), its insertion point and direction.
struct TablePlacement {
  const AcDbBlockTableRecord* block = nullptr;
  AcGeMatrix3d transform;
};

TablePlacement PlacementOfTable(const cadhost::RawEntity& e) {
  TablePlacement out;
  const cadhost::DxfExtras* x = cadhost::ObjectAccess::extras(e);
  cadhost::DatabaseImpl* db = cadhost::DatabaseImpl::of(e.objectId());
  if (x == nullptr || db == nullptr || e.dxfType() != "ACAD_TABLE") return out;
  std::string name;
  AcDbObjectId byHandle;
  AcGePoint3d at;
  AcGeVector3d dir(1, 0, 0);
  for (const cadhost::DxfTag& t : x->body) {
    const double v = std::strtod(t.value.c_str(), nullptr);
    switch (t.code) {
      case 2: if (name.empty()) name = t.value; break;
      case 343:
        if (byHandle.isNull()) byHandle = db->idOfHandle(AcDbHandle(std::strtoull(t.value.c_str(), nullptr, 16)));
        break;
      case 10: at.x = v; break;
      case 20: at.y = v; break;
      case 30: at.z = v; break;
      case 11: dir.x = v; break;
      case 21: dir.y = v; break;
      case 31: dir.z = v; break;
      default: break;
    }
  }
  out.block = BlockOf(byHandle);
  if (out.block == nullptr && !name.empty()) out.block = BlockOf(db->recordId(db->blockTable, name));
  if (out.block == nullptr) return out;
  if (dir.isZeroLength()) dir = AcGeVector3d(1, 0, 0);
  out.transform = AcGeMatrix3d::translation(at.asVector()) * AcGeMatrix3d::rotation(std::atan2(dir.y, dir.x)) *
                  AcGeMatrix3d::translation(AcGePoint3d::kOrigin - out.block->origin());
  return out;
}

// An old-style POLYLINE of a newer file, kept as its groups: a 2D one as the lightweight
// polyline it draws, a 3D one as its lines. Meshes give nothing.
std::vector<std::unique_ptr<AcDbEntity>> PiecesOfOldPolyline(const cadhost::RawEntity& e) {
  std::vector<std::unique_ptr<AcDbEntity>> out;
  const cadhost::DxfExtras* x = cadhost::ObjectAccess::extras(e);
  if (x == nullptr || e.dxfType() != "POLYLINE") return out;
  long long flags = 0;
  double elevation = 0.0;
  AcGeVector3d n(0, 0, 1);
  for (const cadhost::DxfTag& t : x->body) {
    const double v = std::strtod(t.value.c_str(), nullptr);
    if (t.code == 70) flags = std::strtoll(t.value.c_str(), nullptr, 10);
    if (t.code == 30) elevation = v;
    if (t.code == 210) n.x = v;
    if (t.code == 220) n.y = v;
    if (t.code == 230) n.z = v;
  }
  if ((flags & (16 | 64)) != 0) return out;
  if (n.isZeroLength()) n = AcGeVector3d::kZAxis;
  const bool is3d = (flags & 8) != 0;
  auto pl = std::make_unique<AcDbPolyline>();
  pl->setNormal(n.normal());
  pl->setElevation(elevation);
  pl->setClosed((flags & 1) != 0);
  std::vector<AcGePoint3d> points;
  for (const cadhost::RawFollower& f : x->followers) {
    if (f.type != "VERTEX") continue;
    double px = 0, py = 0, pz = 0, bulge = 0;
    long long vflags = 0;
    for (const cadhost::DxfTag& t : f.tags) {
      const double v = std::strtod(t.value.c_str(), nullptr);
      if (t.code == 10) px = v;
      if (t.code == 20) py = v;
      if (t.code == 30) pz = v;
      if (t.code == 42) bulge = v;
      if (t.code == 70) vflags = std::strtoll(t.value.c_str(), nullptr, 10);
    }
    if ((vflags & 16) != 0) continue;  // a spline's frame, not drawn
    if (is3d) points.emplace_back(px, py, pz);
    else pl->addVertexAt(pl->numVerts(), AcGePoint2d(px, py), bulge);
  }
  if (!is3d) {
    if (pl->numVerts() > 0) out.push_back(std::move(pl));
    return out;
  }
  if ((flags & 1) != 0 && points.size() > 2) points.push_back(points.front());
  for (std::size_t i = 1; i < points.size(); ++i) out.push_back(std::make_unique<AcDbLine>(points[i - 1], points[i]));
  return out;
}

}  // namespace

bool cadhost::RawEntity::addExtentsUnder(const AcGeMatrix3d& m, AcDbExtents& ext) const {
  if (dxfType() == "POLYLINE") {
    bool any = false;
    for (const auto& piece : PiecesOfOldPolyline(*this)) any = piece->addExtentsUnder(m, ext) || any;
    return any;
  }
  const TablePlacement p = PlacementOfTable(*this);
  const BlockBoxScope boxes;
  return p.block != nullptr && AddBlockExtents(*p.block, m * p.transform, ext);
}

Acad::ErrorStatus cadhost::RawEntity::explode(std::vector<std::unique_ptr<AcDbEntity>>& pieces) const {
  pieces.clear();
  if (dxfType() == "POLYLINE") {
    pieces = PiecesOfOldPolyline(*this);
    return pieces.empty() ? Acad::eNotApplicable : Acad::eOk;
  }
  const TablePlacement p = PlacementOfTable(*this);
  if (p.block == nullptr) return dxfType() == "ACAD_TABLE" ? Acad::eKeyNotFound : Acad::eNotApplicable;
  std::vector<std::unique_ptr<AcDbEntity>> out;
  for (AcDbObjectId id : p.block->entityIds()) {
    const auto* e = AcDbEntity::cast(cadhost::DatabaseImpl::lookup(id));
    if (e == nullptr || !ShownByReferences(*e)) continue;
    std::unique_ptr<AcDbEntity> piece;
    const Acad::ErrorStatus es = e->getTransformedCopy(p.transform, piece);
    if (es != Acad::eOk) return es;
    if (cadhost::ObjectAccess::extras(static_cast<const AcDbObject&>(*piece)) != nullptr)
      cadhost::ObjectAccess::extras(*piece).appData.clear();
    out.push_back(std::move(piece));
  }
  pieces = std::move(out);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockReference::explode(
    std::vector<std::unique_ptr<AcDbEntity>>& pieces) const {
  pieces.clear();
  const AcDbBlockTableRecord* block = BlockOf(m_block);
  if (block == nullptr) return Acad::eKeyNotFound;
  const AcGeMatrix3d m = blockTransform();
  std::vector<std::unique_ptr<AcDbEntity>> out;
  for (AcDbObjectId id : block->entityIds()) {
    const auto* e = AcDbEntity::cast(cadhost::DatabaseImpl::lookup(id));
    if (e == nullptr || !ShownByReferences(*e)) continue;
    std::unique_ptr<AcDbEntity> piece;
    const Acad::ErrorStatus es = e->getTransformedCopy(m, piece);
    if (es != Acad::eOk) return es;
    // Pieces are new entities: they carry no handles of the block's own entities.
    if (cadhost::ObjectAccess::extras(static_cast<const AcDbObject&>(*piece)) != nullptr)
      cadhost::ObjectAccess::extras(*piece).appData.clear();
    out.push_back(std::move(piece));
  }
  for (std::unique_ptr<AcDbText>& t : attributeTexts()) out.push_back(std::move(t));
  pieces = std::move(out);
  return Acad::eOk;
}

std::vector<std::unique_ptr<AcDbText>> AcDbBlockReference::attributeTexts() const {
  std::vector<std::unique_ptr<AcDbText>> out;
  const cadhost::DxfExtras* x = cadhost::ObjectAccess::extras(*this);
  if (x == nullptr) return out;
  cadhost::DatabaseImpl* db = cadhost::DatabaseImpl::of(m_block);
  for (const cadhost::RawFollower& f : x->followers)
    if (f.type == "ATTRIB")
      if (auto t = TextOfAttribute(f, db)) out.push_back(std::move(t));
  return out;
}

Acad::ErrorStatus AcDbBlockReference::subTransformBy(const AcGeMatrix3d& m) {
  if (!m.isUniScaledOrtho()) return Acad::eCannotScaleNonUniformly;
  const double s = m.scale();
  const AcGeMatrix3d ocs = acgeOcsToWcs(m_normal);
  AcGeVector3d x = AcGeVector3d(ocs.entry[0][0], ocs.entry[1][0], ocs.entry[2][0]) *
                       std::cos(m_rotation) +
                   AcGeVector3d(ocs.entry[0][1], ocs.entry[1][1], ocs.entry[2][1]) *
                       std::sin(m_rotation);
  AcGeVector3d n = m_normal;
  x.transformBy(m);
  n.transformBy(m);
  m_normal = n.normal();
  if (m.det() < 0.0) {
    // A mirror: keep the normal's side and mirror the block's x axis instead.
    x = -x;
    m_scale.sx = -m_scale.sx;
  }
  x.transformBy(acgeOcsToWcs(m_normal).inverse());
  m_rotation = cadhost::NormalizeAngle(std::atan2(x.y, x.x));
  const double before = m_rotation;
  m_scale = AcGeScale3d(m_scale.sx * s, m_scale.sy * s, m_scale.sz * s);
  m_position.transformBy(m);
  if (cadhost::ObjectAccess::extras(static_cast<const AcDbObject&>(*this)) != nullptr && m.det() > 0.0)
    TransformAttributes(cadhost::ObjectAccess::extras(*this), m, m_rotation - before);
  return Acad::eOk;
}
