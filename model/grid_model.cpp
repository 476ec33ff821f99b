#include "model/grid_model.h"

#include <algorithm>
#include <utility>

namespace vex {
namespace {

const std::string kNoText;

}  // namespace

GridModel::GridModel() = default;

void GridModel::AddObserver(GridChangeObserver* observer) {
  if (observer && std::find(observers_.list.begin(), observers_.list.end(), observer) == observers_.list.end())
    observers_.list.push_back(observer);
}

void GridModel::RemoveObserver(GridChangeObserver* observer) { std::erase(observers_.list, observer); }

// ---------------------------------------------------------------- counts

bool GridModel::Fits(std::int64_t rows, std::int64_t cols) const {
  return rows >= 0 && cols >= 0 && rows * cols <= kMaxCells && rows <= kMaxCells && cols <= kMaxCells;
}

bool GridModel::SetRowCount(int rows) {
  if (!Fits(rows, ColumnCount())) return false;
  Tell(&GridChangeObserver::Rebuilding);
  const int old = RowCount();
  if (rows < old) {
    for (int r = rows; r < old; ++r)
      for (Slot& s : rows_[static_cast<std::size_t>(r)]) ReleasePicture(s);
  }
  rows_.resize(static_cast<std::size_t>(rows), Row(static_cast<std::size_t>(ColumnCount())));
  rowSizes_.Resize(rows, defaultRowHeight_);
  fixedRows_ = std::min(fixedRows_, rows);
  if (rows < old) {
    CutBlocksToGrid();
    KeepPositionInGrid(focus_);
    KeepPositionInGrid(selectionStart_);
    selectedBoundsStale_ = true;
  }
  return true;
}

bool GridModel::SetColumnCount(int cols) {
  if (!Fits(RowCount(), cols)) return false;
  Tell(&GridChangeObserver::Rebuilding);
  const int old = ColumnCount();
  for (Row& row : rows_) {
    for (int c = cols; c < old; ++c) ReleasePicture(row[static_cast<std::size_t>(c)]);
    row.resize(static_cast<std::size_t>(cols));
  }
  colSizes_.Resize(cols, defaultColWidth_);
  fixedCols_ = std::min(fixedCols_, cols);
  if (cols < old) {
    CutBlocksToGrid();
    KeepPositionInGrid(focus_);
    KeepPositionInGrid(selectionStart_);
    selectedBoundsStale_ = true;
  }
  return true;
}

void GridModel::SetFixedRowCount(int n) {
  Tell(&GridChangeObserver::Rebuilding);
  fixedRows_ = std::clamp(n, 0, RowCount());
}

void GridModel::SetFixedColumnCount(int n) {
  Tell(&GridChangeObserver::Rebuilding);
  fixedCols_ = std::clamp(n, 0, ColumnCount());
}

int GridModel::InsertRow(int before) {
  if (before == -1) before = RowCount();
  if (before < fixedRows_ || before > RowCount() || !Fits(RowCount() + 1, ColumnCount())) return -1;
  Tell(&GridChangeObserver::LineInserting, true, before);
  rows_.insert(rows_.begin() + before, Row(static_cast<std::size_t>(ColumnCount())));
  rowSizes_.Insert(before, 1, defaultRowHeight_);
  for (std::size_t k = 0; k < blocks_.size(); ++k) {
    CellRange& b = blocks_[k];
    if (!b.IsValid()) continue;
    if (before <= b.minRow) {
      ++b.minRow;
      ++b.maxRow;
    } else if (before <= b.maxRow) {
      ++b.maxRow;
      for (int c = b.minCol; c <= b.maxCol; ++c) At(before, c)->block = static_cast<int>(k);
    }
  }
  for (CellPos* p : {&focus_, &selectionStart_})
    if (p->IsValid() && p->row >= before) ++p->row;
  if (selectedBounds_.IsValid() && before <= selectedBounds_.maxRow) selectedBoundsStale_ = true;
  return before;
}

int GridModel::InsertColumn(int before) {
  if (before == -1) before = ColumnCount();
  if (before < fixedCols_ || before > ColumnCount() || !Fits(RowCount(), ColumnCount() + 1)) return -1;
  Tell(&GridChangeObserver::LineInserting, false, before);
  for (Row& row : rows_) row.insert(row.begin() + before, Slot{});
  colSizes_.Insert(before, 1, defaultColWidth_);
  for (std::size_t k = 0; k < blocks_.size(); ++k) {
    CellRange& b = blocks_[k];
    if (!b.IsValid()) continue;
    if (before <= b.minCol) {
      ++b.minCol;
      ++b.maxCol;
    } else if (before <= b.maxCol) {
      ++b.maxCol;
      for (int r = b.minRow; r <= b.maxRow; ++r) At(r, before)->block = static_cast<int>(k);
    }
  }
  for (CellPos* p : {&focus_, &selectionStart_})
    if (p->IsValid() && p->col >= before) ++p->col;
  if (selectedBounds_.IsValid() && before <= selectedBounds_.maxCol) selectedBoundsStale_ = true;
  return before;
}

bool GridModel::DeleteRow(int row) {
  if (row < 0 || row >= RowCount()) return false;
  Tell(&GridChangeObserver::LineDeleting, true, row);
  for (Slot& s : rows_[static_cast<std::size_t>(row)]) ReleasePicture(s);
  rows_.erase(rows_.begin() + row);
  rowSizes_.Erase(row);
  if (row < fixedRows_) --fixedRows_;
  for (std::size_t k = 0; k < blocks_.size(); ++k) {
    CellRange& b = blocks_[k];
    if (!b.IsValid()) continue;
    if (row < b.minRow) {
      --b.minRow;
      --b.maxRow;
    } else if (row <= b.maxRow) {
      --b.maxRow;
      if (b.IsSingleCell() || !b.IsValid()) DissolveBlock(static_cast<int>(k));
    }
  }
  if (focus_.row == row) focus_ = {};
  if (selectionStart_.row == row) selectionStart_ = {};
  for (CellPos* p : {&focus_, &selectionStart_})
    if (p->IsValid() && p->row > row) --p->row;
  selectedBoundsStale_ = true;
  return true;
}

bool GridModel::DeleteColumn(int col) {
  if (col < 0 || col >= ColumnCount()) return false;
  Tell(&GridChangeObserver::LineDeleting, false, col);
  for (Row& r : rows_) {
    ReleasePicture(r[static_cast<std::size_t>(col)]);
    r.erase(r.begin() + col);
  }
  colSizes_.Erase(col);
  if (col < fixedCols_) --fixedCols_;
  for (std::size_t k = 0; k < blocks_.size(); ++k) {
    CellRange& b = blocks_[k];
    if (!b.IsValid()) continue;
    if (col < b.minCol) {
      --b.minCol;
      --b.maxCol;
    } else if (col <= b.maxCol) {
      --b.maxCol;
      if (b.IsSingleCell() || !b.IsValid()) DissolveBlock(static_cast<int>(k));
    }
  }
  if (focus_.col == col) focus_ = {};
  if (selectionStart_.col == col) selectionStart_ = {};
  for (CellPos* p : {&focus_, &selectionStart_})
    if (p->IsValid() && p->col > col) --p->col;
  selectedBoundsStale_ = true;
  return true;
}

void GridModel::DeleteAllItems() {
  Tell(&GridChangeObserver::Rebuilding);
  rows_.clear();
  rowSizes_.Resize(0, 0);
  colSizes_.Resize(0, 0);
  fixedRows_ = fixedCols_ = 0;
  blocks_.clear();
  freeBlocks_.clear();
  pictures_.clear();
  freePictures_.clear();
  focus_ = selectionStart_ = {};
  selectedBounds_ = {};
  selectedBoundsStale_ = false;
}

// ---------------------------------------------------------------- sizes and defaults

bool GridModel::SetRowHeight(int row, int height) {
  if (row >= 0 && row < RowCount()) Tell(&GridChangeObserver::SizeChanging, true, row);
  return rowSizes_.SetSize(row, height);
}

bool GridModel::SetColumnWidth(int col, int width) {
  if (col >= 0 && col < ColumnCount()) Tell(&GridChangeObserver::SizeChanging, false, col);
  return colSizes_.SetSize(col, width);
}

void GridModel::SetDefaultSizes(int rowHeight, int colWidth) {
  defaultRowHeight_ = std::max(rowHeight, 0);
  defaultColWidth_ = std::max(colWidth, 0);
}

GridDefaultCell& GridModel::DefaultCell(bool fixedRow, bool fixedCol) {
  return defaults_[(fixedRow ? 1 : 0) + (fixedCol ? 2 : 0)];
}

const GridDefaultCell& GridModel::DefaultCell(bool fixedRow, bool fixedCol) const {
  return defaults_[(fixedRow ? 1 : 0) + (fixedCol ? 2 : 0)];
}

CellRange GridModel::BodyRange() const {
  if (fixedRows_ >= RowCount() || fixedCols_ >= ColumnCount()) return {};
  return {fixedRows_, fixedCols_, RowCount() - 1, ColumnCount() - 1};
}

// ---------------------------------------------------------------- cells

const GridModel::Slot* GridModel::At(int row, int col) const {
  if (!IsValid(row, col)) return nullptr;
  return &rows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)];
}

