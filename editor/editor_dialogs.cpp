#include "editor/editor_dialogs.h"

#include <QFileDialog>
#include <QMessageBox>

#include "editor/row_col_dialog.h"

namespace vex {
namespace {

const QString kTableFilter = QStringLiteral("VexTable File(*.vtf)");

std::optional<std::string> Chosen(const QString& path) {
  if (path.isEmpty()) return std::nullopt;
  return path.toStdString();
}

}  // namespace

std::optional<std::string> EditorDialogs::OpenTablePath(QWidget* parent) {
  return Chosen(QFileDialog::getOpenFileName(parent, QString(), QString(), kTableFilter));
}

std::optional<std::string> EditorDialogs::SaveTablePath(QWidget* parent) {
  QFileDialog dialog(parent, QString(), QString(), kTableFilter);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix(QStringLiteral("vtf"));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return Chosen(dialog.selectedFiles().front());
}

std::optional<std::string> EditorDialogs::DrawingPath(QWidget* parent) {
  QFileDialog dialog(parent, QString(), QString(), QStringLiteral("DXF (*.dxf)"));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix(QStringLiteral("dxf"));
  // The table is added to an existing drawing, not written over it.
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return Chosen(dialog.selectedFiles().front());
}

std::optional<int> EditorDialogs::LineSize(QWidget* parent, const LanguagePack& language, bool column, int value) {
  RowColDialog dialog(parent, language, column ? RowColDialog::kColumnWidth : RowColDialog::kRowHeight, value);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.Value();
}

void EditorDialogs::Tell(QWidget* parent, const QString& title, const QString& text) {
  QMessageBox::information(parent, title, text);
}

}  // namespace vex
