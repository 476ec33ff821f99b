#include "excel/sheet_chooser_dialog.h"

#include <QFontMetrics>
#include <QListWidget>
#include <QPushButton>

namespace vex::excel {
namespace {

// The dialog's layout in dialog units, as the resource gives it.
struct Box {
  int x, y, w, h;
};
constexpr Box kDialog{0, 0, 112, 137};
constexpr Box kList{2, 2, 108, 115};
constexpr Box kOk{2, 120, 50, 14};
constexpr Box kCancel{59, 120, 50, 14};

}  // namespace

SheetChooserDialog::SheetChooserDialog(std::vector<std::string> names, const SheetChooserTexts& texts, QWidget* parent)
    : QDialog(parent), choice_(std::move(names)) {
  setWindowTitle(QString::fromStdString(texts.title));
  // A dialog unit is a quarter of the font's average width across, an eighth of its height down.
  const QFontMetrics fm(font());
  const double ux = fm.averageCharWidth() / 4.0, uy = fm.height() / 8.0;
  auto place = [&](QWidget* w, const Box& b) {
    w->setGeometry(static_cast<int>(b.x * ux), static_cast<int>(b.y * uy), static_cast<int>(b.w * ux),
                   static_cast<int>(b.h * uy));
  };
  setFixedSize(static_cast<int>(kDialog.w * ux), static_cast<int>(kDialog.h * uy));
  list_ = new QListWidget(this);
  list_->setObjectName(QString::number(kSheetList));
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  ok_ = new QPushButton(QString::fromStdString(texts.ok), this);
  ok_->setObjectName(QString::number(kOkButton));
  ok_->setDefault(true);
  cancel_ = new QPushButton(QString::fromStdString(texts.cancel), this);
  cancel_->setObjectName(QString::number(kCancelButton));
  place(list_, kList);
  place(ok_, kOk);
  place(cancel_, kCancel);

  choice_.Open();
  for (const std::string& n : choice_.Names()) list_->addItem(QString::fromStdString(n));
  if (choice_.Selected() >= 0) list_->setCurrentRow(choice_.Selected());
  connect(list_, &QListWidget::currentRowChanged, this, [this](int row) { choice_.Select(row); });
  connect(list_, &QListWidget::itemDoubleClicked, this, [this] { OnOk(); });
  connect(ok_, &QPushButton::clicked, this, [this] { OnOk(); });
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
}

void SheetChooserDialog::OnOk() {
  chosen_ = choice_.OkIndex();
  accept();
}

std::optional<int> QtSheetChooser::ChooseSheet(const std::vector<std::string>& names) {
  SheetChooserDialog dialog(names, texts_, parent_);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.ChosenIndex();
}

}  // namespace vex::excel
