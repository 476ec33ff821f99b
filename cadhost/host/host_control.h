#pragma once
// How the cadhost program, a window on top of the host and tests drive the host. This is the
// host's own side, not part of the interface an application uses.

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

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

// Where typed input comes from after the text typed with TypeInput has been read: keyboard,
// a script being read as it goes, a window's command line.
class InputSource {
 public:
  virtual ~InputSource() = default;
  // The next byte typed, or -1 when the input has ended for good.
  virtual int Next() = 0;
  // True when what is typed shows on the screen already (a terminal): the command line then
  // records the answers without writing them again.
  virtual bool EchoesInput() const { return false; }
};
// Input is read in this order: text posted with sendStringToExecute, text given to TypeInput,
// then the source. Script conventions apply to all (see the host's prompts): a space, a tab or
// a line break is ENTER except where a prompt takes text with spaces; a line beginning with
// ";" is a comment; ESC (27) cancels; the end of input cancels the prompt waiting for it. An
// answer longer than 64 KiB is cut there and the rest of it dropped, with a note.
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

// For tests: selection sets not freed yet, and whether an entity is hidden on screen
// (acedRedraw mode 2, until it is transformed or the display regenerates).
int OpenSelectionSetCount();
bool IsHiddenOnScreen(AcDbObjectId id);

}  // namespace cadhost

#pragma GCC visibility pop
