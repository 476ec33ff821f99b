// Multiline text: the lines it shows, where they go, and its drawing-file groups.

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "support/run_cli.h"
#include "support/temp_dir.h"
#include "test_util.h"

namespace cadhost::test {
namespace {

struct PlainCase {
  const char* name;
  const char* contents;
  std::vector<std::string> paragraphs;
};

class MTextParagraphs : public ::testing::TestWithParam<PlainCase> {};

TEST_P(MTextParagraphs, FormattingIsDropped) { EXPECT_EQ(acdbMTextParagraphs(GetParam().contents), GetParam().paragraphs); }

INSTANTIATE_TEST_SUITE_P(
    Codes, MTextParagraphs,
    ::testing::Values(
        PlainCase{"plain", "M12 x 40", {"M12 x 40"}},
        PlainCase{"paragraphs", "one\\Ptwo\\P\\Pfour", {"one", "two", "", "four"}},
        PlainCase{"font_and_height", "{\\fArial|b1|i0|c0|p34;Bold} \\H3.5x;big\\H1;", {"Bold big"}},
        PlainCase{"colour_width_track_oblique", "\\C1;red\\c255;\\W0.8;\\T1.1;\\Q15;\\A1;x", {"redx"}},
        PlainCase{"shx_font", "\\Fgdt;n\\Ftxt;", {"n"}},
        PlainCase{"stacked_fraction", "\\S1/2; in", {"1/2 in"}},
        PlainCase{"diagonal_fraction", "\\S3#4;", {"3/4"}},
        PlainCase{"tolerance_stack", "20\\S+0.1^ -0.2;", {"20+0.1 -0.2"}},
        PlainCase{"escaped_slash_in_stack", "\\S1\\/2/3;", {"1/2/3"}},
        PlainCase{"underline_overline_strike", "\\Lunder\\l \\Oover\\o \\Kout\\k", {"under over out"}},
        PlainCase{"escapes", "a\\\\b\\{c\\}d\\~e", {"a\\b{c}d e"}},
        PlainCase{"paragraph_properties", "\\pxqc;centred", {"centred"}},
        PlainCase{"column_break", "left\\Nright", {"left", "right"}},
        PlainCase{"caret_tab_break_and_caret", "a^Ib^Jc^ d", {"a b", "c^d"}},
        PlainCase{"nul_escape_kept", "a\\U+0000b", {"a\\U+0000b"}},
        PlainCase{"unterminated_code", "x\\fArial", {"x"}},
        PlainCase{"trailing_backslash", "x\\", {"x\\"}},
        PlainCase{"braces_only", "{{}}", {""}},
        PlainCase{"chinese", "{\\f宋体|b0;表格}\\P第二行", {"表格", "第二行"}}),
    [](const auto& info) { return std::string(info.param.name); });

AcDbMText* NewMText(const char* contents, AcGePoint3d at, AcDbMText::AttachmentPoint a, double height = 2.5) {
  auto* m = new AcDbMText();
  m->setContents(contents);
  m->setLocation(at);
  m->setAttachment(a);
  m->setTextHeight(height);
  return m;
}

std::vector<std::string> LinesOf(const AcDbMText& m) {
  std::vector<std::unique_ptr<AcDbEntity>> pieces;
  EXPECT_EQ(m.explode(pieces), Acad::eOk);
  std::vector<std::string> out;
  for (const auto& p : pieces) out.push_back(AcDbText::cast(p.get())->textString());
  return out;
}

TEST(MText, WrapsParagraphsAtItsWidth) {
  std::unique_ptr<AcDbMText> m(NewMText("alpha beta gamma\\Pdelta", {0, 0, 0}, AcDbMText::kTopLeft));
  EXPECT_EQ(LinesOf(*m), (std::vector<std::string>{"alpha beta gamma", "delta"}));
  m->setWidth(14);  // 2.5 high: "alpha beta" is 12.5 wide, "alpha beta gamma" 20
  EXPECT_EQ(m->textLines(), (std::vector<std::string>{"alpha beta", "gamma", "delta"}));
  m->setWidth(3);  // a word wider than the width keeps a line of its own
  EXPECT_EQ(m->textLines(), (std::vector<std::string>{"alpha", "beta", "gamma", "delta"}));
  m->setContents("表格文字");  // wide characters break anywhere
  m->setWidth(5.1);
  EXPECT_EQ(m->textLines(), (std::vector<std::string>{"表格", "文字"}));
}

struct PlacementCase {
  AcDbMText::AttachmentPoint attachment;
  double left, top;  // of the two-line box of "abcd" (5 wide) over "ab" at height 3
};

class MTextPlacement : public ::testing::TestWithParam<PlacementCase> {};

// Lines 5 units apart (5/3 of the height); the box is 8 high.
TEST_P(MTextPlacement, AttachmentPutsTheBoxOnTheLocation) {
  const PlacementCase& c = GetParam();
  std::unique_ptr<AcDbMText> m(NewMText("abcd\\Pab", {100, 50, 0}, c.attachment, 3));
  std::vector<std::unique_ptr<AcDbEntity>> pieces;
  ASSERT_EQ(m->explode(pieces), Acad::eOk);
  ASSERT_EQ(pieces.size(), 2u);
  AcDbExtents box;
  ASSERT_EQ(m->getGeomExtents(box), Acad::eOk);
  EXPECT_POINT_NEAR(box.minPoint(), c.left, c.top - 8, 0, 1e-9);
  EXPECT_POINT_NEAR(box.maxPoint(), c.left + 6, c.top, 0, 1e-9);
  const auto* second = AcDbText::cast(pieces[1].get());
  EXPECT_NEAR(second->position().y, c.top - 8, 1e-9);
  EXPECT_DOUBLE_EQ(second->height(), 3);
}

INSTANTIATE_TEST_SUITE_P(Attachments, MTextPlacement,
                         ::testing::Values(PlacementCase{AcDbMText::kTopLeft, 100, 50},
                                           PlacementCase{AcDbMText::kTopCenter, 97, 50},
                                           PlacementCase{AcDbMText::kMiddleRight, 94, 54},
                                           PlacementCase{AcDbMText::kBottomLeft, 100, 58},
                                           PlacementCase{AcDbMText::kBottomCenter, 97, 58}));

TEST(MText, TurnsAndMirrorsReadably) {
  std::unique_ptr<AcDbMText> m(NewMText("ab", {10, 0, 0}, AcDbMText::kBottomLeft, 2));
  ASSERT_EQ(m->transformBy(AcGeMatrix3d::rotation(std::numbers::pi / 2)), Acad::eOk);
  EXPECT_NEAR(m->rotation(), std::numbers::pi / 2, 1e-12);
  EXPECT_POINT_NEAR(m->location(), 0, 10, 0, 1e-12);
  ASSERT_EQ(m->transformBy(AcGeMatrix3d::scaling(2)), Acad::eOk);
  EXPECT_DOUBLE_EQ(m->textHeight(), 4);
  std::unique_ptr<AcDbMText> mirrored(NewMText("ab", {10, 0, 0}, AcDbMText::kBottomLeft, 2));
  AcGeMatrix3d mirror = AcGeMatrix3d::scaling3d(-1, 1, 1);
  ASSERT_EQ(mirrored->transformBy(mirror), Acad::eOk);
  EXPECT_NEAR(mirrored->rotation(), 0, 1e-12);  // still left to right
  EXPECT_POINT_NEAR(mirrored->location(), -10, 0, 0, 1e-12);
  EXPECT_EQ(mirrored->transformBy(AcGeMatrix3d::scaling3d(2, 1, 1)), Acad::eCannotScaleNonUniformly);
}

TEST(MText, SettersRefuseNonsense) {
  AcDbMText m;
  EXPECT_EQ(m.setTextHeight(0), Acad::eInvalidInput);
  EXPECT_EQ(m.setTextHeight(NAN), Acad::eInvalidInput);
  EXPECT_EQ(m.setWidth(-1), Acad::eInvalidInput);
  EXPECT_EQ(m.setAttachment(static_cast<AcDbMText::AttachmentPoint>(10)), Acad::eInvalidInput);
  EXPECT_EQ(m.setLineSpacingFactor(5), Acad::eInvalidInput);
  EXPECT_EQ(m.setLocation({INFINITY, 0, 0}), Acad::eInvalidInput);
  EXPECT_STREQ(m.dxfName(), "MTEXT");
}

TEST(MText, DrawingFileKeepsEveryProperty) {
  vex::test::TempDir dir;
  AcDbDatabase db;
  const AcDbObjectId style = AddShapeStyle(db, "Table");
  // Long enough to come in pieces, with three-byte characters across the piece boundary.
  std::string contents = "{\\fArial;Head}\\P";
  for (int k = 0; k < 120; ++k) contents += "表a";
  auto* m = NewMText(contents.c_str(), {1, 2, 0}, AcDbMText::kMiddleCenter, 3.5);
  m->setWidth(40);
  m->setRotation(std::numbers::pi / 2);
  m->setTextStyle(style);
  m->setLineSpacingFactor(1.5);
  AppendToModel(db, m);
  ASSERT_EQ(db.saveAs(dir.File("m.dxf").c_str()), Acad::eOk);
  const std::string file = vex::test::ReadFile(dir.File("m.dxf"));
  EXPECT_NE(file.find("\nMTEXT\n"), std::string::npos);
  EXPECT_NE(file.find("\n  3\n"), std::string::npos);  // a piece before the last

  AcDbDatabase back(false);
  ASSERT_EQ(back.readDwgFile(dir.File("m.dxf").c_str()), Acad::eOk) << back.lastFileReport().message;
  EXPECT_TRUE(back.lastFileReport().warnings.empty());
  AcDbObjectPointer<AcDbBlockTableRecord> ms(back.modelSpaceId(), AcDb::kForRead);
  ASSERT_EQ(ms->entityIds().size(), 1u);
  AcDbObjectPointer<AcDbMText> read(ms->entityIds()[0], AcDb::kForRead);
  ASSERT_TRUE(read);
  EXPECT_EQ(read->contents(), contents);
  EXPECT_POINT_NEAR(read->location(), 1, 2, 0, 1e-12);
  EXPECT_EQ(read->attachment(), AcDbMText::kMiddleCenter);
  EXPECT_DOUBLE_EQ(read->textHeight(), 3.5);
  EXPECT_DOUBLE_EQ(read->width(), 40);
  EXPECT_NEAR(read->rotation(), std::numbers::pi / 2, 1e-12);
  EXPECT_DOUBLE_EQ(read->lineSpacingFactor(), 1.5);
  AcDbObjectPointer<AcDbTextStyleTableRecord> s(read->textStyle(), AcDb::kForRead);
  EXPECT_EQ(s->name(), "Table");
}

TEST(MText, PeerReadsWhatWeWrite) {
  vex::test::TempDir dir;
  AcDbDatabase db;
  AppendToModel(db, NewMText("多行\\P{\\H2;second}", {5, 6, 0}, AcDbMText::kTopLeft));
  ASSERT_EQ(db.saveAs(dir.File("m.dxf").c_str()), Acad::eOk);
  const auto r = vex::test::RunShell("/usr/bin/python3 -c \"import ezdxf, sys; m = ezdxf.readfile(sys.argv[1])"
                                     ".modelspace().query('MTEXT')[0]; print(m.plain_text(split=True), "
                                     "m.dxf.insert, m.dxf.char_height)\" " +
                                     dir.File("m.dxf"));
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "['多行', 'second'] (5.0, 6.0, 0.0) 2.5\n");
}

TEST(MText, ReadFromOtherProgramsWithDirectionAndEmbeddedParts) {
  vex::test::TempDir dir;
  // A direction vector instead of a rotation, and an embedded object whose groups repeat the
  // text's own codes: they are kept as written and do not change the text.
  vex::test::WriteFile(dir.File("m.dxf"),
                       "0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\nAC1027\n0\nENDSEC\n0\nSECTION\n2\nENTITIES\n"
                       "0\nMTEXT\n5\n2A\n100\nAcDbEntity\n8\n0\n100\nAcDbMText\n10\n1\n20\n2\n30\n0\n40\n2\n"
                       "41\n0\n71\n1\n3\nfirst half, \n1\nsecond\\U+0041\n11\n0\n21\n1\n31\n0\n101\nEmbedded Object\n"
                       "70\n1\n10\n9\n20\n9\n40\n99\n0\nENDSEC\n0\nEOF\n");
  AcDbDatabase db(false);
  ASSERT_EQ(db.readDwgFile(dir.File("m.dxf").c_str()), Acad::eOk) << db.lastFileReport().message;
  AcDbObjectPointer<AcDbBlockTableRecord> ms(db.modelSpaceId(), AcDb::kForRead);
  AcDbObjectPointer<AcDbMText> m(ms->entityIds()[0], AcDb::kForRead);
  ASSERT_TRUE(m);
  EXPECT_EQ(m->contents(), "first half, secondA");
  EXPECT_NEAR(m->rotation(), std::numbers::pi / 2, 1e-12);
  EXPECT_POINT_NEAR(m->location(), 1, 2, 0, 1e-12);
  EXPECT_DOUBLE_EQ(m->textHeight(), 2);
  m.close();
  ms.close();
  ASSERT_EQ(db.saveAs(dir.File("again.dxf").c_str()), Acad::eOk);
  const std::string file = vex::test::ReadFile(dir.File("again.dxf"));
  EXPECT_NE(file.find("101\nEmbedded Object\n 70\n1\n 10\n9\n 20\n9\n 40\n99\n"), std::string::npos) << file;
}

}  // namespace
}  // namespace cadhost::test
