#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "geomFeature/host/geomkit/Line2D.h"
#include "geomFeature/host/geomkit/Matrix2D.h"
#include "geomFeature/host/mathkit/MathEx.h"
#include "tests/support/GeomExpect.h"

namespace Norvane {
namespace {

using testutil::PointNear;
using testutil::PointsNear;

// A segment from (x1, y1) to (x2, y2).
Line2D Seg(double x1, double y1, double x2, double y2) {
    return Line2D(Point2D(x1, y1), Point2D(x2, y2));
}

const Line2D kXAxis10(Point2D(0, 0), Point2D(10, 0));

struct LineCrossCase {
    std::string name;
    Line2D other;
    double tol;
    std::vector<Point2D> expected;  // ordered along kXAxis10
};

class LineCrossTest : public ::testing::TestWithParam<LineCrossCase> {};

// As given, then rotated and mirrored: a rigid motion moves the crossings with the segments and keeps their
// count and order. The other way round gives the same number of crossings.
TEST_P(LineCrossTest, CrossesBoundedSegments) {
    const LineCrossCase& c = GetParam();
    Matrix2D rot;
    rot.RotateBy(Point2D(2, 3), 0.9);
    Matrix2D mir;
    mir.Mirror(Point2D(1, -1), Vector2D(2, 1));
    for (const Matrix2D& m : {Matrix2D(), rot, mir}) {
        Line2D a = kXAxis10;
        Line2D b = c.other;
        a.Transform(m);
        b.Transform(m);
        std::vector<Point2D> mapped;
        for (const Point2D& p : c.expected) {
            mapped.push_back(m.TransformPoint(p));
        }
        EXPECT_TRUE(PointsNear(a.GetLineCrossPoint(b, c.tol), mapped, 1e-9));
        EXPECT_EQ(b.GetLineCrossPoint(a, c.tol).size(), c.expected.size());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, LineCrossTest,
    ::testing::Values(
        LineCrossCase{"Secant", Line2D(Point2D(5, -5), Point2D(5, 5)), 1e-9, {{5, 0}}},
        LineCrossCase{"TJunction", Line2D(Point2D(5, 0), Point2D(5, 5)), 1e-9, {{5, 0}}},
        LineCrossCase{"CornerAtEnds", Line2D(Point2D(10, 0), Point2D(10, 5)), 1e-9, {{10, 0}}},
        LineCrossCase{"NearMissWithinTol", Line2D(Point2D(5, 0.5e-4), Point2D(5, 5)), 1e-4, {{5, 0}}},
        LineCrossCase{"NearMissBeyondTol", Line2D(Point2D(5, 2e-4), Point2D(5, 5)), 1e-4, {}},
        // Shallow approach: the infinite lines meet well past the other's end, yet its end is within tol.
        LineCrossCase{"ShallowNearEnd", Seg(-5, 1, 5, 0.5e-4), 1e-4, {{5, 0.5e-4}}},
        LineCrossCase{"DisjointNotParallel", Line2D(Point2D(12, -1), Point2D(12, 1)), 1e-9, {}},
        LineCrossCase{"ParallelApart", Line2D(Point2D(0, 1), Point2D(10, 1)), 1e-9, {}},
        LineCrossCase{"CollinearOverlap", Line2D(Point2D(5, 0), Point2D(15, 0)), 1e-9, {{5, 0}, {10, 0}}},
        LineCrossCase{
            "CollinearInsideReversed", Line2D(Point2D(8, 0), Point2D(2, 0)), 1e-9, {{2, 0}, {8, 0}}},
        LineCrossCase{"CollinearCovering", Line2D(Point2D(-5, 0), Point2D(20, 0)), 1e-9, {{0, 0}, {10, 0}}},
        LineCrossCase{"CollinearTouchingEnds", Line2D(Point2D(10, 0), Point2D(20, 0)), 1e-9, {{10, 0}}},
        LineCrossCase{"CollinearApart", Line2D(Point2D(11, 0), Point2D(20, 0)), 1e-9, {}},
        LineCrossCase{"ZeroLengthOnLine", Line2D(Point2D(3, 0), Point2D(3, 0)), 1e-9, {{3, 0}}},
        LineCrossCase{"ZeroLengthOff", Line2D(Point2D(3, 1), Point2D(3, 1)), 1e-9, {}}),
    [](const auto& info) { return info.param.name; });

TEST(Line2DTest, HugeRayFindsShortEdgeAccurately) {
    // A ray as long as the loop queries use: the crossing is evaluated on the short edge.
    Line2D ray;
    ray.SetBasePoint(Point2D(0.1, 0.3));
    ray.SetBaseAngle(0.0);
    ray.SetLength(4294967295.0);
    const Line2D edge(Point2D(7, -1), Point2D(7, 1));
    EXPECT_TRUE(PointsNear(ray.GetLineCrossPoint(edge, 0.0001), {{7, 0.3}}, 1e-12));
}

struct PercentCase {
    std::string name;
    Line2D line;
    Point2D p;
    double expected;
};

class LinePercentTest : public ::testing::TestWithParam<PercentCase> {};

// Tolerance 0.25 and binary-exact coordinates, so that "exactly at the tolerance" is exact.
TEST_P(LinePercentTest, FractionOrMinusOne) {
    EXPECT_DOUBLE_EQ(GetParam().line.GetPercentOfPoint(GetParam().p, 0.25), GetParam().expected);
}

const Line2D kLine8(Point2D(0, 0), Point2D(8, 0));
const Line2D kDot(Point2D(1, 1), Point2D(1, 1));

INSTANTIATE_TEST_SUITE_P(
    Table, LinePercentTest,
    ::testing::Values(PercentCase{"Middle", kLine8, {4, 0}, 0.5}, PercentCase{"Start", kLine8, {0, 0}, 0.0},
                      PercentCase{"ExactlyTolBeyondEnd", kLine8, {8.25, 0}, 1.0},
                      PercentCase{"JustBeyondTolAtEnd", kLine8, {8.25 + 1.0 / 1024, 0}, -1.0},
                      PercentCase{"ExactlyTolBeforeStart", kLine8, {-0.25, 0}, 0.0},
                      PercentCase{"ExactlyTolAside", kLine8, {2, 0.25}, 0.25},
                      PercentCase{"JustBeyondTolAside", kLine8, {2, 0.25 + 1.0 / 1024}, -1.0},
                      PercentCase{"ZeroLengthNear", kDot, {1, 1.25}, 0.0},
                      PercentCase{"ZeroLengthFar", kDot, {1, 1.5}, -1.0}),
    [](const auto& info) { return info.param.name; });

struct MergeCase {
    std::string name;
    Line2D a, b;
    double tol;
    int merged;
    Point2D start, end;  // of a afterwards
};

class LineMergeTest : public ::testing::TestWithParam<MergeCase> {};

// As given, then with both pieces rotated: the result rotates with them.
TEST_P(LineMergeTest, MergesOnlyCollinearOverlapOrTouch) {
    const MergeCase& c = GetParam();
    Matrix2D rot;
    rot.RotateBy(Point2D(-1, 2), 2.2);
    for (const Matrix2D& m : {Matrix2D(), rot}) {
        Line2D a = c.a;
        Line2D b = c.b;
        a.Transform(m);
        b.Transform(m);
        EXPECT_EQ(a.MergeWith(b, c.tol), c.merged);
        EXPECT_TRUE(PointNear(a.GetStartPoint(), m.TransformPoint(c.start), 1e-9));
        EXPECT_TRUE(PointNear(a.GetEndPoint(), m.TransformPoint(c.end), 1e-9));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, LineMergeTest,
    ::testing::Values(
        MergeCase{"Overlapping", Seg(0, 0, 6, 0), Seg(4, 0, 10, 0), 1e-9, 1, {0, 0}, {10, 0}},
        MergeCase{"Touching", Seg(0, 0, 5, 0), Seg(5, 0, 10, 0), 1e-9, 1, {0, 0}, {10, 0}},
        MergeCase{"ContainedReversed", Seg(0, 0, 10, 0), Seg(7, 0, 3, 0), 1e-9, 1, {0, 0}, {10, 0}},
        MergeCase{"OtherReversedExtendsBefore", Seg(4, 0, 10, 0), Seg(6, 0, 0, 0), 1e-9, 1, {0, 0}, {10, 0}},
        MergeCase{"ThisReversedKeepsDirection", Seg(10, 0, 4, 0), Seg(0, 0, 6, 0), 1e-9, 1, {10, 0}, {0, 0}},
        MergeCase{"GapExactlyTol", Seg(0, 0, 5, 0), Seg(5.25, 0, 10, 0), 0.25, 1, {0, 0}, {10, 0}},
        MergeCase{"GapBeyondTol", Seg(0, 0, 5, 0), Seg(5.5, 0, 10, 0), 0.25, 0, {0, 0}, {5, 0}},
        MergeCase{"ParallelOffset", Seg(0, 0, 5, 0), Seg(2, 1, 8, 1), 1e-9, 0, {0, 0}, {5, 0}},
        MergeCase{"Crossing", Seg(0, 0, 10, 0), Seg(5, -1, 5, 1), 1e-9, 0, {0, 0}, {10, 0}},
        MergeCase{"ZeroLengthOtherOnIt", Seg(0, 0, 10, 0), Seg(3, 0, 3, 0), 1e-9, 1, {0, 0}, {10, 0}}),
    [](const auto& info) { return info.param.name; });

TEST(Line2DTest, DistancesAndSides) {
    // Closed-segment distance: to the start, perpendicular, to the end.
    EXPECT_DOUBLE_EQ(kXAxis10.DistanceTo(Point2D(-3, 4)), 5.0);
    EXPECT_DOUBLE_EQ(kXAxis10.DistanceTo(Point2D(5, 4)), 4.0);
    EXPECT_DOUBLE_EQ(kXAxis10.DistanceTo(Point2D(13, 4)), 5.0);
    EXPECT_DOUBLE_EQ(kXAxis10.GetDistance(Point2D(13, 4)), 4.0);  // infinite line
    EXPECT_DOUBLE_EQ(kDot.DistanceTo(Point2D(4, 5)), 5.0);
    EXPECT_DOUBLE_EQ(kDot.GetDistance(Point2D(4, 5)), 5.0);

    EXPECT_EQ(kXAxis10.CheckSide(Point2D(5, 1), 0.25), 1);
    EXPECT_EQ(kXAxis10.CheckSide(Point2D(5, -1), 0.25), -1);
    EXPECT_EQ(kXAxis10.CheckSide(Point2D(5, 0.25), 0.25), 0);  // exactly at the tolerance: on the line
    EXPECT_EQ(kXAxis10.CheckSide(Point2D(5, 0.25 + 1.0 / 1024), 0.25), 1);
    EXPECT_EQ(kDot.CheckSide(Point2D(5, 5), 0.0), 0);
}

TEST(Line2DTest, CutShiftAndReshape) {
    const Geom2DList pieces = kLine8.CutLineWithPercent({0.75, 0.25, 0.25, 1.0, -0.1});
    ASSERT_EQ(pieces.size(), 3u);
    EXPECT_TRUE(PointNear(pieces[0]->GetEndPoint(), Point2D(2, 0)));
    EXPECT_TRUE(PointNear(pieces[1]->GetEndPoint(), Point2D(6, 0)));
    EXPECT_EQ(pieces[2]->GetEndPoint(), Point2D(8, 0));
    EXPECT_EQ(kLine8.CutLineWithPercent({}).size(), 1u);

    Line2D l = kXAxis10;
    l.MoveToLeft(2);
    EXPECT_TRUE(PointNear(l.GetStartPoint(), Point2D(0, 2)));
    l.MoveToLeft(-3);
    EXPECT_TRUE(PointNear(l.GetEndPoint(), Point2D(10, -1)));
    l.SetBaseAngle(MathEx::PI / 2);
    l.SetLength(4);
    EXPECT_TRUE(PointNear(l.GetEndPoint(), Point2D(0, 3), 1e-15));
    l.Reverse();
    EXPECT_TRUE(PointNear(l.GetStartPoint(), Point2D(0, 3), 1e-15));
    EXPECT_NEAR(l.GetStartTangentAngle(), -MathEx::PI / 2, 1e-15);
    EXPECT_TRUE(PointNear(kXAxis10.GetClosestPt(Point2D(12, 5)), Point2D(10, 0)));
}

}  // namespace
}  // namespace Norvane
