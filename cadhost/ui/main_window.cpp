#include "cadhost/ui/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDockWidget>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPointer>
#include <QProgressBar>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>

#include <filesystem>

#include "cadhost/sdk/aced.h"
#include "cadhost/ui/appload_dialog.h"
#include "cadhost/ui/colour_dialog.h"
#include "cadhost/ui/command_line_widget.h"
#include "cadhost/ui/drawing_view.h"
#include "cadhost/ui/plot_command.h"
#include "cadhost/ui/view_commands.h"
#include "platform/registry.h"

namespace cadhost::ui {
namespace {

constexpr int kRecentFiles = 9;
const char* const kTitle = "CADHOST";

MainWindow* g_instance = nullptr;

std::string RecentKey() { return std::string(acrxProductKey()) + "\\Recent File List"; }

// The host's command-line view: text into the dock, the meter into the status bar.
class WindowView : public CommandLineView {
 public:
  explicit WindowView(MainWindow* w) : m_window(w) {}
  void Write(std::string_view text) override {
    if (m_window) m_window->CommandLine()->Append(text);
  }
  void ShowProgress(std::string_view label, int percent) override {
    if (m_window) m_window->ShowProgress(label, percent);
  }
  void RestoreStatusBar() override {
    if (m_window) m_window->RestoreStatusBar();
  }

 private:
  QPointer<MainWindow> m_window;
};

QString Q(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<int>(s.size())); }

}  // namespace

MainWindow::MainWindow() {
  g_instance = this;
  setWindowTitle(QString::fromLatin1(kTitle));
  m_tabs = new QTabWidget(this);
  m_tabs->setDocumentMode(true);
  m_tabs->setTabsClosable(true);
  m_tabs->setObjectName(QStringLiteral("drawings"));
  connect(m_tabs, &QTabWidget::currentChanged, this, &MainWindow::TabChosen);
  connect(m_tabs, &QTabWidget::tabCloseRequested, this, [this](int index) {
    auto* view = qobject_cast<DrawingView*>(m_tabs->widget(index));
    if (view == nullptr || CommandRunning()) return;
    acDocManager->activateDocument(view->Document());
    Post("_CLOSE");
  });
  setCentralWidget(m_tabs);

  m_commandLine = new CommandLineWidget(m_queue, this);
  auto* dock = new QDockWidget(QStringLiteral("Command Line"), this);
  dock->setObjectName(QStringLiteral("commandLineDock"));
  dock->setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
  dock->setWidget(m_commandLine);
  addDockWidget(Qt::BottomDockWidgetArea, dock);
  // Eight lines or so of history under the drawing.
  resizeDocks({dock}, {170}, Qt::Vertical);
  // The focus given to the window itself (a plug-in posting a command gives it to the host's
  // main window) goes to the command line: the drafter's next key answers the prompt there.
  setFocusProxy(m_commandLine->Input());

  m_coordinates = new QLabel(QStringLiteral("0.0000, 0.0000, 0.0000"), this);
  m_coordinates->setObjectName(QStringLiteral("coordinates"));
  m_coordinates->setMinimumWidth(220);
  m_snapButton = new QToolButton(this);
  m_snapButton->setText(QStringLiteral("OSNAP"));
  m_snapButton->setCheckable(true);
  m_snapButton->setChecked(true);
  m_snapButton->setToolTip(QStringLiteral("Object snap: END MID INT CEN (F3)"));
  connect(m_snapButton, &QToolButton::clicked, this, [this] { ToggleSnap(); });
  m_meterLabel = new QLabel(this);
  m_meter = new QProgressBar(this);
  m_meter->setRange(0, 100);
  m_meter->setMaximumWidth(200);
  m_meterLabel->hide();
  m_meter->hide();
  statusBar()->addWidget(m_coordinates);
  statusBar()->addWidget(m_snapButton);
  statusBar()->addWidget(m_meterLabel);
  statusBar()->addWidget(m_meter);

  BuildMenus();
  resize(1200, 800);
}

MainWindow::~MainWindow() {
  Detach();
  if (g_instance == this) g_instance = nullptr;
}

MainWindow* MainWindow::Instance() { return g_instance; }

