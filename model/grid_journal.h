#pragma once
// Undo and redo for the table a grid holds. The journal watches the grid and records each
// change as it happens: the cells, sizes, blocks and lines touched, with their state before
// and after, never a copy of the table. Changes are grouped into steps; undoing a step puts
// every cell, size, block and line it touched back as it was.
//
// Whole-table operations that rebuild the grid (the flips) are recorded by the caller as an
// action with its own undo and redo; a rebuild that is not recorded so drops the history.

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <variant>
#include <vector>

#include "model/cell_image.h"
#include "model/grid_model.h"

namespace vex {

// What undo restores of a cell: text, stored format and font height, kind and picture.
struct CellSnapshot {
  std::string text;
  int format = -1;
  int fontHeight = 0;
  int kind = kTextCell;
  std::optional<CellImage> picture;

  static CellSnapshot Of(const GridModel& grid, int row, int col);
  void WriteTo(GridModel& grid, int row, int col) const;
  bool SameAs(const CellSnapshot& o) const;
};

class GridJournal final : public GridChangeObserver {
 public:
  // At least this many steps are kept; older ones are forgotten.
  static constexpr std::size_t kDefaultSteps = 200;

  // Watches `grid` until destroyed.
  explicit GridJournal(GridModel& grid, std::size_t maxSteps = kDefaultSteps);
  ~GridJournal();
  GridJournal(const GridJournal&) = delete;
  GridJournal& operator=(const GridJournal&) = delete;

  // Groups the changes until the matching EndStep into one step; nested pairs join the outer
  // step. A step with a non-zero `joinKey` that follows a step of the same key with nothing
  // between them (no other step, no undo or redo) joins it: a value typed key by key into a
  // box is one step. A step that changed nothing is dropped.
  void BeginStep(int joinKey = 0);
  void EndStep();
  // Changes made outside any step form a step of their own, closed by the next call here.

  // While paused, changes are not recorded (refilling the headers, reloading the grid for a
  // recorded action). Pauses nest.
  void Pause() { ++paused_; }
  void Resume() { --paused_; }

  // Records a step that the caller undoes and redoes itself, inside the open step or as a
  // step of its own. The grid is rebuilt in between without dropping the history.
  void RecordAction(std::function<void()> undo, std::function<void()> redo);

  bool CanUndo();
  bool CanRedo();
  // Undoes (redoes) the last step; false when there is none. The grid's counts, sizes, cells
  // and blocks are as they were; selection and focus are left to the caller.
  bool Undo();
  bool Redo();
  // Forgets every step.
  void Clear();
  std::size_t UndoCount();
  std::size_t RedoCount();

  // Converts the recorded pixel sizes (row heights, column widths) and font heights after the
  // grid was reloaded at another zoom, so that undo brings back the sizes at the new zoom.
  void ConvertPixels(const std::function<int(int)>& size, const std::function<int(int)>& fontHeight);

  // Told after a step was recorded, undone, redone or the history dropped.
  void SetOnChange(std::function<void()> f) { onChange_ = std::move(f); }

  // GridChangeObserver
  void CellChanging(int row, int col) override;
  void SizeChanging(bool row, int index) override;
  void BlockAdded(const CellRange& block) override;
  void BlockRemoving(const CellRange& block) override;
  void LineInserting(bool row, int index) override;
  void LineDeleting(bool row, int index) override;
  void Rebuilding() override;

 private:
  struct CellChange {
    int row, col;
    CellSnapshot before, after;
  };
  struct SizeChange {
    bool row;
    int index;
    int before, after;
  };
  struct BlockChange {
    bool added;
    CellRange block;
  };
  struct LineInsert {
    bool row;
    int index;
  };
  struct LineDelete {
    bool row;
    int index;
    int size;
    std::vector<CellSnapshot> cells;
    std::vector<CellRange> blocks;  // the blocks the line was part of, as they were
  };
  struct Action {
    std::function<void()> undo, redo;
  };
  using Entry = std::variant<CellChange, SizeChange, BlockChange, LineInsert, LineDelete, Action>;
  struct Step {
    std::vector<Entry> entries;
    int joinKey = 0;
  };

  bool Recording() const { return paused_ == 0 && !applying_; }
  // Opens a step for a change made outside BeginStep/EndStep.
  void EnsureOpen();
  void SealLoose();
  // Fills the after-states of the open segment's cells and sizes, drops those that did not
  // change, and starts a new segment: lines moved, so positions no longer match.
  void CloseSegment();
  void Commit();
  void ReopenLast();
  void Apply(Entry& e, bool undo);
  void Changed();

  GridModel& grid_;
  std::size_t maxSteps_;
  std::deque<Step> undo_;
  std::vector<Step> redo_;
  std::optional<Step> open_;
  int depth_ = 0;
  bool loose_ = false;
  int paused_ = 0;
  bool applying_ = false;
  bool joinable_ = false;  // the last step may be joined by its key
  std::size_t segmentStart_ = 0;
  std::unordered_map<std::uint64_t, std::size_t> cellIndex_;  // (row, col) -> entry
  std::unordered_map<std::uint64_t, std::size_t> sizeIndex_;  // (axis, index) -> entry
  std::function<void()> onChange_;
};

// Groups the changes of a scope into one step of the journal (none when null).
class JournalStep {
 public:
  explicit JournalStep(GridJournal* journal, int joinKey = 0) : journal_(journal) {
    if (journal_) journal_->BeginStep(joinKey);
  }
  ~JournalStep() {
    if (journal_) journal_->EndStep();
  }
  JournalStep(const JournalStep&) = delete;
  JournalStep& operator=(const JournalStep&) = delete;

 private:
  GridJournal* journal_;
};

// Keeps the changes of a scope out of the journal (none when null).
class JournalPause {
 public:
  explicit JournalPause(GridJournal* journal) : journal_(journal) {
    if (journal_) journal_->Pause();
  }
  ~JournalPause() {
    if (journal_) journal_->Resume();
  }
  JournalPause(const JournalPause&) = delete;
  JournalPause& operator=(const JournalPause&) = delete;

 private:
  GridJournal* journal_;
};

}  // namespace vex
