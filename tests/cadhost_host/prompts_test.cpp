// Prompts and the script conventions of typed input.

#include <cmath>
#include <cstdio>
#include <numbers>

#include "cadhost_host/host_test_util.h"

namespace cadhost::test {
namespace {

using PromptsTest = HostTest;

struct PointCase {
  const char* name;
  const char* input;
  int rc;
  double x, y, z;
  int hints;  // "Point or option keyword required." lines printed
};

class GetPoint : public HostTest, public ::testing::WithParamInterface<PointCase> {};

TEST_P(GetPoint, ReadsByScriptConventions) {
  const PointCase& c = GetParam();
  TypeInput("1,1\n");
  ads_point p = {0, 0, 0};
  ASSERT_EQ(acedGetPoint(nullptr, "\nFirst: ", p), RTNORM) << "sets the last point";
  TypeInput(c.input);
  p[X] = p[Y] = p[Z] = -99;
  EXPECT_EQ(acedGetPoint(nullptr, "\nPoint: ", p), c.rc);
  if (c.rc == RTNORM) {
    EXPECT_NEAR(p[X], c.x, 1e-9);
    EXPECT_NEAR(p[Y], c.y, 1e-9);
    EXPECT_NEAR(p[Z], c.z, 1e-9);
  }
  EXPECT_EQ(Count(Feedback::Text(), "Point or option keyword required."), c.hints)
      << Feedback::Text();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, GetPoint,
    ::testing::Values(
        PointCase{"xy_line_break", "3,4\n", RTNORM, 3, 4, 0, 0},
        PointCase{"xyz_space", "3,4,5 ", RTNORM, 3, 4, 5, 0},
        PointCase{"end_of_input_ends_answer", "3,4", RTNORM, 3, 4, 0, 0},
        PointCase{"negative_and_exponent", "-2.5,1e2\n", RTNORM, -2.5, 100, 0, 0},
        PointCase{"plus_sign", "+2,+3\n", RTNORM, 2, 3, 0, 0},
        PointCase{"relative", "@3,4\n", RTNORM, 4, 5, 0, 0},
        PointCase{"relative_zero", "@\n", RTNORM, 1, 1, 0, 0},
        PointCase{"polar", "10<90\n", RTNORM, 0, 10, 0, 0},
        PointCase{"relative_polar", "@2<0\n", RTNORM, 3, 1, 0, 0},
        PointCase{"comment_line_skipped", ";a comment 9,9\n3,4\n", RTNORM, 3, 4, 0, 0},
        PointCase{"enter_alone", "\n", RTNONE, 0, 0, 0, 0},
        PointCase{"space_alone_is_enter", " ", RTNONE, 0, 0, 0, 0},
        PointCase{"esc", "\x1b", RTCAN, 0, 0, 0, 0},
        PointCase{"esc_drops_partial_answer", "12,\x1b" "3,4\n", RTCAN, 0, 0, 0, 0},
        PointCase{"no_input", "", RTCAN, 0, 0, 0, 0},
        PointCase{"junk_then_point", "abc\n3,4\n", RTNORM, 3, 4, 0, 1},
        PointCase{"one_coordinate", "3\n\n", RTNONE, 0, 0, 0, 1},
        PointCase{"four_coordinates", "1,2,3,4\n\n", RTNONE, 0, 0, 0, 1},
        PointCase{"empty_coordinate", "1,\n,2\n\n", RTNONE, 0, 0, 0, 2},
        PointCase{"overflow", "1e999,0\n\n", RTNONE, 0, 0, 0, 1},
        PointCase{"nan", "nan,0\ninf,1\n\n", RTNONE, 0, 0, 0, 2},
        PointCase{"hex_is_not_a_number", "0x10,0\n\n", RTNONE, 0, 0, 0, 1},
        PointCase{"polar_without_angle", "5<\n\n", RTNONE, 0, 0, 0, 1},
        PointCase{"junk_until_input_ends", "what\never\n", RTCAN, 0, 0, 0, 2}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PromptsTest, WorldPointsAndLastPointFollowTheUcs) {
  AcGeMatrix3d ucs;
  ucs.setCoordSystem({10, 0, 0}, AcGeVector3d::kYAxis, -AcGeVector3d::kXAxis,
                     AcGeVector3d::kZAxis);
  ASSERT_EQ(acedSetCurrentUCS(ucs), Acad::eOk);
  TypeInput("*10,5\n");
  ads_point p;
  ASSERT_EQ(acedGetPoint(nullptr, "", p), RTNORM);
  EXPECT_NEAR(p[X], 5, 1e-9) << "world (10,5) is 5 along the UCS x axis (world y)";
  EXPECT_NEAR(p[Y], 0, 1e-9);
  resbuf rb{};
  ASSERT_EQ(acedGetVar("LASTPOINT", &rb), RTNORM);
  EXPECT_NEAR(rb.resval.rpoint[X], 5, 1e-9);
}

TEST_F(PromptsTest, TextPromptsKeepSpacesOnlyWhenAsked) {
  TypeInput("two words\nsecond line\n");
  std::string s;
  EXPECT_EQ(acedGetString(1, "\nText: ", s), RTNORM);
  EXPECT_EQ(s, "two words");
  EXPECT_EQ(acedGetString(0, "\nWord: ", s), RTNORM);
  EXPECT_EQ(s, "second");
  EXPECT_EQ(acedGetString(0, "\nWord: ", s), RTNORM);
  EXPECT_EQ(s, "line");
  TypeInput("\n");
  EXPECT_EQ(acedGetString(1, "\nText: ", s), RTNONE);
  EXPECT_EQ(s, "");
  TypeInput("much too long for the buffer\n");
  char small[8];
  EXPECT_EQ(acedGetString(1, "\nText: ", small, sizeof small), RTERROR);
  TypeInput("\xe4\xb8\xad\xe6\x96\x87 text\n");
  char buf[64];
  EXPECT_EQ(acedGetString(1, "\nText: ", buf, sizeof buf), RTNORM);
  EXPECT_STREQ(buf, "\xe4\xb8\xad\xe6\x96\x87 text") << "UTF-8 passes unchanged";
}

TEST_F(PromptsTest, OverlongAnswersAreCut) {
  TypeInput(std::string(200000, 'x') + "\nnext\n");
  std::string s;
  EXPECT_EQ(acedGetString(1, "", s), RTNORM);
  EXPECT_EQ(s.size(), 65536u);
  EXPECT_EQ(Count(Feedback::Text(), "Input too long: cut to 65536 bytes."), 1);
  EXPECT_EQ(acedGetString(1, "", s), RTNORM);
  EXPECT_EQ(s, "next") << "the rest of the long line was dropped";
}

TEST_F(PromptsTest, KeywordsAndOptionsApplyToTheNextPromptOnly) {
  ads_point p;
  acedInitGet(0, "Undo Close eXit");
  TypeInput("u\n");
  EXPECT_EQ(acedGetPoint(nullptr, "", p), RTKWORD);
  char kw[32];
  ASSERT_EQ(acedGetInput(kw, sizeof kw), RTNORM);
  EXPECT_STREQ(kw, "Undo");
  acedInitGet(0, "Undo Close eXit");
  TypeInput("X\n");
  EXPECT_EQ(acedGetPoint(nullptr, "", p), RTKWORD);
  acedGetInput(kw, sizeof kw);
  EXPECT_STREQ(kw, "eXit");
  TypeInput("u\n\n");
  EXPECT_EQ(acedGetPoint(nullptr, "", p), RTNONE) << "keywords were for one prompt";

  acedInitGet(RSG_NONULL | RSG_NONEG | RSG_NOZERO, nullptr);
  TypeInput("\n-1\n0\n2.5\n");
  double r = 0;
  EXPECT_EQ(acedGetReal("\nValue: ", &r), RTNORM);
  EXPECT_EQ(r, 2.5);
  EXPECT_EQ(Count(Feedback::Text(), "Value must be positive."), 1);
  EXPECT_EQ(Count(Feedback::Text(), "Value must be nonzero."), 1);

  acedInitGet(RSG_OTHER, "Yes");
  TypeInput("maybe\n");
  EXPECT_EQ(acedGetReal("", &r), RTKWORD);
  acedGetInput(kw, sizeof kw);
  EXPECT_STREQ(kw, "maybe");
}

TEST_F(PromptsTest, IntegersAnglesAndDistances) {
  int i = 0;
  TypeInput("2.5\n70000\n-12\n");
  EXPECT_EQ(acedGetInt("", &i), RTNORM);
  EXPECT_EQ(i, -12);
  EXPECT_EQ(Count(Feedback::Text(), "Requires an integer value."), 2);

  double a = 0;
  TypeInput("90\n");
  EXPECT_EQ(acedGetAngle(nullptr, "", &a), RTNORM);
  EXPECT_NEAR(a, std::numbers::pi / 2, 1e-12);
  const ads_point base = {1, 1, 0};
  TypeInput("1,5\n");
  EXPECT_EQ(acedGetAngle(base, "", &a), RTNORM);
  EXPECT_NEAR(a, std::numbers::pi / 2, 1e-12) << "the direction from the base";

  double d = 0;
  TypeInput("4,5\n");
  EXPECT_EQ(acedGetDist(base, "", &d), RTNORM);
  EXPECT_NEAR(d, 5.0, 1e-12);
  TypeInput("0,0 3,4 ");
  EXPECT_EQ(acedGetDist(nullptr, "", &d), RTNORM);
  EXPECT_NEAR(d, 5.0, 1e-12) << "two points typed";
  TypeInput("7.5\n");
  EXPECT_EQ(acedGetDist(nullptr, "", &d), RTNORM);
  EXPECT_EQ(d, 7.5);
}

TEST_F(PromptsTest, PostedInputIsReadBeforeTypedInput) {
  TypeInput("1,1\n");
  acDocManager->sendStringToExecute(acDocManager->curDocument(), "\x1b", false);
  ads_point p;
  EXPECT_EQ(acedGetPoint(nullptr, "", p), RTCAN) << "the posted ESC cancels the prompt";
  EXPECT_EQ(acedGetPoint(nullptr, "", p), RTNORM);
  EXPECT_EQ(acDocManager->sendStringToExecute(nullptr, "x"), Acad::eNullObjectPointer);
}

TEST_F(PromptsTest, TransparentCommandRunsInsideAPrompt) {
  static int runs = 0;
  runs = 0;
  acedRegCmds->addCommand("G", "PEEK", nullptr, ACRX_CMD_TRANSPARENT, [] { ++runs; });
  acedRegCmds->addCommand("G", "OPAQUE", nullptr, ACRX_CMD_MODAL, [] { ++runs; });
  TypeInput("'PEEK\n'OPAQUE\n2,2\n");
  ads_point p;
  EXPECT_EQ(acedGetPoint(nullptr, "", p), RTNORM);
  EXPECT_EQ(runs, 1) << "a modal command does not run inside a prompt";
  EXPECT_EQ(p[X], 2);
}

TEST_F(PromptsTest, ColourChoiceWithoutAWindowAsksOnTheCommandLine) {
  int color = 7;
  TypeInput("300\nbylayer\nBlue\n");
  EXPECT_TRUE(acedSetColorDialog(color, false, 1));
  EXPECT_EQ(color, 5);
  TypeInput("bylayer\n");
  EXPECT_TRUE(acedSetColorDialog(color, true, 1));
  EXPECT_EQ(color, 256);
  TypeInput("\n");
  EXPECT_TRUE(acedSetColorDialog(color, true, 1)) << "ENTER keeps the colour";
  EXPECT_EQ(color, 256);
  TypeInput("\x1b");
  EXPECT_FALSE(acedSetColorDialog(color, true, 1));
  EXPECT_EQ(color, 256);
}

TEST_F(PromptsTest, FileSourceCountsCrLfAsOneLineBreak) {
  static char text[] = "LINE\r\n0,0\r\n3,0\r\n\r\n";
  SetInputSource(MakeFileInputSource(fmemopen(text, sizeof text - 1, "rb")));
  RunCommandLine();
  AcDbObjectPointer<AcDbBlockTableRecord> ms(
      acdbHostApplicationServices()->workingDatabase()->modelSpaceId(), AcDb::kForRead);
  EXPECT_EQ(ms->entityIds().size(), 1u) << Feedback::Text();
  EXPECT_EQ(Count(Feedback::Text(), "Unknown command"), 0) << Feedback::Text();
}

TEST_F(PromptsTest, CommandLineShowsPromptsWithTheirAnswers) {
  TypeInput("3,4\n");
  ads_point p;
  acedGetPoint(nullptr, "\nWhere: ", p);
  TypeInput("\x1b");
  acedGetPoint(nullptr, "\nWhere: ", p);
  EXPECT_EQ(Feedback::Text(), "\nWhere: 3,4\nWhere: *Cancel*");
}

}  // namespace
}  // namespace cadhost::test
