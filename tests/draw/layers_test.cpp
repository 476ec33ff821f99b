#include "draw/layers.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "cadhost/host/host_control.h"
#include "draw/catalogues.h"
#include "draw/entities.h"
#include "settings/profile_file.h"
#include "support/install_dir.h"

namespace vex {
namespace {

using test::InstallDir;
using test::WriteFile;

class LayersTest : public ::testing::Test {
 protected:
  void SetUp() override {
    acdbHostApplicationServices()->setWorkingDatabase(&db_);
    cadhost::Feedback::Clear();
  }
  void TearDown() override { acdbHostApplicationServices()->setWorkingDatabase(nullptr); }
  InstallDir install_;
  AcDbDatabase db_{true, true};
};

TEST_F(LayersTest, LayerIsMadeFromTheSettings) {
  ProfileFile().PutString("Inline", "Name", "TABLE-GRID");
  ProfileFile().PutInt("Inline", "Color", 3);
  ProfileFile().PutString("Inline", "LineType", "DASHED");
  const AcDbObjectId id = EnsureLayer("Inline");
  AcDbObjectPointer<AcDbLayerTableRecord> layer(id, AcDb::kForRead);
  ASSERT_TRUE(layer);
  EXPECT_EQ(layer->name(), "TABLE-GRID");
  EXPECT_EQ(layer->color().colorIndex(), 3);
  AcDbObjectPointer<AcDbLinetypeTableRecord> lt(layer->linetypeObjectId(), AcDb::kForRead);
  ASSERT_TRUE(lt);
  EXPECT_EQ(lt->name(), "DASHED");
}

TEST_F(LayersTest, ExistingLayerKeepsItsColour) {
  AcDbLayerTable* table = nullptr;
  ASSERT_EQ(db_.getLayerTable(table, AcDb::kForWrite), Acad::eOk);
  auto* rec = new AcDbLayerTableRecord();
  rec->setName("Sideline");
  rec->setColor(AcCmColor::fromIndex(1));
  AcDbObjectId existing;
  ASSERT_EQ(table->add(existing, rec), Acad::eOk);
  rec->close();
  table->close();
  EXPECT_EQ(EnsureLayer("Sideline"), existing);
  AcDbObjectPointer<AcDbLayerTableRecord> layer(existing, AcDb::kForRead);
  EXPECT_EQ(layer->color().colorIndex(), 1);
}

TEST_F(LayersTest, UnusableLayerNameGivesNull) {
  ProfileFile().PutString("Text", "Name", "bad<name>");
  EXPECT_TRUE(EnsureLayer("Text").isNull());
}

TEST_F(LayersTest, ShapeFontStyleUsesTheSettingsNames) {
  const AcDbObjectId id = EnsureTextStyle("Table");
  AcDbObjectPointer<AcDbTextStyleTableRecord> style(id, AcDb::kForRead);
  ASSERT_TRUE(style);
  EXPECT_EQ(style->name(), "Table");
  EXPECT_EQ(style->fileName(), "txt.shx");
  EXPECT_EQ(style->bigFontFileName(), "gbcbig.shx");
  EXPECT_DOUBLE_EQ(style->textSize(), 3.5);
  EXPECT_DOUBLE_EQ(style->xScale(), 0.7);
  EXPECT_EQ(EnsureTextStyle("Table"), id);
}

TEST_F(LayersTest, MissingFontIsReportedAndLeftOut) {
  ProfileFile().PutString("Table", "StyleName", "Other");
  ProfileFile().PutString("Table", "FontName", "nosuchfont.shx");
  ProfileFile().PutString("Table", "BigFontName", "");
  const AcDbObjectId id = EnsureTextStyle("Table");
  AcDbObjectPointer<AcDbTextStyleTableRecord> style(id, AcDb::kForRead);
  ASSERT_TRUE(style);
  EXPECT_EQ(style->fileName(), "");
  EXPECT_EQ(style->bigFontFileName(), "");
  EXPECT_NE(cadhost::Feedback::Text().find("Could not find file nosuchfont.shx.\n"), std::string::npos);
}

TEST_F(LayersTest, SystemFontStyle) {
  ProfileFile().PutString("Table", "StyleName", "Sys");
  ProfileFile().PutString("Table", "FontName", "SimSun");
  const AcDbObjectId id = EnsureTextStyle("Table");
  AcDbObjectPointer<AcDbTextStyleTableRecord> style(id, AcDb::kForRead);
  ASSERT_TRUE(style);
  std::string face;
  bool bold = true, italic = true;
  int charset = 0, pitch = 0;
  ASSERT_EQ(style->font(face, bold, italic, charset, pitch), Acad::eOk);
  EXPECT_EQ(face, "SimSun");
  EXPECT_FALSE(bold);
  EXPECT_FALSE(italic);
  EXPECT_EQ(charset, 200);
  EXPECT_EQ(pitch, 100);
}

TEST_F(LayersTest, LinetypeIsLoadedOnDemand) {
  EXPECT_FALSE(FindLinetype("CENTER").isNull());
  EXPECT_TRUE(FindLinetype("NO_SUCH_LINETYPE").isNull());
  EXPECT_EQ(FindLinetype("continuous"), db_.continuousLinetype());
}

TEST_F(LayersTest, LinesAndTextsThatWouldBeEmptyAreNotMade) {
  const AcDbObjectId layer = EnsureLayer("Sideline");
  EXPECT_TRUE(AddLine(AcGePoint3d(0, 0, 0), AcGePoint3d(0.0005, 0, 0), layer).isNull());
  EXPECT_FALSE(AddLine(AcGePoint3d(0, 0, 0), AcGePoint3d(0.002, 0, 0), layer).isNull());
  EXPECT_TRUE(AddText(AcGePoint3d(0, 0, 0), 0, "", 3, 1, AcDbObjectId::kNull, 0, 0, layer).isNull());
  const AcDbObjectId t = AddText(AcGePoint3d(5, 5, 0), 0, "x", 3, 0.7, EnsureTextStyle("Table"), 1, 2, layer);
  AcDbObjectPointer<AcDbText> text(t, AcDb::kForRead);
  ASSERT_TRUE(text);
  EXPECT_EQ(text->colorIndex(), 256);
  EXPECT_EQ(text->linetypeId(), db_.byLayerLinetype());
  EXPECT_EQ(text->lineWeight(), AcDb::kLnWtByLayer);
  EXPECT_EQ(text->alignmentPoint(), AcGePoint3d(5, 5, 0));
}

TEST_F(LayersTest, MoveCopyAndErase) {
  const AcDbObjectId layer = EnsureLayer("Sideline");
  const AcDbObjectId a = AddLine(AcGePoint3d(0, 0, 0), AcGePoint3d(10, 0, 0), layer);
  MoveEntities({a}, AcGePoint3d(0, 0, 0), AcGePoint3d(5, 5, 0));
  const AcDbObjectIdArray copies = CopyEntities({a, AcDbObjectId::kNull}, AcGePoint3d(0, 0, 0), AcGePoint3d(0, 10, 0));
  ASSERT_EQ(copies.length(), 2);
  EXPECT_TRUE(copies[1].isNull());
  {
    AcDbObjectPointer<AcDbLine> moved(a, AcDb::kForRead);
    EXPECT_EQ(moved->startPoint(), AcGePoint3d(5, 5, 0));
    AcDbObjectPointer<AcDbLine> copy(copies[0], AcDb::kForRead);
    EXPECT_EQ(copy->startPoint(), AcGePoint3d(5, 15, 0));
    EXPECT_EQ(copy->layer(), "Sideline");
  }
  EraseEntities({a, copies[0], AcDbObjectId::kNull, db_.layerTableId()});
  AcDbObjectPointer<AcDbLine> gone(a, AcDb::kForRead);
  EXPECT_FALSE(gone);
  AcDbObjectPointer<AcDbLayerTable> table(db_.layerTableId(), AcDb::kForRead);
  EXPECT_TRUE(table);  // not an entity: left alone
}

TEST(Catalogues, LinetypeLinesGiveNamesAndDescriptions) {
  const auto entries = ParseLinetypeNames(
      ";; comment, with a comma\r\n*DASHED,Dashed __ __\r\nA,.5,-.25\n*BORDER,Border __ __ . __\n*noComma\n");
  EXPECT_EQ(entries, (std::vector<LinetypeEntry>{{"DASHED", "Dashed __ __"}, {"BORDER", "Border __ __ . __"}}));
}

TEST(Catalogues, LinetypeListStartsWithContinuous) {
  LinetypeCatalogue list;
  ASSERT_TRUE(LoadLinetypeList(list));
  ASSERT_GT(list.entries.size(), 3u);
  EXPECT_EQ(list.entries[0], (LinetypeEntry{"CONTINUOUS", std::string(39, '_')}));
}

TEST(Catalogues, FontFolderIsSortedIntoTextAndBigFonts) {
  test::TempDir dir;
  WriteFile(dir.File("a.SHX"), "AutoCAD-86 shapes 1.0\n");
  WriteFile(dir.File("b.shx"), "AutoCAD-86 bigfont 1.0\n");
  WriteFile(dir.File("c.Shx"), "AutoCAD-86 shapes 1.0\n");
  WriteFile(dir.File(".shx"), "x\n");
  FontCatalogue fonts;
  // The host's file search must find them again: make the folder a support folder.
  auto* services = acdbHostApplicationServices();
  const std::vector<std::string> old = services->supportPath();
  services->setSupportPath({dir.path()});
  const bool ok = LoadFontLists(fonts, dir.path());
  services->setSupportPath(old);
  ASSERT_TRUE(ok);
  EXPECT_EQ(fonts.textFonts, (std::vector<std::string>{"a.SHX"}));
  EXPECT_EQ(fonts.bigFonts, (std::vector<std::string>{"b.shx"}));
}

}  // namespace
}  // namespace vex
