#include <algorithm>
#include <cmath>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "geomFeature/host/geomkit/GeomLoop.h"
#include "geomFeature/host/geomkit/LineArcProcessor.h"
#include "geomFeature/host/geomkit/Matrix2D.h"
#include "geomFeature/host/geomkit/Point2DList.h"
#include "tests/support/GeomChainBuilder.h"
#include "tests/support/GeomExpect.h"

namespace Norvane {
namespace {

using namespace testutil;

constexpr double kPi = MathEx::PI;

// A 4 × 4 square whose right side is a half circle of radius 2 bulging out, traced clockwise from the origin;
// its bottom line is given against the travel. Area 16 + 2π.
Geom2DListPtr ClockwiseSlot() {
    return ListOf({Seg(0, 0, 0, 4), Seg(0, 4, 4, 4), ArcOf(4, 2, 2, kPi / 2, -kPi), Seg(0, 0, 4, 0)});
}

// --- exact area and orientation ---------------------------------------------------------------------------

struct ChainAreaCase {
    std::string name;
    Geom2DListPtr geoms;
    double area;
};

void PrintTo(const ChainAreaCase& c, std::ostream* os) {
    *os << c.name;
}

class ChainAreaTest : public ::testing::TestWithParam<ChainAreaCase> {};

TEST_P(ChainAreaTest, ExactAreaNegatedByReversalAndByMirror) {
    const ChainAreaCase& c = GetParam();
    EXPECT_NEAR(LineArcProcessor::GetSignedArea(*c.geoms), c.area, 1e-12);

    auto reversed = c.geoms->Clone();
    std::reverse(reversed->begin(), reversed->end());
    for (IGeom2DPtr& g : *reversed) {
        g->Reverse();
    }
    EXPECT_NEAR(LineArcProcessor::GetSignedArea(*reversed), -c.area, 1e-12);

    auto mirrored = c.geoms->Clone();
    Matrix2D m;
    m.Mirror(Point2D(1, -3), Vector2D(1, 2));
    mirrored->Transform(m);
    EXPECT_NEAR(LineArcProcessor::GetSignedArea(*mirrored), -c.area, 1e-9);

    const GeomLoop loop(c.geoms);
    EXPECT_EQ(loop.GetDirection(), c.area < 0 ? DIR_CW : DIR_CCW);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ChainAreaTest,
    ::testing::Values(
        ChainAreaCase{"CircleOfTwoArcsCcw", Circle2(3, -2, 1.5, true), kPi * 2.25},
        ChainAreaCase{"SingleFullCircle", ListOf({ArcOf(0, 0, 2, 1.0, 2 * kPi)}), 4 * kPi},
        ChainAreaCase{"ClockwiseSlotWithALineAgainstTravel", ClockwiseSlot(), -(16 + 2 * kPi)},
        ChainAreaCase{"HalfDiscOfLineAndArc", ListOf({Seg(-1, 0, 1, 0), ArcOf(0, 0, 1, 0, kPi)}), kPi / 2},
        ChainAreaCase{"OpenChainClosedByChord", ListOf({Seg(0, 0, 2, 0), Seg(2, 0, 2, 2)}), 2.0}),
    [](const auto& info) { return info.param.name; });

TEST(GeomLoopTest, NoElementsCountsAsCounterClockwise) {
    EXPECT_EQ(GeomLoop().GetDirection(), DIR_CCW);
    EXPECT_EQ(GeomLoop(ListOf({})).GetDirection(), DIR_CCW);
    EXPECT_FALSE(GeomLoop().GetGeom2DList());
}

TEST(AdjustLoopToCCWTest, ClockwiseChainOfLinesAndArcIsReversedAsCopies) {
    const Geom2DListPtr geoms = ClockwiseSlot();
    const std::vector<IGeom2DPtr> before(geoms->begin(), geoms->end());
    const Point2D arcStart = before[2]->GetStartPoint();

    LineArcProcessor::AdjustLoopToCCW(*geoms);

    ASSERT_EQ(geoms->size(), 4u);
    EXPECT_NEAR(LineArcProcessor::GetSignedArea(*geoms), 16 + 2 * kPi, 1e-12);
    // Reverse order, each element reversed: the old last element comes first, running end to start.
    EXPECT_TRUE(PointNear(geoms->at(0)->GetStartPoint(), before[3]->GetEndPoint()));
    EXPECT_TRUE(PointNear(geoms->at(1)->GetStartPoint(), before[2]->GetEndPoint()));
    EXPECT_GT(dynamic_cast<const Arc2D&>(*geoms->at(1)).GetSweepAngle(), 0);
    // The elements the list held before are not touched.
    for (std::size_t i = 0; i < before.size(); ++i) {
        EXPECT_NE(geoms->at(i), before[before.size() - 1 - i]);
    }
    EXPECT_TRUE(PointNear(before[2]->GetStartPoint(), arcStart));

    // Already counter-clockwise: nothing changes, not even the pointers.
    const std::vector<IGeom2DPtr> after(geoms->begin(), geoms->end());
    LineArcProcessor::AdjustLoopToCCW(*geoms);
    EXPECT_TRUE(std::equal(after.begin(), after.end(), geoms->begin()));
}

// --- arc fitting ------------------------------------------------------------------------------------------

struct FitCase {
    std::string name;
    Point2D centre;
    double r, base, sweep;
    int count;  // points spread evenly along the arc, both ends included
    int flag;
};

Point2DList PointsOn(const FitCase& c) {
    Point2DList pts;
    for (int k = 0; k < c.count; ++k) {
        const double a = c.base + c.sweep * k / (c.count - 1);
        pts.push_back(Point2D(c.centre.x + c.r * std::cos(a), c.centre.y + c.r * std::sin(a)));
    }
    return pts;
}

void PrintTo(const FitCase& c, std::ostream* os) {
    *os << c.name;
}

class BuildPts2ArcTest : public ::testing::TestWithParam<FitCase> {};

TEST_P(BuildPts2ArcTest, ExactPointsGiveTheArcBack) {
    const FitCase& c = GetParam();
    const Point2DList pts = PointsOn(c);
    double deviation = -1;
    const auto arc = LineArcProcessor::BuildPts2Arc(pts, deviation, c.flag);
    ASSERT_TRUE(arc) << Literal(pts);
    EXPECT_TRUE(PointNear(arc->GetCenter(), c.centre, 1e-8));
    EXPECT_NEAR(arc->GetRadius(), c.r, 1e-8);
    EXPECT_NEAR(std::remainder(arc->GetBaseAngle() - c.base, 2 * kPi), 0, 1e-9);
    EXPECT_NEAR(arc->GetSweepAngle(), c.sweep, 1e-8);
    EXPECT_GE(deviation, 0);
    EXPECT_LE(deviation, 1e-9);
    EXPECT_TRUE(PointNear(arc->GetStartPoint(), pts.at(0), 1e-8));
    EXPECT_TRUE(PointNear(arc->GetEndPoint(), pts.at(pts.size() - 1), 1e-8));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, BuildPts2ArcTest,
    ::testing::Values(FitCase{"CcwQuarterDense", {1, 2}, 5, 0.2, kPi / 2, 10, 0},
                      FitCase{"CwHalf", {-3, 4}, 2, 1.0, -kPi, 7, 0},
                      FitCase{"CcwThreeQuartersFromThreePoints", {0, 0}, 1, 2.5, 1.5 * kPi, 3, 0},
                      FitCase{"CwSteepFromThreePointsPinned", {10, -10}, 3, -1.0, -1.6 * kPi, 3, 1},
                      FitCase{"CcwShallowPinned", {0, 0}, 1000, 0.5, 0.01, 5, 1},
                      FitCase{"FullCircleCcw", {2, 2}, 1, 0.0, 2 * kPi, 9, 0},
                      FitCase{"FullCircleCwPinned", {2, 2}, 1, 0.7, -2 * kPi, 9, 1}),
    [](const auto& info) { return info.param.name; });

TEST(BuildPts2ArcTest, NoisyPointsReportTheirDeviationAndPinnedEndsStay) {
    std::mt19937 rng(20240611);
    std::uniform_real_distribution<double> noise(-1e-3, 1e-3);
    const FitCase c{"noisy", {4, -1}, 20, 0.4, -1.2, 40, 0};
    Point2DList pts = PointsOn(c);
    for (Point2D& p : pts) {
        p.x += noise(rng);
        p.y += noise(rng);
    }
    for (int flag : {0, 1}) {
        SCOPED_TRACE(flag);
        double deviation = -1;
        const auto arc = LineArcProcessor::BuildPts2Arc(pts, deviation, flag);
        ASSERT_TRUE(arc) << Literal(pts);
        double worst = 0;
        for (const Point2D& p : pts) {
            worst = std::max(worst, std::fabs(p.DistanceTo(arc->GetCenter()) - arc->GetRadius()));
        }
        EXPECT_DOUBLE_EQ(deviation, worst);
        EXPECT_LT(deviation, 3e-3);
        EXPECT_NEAR(arc->GetRadius(), c.r, 0.05);
        EXPECT_LT(arc->GetSweepAngle(), 0);
        if (flag != 0) {
            EXPECT_TRUE(PointNear(arc->GetStartPoint(), pts.at(0), 1e-9));
            EXPECT_TRUE(PointNear(arc->GetEndPoint(), pts.at(pts.size() - 1), 1e-9));
        }
    }
}

TEST(BuildPts2ArcTest, TooFewCoincidentOrCollinearPointsGiveNoArc) {
    const std::vector<Point2DList> rows{
        {Point2D(0, 0), Point2D(1, 1)},
        {Point2D(2, 2), Point2D(2, 2), Point2D(2, 2)},
        {Point2D(0, 0), Point2D(1, 1), Point2D(3, 3), Point2D(2, 2)},
        {Point2D(0, 0), Point2D(5, 0.5e-9), Point2D(10, 0)},  // bulge within kGeomEqualTol
    };
    for (const Point2DList& pts : rows) {
        for (int flag : {0, 1}) {
            double deviation = -1;
            EXPECT_FALSE(LineArcProcessor::BuildPts2Arc(pts, deviation, flag)) << Literal(pts);
            EXPECT_EQ(deviation, 0);
        }
    }
    double deviation = -1;
    EXPECT_TRUE(
        LineArcProcessor::BuildPts2Arc({Point2D(0, 0), Point2D(5, 1e-6), Point2D(10, 0)}, deviation, 0));
}

}  // namespace
}  // namespace Norvane
