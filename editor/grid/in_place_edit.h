#pragma once
// The editor that opens over a cell: multi-line, bordered, aligned like the cell's text.
// Escape puts the starting text back; Tab and Enter end the edit (Ctrl+Enter or Shift+Enter
// break the line); losing the focus ends it too. While typing it widens to fit the text,
// never past `maxRight`.

#include <QTextEdit>

namespace vex {

class InPlaceEdit : public QTextEdit {
  Q_OBJECT

 public:
  // `first`, when not null, replaces the text as the first typed character does.
  InPlaceEdit(QWidget* parent, const QRect& rect, const QFont& font, int format, const QString& text, QChar first,
              int maxRight);

  // Qt::Key_Tab, Qt::Key_Backtab, Qt::Key_Return, Qt::Key_Escape, or 0 when the focus left.
  int EndKey() const { return endKey_; }
  const QString& StartText() const { return startText_; }

 signals:
  // Sent once, when the edit ends.
  void Finished(int endKey);

 protected:
  bool event(QEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void focusOutEvent(QFocusEvent* e) override;

 private:
  void Finish(int key);
  void FitWidth();

  QString startText_;
  int maxRight_;
  int endKey_ = 0;
  bool finished_ = false;
};

}  // namespace vex
