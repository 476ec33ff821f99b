#include "pictures/picture_merge.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "cadhost/sdk/cadhost.h"
#include "pictures/cell_capture.h"
#include "pictures/image_store.h"
#include "platform/message_sink.h"

namespace vex {
namespace {

// Deeper nesting than this is taken for a different picture rather than followed further.
constexpr int kMaxNesting = 16;
constexpr double kSameCoordinate = 1e-9;

bool Near(double a, double b) { return std::fabs(a - b) <= kSameCoordinate; }
bool Near(const AcGePoint3d& a, const AcGePoint3d& b) { return Near(a.x, b.x) && Near(a.y, b.y) && Near(a.z, b.z); }

// The block of that name, or a null id.
AcDbObjectId BlockId(AcDbDatabase& db, const std::string& name) {
  AcDbBlockTable* table = nullptr;
  if (db.getBlockTable(table, AcDb::kForRead) != Acad::eOk) return {};
  AcDbObjectId id;
  if (table->getAt(name.c_str(), id) != Acad::eOk) id = AcDbObjectId();
  table->close();
  return id;
}

AcDbObjectIdArray ToArray(const std::vector<AcDbObjectId>& ids) {
  AcDbObjectIdArray out;
  for (AcDbObjectId id : ids) out.append(id);
  return out;
}

bool HasBlock(AcDbDatabase& db, const std::string& name) { return !BlockId(db, name).isNull(); }

std::string BlockName(AcDbObjectId block) {
  AcDbObjectPointer<AcDbBlockTableRecord> record(block, AcDb::kForRead);
  return record.openStatus() == Acad::eOk ? record->name() : std::string();
}

bool SameBlock(AcDbObjectId a, AcDbObjectId b, int depth);

bool SameExtents(const AcDbEntity& a, const AcDbEntity& b) {
  AcDbExtents ea, eb;
  const bool hasA = a.getGeomExtents(ea) == Acad::eOk;
  const bool hasB = b.getGeomExtents(eb) == Acad::eOk;
  if (hasA != hasB) return false;
  return !hasA || (Near(ea.minPoint(), eb.minPoint()) && Near(ea.maxPoint(), eb.maxPoint()));
}

// What extents and previews do not show: the text, the nested picture.
bool SameKindDetails(const AcDbEntity& a, const AcDbEntity& b, int depth) {
  if (const auto* ta = AcDbText::cast(&a)) {
    const auto* tb = AcDbText::cast(&b);
    return ta->textString() == tb->textString() && Near(ta->position(), tb->position()) &&
           Near(ta->height(), tb->height());
  }
  if (const auto* ma = AcDbMText::cast(&a)) return ma->contents() == AcDbMText::cast(&b)->contents();
  if (const auto* ra = AcDbBlockReference::cast(&a)) {
    const auto* rb = AcDbBlockReference::cast(&b);
    const AcGeScale3d sa = ra->scaleFactors(), sb = rb->scaleFactors();
    return Near(ra->position(), rb->position()) && Near(ra->rotation(), rb->rotation()) && Near(sa.sx, sb.sx) &&
           Near(sa.sy, sb.sy) && Near(sa.sz, sb.sz) &&
           BlockName(ra->blockTableRecord()) == BlockName(rb->blockTableRecord()) &&
           SameBlock(ra->blockTableRecord(), rb->blockTableRecord(), depth + 1);
  }
  if (const auto* arc = AcDbArc::cast(&a)) {
    const auto* other = AcDbArc::cast(&b);
    return Near(arc->startAngle(), other->startAngle()) && Near(arc->endAngle(), other->endAngle());
  }
  return AcDbLine::cast(&a) || AcDbCircle::cast(&a) || AcDbPolyline::cast(&a);
}

bool SameEntity(AcDbObjectId a, AcDbObjectId b, int depth) {
  AcDbObjectPointer<AcDbEntity> ea(a, AcDb::kForRead);
  AcDbObjectPointer<AcDbEntity> eb(b, AcDb::kForRead);
  if (ea.openStatus() != Acad::eOk || eb.openStatus() != Acad::eOk) return false;
  return std::string(ea->isA()->name()) == eb->isA()->name() && ea->layer() == eb->layer() &&
         ea->linetype() == eb->linetype() && ea->color() == eb->color() && SameExtents(*ea.object(), *eb.object()) &&
         SameKindDetails(*ea.object(), *eb.object(), depth);
}

bool SameBlock(AcDbObjectId a, AcDbObjectId b, int depth) {
  if (depth > kMaxNesting) return false;
  std::vector<AcDbObjectId> idsA, idsB;
  {
    AcDbObjectPointer<AcDbBlockTableRecord> ra(a, AcDb::kForRead);
    AcDbObjectPointer<AcDbBlockTableRecord> rb(b, AcDb::kForRead);
    if (ra.openStatus() != Acad::eOk || rb.openStatus() != Acad::eOk) return false;
    if (!Near(ra->origin(), rb->origin())) return false;
    idsA = ra->entityIds();
    idsB = rb->entityIds();
  }
  if (idsA.size() != idsB.size()) return false;
  for (std::size_t i = 0; i < idsA.size(); ++i)
    if (!SameEntity(idsA[i], idsB[i], depth)) return false;
  // The exact geometry of lines, outlines and circles, as the cells preview it.
  SilentSink quiet;
  CellImageList previewA, previewB;
  RebuildPreview(ToArray(idsA), previewA, quiet);
  RebuildPreview(ToArray(idsB), previewB, quiet);
  return previewA == previewB;
}

// Block names compare without regard to case.
bool SameName(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
           return std::tolower(x) == std::tolower(y);
         });
}

