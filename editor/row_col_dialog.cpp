#include "editor/row_col_dialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <climits>

#include "model/editor_boxes.h"
#include "settings/language_pack.h"

namespace vex {
namespace {

// The spin: each arrow click steps by one from the value shown, never to 0 or below.
class LineSizeSpin : public QSpinBox {
 public:
  using QSpinBox::QSpinBox;
  void stepBy(int steps) override { setValue(SpinValue(value(), steps)); }
};

QString Q(const std::string& s) { return QString::fromStdString(s); }

// A dialog text of the pack, or `fallback` (the dialog's own text) when the pack has none.
QString Or(const std::string& text, const QString& fallback) { return text.empty() ? fallback : Q(text); }

}  // namespace

// A small question: a title and a close button, no minimise or maximise, and a fixed size.
RowColDialog::RowColDialog(QWidget* parent, const LanguagePack& language, Mode mode, int value)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
  const bool column = mode == kColumnWidth;
  prompt_ = new QLabel(this);
  edit_ = new LineSizeSpin(this);
  edit_->setRange(INT_MIN, INT_MAX);
  edit_->setValue(value);
  edit_->setMinimumWidth(90);
  auto* unit = new QLabel(QStringLiteral("mm"), this);
  auto* buttons = new QDialogButtonBox(this);
  ok_ = buttons->addButton(Or(language.DialogText(kDialogId, 1), QStringLiteral("确 定")), QDialogButtonBox::AcceptRole);
  buttons->addButton(Or(language.DialogText(kDialogId, 2), QStringLiteral("取 消")), QDialogButtonBox::RejectRole);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  // The mode's own texts replace what the dialog text pass gave.
  setWindowTitle(Q(language.Text(column ? "IDD225_Title1" : "IDD225_Title")));
  prompt_->setText(Q(language.Text(column ? "IDD225_2231" : "IDD225_223")));
  prompt_->setBuddy(edit_);

  auto* row = new QHBoxLayout;
  row->addWidget(prompt_);
  row->addWidget(edit_, 1);
  row->addWidget(unit);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(row);
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  edit_->selectAll();
  edit_->setFocus();
}

int RowColDialog::Value() const { return edit_->value(); }

}  // namespace vex