void MainWindow::Attach() {
  m_attached = true;
  SetCommandLineView(std::make_unique<WindowView>(this));
  SetInputSource(m_queue.MakeSource());
  SetHostWindow(this);
  SetMainWindows(this, this);
  resbuf on{};
  on.restype = RTSHORT;
  on.resval.rint = 1;
  acedSetVar("FILEDIA", &on);
  AddViewCommands();
  AddPlotCommand();
  DocumentsChanged();
}

void MainWindow::Detach() {
  if (!m_attached) return;
  m_attached = false;
  m_queue.End();
  SetHostWindow(nullptr);
  SetMainWindows(nullptr, nullptr);
  SetCommandLineView(MakeConsoleView());
}

void MainWindow::Start(const WindowStart& start) {
  m_registryFolder = start.registryFolder;
  for (const std::string& path : start.drawings) {
    if (acDocManager->appContextOpenDocument(path.c_str()) != Acad::eOk) {
      const std::string why = acDocManager->lastOpenReport().message;
      const std::string text = "Cannot open " + path + ": " + (why.empty() ? "not a drawing" : why);
      acutPrintf("\n%s", text.c_str());
      Alert(text);
    }
  }
  if (acDocManager->documentCount() == 0) acDocManager->appContextNewDocument(nullptr);
  StartOptions options;
  options.profile = start.profile;
  options.registryFolder = start.registryFolder;
  StartHost(options);
  if (!start.startScript.empty()) {
    std::string error;
    if (!StartScript(start.startScript, error))
      acutPrintf("\nCannot open script %s: %s", start.startScript.c_str(), error.c_str());
  }
  FillRecentMenu();
  // Typing goes to the command line from the start.
  m_commandLine->Input()->setFocus();
}

void MainWindow::Post(const std::string& command) {
  const std::string text = "\x1b\x1b" + command + "\n";
  if (AcApDocument* doc = acDocManager->curDocument())
    acDocManager->sendStringToExecute(doc, text.c_str(), false);
  else
    m_queue.Type(text);
}

QAction* MainWindow::AddAction(QMenu* menu, const QString& name, const QString& text,
                               const QKeySequence& keys, std::function<void()> run) {
  auto* a = menu->addAction(text);
  a->setObjectName(name);
  // The keys work in this window and its floating docks, not in the plug-ins' windows it
  // owns: their own Ctrl+S or Ctrl+Z would be ambiguous, and then neither would run.
  if (!keys.isEmpty()) a->setShortcut(keys);
  connect(a, &QAction::triggered, this, [run = std::move(run)] { run(); });
  return a;
}

void MainWindow::BuildMenus() {
  auto command = [this](const char* name) { return [this, name] { Post(name); }; };
  QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
  m_commandActions = {
      AddAction(file, "fileNew", QStringLiteral("&New"), QKeySequence::New, command("_NEW")),
      AddAction(file, "fileOpen", QStringLiteral("&Open..."), QKeySequence::Open, command("_OPEN")),
      AddAction(file, "fileSave", QStringLiteral("&Save"), QKeySequence::Save, command("_QSAVE")),
      AddAction(file, "fileSaveAs", QStringLiteral("Save &As..."), QKeySequence::SaveAs,
                command("_SAVEAS")),
      AddAction(file, "fileClose", QStringLiteral("&Close"), QKeySequence(), command("_CLOSE")),
      AddAction(file, "filePlot", QStringLiteral("&Plot..."), QKeySequence::Print, command("_PLOT")),
  };
  file->addSeparator();
  m_recentMenu = file->addMenu(QStringLiteral("Recent &Files"));
  file->addSeparator();
  m_commandActions.push_back(
      AddAction(file, "fileExit", QStringLiteral("E&xit"), QKeySequence::Quit, command("_QUIT")));

  QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
  m_commandActions.push_back(AddAction(edit, "editUndo", QStringLiteral("&Undo"),
                                       QKeySequence(Qt::CTRL | Qt::Key_Z), command("_U")));
  m_commandActions.push_back(AddAction(edit, "editRedo", QStringLiteral("&Redo"),
                                       QKeySequence(Qt::CTRL | Qt::Key_Y), command("_REDO")));

  QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
  AddAction(view, "viewZoomExtents", QStringLiteral("Zoom &Extents"), QKeySequence(), [this] {
    if (DrawingView* v = CurrentView()) v->ZoomExtents();
  });
  AddAction(view, "viewZoomWindow", QStringLiteral("Zoom &Window"), QKeySequence(), [this] {
    if (DrawingView* v = CurrentView()) v->StartZoomWindow();
  });
  AddAction(view, "viewPan", QStringLiteral("&Pan"), QKeySequence(), [this] {
    if (DrawingView* v = CurrentView()) v->StartPan();
  });
  m_commandActions.push_back(AddAction(view, "viewRegen", QStringLiteral("&Regen"), QKeySequence(), [this] {
    if (DrawingView* v = CurrentView()) v->Regenerate();
    Post("_REGEN");
  }));

  QMenu* tools = menuBar()->addMenu(QStringLiteral("&Tools"));
  m_commandActions.push_back(AddAction(tools, "toolsLoadApplication",
                                       QStringLiteral("&Load Application..."), QKeySequence(),
                                       command("_APPLOAD")));
  AddAction(tools, "toolsSnap", QStringLiteral("Object &Snap"), QKeySequence(Qt::Key_F3),
            [this] { ToggleSnap(); });

  QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
  AddAction(help, "helpAbout", QStringLiteral("&About CADHOST"), QKeySequence(), [this] {
    QMessageBox::about(this, QStringLiteral("About CADHOST"),
                       QStringLiteral("CADHOST R16.0\nThe stand-in CAD host: drawings as DXF, "
                                      "applications as .arx plug-ins.\nType a command at the "
                                      "command line; ENTER repeats the last one."));
  });
}

