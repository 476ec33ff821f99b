// What a window on the host relies on: picks answering prompts, the contexts prompts tell,
// pick-first selection, document activation, posted input waking the window, dialogs standing
// in for command-line questions, and commands of the program around the host.

#include <csignal>
#include <filesystem>

#include "cadhost_host/host_test_util.h"
#include "cadhost_host/host_window_fakes.h"
#include "support/temp_dir.h"

namespace cadhost::test {
namespace {

using Kind = PromptContext::Kind;

class WindowHooks : public HostTest {
 protected:
  void SetUp() override {
    HostTest::SetUp();
    SetHostWindow(&window);
    input.Attach();
  }
  // Runs the command line until the input runs out; the recorded text.
  std::string Run() {
    Feedback::Clear();
    input.Attach();  // the last run read the input to its end
    RunCommandLine();
    return Feedback::Text();
  }
  std::vector<Kind> Kinds() const {
    std::vector<Kind> out;
    for (const auto& c : window.contexts) out.push_back(c.kind);
    return out;
  }
  FakeWindow window;
  Input input;
};

TEST_F(WindowHooks, APickAnswersAPointPromptAndDropsWhatWasTyped) {
  input.Type("12,").Pick(3, 4);
  ads_point p = {0, 0, 0};
  EXPECT_EQ(acedGetPoint(nullptr, "\nPoint: ", p), RTNORM);
  EXPECT_DOUBLE_EQ(p[X], 3);
  EXPECT_DOUBLE_EQ(p[Y], 4);
  input.Pick(1, 2);
  ads_real d = 0;
  EXPECT_EQ(acedGetDist(p, "\nDistance: ", &d), RTNORM);
  EXPECT_NEAR(d, std::hypot(2.0, 2.0), 1e-12);
  ASSERT_FALSE(window.contexts.empty());
  EXPECT_EQ(window.contexts.back().kind, Kind::Point);
  EXPECT_TRUE(window.contexts.back().hasBase);
  EXPECT_DOUBLE_EQ(window.contexts.back().base.x, 3);
}

TEST_F(WindowHooks, TypedPromptsWaitPastPicksWithoutAskingAgain) {
  input.Pick(1, 1).Type("two words\n");
  std::string s;
  EXPECT_EQ(acedGetString(1, "\nName: ", s), RTNORM);
  EXPECT_EQ(s, "two words");
  EXPECT_EQ(Count(Feedback::Text(), "Name: "), 1);
  EXPECT_EQ(window.contexts.back().kind, Kind::Text);
  EXPECT_TRUE(window.contexts.back().spacesAllowed);
}

TEST_F(WindowHooks, PromptsTellWhatTheyWaitFor) {
  input.Type("LINE 0,0 5,5\n\nCIRCLE 1,1 2\n");
  Run();
  ASSERT_GE(window.contexts.size(), 6u);
  EXPECT_EQ(window.contexts[0].kind, Kind::Command);
  EXPECT_EQ(window.contexts[1].kind, Kind::Point);
  EXPECT_FALSE(window.contexts[1].hasBase);
  EXPECT_EQ(window.contexts[2].kind, Kind::Point);
  EXPECT_TRUE(window.contexts[2].hasBase) << "the rubber line of LINE";
  EXPECT_DOUBLE_EQ(window.contexts[3].base.x, 5);
  ads_point base = {1, 1, 0}, p;
  input.Type("4,4\n");
  acedGetCorner(base, "\nOther corner: ", p);
  EXPECT_EQ(window.contexts.back().kind, Kind::Corner);
}

TEST_F(WindowHooks, DragShowsTheSetThroughTheCallback) {
  AddLine(0, 0, 10, 0);
  AddLine(0, 5, 10, 5);
  input.Type("MOVE W -1,-1 11,6\n\n0,0\n").Pick(5, 0);
  Run();
  ASSERT_FALSE(window.dragSetSizes.empty());
  EXPECT_EQ(window.dragSetSizes.back(), 2u);
  const auto drag = std::find_if(window.contexts.begin(), window.contexts.end(),
                                 [](const PromptContext& c) { return c.kind == Kind::Drag; });
  ASSERT_NE(drag, window.contexts.end());
  ASSERT_NE(drag->dragCallback, nullptr);
  EXPECT_EQ(DescribeSpace(), (std::vector<std::string>{"LINE 5,0 15,0", "LINE 5,5 15,5"}));
}

TEST_F(WindowHooks, APickAtTheCommandPromptMakesThePickFirstSetForErase) {
  const AcDbObjectId a = AddLine(0, 0, 10, 0);
  AddLine(0, 5, 10, 5);
  input.Pick(5, 0.2).Type("ERASE\n");
  const std::string text = Run();
  EXPECT_EQ(text.find("Select objects"), std::string::npos) << text;
  EXPECT_EQ(DescribeSpace(), (std::vector<std::string>{"LINE 0,5 10,5"}));
  EXPECT_TRUE(a.isErased());
  EXPECT_TRUE(Highlighted().empty());
  EXPECT_GT(window.selectionChanged, 0);
}

TEST_F(WindowHooks, AMissStartsAWindowOrACrossingAndShiftRemoves) {
  AddLine(0, 0, 10, 0);
  AddLine(0, 5, 10, 5);
  AddLine(20, 0, 30, 0);
  // Left to right: only what lies wholly inside.
  input.Pick(-1, -1).Pick(12, 6);
  Run();
  EXPECT_EQ(Highlighted().size(), 2u);
  EXPECT_EQ(window.contexts[1].kind, Kind::SelectCorner);
  EXPECT_TRUE(window.contexts[1].hasBase);
  // Shift and a pick on the first line takes it out again.
  input.Pick(5, 0, 0.5, true);
  Run();
  EXPECT_EQ(Highlighted().size(), 1u);
  // Right to left: what it touches too.
  input.Type("\x1b").Pick(25, 6).Pick(5, -1);
  Run();
  EXPECT_EQ(Highlighted().size(), 3u);
  input.Type("\x1b");
  Run();
  EXPECT_TRUE(Highlighted().empty()) << "ESC at the command prompt drops the pick-first set";
}

TEST_F(WindowHooks, ADraggedWindowStartsOnAnEntityWithoutPickingIt) {
  AddLine(0, 0, 10, 0);
  AddLine(20, 0, 30, 0);
  // From a point on the first line to the right: a window, which holds neither line.
  input.PickWindow(5, 0).Pick(12, 2);
  Run();
  EXPECT_TRUE(Highlighted().empty());
  // From a point on the second line to the left: a crossing, which touches both.
  input.PickWindow(25, 0).Pick(5, -1);
  Run();
  EXPECT_EQ(Highlighted().size(), 2u);
}

TEST_F(WindowHooks, ThePickFirstSetStaysWithItsDrawing) {
  AddLine(0, 0, 10, 0);
  input.Pick(5, 0);
  Run();
  ASSERT_EQ(Highlighted().size(), 1u);
  AcApDocument* first = acDocManager->curDocument();
  acDocManager->appContextNewDocument(nullptr);
  EXPECT_TRUE(Highlighted().empty()) << "ERASE in the new drawing must not reach the first";
  acDocManager->setCurDocument(first);
  input.Type("ERASE\n\n");
  Run();
  EXPECT_EQ(ModelSpace().size(), 1u);
}

TEST_F(WindowHooks, ThePicksApertureDecidesWhatIsHit) {
  AddLine(0, 0, 10, 0);
  input.Pick(5, 2, 1.0);  // misses: the point starts a window
  input.Type("\x1b");
  Run();
  EXPECT_TRUE(Highlighted().empty());
  input.Pick(5, 2, 2.5);
  Run();
  EXPECT_EQ(Highlighted().size(), 1u);
}

int g_pickFirstSeen = -1;
void UsesPickFirst() {
  ads_name ss;
  g_pickFirstSeen = -1;
  if (acedSSGet(nullptr, nullptr, nullptr, nullptr, ss) == RTNORM) {
    Adesk::Int32 n = 0;
    acedSSLength(ss, &n);
    g_pickFirstSeen = n;
    acedSSFree(ss);
  }
}

TEST_F(WindowHooks, OnlyCommandsFlaggedForItGetThePickFirstSet) {
  acedRegCmds->addCommand("HOOKS", "TPICKED", "TPICKED", ACRX_CMD_MODAL | ACRX_CMD_USEPICKSET,
                          UsesPickFirst);
  acedRegCmds->addCommand("HOOKS", "TPLAIN", "TPLAIN", ACRX_CMD_MODAL, UsesPickFirst);
  AddLine(0, 0, 10, 0);
  input.Pick(5, 0).Type("TPICKED\n");
  Run();
  EXPECT_EQ(g_pickFirstSeen, 1);
  // Without the flag the set is dropped and the command asks.
  input.Pick(5, 0).Type("TPLAIN\n\n");
  const std::string text = Run();
  EXPECT_NE(text.find("Select objects"), std::string::npos);
  EXPECT_EQ(g_pickFirstSeen, -1);
  EXPECT_TRUE(Highlighted().empty());
}

TEST_F(WindowHooks, TheSelectionBeingMadeIsHighlighted) {
  AddLine(0, 0, 10, 0);
  AddLine(0, 5, 10, 5);
  input.Type("ERASE\n").Pick(5, 0).Pick(5, 5).Pick(5, 0, 0.5, true).Type("\n");
  Run();
  EXPECT_EQ(DescribeSpace(), (std::vector<std::string>{"LINE 0,0 10,0"}));
  EXPECT_NE(Feedback::Text().find("1 found, 1 removed, 1 total"), std::string::npos);
}

TEST_F(WindowHooks, DocumentActivationNestsAndTellsTheWindowOnce) {
  EXPECT_EQ(acDocManager->enableDocumentActivation(), Acad::eNotApplicable);
  EXPECT_EQ(acDocManager->disableDocumentActivation(), Acad::eOk);
  EXPECT_EQ(acDocManager->disableDocumentActivation(), Acad::eOk);
  EXPECT_FALSE(acDocManager->isDocumentActivationEnabled());
  AcApDocument* first = acDocManager->curDocument();
  acDocManager->appContextNewDocument(nullptr);
  EXPECT_EQ(acDocManager->activateDocument(first), Acad::eNotApplicable);
  EXPECT_EQ(acDocManager->enableDocumentActivation(), Acad::eOk);
  EXPECT_FALSE(acDocManager->isDocumentActivationEnabled());
  EXPECT_EQ(acDocManager->enableDocumentActivation(), Acad::eOk);
  EXPECT_TRUE(acDocManager->isDocumentActivationEnabled());
  EXPECT_EQ(window.activation, (std::vector<bool>{false, true}));
  EXPECT_EQ(acDocManager->activateDocument(first), Acad::eOk);
  EXPECT_GE(input.Wakes(), 1) << "waiting input is read once the dialog is gone";
}

TEST_F(WindowHooks, PostedInputWakesTheWindowAndRunsFirst) {
  acDocManager->sendStringToExecute(acDocManager->curDocument(), "\x1bLINE\n0,0\n1,1\n\n");
  EXPECT_EQ(input.Wakes(), 1);
  Run();
  EXPECT_EQ(DescribeSpace(), (std::vector<std::string>{"LINE 0,0 1,1"}));
}

TEST_F(WindowHooks, AnAlertIsAMessageBoxAndNoCommandLineText) {
  std::string shown;
  class Capture : public CommandLineView {
   public:
    explicit Capture(std::string& s) : m_s(s) {}
    void Write(std::string_view t) override { m_s.append(t); }
    void ShowProgress(std::string_view, int) override {}
    void RestoreStatusBar() override {}
    std::string& m_s;
  };
  SetCommandLineView(std::make_unique<Capture>(shown));
  EXPECT_EQ(acedAlert("Table drawn."), RTNORM);
  EXPECT_EQ(window.alerts, (std::vector<std::string>{"Table drawn."}));
  EXPECT_EQ(shown, "");
  EXPECT_EQ(acedAlert(nullptr), RTERROR);
}

TEST(Alert, WithoutAWindowIsALineOnTheCommandLine) {
  ResetHost();
  SetCommandLineView(nullptr);
  EXPECT_EQ(acedAlert("Table drawn."), RTNORM);
  EXPECT_EQ(Feedback::Text(), "\nTable drawn.\n");
  ResetHost();
}

TEST_F(WindowHooks, DialogsStandInForQuestionsButNotInScripts) {
  vex::test::TempDir dir;
  resbuf on{};
  on.restype = RTSHORT;
  on.resval.rint = 1;
  ASSERT_EQ(acedSetVar("FILEDIA", &on), RTNORM);
  window.file = dir.File("saved.dxf");
  input.Type("LINE 0,0 1,0\n\nSAVEAS\nAPPLOAD\n");
  Run();
  EXPECT_TRUE(std::filesystem::exists(dir.File("saved.dxf")));
  EXPECT_EQ(window.fileKinds, (std::vector<FileChoice>{FileChoice::SaveDrawing}));
  EXPECT_EQ(window.applications, 1);
  int color = 3;
  window.colorAnswer = 250;
  EXPECT_TRUE(acedSetColorDialog(color, true, 7));
  EXPECT_EQ(color, 250);
  window.colorAnswer.reset();
  EXPECT_FALSE(acedSetColorDialog(color, true, 7));
  // A script answers on the command line.
  const std::string script = dir.File("s.scr");
  vex::test::WriteFile(script, "SAVEAS\n" + dir.File("typed.dxf") + "\n");
  std::string error;
  ASSERT_TRUE(StartScript(script, error)) << error;
  Run();
  EXPECT_TRUE(std::filesystem::exists(dir.File("typed.dxf")));
  EXPECT_EQ(window.fileKinds.size(), 1u);
}

TEST_F(WindowHooks, ClosingAChangedDrawingAsksTheWindow) {
  input.Type("LINE 0,0 1,0\n\nCLOSE\n");
  window.saveAnswer = -1;
  Run();
  EXPECT_EQ(window.asked, (std::vector<std::string>{"Drawing1.dxf"}));
  EXPECT_EQ(acDocManager->documentCount(), 1) << "cancelled";
  window.saveAnswer = 0;
  input.Type("CLOSE\n");
  Run();
  EXPECT_EQ(acDocManager->documentCount(), 0);
  EXPECT_GE(window.documentsChanged, 1);
}

TEST_F(WindowHooks, ADrawingThatCannotBeReadIsAnAlertNamingItsLine) {
  vex::test::TempDir dir;
  const std::string broken = dir.File("broken.dxf");
  vex::test::WriteFile(broken, "0\nSECTION\n2\nENTITIES\n0\nLINE\n10\nx\n");
  input.Type("OPEN\n" + broken + "\n");
  Run();
  ASSERT_EQ(window.alerts.size(), 1u);
  EXPECT_NE(window.alerts[0].find("broken.dxf"), std::string::npos) << window.alerts[0];
  EXPECT_NE(window.alerts[0].find("line 8"), std::string::npos) << window.alerts[0];
  EXPECT_EQ(acDocManager->documentCount(), 1);
}

int g_hostRuns = 0;
void HostCmd() {
  ++g_hostRuns;
  AddLine(0, 0, 2, 2);
}

TEST_F(WindowHooks, CommandsOfTheProgramRunLikeTheHostsOwn) {
  AddHostCommand("ZAP", HostCmd, true);
  AddHostCommand("zap", HostCmd, true);  // replaces, whatever the case
  input.Type("ZAP\n_ZAP\nU\n");
  Run();
  EXPECT_EQ(g_hostRuns, 2);
  EXPECT_EQ(ModelSpace().size(), 1u) << "its changes are an undo step";
  acDocManager->closeDocument(acDocManager->curDocument());
  input.Type("ZAP\n");
  EXPECT_NE(Run().find("No drawing is open."), std::string::npos);
}

TEST_F(WindowHooks, ScriptRunsBeforeWhatIsTypedAfterIt) {
  vex::test::TempDir dir;
  vex::test::WriteFile(dir.File("one.scr"), "LINE 0,0 1,0\n\nSCRIPT\n" + dir.File("two") + "\n");
  vex::test::WriteFile(dir.File("two.scr"), "CIRCLE 5,5 1");  // no line break at the end
  input.Type("SCRIPT\n" + dir.File("one.scr") + "\nLINE 9,9 8,8\n\nSCRIPT\n" +
             dir.File("none.scr") + "\n");
  const std::string text = Run();
  EXPECT_EQ(DescribeSpace(), (std::vector<std::string>{"LINE 0,0 1,0", "CIRCLE 5,5 r=1",
                                                       "LINE 9,9 8,8"}));
  EXPECT_NE(text.find("Cannot open script " + dir.File("none.scr") + ": "), std::string::npos)
      << text;
  EXPECT_FALSE(ScriptRunning());
}

TEST_F(WindowHooks, CommandRunningIsKnownToTheWindowAtItsPrompts) {
  bool running = false;
  std::string name;
  class Probe : public FakeWindow {
   public:
    Probe(bool& r, std::string& n) : m_r(r), m_n(n) {}
    void PromptStarted(const PromptContext& c) override {
      if (c.kind == Kind::Point) {
        m_r = CommandRunning();
        m_n = RunningCommand();
      }
    }
    bool& m_r;
    std::string& m_n;
  } probe(running, name);
  input.Type("line 0,0 1,1\n\n");
  Run();
  EXPECT_TRUE(running);
  EXPECT_EQ(name, "line");
  EXPECT_FALSE(CommandRunning());
}

TEST(FaultGuard, ACrashInAWindowsHandlerStopsTheHostWithRecoveryCopies) {
  vex::test::TempDir dir;
  const std::string path = dir.File("plan.dxf");
  {
    AcDbDatabase db;
    ASSERT_EQ(db.saveAs(path.c_str()), Acad::eOk);
  }
  EXPECT_EXIT(
      {
        ResetHost();
        SetCommandLineView(nullptr);
        acDocManager->appContextOpenDocument(path.c_str());
        RunScript("LINE 0,0 1,1\n\n");
        RunWithFaultGuard("The editor's button", [] { ::raise(SIGSEGV); });
      },
      ::testing::ExitedWithCode(3), "The editor's button stopped: Segmentation fault");
  EXPECT_TRUE(std::filesystem::exists(dir.File("plan.recover.dxf")));
}

TEST(FaultGuard, NothingHappensWithoutAFault) {
  int runs = 0;
  RunWithFaultGuard("nothing", [&] { ++runs; });
  RunWithFaultGuard("nested", [&] { RunWithFaultGuard("inner", [&] { ++runs; }); });
  EXPECT_EQ(runs, 2);
}

}  // namespace
}  // namespace cadhost::test
