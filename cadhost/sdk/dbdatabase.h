#pragma once
// The drawing database: symbol tables, model and paper space, the header values the host
// keeps, copying entities between databases, and drawing files (DXF).

#include <memory>
#include <string>
#include <vector>

#include "cadhost/sdk/dbsymtb.h"

// The host's internals, declared ahead outside the exported region: a class takes its
// visibility from its first declaration.
namespace cadhost {
class DatabaseImpl;
}

#pragma GCC visibility push(default)

// Share modes of readDwgFile, by the values of the host's platform.
#ifndef _SH_DENYRW
#define _SH_DENYRW 0x10
#define _SH_DENYWR 0x20
#define _SH_DENYRD 0x30
#define _SH_DENYNO 0x40
#endif

namespace cadhost {
// What reading or saving a drawing file found. A failed read names the line of the file where
// it stopped; a successful one lists what it had to repair or leave out.
struct DrawingFileReport {
  Acad::ErrorStatus status = Acad::eOk;
  std::string message;                // "" when eOk; one line naming the file and the fault
  long line = 0;                      // 1-based line of the fault; 0 when not about a line
  std::vector<std::string> warnings;  // "line N: ..." for each repair or skipped item
};
}  // namespace cadhost

class AcDbDatabase {
 public:
  // With buildDefaultDrawing the database holds layer "0", the linetypes "CONTINUOUS",
  // "BYLAYER" and "BYBLOCK", text style "Standard", blocks "*Model_Space" and "*Paper_Space"
  // and the objects a drawing file needs; otherwise it is empty until readDwgFile(). Units are
  // millimetres. `noDocument` is accepted for compatibility: databases never have a document.
  explicit AcDbDatabase(bool buildDefaultDrawing = true, bool noDocument = false);
  ~AcDbDatabase();
  AcDbDatabase(const AcDbDatabase&) = delete;
  AcDbDatabase& operator=(const AcDbDatabase&) = delete;

  // Open a table. The tables are always present in a database built with default contents or
  // read from a file; eNullObjectId otherwise.
  Acad::ErrorStatus getBlockTable(AcDbBlockTable*& table, AcDb::OpenMode mode);
  Acad::ErrorStatus getLayerTable(AcDbLayerTable*& table, AcDb::OpenMode mode);
  Acad::ErrorStatus getLinetypeTable(AcDbLinetypeTable*& table, AcDb::OpenMode mode);
  Acad::ErrorStatus getTextStyleTable(AcDbTextStyleTable*& table, AcDb::OpenMode mode);
  Acad::ErrorStatus getSymbolTable(AcDbBlockTable*& t, AcDb::OpenMode m) { return getBlockTable(t, m); }
  Acad::ErrorStatus getSymbolTable(AcDbLayerTable*& t, AcDb::OpenMode m) { return getLayerTable(t, m); }
  Acad::ErrorStatus getSymbolTable(AcDbLinetypeTable*& t, AcDb::OpenMode m) { return getLinetypeTable(t, m); }
  Acad::ErrorStatus getSymbolTable(AcDbTextStyleTable*& t, AcDb::OpenMode m) { return getTextStyleTable(t, m); }
  AcDbObjectId blockTableId() const;
  AcDbObjectId layerTableId() const;
  AcDbObjectId linetypeTableId() const;
  AcDbObjectId textStyleTableId() const;

  AcDbObjectId modelSpaceId() const;
  AcDbObjectId paperSpaceId() const;
  // Model space when TILEMODE is 1, paper space when it is 0.
  AcDbObjectId currentSpaceId() const;
  // The layouts' names in tab order, "Model" first (not part of the classic interface, where
  // the layout manager gives them).
  std::vector<std::string> layoutNames() const;
  // The block that holds the entities of the layout of that name, compared without regard to
  // case ("Model" is model space). eKeyNotFound when the drawing has no such layout.
  Acad::ErrorStatus getLayoutBlockId(const ACHAR* layoutName, AcDbObjectId& blockId) const;

