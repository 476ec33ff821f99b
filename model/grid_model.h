#pragma once
// The data of the grid control, without a window: row heights and column widths in pixels,
// the cells, merged blocks, the selection and the focus cell. The widget draws and edits it;
// the clipboard conversions and the interaction rules work on it, so they are tested without
// a window.
//
// Cells are stored compactly: a cell that holds its defaults costs one small record (text,
// format, font height, kind, state and a merge index); pictures live in a side table, since
// few cells have one.

#include <cstdint>
#include <string>
#include <vector>

#include "model/cell_image.h"
#include "model/grid_axis.h"
#include "model/grid_types.h"
#include "model/table_data.h"

namespace vex {

// Text-drawing flags of a cell's format.
inline constexpr int kFormatCentre = 1;
inline constexpr int kFormatRight = 2;
inline constexpr int kFormatVCentre = 4;
inline constexpr int kFormatBottom = 8;
inline constexpr int kFormatSingleLine = 0x20;
inline constexpr int kFormatEndEllipsis = 0x8000;
// Vertically centred single line, end ellipsis, no prefix processing.
inline constexpr int kDefaultCellFormat = 0x8824;

// Content kinds: kTextCell and kImageCell, as table cells carry them.

// What a cell takes when its own format or font height is not set.
struct GridDefaultCell {
  int format = kDefaultCellFormat;
  int margin = 3;       // inner margin in pixels
  int fontHeight = 16;  // text height in pixels
};

// Told of every change that a grid's table undergoes, so that the change can be undone: of a
// cell, a size or a block before it is changed or removed and of a block after it was added,
// of a line before it is inserted or deleted. Selection, focus and the modified marks are not
// told.
class GridChangeObserver {
 public:
  virtual void CellChanging(int row, int col) = 0;
  virtual void SizeChanging(bool row, int index) = 0;
  virtual void BlockAdded(const CellRange& block) = 0;
  virtual void BlockRemoving(const CellRange& block) = 0;
  virtual void LineInserting(bool row, int index) = 0;
  virtual void LineDeleting(bool row, int index) = 0;
  // Counts, fixed lines or everything are about to be replaced wholesale.
  virtual void Rebuilding() = 0;

 protected:
  ~GridChangeObserver() = default;
};

class GridModel {
 public:
  // The largest grid the model accepts; beyond it a count change or an insert fails and the
  // grid stays as it was.
  static constexpr int kMaxCells = 4'000'000;

  GridModel();

  // Observers of changes, told in the order they were added. A copy of the grid has none.
  void AddObserver(GridChangeObserver* observer);
  void RemoveObserver(GridChangeObserver* observer);

  // --- counts (fixed rows and columns included)
  int RowCount() const { return rowSizes_.Count(); }
  int ColumnCount() const { return colSizes_.Count(); }
  int FixedRowCount() const { return fixedRows_; }
  int FixedColumnCount() const { return fixedCols_; }
  // Growing adds cells of the defaults, shrinking deletes cells (blocks are cut to the grid).
  // False for a negative count or a grid beyond kMaxCells.
  bool SetRowCount(int rows);
  bool SetColumnCount(int cols);
  // The fixed count is capped by the row (column) count.
  void SetFixedRowCount(int n);
  void SetFixedColumnCount(int n);
  // Inserts a row before `before` (-1 or RowCount() appends); returns its index, -1 when
  // `before` lies inside the fixed rows or past the end, or the grid would be too large.
  // A row inserted inside a merged block widens the block.
  int InsertRow(int before);
  int InsertColumn(int before);
  // Deletes a row; a block loses that row (and is dissolved when one cell is left). Deleting
  // the focus row clears the focus. False outside the grid.
  bool DeleteRow(int row);
  bool DeleteColumn(int col);
  // No rows, no columns, no fixed ones.
  void DeleteAllItems();

  // --- sizes in pixels (0 hides)
  const GridAxis& Rows() const { return rowSizes_; }
  const GridAxis& Columns() const { return colSizes_; }
  int RowHeight(int row) const { return rowSizes_.Size(row); }
  int ColumnWidth(int col) const { return colSizes_.Size(col); }
  bool SetRowHeight(int row, int height);
  bool SetColumnWidth(int col, int width);
  // Sizes of rows and columns added later.
  int DefaultRowHeight() const { return defaultRowHeight_; }
  int DefaultColumnWidth() const { return defaultColWidth_; }
  void SetDefaultSizes(int rowHeight, int colWidth);
  // The defaults of ordinary cells, fixed-row cells, fixed-column cells and the corner.
  GridDefaultCell& DefaultCell(bool fixedRow, bool fixedCol);
  const GridDefaultCell& DefaultCell(bool fixedRow, bool fixedCol) const;
  const GridDefaultCell& DefaultCellOf(int row, int col) const {
    return DefaultCell(IsFixedRow(row), IsFixedColumn(col));
  }

  // --- cells. Outside the grid getters give "", -1 or null and setters return false.
  bool IsValid(int row, int col) const {
    return row >= 0 && col >= 0 && row < RowCount() && col < ColumnCount();
  }
  bool IsFixedRow(int row) const { return row >= 0 && row < fixedRows_; }
  bool IsFixedColumn(int col) const { return col >= 0 && col < fixedCols_; }
  bool IsFixed(int row, int col) const { return IsFixedRow(row) || IsFixedColumn(col); }
  // The ordinary (non-fixed) cells; invalid when there are none.
  CellRange BodyRange() const;

