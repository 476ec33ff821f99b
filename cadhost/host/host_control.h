#pragma once
// How the cadhost program, a window on top of the host and tests drive the host. This is the
// host's own side, not part of the interface an application uses.

#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "cadhost/sdk/acdocman.h"
#include "cadhost/sdk/adsdef.h"
#include "cadhost/sdk/dbents.h"
#include "cadhost/sdk/dbid.h"

#pragma GCC visibility push(default)

class QWidget;

namespace cadhost {

// One change of the status-bar progress meter.
struct ProgressEvent {
  enum class Kind { Start, Pos, Restore };
  Kind kind = Kind::Start;
  std::string label;  // Start
  int minPos = 0;     // Start
  int maxPos = 0;     // Start
  int pos = 0;        // Pos (after clamping)
  bool operator==(const ProgressEvent&) const = default;
};

// What the host showed, recorded so that tests can read it.
class Feedback {
 public:
  // Command-line text since the last Clear(): acutPrintf output, prompts and the answers
  // typed at them. Only the last 4 MiB are kept.
  static std::string Text();
  // Progress-meter changes since the last Clear() (a position set again unchanged is not one).
  static std::vector<ProgressEvent> Progress();
  // Every sendStringToExecute since the last Clear(), one entry per call, as given.
  static std::vector<std::string> Posted();
  static void Clear();
};

// Where the command line and the status bar are shown. The default writes the command line to
// standard output and, when that is a terminal, the progress meter as a line that rewrites
// itself. A window puts its own in place.
class CommandLineView {
 public:
  virtual ~CommandLineView() = default;
  virtual void Write(std::string_view text) = 0;
  // The meter at `percent` (0..100) with its label; Restore removes it.
  virtual void ShowProgress(std::string_view label, int percent) = 0;
  virtual void RestoreStatusBar() = 0;
};
// Replaces the view; nullptr shows nothing (the text is still recorded).
void SetCommandLineView(std::unique_ptr<CommandLineView> view);
// The standard-output view of the headless host.
std::unique_ptr<CommandLineView> MakeConsoleView();

// A point given with the mouse at a prompt: in the user coordinate system, with the pick
// box's half size in drawing units (0: the host's PICKBOX) and whether Shift was held. When
// selecting, `window` says the drafter dragged a window from here: what lies under the point
// is not picked, the next pick is the window's other corner.
struct PickedPoint {
  AcGePoint3d point;
  double aperture = 0.0;
  bool shift = false;
  bool window = false;
};

// InputSource::Next() results besides bytes.
constexpr int kInputEnded = -1;  // the input has ended for good
constexpr int kInputPick = -2;   // a picked point comes next: TakePick() gives it
constexpr int kInputAgain = -3;  // nothing from this source now: look at posted input again

// Where typed input comes from after posted text, a running script and the text typed with
// TypeInput: keyboard, a script file read as it goes, a window's command line.
class InputSource {
 public:
  virtual ~InputSource() = default;
  // The next byte typed, or one of the kInput values above. A window's source waits for the
  // drafter (running the event loop) and returns kInputAgain when woken by posted input.
  virtual int Next() = 0;
  // The pick announced by kInputPick; false when there is none.
  virtual bool TakePick(PickedPoint& pick) {
    (void)pick;
    return false;
  }
  // Posted input has arrived: a source that waits stops waiting.
  virtual void Wake() {}
  // True when what is typed shows on the screen already (a terminal): the command line then
  // records the answers without writing them again.
  virtual bool EchoesInput() const { return false; }
};
// Input is read in this order: text posted with sendStringToExecute, the script that SCRIPT
// runs, text given to TypeInput, then the source. Script conventions apply to all (see the
// host's prompts): a space, a tab or a line break is ENTER except where a prompt takes text
// with spaces; a line beginning with ";" is a comment; ESC (27) cancels; the end of input
// cancels the prompt waiting for it. An answer longer than 64 KiB is cut there and the rest of
// it dropped, with a note.
void TypeInput(std::string_view text);
void SetInputSource(std::unique_ptr<InputSource> source);
// An input source over an open file (std::FILE), read as it goes: "\r\n" counts as one line
// break. The file is closed with the source (standard input is not); a terminal echoes.
std::unique_ptr<InputSource> MakeFileInputSource(std::FILE* file);

// How a run of the command line ended.
enum class CommandLineEnd { InputEnded, Quit };
// Reads and runs commands until the input ends or QUIT. ENTER alone repeats the last command;
// an unknown name prints an "Unknown command" line and the run goes on.
CommandLineEnd RunCommandLine();
// Runs one command by name, as if typed at the command prompt; its prompts read the input.
// False when there is no such command.
bool RunCommand(std::string_view name);

// Back to the state at start, for tests: every application unloaded (locked or not), every
// document closed unsaved, no commands, input, selection sets, feedback or hidden entities,
// variables at their defaults, the console view in place.
void ResetHost();

// The folder of the host's program (and of libcadhost.so), without a trailing '/'.
std::string ProgramFolder();

// What the host did at start.
struct StartReport {
  std::vector<std::string> problems;  // registry problems and applications that failed
  std::vector<std::string> loaded;    // full paths of the applications loaded
  std::string profile;                // the current profile
};
struct StartOptions {
  std::string registryFolder;  // "" for the default (CADHOST_REGISTRY_DIR or ~/.config)
  std::string profile;         // "" keeps the current profile (/p PROFILE otherwise)
};
// The host's start: registers itself in the registry as release R16.0 (only what is missing
// is written), makes `profile` current when given, and loads every application of its
// product's "Applications" key whose LOADCTRLS has bit 2 set, from its LOADER path. Problems
// are reported on the command line and in the report; none stops the start.
StartReport StartHost(const StartOptions& options);

// The windows of a host with a window; both null in headless mode.
void SetMainWindows(QWidget* frame, QWidget* mainWindow);

// What a prompt waits for, told to a window so that the mouse can answer it.
struct PromptContext {
  enum class Kind {
    Command,       // the command prompt: picks select the pick-first set
    Point,         // a point; with a base, a rubber line from it
    Corner,        // the opposite corner of a rectangle from the base
    Select,        // "Select objects": picks pick (Shift removes), a miss starts a window
    SelectCorner,  // a corner of a selection window; with a base, window or crossing from it
    Drag,          // a point while `dragSet` follows the cursor through `dragCallback`
    Text,          // typed text only
    Other,         // typed answers only: numbers, keywords
  };
  Kind kind = Kind::Other;
  bool spacesAllowed = false;
  bool hasBase = false;
  AcGePoint3d base;  // user coordinates
  const std::vector<AcDbObjectId>* dragSet = nullptr;
  int (*dragCallback)(ads_point, ads_matrix) = nullptr;
};

// The file a window asks the drafter for.
enum class FileChoice { OpenDrawing, SaveDrawing, Template, Application, Script, Plot };

// The window's side of a host with a window: prompts, documents, dialogs. Null when headless;
// the host then asks everything on the command line.
class HostWindow {
 public:
  virtual ~HostWindow() = default;
  // A prompt starts waiting for input, and ends.
  virtual void PromptStarted(const PromptContext& context) = 0;
  virtual void PromptEnded() {}
  // Documents were opened or closed, or the current one changed.
  virtual void DocumentsChanged() = 0;
  // The highlighted entities (Highlighted()) changed.
  virtual void SelectionChanged() {}
  // Document activation was disabled (a plug-in's modal dialog) or enabled again.
  virtual void ActivationChanged(bool enabled) { (void)enabled; }
  // A message box.
  virtual void Alert(std::string_view text) = 0;
  // "Save changes to <title>?": 1 yes, 0 no, -1 cancel.
  virtual int AskSaveChanges(const AcApDocument* doc) = 0;
  // A file dialog; nothing when cancelled. `current` is the name offered.
  virtual std::optional<std::string> ChooseFile(FileChoice kind, const std::string& current) = 0;
  // The colour dialog of acedSetColorDialog; nothing when cancelled.
  virtual std::optional<int> ChooseColor(int color, bool allowMetaColor, int layerColor) = 0;
  // The dialog of APPLOAD: loaded applications, load and unload.
  virtual void ShowApplications() = 0;
  // The host must stop after a fault; true when the drafter wants recovery copies written to
  // `paths` (one per changed drawing).
  virtual bool OfferRecovery(const std::string& why, const std::vector<std::string>& paths) = 0;
};
// Puts the window in place (null: headless). The window is not owned.
void SetHostWindow(HostWindow* window);

// ---- What a window shows

// The objects of `doc` changed, added or exchanged by undo since the last call; `all` is set
// instead (and on the first call) when the window should read the whole drawing again.
std::vector<AcDbObjectId> TakeChangedObjects(AcApDocument* doc, bool& all);
// Entities hidden on screen in `doc` (acedRedraw mode 2); empty for a null document.
const std::unordered_set<AcDbObjectId>& HiddenOnScreen(const AcApDocument* doc);
// The entities to highlight: the selection being made, or else the pick-first set.
const std::vector<AcDbObjectId>& Highlighted();
// True while a command runs (also while it waits at a prompt); its name as typed.
bool CommandRunning();
std::string RunningCommand();
// True while a script given to SCRIPT is being read.
bool ScriptRunning();
// Starts reading a script file as SCRIPT does; false with the reason when it cannot be opened.
bool StartScript(const std::string& path, std::string& error);
// The attributes of a block reference as texts that belong to the caller, in world
// coordinates; invisible ones left out.
std::vector<std::unique_ptr<AcDbText>> AttributesOf(const AcDbBlockReference& reference);

// Runs `run` with faults caught as in an application's command: a crash inside it (a plug-in's
// window handler run by the window's event loop) stops the host as StopAfterFault does, the
// changed drawings written to recovery copies, `what` named as what broke.
void RunWithFaultGuard(const char* what, const std::function<void()>& run);

// Asks a file name as the host's file commands do: a file dialog with a window (FILEDIA 1, no
// script running), else typed at `prompt` with spaces allowed and surrounding quotes taken
// off. "" for ENTER alone; nothing on ESC or a cancelled dialog.
std::optional<std::string> AskFileName(const std::string& prompt, FileChoice kind,
                                       const std::string& current = {});

// A command of the program around the host (a window's ZOOM, PLOT), typed like the host's
// own; replaces one of the same name. `undoable`: its changes form an undo step.
void AddHostCommand(const std::string& name, void (*run)(), bool needsDocument,
                    bool undoable = true);

// For tests: selection sets not freed yet, and whether an entity is hidden on screen
// (acedRedraw mode 2, until it is transformed or the display regenerates).
int OpenSelectionSetCount();
bool IsHiddenOnScreen(AcDbObjectId id);

}  // namespace cadhost

#pragma GCC visibility pop
