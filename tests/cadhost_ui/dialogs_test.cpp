// The colour dialog and the APPLOAD dialog, used with the mouse and the keyboard.

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include <filesystem>

#include "cadhost/host/host_control.h"
#include "cadhost/sdk/aced.h"
#include "cadhost/ui/appload_dialog.h"
#include "cadhost/ui/colour_dialog.h"
#include "support/temp_dir.h"

namespace cadhost::ui {
namespace {

TEST(ColourDialog, SwatchesTypedIndexesAndTheMetaColours) {
  ColourDialog d(3, true, 5);
  d.show();
  EXPECT_EQ(d.Color(), 3);
  // The hue grid: 24 hues across, ten shades down.
  EXPECT_EQ(ColourDialog::GridIndex(0, 0), 10);
  EXPECT_EQ(ColourDialog::GridIndex(9, 23), 249);
  QTest::mouseClick(d.findChild<QToolButton*>("colour42"), Qt::LeftButton);
  EXPECT_EQ(d.Color(), 42);
  QTest::mouseClick(d.findChild<QToolButton*>("colour252"), Qt::LeftButton);
  EXPECT_EQ(d.Color(), 252);
  QTest::mouseClick(d.findChild<QPushButton*>("byLayer"), Qt::LeftButton);
  EXPECT_EQ(d.Color(), 256);
  QLineEdit* index = d.findChild<QLineEdit*>("colourIndex");
  EXPECT_EQ(index->text(), "BYLAYER");
  index->clear();
  QTest::keyClicks(index, "byblock");
  QTest::keyClick(index, Qt::Key_Return);
  EXPECT_EQ(d.Color(), 0);
  index->clear();
  QTest::keyClicks(index, "300");
  QTest::keyClick(index, Qt::Key_Return);
  EXPECT_EQ(d.Color(), 7) << "out of range: colour 7";
}

TEST(ColourDialog, WithoutMetaColoursOnlyIndexes) {
  ColourDialog d(256, false, 5);
  EXPECT_EQ(d.Color(), 7) << "BYLAYER is not offered";
  EXPECT_EQ(d.findChild<QPushButton*>("byLayer"), nullptr);
  QLineEdit* index = d.findChild<QLineEdit*>("colourIndex");
  index->clear();
  QTest::keyClicks(index, "BYLAYER");
  QTest::keyClick(index, Qt::Key_Return);
  EXPECT_EQ(d.Color(), 7);
}

TEST(AppLoadDialog, LoadsListsAndUnloads) {
  ResetHost();
  SetCommandLineView(nullptr);
  // Installed in a scratch folder: the plug-in sets up its folders beside Sys16/.
  vex::test::TempDir install;
  std::filesystem::create_directories(install.File("Sys16"));
  const std::string arx = install.File("Sys16/VexTable.arx");
  std::filesystem::copy_file(VEXTABLE_ARX, arx);
  {
    AppLoadDialog d;
    QTest::keyClicks(d.FileField(), "/no/such/App.arx");
    EXPECT_FALSE(d.Load());
    EXPECT_NE(d.Message().indexOf("Unable to load"), -1) << d.Message().toStdString();
    d.FileField()->clear();
    QTest::keyClicks(d.FileField(), QString::fromStdString(arx));
    QTest::mouseClick(d.findChild<QPushButton*>("load"), Qt::LeftButton);
    ASSERT_EQ(d.List()->count(), 1) << d.Message().toStdString();
    EXPECT_NE(d.Message().indexOf("VexTable.arx loaded."), -1);
    EXPECT_TRUE(acedRegCmds->lookupCmd("VEXTABLE_DRAW"));
    d.List()->setCurrentRow(0);
    QTest::mouseClick(d.findChild<QPushButton*>("unload"), Qt::LeftButton);
    EXPECT_EQ(d.List()->count(), 0) << d.Message().toStdString();
    EXPECT_FALSE(acedRegCmds->lookupCmd("VEXTABLE_DRAW"));
  }
  ResetHost();
}

}  // namespace
}  // namespace cadhost::ui
