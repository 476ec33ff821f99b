// Objects, entities, colours, extents, ids and the open protocol.

#include <cstdio>
#include <limits>

#include "cadhost/db/database_impl.h"
#include "cadhost/db/object_access.h"
#include "cadhost/sdk/dbapserv.h"

namespace {
constexpr int kMaxReaders = 256;
}

bool AcRxClass::isDerivedFrom(const AcRxClass* other) const {
  for (const AcRxClass* c = this; c != nullptr; c = c->m_parent)
    if (c == other) return true;
  return false;
}

const AcRxClass* AcRxObject::desc() {
  static const AcRxClass c("AcRxObject", nullptr);
  return &c;
}
const AcRxClass* AcRxObject::isA() const { return desc(); }

CADHOST_DEFINE_MEMBERS(AcDbObject, AcRxObject)
CADHOST_DEFINE_MEMBERS(AcDbEntity, AcDbObject)

const char* acadErrorStatusText(Acad::ErrorStatus s) {
  switch (s) {
    case Acad::eOk: return "eOk";
    case Acad::eNotImplementedYet: return "eNotImplementedYet";
    case Acad::eNotApplicable: return "eNotApplicable";
    case Acad::eInvalidInput: return "eInvalidInput";
    case Acad::eNullObjectId: return "eNullObjectId";
    case Acad::eNullObjectPointer: return "eNullObjectPointer";
    case Acad::eUnknownHandle: return "eUnknownHandle";
    case Acad::eWasErased: return "eWasErased";
    case Acad::eNotAnEntity: return "eNotAnEntity";
    case Acad::eNotThatKindOfClass: return "eNotThatKindOfClass";
    case Acad::eWasOpenForRead: return "eWasOpenForRead";
    case Acad::eWasOpenForWrite: return "eWasOpenForWrite";
    case Acad::eTooManyReaders: return "eTooManyReaders";
    case Acad::eNotOpenForWrite: return "eNotOpenForWrite";
    case Acad::eNotOpenForRead: return "eNotOpenForRead";
    case Acad::eNotInDatabase: return "eNotInDatabase";
    case Acad::eAlreadyInDb: return "eAlreadyInDb";
    case Acad::eWrongDatabase: return "eWrongDatabase";
    case Acad::eKeyNotFound: return "eKeyNotFound";
    case Acad::eDuplicateRecordName: return "eDuplicateRecordName";
    case Acad::eDuplicateRecord: return "eDuplicateRecord";
    case Acad::eInvalidSymbolTableName: return "eInvalidSymbolTableName";
    case Acad::eInvalidIndex: return "eInvalidIndex";
    case Acad::eInvalidExtents: return "eInvalidExtents";
    case Acad::eDegenerateGeometry: return "eDegenerateGeometry";
    case Acad::eCannotScaleNonUniformly: return "eCannotScaleNonUniformly";
    case Acad::eSelfReference: return "eSelfReference";
    case Acad::eFileNotFound: return "eFileNotFound";
    case Acad::eFileAccessErr: return "eFileAccessErr";
    case Acad::eBadDxfFile: return "eBadDxfFile";
    case Acad::eUndefinedLineType: return "eUndefinedLineType";
    case Acad::eOutOfMemory: return "eOutOfMemory";
  }
  return "eUnknownStatus";
}

// ---- ids and handles

const AcDbObjectId AcDbObjectId::kNull;

std::string AcDbHandle::toString() const {
  char buf[24];
  std::snprintf(buf, sizeof buf, "%llX", static_cast<unsigned long long>(m_value));
  return buf;
}

bool AcDbObjectId::isValid() const { return cadhost::DatabaseImpl::lookup(*this) != nullptr; }

bool AcDbObjectId::isErased() const {
  const AcDbObject* o = cadhost::DatabaseImpl::lookup(*this);
  return o != nullptr && o->isErased();
}

AcDbDatabase* AcDbObjectId::database() const {
  const AcDbObject* o = cadhost::DatabaseImpl::lookup(*this);
  return o != nullptr ? o->database() : nullptr;
}

AcDbHandle AcDbObjectId::handle() const {
  const AcDbObject* o = cadhost::DatabaseImpl::lookup(*this);
  return o != nullptr ? o->getDbHandle() : AcDbHandle();
}

