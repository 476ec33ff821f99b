#include "plugin/editor_window.h"

#include <QApplication>
#include <QMetaObject>
#include <QWidget>

#include <cstdlib>

#include "cadhost/sdk/aced.h"
#include "editor/editor_host.h"
#include "editor/table_editor_window.h"
#include "files/table_init_dialog.h"
#include "plugin/commands.h"
#include "plugin/plugin_context.h"

namespace vex {
namespace {

// The Qt application made for a host that has none (the host without a window). Ended at
// unload, never by the exit's static destruction, which would come after Qt's own.
QApplication*& OwnApplication() {
  static QApplication* app = nullptr;
  return app;
}

}  // namespace

void EnsureQtApplication() {
  if (qobject_cast<QApplication*>(QCoreApplication::instance())) return;
  // Without a display the windows are drawn offscreen: a scripted host still runs them.
  if (!std::getenv("QT_QPA_PLATFORM") && !std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY"))
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
  static int argc = 1;
  static char name[] = "VexTable";
  static char* argv[] = {name, nullptr};
  OwnApplication() = new QApplication(argc, argv);
}

namespace {

class PluginEditor final : public TableEditor, public EditorHost {
 public:
  PluginEditor() : window_(new TableEditorWindow(*this)) {}
  ~PluginEditor() override { delete window_; }

  TableEditorWindow* Window() const { return window_; }

  // --- TableEditor
  int Origin() const override { return window_->Origin(); }
  void SetOrigin(int origin) override { window_->SetOrigin(origin); }
  bool FullEditing() const override { return window_->FullEditing(); }
  void SetFullEditing(bool full) override { window_->SetFullEditing(full); }
  void LoadTable(const TableData& table) override { window_->LoadTable(table); }
  TableData TakeTable() override { return window_->TakeTable(TextHeights::kRounded); }
  void SetBlankTable(int rows, int cols, double rowHeightMm, double colWidthMm) override {
    window_->SetBlankTable(rows, cols, rowHeightMm, colWidthMm);
  }
  void Minimize() override { window_->Minimize(); }
  void Restore() override { window_->ShowRestored(); }
  void StorePicture(const CellImage& image) override { window_->StorePicture(image); }
  std::vector<CellImage> SelectedPictures() const override { return window_->SelectedPictures(); }

  // --- EditorHost
  const Locations& Where() const override { return Plugin().where; }
  bool InsideHost() const override { return true; }
  bool HasActiveDocument() const override { return acDocManager->curDocument() != nullptr; }
  void PostCommand(const std::string& name) override { vex::PostCommand(name); }
  TableData& CurrentTable() override { return Plugin().currentTable; }
  ImageStore& Pictures() override { return Plugin().imageStore; }
  MessageSink& Messages() override { return Plugin().messages; }
  bool LockDocument() override {
    AcApDocument* doc = acDocManager->curDocument();
    if (doc == nullptr || acDocManager->lockDocument(doc, AcAp::kWrite) != Acad::eOk) return false;
    locked_.push_back(doc);
    return true;
  }
  void UnlockDocument() override {
    if (locked_.empty()) return;
    AcApDocument* doc = locked_.back();
    locked_.pop_back();
    // The document may have been closed meanwhile; the host then refuses, which is harmless.
    (void)acDocManager->unlockDocument(doc);
  }
  QWidget* OwnerWindow() const override { return acedGetAcadFrame(); }
  void ActivateHost() override {
    if (QWidget* frame = acedGetAcadFrame()) frame->activateWindow();
  }
  void ModalStarted() override { (void)acDocManager->disableDocumentActivation(); }
  void ModalEnded() override { (void)acDocManager->enableDocumentActivation(); }
  void EditorClosed() override {
    // Released from the event loop, not from inside the window's own close handling.
    const TableEditor* self = this;
    QMetaObject::invokeMethod(
        qApp, [self] {
          if (Plugin().editor.get() == self) Plugin().editor.reset();
        },
        Qt::QueuedConnection);
  }

 private:
  TableEditorWindow* window_;
  std::vector<AcApDocument*> locked_;
};

}  // namespace

std::unique_ptr<TableEditor> MakeEditorWindow() {
  EnsureQtApplication();
  return std::make_unique<PluginEditor>();
}

std::optional<TableInitAnswer> AskNewTable() {
  EnsureQtApplication();
  PluginContext& ctx = Plugin();
  const LanguagePack language = ctx.Language();
  return TableInitDialog::Run(acedGetAcadFrame(), language, ctx.Headers(), ctx.ReadSettings().Table.Height, QString(),
                              ctx.imageStore, ctx.messages);
}

TableEditorWindow* WindowOf(TableEditor* editor) {
  auto* e = dynamic_cast<PluginEditor*>(editor);
  return e ? e->Window() : nullptr;
}

void EndOwnQtApplication() {
  delete OwnApplication();
  OwnApplication() = nullptr;
}

}  // namespace vex
