// The command line: reading command names, running them, repeating the last one.

#include <algorithm>

#include "cadhost/host/builtin_commands.h"
#include "cadhost/host/fault_guard.h"
#include "cadhost/host/input.h"
#include "cadhost/host/selection.h"
#include "cadhost/sdk/acutads.h"
#include "cadhost/sdk/dbapserv.h"

namespace cadhost {

const Command* FindCommand(std::string_view name);

namespace {

bool g_quit = false;

bool IsOpenDocument(const AcApDocument* doc) {
  for (const auto& d : Host::Get().documents)
    if (d.get() == doc) return true;
  return false;
}

// A command running: the outermost one gets the pick-first set when it may use it and makes
// one undo step of its changes in every open drawing.
class CommandScope {
 public:
  CommandScope(std::string_view name, bool undoable, bool usesPickFirst) {
    Host& h = Host::Get();
    if (h.commandDepth++ == 0) {
      h.runningCommand = std::string(name);
      h.pickFirstForCommand.clear();
      if (usesPickFirst) h.pickFirstForCommand.swap(h.pickFirst);
      ClearPickFirst();
    }
    if (!undoable) return;
    const std::string step = ToUpperAscii(name);
    for (const auto& d : h.documents) {
      if (!d->state().journal) continue;
      d->state().journal->Begin(step);
      m_steps.push_back(d.get());
    }
  }
  ~CommandScope() {
    Host& h = Host::Get();
    for (AcApDocument* doc : m_steps)
      if (IsOpenDocument(doc) && doc->state().journal) doc->state().journal->End();
    if (--h.commandDepth == 0) {
      h.runningCommand.clear();
      h.pickFirstForCommand.clear();
    }
  }
  CommandScope(const CommandScope&) = delete;
  CommandScope& operator=(const CommandScope&) = delete;

 private:
  std::vector<AcApDocument*> m_steps;
};

// Runs an application's command in the current document, with the document locked and the
// application reported as the running one. An exception ends the command, not the host; a
// crash ends the host with the drawings kept (see fault_guard.h).
void RunRegistered(Command command, std::string_view typed) {
  Host& h = Host::Get();
  AcApDocument* doc = h.current;
  if (doc != nullptr) acDocManagerPtr()->lockDocument(doc);
  {
    AppContextScope scope(command.owner);
    sigjmp_buf target;
    int fault = 0;
    {
      FaultScope faults(&target);
      fault = sigsetjmp(target, 1);
      if (fault == 0) {
        bool threw = true;
        try {
          command.function();
          threw = false;
        } catch (const std::exception& e) {
          acutPrintf("\n%.*s failed: %s", static_cast<int>(typed.size()), typed.data(), e.what());
        } catch (...) {
          acutPrintf("\n%.*s failed.", static_cast<int>(typed.size()), typed.data());
        }
        // What the command left open would stop every later command (and its undo).
        if (threw)
          for (const auto& d : h.documents)
            if (d->state().journal) d->state().journal->CloseLeftOpen();
      }
    }
    if (fault != 0) StopAfterFault(ToUpperAscii(typed), fault);
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
      CommandScope scope(name, true, (c->flags & ACRX_CMD_USEPICKSET) != 0);
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
  {
    CommandScope scope(name, (b->flags & BuiltinCommand::kNoUndoStep) == 0,
                       (b->flags & BuiltinCommand::kUsesPickFirst) != 0);
    b->run();
  }
  Host::Get().CloseDeferredModules();
  return true;
}

CommandLineEnd RunCommandLine() {
  Host& h = Host::Get();
  g_quit = false;
  PromptContext context;
  context.kind = PromptContext::Kind::Command;
  bool quiet = false;  // the prompt shows already: a pick at it selected
  for (;;) {
    const Answer a = Ask(quiet ? std::string() : std::string("\nCommand: "), false, &context);
    quiet = false;
    if (a.kind == Answer::Kind::End) return CommandLineEnd::InputEnded;
    if (a.kind == Answer::Kind::Cancel) {
      ClearPickFirst();
      continue;
    }
    if (a.kind == Answer::Kind::Pick) {
      quiet = !PickAtCommandPrompt(a.pick);
      continue;
    }
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
  h.window = nullptr;
  UnloadAllApplications();
  h.CloseDeferredModules();
  while (!h.documents.empty()) acDocManagerPtr()->closeDocument(h.documents.back().get());
  h.groups.clear();
  h.lastCommand.clear();
  h.hostCommands.clear();
  h.commandDepth = 0;
  h.runningCommand.clear();
  h.activationDisabled = 0;
  h.untitledCount = 0;
  DiscardInput();
  ResetPrompts();
  h.selectionSets.clear();
  h.pickFirst.clear();
  h.pickFirstForCommand.clear();
  h.selecting = nullptr;
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

bool CommandRunning() { return Host::Get().commandDepth > 0; }
std::string RunningCommand() { return Host::Get().runningCommand; }

void SetHostWindow(HostWindow* window) { Host::Get().window = window; }

std::vector<AcDbObjectId> TakeChangedObjects(AcApDocument* doc, bool& all) {
  all = true;
  if (doc == nullptr || !IsOpenDocument(doc) || !doc->state().journal) return {};
  return doc->state().journal->TakeTouched(all);
}

const std::unordered_set<AcDbObjectId>& HiddenOnScreen(const AcApDocument* doc) {
  static const std::unordered_set<AcDbObjectId> kNone;
  return doc != nullptr && IsOpenDocument(doc) ? doc->state().hidden : kNone;
}

const std::vector<AcDbObjectId>& Highlighted() {
  const Host& h = Host::Get();
  return h.selecting != nullptr ? *h.selecting : h.pickFirst;
}

}  // namespace cadhost

namespace cadhost {

bool IsHiddenOnScreen(AcDbObjectId id) {
  const DocumentState* doc = Host::Get().CurrentState();
  return doc != nullptr && doc->hidden.count(id) != 0;
}

}  // namespace cadhost
