// Display state and placement: hiding entities, dragging a set, transforming it.

#include <algorithm>

#include "cadhost/host/prompts.h"
#include "cadhost/host/selection.h"
#include "cadhost/sdk/acedads.h"
#include "cadhost/sdk/acutads.h"

using cadhost::Host;

namespace {

// The entities an entity name or a set name stands for; false for anything else.
bool EntitiesOf(const ads_name name, std::vector<AcDbObjectId>& ids) {
  if (const std::vector<AcDbObjectId>* set = cadhost::FindSet(name)) {
    ids = *set;
    return true;
  }
  const AcDbObjectId id = cadhost::EntityOf(name);
  if (id.isNull()) return false;
  ids = {id};
  return true;
}

AcGeMatrix3d FromAds(const ads_matrix m) {
  AcGeMatrix3d out;
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) out.entry[r][c] = m[r][c];
  return out;
}

}  // namespace

int acedRedraw(const ads_name entity, int mode) {
  if (mode < 1 || mode > 4) return RTERROR;
  cadhost::DocumentState* doc = Host::Get().CurrentState();
  if (doc == nullptr) return RTERROR;
  if (entity == nullptr || ads_name_nil(entity)) {
    if (mode == 1) doc->hidden.clear();
    return RTNORM;
  }
  std::vector<AcDbObjectId> ids;
  if (!EntitiesOf(entity, ids)) return RTERROR;
  for (AcDbObjectId id : ids) {
    if (mode == 2) doc->hidden.insert(id);
    else if (mode == 1) doc->hidden.erase(id);
  }
  return RTNORM;
}

int acedDragGen(const ads_name set, const ACHAR* prompt, int /*cursor*/,
                int (*callback)(ads_point pt, ads_matrix matrix), ads_point result) {
  const std::vector<AcDbObjectId>* ids = cadhost::FindSet(set);
  if (ids == nullptr || callback == nullptr) return RTERROR;
  // A window shows the set following the cursor; the set may not change while it does.
  const std::vector<AcDbObjectId> dragged = *ids;
  cadhost::PromptContext context = cadhost::PointContext(cadhost::PromptContext::Kind::Drag);
  context.dragSet = &dragged;
  context.dragCallback = callback;
  ads_point p = {0, 0, 0};
  const int rc = cadhost::GetPointIn(context, prompt, p);
  if (rc != RTNORM) return rc;
  // The cursor reached the point: the callback gives the matrix a view would show the set
  // through. Without a window nothing is shown, but a failing callback still ends the drag.
  ads_matrix m = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
  ads_point cursor = {p[X], p[Y], p[Z]};
  if (callback(cursor, m) == RTERROR) return RTERROR;
  if (result != nullptr) ads_point_set(p, result);
  return RTNORM;
}

int acedXformSS(const ads_name set, ads_matrix matrix) {
  const std::vector<AcDbObjectId>* s = cadhost::FindSet(set);
  if (s == nullptr || matrix == nullptr) return RTERROR;
  const AcGeMatrix3d m = FromAds(matrix);
  if (!m.isUniScaledOrtho(AcGeTol()) || m.entry[3][0] != 0 || m.entry[3][1] != 0 ||
      m.entry[3][2] != 0 || m.entry[3][3] != 1)
    return RTERROR;
  // Open everything first, so that a set with one entity that cannot change leaves all of
  // them as they were.
  std::vector<AcDbEntity*> open;
  bool ok = true;
  for (AcDbObjectId id : *s) {
    AcDbEntity* e = nullptr;
    if (acdbOpenAcDbEntity(e, id, AcDb::kForWrite) != Acad::eOk) {
      ok = false;
      break;
    }
    open.push_back(e);
  }
  if (ok) {
    for (AcDbEntity* e : open) ok = e->transformBy(m) == Acad::eOk && ok;
  }
  for (AcDbEntity* e : open) e->close();
  if (!ok) return RTERROR;
  if (cadhost::DocumentState* doc = Host::Get().CurrentState()) {
    for (AcDbObjectId id : *s) doc->hidden.erase(id);
    doc->modified = true;
  }
  return RTNORM;
}
