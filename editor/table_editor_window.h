#pragma once
// The table editor: the one window in which the drafter builds and changes a table before it
// goes into the drawing. A menu bar, the file and format toolbars with the zoom box and the
// text-height / picture-scale box, the grid, and Draw and Cancel. The editor holds its own
// copy of the table and hands it back through its host; everything that touches a drawing
// runs as a host command.

#include <QDialog>
#include <QPoint>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "editor/editor_dialogs.h"
#include "editor/editor_excel.h"
#include "editor/editor_host.h"
#include "model/cell_image.h"
#include "model/grid_to_table.h"
#include "model/table_data.h"
#include "model/table_origin.h"
#include "settings/settings.h"

class QAction;
class QActionGroup;
class QComboBox;
class QMenu;
class QMenuBar;
class QPushButton;
class QToolBar;
class QWidgetAction;

namespace vex {

class GridCtrl;
class GridJournal;
class HeaderLibrary;
class GridMillimetres;
class LanguagePack;
class ProfileFile;
class ReplacementList;
struct GridNotification;

class TableEditorWindow : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kDialogId = 202;
  static constexpr int kGridId = 101;

  // A new editor with a blank table of 0 x 0 (SetBlankTable gives it a size); placement and
  // zoom come from the settings file. `dialogs` answers the editor's questions (null: the
  // ordinary windows).
  explicit TableEditorWindow(EditorHost& host, std::unique_ptr<EditorDialogs> dialogs = nullptr);
  // Writes the zoom and the placement to the settings file.
  ~TableEditorWindow() override;

  // --- what the host's commands use
  // The size of the blank table shown while no table is loaded (table origin 0), and shows it.
  void SetBlankTable(int rows, int cols, double rowHeightMm, double colWidthMm);
  // Replaces the table and reloads the grid; the undo history starts again.
  void LoadTable(const TableData& table);
  int Origin() const { return origin_; }
  void SetOrigin(int origin) { origin_ = origin; }
  bool FullEditing() const { return fullEditing_; }
  // Contents-only mode (false) when a table read from the drawing did not match its
  // selection: no resizing, inserting, deleting or flipping.
  void SetFullEditing(bool full);
  // Makes every selected cell an image cell holding a copy of the picture.
  void StorePicture(const CellImage& image);
  // The pictures of the selected image cells, row by row.
  std::vector<CellImage> SelectedPictures() const;
  // Shows the window in its restored state and gives the input back to the host.
  void ShowRestored();
  // Takes the window out of the drafter's way: minimised, or withdrawn when the host's window
  // owns it (which window managers would iconify with it).
  void Minimize();

  // --- the commands, as the menus and buttons run them
  void Draw();
  void Cancel();
  // Opens a table file: the table, or (refused, with the reason) nothing changed.
  Result OpenFile(const std::string& path);
  Result SaveFile(const std::string& path);
  void Undo();
  void Redo();
  void SetZoom(double zoom);
  double Zoom() const { return zoom_; }
  // The table as Draw or Save take it: sizes in mm at the zoom, texts through the forward
  // output text replacement.
  TableData TakeTable(TextHeights heights);
  bool ReplacementOn() const { return replacementOn_; }
  // Runs a command by its menu or toolbar identifier; false when it is not offered now.
  bool RunCommand(int id);
  // Takes every text again from the active language: caption, buttons, menus, tool tips.
  void ApplyTexts();
  // The windows the editor's own Excel import and export ask with (without a CAD host).
  void SetExcelParts(std::unique_ptr<EditorExcelParts> parts) { excel_ = std::move(parts); }

  // --- parts, for tests
  GridCtrl& Grid() const { return *grid_; }
  GridJournal& Journal() const { return *journal_; }
  QAction* Action(int id) const;
  QMenuBar* Menus() const { return menuBar_; }
  QToolBar* FileToolbar() const { return fileBar_; }
  QToolBar* FormatToolbar() const { return formatBar_; }
  QComboBox* ZoomBox() const { return zoomBox_; }
  QComboBox* ValueBox() const { return valueBox_; }
  QPushButton* DrawButton() const { return drawButton_; }
  QPushButton* CancelButton() const { return cancelButton_; }
  // True while the format toolbar's box shows picture scales.
  bool PictureBoxMode() const { return pictureMode_; }

 protected:
  void keyPressEvent(QKeyEvent* e) override;
  void closeEvent(QCloseEvent* e) override;
  void hideEvent(QHideEvent* e) override;
  void reject() override;

