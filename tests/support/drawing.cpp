#include "support/drawing.h"

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

void DrawingTest::SetUp() {
  acdbHostApplicationServices()->setWorkingDatabase(&db_);
  cadhost::Feedback::Clear();
}

void DrawingTest::TearDown() { acdbHostApplicationServices()->setWorkingDatabase(nullptr); }

AcDbObjectId DrawingTest::AddLine(double x1, double y1, double x2, double y2) {
  return Add(new AcDbLine(AcGePoint3d(x1, y1, 0), AcGePoint3d(x2, y2, 0)));
}

AcDbObjectId DrawingTest::AddText(double x, double y, const char* s, double h, int horz, int vert) {
  auto* t = new AcDbText();
  t->setTextString(s);
  t->setHeight(h);
  t->setHorizontalMode(static_cast<AcDb::TextHorzMode>(horz));
  t->setVerticalMode(static_cast<AcDb::TextVertMode>(vert));
  t->setPosition(AcGePoint3d(x, y, 0));
  t->setAlignmentPoint(AcGePoint3d(x, y, 0));
  return Add(t);
}

void DrawingTest::AddGrid(int rows, int cols, double x0, double y0) {
  for (int i = 0; i <= rows; ++i) AddLine(x0, y0 - 10 * i, x0 + 30 * cols, y0 - 10 * i);
  for (int j = 0; j <= cols; ++j) AddLine(x0 + 30 * j, y0, x0 + 30 * j, y0 - 10 * rows);
}

AcDbObjectIdArray DrawingTest::ModelSpace() {
  AcDbObjectIdArray ids;
  AcDbObjectPointer<AcDbBlockTableRecord> space(db_.modelSpaceId(), AcDb::kForRead);
  if (space)
    for (const AcDbObjectId& id : space->entityIds()) ids.append(id);
  return ids;
}

}  // namespace vex::test
