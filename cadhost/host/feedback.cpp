// The command line and the status bar: printing, the progress meter, and their record.

#include <unistd.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "cadhost/host/host_state.h"
#include "cadhost/sdk/acedads.h"
#include "cadhost/sdk/acutads.h"

namespace cadhost {
namespace {

constexpr std::size_t kMaxRecorded = 4u << 20;
constexpr std::size_t kMaxProgressEvents = 1u << 20;

void RecordProgress(Host& h, ProgressEvent e) {
  if (h.progress.size() >= kMaxProgressEvents)
    h.progress.erase(h.progress.begin(), h.progress.begin() + kMaxProgressEvents / 2);
  h.progress.push_back(std::move(e));
}

class ConsoleView : public CommandLineView {
 public:
  ConsoleView() : m_terminal(::isatty(STDOUT_FILENO) == 1) {}
  void Write(std::string_view text) override {
    if (m_meterOnScreen) ClearMeter();
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
  }
  void ShowProgress(std::string_view label, int percent) override {
    if (!m_terminal) return;
    std::fprintf(stdout, "\r\x1b[K%.*s %3d%%", static_cast<int>(label.size()), label.data(),
                 percent);
    std::fflush(stdout);
    m_meterOnScreen = true;
  }
  void RestoreStatusBar() override {
    if (m_meterOnScreen) ClearMeter();
  }

 private:
  void ClearMeter() {
    std::fputs("\r\x1b[K", stdout);
    m_meterOnScreen = false;
  }
  bool m_terminal;
  bool m_meterOnScreen = false;
};

}  // namespace

Host& Host::Get() {
  // Never destroyed: at exit the databases of open documents would outlive the statics of
  // the database code they need. The program and tests end with ResetHost instead.
  static Host* host = new Host();
  return *host;
}

Host::Host() : view(MakeConsoleView()) {}

void Host::Print(std::string_view s) {
  text.append(s);
  // Keep the tail: tests read what a command just printed.
  if (text.size() > kMaxRecorded) text.erase(0, text.size() - kMaxRecorded / 2);
  if (view) view->Write(s);
}

std::unique_ptr<CommandLineView> MakeConsoleView() { return std::make_unique<ConsoleView>(); }

void SetCommandLineView(std::unique_ptr<CommandLineView> v) { Host::Get().view = std::move(v); }

std::string Feedback::Text() { return Host::Get().text; }
std::vector<ProgressEvent> Feedback::Progress() { return Host::Get().progress; }
std::vector<std::string> Feedback::Posted() { return Host::Get().posted; }
void Feedback::Clear() {
  Host& h = Host::Get();
  h.text.clear();
  h.progress.clear();
  h.posted.clear();
}

}  // namespace cadhost

using cadhost::Host;

int acutPrintf(const ACHAR* format, ...) {
  if (format == nullptr) return -1;
  va_list args;
  va_start(args, format);
  va_list copy;
  va_copy(copy, args);
  const int n = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  if (n < 0) {
    va_end(args);
    return -1;
  }
  std::string out(static_cast<std::size_t>(n) + 1, '\0');
  std::vsnprintf(out.data(), out.size(), format, args);
  va_end(args);
  out.resize(static_cast<std::size_t>(n));
  Host::Get().Print(out);
  return n;
}

resbuf* acutNewRb(int type) {
  auto* rb = static_cast<resbuf*>(std::calloc(1, sizeof(resbuf)));
  if (rb != nullptr) rb->restype = static_cast<short>(type);
  return rb;
}

int acutRelRb(resbuf* rb) {
  while (rb != nullptr) {
    resbuf* next = rb->rbnext;
    if (rb->restype == RTSTR) std::free(rb->resval.rstring);
    std::free(rb);
    rb = next;
  }
  return RTNORM;
}

int acedSetStatusBarProgressMeter(const ACHAR* label, int minPos, int maxPos) {
  if (maxPos < minPos) return -1;
  Host& h = Host::Get();
  h.meterShown = true;
  h.meterLabel = label != nullptr ? label : "";
  h.meterMin = minPos;
  h.meterMax = maxPos;
  h.meterPercent = 0;
  cadhost::RecordProgress(h,
                          {cadhost::ProgressEvent::Kind::Start, h.meterLabel, minPos, maxPos, 0});
  if (h.view) h.view->ShowProgress(h.meterLabel, 0);
  return 0;
}

int acedSetStatusBarProgressMeterPos(int pos) {
  Host& h = Host::Get();
  if (!h.meterShown) return -1;
  if (pos < h.meterMin) pos = h.meterMin;
  if (pos > h.meterMax) pos = h.meterMax;
  // Only changes are recorded: drawing a large table sets the same position thousands of times.
  if (h.progress.empty() || h.progress.back().kind != cadhost::ProgressEvent::Kind::Pos ||
      h.progress.back().pos != pos)
    cadhost::RecordProgress(h, {cadhost::ProgressEvent::Kind::Pos, {}, 0, 0, pos});
  const long span = static_cast<long>(h.meterMax) - h.meterMin;
  const int percent =
      span == 0 ? 100 : static_cast<int>((static_cast<long>(pos) - h.meterMin) * 100 / span);
  // Redraw only when the shown number changes: a meter moved per entity would flood a terminal.
  if (percent != h.meterPercent && h.view) h.view->ShowProgress(h.meterLabel, percent);
  h.meterPercent = percent;
  return 0;
}

void acedRestoreStatusBar() {
  Host& h = Host::Get();
  h.meterShown = false;
  h.meterPercent = -1;
  cadhost::RecordProgress(h, {cadhost::ProgressEvent::Kind::Restore, {}, 0, 0, 0});
  if (h.view) h.view->RestoreStatusBar();
}

int acedAlert(const ACHAR* text) {
  if (text == nullptr) return RTERROR;
  Host& h = Host::Get();
  if (h.window != nullptr) {
    h.text.append("\n").append(text).append("\n");  // recorded, not shown on the command line
    h.window->Alert(text);
  } else {
    h.Print(std::string("\n") + text + "\n");
  }
  return RTNORM;
}

void InitAcUiDLL() {}

QWidget* acedGetAcadFrame() { return Host::Get().frame; }
QWidget* adsw_acadMainWnd() { return Host::Get().mainWindow; }

namespace cadhost {
void SetMainWindows(QWidget* f, QWidget* m) {
  Host::Get().frame = f;
  Host::Get().mainWindow = m;
}
}  // namespace cadhost
