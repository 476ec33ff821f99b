#pragma once
// The table editor's commands: their identifiers (which also key their tool tips,
// "IDS_BTN_TOOLBAR_<id>"), the order of the two toolbars, what contents-only mode takes away,
// and which commands the editor offers where it runs. No window here: the window builds its
// menus and toolbars from these.

#include <vector>

namespace vex::editor_cmd {

// Menu items.
inline constexpr int kNew = 32830, kOpen = 32831, kEditDrawn = 32833, kSave = 32832, kExcelImport = 32834,
                     kExcelExport = 32789, kClose = 32840;
inline constexpr int kCut = 32795, kCopy = 32796, kPaste = 32797, kDeleteRows = 32803, kDeleteCols = 32804,
                     kFlipH = 32838, kFlipV = 32839;
inline constexpr int kRowsAbove = 32799, kRowsBelow = 32807, kColsLeft = 32800, kColsRight = 32810;
inline constexpr int kRowHeight = 32801, kColWidth = 32802;
inline constexpr int kSelectImage = 32835, kDrawImage = 32836, kDeleteImage = 32837;
inline constexpr int kReplacementList = 32805, kInsertHeader = 32787, kSaveHeader = 32786,
                     kHeaderManager = 32788, kHeaderWeb = 32806;
inline constexpr int kHelpContents = 32841, kSupport = 32791, kUpdate = 32794, kWebHome = 32798,
                     kWebForum = 32793, kWebMail = 32792, kAbout = 32790;
// Undo and redo have no identifier of the original menu; these follow the others.
inline constexpr int kUndo = 32850, kRedo = 32851;

// File toolbar.
inline constexpr int kTbNew = 32809, kTbOpen = 32811, kTbSave = 32812, kTbEditDrawn = 32813,
                     kTbExcelImport = 32814, kTbExcelExport = 32815, kTbInsertHeader = 32820,
                     kTbSaveHeader = 32821, kTbHeaderManager = 32822, kTbText = 32816, kTbPicture = 32817,
                     kTbSelectImage = 32818, kTbDrawImage = 32829, kTbDeleteImage = 32819, kTbZoom = 32823,
                     kTbFlipH = 32779, kTbFlipV = 32780, kTbAbout = 32827;
// Format toolbar.
inline constexpr int kTbCut = 32768, kTbCopy = 32769, kTbPaste = 32770, kTbLeft = 32771, kTbCentre = 32772,
                     kTbRight = 32773, kTbTop = 32774, kTbMiddle = 32781, kTbBottom = 32775, kTbValueBox = 32778,
                     kTbMerge = 32776, kTbUnmerge = 32777, kTbUseReplacement = 32783,
                     kTbReplacementList = 32784, kTbFullEditing = 32782, kTbRowHeight = 32824,
                     kTbColWidth = 32825, kTbLoadAutosave = 32785;

// A toolbar's entries in order: a command, kSeparator, or one of the two boxes.
inline constexpr int kSeparator = 0;

// The file toolbar; contents-only mode leaves out Excel import, insert header and the flips.
std::vector<int> FileToolbar(bool fullEditing);
// The format toolbar; contents-only mode has only the replacement buttons and the
// convert-to-new-table button after the box.
std::vector<int> FormatToolbar(bool fullEditing);
// `entries` without the commands `offered` refuses, and without separators that would then
// stand first, last or next to another.
std::vector<int> OfferedEntries(const std::vector<int>& entries, bool (*offered)(int id, bool insideHost),
                                bool insideHost);

// Menu items greyed in contents-only mode: deleting and inserting rows and columns, their
// sizes, insert header, new, open, Excel import and the flips.
bool GreyedInContentsOnly(int id);

// The command a toolbar button or menu item stands for when it repeats another ("Open" on
// the toolbar is the File menu's Open); the id itself otherwise.
int CanonicalCommand(int id);

// Whether the editor offers a command: those that need a drawing only inside a CAD host, the
// others everywhere (Excel import and export run as host commands inside a host, in the editor
// itself without one).
bool Offered(int id, bool insideHost);

}  // namespace vex::editor_cmd
