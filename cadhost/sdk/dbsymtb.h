#pragma once
// Symbol tables (blocks, layers, linetypes, text styles) and their records. Record names are
// compared without regard to ASCII case, as the host does.

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "cadhost/sdk/dbmain.h"

#pragma GCC visibility push(default)

class AcDbSymbolTableRecord : public AcDbObject {
 public:
  ACRX_DECLARE_MEMBERS(AcDbSymbolTableRecord);
  const std::string& name() const { return m_name; }
  Acad::ErrorStatus getName(std::string& name) const;
  // The name inside the record, valid while the record is open and not renamed.
  Acad::ErrorStatus getName(const ACHAR*& name) const {
    name = m_name.c_str();
    return Acad::eOk;
  }
  // eInvalidSymbolTableName for an empty name, one longer than 255 bytes or holding one of
  // < > / \ " : ; ? * | , = ` or a control character; eDuplicateRecordName when the record's
  // table has another record of that name.
  Acad::ErrorStatus setName(const ACHAR* name);

 protected:
  AcDbSymbolTableRecord() = default;
  AcDbSymbolTableRecord(const AcDbSymbolTableRecord&) = default;

 private:
  friend class cadhost::ObjectAccess;
  std::string m_name;
};

class AcDbLayerTableRecord : public AcDbSymbolTableRecord {
 public:
  ACRX_DECLARE_MEMBERS(AcDbLayerTableRecord);
  AcDbLayerTableRecord() = default;

  AcCmColor color() const { return m_color; }
  // An index colour 1..255 or a true colour (layers have no BYLAYER or BYBLOCK).
  Acad::ErrorStatus setColor(const AcCmColor& color);
  AcDbObjectId linetypeObjectId() const { return m_linetype; }
  Acad::ErrorStatus setLinetypeObjectId(AcDbObjectId id);
  AcDb::LineWeight lineWeight() const { return m_lineWeight; }
  Acad::ErrorStatus setLineWeight(AcDb::LineWeight weight);
  bool isOff() const { return m_off; }
  Acad::ErrorStatus setIsOff(bool off);
  bool isFrozen() const { return (m_flags & 1) != 0; }
  Acad::ErrorStatus setIsFrozen(bool frozen);
  bool isLocked() const { return (m_flags & 4) != 0; }
  Acad::ErrorStatus setIsLocked(bool locked);
  bool isPlottable() const { return m_plottable; }
  Acad::ErrorStatus setIsPlottable(bool plottable);

 protected:
  AcDbObject* subClone() const override { return new AcDbLayerTableRecord(*this); }

 private:
  friend class cadhost::ObjectAccess;
  AcCmColor m_color = AcCmColor::fromIndex(7);
  AcDbObjectId m_linetype;
  AcDb::LineWeight m_lineWeight = AcDb::kLnWtByLwDefault;
  int m_flags = 0;
  bool m_off = false;
  bool m_plottable = true;
};

// A linetype: a description and a pattern of dashes (positive), gaps (negative) and dots (0),
// each optionally carrying a text drawn with a text style.
class AcDbLinetypeTableRecord : public AcDbSymbolTableRecord {
 public:
  ACRX_DECLARE_MEMBERS(AcDbLinetypeTableRecord);
  AcDbLinetypeTableRecord() = default;

