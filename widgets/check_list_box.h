#pragma once
// A list whose every row has a check box.

#include <QListWidget>

namespace vex {

class CheckListBox : public QListWidget {
  Q_OBJECT

 public:
  explicit CheckListBox(QWidget* parent = nullptr);

  // Appends a row; its index.
  int AddItem(const QString& text, bool checked = false);
  bool IsChecked(int row) const;
  void SetChecked(int row, bool checked);
  // The rows ticked, in order.
  QList<int> CheckedRows() const;

 signals:
  // A row's check box changed (by the drafter or by SetChecked).
  void CheckChanged(int row, bool checked);
};

}  // namespace vex
