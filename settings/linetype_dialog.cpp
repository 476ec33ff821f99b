#include "settings/linetype_dialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

#include "editor/dialog_texts.h"
#include "settings/settings_dialog_rules.h"

namespace vex {
namespace {

constexpr int kListWidth = 480;
constexpr int kRowsAboveCurrent = 5;

}  // namespace

LinetypeDialog::LinetypeDialog(const std::vector<LinetypeEntry>& entries, const std::string& current,
                               const LanguagePack& language, QWidget* parent)
    : QDialog(parent), list_(new QTreeWidget(this)) {
  setWindowTitle(QStringLiteral("选择线型"));
  list_->setObjectName(QStringLiteral("LinetypeList"));
  list_->setColumnCount(2);
  list_->setHeaderLabels({QStringLiteral("Linetype"), QStringLiteral("Description")});
  list_->setRootIsDecorated(false);
  list_->setAllColumnsShowFocus(true);
  list_->setSelectionBehavior(QAbstractItemView::SelectRows);
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  list_->setUniformRowHeights(true);
  list_->setMinimumWidth(kListWidth);
  list_->setColumnWidth(0, kListWidth / 4);
  list_->setColumnWidth(1, kListWidth * 11 / 16);
  list_->setStyleSheet(QStringLiteral("QTreeView::item { border-right: 1px solid #d0d0d0; border-bottom: 1px solid #d0d0d0; }"));
  for (const LinetypeEntry& e : entries)
    list_->addTopLevelItem(new QTreeWidgetItem({QtText(e.name), QtText(e.description)}));
  currentRow_ = LinetypeRow(entries, current);
  if (QTreeWidgetItem* item = list_->topLevelItem(currentRow_)) {
    list_->setCurrentItem(item);
    item->setSelected(true);
  }
  connect(list_, &QTreeWidget::itemDoubleClicked, this, &QDialog::accept);

  auto* buttons = new QDialogButtonBox(this);
  ok_ = buttons->addButton(QStringLiteral("确定"), QDialogButtonBox::AcceptRole);
  QPushButton* cancel = buttons->addButton(QStringLiteral("取消"), QDialogButtonBox::RejectRole);
  SetControlId(ok_, 1);
  SetControlId(cancel, 2);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(list_);
  layout->addWidget(buttons);
  resize(kListWidth + 24, 340);
  ApplyDialogTexts(this, kDialogId, language);
}

void LinetypeDialog::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  // The current row stands about five rows below the top, so its neighbours show above it.
  const auto scroll = [this] {
    if (QScrollBar* bar = list_->verticalScrollBar()) bar->setValue(std::max(0, currentRow_ - kRowsAboveCurrent));
  };
  scroll();
  // Once laid out the list knows how far it scrolls.
  QTimer::singleShot(0, this, scroll);
  list_->setFocus();
}

std::string LinetypeDialog::Chosen() const {
  const QList<QTreeWidgetItem*> selected = list_->selectedItems();
  return selected.isEmpty() ? std::string() : selected.front()->text(0).toStdString();
}

std::optional<std::string> ChooseLinetype(QWidget* parent, const std::vector<LinetypeEntry>& entries,
                                          const std::string& current, const LanguagePack& language) {
  LinetypeDialog dialog(entries, current, language, parent);
  if (dialog.exec() != QDialog::Accepted || dialog.Chosen().empty()) return std::nullopt;
  return dialog.Chosen();
}

}  // namespace vex
