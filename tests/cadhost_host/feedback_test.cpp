// Feedback: command-line text, the progress meter, system variables and the colour palette.

#include <cstdlib>
#include <cstring>

#include "cadhost_host/host_test_util.h"

namespace cadhost::test {
namespace {

using FeedbackTest = HostTest;
using Kind = ProgressEvent::Kind;

TEST_F(FeedbackTest, PrintfFormatsAndRecordsText) {
  EXPECT_EQ(acutPrintf("\n%s has %d rows, %.2f mm", "T1", 12, 2.5), 24);
  EXPECT_EQ(Feedback::Text(), "\nT1 has 12 rows, 2.50 mm");
  EXPECT_EQ(acutPrintf(nullptr), -1);
  Feedback::Clear();
  EXPECT_EQ(Feedback::Text(), "");
}

TEST_F(FeedbackTest, LongMessagesAreNotCut) {
  const std::string big(10000, 'x');
  acutPrintf("%s", big.c_str());
  EXPECT_EQ(Feedback::Text(), big);
}

TEST_F(FeedbackTest, ProgressMeterIsRecordedAndClamped) {
  EXPECT_EQ(acedSetStatusBarProgressMeterPos(5), -1) << "no meter shown yet";
  EXPECT_EQ(acedSetStatusBarProgressMeter("Drawing table", 0, 100), 0);
  EXPECT_EQ(acedSetStatusBarProgressMeterPos(40), 0);
  EXPECT_EQ(acedSetStatusBarProgressMeterPos(140), 0);
  EXPECT_EQ(acedSetStatusBarProgressMeterPos(-3), 0);
  acedRestoreStatusBar();
  EXPECT_EQ(acedSetStatusBarProgressMeterPos(50), -1) << "the meter is gone";
  const std::vector<ProgressEvent> expected = {
      {Kind::Start, "Drawing table", 0, 100, 0}, {Kind::Pos, "", 0, 0, 40},
      {Kind::Pos, "", 0, 0, 100}, {Kind::Pos, "", 0, 0, 0}, {Kind::Restore, "", 0, 0, 0}};
  EXPECT_EQ(Feedback::Progress(), expected);
}

TEST_F(FeedbackTest, ProgressMeterRejectsAnInvertedRange) {
  EXPECT_EQ(acedSetStatusBarProgressMeter("x", 10, 0), -1);
  EXPECT_TRUE(Feedback::Progress().empty());
}

class RecordingView : public CommandLineView {
 public:
  explicit RecordingView(std::string* log) : m_log(log) {}
  void Write(std::string_view t) override { m_log->append(t); }
  void ShowProgress(std::string_view label, int percent) override {
    *m_log += "[" + std::string(label) + " " + std::to_string(percent) + "]";
  }
  void RestoreStatusBar() override { *m_log += "[restore]"; }