  // Header values.
  AcDbObjectId clayer() const;
  Acad::ErrorStatus setClayer(AcDbObjectId layer);
  AcDbObjectId textstyle() const;
  Acad::ErrorStatus setTextstyle(AcDbObjectId style);
  AcDbObjectId celtype() const;
  Acad::ErrorStatus setCeltype(AcDbObjectId linetype);
  double textsize() const;
  Acad::ErrorStatus setTextsize(double size);
  bool tilemode() const;
  Acad::ErrorStatus setTilemode(bool modelSpace);
  AcDb::UnitsValue insunits() const;
  Acad::ErrorStatus setInsunits(AcDb::UnitsValue units);
  AcGePoint3d insbase() const;
  Acad::ErrorStatus setInsbase(const AcGePoint3d& base);
  double ltscale() const;
  Acad::ErrorStatus setLtscale(double scale);
  AcDbObjectId byLayerLinetype() const;
  AcDbObjectId byBlockLinetype() const;
  AcDbObjectId continuousLinetype() const;

  // Loads linetypes from a .lin file found by the host's file search
  // (acdbHostApplicationServices()->findFile). `name` is one linetype name or "*" for every
  // linetype of the file. eFileNotFound, eFileAccessErr, eUndefinedLineType (no such name in
  // the file), eDuplicateRecord (a named linetype is loaded already: it is left unchanged),
  // eBadDxfFile for a malformed definition.
  Acad::ErrorStatus loadLineTypeFile(const ACHAR* name, const ACHAR* fileName);

  // A new database with default contents holding copies of the given entities of this
  // database (world coordinates kept, INSBASE = basePoint), and every layer, linetype, text
  // style and block they use. eWasErased, eWrongDatabase (an id of another database),
  // eNotAnEntity, eInvalidInput (no ids).
  Acad::ErrorStatus wblock(std::unique_ptr<AcDbDatabase>& output, const AcDbObjectIdArray& ids,
                           const AcGePoint3d& basePoint);
  // Copies the model space of `source` into this database as a new block named `blockName`
  // whose base point is the source's INSBASE, with the layers, linetypes, styles and blocks it
  // uses (records of the same name already here are used as they are; anonymous blocks get new
  // names). The source is never changed, whatever `preserveSourceDatabase` says.
  // eDuplicateRecordName, eInvalidSymbolTableName, eSelfReference (source is this database).
  Acad::ErrorStatus insert(AcDbObjectId& blockId, const ACHAR* blockName, AcDbDatabase* source,
                           bool preserveSourceDatabase = true);

  // Replaces the contents with a drawing file (DXF R12 to R2018, ASCII). On failure the
  // database keeps its previous contents and lastFileReport() says why. The file is read
  // whole and closed again, so it can be replaced or deleted while the drawing is open; the
  // share mode is accepted for that reason and code pages are always converted (text is
  // UTF-8 inside).
  Acad::ErrorStatus readDwgFile(const ACHAR* fileName);
  Acad::ErrorStatus readDwgFile(const ACHAR* fileName, int shareMode,
                                bool allowCodePageConversion = false) {
    (void)shareMode;
    (void)allowCodePageConversion;
    return readDwgFile(fileName);
  }
  // Writes the drawing as DXF (see saveAs) and remembers the name.
  Acad::ErrorStatus saveAs(const ACHAR* fileName);
  // The name of the file last read or saved ("" for a new drawing).
  const std::string& filename() const;
  const cadhost::DrawingFileReport& lastFileReport() const;

  cadhost::DatabaseImpl& impl() const { return *m_impl; }

 private:
  std::unique_ptr<cadhost::DatabaseImpl> m_impl;
};

// Saves a database as a drawing file: the host's DXF (see AcDbDatabase::saveAs).
Acad::ErrorStatus acdbSaveAsR14(AcDbDatabase* db, const ACHAR* fileName);

#pragma GCC visibility pop