// `name` followed by "_1", "_2", ... : the first that neither database has and that is not
// `reserved`.
std::string FreshName(const std::string& name, AcDbDatabase& store, AcDbDatabase& copy,
                      const std::string& reserved) {
  for (unsigned n = 1;; ++n) {
    const std::string candidate = name + "_" + std::to_string(n);
    if (!HasBlock(store, candidate) && !HasBlock(copy, candidate) && !SameName(candidate, reserved))
      return candidate;
  }
}

// Gives the named blocks of `copy` that the store holds as other pictures names of their own,
// so that inserting the copy does not take the store's blocks in their place. References follow
// by id. `reserved` is the name the copy itself will get.
void RenameClashingBlocks(AcDbDatabase& copy, AcDbDatabase& store, const std::string& reserved) {
  AcDbBlockTable* table = nullptr;
  if (copy.getBlockTable(table, AcDb::kForRead) != Acad::eOk) return;
  const std::vector<AcDbObjectId> ids = table->recordIds();
  table->close();
  for (AcDbObjectId id : ids) {
    std::string name;
    {
      AcDbObjectPointer<AcDbBlockTableRecord> record(id, AcDb::kForRead);
      if (record.openStatus() != Acad::eOk || record->isLayout() || record->isAnonymous()) continue;
      name = record->name();
    }
    const AcDbObjectId existing = BlockId(store, name);
    if (!SameName(name, reserved) && (existing.isNull() || SameBlock(id, existing, 0))) continue;
    const std::string fresh = FreshName(name, store, copy, reserved);
    AcDbObjectPointer<AcDbBlockTableRecord> record(id, AcDb::kForWrite);
    if (record.openStatus() == Acad::eOk) record->setName(fresh.c_str());
  }
}

