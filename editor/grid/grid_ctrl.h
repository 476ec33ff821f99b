#pragma once
// The grid control of the table editor: a scrollable, custom-drawn spreadsheet grid with a
// fixed header row and column, merged blocks, text and picture cells, in-place editing, the
// keyboard and mouse behaviour of a spreadsheet, the clipboard (plain text, the table
// fragment as JSON and as HTML) and drag and drop. Its data and rules live in GridModel and
// the functions beside it; this class draws, handles input and talks to the clipboard.

#include <QAbstractScrollArea>
#include <QPointer>
#include <QTimer>

#include <functional>
#include <memory>

#include "editor/grid/grid_notification.h"
#include "editor/grid/in_place_edit.h"
#include "editor/grid/grid_painter.h"
#include "model/grid_model.h"
#include "model/grid_navigation.h"
#include "model/table_data.h"

class QDrag;
class QMimeData;

namespace vex {


class GridCtrl : public QAbstractScrollArea {
  Q_OBJECT

 public:
  explicit GridCtrl(QWidget* parent = nullptr);
  ~GridCtrl() override;

  // The data. Changes made here directly show after Redraw() (and UpdateScrollBars() when
  // sizes or counts changed).
  GridModel& Model() { return model_; }
  const GridModel& Model() const { return model_; }
  const GridPainter& Painter() const { return painter_; }
  GridPainter& Painter() { return painter_; }

  // --- counts and sizes (each redraws)
  bool SetRowCount(int rows);
  bool SetColumnCount(int cols);
  void SetFixedRowCount(int n);
  void SetFixedColumnCount(int n);
  int RowHeight(int row) const { return model_.RowHeight(row); }
  int ColumnWidth(int col) const { return model_.ColumnWidth(col); }
  bool SetRowHeight(int row, int height);
  bool SetColumnWidth(int col, int width);
  // Width and height of the whole grid.
  QSize TotalExtent() const;
  int InsertRow(int before = -1);
  int InsertColumn(int before = -1);
  bool DeleteRow(int row);
  bool DeleteColumn(int col);
  void DeleteAllItems();

  // --- selection and focus
  CellRange SelectedCellRange() const { return model_.SelectedRange(); }
  // Selects `range` grown to whole blocks, with the focus on its top-left cell (or `focus`).
  void SetSelectedRange(const CellRange& range, CellPos focus = {});
  void SelectAllCells();
  CellPos FocusCell() const { return model_.Focus(); }
  void SetFocusCell(CellPos cell);
  bool IsCellSelected(int row, int col) const { return model_.IsSelected(row, col); }
  // Scrolls so that the cell's block shows.
  void EnsureVisible(CellPos cell);

  // --- merging
  bool MergeCells(const CellRange& range);
  void UnmergeCells(const CellRange& range);
  void MergeSelectedCells();
  void UnmergeSelectedCells();
  // Width and height of the cell's whole block.
  QSize MergedExtent(int row, int col) const;

  // --- clipboard
  void CopySelectedText();
  void CutSelectedText();
  // Cut without copying (the Delete key): every selected editable cell whose begin-edit is
  // not vetoed loses its text (text cells) or its picture (image cells).
  void ClearSelectedCells();
  void PasteText();
  // Pastes `mime` at the focus cell: our table payload when it holds a well-formed one, else
  // the plain text. The pasted cells are deselected; returns their rectangle.
  CellRange PasteFrom(const QMimeData* mime);
  // The last selection copied inside this grid.
  const TableData& TableClipboard() const { return tableClipboard_; }
  CellRange LastPastedRange() const { return lastPasted_; }

  // --- editing
  // Starts editing the cell (its block's owner): a text cell opens the in-place editor with
  // `first` typed into it (or with its text selected when `selectAll`); an image cell asks the
  // host for a picture. False when the grid or cell is not editable or the parent vetoes.
  bool EditCell(CellPos cell, QChar first = QChar(), bool selectAll = false);
  // Ends an open edit as losing the focus does.
  void EndEditing();
  bool IsEditing() const { return editor_ != nullptr; }
  InPlaceEdit* InPlaceEditor() const { return editor_; }

