#pragma once
// Helpers of the host's tests: building small drawings and comparing geometry.

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

#include "cadhost/sdk/cadhost.h"

namespace cadhost::test {

inline constexpr double kTol = 1e-9;

// Appends `e` to the block of `blockId` and closes it; the id, or null on failure.
inline AcDbObjectId Append(AcDbObjectId blockId, AcDbEntity* e) {
  AcDbObjectPointer<AcDbBlockTableRecord> block(blockId, AcDb::kForWrite);
  if (!block) {
    delete e;
    return AcDbObjectId();
  }
  AcDbObjectId id;
  if (block->appendAcDbEntity(id, e) != Acad::eOk) {
    delete e;
    return AcDbObjectId();
  }
  e->close();
  return id;
}

inline AcDbObjectId AppendToModel(AcDbDatabase& db, AcDbEntity* e) {
  return Append(db.modelSpaceId(), e);
}

inline AcDbExtents ExtentsOf(AcDbObjectId id) {
  AcDbEntityPointer e(id, AcDb::kForRead);
  AcDbExtents ext;
  EXPECT_EQ(e.openStatus(), Acad::eOk);
  if (e) {
    EXPECT_EQ(e->getGeomExtents(ext), Acad::eOk);
  }
  return ext;
}

// Adds a record to a table of `db` (opened for write for the call); its id.
template <typename Table, typename Record>
AcDbObjectId AddRecord(AcDbDatabase& db, Acad::ErrorStatus (AcDbDatabase::*get)(Table*&, AcDb::OpenMode),
                       Record* record) {
  Table* table = nullptr;
  if ((db.*get)(table, AcDb::kForWrite) != Acad::eOk) {
    delete record;
    return AcDbObjectId();
  }
  AcDbObjectId id;
  if (table->add(id, record) == Acad::eOk) {
    record->close();
  } else {
    delete record;
  }
  table->close();
  return id;
}

inline AcDbObjectId AddLayer(AcDbDatabase& db, const char* name, int color = 7) {
  auto* layer = new AcDbLayerTableRecord();
  layer->setName(name);
  layer->setColor(AcCmColor::fromIndex(static_cast<Adesk::UInt16>(color)));
  return AddRecord(db, &AcDbDatabase::getLayerTable, layer);
}

// A shape-font text style such as tables use.
inline AcDbObjectId AddShapeStyle(AcDbDatabase& db, const char* name, const char* font = "txt.shx",
                                  const char* bigFont = "gbcbig.shx", double xScale = 0.7) {
  auto* style = new AcDbTextStyleTableRecord();
  style->setName(name);
  style->setFileName(font);
  style->setBigFontFileName(bigFont);
  style->setXScale(xScale);
  return AddRecord(db, &AcDbDatabase::getTextStyleTable, style);
}

inline AcDbObjectId AddBlock(AcDbDatabase& db, const char* name, AcGePoint3d origin = {}) {
  auto* block = new AcDbBlockTableRecord();
  block->setName(name);
  block->setOrigin(origin);
  return AddRecord(db, &AcDbDatabase::getBlockTable, block);
}

#define EXPECT_POINT_NEAR(actual, ex, ey, ez, tol)   \
  do {                                               \
    const AcGePoint3d p_ = (actual);                 \
    EXPECT_NEAR(p_.x, (ex), (tol));                  \
    EXPECT_NEAR(p_.y, (ey), (tol));                  \
    EXPECT_NEAR(p_.z, (ez), (tol));                  \
  } while (0)

}  // namespace cadhost::test
