#pragma once
// The floating command toolbar (dialog 233): a small, semi-transparent, captionless strip over
// the host's window whose buttons post the plug-in's main commands. It is dragged by any free
// spot and by its handle, keeps its place under "MAIN_TOOLBAR", and its close mark closes it
// until VEXTABLE shows it again. There is at most one.

#include <QDialog>

#include <functional>
#include <string>

#include "settings/language_pack.h"
#include "settings/profile_file.h"

class QLabel;
class QToolButton;

namespace vex {

// What the toolbar asks of the plug-in around it.
struct ToolbarActions {
  std::function<void(const std::string& command)> post;  // posts a host command
  std::function<void()> help;                            // opens the help file
  std::function<void()> closedByMark;                    // the close mark was clicked
};

class FloatingToolbar : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kDialogId = 233;
  static constexpr int kHandle = 263, kSettings = 247, kOpenTable = 261, kNewTable = 248, kEditTable = 250,
                       kExcel = 252, kHelp = 254, kCloseMark = 264;
  // About two thirds opaque (168 of 255).
  static constexpr double kOpacity = 168.0 / 255.0;

  FloatingToolbar(QWidget* owner, const ProfileFile& settings, const LanguagePack& language, ToolbarActions actions);
  // Writes the position to "MAIN_TOOLBAR".
  ~FloatingToolbar() override;

  // The caption texts and tool tips from the active language.
  void ApplyTexts();
  // Moves the toolbar to its stored place (`fallback` when none is stored), pulled onto the screen.
  void PlaceAt(int fallbackX, int fallbackY);
  // Writes the current top-left corner to "MAIN_TOOLBAR".
  void SavePosition() const;

  QToolButton* Button(int id) const;
  QLabel* Handle() const { return handle_; }
  QLabel* CloseMark() const { return closeMark_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void closeEvent(QCloseEvent* e) override;
  void reject() override {}

 private:
  void StartDrag(const QPoint& globalPos);

  ProfileFile settings_;
  LanguagePack language_;
  ToolbarActions actions_;
  QLabel* handle_ = nullptr;
  QLabel* closeMark_ = nullptr;
  bool dragging_ = false;
  QPoint dragOffset_;
};

// The plug-in's one toolbar: shown (made first when there is none) by VEXTABLE and at load,
// destroyed at unload. Toolbar() is null while there is none.
void ShowToolbar();
void DestroyToolbar();
FloatingToolbar* Toolbar();

}  // namespace vex
