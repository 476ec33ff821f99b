#pragma once
// A message box that shows simple HTML (headings, rules, centred text, links); a link opens
// in the drafter's browser or mail program. The about and update boxes use it.

#include <QDialog>
#include <QString>

class QTextBrowser;

namespace vex {

class HtmlMessageBox : public QDialog {
  Q_OBJECT

 public:
  HtmlMessageBox(const QString& caption, const QString& html, QWidget* parent = nullptr);

  // The text as shown (for tests).
  QString PlainText() const;
  QTextBrowser* Browser() const { return browser_; }

 private:
  QTextBrowser* browser_;
};

// Shows the box modally.
void ShowHtmlMessage(QWidget* parent, const QString& caption, const QString& html);

}  // namespace vex
