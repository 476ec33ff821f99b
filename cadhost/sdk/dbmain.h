#pragma once
// Database objects and entities, the run-time class tests, and opening objects by id.
//
// Ownership follows the host: an object made with `new` belongs to the caller until it is
// added to a database (appendAcDbEntity, a symbol table's add, addAcDbObject); from then on the
// database owns it, the caller holds it open for write and gives it back with close(), and it
// must never be deleted (a delete anyway makes the database forget the object: its id stops
// being valid). Objects are reached again through their id with acdbOpenAcDbObject
// (or AcDbObjectPointer), which hands out a pointer to the database's object until close().
// Any number of readers or one writer may hold an object open at a time.

#include <memory>
#include <string>
#include <vector>

#include "cadhost/sdk/acadstrc.h"
#include "cadhost/sdk/acdb.h"
#include "cadhost/sdk/dbid.h"
#include "cadhost/sdk/gegeom.h"

// The host's internals, declared ahead outside the exported region: a class takes its
// visibility from its first declaration.
namespace cadhost {
struct DxfExtras;
class ObjectAccess;
}  // namespace cadhost

#pragma GCC visibility push(default)

// Run-time class description: a name and the parent class.
class AcRxClass {
 public:
  AcRxClass(const char* name, const AcRxClass* parent) : m_name(name), m_parent(parent) {}
  const char* name() const { return m_name; }
  const AcRxClass* myParent() const { return m_parent; }
  // True when this class is `other` or derives from it.
  bool isDerivedFrom(const AcRxClass* other) const;

 private:
  const char* m_name;
  const AcRxClass* m_parent;
};

// Declares the class-test members of a class: desc() (its description), cast() (nullptr when
// the object is not of this class) and isA().
#define ACRX_DECLARE_MEMBERS(CLASS)                                               \
  static const AcRxClass* desc();                                                 \
  static CLASS* cast(AcRxObject* p) {                                             \
    return p != nullptr && p->isKindOf(desc()) ? static_cast<CLASS*>(p) : nullptr; \
  }                                                                               \
  static const CLASS* cast(const AcRxObject* p) {                                 \
    return p != nullptr && p->isKindOf(desc()) ? static_cast<const CLASS*>(p)     \
                                               : nullptr;                         \
  }                                                                               \
  const AcRxClass* isA() const override

class AcRxObject {
 public:
  virtual ~AcRxObject() = default;
  static const AcRxClass* desc();
  virtual const AcRxClass* isA() const;
  bool isKindOf(const AcRxClass* c) const { return isA()->isDerivedFrom(c); }
};

// A colour: by layer (index 256), by block (index 0), an index 1..255, or a true colour.
class AcCmColor {
 public:
  enum ColorMethod { kByLayer, kByBlock, kByACI, kByColor };
  AcCmColor() = default;
  static AcCmColor fromIndex(Adesk::UInt16 index);

  ColorMethod colorMethod() const;
  // The colour index; for a true colour the index stored with it (the nearest shown when the
  // true colour is not available).
  Adesk::UInt16 colorIndex() const { return m_index; }
  // 0 BYBLOCK, 1..255 an index colour, 256 BYLAYER; other values give eInvalidInput.
  Acad::ErrorStatus setColorIndex(Adesk::UInt16 index);
  bool isByLayer() const { return !m_hasRgb && m_index == 256; }
  bool isByBlock() const { return !m_hasRgb && m_index == 0; }
  bool isByACI() const { return !m_hasRgb && m_index >= 1 && m_index <= 255; }
  // A true colour; the index is kept as the fallback.
  Acad::ErrorStatus setRGB(Adesk::UInt8 r, Adesk::UInt8 g, Adesk::UInt8 b);
  bool hasRGB() const { return m_hasRgb; }
  Adesk::UInt32 rgb() const { return m_rgb; }  // 0x00RRGGBB
  bool operator==(const AcCmColor&) const = default;

 private:
  Adesk::UInt16 m_index = 256;
  bool m_hasRgb = false;
  Adesk::UInt32 m_rgb = 0;
};

// An axis-aligned box in world coordinates. A default-made box is empty: adding a point makes
// it that point.
class AcDbExtents {
 public:
  AcDbExtents();
  AcDbExtents(const AcGePoint3d& min, const AcGePoint3d& max);
  const AcGePoint3d& minPoint() const { return m_min; }
  const AcGePoint3d& maxPoint() const { return m_max; }
  // Sets both corners; eInvalidExtents when min exceeds max in any coordinate.
  Acad::ErrorStatus set(const AcGePoint3d& min, const AcGePoint3d& max);
  void addPoint(const AcGePoint3d& p);
  void addExt(const AcDbExtents& other);
  void expandBy(const AcGeVector3d& v);
  // The box around the eight transformed corners.
  void transformBy(const AcGeMatrix3d& m);
  bool isEmpty() const { return m_min.x > m_max.x; }

