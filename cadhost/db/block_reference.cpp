// Block references: transform, extents through the block, explode.

#include <charconv>
#include <cmath>
#include <cstdlib>

#include "cadhost/db/database_impl.h"
#include "cadhost/db/geom_util.h"
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

bool AcDbBlockReference::addExtentsUnder(const AcGeMatrix3d& m, AcDbExtents& ext) const {
  const AcDbBlockTableRecord* block = BlockOf(m_block);
  if (block == nullptr || g_depth >= kMaxDepth) return false;
  ++g_depth;
  const AcGeMatrix3d full = m * blockTransform();
  bool any = false;
  for (AcDbObjectId id : block->entityIds()) {
    const auto* e = AcDbEntity::cast(cadhost::DatabaseImpl::lookup(id));
    if (e != nullptr && e->addExtentsUnder(full, ext)) any = true;
  }
  --g_depth;
  return any;
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
    if (e == nullptr) continue;
    std::unique_ptr<AcDbEntity> piece;
    const Acad::ErrorStatus es = e->getTransformedCopy(m, piece);
    if (es != Acad::eOk) return es;
    // Pieces are new entities: they carry no handles of the block's own entities.
    if (cadhost::ObjectAccess::extras(static_cast<const AcDbObject&>(*piece)) != nullptr)
      cadhost::ObjectAccess::extras(*piece).appData.clear();
    out.push_back(std::move(piece));
  }
  pieces = std::move(out);
  return Acad::eOk;
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
