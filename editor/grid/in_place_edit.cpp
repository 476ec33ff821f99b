#include "editor/grid/in_place_edit.h"

#include <QFocusEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextOption>

#include "model/grid_model.h"

namespace vex {

InPlaceEdit::InPlaceEdit(QWidget* parent, const QRect& rect, const QFont& font, int format, const QString& text,
                         QChar first, int maxRight)
    : QTextEdit(parent), startText_(text), maxRight_(maxRight) {
  setAcceptRichText(false);
  setFont(font);
  setLineWrapMode(QTextEdit::NoWrap);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setContextMenuPolicy(Qt::NoContextMenu);
  setFrameShape(QFrame::Box);
  setTabChangesFocus(false);
  document()->setDocumentMargin(1);
  QTextOption option = document()->defaultTextOption();
  option.setAlignment((format & kFormatRight) ? Qt::AlignRight : (format & kFormatCentre) ? Qt::AlignHCenter : Qt::AlignLeft);
  document()->setDefaultTextOption(option);
  setPlainText(text);
  setGeometry(rect);
  QTextCursor cursor = textCursor();
  cursor.movePosition(QTextCursor::End);
  setTextCursor(cursor);
  if (!first.isNull()) {
    // A typed character replaces the text, as typing over a selected cell does.
    selectAll();
    insertPlainText(QString(first));
    FitWidth();
  }
}

bool InPlaceEdit::event(QEvent* e) {
  // Tab must reach keyPressEvent instead of moving the focus to the next widget.
  if (e->type() == QEvent::KeyPress) {
    auto* k = static_cast<QKeyEvent*>(e);
    if (k->key() == Qt::Key_Tab || k->key() == Qt::Key_Backtab) {
      keyPressEvent(k);
      return true;
    }
  }
  return QTextEdit::event(e);
}

void InPlaceEdit::keyPressEvent(QKeyEvent* e) {
  if (e->modifiers() & Qt::AltModifier) {
    e->ignore();
    return;
  }
  switch (e->key()) {
    case Qt::Key_Escape:
      setPlainText(startText_);
      Finish(Qt::Key_Escape);
      return;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      Finish(e->key() == Qt::Key_Tab && !(e->modifiers() & Qt::ShiftModifier) ? Qt::Key_Tab : Qt::Key_Backtab);
      return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      if (e->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier)) {
        insertPlainText(QStringLiteral("\n"));
        FitWidth();
      } else {
        Finish(Qt::Key_Return);
      }
      return;
    default:
      QTextEdit::keyPressEvent(e);
      FitWidth();
  }
}

void InPlaceEdit::focusOutEvent(QFocusEvent* e) {
  QTextEdit::focusOutEvent(e);
  if (e->reason() != Qt::PopupFocusReason) Finish(0);
}

void InPlaceEdit::Finish(int key) {
  if (finished_) return;
  finished_ = true;
  endKey_ = key;
  emit Finished(key);
}

void InPlaceEdit::FitWidth() {
  const QFontMetrics fm(font());
  int widest = 0;
  for (const QString& line : toPlainText().split(QLatin1Char('\n')))
    widest = std::max(widest, fm.horizontalAdvance(line + QStringLiteral("  ")));
  const int wanted = widest + 2 * frameWidth() + 2 * static_cast<int>(document()->documentMargin());
  const int limit = maxRight_ - x();
  if (wanted > width() && limit > width()) resize(std::min(wanted, limit), height());
}

}  // namespace vex
