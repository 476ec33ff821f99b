// The table editor window: its table in the grid, the zoom, the boxes that follow the focus
// cell, and the undo history.

#include <QAction>
#include <QActionGroup>
#include <QComboBox>
#include <QLineEdit>

#include <cmath>

#include "editor/editor_texts.h"
#include "editor/grid/grid_ctrl.h"
#include "editor/table_editor_window.h"
#include "model/alignment.h"
#include "model/editor_boxes.h"
#include "model/editor_commands.h"
#include "model/editor_units.h"
#include "model/grid_from_table.h"
#include "model/grid_journal.h"
#include "model/grid_millimetres.h"
#include "settings/language_pack.h"
#include "settings/replacement.h"

namespace vex {
namespace {

using namespace editor_cmd;

// The first ordinary cell, where the focus goes after a table is shown.
CellPos FirstCell(const GridModel& g) { return g.BodyRange().TopLeft(); }

}  // namespace

// ---------------------------------------------------------------- loading and taking

void TableEditorWindow::SetBlankTable(int rows, int cols, double rowHeightMm, double colWidthMm) {
  blankRows_ = rows;
  blankCols_ = cols;
  blankRowHeight_ = rowHeightMm;
  blankColWidth_ = colWidthMm;
  if (origin_ == kNewTable && !loadedOnce_) ShowBlank();
}

void TableEditorWindow::LoadTable(const TableData& table) {
  loadedOnce_ = true;
  journal_->Clear();
  ShowTable(table, true);
}

void TableEditorWindow::ShowBlank() {
  styleHeight_ = ReadSettingsNow().Table.Height;
  grid_->EndEditing();
  {
    const JournalPause pause(journal_.get());
    LoadBlankTableIntoGrid(grid_->Model(), blankRows_, blankCols_, blankRowHeight_, blankColWidth_, zoom_, styleHeight_);
  }
  millimetres_->RememberBlank(blankRowHeight_, blankColWidth_);
  journal_->Clear();
  grid_->SetStyleFontHeight(static_cast<int>(std::lround(5 * styleHeight_)));
  grid_->UpdateScrollBars();
  grid_->SetSelectedRange(CellRange::Single(FirstCell(grid_->Model())));
  grid_->Redraw();
}

void TableEditorWindow::ShowTable(TableData table, bool reverseReplace) {
  styleHeight_ = ReadSettingsNow().Table.Height;
  if (reverseReplace) {
    const ReplacementList replacements = Replacements();
    for (TableRow& row : table.rows)
      for (TableCell& cell : row.cells) cell.strText = replacements.ReverseReplace(std::move(cell.strText));
  }
  // A table the grid cannot hold is refused before the grid lets go of what it shows.
  const std::int64_t cells = (std::int64_t(table.nRows) + 1) * (std::int64_t(table.nCols) + 1);
  if (table.nRows < 0 || table.nCols < 0 || cells > GridModel::kMaxCells) {
    Tell(EditorText(Language(), "IDS_EDITOR_TOO_LARGE"));
    return;
  }
  table.Normalize();
  table_ = std::move(table);
  grid_->EndEditing();
  bool loaded;
  {
    const JournalPause pause(journal_.get());
    loaded = LoadTableIntoGrid(grid_->Model(), table_, zoom_, styleHeight_);
  }
  if (loaded) millimetres_->Remember(table_);
  else Tell(EditorText(Language(), "IDS_EDITOR_TOO_LARGE"));
  grid_->SetStyleFontHeight(static_cast<int>(std::lround(5 * styleHeight_)));
  grid_->UpdateScrollBars();
  grid_->SetSelectedRange(CellRange::Single(FirstCell(grid_->Model())));
  grid_->Redraw();
}

TableData TableEditorWindow::TakeTable(TextHeights heights) {
  grid_->EndEditing();
  TableData t = TakeTableFromGrid(grid_->Model(), zoom_, heights, millimetres_.get());
  const ReplacementList replacements = Replacements();
  for (TableRow& row : t.rows)
    for (TableCell& cell : row.cells) cell.strText = replacements.ForwardReplace(std::move(cell.strText));
  table_ = t;
  return t;
}

void TableEditorWindow::RefillHeaders() {
  const JournalPause pause(journal_.get());
  FillGridHeaders(grid_->Model(), zoom_, styleHeight_);
}

void TableEditorWindow::AfterStructureChange() {
  RefillHeaders();
  grid_->UpdateScrollBars();
  grid_->Redraw();
  RefreshFromFocus();
}

// ---------------------------------------------------------------- zoom

void TableEditorWindow::SetZoom(double zoom) { ZoomTo(zoom, true); }

void TableEditorWindow::ZoomTo(double zoom, bool rewriteBox) {
  zoom = ClampZoom(zoom);
  if (zoom != zoom_) {
    grid_->EndEditing();
    const CellRange selected = grid_->SelectedCellRange();
    const CellPos focus = grid_->FocusCell();
    // The texts are not the drafter's to change by zooming: no replacement either way.
    TableData t = TakeTableFromGrid(grid_->Model(), zoom_, TextHeights::kExact, millimetres_.get());
    const double old = zoom_;
    zoom_ = zoom;
    ShowTable(std::move(t), false);
    journal_->ConvertPixels([&](int px) { return MmToPixels(PixelsToMm(px, old), zoom); },
                            [&](int px) { return TextFontPixels(PixelsToMm(px, old), zoom); });
    if (selected.IsValid()) grid_->SetSelectedRange(selected, focus);
  }
  if (rewriteBox) {
    updatingBoxes_ = true;
    zoomBox_->setEditText(QString::fromStdString(ZoomText(zoom_)));
    updatingBoxes_ = false;
  }
}

void TableEditorWindow::OnZoomBox(const QString& text, bool rewrite) {
  if (updatingBoxes_) return;
  ZoomTo(ZoomFromText(text.toStdString()), rewrite);
}

// ---------------------------------------------------------------- the boxes and buttons

void TableEditorWindow::OnGridNotify(GridNotification* n) {
  if (n->code == kGridSelChanged) {
    ++boxSession_;
    RefreshFromFocus();
  }
}

void TableEditorWindow::RefreshFromFocus() {
  const GridModel& g = grid_->Model();
  const CellPos f = grid_->FocusCell();
  if (!g.IsValid(f.row, f.col) || g.IsFixed(f.row, f.col)) return;
  const Alignment a = AlignmentFromFlags(g.Format(f.row, f.col));
  updatingBoxes_ = true;
  Action(a.HorzMode == 0 ? kTbLeft : a.HorzMode == 2 ? kTbRight : kTbCentre)->setChecked(true);
  Action(a.VertMode == 0 ? kTbTop : a.VertMode == 2 ? kTbBottom : kTbMiddle)->setChecked(true);
  const bool image = g.Kind(f.row, f.col) == kImageCell;
  Action(image ? kTbPicture : kTbText)->setChecked(true);
  SetBoxMode(image);
  if (image) {
    const CellImage* p = g.Picture(f.row, f.col);
    valueBox_->setEditText(QString::fromStdString(PictureScaleText(p ? p->dScael : 1.0)));
  } else {
    valueBox_->setEditText(QString::fromStdString(TextHeightText(millimetres_->TextHeight(f.row, f.col, zoom_))));
  }
  updatingBoxes_ = false;
}

void TableEditorWindow::SetBoxMode(bool picture) {
  if (pictureMode_ == picture && valueBox_->count() > 0) return;
  pictureMode_ = picture;
  const bool was = updatingBoxes_;
  updatingBoxes_ = true;
  valueBox_->clear();
  for (const std::string& item : picture ? PictureScaleItems() : TextHeightItems())
    valueBox_->addItem(QString::fromStdString(item));
  updatingBoxes_ = was;
}

void TableEditorWindow::ApplyBoxValue(const QString& text) {
  if (updatingBoxes_) return;
  GridModel& g = grid_->Model();
  const CellRange range = g.SelectedRange();
  if (!range.IsValid()) return;
  const std::string value = text.toStdString();
  // A value typed key by key is one change.
  const JournalStep step(journal_.get(), boxSession_);
  if (pictureMode_) {
    const double scale = PictureScaleFromText(value);
    for (int r = range.minRow; r <= range.maxRow; ++r)
      for (int c = range.minCol; c <= range.maxCol; ++c) {
        if (!g.IsSelected(r, c) || g.IsFixed(r, c) || g.Kind(r, c) != kImageCell) continue;
        CellImage picture = g.Picture(r, c) ? *g.Picture(r, c) : CellImage{};
        picture.dScael = scale;
        g.SetPicture(r, c, std::move(picture));
      }
  } else {
    const int font = TypedFontPixels(TextHeightFromText(value), zoom_);
    for (int r = range.minRow; r <= range.maxRow; ++r)
      for (int c = range.minCol; c <= range.maxCol; ++c) {
        if (!g.IsSelected(r, c) || g.IsFixed(r, c)) continue;
        g.SetFontHeight(r, c, font);
        millimetres_->ForgetTextHeight(r, c);
      }
  }
  grid_->Redraw();
}

// ---------------------------------------------------------------- pictures from the host

void TableEditorWindow::StorePicture(const CellImage& image) {
  GridModel& g = grid_->Model();
  const CellRange range = g.SelectedRange();
  if (!range.IsValid()) return;
  {
    const JournalStep step(journal_.get());
    for (int r = range.minRow; r <= range.maxRow; ++r)
      for (int c = range.minCol; c <= range.maxCol; ++c) {
        if (!g.IsSelected(r, c) || g.IsFixed(r, c)) continue;
        g.SetKind(r, c, kImageCell);
        g.SetPicture(r, c, image);
      }
  }
  grid_->Redraw();
  RefreshFromFocus();
}

std::vector<CellImage> TableEditorWindow::SelectedPictures() const {
  std::vector<CellImage> out;
  const GridModel& g = grid_->Model();
  const CellRange range = g.SelectedRange();
  if (!range.IsValid()) return out;
  for (int r = range.minRow; r <= range.maxRow; ++r)
    for (int c = range.minCol; c <= range.maxCol; ++c) {
      // A merged block shows its owner's picture only.
      if (!g.IsSelected(r, c) || g.IsFixed(r, c) || g.IsCovered(r, c) || g.Kind(r, c) != kImageCell) continue;
      if (const CellImage* p = g.Picture(r, c)) out.push_back(*p);
    }
  return out;
}

// ---------------------------------------------------------------- undo

void TableEditorWindow::Undo() {
  grid_->EndEditing();
  if (journal_->Undo()) AfterStructureChange();
}

void TableEditorWindow::Redo() {
  grid_->EndEditing();
  if (journal_->Redo()) AfterStructureChange();
}

void TableEditorWindow::UpdateUndoActions() {
  if (QAction* a = Action(kUndo)) a->setEnabled(journal_->CanUndo());
  if (QAction* a = Action(kRedo)) a->setEnabled(journal_->CanRedo());
}

}  // namespace vex
