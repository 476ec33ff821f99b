// Catching faults of applications' commands, and stopping with the drawings saved.

#include "cadhost/host/fault_guard.h"

#include <signal.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "cadhost/host/host_control.h"
#include "cadhost/host/host_state.h"
#include "cadhost/sdk/acutads.h"

namespace fs = std::filesystem;

namespace cadhost {
namespace {

constexpr int kSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT};
constexpr int kStatusAfterFault = 3;

sigjmp_buf* g_target = nullptr;
struct sigaction g_saved[std::size(kSignals)];

void OnFault(int signal) {
  if (g_target != nullptr) siglongjmp(*g_target, signal);
  // No command to return to: the default action ends the process as it would have.
  ::signal(signal, SIG_DFL);
  ::raise(signal);
}

// A stack of its own for the handler, so that a command that overflowed its stack is caught.
void EnsureAlternateStack() {
  static bool done = false;
  if (done) return;
  done = true;
  static char stack[1 << 16];
  stack_t ss{};
  ss.ss_sp = stack;
  ss.ss_size = sizeof stack;
  ::sigaltstack(&ss, nullptr);
}

}  // namespace

FaultScope::FaultScope(sigjmp_buf* target) : m_previous(g_target) {
  if (m_previous == nullptr) {
    EnsureAlternateStack();
    struct sigaction sa{};
    sa.sa_handler = OnFault;
    sa.sa_flags = SA_ONSTACK | SA_NODEFER;
    sigemptyset(&sa.sa_mask);
    for (std::size_t i = 0; i < std::size(kSignals); ++i) ::sigaction(kSignals[i], &sa, &g_saved[i]);
  }
  g_target = target;
}

FaultScope::~FaultScope() {
  g_target = m_previous;
  if (m_previous == nullptr)
    for (std::size_t i = 0; i < std::size(kSignals); ++i) ::sigaction(kSignals[i], &g_saved[i], nullptr);
}

void RunWithFaultGuard(const char* what, const std::function<void()>& run) {
  sigjmp_buf target;
  int fault = 0;
  {
    FaultScope faults(&target);
    fault = sigsetjmp(target, 1);
    if (fault == 0) run();
  }
  if (fault != 0) StopAfterFault(what != nullptr ? what : "The host", fault, false);
}

std::string RecoveryPath(const std::string& drawingPath, bool untitled) {
  fs::path p(drawingPath);
  if (untitled) p = fs::current_path() / p.filename();
  p.replace_extension();
  return p.string() + ".recover.dxf";
}

void StopAfterFault(const std::string& command, int signal, bool mayAsk) {
  Host& h = Host::Get();
  const char* what = ::strsignal(signal);
  const std::string why = command + " stopped: " + (what != nullptr ? what : "a fault") +
                          ". The host has to stop.";
  acutPrintf("\n%s", why.c_str());
  // What the broken command changed may be half done: every drawing goes back to where the
  // command found it.
  std::vector<AcApDocument*> changed;
  for (const auto& d : h.documents) {
    if (d->state().journal) d->state().journal->Rollback();
    if (d->isModified()) changed.push_back(d.get());
  }
  std::vector<std::string> paths;
  for (AcApDocument* d : changed) paths.push_back(RecoveryPath(d->fileName(), d->isUntitled()));
  const bool save = paths.empty() ? false
                    : h.window != nullptr && mayAsk ? h.window->OfferRecovery(why, paths)
                                                    : true;  // nobody to ask: keep the work
  if (!mayAsk) std::fprintf(stderr, "cadhost: %s\n", why.c_str());
  if (save) {
    for (std::size_t i = 0; i < changed.size(); ++i) {
      const Acad::ErrorStatus es = changed[i]->database()->saveAs(paths[i].c_str());
      if (es == Acad::eOk)
        acutPrintf("\nRecovery copy saved: %s", paths[i].c_str());
      else
        acutPrintf("\nThe recovery copy %s could not be written: %s", paths[i].c_str(),
                   changed[i]->database()->lastFileReport().message.c_str());
    }
  }
  acutPrintf("\n");
  std::fflush(stdout);
  // The application's state cannot be trusted: no unloading, no destructors.
  std::_Exit(kStatusAfterFault);
}

}  // namespace cadhost
