#pragma once
// The command line dock: the history of what the host printed (prompts, answers, messages)
// and the input line. Enter and Space end an answer (Space types a space only where the
// prompt takes text with spaces), Esc cancels, Up and Down recall earlier input; Enter on an
// empty line is ENTER, which at the command prompt repeats the last command.

#include <QWidget>

#include <string>
#include <string_view>

#include "cadhost/ui/input_history.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;

namespace cadhost::ui {

class InputQueue;

class CommandLineWidget : public QWidget {
  Q_OBJECT

 public:
  CommandLineWidget(InputQueue& queue, QWidget* parent = nullptr);

  // Text the host printed; shown at the next Flush (or when the window next gets to run).
  void Append(std::string_view text);
  void Flush();
  // Whether Space types a space (the prompt takes text with spaces).
  void SetSpacesAllowed(bool allowed) { m_spaces = allowed; }
  // Takes a key pressed elsewhere (the drawing view) as if pressed in the input line.
  void TypeKey(QKeyEvent* event);

  QLineEdit* Input() const { return m_input; }
  QString HistoryText() const;
  // The line the host is asking at: the text after the last line break.
  QString Prompt() const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Submit(const QString& text);
  bool HandleKey(QKeyEvent* event);

  InputQueue& m_queue;
  QPlainTextEdit* m_history;
  QLabel* m_prompt;
  QLineEdit* m_input;
  InputHistory m_recall;
  bool m_spaces = false;
  std::string m_pending;
  std::string m_lastLine;
  bool m_flushQueued = false;
};

}  // namespace cadhost::ui
