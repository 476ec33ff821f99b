// Applications: loading ".arx" files, their commands, acedGetAppName, unloading.

#include "cadhost_host/host_test_util.h"
#include "support/temp_dir.h"

namespace cadhost::test {
namespace {

using ApplicationsTest = HostTest;

TEST_F(ApplicationsTest, ServicesAreFoundByName) {
  EXPECT_NE(acrxDynamicLinker, nullptr);
  EXPECT_NE(acedRegCmds, nullptr);
  EXPECT_NE(acrxSysRegistry()->at("dynamiclinker"), nullptr);
  EXPECT_EQ(acrxSysRegistry()->at("NoSuchService"), nullptr);
  EXPECT_EQ(acrxSysRegistry()->at(nullptr), nullptr);
  EXPECT_EQ(AcEdCommandStack::cast(acrxSysRegistry()->at(ACRX_DYNAMIC_LINKER)), nullptr)
      << "class test tells the services apart";
}

TEST_F(ApplicationsTest, LoadRegistersCommandsThatRunAndUnloadRemovesThem) {
  const std::string path = AppPath("TestApp.arx");
  ASSERT_TRUE(acrxDynamicLinker->loadModule(path.c_str(), true));
  EXPECT_NE(Feedback::Text().find("\ninit " + path), std::string::npos) << Feedback::Text();
  EXPECT_TRUE(acedRegCmds->lookupCmd("thello"));
  EXPECT_EQ(acedGetAppName(), std::string()) << "no application code runs now";

  const std::string out = RunScript("THELLO\n");
  EXPECT_NE(out.find("\nhello from " + path), std::string::npos) << out;

  ASSERT_TRUE(acrxDynamicLinker->unloadModule("testapp.ARX"));
  EXPECT_FALSE(acedRegCmds->lookupCmd("THELLO"));
  EXPECT_TRUE(acrxDynamicLinker->loadedApplications().empty());
  EXPECT_NE(RunScript("THELLO\n").find("Unknown command \"THELLO\""), std::string::npos);
}

TEST_F(ApplicationsTest, LoadingTwiceInitialisesOnce) {
  const std::string path = AppPath("TestApp.arx");
  ASSERT_TRUE(acrxDynamicLinker->loadModule(path.c_str(), false));
  ASSERT_TRUE(acrxDynamicLinker->loadModule(path.c_str(), false));
  EXPECT_EQ(Count(Feedback::Text(), "\ninit "), 1);
  EXPECT_EQ(acrxDynamicLinker->loadedApplications().size(), 1u);
}

TEST_F(ApplicationsTest, LockedApplicationStaysUntilTheHostEnds) {
  ASSERT_TRUE(acrxDynamicLinker->loadModule(AppPath("TestAppLocked.arx").c_str(), false));
  EXPECT_TRUE(acrxDynamicLinker->isApplicationLocked("TestAppLocked.arx"));
  EXPECT_FALSE(acrxDynamicLinker->unloadModule("TestAppLocked.arx"));
  EXPECT_TRUE(acedRegCmds->lookupCmd("THELLO"));
  ResetHost();
  EXPECT_TRUE(acrxDynamicLinker->loadedApplications().empty());
  EXPECT_FALSE(acedRegCmds->lookupCmd("THELLO"));
}

struct BadLoad {
  const char* name;
  std::string file;
  const char* reason;
};

class LoadFails : public HostTest, public ::testing::WithParamInterface<BadLoad> {};

TEST_P(LoadFails, WithTheReasonPrintedAndNothingLeftBehind) {
  EXPECT_FALSE(acrxDynamicLinker->loadModule(GetParam().file.c_str(), true));
  EXPECT_NE(Feedback::Text().find(GetParam().reason), std::string::npos) << Feedback::Text();
  EXPECT_TRUE(acrxDynamicLinker->loadedApplications().empty());
  EXPECT_FALSE(acedRegCmds->lookupCmd("THELLO"));
  Feedback::Clear();
  EXPECT_FALSE(acrxDynamicLinker->loadModule(GetParam().file.c_str(), false));
  EXPECT_EQ(Feedback::Text().find("Unable"), std::string::npos) << "quiet without printit";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LoadFails,
    ::testing::Values(
        BadLoad{"missing", AppPath("NoSuch.arx"), "file not found"},
        BadLoad{"not_a_module", std::string(CADHOST_TEST_APPS) + "/../CMakeFiles/Makefile.cmake",
                "Unable to load"},
        BadLoad{"old_interface", AppPath("TestAppOldApi.arx"), "interface version 12"},
        BadLoad{"refuses", AppPath("TestAppRefuses.arx"), "refused to initialise"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ApplicationsTest, TruncatedApplicationIsRefusedBeforeItIsMapped_Issue11) {
  const std::string whole = vex::test::ReadFile(AppPath("TestApp.arx"));
  ASSERT_GT(whole.size(), 4096u);
  vex::test::TempDir dir;
  for (const std::size_t keep : {std::size_t(40), std::size_t(200), whole.size() / 3, whole.size() * 2 / 3,
                                 whole.size() - 64}) {
    const std::string cut = dir.File("cut" + std::to_string(keep) + ".arx");
    vex::test::WriteFile(cut, whole.substr(0, keep));
    Feedback::Clear();
    // Mapping such a file would kill the host on first touch (SIGBUS); it must be refused.
    EXPECT_FALSE(acrxDynamicLinker->loadModule(cut.c_str(), true)) << keep;
    EXPECT_NE(Feedback::Text().find("Unable to load"), std::string::npos) << keep << Feedback::Text();
    EXPECT_TRUE(acrxDynamicLinker->loadedApplications().empty());
  }
  EXPECT_TRUE(acrxDynamicLinker->loadModule(AppPath("TestApp.arx").c_str(), true));  // the whole file still loads
}

TEST_F(ApplicationsTest, AppNameFollowsNestedLoadsFromInitialisation) {
  const std::string loader = AppPath("TestLoader.arx");
  const std::string inner = AppPath("TestApp.arx");
  ASSERT_TRUE(acrxDynamicLinker->loadModule(loader.c_str(), false));
  const std::string out = Feedback::Text();
  EXPECT_NE(out.find("\ninit " + loader), std::string::npos) << out;
  EXPECT_NE(out.find("\ninit " + inner), std::string::npos) << out;
  EXPECT_NE(out.find("\nloader loaded, back in " + loader), std::string::npos) << out;
  EXPECT_EQ(acrxDynamicLinker->loadedApplications(), (std::vector<std::string>{loader, inner}));
  EXPECT_NE(RunScript("TLOADERHELLO\n").find("hello from " + loader), std::string::npos);
  EXPECT_NE(RunScript("THELLO\n").find("hello from " + inner), std::string::npos);

  // Unloading the loader unloads what it loaded, from its own kUnloadAppMsg.
  Feedback::Clear();
  ASSERT_TRUE(acrxDynamicLinker->unloadModule(loader.c_str()));
  EXPECT_NE(Feedback::Text().find("\nunload " + inner), std::string::npos);
  EXPECT_TRUE(acrxDynamicLinker->loadedApplications().empty());
  EXPECT_TRUE(acedRegCmds->commands().empty());
}

TEST_F(ApplicationsTest, ApplicationCanUnloadItselfFromItsOwnCommand) {
  ASSERT_TRUE(acrxDynamicLinker->loadModule(AppPath("TestApp.arx").c_str(), false));
  const std::string out = RunScript("TUNLOADSELF\nTHELLO\n");
  EXPECT_NE(out.find("self unload done, now in \"\""), std::string::npos) << out;
  EXPECT_NE(out.find("Unknown command \"THELLO\""), std::string::npos) << out;
  EXPECT_TRUE(acrxDynamicLinker->loadedApplications().empty());
  ASSERT_TRUE(acrxDynamicLinker->loadModule(AppPath("TestApp.arx").c_str(), false))
      << "loads again after its file was closed";
  EXPECT_NE(RunScript("THELLO\n").find("hello from"), std::string::npos);
}

TEST_F(ApplicationsTest, UnloadOfSomethingNotLoadedFails) {
  EXPECT_FALSE(acrxDynamicLinker->unloadModule("TestApp.arx"));
  EXPECT_FALSE(acrxDynamicLinker->unloadModule(nullptr));
  EXPECT_FALSE(acrxDynamicLinker->unlockApplication(nullptr));
  EXPECT_FALSE(acrxDynamicLinker->registerAppMDIAware(reinterpret_cast<void*>(0x1234)));
}

// ---- the command stack

void Noop() {}
void Other() {}

TEST_F(ApplicationsTest, CommandStackSearchesTheNewestGroupFirst) {
  ASSERT_EQ(acedRegCmds->addCommand("G1", "SAME", "SAME", ACRX_CMD_MODAL, Noop), Acad::eOk);
  ASSERT_EQ(acedRegCmds->addCommand("G2", "SAME", "LOCALSAME", ACRX_CMD_TRANSPARENT, Other),
            Acad::eOk);
  AcEdCommandInfo info;
  ASSERT_TRUE(acedRegCmds->lookupCmd("same", &info));
  EXPECT_EQ(info.group, "G2");
  EXPECT_EQ(info.flags, ACRX_CMD_TRANSPARENT);
  ASSERT_TRUE(acedRegCmds->lookupCmd("_SAME", &info)) << "the global name with '_'";
  ASSERT_TRUE(acedRegCmds->lookupCmd("LocalSame", &info));
  ASSERT_EQ(acedRegCmds->removeGroup("g2"), Acad::eOk);
  ASSERT_TRUE(acedRegCmds->lookupCmd("SAME", &info));
  EXPECT_EQ(info.group, "G1");
  EXPECT_EQ(acedRegCmds->removeGroup("G2"), Acad::eKeyNotFound);
  EXPECT_EQ(acedRegCmds->removeCmd("G1", "SAME"), Acad::eOk);
  EXPECT_TRUE(acedRegCmds->commands().empty());
}

struct BadCommand {
  const char* name;
  const char* group;
  const char* global;
  AcRxFunctionPtr fn;
  Acad::ErrorStatus status;
};

class AddCommandFails : public HostTest, public ::testing::WithParamInterface<BadCommand> {};

TEST_P(AddCommandFails, AndRegistersNothing) {
  ASSERT_EQ(acedRegCmds->addCommand("G", "TAKEN", nullptr, 0, Noop), Acad::eOk);
  const BadCommand& c = GetParam();
  EXPECT_EQ(acedRegCmds->addCommand(c.group, c.global, c.global, 0, c.fn), c.status);
  EXPECT_EQ(acedRegCmds->commands().size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AddCommandFails,
    ::testing::Values(BadCommand{"duplicate", "g", "taken", Noop, Acad::eDuplicateRecordName},
                      BadCommand{"no_function", "G", "X", nullptr, Acad::eInvalidInput},
                      BadCommand{"empty_name", "G", "", Noop, Acad::eInvalidInput},
                      BadCommand{"null_name", "G", nullptr, Noop, Acad::eInvalidInput},
                      BadCommand{"space", "G", "TWO WORDS", Noop, Acad::eInvalidInput},
                      BadCommand{"control", "G", "A\x1b", Noop, Acad::eInvalidInput},
                      BadCommand{"no_group", nullptr, "X", Noop, Acad::eInvalidInput}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- the command line

TEST_F(ApplicationsTest, EnterRepeatsAndUnknownCommandsDoNotStopTheScript) {
  static int runs = 0;
  runs = 0;
  acedRegCmds->addCommand("G", "COUNTIT", nullptr, 0, [] { ++runs; });
  const std::string out = RunScript("COUNTIT\nBOGUS\n\n;COUNTIT in a comment\n_countit\n");
  EXPECT_EQ(runs, 3) << out;  // COUNTIT, ENTER repeats it, _countit
  EXPECT_EQ(Count(out, "Unknown command \"BOGUS\".  Press F1 for help."), 1) << out;
}

TEST_F(ApplicationsTest, PostedCommandRunsAfterTheCommandThatPostedIt) {
  ASSERT_TRUE(acrxDynamicLinker->loadModule(AppPath("TestApp.arx").c_str(), false));
  const std::string out = RunScript("TPOST\n");
  EXPECT_EQ(Feedback::Posted(), (std::vector<std::string>{"\x1b", "THELLO", "\r"}));
  EXPECT_EQ(Count(out, "hello from"), 1) << out;
}

TEST_F(ApplicationsTest, QuitEndsTheCommandLineAndLeavesTheRestUnread) {
  static int runs = 0;
  runs = 0;
  acedRegCmds->addCommand("G", "COUNTIT", nullptr, 0, [] { ++runs; });
  TypeInput("COUNTIT QUIT Y COUNTIT\n");
  EXPECT_EQ(RunCommandLine(), CommandLineEnd::Quit);
  EXPECT_EQ(runs, 1);
  EXPECT_EQ(RunCommandLine(), CommandLineEnd::InputEnded);
  EXPECT_EQ(runs, 2);
}

TEST_F(ApplicationsTest, ACommandThatThrowsEndsOnlyItself) {
  acedRegCmds->addCommand("G", "THROWS", nullptr, 0, [] { throw std::runtime_error("boom"); });
  const std::string out = RunScript("THROWS\nTHROWS\n");
  EXPECT_EQ(Count(out, "THROWS failed: boom"), 2) << out;
  EXPECT_EQ(acDocManager->curDocument()->lockCount(), 0) << "the command's lock is released";
}

}  // namespace
}  // namespace cadhost::test
