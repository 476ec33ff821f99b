// VexTable.arx loaded by the host as a drafter's installation loads it.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "cadhost/sdk/aced.h"
#include "cadhost/host/host_control.h"
#include "support/run_cli.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

class LoadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    cadhost::ResetHost();
    cadhost::SetCommandLineView(nullptr);
    ASSERT_EQ(acDocManager->appContextNewDocument(nullptr), Acad::eOk);
    fs::create_directories(install_.File("Sys16"));
    fs::copy_file(VEXTABLE_ARX, arx_);
  }
  void TearDown() override { cadhost::ResetHost(); }
  vex::test::TempDir install_;
  std::string arx_ = install_.File("Sys16/VexTable.arx");
};

TEST_F(LoadTest, LoadsRunsAndUnloads) {
  auto* linker = AcRxDynamicLinker::cast(acrxSysRegistry()->at(ACRX_DYNAMIC_LINKER));
  ASSERT_NE(linker, nullptr);
  ASSERT_TRUE(linker->loadModule(arx_.c_str(), true));
  // The load set up the installation beside the plug-in's folder.
  EXPECT_TRUE(fs::is_directory(install_.File("Title")));
  EXPECT_TRUE(fs::exists(install_.File("Language/English.ini")));
  EXPECT_TRUE(fs::exists(install_.File("Language/Chinese.ini")));
  EXPECT_NE(vex::test::ReadFile(install_.File("VexTable.ini")).find("Language=English"), std::string::npos);

  // In the order of the command table.
  const std::vector<std::string> names = {
      "VEXDRAWTABLE",          "VEXEDITTABLE",          "VEXBASESETUP",  "VEXDRAWEXCEL",
      "VEXTABLEABOUT",         "VEXTABLE",              "VEXTABLE_DRAW", "VEXTABLE_EDIT",
      "VEXTABLE_EXCEL_EXPORT", "VEXTABLE_EXCEL_IMPORT", "VEXOPENTABLE",  "VEXTABLE_SELECTIMAGE",
      "VEXTABLE_DRAWIMAGE"};
  std::vector<std::string> registered;
  for (const auto& c : acedRegCmds->commands())
    if (c.group == "KORRVEXTABLE") {
      registered.push_back(c.globalName);
      EXPECT_EQ(c.flags, 3);
      EXPECT_EQ(c.localName, c.globalName);
    }
  EXPECT_EQ(registered, names);

  cadhost::Feedback::Clear();
  cadhost::TypeInput("VEXTABLE_DRAW\nVEXTABLE_DRAWIMAGE\n");
  cadhost::RunCommandLine();
  const std::string text = cadhost::Feedback::Text();
  EXPECT_EQ(std::count(text.begin(), text.end(), '!'), 2) << text;
  EXPECT_NE(text.find("Dialog is close, command close!"), std::string::npos) << text;

  ASSERT_TRUE(linker->unloadModule(arx_.c_str()));
  EXPECT_FALSE(acedRegCmds->lookupCmd("VEXTABLE_DRAW"));
  cadhost::Feedback::Clear();
  cadhost::TypeInput("VEXTABLE_DRAW\n");
  cadhost::RunCommandLine();
  EXPECT_NE(cadhost::Feedback::Text().find("Unknown command"), std::string::npos);
}

}  // namespace

namespace {

// The host program, run on a script as a drafter's script runs.
TEST(HostProgram, LoadsThePlugInFromAScript) {
  vex::test::TempDir install;
  fs::create_directories(install.File("Sys16"));
  const std::string arx = install.File("Sys16/VexTable.arx");
  fs::copy_file(VEXTABLE_ARX, arx);
  const std::string script = install.File("run.scr");
  vex::test::WriteFile(script,
                       "; load the plug-in, try a command that needs the editor, unload it\n"
                       "APPLOAD\n" + arx + "\nVEXTABLE_DRAW\nARX\nUnload\nVexTable.arx\nVEXTABLE_DRAW\nQUIT\n");
  const auto run = vex::test::RunShell("CADHOST_REGISTRY_DIR='" + install.File("registry") + "' " +
                                       CADHOST_PROGRAM + " --script '" + script + "' 2>&1");
  const std::string& out = run.out;
  EXPECT_EQ(run.status, 0) << out;
  EXPECT_NE(out.find("Dialog is close, command close!"), std::string::npos) << out;
  EXPECT_NE(out.find("Unknown command"), std::string::npos) << out;  // gone after unloading
  EXPECT_TRUE(fs::exists(install.File("Language/English.ini")));
}

}  // namespace

