#pragma once
// The header manager window (dialog 239): the library's classes as a tree with their headers,
// a preview of the selected header in the grid at zoom 0.75, Delete (after asking), OK (hidden
// when opened from the editor) and Close. Resizable: the preview takes the room.

#include <QDialog>

#include <functional>
#include <memory>
#include <string>

#include "files/header_dialog_rules.h"

class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace vex {

class GridCtrl;
class HeaderLibrary;
class ImageStore;
class LanguagePack;

class HeaderManagerDialog : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kDialogId = 239;
  static constexpr int kOkId = 1;
  static constexpr int kDeleteId = 244;
  static constexpr int kCloseId = 246;
  static constexpr double kPreviewZoom = 0.75;

  // `preselect` is the header to select; `mode` kManagerFromInitDialog or kManagerFromEditor.
  HeaderManagerDialog(QWidget* parent, const LanguagePack& language, HeaderLibrary& library, double styleHeightMm,
                      const std::string& preselect, int mode);
  ~HeaderManagerDialog() override;

  // The class and header last selected ("" when none).
  const std::string& LastClass() const { return lastClass_; }
  const std::string& LastHeader() const { return lastHeader_; }

  // Asks a yes/no question (tests answer in place of the message box).
  using Ask = std::function<bool(QWidget* parent, const QString& caption, const QString& question)>;
  void SetAsk(Ask ask) { ask_ = std::move(ask); }

  // --- parts, for tests
  QTreeWidget* Tree() const { return tree_; }
  GridCtrl& Preview() const { return *preview_; }
  QPushButton* DeleteButton() const { return delete_; }
  QPushButton* OkButton() const { return ok_; }
  QPushButton* CloseButton() const { return close_; }

 private:
  void FillTree(const std::string& preselect);
  void OnSelected(QTreeWidgetItem* item);
  void ShowPreview(const std::string& path);
  void ClearPreview();
  void DeleteSelected();
  // Deletes one header item's file; false (with the reason shown) when it fails.
  bool DeleteHeaderItem(QTreeWidgetItem* item);
  void Tell(const QString& text);

  const LanguagePack& language_;
  HeaderLibrary& library_;
  double styleHeightMm_;
  std::unique_ptr<ImageStore> pictures_;  // the pictures of the header shown
  std::string lastClass_, lastHeader_;
  std::string shownPath_;
  Ask ask_;

  QTreeWidget* tree_ = nullptr;
  GridCtrl* preview_ = nullptr;
  QPushButton* delete_ = nullptr;
  QPushButton* ok_ = nullptr;
  QPushButton* close_ = nullptr;
};

}  // namespace vex
