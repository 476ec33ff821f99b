#include "draw/entities.h"

#include <memory>

#include "platform/message_sink.h"

namespace vex {
namespace {

AcGeMatrix3d Translation(const AcGePoint3d& from, const AcGePoint3d& to) {
  AcGeMatrix3d m;
  m.setToTranslation(to - from);
  return m;
}

}  // namespace

AcDbObjectId AppendToCurrentSpace(AcDbEntity* entity, AcDbDatabase& db, MessageSink& sink) {
  std::unique_ptr<AcDbEntity> owned(entity);
  if (!owned) return {};
  owned->setColorIndex(256);
  owned->setLinetype(db.byLayerLinetype());
  owned->setLineWeight(AcDb::kLnWtByLayer);

  AcDbBlockTable* table = nullptr;
  if (db.getBlockTable(table, AcDb::kForRead) != Acad::eOk) {
    sink.Alert("Blocktable open wrong!");
    return {};
  }
  table->close();
  AcDbBlockTableRecord* space = nullptr;
  if (acdbOpenObject(space, db.currentSpaceId(), AcDb::kForWrite) != Acad::eOk) {
    sink.Alert("Blocktable record open wrong!");
    return {};
  }
  AcDbObjectId id;
  if (space->appendAcDbEntity(id, owned.get()) != Acad::eOk) {
    space->close();
    return {};
  }
  owned.release()->close();
  space->close();
  return id;
}

AcDbObjectId AddLine(const AcGePoint3d& start, const AcGePoint3d& end, AcDbObjectId layer,
                     AcDbDatabase& db, MessageSink& sink) {
  if (start.distanceTo(end) <= 0.001) return {};
  auto line = std::make_unique<AcDbLine>(start, end);
  line->setLayer(layer);
  return AppendToCurrentSpace(line.release(), db, sink);
}

AcDbObjectId AddText(const AcGePoint3d& position, double rotation, const std::string& text,
                     double height, double widthFactor, AcDbObjectId style, int horizontalMode,
                     int verticalMode, AcDbObjectId layer, AcDbDatabase& db, MessageSink& sink) {
  if (text.empty()) return {};
  auto t = std::make_unique<AcDbText>();
  t->setTextString(text.c_str());
  t->setTextStyle(style);
  t->setHeight(height);
  t->setWidthFactor(widthFactor);
  t->setRotation(rotation);
  t->setPosition(position);
  t->setAlignmentPoint(position);
  // The modes last: while the text is left and on its baseline, the setters above need not
  // measure it to place it (a table draws a hundred thousand texts).
  t->setHorizontalMode(static_cast<AcDb::TextHorzMode>(horizontalMode));
  t->setVerticalMode(static_cast<AcDb::TextVertMode>(verticalMode));
  t->setLayer(layer);
  return AppendToCurrentSpace(t.release(), db, sink);
}

void EraseEntities(const AcDbObjectIdArray& ids) {
  for (const AcDbObjectId& id : ids) {
    AcDbObjectPointer<AcDbEntity> e(id, AcDb::kForWrite);
    if (e) e->erase();
  }
}

void MoveEntities(const AcDbObjectIdArray& ids, const AcGePoint3d& from, const AcGePoint3d& to) {
  const AcGeMatrix3d m = Translation(from, to);
  for (const AcDbObjectId& id : ids) {
    AcDbObjectPointer<AcDbEntity> e(id, AcDb::kForWrite);
    if (e) e->transformBy(m);
  }
}

AcDbObjectIdArray CopyEntities(const AcDbObjectIdArray& ids, const AcGePoint3d& from,
                               const AcGePoint3d& to) {
  const AcGeMatrix3d m = Translation(from, to);
  AcDbObjectIdArray copies;
  for (const AcDbObjectId& id : ids) {
    std::unique_ptr<AcDbEntity> copy;
    AcDbDatabase* db = nullptr;
    {
      AcDbObjectPointer<AcDbEntity> e(id, AcDb::kForRead);
      if (e && e->getTransformedCopy(m, copy) == Acad::eOk) db = e->database();
    }
    if (!copy) {
      copies.append(AcDbObjectId::kNull);
      continue;
    }
    // The copy keeps the original's properties; only its place changes.
    AcDbBlockTableRecord* space = nullptr;
    AcDbObjectId copyId;
    if (db != nullptr && acdbOpenObject(space, db->currentSpaceId(), AcDb::kForWrite) == Acad::eOk) {
      if (space->appendAcDbEntity(copyId, copy.get()) == Acad::eOk) copy.release()->close();
      space->close();
    }
    copies.append(copyId);
  }
  return copies;
}

}  // namespace vex
