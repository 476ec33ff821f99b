// Selection sets: acedSSGet by the host's selection conventions, and the set functions.

#include "cadhost/host/selection.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>

#include "cadhost/host/input.h"
#include "cadhost/host/prompts.h"
#include "cadhost/host/selection_geometry.h"
#include "cadhost/sdk/acedads.h"
#include "cadhost/sdk/acutads.h"
#include "cadhost/sdk/dbxutil.h"

namespace cadhost {
namespace {

enum class Way { Window, Crossing };

// The entities selection can see in the current space, in drawing order.
class Candidates {
 public:
  explicit Candidates(DocumentState& doc) {
    AcDbObjectPointer<AcDbBlockTableRecord> space(doc.db->currentSpaceId(), AcDb::kForRead);
    if (space) m_ids = space->entityIds();
    m_toView = doc.ucs.FromWorld();
  }

  std::vector<AcDbObjectId> InWindow(const AcGePoint3d& a, const AcGePoint3d& b, Way way) {
    std::vector<AcDbObjectId> out;
    const AcGePoint2d p(a.x, a.y), q(b.x, b.y);
    for (AcDbObjectId id : m_ids) {
      AcDbEntityPointer e(id, AcDb::kForRead);
      if (!e || !Visible(e.object())) continue;
      ViewShape s;
      if (!ShapeOf(e.object(), m_toView, false, s)) continue;
      bool in = InsideWindow(s, p, q);
      if (!in && way == Way::Crossing && Overlaps(s, p, q) &&
          ShapeOf(e.object(), m_toView, true, s))
        in = CrossesWindow(s, p, q);
      if (in) out.push_back(id);
    }
    return out;
  }

  // The entity drawn last of those under the pick box at `at`.
  AcDbObjectId Pick(const AcGePoint3d& at) {
    const double aperture = Host::Get().pickBox;
    const AcGePoint2d p(at.x, at.y);
    for (auto it = m_ids.rbegin(); it != m_ids.rend(); ++it) {
      AcDbEntityPointer e(*it, AcDb::kForRead);
      if (!e || !Visible(e.object())) continue;
      ViewShape s;
      if (!ShapeOf(e.object(), m_toView, false, s)) continue;
      if (p.x < s.min.x - aperture || p.x > s.max.x + aperture || p.y < s.min.y - aperture ||
          p.y > s.max.y + aperture)
        continue;
      if (ShapeOf(e.object(), m_toView, true, s) && Hits(s, p, aperture)) return *it;
    }
    return {};
  }

  std::vector<AcDbObjectId> All() {
    std::vector<AcDbObjectId> out;
    for (AcDbObjectId id : m_ids) {
      AcDbEntityPointer e(id, AcDb::kForRead);
      if (e && !Frozen(e->layerId())) out.push_back(id);
    }
    return out;
  }

  AcDbObjectId Last() {
    for (auto it = m_ids.rbegin(); it != m_ids.rend(); ++it) {
      AcDbEntityPointer e(*it, AcDb::kForRead);
      if (e && Visible(e.object())) return *it;
    }
    return {};
  }

 private:
  static bool Overlaps(const ViewShape& s, const AcGePoint2d& a, const AcGePoint2d& b) {
    return !(s.max.x < std::min(a.x, b.x) || s.min.x > std::max(a.x, b.x) ||
             s.max.y < std::min(a.y, b.y) || s.min.y > std::max(a.y, b.y));
  }

  // Layer states, looked up once per layer.
  const std::pair<bool, bool>& LayerState(AcDbObjectId layer) {
    auto it = m_layers.find(layer);
    if (it == m_layers.end()) {
      AcDbObjectPointer<AcDbLayerTableRecord> l(layer, AcDb::kForRead);
      it = m_layers.emplace(layer, std::make_pair(l && l->isFrozen(), l && l->isOff())).first;
    }
    return it->second;
  }
  bool Frozen(AcDbObjectId layer) { return LayerState(layer).first; }
  bool Visible(const AcDbEntity* e) {
    const auto& st = LayerState(e->layerId());
    return !st.first && !st.second;
  }

