// Attributes of block references, as a window draws them: texts in world coordinates.

#include "cadhost_host/host_test_util.h"

namespace cadhost::test {
namespace {

using AttributesTest = HostTest;

TEST_F(AttributesTest, AReferenceGivesItsVisibleAttributesAsTexts) {
  ASSERT_EQ(acDocManager->appContextOpenDocument(CADHOST_TEST_DATA "/ezdxf_sample.dxf"),
            Acad::eOk);
  int references = 0;
  for (AcDbObjectId id : ModelSpace()) {
    AcDbObjectPointer<AcDbBlockReference> ref(id, AcDb::kForRead);
    if (!ref) continue;
    ++references;
    const auto texts = AttributesOf(*ref.object());
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0]->textString(), "图号 A-1");
    EXPECT_NEAR(texts[0]->position().x, 121, 1e-9);
    EXPECT_NEAR(texts[0]->position().y, 1, 1e-9);
    EXPECT_GT(texts[0]->height(), 0.0);
    EXPECT_EQ(texts[0]->database(), nullptr) << "the caller's";
    EXPECT_FALSE(texts[0]->layerId().isNull());
  }
  EXPECT_EQ(references, 1);
}

TEST_F(AttributesTest, APlainReferenceHasNone) {
  AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
  AcDbBlockReference ref({0, 0, 0}, db->paperSpaceId());
  EXPECT_TRUE(AttributesOf(ref).empty());
}

}  // namespace
}  // namespace cadhost::test
