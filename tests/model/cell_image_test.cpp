#include "model/cell_image.h"

#include <gtest/gtest.h>

namespace vex {
namespace {

TEST(JImage, BoundsOfEachKind) {
  EXPECT_EQ(JLine({3, -1}, {1, 4}).GetBounds(), (Rect2d{1, 4, 3, -1}));
  EXPECT_EQ(JCircle({2, 2}, -1.5).GetBounds(), (Rect2d{0.5, 3.5, 3.5, 0.5}));
  EXPECT_EQ(JPolyLine({{0, 0}, {4, 1}, {2, -3}, {0, 0}}).GetBounds(), (Rect2d{0, 1, 4, -3}));
  EXPECT_EQ(JPolyLine({}).GetBounds(), (Rect2d{}));
  EXPECT_EQ(JText().GetBounds(), (Rect2d{}));
}

TEST(JImage, RunTimeNames) {
  EXPECT_STREQ(JLine({}, {}).ClassName(), "JLine");
  EXPECT_STREQ(JCircle({}, 1).ClassName(), "JCircle");
  EXPECT_STREQ(JPolyLine({}).ClassName(), "JPolyLine");
  EXPECT_STREQ(JText().ClassName(), "JText");
}

TEST(CellImageList, BoundsIsTheUnion) {
  CellImageList list;
  EXPECT_EQ(list.Bounds(), (Rect2d{}));
  list.Append(std::make_unique<JLine>(Point2d{0, 0}, Point2d{10, 2}));
  list.Append(std::make_unique<JCircle>(Point2d{5, 5}, 1));
  list.Append(nullptr);  // ignored
  EXPECT_EQ(list.size(), 2u);
  EXPECT_EQ(list.Bounds(), (Rect2d{0, 6, 10, 0}));
  EXPECT_EQ(list.CachedBounds(), (Rect2d{0, 6, 10, 0}));
  list.Clear();
  EXPECT_TRUE(list.empty());
  EXPECT_EQ(list.CachedBounds(), (Rect2d{}));
}

TEST(CellImageList, CopyStaysValidWhenSourceIsCleared) {
  auto source = std::make_unique<CellImageList>();
  source->Append(std::make_unique<JPolyLine>(std::vector<Point2d>{{0, 0}, {1, 0}, {1, 1}}));
  source->Bounds();
  CellImageList copy = *source;
  CellImageList assigned;
  assigned.Append(std::make_unique<JText>());
  assigned = *source;
  source->Clear();
  source.reset();
  for (const CellImageList* l : {&copy, &assigned}) {
    ASSERT_EQ(l->size(), 1u);
    EXPECT_STREQ((*l)[0].ClassName(), "JPolyLine");
    EXPECT_EQ(l->CachedBounds(), (Rect2d{0, 1, 1, 0}));
  }
  EXPECT_EQ(copy, assigned);
}

TEST(CellImage, DefaultsAndReset) {
  CellImage image;
  EXPECT_EQ(image.HorzMode, 1);
  EXPECT_EQ(image.VertMode, 1);
  EXPECT_EQ(image.dScael, 1.0);
  image.HorzMode = 0;
  image.dScael = 0.3;
  image.sBlockName = "VexTable0";
  image.images.Append(std::make_unique<JLine>(Point2d{}, Point2d{1, 1}));
  image.Reset();
  EXPECT_EQ(image.HorzMode, 1);
  EXPECT_EQ(image.dScael, 1.0);
  EXPECT_TRUE(image.sBlockName.empty());
  EXPECT_TRUE(image.images.empty());
}

}  // namespace
}  // namespace vex
