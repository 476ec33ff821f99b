#pragma once
// Host-internal access to the private state of database objects, and the drawing-file data the
// host keeps without modelling it. Not part of the SDK: plug-ins never include this file.

#include <string>
#include <vector>

#include "cadhost/sdk/dbents.h"
#include "cadhost/sdk/dbsymtb.h"

namespace cadhost {

// One group code and its value as UTF-8 text.
struct DxfTag {
  int code = 0;
  std::string value;
  bool operator==(const DxfTag&) const = default;
};
using TagList = std::vector<DxfTag>;

// An entity that belongs to the one before it in a drawing file: the ATTRIBs of an INSERT,
// the VERTEXes of a POLYLINE, and the closing SEQEND.
struct RawFollower {
  std::string type;
  AcDbHandle handle;  // null until the owner is in a database
  TagList tags;       // everything after the owner handle
};

// What a drawing file said about an object that the host does not model, kept so that saving
// writes it back. Pointers to other objects are handles of the object's own database.
struct DxfExtras {
  TagList appData;   // 102 {...} groups (reactors, extension dictionary)
  TagList common;    // other groups of the common part (AcDbEntity, symbol table record)
  TagList body;      // other groups of the class's own part
  TagList xdata;     // 1001 groups and their data
  std::vector<RawFollower> followers;
  bool empty() const {
    return appData.empty() && common.empty() && body.empty() && xdata.empty() &&
           followers.empty();
  }
};

// A DXF pointer group (soft or hard pointer or owner, or an extended-data handle).
inline bool IsPointerCode(int code) {
  return (code >= 320 && code <= 369) || (code >= 390 && code <= 399) ||
         (code >= 480 && code <= 481) || code == 1005;
}

// ASCII case folding for record names.
std::string FoldName(std::string_view name);

class ObjectAccess {
 public:
  static void attach(AcDbObject& o, AcDbDatabase* db, AcDbObjectId id, AcDbHandle handle,
                     AcDbObjectId owner) {
    o.m_db = db;
    o.m_id = id;
    o.m_handle = handle;
    o.m_owner = owner;
  }
  static void setOwner(AcDbObject& o, AcDbObjectId owner) { o.m_owner = owner; }
  static void setErased(AcDbObject& o, bool erased) { o.m_erased = erased; }
  static void openForWrite(AcDbObject& o) { o.m_writer = true; }
  static void resetOpens(AcDbObject& o) {
    o.m_writer = false;
    o.m_readers = 0;
  }
  static int& readers(AcDbObject& o) { return o.m_readers; }
  static bool& writer(AcDbObject& o) { return o.m_writer; }

  // The extras of an object, made on first use.
  static DxfExtras& extras(AcDbObject& o);
  static const DxfExtras* extras(const AcDbObject& o) { return o.m_extras.get(); }
  static void dropExtras(AcDbObject& o) { o.m_extras.reset(); }

  static void setName(AcDbSymbolTableRecord& r, std::string name) { r.m_name = std::move(name); }

  // Entity properties without the open check (reading files, copying between databases).
  static void setLayer(AcDbEntity& e, AcDbObjectId id) { e.m_layer = id; }
  static void setLinetype(AcDbEntity& e, AcDbObjectId id) { e.m_linetype = id; }
  static void setColor(AcDbEntity& e, const AcCmColor& c) { e.m_color = c; }
  static void setLineWeight(AcDbEntity& e, AcDb::LineWeight w) { e.m_lineWeight = w; }
  static void setLinetypeScale(AcDbEntity& e, double s) { e.m_linetypeScale = s; }

  static std::vector<AcDbObjectId>& entities(AcDbBlockTableRecord& b) { return b.m_entities; }
  static const std::vector<AcDbObjectId>& entities(const AcDbBlockTableRecord& b) {
    return b.m_entities;
  }
  static int& blockFlags(AcDbBlockTableRecord& b) { return b.m_flags; }
  static int blockFlags(const AcDbBlockTableRecord& b) { return b.m_flags; }

  static std::vector<AcDbObjectId>& records(AcDbSymbolTable& t) { return t.m_records; }
  static const std::vector<AcDbObjectId>& records(const AcDbSymbolTable& t) {
    return t.m_records;
  }
  static std::unordered_map<std::string, AcDbObjectId>& index(AcDbSymbolTable& t) {
    return t.m_index;
  }
  static const AcRxClass* recordClass(const AcDbSymbolTable& t) { return t.m_recordClass; }
  static bool& uniqueNames(AcDbSymbolTable& t) { return t.m_uniqueNames; }

  static int& layerFlags(AcDbLayerTableRecord& l) { return l.m_flags; }
  static int layerFlags(const AcDbLayerTableRecord& l) { return l.m_flags; }
  static int& styleFlags(AcDbTextStyleTableRecord& s) { return s.m_flags; }
  static int styleFlags(const AcDbTextStyleTableRecord& s) { return s.m_flags; }
  static int& styleGeneration(AcDbTextStyleTableRecord& s) { return s.m_generation; }
  static int styleGeneration(const AcDbTextStyleTableRecord& s) { return s.m_generation; }
  static int dashFlags(const AcDbLinetypeTableRecord& l, int i) { return l.m_dashes[i].flags; }
  static void setDashFlags(AcDbLinetypeTableRecord& l, int i, int f) { l.m_dashes[i].flags = f; }
};

}  // namespace cadhost

namespace cadhost {

// Lets the host change a database object through its setters without the open protocol
// (reading files, copying), and restores the object's open state afterwards.
class WriteScope {
 public:
  explicit WriteScope(AcDbObject& o) : m_o(o), m_was(ObjectAccess::writer(o)) {
    ObjectAccess::writer(o) = true;
  }
  ~WriteScope() { ObjectAccess::writer(m_o) = m_was; }
  WriteScope(const WriteScope&) = delete;
  WriteScope& operator=(const WriteScope&) = delete;

 private:
  AcDbObject& m_o;
  bool m_was;
};

}  // namespace cadhost

// Defines desc() and isA() of a class declared with ACRX_DECLARE_MEMBERS.
#define CADHOST_DEFINE_MEMBERS(CLASS, PARENT)                  \
  const AcRxClass* CLASS::desc() {                             \
    static const AcRxClass c(#CLASS, PARENT::desc());          \
    return &c;                                                 \
  }                                                            \
  const AcRxClass* CLASS::isA() const { return desc(); }
