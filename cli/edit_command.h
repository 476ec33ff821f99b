#pragma once
// vextable edit [TABLE] [--ini PATH] [--prefix P]: the table editor window without a CAD host,
// for drafters whose CAD program is another. The same editor as inside the host; Draw asks for
// a drawing file and draws the table into it at 0,0 (a new drawing, or added to an existing
// one), and the commands that work on a drawing are not offered.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli/console_messages.h"
#include "cli/settings_scope.h"
#include "editor/editor_dialogs.h"
#include "editor/editor_host.h"
#include "editor/table_editor_window.h"
#include "pictures/image_store.h"

namespace vex::cli {

// The editor's host outside a CAD program: the settings of the installation (or --ini), a
// picture store of its own, messages on the console, no documents.
class StandaloneHost final : public EditorHost {
 public:
  explicit StandaloneHost(const Locations& where) : where_(where) {}

  const Locations& Where() const override { return where_; }
  bool InsideHost() const override { return false; }
  bool HasActiveDocument() const override { return false; }
  void PostCommand(const std::string&) override {}
  TableData& CurrentTable() override { return current_; }
  ImageStore& Pictures() override { return store_; }
  MessageSink& Messages() override { return messages_; }
  bool LockDocument() override { return false; }
  void UnlockDocument() override {}
  QWidget* OwnerWindow() const override { return nullptr; }
  void ActivateHost() override {}
  // The program ends when the editor is closed (tests put something else here).
  void EditorClosed() override {
    if (onClosed) onClosed();
  }
  std::function<void()> onClosed;

 private:
  Locations where_;
  TableData current_;
  ImageStore store_;
  ConsoleMessages messages_;
};

// One run of the stand-alone editor: its settings, host and window.
class EditSession {
 public:
  explicit EditSession(const std::optional<std::string>& iniPath);

  // Why the settings cannot be read, "" when they can.
  const std::string& problem() const { return scope_.problem(); }
  // Makes the window with the table read from `tablePath` (a table, header or autosave file,
  // or JSON; with its pictures), or a blank 6 x 6 table, and shows it. False, with the reason
  // printed, when the table cannot be read.
  bool Start(const std::optional<std::string>& tablePath, const std::optional<std::string>& prefix,
             std::unique_ptr<EditorDialogs> dialogs = nullptr);

  StandaloneHost& Host() { return host_; }
  TableEditorWindow* Window() const { return window_.get(); }

 private:
  SettingsScope scope_;
  StandaloneHost host_;
  std::unique_ptr<TableEditorWindow> window_;
};

int RunEdit(const std::vector<std::string>& args);

}  // namespace vex::cli
