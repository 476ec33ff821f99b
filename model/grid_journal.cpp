#include "model/grid_journal.h"

#include <algorithm>

namespace vex {
namespace {

std::uint64_t Key(int a, int b) {
  return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(a)) << 32) | static_cast<std::uint32_t>(b);
}

bool SamePicture(const CellImage& a, const CellImage& b) {
  return a.HorzMode == b.HorzMode && a.VertMode == b.VertMode && a.dScael == b.dScael &&
         a.sBlockName == b.sBlockName && a.images == b.images;
}

}  // namespace

// ---------------------------------------------------------------- cell snapshots

CellSnapshot CellSnapshot::Of(const GridModel& grid, int row, int col) {
  CellSnapshot s;
  s.text = grid.Text(row, col);
  s.format = grid.Format(row, col);
  s.fontHeight = grid.FontHeight(row, col);
  s.kind = grid.Kind(row, col);
  if (const CellImage* p = grid.Picture(row, col)) s.picture = *p;
  return s;
}

void CellSnapshot::WriteTo(GridModel& grid, int row, int col) const {
  grid.SetText(row, col, text);
  grid.SetFormat(row, col, format);
  grid.SetFontHeight(row, col, fontHeight);
  grid.SetKind(row, col, kind);
  if (picture) grid.SetPicture(row, col, *picture);
  else grid.ClearPicture(row, col);
}

bool CellSnapshot::SameAs(const CellSnapshot& o) const {
  if (text != o.text || format != o.format || fontHeight != o.fontHeight || kind != o.kind) return false;
  if (picture.has_value() != o.picture.has_value()) return false;
  return !picture || SamePicture(*picture, *o.picture);
}

// ---------------------------------------------------------------- steps

GridJournal::GridJournal(GridModel& grid, std::size_t maxSteps) : grid_(grid), maxSteps_(std::max<std::size_t>(maxSteps, 1)) {
  grid_.AddObserver(this);
}

GridJournal::~GridJournal() { grid_.RemoveObserver(this); }

void GridJournal::BeginStep(int joinKey) {
  SealLoose();
  if (depth_++ > 0) return;
  if (joinKey != 0 && joinable_ && !undo_.empty() && undo_.back().joinKey == joinKey) {
    ReopenLast();
    return;
  }
  open_ = Step{{}, joinKey};
  segmentStart_ = 0;
  cellIndex_.clear();
  sizeIndex_.clear();
}

void GridJournal::EndStep() {
  if (depth_ <= 0) return;
  if (--depth_ == 0) Commit();
}

void GridJournal::EnsureOpen() {
  if (open_) return;
  open_ = Step{};
  loose_ = true;
  segmentStart_ = 0;
  cellIndex_.clear();
  sizeIndex_.clear();
}

void GridJournal::SealLoose() {
  if (!loose_ || depth_ > 0) return;
  loose_ = false;
  Commit();
}

void GridJournal::ReopenLast() {
  open_ = std::move(undo_.back());
  undo_.pop_back();
  std::vector<Entry>& entries = open_->entries;
  segmentStart_ = 0;
  for (std::size_t i = entries.size(); i > 0; --i)
    if (std::holds_alternative<LineInsert>(entries[i - 1]) || std::holds_alternative<LineDelete>(entries[i - 1]) ||
        std::holds_alternative<Action>(entries[i - 1])) {
      segmentStart_ = i;
      break;
    }
  cellIndex_.clear();
  sizeIndex_.clear();
  for (std::size_t i = segmentStart_; i < entries.size(); ++i) {
    if (const auto* c = std::get_if<CellChange>(&entries[i])) cellIndex_[Key(c->row, c->col)] = i;
    if (const auto* s = std::get_if<SizeChange>(&entries[i])) sizeIndex_[Key(s->row, s->index)] = i;
  }
}

