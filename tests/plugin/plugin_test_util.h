#pragma once
// A fresh host with one new drawing, scratch settings, and a stand-in editor for the
// drawing commands to talk to.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cadhost/sdk/aced.h"
#include "cadhost/host/host_control.h"
#include "plugin/plugin_context.h"
#include "settings/language_pack.h"
#include "support/install_dir.h"

namespace vex::test {

// Records what the commands ask of the editor.
class FakeEditor : public TableEditor {
 public:
  int Origin() const override { return origin; }
  void SetOrigin(int o) override { origin = o; }
  bool FullEditing() const override { return full; }
  void SetFullEditing(bool f) override { full = f; }
  void LoadTable(const TableData& t) override {
    table = t;
    ++loads;
  }
  TableData TakeTable() override {
    ++takes;
    return table;
  }
  void SetBlankTable(int rows, int cols, double rowHeight, double colWidth) override {
    blank = {rows, cols};
    blankSizes = {rowHeight, colWidth};
  }
  void Minimize() override { ++minimized; }
  void Restore() override { ++restored; }
  void StorePicture(const CellImage& image) override { stored.push_back(image); }
  std::vector<CellImage> SelectedPictures() const override { return selected; }

  int origin = 0;
  bool full = false;
  TableData table;
  int loads = 0;
  int takes = 0;
  std::pair<int, int> blank{0, 0};
  std::pair<double, double> blankSizes{0, 0};
  int minimized = 0;
  int restored = 0;
  std::vector<CellImage> stored;
  std::vector<CellImage> selected;
};

class PluginTest : public ::testing::Test {
 protected:
  void SetUp() override {
    cadhost::ResetHost();
    cadhost::SetCommandLineView(nullptr);
    ASSERT_EQ(acDocManager->appContextNewDocument(nullptr), Acad::eOk);
    Plugin().where = install_.where();
    ASSERT_TRUE(install_.Language().StartLanguage(""));
    auto editor = std::make_unique<FakeEditor>();
    editor_ = editor.get();
    Plugin().editor = std::move(editor);
    cadhost::Feedback::Clear();
  }
  void TearDown() override {
    Plugin().editor.reset();
    Plugin().lastRead = RecognizedTable{};
    Plugin().imageStore.Discard();
    Plugin().currentTable = TableData{};
    Plugin().where = Locations{};
    cadhost::ResetHost();
  }
  AcDbDatabase* Drawing() const { return acdbHostApplicationServices()->workingDatabase(); }

  InstallDir install_;
  FakeEditor* editor_ = nullptr;
};

}  // namespace vex::test
