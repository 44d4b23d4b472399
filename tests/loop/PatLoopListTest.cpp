// The loop list: which loop is the part's boundary, the nearest-pattern search over loop boxes, the two
// deletion orders and tiny-loop removal. Most loops here get their box set by hand, so each case states
// exactly the boxes the list decides on.
#include <cmath>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <boost/make_shared.hpp>
#include <boost/pointer_cast.hpp>

#include "geomFeature/loop/ArrayPatLoop.h"
#include "geomFeature/loop/PatLoopList.h"
#include "geomFeature/loop/PolyPatLoop.h"
#include "geomFeature/loop/StdPatLoop.h"
#include "geomFeature/pattern/CirclePattern.h"
#include "geomFeature/pattern/LinePattern.h"
#include "geomFeature/pattern/PatLinePattern.h"
#include "geomFeature/pattern/PatternList.h"
#include "geomFeature/processor/LoopProcessor.h"
#include "tests/support/SeedLinkGuard.h"

namespace Norvane {
namespace {

enum class Kind { Std, Array, OpenPoly };

// A loop of the given kind whose cached box is rect (the pattern's geometry plays no part in the box).
IPatLoopPtr Boxed(Kind kind, const Rect2D& rect) {
    IPatLoopPtr loop;
    if (kind == Kind::Std) {
        loop = boost::make_shared<StdPatLoop>(
            boost::make_shared<PatLoopNode>(boost::make_shared<CirclePattern>(Point2D(0, 0), 1.0), 1));
    } else if (kind == Kind::Array) {
        auto array = boost::make_shared<PatLinePattern>(Point2D(0, 0), Vector2D(1, 0), 2);
        loop = boost::make_shared<ArrayPatLoop>(boost::make_shared<PatLoopNode>(array, 1));
    } else {
        auto poly = boost::make_shared<PolyPatLoop>();
        poly->AppendPattern(boost::make_shared<LinePattern>(Point2D(0, 0), Point2D(1, 0)), 1);
        loop = poly;
    }
    loop->GetCacheData()->SetLoopRect(rect);
    return loop;
}

std::vector<DataID> Ids(const PatLoopList& loops) {
    std::vector<DataID> ids;
    for (const IPatLoopPtr& loop : loops) ids.push_back(loop->GetID());
    return ids;
}

struct BoundaryCase {
    std::string name;
    std::vector<std::pair<Kind, Rect2D>> loops;
    int expected;
};

void PrintTo(const BoundaryCase& c, std::ostream* os) {
    *os << c.name;
}

class BoundaryLoop : public ::testing::TestWithParam<BoundaryCase> {};

// Every flag starts set so that the test also sees UpdateBoundaryLoop clear the ones it does not choose.
TEST_P(BoundaryLoop, PicksTheEnclosingClosedLoop) {
    PatLoopList list;
    for (const auto& [kind, rect] : GetParam().loops) {
        list.push_back(Boxed(kind, rect));
        list.back()->IsBoundaryLoop(1);
    }
    const int expected = GetParam().expected;
    EXPECT_EQ(list.UpdateBoundaryLoop(), expected);
    EXPECT_EQ(list.GetBoundaryLoop(), expected);
    int flagged = 0;
    for (const IPatLoopPtr& loop : list) flagged += loop->IsBoundaryLoop();
    EXPECT_EQ(flagged, expected < 0 ? 0 : 1);
}

const Rect2D kOuter(0, 10, 0, 10);
INSTANTIATE_TEST_SUITE_P(
    Boxes, BoundaryLoop,
    ::testing::Values(
        BoundaryCase{"HoleInside", {{Kind::Std, Rect2D(2, 4, 2, 4)}, {Kind::Std, kOuter}}, 1},
        // Inclusion is closed: a hole box sharing the outer box's edge is still enclosed.
        BoundaryCase{"HoleOnOuterEdge", {{Kind::Std, kOuter}, {Kind::Std, Rect2D(8, 10, 0, 2)}}, 0},
        BoundaryCase{"HolePokesOut", {{Kind::Std, kOuter}, {Kind::Std, Rect2D(8, 10.001, 0, 2)}}, -1},
        // Strictly larger area only: the earlier of two equal boxes is the candidate.
        BoundaryCase{"EqualBoxesKeepEarlier", {{Kind::OpenPoly, kOuter}, {Kind::Std, kOuter}}, -1},
        BoundaryCase{"EqualClosedBoxes", {{Kind::Std, kOuter}, {Kind::OpenPoly, kOuter}}, 0},
        BoundaryCase{"LargestIsArray", {{Kind::Array, kOuter}, {Kind::Std, Rect2D(1, 2, 1, 2)}}, -1},
        BoundaryCase{"OnlyFlatBoxes", {{Kind::Std, Rect2D(0, 10, 0, 0)}}, -1}, BoundaryCase{"Empty", {}, -1}),
    [](const auto& info) { return info.param.name; });

// Radius-2 circles at (0,0) and (4,0) and a unit circle at (9,7.5), caches filled from the patterns.
TEST(PatLoopListTest, ClosestPatSearchesContainingBoxesAndTheNearestOther) {
    std::vector<IPatternPtr> circles;
    auto list = boost::make_shared<PatLoopList>();
    for (const auto& [centre, radius] :
         {std::pair{Point2D(0, 0), 2.0}, std::pair{Point2D(4, 0), 2.0}, std::pair{Point2D(9, 7.5), 1.0}}) {
        circles.push_back(boost::make_shared<CirclePattern>(centre, radius));
        circles.back()->UpdateCache();
        list->push_back(boost::make_shared<StdPatLoop>(boost::make_shared<PatLoopNode>(circles.back(), 1)));
    }
    LoopProcessor::UpdateCache(list);
    double distance = 0;
    // (2,0) lies on both left circles and inside both their boxes: distance 0 twice, the last measured wins.
    EXPECT_EQ(list->GetClosestPat(Point2D(2, 0), distance), circles[1]);
    EXPECT_DOUBLE_EQ(distance, 0.0);
    // From (9,3) the second circle's box is nearest (sqrt 10 against 3.5), although the small circle
    // itself is nearer (3.5 against sqrt(34) - 2 = 3.83): the box decides which loop is searched.
    EXPECT_EQ(list->GetClosestPat(Point2D(9, 3), distance), circles[1]);
    EXPECT_NEAR(distance, std::sqrt(34.0) - 2.0, 1e-12);
    list->clear();
    EXPECT_FALSE(list->GetClosestPat(Point2D(0, 0), distance));
    EXPECT_EQ(distance, -1.0);
}

TEST(PatLoopListTest, DeleteLoopKeepsOrderDeleteLoopExSwapsInTheLast) {
    PatLoopList list;
    for (int i = 0; i < 3; ++i) list.push_back(Boxed(Kind::Std, kOuter));
    const IPatLoopPtr a = list[0], b = list[1], c = list[2];
    PatLoopList swapped = list;
    swapped.DeleteLoopEx(a);
    EXPECT_EQ(Ids(swapped), (std::vector<DataID>{c->GetID(), b->GetID()}));
    list.DeleteLoop(a);
    EXPECT_EQ(Ids(list), (std::vector<DataID>{b->GetID(), c->GetID()}));
    list.DeleteLoop(a->GetID());  // absent: nothing happens
    EXPECT_EQ(list.size(), 2u);
    // A list told to delete itself must not trip over its own shrinking.
    auto self = boost::make_shared<PatLoopList>(list);
    self->DeleteLoopList(self);
    EXPECT_TRUE(self->empty());
}

TEST(PatLoopListTest, RemoveTinyLoopsTakesBoxesUpToSizeAndTheirPatterns) {
    testutil::SeedLinkGuard links;
    auto seed = boost::make_shared<CirclePattern>(Point2D(0, 0), 0.25);
    auto array = links.Link(boost::make_shared<PatLinePattern>(Point2D(0, 0), Vector2D(0.5, 0), 2), seed);
    auto patterns = boost::make_shared<PatternList>();
    PatLoopList list;
    list.push_back(boost::make_shared<ArrayPatLoop>(boost::make_shared<PatLoopNode>(array, 1)));
    list.back()->GetCacheData()->SetLoopRect(Rect2D(0, 1, 0, 1));  // exactly size: tiny
    list.push_back(Boxed(Kind::Std, Rect2D(0, 1.0001, 0, 1)));     // just over: kept
    list.push_back(Boxed(Kind::OpenPoly, Rect2D(5, 5, 0, 0)));     // a point: tiny
    for (const IPatLoopPtr& loop : list) patterns->AddPatterns(loop->GetPatternList());
    ASSERT_EQ(patterns->size(), 4u);

    list.RemoveTinyLoops(patterns, 1.0);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0]->GetLoopType(), LOOP_STD);
    ASSERT_EQ(patterns->size(), 1u);  // array, its seed and the line went with their loops
    EXPECT_EQ(patterns->at(0), list[0]->GetPatByNodeIdx(0));
}

