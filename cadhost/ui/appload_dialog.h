#pragma once
// APPLOAD's dialog: the applications loaded, a file to load (typed, or found with Browse) and
// the selected application to unload. What the host says about each load shows in the dialog
// as on the command line.

#include <QDialog>

class QLabel;
class QLineEdit;
class QListWidget;

namespace cadhost::ui {

class AppLoadDialog : public QDialog {
  Q_OBJECT

 public:
  explicit AppLoadDialog(QWidget* parent = nullptr);

  // Loads the application named in the file field; true when it is loaded.
  bool Load();
  // Unloads the selected application; true when it went.
  bool Unload();
  QLineEdit* FileField() const { return m_file; }
  QListWidget* List() const { return m_list; }
  QString Message() const;

 private:
  void Fill();
  void Browse();
  QListWidget* m_list;
  QLineEdit* m_file;
  QLabel* m_message;
};

}  // namespace cadhost::ui
