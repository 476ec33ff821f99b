#pragma once
// Stand-ins for a window on the host: an input source that types and picks, and a window that
// records what the host tells it and answers its dialogs as the test says.

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "cadhost/host/host_control.h"

namespace cadhost::test {

// Typed text and picks, in order; ends when both run out.
class ScriptedSource : public InputSource {
 public:
  struct Event {
    int c = 0;  // a byte, or kInputPick
    PickedPoint pick;
  };
  std::deque<Event>* events;
  int* wakes;
  ScriptedSource(std::deque<Event>* e, int* w) : events(e), wakes(w) {}
  int Next() override {
    if (events->empty()) return kInputEnded;
    const Event e = events->front();
    if (e.c != kInputPick) events->pop_front();
    return e.c;
  }
  bool TakePick(PickedPoint& pick) override {
    if (events->empty() || events->front().c != kInputPick) return false;
    pick = events->front().pick;
    events->pop_front();
    return true;
  }
  void Wake() override { ++*wakes; }
};

// The input a test gives: Type("LINE\n"), Pick(x, y), Pick(x, y, aperture, shift).
class Input {
 public:
  Input() { Attach(); }
  // Makes this the host's input again (after ResetHost).
  void Attach() { SetInputSource(std::make_unique<ScriptedSource>(&events_, &wakes_)); }
  Input& Type(const std::string& text) {
    for (char c : text) events_.push_back({static_cast<unsigned char>(c), {}});
    return *this;
  }
  Input& Pick(double x, double y, double aperture = 0.5, bool shift = false) {
    events_.push_back({kInputPick, {AcGePoint3d(x, y, 0), aperture, shift, false}});
    return *this;
  }
  // The start of a window dragged from (x, y).
  Input& PickWindow(double x, double y) {
    events_.push_back({kInputPick, {AcGePoint3d(x, y, 0), 0.5, false, true}});
    return *this;
  }
  int Wakes() const { return wakes_; }
  bool Empty() const { return events_.empty(); }

 private:
  std::deque<ScriptedSource::Event> events_;
  int wakes_ = 0;
};

class FakeWindow : public HostWindow {
 public:
  FakeWindow() { SetHostWindow(this); }
  ~FakeWindow() override { SetHostWindow(nullptr); }

  void PromptStarted(const PromptContext& c) override {
    contexts.push_back(c);
    if (c.dragSet != nullptr) dragSetSizes.push_back(c.dragSet->size());
  }
  void DocumentsChanged() override { ++documentsChanged; }
  void SelectionChanged() override { ++selectionChanged; }
  void ActivationChanged(bool enabled) override { activation.push_back(enabled); }
  void Alert(std::string_view text) override { alerts.emplace_back(text); }
  int AskSaveChanges(const AcApDocument* doc) override {
    asked.push_back(doc->docTitle());
    return saveAnswer;
  }
  std::optional<std::string> ChooseFile(FileChoice kind, const std::string& current) override {
    fileKinds.push_back(kind);
    offered.push_back(current);
    return file;
  }
  std::optional<int> ChooseColor(int color, bool, int) override {
    colorAsked.push_back(color);
    return colorAnswer;
  }
  void ShowApplications() override { ++applications; }
  bool OfferRecovery(const std::string&, const std::vector<std::string>&) override { return true; }

  std::vector<PromptContext> contexts;
  std::vector<std::size_t> dragSetSizes;
  int documentsChanged = 0;
  int selectionChanged = 0;
  std::vector<bool> activation;
  std::vector<std::string> alerts;
  std::vector<std::string> asked;
  int saveAnswer = 0;
  std::vector<FileChoice> fileKinds;
  std::vector<std::string> offered;
  std::optional<std::string> file;
  std::vector<int> colorAsked;
  std::optional<int> colorAnswer;
  int applications = 0;
};

}  // namespace cadhost::test
