#pragma once
// Undo and redo of whole commands, per document. The journal records what each command
// changed and nothing else: a full copy of every object as it was before its first change in
// the step, the ids of the objects the step added, and the values the database keeps beside
// its objects (header values, the next handle, the table and object lists) when they changed.
// Undoing exchanges the copies with the live objects and takes the added objects out; the
// objects exchanged are kept, so that redo exchanges them back. A drawing saved after an undo
// is the drawing as it was before the step, handles included.

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

#include "cadhost/db/database_impl.h"

namespace cadhost {

class UndoJournal : public ChangeObserver {
 public:
  // Observes the store of `db` from now on.
  explicit UndoJournal(AcDbDatabase& db);
  ~UndoJournal() override;
  UndoJournal(const UndoJournal&) = delete;
  UndoJournal& operator=(const UndoJournal&) = delete;

  // Opens a step named after its command; Begin and End nest, the outermost pair makes one
  // step. Changes made while no step is open form a step of their own, named "", which ends
  // at the next Begin, Undo or Redo.
  void Begin(const std::string& name);
  // Closes the step: one that changed nothing is dropped; one that changed something makes
  // what was undone before it unreachable (redo starts afresh).
  void End();
  bool InStep() const { return m_depth > 0; }

  // Why an undo or redo did not happen.
  enum class Refusal { kNothing, kObjectOpen };
  struct Outcome {
    bool done = false;
    std::string name;      // the step's command, when done
    Refusal why = Refusal::kNothing;
  };
  // Undoes the last step, or redoes the last one undone. An object of the step that is open
  // (held by a reader or writer) refuses the whole step: nothing changes then.
  Outcome Undo();
  Outcome Redo();
  std::size_t UndoCount() const { return m_done.size(); }
  std::size_t RedoCount() const { return m_undone.size(); }
  // Forgets every step (the database was replaced as a whole, or the document closes).
  void Clear();
  // Takes back what the open step changed, open objects or not, and drops the step (a command
  // that broke half way).
  void Rollback();
  // Closes the objects the open step changed that are still open (a command that threw left
  // them so); how many.
  int CloseLeftOpen();

  // Objects changed, added, or exchanged by undo and redo since the last call; `all` is set
  // instead when too many to list changed, and on the first call (collecting starts then).
  std::vector<AcDbObjectId> TakeTouched(bool& all);

  void willChange(AcDbObject& object) override;
  void added(AcDbObjectId id) override;

  // Bounds: the oldest steps go when there are more, or when the steps together hold more
  // object copies than this.
  static constexpr std::size_t kMaxSteps = 100;
  static constexpr std::size_t kMaxCopies = 2'000'000;

 private:
  // One object of a step: the object as it is on the other side of the step (before it, while
  // the step is done; after it, while undone), or null when it is not there on that side.
  struct Change {
    AcDbObjectId id;
    std::unique_ptr<AcDbObject> other;
  };
  // What the database keeps beside its objects.
  struct Values {
    HeaderValues header;
    std::uint64_t handseed = 0;
    std::vector<AcDbObjectId> objects;
    std::vector<AcDbObjectId> rawTables;
    bool operator==(const Values&) const = default;
  };
  struct Step {
    std::string name;
    std::vector<Change> changes;
    std::unordered_set<AcDbObjectId> seen;  // while open: ids recorded already
    Values before, after;
    bool valuesChanged = false;
  };

  DatabaseImpl* Impl();  // the store, re-observed when the database replaced it
  Values Capture() const;
  void Apply(const Values& v);
  void OpenImplicitStep();
  void CloseStep();
  void Touch(AcDbObjectId id);
  bool AnyOpen(const Step& step) const;
  // Exchanges every object of `step` with its other side, in `forward` or reverse order.
  void Exchange(Step& step, bool forward);
  void Trim();

  AcDbDatabase& m_db;
  DatabaseImpl* m_impl;
  int m_depth = 0;
  bool m_implicit = false;  // the open step collects changes made outside commands
  std::unique_ptr<Step> m_open;
  std::deque<std::unique_ptr<Step>> m_done;
  std::vector<std::unique_ptr<Step>> m_undone;
  std::size_t m_copies = 0;
  bool m_tracking = false;  // someone takes the touched ids (a window): collect them
  std::unordered_set<AcDbObjectId> m_touched;
  bool m_allTouched = false;
};

// A full copy of a database object that the store can take back in its place: same class and
// properties, same id, handle, owner and erased flag, closed. Tables and block definitions are
// copied with their record and entity lists.
std::unique_ptr<AcDbObject> FullCopy(const AcDbObject& object);

}  // namespace cadhost
