// The table editor window's header library commands: a new table from the table
// initialization dialog, inserting a header, saving the selection as a header, and the
// header manager.

#include "editor/editor_texts.h"
#include "editor/grid/grid_ctrl.h"
#include "editor/table_editor_window.h"
#include "files/header_library.h"
#include "model/editor_units.h"
#include "model/grid_journal.h"
#include "model/grid_millimetres.h"
#include "model/header_insert.h"
#include "pictures/image_store.h"
#include "pictures/picture_merge.h"
#include "platform/message_sink.h"
#include "settings/language_pack.h"
#include "settings/replacement.h"

namespace vex {

namespace {
// The insert-header command's caption for the table initialization dialog.
const char* const kInsertHeaderCaption = "插入表头";
}  // namespace

HeaderLibrary& TableEditorWindow::Headers() {
  if (!headers_) headers_ = std::make_unique<HeaderLibrary>(host_.Where().headerRoot);
  return *headers_;
}

void TableEditorWindow::NewCommand() {
  // Inside the host the new-table command does this, in the document's command context.
  if (host_.InsideHost()) {
    if (host_.HasActiveDocument()) host_.PostCommand("VEXDRAWTABLE");
    return;
  }
  grid_->EndEditing();
  std::optional<TableInitAnswer> answer;
  {
    const ModalBracket modal(host_);
    answer = dialogs_->InitTable(this, Language(), Headers(), ReadSettingsNow().Table.Height, QString(),
                                 host_.Pictures(), host_.Messages());
  }
  if (!answer) return;
  origin_ = answer->hasHeader ? kLoadedTable : kNewTable;
  SetBlankTable(answer->rows, answer->cols, answer->rowHeight, answer->colWidth);
  LoadTable(answer->table);
}

void TableEditorWindow::InsertHeaderCommand() {
  grid_->EndEditing();
  // The header's pictures are read aside and merged: the cells already in the editor keep
  // naming the store's pictures.
  ImageStore headerPictures;
  std::optional<TableInitAnswer> answer;
  {
    // No command starts in the host while the drafter chooses.
    const ModalBracket modal(host_);
    answer = dialogs_->InitTable(this, Language(), Headers(), ReadSettingsNow().Table.Height,
                                 QString::fromUtf8(kInsertHeaderCaption), headerPictures, host_.Messages());
  }
  if (!answer) return;
  TableData header = answer->table;
  if (const Result r = MergePictures(header, headerPictures.Get(), host_.Pictures()); !r)
    host_.Messages().Print("\n" + r.Describe());
  // The header's texts are shown as loading shows texts: through the reverse replacement.
  const ReplacementList replacements = Replacements();
  for (TableRow& row : header.rows)
    for (TableCell& cell : row.cells) cell.strText = replacements.ReverseReplace(std::move(cell.strText));
  GridModel& g = grid_->Model();
  const CellRange s = g.SelectedRange();
  const CellPos at = s.IsValid() ? CellPos{s.minRow, s.minCol} : CellPos{1, 1};
  CellRange written;
  {
    const JournalStep step(journal_.get());
    written = InsertHeaderIntoGrid(g, header, answer->type, at, zoom_, styleHeight_);
  }
  if (!written.IsValid()) Tell(EditorText(Language(), "IDS_EDITOR_TOO_LARGE"));
  else grid_->SetSelectedRange(written);
  AfterStructureChange();
}

void TableEditorWindow::SaveHeaderCommand() {
  grid_->EndEditing();
  const CellRange selected = grid_->SelectedCellRange();
  if (!selected.IsValid()) return;
  // The host waits while the drafter answers and the header is written.
  const DocumentLock lock(host_);
  const ModalBracket modal(host_);
  const std::optional<SaveHeaderAnswer> answer = dialogs_->SaveHeader(this, Language(), Headers());
  if (!answer) return;
  const TableData whole = TakeTable(TextHeights::kExact);
  const TableData header = SelectionAsTable(grid_->Model(), selected, whole);
  const Result r = Headers().SaveHeader(header, answer->name, answer->className, answer->type, host_.Pictures());
  if (!r) Tell(EditorText(Language(), "IDS_EDITOR_HEADER_SAVE_FAILED") + "\n" + QString::fromStdString(r.Describe()));
}

void TableEditorWindow::ManageHeadersCommand() {
  grid_->EndEditing();
  const ModalBracket modal(host_);
  dialogs_->ManageHeaders(this, Language(), Headers(), ReadSettingsNow().Table.Height);
}

}  // namespace vex
