#include "widgets/flat_button.h"

namespace vex {

FlatButton::FlatButton(const QIcon& icon, const QString& tip, QWidget* parent) : QToolButton(parent) {
  setAutoRaise(true);
  setIcon(icon);
  setToolTip(tip);
  setIconSize(QSize(24, 24));
  setFocusPolicy(Qt::NoFocus);  // clicking it must not take the keyboard from the drawing
}

}  // namespace vex
