// The part's pattern list: lookups and removals by identifier, the family/type filters with and without
// seeds, box queries, the two nearest-item searches (ties go to the later item) and the deep copy that
// rewires copied arrays to copied seeds.
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <boost/make_shared.hpp>
#include <boost/pointer_cast.hpp>

#include "geomFeature/host/geomkit/Geom2DList.h"
#include "geomFeature/host/geomkit/Matrix2D.h"
#include "geomFeature/host/mathkit/IntegerList.h"
#include "geomFeature/pattern/ArcPattern.h"
#include "geomFeature/pattern/CirclePattern.h"
#include "geomFeature/pattern/LinePattern.h"
#include "geomFeature/pattern/PatLinePattern.h"
#include "geomFeature/pattern/PatRelationList.h"
#include "geomFeature/pattern/PatternList.h"
#include "tests/support/SeedLinkGuard.h"

namespace Norvane {
namespace {

using Ints = std::vector<std::int64_t>;

IPatternPtr Line(double x1, double y1, double x2, double y2) {
    return boost::make_shared<LinePattern>(Point2D(x1, y1), Point2D(x2, y2));
}

IPatternPtr Circle(double x, double y, double r) {
    return boost::make_shared<CirclePattern>(Point2D(x, y), r);
}

PatternListPtr ListOf(const std::vector<IPatternPtr>& patterns) {
    auto list = boost::make_shared<PatternList>();
    list->assign(patterns.begin(), patterns.end());
    list->UpdateCache();
    return list;
}

Ints Values(const IntegerListPtr& list) {
    return Ints(list->begin(), list->end());
}

// 0 line (0,0)-(10,0); 1 circle r2 at (50,0), seed of 2; 2 line array of 3 copies from (60,0) step (10,0);
// 3 arc r5 about (0,20); 4 free circle r1 at (30,30). The array's first copy stands apart from the seed,
// so a point at the seed's centre is 0 from the seed but 8 from the array.
PatternListPtr MakePart() {
    const IPatternPtr seed = Circle(50, 0, 2);
    auto array = boost::make_shared<PatLinePattern>(Point2D(60, 0), Vector2D(10, 0), 3);
    array->SetControlPat(seed);
    seed->SetBeControlPat(array);
    return ListOf({Line(0, 0, 10, 0), seed, array, boost::make_shared<ArcPattern>(Point2D(0, 20), 5, 0, 1),
                   Circle(30, 30, 1)});
}

// Watches every pattern of a list, so that the guard breaks the array-seed links when the test ends.
PatternListPtr Watched(testutil::SeedLinkGuard& links, const PatternListPtr& list) {
    for (const IPatternPtr& p : *list) links.Watch(p);
    return list;
}

struct FilterCase {
    std::string name;
    std::function<PatternListPtr(const PatternList&, int skip)> query;
    Ints withSeeds, withoutSeeds;  // indices into MakePart() found with skip-controlled 0 and 1
};

class PatternListFilter : public ::testing::TestWithParam<FilterCase> {};

TEST_P(PatternListFilter, DropsSeedsOnlyWhenAsked) {
    testutil::SeedLinkGuard links;
    const PatternListPtr part = Watched(links, MakePart());
    for (const int skip : {0, 1}) {
        const PatternListPtr result = GetParam().query(*part, skip);
        Ints found;
        for (const IPatternPtr& p : *result) found.push_back(part->GetPatternIndex(p));
        EXPECT_EQ(found, skip ? GetParam().withoutSeeds : GetParam().withSeeds) << "skip " << skip;
    }
}

using L = const PatternList&;
INSTANTIATE_TEST_SUITE_P(
    Queries, PatternListFilter,
    ::testing::Values(
        FilterCase{"Std", [](L l, int s) { return l.GetPatByCategory(GEOM_CATEGORY_STD, s); }, {1, 4}, {4}},
        FilterCase{
            "Plain", [](L l, int s) { return l.GetPatByCategory(GEOM_CATEGORY_PLAIN, s); }, {0, 3}, {0, 3}},
        FilterCase{"Array", [](L l, int s) { return l.GetPatByCategory(GEOM_CATEGORY_ARRAY, s); }, {2}, {2}},
        FilterCase{"CircleType", [](L l, int s) { return l.GetPatByType(PAT_CIRCLE, s); }, {1, 4}, {4}},
        FilterCase{"Closed", [](L l, int s) { return l.GetClosedPatList(s); }, {1, 4}, {4}},
        FilterCase{"AllSeeds", [](L l, int) { return l.GetAllCtrlPat(); }, {1}, {1}},
        // Seed box x 48..52, array box x 58..82; everything else lies outside.
        FilterCase{
            "InRect", [](L l, int s) { return l.GetPatternInRect(Rect2D(40, 90, -5, 5), s); }, {1, 2}, {2}},
        FilterCase{"NearestAtSeedCentre",
                   [](L l, int s) { return ListOf({l.GetPatternClosestTo(Point2D(50, 0), s)}); },
                   {1},
                   {2}}),
    [](const ::testing::TestParamInfo<FilterCase>& info) { return info.param.name; });

TEST(PatternList, TypeListFollowsFirstAppearance) {
    EXPECT_EQ(Values(ListOf({Line(0, 0, 1, 0), boost::make_shared<ArcPattern>(), Line(0, 1, 1, 1)})
                         ->GetPatTypeList(0)),
              (Ints{200, 203}));
    // Without the seed, the circle type first appears after the array.
    testutil::SeedLinkGuard links;
    const PatternListPtr part = Watched(links, MakePart());
    EXPECT_EQ(Values(part->GetPatTypeList(0)), (Ints{200, 204, 207, 203}));
    EXPECT_EQ(Values(part->GetPatTypeList(1)), (Ints{200, 207, 203, 204}));
}

// The inclusion test is closed: a box on the rectangle's edge is inside, one poking out by 0.001 is not.
// The overall box starts from the first pattern's box, so the origin does not leak into it.
TEST(PatternList, Boxes) {
    const PatternListPtr line = ListOf({Line(0, 0, 10, 0)});
    EXPECT_EQ(line->GetPatternInRect(Rect2D(0, 10, -1, 1), 0)->size(), 1u);
    EXPECT_EQ(line->GetPatternInRect(Rect2D(0, 9.999, -1, 1), 0)->size(), 0u);
    EXPECT_EQ(ListOf({Circle(10, 10, 1), Circle(20, 15, 2)})->GetRectBox(), Rect2D(9, 22, 9, 17));
}

struct NearestCase {
    std::string name;
    std::vector<IPatternPtr> patterns;
    int expected;  // index of the pattern nearest to (0, 0)
};

class PatternListNearest : public ::testing::TestWithParam<NearestCase> {};

TEST_P(PatternListNearest, LaterWinsTies) {
    const PatternListPtr list = ListOf(GetParam().patterns);
    EXPECT_EQ(list->GetPatternClosestTo(Point2D(0, 0), 0), list->at(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Ties, PatternListNearest,
    ::testing::Values(NearestCase{"Equal", {Line(-5, 1, 5, 1), Line(-5, -1, 5, -1)}, 1},
                      NearestCase{"EarlierNearer", {Line(-5, 1, 5, 1), Line(-5, -1.5, 5, -1.5)}, 0},
                      // A circle's centre counts as part of it: 0 from the centre beats 1 from the line.
                      NearestCase{"CentreCounts", {Circle(0, 0, 5), Line(-5, 1, 5, 1)}, 0}),
    [](const ::testing::TestParamInfo<NearestCase>& info) { return info.param.name; });

// Line middles 1 above and 1 below: the later line's is taken, exactly at the tolerance it still counts.
// In the part, the seed's centre is 0 away but seeds never offer snap points; the array's start is 10 away.
TEST(PatternList, SnapPointTiesToleranceAndSeeds) {
    const PatternListPtr list = ListOf({Line(-5, 1, 5, 1), Line(-5, -1, 5, -1)});
    ASSERT_TRUE(list->GetCtrlPtClosestTo(Point2D(0, 0), 1.0));
    EXPECT_EQ(*list->GetCtrlPtClosestTo(Point2D(0, 0), 1.0), Point2D(0, -1));
    EXPECT_FALSE(list->GetCtrlPtClosestTo(Point2D(0, 0), 0.999));

    testutil::SeedLinkGuard links;
    const PatternListPtr part = Watched(links, MakePart());
    ASSERT_TRUE(part->GetCtrlPtClosestTo(Point2D(50, 0), 10.0));
    EXPECT_EQ(*part->GetCtrlPtClosestTo(Point2D(50, 0), 10.0), Point2D(60, 0));
    EXPECT_FALSE(part->GetCtrlPtClosestTo(Point2D(50, 0), 9.9));
}

TEST(PatternList, EmptyListAnswers) {
    const PatternList empty;
    EXPECT_FALSE(empty.GetPatternClosestTo(Point2D(0, 0), 0));
    EXPECT_FALSE(empty.GetCtrlPtClosestTo(Point2D(0, 0), 1e9));
    EXPECT_EQ(empty.GetIndexByID(1), -1);
    EXPECT_FALSE(empty.GetPatFromID(1));
    EXPECT_TRUE(empty.GetPatTypeList(0)->empty());
    EXPECT_TRUE(empty.CalcBaseGeomList()->empty());
    EXPECT_EQ(boost::dynamic_pointer_cast<PatternList>(empty.Clone())->size(), 0u);
}

struct EditCase {
    std::string name;
    std::function<void(PatternList&, const std::vector<IPatternPtr>& abc)> edit;
    std::string expected;  // the entries left, as letters
};

class PatternListEdit : public ::testing::TestWithParam<EditCase> {};

// The list starts as a, b, a, c: pattern a is entered twice.
TEST_P(PatternListEdit, ById) {
    const std::vector<IPatternPtr> abc{Line(0, 0, 1, 0), Line(0, 1, 1, 1), Line(0, 2, 1, 2)};
    PatternList list;
    list.assign({abc[0], abc[1], abc[0], abc[2]});
    GetParam().edit(list, abc);
    std::string left;
    for (const IPatternPtr& p : list)
        left += static_cast<char>('a' + (p == abc[0] ? 0 : p == abc[1] ? 1 : 2));
    EXPECT_EQ(left, GetParam().expected);
}

using E = PatternList&;
using P = const std::vector<IPatternPtr>&;
INSTANTIATE_TEST_SUITE_P(
    Removal, PatternListEdit,
    ::testing::Values(EditCase{"FirstEntryOnly", [](E l, P p) { l.RemovePattern(p[0]->GetID()); }, "bac"},
                      EditCase{"AbsentId", [](E l, P) { l.RemovePattern(DataBase::NewID()); }, "abac"},
                      EditCase{"ListRemovesFirstEntries",
                               [](E l, P p) {
                                   l.RemovePatterns(ListOf({p[0], p[1]}));
                               },
                               "ac"},
                      EditCase{"IdListRemovesEveryEntry",
                               [](E l, P p) {
                                   auto ids = boost::make_shared<IntegerList>();
                                   ids->AddInt(p[0]->GetID());
                                   l.RemovePatternsEx(ids);
                               },
                               "bc"},
                      EditCase{"InsertPastEndAppends", [](E l, P p) { l.InsertBefore(p[1], 99); }, "abacb"}),
    [](const ::testing::TestParamInfo<EditCase>& info) { return info.param.name; });

// A list handed itself must not walk a vector that changes under it.
TEST(PatternList, SelfAppendAndSelfRemoval) {
    PatternListPtr list = ListOf({Line(0, 0, 1, 0), Line(0, 1, 1, 1)});
    list->AddPatterns(list);
    EXPECT_EQ(list->size(), 4u);
    list->RemovePatterns(list);
    EXPECT_TRUE(list->empty());
}

TEST(PatternList, OutlineTransformAndModifiedFlag) {
    testutil::SeedLinkGuard links;
    const PatternListPtr part = Watched(links, MakePart());
    // line 1 + three copies of the circle + arc 1 + circle 1; the seed's own circle is not repeated.
    EXPECT_EQ(part->CalcBaseGeomList()->size(), 6u);
    Matrix2D up;
    up.SetTransfer(Vector2D(0, 5));
    part->Transform(up, 1);
    EXPECT_EQ(part->at(1)->GetBasePoint(), Point2D(50, 0));
    EXPECT_EQ(part->at(0)->GetBasePoint(), Point2D(0, 5));

    EXPECT_EQ(part->IsModified(), 0);
    part->at(3)->SetModified(1);
    EXPECT_EQ(part->IsModified(), 1);
}

// The copied array repeats the copied seed and the copied seed names the copied array, with one link each
// way; the source keeps its own links. An array copied without its seed keeps the original seed.
TEST(PatternList, CloneRewiresArraysToCopiedSeeds) {
    testutil::SeedLinkGuard links;
    const PatternListPtr part = Watched(links, MakePart());
    const PatternListPtr copy = Watched(links, boost::dynamic_pointer_cast<PatternList>(part->Clone()));
    ASSERT_EQ(copy->size(), part->size());
    for (std::size_t i = 0; i < part->size(); ++i) {
        EXPECT_EQ(copy->at(i)->GetPatternType(), part->at(i)->GetPatternType());
        EXPECT_NE(copy->at(i)->GetID(), part->at(i)->GetID());
    }
    EXPECT_EQ(boost::dynamic_pointer_cast<IArrayPattern>(copy->at(2))->GetControlPat(), copy->at(1));
    EXPECT_EQ(copy->at(1)->IsControlPat(), copy->at(2));
    EXPECT_EQ(copy->at(1)->GetRelationByType(PAT_RELATION_TO_ARRAY)->GetCount(), 1);
    EXPECT_EQ(copy->at(2)->GetRelationByType(PAT_RELATION_TO_SEED)->GetCount(), 1);
    EXPECT_EQ(boost::dynamic_pointer_cast<IArrayPattern>(part->at(2))->GetControlPat(), part->at(1));
    EXPECT_EQ(part->at(1)->IsControlPat(), part->at(2));

    const PatternListPtr arrayOnly = boost::dynamic_pointer_cast<PatternList>(ListOf({part->at(2)})->Clone());
    EXPECT_EQ(boost::dynamic_pointer_cast<IArrayPattern>(arrayOnly->at(0))->GetControlPat(), part->at(1));
}

}  // namespace
}  // namespace Norvane
