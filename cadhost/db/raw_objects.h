#pragma once
// Objects of kinds the host does not model, kept as their drawing-file groups so that opening
// and saving a drawing loses nothing. Their groups live in the object's DxfExtras.

#include <string>

#include "cadhost/db/object_access.h"
#include "cadhost/sdk/dbsymtb.h"

namespace cadhost {

// An entity such as DIMENSION, HATCH, POINT or ACAD_TABLE. It keeps its layer, colour, linetype
// and lineweight like every entity, and does not transform.
class RawEntity : public AcDbEntity {
 public:
  ACRX_DECLARE_MEMBERS(RawEntity);
  explicit RawEntity(std::string dxfType) : m_type(std::move(dxfType)) {}
  const std::string& dxfType() const { return m_type; }
  const char* dxfName() const override { return m_type.c_str(); }
  bool addExtentsUnder(const AcGeMatrix3d&, AcDbExtents&) const override;
  // An ACAD_TABLE of another program shows the anonymous block it names, placed at its
  // insertion point along its direction: that block's entities. An old-style POLYLINE gives
  // the lightweight polyline it draws (a 3D one its lines). Other kinds do not explode; those
  // two have the extents of what they explode into.
  Acad::ErrorStatus explode(std::vector<std::unique_ptr<AcDbEntity>>& pieces) const override;

 protected:
  AcDbObject* subClone() const override { return new RawEntity(*this); }
  Acad::ErrorStatus subTransformBy(const AcGeMatrix3d&) override { return Acad::eNotApplicable; }

 private:
  std::string m_type;
};

// An object of the OBJECTS section: dictionaries, layouts, groups, ... Its groups after the
// owner are in extras().body.
class RawObject : public AcDbObject {
 public:
  ACRX_DECLARE_MEMBERS(RawObject);
  explicit RawObject(std::string dxfType) : m_type(std::move(dxfType)) {}
  const std::string& dxfType() const { return m_type; }

 protected:
  AcDbObject* subClone() const override { return new RawObject(*this); }

 private:
  std::string m_type;
};

// A record of a table the host does not model (VPORT, VIEW, UCS, APPID, DIMSTYLE). Its groups
// after the name are in extras().body, starting with its class marker.
class RawRecord : public AcDbSymbolTableRecord {
 public:
  ACRX_DECLARE_MEMBERS(RawRecord);
  explicit RawRecord(std::string dxfType) : m_type(std::move(dxfType)) {}
  const std::string& dxfType() const { return m_type; }
  int flags = 0;  // group 70

 protected:
  AcDbObject* subClone() const override { return new RawRecord(*this); }

 private:
  std::string m_type;
};

// A table of RawRecords. VPORT may hold several records of one name, so names need not be
// unique here.
class RawSymbolTable : public AcDbSymbolTable {
 public:
  ACRX_DECLARE_MEMBERS(RawSymbolTable);
  explicit RawSymbolTable(std::string dxfName);
  const std::string& dxfName() const { return m_name; }

 private:
  std::string m_name;
};

// The class marker of a record of the named table ("AcDbDimStyleTableRecord" for DIMSTYLE).
const char* RecordMarkerOf(std::string_view table);

}  // namespace cadhost
