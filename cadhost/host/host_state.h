#pragma once
// The state of the running host, shared by its services. One instance per process, reached
// through Host::Get(); the host runs on one thread.

#include <cstdint>
#include <deque>
#include <list>
#include <map>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include "cadhost/host/host_control.h"
#include "cadhost/host/undo.h"
#include "cadhost/sdk/accmd.h"
#include "cadhost/sdk/acdocman.h"

namespace cadhost {

// The user coordinate system: origin and axes in world coordinates (always right-handed and
// orthonormal).
struct Ucs {
  AcGePoint3d origin;
  AcGeVector3d xAxis = AcGeVector3d::kXAxis;
  AcGeVector3d yAxis = AcGeVector3d::kYAxis;
  // UCS to world.
  AcGeMatrix3d ToWorld() const;
  AcGeMatrix3d FromWorld() const;
  bool IsWorld() const;
};

struct DocumentState;
// Keeps the current UCS for "UCS P" (the last ten).
void PushPreviousUcs(DocumentState& doc);

struct DocumentState {
  std::unique_ptr<AcDbDatabase> db;
  std::string path;   // full path, or "DrawingN.dxf" while untitled
  std::string title;  // file name part of path
  bool untitled = true;
  int locks = 0;
  bool modified = false;
  Ucs ucs;
  std::vector<Ucs> previousUcs;
  std::unordered_set<AcDbObjectId> hidden;       // acedRedraw mode 2
  std::vector<AcDbObjectId> previousSelection;   // "P" at Select objects
  AcGePoint3d lastPoint;                         // LASTPOINT, UCS
  std::unique_ptr<UndoJournal> journal;          // after db: it goes first
  static AcApDocument* Make(std::unique_ptr<DocumentState> state);
};

using EntryPointFn = AcRx::AppRetCode (*)(AcRx::AppMsgCode, void*);

// A loaded application.
struct AppRecord {
  std::string path;  // canonical full path
  void* handle = nullptr;
  EntryPointFn entry = nullptr;
  bool locked = true;
  bool mdiAware = false;
  bool unloading = false;
};

struct Command {
  std::string globalName;
  std::string localName;
  int flags = 0;
  AcRxFunctionPtr function = nullptr;
  AppRecord* owner = nullptr;  // the application that registered it; null for the host's
};

struct CommandGroup {
  std::string name;
  std::vector<Command> commands;
};

// The host's own commands.
struct BuiltinCommand {
  // What a command may do besides running.
  enum Flags : unsigned {
    kNoUndoStep = 1,    // its changes are no step of their own (U, REDO, SCRIPT)
    kUsesPickFirst = 2, // its first selection takes the pick-first set
  };
  const char* name;
  void (*run)();
  bool needsDocument;
  unsigned flags = 0;
};

// A command added by the program around the host (AddHostCommand).
struct HostCommand {
  std::string name;
  BuiltinCommand command;
};

class Host {
 public:
  static Host& Get();

  // ---- feedback
  std::string text;  // recorded command-line text
  std::vector<ProgressEvent> progress;
  std::vector<std::string> posted;
  std::unique_ptr<CommandLineView> view;
  bool meterShown = false;
  std::string meterLabel;
  int meterMin = 0;
  int meterMax = 0;
  int meterPercent = -1;
  void Print(std::string_view s);

  // ---- documents
  std::vector<std::unique_ptr<AcApDocument>> documents;
  AcApDocument* current = nullptr;
  int untitledCount = 0;
  DrawingFileReport lastOpenReport;
  DocumentState* CurrentState() const { return current ? &current->state() : nullptr; }
  void MakeCurrent(AcApDocument* doc);

  // ---- applications
  std::vector<std::unique_ptr<AppRecord>> apps;
  std::vector<AppRecord*> appContext;  // the application whose code runs now, innermost last
  AppRecord* FindApp(void* appId) const;
  std::vector<void*> deferredClose;  // files of applications unloaded from their own code
  // Closes those files once no application code runs.
  void CloseDeferredModules();

  // ---- commands
  std::vector<CommandGroup> groups;  // front is searched first
  std::string lastCommand;
  std::list<HostCommand> hostCommands;  // a list: entries stay where they are
  int commandDepth = 0;        // commands running, nested ones (transparent) counted
  std::string runningCommand;  // the outermost one, as typed
  int activationDisabled = 0;  // disableDocumentActivation calls not yet enabled again
  // Removes every command registered by `app`.
  void RemoveCommandsOf(const AppRecord* app);

  // ---- input
  std::deque<char> postedInput;
  std::string typed;
  std::size_t typedPos = 0;
  std::unique_ptr<InputSource> source;
  std::unique_ptr<InputSource> script;  // SCRIPT's file, read before typed text and source
  bool atLineStart = true;
  bool sourceEnded = false;

  // ---- selection sets
  std::map<std::int64_t, std::vector<AcDbObjectId>> selectionSets;
  std::int64_t nextSelectionSet = 1;
  // Selected at the command prompt, before a command; handed to a command that may use it.
  std::vector<AcDbObjectId> pickFirst;
  std::vector<AcDbObjectId> pickFirstForCommand;
  const std::vector<AcDbObjectId>* selecting = nullptr;  // the selection being made

  // ---- variables
  int fileDia = 0;
  int cmdEcho = 1;
  int pickBox = 3;

  // ---- windows
  QWidget* frame = nullptr;
  QWidget* mainWindow = nullptr;
  HostWindow* window = nullptr;
  // Whether a dialog may stand in for a command-line question: a window is there and the
  // input is not a script (scripts answer on the command line), and for file names FILEDIA.
  bool UseDialogs() const { return window != nullptr && !script; }
  bool UseFileDialogs() const { return UseDialogs() && fileDia != 0; }

 private:
  Host();
};

// Pushes an application as the one whose code runs, for the life of the scope.
class AppContextScope {
 public:
  explicit AppContextScope(AppRecord* app) { Host::Get().appContext.push_back(app); }
  ~AppContextScope() { Host::Get().appContext.pop_back(); }
  AppContextScope(const AppContextScope&) = delete;
  AppContextScope& operator=(const AppContextScope&) = delete;
};

void UnloadAllApplications();

// ASCII case-insensitive equality.
bool SameName(std::string_view a, std::string_view b);
std::string ToUpperAscii(std::string_view s);

}  // namespace cadhost
