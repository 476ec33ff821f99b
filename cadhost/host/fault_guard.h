#pragma once
// Faults in an application's command: a crash (a bad memory access, an abort) is caught so
// that the drafter's drawings outlive the application that broke. The host cannot trust its
// process after that, so it stops, but first it takes back what the broken command changed
// and writes recovery copies of the changed drawings ("<name>.recover.dxf" beside them).

#include <csetjmp>
#include <string>
#include <vector>

namespace cadhost {

// Catches the fault signals (SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT) for its life: one
// raised jumps back to the sigsetjmp of `target`, with the signal as its value. Scopes nest.
class FaultScope {
 public:
  explicit FaultScope(sigjmp_buf* target);
  ~FaultScope();
  FaultScope(const FaultScope&) = delete;
  FaultScope& operator=(const FaultScope&) = delete;

 private:
  sigjmp_buf* m_previous;
};

// The recovery copy of a drawing file: "/a/plan.dxf" -> "/a/plan.recover.dxf"; an untitled
// drawing's ("Drawing1.dxf") goes to the current folder.
std::string RecoveryPath(const std::string& drawingPath, bool untitled);

// After `command` faulted with `signal`: reports it, rolls back the open undo steps, offers
// (a window, when `mayAsk`) or writes recovery copies of the changed drawings, and ends the
// process with status 3. A fault in a window's handler leaves the window's own state half
// way: it is not asked then. Does not return.
[[noreturn]] void StopAfterFault(const std::string& command, int signal, bool mayAsk = true);

}  // namespace cadhost
