#include "widgets/check_message_box.h"

#include <QCheckBox>
#include <QMessageBox>

namespace vex {

bool ShowUnlessSuppressed(QWidget* parent, const QString& caption, const QString& text, const QString& checkText,
                          const RememberedChoice& choice) {
  if (choice.suppressed && choice.suppressed()) return false;
  QMessageBox box(QMessageBox::Information, caption, text, QMessageBox::Ok, parent);
  auto* check = new QCheckBox(checkText, &box);
  box.setCheckBox(check);
  box.exec();
  if (check->isChecked() && choice.suppress) choice.suppress();
  return true;
}

}  // namespace vex