  std::vector<AcDbObjectId> m_ids;
  AcGeMatrix3d m_toView;
  std::unordered_map<AcDbObjectId, std::pair<bool, bool>> m_layers;
};

void AddTo(std::vector<AcDbObjectId>& set, const std::vector<AcDbObjectId>& ids, bool remove) {
  int changed = 0, duplicates = 0;
  for (AcDbObjectId id : ids) {
    auto it = std::find(set.begin(), set.end(), id);
    if (remove) {
      if (it != set.end()) {
        set.erase(it);
        ++changed;
      }
    } else if (it == set.end()) {
      set.push_back(id);
      ++changed;
    } else {
      ++duplicates;
    }
  }
  if (remove) {
    acutPrintf("\n%d found, %d removed, %zu total", static_cast<int>(ids.size()), changed,
               set.size());
  } else if (duplicates > 0) {
    acutPrintf("\n%d found (%d duplicate), %zu total", static_cast<int>(ids.size()), duplicates,
               set.size());
  } else {
    acutPrintf("\n%d found, %zu total", static_cast<int>(ids.size()), set.size());
  }
}

// Two corners of a window: the first asked for unless given.
bool AskCorners(const AcGePoint3d* first, AcGePoint3d& a, AcGePoint3d& b, int& rc) {
  if (first != nullptr) {
    a = *first;
  } else {
    const PromptAnswer p = AskPoint("\nSpecify first corner: ");
    if (p.rc != RTNORM) {
      rc = p.rc == RTCAN ? RTCAN : RTNONE;
      return false;
    }
    a = p.point;
  }
  const PromptAnswer q = AskPoint("\nSpecify opposite corner: ");
  if (q.rc != RTNORM) {
    rc = q.rc == RTCAN ? RTCAN : RTNONE;
    return false;
  }
  b = q.point;
  return true;
}

AcDbObjectId IdOfOldId(std::int64_t v) {
  AcDbObjectId id;
  id.setFromOldId(static_cast<Adesk::UInt64>(v));
  return id;
}

void MakeName(std::int64_t value, std::int64_t tag, ads_name out) {
  out[0] = value;
  out[1] = tag;
}

// A new open set holding `ids`; RTERROR when too many sets are open.
int NewSet(std::vector<AcDbObjectId> ids, ads_name out) {
  Host& h = Host::Get();
  if (h.selectionSets.size() >= kMaxOpenSets) {
    acutPrintf("\nToo many selection sets are open.");
    return RTERROR;
  }
  const std::int64_t n = h.nextSelectionSet++;
  h.selectionSets.emplace(n, std::move(ids));
  MakeName(n, kSetNameTag, out);
  return RTNORM;
}

}  // namespace

std::vector<AcDbObjectId>* FindSet(const ads_name name) {
  if (name == nullptr || name[1] != kSetNameTag) return nullptr;
  auto& sets = Host::Get().selectionSets;
  auto it = sets.find(name[0]);
  return it == sets.end() ? nullptr : &it->second;
}

AcDbObjectId EntityOf(const ads_name name) {
  if (name == nullptr || name[1] != kEntityNameTag || name[0] == 0) return {};
  return IdOfOldId(name[0]);
}

int SelectInteractively(std::vector<AcDbObjectId>& out, bool singleStep) {
  DocumentState* doc = Host::Get().CurrentState();
  if (doc == nullptr) return RTERROR;
  Candidates candidates(*doc);
  out.clear();
  bool remove = false;
  static constexpr const char* kKeywords = "Window Last Crossing ALL Previous Remove Add";
  for (;;) {
    const PromptAnswer a = AskPoint(remove ? "\nRemove objects: " : "\nSelect objects: ",
                                    kKeywords);
    if (a.rc == RTCAN) return RTCAN;
    if (a.rc == RTNONE) break;
    int rc = RTNORM;
    AcGePoint3d p, q;
    if (a.rc == RTNORM) {
      const AcDbObjectId hit = candidates.Pick(a.point);
      if (!hit.isNull()) {
        AddTo(out, {hit}, remove);
      } else {
        // Nothing under the pick box: the point starts a window, left to right, or a crossing.
        if (!AskCorners(&a.point, p, q, rc)) {
          if (rc == RTCAN) return RTCAN;
          continue;
        }
        AddTo(out, candidates.InWindow(p, q, q.x >= p.x ? Way::Window : Way::Crossing), remove);
      }
    } else if (a.keyword == "Window" || a.keyword == "Crossing") {
      if (!AskCorners(nullptr, p, q, rc)) {
        if (rc == RTCAN) return RTCAN;
        continue;
      }
      AddTo(out, candidates.InWindow(p, q, a.keyword == "Window" ? Way::Window : Way::Crossing),
            remove);
    } else if (a.keyword == "Last") {
      const AcDbObjectId last = candidates.Last();
      AddTo(out, last.isNull() ? std::vector<AcDbObjectId>{} : std::vector{last}, remove);
    } else if (a.keyword == "ALL") {
      AddTo(out, candidates.All(), remove);
    } else if (a.keyword == "Previous") {
      AddTo(out, doc->previousSelection, remove);
    } else if (a.keyword == "Remove") {
      remove = true;
      continue;
    } else if (a.keyword == "Add") {
      remove = false;
      continue;
    }
    if (singleStep && !out.empty()) break;
  }
  if (out.empty()) return RTERROR;
  doc->previousSelection = out;
  return RTNORM;
}

}  // namespace cadhost

using cadhost::Host;