GridModel::Slot* GridModel::At(int row, int col) {
  if (!IsValid(row, col)) return nullptr;
  return &rows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)];
}

GridModel::Slot* GridModel::Changing(int row, int col) {
  Slot* s = At(row, col);
  if (s) Tell(&GridChangeObserver::CellChanging, row, col);
  return s;
}

const std::string& GridModel::Text(int row, int col) const {
  const Slot* s = At(row, col);
  return s ? s->text : kNoText;
}

bool GridModel::SetText(int row, int col, std::string text) {
  Slot* s = Changing(row, col);
  if (!s) return false;
  s->text = std::move(text);
  return true;
}

int GridModel::Format(int row, int col) const {
  const Slot* s = At(row, col);
  return s ? s->format : -1;
}

int GridModel::EffectiveFormat(int row, int col) const {
  const Slot* s = At(row, col);
  if (!s) return -1;
  return s->format == -1 ? DefaultCellOf(row, col).format : s->format;
}

bool GridModel::SetFormat(int row, int col, int format) {
  Slot* s = Changing(row, col);
  if (!s) return false;
  s->format = format;
  return true;
}

int GridModel::FontHeight(int row, int col) const {
  const Slot* s = At(row, col);
  return s ? s->fontHeight : -1;
}

int GridModel::EffectiveFontHeight(int row, int col) const {
  const Slot* s = At(row, col);
  if (!s) return -1;
  return s->fontHeight > 0 ? s->fontHeight : DefaultCellOf(row, col).fontHeight;
}