// Copies block `block` of `from` into `store`, with what it uses, as `name` or, when the store
// has a block of that name (`taken`), as a fresh name; `target` is the name it got.
Acad::ErrorStatus CopyBlock(AcDbDatabase& from, AcDbObjectId block, AcDbDatabase& store, const std::string& name,
                            bool taken, std::string& target) {
  std::vector<AcDbObjectId> ids;
  AcGePoint3d base;
  {
    AcDbObjectPointer<AcDbBlockTableRecord> record(block, AcDb::kForRead);
    if (record.openStatus() != Acad::eOk) return record.openStatus();
    ids = record->entityIds();
    base = record->origin();
  }
  std::unique_ptr<AcDbDatabase> copy;
  if (ids.empty()) {
    // wblock wants entities; an empty picture is still a block the cells name.
    copy = std::make_unique<AcDbDatabase>(true, true);
    copy->setInsbase(base);
  } else if (const Acad::ErrorStatus es = from.wblock(copy, ToArray(ids), base);
             es != Acad::eOk) {
    return es;
  }
  // The copy's own name is chosen last, clear of every block the copy brings along.
  RenameClashingBlocks(*copy, store, taken ? std::string() : name);
  target = taken ? FreshName(name, store, *copy, std::string()) : name;
  AcDbObjectId inserted;
  return store.insert(inserted, target.c_str(), copy.get());
}

// The block of the store that already holds the picture `source` under `name` or under a
// name an earlier merge gave it ("name_1", "name_2", ...); "" when there is none.
std::string EarlierCopy(AcDbDatabase& store, AcDbObjectId source, const std::string& name) {
  if (SameBlock(source, BlockId(store, name), 0)) return name;
  for (unsigned n = 1;; ++n) {
    const std::string candidate = name + "_" + std::to_string(n);
    const AcDbObjectId id = BlockId(store, candidate);
    if (id.isNull()) return {};
    if (SameBlock(source, id, 0)) return candidate;
  }
}

// The distinct block names of the image cells, in the order the cells come.
std::vector<std::string> NamedBlocks(const TableData& table) {
  std::vector<std::string> names;
  std::set<std::string> seen;
  for (const TableRow& r : table.rows)
    for (const TableCell& c : r.cells)
      if (c.IsImage() && !c.sBlockName.empty() && seen.insert(c.sBlockName).second) names.push_back(c.sBlockName);
  return names;
}

}  // namespace

bool SamePicture(AcDbDatabase& a, const std::string& nameA, AcDbDatabase& b, const std::string& nameB) {
  const AcDbObjectId ia = BlockId(a, nameA), ib = BlockId(b, nameB);
  return !ia.isNull() && !ib.isNull() && SameBlock(ia, ib, 0);
}

Result MergePictures(TableData& inserted, AcDbDatabase* from, ImageStore& into) {
  const std::vector<std::string> names = NamedBlocks(inserted);
  if (names.empty()) return {};
  // What each inserted name becomes in the store; "" for a cell that must lose its picture.
  std::map<std::string, std::string> renamed;
  std::string failures;
  for (const std::string& name : names) {
    AcDbDatabase* store = into.Get();
    const bool taken = store != nullptr && HasBlock(*store, name);
    const AcDbObjectId source = from != nullptr ? BlockId(*from, name) : AcDbObjectId();
    const std::string lost = taken ? std::string() : name;
    if (source.isNull()) {
      renamed[name] = lost;
      continue;
    }
    if (const std::string same = taken ? EarlierCopy(*store, source, name) : std::string(); !same.empty()) {
      renamed[name] = same;
      continue;
    }
    std::string fresh;
    if (const Acad::ErrorStatus es = CopyBlock(*from, source, into.Ensure(), name, taken, fresh); es != Acad::eOk) {
      failures += (failures.empty() ? "" : ", ") + ("\"" + name + "\" (" + acadErrorStatusText(es) + ")");
      renamed[name] = lost;
      continue;
    }
    renamed[name] = fresh;
  }
  for (TableRow& r : inserted.rows)
    for (TableCell& c : r.cells) {
      if (!c.IsImage() || c.sBlockName.empty()) continue;
      c.sBlockName = renamed[c.sBlockName];
      if (c.sBlockName.empty()) c.picture.Clear();
    }
  if (!failures.empty()) return Result(ErrorCode::kHostError, "pictures could not be copied: " + failures);
  return {};
}

}  // namespace vex