void GridJournal::CloseSegment() {
  if (!open_) return;
  std::vector<Entry>& entries = open_->entries;
  for (std::size_t i = segmentStart_; i < entries.size(); ++i) {
    if (auto* c = std::get_if<CellChange>(&entries[i])) c->after = CellSnapshot::Of(grid_, c->row, c->col);
    if (auto* s = std::get_if<SizeChange>(&entries[i]))
      s->after = s->row ? grid_.RowHeight(s->index) : grid_.ColumnWidth(s->index);
  }
  const auto unchanged = [](const Entry& e) {
    if (const auto* c = std::get_if<CellChange>(&e)) return c->before.SameAs(c->after);
    if (const auto* s = std::get_if<SizeChange>(&e)) return s->before == s->after;
    return false;
  };
  entries.erase(std::remove_if(entries.begin() + static_cast<std::ptrdiff_t>(segmentStart_), entries.end(), unchanged),
                entries.end());
  segmentStart_ = entries.size();
  cellIndex_.clear();
  sizeIndex_.clear();
}

void GridJournal::Commit() {
  if (!open_) return;
  CloseSegment();
  Step step = std::move(*open_);
  open_.reset();
  loose_ = false;
  if (step.entries.empty()) {
    if (step.joinKey == 0 || undo_.empty() || undo_.back().joinKey != step.joinKey) joinable_ = false;
    return;
  }
  joinable_ = step.joinKey != 0;
  undo_.push_back(std::move(step));
  redo_.clear();
  while (undo_.size() > maxSteps_) undo_.pop_front();
  Changed();
}

void GridJournal::RecordAction(std::function<void()> undo, std::function<void()> redo) {
  if (applying_) return;
  SealLoose();
  const bool own = depth_ == 0;
  if (own) BeginStep();
  CloseSegment();
  open_->entries.push_back(Action{std::move(undo), std::move(redo)});
  segmentStart_ = open_->entries.size();
  if (own) EndStep();
}

bool GridJournal::CanUndo() {
  SealLoose();
  return !undo_.empty();
}

bool GridJournal::CanRedo() {
  SealLoose();
  return !redo_.empty();
}

std::size_t GridJournal::UndoCount() {
  SealLoose();
  return undo_.size();
}

std::size_t GridJournal::RedoCount() {
  SealLoose();
  return redo_.size();
}

bool GridJournal::Undo() {
  SealLoose();
  if (undo_.empty() || depth_ > 0) return false;
  Step step = std::move(undo_.back());
  undo_.pop_back();
  applying_ = true;
  for (auto it = step.entries.rbegin(); it != step.entries.rend(); ++it) Apply(*it, true);
  applying_ = false;
  redo_.push_back(std::move(step));
  joinable_ = false;
  Changed();
  return true;
}

bool GridJournal::Redo() {
  SealLoose();
  if (redo_.empty() || depth_ > 0) return false;
  Step step = std::move(redo_.back());
  redo_.pop_back();
  applying_ = true;
  for (Entry& e : step.entries) Apply(e, false);
  applying_ = false;
  undo_.push_back(std::move(step));
  joinable_ = false;
  Changed();
  return true;
}

void GridJournal::Clear() {
  undo_.clear();
  redo_.clear();
  // A step still open goes on with what follows; a loose one is dropped.
  if (depth_ > 0 && open_) open_ = Step{{}, open_->joinKey};
  else open_.reset();
  loose_ = false;
  segmentStart_ = 0;
  cellIndex_.clear();
  sizeIndex_.clear();
  joinable_ = false;
  Changed();
}

void GridJournal::Apply(Entry& e, bool undo) {
  if (auto* c = std::get_if<CellChange>(&e)) {
    (undo ? c->before : c->after).WriteTo(grid_, c->row, c->col);
  } else if (auto* s = std::get_if<SizeChange>(&e)) {
    const int size = undo ? s->before : s->after;
    if (s->row) grid_.SetRowHeight(s->index, size);
    else grid_.SetColumnWidth(s->index, size);
  } else if (auto* b = std::get_if<BlockChange>(&e)) {
    if (b->added != undo) grid_.Merge(b->block);
    else grid_.Unmerge(b->block);
  } else if (auto* i = std::get_if<LineInsert>(&e)) {
    if (undo) i->row ? grid_.DeleteRow(i->index) : grid_.DeleteColumn(i->index);
    else i->row ? grid_.InsertRow(i->index) : grid_.InsertColumn(i->index);
  } else if (auto* d = std::get_if<LineDelete>(&e)) {
    if (!undo) {
      d->row ? grid_.DeleteRow(d->index) : grid_.DeleteColumn(d->index);
      return;
    }
    if (d->row) {
      grid_.InsertRow(d->index);
      grid_.SetRowHeight(d->index, d->size);
    } else {
      grid_.InsertColumn(d->index);
      grid_.SetColumnWidth(d->index, d->size);
    }
    for (std::size_t k = 0; k < d->cells.size(); ++k) {
      const int other = static_cast<int>(k);
      d->cells[k].WriteTo(grid_, d->row ? d->index : other, d->row ? other : d->index);
    }
    // Inserting again widens only the blocks the line lay strictly inside; the blocks it began
    // or ended are put back whole.
    for (const CellRange& block : d->blocks) {
      grid_.Unmerge(block);
      grid_.Merge(block);
    }
  } else if (auto* a = std::get_if<Action>(&e)) {
    if (undo ? a->undo : a->redo) (undo ? a->undo : a->redo)();
  }
}