namespace {

// A drafter's script: a workbook imported into the editor (the questions answered on the
// command line) and exported again into a new book in the temporary folder.
TEST(HostProgram, ImportsAndExportsAWorkbookFromAScript) {
  vex::test::TempDir install;
  fs::create_directories(install.File("Sys16"));
  fs::create_directories(install.File("tmp"));
  const std::string arx = install.File("Sys16/VexTable.arx");
  fs::copy_file(VEXTABLE_ARX, arx);
  vex::test::WriteFile(install.File("book.json"),
                       R"({"sheets": [{"name": "A", "cells": [["A1", "skip"]]},
                           {"name": "Pipes", "cells": [["B2", "DN50"], ["C2", "steel"], ["B3", "joined"]],
                            "merges": ["B3:C3"]}]})");
  ASSERT_EQ(vex::test::RunShell("/usr/bin/python3 " + std::string(VEXTABLE_SOURCE_DIR) +
                                "/tests/excel/openpyxl_peer.py make " + install.File("book.json") + " " +
                                install.File("pipes.xlsx")).status, 0);
  const std::string script = install.File("run.scr");
  vex::test::WriteFile(script, "APPLOAD\n" + arx + "\nVEXTABLE_EXCEL_IMPORT\n" + install.File("pipes.xlsx") +
                                   "\nPipes\nVEXTABLE_EXCEL_EXPORT\nQUIT\n");
  // The desktop's opener, in its place.
  fs::create_directories(install.File("bin"));
  vex::test::WriteFile(install.File("bin/xdg-open"), "#!/bin/sh\nexit 0\n");
  fs::permissions(install.File("bin/xdg-open"), fs::perms::owner_all);
  const auto run = vex::test::RunShell("QT_QPA_PLATFORM=offscreen PATH=\"" + install.File("bin") + ":$PATH\" TMPDIR='" + install.File("tmp") +
                                       "' CADHOST_REGISTRY_DIR='" + install.File("registry") + "' " + CADHOST_PROGRAM +
                                       " --script '" + script + "' 2>&1");
  EXPECT_EQ(run.status, 0) << run.out;
  const std::string book = install.File("tmp/Book1.xlsx");
  EXPECT_NE(run.out.find(book), std::string::npos) << run.out;
  const auto dump = vex::test::RunShell("/usr/bin/python3 " + std::string(VEXTABLE_SOURCE_DIR) +
                                        "/tests/excel/openpyxl_peer.py dump " + book);
  EXPECT_NE(dump.out.find(R"("A1": {"value": "DN50")"), std::string::npos) << dump.out << dump.err;
  EXPECT_NE(dump.out.find(R"("merges": ["A2:B2"])"), std::string::npos) << dump.out;
}

// A host without a window: the plug-in makes the editor offscreen, shows it again on the second
// command, and unloads with it open.
TEST(HostProgram, OpensTheEditorWithoutAWindowAndUnloads) {
  vex::test::TempDir install;
  fs::create_directories(install.File("Sys16"));
  const std::string arx = install.File("Sys16/VexTable.arx");
  fs::copy_file(VEXTABLE_ARX, arx);
  const std::string script = install.File("run.scr");
  vex::test::WriteFile(script, "APPLOAD\n" + arx +
                                   "\nVEXOPENTABLE\nVEXOPENTABLE\nVEXTABLE_DRAWIMAGE\nARX\nUnload\nVexTable.arx\n"
                                   "VEXOPENTABLE\nQUIT\n");
  const auto run = vex::test::RunShell("QT_QPA_PLATFORM=offscreen CADHOST_REGISTRY_DIR='" + install.File("registry") +
                                       "' " + CADHOST_PROGRAM + " --script '" + script + "' 2>&1");
  EXPECT_EQ(run.status, 0) << run.out;
  // With the editor open, the picture command finds it (and nothing selected to draw).
  EXPECT_EQ(run.out.find("Dialog is close"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("Unknown command"), std::string::npos) << run.out;  // gone after unloading
  // The editor wrote its placement when the unload closed it.
  EXPECT_NE(vex::test::ReadFile(install.File("VexTable.ini")).find("[VexTable_Dialog]"), std::string::npos);
}

}  // namespace