QAction* MainWindow::Action(const QString& name) const { return findChild<QAction*>(name); }

bool MainWindow::SnapOn() const { return m_snapButton->isChecked(); }

void MainWindow::ToggleSnap() {
  // The button toggles itself when clicked; F3 toggles it here.
  if (sender() != m_snapButton) m_snapButton->setChecked(!m_snapButton->isChecked());
  const unsigned modes = SnapOn() ? kSnapAll : 0u;
  for (int i = 0; i < m_tabs->count(); ++i)
    if (auto* v = qobject_cast<DrawingView*>(m_tabs->widget(i))) v->SetSnapModes(modes);
  statusBar()->showMessage(SnapOn() ? QStringLiteral("<Osnap on>") : QStringLiteral("<Osnap off>"), 2000);
}

DrawingView* MainWindow::CurrentView() const {
  return qobject_cast<DrawingView*>(m_tabs->currentWidget());
}

DrawingView* MainWindow::ViewOf(const AcApDocument* doc) const {
  for (int i = 0; i < m_tabs->count(); ++i)
    if (auto* v = qobject_cast<DrawingView*>(m_tabs->widget(i)); v && v->Document() == doc) return v;
  return nullptr;
}

void MainWindow::SyncTabs() {
  m_syncing = true;
  std::vector<AcApDocument*> docs;
  for (int i = 0; i < acDocManager->documentCount(); ++i) docs.push_back(acDocManager->documentAt(i));
  // Tabs of closed drawings go (their documents are gone: only compared, never used).
  for (int i = m_tabs->count() - 1; i >= 0; --i) {
    auto* v = qobject_cast<DrawingView*>(m_tabs->widget(i));
    if (v != nullptr && std::find(docs.begin(), docs.end(), v->Document()) == docs.end()) {
      m_tabs->removeTab(i);
      delete v;
    }
  }
  for (std::size_t i = 0; i < docs.size(); ++i) {
    if (ViewOf(docs[i]) != nullptr) continue;
    auto* v = new DrawingView(docs[i], m_painter, m_queue, m_tabs);
    v->SetSnapModes(SnapOn() ? kSnapAll : 0u);
    v->SetKeyHandler([this](QKeyEvent* e) { m_commandLine->TypeKey(e); });
    connect(v, &DrawingView::CursorMoved, this, [this](double x, double y, double z) {
      m_coordinates->setText(QStringLiteral("%1, %2, %3").arg(x, 0, 'f', 4).arg(y, 0, 'f', 4).arg(z, 0, 'f', 4));
    });
    m_tabs->insertTab(static_cast<int>(i), v, QString());
  }
  if (DrawingView* current = ViewOf(acDocManager->curDocument())) m_tabs->setCurrentWidget(current);
  UpdateTitles();
  m_syncing = false;
}

