// Saving and reading drawing files: what goes in comes back, text in every encoding.

#include <gtest/gtest.h>

#include <cstdio>
#include <numbers>

#include "support/temp_dir.h"
#include "test_util.h"

namespace cadhost::test {
namespace {

std::string Data(const char* name) { return std::string(CADHOST_TEST_DATA) + "/" + name; }

std::vector<std::string> Texts(AcDbDatabase&, AcDbObjectId space) {
  std::vector<std::string> out;
  AcDbObjectPointer<AcDbBlockTableRecord> block(space, AcDb::kForRead);
  for (AcDbObjectId id : block->entityIds()) {
    AcDbObjectPointer<AcDbText> t(id, AcDb::kForRead);
    if (t) out.push_back(t->textString());
  }
  return out;
}

template <typename T>
std::vector<AcDbObjectId> OfKind(AcDbDatabase&, AcDbObjectId space) {
  std::vector<AcDbObjectId> out;
  AcDbObjectPointer<AcDbBlockTableRecord> block(space, AcDb::kForRead);
  for (AcDbObjectId id : block->entityIds()) {
    AcDbObjectPointer<T> e(id, AcDb::kForRead);
    if (e) out.push_back(id);
  }
  return out;
}

// A drawing with every kind the host models.
void Fill(AcDbDatabase& db) {
  const AcDbObjectId layer = AddLayer(db, "文字", 2);
  const AcDbObjectId style = AddShapeStyle(db, "Table");
  auto* ttf = new AcDbTextStyleTableRecord();
  ttf->setName("SongTi");
  ttf->setFont("SimSun", false, true, 134, 2);
  AddRecord(db, &AcDbDatabase::getTextStyleTable, ttf);
  const AcDbObjectId block = AddBlock(db, "Pic", {1, 1, 0});
  Append(block, new AcDbCircle({2, 2, 0}, AcGeVector3d::kZAxis, 1));
  auto* line = new AcDbLine({0, 0, 0}, {100, 0, 0});
  line->setLayer(layer);
  line->setColorIndex(1);
  line->setLineWeight(AcDb::kLnWt030);
  AppendToModel(db, line);
  auto* t = new AcDbText();
  t->setTextString("表格 %%c10 \\U+20AC");
  t->setTextStyle(style);
  t->setHeight(3.5);
  t->setWidthFactor(0.7);
  t->setHorizontalMode(AcDb::kTextRight);
  t->setVerticalMode(AcDb::kTextTop);
  t->setAlignmentPoint({29, -1, 0});
  t->setRotation(0.25);
  AppendToModel(db, t);
  AppendToModel(db, new AcDbArc({5, 5, 0}, {0, 0, -1}, 2, 0.5, 2.5));
  auto* pl = new AcDbPolyline();
  pl->addVertexAt(0, {0, 0}, 0.5, 0.1, 0.2);
  pl->addVertexAt(1, {10, 0});
  pl->addVertexAt(2, {10, 10}, -1);
  pl->setClosed(true);
  AppendToModel(db, pl);
  auto* ref = new AcDbBlockReference({50, 50, 0}, block);
  ref->setScaleFactors(AcGeScale3d(2, 2, 1));
  ref->setRotation(std::numbers::pi / 6);
  AppendToModel(db, ref);
  Append(db.paperSpaceId(), new AcDbText({10, 10, 0}, "图纸", AcDbObjectId(), 5));
  db.setInsbase({1, 2, 3});
  db.setTextsize(3);
}

TEST(DrawingFile, WhatIsSavedReadsBack) {
  vex::test::TempDir dir;
  AcDbDatabase db;
  Fill(db);
  ASSERT_EQ(db.saveAs(dir.File("a.dxf").c_str()), Acad::eOk) << db.lastFileReport().message;
  EXPECT_EQ(db.filename(), dir.File("a.dxf"));
  AcDbDatabase back(false);
  ASSERT_EQ(back.readDwgFile(dir.File("a.dxf").c_str()), Acad::eOk) << back.lastFileReport().message;
  EXPECT_TRUE(back.lastFileReport().warnings.empty()) << back.lastFileReport().warnings[0];
  EXPECT_EQ(back.insunits(), AcDb::kUnitsMillimeters);
  EXPECT_EQ(back.insbase(), AcGePoint3d(1, 2, 3));
  EXPECT_DOUBLE_EQ(back.textsize(), 3);
  EXPECT_EQ(Texts(back, back.modelSpaceId()), (std::vector<std::string>{"表格 %%c10 €"}));
  EXPECT_EQ(Texts(back, back.paperSpaceId()), (std::vector<std::string>{"图纸"}));

  auto lines = OfKind<AcDbLine>(back, back.modelSpaceId());
  ASSERT_EQ(lines.size(), 1u);
  AcDbObjectPointer<AcDbLine> line(lines[0], AcDb::kForRead);
  EXPECT_EQ(line->linetypeId(), back.byLayerLinetype());
  EXPECT_EQ(line->layer(), "文字");
  EXPECT_EQ(line->colorIndex(), 1);
  EXPECT_EQ(line->lineWeight(), AcDb::kLnWt030);

  AcDbObjectPointer<AcDbText> text(OfKind<AcDbText>(back, back.modelSpaceId())[0], AcDb::kForRead);
  AcDbObjectPointer<AcDbText> orig(OfKind<AcDbText>(db, db.modelSpaceId())[0], AcDb::kForRead);
  EXPECT_POINT_NEAR(text->position(), orig->position().x, orig->position().y, 0, 1e-9);
  EXPECT_POINT_NEAR(text->alignmentPoint(), 29, -1, 0, 1e-12);
  EXPECT_EQ(text->horizontalMode(), AcDb::kTextRight);
  EXPECT_EQ(text->verticalMode(), AcDb::kTextTop);
  EXPECT_NEAR(text->rotation(), 0.25, 1e-12);
  AcDbObjectPointer<AcDbTextStyleTableRecord> style(text->textStyle(), AcDb::kForRead);
  EXPECT_EQ(style->name(), "Table");
  EXPECT_EQ(style->bigFontFileName(), "gbcbig.shx");
  EXPECT_DOUBLE_EQ(style->xScale(), 0.7);

  AcDbObjectPointer<AcDbArc> arc(OfKind<AcDbArc>(back, back.modelSpaceId())[0], AcDb::kForRead);
  EXPECT_POINT_NEAR(arc->center(), 5, 5, 0, 1e-12);
  EXPECT_NEAR(arc->normal().z, -1, 1e-12);
  EXPECT_NEAR(arc->startAngle(), 0.5, 1e-12);

  AcDbObjectPointer<AcDbPolyline> pl(OfKind<AcDbPolyline>(back, back.modelSpaceId())[0], AcDb::kForRead);
  ASSERT_EQ(pl->numVerts(), 3u);
  double b = 0, sw = 0, ew = 0;
  pl->getBulgeAt(2, b);
  EXPECT_DOUBLE_EQ(b, -1);
  pl->getWidthsAt(0, sw, ew);
  EXPECT_DOUBLE_EQ(sw, 0.1);
  EXPECT_DOUBLE_EQ(ew, 0.2);
  EXPECT_TRUE(pl->isClosed());

  AcDbObjectPointer<AcDbBlockReference> ref(OfKind<AcDbBlockReference>(back, back.modelSpaceId())[0],
                                            AcDb::kForRead);
  EXPECT_EQ(ref->scaleFactors(), AcGeScale3d(2, 2, 1));
  AcDbExtents a, c;
  ref->getGeomExtents(a);
  AcDbObjectPointer<AcDbBlockReference> origRef(OfKind<AcDbBlockReference>(db, db.modelSpaceId())[0],
                                                AcDb::kForRead);
  origRef->getGeomExtents(c);
  EXPECT_POINT_NEAR(a.minPoint(), c.minPoint().x, c.minPoint().y, 0, 1e-9);

  AcDbTextStyleTable* styles = nullptr;
  back.getTextStyleTable(styles, AcDb::kForRead);
  AcDbTextStyleTableRecord* song = nullptr;
  ASSERT_EQ(styles->getAt("SongTi", song, AcDb::kForRead), Acad::eOk);
  std::string face;
  bool bold = true, italic = false;
  int charset = 0, pitch = 0;
  song->font(face, bold, italic, charset, pitch);
  EXPECT_EQ(face, "SimSun");
  EXPECT_FALSE(bold);
  EXPECT_TRUE(italic);
  EXPECT_EQ(charset, 134);
  song->close();
  styles->close();
}

TEST(DrawingFile, SavingWhatWasReadGivesTheSameFile) {
  vex::test::TempDir dir;
  AcDbDatabase db;
  Fill(db);
  db.loadLineTypeFile("*", CADHOST_SUPPORT "/acadiso.lin");
  ASSERT_EQ(db.saveAs(dir.File("first.dxf").c_str()), Acad::eOk);
  // Reading resolves the \U+ escape of the text once; from then on the file stays as it is.
  ASSERT_EQ(db.readDwgFile(dir.File("first.dxf").c_str()), Acad::eOk);
  ASSERT_EQ(db.saveAs(dir.File("a.dxf").c_str()), Acad::eOk);
  AcDbDatabase back(false);
  ASSERT_EQ(back.readDwgFile(dir.File("a.dxf").c_str()), Acad::eOk);
  ASSERT_EQ(back.saveAs(dir.File("b.dxf").c_str()), Acad::eOk);
  EXPECT_EQ(vex::test::ReadFile(dir.File("a.dxf")), vex::test::ReadFile(dir.File("b.dxf")));
}

TEST(DrawingFile, LineBreaksInTextDoNotBreakTheFile) {
  vex::test::TempDir dir;
  AcDbDatabase db;
  AppendToModel(db, new AcDbText({0, 0, 0}, "a\r\nb", AcDbObjectId(), 2));
  ASSERT_EQ(db.saveAs(dir.File("a.dxf").c_str()), Acad::eOk);
  AcDbDatabase back(false);
  ASSERT_EQ(back.readDwgFile(dir.File("a.dxf").c_str()), Acad::eOk) << back.lastFileReport().message;
  EXPECT_EQ(Texts(back, back.modelSpaceId()), (std::vector<std::string>{"a\r\nb"}));
}

TEST(DrawingFile, CodePageOfOlderFilesIsDecoded) {
  AcDbDatabase db(false);
  ASSERT_EQ(db.readDwgFile(Data("ezdxf_gbk_r2000.dxf").c_str()), Acad::eOk) << db.lastFileReport().message;
  EXPECT_EQ(Texts(db, db.modelSpaceId()), (std::vector<std::string>{"中文 GBK", "Thai ก €"}));
  AcDbLayerTable* layers = nullptr;
  db.getLayerTable(layers, AcDb::kForRead);
  EXPECT_TRUE(layers->has("图层"));
  layers->close();
}

struct EncodingCase {
  const char* name;
  const char* version;
  const char* codepage;
  std::string raw;       // the bytes of the text value
  std::string expected;  // UTF-8
};

class TextEncoding : public ::testing::TestWithParam<EncodingCase> {};

TEST_P(TextEncoding, ValuesBecomeUtf8) {
  const EncodingCase& c = GetParam();
  vex::test::TempDir dir;
  const std::string file = std::string("0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\n") + c.version +
                           "\n9\n$DWGCODEPAGE\n3\n" + c.codepage +
                           "\n0\nENDSEC\n0\nSECTION\n2\nENTITIES\n0\nTEXT\n8\n0\n10\n0\n20\n0\n30\n0\n40\n1\n1\n" +
                           c.raw + "\n0\nENDSEC\n0\nEOF\n";
  vex::test::WriteFile(dir.File("t.dxf"), file);
  AcDbDatabase db(false);
  ASSERT_EQ(db.readDwgFile(dir.File("t.dxf").c_str()), Acad::eOk) << db.lastFileReport().message;
  EXPECT_EQ(Texts(db, db.modelSpaceId()), (std::vector<std::string>{c.expected}));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TextEncoding,
    ::testing::Values(
        EncodingCase{"gbk", "AC1015", "ANSI_936", "\xD6\xD0\xCE\xC4", "中文"},
        EncodingCase{"big5", "AC1015", "ANSI_950", "\xA4\xA4\xA4\xE5", "中文"},
        EncodingCase{"shift_jis", "AC1015", "ANSI_932", "\x93\xFA\x96\x7B", "日本"},
        EncodingCase{"latin1", "AC1009", "ANSI_1252", "Stra\xDF" "e", "Straße"},
        EncodingCase{"escape_in_old_file", "AC1015", "ANSI_1252", "\\U+4E2D\\U+6587", "中文"},
        EncodingCase{"mif_escape", "AC1015", "ANSI_1252", "\\M+5D6D0", "中"},
        EncodingCase{"utf8_ignores_codepage", "AC1021", "ANSI_936", "中文", "中文"},
        EncodingCase{"escape_in_utf8_file", "AC1021", "ANSI_1252", "\\U+0E01", "ก"},
        EncodingCase{"escaped_backslash_stays", "AC1021", "ANSI_1252", "a\\\\U+0041", "a\\\\U+0041"},
        EncodingCase{"unknown_codepage", "AC1015", "ANSI_99999", "abc", "abc"},
        EncodingCase{"broken_utf8", "AC1021", "ANSI_1252", "a\xFF" "b", "a\xEF\xBF\xBD" "b"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DrawingFile, R12FilesOpen) {
  AcDbDatabase db(false);
  ASSERT_EQ(db.readDwgFile(Data("ezdxf_r12.dxf").c_str()), Acad::eOk) << db.lastFileReport().message;
  auto polylines = OfKind<AcDbPolyline>(db, db.modelSpaceId());
  ASSERT_EQ(polylines.size(), 1u);
  AcDbObjectPointer<AcDbPolyline> pl(polylines[0], AcDb::kForRead);
  EXPECT_EQ(pl->numVerts(), 3u);
  EXPECT_TRUE(pl->isClosed());
  double bulge = 0;
  pl->getBulgeAt(0, bulge);
  EXPECT_DOUBLE_EQ(bulge, 1);
  auto refs = OfKind<AcDbBlockReference>(db, db.modelSpaceId());
  ASSERT_EQ(refs.size(), 1u);
  const AcDbExtents e = ExtentsOf(refs[0]);
  EXPECT_POINT_NEAR(e.maxPoint(), 25, 5, 0, 1e-12);
  EXPECT_EQ(Texts(db, db.modelSpaceId()), (std::vector<std::string>{"R12 text"}));
}

TEST(DrawingFile, R12LayersKeepColourAndLinetype) {
  vex::test::TempDir dir;
  vex::test::WriteFile(dir.File("r12.dxf"),
                       "0\nSECTION\n2\nTABLES\n0\nTABLE\n2\nLTYPE\n70\n1\n0\nLTYPE\n2\nDASHED\n70\n0\n3\n"
                       "Dashed\n72\n65\n73\n2\n40\n3\n49\n2\n49\n-1\n0\nENDTAB\n0\nTABLE\n2\nLAYER\n70\n1\n"
                       "0\nLAYER\n2\nBorder\n70\n0\n62\n-3\n6\nDASHED\n0\nENDTAB\n0\nENDSEC\n0\nEOF\n");
  AcDbDatabase db(false);
  ASSERT_EQ(db.readDwgFile(dir.File("r12.dxf").c_str()), Acad::eOk) << db.lastFileReport().message;
  AcDbLayerTable* layers = nullptr;
  ASSERT_EQ(db.getLayerTable(layers, AcDb::kForRead), Acad::eOk);
  AcDbLayerTableRecord* border = nullptr;
  ASSERT_EQ(layers->getAt("Border", border, AcDb::kForRead), Acad::eOk);
  EXPECT_EQ(border->color().colorIndex(), 3);
  EXPECT_TRUE(border->isOff());
  AcDbObjectPointer<AcDbLinetypeTableRecord> lt(border->linetypeObjectId(), AcDb::kForRead);
  EXPECT_EQ(lt->name(), "DASHED");
  EXPECT_DOUBLE_EQ(lt->dashLengthAt(1), -1);
  border->close();
  layers->close();
}

TEST(DrawingFile, ReadFileCanBeDeletedWhileOpen) {
  vex::test::TempDir dir;
  AcDbDatabase src;
  AppendToModel(src, new AcDbText({0, 0, 0}, "kept", AcDbObjectId(), 1));
  ASSERT_EQ(src.saveAs(dir.File("c.dxf").c_str()), Acad::eOk);
  AcDbDatabase db(false, true);
  ASSERT_EQ(db.readDwgFile(dir.File("c.dxf").c_str(), _SH_DENYRW, false), Acad::eOk);
  ASSERT_EQ(std::remove(dir.File("c.dxf").c_str()), 0);
  AcDbObjectPointer<AcDbText> t(OfKind<AcDbText>(db, db.modelSpaceId())[0], AcDb::kForRead);
  EXPECT_STREQ(t->textStringConst(), "kept");
  const ACHAR* name = nullptr;
  AcDbObjectPointer<AcDbLayerTableRecord> layer(t->layerId(), AcDb::kForRead);
  layer->getName(name);
  EXPECT_STREQ(name, "0");
}

TEST(DrawingFile, FailedReadKeepsTheDrawing) {
  vex::test::TempDir dir;
  AcDbDatabase db;
  const AcDbObjectId id = AppendToModel(db, new AcDbLine({0, 0, 0}, {1, 0, 0}));
  vex::test::WriteFile(dir.File("bad.dxf"), "0\nSECTION\n2\nENTITIES\n0\nLINE\n10\nx\n");
  EXPECT_EQ(db.readDwgFile(dir.File("bad.dxf").c_str()), Acad::eBadDxfFile);
  EXPECT_EQ(db.lastFileReport().line, 8);
  EXPECT_TRUE(id.isValid());
  EXPECT_EQ(db.readDwgFile(dir.File("none.dxf").c_str()), Acad::eFileNotFound);
  EXPECT_TRUE(id.isValid());
}

TEST(DrawingFile, ReadingReplacesContentsAndIds) {
  vex::test::TempDir dir;
  AcDbDatabase other;
  AppendToModel(other, new AcDbText({0, 0, 0}, "x", AcDbObjectId(), 1));
  ASSERT_EQ(other.saveAs(dir.File("o.dxf").c_str()), Acad::eOk);
  AcDbDatabase db;
  const AcDbObjectId old = AppendToModel(db, new AcDbLine({0, 0, 0}, {1, 0, 0}));
  acdbHostApplicationServices()->setWorkingDatabase(&db);
  ASSERT_EQ(db.readDwgFile(dir.File("o.dxf").c_str()), Acad::eOk);
  EXPECT_FALSE(old.isValid());
  EXPECT_EQ(acdbHostApplicationServices()->workingDatabase(), &db);
  EXPECT_EQ(Texts(db, db.modelSpaceId()), (std::vector<std::string>{"x"}));
  EXPECT_EQ(db.modelSpaceId().database(), &db);
  acdbHostApplicationServices()->setWorkingDatabase(nullptr);
}

TEST(DrawingFile, FailedSaveKeepsTheOldFile) {
  vex::test::TempDir dir;
  AcDbDatabase db;
  EXPECT_EQ(db.saveAs(dir.File("no/such/folder/a.dxf").c_str()), Acad::eFileAccessErr);
  EXPECT_FALSE(db.lastFileReport().message.empty());
  vex::test::WriteFile(dir.File("keep.dxf"), "old");
  EXPECT_EQ(acdbSaveAsR14(&db, dir.File("keep.dxf").c_str()), Acad::eOk);
  EXPECT_NE(vex::test::ReadFile(dir.File("keep.dxf")), "old");
  EXPECT_EQ(acdbSaveAsR14(nullptr, "x"), Acad::eNullObjectPointer);
}

TEST(DrawingFile, UnmodelledEntitiesSurviveAndStayInOrder) {
  vex::test::TempDir dir;
  AcDbDatabase db(false);
  ASSERT_EQ(db.readDwgFile(Data("ezdxf_sample.dxf").c_str()), Acad::eOk) << db.lastFileReport().message;
  EXPECT_TRUE(db.lastFileReport().warnings.empty()) << db.lastFileReport().warnings[0];
  AcDbObjectPointer<AcDbBlockTableRecord> ms(db.modelSpaceId(), AcDb::kForRead);
  const std::vector<AcDbObjectId> before = ms->entityIds();
  ms.close();
  ASSERT_EQ(db.saveAs(dir.File("a.dxf").c_str()), Acad::eOk);
  const std::string text = vex::test::ReadFile(dir.File("a.dxf"));
  for (const char* kind : {"\nMTEXT\n", "\nDIMENSION\n", "\nHATCH\n", "\nATTRIB\n", "\nPOLYLINE\n",
                           "\nVERTEX\n", "\nLAYOUT\n", "\nDIMSTYLE\n", "多行文字", "图号 A-1"})
    EXPECT_NE(text.find(kind), std::string::npos) << kind;
  AcDbDatabase back(false);
  ASSERT_EQ(back.readDwgFile(dir.File("a.dxf").c_str()), Acad::eOk);
  AcDbObjectPointer<AcDbBlockTableRecord> ms2(back.modelSpaceId(), AcDb::kForRead);
  ASSERT_EQ(ms2->entityIds().size(), before.size());
  for (std::size_t i = 0; i < before.size(); ++i)
    EXPECT_EQ(ms2->entityIds()[i].handle(), before[i].handle()) << i;
}

TEST(DrawingFile, AttributesFollowTheirReference) {
  vex::test::TempDir dir;
  AcDbDatabase db(false);
  ASSERT_EQ(db.readDwgFile(Data("ezdxf_sample.dxf").c_str()), Acad::eOk);
  const auto refs = OfKind<AcDbBlockReference>(db, db.modelSpaceId());
  ASSERT_EQ(refs.size(), 1u);
  {
    AcDbEntityPointer ref(refs[0], AcDb::kForWrite);
    ASSERT_EQ(ref->transformBy(AcGeMatrix3d::translation({100, 0, 0})), Acad::eOk);
  }
  ASSERT_EQ(db.saveAs(dir.File("moved.dxf").c_str()), Acad::eOk);
  const std::string text = vex::test::ReadFile(dir.File("moved.dxf"));
  const std::size_t attrib = text.find("\nATTRIB\n");
  ASSERT_NE(attrib, std::string::npos);
  const std::size_t x = text.find("\n 10\n", attrib);
  ASSERT_NE(x, std::string::npos);
  EXPECT_DOUBLE_EQ(std::strtod(text.c_str() + x + 5, nullptr), 221.0);  // was 121
}

}  // namespace
}  // namespace cadhost::test
