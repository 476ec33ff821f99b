// Loading linetypes from .lin files, and the host's file search.

#include <gtest/gtest.h>

#include "support/temp_dir.h"
#include "test_util.h"

namespace cadhost::test {
namespace {

struct LinFile : ::testing::Test {
  vex::test::TempDir dir;
  AcDbDatabase db;
  std::vector<std::string> saved;
  void SetUp() override {
    saved = acdbHostApplicationServices()->supportPath();
    acdbHostApplicationServices()->setSupportPath({CADHOST_SUPPORT, dir.path()});
  }
  void TearDown() override { acdbHostApplicationServices()->setSupportPath(saved); }
  AcDbObjectId linetype(const char* name) {
    AcDbLinetypeTable* t = nullptr;
    db.getLinetypeTable(t, AcDb::kForRead);
    AcDbObjectId id;
    t->getAt(name, id);
    t->close();
    return id;
  }
};

TEST_F(LinFile, LoadsOneByNameFromTheSupportFolder) {
  ASSERT_EQ(db.loadLineTypeFile("dashed", "acadiso.lin"), Acad::eOk);
  AcDbObjectPointer<AcDbLinetypeTableRecord> lt(linetype("DASHED"), AcDb::kForRead);
  ASSERT_EQ(lt.openStatus(), Acad::eOk);
  EXPECT_EQ(lt->comments(), "Dashed __ __ __ __ __ __ __ __ __ __ __ __ __ _");
  ASSERT_EQ(lt->numDashes(), 2);
  EXPECT_DOUBLE_EQ(lt->dashLengthAt(0), 12.7);
  EXPECT_DOUBLE_EQ(lt->dashLengthAt(1), -6.35);
  EXPECT_DOUBLE_EQ(lt->patternLength(), 19.05);
  EXPECT_TRUE(linetype("CENTER").isNull());
  EXPECT_EQ(db.loadLineTypeFile("DASHED", "acadiso.lin"), Acad::eDuplicateRecord);
}

TEST_F(LinFile, LoadsEveryLinetypeWithTextElements) {
  ASSERT_EQ(db.loadLineTypeFile("*", "ACADISO.LIN"), Acad::eOk);  // case of the name ignored
  AcDbObjectPointer<AcDbLinetypeTableRecord> gas(linetype("GAS_LINE"), AcDb::kForRead);
  ASSERT_EQ(gas.openStatus(), Acad::eOk);
  ASSERT_EQ(gas->numDashes(), 3);
  EXPECT_EQ(gas->textAt(1), "GAS");
  EXPECT_EQ(gas->shapeStyleAt(1), db.textstyle());
  EXPECT_DOUBLE_EQ(gas->shapeScaleAt(1), 2.54);
  EXPECT_DOUBLE_EQ(gas->shapeOffsetAt(1).x, -2.54);
  EXPECT_FALSE(linetype("HIDDEN").isNull());
}

struct LinCase {
  const char* name;
  const char* content;
  const char* linetype;
  Acad::ErrorStatus expected;
};

class LinFileErrors : public LinFile, public ::testing::WithParamInterface<LinCase> {};

TEST_P(LinFileErrors, MalformedOrMissing) {
  vex::test::WriteFile(dir.File("bad.lin"), GetParam().content);
  EXPECT_EQ(db.loadLineTypeFile(GetParam().linetype, "bad.lin"), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LinFileErrors,
    ::testing::Values(
        LinCase{"unknown_name", "*A,a\nA,1,-1\n", "B", Acad::eUndefinedLineType},
        LinCase{"no_pattern_letter", "*A,a\nB,1,-1\n", "A", Acad::eBadDxfFile},
        LinCase{"junk_number", "*A,a\nA,1,x\n", "A", Acad::eBadDxfFile},
        LinCase{"too_many_dashes", "*A,a\nA,1,-1,1,-1,1,-1,1,-1,1,-1,1,-1,1\n", "A", Acad::eBadDxfFile},
        LinCase{"open_bracket", "*A,a\nA,1,[\"T\",STANDARD,S=1,-1\n", "A", Acad::eBadDxfFile},
        LinCase{"shape_element", "*A,a\nA,1,[BAT,ltypeshp.shx,S=1],-1\n", "A", Acad::eNotImplementedYet},
        LinCase{"empty_file", "", "A", Acad::eUndefinedLineType},
        LinCase{"star_skips_bad", "*A,a\nA,x\n*B,b\nA,1\n", "*", Acad::eOk}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(LinFile, MissingFileIsNotFound) {
  EXPECT_EQ(db.loadLineTypeFile("*", "nowhere.lin"), Acad::eFileNotFound);
}

TEST_F(LinFile, GbkDescriptionsAreDecoded) {
  // "*中,中文" in the code page of Chinese hosts.
  vex::test::WriteFile(dir.File("gbk.lin"), "*ZH,\xD6\xD0\xCE\xC4\nA,1,-1\n");
  ASSERT_EQ(db.loadLineTypeFile("ZH", "gbk.lin"), Acad::eOk);
  AcDbObjectPointer<AcDbLinetypeTableRecord> lt(linetype("ZH"), AcDb::kForRead);
  EXPECT_EQ(lt->comments(), "中文");
}

TEST_F(LinFile, FileSearchOrder) {
  std::string found;
  EXPECT_EQ(acdbHostApplicationServices()->findFile(found, "acadiso.lin"), Acad::eOk);
  EXPECT_EQ(found, std::string(CADHOST_SUPPORT) + "/acadiso.lin");
  vex::test::WriteFile(dir.File("Only.Here"), "x");
  EXPECT_EQ(acdbHostApplicationServices()->findFile(found, "only.here"), Acad::eOk);
  EXPECT_EQ(found, dir.File("Only.Here"));
  EXPECT_EQ(acdbHostApplicationServices()->findFile(found, "missing.shx"), Acad::eFileNotFound);
  EXPECT_EQ(acdbHostApplicationServices()->findFile(found, dir.File("Only.Here").c_str()), Acad::eOk);
  EXPECT_EQ(acdbHostApplicationServices()->findFile(found, ""), Acad::eInvalidInput);
}

TEST(DefaultSupportPath, IsBesideTheLibrary) {
  const auto& path = acdbHostApplicationServices()->supportPath();
  ASSERT_FALSE(path.empty());
  EXPECT_NE(path[0].find("/support"), std::string::npos);
}

}  // namespace
}  // namespace cadhost::test
