#include "support/drawing.h"

#include <gtest/gtest.h>

namespace vex::test {

AcDbObjectId AddToModelSpace(AcDbDatabase& db, AcDbEntity* entity) {
  AcDbBlockTableRecord* space = nullptr;
  EXPECT_EQ(acdbOpenObject(space, db.modelSpaceId(), AcDb::kForWrite), Acad::eOk);
  AcDbObjectId id;
  EXPECT_EQ(space->appendAcDbEntity(id, entity), Acad::eOk);
  entity->close();
  space->close();
  return id;
}

AcDbPolyline* NewRectangle(double x, double y, double w, double h) {
  auto* pl = new AcDbPolyline();
  pl->addVertexAt(0, AcGePoint2d(x, y));
  pl->addVertexAt(1, AcGePoint2d(x + w, y));
  pl->addVertexAt(2, AcGePoint2d(x + w, y + h));
  pl->addVertexAt(3, AcGePoint2d(x, y + h));
  pl->setClosed(true);
  return pl;
}

}  // namespace vex::test
