#include "widgets/check_list_box.h"

namespace vex {

CheckListBox::CheckListBox(QWidget* parent) : QListWidget(parent) {
  connect(this, &QListWidget::itemChanged, this,
          [this](QListWidgetItem* item) { emit CheckChanged(row(item), item->checkState() == Qt::Checked); });
}

int CheckListBox::AddItem(const QString& text, bool checked) {
  auto* item = new QListWidgetItem(text);
  item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
  item->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
  blockSignals(true);  // adding a row is not a change of its check box
  addItem(item);
  blockSignals(false);
  return count() - 1;
}

bool CheckListBox::IsChecked(int r) const {
  const QListWidgetItem* it = item(r);
  return it != nullptr && it->checkState() == Qt::Checked;
}

void CheckListBox::SetChecked(int r, bool checked) {
  if (QListWidgetItem* it = item(r)) it->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

QList<int> CheckListBox::CheckedRows() const {
  QList<int> rows;
  for (int r = 0; r < count(); ++r)
    if (IsChecked(r)) rows.push_back(r);
  return rows;
}

}  // namespace vex