int acedSSGet(const ACHAR* mode, const void* p1, const void* p2, const resbuf* filter,
              ads_name ss) {
  if (ss == nullptr || filter != nullptr) return RTERROR;
  ads_name_clear(ss);
  cadhost::DocumentState* doc = Host::Get().CurrentState();
  if (doc == nullptr) return RTERROR;
  std::string m = mode != nullptr ? mode : "";
  while (!m.empty() && m.front() == '_') m.erase(0, 1);
  m = cadhost::ToUpperAscii(m);
  std::vector<AcDbObjectId> ids;
  auto point = [](const void* p) {
    const auto* a = static_cast<const ads_real*>(p);
    return AcGePoint3d(a[X], a[Y], a[Z]);
  };
  cadhost::Candidates candidates(*doc);
  if (m.empty() && p1 != nullptr) {
    const AcDbObjectId hit = candidates.Pick(point(p1));
    if (!hit.isNull()) ids.push_back(hit);
  } else if (m.empty() || m == ":S") {
    const int rc = cadhost::SelectInteractively(ids, m == ":S");
    if (rc != RTNORM) return rc;
  } else if (m == "W" || m == "C") {
    if (p1 == nullptr || p2 == nullptr) return RTERROR;
    ids = candidates.InWindow(point(p1), point(p2),
                              m == "W" ? cadhost::Way::Window : cadhost::Way::Crossing);
  } else if (m == "L") {
    const AcDbObjectId last = candidates.Last();
    if (!last.isNull()) ids.push_back(last);
  } else if (m == "A" || m == "X" || m == "ALL") {
    ids = candidates.All();
  } else if (m == "P") {
    ids = doc->previousSelection;
  } else if (m == "I") {
    // Without a window nothing is ever selected before a command starts.
  } else {
    return RTERROR;
  }
  if (ids.empty()) return RTERROR;
  doc->previousSelection = ids;
  return cadhost::NewSet(std::move(ids), ss);
}

int acedSSAdd(const ads_name entity, const ads_name set, ads_name result) {
  if (result == nullptr) return RTERROR;
  const bool hasEntity = entity != nullptr && !ads_name_nil(entity);
  const bool hasSet = set != nullptr && !ads_name_nil(set);
  AcDbObjectId id;
  if (hasEntity) {
    id = cadhost::EntityOf(entity);
    if (id.isNull() || !id.isValid()) return RTERROR;
  }
  if (!hasSet) {
    std::vector<AcDbObjectId> ids;
    if (hasEntity) ids.push_back(id);
    return cadhost::NewSet(std::move(ids), result);
  }
  std::vector<AcDbObjectId>* s = cadhost::FindSet(set);
  if (s == nullptr) return RTERROR;
  if (hasEntity && std::find(s->begin(), s->end(), id) == s->end()) s->push_back(id);
  if (result != set) ads_name_set(set, result);
  return RTNORM;
}

int acedSSDel(const ads_name entity, const ads_name set) {
  std::vector<AcDbObjectId>* s = cadhost::FindSet(set);
  const AcDbObjectId id = cadhost::EntityOf(entity);
  if (s == nullptr || id.isNull()) return RTERROR;
  auto it = std::find(s->begin(), s->end(), id);
  if (it == s->end()) return RTERROR;
  s->erase(it);
  return RTNORM;
}

int acedSSMemb(const ads_name entity, const ads_name set) {
  const std::vector<AcDbObjectId>* s = cadhost::FindSet(set);
  const AcDbObjectId id = cadhost::EntityOf(entity);
  if (s == nullptr || id.isNull()) return RTERROR;
  return std::find(s->begin(), s->end(), id) == s->end() ? RTERROR : RTNORM;
}

int acedSSLength(const ads_name set, Adesk::Int32* length) {
  const std::vector<AcDbObjectId>* s = cadhost::FindSet(set);
  if (s == nullptr || length == nullptr) return RTERROR;
  *length = static_cast<Adesk::Int32>(s->size());
  return RTNORM;
}

int acedSSName(const ads_name set, Adesk::Int32 index, ads_name entity) {
  const std::vector<AcDbObjectId>* s = cadhost::FindSet(set);
  if (s == nullptr || entity == nullptr || index < 0 ||
      static_cast<std::size_t>(index) >= s->size())
    return RTERROR;
  cadhost::MakeName(static_cast<std::int64_t>((*s)[static_cast<std::size_t>(index)].asOldId()),
                    cadhost::kEntityNameTag, entity);
  return RTNORM;
}

int acedSSFree(const ads_name set) {
  if (cadhost::FindSet(set) == nullptr) return RTERROR;
  Host::Get().selectionSets.erase(set[0]);
  return RTNORM;
}

Acad::ErrorStatus acdbGetObjectId(AcDbObjectId& id, const ads_name name) {
  id = cadhost::EntityOf(name);
  return id.isNull() ? Acad::eInvalidInput : Acad::eOk;
}

Acad::ErrorStatus acdbGetAdsName(ads_name name, AcDbObjectId id) {
  if (name == nullptr) return Acad::eNullObjectPointer;
  ads_name_clear(name);
  if (id.isNull()) return Acad::eNullObjectId;
  if (!id.isValid()) return Acad::eUnknownHandle;
  cadhost::MakeName(static_cast<std::int64_t>(id.asOldId()), cadhost::kEntityNameTag, name);
  return Acad::eOk;
}
