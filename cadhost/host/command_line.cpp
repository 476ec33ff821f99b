// The command line: reading command names, running them, repeating the last one.

#include <algorithm>

#include "cadhost/host/builtin_commands.h"
#include "cadhost/host/input.h"
#include "cadhost/sdk/acutads.h"
#include "cadhost/sdk/dbapserv.h"

namespace cadhost {

const Command* FindCommand(std::string_view name);

namespace {

bool g_quit = false;

// Runs an application's command in the current document, with the document locked and the
// application reported as the running one. An exception ends the command, not the host.
void RunRegistered(Command command, std::string_view typed) {
  Host& h = Host::Get();
  AcApDocument* doc = h.current;
  if (doc != nullptr) acDocManagerPtr()->lockDocument(doc);
  {
    AppContextScope scope(command.owner);
    try {
      command.function();
    } catch (const std::exception& e) {
      acutPrintf("\n%.*s failed: %s", static_cast<int>(typed.size()), typed.data(), e.what());
    } catch (...) {
      acutPrintf("\n%.*s failed.", static_cast<int>(typed.size()), typed.data());
    }
  }
  if (doc != nullptr && acDocManagerPtr()->document(doc->database()) == doc) {
    acDocManagerPtr()->unlockDocument(doc);
    doc->state().modified = true;
  }
  h.CloseDeferredModules();
}

}  // namespace

void RequestQuit() { g_quit = true; }
bool QuitRequested() { return g_quit; }

bool RunCommand(std::string_view typed) {
  std::string_view name = typed;
  bool builtinOnly = false;
  while (!name.empty() && (name.front() == '_' || name.front() == '.')) {
    if (name.front() == '.') builtinOnly = true;
    name.remove_prefix(1);
  }
  if (name.empty()) return false;
  if (!builtinOnly) {
    if (const Command* c = FindCommand(name)) {
      RunRegistered(*c, name);
      return true;
    }
  }
  const BuiltinCommand* b = FindBuiltin(name);
  if (b == nullptr) return false;
  if (b->needsDocument && Host::Get().current == nullptr) {
    acutPrintf("\nNo drawing is open.");
    return true;
  }
  b->run();
  Host::Get().CloseDeferredModules();
  return true;
}

CommandLineEnd RunCommandLine() {
  Host& h = Host::Get();
  g_quit = false;
  for (;;) {
    const Answer a = Ask("\nCommand: ");
    if (a.kind == Answer::Kind::End) return CommandLineEnd::InputEnded;
    if (a.kind == Answer::Kind::Cancel) continue;
    std::string name = a.text;
    if (name.empty()) {
      if (h.lastCommand.empty()) continue;
      name = h.lastCommand;
    }
    if (RunCommand(name)) {
      h.lastCommand = name;
    } else {
      acutPrintf("\nUnknown command \"%s\".  Press F1 for help.", ToUpperAscii(name).c_str());
    }
    if (g_quit) {
      g_quit = false;
      return CommandLineEnd::Quit;
    }
  }
}

void DiscardInput();
void ResetPrompts();

void ResetHost() {
  Host& h = Host::Get();
  UnloadAllApplications();
  h.CloseDeferredModules();
  while (!h.documents.empty()) acDocManagerPtr()->closeDocument(h.documents.back().get());
  h.groups.clear();
  h.lastCommand.clear();
  h.untitledCount = 0;
  DiscardInput();
  ResetPrompts();
  h.selectionSets.clear();
  h.fileDia = 0;
  h.cmdEcho = 1;
  h.pickBox = 3;
  h.meterShown = false;
  h.frame = nullptr;
  h.mainWindow = nullptr;
  h.view = MakeConsoleView();
  g_quit = false;
  Feedback::Clear();
}

int OpenSelectionSetCount() { return static_cast<int>(Host::Get().selectionSets.size()); }

}  // namespace cadhost

namespace cadhost {

bool IsHiddenOnScreen(AcDbObjectId id) {
  const DocumentState* doc = Host::Get().CurrentState();
  return doc != nullptr && doc->hidden.count(id) != 0;
}

}  // namespace cadhost
