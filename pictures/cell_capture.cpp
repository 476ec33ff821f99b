#include "pictures/cell_capture.h"

#include <memory>
#include <vector>

#include "cadhost/sdk/cadhost.h"
#include "platform/message_sink.h"

namespace vex {
namespace {

// The primitive of a line, polyline or circle; nullptr for every other kind.
std::unique_ptr<JImage> PrimitiveOf(const AcDbEntity* e) {
  if (const auto* line = AcDbLine::cast(e)) {
    const AcGePoint3d a = line->startPoint(), b = line->endPoint();
    return std::make_unique<JLine>(Point2d{a.x, a.y}, Point2d{b.x, b.y});
  }
  if (const auto* pl = AcDbPolyline::cast(e)) {
    std::vector<Point2d> v;
    for (unsigned int i = 0; i < pl->numVerts(); ++i) {
      AcGePoint2d p;
      if (pl->getPointAt(i, p) == Acad::eOk) v.push_back({p.x, p.y});
    }
    if (pl->isClosed() && !v.empty()) v.push_back(v.front());
    return std::make_unique<JPolyLine>(std::move(v));
  }
  if (const auto* c = AcDbCircle::cast(e)) {
    const AcGePoint3d m = c->center();
    return std::make_unique<JCircle>(Point2d{m.x, m.y}, c->radius());
  }
  return nullptr;
}

// Converts the model space of `db` as capture does: block references are replaced by their
// exploded pieces (appended to model space and converted in turn). Returns the ids that stay.
AcDbObjectIdArray ConvertModelSpace(AcDbDatabase* db, CellImageList& images, MessageSink& sink) {
  AcDbObjectIdArray queue;
  EnumerateBlock(db, "", queue, sink);
  AcDbObjectIdArray staying;
  for (int k = 0; k < queue.length(); ++k) {
    AcDbEntity* e = nullptr;
    if (acdbOpenAcDbEntity(e, queue[k], AcDb::kForWrite) != Acad::eOk) {
      sink.Print("\nacdbOpenAcDbEntity wrong");
      continue;
    }
    if (AcDbBlockReference::cast(e) != nullptr) {
      std::vector<std::unique_ptr<AcDbEntity>> pieces;
      e->explode(pieces);
      e->erase();
      e->close();
      AcDbBlockTableRecord* space = nullptr;
      if (acdbOpenObject(space, db->modelSpaceId(), AcDb::kForWrite) != Acad::eOk) continue;
      // The pieces are converted next, before the entities after the reference (nested
      // references explode in turn).
      std::vector<AcDbObjectId> added;
      for (auto& piece : pieces) {
        AcDbObjectId id;
        AcDbEntity* raw = piece.release();
        if (space->appendAcDbEntity(id, raw) == Acad::eOk) {
          raw->close();
          added.push_back(id);
        } else {
          delete raw;
        }
      }
      space->close();
      auto& q = queue.asVector();
      q.insert(q.begin() + k + 1, added.begin(), added.end());
      continue;
    }
    images.Append(PrimitiveOf(e));
    staying.append(queue[k]);
    e->close();
  }
  return staying;
}

std::string BlockNameFor(AcDbDatabase* target, const std::string& base) {
  AcDbBlockTable* table = nullptr;
  if (target->getBlockTable(table, AcDb::kForRead) != Acad::eOk) return {};
  std::string name;
  for (long n = 0;; ++n) {
    name = "VexTable" + base + std::to_string(n);
    if (!table->has(name.c_str())) break;
  }
  table->close();
  return name;
}

}  // namespace

bool EnumerateBlock(AcDbDatabase* db, const std::string& blockName, AcDbObjectIdArray& ids, MessageSink& sink) {
  if (db == nullptr) return false;
  AcDbBlockTable* table = nullptr;
  if (db->getBlockTable(table, AcDb::kForRead) != Acad::eOk) {
    sink.Alert("BlockTable wrong!");
    return false;
  }
  AcDbBlockTableRecord* block = nullptr;
  const std::string name = blockName.empty() ? "*Model_Space" : blockName;
  const Acad::ErrorStatus es = table->getAt(name.c_str(), block, AcDb::kForRead);
  table->close();
  if (es != Acad::eOk) return false;
  const std::size_t before = ids.asVector().size();
  for (const AcDbObjectId& id : block->entityIds()) ids.append(id);
  block->close();
  return ids.asVector().size() > before;
}

void RebuildPreview(const AcDbObjectIdArray& ids, CellImageList& images, MessageSink& sink) {
  for (const AcDbObjectId& id : ids) {
    AcDbObjectPointer<AcDbEntity> e(id, AcDb::kForRead);
    if (!e) {
      sink.Print("\nacdbOpenAcDbEntity wrong");
      continue;
    }
    images.Append(PrimitiveOf(e.object()));
  }
}

bool CaptureImage(const AcDbObjectIdArray& ids, AcDbDatabase* source, std::string& baseName,
                  AcDbDatabase* target, AcDbObjectId& blockId, CellImageList& images, MessageSink& sink) {
  if (source == nullptr || target == nullptr || ids.isEmpty()) return false;
  std::unique_ptr<AcDbDatabase> first;
  if (source->wblock(first, ids, AcGePoint3d(0, 0, 0)) != Acad::eOk || !first) return false;

  CellImageList captured;
  const AcDbObjectIdArray staying = ConvertModelSpace(first.get(), captured, sink);
  if (staying.isEmpty()) return false;

  // The block's lower-left corner becomes its origin; the primitives keep their coordinates
  // (previews fit by bounds).
  AcDbExtents all;
  for (const AcDbObjectId& id : staying) {
    AcDbObjectPointer<AcDbEntity> e(id, AcDb::kForRead);
    AcDbExtents ext;
    if (e && e->getGeomExtents(ext) == Acad::eOk) all.addExt(ext);
  }
  if (!all.isEmpty()) {
    AcGeMatrix3d move;
    move.setToTranslation(AcGePoint3d(0, 0, 0) - all.minPoint());
    for (const AcDbObjectId& id : staying) {
      AcDbObjectPointer<AcDbEntity> e(id, AcDb::kForWrite);
      if (e) e->transformBy(move);
    }
  }

  std::unique_ptr<AcDbDatabase> second;
  if (first->wblock(second, staying, AcGePoint3d(0, 0, 0)) != Acad::eOk || !second) return false;
  first.reset();

  const std::string name = BlockNameFor(target, baseName);
  if (name.empty()) return false;
  AcDbObjectId id;
  if (target->insert(id, name.c_str(), second.get(), true) != Acad::eOk) return false;
  baseName = name;
  blockId = id;
  for (const auto& p : captured) images.Append(p->Clone());
  return true;
}

}  // namespace vex
