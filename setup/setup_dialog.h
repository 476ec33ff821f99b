#pragma once
// The setup window (dialog 102): the product list as a tree with a check box per row and the
// start-up choice in its second column, the maker's logo, Default, Help, OK and Cancel. Its
// rules are ProductList's; this only shows them and hands clicks on.

#include <QDialog>
#include <functional>

#include "setup/product_list.h"
#include "setup/setup_program.h"

class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace vex::setup {

// Control ids of the dialog (each widget's objectName is its id).
inline constexpr int kSetupDialogId = 102;
inline constexpr int kProductFrame = 1008;
inline constexpr int kProductTree = 4097;
inline constexpr int kLogo = 1002;
inline constexpr int kHomeLink = 1003;
inline constexpr int kDefaultButton = 3;
inline constexpr int kHelpButton = 1004;
inline constexpr int kOkButton = 1;
inline constexpr int kCancelButton = 2;

inline constexpr const char* kSetupCaption = "VexTable For AutoCAD Load Setting － Harbek  SoftWare";

// What the window's buttons do outside it.
struct SetupDialogActions {
  ApplyList apply;                           // OK
  std::function<void()> openHomePage;        // the logo and the link
  std::function<void()> openHelp;            // Help and the Help key
  std::function<void(std::string_view)> message;  // a failure of OK, told in a message box
};

class SetupDialog : public QDialog {
  Q_OBJECT

 public:
  SetupDialog(ProductList list, SetupDialogActions actions, QWidget* parent = nullptr);

  const ProductList& List() const { return list_; }
  QTreeWidget* Tree() const { return tree_; }
  // The tree's row of a list row (nullptr for an invalid one).
  QTreeWidgetItem* Item(RowRef row) const;
  QLabel* Logo() const { return logo_; }
  QLabel* HomeLink() const { return link_; }
  QPushButton* DefaultButton() const { return default_; }
  QPushButton* HelpButton() const { return help_; }
  QPushButton* OkButton() const { return ok_; }
  QPushButton* CancelButton() const { return cancel_; }

 protected:
  void keyPressEvent(QKeyEvent* e) override;

 private:
  void OpenHelp();
  void Fill();
  void Refresh();
  void OnItemChanged(QTreeWidgetItem* item, int column);
  void OnOk();

  ProductList list_;
  SetupDialogActions actions_;
  QTreeWidget* tree_ = nullptr;
  QLabel* logo_ = nullptr;
  QLabel* link_ = nullptr;
  QPushButton* default_ = nullptr;
  QPushButton* help_ = nullptr;
  QPushButton* ok_ = nullptr;
  QPushButton* cancel_ = nullptr;
  bool refreshing_ = false;
};

}  // namespace vex::setup