 private:
  AcGePoint3d m_min;
  AcGePoint3d m_max;
};

class AcDbObject : public AcRxObject {
 public:
  ACRX_DECLARE_MEMBERS(AcDbObject);
  ~AcDbObject() override;

  AcDbObjectId objectId() const { return m_id; }
  AcDbObjectId ownerId() const { return m_owner; }
  AcDbHandle getDbHandle() const { return m_handle; }
  // The database that owns the object; nullptr while it belongs to the caller.
  AcDbDatabase* database() const { return m_db; }

  bool isReadEnabled() const { return m_db == nullptr || m_readers > 0 || m_writer; }
  // Writable: not yet in a database, or open for write.
  bool isWriteEnabled() const { return m_db == nullptr || m_writer; }
  bool isErased() const { return m_erased; }

  // Gives back one open of a database object. eNotInDatabase for an object that is not in a
  // database (delete it instead), eNotOpenForRead when it is not open.
  Acad::ErrorStatus close();
  // Erases (or with false un-erases) an object open for write. Erased objects keep their id
  // but no longer open (eWasErased) and are not saved. Symbol table records are never erased:
  // entities may name them (eNotApplicable).
  Acad::ErrorStatus erase(bool erasing = true);
  // Turns the one read open of the caller into a write open (eWasOpenForRead when other
  // readers hold it too).
  Acad::ErrorStatus upgradeOpen();
  Acad::ErrorStatus downgradeOpen();

  // A copy that belongs to the caller: same class, same properties, not in any database.
  // Copies of entities keep their layer, linetype and style ids, which name records of the
  // source database.
  std::unique_ptr<AcDbObject> clone() const;

 protected:
  AcDbObject();
  AcDbObject(const AcDbObject& other);  // copies properties, never the database slot
  AcDbObject& operator=(const AcDbObject&) = delete;
  virtual AcDbObject* subClone() const = 0;
  // False (and nothing may change) when a database object is not open for write.
  bool assertWriteEnabled() const { return isWriteEnabled(); }

 private:
  friend class cadhost::ObjectAccess;
  AcDbDatabase* m_db = nullptr;
  AcDbObjectId m_id;
  AcDbObjectId m_owner;
  AcDbHandle m_handle;
  int m_readers = 0;
  bool m_writer = false;
  bool m_erased = false;
  std::unique_ptr<cadhost::DxfExtras> m_extras;  // drawing-file data the host does not model
};

// Base of everything drawn: layer, colour, linetype, lineweight, extents and transforms.
class AcDbEntity : public AcDbObject {
 public:
  ACRX_DECLARE_MEMBERS(AcDbEntity);

  // The block table record that holds the entity (null while not in a database).
  AcDbObjectId blockId() const { return ownerId(); }

  AcCmColor color() const { return m_color; }
  Acad::ErrorStatus setColor(const AcCmColor& color);
  Adesk::UInt16 colorIndex() const { return m_color.colorIndex(); }
  // 0 BYBLOCK, 1..255, 256 BYLAYER.
  Acad::ErrorStatus setColorIndex(Adesk::UInt16 index);

  // Name of the layer ("" while none is set).
  std::string layer() const;
  AcDbObjectId layerId() const { return m_layer; }
  // By name: looked up in the entity's database, or for a new entity in the working database
  // (eKeyNotFound when there is no such layer).
  Acad::ErrorStatus setLayer(const ACHAR* name);
  Acad::ErrorStatus setLayer(AcDbObjectId layerId);

  std::string linetype() const;
  AcDbObjectId linetypeId() const { return m_linetype; }
  Acad::ErrorStatus setLinetype(const ACHAR* name);
  Acad::ErrorStatus setLinetype(AcDbObjectId linetypeId);
  double linetypeScale() const { return m_linetypeScale; }
  Acad::ErrorStatus setLinetypeScale(double scale);

  AcDb::LineWeight lineWeight() const { return m_lineWeight; }
  Acad::ErrorStatus setLineWeight(AcDb::LineWeight weight);

  // Layer, colour, linetype, linetype scale and lineweight of `other`.
  Acad::ErrorStatus setPropertiesFrom(const AcDbEntity* other);
  // The current layer of `db` (the working database when null), BYLAYER colour, linetype and
  // lineweight.
  Acad::ErrorStatus setDatabaseDefaults(AcDbDatabase* db = nullptr);

