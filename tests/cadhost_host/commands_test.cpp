// The host's built-in commands, driven by scripts as a drafter writes them.

#include <filesystem>

#include "cadhost_host/host_test_util.h"
#include "support/temp_dir.h"

namespace cadhost::test {
namespace {

using Lines = std::vector<std::string>;
using CommandsTest = HostTest;

struct ScriptCase {
  const char* name;
  const char* script;
  Lines model;  // the model space afterwards, described
};

class Script : public HostTest, public ::testing::WithParamInterface<ScriptCase> {};

TEST_P(Script, DrawsWhatTheScriptSays) {
  const std::string out = RunScript(GetParam().script);
  EXPECT_EQ(DescribeSpace(), GetParam().model) << out;
  EXPECT_EQ(Count(out, "Unknown command"), 0) << out;
  EXPECT_EQ(OpenSelectionSetCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Script,
    ::testing::Values(
        ScriptCase{"line_segments_until_enter",
                   "LINE 0,0 10,0 10,5\n\n",
                   {"LINE 0,0 10,0", "LINE 10,0 10,5"}},
        ScriptCase{"line_undo_and_close",
                   "LINE 0,0 10,0 10,10 U 5,5 C\n",
                   {"LINE 0,0 10,0", "LINE 10,0 5,5", "LINE 5,5 0,0"}},
        ScriptCase{"line_relative_and_polar",
                   "LINE 1,1 @4,0 @2<90\n\n",
                   {"LINE 1,1 5,1", "LINE 5,1 5,3"}},
        ScriptCase{"line_escape_keeps_segments_drawn",
                   "LINE 0,0 1,0 \x1b",
                   {"LINE 0,0 1,0"}},
        ScriptCase{"enter_repeats_the_last_command",
                   "LINE 0,0 1,0\n\n\n2,0 3,0\n\n",
                   {"LINE 0,0 1,0", "LINE 2,0 3,0"}},
        ScriptCase{"pline_closed",
                   "PLINE 0,0 4,0 4,3 C\n",
                   {"LWPOLYLINE closed=1 0,0 4,0 4,3"}},
        ScriptCase{"pline_open_with_undo",
                   "PLINE 0,0 4,0 9,9 U 4,3\n\n",
                   {"LWPOLYLINE closed=0 0,0 4,0 4,3"}},
        ScriptCase{"circle_radius_typed_or_picked",
                   "CIRCLE 5,5 2\nCIRCLE 0,0 3,4\n",
                   {"CIRCLE 5,5 r=2", "CIRCLE 0,0 r=5"}},
        ScriptCase{"circle_refuses_zero_radius",
                   "CIRCLE 5,5 0 -1 1\n",
                   {"CIRCLE 5,5 r=1"}},
        ScriptCase{"text_lines_with_spaces",
                   "TEXT 0,10 2 0\nFirst line\nSecond line\n\n",
                   {"TEXT \"First line\" 0,10 h=2 rot=0",
                    "TEXT \"Second line\" 0,6.667 h=2 rot=0"}},
        ScriptCase{"text_default_height_and_rotation",
                   "TEXT 1,2\n\n90\nUp\n\n",
                   {"TEXT \"Up\" 1,2 h=2.5 rot=90"}},
        ScriptCase{"text_justified_middle_centre",
                   "TEXT J MC 10,10 2 0\nAB\n\n",
                   {"TEXT \"AB\" 9,9 h=2 rot=0"}},
        ScriptCase{"erase_by_window",
                   "LINE 0,0 1,0\n\nLINE 5,5 6,5\n\nERASE W -1,-1 2,1\n\n",
                   {"LINE 5,5 6,5"}},
        ScriptCase{"move_base_and_second_point",
                   "LINE 0,0 1,0\n\nMOVE L\n\n0,0 10,20\n",
                   {"LINE 10,20 11,20"}},
        ScriptCase{"move_first_point_as_displacement",
                   "LINE 0,0 1,0\n\nMOVE L\n\n3,4\n\n",
                   {"LINE 3,4 4,4"}},
        ScriptCase{"move_displacement_keyword",
                   "LINE 0,0 1,0\n\nMOVE L\n\nD 0,5\n",
                   {"LINE 0,5 1,5"}},
        ScriptCase{"move_cancelled",
                   "LINE 0,0 1,0\n\nMOVE L\n\n0,0 \x1b",
                   {"LINE 0,0 1,0"}},
        ScriptCase{"ucs_origin_then_line",
                   "UCS 100,50\n\nLINE 0,0 10,0\n\n",
                   {"LINE 100,50 110,50"}},
        ScriptCase{"ucs_rotated_about_z",
                   "UCS Z 90\nLINE 0,0 10,0\n\nTEXT 0,0 1 0\nT\n\n",
                   {"LINE 0,0 0,10", "TEXT \"T\" 0,0 h=1 rot=90"}},
        ScriptCase{"ucs_z_default_is_ninety",
                   "UCS Z\n\nLINE 0,0 1,0\n\n",
                   {"LINE 0,0 0,1"}},
        ScriptCase{"ucs_three_points",
                   "UCS 10,0 10,10 0,0\nLINE 0,0 1,0\n\n",
                   {"LINE 10,0 10,1"}},
        ScriptCase{"ucs_world_and_previous",
                   "UCS 5,5\n\nUCS W\nUCS P\nLINE 0,0 1,0\n\nUCS\n\nLINE 0,0 1,0\n\n",
                   {"LINE 5,5 6,5", "LINE 0,0 1,0"}},
        ScriptCase{"move_in_rotated_ucs",
                   "UCS 3,0\n\nUCS Z 90\nLINE 0,0 1,0\n\nMOVE L\n\n0,0 2,0\n",
                   {"LINE 3,2 3,3"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CommandsTest, UcsVariablesFollowTheUcsCommand) {
  RunScript("UCS 100,50\n\nUCS Z 90\n");
  resbuf org{}, xdir{};
  ASSERT_EQ(acedGetVar("UCSORG", &org), RTNORM);
  ASSERT_EQ(acedGetVar("UCSXDIR", &xdir), RTNORM);
  EXPECT_EQ(org.restype, RT3DPOINT);
  EXPECT_NEAR(org.resval.rpoint[X], 100, 1e-12);
  EXPECT_NEAR(org.resval.rpoint[Y], 50, 1e-12);
  EXPECT_NEAR(xdir.resval.rpoint[X], 0, 1e-12);
  EXPECT_NEAR(xdir.resval.rpoint[Y], 1, 1e-12);
  RunScript("UCS P\nUCS P\nUCS P\n");
  ASSERT_EQ(acedGetVar("UCSORG", &org), RTNORM);
  EXPECT_EQ(org.resval.rpoint[X], 0) << "back to the world";
  EXPECT_NE(Feedback::Text().find("No previous UCS."), std::string::npos);
}

TEST_F(CommandsTest, TilemodeZeroDrawsInPaperSpace) {
  RunScript("TILEMODE 0\nLINE 0,0 1,0\n\n");
  EXPECT_EQ(DescribeSpace(true), Lines{"LINE 0,0 1,0"});
  EXPECT_TRUE(DescribeSpace(false).empty());
  const std::string out = RunScript("TILEMODE 2\n1\n");
  EXPECT_NE(out.find("Requires an integer between 0 and 1."), std::string::npos) << out;
  resbuf rb{};
  acedGetVar("TILEMODE", &rb);
  EXPECT_EQ(rb.resval.rint, 1);
}

TEST_F(CommandsTest, SaveAsOpenNewAndClose) {
  vex::test::TempDir dir;
  const std::string path = dir.File("plan one.dxf");
  RunScript("LINE 0,0 1,0\n\nSAVEAS\n" + path + "\n");
  ASSERT_TRUE(std::filesystem::exists(path));
  EXPECT_FALSE(acDocManager->curDocument()->isModified());
  EXPECT_STREQ(acDocManager->curDocument()->docTitle(), "plan one.dxf");

  // A second drawing saved over the first asks first; No keeps the file.
  RunScript("NEW\n\nCIRCLE 0,0 1\nSAVEAS\n" + path + "\nN\n");
  EXPECT_EQ(acDocManager->documentCount(), 2);
  EXPECT_TRUE(acDocManager->curDocument()->isUntitled());
  RunScript("CLOSE N\n");
  EXPECT_EQ(acDocManager->documentCount(), 1);
  RunScript("CLOSE\nOPEN\n" + path + "\n");
  EXPECT_EQ(acDocManager->documentCount(), 1);
  EXPECT_EQ(DescribeSpace(), Lines{"LINE 0,0 1,0"});
  RunScript("CIRCLE 0,0 1\nSAVE\n");
  RunScript("CLOSE\nOPEN \"" + path + "\"\n");
  EXPECT_EQ(DescribeSpace(), (Lines{"LINE 0,0 1,0", "CIRCLE 0,0 r=1"}));
}

TEST_F(CommandsTest, SaveAsAddsTheExtensionAndReplacesOnlyWhenTold) {
  vex::test::TempDir dir;
  RunScript("LINE 0,0 1,0\n\nSAVEAS\n" + dir.File("a") + "\n");
  EXPECT_TRUE(std::filesystem::exists(dir.File("a.dxf")));
  vex::test::WriteFile(dir.File("b.dxf"), "keep me");
  RunScript("SAVEAS\n" + dir.File("b.dxf") + "\nN\n");
  EXPECT_EQ(vex::test::ReadFile(dir.File("b.dxf")), "keep me");
  RunScript("SAVEAS\n" + dir.File("b.dxf") + "\nY\n");
  EXPECT_NE(vex::test::ReadFile(dir.File("b.dxf")), "keep me");
}

TEST_F(CommandsTest, CloseWithChangesAsksAndCanBeCancelled) {
  RunScript("LINE 0,0 1,0\n\nCLOSE C\n");
  EXPECT_EQ(acDocManager->documentCount(), 1);
  const std::string out = RunScript("CLOSE\n");  // the input ends at the question
  EXPECT_NE(out.find("Save changes to Drawing1.dxf?"), std::string::npos) << out;
  EXPECT_EQ(acDocManager->documentCount(), 1);
}

TEST_F(CommandsTest, OpenOfAMissingOrBrokenFileSaysWhy) {
  vex::test::TempDir dir;
  vex::test::WriteFile(dir.File("junk.dxf"), "0\nSECTION\n2\nENTITIES\n0\nLINE\n10\nabc\n");
  std::string out = RunScript("OPEN\n" + dir.File("none.dxf") + "\n");
  EXPECT_NE(out.find("Cannot open " + dir.File("none.dxf")), std::string::npos) << out;
  out = RunScript("OPEN\n" + dir.File("junk.dxf") + "\nLINE 0,0 1,0\n\n");
  EXPECT_NE(out.find("Cannot open " + dir.File("junk.dxf")), std::string::npos) << out;
  EXPECT_EQ(acDocManager->documentCount(), 1);
  EXPECT_EQ(DescribeSpace(), Lines{"LINE 0,0 1,0"}) << "the script went on";
}

TEST_F(CommandsTest, WithoutADrawingOnlyFileCommandsRun) {
  acDocManager->closeDocument(acDocManager->curDocument());
  const std::string out = RunScript("LINE\nNEW\n\nLINE 0,0 1,0\n\n");
  EXPECT_EQ(Count(out, "No drawing is open."), 1) << out;
  EXPECT_EQ(DescribeSpace(), Lines{"LINE 0,0 1,0"});
}

TEST_F(CommandsTest, QuitWithChangesNeedsYes) {
  TypeInput("LINE 0,0 1,0\n\nQUIT\nN\nQUIT Y\nLINE 5,5 6,6\n\n");
  EXPECT_EQ(RunCommandLine(), CommandLineEnd::Quit);
  EXPECT_EQ(DescribeSpace(), Lines{"LINE 0,0 1,0"}) << "stopped at QUIT Y";
  EXPECT_NE(Feedback::Text().find("Really want to discard all changes to drawing?"),
            std::string::npos);
}

TEST_F(CommandsTest, AppLoadAndArxUnloadFromAScript) {
  const std::string out = RunScript("APPLOAD\n" + AppPath("TestApp.arx") +
                                    "\nTHELLO\nARX ?\nARX U TestApp.arx\nTHELLO\nARX U\n"
                                    "TestApp.arx\nARX L\n" +
                                    AppPath("TestAppLocked.arx") + "\nARX U\nTestAppLocked.arx\n");
  EXPECT_EQ(Count(out, "hello from " + AppPath("TestApp.arx")), 1) << out;
  EXPECT_NE(out.find("\n" + AppPath("TestApp.arx")), std::string::npos) << "listed by ARX ?";
  EXPECT_NE(out.find("TestApp.arx unloaded."), std::string::npos) << out;
  EXPECT_NE(out.find("Unknown command \"THELLO\""), std::string::npos) << out;
  EXPECT_NE(out.find("Unable to unload TestApp.arx: it is not loaded."), std::string::npos);
  EXPECT_NE(out.find("Unable to unload TestAppLocked.arx: the application is locked."),
            std::string::npos)
      << out;
}

TEST_F(CommandsTest, CommandsAreFoundWithPrefixesAndDotForcesTheBuiltIn) {
  static int runs = 0;
  runs = 0;
  acedRegCmds->addCommand("G", "LINE", nullptr, 0, [] { ++runs; });
  RunScript("LINE\n._LINE 0,0 1,0\n\n_.line 2,0 3,0\n\n");
  EXPECT_EQ(runs, 1) << "an application's command comes before the built-in one";
  EXPECT_EQ(DescribeSpace(), (Lines{"LINE 0,0 1,0", "LINE 2,0 3,0"}));
}

}  // namespace
}  // namespace cadhost::test