bool GridModel::SetFontHeight(int row, int col, int height) {
  Slot* s = Changing(row, col);
  if (!s) return false;
  s->fontHeight = std::max(height, 0);
  return true;
}

int GridModel::Kind(int row, int col) const {
  const Slot* s = At(row, col);
  return s ? s->kind : -1;
}

bool GridModel::SetKind(int row, int col, int kind) {
  Slot* s = Changing(row, col);
  if (!s) return false;
  s->kind = kind == kImageCell ? kImageCell : kTextCell;
  return true;
}

const CellImage* GridModel::Picture(int row, int col) const {
  const Slot* s = At(row, col);
  return s && s->picture >= 0 ? &pictures_[static_cast<std::size_t>(s->picture)] : nullptr;
}

bool GridModel::SetPicture(int row, int col, CellImage picture) {
  Slot* s = Changing(row, col);
  if (!s) return false;
  picture.images.Bounds();
  if (s->picture < 0) {
    if (!freePictures_.empty()) {
      s->picture = freePictures_.back();
      freePictures_.pop_back();
    } else {
      s->picture = static_cast<int>(pictures_.size());
      pictures_.emplace_back();
    }
  }
  pictures_[static_cast<std::size_t>(s->picture)] = std::move(picture);
  return true;
}

bool GridModel::ClearPicture(int row, int col) {
  Slot* s = Changing(row, col);
  if (!s) return false;
  ReleasePicture(*s);
  return true;
}

