#include "editor/grid/grid_ctrl.h"

#include <QApplication>
#include <QClipboard>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QMimeData>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

#include "editor/grid/grid_mime.h"
#include "editor/grid/in_place_edit.h"
#include "model/grid_table_clipboard.h"
#include "model/grid_text_clipboard.h"
#include "model/grid_view.h"

namespace vex {
namespace {

std::string ToStd(const QString& s) {
  const QByteArray b = s.toUtf8();
  return std::string(b.constData(), static_cast<std::size_t>(b.size()));
}

QString ToQ(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

// The editor shows "\n"; cells keep "\r\n".
std::string CellTextOf(const QString& edited) {
  QString s = edited;
  s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  s.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
  return ToStd(s);
}

}  // namespace

GridCtrl::GridCtrl(QWidget* parent)
    : QAbstractScrollArea(parent), painter_(model_, font(), GridColours::FromPalette(palette())) {
  setFocusPolicy(Qt::StrongFocus);
  setFrameShape(QFrame::Box);
  viewport()->setMouseTracking(true);
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
  autoScroll_.setInterval(25);
  connect(&autoScroll_, &QTimer::timeout, this, &GridCtrl::AutoScroll);
  ApplyDefaultsFromFont();
}

GridCtrl::~GridCtrl() {
  // An open editor is dropped without ending its edit: the grid is going away.
  if (editor_) {
    editor_->disconnect(this);
    delete editor_.data();
  }
}

void GridCtrl::ApplyDefaultsFromFont() {
  ApplyFontDefaults(model_, font());
  painter_.SetBaseFont(font());
}

void GridCtrl::changeEvent(QEvent* e) {
  if (e->type() == QEvent::FontChange) ApplyDefaultsFromFont();
  if (e->type() == QEvent::PaletteChange) {
    const QColor line = painter_.Colours().gridLine;
    GridColours colours = GridColours::FromPalette(palette());
    colours.gridLine = line;
    painter_.SetColours(colours);
  }
  QAbstractScrollArea::changeEvent(e);
}

void GridCtrl::SetGridLineColour(const QColor& colour) {
  GridColours colours = painter_.Colours();
  colours.gridLine = colour;
  painter_.SetColours(colours);
  Redraw();
}

// ---------------------------------------------------------------- view

GridViewport GridCtrl::View() const {
  return {horizontalScrollBar()->value(), verticalScrollBar()->value(), viewport()->width(), viewport()->height()};
}

CellPos GridCtrl::CellAt(const QPoint& pos) const { return CellAtPoint(model_, View(), pos.x(), pos.y()); }

QRect GridCtrl::CellRectOf(int row, int col) const {
  const WindowRect r = BlockWindowRect(model_, View(), row, col);
  return QRect(static_cast<int>(r.left), static_cast<int>(r.top), static_cast<int>(r.right - r.left),
               static_cast<int>(r.bottom - r.top));
}

void GridCtrl::UpdateScrollBars() {
  const GridViewport v = View();
  const auto set = [](QScrollBar* bar, std::int64_t max, int page, int step) {
    bar->setRange(0, static_cast<int>(std::min<std::int64_t>(max, INT_MAX)));
    bar->setPageStep(std::max(page, 1));
    bar->setSingleStep(std::max(step, 1));
  };
  set(horizontalScrollBar(), MaxScrollX(model_, v), v.width - static_cast<int>(FixedWidth(model_)),
      model_.DefaultColumnWidth());
  set(verticalScrollBar(), MaxScrollY(model_, v), v.height - static_cast<int>(FixedHeight(model_)),
      model_.DefaultRowHeight());
}

void GridCtrl::Redraw() { viewport()->update(); }

void GridCtrl::paintEvent(QPaintEvent* e) {
  QPainter p(viewport());
  painter_.Paint(p, View(), e->rect());
  if (sizingTrack_ >= 0) {
    p.setPen(QPen(palette().color(QPalette::Text), 0, Qt::DotLine));
    if (mouse_ == Mouse::kSizeColumn) p.drawLine(sizingTrack_, 0, sizingTrack_, viewport()->height());
    else p.drawLine(0, sizingTrack_, viewport()->width(), sizingTrack_);
  }
}

void GridCtrl::resizeEvent(QResizeEvent* e) {
  QAbstractScrollArea::resizeEvent(e);
  UpdateScrollBars();
}

void GridCtrl::scrollContentsBy(int, int) {
  // The in-place editor belongs to a cell position on the screen; scrolling ends the edit.
  if (editor_) EndEditing();
  viewport()->update();
}

void GridCtrl::EnsureVisible(CellPos cell) {
  const GridViewport v = ScrolledToShow(model_, View(), cell);
  horizontalScrollBar()->setValue(static_cast<int>(v.scrollX));
  verticalScrollBar()->setValue(static_cast<int>(v.scrollY));
}

int GridCtrl::PageRows() const {
  const VisibleCells v = VisibleBody(model_, View());
  return std::max(v.lastRow - v.firstRow, 1);
}

// ---------------------------------------------------------------- counts and sizes

bool GridCtrl::SetRowCount(int rows) {
  EndEditing();
  const bool ok = model_.SetRowCount(rows);
  UpdateScrollBars();
  Redraw();
  return ok;
}

bool GridCtrl::SetColumnCount(int cols) {
  EndEditing();
  const bool ok = model_.SetColumnCount(cols);
  UpdateScrollBars();
  Redraw();
  return ok;
}

void GridCtrl::SetFixedRowCount(int n) {
  model_.SetFixedRowCount(n);
  UpdateScrollBars();
  Redraw();
}

void GridCtrl::SetFixedColumnCount(int n) {
  model_.SetFixedColumnCount(n);
  UpdateScrollBars();
  Redraw();
}

bool GridCtrl::SetRowHeight(int row, int height) {
  const bool ok = model_.SetRowHeight(row, height);
  UpdateScrollBars();
  Redraw();
  return ok;
}

bool GridCtrl::SetColumnWidth(int col, int width) {
  const bool ok = model_.SetColumnWidth(col, width);
  UpdateScrollBars();
  Redraw();
  return ok;
}

QSize GridCtrl::TotalExtent() const {
  return QSize(static_cast<int>(std::min<std::int64_t>(model_.Columns().Total(), INT_MAX)),
               static_cast<int>(std::min<std::int64_t>(model_.Rows().Total(), INT_MAX)));
}

int GridCtrl::InsertRow(int before) {
  EndEditing();
  const int r = model_.InsertRow(before);
  UpdateScrollBars();
  Redraw();
  return r;
}

int GridCtrl::InsertColumn(int before) {
  EndEditing();
  const int c = model_.InsertColumn(before);
  UpdateScrollBars();
  Redraw();
  return c;
}

bool GridCtrl::DeleteRow(int row) {
  EndEditing();
  const bool ok = model_.DeleteRow(row);
  UpdateScrollBars();
  Redraw();
  return ok;
}

bool GridCtrl::DeleteColumn(int col) {
  EndEditing();
  const bool ok = model_.DeleteColumn(col);
  UpdateScrollBars();
  Redraw();
  return ok;
}

void GridCtrl::DeleteAllItems() {
  EndEditing();
  model_.DeleteAllItems();
  UpdateScrollBars();
  Redraw();
}

// ---------------------------------------------------------------- selection

int GridCtrl::SendNotify(int code, CellPos cell, const QString& text, int endKey) {
  GridNotification n;
  n.code = code;
  n.row = cell.row;
  n.column = cell.col;
  n.text = text;
  n.endKey = endKey;
  emit Notify(&n);
  return n.result;
}

void GridCtrl::Select(const CellRange& range, CellPos focus) {
  SendNotify(kGridSelChanging, focus);
  model_.ClearSelection();
  model_.Select(range);
  model_.SetFocus(focus);
  SendNotify(kGridSelChanged, model_.Focus());
  Redraw();
}

void GridCtrl::SetSelectedRange(const CellRange& range, CellPos focus) {
  const CellRange r = model_.ExpandToBlocks(range);
  if (!focus.IsValid()) focus = r.TopLeft();
  Select(r, focus);
  model_.SetSelectionStart(focus);
}

void GridCtrl::SelectAllCells() {
  const CellRange body = model_.BodyRange();
  if (!body.IsValid()) return;
  const CellPos focus = model_.Focus().IsValid() ? model_.Focus() : body.TopLeft();
  Select(body, focus);
}

void GridCtrl::SetFocusCell(CellPos cell) {
  model_.SetFocus(cell);
  Redraw();
}

// ---------------------------------------------------------------- merging

bool GridCtrl::MergeCells(const CellRange& range) {
  EndEditing();
  const bool ok = model_.Merge(range);
  Redraw();
  return ok;
}

void GridCtrl::UnmergeCells(const CellRange& range) {
  EndEditing();
  model_.Unmerge(range);
  Redraw();
}

void GridCtrl::MergeSelectedCells() {
  const CellRange r = model_.SelectedRange();
  if (r.RowSpan() > 1 || r.ColSpan() > 1) MergeCells(r);
}

void GridCtrl::UnmergeSelectedCells() { UnmergeCells(model_.SelectedRange()); }

QSize GridCtrl::MergedExtent(int row, int col) const {
  return QSize(static_cast<int>(model_.MergedWidth(row, col)), static_cast<int>(model_.MergedHeight(row, col)));
}

// ---------------------------------------------------------------- clipboard

bool GridCtrl::CellEditable(int row, int col) const {
  return editable_ && model_.IsValid(row, col) && !model_.IsFixed(row, col) && !model_.IsReadOnly(row, col);
}

void GridCtrl::CopySelectedText() {
  const CellRange range = model_.SelectedRange();
  if (!range.IsValid()) return;
  tableClipboard_ = GridToTable(model_, range);
  QGuiApplication::clipboard()->setMimeData(
      MakeGridMimeData(SelectionText(model_, range), tableClipboard_, SelectionHtml(model_, range)));
}

void GridCtrl::CutSelectedText() {
  CopySelectedText();
  ClearSelectedCells();
}

void GridCtrl::ClearSelectedCells() { ClearCells(model_.SelectedRange(), {}, true); }

void GridCtrl::ClearCells(const CellRange& range, const CellRange& keep, bool selectedOnly) {
  if (!range.IsValid()) return;
  EndEditing();
  const ChangeGroup group(*this);
  for (int r = range.minRow; r <= range.maxRow; ++r)
    for (int c = range.minCol; c <= range.maxCol; ++c) {
      if ((selectedOnly && !model_.IsSelected(r, c)) || !CellEditable(r, c) || keep.Contains(r, c)) continue;
      if (SendNotify(kGridBeginEdit, {r, c}) < 0) continue;
      if (model_.Kind(r, c) == kImageCell) {
        model_.ClearPicture(r, c);
      } else if (!model_.Text(r, c).empty()) {
        model_.SetText(r, c, std::string());
        SendNotify(kGridEndEdit, {r, c});
        model_.SetModified(r, c, true);
      }
    }
  Redraw();
}

void GridCtrl::PasteText() { PasteFrom(QGuiApplication::clipboard()->mimeData()); }

CellRange GridCtrl::PasteFrom(const QMimeData* mime) {
  const CellPos focus = model_.Focus();
  if (!mime || !CellEditable(focus.row, focus.col)) return {};
  EndEditing();
  const PastePayload payload =
      ReadPastePayload(mime, model_.RowCount() - focus.row, model_.ColumnCount() - focus.col);
  if (!payload.text && !payload.table) return {};
  const ChangeGroup group(*this);
  // Our payload carries every text whole; splitting the plain text again at commas and
  // trimming it would cut texts such as "M12,5" apart, so it is used only without a payload.
  CellRange pasted;
  if (payload.table) {
    pasted = PasteTableIntoGrid(model_, *payload.table, focus, styleFontHeight_);
  } else {
    pasted = vex::PasteText(model_, focus, *payload.text, [&](int r, int c, const std::string& t) {
      return SendNotify(kGridEndEdit, {r, c}, ToQ(t)) >= 0;
    });
  }
  model_.Select(pasted, false);
  lastPasted_ = pasted;
  Redraw();
  return pasted;
}

// ---------------------------------------------------------------- editing

bool GridCtrl::EditCell(CellPos cell, QChar first, bool selectAll) {
  if (!model_.IsValid(cell.row, cell.col)) return false;
  cell = model_.OwnerOf(cell.row, cell.col);
  if (!CellEditable(cell.row, cell.col)) return false;
  EndEditing();
  if (SendNotify(kGridBeginEdit, cell) < 0) return false;
  if (model_.Kind(cell.row, cell.col) == kImageCell) {
    // Pictures are picked in the drawing: the host's command does it.
    if (poster_.post && (!poster_.hasActiveDocument || poster_.hasActiveDocument()))
      poster_.post("VEXTABLE_SELECTIMAGE");
    return false;
  }
  EnsureVisible(cell);
  const QRect rect = CellRectOf(cell.row, cell.col).intersected(viewport()->rect());
  if (rect.isEmpty()) return false;
  const QFont font = painter_.FontFor(model_.EffectiveFontHeight(cell.row, cell.col));
  QString text = ToQ(model_.Text(cell.row, cell.col));
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  editCell_ = cell;
  editor_ = new InPlaceEdit(viewport(), rect, font, model_.EffectiveFormat(cell.row, cell.col), text, first,
                            viewport()->width());
  if (selectAll && first.isNull()) editor_->selectAll();
  connect(editor_, &InPlaceEdit::Finished, this, &GridCtrl::FinishEdit);
  editor_->show();
  editor_->setFocus(Qt::OtherFocusReason);
  return true;
}

void GridCtrl::EndEditing() {
  if (editor_ && !finishingEdit_) FinishEdit(0);
}

void GridCtrl::FinishEdit(int endKey) {
  if (!editor_ || finishingEdit_) return;
  finishingEdit_ = true;
  InPlaceEdit* editor = editor_;
  const CellPos cell = editCell_;
  const std::string text = CellTextOf(editor->toPlainText());
  const int answer = SendNotify(kGridEndEdit, cell, ToQ(text), endKey);
  editor_ = nullptr;
  const bool hadFocus = editor->hasFocus();
  editor->hide();
  editor->deleteLater();
  if (hadFocus || endKey != 0) setFocus(Qt::OtherFocusReason);

  const std::string old = model_.Text(cell.row, cell.col);
  if (text != old) {
    const ChangeGroup group(*this);
    model_.SetText(cell.row, cell.col, text);
    if (answer >= 0) model_.SetModified(cell.row, cell.col, true);
    else model_.SetText(cell.row, cell.col, old);
  }
  Redraw();
  finishingEdit_ = false;

  if (endKey == Qt::Key_Tab || endKey == Qt::Key_Backtab) {
    MoveFocus(endKey == Qt::Key_Tab ? GridMove::kNext : GridMove::kPrevious, false);
    const CellPos next = model_.Focus();
    // The next cell opens with its text selected, so that typing replaces it.
    if (next != cell && model_.Kind(next.row, next.col) == kTextCell) EditCell(next, QChar(), true);
  }
}

}  // namespace vex