 private:
  std::string* m_log;
};

TEST_F(FeedbackTest, ViewShowsTextAndPercentOnlyWhenItChanges) {
  std::string log;
  SetCommandLineView(std::make_unique<RecordingView>(&log));
  acedSetStatusBarProgressMeter("Reading", 0, 1000);
  for (int i = 0; i <= 20; ++i) acedSetStatusBarProgressMeterPos(i);
  acutPrintf("\ndone");
  acedRestoreStatusBar();
  EXPECT_EQ(log, "[Reading 0][Reading 1][Reading 2]\ndone[restore]");
}

TEST_F(FeedbackTest, TilemodeReadsAndSwitchesThePaperSpace) {
  resbuf rb{};
  ASSERT_EQ(acedGetVar("TILEMODE", &rb), RTNORM);
  EXPECT_EQ(rb.restype, RTSHORT);
  EXPECT_EQ(rb.resval.rint, 1);
  resbuf zero{};
  zero.restype = RTSHORT;
  zero.resval.rint = 0;
  ASSERT_EQ(acedSetVar("tilemode", &zero), RTNORM);
  ASSERT_EQ(acedGetVar("TileMode", &rb), RTNORM);
  EXPECT_EQ(rb.resval.rint, 0);
  AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
  EXPECT_EQ(db->currentSpaceId(), db->paperSpaceId());
}

struct BadSetVar {
  const char* name;
  short type;
  int value;
};

class SetVarRejects : public HostTest, public ::testing::WithParamInterface<BadSetVar> {};

TEST_P(SetVarRejects, WithRterrorAndNoChange) {
  const BadSetVar& c = GetParam();
  resbuf v{};
  v.restype = c.type;
  if (c.type == RTSHORT) v.resval.rint = static_cast<short>(c.value);
  if (c.type == RTREAL) v.resval.rreal = c.value;
  EXPECT_EQ(acedSetVar(c.name, &v), RTERROR);
  resbuf rb{};
  ASSERT_EQ(acedGetVar("TILEMODE", &rb), RTNORM);
  EXPECT_EQ(rb.resval.rint, 1);
}

INSTANTIATE_TEST_SUITE_P(Cases, SetVarRejects,
                         ::testing::Values(BadSetVar{"TILEMODE", RTSHORT, 2},
                                           BadSetVar{"TILEMODE", RTSHORT, -1},
                                           BadSetVar{"TILEMODE", RTREAL, 0},
                                           BadSetVar{"NOSUCHVAR", RTSHORT, 0},
                                           BadSetVar{"ACADVER", RTSHORT, 0},
                                           BadSetVar{"TEXTSIZE", RTREAL, -2}));

TEST_F(FeedbackTest, StringVariablesBelongToTheCaller) {
  resbuf* rb = acutNewRb(RTNONE);
  ASSERT_EQ(acedGetVar("CLAYER", rb), RTNORM);
  ASSERT_EQ(rb->restype, RTSTR);
  EXPECT_STREQ(rb->resval.rstring, "0");
  acutRelRb(rb);
  resbuf out{};
  EXPECT_EQ(acedGetVar(nullptr, &out), RTERROR);
  EXPECT_EQ(acedGetVar("TILEMODE", nullptr), RTERROR);
}

TEST_F(FeedbackTest, DrawingVariablesNeedADrawing) {
  acDocManager->closeDocument(acDocManager->curDocument());
  resbuf rb{};
  EXPECT_EQ(acedGetVar("TILEMODE", &rb), RTERROR);
  EXPECT_EQ(acedGetVar("FILEDIA", &rb), RTNORM);
}

struct PaletteCase {
  int index;
  unsigned long rgb;
};

class Palette : public ::testing::TestWithParam<PaletteCase> {};

TEST_P(Palette, GivesTheIndexColour) {
  EXPECT_EQ(acedGetRGB(GetParam().index), GetParam().rgb) << GetParam().index;
}

INSTANTIATE_TEST_SUITE_P(Cases, Palette,
                         ::testing::Values(PaletteCase{1, 0xFF0000}, PaletteCase{2, 0xFFFF00},
                                           PaletteCase{3, 0x00FF00}, PaletteCase{4, 0x00FFFF},
                                           PaletteCase{5, 0x0000FF}, PaletteCase{6, 0xFF00FF},
                                           PaletteCase{7, 0xFFFFFF}, PaletteCase{8, 0x808080},
                                           PaletteCase{9, 0xC0C0C0}, PaletteCase{10, 0xFF0000},
                                           PaletteCase{11, 0xFF7F7F}, PaletteCase{255, 0xFFFFFF},
                                           PaletteCase{0, 0xFFFFFF}, PaletteCase{256, 0xFFFFFF},
                                           PaletteCase{-1, 0}, PaletteCase{257, 0}),
                         [](const auto& info) {
                           const int i = info.param.index;
                           return i < 0 ? "minus" + std::to_string(-i) : std::to_string(i);
                         });

TEST(PaletteTable, EveryHueRowFadesFromFullToDark) {
  // Rows of ten from 10 to 249: brightness falls every second entry.
  for (int row = 10; row < 250; row += 10) {
    auto peak = [](unsigned long c) {
      return std::max({(c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF});
    };
    EXPECT_EQ(peak(acedGetRGB(row)), 0xFFu) << row;
    EXPECT_GT(peak(acedGetRGB(row)), peak(acedGetRGB(row + 8))) << row;
  }
}

TEST(Windows, HeadlessHostHasNone) {
  EXPECT_EQ(acedGetAcadFrame(), nullptr);
  EXPECT_EQ(adsw_acadMainWnd(), nullptr);
}

}  // namespace
}  // namespace cadhost::test
