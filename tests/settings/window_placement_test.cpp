// The editor's placement and zoom in the settings file, and a stored placement brought back
// onto the screen.

#include "settings/window_placement.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace vex {
namespace {

TEST(WindowPlacement, WrittenAndReadBackUnderTheEditorsKeys) {
  test::TempDir dir;
  const ProfileFile file(dir.File("VexTable.ini"));
  WindowPlacement p;
  p.showCmd = kShowMaximized;
  p.left = 10;
  p.top = 20;
  p.right = 810;
  p.bottom = 620;
  ASSERT_TRUE(WriteWindowPlacement(file, kEditorPlacementSection, p));
  const std::string text = test::ReadFile(dir.File("VexTable.ini"));
  for (const char* key : {"[VexTable_Dialog]", "Lenth=44", "flags=0", "showCmd=3", "ptMinPositionx=-1", "ptMinPositiony=-1",
                          "ptMaxPositionx=-1", "ptMaxPositiony=-1", "left=10", "top=20", "right=810", "bottom=620"})
    EXPECT_NE(text.find(key), std::string::npos) << key;
  EXPECT_EQ(ReadWindowPlacement(file, kEditorPlacementSection, WindowPlacement{}), p);
}

TEST(WindowPlacement, MissingKeysKeepTheCurrentValues) {
  test::TempDir dir;
  test::WriteFile(dir.File("VexTable.ini"), "[VexTable_Dialog]\nleft=5\n");
  WindowPlacement current;
  current.left = 100;
  current.right = 300;
  const WindowPlacement p = ReadWindowPlacement(ProfileFile(dir.File("VexTable.ini")), kEditorPlacementSection, current);
  EXPECT_EQ(p.left, 5);
  EXPECT_EQ(p.right, 300);
  EXPECT_EQ(p.showCmd, kShowNormal);
}

TEST(WindowPlacement, OnlyACornerStoredIsAPlacementToRestore) {
  test::TempDir dir;
  const ProfileFile file(dir.File("VexTable.ini"));
  EXPECT_FALSE(HasWindowPlacement(file, kEditorPlacementSection));  // no file
  test::WriteFile(dir.File("VexTable.ini"), "[VexTable_Dialog]\nZoomView=1.5\nleft=5\n");
  EXPECT_FALSE(HasWindowPlacement(file, kEditorPlacementSection));  // the zoom, half a corner
  ASSERT_TRUE(WriteWindowPlacement(file, kEditorPlacementSection, WindowPlacement{}));
  EXPECT_TRUE(HasWindowPlacement(file, kEditorPlacementSection));
  EXPECT_FALSE(HasWindowPlacement(file, "MAIN_TOOLBAR"));
}

struct ScreenCase {
  const char* name;
  WindowPlacement stored;
  WindowPlacement shown;
};

WindowPlacement Frame(int left, int top, int right, int bottom, int show = kShowNormal) {
  WindowPlacement p;
  p.left = left;
  p.top = top;
  p.right = right;
  p.bottom = bottom;
  p.showCmd = show;
  return p;
}

class OnScreenTest : public testing::TestWithParam<ScreenCase> {};

TEST_P(OnScreenTest, KeepsTheSize) {
  EXPECT_EQ(PlacementOnScreen(GetParam().stored, 1920, 1080), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, OnScreenTest,
    testing::Values(ScreenCase{"Inside", Frame(10, 10, 710, 510), Frame(10, 10, 710, 510)},
                    ScreenCase{"LeftOfTheScreen", Frame(-50, 10, 650, 510), Frame(0, 10, 700, 510)},
                    ScreenCase{"AboveTheScreen", Frame(10, -30, 710, 470), Frame(10, 0, 710, 500)},
                    ScreenCase{"PastTheRight", Frame(1500, 10, 2200, 510), Frame(1220, 10, 1920, 510)},
                    ScreenCase{"PastTheBottom", Frame(10, 900, 710, 1400), Frame(10, 580, 710, 1080)},
                    ScreenCase{"MinimisedIsRestored", Frame(10, 10, 710, 510, kShowMinimized),
                               Frame(10, 10, 710, 510, kShowRestore)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(EditorZoom, StoredHeldAndDefaulted) {
  test::TempDir dir;
  const ProfileFile file(dir.File("VexTable.ini"));
  EXPECT_DOUBLE_EQ(ReadEditorZoom(file, 1.5), 1.5);
  ASSERT_TRUE(WriteEditorZoom(file, 2.5));
  EXPECT_NE(test::ReadFile(dir.File("VexTable.ini")).find("ZoomView=2.50"), std::string::npos);
  EXPECT_DOUBLE_EQ(ReadEditorZoom(file, 1), 2.5);
  test::WriteFile(dir.File("VexTable.ini"), "[VexTable_Dialog]\nZoomView=0\n");
  EXPECT_DOUBLE_EQ(ReadEditorZoom(file, 1), 0.05);
  test::WriteFile(dir.File("VexTable.ini"), "[VexTable_Dialog]\nZoomView=1e9\n");
  EXPECT_DOUBLE_EQ(ReadEditorZoom(file, 1), 64);
}

TEST(ToolbarSpot, DefaultIsThreeHundredLeftOfTheHostsRightEdgeAtItsTop) {
  // A host window from x 100 to 1300 and a toolbar 400 wide: right edge at 1000.
  EXPECT_EQ(DefaultToolbarSpot(100, 40, 1200, 400), (ToolbarSpot{600, 40}));
}

struct ToolbarCase {
  const char* name;
  ToolbarSpot stored, shown;
};

class ToolbarOnScreenTest : public testing::TestWithParam<ToolbarCase> {};

TEST_P(ToolbarOnScreenTest, PulledOntoTheScreen) {
  EXPECT_EQ(ToolbarOnScreen(GetParam().stored, 400, 24, 1920, 1080), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ToolbarOnScreenTest,
    testing::Values(ToolbarCase{"Inside", {300, 200}, {300, 200}},
                    ToolbarCase{"NegativeLeftBecomesZero", {-50, 200}, {0, 200}},
                    ToolbarCase{"NegativeTopBecomesZero", {300, -7}, {300, 0}},
                    ToolbarCase{"PastTheRightEndsAtTheEdge", {1800, 10}, {1520, 10}},
                    ToolbarCase{"PastTheBottomEndsAtTheEdge", {10, 1070}, {10, 1056}},
                    ToolbarCase{"FarAwayComesBack", {100000, 100000}, {1520, 1056}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ToolbarSpot, WideToolbarKeepsItsLeftEndOnTheScreen) {
  EXPECT_EQ(ToolbarOnScreen({50, 0}, 900, 24, 800, 600), (ToolbarSpot{0, 0}));
}

TEST(ToolbarSpot, StoredUnderMainToolbarWithTheCurrentAsDefault) {
  test::TempDir dir;
  const ProfileFile file(dir.File("VexTable.ini"));
  EXPECT_EQ(ReadToolbarSpot(file, {12, 34}), (ToolbarSpot{12, 34}));
  ASSERT_TRUE(WriteToolbarSpot(file, {-50, 80}));
  const std::string text = test::ReadFile(dir.File("VexTable.ini"));
  EXPECT_NE(text.find("[MAIN_TOOLBAR]"), std::string::npos);
  EXPECT_NE(text.find("Left=-50"), std::string::npos);
  EXPECT_NE(text.find("Top=80"), std::string::npos);
  EXPECT_EQ(ReadToolbarSpot(file, {12, 34}), (ToolbarSpot{-50, 80}));
}

}  // namespace
}  // namespace vex