  // The smallest axis-aligned box around the geometry (arcs and bulges exact, text by the
  // text advance model, block references through their transform). eInvalidExtents when there
  // is no geometry.
  Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const;
  // Applies an affine transform. Circles, arcs, texts, bulged polylines and block references
  // need a transform that scales equally in every direction: otherwise
  // eCannotScaleNonUniformly and the entity is unchanged.
  Acad::ErrorStatus transformBy(const AcGeMatrix3d& m);
  // A transformed copy that belongs to the caller.
  Acad::ErrorStatus getTransformedCopy(const AcGeMatrix3d& m,
                                       std::unique_ptr<AcDbEntity>& copy) const;
  // Simpler entities that together draw the same: block references give their block's
  // entities placed by blockTransform(). eNotApplicable for entities that do not explode.
  virtual Acad::ErrorStatus explode(std::vector<std::unique_ptr<AcDbEntity>>& pieces) const;

  // Extends `extents` by the geometry mapped through `m` (exact under any affine map). Returns
  // false when the entity has no geometry. Used for extents of nested block references.
  virtual bool addExtentsUnder(const AcGeMatrix3d& m, AcDbExtents& extents) const;

  // The kind of entity as drawing files name it ("LINE", "MTEXT", "INSERT"), also for the
  // kinds the host keeps without modelling them ("HATCH", "ATTDEF"). Not part of the classic
  // interface, where the entity's run-time class carries the name.
  virtual const char* dxfName() const { return ""; }

 protected:
  AcDbEntity() = default;
  AcDbEntity(const AcDbEntity&) = default;
  virtual Acad::ErrorStatus subTransformBy(const AcGeMatrix3d& m);

 private:
  friend class cadhost::ObjectAccess;
  AcDbObjectId m_layer;
  AcDbObjectId m_linetype;
  AcCmColor m_color;
  double m_linetypeScale = 1.0;
  AcDb::LineWeight m_lineWeight = AcDb::kLnWtByLayer;
};

// Opens the object of `id`. On success `obj` points to the database's object until close().
// Failures: eNullObjectId, eUnknownHandle (no such object, or its database is gone),
// eWasErased (unless openErased), eWasOpenForWrite, eWasOpenForRead (write while read).
Acad::ErrorStatus acdbOpenAcDbObject(AcDbObject*& obj, AcDbObjectId id, AcDb::OpenMode mode,
                                     bool openErased = false);
// As acdbOpenAcDbObject; eNotAnEntity (and nothing opened) when the object is no entity.
Acad::ErrorStatus acdbOpenAcDbEntity(AcDbEntity*& ent, AcDbObjectId id, AcDb::OpenMode mode,
                                     bool openErased = false);
// As acdbOpenAcDbObject; eNotThatKindOfClass (and nothing opened) when the object is not a T.
template <typename T>
Acad::ErrorStatus acdbOpenObject(T*& obj, AcDbObjectId id, AcDb::OpenMode mode,
                                 bool openErased = false) {
  obj = nullptr;
  AcDbObject* o = nullptr;
  const Acad::ErrorStatus es = acdbOpenAcDbObject(o, id, mode, openErased);
  if (es != Acad::eOk) return es;
  obj = T::cast(o);
  if (obj == nullptr) {
    o->close();
    return Acad::eNotThatKindOfClass;
  }
  return Acad::eOk;
}

// Holds one object open for the life of the pointer and closes it at the end.
template <typename T>
class AcDbObjectPointer {
 public:
  AcDbObjectPointer() = default;
  AcDbObjectPointer(AcDbObjectId id, AcDb::OpenMode mode, bool openErased = false) {
    open(id, mode, openErased);
  }
  ~AcDbObjectPointer() { close(); }
  AcDbObjectPointer(const AcDbObjectPointer&) = delete;
  AcDbObjectPointer& operator=(const AcDbObjectPointer&) = delete;

  // Closes what it held and opens `id`; the result is also kept in openStatus().
  Acad::ErrorStatus open(AcDbObjectId id, AcDb::OpenMode mode, bool openErased = false) {
    close();
    m_status = acdbOpenObject(m_obj, id, mode, openErased);
    return m_status;
  }
  Acad::ErrorStatus openStatus() const { return m_status; }
  // Closes the object now (eOk when nothing was held).
  Acad::ErrorStatus close() {
    Acad::ErrorStatus es = Acad::eOk;
    if (m_obj != nullptr) es = m_obj->close();
    m_obj = nullptr;
    m_status = Acad::eNullObjectPointer;
    return es;
  }
  T* object() const { return m_obj; }
  T* operator->() const { return m_obj; }
  explicit operator bool() const { return m_obj != nullptr; }

 private:
  T* m_obj = nullptr;
  Acad::ErrorStatus m_status = Acad::eNullObjectPointer;
};

using AcDbEntityPointer = AcDbObjectPointer<AcDbEntity>;

#pragma GCC visibility pop
