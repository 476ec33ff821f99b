// The undo journal of a document: steps of exchanged objects.

#include "cadhost/host/undo.h"

#include "cadhost/db/raw_objects.h"

namespace cadhost {
namespace {

// Views take the changed ids; past this many they redraw everything instead.
constexpr std::size_t kMaxTouched = 200'000;

bool IsOpen(const AcDbObject* o) {
  return o != nullptr &&
         (ObjectAccess::readers(const_cast<AcDbObject&>(*o)) > 0 ||
          ObjectAccess::writer(const_cast<AcDbObject&>(*o)));
}

template <typename T>
std::unique_ptr<AcDbObject> CopyAs(const AcDbObject& o) {
  return std::make_unique<T>(static_cast<const T&>(o));
}

}  // namespace

std::unique_ptr<AcDbObject> FullCopy(const AcDbObject& o) {
  std::unique_ptr<AcDbObject> copy;
  // clone() leaves out what belongs to the store (a block's entities) and does not copy
  // tables at all; the copy constructors keep everything.
  if (AcDbBlockTableRecord::cast(&o) != nullptr) copy = CopyAs<AcDbBlockTableRecord>(o);
  else if (RawSymbolTable::cast(&o) != nullptr) copy = CopyAs<RawSymbolTable>(o);
  else if (AcDbBlockTable::cast(&o) != nullptr) copy = CopyAs<AcDbBlockTable>(o);
  else if (AcDbLayerTable::cast(&o) != nullptr) copy = CopyAs<AcDbLayerTable>(o);
  else if (AcDbLinetypeTable::cast(&o) != nullptr) copy = CopyAs<AcDbLinetypeTable>(o);
  else if (AcDbTextStyleTable::cast(&o) != nullptr) copy = CopyAs<AcDbTextStyleTable>(o);
  else copy = o.clone();
  if (!copy) return nullptr;
  ObjectAccess::attach(*copy, o.database(), o.objectId(), o.getDbHandle(), o.ownerId());
  ObjectAccess::setErased(*copy, o.isErased());
  return copy;
}

UndoJournal::UndoJournal(AcDbDatabase& db) : m_db(db), m_impl(&db.impl()) {
  m_impl->setObserver(this);
}

UndoJournal::~UndoJournal() {
  if (&m_db.impl() == m_impl && m_impl->observer() == this) m_impl->setObserver(nullptr);
}

DatabaseImpl* UndoJournal::Impl() {
  if (&m_db.impl() != m_impl) {
    // readDwgFile replaced the whole store: the recorded ids name nothing any more.
    Clear();
    m_impl = &m_db.impl();
    m_impl->setObserver(this);
    m_allTouched = true;
  }
  return m_impl;
}

void UndoJournal::Clear() {
  m_open.reset();
  m_implicit = false;
  m_depth = 0;
  m_done.clear();
  m_undone.clear();
  m_copies = 0;
}

UndoJournal::Values UndoJournal::Capture() const {
  return {m_impl->header, m_impl->handseed(), m_impl->objects, m_impl->rawTables};
}

void UndoJournal::Apply(const Values& v) {
  m_impl->header = v.header;
  m_impl->setHandseed(v.handseed);
  m_impl->objects = v.objects;
  m_impl->rawTables = v.rawTables;
}

void UndoJournal::Begin(const std::string& name) {
  Impl();
  if (m_depth++ > 0) return;
  if (m_open) CloseStep();  // changes made outside a command
  m_open = std::make_unique<Step>();
  m_open->name = name;
  m_open->before = Capture();
}

void UndoJournal::End() {
  if (m_depth == 0) return;
  if (--m_depth == 0 && m_open) CloseStep();
}

void UndoJournal::OpenImplicitStep() {
  m_open = std::make_unique<Step>();
  m_open->before = Capture();
  m_implicit = true;
}

void UndoJournal::CloseStep() {
  std::unique_ptr<Step> step = std::move(m_open);
  m_implicit = false;
  step->after = Capture();
  step->valuesChanged = !(step->after == step->before);
  if (step->changes.empty() && !step->valuesChanged) return;
  step->seen = {};
  m_copies += step->changes.size();
  m_undone.clear();
  m_done.push_back(std::move(step));
  Trim();
}

void UndoJournal::Trim() {
  while (m_done.size() > 1 && (m_done.size() > kMaxSteps || m_copies > kMaxCopies)) {
    m_copies -= m_done.front()->changes.size();
    m_done.pop_front();
  }
}

void UndoJournal::Touch(AcDbObjectId id) {
  if (!m_tracking || m_allTouched) return;
  m_touched.insert(id);
  if (m_touched.size() > kMaxTouched) {
    m_allTouched = true;
    m_touched.clear();
  }
}

std::vector<AcDbObjectId> UndoJournal::TakeTouched(bool& all) {
  Impl();
  all = m_allTouched || !m_tracking;
  m_tracking = true;
  std::vector<AcDbObjectId> out(m_touched.begin(), m_touched.end());
  m_touched.clear();
  m_allTouched = false;
  return out;
}

void UndoJournal::willChange(AcDbObject& object) {
  if (!m_open) OpenImplicitStep();
  const AcDbObjectId id = object.objectId();
  Touch(id);
  if (!m_open->seen.insert(id).second) return;
  std::unique_ptr<AcDbObject> copy = FullCopy(object);
  if (copy) m_open->changes.push_back({id, std::move(copy)});
}

void UndoJournal::added(AcDbObjectId id) {
  if (!m_open) OpenImplicitStep();
  Touch(id);
  if (m_open->seen.insert(id).second) m_open->changes.push_back({id, nullptr});
}

bool UndoJournal::AnyOpen(const Step& step) const {
  for (const Change& c : step.changes)
    if (IsOpen(m_impl->object(c.id))) return true;
  return false;
}

void UndoJournal::Exchange(Step& step, bool forward) {
  auto one = [&](Change& c) {
    c.other = m_impl->exchange(c.id, std::move(c.other));
    Touch(c.id);
  };
  if (forward) {
    for (Change& c : step.changes) one(c);
  } else {
    for (auto it = step.changes.rbegin(); it != step.changes.rend(); ++it) one(*it);
  }
}

void UndoJournal::Rollback() {
  Impl();
  if (!m_open) return;
  Exchange(*m_open, false);
  Apply(m_open->before);
  m_open.reset();
  m_depth = 0;
  m_implicit = false;
}

int UndoJournal::CloseLeftOpen() {
  if (!m_open || &m_db.impl() != m_impl) return 0;
  int closed = 0;
  for (const Change& c : m_open->changes) {
    AcDbObject* o = m_impl->object(c.id);
    if (IsOpen(o)) {
      ObjectAccess::resetOpens(*o);
      ++closed;
    }
  }
  return closed;
}

UndoJournal::Outcome UndoJournal::Undo() {
  Impl();
  if (m_open && m_implicit) CloseStep();
  if (m_done.empty()) return {};
  Step& step = *m_done.back();
  if (AnyOpen(step)) return {false, step.name, Refusal::kObjectOpen};
  Exchange(step, false);
  if (step.valuesChanged) Apply(step.before);
  Outcome out{true, step.name, Refusal::kNothing};
  m_undone.push_back(std::move(m_done.back()));
  m_done.pop_back();
  m_copies -= m_undone.back()->changes.size();
  return out;
}

UndoJournal::Outcome UndoJournal::Redo() {
  Impl();
  if (m_open && m_implicit) CloseStep();
  if (m_undone.empty()) return {};
  Step& step = *m_undone.back();
  if (AnyOpen(step)) return {false, step.name, Refusal::kObjectOpen};
  Exchange(step, true);
  if (step.valuesChanged) Apply(step.after);
  Outcome out{true, step.name, Refusal::kNothing};
  m_copies += step.changes.size();
  m_done.push_back(std::move(m_undone.back()));
  m_undone.pop_back();
  return out;
}

}  // namespace cadhost
