// The cadhost program: command line, scripts, demand loading, drawings checked with ezdxf.

#include <filesystem>

#include "cadhost_host/host_test_util.h"
#include "platform/registry.h"
#include "support/temp_dir.h"

namespace cadhost::test {
namespace {

using vex::platform::RegHive;
using vex::platform::Registry;

class ProgramTest : public ::testing::Test {
 protected:
  std::string Script(const std::string& text) {
    const std::string path = dir.File("script.scr");
    vex::test::WriteFile(path, text);
    return path;
  }
  ProgramRun Host(const std::string& args) { return RunHostProgram(args, dir.File("reg")); }

  vex::test::TempDir dir;
};

struct BadStart {
  const char* name;
  const char* args;  // $D is the scratch folder
  int status;
  const char* message;
};

class ProgramRefuses : public ProgramTest, public ::testing::WithParamInterface<BadStart> {};

TEST_P(ProgramRefuses, SaysWhatIsWrongAndExitsNonZero) {
  std::string args = GetParam().args;
  for (auto pos = args.find("$D"); pos != std::string::npos; pos = args.find("$D"))
    args.replace(pos, 2, dir.path());
  vex::test::WriteFile(dir.File("ok.scr"), "LINE 0,0 1,0\n\n");
  vex::test::WriteFile(dir.File("broken.dxf"), "0\nSECTION\n2\nENTITIES\n0\nLINE\n10\nx\n");
  const ProgramRun r = Host(args);
  EXPECT_EQ(r.status, GetParam().status) << r.out << r.err;
  EXPECT_NE(r.err.find(GetParam().message), std::string::npos) << r.err;
  EXPECT_EQ(r.out.find("Command:"), std::string::npos) << "no command was run";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProgramRefuses,
    ::testing::Values(
        BadStart{"missing_script", "--script $Dnone.scr", 1, "cannot open script"},
        BadStart{"missing_drawing", "--script $Dok.scr $Dnone.dxf", 1, "cannot open drawing"},
        BadStart{"broken_drawing", "--script $Dok.scr $Dbroken.dxf", 1,
                 "cannot open drawing"},
        BadStart{"script_without_name", "--script", 2, "--script needs a value"},
        BadStart{"unknown_option", "--frobnicate", 2, "unknown option --frobnicate"},
        BadStart{"two_drawings", "a.dxf b.dxf", 2, "more than one drawing"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ProgramTest, MissingScriptMessageNamesTheFile) {
  const ProgramRun r = Host("--script " + dir.File("none.scr"));
  EXPECT_NE(r.err.find(dir.File("none.scr")), std::string::npos) << r.err;
}

TEST_F(ProgramTest, DrawsMovesByADragInAMovedAndRotatedUcsAndSaves) {
  // The test application comes from the registry's demand-load entries.
  Registry reg(dir.File("reg"));
  const std::string app = std::string(acrxProductKey()) + "\\Applications\\TestApp";
  ASSERT_TRUE(reg.SetDword(RegHive::LocalMachine, app, "LOADCTRLS", 2));
  ASSERT_TRUE(reg.SetString(RegHive::LocalMachine, app, "LOADER", AppPath("TestApp.arx")));
  const std::string out = dir.File("out.dxf");
  const ProgramRun r = Host("--script " + Script(
      "; a drafter's script\n"
      "LINE 0,0 10,0 10,5\n\n"
      "TEXT 1,1 2 0\nA1\n\n"
      "LINE 100,100 110,100\n\n"
      "UCS 20,10\n\n"
      "UCS Z 90\n"
      // In this UCS the world box -1..11 x -1..6 runs x -11..-4, y 9..21: a window.
      "TDRAG W -11.5,8.5 -3.5,21.5\n\n"
      "0,0\n"
      "5,0\n"
      "TDRAG W -11.5,8.5 -3.5,21.5\n\n0,0\n\x1b"
      "SAVEAS\n" + out + "\n"));
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("init " + AppPath("TestApp.arx")), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("drag rc=5100"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("drag rc=-5002"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("unload " + AppPath("TestApp.arx")), std::string::npos)
      << "unloaded when the host ends";
  // 5 along the UCS x axis is 5 along world y.
  EXPECT_EQ(DumpWithEzdxf(out),
            "audit errors=0 fixes=0\n"
            "MODEL LINE 0,5 10,5\n"
            "MODEL LINE 10,5 10,10\n"
            "MODEL TEXT \"A1\" 1,6 h=2 rot=0\n"
            "MODEL LINE 100,100 110,100\n");
}

TEST_F(ProgramTest, ScriptLoadsRunsAndUnloadsAnApplication) {
  const ProgramRun r = Host("--script " + Script(
      "APPLOAD\n" + AppPath("TestApp.arx") + "\n"
      "TPOINT 3,4\n"
      "TPOINT\n\n"
      "TPOINT \x1b"
      "ARX U TestApp.arx\n"
      "TPOINT\n"
      "QUIT\n"));
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("point rc=5100 3,4,0"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("point rc=5000"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("point rc=-5002"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("Unknown command \"TPOINT\""), std::string::npos) << r.out;
}

TEST_F(ProgramTest, OpensTheDrawingGivenAndTheProfileOption) {
  const std::string drawing = dir.File("plan.dxf");
  ASSERT_EQ(Host("--script " + Script("LINE 0,0 1,1\n\nSAVEAS\n" + drawing + "\n")).status, 0);
  const ProgramRun r =
      Host("--script " + Script("CIRCLE 0,0 1\nSAVE\n") + " /p Plotting " + drawing);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(DumpWithEzdxf(drawing),
            "audit errors=0 fixes=0\nMODEL LINE 0,0 1,1\nMODEL CIRCLE 0,0 r=1\n");
  Registry reg(dir.File("reg"));
  EXPECT_EQ(reg.GetString(RegHive::CurrentUser, std::string(acrxProductKey()) + "\\Profiles", ""),
            "Plotting");
}

TEST_F(ProgramTest, BrokenHiveIsReportedUntouchedAndTheHostStillRuns) {
  std::filesystem::create_directories(dir.File("reg"));
  const std::string hive = dir.File("reg/HKLM.reg");
  const std::string junk = "Windows Registry Editor Version 5.00\n[HKEY_LOCAL_MACHINE\\Software\n";
  vex::test::WriteFile(hive, junk);
  const ProgramRun r = Host("--script " + Script("LINE 0,0 1,0\n\nSAVEAS\n" +
                                                 dir.File("still.dxf") + "\n"));
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("Registry: "), std::string::npos) << r.out;
  EXPECT_EQ(vex::test::ReadFile(hive), junk);
  EXPECT_TRUE(std::filesystem::exists(dir.File("still.dxf")));
}

TEST_F(ProgramTest, UnsavedChangesAreNamedAtTheEnd) {
  const ProgramRun r = Host("--script " + Script("LINE 0,0 1,0\n\n"));
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("Drawing1.dxf: changes not saved."), std::string::npos) << r.out;
}

TEST_F(ProgramTest, ACrashingCommandStopsTheHostWithTheDrawingKept) {
  const std::string drawing = dir.File("plan.dxf");
  ASSERT_EQ(Host("--script " + Script("SAVEAS\n" + drawing + "\n")).status, 0);
  const ProgramRun r = Host("--script " + Script("APPLOAD\n" + AppPath("TestApp.arx") + "\n"
                                                 "LINE 0,0 1,0\n\n"
                                                 "TCRASH\n"
                                                 "LINE 5,5 6,6\n\n") + " " + drawing);
  EXPECT_EQ(r.status, 3) << r.out << r.err;
  EXPECT_NE(r.out.find("TCRASH stopped: Segmentation fault. The host has to stop."),
            std::string::npos) << r.out;
  const std::string recovery = dir.File("plan.recover.dxf");
  EXPECT_NE(r.out.find("Recovery copy saved: " + recovery), std::string::npos) << r.out;
  // The drawing as it was before the broken command; nothing after it ran.
  EXPECT_EQ(DumpWithEzdxf(recovery), "audit errors=0 fixes=0\nMODEL LINE 0,0 1,0\n");
  EXPECT_EQ(DumpWithEzdxf(drawing), "audit errors=0 fixes=0\n") << "the file itself untouched";
}

TEST_F(ProgramTest, AThrowingCommandIsReportedAndTheHostGoesOn) {
  const std::string out = dir.File("out.dxf");
  const ProgramRun r = Host("--script " + Script("APPLOAD\n" + AppPath("TestApp.arx") + "\n"
                                                 "TTHROW\nU\nLINE 0,0 1,0\n\n"
                                                 "SAVEAS\n" + out + "\n"));
  EXPECT_EQ(r.status, 0) << r.out << r.err;
  EXPECT_NE(r.out.find("TTHROW failed: the table is upside down"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("TTHROW undone"), std::string::npos) << r.out;
  EXPECT_EQ(DumpWithEzdxf(out), "audit errors=0 fixes=0\nMODEL LINE 0,0 1,0\n");
}

TEST_F(ProgramTest, HelpPrintsTheUsage) {
  const ProgramRun r = Host("--help");
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("usage: cadhost"), std::string::npos);
}

}  // namespace
}  // namespace cadhost::test