void GridJournal::ConvertPixels(const std::function<int(int)>& size, const std::function<int(int)>& fontHeight) {
  const auto font = [&](CellSnapshot& c) {
    if (c.fontHeight > 0) c.fontHeight = fontHeight(c.fontHeight);
  };
  const auto convert = [&](Step& step) {
    for (Entry& e : step.entries) {
      if (auto* c = std::get_if<CellChange>(&e)) {
        font(c->before);
        font(c->after);
      } else if (auto* s = std::get_if<SizeChange>(&e)) {
        s->before = size(s->before);
        s->after = size(s->after);
      } else if (auto* d = std::get_if<LineDelete>(&e)) {
        d->size = size(d->size);
        for (CellSnapshot& c : d->cells) font(c);
      }
    }
  };
  SealLoose();
  for (Step& s : undo_) convert(s);
  for (Step& s : redo_) convert(s);
}

void GridJournal::Changed() {
  if (onChange_) onChange_();
}

// ---------------------------------------------------------------- what the grid tells

void GridJournal::CellChanging(int row, int col) {
  if (!Recording()) return;
  EnsureOpen();
  const std::uint64_t key = Key(row, col);
  if (cellIndex_.count(key)) return;
  cellIndex_[key] = open_->entries.size();
  open_->entries.push_back(CellChange{row, col, CellSnapshot::Of(grid_, row, col), {}});
}

void GridJournal::SizeChanging(bool row, int index) {
  if (!Recording()) return;
  EnsureOpen();
  const std::uint64_t key = Key(row, index);
  if (sizeIndex_.count(key)) return;
  sizeIndex_[key] = open_->entries.size();
  const int before = row ? grid_.RowHeight(index) : grid_.ColumnWidth(index);
  open_->entries.push_back(SizeChange{row, index, before, before});
}

void GridJournal::BlockAdded(const CellRange& block) {
  if (!Recording()) return;
  EnsureOpen();
  open_->entries.push_back(BlockChange{true, block});
}

void GridJournal::BlockRemoving(const CellRange& block) {
  if (!Recording()) return;
  EnsureOpen();
  open_->entries.push_back(BlockChange{false, block});
}

void GridJournal::LineInserting(bool row, int index) {
  if (!Recording()) return;
  EnsureOpen();
  CloseSegment();
  open_->entries.push_back(LineInsert{row, index});
  segmentStart_ = open_->entries.size();
}

void GridJournal::LineDeleting(bool row, int index) {
  if (!Recording()) return;
  EnsureOpen();
  CloseSegment();
  LineDelete d{row, index, row ? grid_.RowHeight(index) : grid_.ColumnWidth(index), {}, {}};
  const int count = row ? grid_.ColumnCount() : grid_.RowCount();
  d.cells.reserve(static_cast<std::size_t>(count));
  for (int k = 0; k < count; ++k) d.cells.push_back(row ? CellSnapshot::Of(grid_, index, k) : CellSnapshot::Of(grid_, k, index));
  const CellRange line = row ? CellRange{index, 0, index, grid_.ColumnCount() - 1}
                             : CellRange{0, index, grid_.RowCount() - 1, index};
  for (const CellRange& b : grid_.Blocks())
    if (b.Intersects(line)) d.blocks.push_back(b);
  open_->entries.push_back(std::move(d));
  segmentStart_ = open_->entries.size();
}

void GridJournal::Rebuilding() {
  if (!Recording()) return;
  Clear();
}

}  // namespace vex
