// Arrays: where each kind puts its copies (first copy, repeat matrices in copy order, the grid's serpentine),
// the outline of all copies, snap points, the free first copy, the seed link, clones, visitor slots and
// property edits. (Copying a list with its seeds: PatternListTest.)
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <boost/make_shared.hpp>
#include <boost/pointer_cast.hpp>

#include "geomFeature/host/appframe/DataPropItem.h"
#include "geomFeature/host/appframe/DataProperty.h"
#include "geomFeature/host/geomkit/Arc2D.h"
#include "geomFeature/host/geomkit/Geom2DList.h"
#include "geomFeature/host/geomkit/Point2DList.h"
#include "geomFeature/host/geomkit/RepeatData.h"
#include "geomFeature/host/mathkit/MathEx.h"
#include "geomFeature/pattern/CirclePattern.h"
#include "geomFeature/pattern/LinePattern.h"
#include "geomFeature/pattern/PatArcPattern.h"
#include "geomFeature/pattern/PatCirclePattern.h"
#include "geomFeature/pattern/PatGridPattern.h"
#include "geomFeature/pattern/PatLinePattern.h"
#include "geomFeature/pattern/PatRelation.h"
#include "geomFeature/pattern/PatRelationList.h"
#include "geomFeature/pattern/PatternCache.h"
#include "geomFeature/pattern/PatternPropID.h"
#include "geomFeature/pattern/RectHolePattern.h"
#include "tests/support/GeomExpect.h"
#include "tests/support/RecordingPatternVisitor.h"
#include "tests/support/SeedLinkGuard.h"

