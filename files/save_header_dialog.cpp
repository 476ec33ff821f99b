#include "files/save_header_dialog.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include <cmath>

#include "files/header_library.h"
#include "settings/language_pack.h"

namespace vex {
namespace {

QString Q(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

QString DialogText(const LanguagePack& language, int control, const char* fallback) {
  const std::string t = language.DialogText(SaveHeaderDialog::kDialogId, control);
  return t.empty() ? QString::fromUtf8(fallback) : Q(t);
}

// An arrow from `from` to `to` with a filled head.
void Arrow(QPainter& p, QPointF from, QPointF to, qreal head) {
  p.drawLine(from, to);
  const QPointF d = to - from;
  const qreal len = std::hypot(d.x(), d.y());
  if (len <= 0) return;
  const QPointF u = d / len, n(-u.y(), u.x());
  QPainterPath tip;
  tip.moveTo(to);
  tip.lineTo(to - u * head + n * head * 0.6);
  tip.lineTo(to - u * head - n * head * 0.6);
  tip.closeSubpath();
  p.fillPath(tip, p.pen().color());
}

}  // namespace

QPixmap HeaderTypePicture(int pictureId, int size) {
  QPixmap pm(size, size);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  const qreal s = size;
  // A 3 x 3 table in the upper left; the header part shaded; the arrow where the table grows.
  const QRectF table(s * 0.08, s * 0.08, s * 0.62, s * 0.62);
  const qreal cw = table.width() / 3, rh = table.height() / 3;
  const QColor shade(120, 160, 220), line(40, 60, 90), arrow(200, 90, 30);
  QRectF fixed;
  switch (pictureId) {
    case SaveHeaderDialog::kVerticalPicture: fixed = QRectF(table.left(), table.top(), table.width(), rh); break;
    case SaveHeaderDialog::kHorizontalPicture: fixed = QRectF(table.left(), table.top(), cw, table.height()); break;
    default: fixed = table; break;
  }
  p.fillRect(fixed, shade);
  p.setPen(QPen(line, std::max<qreal>(1, s / 32)));
  p.drawRect(table);
  for (int i = 1; i < 3; ++i) {
    p.drawLine(QPointF(table.left() + i * cw, table.top()), QPointF(table.left() + i * cw, table.bottom()));
    p.drawLine(QPointF(table.left(), table.top() + i * rh), QPointF(table.right(), table.top() + i * rh));
  }
  p.setPen(QPen(arrow, std::max<qreal>(1.5, s / 16)));
  const qreal head = s * 0.14;
  if (pictureId == SaveHeaderDialog::kVerticalPicture)
    Arrow(p, QPointF(table.center().x(), table.bottom() + s * 0.02), QPointF(table.center().x(), s * 0.96), head);
  else if (pictureId == SaveHeaderDialog::kHorizontalPicture)
    Arrow(p, QPointF(table.right() + s * 0.02, table.center().y()), QPointF(s * 0.96, table.center().y()), head);
  else {
    // Fixed both ways: a lock of two bars at the corner.
    const QRectF lock(s * 0.74, s * 0.74, s * 0.2, s * 0.2);
    p.setBrush(arrow);
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(lock, s * 0.03, s * 0.03);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(arrow, std::max<qreal>(1, s / 24)));
    p.drawArc(QRectF(lock.left() + lock.width() * 0.2, lock.top() - lock.height() * 0.55, lock.width() * 0.6,
                     lock.height() * 1.0),
              0, 180 * 16);
  }
  return pm;
}

SaveHeaderDialog::SaveHeaderDialog(QWidget* parent, const LanguagePack& language, HeaderLibrary& library)
    : QDialog(parent), library_(library) {
  const std::string title = language.DialogText(kDialogId, LanguagePack::kDialogTitle);
  setWindowTitle(title.empty() ? QStringLiteral("存为表头") : Q(title));
  tell_ = [](QWidget* owner, const QString& text) { QMessageBox::information(owner, QString(), text); };
  noClassText_ = DialogText(language, kClassId, kNoClassText).toStdString();
  defaultName_ = DialogText(language, kNameId, "新建表头1").toStdString();

  name_ = new QLineEdit(Q(defaultName_), this);
  name_->setMinimumWidth(220);
  class_ = new QComboBox(this);
  class_->setEditable(true);
  class_->setInsertPolicy(QComboBox::NoInsert);
  for (const std::string& c : SaveClassList(noClassText_, library.ListClasses())) class_->addItem(Q(c));
  class_->setCurrentIndex(0);
  auto* form = new QFormLayout;
  form->addRow(DialogText(language, 223, "表头名称："), name_);
  form->addRow(DialogText(language, 241, "类别："), class_);

  typeGroup_ = new QButtonGroup(this);
  typeGroup_->setExclusive(true);
  auto* typeRow = new QHBoxLayout;
  const struct {
    int type, id, picture;
    const char* fallback;
  } kTypes[] = {{kVerticalHeader, kVerticalId, kVerticalPicture, "竖向(&V)"},
                {kHorizontalHeader, kHorizontalId, kHorizontalPicture, "横向(&H)"},
                {kFullHeader, kFullId, kFullPicture, "固定(&F)"}};
  for (const auto& t : kTypes) {
    auto* b = new QToolButton(this);
    b->setText(DialogText(language, t.id, t.fallback));
    b->setIcon(QIcon(HeaderTypePicture(t.picture, 64)));
    b->setIconSize(QSize(40, 40));
    b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    b->setCheckable(true);
    b->setAutoRaise(false);
    b->setMinimumWidth(84);
    typeGroup_->addButton(b, t.type);
    typeRow->addWidget(b);
    types_[t.type] = b;
  }
  types_[kVerticalHeader]->setChecked(true);

  auto* buttons = new QDialogButtonBox(this);
  ok_ = buttons->addButton(DialogText(language, 1, "确定"), QDialogButtonBox::AcceptRole);
  buttons->addButton(DialogText(language, 2, "取消"), QDialogButtonBox::RejectRole);
  ok_->setDefault(true);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addLayout(typeRow);
  layout->addWidget(buttons);
  name_->selectAll();
  name_->setFocus();
}

void SaveHeaderDialog::accept() {
  const SaveHeaderCheck check = CheckSaveHeader(name_->text().toStdString(), class_->currentText().toStdString(),
                                                noClassText_, defaultName_, library_);
  name_->setText(Q(check.nameField));
  if (!check.message.empty()) tell_(this, Q(check.message));
  if (!check.accept) {
    name_->setFocus();
    name_->selectAll();
    return;
  }
  answer_ = SaveHeaderAnswer{check.nameField, check.className, std::max(0, typeGroup_->checkedId())};
  QDialog::accept();
}

}  // namespace vex
