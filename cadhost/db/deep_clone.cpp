// Copying entities between databases: wblock and insert, with the records they use.

#include <cstdlib>
#include <unordered_map>

#include "cadhost/db/database_impl.h"
#include "cadhost/db/raw_objects.h"
#include "cadhost/sdk/dbents.h"

namespace cadhost {
namespace {

// Copies entities from one database into another. Records are matched by name: a record of
// the same name in the target is used as it is; others are copied. Anonymous blocks always get
// a new name, since "*U3" of one drawing is unrelated to "*U3" of another.
class Cloner {
 public:
  Cloner(DatabaseImpl& src, DatabaseImpl& dst) : m_src(src), m_dst(dst) {}

  AcDbObjectId cloneEntity(const AcDbEntity& e, AcDbObjectId block) {
    std::unique_ptr<AcDbObject> copy = e.clone();
    auto* entity = static_cast<AcDbEntity*>(copy.get());
    ObjectAccess::setLayer(*entity, mapRecord(e.layerId()));
    ObjectAccess::setLinetype(*entity, mapRecord(e.linetypeId()));
    if (auto* text = AcDbText::cast(entity)) text->setTextStyle(mapRecord(text->textStyle()));
    if (auto* mtext = AcDbMText::cast(entity)) mtext->setTextStyle(mapRecord(mtext->textStyle()));
    if (auto* ref = AcDbBlockReference::cast(entity))
      setBlock(*ref, mapRecord(ref->blockTableRecord()));
    if (auto* raw = RawEntity::cast(entity)) fixRawNames(*raw);
    fixExtras(*entity, /*keepStructure=*/RawEntity::cast(entity) != nullptr);
    copy.release();
    const AcDbObjectId id =
        m_dst.appendEntity(block, std::unique_ptr<AcDbEntity>(entity));
    m_handles[e.getDbHandle().value()] = id.handle().value();
    return id;
  }

  // The target's record for a record of the source (null stays null).
  AcDbObjectId mapRecord(AcDbObjectId srcId) {
    if (srcId.isNull()) return srcId;
    if (const auto it = m_ids.find(srcId); it != m_ids.end()) return it->second;
    const auto* rec = AcDbSymbolTableRecord::cast(m_src.object(srcId));
    if (rec == nullptr) return AcDbObjectId();
    const AcDbObjectId table = m_dst.tableId(tableName(*rec));
    auto* block = AcDbBlockTableRecord::cast(rec);
    std::string name = rec->name();
    if (block != nullptr && block->isAnonymous()) {
      name = anonymousName(name);
    } else if (AcDbObjectId existing = m_dst.recordId(table, name); !existing.isNull()) {
      m_ids[srcId] = existing;
      return existing;
    }
    std::unique_ptr<AcDbObject> copy = rec->clone();
    auto* record = static_cast<AcDbSymbolTableRecord*>(copy.release());
    ObjectAccess::setName(*record, name);
    if (block != nullptr) ObjectAccess::dropExtras(*record);  // layout links stay behind
    fixExtras(*record, RawRecord::cast(record) != nullptr);
    if (auto* layer = AcDbLayerTableRecord::cast(record))
      layer->setLinetypeObjectId(mapRecord(layer->linetypeObjectId()));
    if (auto* lt = AcDbLinetypeTableRecord::cast(record))
      for (int i = 0; i < lt->numDashes(); ++i)
        lt->setShapeStyleAt(i, mapRecord(lt->shapeStyleAt(i)));
    auto* table_ = m_dst.get<AcDbSymbolTable>(table);
    const AcDbObjectId id =
        m_dst.addRecord(*table_, std::unique_ptr<AcDbSymbolTableRecord>(record));
    m_ids[srcId] = id;
    m_handles[rec->getDbHandle().value()] = id.handle().value();
    if (block != nullptr)
      for (AcDbObjectId e : block->entityIds())
        if (const auto* ent = AcDbEntity::cast(m_src.object(e))) cloneEntity(*ent, id);
    return id;
  }

 private:
  std::string tableName(const AcDbSymbolTableRecord& r) const {
    if (AcDbLayerTableRecord::cast(&r)) return "LAYER";
    if (AcDbLinetypeTableRecord::cast(&r)) return "LTYPE";
    if (AcDbTextStyleTableRecord::cast(&r)) return "STYLE";
    if (AcDbBlockTableRecord::cast(&r)) return "BLOCK_RECORD";
    if (const auto* raw = RawRecord::cast(&r)) {
      m_dst.rawTable(raw->dxfType());
      return raw->dxfType();
    }
    return "";
  }

  std::string anonymousName(const std::string& name) {
    const std::string prefix = name.substr(0, 2);
    for (unsigned n = 1;; ++n) {
      const std::string candidate = prefix + std::to_string(n);
      if (m_dst.recordId(m_dst.blockTable, candidate).isNull()) return candidate;
    }
  }

  static void setBlock(AcDbBlockReference& ref, AcDbObjectId block) {
    // The copy is not in a database yet, so the setter's database check does not apply.
    ref.setBlockTableRecord(block);
  }

  AcDbObjectId recordByName(AcDbObjectId srcTable, const std::string& name) {
    return mapRecord(m_src.recordId(srcTable, name));
  }

  std::string nameOf(AcDbObjectId id) const {
    const auto* r = AcDbSymbolTableRecord::cast(m_dst.object(id));
    return r != nullptr ? r->name() : std::string();
  }

