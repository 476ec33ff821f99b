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

  // The entity drawn last of those under the pick box at `at`, `aperture` its half size in
  // drawing units (0: PICKBOX).
  AcDbObjectId Pick(const AcGePoint3d& at, double aperture = 0.0) {
    if (!(aperture > 0.0)) aperture = Host::Get().pickBox;
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

// A selection being made: its entities in order, and a look-up of them (a window over a
// large table finds a hundred thousand).
struct Selection {
  std::vector<AcDbObjectId>& ids;
  std::unordered_set<AcDbObjectId> members;
  explicit Selection(std::vector<AcDbObjectId>& into) : ids(into), members(into.begin(), into.end()) {}
};

// Adds or removes `ids`; how many changed and how many were there already.
std::pair<int, int> Change(Selection& sel, const std::vector<AcDbObjectId>& ids, bool remove) {
  int changed = 0, duplicates = 0;
  if (remove) {
    std::unordered_set<AcDbObjectId> gone;
    for (AcDbObjectId id : ids)
      if (sel.members.erase(id) != 0) gone.insert(id);
    changed = static_cast<int>(gone.size());
    if (changed > 0) std::erase_if(sel.ids, [&](AcDbObjectId id) { return gone.count(id) != 0; });
  } else {
    for (AcDbObjectId id : ids) {
      if (sel.members.insert(id).second) {
        sel.ids.push_back(id);
        ++changed;
      } else {
        ++duplicates;
      }
    }
  }
  if (HostWindow* w = Host::Get().window) w->SelectionChanged();
  return {changed, duplicates};
}

void AddTo(Selection& sel, const std::vector<AcDbObjectId>& ids, bool remove) {
  const auto [changed, duplicates] = Change(sel, ids, remove);
  const std::vector<AcDbObjectId>& set = sel.ids;
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
    const PromptContext start = PointContext(PromptContext::Kind::SelectCorner);
    const PromptAnswer p = AskPoint("\nSpecify first corner: ", {}, &start);
    if (p.rc != RTNORM) {
      rc = p.rc == RTCAN ? RTCAN : RTNONE;
      return false;
    }
    a = p.point;
  }
  const PromptContext corner = PointContext(PromptContext::Kind::SelectCorner, &a);
  const PromptAnswer q = AskPoint("\nSpecify opposite corner: ", {}, &corner);
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

// Shows the selection being made as highlighted for the life of the scope.
class Highlighting {
 public:
  explicit Highlighting(const std::vector<AcDbObjectId>& ids) : m_was(Host::Get().selecting) {
    Host::Get().selecting = &ids;
  }
  ~Highlighting() {
    Host::Get().selecting = m_was;
    if (HostWindow* w = Host::Get().window) w->SelectionChanged();
  }
  Highlighting(const Highlighting&) = delete;
  Highlighting& operator=(const Highlighting&) = delete;

 private:
  const std::vector<AcDbObjectId>* m_was;
};

// The entities of `ids` that are still there to select.
std::vector<AcDbObjectId> StillThere(const std::vector<AcDbObjectId>& ids) {
  std::vector<AcDbObjectId> out;
  for (AcDbObjectId id : ids)
    if (id.isValid() && !id.isErased()) out.push_back(id);
  return out;
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

std::vector<AcDbObjectId> TakePickFirst() {
  Host& h = Host::Get();
  std::vector<AcDbObjectId> out = StillThere(h.pickFirstForCommand);
  h.pickFirstForCommand.clear();
  return out;
}

bool PickAtCommandPrompt(const PickedPoint& pick) {
  Host& h = Host::Get();
  DocumentState* doc = h.CurrentState();
  if (doc == nullptr) return false;
  Candidates candidates(*doc);
  Selection sel(h.pickFirst);
  const AcDbObjectId hit = pick.window ? AcDbObjectId() : candidates.Pick(pick.point, pick.aperture);
  if (!hit.isNull()) {
    Change(sel, {hit}, pick.shift);
    return false;
  }
  const PromptContext corner = PointContext(PromptContext::Kind::SelectCorner, &pick.point);
  const PromptAnswer q = AskPoint("\nSpecify opposite corner: ", {}, &corner);
  if (q.rc == RTNORM)
    Change(sel, candidates.InWindow(pick.point, q.point,
                                    q.point.x >= pick.point.x ? Way::Window : Way::Crossing),
           pick.shift);
  return true;
}

void ClearPickFirst() {
  Host& h = Host::Get();
  if (h.pickFirst.empty()) return;
  h.pickFirst.clear();
  if (h.window != nullptr) h.window->SelectionChanged();
}

namespace {

int SelectByPrompts(DocumentState& doc, std::vector<AcDbObjectId>& out, bool singleStep) {
  Candidates candidates(doc);
  Selection sel(out);
  Highlighting shown(out);
  bool remove = false;
  static constexpr const char* kKeywords = "Window Last Crossing ALL Previous Remove Add";
  const PromptContext selecting = PointContext(PromptContext::Kind::Select);
  for (;;) {
    const PromptAnswer a = AskPoint(remove ? "\nRemove objects: " : "\nSelect objects: ",
                                    kKeywords, &selecting);
    if (a.rc == RTCAN) return RTCAN;
    if (a.rc == RTNONE) break;
    int rc = RTNORM;
    AcGePoint3d p, q;
    if (a.rc == RTNORM) {
      // Shift held while picking removes, as remove mode does.
      const bool removing = remove || (a.picked && a.pick.shift);
      const AcDbObjectId hit = a.picked && a.pick.window
                                   ? AcDbObjectId()
                                   : candidates.Pick(a.point, a.picked ? a.pick.aperture : 0.0);
      if (!hit.isNull()) {
        AddTo(sel, {hit}, removing);
      } else {
        // Nothing under the pick box: the point starts a window, left to right, or a crossing.
        if (!AskCorners(&a.point, p, q, rc)) {
          if (rc == RTCAN) return RTCAN;
          continue;
        }
        AddTo(sel, candidates.InWindow(p, q, q.x >= p.x ? Way::Window : Way::Crossing),
              removing);
      }
    } else if (a.keyword == "Window" || a.keyword == "Crossing") {
      if (!AskCorners(nullptr, p, q, rc)) {
        if (rc == RTCAN) return RTCAN;
        continue;
      }
      AddTo(sel, candidates.InWindow(p, q, a.keyword == "Window" ? Way::Window : Way::Crossing),
            remove);
    } else if (a.keyword == "Last") {
      const AcDbObjectId last = candidates.Last();
      AddTo(sel, last.isNull() ? std::vector<AcDbObjectId>{} : std::vector{last}, remove);
    } else if (a.keyword == "ALL") {
      AddTo(sel, candidates.All(), remove);
    } else if (a.keyword == "Previous") {
      AddTo(sel, doc.previousSelection, remove);
    } else if (a.keyword == "Remove") {
      remove = true;
      continue;
    } else if (a.keyword == "Add") {
      remove = false;
      continue;
    }
    if (singleStep && !out.empty()) break;
  }
  return RTNORM;
}

}  // namespace

int SelectInteractively(std::vector<AcDbObjectId>& out, bool singleStep) {
  DocumentState* doc = Host::Get().CurrentState();
  if (doc == nullptr) return RTERROR;
  out = TakePickFirst();
  if (out.empty()) {
    const int rc = SelectByPrompts(*doc, out, singleStep);
    if (rc != RTNORM) return rc;
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
    ids = cadhost::TakePickFirst();
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
