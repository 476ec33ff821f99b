#pragma once
// A table editor window as the tests drive it: a stand-in host that records what the editor
// asks of it (posted commands, the current table, document locks), scripted answers for the
// file choosers and the row-height dialog, and helpers that click and type as a user does.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "editor/editor_dialogs.h"
#include "editor/editor_host.h"
#include "editor/grid/grid_ctrl.h"
#include "editor/table_editor_window.h"
#include "pictures/image_store.h"
#include "platform/message_sink.h"
#include "support/install_dir.h"

namespace vex::test {

class RecordingHost : public EditorHost {
 public:
  explicit RecordingHost(const Locations& where) : where_(where) {}
  const Locations& Where() const override { return where_; }
  bool InsideHost() const override { return inside; }
  bool HasActiveDocument() const override { return document; }
  void PostCommand(const std::string& name) override { posted.push_back(name); }
  TableData& CurrentTable() override { return current; }
  ImageStore& Pictures() override { return store; }
  MessageSink& Messages() override { return messages; }
  bool LockDocument() override {
    if (!document) return false;
    ++locks;
    ++lockCount;
    return true;
  }
  void UnlockDocument() override { --locks; }
  QWidget* OwnerWindow() const override { return owner; }
  void ActivateHost() override { ++activations; }
  void EditorClosed() override { ++closed; }
  void ModalStarted() override { ++modal; }
  void ModalEnded() override { --modal; }

  bool inside = true;
  bool document = true;
  std::vector<std::string> posted;
  TableData current;
  ImageStore store;
  RecordingSink messages;
  int locks = 0;      // held now
  int lockCount = 0;  // taken in all
  int activations = 0;
  int closed = 0;
  int modal = 0;               // modal dialogs open now
  QWidget* owner = nullptr;    // the window that owns the editor

 private:
  Locations where_;
};

// Answers the editor's questions from a script; an unexpected question fails the test.
class ScriptedDialogs : public EditorDialogs {
 public:
  std::optional<std::string> OpenTablePath(QWidget*) override { return Next(openPaths, "open"); }
  std::optional<std::string> SaveTablePath(QWidget*) override { return Next(savePaths, "save"); }
  std::optional<std::string> DrawingPath(QWidget*) override { return Next(drawingPaths, "drawing"); }
  std::optional<int> LineSize(QWidget* parent, const LanguagePack& language, bool column, int value) override {
    asked.push_back(value);
    if (useRealLineSizeDialog) {
      Asking();
      return EditorDialogs::LineSize(parent, language, column, value);
    }
    return Next(lineSizes, "line size");
  }
  // The header library's windows are the real ones; the script only sees them asked.
  std::optional<TableInitAnswer> InitTable(QWidget* parent, const LanguagePack& language, HeaderLibrary& library,
                                           double styleHeightMm, const QString& caption, ImageStore& pictures,
                                           MessageSink& messages) override {
    Asking();
    return EditorDialogs::InitTable(parent, language, library, styleHeightMm, caption, pictures, messages);
  }
  std::optional<SaveHeaderAnswer> SaveHeader(QWidget* parent, const LanguagePack& language,
                                             HeaderLibrary& library) override {
    Asking();
    return EditorDialogs::SaveHeader(parent, language, library);
  }
  void ManageHeaders(QWidget* parent, const LanguagePack& language, HeaderLibrary& library,
                     double styleHeightMm) override {
    Asking();
    EditorDialogs::ManageHeaders(parent, language, library, styleHeightMm);
  }
  void Tell(QWidget*, const QString&, const QString& text) override {
    Asking();
    told.push_back(text.toStdString());
  }
  // Called as each question is asked, with the editor's window open behind it.
  std::function<void()> whenAsked;

  std::deque<std::optional<std::string>> openPaths, savePaths, drawingPaths;
  std::deque<std::optional<int>> lineSizes;
  bool useRealLineSizeDialog = false;
  std::vector<int> asked;
  std::vector<std::string> told;

 private:
  void Asking() {
    if (whenAsked) whenAsked();
  }
  template <class T>
  std::optional<T> Next(std::deque<std::optional<T>>& answers, const char* what) {
    Asking();
    if (answers.empty()) {
      ADD_FAILURE() << "the editor asked for a " << what << " nobody expected";
      return std::nullopt;
    }
    auto a = answers.front();
    answers.pop_front();
    return a;
  }
};

class EditorWindowTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(install.Language().StartLanguage(""));
    host = std::make_unique<RecordingHost>(install.where());
  }
  void TearDown() override { window.reset(); }

  // Makes and shows the editor; `dialogs` keeps a pointer to its scripted dialogs.
  void Open(const TableData* table = nullptr) {
    auto d = std::make_unique<ScriptedDialogs>();
    dialogs = d.get();
    window = std::make_unique<TableEditorWindow>(*host, std::move(d));
    window->SetOrigin(table ? kLoadedTable : kNewTable);
    if (table) window->LoadTable(*table);
    else window->SetBlankTable(6, 6, 5, 15);
    window->ShowRestored();
    QApplication::setActiveWindow(window.get());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    Grid().setFocus();
  }

  GridCtrl& Grid() const { return window->Grid(); }
  QWidget* View() const { return Grid().viewport(); }
  void Click(int row, int col, Qt::KeyboardModifiers mods = {}) {
    QTest::mouseClick(View(), Qt::LeftButton, mods, Grid().CellRectOf(row, col).center());
  }
  // Drags from one cell to another to select the cells between.
  void SelectCells(int row0, int col0, int row1, int col1) {
    Click(row0, col0);
    Click(row1, col1, Qt::ShiftModifier);
  }
  // Keys go where the focus is: the in-place editor while it is open, else the grid.
  QWidget* KeyTarget() const {
    return Grid().InPlaceEditor() ? static_cast<QWidget*>(Grid().InPlaceEditor()) : &Grid();
  }
  void Key(int key, Qt::KeyboardModifiers mods = {}) {
    QTest::keyClick(KeyTarget(), static_cast<Qt::Key>(key), mods);
  }
  void Type(const QString& text) {
    for (const QChar ch : text) QTest::keyClicks(KeyTarget(), QString(ch));
  }
  // Presses a toolbar button (or a menu item) as the user does.
  void Press(int id) {
    QAction* a = window->Action(id);
    ASSERT_NE(a, nullptr) << id;
    for (QToolBar* bar : {window->FileToolbar(), window->FormatToolbar()})
      if (bar->actions().contains(a)) {
        auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(a));
        ASSERT_NE(button, nullptr) << id;
        QTest::mouseClick(button, Qt::LeftButton);
        return;
      }
    ASSERT_TRUE(a->isEnabled()) << id;
    a->trigger();
  }
  const std::string& Text(int row, int col) const { return Grid().Model().Text(row, col); }
  TableData Taken() const { return window->TakeTable(TextHeights::kExact); }

  InstallDir install;
  std::unique_ptr<RecordingHost> host;
  ScriptedDialogs* dialogs = nullptr;
  std::unique_ptr<TableEditorWindow> window;
};

}  // namespace vex::test
