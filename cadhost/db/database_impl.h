#pragma once
// The inside of a drawing database: the object store, ids and handles, the tables, the header
// values and what a drawing file held that the host keeps without modelling it.

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "cadhost/db/object_access.h"
#include "cadhost/sdk/dbdatabase.h"

namespace cadhost {

class RawSymbolTable;

// Header values the database keeps; every other header variable of a file read is kept as read.
struct HeaderValues {
  std::string acadver;  // version of the file read ("" for a new drawing)
  std::string codepage = "ANSI_1252";
  int insunits = 4;
  int measurement = 1;
  AcGePoint3d insbase;
  double textsize = 2.5;
  double ltscale = 1.0;
  bool tilemode = true;
  AcDbObjectId clayer;
  AcDbObjectId textstyle;
  AcDbObjectId celtype;
  // Other variables, in file order: name and the groups of its value.
  std::vector<std::pair<std::string, TagList>> others;
  bool operator==(const HeaderValues&) const = default;
};

// A whole section the host does not interpret (CLASSES, THUMBNAILIMAGE, ACDSDATA, ...).
struct RawSection {
  std::string name;
  TagList tags;
};

// Told of every change to the objects of a store before it happens, so that the change can be
// undone and views can draw it. Changes made while a file is read or a copy is built in a new
// store are not told: no observer is set then.
class ChangeObserver {
 public:
  virtual ~ChangeObserver() = default;
  // `object`, an object of the store, is about to change: it is opened for write, or it is a
  // table or block that gets a record, an entity or a renamed record without being opened.
  virtual void willChange(AcDbObject& object) = 0;
  // `id` has just been added to the store.
  virtual void added(AcDbObjectId id) = 0;
};

class DatabaseImpl {
 public:
  explicit DatabaseImpl(AcDbDatabase* owner);
  ~DatabaseImpl();
  DatabaseImpl(const DatabaseImpl&) = delete;
  DatabaseImpl& operator=(const DatabaseImpl&) = delete;

  // The implementation of a living database's id; nullptr for null and stale ids.
  static DatabaseImpl* of(AcDbObjectId id);
  // The object of an id of any living database; nullptr otherwise.
  static AcDbObject* lookup(AcDbObjectId id);

  AcDbDatabase* owner() const { return m_owner; }
  // Takes ownership of a new object: gives it an id, `handle` (a new one when null or taken)
  // and `owner`. The object stays closed.
  AcDbObjectId add(std::unique_ptr<AcDbObject> object, AcDbObjectId owner,
                   AcDbHandle handle = AcDbHandle());
  // As add() for an object the caller made with new and still holds.
  AcDbObjectId adopt(AcDbObject* object, AcDbObjectId owner, AcDbHandle handle = AcDbHandle());
  AcDbObject* object(AcDbObjectId id) const;
  // Called by an object of this store that its owner deleted by mistake: the store lets go of
  // it, so the id stops naming anything instead of the store deleting it a second time.
  void forget(AcDbObjectId id, const AcDbObject* object);
  AcDbObjectId idOfHandle(AcDbHandle handle) const;
  // A handle no object of this store has.
  AcDbHandle newHandle() {
    while (m_byHandle.count(m_nextHandle) != 0) ++m_nextHandle;
    return AcDbHandle(m_nextHandle++);
  }
  // Handles this far up are refused: the next handle after them would overflow.
  static constexpr std::uint64_t kMaxHandle = std::uint64_t(1) << 62;
  std::uint64_t handseed() const { return m_nextHandle; }
  // New handles start above `top` from now on.
  void reserveHandles(std::uint64_t top) { m_nextHandle = std::max(m_nextHandle, top + 1); }
  // Sets the next handle to one past the largest in use (after reading a file).
  void compactHandseed() {
    std::uint64_t top = 0;
    for (const auto& [h, index] : m_byHandle) top = std::max(top, h);
    m_nextHandle = top + 1;
  }
  std::size_t objectCount() const { return m_objects.size(); }
  // Sets the next handle back (undo): the handles above it must be free.
  void setHandseed(std::uint64_t next) { m_nextHandle = next; }