  const std::string& comments() const { return m_comments; }
  Acad::ErrorStatus setComments(const ACHAR* text);
  // The sum of the absolute dash lengths.
  double patternLength() const;
  int numDashes() const { return static_cast<int>(m_dashes.size()); }
  Acad::ErrorStatus setNumDashes(int count);
  double dashLengthAt(int index) const;
  Acad::ErrorStatus setDashLengthAt(int index, double length);
  // The text of a dash ("" for a plain dash), its style, scale, rotation and offset.
  std::string textAt(int index) const;
  Acad::ErrorStatus setTextAt(int index, const ACHAR* text);
  AcDbObjectId shapeStyleAt(int index) const;
  Acad::ErrorStatus setShapeStyleAt(int index, AcDbObjectId style);
  double shapeScaleAt(int index) const;
  Acad::ErrorStatus setShapeScaleAt(int index, double scale);
  double shapeRotationAt(int index) const;
  Acad::ErrorStatus setShapeRotationAt(int index, double angle);
  AcGeVector2d shapeOffsetAt(int index) const;
  Acad::ErrorStatus setShapeOffsetAt(int index, const AcGeVector2d& offset);
  int shapeNumberAt(int index) const;
  Acad::ErrorStatus setShapeNumberAt(int index, int number);
  // True when the rotation of the dash's text is absolute, not relative to the line.
  bool shapeIsUcsOrientedAt(int index) const;
  Acad::ErrorStatus setShapeIsUcsOrientedAt(int index, bool absolute);

 protected:
  AcDbObject* subClone() const override { return new AcDbLinetypeTableRecord(*this); }

 private:
  friend class cadhost::ObjectAccess;
  struct Dash {
    double length = 0.0;
    int flags = 0;  // 1 absolute rotation, 2 text, 4 shape
    int shapeNumber = 0;
    AcDbObjectId style;
    double scale = 1.0;
    double rotation = 0.0;
    AcGeVector2d offset;
    std::string text;
  };
  std::string m_comments;
  std::vector<Dash> m_dashes;
};

// A text style: a shape font file with an optional big font for East Asian text, or a system
// typeface; a fixed height (0 = asked per text) and a width factor.
class AcDbTextStyleTableRecord : public AcDbSymbolTableRecord {
 public:
  ACRX_DECLARE_MEMBERS(AcDbTextStyleTableRecord);
  AcDbTextStyleTableRecord() = default;

  const std::string& fileName() const { return m_fileName; }
  Acad::ErrorStatus setFileName(const ACHAR* name);
  const std::string& bigFontFileName() const { return m_bigFontFileName; }
  Acad::ErrorStatus setBigFontFileName(const ACHAR* name);
  // A system typeface instead of a shape font; an empty typeface clears it.
  Acad::ErrorStatus setFont(const ACHAR* typeface, bool bold, bool italic, int charset,
                            int pitchAndFamily);
  Acad::ErrorStatus font(std::string& typeface, bool& bold, bool& italic, int& charset,
                         int& pitchAndFamily) const;
  double textSize() const { return m_textSize; }
  Acad::ErrorStatus setTextSize(double size);  // eInvalidInput when negative
  double xScale() const { return m_xScale; }
  Acad::ErrorStatus setXScale(double scale);  // eInvalidInput unless positive
  double obliquingAngle() const { return m_oblique; }
  Acad::ErrorStatus setObliquingAngle(double angle);
  double priorSize() const { return m_priorSize; }
  Acad::ErrorStatus setPriorSize(double size);
  bool isShapeFile() const { return (m_flags & 1) != 0; }
  Acad::ErrorStatus setIsShapeFile(bool shapes);
  bool isVertical() const { return (m_flags & 4) != 0; }
  Acad::ErrorStatus setIsVertical(bool vertical);

 protected:
  AcDbObject* subClone() const override { return new AcDbTextStyleTableRecord(*this); }

 private:
  friend class cadhost::ObjectAccess;
  std::string m_fileName;
  std::string m_bigFontFileName;
  std::string m_typeface;
  bool m_bold = false;
  bool m_italic = false;
  int m_charset = 0;
  int m_pitchAndFamily = 0;
  double m_textSize = 0.0;
  double m_xScale = 1.0;
  double m_oblique = 0.0;
  double m_priorSize = 2.5;
  int m_flags = 0;
  int m_generation = 0;
};

class AcDbBlockTableRecordIterator;