// ---- colour

AcCmColor AcCmColor::fromIndex(Adesk::UInt16 index) {
  AcCmColor c;
  c.setColorIndex(index);
  return c;
}

AcCmColor::ColorMethod AcCmColor::colorMethod() const {
  if (m_hasRgb) return kByColor;
  if (m_index == 256) return kByLayer;
  if (m_index == 0) return kByBlock;
  return kByACI;
}

Acad::ErrorStatus AcCmColor::setColorIndex(Adesk::UInt16 index) {
  if (index > 256) return Acad::eInvalidInput;
  m_index = index;
  m_hasRgb = false;
  m_rgb = 0;
  return Acad::eOk;
}

Acad::ErrorStatus AcCmColor::setRGB(Adesk::UInt8 r, Adesk::UInt8 g, Adesk::UInt8 b) {
  m_hasRgb = true;
  m_rgb = (Adesk::UInt32(r) << 16) | (Adesk::UInt32(g) << 8) | b;
  if (m_index == 0 || m_index == 256) m_index = 7;
  return Acad::eOk;
}

// ---- extents

AcDbExtents::AcDbExtents() {
  constexpr double big = std::numeric_limits<double>::max();
  m_min = {big, big, big};
  m_max = {-big, -big, -big};
}

AcDbExtents::AcDbExtents(const AcGePoint3d& min, const AcGePoint3d& max) : AcDbExtents() {
  addPoint(min);
  addPoint(max);
}

Acad::ErrorStatus AcDbExtents::set(const AcGePoint3d& min, const AcGePoint3d& max) {
  if (min.x > max.x || min.y > max.y || min.z > max.z) return Acad::eInvalidExtents;
  m_min = min;
  m_max = max;
  return Acad::eOk;
}

void AcDbExtents::addPoint(const AcGePoint3d& p) {
  m_min = {std::min(m_min.x, p.x), std::min(m_min.y, p.y), std::min(m_min.z, p.z)};
  m_max = {std::max(m_max.x, p.x), std::max(m_max.y, p.y), std::max(m_max.z, p.z)};
}

void AcDbExtents::addExt(const AcDbExtents& other) {
  if (other.isEmpty()) return;
  addPoint(other.m_min);
  addPoint(other.m_max);
}

void AcDbExtents::expandBy(const AcGeVector3d& v) {
  if (isEmpty()) return;
  addPoint(m_min + v);
  addPoint(m_max + v);
}

void AcDbExtents::transformBy(const AcGeMatrix3d& m) {
  if (isEmpty()) return;
  const AcGePoint3d a = m_min, b = m_max;
  *this = AcDbExtents();
  for (int i = 0; i < 8; ++i) {
    AcGePoint3d p((i & 1) ? b.x : a.x, (i & 2) ? b.y : a.y, (i & 4) ? b.z : a.z);
    addPoint(p.transformBy(m));
  }
}

// ---- objects

AcDbObject::AcDbObject() = default;

AcDbObject::AcDbObject(const AcDbObject& other)
    : AcRxObject(other),
      m_extras(other.m_extras ? std::make_unique<cadhost::DxfExtras>(*other.m_extras)
                              : nullptr) {}

AcDbObject::~AcDbObject() {
  // Deleting an object the database owns is a mistake of the caller; the store forgets it so
  // that the database's own clean-up does not delete it again. While a database is destroyed
  // its ids are gone from the registry and nothing happens here.
  if (m_db != nullptr)
    if (cadhost::DatabaseImpl* impl = cadhost::DatabaseImpl::of(m_id)) impl->forget(m_id, this);
}

std::unique_ptr<AcDbObject> AcDbObject::clone() const {
  return std::unique_ptr<AcDbObject>(subClone());
}

Acad::ErrorStatus AcDbObject::close() {
  if (m_db == nullptr) return Acad::eNotInDatabase;
  if (m_writer) {
    m_writer = false;
    return Acad::eOk;
  }
  if (m_readers > 0) {
    --m_readers;
    return Acad::eOk;
  }
  return Acad::eNotOpenForRead;
}