  const std::string& Text(int row, int col) const;
  bool SetText(int row, int col, std::string text);
  // The stored format; -1 means the default cell's applies.
  int Format(int row, int col) const;
  int EffectiveFormat(int row, int col) const;
  bool SetFormat(int row, int col, int format);
  // The stored font height in pixels; 0 means the default cell's applies.
  int FontHeight(int row, int col) const;
  int EffectiveFontHeight(int row, int col) const;
  bool SetFontHeight(int row, int col, int height);
  int Margin(int row, int col) const { return IsValid(row, col) ? DefaultCellOf(row, col).margin : -1; }
  // 0 text cell, 1 image cell.
  int Kind(int row, int col) const;
  bool SetKind(int row, int col, int kind);
  // The cell's picture; null when it has none.
  const CellImage* Picture(int row, int col) const;
  // Stores a copy; its bounds are refreshed so that drawing can use the cached ones.
  bool SetPicture(int row, int col, CellImage picture);
  bool ClearPicture(int row, int col);
  bool IsReadOnly(int row, int col) const { return HasState(row, col, kReadOnly); }
  bool SetReadOnly(int row, int col, bool on) { return SetState(row, col, kReadOnly, on); }
  bool IsModified(int row, int col) const { return HasState(row, col, kModified); }
  bool SetModified(int row, int col, bool on) { return SetState(row, col, kModified, on); }
  // Back to a new cell: no text, no picture, text kind, default format and font, not
  // modified; merge and selection state stay.
  bool ResetCell(int row, int col);

  // --- merged blocks. Blocks never overlap: a merge replaces the blocks it touches.
  // Merges the ordinary cells of `range` into one block owned by its top-left cell; nothing
  // happens (false) for a single cell, an invalid range or one reaching into the fixed cells.
  bool Merge(const CellRange& range);
  // Dissolves every block that touches `range`; the cells keep their contents.
  void Unmerge(const CellRange& range);
  // The block that holds the cell, or the cell alone when it is in none; invalid outside.
  CellRange BlockOf(int row, int col) const;
  // The top-left cell of the cell's block, or the cell itself.
  CellPos OwnerOf(int row, int col) const { return BlockOf(row, col).TopLeft(); }
  bool IsMergedOwner(int row, int col) const;
  // True on every cell of a block except its owner.
  bool IsCovered(int row, int col) const;
  bool IsInBlock(int row, int col) const;
  // Every block, in row-major order of the owners.
  std::vector<CellRange> Blocks() const;
  int BlockCount() const { return static_cast<int>(blocks_.size() - freeBlocks_.size()); }
  // The range grown until no block crosses its edge.
  CellRange ExpandToBlocks(CellRange range) const;
  // Width and height of the cell's whole block (the cell's own size when it is in none).
  std::int64_t MergedWidth(int row, int col) const;
  std::int64_t MergedHeight(int row, int col) const;

  // --- selection and focus
  bool IsSelected(int row, int col) const { return HasState(row, col, kSelected); }
  // Selects (or deselects) every cell of `range` that lies in the grid.
  void Select(const CellRange& range, bool on = true);
  void ClearSelection();
  // The smallest rectangle that holds every selected cell; invalid when none is selected.
  CellRange SelectedRange() const;
  CellPos Focus() const { return focus_; }
  // A position outside the grid clears the focus.
  void SetFocus(CellPos cell);
  CellPos SelectionStart() const { return selectionStart_; }
  void SetSelectionStart(CellPos cell) { selectionStart_ = IsValid(cell.row, cell.col) ? cell : CellPos{}; }

 private:
  enum StateBit : std::uint8_t { kSelected = 2, kReadOnly = 8, kModified = 0x80 };

  struct Slot {
    std::string text;
    std::int32_t format = -1;
    std::int32_t fontHeight = 0;
    std::int32_t block = -1;    // index into blocks_
    std::int32_t picture = -1;  // index into pictures_
    std::uint8_t kind = kTextCell;
    std::uint8_t state = 0;
  };
  using Row = std::vector<Slot>;

  const Slot* At(int row, int col) const;
  Slot* At(int row, int col);
  bool HasState(int row, int col, std::uint8_t bit) const;
  bool SetState(int row, int col, std::uint8_t bit, bool on);
  bool Fits(std::int64_t rows, std::int64_t cols) const;
  void ReleasePicture(Slot& slot);
  int NewBlock(const CellRange& range);
  void DissolveBlock(int index);
  // Removes every block that reaches beyond the grid's counts or is down to one cell.
  void CutBlocksToGrid();
  void KeepPositionInGrid(CellPos& pos) const;

  // Changes of this cell are told to the observer first.
  Slot* Changing(int row, int col);

  template <class... Params, class... Args>
  void Tell(void (GridChangeObserver::*event)(Params...), Args&&... args) {
    for (GridChangeObserver* o : observers_.list) (o->*event)(args...);
  }
  struct Observers {
    std::vector<GridChangeObserver*> list;
    Observers() = default;
    Observers(const Observers&) {}
    Observers& operator=(const Observers&) { return *this; }
  };
  Observers observers_;

  GridAxis rowSizes_;
  GridAxis colSizes_;
  std::vector<Row> rows_;
  int fixedRows_ = 0;
  int fixedCols_ = 0;
  int defaultRowHeight_ = 16;
  int defaultColWidth_ = 40;
  GridDefaultCell defaults_[4];

  std::vector<CellRange> blocks_;  // an invalid range marks a free slot
  std::vector<int> freeBlocks_;
  std::vector<CellImage> pictures_;
  std::vector<int> freePictures_;

  CellPos focus_;
  CellPos selectionStart_;
  // Bounds of the selected cells; recomputed by a scan after cells were deselected.
  mutable CellRange selectedBounds_;
  mutable bool selectedBoundsStale_ = false;
};

}  // namespace vex