// A block definition: a base point and its entities. "*Model_Space" and "*Paper_Space" are the
// two spaces; names beginning with "*" other than those are anonymous blocks.
class AcDbBlockTableRecord : public AcDbSymbolTableRecord {
 public:
  ACRX_DECLARE_MEMBERS(AcDbBlockTableRecord);
  AcDbBlockTableRecord() = default;
  ~AcDbBlockTableRecord() override;

  // Adds a new entity to this block of a database; the database owns it from now on and it is
  // open for write (close it). A new entity without a layer gets the current layer, without a
  // linetype BYLAYER, without a text style (text) the current style. eAlreadyInDb when it is
  // in a database, eNotInDatabase when this block is not, eNotOpenForWrite, eWrongDatabase
  // when it names a layer, linetype, style or block of another database, eSelfReference for a
  // reference to this block or to one that contains it.
  Acad::ErrorStatus appendAcDbEntity(AcDbObjectId& id, AcDbEntity* entity);
  Acad::ErrorStatus appendAcDbEntity(AcDbEntity* entity);
  // An iterator over the entities in the order they were added; erased ones skipped unless
  // skipErased is false.
  Acad::ErrorStatus newIterator(std::unique_ptr<AcDbBlockTableRecordIterator>& iterator,
                                bool atBeginning = true, bool skipErased = true) const;
  // The ids of the entities that are not erased, in order.
  std::vector<AcDbObjectId> entityIds() const;

  AcGePoint3d origin() const { return m_origin; }
  Acad::ErrorStatus setOrigin(const AcGePoint3d& p);
  const std::string& comments() const { return m_comments; }
  Acad::ErrorStatus setComments(const ACHAR* text);
  bool isLayout() const;
  bool isAnonymous() const;

 protected:
  AcDbObject* subClone() const override;

 private:
  friend class cadhost::ObjectAccess;
  friend class AcDbBlockTableRecordIterator;
  std::vector<AcDbObjectId> m_entities;
  AcGePoint3d m_origin;
  std::string m_comments;
  int m_flags = 0;
};

class AcDbBlockTableRecordIterator {
 public:
  void start(bool atBeginning = true);
  bool done() const;
  void step(bool forward = true);
  Acad::ErrorStatus getEntityId(AcDbObjectId& id) const;
  Acad::ErrorStatus getEntity(AcDbEntity*& entity, AcDb::OpenMode mode,
                              bool openErased = false) const;

 private:
  friend class AcDbBlockTableRecord;
  AcDbBlockTableRecordIterator(const AcDbBlockTableRecord* block, bool skipErased)
      : m_block(block), m_skipErased(skipErased) {}
  void skip(bool forward);
  const AcDbBlockTableRecord* m_block;
  bool m_skipErased;
  long m_pos = 0;
};

class AcDbSymbolTableIterator;

// A table of named records. Lookups by name cost the same whatever the table's size.
class AcDbSymbolTable : public AcDbObject {
 public:
  ACRX_DECLARE_MEMBERS(AcDbSymbolTable);
  ~AcDbSymbolTable() override;

  bool has(const ACHAR* name) const;
  bool has(AcDbObjectId id) const;
  // eKeyNotFound when there is no record of that name.
  Acad::ErrorStatus getAt(const ACHAR* name, AcDbObjectId& id, bool getErased = false) const;
  // Opens the record of that name.
  Acad::ErrorStatus getAt(const ACHAR* name, AcDbSymbolTableRecord*& record,
                          AcDb::OpenMode mode, bool openErased = false) const;
  // Adds a new record to a table open for write; the record is then open for write (close
  // it). eDuplicateRecordName, eInvalidSymbolTableName, eNotThatKindOfClass for a record of
  // another table, eAlreadyInDb, eNotOpenForWrite.
  Acad::ErrorStatus add(AcDbObjectId& id, AcDbSymbolTableRecord* record);
  Acad::ErrorStatus add(AcDbSymbolTableRecord* record);
  Acad::ErrorStatus newIterator(std::unique_ptr<AcDbSymbolTableIterator>& iterator,
                                bool atBeginning = true, bool skipErased = true) const;
  // The ids of the records, in order.
  std::vector<AcDbObjectId> recordIds() const;

