#include "cadhost/ui/input_queue.h"

#include <QEventLoop>
#include <QPointer>

#include "cadhost/sdk/acdocman.h"

namespace cadhost::ui {
namespace {

// The host owns its source; the window owns the queue. The source lets go when the queue goes.
class QueueSource : public InputSource {
 public:
  explicit QueueSource(InputQueue* q) : m_queue(q) {}
  int Next() override { return m_queue ? m_queue->Next() : kInputEnded; }
  bool TakePick(PickedPoint& pick) override { return m_queue && m_queue->TakePick(pick); }
  void Wake() override {
    if (m_queue) m_queue->Wake();
  }

 private:
  QPointer<InputQueue> m_queue;
};

}  // namespace

InputQueue::InputQueue(QObject* parent) : QObject(parent) {}

InputQueue::~InputQueue() { End(); }

std::unique_ptr<InputSource> InputQueue::MakeSource() { return std::make_unique<QueueSource>(this); }

void InputQueue::Stir() {
  if (!m_loops.empty()) m_loops.back()->quit();
}

void InputQueue::Type(const std::string& text) {
  for (char c : text) m_events.push_back({static_cast<unsigned char>(c), {}});
  Stir();
}

void InputQueue::Pick(const PickedPoint& pick) {
  m_events.push_back({kInputPick, pick});
  Stir();
}

void InputQueue::End() {
  m_ended = true;
  for (QEventLoop* loop : m_loops) loop->quit();
}

void InputQueue::Wake() {
  m_woken = true;
  Stir();
}

int InputQueue::Next() {
  for (;;) {
    // While a plug-in's modal dialog holds document activation, nothing is read.
    const bool open = acDocManager->isDocumentActivationEnabled();
    if (open && m_woken) {
      m_woken = false;
      return kInputAgain;
    }
    if (open && !m_events.empty()) {
      const Event& e = m_events.front();
      if (e.c == kInputPick) return kInputPick;
      const int c = e.c;
      m_events.pop_front();
      return c;
    }
    // What was queued before the end is still read.
    if (m_ended) return kInputEnded;
    QEventLoop loop;
    m_loops.push_back(&loop);
    if (m_depth++ == 0) emit WaitingChanged(true);
    // The handlers the loop runs include plug-ins' windows: a crash there stops the host with
    // the drawings kept, as one in a command does.
    RunWithFaultGuard("A window's handler", [&] { loop.exec(); });
    if (--m_depth == 0) emit WaitingChanged(false);
    m_loops.pop_back();
  }
}

bool InputQueue::TakePick(PickedPoint& pick) {
  if (m_events.empty() || m_events.front().c != kInputPick) return false;
  pick = m_events.front().pick;
  m_events.pop_front();
  return true;
}

}  // namespace cadhost::ui
