#include "widgets/html_message_box.h"

#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace vex {

HtmlMessageBox::HtmlMessageBox(const QString& caption, const QString& html, QWidget* parent)
    : QDialog(parent), browser_(new QTextBrowser(this)) {
  setWindowTitle(caption);
  // Links go to the desktop's browser, never into the box itself.
  browser_->setOpenLinks(false);
  browser_->setOpenExternalLinks(false);
  connect(browser_, &QTextBrowser::anchorClicked, this, [](const QUrl& url) { QDesktopServices::openUrl(url); });
  browser_->setHtml(html);
  browser_->setFrameShape(QFrame::NoFrame);
  QPalette p = browser_->palette();
  p.setColor(QPalette::Base, palette().color(QPalette::Button));
  browser_->setPalette(p);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(browser_);
  layout->addWidget(buttons);
  resize(460, 320);
}

QString HtmlMessageBox::PlainText() const { return browser_->toPlainText(); }

void ShowHtmlMessage(QWidget* parent, const QString& caption, const QString& html) {
  HtmlMessageBox box(caption, html, parent);
  box.exec();
}

}  // namespace vex
