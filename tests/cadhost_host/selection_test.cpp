// Selection sets: acedSSGet by window, crossing, pick, last, all and previous, and the set
// functions with hostile names.

#include <array>

#include "cadhost_host/host_test_util.h"

namespace cadhost::test {
namespace {

using Ids = std::vector<AcDbObjectId>;

// A small drawing: a horizontal line, a text, a circle and a line far away.
class SelectionTest : public HostTest {
 protected:
  void SetUp() override {
    HostTest::SetUp();
    line = AddLine(0, 0, 10, 0);
    text = AddText(0, 5, "ABC", 2.0);  // about 0..~5 x 5..7
    circle = AddCircle(20, 0, 2);
    far = AddLine(100, 100, 110, 100);
  }

  // Selects with typed input at "Select objects:"; the ids, or empty when none.
  Ids SelectTyped(const std::string& input, int* rc = nullptr) {
    TypeInput(input);
    ads_name ss;
    const int r = acedSSGet(nullptr, nullptr, nullptr, nullptr, ss);
    if (rc != nullptr) *rc = r;
    if (r != RTNORM) return {};
    Ids ids = IdsOf(ss);
    EXPECT_EQ(acedSSFree(ss), RTNORM);
    return ids;
  }

  Ids SelectMode(const char* mode, ads_point a, ads_point b) {
    ads_name ss;
    if (acedSSGet(mode, a, b, nullptr, ss) != RTNORM) return {};
    Ids ids = IdsOf(ss);
    acedSSFree(ss);
    return ids;
  }

