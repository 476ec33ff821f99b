#pragma once
// What the drafter types and picks in the window, queued for the host's prompts. A prompt that
// finds the queue empty waits in a nested event loop, so commands block at their prompts as
// they do in a script while the window goes on working.

#include <QObject>

#include <deque>
#include <memory>
#include <string>

#include "cadhost/host/host_control.h"

class QEventLoop;

namespace cadhost::ui {

class InputQueue : public QObject {
  Q_OBJECT

 public:
  explicit InputQueue(QObject* parent = nullptr);
  ~InputQueue() override;

  // Queues typed bytes (UTF-8), ESC (27) included.
  void Type(const std::string& text);
  void Pick(const PickedPoint& pick);
  // The window closes: once what is queued has been read, every prompt gets the end of input.
  void End();
  bool Ended() const { return m_ended; }
  bool Empty() const { return m_events.empty(); }
  // True while input waits to be read: queued here, or posted to the host (the source is woken).
  bool Pending() const { return !m_events.empty() || m_woken; }
  // True while a prompt waits for input.
  bool Waiting() const { return m_depth > 0; }

  // The host's source reading this queue (the queue must outlive it, or end first).
  std::unique_ptr<InputSource> MakeSource();

  // InputSource, through the source.
  int Next();
  bool TakePick(PickedPoint& pick);
  void Wake();

 signals:
  // A prompt starts waiting, or stops.
  void WaitingChanged(bool waiting);

 private:
  struct Event {
    int c;  // a byte, or kInputPick
    PickedPoint pick;
  };
  void Stir();
  std::deque<Event> m_events;
  bool m_ended = false;
  bool m_woken = false;
  int m_depth = 0;
  std::vector<QEventLoop*> m_loops;
};

}  // namespace cadhost::ui
