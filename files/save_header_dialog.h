#pragma once
// The save-header window (dialog 238): the header's name, its class (an editable box of the
// library's classes) and its type as three picture buttons (vertical, horizontal, full). OK
// runs CheckSaveHeader: a refused name leaves the dialog open with the reason shown.

#include <QDialog>

#include <functional>
#include <string>
#include <vector>

#include "files/header_dialog_rules.h"

class QButtonGroup;
class QComboBox;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace vex {

class HeaderLibrary;
class LanguagePack;

class SaveHeaderDialog : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kDialogId = 238;
  static constexpr int kNameId = 251;
  static constexpr int kClassId = 253;
  // The type buttons and the resource ids of their pictures.
  static constexpr int kVerticalId = 255, kHorizontalId = 257, kFullId = 259;
  static constexpr int kVerticalPicture = 256, kHorizontalPicture = 258, kFullPicture = 260;

  SaveHeaderDialog(QWidget* parent, const LanguagePack& language, HeaderLibrary& library);

  // After OK: the name, class and type to save.
  const SaveHeaderAnswer& Answer() const { return answer_; }

  // Shows a message with an OK button (tests read it in place of the message box).
  using Tell = std::function<void(QWidget* parent, const QString& text)>;
  void SetTell(Tell tell) { tell_ = std::move(tell); }

  // --- parts, for tests
  QLineEdit* NameField() const { return name_; }
  QComboBox* ClassBox() const { return class_; }
  QToolButton* TypeButton(int type) const { return types_[type]; }
  QPushButton* OkButton() const { return ok_; }

 protected:
  void accept() override;

 private:
  HeaderLibrary& library_;
  std::string noClassText_;
  std::string defaultName_;
  SaveHeaderAnswer answer_;
  Tell tell_;

  QLineEdit* name_ = nullptr;
  QComboBox* class_ = nullptr;
  QButtonGroup* typeGroup_ = nullptr;
  QToolButton* types_[3] = {};
  QPushButton* ok_ = nullptr;
};

// The picture of a header type's button (one of the k*Picture ids), drawn at `size` pixels:
// a small table whose header part is shaded and whose free direction an arrow shows.
QPixmap HeaderTypePicture(int pictureId, int size);

}  // namespace vex
