// The grid control's keyboard, mouse, wheel and drag-and-drop handling.

#include <QApplication>
#include <QDrag>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <optional>

#include "editor/grid/grid_ctrl.h"
#include "editor/grid/grid_mime.h"
#include "model/grid_resize.h"
#include "model/grid_table_clipboard.h"
#include "model/grid_text_clipboard.h"
#include "model/grid_view.h"

namespace vex {
namespace {

// The nearest ordinary cell to `cell` (a side outside the grid or in the headers is moved in).
CellPos ClampToBody(const GridModel& g, CellPos cell, const QPoint& pos) {
  const CellRange body = g.BodyRange();
  if (!body.IsValid()) return {};
  int row = cell.row, col = cell.col;
  if (row < 0) row = pos.y() < 0 ? body.minRow : body.maxRow;
  if (col < 0) col = pos.x() < 0 ? body.minCol : body.maxCol;
  return {std::clamp(row, body.minRow, body.maxRow), std::clamp(col, body.minCol, body.maxCol)};
}

}  // namespace

bool GridCtrl::event(QEvent* e) {
  // Tab moves between cells, not to the next widget.
  if (e->type() == QEvent::KeyPress) {
    auto* k = static_cast<QKeyEvent*>(e);
    if (k->key() == Qt::Key_Tab || k->key() == Qt::Key_Backtab) {
      keyPressEvent(k);
      return true;
    }
  }
  return QAbstractScrollArea::event(e);
}

void GridCtrl::MoveFocus(GridMove move, bool extend) {
  const CellPos from = model_.Focus();
  const CellPos to = vex::MoveFocus(model_, from, move, PageRows());
  if (!to.IsValid()) return;
  if (extend) {
    CellPos start = model_.SelectionStart();
    if (!start.IsValid()) start = from.IsValid() ? from : to;
    Select(SelectionBetween(model_, start, to), to);
    model_.SetSelectionStart(start);
  } else {
    Select(model_.BlockOf(to.row, to.col), to);
    model_.SetSelectionStart(to);
  }
  EnsureVisible(to);
}

void GridCtrl::keyPressEvent(QKeyEvent* e) {
  const Qt::KeyboardModifiers mods = e->modifiers();
  const bool ctrl = mods & Qt::ControlModifier;
  const bool shift = mods & Qt::ShiftModifier;
  const int key = e->key();
  if (ctrl && (key == Qt::Key_C || key == Qt::Key_Insert)) return CopySelectedText();
  if (ctrl && key == Qt::Key_X) return CutSelectedText();
  if ((ctrl && key == Qt::Key_V) || (shift && key == Qt::Key_Insert)) return PasteText();
  if (ctrl && key == Qt::Key_A) return SelectAllCells();
  if (key == Qt::Key_Delete && !ctrl && !shift) return ClearSelectedCells();
  if (key == Qt::Key_F2) {
    EditCell(model_.Focus());
    return;
  }
  std::optional<GridMove> move;
  switch (key) {
    case Qt::Key_Up: move = GridMove::kUp; break;
    case Qt::Key_Down: move = GridMove::kDown; break;
    case Qt::Key_Left: move = GridMove::kLeft; break;
    case Qt::Key_Right: move = GridMove::kRight; break;
    case Qt::Key_PageUp: move = GridMove::kPageUp; break;
    case Qt::Key_PageDown: move = GridMove::kPageDown; break;
    case Qt::Key_Home: move = ctrl ? GridMove::kFirstCell : GridMove::kHome; break;
    case Qt::Key_End: move = ctrl ? GridMove::kLastCell : GridMove::kEnd; break;
    case Qt::Key_Tab: move = shift ? GridMove::kPrevious : GridMove::kNext; break;
    case Qt::Key_Backtab: move = GridMove::kPrevious; break;
    default: break;
  }
  if (move) {
    const bool tab = key == Qt::Key_Tab || key == Qt::Key_Backtab;
    MoveFocus(*move, shift && !tab);
    return;
  }
  // Enter stays with the grid: it must never press the dialog's default button.
  if (key == Qt::Key_Return || key == Qt::Key_Enter) return;
  const QString text = e->text();
  if (!ctrl && !(mods & Qt::AltModifier) && text.size() == 1 && text[0].isPrint()) {
    EditCell(model_.Focus(), text[0]);
    return;
  }
  QAbstractScrollArea::keyPressEvent(e);
}

// ---------------------------------------------------------------- mouse

void GridCtrl::mousePressEvent(QMouseEvent* e) {
  EndEditing();
  setFocus(Qt::MouseFocusReason);
  const QPoint pos = e->position().toPoint();
  const CellPos cell = CellAt(pos);
  if (e->button() == Qt::RightButton) {
    SendNotify(kGridRightClick, cell.row >= 0 && cell.col >= 0 ? cell : CellPos{});
    return;
  }
  if (e->button() != Qt::LeftButton) return;
  pressPos_ = lastMousePos_ = pos;
  pressCell_ = cell;
  const GridViewport view = View();
  const bool inFixedRow = model_.IsFixedRow(cell.row), inFixedCol = model_.IsFixedColumn(cell.col);

  if (inFixedRow && colResize_) {
    const int col = ColumnBoundaryAt(model_, cell.row, ContentX(model_, view, pos.x()));
    if (col >= 0) {
      mouse_ = Mouse::kSizeColumn;
      sizingStart_ = {cell.row, col};
      sizingTrack_ = pos.x();
      Redraw();
      return;
    }
  }
  if (inFixedCol && rowResize_) {
    const int row = RowBoundaryAt(model_, cell.col, ContentY(model_, view, pos.y()));
    if (row >= 0) {
      mouse_ = Mouse::kSizeRow;
      sizingStart_ = {row, cell.col};
      sizingTrack_ = pos.y();
      Redraw();
      return;
    }
  }
  const CellRange body = model_.BodyRange();
  if (!body.IsValid() || cell.row < 0 || cell.col < 0) return;
  if (inFixedRow && inFixedCol) {
    SelectAllCells();
    return;
  }
  if (inFixedRow) {  // whole columns
    mouse_ = Mouse::kSelectColumns;
    model_.SetSelectionStart({body.minRow, cell.col});
    ExtendMouseSelection(pos);
    return;
  }
  if (inFixedCol) {  // whole rows
    mouse_ = Mouse::kSelectRows;
    model_.SetSelectionStart({cell.row, body.minCol});
    ExtendMouseSelection(pos);
    return;
  }
  if (dragAndDrop_ && model_.IsSelected(cell.row, cell.col) && !(e->modifiers() & Qt::ShiftModifier)) {
    mouse_ = Mouse::kPrepareDrag;
    return;
  }
  mouse_ = Mouse::kSelectCells;
  if (!(e->modifiers() & Qt::ShiftModifier) || !model_.SelectionStart().IsValid())
    model_.SetSelectionStart(model_.OwnerOf(cell.row, cell.col));
  ExtendMouseSelection(pos);
}

void GridCtrl::ExtendMouseSelection(const QPoint& pos) {
  const CellRange body = model_.BodyRange();
  const CellPos start = model_.SelectionStart();
  if (!body.IsValid() || !start.IsValid()) return;
  CellPos at = ClampToBody(model_, CellAt(pos), pos);
  CellRange range;
  CellPos focus;
  if (mouse_ == Mouse::kSelectColumns) {
    range = model_.ExpandToBlocks({body.minRow, std::min(start.col, at.col), body.maxRow, std::max(start.col, at.col)});
    focus = {body.minRow, at.col};
  } else if (mouse_ == Mouse::kSelectRows) {
    range = model_.ExpandToBlocks({std::min(start.row, at.row), body.minCol, std::max(start.row, at.row), body.maxCol});
    focus = {at.row, body.minCol};
  } else {
    range = SelectionBetween(model_, start, at);
    focus = model_.OwnerOf(at.row, at.col);
  }
  if (range == model_.SelectedRange() && focus == model_.Focus()) return;
  Select(range, model_.OwnerOf(focus.row, focus.col));
  model_.SetSelectionStart(start);
}

void GridCtrl::mouseMoveEvent(QMouseEvent* e) {
  const QPoint pos = e->position().toPoint();
  lastMousePos_ = pos;
  const GridViewport view = View();
  switch (mouse_) {
    case Mouse::kNone: {
      const CellPos cell = CellAt(pos);
      Qt::CursorShape shape = Qt::ArrowCursor;
      if (model_.IsFixedRow(cell.row) && colResize_ &&
          ColumnBoundaryAt(model_, cell.row, ContentX(model_, view, pos.x())) >= 0)
        shape = Qt::SplitHCursor;
      else if (model_.IsFixedColumn(cell.col) && rowResize_ &&
               RowBoundaryAt(model_, cell.col, ContentY(model_, view, pos.y())) >= 0)
        shape = Qt::SplitVCursor;
      viewport()->setCursor(shape);
      return;
    }
    case Mouse::kSizeColumn:
    case Mouse::kSizeRow:
      sizingTrack_ = mouse_ == Mouse::kSizeColumn ? pos.x() : pos.y();
      Redraw();
      return;
    case Mouse::kPrepareDrag:
      if ((pos - pressPos_).manhattanLength() >= QApplication::startDragDistance()) {
        mouse_ = Mouse::kNone;
        StartDrag();
      }
      return;
    default:
      if (!viewport()->rect().contains(pos)) {
        if (!autoScroll_.isActive()) autoScroll_.start();
      } else {
        autoScroll_.stop();
      }
      ExtendMouseSelection(pos);
  }
}

void GridCtrl::mouseReleaseEvent(QMouseEvent* e) {
  const QPoint pos = e->position().toPoint();
  autoScroll_.stop();
  const Mouse mode = mouse_;
  mouse_ = Mouse::kNone;
  sizingTrack_ = -1;
  const GridViewport view = View();
  if (mode == Mouse::kSizeColumn || mode == Mouse::kSizeRow) {
    if (pos != pressPos_) {
      const ChangeGroup group(*this);
      if (mode == Mouse::kSizeColumn) ResizeColumnByDrag(model_, sizingStart_, ContentX(model_, view, pos.x()));
      else ResizeRowByDrag(model_, sizingStart_, ContentY(model_, view, pos.y()));
      UpdateScrollBars();
    }
    Redraw();
  } else if (mode == Mouse::kPrepareDrag && pressCell_.IsValid()) {
    // A click on the selection that did not become a drag selects that cell alone.
    const CellPos owner = model_.OwnerOf(pressCell_.row, pressCell_.col);
    Select(model_.BlockOf(owner.row, owner.col), owner);
    model_.SetSelectionStart(owner);
  }
}

void GridCtrl::mouseDoubleClickEvent(QMouseEvent* e) {
  if (e->button() != Qt::LeftButton) return;
  const CellPos cell = CellAt(e->position().toPoint());
  if (!model_.IsValid(cell.row, cell.col) || model_.IsFixed(cell.row, cell.col)) return;
  const CellPos owner = model_.OwnerOf(cell.row, cell.col);
  if (model_.Focus() != owner) {
    Select(model_.BlockOf(owner.row, owner.col), owner);
    model_.SetSelectionStart(owner);
  }
  EditCell(owner);
}

void GridCtrl::AutoScroll() {
  // The grid holds the mouse while a button is down, so the last move is where the pointer is.
  const QPoint p = lastMousePos_;
  const QRect r = viewport()->rect();
  QScrollBar* v = verticalScrollBar();
  QScrollBar* h = horizontalScrollBar();
  const VisibleCells vis = VisibleBody(model_, View());
  // One row or column per tick toward the pointer.
  if (p.y() > r.bottom() && vis.firstRow < model_.RowCount() - 1)
    v->setValue(static_cast<int>(model_.Rows().Offset(vis.firstRow + 1) - FixedHeight(model_)));
  else if (p.y() < r.top() && vis.firstRow > model_.FixedRowCount())
    v->setValue(static_cast<int>(model_.Rows().Offset(vis.firstRow - 1) - FixedHeight(model_)));
  if (p.x() > r.right() && vis.firstCol < model_.ColumnCount() - 1)
    h->setValue(static_cast<int>(model_.Columns().Offset(vis.firstCol + 1) - FixedWidth(model_)));
  else if (p.x() < r.left() && vis.firstCol > model_.FixedColumnCount())
    h->setValue(static_cast<int>(model_.Columns().Offset(vis.firstCol - 1) - FixedWidth(model_)));
  ExtendMouseSelection(p);
}

void GridCtrl::wheelEvent(QWheelEvent* e) {
  const int notches = e->angleDelta().y() / 120;
  if (notches == 0) return;
  const VisibleCells vis = VisibleBody(model_, View());
  const int lines = std::max(QApplication::wheelScrollLines(), 1);
  const int target = std::clamp(vis.firstRow - notches * lines, model_.FixedRowCount(), std::max(model_.RowCount() - 1, 0));
  verticalScrollBar()->setValue(static_cast<int>(model_.Rows().Offset(target) - FixedHeight(model_)));
  e->accept();
}

// ---------------------------------------------------------------- drag and drop

void GridCtrl::SetDragAndDrop(bool on) {
  dragAndDrop_ = on;
  setAcceptDrops(on);
  viewport()->setAcceptDrops(on);
}

void GridCtrl::StartDrag() {
  const CellRange range = model_.SelectedRange();
  if (!range.IsValid()) return;
  tableClipboard_ = GridToTable(model_, range);
  auto* drag = new QDrag(this);
  drag->setMimeData(MakeGridMimeData(SelectionText(model_, range), tableClipboard_, SelectionHtml(model_, range)));
  SendNotify(kGridBeginDrag, range.TopLeft());
  droppedHere_ = {};
  dragging_ = true;
  // A drop onto this grid and the cut of a move are one change.
  const ChangeGroup group(*this);
  const Qt::DropAction action =
      dragRunner_ ? dragRunner_(*drag) : drag->exec(Qt::CopyAction | Qt::MoveAction, Qt::CopyAction);
  dragging_ = false;
  drag->deleteLater();
  // A move takes the cells away from where they came from, except where they just landed.
  if (action == Qt::MoveAction) ClearCells(range, droppedHere_, false);
  droppedHere_ = {};
}

void GridCtrl::dragEnterEvent(QDragEnterEvent* e) {
  const QMimeData* m = e->mimeData();
  if (dragAndDrop_ && editable_ && m && (m->hasText() || m->hasFormat(QString::fromLatin1(kTableMimeType))))
    e->acceptProposedAction();
  else
    e->ignore();
}

void GridCtrl::dragMoveEvent(QDragMoveEvent* e) {
  const CellPos cell = CellAt(e->position().toPoint());
  if (!CellEditable(cell.row, cell.col)) {
    painter_.SetDropTarget({});
    Redraw();
    e->ignore();
    return;
  }
  painter_.SetDropTarget(model_.OwnerOf(cell.row, cell.col));
  Redraw();
  // Between grids a drag moves unless Ctrl asks for a copy; other sources decide themselves.
  if ((dragging_ || qobject_cast<GridCtrl*>(e->source())) && (e->possibleActions() & Qt::MoveAction) &&
      !(e->modifiers() & Qt::ControlModifier)) {
    e->setDropAction(Qt::MoveAction);
    e->accept();
  } else {
    e->acceptProposedAction();
  }
}

void GridCtrl::dragLeaveEvent(QDragLeaveEvent*) {
  painter_.SetDropTarget({});
  Redraw();
}

void GridCtrl::dropEvent(QDropEvent* e) {
  painter_.SetDropTarget({});
  const CellPos cell = CellAt(e->position().toPoint());
  if (!CellEditable(cell.row, cell.col)) {
    e->ignore();
    Redraw();
    return;
  }
  const CellPos owner = model_.OwnerOf(cell.row, cell.col);
  Select(model_.BlockOf(owner.row, owner.col), owner);
  model_.SetSelectionStart(owner);
  const CellRange pasted = PasteFrom(e->mimeData());
  if (dragging_) droppedHere_ = pasted;  // a drop onto the grid the drag started from
  if ((dragging_ || qobject_cast<GridCtrl*>(e->source())) && (e->possibleActions() & Qt::MoveAction) &&
      !(e->modifiers() & Qt::ControlModifier)) {
    e->setDropAction(Qt::MoveAction);
    e->accept();
  } else {
    e->acceptProposedAction();
  }
}

}  // namespace vex
