#include "cadhost/ui/command_line_widget.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>

#include "cadhost/ui/input_queue.h"

namespace cadhost::ui {
namespace {

// What the history keeps: older lines scroll away.
constexpr int kHistoryLines = 5000;
// Of a flood printed at once, only the tail reaches the history.
constexpr std::size_t kMaxPending = 256u << 10;

}  // namespace

CommandLineWidget::CommandLineWidget(InputQueue& queue, QWidget* parent)
    : QWidget(parent), m_queue(queue) {
  m_history = new QPlainTextEdit(this);
  m_history->setReadOnly(true);
  m_history->setMaximumBlockCount(kHistoryLines);
  m_history->setFocusPolicy(Qt::ClickFocus);
  m_history->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  QFont mono(QStringLiteral("DejaVu Sans Mono"));
  mono.setPointSize(9);
  m_history->setFont(mono);
  m_prompt = new QLabel(this);
  m_prompt->setFont(mono);
  m_input = new QLineEdit(this);
  m_input->setFont(mono);
  m_input->setObjectName(QStringLiteral("commandInput"));
  m_input->installEventFilter(this);
  auto* row = new QHBoxLayout;
  row->setContentsMargins(0, 0, 0, 0);
  row->addWidget(m_prompt);
  row->addWidget(m_input, 1);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(2, 2, 2, 2);
  layout->setSpacing(2);
  layout->addWidget(m_history, 1);
  layout->addLayout(row);
}

void CommandLineWidget::Append(std::string_view text) {
  m_pending.append(text);
  if (m_pending.size() > kMaxPending) m_pending.erase(0, m_pending.size() - kMaxPending / 2);
  const auto nl = text.find_last_of('\n');
  if (nl == std::string_view::npos) m_lastLine.append(text);
  else m_lastLine.assign(text.substr(nl + 1));
  if (!m_flushQueued) {
    m_flushQueued = true;
    QTimer::singleShot(0, this, [this] { Flush(); });
  }
}

void CommandLineWidget::Flush() {
  m_flushQueued = false;
  if (!m_pending.empty()) {
    QTextCursor end(m_history->document());
    end.movePosition(QTextCursor::End);
    // The history starts with the first line printed, not with a blank one.
    std::string_view text = m_pending;
    if (m_history->document()->isEmpty() && !text.empty() && text.front() == '\n')
      text.remove_prefix(1);
    end.insertText(QString::fromUtf8(text.data(), static_cast<int>(text.size())));
    m_pending.clear();
    m_history->verticalScrollBar()->setValue(m_history->verticalScrollBar()->maximum());
  }
  m_prompt->setText(Prompt());
}

QString CommandLineWidget::HistoryText() const {
  return m_history->toPlainText() + QString::fromUtf8(m_pending.data(), static_cast<int>(m_pending.size()));
}

QString CommandLineWidget::Prompt() const {
  return QString::fromUtf8(m_lastLine.data(), static_cast<int>(m_lastLine.size())).trimmed();
}

void CommandLineWidget::Submit(const QString& text) {
  const std::string line = text.toStdString();
  m_recall.Add(line);
  m_input->clear();
  m_queue.Type(line + "\n");
}

bool CommandLineWidget::HandleKey(QKeyEvent* e) {
  switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      Submit(m_input->text());
      return true;
    case Qt::Key_Space:
      if (m_spaces) return false;
      Submit(m_input->text());
      return true;
    case Qt::Key_Escape:
      m_input->clear();
      m_queue.Type("\x1b");
      return true;
    case Qt::Key_Up:
      if (auto line = m_recall.Up(m_input->text().toStdString()))
        m_input->setText(QString::fromStdString(*line));
      return true;
    case Qt::Key_Down:
      if (auto line = m_recall.Down()) m_input->setText(QString::fromStdString(*line));
      return true;
    default:
      return false;
  }
}

bool CommandLineWidget::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_input && event->type() == QEvent::KeyPress)
    return HandleKey(static_cast<QKeyEvent*>(event));
  if (watched == m_input && event->type() == QEvent::ShortcutOverride) {
    // Ctrl+Z and Ctrl+Y undo and redo commands, not the typing of the line.
    const auto* k = static_cast<QKeyEvent*>(event);
    if (k->modifiers() == Qt::ControlModifier && (k->key() == Qt::Key_Z || k->key() == Qt::Key_Y))
      return true;
  }
  return QWidget::eventFilter(watched, event);
}

void CommandLineWidget::TypeKey(QKeyEvent* event) {
  if (HandleKey(event)) return;
  if (event->text().isEmpty()) return;
  m_input->setFocus();
  QKeyEvent copy(event->type(), event->key(), event->modifiers(), event->text());
  QApplication::sendEvent(m_input, &copy);
}

}  // namespace cadhost::ui