void MainWindow::UpdateTitles() {
  for (int i = 0; i < m_tabs->count(); ++i) {
    auto* v = qobject_cast<DrawingView*>(m_tabs->widget(i));
    if (v == nullptr) continue;
    const AcApDocument* d = v->Document();
    m_tabs->setTabText(i, Q(d->docTitle()) + (d->isModified() ? QStringLiteral("*") : QString()));
    m_tabs->setTabToolTip(i, Q(d->fileName()));
  }
  const AcApDocument* cur = acDocManager->curDocument();
  setWindowTitle(cur != nullptr ? QStringLiteral("%1 - [%2]").arg(QString::fromLatin1(kTitle), Q(cur->docTitle()))
                                : QString::fromLatin1(kTitle));
}

void MainWindow::TabChosen(int index) {
  if (m_syncing || index < 0) return;
  auto* v = qobject_cast<DrawingView*>(m_tabs->widget(index));
  if (v == nullptr || v->Document() == acDocManager->curDocument()) return;
  // A command runs in its drawing until it ends; so does a plug-in's modal dialog.
  if (CommandRunning() || acDocManager->activateDocument(v->Document()) != Acad::eOk) {
    statusBar()->showMessage(QStringLiteral("Finish the command first."), 3000);
    SyncTabs();
    return;
  }
  v->Refresh();
  v->setFocus();
}

void MainWindow::DocumentsChanged() {
  SyncTabs();
  for (int i = 0; i < acDocManager->documentCount(); ++i) {
    const AcApDocument* d = acDocManager->documentAt(i);
    if (!d->isUntitled()) RememberRecent(d->fileName());
  }
}

void MainWindow::PromptStarted(const PromptContext& context) {
  m_commandLine->Flush();
  m_commandLine->SetSpacesAllowed(context.spacesAllowed);
  DrawingView* current = ViewOf(acDocManager->curDocument());
  for (int i = 0; i < m_tabs->count(); ++i) {
    auto* v = qobject_cast<DrawingView*>(m_tabs->widget(i));
    if (v == nullptr) continue;
    v->Refresh();
    v->SetPrompt(v == current ? &context : nullptr);
  }
  UpdateTitles();
  if (const AcApDocument* d = acDocManager->curDocument(); d && !d->isUntitled())
    RememberRecent(d->fileName());
}

void MainWindow::PromptEnded() {
  if (DrawingView* v = CurrentView()) v->SetPrompt(nullptr);
}

void MainWindow::SelectionChanged() {
  if (DrawingView* v = ViewOf(acDocManager->curDocument())) v->Refresh();
}

void MainWindow::ActivationChanged(bool enabled) {
  m_commandLine->setEnabled(enabled);
  m_tabs->tabBar()->setEnabled(enabled);
  for (QAction* a : m_commandActions) a->setEnabled(enabled);
}

void MainWindow::Alert(std::string_view text) {
  QMessageBox::warning(this, QString::fromLatin1(kTitle), Q(text));
}