  // The one observer of the store's changes, or null (not owned).
  void setObserver(ChangeObserver* observer) { m_observer = observer; }
  ChangeObserver* observer() const { return m_observer; }
  void willChange(AcDbObject& object) {
    if (m_observer != nullptr) m_observer->willChange(object);
  }
  // Puts `incoming` in the place of the object of `id` and returns the object that was there,
  // taken out of the store; either may be null (an object added back, or taken out). The
  // objects keep their id, handle and owner fields, so that an object taken out can be put
  // back later: `incoming` must be such an object or a full copy made with those fields of
  // `id`. Handles follow the objects. The incoming object is closed. For undo and redo.
  std::unique_ptr<AcDbObject> exchange(AcDbObjectId id, std::unique_ptr<AcDbObject> incoming);

  // Adds `record` to `table` without the open protocol; returns its id or null when the name
  // is taken (unique tables).
  AcDbObjectId addRecord(AcDbSymbolTable& table, std::unique_ptr<AcDbSymbolTableRecord> record,
                         AcDbHandle handle = AcDbHandle());
  // Record of that name in a table, or null.
  AcDbObjectId recordId(AcDbObjectId table, std::string_view name) const;
  template <typename T>
  T* get(AcDbObjectId id) const {
    return T::cast(object(id));
  }
  // Appends an entity to a block without the open protocol; gives the BLOCK/ENDBLK followers
  // of new block records their handles.
  AcDbObjectId appendEntity(AcDbObjectId block, std::unique_ptr<AcDbEntity> entity,
                            AcDbHandle handle = AcDbHandle());
  void giveFollowersHandles(AcDbObject& object);
  // Gives follower i of `object` the handle `handle`, or a new one when it is null or taken.
  void setFollowerHandle(AcDbObject& object, std::size_t i, AcDbHandle handle);

  // Builds the default contents of a new drawing.
  void buildDefaults() {
    ensureTables();
    ensureObjects();
  }
  // Adds the tables and records every drawing has, where missing: layer "0", the linetypes
  // ByBlock, ByLayer and Continuous, style "Standard", the two spaces, APPID "ACAD", DIMSTYLE
  // "Standard", VPORT "*Active"; and sets the current layer, style and linetype when unset.
  void ensureTables();
  // Adds the root dictionary with the layout dictionary and the two layouts, linked to the
  // spaces. For drawings that have no OBJECTS section.
  void ensureObjects();
  // The table object of a DXF table name (LAYER, VPORT, ...), or null.
  AcDbObjectId tableId(std::string_view dxfName) const;
  // A table the host does not model, made on first use with a new handle (or `handle`).
  RawSymbolTable& rawTable(const std::string& dxfName, AcDbHandle handle = AcDbHandle());

  AcDbObjectId blockTable, layerTable, linetypeTable, styleTable;
  std::vector<AcDbObjectId> rawTables;  // in file order
  AcDbObjectId modelSpace, paperSpace;
  AcDbObjectId byLayer, byBlock, continuous;
  HeaderValues header;
  std::vector<RawSection> sections;    // kept sections, in file order, before OBJECTS
  std::vector<AcDbObjectId> objects;   // the OBJECTS section, in file order
  std::string filename;
  DrawingFileReport report;

 private:
  AcDbDatabase* m_owner;
  std::uint32_t m_serial;
  std::vector<std::unique_ptr<AcDbObject>> m_objects;  // by id index; [0] unused
  std::unordered_map<std::uint64_t, std::uint32_t> m_byHandle;
  std::uint64_t m_nextHandle = 1;
  ChangeObserver* m_observer = nullptr;
};

}  // namespace cadhost
