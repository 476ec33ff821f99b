#pragma once
// A flat button: no frame until the pointer is over it, a picture and a tool tip. The floating
// toolbar and the about box use it.

#include <QToolButton>

namespace vex {

class FlatButton : public QToolButton {
  Q_OBJECT

 public:
  FlatButton(const QIcon& icon, const QString& tip, QWidget* parent = nullptr);
};

}  // namespace vex