TEST(PatLoopListTest, FiltersAndBoxes) {
    PatLoopList list;
    list.push_back(Boxed(Kind::OpenPoly, Rect2D(3, 7, 2, 4)));
    list.push_back(Boxed(Kind::Array, Rect2D(4, 5, 1, 2)));
    list.push_back(Boxed(Kind::Std, Rect2D(5, 6, 5, 9)));
    // The union starts from the first box, not from the origin.
    EXPECT_EQ(list.GetRectBox(), Rect2D(3, 7, 1, 9));
    EXPECT_EQ(list.GetVectToOrigin(), Vector2D(3, 1));
    EXPECT_EQ(list.GetPatLoopsInRect(Rect2D(3, 6, 1, 9))->size(), 2u);  // closed: boxes on the edge count

    // The polygon loop gets a second pattern; a list holding only its first pattern leaves it out.
    auto poly = boost::dynamic_pointer_cast<PolyPatLoop>(list[0]);
    poly->AppendPattern(boost::make_shared<LinePattern>(Point2D(1, 0), Point2D(1, 1)), 1);
    auto partial = boost::make_shared<PatternList>();
    partial->push_back(poly->GetPatByNodeIdx(0));
    partial->push_back(list[2]->GetPatByNodeIdx(0));
    EXPECT_EQ(Ids(*list.GetLoopWithinPats(partial)), std::vector<DataID>{list[2]->GetID()});

    // The chain (0,0)-(1,0)-(1,1) is open; a line starting at its end could join it.
    auto joinable = boost::make_shared<LinePattern>(Point2D(1, 1), Point2D(0, 1));
    EXPECT_EQ(Ids(*list.GetOpenLoopLinkToPat(joinable, 0.0001)), std::vector<DataID>{poly->GetID()});
    list.DeleteOpenLoops();
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0]->GetLoopType(), LOOP_ARRAY);
    EXPECT_EQ(list[1]->GetLoopType(), LOOP_STD);
}

}  // namespace
}  // namespace Norvane