namespace Norvane {
namespace {

using testutil::PointNear;
using testutil::PointsNear;
constexpr double kPi = MathEx::PI;

// One array of each kind, with the copies' places and the snap points worked out by hand. The seed is a
// unit circle standing at seedAt; places are where each copy's centre lands, in copy order.
struct LayoutCase {
    std::string name;
    Point2D seedAt;
    std::function<IArrayPatternPtr()> make;
    std::vector<Point2D> places;
    std::vector<Point2D> snaps;
};

class ArrayLayout : public ::testing::TestWithParam<LayoutCase> {};

// The first copy, the repeat matrices (pure translations relative to the first copy) and the cached
// outline (one arc per copy, in copy order) all put the copies on the hand-computed places.
TEST_P(ArrayLayout, CopiesStandOnTheirPlacesInOrder) {
    testutil::SeedLinkGuard links;
    const LayoutCase& c = GetParam();
    auto seed = boost::make_shared<CirclePattern>(c.seedAt, 1.0);
    const IArrayPatternPtr array = links.Link(c.make(), seed);

    EXPECT_TRUE(PointNear(array->GetFirstInstMat().TransformPoint(c.seedAt), c.places[0]));
    const IPatternPtr first = array->GetFirstInst();
    ASSERT_TRUE(first);
    EXPECT_TRUE(PointNear(first->GetBasePoint(), c.places[0]));

    const RepeatDataPtr repeats = array->GetRepeatData();
    ASSERT_EQ(repeats->size(), c.places.size() - 1);
    for (std::size_t i = 0; i < repeats->size(); ++i) {
        const Matrix2D& m = repeats->at(i);
        EXPECT_TRUE(m.a == 1 && m.b == 0 && m.c == 0 && m.d == 1)
            << "copy " << i + 1 << " is not a translation";
        EXPECT_TRUE(PointNear(m.TransformPoint(c.places[0]), c.places[i + 1])) << "copy " << i + 1;
    }

    const Geom2DListPtr geoms = array->GetCacheData()->GetBaseGeom();
    ASSERT_EQ(geoms->size(), c.places.size());
    for (std::size_t i = 0; i < geoms->size(); ++i) {
        const auto& arc = static_cast<const Arc2D&>(*geoms->at(i));
        EXPECT_TRUE(PointNear(arc.GetCenter(), c.places[i])) << "outline of copy " << i;
        EXPECT_NEAR(arc.GetRadius(), 1.0, 1e-12);
    }
}

TEST_P(ArrayLayout, SnapPoints) {
    testutil::SeedLinkGuard links;
    const LayoutCase& c = GetParam();
    const IArrayPatternPtr array = links.Link(c.make(), boost::make_shared<CirclePattern>(c.seedAt, 1.0));
    Point2DList snaps;
    array->GetSnapPoints(snaps);
    EXPECT_TRUE(PointsNear(snaps, c.snaps));
}

// The grid rows: 3 columns of 2 rows, column spacing 5, row spacing 3, from (1, 2): after the first copy
// the serpentine goes up column 0, down column 1, up column 2.
INSTANTIATE_TEST_SUITE_P(
    AllKinds, ArrayLayout,
    ::testing::Values(
        LayoutCase{"RowOfFourFromTheSeed",
                   Point2D(0, 0),
                   [] { return boost::make_shared<PatLinePattern>(Point2D(0, 0), Vector2D(10, 0), 4); },
                   {{0, 0}, {10, 0}, {20, 0}, {30, 0}},
                   {{0, 0}, {30, 0}, {10, 0}}},
        LayoutCase{
            "DiagonalRowAwayFromTheSeed",
            Point2D(7, -3),
            [] { return boost::make_shared<PatLinePattern>(Point2D(1, 1), 5.0, std::atan2(3.0, 4.0), 3); },
            {{1, 1}, {5, 4}, {9, 7}},
            {{1, 1}, {9, 7}, {5, 4}}},
        LayoutCase{"ArcCounterClockwise",
                   Point2D(50, 50),
                   [] { return boost::make_shared<PatArcPattern>(Point2D(0, 0), 10.0, 0.0, kPi / 2, 3); },
                   {{10, 0}, {0, 10}, {-10, 0}},
                   {{0, 0}, {10, 0}, {0, 10}, {-10, 0}}},
        LayoutCase{
            "ArcClockwiseFromAStartVector",
            Point2D(0, 0),
            [] { return boost::make_shared<PatArcPattern>(Point2D(2, 2), Vector2D(0, 5), 4.0, -kPi / 2, 3); },
            {{2, 6}, {6, 2}, {2, -2}},
            {{2, 2}, {2, 6}, {6, 2}, {2, -2}}},
        LayoutCase{"ArcOfOneCopy",
                   Point2D(1, 1),
                   [] { return boost::make_shared<PatArcPattern>(Point2D(0, 0), 3.0, kPi, 0.5, 1); },
                   {{-3, 0}},
                   {{0, 0}, {-3, 0}, {-3 * std::cos(0.5), -3 * std::sin(0.5)}, {-3, 0}}},
        LayoutCase{"CircleOfFour",
                   Point2D(-1, 0),
                   [] { return boost::make_shared<PatCirclePattern>(Point2D(5, 5), 2.0, kPi / 2, 4); },
                   {{5, 7}, {3, 5}, {5, 3}, {7, 5}},
                   {{5, 5}, {5, 7}, {3, 5}}},
        LayoutCase{"GridThreeColumnsTwoRows",
                   Point2D(-4, 9),
                   [] { return boost::make_shared<PatGridPattern>(Point2D(1, 2), 3.0, 2, 5.0, 3); },
                   {{1, 2}, {1, 5}, {6, 5}, {6, 2}, {11, 2}, {11, 5}},
                   {{1, 2}, {11, 2}, {11, 5}, {1, 5}}},
        LayoutCase{"GridOfOneColumn",
                   Point2D(3, 3),
                   [] { return boost::make_shared<PatGridPattern>(Point2D(0, 0), 2.0, 3, 7.0, 1); },
                   {{0, 0}, {0, 2}, {0, 4}},
                   {{0, 0}, {0, 0}, {0, 4}, {0, 4}}}),
    [](const ::testing::TestParamInfo<LayoutCase>& info) { return info.param.name; });

// The first copy is a new pattern of the seed's class: its own identifier, no link to the array, its cache
// filled; the seed itself keeps its link.
TEST(ArrayPattern, FirstCopyIsAFreePattern) {
    testutil::SeedLinkGuard links;
    auto seed = boost::make_shared<LinePattern>(Point2D(3, 3), Vector2D(2, 1));
    auto row = boost::make_shared<PatLinePattern>(Point2D(0, 0), Vector2D(0, 4), 3);
    links.Link(row, seed);

    const auto first = boost::dynamic_pointer_cast<LinePattern>(row->GetFirstInst());
    ASSERT_TRUE(first);
    EXPECT_NE(first->GetID(), seed->GetID());
    EXPECT_NE(first->GetID(), row->GetFirstInst()->GetID());
    EXPECT_FALSE(first->IsControlPat());
    EXPECT_EQ(seed->IsControlPat(), IPatternPtr(row));
    ASSERT_TRUE(first->GetCacheData()->GetBaseGeom());
    EXPECT_TRUE(PointNear(first->GetEndPoint(), Point2D(2, 1)));
    EXPECT_TRUE(PointNear(seed->GetBasePoint(), Point2D(3, 3)));  // the seed did not move
}

// The array's cache is its own: growing the seed changes nothing until the array is refreshed.
TEST(ArrayPattern, SeedChangeShowsOnlyAfterRefresh) {
    testutil::SeedLinkGuard links;
    auto seed = boost::make_shared<CirclePattern>(Point2D(0, 0), 1.0);
    auto row = boost::make_shared<PatLinePattern>(Point2D(0, 0), Vector2D(10, 0), 4);
    links.Link(row, seed);
    EXPECT_EQ(row->GetCacheData()->GetRect().right, 31.0);

    seed->SetRadius(2.0);
    seed->UpdateCache();
    EXPECT_EQ(row->GetCacheData()->GetRect().right, 31.0);
    row->UpdateCache();
    EXPECT_NEAR(row->GetCacheData()->GetRect().right, 32.0, 1e-12);
    EXPECT_NEAR(row->GetCacheData()->GetRect().top, 2.0, 1e-12);
}

// An array holds at most one seed link: setting a new seed replaces it, an empty pointer removes it, and
// without a seed there are no copies at all.
TEST(ArrayPattern, SetControlPatKeepsOneSeedRelation) {
    auto grid = boost::make_shared<PatGridPattern>(Point2D(0, 0), 1.0, 2, 1.0, 2);
    auto a = boost::make_shared<CirclePattern>(Point2D(0, 0), 0.25);
    auto b = boost::make_shared<CirclePattern>(Point2D(5, 5), 0.25);

    grid->SetControlPat(a);
    grid->SetControlPat(b);
    const PatRelationListPtr toSeed = grid->GetRelationByType(PAT_RELATION_TO_SEED);
    ASSERT_EQ(toSeed->GetCount(), 1);
    EXPECT_EQ(toSeed->GetPatRelationByIndex(0)->GetParentID(), grid->GetID());
    EXPECT_EQ(grid->GetControlPat(), IPatternPtr(b));

    grid->SetControlPat(IPatternPtr());
    EXPECT_EQ(grid->GetPatRelationList()->GetCount(), 0);
    EXPECT_FALSE(grid->GetControlPat());
    EXPECT_FALSE(grid->GetFirstInst());
    EXPECT_TRUE(grid->CalcBaseGeomList()->empty());
}

// A clone alone has a new identifier, the same parameters and (until rewired) the same seed.
TEST(ArrayPattern, CloneKeepsParametersAndSeed) {
    testutil::SeedLinkGuard links;
    const std::vector<IArrayPatternPtr> arrays = {
        boost::make_shared<PatLinePattern>(Point2D(1, 2), Vector2D(3, -1), 3),
        boost::make_shared<PatArcPattern>(Point2D(1, 2), Vector2D(1, 1), 5.0, -0.3, 4),
        boost::make_shared<PatCirclePattern>(Point2D(1, 2), 5.0, 2.0, 5),
        boost::make_shared<PatGridPattern>(Point2D(1, 2), 2.0, 3, 1.5, 2)};
    for (const IArrayPatternPtr& array : arrays) {
        auto seed = boost::make_shared<CirclePattern>(Point2D(-2, 0), 0.5);
        links.Link(array, seed);
        const auto clone = boost::dynamic_pointer_cast<IArrayPattern>(array->Clone());
        ASSERT_TRUE(clone);
        clone->UpdateCache();
        EXPECT_NE(clone->GetID(), array->GetID());
        EXPECT_EQ(clone->GetControlPat(), IPatternPtr(seed));
        EXPECT_EQ(clone->GetFirstInstMat(), array->GetFirstInstMat());
        EXPECT_EQ(clone->GetRepeatData()->GetMatrix(), array->GetRepeatData()->GetMatrix());
        Point2DList mine, theirs;
        array->GetSnapPoints(mine);
        clone->GetSnapPoints(theirs);
        EXPECT_EQ(mine.GetPoints(), theirs.GetPoints()) << array->GetPatternType();
    }
}

TEST(ArrayPattern, TypeCodesAndVisitorSlots) {
    struct Row {
        IPatternPtr array;
        tagPatternType type;
        int slot;
    };
    const std::vector<Row> rows = {
        {boost::make_shared<PatLinePattern>(Point2D(0, 0), Vector2D(1, 0), 2), PAT_LINE_ARRAY, 6},
        {boost::make_shared<PatArcPattern>(Point2D(0, 0), 1.0, 0.0, 0.1, 2), PAT_ARC_ARRAY, 5},
        {boost::make_shared<PatCirclePattern>(Point2D(0, 0), 1.0, 0.0, 2), PAT_CIRCLE_ARRAY, 4},
        {boost::make_shared<PatGridPattern>(Point2D(0, 0), 1.0, 2, 1.0, 2), PAT_GRID_ARRAY, 3}};
    for (const Row& row : rows) {
        auto visitor = boost::make_shared<test::RecordingPatternVisitor>();
        row.array->Accept(visitor);
        ASSERT_EQ(visitor->calls.size(), 1u);
        EXPECT_EQ(visitor->calls[0].slot, row.slot);
        EXPECT_EQ(row.array->GetPatternType(), row.type);
        EXPECT_EQ(row.array->IsArrayPat(), 1);
        EXPECT_EQ(row.array->IsStdPat(), 0);
    }
}

// An array is as smooth as its seed: a rectangle has corners, a circle has none.
TEST(ArrayPattern, SmoothnessFollowsTheSeed) {
    testutil::SeedLinkGuard links;
    auto row = boost::make_shared<PatLinePattern>(Point2D(0, 0), Vector2D(10, 0), 2);
    links.Link(row, boost::make_shared<RectHolePattern>(Point2D(0, 0), Vector2D(2, 0), 0.5));
    EXPECT_EQ(row->IsSmooth(), 0);
    links.Link(row, boost::make_shared<CirclePattern>(Point2D(0, 0), 1.0));
    EXPECT_EQ(row->IsSmooth(), 1);
}

// Positions index the first copy's outline only: a point on a later copy has no position.
TEST(ArrayPattern, PositionsLiveOnTheFirstCopy) {
    testutil::SeedLinkGuard links;
    auto row = boost::make_shared<PatLinePattern>(Point2D(0, 0), Vector2D(10, 0), 3);
    links.Link(row, boost::make_shared<RectHolePattern>(Point2D(0, 0), Vector2D(4, 0), 0.5));

    PatPosition second;
    const PatPosition onFirst = row->GetPatPosByPoint(Point2D(1, 0), second);
    EXPECT_EQ(onFirst.GetIndex(), 0);
    EXPECT_NEAR(onFirst.GetPercent(), 0.25, 1e-12);
    EXPECT_TRUE(PointNear(row->GetPointByPatPos(onFirst), Point2D(1, 0)));
    EXPECT_EQ(row->GetPatPosByPoint(Point2D(11, 0), second).GetIndex(), -1);
}

// The move angle spans the n - 1 gaps between the copies.
TEST(PatArcPattern, MoveAngleSpansTheGapsAndNeedsTwoCopies) {
    PatArcPattern arc(Point2D(0, 0), 10.0, 0.0, 0.2, 5);
    EXPECT_NEAR(arc.GetMoveAngle(), 0.8, 1e-15);
    arc.SetMoveAngle(-1.5);
    EXPECT_EQ(arc.GetRepeatAngle(), -0.375);

    PatArcPattern single(Point2D(0, 0), 10.0, 0.0, 0.2, 1);
    single.SetMoveAngle(1.0);  // one copy spans no sweep: ignored
    EXPECT_EQ(single.GetRepeatAngle(), 0.2);
    EXPECT_EQ(single.GetMoveAngle(), 0.0);
}

TEST(PatArcPattern, LastCopyIsAFreePatternAtTheEnd) {
    testutil::SeedLinkGuard links;
    auto arc = boost::make_shared<PatArcPattern>(Point2D(1, 1), 4.0, kPi / 2, -kPi / 4, 5);
    auto seed = boost::make_shared<CirclePattern>(Point2D(9, 9), 0.5);
    links.Link(arc, seed);
    const IPatternPtr last = arc->GetLastInst();
    ASSERT_TRUE(last);
    EXPECT_TRUE(PointNear(last->GetBasePoint(), Point2D(1, -3)));
    EXPECT_FALSE(last->IsControlPat());
    EXPECT_NE(last->GetID(), seed->GetID());
}

TEST(PatCirclePattern, RepeatAngleIsAFullTurnShared) {
    EXPECT_EQ(PatCirclePattern(Point2D(0, 0), 1.0, 0.0, 8).GetRepeatAngle(), MathEx::PI2 / 8);
    EXPECT_EQ(PatCirclePattern(Point2D(0, 0), 1.0, 0.0, 0).GetRepeatAngle(), 0.0);
}

std::vector<int> ItemIds(const DataProperty& property) {
    std::vector<int> ids;
    for (const DataPropItem& item : property.GetItems()) {
        ids.push_back(item.GetItemID());
    }
    return ids;
}

TEST(ArrayPattern, PropertyItemsInOrder) {
    EXPECT_EQ(ItemIds(PatLinePattern(Point2D(0, 0), Vector2D(1, 0), 2).GetProperty()),
              (std::vector<int>{12007, 12101, 12102, 12117, 12119, 12120, 12121, 12122}));
    EXPECT_EQ(ItemIds(PatArcPattern(Point2D(0, 0), 1.0, 0.0, 0.1, 2).GetProperty()),
              (std::vector<int>{12007, 12101, 12102, 12106, 12107, 12108, 12122, 12124}));
    EXPECT_EQ(ItemIds(PatCirclePattern(Point2D(0, 0), 1.0, 0.0, 2).GetProperty()),
              (std::vector<int>{12007, 12101, 12102, 12106, 12107, 12122}));
    EXPECT_EQ(ItemIds(PatGridPattern(Point2D(0, 0), 1.0, 2, 1.0, 2).GetProperty()),
              (std::vector<int>{12007, 12101, 12102, 12120, 12119, 12126, 12125}));
}

// Edits of the row: the angle keeps the spacing, the spacing keeps the angle, a count below one is refused.
TEST(PatLinePattern, PropertyEdits) {
    PatLinePattern row(Point2D(0, 0), Vector2D(3, 4), 2);
    DataPropItem angle(kPropGroupValues, kPropArrayAngle, 90.0);
    row.UpdateProperty(angle);
    EXPECT_NEAR(row.GetXSpace(), 0.0, 1e-9);
    EXPECT_NEAR(row.GetYSpace(), 5.0, 1e-9);

    DataPropItem space(kPropGroupValues, kPropArraySpace, 2.0);
    row.UpdateProperty(space);
    EXPECT_NEAR(row.GetSpace(), 2.0, 1e-12);
    EXPECT_NEAR(row.GetAngle(), kPi / 2, 1e-9);

    DataPropItem none(kPropGroupValues, kPropArrayCount, 0);
    row.UpdateProperty(none);
    EXPECT_EQ(row.GetRepeatNum(), 2);
}

// Item 12108 of the arc array is the sweep from first to last copy, in degrees.
TEST(PatArcPattern, MoveAngleItemSpreadsTheCopies) {
    PatArcPattern arc(Point2D(0, 0), 1.0, 0.0, 0.1, 4);
    DataPropItem sweep(kPropGroupValues, kPropArrayMoveAngle, 90.0);
    arc.UpdateProperty(sweep);
    EXPECT_NEAR(arc.GetRepeatAngle(), kPi / 6, 1e-12);
    EXPECT_NEAR(arc.GetProperty().GetItemByName(kPropArrayMoveAngle)->GetDouble(), 90.0, 1e-9);
}

}  // namespace
}  // namespace Norvane