  // Records that unmodelled entities name in their groups: text styles (7), blocks (2 of
  // dimensions) and dimension styles (3).
  void fixRawNames(RawEntity& e) {
    DxfExtras& x = ObjectAccess::extras(e);
    const bool dimension = e.dxfType() == "DIMENSION";
    for (DxfTag& t : x.body) {
      if (t.code == 7) {
        const AcDbObjectId id = recordByName(m_src.styleTable, t.value);
        if (!id.isNull()) t.value = nameOf(id);
      } else if (t.code == 2 && dimension) {
        const AcDbObjectId id = recordByName(m_src.blockTable, t.value);
        if (!id.isNull()) t.value = nameOf(id);
      } else if (t.code == 3 && dimension) {
        const AcDbObjectId id = recordByName(m_src.tableId("DIMSTYLE"), t.value);
        if (!id.isNull()) t.value = nameOf(id);
      }
    }
    for (RawFollower& f : x.followers) {
      f.handle = AcDbHandle();
      for (DxfTag& t : f.tags) {
        if (t.code == 8) recordByName(m_src.layerTable, t.value);
        if (t.code == 6) recordByName(m_src.linetypeTable, t.value);
        if (t.code == 7) recordByName(m_src.styleTable, t.value);
      }
    }
  }

  // Pointers only mean something inside their own drawing: those to objects copied along are
  // rewritten, the others become null ("0") where the groups' layout must stay, or are left
  // out. Reactors and extension dictionaries stay behind. Application names of extended data
  // are copied along.
  void fixExtras(AcDbObject& o, bool keepStructure) {
    if (ObjectAccess::extras(static_cast<const AcDbObject&>(o)) == nullptr) return;
    DxfExtras& x = ObjectAccess::extras(o);
    x.appData.clear();
    auto fix = [&](TagList& tags, bool keep) {
      TagList out;
      out.reserve(tags.size());
      for (DxfTag& t : tags) {
        if (IsPointerCode(t.code)) {
          const auto it = m_handles.find(std::strtoull(t.value.c_str(), nullptr, 16));
          if (it != m_handles.end()) {
            t.value = AcDbHandle(it->second).toString();
          } else if (keep) {
            t.value = "0";
          } else {
            continue;
          }
        }
        if (t.code == 1001) recordByName(m_src.tableId("APPID"), t.value);
        out.push_back(std::move(t));
      }
      tags = std::move(out);
    };
    fix(x.common, false);
    fix(x.body, keepStructure);
    fix(x.xdata, true);
    for (RawFollower& f : x.followers) fix(f.tags, true);
  }

  DatabaseImpl& m_src;
  DatabaseImpl& m_dst;
  std::unordered_map<AcDbObjectId, AcDbObjectId> m_ids;
  std::unordered_map<std::uint64_t, std::uint64_t> m_handles;
};

}  // namespace
}  // namespace cadhost

Acad::ErrorStatus AcDbDatabase::wblock(std::unique_ptr<AcDbDatabase>& output,
                                       const AcDbObjectIdArray& ids,
                                       const AcGePoint3d& basePoint) {
  output.reset();
  if (ids.isEmpty()) return Acad::eInvalidInput;
  for (AcDbObjectId id : ids) {
    if (id.isNull()) return Acad::eNullObjectId;
    const AcDbObject* o = impl().object(id);
    if (o == nullptr) return id.isValid() ? Acad::eWrongDatabase : Acad::eUnknownHandle;
    if (o->isErased()) return Acad::eWasErased;
    if (AcDbEntity::cast(o) == nullptr) return Acad::eNotAnEntity;
  }
  auto out = std::make_unique<AcDbDatabase>(true);
  out->impl().header.insbase = basePoint;
  out->impl().header.insunits = impl().header.insunits;
  out->impl().header.measurement = impl().header.measurement;
  cadhost::Cloner cloner(impl(), out->impl());
  for (AcDbObjectId id : ids)
    cloner.cloneEntity(*AcDbEntity::cast(impl().object(id)), out->modelSpaceId());
  output = std::move(out);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbDatabase::insert(AcDbObjectId& blockId, const ACHAR* blockName,
                                       AcDbDatabase* source, bool /*preserveSourceDatabase*/) {
  blockId = AcDbObjectId();
  if (source == nullptr || blockName == nullptr) return Acad::eNullObjectPointer;
  if (source == this) return Acad::eSelfReference;
  if (source->modelSpaceId().isNull() || impl().blockTable.isNull()) return Acad::eNullObjectId;
  auto* table = impl().get<AcDbBlockTable>(impl().blockTable);
  auto record = std::make_unique<AcDbBlockTableRecord>();
  cadhost::ObjectAccess::setName(*record, blockName);
  if (*blockName == '*' || *blockName == '\0') return Acad::eInvalidSymbolTableName;
  // Validate through the public rule without opening the table for the caller.
  {
    AcDbBlockTableRecord probe;
    if (probe.setName(blockName) != Acad::eOk) return Acad::eInvalidSymbolTableName;
  }
  if (table->has(blockName)) return Acad::eDuplicateRecordName;
  record->setOrigin(source->insbase());
  const AcDbObjectId id = impl().addRecord(*table, std::move(record));
  cadhost::Cloner cloner(source->impl(), impl());
  const auto* space =
      source->impl().get<AcDbBlockTableRecord>(source->modelSpaceId());
  for (AcDbObjectId e : space->entityIds())
    if (const auto* ent = AcDbEntity::cast(source->impl().object(e))) cloner.cloneEntity(*ent, id);
  blockId = id;
  return Acad::eOk;
}