int MainWindow::AskSaveChanges(const AcApDocument* doc) {
  const auto answer = QMessageBox::question(
      this, QString::fromLatin1(kTitle), QStringLiteral("Save changes to %1?").arg(Q(doc->docTitle())),
      QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
  if (answer == QMessageBox::Save) return 1;
  if (answer == QMessageBox::Discard) return 0;
  return -1;
}

std::optional<std::string> MainWindow::ChooseFile(FileChoice kind, const std::string& current) {
  QString title, filter = QStringLiteral("Drawings (*.dxf);;All files (*)");
  bool save = false;
  switch (kind) {
    case FileChoice::OpenDrawing: title = QStringLiteral("Select File"); break;
    case FileChoice::SaveDrawing: title = QStringLiteral("Save Drawing As"); save = true; break;
    case FileChoice::Template: title = QStringLiteral("Select Template"); break;
    case FileChoice::Application:
      title = QStringLiteral("Load Application");
      filter = QStringLiteral("Applications (*.arx);;All files (*)");
      break;
    case FileChoice::Script:
      title = QStringLiteral("Select Script File");
      filter = QStringLiteral("Scripts (*.scr);;All files (*)");
      break;
    case FileChoice::Plot:
      title = QStringLiteral("Plot to File");
      filter = QStringLiteral("PDF (*.pdf);;PNG (*.png)");
      save = true;
      break;
  }
  const auto options = QFileDialog::DontUseNativeDialog;
  const QString name =
      save ? QFileDialog::getSaveFileName(this, title, Q(current), filter, nullptr, options)
           : QFileDialog::getOpenFileName(this, title, Q(current), filter, nullptr, options);
  if (name.isEmpty()) return std::nullopt;
  return name.toStdString();
}

std::optional<int> MainWindow::ChooseColor(int color, bool allowMetaColor, int layerColor) {
  return ColourDialog::Choose(this, color, allowMetaColor, layerColor);
}

void MainWindow::ShowApplications() {
  AppLoadDialog dialog(this);
  dialog.exec();
}

bool MainWindow::OfferRecovery(const std::string& why, const std::vector<std::string>& paths) {
  QString list;
  for (const std::string& p : paths) list += QStringLiteral("\n") + Q(p);
  return QMessageBox::critical(this, QString::fromLatin1(kTitle),
                               Q(why) + QStringLiteral("\n\nSave recovery copies of the changed drawings?") + list,
                               QMessageBox::Save | QMessageBox::Discard, QMessageBox::Save) ==
         QMessageBox::Save;
}

void MainWindow::ShowProgress(std::string_view label, int percent) {
  m_meterLabel->setText(Q(label));
  m_meter->setValue(percent);
  m_meterLabel->show();
  m_meter->show();
  // A command runs: no event loop turns, so the status bar is painted now.
  statusBar()->repaint();
}

void MainWindow::RestoreStatusBar() {
  m_meterLabel->hide();
  m_meter->hide();
  statusBar()->repaint();
}

std::vector<std::string> MainWindow::RecentFiles() const {
  vex::platform::Registry reg(m_registryFolder.empty() ? vex::platform::Registry::DefaultFolder()
                                                       : m_registryFolder);
  std::vector<std::string> out;
  for (int i = 1; i <= kRecentFiles; ++i)
    if (auto v = reg.GetString(vex::platform::RegHive::CurrentUser, RecentKey(), "File" + std::to_string(i)))
      if (!v->empty()) out.push_back(*v);
  return out;
}

void MainWindow::RememberRecent(const std::string& path) {
  std::vector<std::string> files = RecentFiles();
  if (!files.empty() && files.front() == path) return;
  std::erase(files, path);
  files.insert(files.begin(), path);
  if (files.size() > kRecentFiles) files.resize(kRecentFiles);
  vex::platform::Registry reg(m_registryFolder.empty() ? vex::platform::Registry::DefaultFolder()
                                                       : m_registryFolder);
  for (std::size_t i = 0; i < files.size(); ++i)
    (void)reg.SetString(vex::platform::RegHive::CurrentUser, RecentKey(),
                        "File" + std::to_string(i + 1), files[i]);
  FillRecentMenu();
}

void MainWindow::FillRecentMenu() {
  if (m_recentMenu == nullptr) return;
  m_recentMenu->clear();
  int n = 0;
  for (const std::string& path : RecentFiles()) {
    QAction* a = m_recentMenu->addAction(QStringLiteral("&%1 %2").arg(++n).arg(Q(path)));
    connect(a, &QAction::triggered, this, [this, path] { OpenRecent(path); });
  }
  m_recentMenu->setEnabled(n > 0);
}

void MainWindow::OpenRecent(const std::string& path) {
  if (CommandRunning()) {
    statusBar()->showMessage(QStringLiteral("Finish the command first."), 3000);
    return;
  }
  if (acDocManager->appContextOpenDocument(path.c_str()) != Acad::eOk) {
    const std::string why = acDocManager->lastOpenReport().message;
    Alert("Cannot open " + path + ": " + (why.empty() ? "not a drawing" : why));
  }
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (!m_attached || m_queue.Ended()) {
    event->accept();
    return;
  }
  // QUIT asks about each changed drawing; the window goes when the host ends.
  event->ignore();
  Post("_QUIT");
}

int RunMainWindow(int argc, char** argv, const WindowStart& start) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("cadhost"));
  int status = 0;
  {
    MainWindow window;
    window.Attach();
    window.show();
    window.Start(start);
    RunCommandLine();
    for (int i = 0; i < acDocManager->documentCount(); ++i) {
      const AcApDocument* doc = acDocManager->documentAt(i);
      if (doc->isModified()) std::printf("%s: changes not saved.\n", doc->docTitle());
    }
    window.Detach();
    // The applications go while the frame that owns their windows is still there.
    ResetHost();
  }
  return status;
}

}  // namespace cadhost::ui
