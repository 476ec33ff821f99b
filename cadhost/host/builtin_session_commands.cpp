// The host's commands about the session rather than the drawing: U, UNDO, REDO and SCRIPT.

#include "cadhost/host/builtin_commands.h"
#include "cadhost/host/prompts.h"
#include "cadhost/sdk/acedads.h"
#include "cadhost/sdk/acutads.h"

namespace cadhost {
namespace {

// Steps are named after their command; changes made outside any command have no name.
std::string StepName(const std::string& name) {
  return name.empty() ? std::string("Changes made outside a command") : name;
}

// Undoes one step of the current drawing; false when there was none to undo.
bool UndoOne() {
  DocumentState& doc = *Host::Get().CurrentState();
  const UndoJournal::Outcome r = doc.journal->Undo();
  if (r.done) {
    doc.modified = true;
    acutPrintf("\n%s undone", StepName(r.name).c_str());
    return true;
  }
  if (r.why == UndoJournal::Refusal::kObjectOpen)
    acutPrintf("\n%s cannot be undone: one of its objects is open.", StepName(r.name).c_str());
  else
    acutPrintf("\nEverything has been undone");
  return false;
}

}  // namespace

void UndoOneCommand() { UndoOne(); }

void UndoCommand() {
  const PromptAnswer a = AskReal("\nEnter the number of operations to undo <1>: ");
  if (a.rc == RTCAN) return;
  int count = 1;
  if (a.rc == RTNORM) {
    if (a.value < 1 || a.value != static_cast<int>(a.value)) {
      acutPrintf("\nRequires a positive whole number.");
      return;
    }
    count = static_cast<int>(a.value);
  }
  for (int i = 0; i < count && UndoOne(); ++i) {
  }
}

void RedoCommand() {
  DocumentState& doc = *Host::Get().CurrentState();
  const UndoJournal::Outcome r = doc.journal->Redo();
  if (r.done) {
    doc.modified = true;
    acutPrintf("\n%s redone", StepName(r.name).c_str());
  } else if (r.why == UndoJournal::Refusal::kObjectOpen) {
    acutPrintf("\n%s cannot be redone: one of its objects is open.", StepName(r.name).c_str());
  } else {
    acutPrintf("\nNothing to redo");
  }
}

void ScriptCommand() {
  const std::optional<std::string> chosen =
      AskFileName("\nEnter script file name: ", FileChoice::Script);
  if (!chosen) return;
  const std::string& name = *chosen;
  if (name.empty()) return;
  std::string found;
  if (acedFindFile(name.c_str(), found) != RTNORM &&
      (name.find('.') != std::string::npos ||
       acedFindFile((name + ".scr").c_str(), found) != RTNORM))
    found = name;
  std::string error;
  if (!StartScript(found, error)) acutPrintf("\nCannot open script %s: %s", name.c_str(), error.c_str());
}

}  // namespace cadhost
