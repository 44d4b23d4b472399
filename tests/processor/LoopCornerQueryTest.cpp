// Corner and percent-point queries on every loop kind: a 10 x 5 rectangle as four lines, as a rectangle
// hole, and as the seed of a line array (whose polygon form is the seed's outline).
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <boost/make_shared.hpp>

#include "geomFeature/host/geomkit/Point2DList.h"
#include "geomFeature/host/mathkit/IntegerList.h"
#include "geomFeature/host/mathkit/MathEx.h"
#include "geomFeature/loop/ArrayPatLoop.h"
#include "geomFeature/loop/PatLoopList.h"
#include "geomFeature/loop/PolyPatLoop.h"
#include "geomFeature/loop/StdPatLoop.h"
#include "geomFeature/pattern/CirclePattern.h"
#include "geomFeature/pattern/LinePattern.h"
#include "geomFeature/pattern/PatLinePattern.h"
#include "geomFeature/pattern/RectHolePattern.h"
#include "geomFeature/processor/LoopProcessor.h"
#include "tests/support/GeomExpect.h"
#include "tests/support/SeedLinkGuard.h"

namespace Norvane {
namespace {

constexpr double kPi = MathEx::PI;

IPatLoopPtr Refreshed(const IPatLoopPtr& loop) {
    LoopProcessor::UpdateCacheEx(loop);
    return loop;
}

PolyPatLoopPtr Polyline(const std::vector<Point2D>& points) {
    auto loop = boost::make_shared<PolyPatLoop>();
    for (std::size_t i = 1; i < points.size(); ++i) {
        loop->AppendPattern(boost::make_shared<LinePattern>(points[i - 1], points[i]), 1);
    }
    Refreshed(loop);
    return loop;
}

IPatLoopPtr PolyRectangle() {
    return Polyline({Point2D(0, 0), Point2D(10, 0), Point2D(10, 5), Point2D(0, 5), Point2D(0, 0)});
}

IPatLoopPtr StdRectangle() {
    const IPatternPtr hole = boost::make_shared<RectHolePattern>(Point2D(0, 0), Vector2D(10, 0), 0.5);
    return Refreshed(boost::make_shared<StdPatLoop>(boost::make_shared<PatLoopNode>(hole, 1)));
}

testutil::SeedLinkGuard g_links;

IPatLoopPtr ArrayRectangle() {
    const IPatternPtr seed = boost::make_shared<RectHolePattern>(Point2D(0, 0), Vector2D(10, 0), 0.5);
    seed->UpdateCache();
    const IArrayPatternPtr row =
        g_links.Link(boost::make_shared<PatLinePattern>(Point2D(0, 0), 20, 0.0, 3), seed);
    return Refreshed(boost::make_shared<ArrayPatLoop>(boost::make_shared<PatLoopNode>(row, 1)));
}

struct KindCase {
    const char* name;
    std::function<IPatLoopPtr()> make;
    bool poly;  // node indexes are per side; the others answer node 0
};

class EveryLoopKind : public ::testing::TestWithParam<KindCase> {};

// Corners given with a small error are found and made exact; a side's middle is no corner. The inside
// angle of a counter-clockwise rectangle is a right angle at every corner; a non-corner answers -1.
TEST_P(EveryLoopKind, CornersAndTheirAngles) {
    const IPatLoopPtr loop = GetParam().make();
    for (const Point2D& corner : {Point2D(0, 0), Point2D(10, 0), Point2D(10, 5), Point2D(0, 5)}) {
        Point2D near(corner.x + 1e-7, corner.y - 1e-7);
        ASSERT_EQ(LoopProcessor::PtAtLoopCorner(loop, near), 1) << testutil::Literal(corner);
        EXPECT_EQ(near, corner);
        EXPECT_NEAR(LoopProcessor::GetAngAtLoopCorner(loop, corner), kPi / 2, 1e-12);
    }
    Point2D middle(5, 0);
    EXPECT_EQ(LoopProcessor::PtAtLoopCorner(loop, middle), 0);
    EXPECT_EQ(LoopProcessor::GetAngAtLoopCorner(loop, middle), -1.0);
}

// Rays from the eight compass directions, worked out by hand for the box centred on (5, 2.5), h = 7.5.
TEST_P(EveryLoopKind, EightCompassPoints) {
    const IPatLoopPtr loop = GetParam().make();
    struct Hit {
        double angle;
        Point2D point;
        int node;
    };
    const std::vector<Hit> hits = {{0.0, Point2D(10, 2.5), 1},
                                   {0.7853981633974483, Point2D(7.5, 5), 2},
                                   {1.5707963267948966, Point2D(5, 5), 2},
                                   {2.356194490192345, Point2D(2.5, 5), 2},
                                   {3.141592653589793, Point2D(0, 2.5), 3},
                                   {3.9269908169872414, Point2D(2.5, 0), 0},
                                   {4.71238898038469, Point2D(5, 0), 0},
                                   {5.497787143782138, Point2D(7.5, 0), 0}};
    for (const Hit& hit : hits) {
        Point2D point;
        int node = -7;
        LoopProcessor::GetFst8PercentPt(loop, hit.angle, point, node);
        EXPECT_TRUE(testutil::PointNear(point, hit.point, 1e-9)) << hit.angle;
        EXPECT_EQ(node, GetParam().poly ? hit.node : 0) << hit.angle;
    }
}

INSTANTIATE_TEST_SUITE_P(Kinds, EveryLoopKind,
                         ::testing::Values(KindCase{"Poly", PolyRectangle, true},
                                           KindCase{"Std", StdRectangle, false},
                                           KindCase{"Array", ArrayRectangle, false}),
                         [](const auto& info) { return std::string(info.param.name); });

IPatLoopPtr CircleLoop(const Point2D& centre, double radius) {
    const IPatternPtr circle = boost::make_shared<CirclePattern>(centre, radius);
    return Refreshed(boost::make_shared<StdPatLoop>(boost::make_shared<PatLoopNode>(circle, 1)));
}

TEST(CornerQueries, CircleHasNoCornerAndIsMetFromAbove) {
    const IPatLoopPtr unit = CircleLoop(Point2D(0, 0), 1);
    for (Point2D p : {Point2D(1, 0), Point2D(0, 1), Point2D(3, 3)}) {
        EXPECT_EQ(LoopProcessor::PtAtLoopCorner(unit, p), 0);
    }
    Point2D point;
    int node = -1;
    LoopProcessor::GetFst8PercentPt(unit, kPi / 2, point, node);  // h = 2: from (0, 2) straight down
    EXPECT_TRUE(testutil::PointNear(point, Point2D(0, 1)));
    // Not one of the eight: the ray starts at (0, 0) along +x and misses a circle at (10, 10); the circle's
    // point nearest to the origin is taken.
    LoopProcessor::GetFst8PercentPt(CircleLoop(Point2D(10, 10), 1), 0.3, point, node);
    EXPECT_TRUE(testutil::PointNear(point, Point2D(10 - std::sqrt(0.5), 10 - std::sqrt(0.5)), 1e-9));
}

TEST(CornerQueries, NextPatternBeyondACorner) {
    const IPatLoopPtr rect = PolyRectangle();
    const DataID side1 = rect->GetPatByNodeIdx(0)->GetID();
    const DataID side2 = rect->GetPatByNodeIdx(1)->GetID();
    DataID out = 0;
    PatPosition position;
    LoopProcessor::GetNextCornerGeomPos(rect, Point2D(10, 0), side1, PatPosition(0, 1.0), out, position);
    EXPECT_EQ(out, side2);
    EXPECT_EQ(position.GetIndex(), 0);
    EXPECT_EQ(position.GetPercent(), 0.0);  // side 2 starts at the corner
    LoopProcessor::GetNextCornerGeomPos(rect, Point2D(10, 0), side2, PatPosition(0, 0.0), out, position);
    EXPECT_EQ(out, side1);
    EXPECT_EQ(position.GetPercent(), 1.0);
    out = 42;
    LoopProcessor::GetNextCornerGeomPos(rect, Point2D(10, 0), rect->GetPatByNodeIdx(2)->GetID(), position,
                                        out, position);
    EXPECT_EQ(out, 42u);  // neither pattern meets there: left alone

    // A rectangle hole reaches its first corner at both ends of its outline: the other end is answered.
    const IPatLoopPtr hole = StdRectangle();
    const DataID id = hole->GetPatByNodeIdx(0)->GetID();
    LoopProcessor::GetNextCornerGeomPos(hole, Point2D(0, 0), id, PatPosition(0, 0.0), out, position);
    EXPECT_EQ(out, id);
    EXPECT_EQ(position.GetIndex(), 3);
    EXPECT_EQ(position.GetPercent(), 1.0);
    LoopProcessor::GetNextCornerGeomPos(hole, Point2D(0, 0), id, PatPosition(3, 1.0), out, position);
    EXPECT_EQ(position.GetIndex(), 0);
}

// Sixteen directions on a square meet sixteen different points; the diagonals meet its corners exactly,
// which are reported with the nodes starting there. A circle has no corners.
TEST(CornerQueries, SixteenPointsAndTheCornersNearThem) {
    const IPatLoopPtr square =
        Polyline({Point2D(0, 0), Point2D(10, 0), Point2D(10, 10), Point2D(0, 10), Point2D(0, 0)});
    for (const IPatLoopPtr& loop : {square, CircleLoop(Point2D(3, 4), 2)}) {
        auto points = boost::make_shared<Point2DList>();
        auto nodes = boost::make_shared<IntegerList>();
        auto corners = boost::make_shared<Point2DList>();
        auto cornerNodes = boost::make_shared<IntegerList>();
        LoopProcessor::Get16PercentPt(loop, points, nodes, corners, cornerNodes, 1e-9);
        EXPECT_EQ(points->size(), 16u);
        EXPECT_EQ(nodes->size(), 16u);
        if (loop == square) {
            EXPECT_TRUE(testutil::PointsNear(
                *corners, {Point2D(10, 10), Point2D(0, 10), Point2D(0, 0), Point2D(10, 0)}));
            EXPECT_EQ(std::vector<std::int64_t>(cornerNodes->begin(), cornerNodes->end()),
                      (std::vector<std::int64_t>{2, 3, 0, 1}));
        } else {
            EXPECT_TRUE(corners->empty());
        }
    }
}

TEST(CornerQueries, OpenLoopsThatNearlyClose) {
    auto loops = boost::make_shared<PatLoopList>();
    loops->push_back(
        Polyline({Point2D(0, 0), Point2D(10, 0), Point2D(10, 10), Point2D(0.01, 0)}));  // gap 0.01
    loops->push_back(PolyRectangle());                                                  // closed
    loops->push_back(Polyline({Point2D(0, 0), Point2D(5, 5)}));                         // far open
    EXPECT_EQ(LoopProcessor::FindCloseInOpenLoop(loops, 0.01)->size(), 1u);             // inclusive
    EXPECT_EQ(LoopProcessor::FindCloseInOpenLoop(loops, 0.009)->size(), 0u);
}

TEST(CornerQueries, LayerAndColourOfTheFirstPattern) {
    const IPatLoopPtr rect = PolyRectangle();
    rect->GetPatByNodeIdx(0)->SetColorIndex(3);
    rect->GetPatByNodeIdx(1)->SetColorIndex(5);
    EXPECT_EQ(LoopProcessor::GetColorIndex_of_loop(rect.get()), 3);
    PolyPatLoop empty;
    EXPECT_EQ(LoopProcessor::GetLayerName_of_loop(&empty), L"");
    EXPECT_EQ(LoopProcessor::GetColorIndex_of_loop(&empty), -1);
}

}  // namespace
}  // namespace Norvane
