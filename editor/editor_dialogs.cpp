#include "editor/editor_dialogs.h"

#include <QFileDialog>
#include <QMessageBox>

#include "editor/row_col_dialog.h"
#include "files/header_manager_dialog.h"
#include "files/save_header_dialog.h"
#include "files/table_init_dialog.h"

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

std::optional<TableInitAnswer> EditorDialogs::InitTable(QWidget* parent, const LanguagePack& language,
                                                        HeaderLibrary& library, double styleHeightMm,
                                                        const QString& caption, ImageStore& pictures,
                                                        MessageSink& messages) {
  return TableInitDialog::Run(parent, language, library, styleHeightMm, caption, pictures, messages);
}

std::optional<SaveHeaderAnswer> EditorDialogs::SaveHeader(QWidget* parent, const LanguagePack& language,
                                                          HeaderLibrary& library) {
  SaveHeaderDialog dialog(parent, language, library);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.Answer();
}

void EditorDialogs::ManageHeaders(QWidget* parent, const LanguagePack& language, HeaderLibrary& library,
                                  double styleHeightMm) {
  HeaderManagerDialog dialog(parent, language, library, styleHeightMm, std::string(), kManagerFromEditor);
  dialog.exec();
}

void EditorDialogs::Tell(QWidget* parent, const QString& title, const QString& text) {
  QMessageBox::information(parent, title, text);
}

}  // namespace vex
