#include "cadhost/db/database_impl.h"

#include <atomic>
#include <mutex>

#include "cadhost/db/raw_objects.h"

namespace cadhost {
namespace {

// An id is (database serial << 32) | index. Serials are never reused, so an id of a destroyed
// database finds nothing instead of another database's object.
constexpr int kSerialShift = 32;

struct Registry {
  std::mutex mutex;
  std::unordered_map<std::uint32_t, DatabaseImpl*> bySerial;
  std::uint32_t nextSerial = 1;
};

Registry& registry() {
  static Registry r;
  return r;
}

AcDbObjectId makeId(std::uint32_t serial, std::uint32_t index) {
  AcDbObjectId id;
  id.setFromOldId((static_cast<std::uint64_t>(serial) << kSerialShift) | index);
  return id;
}

TagList Tags(std::initializer_list<std::pair<int, const char*>> list) {
  TagList out;
  out.reserve(list.size());
  for (const auto& [code, value] : list) out.push_back({code, value});
  return out;
}

}  // namespace

std::string FoldName(std::string_view name) {
  std::string out(name);
  for (char& c : out)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return out;
}

DatabaseImpl::DatabaseImpl(AcDbDatabase* owner) : m_owner(owner) {
  Registry& r = registry();
  std::lock_guard lock(r.mutex);
  m_serial = r.nextSerial++;
  r.bySerial[m_serial] = this;
  m_objects.emplace_back();  // index 0 is the null id
}

DatabaseImpl::~DatabaseImpl() {
  {
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    r.bySerial.erase(m_serial);
  }
  // Objects go first: their destructors may still ask their ids about this database.
  m_objects.clear();
}

DatabaseImpl* DatabaseImpl::of(AcDbObjectId id) {
  if (id.isNull()) return nullptr;
  const auto serial = static_cast<std::uint32_t>(id.asOldId() >> kSerialShift);
  Registry& r = registry();
  std::lock_guard lock(r.mutex);
  const auto it = r.bySerial.find(serial);
  return it == r.bySerial.end() ? nullptr : it->second;
}

AcDbObject* DatabaseImpl::lookup(AcDbObjectId id) {
  DatabaseImpl* impl = of(id);
  return impl != nullptr ? impl->object(id) : nullptr;
}

AcDbObject* DatabaseImpl::object(AcDbObjectId id) const {
  if (static_cast<std::uint32_t>(id.asOldId() >> kSerialShift) != m_serial) return nullptr;
  const auto index = static_cast<std::uint32_t>(id.asOldId());
  return index < m_objects.size() ? m_objects[index].get() : nullptr;
}

void DatabaseImpl::forget(AcDbObjectId id, const AcDbObject* o) {
  const auto index = static_cast<std::uint32_t>(id.asOldId());
  if (object(id) == o && o != nullptr) m_objects[index].release();
}

AcDbObjectId DatabaseImpl::idOfHandle(AcDbHandle handle) const {
  const auto it = m_byHandle.find(handle.value());
  return it == m_byHandle.end() ? AcDbObjectId() : makeId(m_serial, it->second);
}

AcDbObjectId DatabaseImpl::add(std::unique_ptr<AcDbObject> object, AcDbObjectId owner,
                               AcDbHandle handle) {
  return adopt(object.release(), owner, handle);
}

AcDbObjectId DatabaseImpl::adopt(AcDbObject* object, AcDbObjectId owner, AcDbHandle handle) {
  const auto index = static_cast<std::uint32_t>(m_objects.size());
  if (handle.isNull() || handle.value() >= kMaxHandle || m_byHandle.count(handle.value()) != 0)
    handle = newHandle();
  if (handle.value() >= m_nextHandle) m_nextHandle = handle.value() + 1;
  m_objects.emplace_back(object);
  m_byHandle.emplace(handle.value(), index);
  const AcDbObjectId id = makeId(m_serial, index);
  ObjectAccess::attach(*object, m_owner, id, handle, owner);
  giveFollowersHandles(*object);
  if (m_observer != nullptr) m_observer->added(id);
  return id;
}

std::unique_ptr<AcDbObject> DatabaseImpl::exchange(AcDbObjectId id,
                                                   std::unique_ptr<AcDbObject> incoming) {
  if (static_cast<std::uint32_t>(id.asOldId() >> kSerialShift) != m_serial) return incoming;
  const auto index = static_cast<std::uint32_t>(id.asOldId());
  if (index == 0 || index >= m_objects.size()) return incoming;
  // The handles an object holds: its own and those of its followers.
  const auto handlesOf = [](const AcDbObject& o) {
    std::vector<std::uint64_t> out = {o.getDbHandle().value()};
    if (const DxfExtras* x = ObjectAccess::extras(o))
      for (const RawFollower& f : x->followers)
        if (!f.handle.isNull()) out.push_back(f.handle.value());
    return out;
  };
  std::unique_ptr<AcDbObject> outgoing = std::move(m_objects[index]);
  if (outgoing)
    for (std::uint64_t h : handlesOf(*outgoing))
      if (const auto it = m_byHandle.find(h); it != m_byHandle.end() && it->second == index)
        m_byHandle.erase(it);
  if (incoming) {
    ObjectAccess::resetOpens(*incoming);
    for (std::uint64_t h : handlesOf(*incoming)) m_byHandle[h] = index;
  }
  m_objects[index] = std::move(incoming);
  return outgoing;
}

void DatabaseImpl::giveFollowersHandles(AcDbObject& object) {
  if (AcDbBlockTableRecord::cast(&object) != nullptr) {
    // A block record is written with its BLOCK and ENDBLK entities; each needs a handle.
    DxfExtras& x = ObjectAccess::extras(object);
    if (x.followers.size() < 2) x.followers.resize(2);
    x.followers[0].type = "BLOCK";
    x.followers[1].type = "ENDBLK";
  }
  if (ObjectAccess::extras(static_cast<const AcDbObject&>(object)) == nullptr) return;
  DxfExtras& x = ObjectAccess::extras(object);
  for (std::size_t i = 0; i < x.followers.size(); ++i) setFollowerHandle(object, i, x.followers[i].handle);
}

void DatabaseImpl::setFollowerHandle(AcDbObject& object, std::size_t i, AcDbHandle handle) {
  // Followers are no objects of their own; their handles are booked to the object they follow.
  const auto owner = static_cast<std::uint32_t>(object.objectId().asOldId());
  RawFollower& f = ObjectAccess::extras(object).followers[i];
  const auto mine = [&](AcDbHandle h) {
    const auto it = m_byHandle.find(h.value());
    return it != m_byHandle.end() && it->second == owner;
  };
  if (!f.handle.isNull() && mine(f.handle) && f.handle != handle) m_byHandle.erase(f.handle.value());
  if (handle.isNull() || handle.value() >= kMaxHandle ||
      (m_byHandle.count(handle.value()) != 0 && !mine(handle))) {
    handle = f.handle.isNull() || !mine(f.handle) ? newHandle() : f.handle;
  }
  if (handle.value() >= m_nextHandle) m_nextHandle = handle.value() + 1;
  m_byHandle[handle.value()] = owner;
  f.handle = handle;
}

AcDbObjectId DatabaseImpl::addRecord(AcDbSymbolTable& table,
                                     std::unique_ptr<AcDbSymbolTableRecord> record,
                                     AcDbHandle handle) {
  const std::string key = FoldName(record->name());
  auto& index = ObjectAccess::index(table);
  if (ObjectAccess::uniqueNames(table) && index.count(key) != 0) return AcDbObjectId();
  willChange(table);
  const AcDbObjectId id = add(std::move(record), table.objectId(), handle);
  ObjectAccess::records(table).push_back(id);
  index.emplace(key, id);
  return id;
}

AcDbObjectId DatabaseImpl::recordId(AcDbObjectId tableId, std::string_view name) const {
  const auto* table = get<AcDbSymbolTable>(tableId);
  if (table == nullptr) return AcDbObjectId();
  const auto& index = ObjectAccess::index(const_cast<AcDbSymbolTable&>(*table));
  const auto it = index.find(FoldName(name));
  return it == index.end() ? AcDbObjectId() : it->second;
}

AcDbObjectId DatabaseImpl::appendEntity(AcDbObjectId blockId, std::unique_ptr<AcDbEntity> entity,
                                        AcDbHandle handle) {
  auto* block = get<AcDbBlockTableRecord>(blockId);
  if (block == nullptr) return AcDbObjectId();
  willChange(*block);
  const AcDbObjectId id = add(std::move(entity), blockId, handle);
  ObjectAccess::entities(*block).push_back(id);
  return id;
}

AcDbObjectId DatabaseImpl::tableId(std::string_view dxfName) const {
  if (dxfName == "BLOCK_RECORD") return blockTable;
  if (dxfName == "LAYER") return layerTable;
  if (dxfName == "LTYPE") return linetypeTable;
  if (dxfName == "STYLE") return styleTable;
  for (AcDbObjectId id : rawTables)
    if (get<RawSymbolTable>(id)->dxfName() == dxfName) return id;
  return AcDbObjectId();
}

RawSymbolTable& DatabaseImpl::rawTable(const std::string& dxfName, AcDbHandle handle) {
  if (AcDbObjectId id = tableId(dxfName); !id.isNull()) return *get<RawSymbolTable>(id);
  const AcDbObjectId id = add(std::make_unique<RawSymbolTable>(dxfName), AcDbObjectId(), handle);
  rawTables.push_back(id);
  return *get<RawSymbolTable>(id);
}

void DatabaseImpl::ensureTables() {
  auto rawRecord = [&](const std::string& table, const char* name, TagList body) {
    RawSymbolTable& t = rawTable(table);
    if (!recordId(t.objectId(), name).isNull()) return;
    auto r = std::make_unique<RawRecord>(table);
    ObjectAccess::setName(*r, name);
    ObjectAccess::extras(*r).body = std::move(body);
    addRecord(t, std::move(r));
  };
  auto ensureTable = [&](AcDbObjectId& slot, std::unique_ptr<AcDbSymbolTable> t) {
    if (slot.isNull()) slot = add(std::move(t), AcDbObjectId());
    return get<AcDbSymbolTable>(slot);
  };
  auto ensureRecord = [&](AcDbObjectId table, const char* name,
                          std::unique_ptr<AcDbSymbolTableRecord> r) {
    AcDbObjectId id = recordId(table, name);
    if (!id.isNull()) return id;
    ObjectAccess::setName(*r, name);
    return addRecord(*get<AcDbSymbolTable>(table), std::move(r));
  };
  if (tableId("VPORT").isNull())
    rawRecord("VPORT", "*Active",
              Tags({{100, "AcDbViewportTableRecord"}, {10, "0"}, {20, "0"}, {11, "1"}, {21, "1"},
                    {12, "210"}, {22, "148.5"}, {13, "0"}, {23, "0"}, {14, "10"}, {24, "10"},
                    {15, "10"}, {25, "10"}, {16, "0"}, {26, "0"}, {36, "1"}, {17, "0"},
                    {27, "0"}, {37, "0"}, {40, "297"}, {41, "1.414"}, {42, "50"}, {43, "0"},
                    {44, "0"}, {50, "0"}, {51, "0"}, {71, "0"}, {72, "1000"}, {73, "1"},
                    {74, "3"}, {75, "0"}, {76, "0"}, {77, "0"}, {78, "0"}}));

  ensureTable(linetypeTable, std::make_unique<AcDbLinetypeTable>());
  auto linetype = [&](const char* name, const char* comments) {
    auto r = std::make_unique<AcDbLinetypeTableRecord>();
    r->setComments(comments);
    return ensureRecord(linetypeTable, name, std::move(r));
  };
  byBlock = linetype("ByBlock", "");
  byLayer = linetype("ByLayer", "");
  continuous = linetype("Continuous", "Solid line");

  ensureTable(layerTable, std::make_unique<AcDbLayerTable>());
  auto layer0 = std::make_unique<AcDbLayerTableRecord>();
  layer0->setLinetypeObjectId(continuous);
  const AcDbObjectId zero = ensureRecord(layerTable, "0", std::move(layer0));
  if (header.clayer.isNull()) header.clayer = zero;

  ensureTable(styleTable, std::make_unique<AcDbTextStyleTable>());
  auto standard = std::make_unique<AcDbTextStyleTableRecord>();
  standard->setFileName("txt");
  const AcDbObjectId std0 = ensureRecord(styleTable, "Standard", std::move(standard));
  if (header.textstyle.isNull()) header.textstyle = std0;
  if (header.celtype.isNull()) header.celtype = byLayer;

  rawTable("VIEW");
  rawTable("UCS");
  rawRecord("APPID", "ACAD", Tags({{100, "AcDbRegAppTableRecord"}}));
  if (tableId("DIMSTYLE").isNull())
    rawRecord("DIMSTYLE", "Standard",
              Tags({{100, "AcDbDimStyleTableRecord"}, {40, "1"}, {41, "2.5"}, {42, "0.625"},
                    {43, "3.75"}, {44, "1.25"}, {140, "2.5"}, {141, "2.5"}, {147, "0.625"},
                    {77, "1"}, {78, "8"}, {271, "2"}, {272, "2"}}));

  ensureTable(blockTable, std::make_unique<AcDbBlockTable>());
  if (modelSpace.isNull())
    modelSpace = ensureRecord(blockTable, "*Model_Space", std::make_unique<AcDbBlockTableRecord>());
  if (paperSpace.isNull())
    paperSpace = ensureRecord(blockTable, "*Paper_Space", std::make_unique<AcDbBlockTableRecord>());
}

void DatabaseImpl::ensureObjects() {
  if (!objects.empty()) return;
  // The dictionaries and layouts every drawing file of this version has.
  auto rawObject = [&](const char* type, AcDbObjectId owner, TagList body) {
    auto o = std::make_unique<RawObject>(type);
    ObjectAccess::extras(*o).body = std::move(body);
    const AcDbObjectId id = add(std::move(o), owner);
    objects.push_back(id);
    return id;
  };
  const AcDbHandle root = newHandle(), groups = newHandle(), layouts = newHandle();
  const AcDbHandle modelLayout = newHandle(), paperLayout = newHandle();
  const std::string hGroups = groups.toString(), hLayouts = layouts.toString();
  const std::string hModel = modelLayout.toString(), hPaper = paperLayout.toString();
  const AcDbObjectId rootId =
      add(std::make_unique<RawObject>("DICTIONARY"), AcDbObjectId(), root);
  objects.push_back(rootId);
  ObjectAccess::extras(*object(rootId)).body =
      Tags({{100, "AcDbDictionary"}, {281, "1"}, {3, "ACAD_GROUP"}, {350, hGroups.c_str()},
            {3, "ACAD_LAYOUT"}, {350, hLayouts.c_str()}});
  const AcDbObjectId groupsId = rawObject("DICTIONARY", rootId, {});
  (void)groupsId;
  const AcDbObjectId layoutsId = rawObject(
      "DICTIONARY", rootId,
      Tags({{100, "AcDbDictionary"}, {281, "1"}, {3, "Layout1"}, {350, hPaper.c_str()},
            {3, "Model"}, {350, hModel.c_str()}}));
  // The handles were reserved above so that the dictionaries could name them first.
  auto fixHandle = [&](AcDbObjectId id, AcDbHandle want) {
    AcDbObject* o = object(id);
    m_byHandle.erase(o->getDbHandle().value());
    m_byHandle[want.value()] = static_cast<std::uint32_t>(id.asOldId());
    ObjectAccess::attach(*o, m_owner, id, want, o->ownerId());
  };
  fixHandle(objects[1], groups);
  ObjectAccess::extras(*object(objects[1])).body =
      Tags({{100, "AcDbDictionary"}, {281, "1"}});
  fixHandle(layoutsId, layouts);

  auto layout = [&](const char* name, const char* paper, int plotFlags, int tab,
                    AcDbObjectId block) {
    const std::string flags = std::to_string(plotFlags), order = std::to_string(tab);
    const std::string blockHandle = object(block)->getDbHandle().toString();
    return rawObject(
        "LAYOUT", layoutsId,
        Tags({{100, "AcDbPlotSettings"}, {1, ""}, {4, paper}, {6, ""}, {40, "0"}, {41, "0"},
              {42, "0"}, {43, "0"}, {44, "0"}, {45, "0"}, {46, "0"}, {47, "0"}, {48, "0"},
              {49, "0"}, {140, "0"}, {141, "0"}, {142, "1"}, {143, "1"}, {70, flags.c_str()},
              {72, "1"}, {73, "0"}, {74, "5"}, {7, ""}, {75, "16"}, {147, "1"}, {148, "0"},
              {149, "0"}, {100, "AcDbLayout"}, {1, name}, {70, "1"}, {71, order.c_str()},
              {10, "0"}, {20, "0"}, {11, "420"}, {21, "297"}, {12, "0"}, {22, "0"},
              {32, "0"}, {14, "0"}, {24, "0"}, {34, "0"}, {15, "0"}, {25, "0"}, {35, "0"},
              {146, "0"}, {13, "0"}, {23, "0"}, {33, "0"}, {16, "1"}, {26, "0"}, {36, "0"},
              {17, "0"}, {27, "1"}, {37, "0"}, {76, "0"}, {330, blockHandle.c_str()}}));
  };
  fixHandle(layout("Model", "A3", 1712, 0, modelSpace), modelLayout);
  fixHandle(layout("Layout1", "A4", 688, 1, paperSpace), paperLayout);
  ObjectAccess::extras(*object(modelSpace)).body = Tags({{340, hModel.c_str()}});
  ObjectAccess::extras(*object(paperSpace)).body = Tags({{340, hPaper.c_str()}});
}

}  // namespace cadhost
