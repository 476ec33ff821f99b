#include "editor/progress_meter.h"

#include <QGuiApplication>
#include <QProgressDialog>

#include <string>

namespace vex {

ProgressWindowMeter::~ProgressWindowMeter() {
  Restore();
  EndWait();
}

void ProgressWindowMeter::Show(std::string_view label) {
  Restore();
  // Made per step and deleted after it: a progress window left over would show itself later.
  window_ = new QProgressDialog(QString::fromUtf8(label.data(), static_cast<qsizetype>(label.size())).trimmed(),
                                QString(), 0, 100, parent_);
  window_->setObjectName(QStringLiteral("ExcelProgress"));
  window_->setWindowModality(Qt::WindowModal);
  // The exchange cannot stop half way: no Cancel button.
  window_->setCancelButton(nullptr);
  window_->setAutoClose(false);
  window_->setAutoReset(false);
  window_->setMinimumDuration(kShowAfterMs);
  window_->setValue(0);
  last_ = 0;
}

void ProgressWindowMeter::Set(int percent) {
  // Asked once per cell; the window only hears of a change.
  if (!window_ || percent == last_) return;
  last_ = percent;
  window_->setValue(percent);
}

void ProgressWindowMeter::Restore() {
  if (window_) delete window_.data();
  last_ = -1;
}

void ProgressWindowMeter::BeginWait() {
  if (waiting_ || !qGuiApp) return;
  QGuiApplication::setOverrideCursor(Qt::WaitCursor);
  waiting_ = true;
}

void ProgressWindowMeter::EndWait() {
  if (!waiting_) return;
  QGuiApplication::restoreOverrideCursor();
  waiting_ = false;
}

}  // namespace vex
