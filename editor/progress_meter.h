#pragma once
// The exchange's progress meter for an editor without a CAD host, whose status bar it would
// be: a progress window over the editor, shown only when a step takes long enough to be
// noticed, and the wait cursor.

#include <QPointer>
#include <QProgressDialog>

#include "excel/exchange_ui.h"

class QWidget;

namespace vex {

class ProgressWindowMeter final : public excel::StatusMeter {
 public:
  // A step that ends sooner than this shows no window.
  static constexpr int kShowAfterMs = 400;

  explicit ProgressWindowMeter(QWidget* parent) : parent_(parent) {}
  ~ProgressWindowMeter() override;

  void Show(std::string_view label) override;
  void Set(int percent) override;
  void Restore() override;
  void BeginWait() override;
  void EndWait() override;

  // The window of the step that runs, nullptr between steps.
  QProgressDialog* Window() const { return window_; }

 private:
  QWidget* parent_;
  QPointer<QProgressDialog> window_;
  int last_ = -1;
  bool waiting_ = false;
};

}  // namespace vex
