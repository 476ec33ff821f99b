#include "settings/replacement_dialog.h"

#include <QHBoxLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "editor/dialog_texts.h"
#include "editor/grid/grid_ctrl.h"

namespace vex {
namespace {

constexpr int kColumns = 3;
constexpr int kFirstWidth = 110;
constexpr int kSecondWidth = 80;
constexpr int kThirdWidth = 160;

bool DefaultQuestion(QWidget* parent, const QString& caption, const QString& text) {
  return QMessageBox::warning(parent, caption, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No) ==
         QMessageBox::Yes;
}

}  // namespace

ReplacementDialog::ReplacementDialog(const ProfileFile& settings, const LanguagePack& language, QWidget* parent)
    : QDialog(parent), settings_(settings), language_(language), ask_(DefaultQuestion), grid_(new GridCtrl(this)) {
  setWindowTitle(QStringLiteral("设置文字输出替换"));
  grid_->setObjectName(QStringLiteral("ReplacementGrid"));
  grid_->SetEditable(true);
  grid_->SetRowResize(false);
  grid_->SetColumnCount(kColumns);
  grid_->SetRowCount(1);
  grid_->SetFixedRowCount(1);
  grid_->SetFixedColumnCount(0);
  grid_->SetColumnWidth(0, kFirstWidth);
  grid_->SetColumnWidth(1, kSecondWidth);
  grid_->SetColumnWidth(2, kThirdWidth);
  grid_->Model().SetText(0, 0, "Input");
  grid_->Model().SetText(0, 1, "Replace with");
  grid_->Model().SetText(0, 2, "Description");
  connect(grid_, &GridCtrl::Notify, this, &ReplacementDialog::OnGridNotify, Qt::DirectConnection);

  ok_ = new QPushButton(QStringLiteral("确定"), this);
  QPushButton* cancel = new QPushButton(QStringLiteral("取消"), this);
  delete_ = new QPushButton(QStringLiteral("删除(&D)"), this);
  default_ = new QPushButton(QStringLiteral("默认(&F)"), this);
  SetControlId(ok_, 1);
  SetControlId(cancel, 2);
  SetControlId(delete_, kDeleteId);
  SetControlId(default_, kDefaultId);
  for (QPushButton* b : {ok_, cancel, delete_, default_}) b->setAutoDefault(false);
  connect(ok_, &QPushButton::clicked, this, &ReplacementDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &ReplacementDialog::reject);
  connect(delete_, &QPushButton::clicked, this, &ReplacementDialog::DeleteSelected);
  connect(default_, &QPushButton::clicked, this, &ReplacementDialog::BackToDefault);

  auto* buttons = new QVBoxLayout;
  buttons->addWidget(ok_);
  buttons->addWidget(cancel);
  buttons->addSpacing(16);
  buttons->addWidget(delete_);
  buttons->addWidget(default_);
  buttons->addStretch(1);
  auto* layout = new QHBoxLayout(this);
  layout->addWidget(grid_, 1);
  layout->addLayout(buttons);
  resize(kFirstWidth + kSecondWidth + kThirdWidth + 130, 260);

  Show(LoadReplacementRows(settings_, language_));
  ApplyDialogTexts(this, kDialogId, language_);
}

void ReplacementDialog::Show(const std::vector<ReplacementRow>& items) {
  grid_->EndEditing();
  const int rows = static_cast<int>(items.size()) + 2;
  grid_->SetRowCount(rows);
  for (int r = 1; r < rows; ++r)
    for (int c = 0; c < kColumns; ++c) grid_->Model().ResetCell(r, c);
  for (std::size_t i = 0; i < items.size(); ++i)
    for (int c = 0; c < kColumns && c < static_cast<int>(items[i].size()); ++c)
      grid_->Model().SetText(static_cast<int>(i) + 1, c, items[i][c]);
  grid_->Model().SetText(rows - 1, 0, std::string(kNewItemText));
  grid_->Model().ClearSelection();
  grid_->Redraw();
  grid_->UpdateScrollBars();
}

std::vector<ReplacementRow> ReplacementDialog::Items() const {
  std::vector<ReplacementRow> items;
  const GridModel& m = grid_->Model();
  for (int r = 1; r + 1 < m.RowCount(); ++r) items.push_back({m.Text(r, 0), m.Text(r, 1), m.Text(r, 2)});
  return items;
}

void ReplacementDialog::OnGridNotify(GridNotification* n) {
  if (n->code != kGridEndEdit || n->row != grid_->Model().RowCount() - 1) return;
  if (n->text.toStdString() == grid_->Model().Text(n->row, n->column)) return;
  // The grid stores the text once this notification returns.
  QTimer::singleShot(0, this, &ReplacementDialog::KeepNewItemRow);
}

void ReplacementDialog::KeepNewItemRow() {
  GridModel& m = grid_->Model();
  const int last = m.RowCount() - 1;
  if (last < 1) return;
  const bool untouched = m.Text(last, 0) == kNewItemText && m.Text(last, 1).empty() && m.Text(last, 2).empty();
  if (untouched) return;
  // Typed into another cell of the row: its input is not the placeholder.
  if (m.Text(last, 0) == kNewItemText) m.SetText(last, 0, "");
  grid_->SetRowCount(last + 2);
  m.SetText(last + 1, 0, std::string(kNewItemText));
  grid_->Redraw();
}

void ReplacementDialog::DeleteSelected() {
  grid_->EndEditing();
  const GridModel& m = grid_->Model();
  std::vector<int> selected;
  for (int r = 1; r < m.RowCount(); ++r)
    for (int c = 0; c < kColumns; ++c)
      if (m.IsSelected(r, c)) {
        selected.push_back(r - 1);
        break;
      }
  Show(WithoutRows(Items(), selected));
}

void ReplacementDialog::BackToDefault() {
  grid_->EndEditing();
  if (!ask_(this, QStringLiteral("Get back default"), QStringLiteral("Do you get back default？"))) return;
  Show(DefaultReplacementRows(language_));
}

void ReplacementDialog::accept() {
  grid_->EndEditing();
  KeepNewItemRow();
  const Result saved = SaveReplacementRows(Items(), settings_);
  if (!saved) {
    // Closing would lose the list the drafter typed.
    QMessageBox::warning(this, windowTitle(), QtText(saved.Describe()));
    return;
  }
  QDialog::accept();
}

void RunReplacementDialog(QWidget* parent, const ProfileFile& settings, const LanguagePack& language) {
  ReplacementDialog dialog(settings, language, parent);
  dialog.exec();
}

}  // namespace vex
