#include "editor/dialog_texts.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QVariant>
#include <QWidget>

#include "settings/language_pack.h"

namespace vex {
namespace {

constexpr const char* kIdProperty = "vexControlId";

void SetText(QWidget* control, const QString& text) {
  if (auto* b = qobject_cast<QAbstractButton*>(control)) b->setText(text);
  else if (auto* l = qobject_cast<QLabel*>(control)) l->setText(text);
  else if (auto* g = qobject_cast<QGroupBox*>(control)) g->setTitle(text);
}

}  // namespace

void SetControlId(QWidget* control, int id) { control->setProperty(kIdProperty, id); }

int ControlId(const QWidget* control) { return control->property(kIdProperty).toInt(); }

QWidget* ControlById(const QWidget* window, int id) {
  for (QWidget* w : window->findChildren<QWidget*>())
    if (ControlId(w) == id) return w;
  return nullptr;
}

void ApplyDialogTexts(QWidget* window, int dialogId, const LanguagePack& language) {
  const std::string title = language.DialogText(dialogId, LanguagePack::kDialogTitle);
  if (!title.empty()) window->setWindowTitle(QtText(title));
  for (QWidget* w : window->findChildren<QWidget*>()) {
    const QVariant id = w->property(kIdProperty);
    if (!id.isValid()) continue;
    const std::string text = language.DialogText(dialogId, id.toInt());
    if (!text.empty()) SetText(w, QtText(text));
  }
}

}  // namespace vex
