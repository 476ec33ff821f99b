// Databases, ids, the open protocol, symbol tables and appending entities.

#include <gtest/gtest.h>

#include "test_util.h"

namespace cadhost::test {
namespace {

TEST(NewDatabase, HasTheDefaultContents) {
  AcDbDatabase db;
  AcDbBlockTable* blocks = nullptr;
  ASSERT_EQ(db.getSymbolTable(blocks, AcDb::kForRead), Acad::eOk);
  EXPECT_TRUE(blocks->has("*Model_Space"));
  EXPECT_TRUE(blocks->has("*PAPER_SPACE"));
  blocks->close();
  AcDbLayerTable* layers = nullptr;
  ASSERT_EQ(db.getLayerTable(layers, AcDb::kForRead), Acad::eOk);
  EXPECT_TRUE(layers->has("0"));
  layers->close();
  AcDbLinetypeTable* linetypes = nullptr;
  ASSERT_EQ(db.getLinetypeTable(linetypes, AcDb::kForRead), Acad::eOk);
  for (const char* name : {"CONTINUOUS", "BYLAYER", "BYBLOCK"}) EXPECT_TRUE(linetypes->has(name)) << name;
  linetypes->close();
  AcDbTextStyleTable* styles = nullptr;
  ASSERT_EQ(db.getTextStyleTable(styles, AcDb::kForRead), Acad::eOk);
  EXPECT_TRUE(styles->has("Standard"));
  styles->close();
  EXPECT_EQ(db.insunits(), AcDb::kUnitsMillimeters);
  EXPECT_TRUE(db.tilemode());
  EXPECT_EQ(db.currentSpaceId(), db.modelSpaceId());
  EXPECT_FALSE(db.clayer().isNull());
  EXPECT_EQ(db.celtype(), db.byLayerLinetype());
}

TEST(NewDatabase, WithoutDefaultsHasNoTables) {
  AcDbDatabase db(false, true);
  AcDbBlockTable* blocks = nullptr;
  EXPECT_EQ(db.getBlockTable(blocks, AcDb::kForRead), Acad::eNullObjectId);
  EXPECT_EQ(blocks, nullptr);
}

TEST(ObjectId, NullIsSafe) {
  const AcDbObjectId id;
  EXPECT_TRUE(id.isNull());
  EXPECT_FALSE(id.isValid());
  EXPECT_FALSE(id.isErased());
  EXPECT_EQ(id.database(), nullptr);
  EXPECT_TRUE(id.handle().isNull());
  AcDbObject* o = reinterpret_cast<AcDbObject*>(1);
  EXPECT_EQ(acdbOpenAcDbObject(o, id, AcDb::kForRead), Acad::eNullObjectId);
  EXPECT_EQ(o, nullptr);
}

TEST(ObjectId, UniqueAcrossDatabasesAndStaleAfterDestruction) {
  auto a = std::make_unique<AcDbDatabase>();
  AcDbDatabase b;
  const AcDbObjectId la = a->clayer();
  const AcDbObjectId lb = b.clayer();
  EXPECT_NE(la, lb);
  EXPECT_EQ(la.database(), a.get());
  EXPECT_EQ(lb.database(), &b);
  a.reset();
  EXPECT_FALSE(la.isValid());
  AcDbObject* o = nullptr;
  EXPECT_EQ(acdbOpenAcDbObject(o, la, AcDb::kForRead), Acad::eUnknownHandle);
  // A database made afterwards never hands out the dead database's ids.
  AcDbDatabase c;
  EXPECT_NE(c.clayer(), la);
  EXPECT_FALSE(la.isValid());
}

TEST(OpenProtocol, ReadersShareWritersExclude) {
  AcDbDatabase db;
  const AcDbObjectId id = AppendToModel(db, new AcDbLine({0, 0, 0}, {1, 0, 0}));
  AcDbObject* r1 = nullptr;
  AcDbObject* r2 = nullptr;
  AcDbObject* w = nullptr;
  ASSERT_EQ(acdbOpenAcDbObject(r1, id, AcDb::kForRead), Acad::eOk);
  ASSERT_EQ(acdbOpenAcDbObject(r2, id, AcDb::kForRead), Acad::eOk);
  EXPECT_EQ(r1, r2);
  EXPECT_EQ(acdbOpenAcDbObject(w, id, AcDb::kForWrite), Acad::eWasOpenForRead);
  EXPECT_EQ(r1->upgradeOpen(), Acad::eWasOpenForRead);  // two readers
  EXPECT_EQ(r2->close(), Acad::eOk);
  EXPECT_EQ(r1->upgradeOpen(), Acad::eOk);
  EXPECT_TRUE(r1->isWriteEnabled());
  EXPECT_EQ(acdbOpenAcDbObject(w, id, AcDb::kForRead), Acad::eWasOpenForWrite);
  EXPECT_EQ(r1->close(), Acad::eOk);
  EXPECT_EQ(r1->close(), Acad::eNotOpenForRead);
  ASSERT_EQ(acdbOpenAcDbObject(w, id, AcDb::kForWrite), Acad::eOk);
  EXPECT_EQ(w->close(), Acad::eOk);
}

TEST(OpenProtocol, SettersNeedWriteAccess) {
  AcDbDatabase db;
  const AcDbObjectId id = AppendToModel(db, new AcDbLine({0, 0, 0}, {1, 0, 0}));
  AcDbObjectPointer<AcDbLine> line(id, AcDb::kForRead);
  ASSERT_EQ(line.openStatus(), Acad::eOk);
  EXPECT_EQ(line->setStartPoint({5, 5, 0}), Acad::eNotOpenForWrite);
  EXPECT_EQ(line->startPoint(), AcGePoint3d(0, 0, 0));
  EXPECT_EQ(line->erase(), Acad::eNotOpenForWrite);
}

struct OpenCase {
  const char* name;
  int kind;  // 0 entity, 1 layer record, 2 erased entity, 3 null
  int call;  // 0 object, 1 entity, 2 as AcDbLine, 3 as AcDbCircle
  Acad::ErrorStatus expected;
};

class OpenStatus : public ::testing::TestWithParam<OpenCase> {};

TEST_P(OpenStatus, ReportsWhyNothingOpened) {
  AcDbDatabase db;
  AcDbObjectId id;
  const OpenCase& c = GetParam();
  if (c.kind == 0 || c.kind == 2) id = AppendToModel(db, new AcDbLine({0, 0, 0}, {1, 0, 0}));
  if (c.kind == 1) id = db.clayer();
  if (c.kind == 2) {
    AcDbEntityPointer e(id, AcDb::kForWrite);
    ASSERT_EQ(e->erase(), Acad::eOk);
  }
  Acad::ErrorStatus es = Acad::eOk;
  AcDbObject* opened = nullptr;
  if (c.call == 0) {
    es = acdbOpenAcDbObject(opened, id, AcDb::kForRead);
  } else if (c.call == 1) {
    AcDbEntity* e = nullptr;
    es = acdbOpenAcDbEntity(e, id, AcDb::kForRead);
    opened = e;
  } else if (c.call == 2) {
    AcDbObjectPointer<AcDbLine> p(id, AcDb::kForRead);
    es = p.openStatus();
  } else {
    AcDbObjectPointer<AcDbCircle> p(id, AcDb::kForRead);
    es = p.openStatus();
  }
  EXPECT_EQ(es, c.expected) << acadErrorStatusText(es);
  if (opened != nullptr) opened->close();
  // Whatever failed left nothing open: a write open works.
  if (!id.isNull() && c.kind != 2) {
    AcDbObject* w = nullptr;
    EXPECT_EQ(acdbOpenAcDbObject(w, id, AcDb::kForWrite), Acad::eOk);
    if (w) w->close();
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, OpenStatus,
    ::testing::Values(OpenCase{"entity_as_object", 0, 0, Acad::eOk},
                      OpenCase{"entity_as_entity", 0, 1, Acad::eOk},
                      OpenCase{"line_as_line", 0, 2, Acad::eOk},
                      OpenCase{"line_as_circle", 0, 3, Acad::eNotThatKindOfClass},
                      OpenCase{"layer_as_entity", 1, 1, Acad::eNotAnEntity},
                      OpenCase{"layer_as_object", 1, 0, Acad::eOk},
                      OpenCase{"erased", 2, 1, Acad::eWasErased},
                      OpenCase{"erased_through_pointer", 2, 2, Acad::eWasErased},
                      OpenCase{"null_id", 3, 1, Acad::eNullObjectId},
                      OpenCase{"null_id_pointer", 3, 2, Acad::eNullObjectId}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Erase, ErasedObjectsOpenOnlyWhenAsked) {
  AcDbDatabase db;
  const AcDbObjectId id = AppendToModel(db, new AcDbCircle({0, 0, 0}, AcGeVector3d::kZAxis, 2));
  {
    AcDbEntityPointer e(id, AcDb::kForWrite);
    ASSERT_EQ(e->erase(), Acad::eOk);
  }
  EXPECT_TRUE(id.isErased());
  AcDbEntity* e = nullptr;
  ASSERT_EQ(acdbOpenAcDbEntity(e, id, AcDb::kForWrite, true), Acad::eOk);
  EXPECT_TRUE(e->isErased());
  EXPECT_EQ(e->erase(false), Acad::eOk);
  e->close();
  EXPECT_FALSE(id.isErased());
  AcDbObjectPointer<AcDbBlockTableRecord> ms(db.modelSpaceId(), AcDb::kForRead);
  EXPECT_EQ(ms->entityIds().size(), 1u);
}

TEST(Erase, RecordsStay) {
  AcDbDatabase db;
  AcDbObjectPointer<AcDbLayerTableRecord> layer(db.clayer(), AcDb::kForWrite);
  EXPECT_EQ(layer->erase(), Acad::eNotApplicable);
  EXPECT_FALSE(layer->isErased());
}

TEST(SymbolTable, AddGetAtAndIterate) {
  AcDbDatabase db;
  const AcDbObjectId border = AddLayer(db, "Sideline", 1);
  ASSERT_FALSE(border.isNull());
  AcDbLayerTable* layers = nullptr;
  ASSERT_EQ(db.getLayerTable(layers, AcDb::kForWrite), Acad::eOk);
  AcDbObjectId found;
  EXPECT_EQ(layers->getAt("SIDELINE", found), Acad::eOk);
  EXPECT_EQ(found, border);
  EXPECT_TRUE(layers->has(border));
  EXPECT_EQ(layers->getAt("Missing", found), Acad::eKeyNotFound);
  EXPECT_TRUE(found.isNull());

  auto* dup = new AcDbLayerTableRecord();
  dup->setName("sideline");
  EXPECT_EQ(layers->add(dup), Acad::eDuplicateRecordName);
  delete dup;
  auto* notLayer = new AcDbTextStyleTableRecord();
  notLayer->setName("Wrong");
  EXPECT_EQ(layers->add(notLayer), Acad::eNotThatKindOfClass);
  delete notLayer;

  std::unique_ptr<AcDbSymbolTableIterator> it;
  ASSERT_EQ(layers->newIterator(it), Acad::eOk);
  std::vector<std::string> names;
  for (; !it->done(); it->step()) {
    AcDbSymbolTableRecord* r = nullptr;
    ASSERT_EQ(it->getRecord(r, AcDb::kForRead), Acad::eOk);
    names.push_back(r->name());
    r->close();
  }
  EXPECT_EQ(names, (std::vector<std::string>{"0", "Sideline"}));
  AcDbLayerTableRecord* rec = nullptr;
  ASSERT_EQ(layers->getAt("Sideline", rec, AcDb::kForRead), Acad::eOk);
  EXPECT_EQ(rec->color().colorIndex(), 1);
  EXPECT_EQ(rec->linetypeObjectId(), db.continuousLinetype());  // the default for new layers
  rec->close();
  layers->close();
}

struct NameCase {
  const char* name;
  Acad::ErrorStatus expected;
};

class RecordNames : public ::testing::TestWithParam<NameCase> {};

TEST_P(RecordNames, HostRuleForNames) {
  AcDbLayerTableRecord r;
  EXPECT_EQ(r.setName(GetParam().name), GetParam().expected) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(Cases, RecordNames,
                         ::testing::Values(NameCase{"Text", Acad::eOk},
                                           NameCase{"文字 层", Acad::eOk},
                                           NameCase{"", Acad::eInvalidSymbolTableName},
                                           NameCase{"a<b", Acad::eInvalidSymbolTableName},
                                           NameCase{"a/b", Acad::eInvalidSymbolTableName},
                                           NameCase{"*U", Acad::eInvalidSymbolTableName},
                                           NameCase{"tab\there", Acad::eInvalidSymbolTableName}));

TEST(SymbolTable, RenameKeepsLookupsRight) {
  AcDbDatabase db;
  const AcDbObjectId id = AddLayer(db, "Old");
  {
    AcDbObjectPointer<AcDbLayerTableRecord> r(id, AcDb::kForWrite);
    EXPECT_EQ(r->setName("0"), Acad::eDuplicateRecordName);
    EXPECT_EQ(r->setName("New"), Acad::eOk);
  }
  AcDbLayerTable* layers = nullptr;
  db.getLayerTable(layers, AcDb::kForRead);
  EXPECT_FALSE(layers->has("Old"));
  EXPECT_TRUE(layers->has("new"));
  layers->close();
}

TEST(SymbolTable, AnonymousBlocksAreNumbered) {
  AcDbDatabase db;
  const AcDbObjectId a = AddBlock(db, "*U");
  const AcDbObjectId b = AddBlock(db, "*U");
  AcDbObjectPointer<AcDbBlockTableRecord> ra(a, AcDb::kForRead), rb(b, AcDb::kForRead);
  EXPECT_EQ(ra->name(), "*U1");
  EXPECT_EQ(rb->name(), "*U2");
  EXPECT_TRUE(ra->isAnonymous());
}

TEST(Records, LayerAndStyleMembers) {
  AcDbTextStyleTableRecord style;
  EXPECT_EQ(style.setFileName("txt.shx"), Acad::eOk);
  EXPECT_EQ(style.setBigFontFileName("gbcbig.shx"), Acad::eOk);
  EXPECT_EQ(style.setTextSize(3.5), Acad::eOk);
  EXPECT_EQ(style.setXScale(0.7), Acad::eOk);
  EXPECT_EQ(style.setXScale(0), Acad::eInvalidInput);
  EXPECT_EQ(style.setFont("SimSun", false, false, 200, 100), Acad::eOk);
  std::string face;
  bool bold = true, italic = true;
  int charset = 0, pitch = 0;
  style.font(face, bold, italic, charset, pitch);
  EXPECT_EQ(face, "SimSun");
  EXPECT_FALSE(bold);
  EXPECT_EQ(charset, 200);
  EXPECT_EQ(pitch, 100);
  EXPECT_DOUBLE_EQ(style.xScale(), 0.7);
  EXPECT_EQ(style.fileName(), "txt.shx");

  AcDbLayerTableRecord layer;
  EXPECT_EQ(layer.setColor(AcCmColor::fromIndex(256)), Acad::eInvalidInput);
  EXPECT_EQ(layer.setColor(AcCmColor::fromIndex(3)), Acad::eOk);
  EXPECT_EQ(layer.color().colorIndex(), 3);
  AcCmColor c;
  EXPECT_TRUE(c.isByLayer());
  EXPECT_EQ(c.setColorIndex(257), Acad::eInvalidInput);
}

TEST(Append, ToModelAndPaperSpace) {
  AcDbDatabase db;
  const AcDbObjectId inModel = AppendToModel(db, new AcDbLine({0, 0, 0}, {1, 1, 0}));
  const AcDbObjectId inPaper = Append(db.paperSpaceId(), new AcDbLine({0, 0, 0}, {2, 2, 0}));
  ASSERT_FALSE(inModel.isNull());
  ASSERT_FALSE(inPaper.isNull());
  AcDbEntityPointer a(inModel, AcDb::kForRead), b(inPaper, AcDb::kForRead);
  EXPECT_EQ(a->blockId(), db.modelSpaceId());
  EXPECT_EQ(b->blockId(), db.paperSpaceId());
  // New entities get the database's defaults.
  EXPECT_EQ(a->layerId(), db.clayer());
  EXPECT_EQ(a->layer(), "0");
  EXPECT_EQ(a->linetypeId(), db.byLayerLinetype());
  EXPECT_EQ(a->colorIndex(), 256);
  EXPECT_EQ(a->lineWeight(), AcDb::kLnWtByLayer);
  db.setTilemode(false);
  EXPECT_EQ(db.currentSpaceId(), db.paperSpaceId());
}

TEST(Append, RefusesWhatDoesNotBelong) {
  AcDbDatabase db, other;
  AcDbObjectPointer<AcDbBlockTableRecord> ms(db.modelSpaceId(), AcDb::kForWrite);
  EXPECT_EQ(ms->appendAcDbEntity(nullptr), Acad::eNullObjectPointer);
  auto* line = new AcDbLine({0, 0, 0}, {1, 0, 0});
  ASSERT_EQ(line->setLayer(other.clayer()), Acad::eOk);
  EXPECT_EQ(ms->appendAcDbEntity(line), Acad::eWrongDatabase);
  ASSERT_EQ(line->setLayer(db.clayer()), Acad::eOk);
  ASSERT_EQ(ms->appendAcDbEntity(line), Acad::eOk);
  EXPECT_EQ(ms->appendAcDbEntity(line), Acad::eAlreadyInDb);
  line->close();
  ms.close();
  AcDbObjectPointer<AcDbBlockTableRecord> readOnly(db.modelSpaceId(), AcDb::kForRead);
  auto* l2 = new AcDbLine();
  EXPECT_EQ(readOnly->appendAcDbEntity(l2), Acad::eNotOpenForWrite);
  delete l2;
}

TEST(Append, ReferenceToItselfIsRefused) {
  AcDbDatabase db;
  const AcDbObjectId a = AddBlock(db, "A");
  const AcDbObjectId b = AddBlock(db, "B");
  ASSERT_FALSE(Append(b, new AcDbBlockReference({0, 0, 0}, a)).isNull());
  AcDbObjectPointer<AcDbBlockTableRecord> ra(a, AcDb::kForWrite);
  auto* self = new AcDbBlockReference({0, 0, 0}, a);
  EXPECT_EQ(ra->appendAcDbEntity(self), Acad::eSelfReference);
  auto* loop = new AcDbBlockReference({0, 0, 0}, b);  // B holds A: A holding B is a cycle
  EXPECT_EQ(ra->appendAcDbEntity(loop), Acad::eSelfReference);
  delete self;
  delete loop;
}

TEST(Entity, LayerByNameUsesTheWorkingDatabase) {
  AcDbDatabase db;
  AddLayer(db, "Text");
  acdbHostApplicationServices()->setWorkingDatabase(&db);
  AcDbText text;
  EXPECT_EQ(text.setLayer("TEXT"), Acad::eOk);
  EXPECT_EQ(text.layer(), "Text");
  EXPECT_EQ(text.setLayer("Nope"), Acad::eKeyNotFound);
  EXPECT_EQ(text.setLinetype("ByLayer"), Acad::eOk);
  EXPECT_EQ(text.setColorIndex(256), Acad::eOk);
  EXPECT_EQ(text.setLineWeight(AcDb::kLnWtByLayer), Acad::eOk);
  acdbHostApplicationServices()->setWorkingDatabase(nullptr);
  AcDbText orphan;
  EXPECT_EQ(orphan.setLayer("Text"), Acad::eNotInDatabase);
}

TEST(Entity, WorkingDatabaseForgottenWhenDestroyed) {
  auto db = std::make_unique<AcDbDatabase>();
  acdbHostApplicationServices()->setWorkingDatabase(db.get());
  db.reset();
  EXPECT_EQ(acdbHostApplicationServices()->workingDatabase(), nullptr);
}

TEST(BlockIterator, SkipsErasedAndRunsBothWays) {
  AcDbDatabase db;
  std::vector<AcDbObjectId> ids;
  for (int i = 0; i < 4; ++i) ids.push_back(AppendToModel(db, new AcDbLine({0, 0, 0}, {double(i + 1), 0, 0})));
  {
    AcDbEntityPointer e(ids[1], AcDb::kForWrite);
    e->erase();
  }
  AcDbObjectPointer<AcDbBlockTableRecord> ms(db.modelSpaceId(), AcDb::kForRead);
  std::unique_ptr<AcDbBlockTableRecordIterator> it;
  ms->newIterator(it);
  std::vector<AcDbObjectId> seen;
  for (; !it->done(); it->step()) {
    AcDbObjectId id;
    it->getEntityId(id);
    seen.push_back(id);
  }
  EXPECT_EQ(seen, (std::vector<AcDbObjectId>{ids[0], ids[2], ids[3]}));
  ms->newIterator(it, false);
  AcDbEntity* last = nullptr;
  ASSERT_EQ(it->getEntity(last, AcDb::kForRead), Acad::eOk);
  EXPECT_EQ(last->objectId(), ids[3]);
  last->close();
  ms->newIterator(it, true, false);
  int all = 0;
  for (; !it->done(); it->step()) ++all;
  EXPECT_EQ(all, 4);
}

TEST(ClassTests, CurvesAndCasts) {
  AcDbLine line;
  AcDbArc arc;
  AcDbCircle circle;
  AcDbPolyline pl;
  AcDbText text;
  AcDbBlockReference ref;
  for (AcDbEntity* e : std::initializer_list<AcDbEntity*>{&line, &arc, &circle, &pl})
    EXPECT_TRUE(e->isKindOf(AcDbCurve::desc())) << e->isA()->name();
  EXPECT_FALSE(text.isKindOf(AcDbCurve::desc()));
  EXPECT_FALSE(ref.isKindOf(AcDbCurve::desc()));
  EXPECT_EQ(AcDbLine::cast(static_cast<AcDbEntity*>(&arc)), nullptr);
  EXPECT_EQ(AcDbText::cast(static_cast<AcRxObject*>(&text)), &text);
  EXPECT_STREQ(pl.isA()->name(), "AcDbPolyline");
  EXPECT_TRUE(pl.isKindOf(AcDbEntity::desc()));
}

}  // namespace
}  // namespace cadhost::test
