#pragma once
// The table initialization window (dialog 203): the class and header lists, the four size
// fields with their spin arrows, the header's information line, "Set Header" (the header
// manager) and OK. Its rules are TableInit's and the list functions of header_dialog_rules.h;
// this only shows them and reads the drafter's input.

#include <QDialog>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "files/header_dialog_rules.h"
#include "files/table_init.h"

class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;

namespace vex {

class HeaderLibrary;
class ImageStore;
class LanguagePack;
class MessageSink;

class TableInitDialog : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kDialogId = 203;
  static constexpr int kSetHeaderId = 220;

  // `caption` shows until the language's own title for the dialog replaces it; `styleHeightMm`
  // is the table text style's height, for the header manager's preview.
  TableInitDialog(QWidget* parent, const LanguagePack& language, HeaderLibrary& library, double styleHeightMm,
                  const QString& caption);
  ~TableInitDialog() override;

  // After OK: what the drafter chose.
  const TableInitAnswer& Answer() const { return answer_; }
  // OK's answer with the pictures of a chosen header read into `pictures` (the caller's store,
  // left alone while the drafter only browsed).
  static std::optional<TableInitAnswer> Run(QWidget* parent, const LanguagePack& language, HeaderLibrary& library,
                                            double styleHeightMm, const QString& caption, ImageStore& pictures,
                                            MessageSink& messages);

  // Opens the header manager (tests put a stand-in here): its input is the header to
  // preselect, its output the class and header last selected.
  struct ManagerResult {
    std::string className, headerName;
  };
  using ManagerRunner = std::function<ManagerResult(QWidget* parent, const std::string& preselect)>;
  void SetManagerRunner(ManagerRunner runner) { runManager_ = std::move(runner); }

  // --- parts, for tests
  QComboBox* ClassBox() const { return classBox_; }
  QComboBox* HeaderBox() const { return headerBox_; }
  QSpinBox* Field(SizeField f) const;
  QLabel* InfoLine() const { return info_; }
  QPushButton* SetHeaderButton() const { return setHeader_; }
  QPushButton* OkButton() const { return ok_; }
  const TableInit& Rules() const { return init_; }

 protected:
  void accept() override;

 private:
  void FillClasses(std::string_view select);
  void FillHeaders(std::string_view select);
  void OnClassChosen(int index);
  void OnHeaderChosen(int index);
  void TakeTyped(SizeField f);
  void Refresh();
  void OpenManager();

  const LanguagePack& language_;
  HeaderLibrary& library_;
  double styleHeightMm_;
  TableInit init_;
  std::string headerName_, headerPath_;
  std::vector<std::string> classList_, headerList_;
  std::string className_;  // the class the header list shows ("" for all)
  std::unique_ptr<ImageStore> browsing_;  // pictures of the headers looked at
  TableInitAnswer answer_;
  ManagerRunner runManager_;
  bool filling_ = false;

  QComboBox* classBox_ = nullptr;
  QComboBox* headerBox_ = nullptr;
  QSpinBox* fields_[4] = {};
  QLabel* info_ = nullptr;
  QPushButton* setHeader_ = nullptr;
  QPushButton* ok_ = nullptr;
};

}  // namespace vex
