// The table editor window's commands: what each menu item and toolbar button does.

#include <QAction>
#include <QDesktopServices>
#include <QUrl>

#include <filesystem>

#include "draw/drawing_file.h"
#include "editor/editor_texts.h"
#include "editor/grid/grid_ctrl.h"
#include "editor/table_editor_window.h"
#include "files/companion_drawing.h"
#include "files/table_file.h"
#include "model/alignment.h"
#include "model/editor_commands.h"
#include "model/editor_units.h"
#include "model/grid_journal.h"
#include "model/grid_millimetres.h"
#include "model/line_insert.h"
#include "model/table_mirror.h"
#include "pictures/image_store.h"
#include "platform/message_sink.h"
#include "settings/language_pack.h"

namespace vex {
namespace {

using namespace editor_cmd;
namespace fs = std::filesystem;

constexpr const char* kAutoSaveFile = "_AutoSave.vtt";

QString Q(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

// The selected ordinary rows (columns) first..last; invalid when nothing is selected.
CellRange SelectedBody(const GridModel& g) {
  const CellRange s = g.SelectedRange();
  const CellRange body = g.BodyRange();
  return s.IsValid() && body.IsValid() ? s.Intersected(body) : CellRange{};
}

}  // namespace

bool TableEditorWindow::RunCommand(int id) {
  const int cmd = CanonicalCommand(id);
  if (!Offered(cmd, host_.InsideHost())) return false;
  if (!fullEditing_ && GreyedInContentsOnly(cmd)) return false;
  switch (cmd) {
    case kOpen: OpenCommand(); break;
    case kSave: SaveCommand(); break;
    case kEditDrawn: EditDrawnCommand(); break;
    case kExcelImport: ExcelImportCommand(); break;
    case kExcelExport: ExcelExportCommand(); break;
    case kClose: close(); break;
    case kUndo: Undo(); break;
    case kRedo: Redo(); break;
    case kCut: grid_->CutSelectedText(); break;
    case kCopy: grid_->CopySelectedText(); break;
    case kPaste: grid_->PasteText(); break;
    case kDeleteRows: DeleteLines(true); break;
    case kDeleteCols: DeleteLines(false); break;
    case kFlipH: Flip(true); break;
    case kFlipV: Flip(false); break;
    case kRowsAbove: InsertLines(true, false); break;
    case kRowsBelow: InsertLines(true, true); break;
    case kColsLeft: InsertLines(false, false); break;
    case kColsRight: InsertLines(false, true); break;
    case kRowHeight: AskLineSize(false); break;
    case kColWidth: AskLineSize(true); break;
    case kSelectImage:
      if (host_.HasActiveDocument()) host_.PostCommand("VEXTABLE_SELECTIMAGE");
      break;
    case kDrawImage: DrawPicture(); break;
    case kDeleteImage: DeleteSelectedPictures(); break;
    case kHelpContents: HelpContents(); break;
    case kReplacementList: EditReplacements(); break;
    case kSupport:
    case kWebHome:
    case kWebForum:
    case kWebMail:
    case kHeaderWeb: OpenWebLink(cmd); break;
    case kUpdate: CheckUpdate(); break;
    case kAbout: ShowAbout(); break;
    case kTbText: SetSelectedKind(kTextCell); break;
    case kTbPicture: SetSelectedKind(kImageCell); break;
    case kTbLeft: Align(true, 0); break;
    case kTbCentre: Align(true, 1); break;
    case kTbRight: Align(true, 2); break;
    case kTbTop: Align(false, 0); break;
    case kTbMiddle: Align(false, 1); break;
    case kTbBottom: Align(false, 2); break;
    case kTbMerge: Merge(true); break;
    case kTbUnmerge: Merge(false); break;
    case kTbUseReplacement: ToggleReplacement(Action(kTbUseReplacement)->isChecked()); break;
    case kTbFullEditing: SetFullEditing(true); break;
    case kTbLoadAutosave: LoadAutosave(); break;
    case kNew: NewCommand(); break;
    case kInsertHeader: InsertHeaderCommand(); break;
    case kSaveHeader: SaveHeaderCommand(); break;
    case kHeaderManager: ManageHeadersCommand(); break;
    default: return false;
  }
  return true;
}

// ---------------------------------------------------------------- Draw

void TableEditorWindow::Draw() {
  const TableData table = TakeTable(TextHeights::kRounded);
  host_.CurrentTable() = table;
  if (!host_.InsideHost()) {
    DrawStandalone(table);
    return;
  }
  if (!host_.HasActiveDocument()) return;
  WriteAutosave(table);
  hide();
  host_.PostCommand(origin_ == kTableFromDrawing ? "VEXTABLE_EDIT" : "VEXTABLE_DRAW");
}

void TableEditorWindow::DrawStandalone(const TableData& table) {
  std::optional<std::string> path;
  {
    const ModalBracket modal(host_);
    path = dialogs_->DrawingPath(this);
  }
  if (!path) return;
  const Result r = DrawTableIntoFile(table, ReadSettingsNow(), &host_.Pictures(), *path, host_.Messages());
  if (!r) {
    Tell(EditorText(Language(), "IDS_EDITOR_DRAW_FAILED") + "\n" + Q(r.Describe()));
    return;
  }
  WriteAutosave(table);
  Tell(EditorText(Language(), "IDS_EDITOR_DRAWN") + " " + Q(*path));
}

void TableEditorWindow::WriteAutosave(const TableData& table) {
  const std::string& root = host_.Where().headerRoot;
  if (root.empty()) return;
  std::error_code ec;
  fs::create_directories(root, ec);
  Result r;
  {
    const DocumentLock lock(host_);
    r = SaveTableWithPictures(table, kAutoSavePrefix, root + kAutoSaveFile, host_.Pictures());
  }
  if (!r) host_.Messages().Print("\n" + EditorText(Language(), "IDS_EDITOR_AUTOSAVE_FAILED").toStdString() + " " + r.Describe());
}

void TableEditorWindow::LoadAutosave() {
  grid_->EndEditing();
  TableData next = host_.CurrentTable();
  if (next.nRows <= 0) {
    const std::string path = host_.Where().headerRoot + kAutoSaveFile;
    std::error_code ec;
    Result r(ErrorCode::kNotFound, "no file");
    next = TableData{};
    if (!host_.Where().headerRoot.empty() && fs::is_regular_file(path, ec)) {
      TableFileReport report;
      const DocumentLock lock(host_);
      r = LoadTableWithPictures(next, kAutoSavePrefix, path, host_.Pictures(), host_.Messages(), report, OldLayout::kLeave);
    }
    // A missing or empty autosave would wipe the drafter's table: nothing happens instead.
    if (!r || next.nRows <= 0 || next.nCols <= 0) {
      Tell(EditorText(Language(), "IDS_EDITOR_NO_AUTOSAVE"));
      return;
    }
  }
  TableData aside = TakeTable(TextHeights::kExact);
  journal_->Clear();
  ShowTable(std::move(next), true);
  host_.CurrentTable() = std::move(aside);
}

// ---------------------------------------------------------------- files

Result TableEditorWindow::OpenFile(const std::string& path) {
  TableData table;
  TableFileReport report;
  Result r;
  std::error_code ec;
  // The file layer reads a missing file as an empty table; that must not replace the
  // drafter's table.
  if (!fs::is_regular_file(path, ec)) {
    r = Result(ErrorCode::kNotFound, "\"" + path + "\" is not a file");
  } else {
    const DocumentLock lock(host_);
    r = LoadTableWithPictures(table, kTableFilePrefix, path, host_.Pictures(), host_.Messages(), report, OldLayout::kConvert);
  }
  if (!r) {
    Tell(EditorText(Language(), "IDS_EDITOR_OPEN_FAILED") + "\n" + Q(r.Describe()));
    return r;
  }
  for (const std::string& w : report.warnings) host_.Messages().Print("\n" + w);
  origin_ = kLoadedTable;
  LoadTable(table);
  return r;
}

Result TableEditorWindow::SaveFile(const std::string& path) {
  const TableData table = TakeTable(TextHeights::kExact);
  Result r;
  {
    const DocumentLock lock(host_);
    r = SaveTableWithPictures(table, kTableFilePrefix, path, host_.Pictures());
  }
  if (!r) Tell(EditorText(Language(), "IDS_EDITOR_SAVE_FAILED") + "\n" + Q(r.Describe()));
  return r;
}

void TableEditorWindow::OpenCommand() {
  std::optional<std::string> path;
  {
    const ModalBracket modal(host_);
    path = dialogs_->OpenTablePath(this);
  }
  if (path) (void)OpenFile(*path);
}

void TableEditorWindow::SaveCommand() {
  std::optional<std::string> path;
  {
    const ModalBracket modal(host_);
    path = dialogs_->SaveTablePath(this);
  }
  if (path) (void)SaveFile(*path);
}

void TableEditorWindow::EditDrawnCommand() {
  if (host_.HasActiveDocument()) host_.PostCommand("VEXEDITTABLE");
}

void TableEditorWindow::HelpContents() {
  const std::string help = HelpFileFor(host_.Where().helpFile, Language().ActiveLanguage());
  std::error_code ec;
  if (help.empty() || !fs::is_regular_file(help, ec)) {
    Tell(EditorText(Language(), "IDS_EDITOR_NO_HELP") + " " + Q(help));
    return;
  }
  QDesktopServices::openUrl(QUrl::fromLocalFile(Q(help)));
}

void TableEditorWindow::ToggleReplacement(bool on) {
  replacementOn_ = on;
  if (QAction* a = Action(kTbUseReplacement); a && a->isChecked() != on) a->setChecked(on);
}

void TableEditorWindow::Tell(const QString& text) {
  const ModalBracket modal(host_);
  dialogs_->Tell(this, windowTitle(), text);
}

// ---------------------------------------------------------------- cells

void TableEditorWindow::Align(bool horizontal, int mode) {
  GridModel& g = grid_->Model();
  const CellRange range = SelectedBody(g);
  if (!range.IsValid()) return;
  {
    const JournalStep step(journal_.get());
    for (int r = range.minRow; r <= range.maxRow; ++r)
      for (int c = range.minCol; c <= range.maxCol; ++c)
        if (g.IsSelected(r, c)) g.SetFormat(r, c, WithAlignmentMode(g.Format(r, c), horizontal, mode));
  }
  grid_->Redraw();
  // The buttons show the modes of the last cell.
  const Alignment a = AlignmentFromFlags(g.Format(range.maxRow, range.maxCol));
  Action(a.HorzMode == 0 ? kTbLeft : a.HorzMode == 2 ? kTbRight : kTbCentre)->setChecked(true);
  Action(a.VertMode == 0 ? kTbTop : a.VertMode == 2 ? kTbBottom : kTbMiddle)->setChecked(true);
}

void TableEditorWindow::SetSelectedKind(int kind) {
  GridModel& g = grid_->Model();
  const CellRange range = SelectedBody(g);
  if (range.IsValid()) {
    const JournalStep step(journal_.get());
    for (int r = range.minRow; r <= range.maxRow; ++r)
      for (int c = range.minCol; c <= range.maxCol; ++c)
        if (g.IsSelected(r, c)) g.SetKind(r, c, kind);
  }
  grid_->Redraw();
  RefreshFromFocus();
}

void TableEditorWindow::DeleteSelectedPictures() {
  GridModel& g = grid_->Model();
  const CellRange range = SelectedBody(g);
  if (range.IsValid()) {
    const JournalStep step(journal_.get());
    for (int r = range.minRow; r <= range.maxRow; ++r)
      for (int c = range.minCol; c <= range.maxCol; ++c) {
        if (!g.IsSelected(r, c)) continue;
        g.ClearPicture(r, c);
        g.SetKind(r, c, kTextCell);
      }
  }
  grid_->Redraw();
  RefreshFromFocus();
}

void TableEditorWindow::DrawPicture() {
  if (!SelectedPictures().empty() && host_.HasActiveDocument()) host_.PostCommand("VEXTABLE_DRAWIMAGE");
}

void TableEditorWindow::Merge(bool merge) {
  {
    const JournalStep step(journal_.get());
    if (merge) grid_->MergeSelectedCells();
    else grid_->UnmergeSelectedCells();
  }
  grid_->Redraw();
}

// ---------------------------------------------------------------- rows and columns

void TableEditorWindow::DeleteLines(bool rows) {
  GridModel& g = grid_->Model();
  const CellRange range = SelectedBody(g);
  if (!range.IsValid()) return;
  grid_->EndEditing();
  {
    const JournalStep step(journal_.get());
    if (rows)
      for (int r = range.maxRow; r >= range.minRow; --r) g.DeleteRow(r);
    else
      for (int c = range.maxCol; c >= range.minCol; --c) g.DeleteColumn(c);
  }
  g.ClearSelection();
  const CellRange body = g.BodyRange();
  if (body.IsValid()) {
    const CellPos at{std::min(range.minRow, body.maxRow), std::min(range.minCol, body.maxCol)};
    grid_->SetSelectedRange(CellRange::Single(at));
  }
  AfterStructureChange();
}

void TableEditorWindow::InsertLines(bool rows, bool after) {
  GridModel& g = grid_->Model();
  const CellRange s = g.SelectedRange();
  if (!s.IsValid()) return;
  grid_->EndEditing();
  const int first = rows ? s.minRow : s.minCol, last = rows ? s.maxRow : s.maxCol;
  std::vector<int> sizes;
  for (int i = std::max(first, 1); i <= last; ++i) sizes.push_back(rows ? g.RowHeight(i) : g.ColumnWidth(i));
  const std::vector<LineInsert> plan = PlanLineInsert(first, last, after, sizes);
  if (plan.empty()) return;
  const int font = StyleFontPixels(zoom_, styleHeight_);
  {
    const JournalStep step(journal_.get());
    for (const LineInsert& line : plan) {
      const int at = rows ? g.InsertRow(line.at) : g.InsertColumn(line.at);
      if (at < 0) break;
      if (rows) g.SetRowHeight(at, line.size);
      else g.SetColumnWidth(at, line.size);
      // New cells are empty centred cells at the table style's height, as loading makes them.
      const int count = rows ? g.ColumnCount() : g.RowCount();
      for (int k = 1; k < count; ++k) {
        const int r = rows ? at : k, c = rows ? k : at;
        g.SetFormat(r, c, AlignmentToFlags(1, 1));
        g.SetFontHeight(r, c, font);
      }
    }
  }
  AfterStructureChange();
}

void TableEditorWindow::AskLineSize(bool column) {
  GridModel& g = grid_->Model();
  const CellRange range = SelectedBody(g);
  if (!range.IsValid()) return;
  grid_->EndEditing();
  const int firstSize = column ? g.ColumnWidth(range.minCol) : g.RowHeight(range.minRow);
  std::optional<int> value;
  {
    // The host waits while the drafter answers.
    const DocumentLock lock(host_);
    const ModalBracket modal(host_);
    value = dialogs_->LineSize(this, Language(), column, PixelsToWholeMm(firstSize, zoom_));
  }
  if (value) {
    const int pixels = MmToPixelsTruncated(*value, zoom_);
    const JournalStep step(journal_.get());
    if (column)
      for (int c = range.minCol; c <= range.maxCol; ++c) g.SetColumnWidth(c, pixels);
    else
      for (int r = range.minRow; r <= range.maxRow; ++r) g.SetRowHeight(r, pixels);
  }
  grid_->UpdateScrollBars();
  grid_->Redraw();
}

// ---------------------------------------------------------------- flips

void TableEditorWindow::Flip(bool horizontal) {
  grid_->EndEditing();
  {
    const JournalPause pause(journal_.get());
    FlipNow(horizontal);
  }
  // A flip is its own inverse: undo and redo flip again.
  journal_->RecordAction([this, horizontal] { FlipNow(horizontal); }, [this, horizontal] { FlipNow(horizontal); });
}

void TableEditorWindow::FlipNow(bool horizontal) {
  TableData t = TakeTableFromGrid(grid_->Model(), zoom_, TextHeights::kExact, millimetres_.get());
  if (horizontal) MirrorHorizontally(t);
  else MirrorVertically(t);
  ShowTable(std::move(t), false);
}

}  // namespace vex
