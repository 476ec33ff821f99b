// The table editor window: building its menus, toolbars and boxes, its placement, and the
// keys and close paths of the dialog.

#include "editor/table_editor_window.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHideEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QToolBar>
#include <QVBoxLayout>
#include <QWidgetAction>

#include "editor/dialog_texts.h"
#include "editor/editor_icons.h"
#include "editor/editor_texts.h"
#include "editor/grid/grid_ctrl.h"
#include "files/header_library.h"
#include "model/editor_boxes.h"
#include "model/editor_commands.h"
#include "model/grid_journal.h"
#include "model/grid_millimetres.h"
#include "settings/language_pack.h"
#include "settings/replacement.h"
#include "settings/window_placement.h"

namespace vex {
namespace {

using namespace editor_cmd;

// The size the window is made with, which is also the smallest it can be made.
constexpr int kCreationWidth = 720;
constexpr int kCreationHeight = 460;
constexpr int kBoxWidth = 60;

// The web submenu inside Help, by this mark in the Help menu's items.
constexpr int kWebSubmenu = -1;
constexpr const char* kWebSubmenuKey = "IDS_MENU_WEB";
const std::vector<int> kWebItems = {kWebHome, kWebForum, kWebMail};

// A menu: its caption key and its items (kSeparator between groups; kWebSubmenu).
struct MenuLayout {
  const char* key;
  std::vector<int> items;
};

const std::vector<MenuLayout>& MenuLayouts() {
  static const std::vector<MenuLayout> menus = {
      {"IDS_MENU_FILE", {kNew, kOpen, kEditDrawn, kSave, kSeparator, kExcelImport, kExcelExport, kSeparator, kClose}},
      {"IDS_MENU_EDIT",
       {kUndo, kRedo, kSeparator, kCut, kCopy, kPaste, kSeparator, kDeleteRows, kDeleteCols, kSeparator, kFlipH, kFlipV}},
      {"IDS_MENU_INSERT", {kRowsAbove, kRowsBelow, kColsLeft, kColsRight}},
      {"IDS_MENU_FORMAT", {kRowHeight, kColWidth}},
      {"IDS_MENU_IMAGE", {kSelectImage, kDrawImage, kDeleteImage}},
      {"IDS_MENU_TOOLS", {kReplacementList, kSeparator, kInsertHeader, kSaveHeader, kHeaderManager, kHeaderWeb}},
      {"IDS_MENU_HELP", {kHelpContents, kSupport, kUpdate, kSeparator, kWebSubmenu, kSeparator, kAbout}},
  };
  return menus;
}

// The menu text key of each menu item.
const char* MenuKey(int id) {
  switch (id) {
    case kNew: return "IDS_MENUITEM_NEW";
    case kOpen: return "IDS_MENUITEM_OPEN";
    case kEditDrawn: return "IDS_MENUITEM_EDIT";
    case kSave: return "IDS_MENUITEM_SAVE";
    case kExcelImport: return "IDS_MENUITEM_EXCEL_IMPORT";
    case kExcelExport: return "IDS_MENUITEM_EXCEL_EXPORT";
    case kClose: return "IDS_MENUITEM_CLOSE";
    case kUndo: return "IDS_MENUITEM_UNDO";
    case kRedo: return "IDS_MENUITEM_REDO";
    case kCut: return "IDS_MENUITEM_CUT";
    case kCopy: return "IDS_MENUITEM_COPY";
    case kPaste: return "IDS_MENUITEM_PASTE";
    case kDeleteRows: return "IDS_MENUITEM_DEL_ROW";
    case kDeleteCols: return "IDS_MENUITEM_DEL_COL";
    case kFlipH: return "IDS_MENUITEM_H_FLIP";
    case kFlipV: return "IDS_MENUITEM_V_FLIP";
    case kRowsAbove: return "IDS_MENUITEM_IN_ROW";
    case kRowsBelow: return "IDS_MENUITEM_IN_B_ROW";
    case kColsLeft: return "IDS_MENUITEM_IN_COL";
    case kColsRight: return "IDS_MENUITEM_IN_B_COL";
    case kRowHeight: return "IDS_MENUITEM_ROWH";
    case kColWidth: return "IDS_MENUITEM_COLW";
    case kSelectImage: return "IDS_MENUITEM_IMAGE_SELECT";
    case kDrawImage: return "IDS_MENUITEM_IMAGE_DRAW";
    case kDeleteImage: return "IDS_MENUITEM_IMAGE_DELETE";
    case kReplacementList: return "IDS_MENUITEM_TURN";
    case kInsertHeader: return "IDS_MENUITEM_TITLE_INS";
    case kSaveHeader: return "IDS_MENUITEM_TITLE_ADD";
    case kHeaderManager: return "IDS_MENUITEM_TITLE_MAN";
    case kHeaderWeb: return "IDS_MENUITEM_TITLE_WEB";
    case kHelpContents: return "IDS_MENUITEM_CONTENT";
    case kSupport: return "IDS_MENUITEM_SUPPORT";
    case kUpdate: return "IDS_MENUITEM_UPDATE";
    case kWebHome: return "IDS_MENUITEM_WEB_MAIN";
    case kWebForum: return "IDS_MENUITEM_WEB_BBS";
    case kWebMail: return "IDS_MENUITEM_WEB_EMAIL";
    case kAbout: return "IDS_MENUITEM_ABOUT";
    default: return nullptr;
  }
}

// The toolbar-only commands, by their own identifiers.
constexpr int kToolbarOnly[] = {kTbText,   kTbPicture, kTbLeft,  kTbCentre,         kTbRight,
                                kTbTop,    kTbMiddle,  kTbBottom, kTbMerge,         kTbUnmerge,
                                kTbUseReplacement, kTbFullEditing, kTbLoadAutosave};

QString ToolTipKey(int id) { return QStringLiteral("IDS_BTN_TOOLBAR_%1").arg(id); }

constexpr const char* kMenuKeyProperty = "vexMenuKey";

// Owned by the host's window, the editor is a dialog of it: the window manager keeps it above
// that window, which the commands activate after showing it. Without an owner it is the
// program's main window.
Qt::WindowFlags EditorWindowFlags(bool owned) {
  return (owned ? Qt::Dialog : Qt::Window) | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
         Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint;
}

}  // namespace

TableEditorWindow::TableEditorWindow(EditorHost& host, std::unique_ptr<EditorDialogs> dialogs)
    : QDialog(host.OwnerWindow(), EditorWindowFlags(host.OwnerWindow() != nullptr)),
      host_(host),
      dialogs_(dialogs ? std::move(dialogs) : std::make_unique<EditorDialogs>()) {
  setObjectName(QStringLiteral("TableEditor"));
  setModal(false);
  const LanguagePack language = Language();
  const std::string title = language.DialogText(kDialogId, LanguagePack::kDialogTitle);
  setWindowTitle(title.empty() ? QStringLiteral("VexTable") : QString::fromStdString(title));

  grid_ = new GridCtrl(this);
  grid_->setObjectName(QStringLiteral("Grid"));
  grid_->SetEditable(true);
  grid_->SetDragAndDrop(true);
  grid_->SetCommandPoster({[this] { return host_.HasActiveDocument(); },
                           [this](const std::string& name) { host_.PostCommand(name); }});
  journal_ = std::make_unique<GridJournal>(grid_->Model());
  millimetres_ = std::make_unique<GridMillimetres>(grid_->Model());
  journal_->SetOnChange([this] { UpdateUndoActions(); });
  grid_->SetChangeGrouping([this](bool begin) {
    if (begin) journal_->BeginStep();
    else journal_->EndStep();
  });
  connect(grid_, &GridCtrl::Notify, this, &TableEditorWindow::OnGridNotify, Qt::DirectConnection);

  const auto dialogText = [&](int control, const char* resource) {
    const std::string t = language.DialogText(kDialogId, control);
    return t.empty() ? QString::fromUtf8(resource) : QString::fromStdString(t);
  };
  drawButton_ = new QPushButton(dialogText(1, "绘 制"), this);
  cancelButton_ = new QPushButton(dialogText(2, "取 消"), this);
  SetControlId(drawButton_, 1);
  SetControlId(cancelButton_, 2);
  for (QPushButton* b : {drawButton_, cancelButton_}) {
    // Enter and Escape belong to the grid: neither button is ever the default.
    b->setAutoDefault(false);
    b->setDefault(false);
    b->setFixedSize(80, 24);
  }
  connect(drawButton_, &QPushButton::clicked, this, &TableEditorWindow::Draw);
  connect(cancelButton_, &QPushButton::clicked, this, &TableEditorWindow::Cancel);

  BuildActions();
  menuBar_ = new QMenuBar(this);
  BuildMenus();
  fileBar_ = new QToolBar(this);
  formatBar_ = new QToolBar(this);
  fileBar_->setObjectName(QStringLiteral("FileToolbar"));
  formatBar_->setObjectName(QStringLiteral("FormatToolbar"));
  BuildToolbars();

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(drawButton_);
  buttons->addSpacing(30);
  buttons->addWidget(cancelButton_);
  buttons->addSpacing(28);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(2, 0, 2, 2);
  layout->setSpacing(1);
  layout->setMenuBar(menuBar_);
  layout->addWidget(fileBar_);
  layout->addWidget(formatBar_);
  layout->addWidget(grid_, 1);
  layout->addLayout(buttons);
  setSizeGripEnabled(true);

  resize(kCreationWidth, kCreationHeight);
  setMinimumSize(kCreationWidth, kCreationHeight);
  RestorePlacement();
  zoom_ = ReadEditorZoom(SettingsFile(), zoom_);
  zoomBox_->setEditText(QString::fromStdString(ZoomText(zoom_)));
  ApplyMode();
  UpdateUndoActions();
}

TableEditorWindow::~TableEditorWindow() {
  SavePlacement();
  // The children go after this body, and a focus change while they go may still send their
  // signals: nothing of them may reach the window or the journal any more.
  grid_->EndEditing();
  grid_->SetChangeGrouping({});
  for (QObject* child : std::initializer_list<QObject*>{grid_, zoomBox_, zoomBox_->lineEdit(), valueBox_,
                                                        valueBox_->lineEdit()})
    child->disconnect(this);
  // The journal must not outlive the grid's model it watches.
  journal_.reset();
  millimetres_.reset();
}

// ---------------------------------------------------------------- actions, menus, toolbars

QAction* TableEditorWindow::AddAction(int id, const QString& text, const QString& tip) {
  auto* a = new QAction(EditorIcon(id), text, this);
  a->setData(id);
  if (!tip.isEmpty()) a->setToolTip(tip);
  actions_[id] = a;
  connect(a, &QAction::triggered, this, [this, id] { RunCommand(id); });
  return a;
}

void TableEditorWindow::BuildActions() {
  const LanguagePack language = Language();
  std::vector<int> items = kWebItems;
  for (const MenuLayout& menu : MenuLayouts()) items.insert(items.end(), menu.items.begin(), menu.items.end());
  for (int id : items) {
    if (id == kSeparator || id == kWebSubmenu || actions_.count(id)) continue;
    const MenuText text = SplitMenuText(EditorText(language, MenuKey(id)));
    QAction* a = AddAction(id, text.caption, QString());
    if (!text.accelerator.isEmpty()) {
      a->setShortcut(QKeySequence(text.accelerator, QKeySequence::PortableText));
    }
  }
  // The menu's Help key works anywhere in the window.
  if (QAction* help = actions_[kHelpContents]; help && help->shortcut().isEmpty()) help->setShortcut(QKeySequence::HelpContents);
  for (int id : kToolbarOnly) AddAction(id, QString(), QString());

  horizontalGroup_ = new QActionGroup(this);
  verticalGroup_ = new QActionGroup(this);
  kindGroup_ = new QActionGroup(this);
  for (int id : {kTbLeft, kTbCentre, kTbRight}) horizontalGroup_->addAction(Action(id));
  for (int id : {kTbTop, kTbMiddle, kTbBottom}) verticalGroup_->addAction(Action(id));
  for (int id : {kTbText, kTbPicture}) kindGroup_->addAction(Action(id));
  for (QActionGroup* g : {horizontalGroup_, verticalGroup_, kindGroup_}) {
    g->setExclusive(true);
    for (QAction* a : g->actions()) a->setCheckable(true);
  }
  Action(kTbCentre)->setChecked(true);
  Action(kTbMiddle)->setChecked(true);
  Action(kTbText)->setChecked(true);
  QAction* use = Action(kTbUseReplacement);
  use->setCheckable(true);
  use->setChecked(replacementOn_);

  zoomBox_ = new QComboBox(this);
  zoomBox_->setObjectName(QStringLiteral("ZoomBox"));
  zoomBox_->setEditable(true);
  zoomBox_->setInsertPolicy(QComboBox::NoInsert);
  for (const std::string& item : ZoomItems()) zoomBox_->addItem(QString::fromStdString(item));
  zoomBox_->setEditText(QStringLiteral("100%"));
  valueBox_ = new QComboBox(this);
  valueBox_->setObjectName(QStringLiteral("ValueBox"));
  valueBox_->setEditable(true);
  valueBox_->setInsertPolicy(QComboBox::NoInsert);
  for (QComboBox* box : {zoomBox_, valueBox_}) {
    box->setFixedWidth(kBoxWidth);
    box->setMaxVisibleItems(14);  // about 300 pixels of list
    box->lineEdit()->setFrame(false);
  }
  SetBoxMode(false);
  valueBox_->setEditText(QStringLiteral("3"));
  ApplyActionTexts(language);
  zoomAction_ = new QWidgetAction(this);
  zoomAction_->setDefaultWidget(zoomBox_);
  valueAction_ = new QWidgetAction(this);
  valueAction_->setDefaultWidget(valueBox_);

  connect(zoomBox_, &QComboBox::textActivated, this, [this](const QString& t) { OnZoomBox(t, true); });
  connect(zoomBox_->lineEdit(), &QLineEdit::textEdited, this, [this](const QString& t) { OnZoomBox(t, false); });
  connect(zoomBox_->lineEdit(), &QLineEdit::editingFinished, this, [this] { OnZoomBox(zoomBox_->currentText(), true); });
  connect(valueBox_, &QComboBox::textActivated, this, [this](const QString& t) { ApplyBoxValue(t); });
  connect(valueBox_->lineEdit(), &QLineEdit::textEdited, this, [this](const QString& t) { ApplyBoxValue(t); });
  connect(valueBox_->lineEdit(), &QLineEdit::editingFinished, this, [this] {
    ApplyBoxValue(valueBox_->currentText());
    ++boxSession_;
  });
}

void TableEditorWindow::ApplyActionTexts(const LanguagePack& language) {
  for (auto& [id, a] : actions_)
    if (const char* key = MenuKey(id)) a->setText(SplitMenuText(EditorText(language, key)).caption);
  // Toolbar buttons that repeat a menu item show the button's own tip.
  std::vector<int> buttons = editor_cmd::FileToolbar(true);
  const std::vector<int> format = editor_cmd::FormatToolbar(true);
  buttons.insert(buttons.end(), format.begin(), format.end());
  buttons.push_back(kTbFullEditing);
  for (int id : buttons) {
    if (id == kSeparator || id == kTbZoom || id == kTbValueBox) continue;
    if (QAction* a = Action(id)) a->setToolTip(EditorText(language, ToolTipKey(id).toStdString()));
  }
  for (int id : kToolbarOnly)
    if (QAction* a = Action(id)) a->setText(a->toolTip());
  if (zoomBox_) zoomBox_->setToolTip(EditorText(language, ToolTipKey(kTbZoom).toStdString()));
  if (valueBox_) valueBox_->setToolTip(EditorText(language, ToolTipKey(kTbValueBox).toStdString()));
}

void TableEditorWindow::ApplyTexts() {
  const LanguagePack language = Language();
  const std::string title = language.DialogText(kDialogId, LanguagePack::kDialogTitle);
  setWindowTitle(title.empty() ? QStringLiteral("VexTable") : QtText(title));
  ApplyDialogTexts(this, kDialogId, language);
  ApplyActionTexts(language);
  for (QMenu* menu : menus_) menu->setTitle(EditorText(language, menu->property(kMenuKeyProperty).toString().toStdString()));
  // The window flashes once so that the drafter sees it changed.
  QApplication::alert(this, 500);
  update();
}

QAction* TableEditorWindow::Action(int id) const {
  const auto it = actions_.find(CanonicalCommand(id));
  return it == actions_.end() ? nullptr : it->second;
}

void TableEditorWindow::BuildMenus() {
  const LanguagePack language = Language();
  const bool inside = host_.InsideHost();
  for (const MenuLayout& layout : MenuLayouts()) {
    const std::vector<int> items = OfferedEntries(layout.items, &Offered, inside);
    if (items.empty()) continue;
    QMenu* menu = menuBar_->addMenu(EditorText(language, layout.key));
    menu->setProperty(kMenuKeyProperty, QString::fromUtf8(layout.key));
    menus_.push_back(menu);
    for (int id : items) {
      if (id == kSeparator) {
        menu->addSeparator();
      } else if (id == kWebSubmenu) {
        QMenu* web = menu->addMenu(EditorText(language, kWebSubmenuKey));
        web->setProperty(kMenuKeyProperty, QString::fromUtf8(kWebSubmenuKey));
        web->setIcon(EditorIcon(kWebHome));
        menus_.push_back(web);
        for (int w : OfferedEntries(kWebItems, &Offered, inside)) web->addAction(Action(w));
      } else {
        menu->addAction(Action(id));
      }
    }
  }
  // Commands that are not offered do not exist for the window at all, shortcuts included.
  for (auto& [id, action] : actions_)
    if (!Offered(id, inside)) action->setVisible(false), action->setEnabled(false);
}

void TableEditorWindow::BuildToolbars() {
  for (QToolBar* bar : {fileBar_, formatBar_}) {
    bar->setIconSize(QSize(16, 16));
    bar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    bar->setMovable(false);
    bar->setFloatable(false);
  }
}

void TableEditorWindow::FillToolbar(QToolBar* bar, const std::vector<int>& entries) {
  // The boxes belong to their actions and survive the bar letting go of them.
  bar->clear();
  for (int id : OfferedEntries(entries, &Offered, host_.InsideHost())) {
    if (id == kSeparator) bar->addSeparator();
    else if (id == kTbZoom) bar->addAction(zoomAction_);
    else if (id == kTbValueBox) bar->addAction(valueAction_);
    else if (QAction* a = Action(id)) bar->addAction(a);
  }
}

void TableEditorWindow::ApplyMode() {
  FillToolbar(fileBar_, editor_cmd::FileToolbar(fullEditing_));
  FillToolbar(formatBar_, editor_cmd::FormatToolbar(fullEditing_));
  const bool inside = host_.InsideHost();
  for (auto& [id, action] : actions_) {
    if (!Offered(id, inside)) continue;
    action->setEnabled(fullEditing_ || !GreyedInContentsOnly(id));
  }
  Action(kTbFullEditing)->setEnabled(!fullEditing_);
  grid_->SetRowResize(fullEditing_);
  grid_->SetColumnResize(fullEditing_);
  UpdateUndoActions();
}

void TableEditorWindow::SetFullEditing(bool full) {
  fullEditing_ = full;
  ApplyMode();
}

// ---------------------------------------------------------------- placement

// The record keeps the frame's corner (the title bar stays on the screen when it is pulled back
// onto it) and the client area's size: the window manager's borders are unknown before the
// window shows. Without a record the window system places the window, over its owner.
void TableEditorWindow::RestorePlacement() {
  if (!HasWindowPlacement(SettingsFile(), kEditorPlacementSection)) return;
  const QRect g = geometry();
  WindowPlacement current;
  current.left = g.left();
  current.top = g.top();
  current.right = g.left() + g.width();
  current.bottom = g.top() + g.height();
  WindowPlacement p = ReadWindowPlacement(SettingsFile(), kEditorPlacementSection, current);
  QSize screen(kCreationWidth, kCreationHeight);
  if (const QScreen* s = QGuiApplication::primaryScreen()) screen = s->availableGeometry().size();
  p = PlacementOnScreen(p, screen.width(), screen.height());
  const int width = std::max(p.right - p.left, kCreationWidth), height = std::max(p.bottom - p.top, kCreationHeight);
  move(p.left, p.top);
  resize(width, height);
  if (p.showCmd == kShowMaximized) setWindowState(Qt::WindowMaximized);
}

void TableEditorWindow::SavePlacement() const {
  const QRect g = (isMaximized() || isMinimized()) ? normalGeometry() : geometry();
  if (!g.isValid()) return;
  const QPoint border = geometry().topLeft() - frameGeometry().topLeft();
  WindowPlacement p;
  p.showCmd = isMinimized() ? kShowMinimized : isMaximized() ? kShowMaximized : kShowNormal;
  p.left = g.left() - border.x();
  p.top = g.top() - border.y();
  p.right = p.left + g.width();
  p.bottom = p.top + g.height();
  const ProfileFile file = SettingsFile();
  if (file.Path().empty()) return;
  (void)WriteWindowPlacement(file, kEditorPlacementSection, p);
  (void)WriteEditorZoom(file, zoom_);
}

// ---------------------------------------------------------------- settings of the moment

LanguagePack TableEditorWindow::Language() const {
  return LanguagePack(host_.Where().languageFolder, host_.Where().settingsFile);
}

ProfileFile TableEditorWindow::SettingsFile() const { return ProfileFile(host_.Where().settingsFile); }

Settings TableEditorWindow::ReadSettingsNow() const { return ReadSettings(SettingsFile(), Language()); }

ReplacementList TableEditorWindow::Replacements() const {
  const ProfileFile file = SettingsFile();
  if (!file.Path().empty()) (void)file.PutInt("TURN_TEXT", "ENABLE", replacementOn_ ? 1 : 0);
  ReplacementList list;
  list.enabled = replacementOn_;
  list.LoadReplacements(file, Language());
  return list;
}

// ---------------------------------------------------------------- keys and closing

void TableEditorWindow::keyPressEvent(QKeyEvent* e) {
  // What the focused control left of Enter and Escape stops here: neither draws nor cancels.
  if (e->key() == Qt::Key_Escape || e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
    e->accept();
    return;
  }
  QDialog::keyPressEvent(e);
}

void TableEditorWindow::closeEvent(QCloseEvent* e) {
  e->accept();
  if (closing_) return;
  closing_ = true;
  grid_->EndEditing();
  hide();
  host_.EditorClosed();
}

void TableEditorWindow::hideEvent(QHideEvent* e) {
  if (!e->spontaneous() && !isMinimized()) hiddenAt_ = frameGeometry().topLeft();
  QDialog::hideEvent(e);
}

void TableEditorWindow::reject() { close(); }

void TableEditorWindow::Cancel() { close(); }

void TableEditorWindow::ShowRestored() {
  if (!isVisible() && hiddenAt_) move(*hiddenAt_);
  hiddenAt_.reset();
  if (isMinimized()) showNormal();
  else show();
  raise();
  host_.ActivateHost();
}

void TableEditorWindow::Minimize() {
  // Owned by the host's window, the editor is withdrawn instead: window managers iconify a
  // window together with the window that owns it (openbox the whole group), which would take
  // the drawing away while the drafter picks in it. ShowRestored shows it again.
  if (parentWidget() != nullptr) hide();
  else showMinimized();
}

}  // namespace vex