void GridModel::ReleasePicture(Slot& slot) {
  if (slot.picture < 0) return;
  pictures_[static_cast<std::size_t>(slot.picture)] = CellImage{};
  freePictures_.push_back(slot.picture);
  slot.picture = -1;
}

bool GridModel::ResetCell(int row, int col) {
  Slot* s = Changing(row, col);
  if (!s) return false;
  ReleasePicture(*s);
  const std::int32_t block = s->block;
  const std::uint8_t selected = s->state & kSelected;
  *s = Slot{};
  s->block = block;
  s->state = selected;
  return true;
}

bool GridModel::HasState(int row, int col, std::uint8_t bit) const {
  const Slot* s = At(row, col);
  return s && (s->state & bit) != 0;
}

bool GridModel::SetState(int row, int col, std::uint8_t bit, bool on) {
  Slot* s = At(row, col);
  if (!s) return false;
  s->state = static_cast<std::uint8_t>(on ? (s->state | bit) : (s->state & ~bit));
  return true;
}

// ---------------------------------------------------------------- merged blocks

int GridModel::NewBlock(const CellRange& range) {
  int index;
  if (!freeBlocks_.empty()) {
    index = freeBlocks_.back();
    freeBlocks_.pop_back();
    blocks_[static_cast<std::size_t>(index)] = range;
  } else {
    index = static_cast<int>(blocks_.size());
    blocks_.push_back(range);
  }
  for (int r = range.minRow; r <= range.maxRow; ++r)
    for (int c = range.minCol; c <= range.maxCol; ++c) At(r, c)->block = index;
  return index;
}

void GridModel::DissolveBlock(int index) {
  CellRange& b = blocks_[static_cast<std::size_t>(index)];
  for (int r = b.minRow; r <= b.maxRow; ++r)
    for (int c = b.minCol; c <= b.maxCol; ++c)
      if (Slot* s = At(r, c); s && s->block == index) s->block = -1;
  b = CellRange{};
  freeBlocks_.push_back(index);
}

void GridModel::CutBlocksToGrid() {
  const CellRange grid{0, 0, RowCount() - 1, ColumnCount() - 1};
  for (std::size_t k = 0; k < blocks_.size(); ++k) {
    CellRange& b = blocks_[k];
    if (!b.IsValid() || grid.Contains(b)) continue;
    b = b.Intersected(grid);
    if (!b.IsValid() || b.IsSingleCell()) {
      if (!b.IsValid()) b = CellRange{0, 0, -1, -1};  // nothing left to reset
      DissolveBlock(static_cast<int>(k));
    }
  }
}

bool GridModel::Merge(const CellRange& range) {
  const CellRange body = BodyRange();
  if (!range.IsValid() || range.IsSingleCell() || !body.Contains(range)) return false;
  Unmerge(range);
  NewBlock(range);
  Tell(&GridChangeObserver::BlockAdded, range);
  return true;
}

void GridModel::Unmerge(const CellRange& range) {
  const CellRange r = range.Intersected({0, 0, RowCount() - 1, ColumnCount() - 1});
  if (!r.IsValid()) return;
  std::vector<int> touched;
  for (int row = r.minRow; row <= r.maxRow; ++row)
    for (int col = r.minCol; col <= r.maxCol; ++col) {
      const int b = At(row, col)->block;
      if (b >= 0 && std::find(touched.begin(), touched.end(), b) == touched.end()) touched.push_back(b);
    }
  for (int b : touched) {
    Tell(&GridChangeObserver::BlockRemoving, blocks_[static_cast<std::size_t>(b)]);
    DissolveBlock(b);
  }
}

CellRange GridModel::BlockOf(int row, int col) const {
  const Slot* s = At(row, col);
  if (!s) return {};
  if (s->block < 0) return {row, col, row, col};
  return blocks_[static_cast<std::size_t>(s->block)];
}

bool GridModel::IsInBlock(int row, int col) const {
  const Slot* s = At(row, col);
  return s && s->block >= 0;
}

