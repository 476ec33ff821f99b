#pragma once
// The host's main frame: a tab per open drawing (the document manager's documents; switching
// tabs switches the current document), the menus, the command line dock and the status bar
// with the cursor's coordinates, the object snap switch and the progress meter. It is the
// host's window (HostWindow): prompts, documents and dialogs reach it through the host; it
// reaches the host by typing and picking into the input queue and by posting commands.

#include <QMainWindow>

#include <memory>
#include <string>
#include <vector>

#include "cadhost/host/host_control.h"
#include "cadhost/ui/input_queue.h"
#include "cadhost/ui/scene_painter.h"

class QAction;
class QLabel;
class QMenu;
class QProgressBar;
class QTabWidget;
class QToolButton;

namespace cadhost::ui {

class CommandLineWidget;
class DrawingView;

// How the window starts: the drawings to open, a script to run first, the profile.
struct WindowStart {
  std::vector<std::string> drawings;
  std::string startScript;
  std::string profile;
  std::string registryFolder;  // "" for the default
};

class MainWindow : public QMainWindow, public HostWindow {
  Q_OBJECT

 public:
  MainWindow();
  ~MainWindow() override;

  // The one main window of the process, or null.
  static MainWindow* Instance();

  // Makes this the host's window: its command line view, its input, its frame for the
  // plug-ins' windows, file dialogs on (FILEDIA 1), its commands (ZOOM, PLOT). Detach undoes
  // it, before the window goes.
  void Attach();
  void Detach();
  // Opens the drawings of `start` (one that cannot be read opens no tab and is reported) or a
  // new one, starts the host (registry, demand loading) and the start script.
  void Start(const WindowStart& start);

  // Types `command` as a posted command: ESC ends what runs, then the command and ENTER.
  void Post(const std::string& command);

  DrawingView* CurrentView() const;
  DrawingView* ViewOf(const AcApDocument* doc) const;
  CommandLineWidget* CommandLine() const { return m_commandLine; }
  InputQueue& Queue() { return m_queue; }
  QTabWidget* Tabs() const { return m_tabs; }
  QLabel* Coordinates() const { return m_coordinates; }
  QAction* Action(const QString& name) const;
  QProgressBar* Meter() const { return m_meter; }
  QLabel* MeterLabel() const { return m_meterLabel; }
  bool SnapOn() const;
  std::vector<std::string> RecentFiles() const;

  // HostWindow
  void PromptStarted(const PromptContext& context) override;
  void PromptEnded() override;
  void DocumentsChanged() override;
  void SelectionChanged() override;
  void ActivationChanged(bool enabled) override;
  void Alert(std::string_view text) override;
  int AskSaveChanges(const AcApDocument* doc) override;
  std::optional<std::string> ChooseFile(FileChoice kind, const std::string& current) override;
  std::optional<int> ChooseColor(int color, bool allowMetaColor, int layerColor) override;
  void ShowApplications() override;
  bool OfferRecovery(const std::string& why, const std::vector<std::string>& paths) override;

  // The progress meter (through the host's command-line view).
  void ShowProgress(std::string_view label, int percent);
  void RestoreStatusBar();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildMenus();
  QAction* AddAction(QMenu* menu, const QString& name, const QString& text,
                     const QKeySequence& keys, std::function<void()> run);
  void SyncTabs();
  void TabChosen(int index);
  void UpdateTitles();
  void RememberRecent(const std::string& path);
  void FillRecentMenu();
  void OpenRecent(const std::string& path);
  void ToggleSnap();

  InputQueue m_queue;
  ScenePainter m_painter;
  QTabWidget* m_tabs;
  CommandLineWidget* m_commandLine;
  QLabel* m_coordinates;
  QToolButton* m_snapButton;
  QLabel* m_meterLabel;
  QProgressBar* m_meter;
  QMenu* m_recentMenu = nullptr;
  std::vector<QAction*> m_commandActions;  // off while a plug-in's dialog is modal
  std::string m_registryFolder;
  bool m_syncing = false;
  bool m_attached = false;
  std::string m_lastPrompt;
};

// The window's run: the application, the main window and the host's command line until QUIT
// or the window closes. The exit status of the program.
int RunMainWindow(int argc, char** argv, const WindowStart& start);

}  // namespace cadhost::ui