  // --- switches
  void SetEditable(bool on) { editable_ = on; }
  bool IsEditable() const { return editable_; }
  void SetDragAndDrop(bool on);
  void SetRowResize(bool on) { rowResize_ = on; }
  void SetColumnResize(bool on) { colResize_ = on; }
  // 0 no grid lines, 1 horizontal only, 2 vertical only, 3 both (the start).
  void SetGridLines(int mode) {
    painter_.SetGridLines(mode);
    Redraw();
  }
  void SetGridLineColour(const QColor& colour);
  void SetCommandPoster(GridCommandPoster poster) { poster_ = std::move(poster); }
  // Font height in pixels that pasted image cells and empty text cells take: round(5 x the
  // table text style's height).
  void SetStyleFontHeight(int pixels) { styleFontHeight_ = pixels; }
  // Told before (true) and after (false) each change the grid makes of its own accord: an
  // edit ended, a cut, a paste, a drop, a drag that moved cells, a row or column resized, so
  // that each can be undone as one step. Pairs may nest.
  void SetChangeGrouping(std::function<void(bool begin)> grouping) { grouping_ = std::move(grouping); }
  // Runs a drag; the default runs the platform's drag loop. Tests put a stand-in here.
  void SetDragRunner(std::function<Qt::DropAction(QDrag&)> runner) { dragRunner_ = std::move(runner); }

  GridViewport View() const;
  // The cell under a point of the viewport.
  CellPos CellAt(const QPoint& pos) const;
  // A cell's (or its block's) rectangle in the viewport.
  QRect CellRectOf(int row, int col) const;

  void Redraw();
  void UpdateScrollBars();

 signals:
  // Every notification; a direct connection can veto through n->result.
  void Notify(vex::GridNotification* n);

 protected:
  bool event(QEvent* e) override;
  void paintEvent(QPaintEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  void scrollContentsBy(int dx, int dy) override;
  void keyPressEvent(QKeyEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  void wheelEvent(QWheelEvent* e) override;
  void changeEvent(QEvent* e) override;
  void dragEnterEvent(QDragEnterEvent* e) override;
  void dragMoveEvent(QDragMoveEvent* e) override;
  void dragLeaveEvent(QDragLeaveEvent* e) override;
  void dropEvent(QDropEvent* e) override;

 private:
  // Brackets one change for the grouping callback.
  class ChangeGroup {
   public:
    explicit ChangeGroup(const GridCtrl& grid) : grid_(grid) {
      if (grid_.grouping_) grid_.grouping_(true);
    }
    ~ChangeGroup() {
      if (grid_.grouping_) grid_.grouping_(false);
    }
    ChangeGroup(const ChangeGroup&) = delete;
    ChangeGroup& operator=(const ChangeGroup&) = delete;

   private:
    const GridCtrl& grid_;
  };

  enum class Mouse { kNone, kSelectCells, kSelectRows, kSelectColumns, kSizeColumn, kSizeRow, kPrepareDrag };

  int SendNotify(int code, CellPos cell, const QString& text = {}, int endKey = 0);
  // Selects `range` (as given) with `focus`, sending the selection notifications.
  void Select(const CellRange& range, CellPos focus);
  void MoveFocus(GridMove move, bool extend);
  void ExtendMouseSelection(const QPoint& pos);
  void AutoScroll();
  void StartDrag();
  void FinishEdit(int endKey);
  // Cuts the editable cells of `range` (only the selected ones when `selectedOnly`) except
  // those inside `keep`.
  void ClearCells(const CellRange& range, const CellRange& keep, bool selectedOnly);
  bool CellEditable(int row, int col) const;
  int PageRows() const;
  void ApplyDefaultsFromFont();

  GridModel model_;
  GridPainter painter_;
  bool editable_ = true;
  bool dragAndDrop_ = false;
  bool rowResize_ = true;
  bool colResize_ = true;
  int styleFontHeight_ = 18;
  GridCommandPoster poster_;
  TableData tableClipboard_;
  CellRange lastPasted_;

  QPointer<InPlaceEdit> editor_;
  CellPos editCell_;
  bool finishingEdit_ = false;

  Mouse mouse_ = Mouse::kNone;
  QPoint pressPos_;
  CellPos pressCell_;
  CellPos sizingStart_;  // the cell left of (or above) the dragged boundary
  int sizingTrack_ = -1; // where the boundary is drawn while dragging
  QPoint lastMousePos_;
  QTimer autoScroll_;

  std::function<void(bool)> grouping_;
  std::function<Qt::DropAction(QDrag&)> dragRunner_;
  CellRange droppedHere_;  // where a drop from this grid landed, kept out of a move's cut
  bool dragging_ = false;
};

}  // namespace vex