bool GridModel::IsMergedOwner(int row, int col) const {
  return IsInBlock(row, col) && BlockOf(row, col).TopLeft() == CellPos{row, col};
}

bool GridModel::IsCovered(int row, int col) const {
  return IsInBlock(row, col) && BlockOf(row, col).TopLeft() != CellPos{row, col};
}

std::vector<CellRange> GridModel::Blocks() const {
  std::vector<CellRange> out;
  out.reserve(blocks_.size());
  for (const CellRange& b : blocks_)
    if (b.IsValid()) out.push_back(b);
  std::sort(out.begin(), out.end(), [](const CellRange& a, const CellRange& b) {
    return std::pair(a.minRow, a.minCol) < std::pair(b.minRow, b.minCol);
  });
  return out;
}

CellRange GridModel::ExpandToBlocks(CellRange range) const {
  range = range.Intersected({0, 0, RowCount() - 1, ColumnCount() - 1});
  if (!range.IsValid() || BlockCount() == 0) return range;
  // Growing by one block can pull in another, so repeat until nothing changes.
  for (bool grown = true; grown;) {
    grown = false;
    for (const CellRange& b : blocks_)
      if (b.IsValid() && b.Intersects(range) && !range.Contains(b)) {
        range = range.United(b);
        grown = true;
      }
  }
  return range;
}

std::int64_t GridModel::MergedWidth(int row, int col) const {
  const CellRange b = BlockOf(row, col);
  return b.IsValid() ? colSizes_.Span(b.minCol, b.maxCol) : -1;
}

std::int64_t GridModel::MergedHeight(int row, int col) const {
  const CellRange b = BlockOf(row, col);
  return b.IsValid() ? rowSizes_.Span(b.minRow, b.maxRow) : -1;
}

// ---------------------------------------------------------------- selection and focus

void GridModel::Select(const CellRange& range, bool on) {
  const CellRange r = range.Intersected({0, 0, RowCount() - 1, ColumnCount() - 1});
  if (!r.IsValid()) return;
  for (int row = r.minRow; row <= r.maxRow; ++row) {
    Row& cells = rows_[static_cast<std::size_t>(row)];
    for (int col = r.minCol; col <= r.maxCol; ++col) {
      std::uint8_t& st = cells[static_cast<std::size_t>(col)].state;
      st = static_cast<std::uint8_t>(on ? (st | kSelected) : (st & ~kSelected));
    }
  }
  if (!on) {
    if (selectedBounds_.Intersects(r)) selectedBoundsStale_ = true;
  } else if (!selectedBoundsStale_) {
    selectedBounds_ = selectedBounds_.United(r);
  }
}

void GridModel::ClearSelection() {
  const CellRange where = selectedBoundsStale_ ? CellRange{0, 0, RowCount() - 1, ColumnCount() - 1}
                                               : selectedBounds_;
  selectedBoundsStale_ = false;
  selectedBounds_ = {};
  if (!where.IsValid()) return;
  for (int row = where.minRow; row <= where.maxRow; ++row) {
    Row& cells = rows_[static_cast<std::size_t>(row)];
    for (int col = where.minCol; col <= where.maxCol; ++col) cells[static_cast<std::size_t>(col)].state &= ~kSelected;
  }
}

CellRange GridModel::SelectedRange() const {
  if (selectedBoundsStale_) {
    CellRange b;
    for (int row = 0; row < RowCount(); ++row) {
      const Row& cells = rows_[static_cast<std::size_t>(row)];
      for (int col = 0; col < ColumnCount(); ++col)
        if (cells[static_cast<std::size_t>(col)].state & kSelected) b = b.United({row, col, row, col});
    }
    selectedBounds_ = b;
    selectedBoundsStale_ = false;
  }
  return selectedBounds_;
}

void GridModel::SetFocus(CellPos cell) { focus_ = IsValid(cell.row, cell.col) ? cell : CellPos{}; }

void GridModel::KeepPositionInGrid(CellPos& pos) const {
  if (!IsValid(pos.row, pos.col)) pos = {};
}

}  // namespace vex