  AcDbObjectId line, text, circle, far;
};

struct TypedCase {
  const char* name;
  const char* input;
  std::vector<int> expected;  // 0 line, 1 text, 2 circle, 3 far
};

class TypedSelection : public SelectionTest, public ::testing::WithParamInterface<TypedCase> {};

TEST_P(TypedSelection, SelectsWhatTheDrafterMeant) {
  const Ids all = {line, text, circle, far};
  Ids expected;
  for (int i : GetParam().expected) expected.push_back(all[static_cast<std::size_t>(i)]);
  EXPECT_EQ(SelectTyped(GetParam().input), expected) << Feedback::Text();
  EXPECT_EQ(OpenSelectionSetCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TypedSelection,
    ::testing::Values(
        TypedCase{"window_holds_whole_objects", "W -1,-1 11,10\n\n", {0, 1}},
        TypedCase{"window_misses_cut_objects", "W 5,-3 30,10\n\n", {2}},
        TypedCase{"crossing_takes_cut_objects", "C 5,-1 19,1\n\n", {0, 2}},
        TypedCase{"crossing_inside_circle_takes_nothing_of_it", "C 19.5,-0.5 20.5,0.5\n\n", {}},
        TypedCase{"pick_on_line", "5,0.5\n\n", {0}},
        TypedCase{"pick_inside_text_box", "1,6\n\n", {1}},
        TypedCase{"pick_on_circle_edge", "22,0\n\n", {2}},
        TypedCase{"miss_starts_window_left_to_right", "-5,-5 11,10\n\n", {0, 1}},
        TypedCase{"miss_right_to_left_is_crossing", "30,10 7,-1\n\n", {0, 2}},
        TypedCase{"last", "L\n\n", {3}},
        TypedCase{"all", "ALL\n\n", {0, 1, 2, 3}},
        TypedCase{"remove_mode", "ALL R 5,0 A 5,0\n\n", {1, 2, 3, 0}},
        TypedCase{"twice_counts_once", "5,0 5,0\n\n", {0}},
        TypedCase{"keywords_in_lower_case", "w -1,-1 11,10 all\n\n", {0, 1, 2, 3}},
        TypedCase{"junk_is_ignored", "zzz 5,0\n\n", {0}},
        TypedCase{"window_cancelled_by_enter", "W \n5,0\n\n", {0}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SelectionTest, NothingSelectedOrCancelledGivesNoSet) {
  int rc = 0;
  EXPECT_TRUE(SelectTyped("\n", &rc).empty());
  EXPECT_EQ(rc, RTERROR);
  EXPECT_TRUE(SelectTyped("5,0 \x1b", &rc).empty());
  EXPECT_EQ(rc, RTCAN);
  EXPECT_TRUE(SelectTyped("5,0", &rc).empty()) << "input ran out";
  EXPECT_EQ(rc, RTCAN);
  EXPECT_EQ(OpenSelectionSetCount(), 0);
}

TEST_F(SelectionTest, PreviousRepeatsTheLastSelection) {
  SelectTyped("5,0 22,0\n\n");
  EXPECT_EQ(SelectTyped("P\n\n"), (Ids{line, circle}));
  ads_name ss;
  ASSERT_EQ(acedSSGet("_P", nullptr, nullptr, nullptr, ss), RTNORM);
  EXPECT_EQ(IdsOf(ss), (Ids{line, circle}));
  acedSSFree(ss);
}

TEST_F(SelectionTest, ModesWithPointsSelectWithoutPrompting) {
  ads_point a = {-1, -1, 0}, b = {11, 10, 0};
  EXPECT_EQ(SelectMode("W", a, b), (Ids{line, text}));
  EXPECT_EQ(SelectMode("_c", b, a), (Ids{line, text}));
  EXPECT_EQ(SelectMode("L", nullptr, nullptr), (Ids{far}));
  EXPECT_EQ(SelectMode("X", nullptr, nullptr), (Ids{line, text, circle, far}));
  ads_point pick = {105, 100, 0};
  EXPECT_EQ(SelectMode(nullptr, pick, nullptr), (Ids{far}));
  EXPECT_TRUE(SelectMode("I", nullptr, nullptr).empty()) << "no pick-first set without a view";
  EXPECT_TRUE(SelectMode("W", a, nullptr).empty());
  EXPECT_TRUE(SelectMode("Q", a, b).empty());
  EXPECT_EQ(Feedback::Text(), "") << "nothing was asked";
}

TEST_F(SelectionTest, WindowIsInTheUserCoordinateSystem) {
  // Turn the UCS by 90 degrees: UCS x runs along world y.
  AcGeMatrix3d ucs;
  ucs.setCoordSystem(AcGePoint3d::kOrigin, AcGeVector3d::kYAxis, -AcGeVector3d::kXAxis,
                     AcGeVector3d::kZAxis);
  ASSERT_EQ(acedSetCurrentUCS(ucs), Acad::eOk);
  // The horizontal line (world x 0..10) lies at UCS y 0..-10.
  ads_point a = {-1, -11, 0}, b = {1, 1, 0};
  EXPECT_EQ(SelectMode("W", a, b), (Ids{line}));
}

TEST_F(SelectionTest, FrozenAndOffLayersAreNotSelected) {
  AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
  AcDbLayerTable* layers = nullptr;
  ASSERT_EQ(db->getLayerTable(layers, AcDb::kForWrite), Acad::eOk);
  auto* frozen = new AcDbLayerTableRecord();
  frozen->setName("FROZEN");
  frozen->setIsFrozen(true);
  AcDbObjectId frozenId;
  layers->add(frozenId, frozen);
  frozen->close();
  layers->close();
  {
    AcDbEntityPointer e(line, AcDb::kForWrite);
    ASSERT_EQ(e->setLayer(frozenId), Acad::eOk);
  }
  EXPECT_EQ(SelectTyped("W -1,-1 11,10\n\n"), (Ids{text}));
  EXPECT_EQ(SelectTyped("ALL\n\n"), (Ids{text, circle, far}));
}

TEST_F(SelectionTest, ErasedEntitiesAreNotSelected) {
  {
    AcDbEntityPointer e(far, AcDb::kForWrite);
    e->erase();
  }
  EXPECT_EQ(SelectTyped("L\n\n"), (Ids{circle}));
}

TEST_F(SelectionTest, AddMakesEmptySetsAndAddsOnce) {
  ads_name set;
  ASSERT_EQ(acedSSAdd(nullptr, nullptr, set), RTNORM);
  Adesk::Int32 n = -1;
  ASSERT_EQ(acedSSLength(set, &n), RTNORM);
  EXPECT_EQ(n, 0);
  ads_name e;
  ASSERT_EQ(acdbGetAdsName(e, circle), Acad::eOk);
  ASSERT_EQ(acedSSAdd(e, set, set), RTNORM);
  ASSERT_EQ(acedSSAdd(e, set, set), RTNORM);
  EXPECT_EQ(IdsOf(set), (Ids{circle}));
  EXPECT_EQ(acedSSMemb(e, set), RTNORM);
  EXPECT_EQ(acedSSDel(e, set), RTNORM);
  EXPECT_EQ(acedSSMemb(e, set), RTERROR);
  EXPECT_EQ(acedSSDel(e, set), RTERROR);
  ads_name single;
  ASSERT_EQ(acedSSAdd(e, nullptr, single), RTNORM);
  EXPECT_EQ(IdsOf(single), (Ids{circle}));
  EXPECT_EQ(OpenSelectionSetCount(), 2);
  EXPECT_EQ(acedSSFree(set), RTNORM);
  EXPECT_EQ(acedSSFree(set), RTERROR) << "freed twice";
  EXPECT_EQ(acedSSFree(single), RTNORM);
  EXPECT_EQ(OpenSelectionSetCount(), 0);
}

TEST_F(SelectionTest, HostileNamesAreRefused) {
  ads_name set, ent, bogus = {12345, 0}, nil = {0, 0};
  ASSERT_EQ(acedSSAdd(nullptr, nullptr, set), RTNORM);
  ASSERT_EQ(acdbGetAdsName(ent, line), Acad::eOk);
  Adesk::Int32 n = 0;
  EXPECT_EQ(acedSSLength(ent, &n), RTERROR) << "an entity name is no set";
  EXPECT_EQ(acedSSLength(bogus, &n), RTERROR);
  EXPECT_EQ(acedSSLength(set, nullptr), RTERROR);
  EXPECT_EQ(acedSSAdd(set, set, set), RTERROR) << "a set name is no entity";
  EXPECT_EQ(acedSSAdd(bogus, set, set), RTERROR);
  ads_name out;
  EXPECT_EQ(acedSSName(set, 0, out), RTERROR) << "past the end";
  EXPECT_EQ(acedSSName(set, -1, out), RTERROR);
  EXPECT_EQ(acedSSFree(nil), RTERROR);
  AcDbObjectId id;
  EXPECT_EQ(acdbGetObjectId(id, set), Acad::eInvalidInput);
  EXPECT_EQ(acdbGetObjectId(id, nil), Acad::eInvalidInput);
  EXPECT_EQ(acdbGetAdsName(out, AcDbObjectId()), Acad::eNullObjectId);
  EXPECT_EQ(acdbGetAdsName(out, AcDbObjectId().setFromOldId(0xFFFFFFFF)), Acad::eUnknownHandle);
  resbuf filter{};
  EXPECT_EQ(acedSSGet("X", nullptr, nullptr, &filter, out), RTERROR) << "filters unsupported";
  acedSSFree(set);
}

TEST_F(SelectionTest, AtMost128SetsAreOpen) {
  std::vector<std::array<std::int64_t, 2>> sets(128);
  for (auto& s : sets) ASSERT_EQ(acedSSAdd(nullptr, nullptr, s.data()), RTNORM);
  ads_name more;
  EXPECT_EQ(acedSSAdd(nullptr, nullptr, more), RTERROR);
  EXPECT_EQ(acedSSGet("X", nullptr, nullptr, nullptr, more), RTERROR);
  acedSSFree(sets[0].data());
  EXPECT_EQ(acedSSAdd(nullptr, nullptr, more), RTNORM);
}

TEST_F(SelectionTest, EntityNamesRoundTrip) {
  ads_name e;
  ASSERT_EQ(acdbGetAdsName(e, text), Acad::eOk);
  AcDbObjectId back;
  ASSERT_EQ(acdbGetObjectId(back, e), Acad::eOk);
  EXPECT_EQ(back, text);
}

}  // namespace
}  // namespace cadhost::test