Acad::ErrorStatus AcDbObject::erase(bool erasing) {
  if (m_db == nullptr) return Acad::eNotInDatabase;
  if (!m_writer) return Acad::eNotOpenForWrite;
  if (isKindOf(AcDbSymbolTableRecord::desc()) || isKindOf(AcDbSymbolTable::desc()))
    return Acad::eNotApplicable;
  m_erased = erasing;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbObject::upgradeOpen() {
  if (m_db == nullptr) return Acad::eNotInDatabase;
  if (m_writer) return Acad::eWasOpenForWrite;
  if (m_readers == 0) return Acad::eNotOpenForRead;
  if (m_readers > 1) return Acad::eWasOpenForRead;
  m_db->impl().willChange(*this);
  m_readers = 0;
  m_writer = true;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbObject::downgradeOpen() {
  if (m_db == nullptr) return Acad::eNotInDatabase;
  if (!m_writer) return Acad::eNotOpenForWrite;
  m_writer = false;
  m_readers = 1;
  return Acad::eOk;
}

cadhost::DxfExtras& cadhost::ObjectAccess::extras(AcDbObject& o) {
  if (!o.m_extras) o.m_extras = std::make_unique<DxfExtras>();
  return *o.m_extras;
}

Acad::ErrorStatus acdbOpenAcDbObject(AcDbObject*& obj, AcDbObjectId id, AcDb::OpenMode mode,
                                     bool openErased) {
  obj = nullptr;
  if (id.isNull()) return Acad::eNullObjectId;
  cadhost::DatabaseImpl* impl = cadhost::DatabaseImpl::of(id);
  AcDbObject* o = impl != nullptr ? impl->object(id) : nullptr;
  if (o == nullptr) return Acad::eUnknownHandle;
  if (o->isErased() && !openErased) return Acad::eWasErased;
  bool& writer = cadhost::ObjectAccess::writer(*o);
  int& readers = cadhost::ObjectAccess::readers(*o);
  if (writer) return Acad::eWasOpenForWrite;
  if (mode == AcDb::kForWrite) {
    if (readers > 0) return Acad::eWasOpenForRead;
    impl->willChange(*o);
    writer = true;
  } else {
    if (readers >= kMaxReaders) return Acad::eTooManyReaders;
    ++readers;
  }
  obj = o;
  return Acad::eOk;
}

Acad::ErrorStatus acdbOpenAcDbEntity(AcDbEntity*& ent, AcDbObjectId id, AcDb::OpenMode mode,
                                     bool openErased) {
  ent = nullptr;
  AcDbObject* o = cadhost::DatabaseImpl::lookup(id);
  if (o != nullptr && AcDbEntity::cast(o) == nullptr) return Acad::eNotAnEntity;
  AcDbObject* opened = nullptr;
  const Acad::ErrorStatus es = acdbOpenAcDbObject(opened, id, mode, openErased);
  if (es == Acad::eOk) ent = AcDbEntity::cast(opened);
  return es;
}

// ---- entities

namespace {

AcDbDatabase* DatabaseFor(const AcDbObject& o) {
  return o.database() != nullptr ? o.database()
                                 : acdbHostApplicationServices()->workingDatabase();
}

AcDbObjectId FindRecord(AcDbDatabase* db, AcDbObjectId table, const ACHAR* name) {
  if (db == nullptr || name == nullptr) return AcDbObjectId();
  return db->impl().recordId(table, name);
}

std::string RecordName(AcDbObjectId id) {
  const auto* r = AcDbSymbolTableRecord::cast(cadhost::DatabaseImpl::lookup(id));
  return r != nullptr ? r->name() : std::string();
}

// eOk when `id` names a record of the class `cls` in the database of `o` (for a new object,
// of any living database).
Acad::ErrorStatus CheckRecord(const AcDbObject& o, AcDbObjectId id, const AcRxClass* cls) {
  const AcDbObject* r = cadhost::DatabaseImpl::lookup(id);
  if (r == nullptr || !r->isKindOf(cls)) return Acad::eInvalidInput;
  return o.database() == nullptr || r->database() == o.database() ? Acad::eOk
                                                                   : Acad::eWrongDatabase;
}

}  // namespace

Acad::ErrorStatus AcDbEntity::setColor(const AcCmColor& color) {
  if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
  m_color = color;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbEntity::setColorIndex(Adesk::UInt16 index) {
  if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
  return m_color.setColorIndex(index);
}

std::string AcDbEntity::layer() const { return RecordName(m_layer); }
std::string AcDbEntity::linetype() const { return RecordName(m_linetype); }

Acad::ErrorStatus AcDbEntity::setLayer(const ACHAR* name) {
  AcDbDatabase* db = DatabaseFor(*this);
  if (db == nullptr) return Acad::eNotInDatabase;
  const AcDbObjectId id = FindRecord(db, db->layerTableId(), name);
  return id.isNull() ? Acad::eKeyNotFound : setLayer(id);
}

Acad::ErrorStatus AcDbEntity::setLayer(AcDbObjectId id) {
  if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
  if (id.isNull()) return Acad::eNullObjectId;
  if (Acad::ErrorStatus es = CheckRecord(*this, id, AcDbLayerTableRecord::desc()); es != Acad::eOk)
    return es;
  m_layer = id;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbEntity::setLinetype(const ACHAR* name) {
  AcDbDatabase* db = DatabaseFor(*this);
  if (db == nullptr) return Acad::eNotInDatabase;
  const AcDbObjectId id = FindRecord(db, db->linetypeTableId(), name);
  return id.isNull() ? Acad::eKeyNotFound : setLinetype(id);
}

Acad::ErrorStatus AcDbEntity::setLinetype(AcDbObjectId id) {
  if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
  if (id.isNull()) return Acad::eNullObjectId;
  if (Acad::ErrorStatus es = CheckRecord(*this, id, AcDbLinetypeTableRecord::desc()); es != Acad::eOk)
    return es;
  m_linetype = id;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbEntity::setLinetypeScale(double scale) {
  if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
  if (!(scale > 0.0)) return Acad::eInvalidInput;
  m_linetypeScale = scale;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbEntity::setLineWeight(AcDb::LineWeight weight) {
  if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
  const int w = weight;
  if (w < -3 || w > 211) return Acad::eInvalidInput;
  m_lineWeight = weight;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbEntity::setPropertiesFrom(const AcDbEntity* other) {
  if (other == nullptr) return Acad::eNullObjectPointer;
  if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
  m_layer = other->m_layer;
  m_linetype = other->m_linetype;
  m_color = other->m_color;
  m_linetypeScale = other->m_linetypeScale;
  m_lineWeight = other->m_lineWeight;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbEntity::setDatabaseDefaults(AcDbDatabase* db) {
  if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
  if (db == nullptr) db = DatabaseFor(*this);
  if (db == nullptr) return Acad::eNotInDatabase;
  m_layer = db->clayer();
  m_linetype = db->celtype();
  m_color = AcCmColor();
  m_linetypeScale = 1.0;
  m_lineWeight = AcDb::kLnWtByLayer;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbEntity::getGeomExtents(AcDbExtents& extents) const {
  extents = AcDbExtents();
  return addExtentsUnder(AcGeMatrix3d::kIdentity, extents) && !extents.isEmpty()
             ? Acad::eOk
             : Acad::eInvalidExtents;
}

bool AcDbEntity::addExtentsUnder(const AcGeMatrix3d&, AcDbExtents&) const { return false; }

Acad::ErrorStatus AcDbEntity::transformBy(const AcGeMatrix3d& m) {
  if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
  if (std::abs(m.det()) < 1e-300) return Acad::eDegenerateGeometry;
  return subTransformBy(m);
}

Acad::ErrorStatus AcDbEntity::subTransformBy(const AcGeMatrix3d&) {
  return Acad::eNotApplicable;
}

Acad::ErrorStatus AcDbEntity::getTransformedCopy(const AcGeMatrix3d& m,
                                                 std::unique_ptr<AcDbEntity>& copy) const {
  copy.reset();
  std::unique_ptr<AcDbEntity> c(static_cast<AcDbEntity*>(subClone()));
  const Acad::ErrorStatus es = c->transformBy(m);
  if (es == Acad::eOk) copy = std::move(c);
  return es;
}

Acad::ErrorStatus AcDbEntity::explode(std::vector<std::unique_ptr<AcDbEntity>>&) const {
  return Acad::eNotApplicable;
}
