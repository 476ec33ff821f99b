// Symbol tables, their records and iterators, and appending entities to blocks.

#include <cmath>
#include <cstring>
#include <unordered_set>

#include "cadhost/db/database_impl.h"
#include "cadhost/db/raw_objects.h"
#include "cadhost/sdk/dbents.h"

CADHOST_DEFINE_MEMBERS(AcDbSymbolTableRecord, AcDbObject)
CADHOST_DEFINE_MEMBERS(AcDbLayerTableRecord, AcDbSymbolTableRecord)
CADHOST_DEFINE_MEMBERS(AcDbLinetypeTableRecord, AcDbSymbolTableRecord)
CADHOST_DEFINE_MEMBERS(AcDbTextStyleTableRecord, AcDbSymbolTableRecord)
CADHOST_DEFINE_MEMBERS(AcDbBlockTableRecord, AcDbSymbolTableRecord)
CADHOST_DEFINE_MEMBERS(AcDbSymbolTable, AcDbObject)
CADHOST_DEFINE_MEMBERS(AcDbBlockTable, AcDbSymbolTable)
CADHOST_DEFINE_MEMBERS(AcDbLayerTable, AcDbSymbolTable)
CADHOST_DEFINE_MEMBERS(AcDbLinetypeTable, AcDbSymbolTable)
CADHOST_DEFINE_MEMBERS(AcDbTextStyleTable, AcDbSymbolTable)

using cadhost::DatabaseImpl;
using cadhost::ObjectAccess;

#define CADHOST_RECORD_SETTER(CLASS, NAME, TYPE, MEMBER) \
  Acad::ErrorStatus CLASS::NAME(TYPE value) {           \
    if (!assertWriteEnabled()) return Acad::eNotOpenForWrite; \
    MEMBER = value;                                     \
    return Acad::eOk;                                   \
  }

namespace {

// The host's rule for record names. Anonymous block names ("*U", "*D12", "*Model_Space")
// pass only when `star` allows a leading '*'.
bool IsValidName(std::string_view name, bool star) {
  if (name.empty() || name.size() > 255) return false;
  for (std::size_t i = 0; i < name.size(); ++i) {
    const auto c = static_cast<unsigned char>(name[i]);
    if (c < 0x20 || c == 0x7F) return false;
    if (c == '*' && i == 0 && star) continue;
    if (std::strchr("<>/\\\":;?*|,=`", c) != nullptr) return false;
  }
  return true;
}

DatabaseImpl* ImplOf(const AcDbObject& o) {
  return o.database() != nullptr ? &o.database()->impl() : nullptr;
}

}  // namespace

// ---- records