 private:
  // --- building (table_editor_window.cpp)
  void BuildActions();
  QAction* AddAction(int id, const QString& text, const QString& tip);
  void BuildMenus();
  void ApplyActionTexts(const LanguagePack& language);
  void BuildToolbars();
  void FillToolbar(QToolBar* bar, const std::vector<int>& entries);
  void ApplyMode();
  void RestorePlacement();
  void SavePlacement() const;

  // --- settings of the moment
  LanguagePack Language() const;
  ProfileFile SettingsFile() const;
  Settings ReadSettingsNow() const;
  // Writes the replacement switch and reads the list again, as every conversion does.
  ReplacementList Replacements() const;

  // --- table and grid (table_editor_table.cpp)
  // Loads the table into the grid at the zoom, with the reverse output text replacement when
  // it comes from outside the editor; the undo history is kept (the caller clears it).
  void ShowTable(TableData table, bool reverseReplace);
  void ShowBlank();
  void ZoomTo(double zoom, bool rewriteBox);
  void AfterStructureChange();
  void RefillHeaders();
  void OnGridNotify(GridNotification* n);
  void RefreshFromFocus();
  void SetBoxMode(bool picture);
  void ApplyBoxValue(const QString& text);
  void OnZoomBox(const QString& text, bool rewrite);
  void UpdateUndoActions();

  // --- commands (table_editor_commands.cpp)
  void Align(bool horizontal, int mode);
  void SetSelectedKind(int kind);
  void DeleteSelectedPictures();
  void DrawPicture();
  void Merge(bool merge);
  void DeleteLines(bool rows);
  void InsertLines(bool rows, bool after);
  void Flip(bool horizontal);
  void FlipNow(bool horizontal);
  void AskLineSize(bool column);
  void LoadAutosave();
  void OpenCommand();
  void SaveCommand();
  void EditDrawnCommand();
  void HelpContents();
  void ToggleReplacement(bool on);
  // --- the replacement list, the update check, about, the web links (table_editor_help.cpp)
  void EditReplacements();
  void OpenWebLink(int id);
  void CheckUpdate();
  void ShowAbout();
  void WriteAutosave(const TableData& table);
  void DrawStandalone(const TableData& table);
  void Tell(const QString& text);

  // --- the header library (table_editor_headers.cpp)
  HeaderLibrary& Headers();
  void NewCommand();
  void InsertHeaderCommand();
  void SaveHeaderCommand();
  void ManageHeadersCommand();

  // --- Excel (table_editor_excel.cpp)
  void ExcelImportCommand();
  void ExcelExportCommand();

  EditorHost& host_;
  std::unique_ptr<EditorDialogs> dialogs_;
  std::unique_ptr<EditorExcelParts> excel_ = std::make_unique<EditorExcelParts>();
  GridCtrl* grid_ = nullptr;
  std::unique_ptr<GridJournal> journal_;
  std::unique_ptr<GridMillimetres> millimetres_;
  std::unique_ptr<HeaderLibrary> headers_;  // made on first use, its folder scan kept

  TableData table_;  // the table last loaded into or taken from the grid
  int blankRows_ = 0, blankCols_ = 0;
  double blankRowHeight_ = 5, blankColWidth_ = 15;
  int origin_ = 0;
  bool fullEditing_ = true;
  bool loadedOnce_ = false;
  double zoom_ = 1.0;
  bool replacementOn_ = true;
  bool pictureMode_ = false;
  double styleHeight_ = 3.5;  // the table text style's height when the grid was last loaded
  int boxSession_ = 1;        // typed box values of one session join into one undo step
  bool updatingBoxes_ = false;
  bool closing_ = false;
  // Where the frame was when the window was hidden: it shows there again (shown anew, a
  // window managed by a window manager would move by its frame's borders).
  std::optional<QPoint> hiddenAt_;

  QMenuBar* menuBar_ = nullptr;
  QToolBar* fileBar_ = nullptr;
  QToolBar* formatBar_ = nullptr;
  QComboBox* zoomBox_ = nullptr;
  QComboBox* valueBox_ = nullptr;
  QWidgetAction* zoomAction_ = nullptr;
  QWidgetAction* valueAction_ = nullptr;
  QPushButton* drawButton_ = nullptr;
  QPushButton* cancelButton_ = nullptr;
  QActionGroup* horizontalGroup_ = nullptr;
  QActionGroup* verticalGroup_ = nullptr;
  QActionGroup* kindGroup_ = nullptr;
  std::map<int, QAction*> actions_;  // by canonical command
  std::vector<QMenu*> menus_;
};

}  // namespace vex