 protected:
  explicit AcDbSymbolTable(const AcRxClass* recordClass) : m_recordClass(recordClass) {}
  AcDbObject* subClone() const override { return nullptr; }  // tables are not copied
  template <typename R>
  Acad::ErrorStatus getAtTyped(const ACHAR* name, R*& record, AcDb::OpenMode mode,
                               bool openErased) const {
    record = nullptr;
    AcDbObjectId id;
    const Acad::ErrorStatus es = getAt(name, id, openErased);
    return es != Acad::eOk ? es : acdbOpenObject(record, id, mode, openErased);
  }

 private:
  friend class cadhost::ObjectAccess;
  friend class AcDbSymbolTableIterator;
  const AcRxClass* m_recordClass;
  std::vector<AcDbObjectId> m_records;
  std::unordered_map<std::string, AcDbObjectId> m_index;  // folded name -> record
  bool m_uniqueNames = true;
};

class AcDbSymbolTableIterator {
 public:
  void start(bool atBeginning = true);
  bool done() const;
  void step(bool forward = true);
  Acad::ErrorStatus getRecordId(AcDbObjectId& id) const;
  Acad::ErrorStatus getRecord(AcDbSymbolTableRecord*& record, AcDb::OpenMode mode,
                              bool openErased = false) const;

 private:
  friend class AcDbSymbolTable;
  AcDbSymbolTableIterator(const AcDbSymbolTable* table, bool skipErased)
      : m_table(table), m_skipErased(skipErased) {}
  void skip(bool forward);
  const AcDbSymbolTable* m_table;
  bool m_skipErased;
  long m_pos = 0;
};

class AcDbBlockTable : public AcDbSymbolTable {
 public:
  ACRX_DECLARE_MEMBERS(AcDbBlockTable);
  AcDbBlockTable() : AcDbSymbolTable(AcDbBlockTableRecord::desc()) {}
  using AcDbSymbolTable::getAt;
  Acad::ErrorStatus getAt(const ACHAR* name, AcDbBlockTableRecord*& record, AcDb::OpenMode mode,
                          bool openErased = false) const {
    return getAtTyped(name, record, mode, openErased);
  }
};

class AcDbLayerTable : public AcDbSymbolTable {
 public:
  ACRX_DECLARE_MEMBERS(AcDbLayerTable);
  AcDbLayerTable() : AcDbSymbolTable(AcDbLayerTableRecord::desc()) {}
  using AcDbSymbolTable::getAt;
  Acad::ErrorStatus getAt(const ACHAR* name, AcDbLayerTableRecord*& record, AcDb::OpenMode mode,
                          bool openErased = false) const {
    return getAtTyped(name, record, mode, openErased);
  }
};

class AcDbLinetypeTable : public AcDbSymbolTable {
 public:
  ACRX_DECLARE_MEMBERS(AcDbLinetypeTable);
  AcDbLinetypeTable() : AcDbSymbolTable(AcDbLinetypeTableRecord::desc()) {}
  using AcDbSymbolTable::getAt;
  Acad::ErrorStatus getAt(const ACHAR* name, AcDbLinetypeTableRecord*& record,
                          AcDb::OpenMode mode, bool openErased = false) const {
    return getAtTyped(name, record, mode, openErased);
  }
};

class AcDbTextStyleTable : public AcDbSymbolTable {
 public:
  ACRX_DECLARE_MEMBERS(AcDbTextStyleTable);
  AcDbTextStyleTable() : AcDbSymbolTable(AcDbTextStyleTableRecord::desc()) {}
  using AcDbSymbolTable::getAt;
  Acad::ErrorStatus getAt(const ACHAR* name, AcDbTextStyleTableRecord*& record,
                          AcDb::OpenMode mode, bool openErased = false) const {
    return getAtTyped(name, record, mode, openErased);
  }
};

#pragma GCC visibility pop