Acad::ErrorStatus AcDbSymbolTableRecord::getName(std::string& name) const {
  name = m_name;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbSymbolTableRecord::setName(const ACHAR* name) {
  if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
  if (name == nullptr || !IsValidName(name, isKindOf(AcDbBlockTableRecord::desc())))
    return Acad::eInvalidSymbolTableName;
  DatabaseImpl* impl = ImplOf(*this);
  auto* table = impl != nullptr ? impl->get<AcDbSymbolTable>(ownerId()) : nullptr;
  if (table != nullptr && ObjectAccess::uniqueNames(*table)) {
    auto& index = ObjectAccess::index(*table);
    const std::string key = cadhost::FoldName(name);
    const auto it = index.find(key);
    if (it != index.end() && it->second != objectId()) return Acad::eDuplicateRecordName;
    impl->willChange(*table);
    index.erase(cadhost::FoldName(m_name));
    index[key] = objectId();
  }
  m_name = name;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbLayerTableRecord::setColor(const AcCmColor& color) {
  if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
  if (color.isByLayer() || color.isByBlock()) return Acad::eInvalidInput;
  m_color = color;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbLayerTableRecord::setLinetypeObjectId(AcDbObjectId id) {
  if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
  if (!id.isNull() && AcDbLinetypeTableRecord::cast(DatabaseImpl::lookup(id)) == nullptr)
    return Acad::eInvalidInput;
  m_linetype = id;
  return Acad::eOk;
}

CADHOST_RECORD_SETTER(AcDbLayerTableRecord, setLineWeight, AcDb::LineWeight, m_lineWeight)
CADHOST_RECORD_SETTER(AcDbLayerTableRecord, setIsOff, bool, m_off)
CADHOST_RECORD_SETTER(AcDbLayerTableRecord, setIsPlottable, bool, m_plottable)

Acad::ErrorStatus AcDbLayerTableRecord::setIsFrozen(bool frozen) {
  if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
  m_flags = frozen ? (m_flags | 1) : (m_flags & ~1);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbLayerTableRecord::setIsLocked(bool locked) {
  if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
  m_flags = locked ? (m_flags | 4) : (m_flags & ~4);
  return Acad::eOk;
}

// Linetype dashes.

Acad::ErrorStatus AcDbLinetypeTableRecord::setComments(const ACHAR* text) {
  if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
  m_comments = text != nullptr ? text : "";
  return Acad::eOk;
}

double AcDbLinetypeTableRecord::patternLength() const {
  double sum = 0.0;
  for (const Dash& d : m_dashes) sum += std::abs(d.length);
  return sum;
}

Acad::ErrorStatus AcDbLinetypeTableRecord::setNumDashes(int count) {
  if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
  if (count < 0 || count > 12) return Acad::eInvalidInput;  // the host's pattern limit
  m_dashes.resize(static_cast<std::size_t>(count));
  return Acad::eOk;
}

#define CADHOST_DASH_GET(TYPE, NAME, EXPR, FALLBACK)                         \
  TYPE AcDbLinetypeTableRecord::NAME(int i) const {                          \
    if (i < 0 || i >= numDashes()) return FALLBACK;                          \
    const Dash& d = m_dashes[static_cast<std::size_t>(i)];                   \
    return EXPR;                                                             \
  }
#define CADHOST_DASH_SET(NAME, TYPE, STMT)                                   \
  Acad::ErrorStatus AcDbLinetypeTableRecord::NAME(int i, TYPE value) {       \
    if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;                \
    if (i < 0 || i >= numDashes()) return Acad::eInvalidIndex;               \
    Dash& d = m_dashes[static_cast<std::size_t>(i)];                         \
    STMT;                                                                    \
    return Acad::eOk;                                                        \
  }

CADHOST_DASH_GET(double, dashLengthAt, d.length, 0.0)
CADHOST_DASH_GET(std::string, textAt, d.text, std::string())
CADHOST_DASH_GET(AcDbObjectId, shapeStyleAt, d.style, AcDbObjectId())
CADHOST_DASH_GET(double, shapeScaleAt, d.scale, 0.0)
CADHOST_DASH_GET(double, shapeRotationAt, d.rotation, 0.0)
CADHOST_DASH_GET(AcGeVector2d, shapeOffsetAt, d.offset, AcGeVector2d())
CADHOST_DASH_GET(int, shapeNumberAt, d.shapeNumber, 0)
CADHOST_DASH_GET(bool, shapeIsUcsOrientedAt, (d.flags & 1) != 0, false)
CADHOST_DASH_SET(setDashLengthAt, double, d.length = value)
CADHOST_DASH_SET(setTextAt, const ACHAR*,
                 d.text = value != nullptr ? value : "";
                 d.flags = d.text.empty() ? (d.flags & ~2) : ((d.flags | 2) & ~4))
CADHOST_DASH_SET(setShapeStyleAt, AcDbObjectId, d.style = value)
CADHOST_DASH_SET(setShapeScaleAt, double, d.scale = value)
CADHOST_DASH_SET(setShapeRotationAt, double, d.rotation = value)
CADHOST_DASH_SET(setShapeOffsetAt, const AcGeVector2d&, d.offset = value)
CADHOST_DASH_SET(setShapeNumberAt, int,
                 d.shapeNumber = value;
                 d.flags = value != 0 ? ((d.flags | 4) & ~2) : (d.flags & ~4))
CADHOST_DASH_SET(setShapeIsUcsOrientedAt, bool, d.flags = value ? (d.flags | 1) : (d.flags & ~1))

// Text styles.

CADHOST_RECORD_SETTER(AcDbTextStyleTableRecord, setObliquingAngle, double, m_oblique)

Acad::ErrorStatus AcDbTextStyleTableRecord::setFileName(const ACHAR* name) {
  if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
  m_fileName = name != nullptr ? name : "";
  return Acad::eOk;
}

Acad::ErrorStatus AcDbTextStyleTableRecord::setBigFontFileName(const ACHAR* name) {
  if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
  m_bigFontFileName = name != nullptr ? name : "";
  return Acad::eOk;
}

Acad::ErrorStatus AcDbTextStyleTableRecord::setFont(const ACHAR* typeface, bool bold,
                                                    bool italic, int charset,
                                                    int pitchAndFamily) {
  if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
  if (charset < 0 || charset > 255 || pitchAndFamily < 0 || pitchAndFamily > 255)
    return Acad::eInvalidInput;
  m_typeface = typeface != nullptr ? typeface : "";
  m_bold = bold;
  m_italic = italic;
  m_charset = charset;
  m_pitchAndFamily = pitchAndFamily;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbTextStyleTableRecord::font(std::string& typeface, bool& bold,
                                                 bool& italic, int& charset,
                                                 int& pitchAndFamily) const {
  typeface = m_typeface;
  bold = m_bold;
  italic = m_italic;
  charset = m_charset;
  pitchAndFamily = m_pitchAndFamily;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbTextStyleTableRecord::setTextSize(double size) {
  if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
  if (!(size >= 0.0) || !std::isfinite(size)) return Acad::eInvalidInput;
  m_textSize = size;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbTextStyleTableRecord::setXScale(double scale) {
  if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
  if (!(scale > 0.0) || !std::isfinite(scale)) return Acad::eInvalidInput;
  m_xScale = scale;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbTextStyleTableRecord::setPriorSize(double size) {
  if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
  if (!(size > 0.0) || !std::isfinite(size)) return Acad::eInvalidInput;
  m_priorSize = size;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbTextStyleTableRecord::setIsShapeFile(bool shapes) {
  if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
  m_flags = shapes ? (m_flags | 1) : (m_flags & ~1);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbTextStyleTableRecord::setIsVertical(bool vertical) {
  if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
  m_flags = vertical ? (m_flags | 4) : (m_flags & ~4);
  return Acad::eOk;
}

// ---- block records

AcDbBlockTableRecord::~AcDbBlockTableRecord() = default;

AcDbObject* AcDbBlockTableRecord::subClone() const {
  // A copy of a block definition holds no entities: entities belong to one block only.
  auto* copy = new AcDbBlockTableRecord(*this);
  copy->m_entities.clear();
  return copy;
}

CADHOST_RECORD_SETTER(AcDbBlockTableRecord, setOrigin, const AcGePoint3d&, m_origin)

Acad::ErrorStatus AcDbBlockTableRecord::setComments(const ACHAR* text) {
  if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
  m_comments = text != nullptr ? text : "";
  return Acad::eOk;
}

bool AcDbBlockTableRecord::isLayout() const {
  const std::string n = cadhost::FoldName(name());
  return n == "*MODEL_SPACE" || n.rfind("*PAPER_SPACE", 0) == 0;
}

bool AcDbBlockTableRecord::isAnonymous() const {
  return !name().empty() && name()[0] == '*' && !isLayout();
}

std::vector<AcDbObjectId> AcDbBlockTableRecord::entityIds() const {
  std::vector<AcDbObjectId> out;
  out.reserve(m_entities.size());
  for (AcDbObjectId id : m_entities)
    if (!id.isErased()) out.push_back(id);
  return out;
}

namespace {

// True when block `from` is `target` or references it at any depth. Each block is looked into
// once: blocks nested ten deep with ten references each are a hundred million references.
bool BlockReaches(DatabaseImpl& impl, AcDbObjectId from, AcDbObjectId target,
                  std::unordered_set<AcDbObjectId>& seen, int depth = 0) {
  if (from == target) return true;
  if (depth > 64) return true;  // deeper nesting than any drawing needs: treat as a cycle
  if (!seen.insert(from).second) return false;
  const auto* block = impl.get<AcDbBlockTableRecord>(from);
  if (block == nullptr) return false;
  for (AcDbObjectId id : ObjectAccess::entities(*block)) {
    const auto* ref = impl.get<AcDbBlockReference>(id);
    if (ref != nullptr && !ref->isErased() &&
        BlockReaches(impl, ref->blockTableRecord(), target, seen, depth + 1))
      return true;
  }
  return false;
}

// Iterators over a list of ids: a position, moved past erased ids when asked.
bool Done(const std::vector<AcDbObjectId>& ids, long pos) {
  return pos < 0 || pos >= static_cast<long>(ids.size());
}

void Skip(const std::vector<AcDbObjectId>& ids, long& pos, bool forward, bool skipErased) {
  while (skipErased && !Done(ids, pos) && ids[static_cast<std::size_t>(pos)].isErased())
    pos += forward ? 1 : -1;
}

long First(const std::vector<AcDbObjectId>& ids, bool atBeginning) {
  return atBeginning ? 0 : static_cast<long>(ids.size()) - 1;
}

bool InDatabase(AcDbObjectId id, const AcDbDatabase* db) {
  return id.isNull() || id.database() == db;
}

}  // namespace

Acad::ErrorStatus AcDbBlockTableRecord::appendAcDbEntity(AcDbObjectId& id, AcDbEntity* entity) {
  id = AcDbObjectId();
  if (entity == nullptr) return Acad::eNullObjectPointer;
  if (database() == nullptr) return Acad::eNotInDatabase;
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (entity->database() != nullptr) return Acad::eAlreadyInDb;
  AcDbDatabase* db = database();
  DatabaseImpl& impl = db->impl();
  if (!InDatabase(entity->layerId(), db) || !InDatabase(entity->linetypeId(), db))
    return Acad::eWrongDatabase;
  auto* text = AcDbText::cast(entity);
  if (text != nullptr && !InDatabase(text->textStyle(), db)) return Acad::eWrongDatabase;
  auto* mtext = AcDbMText::cast(entity);
  if (mtext != nullptr && !InDatabase(mtext->textStyle(), db)) return Acad::eWrongDatabase;
  if (const auto* ref = AcDbBlockReference::cast(entity); ref != nullptr) {
    if (impl.get<AcDbBlockTableRecord>(ref->blockTableRecord()) == nullptr)
      return ref->blockTableRecord().database() != db ? Acad::eWrongDatabase
                                                      : Acad::eInvalidInput;
    std::unordered_set<AcDbObjectId> seen;
    if (BlockReaches(impl, ref->blockTableRecord(), objectId(), seen)) return Acad::eSelfReference;
  }
  if (entity->layerId().isNull()) ObjectAccess::setLayer(*entity, db->clayer());
  if (entity->linetypeId().isNull()) ObjectAccess::setLinetype(*entity, db->celtype());
  if (text != nullptr) {
    if (text->textStyle().isNull()) text->setTextStyle(db->textstyle());
    if (!(text->height() > 0.0)) {
      const auto* style = impl.get<AcDbTextStyleTableRecord>(text->textStyle());
      text->setHeight(style != nullptr && style->textSize() > 0.0 ? style->textSize()
                                                                  : db->textsize());
    }
  }
  if (mtext != nullptr) {
    if (mtext->textStyle().isNull()) mtext->setTextStyle(db->textstyle());
    if (!(mtext->textHeight() > 0.0)) {
      const auto* style = impl.get<AcDbTextStyleTableRecord>(mtext->textStyle());
      mtext->setTextHeight(style != nullptr && style->textSize() > 0.0 ? style->textSize() : db->textsize());
    }
  }
  id = impl.adopt(entity, objectId());
  m_entities.push_back(id);
  ObjectAccess::openForWrite(*entity);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockTableRecord::appendAcDbEntity(AcDbEntity* entity) {
  AcDbObjectId id;
  return appendAcDbEntity(id, entity);
}

Acad::ErrorStatus AcDbBlockTableRecord::newIterator(
    std::unique_ptr<AcDbBlockTableRecordIterator>& iterator, bool atBeginning,
    bool skipErased) const {
  iterator.reset(new AcDbBlockTableRecordIterator(this, skipErased));
  iterator->start(atBeginning);
  return Acad::eOk;
}

void AcDbBlockTableRecordIterator::start(bool atBeginning) {
  m_pos = First(m_block->m_entities, atBeginning);
  skip(atBeginning);
}

bool AcDbBlockTableRecordIterator::done() const { return Done(m_block->m_entities, m_pos); }

void AcDbBlockTableRecordIterator::step(bool forward) {
  if (done()) return;
  m_pos += forward ? 1 : -1;
  skip(forward);
}

void AcDbBlockTableRecordIterator::skip(bool forward) { Skip(m_block->m_entities, m_pos, forward, m_skipErased); }

Acad::ErrorStatus AcDbBlockTableRecordIterator::getEntityId(AcDbObjectId& id) const {
  if (done()) return Acad::eInvalidIndex;
  id = m_block->m_entities[static_cast<std::size_t>(m_pos)];
  return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockTableRecordIterator::getEntity(AcDbEntity*& entity,
                                                          AcDb::OpenMode mode,
                                                          bool openErased) const {
  entity = nullptr;
  AcDbObjectId id;
  const Acad::ErrorStatus es = getEntityId(id);
  return es != Acad::eOk ? es : acdbOpenAcDbEntity(entity, id, mode, openErased);
}

// ---- tables

AcDbSymbolTable::~AcDbSymbolTable() = default;

bool AcDbSymbolTable::has(const ACHAR* name) const {
  AcDbObjectId id;
  return getAt(name, id) == Acad::eOk;
}

bool AcDbSymbolTable::has(AcDbObjectId id) const {
  const AcDbObject* o = DatabaseImpl::lookup(id);
  return o != nullptr && !o->isErased() && o->ownerId() == objectId() && !objectId().isNull();
}

Acad::ErrorStatus AcDbSymbolTable::getAt(const ACHAR* name, AcDbObjectId& id,
                                         bool getErased) const {
  id = AcDbObjectId();
  if (name == nullptr) return Acad::eInvalidInput;
  const auto it = m_index.find(cadhost::FoldName(name));
  if (it == m_index.end()) return Acad::eKeyNotFound;
  if (it->second.isErased() && !getErased) return Acad::eKeyNotFound;
  id = it->second;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbSymbolTable::getAt(const ACHAR* name, AcDbSymbolTableRecord*& record,
                                         AcDb::OpenMode mode, bool openErased) const {
  return getAtTyped(name, record, mode, openErased);
}

Acad::ErrorStatus AcDbSymbolTable::add(AcDbSymbolTableRecord* record) {
  AcDbObjectId id;
  return add(id, record);
}

Acad::ErrorStatus AcDbSymbolTable::add(AcDbObjectId& id, AcDbSymbolTableRecord* record) {
  id = AcDbObjectId();
  if (record == nullptr) return Acad::eNullObjectPointer;
  if (database() == nullptr) return Acad::eNotInDatabase;
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (record->database() != nullptr) return Acad::eAlreadyInDb;
  if (!record->isKindOf(m_recordClass)) return Acad::eNotThatKindOfClass;
  const bool blocks = isKindOf(AcDbBlockTable::desc());
  std::string name = record->name();
  if (!IsValidName(name, blocks)) return Acad::eInvalidSymbolTableName;
  if (blocks && name.size() == 2 && name[0] == '*') {
    // "*U", "*D", ...: the host numbers anonymous blocks.
    for (unsigned n = 1;; ++n) {
      const std::string candidate = name + std::to_string(n);
      if (m_index.count(cadhost::FoldName(candidate)) == 0) {
        name = candidate;
        break;
      }
    }
    ObjectAccess::setName(*record, name);
  }
  const std::string key = cadhost::FoldName(name);
  if (m_uniqueNames && m_index.count(key) != 0) return Acad::eDuplicateRecordName;
  AcDbDatabase* db = database();
  if (auto* layer = AcDbLayerTableRecord::cast(record); layer != nullptr) {
    if (!InDatabase(layer->linetypeObjectId(), db)) return Acad::eWrongDatabase;
    if (layer->linetypeObjectId().isNull()) layer->setLinetypeObjectId(db->continuousLinetype());
  }
  id = db->impl().adopt(record, objectId());
  m_records.push_back(id);
  m_index.emplace(key, id);
  ObjectAccess::openForWrite(*record);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbSymbolTable::newIterator(std::unique_ptr<AcDbSymbolTableIterator>& iterator,
                                               bool atBeginning, bool skipErased) const {
  iterator.reset(new AcDbSymbolTableIterator(this, skipErased));
  iterator->start(atBeginning);
  return Acad::eOk;
}

std::vector<AcDbObjectId> AcDbSymbolTable::recordIds() const { return m_records; }

void AcDbSymbolTableIterator::start(bool atBeginning) {
  m_pos = First(m_table->m_records, atBeginning);
  skip(atBeginning);
}

bool AcDbSymbolTableIterator::done() const { return Done(m_table->m_records, m_pos); }

void AcDbSymbolTableIterator::step(bool forward) {
  if (done()) return;
  m_pos += forward ? 1 : -1;
  skip(forward);
}

void AcDbSymbolTableIterator::skip(bool forward) { Skip(m_table->m_records, m_pos, forward, m_skipErased); }

Acad::ErrorStatus AcDbSymbolTableIterator::getRecordId(AcDbObjectId& id) const {
  if (done()) return Acad::eInvalidIndex;
  id = m_table->m_records[static_cast<std::size_t>(m_pos)];
  return Acad::eOk;
}

Acad::ErrorStatus AcDbSymbolTableIterator::getRecord(AcDbSymbolTableRecord*& record,
                                                     AcDb::OpenMode mode,
                                                     bool openErased) const {
  record = nullptr;
  AcDbObjectId id;
  const Acad::ErrorStatus es = getRecordId(id);
  return es != Acad::eOk ? es : acdbOpenObject(record, id, mode, openErased);
}

// ---- tables and records the host does not model

namespace cadhost {

CADHOST_DEFINE_MEMBERS(RawEntity, AcDbEntity)
CADHOST_DEFINE_MEMBERS(RawObject, AcDbObject)
CADHOST_DEFINE_MEMBERS(RawRecord, AcDbSymbolTableRecord)
CADHOST_DEFINE_MEMBERS(RawSymbolTable, AcDbSymbolTable)

RawSymbolTable::RawSymbolTable(std::string dxfName)
    : AcDbSymbolTable(RawRecord::desc()), m_name(std::move(dxfName)) {
  // Viewport configurations repeat the name "*Active".
  ObjectAccess::uniqueNames(*this) = m_name != "VPORT";
}

const char* RecordMarkerOf(std::string_view table) {
  if (table == "VPORT") return "AcDbViewportTableRecord";
  if (table == "VIEW") return "AcDbViewTableRecord";
  if (table == "UCS") return "AcDbUCSTableRecord";
  if (table == "APPID") return "AcDbRegAppTableRecord";
  if (table == "DIMSTYLE") return "AcDbDimStyleTableRecord";
  if (table == "LAYER") return "AcDbLayerTableRecord";
  if (table == "LTYPE") return "AcDbLinetypeTableRecord";
  if (table == "STYLE") return "AcDbTextStyleTableRecord";
  if (table == "BLOCK_RECORD") return "AcDbBlockTableRecord";
  return nullptr;
}

}  // namespace cadhost
