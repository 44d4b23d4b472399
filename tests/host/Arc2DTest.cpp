#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "geomFeature/host/geomkit/Arc2D.h"
#include "geomFeature/host/geomkit/Matrix2D.h"
#include "geomFeature/host/mathkit/MathEx.h"
#include "tests/support/GeomExpect.h"
#include "tests/support/OutlineMetrics.h"

namespace Norvane {
namespace {

constexpr double kPi = MathEx::PI;
const double kS3 = std::sqrt(3.0) / 2.0;
using testutil::PointNear;
using testutil::PointsNear;

// A segment from (x1, y1) to (x2, y2).
Line2D Seg(double x1, double y1, double x2, double y2) {
    return Line2D(Point2D(x1, y1), Point2D(x2, y2));
}

const Arc2D kUpperHalf5(Point2D(0, 0), 5, 0, kPi);  // (5,0) → (0,5) → (−5,0)
const Arc2D kCircle5(Point2D(0, 0), 5, 0, 2 * kPi);

// The transforms every crossing row is run again under: a rotation and a mirror both move crossings with the
// elements and keep their count and their order along the arc (a mirror also reverses the sweep).
std::vector<Matrix2D> RowTransforms() {
    Matrix2D rot;
    rot.RotateBy(Point2D(0.3, -0.2), 0.8);
    Matrix2D mir;
    mir.Mirror(Point2D(1, 2), Vector2D(1, 3));
    return {Matrix2D(), rot, mir};
}

std::vector<Point2D> Mapped(const Matrix2D& m, const std::vector<Point2D>& pts) {
    std::vector<Point2D> out;
    for (const Point2D& p : pts) {
        out.push_back(m.TransformPoint(p));
    }
    return out;
}

struct LineArcCase {
    std::string name;
    Arc2D arc;
    Line2D line;
    double tol;
    std::vector<Point2D> expected;  // ordered along the arc
};

class ArcLineCrossTest : public ::testing::TestWithParam<LineArcCase> {};

TEST_P(ArcLineCrossTest, CrossesUnderTransforms) {
    const LineArcCase& c = GetParam();
    for (const Matrix2D& m : RowTransforms()) {
        Arc2D arc = c.arc;
        Line2D line = c.line;
        arc.Transform(m);
        line.Transform(m);
        EXPECT_TRUE(PointsNear(arc.GetLineCrossPoint(line, c.tol), Mapped(m, c.expected), 1e-9));
        EXPECT_EQ(line.GetArcCrossPoint(arc, c.tol).size(), c.expected.size());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, ArcLineCrossTest,
    ::testing::Values(
        LineArcCase{"FullCircleSecant", kCircle5, Seg(-10, 0, 10, 0), 1e-9, {{5, 0}, {-5, 0}}},
        LineArcCase{"HalfArcSecant", kUpperHalf5, Seg(-10, 3, 10, 3), 1e-9, {{4, 3}, {-4, 3}}},
        LineArcCase{
            "ClockwiseOrder", Arc2D({0, 0}, 5, kPi, -kPi), Seg(-10, 3, 10, 3), 1e-9, {{-4, 3}, {4, 3}}},
        LineArcCase{"CircleCrossingOffArc", kUpperHalf5, Seg(-10, -3, 10, -3), 1e-9, {}},
        LineArcCase{"OneCrossingOnArc", kUpperHalf5, Seg(4, -10, 4, 10), 1e-9, {{4, 3}}},
        LineArcCase{"Tangent", kUpperHalf5, Seg(-10, 5, 10, 5), 1e-9, {{0, 5}}},
        LineArcCase{"TangentWithinTol", kUpperHalf5, Seg(-10, 5 + 0.5e-4, 10, 5 + 0.5e-4), 1e-4, {{0, 5}}},
        LineArcCase{"Disjoint", kUpperHalf5, Seg(-10, 6, 10, 6), 1e-9, {}},
        LineArcCase{"LineEndsOnArc", kUpperHalf5, Seg(0, 0, 0, 5), 1e-9, {{0, 5}}},
        LineArcCase{"LineStopsShortWithinTol", kUpperHalf5, Seg(0, 0, 0, 5 - 0.5e-4), 1e-4, {{0, 5}}},
        LineArcCase{"LineStopsShortBeyondTol", kUpperHalf5, Seg(0, 0, 0, 5 - 2e-4), 1e-4, {}},
        LineArcCase{"TangentAtArcStart", kUpperHalf5, Seg(5, -1, 5, 1), 1e-9, {{5, 0}}},
        LineArcCase{"ZeroRadiusArcOnLine", Arc2D({1, 0}, 0, 0, kPi), Seg(-10, 0, 10, 0), 1e-9, {{1, 0}}},
        LineArcCase{"ZeroLengthLineOnArc", kUpperHalf5, Seg(0, 5, 0, 5), 1e-9, {{0, 5}}},
        LineArcCase{"ZeroLengthLineOff", kUpperHalf5, Seg(0, 4, 0, 4), 1e-9, {}}),
    [](const auto& info) { return info.param.name; });

struct ArcArcCase {
    std::string name;
    Arc2D a, b;
    double tol;
    std::vector<Point2D> expected;  // ordered along a
};

class ArcArcCrossTest : public ::testing::TestWithParam<ArcArcCase> {};

TEST_P(ArcArcCrossTest, CrossesUnderTransforms) {
    const ArcArcCase& c = GetParam();
    for (const Matrix2D& m : RowTransforms()) {
        Arc2D a = c.a;
        Arc2D b = c.b;
        a.Transform(m);
        b.Transform(m);
        EXPECT_TRUE(PointsNear(a.GetArcCrossPoint(b, c.tol), Mapped(m, c.expected), 1e-9));
        EXPECT_EQ(b.GetArcCrossPoint(a, c.tol).size(), c.expected.size());
    }
}

const Arc2D kUnit(Point2D(0, 0), 1, 0, 2 * kPi);

INSTANTIATE_TEST_SUITE_P(
    Table, ArcArcCrossTest,
    ::testing::Values(
        ArcArcCase{"Secant", kUnit, Arc2D({1, 0}, 1, 0, 2 * kPi), 1e-9, {{0.5, kS3}, {0.5, -kS3}}},
        ArcArcCase{
            "SecantOneOnArc", Arc2D({0, 0}, 1, 0, kPi), Arc2D({1, 0}, 1, 0, 2 * kPi), 1e-9, {{0.5, kS3}}},
        ArcArcCase{"TangentOutside", kUnit, Arc2D({2, 0}, 1, 0, 2 * kPi), 1e-9, {{1, 0}}},
        ArcArcCase{
            "TangentInside", Arc2D({0, 0}, 2, 0, 2 * kPi), Arc2D({1, 0}, 1, 0, 2 * kPi), 1e-9, {{2, 0}}},
        ArcArcCase{"TangentOutsideWithinTol",
                   kUnit,
                   Arc2D({2 + 0.5e-4, 0}, 1, 0, 2 * kPi),
                   1e-4,
                   {{1 + 0.25e-4, 0}}},
        ArcArcCase{"Apart", kUnit, Arc2D({3, 0}, 1, 0, 2 * kPi), 1e-9, {}},
        ArcArcCase{"Nested", Arc2D({0, 0}, 3, 0, 2 * kPi), Arc2D({0.5, 0}, 1, 0, 2 * kPi), 1e-9, {}},
        ArcArcCase{"Concentric", kUnit, Arc2D({0, 0}, 2, 0, 2 * kPi), 1e-9, {}},
        ArcArcCase{"BothCrossingsAtEnds",
                   Arc2D({0, 0}, 1, 0, kPi / 2),
                   Arc2D({1, 1}, 1, kPi, kPi / 2),
                   1e-9,
                   {{1, 0}, {0, 1}}},
        ArcArcCase{"SameCircleOverlap",
                   Arc2D({0, 0}, 1, 0, kPi),
                   Arc2D({0, 0}, 1, kPi / 2, kPi),
                   1e-9,
                   {{0, 1}, {-1, 0}}},
        ArcArcCase{"SameCircleTouching",
                   Arc2D({0, 0}, 1, 0, kPi / 2),
                   Arc2D({0, 0}, 1, kPi / 2, kPi / 2),
                   1e-9,
                   {{0, 1}}},
        ArcArcCase{"SameCircleApart", Arc2D({0, 0}, 1, 0, kPi / 2), Arc2D({0, 0}, 1, kPi, kPi / 2), 1e-9, {}},
        ArcArcCase{"ZeroRadiusOnArc", kUnit, Arc2D({0, 1}, 0, 0, 1), 1e-9, {{0, 1}}}),
    [](const auto& info) { return info.param.name; });

struct ArcMergeCase {
    std::string name;
    Arc2D a, b;
    int merged;
    double base, sweep;  // of a afterwards (the base compared as a direction)
};

class ArcMergeTest : public ::testing::TestWithParam<ArcMergeCase> {};

TEST_P(ArcMergeTest, MergesOnlySameCircleOverlapOrTouch) {
    const ArcMergeCase& c = GetParam();
    Arc2D a = c.a;
    EXPECT_EQ(a.MergeWith(c.b), c.merged);
    EXPECT_NEAR(a.GetSweepAngle(), c.sweep, 1e-12);
    EXPECT_TRUE(PointNear(a.GetStartPoint(), a.GetPointAtAngle(c.base), 1e-12));
    EXPECT_EQ(a.GetCenter(), c.a.GetCenter());
}

INSTANTIATE_TEST_SUITE_P(
    Table, ArcMergeTest,
    ::testing::Values(
        ArcMergeCase{"Overlap", Arc2D({0, 0}, 1, 0, kPi / 2), Arc2D({0, 0}, 1, kPi / 4, kPi / 2), 1, 0,
                     0.75 * kPi},
        ArcMergeCase{"Touching", Arc2D({0, 0}, 1, 0, kPi / 2), Arc2D({0, 0}, 1, kPi / 2, kPi / 2), 1, 0, kPi},
        ArcMergeCase{"OtherRunsBackwards", Arc2D({0, 0}, 1, 0, kPi / 2), Arc2D({0, 0}, 1, kPi, -kPi / 2), 1,
                     0, kPi},
        ArcMergeCase{"AcrossSeam", Arc2D({0, 0}, 1, 0.75 * kPi, kPi / 2),
                     Arc2D({0, 0}, 1, -0.75 * kPi, kPi / 2), 1, 0.75 * kPi, kPi},
        ArcMergeCase{"OtherBeforeAcrossSeam", Arc2D({0, 0}, 1, -0.75 * kPi, kPi / 2),
                     Arc2D({0, 0}, 1, 0.75 * kPi, kPi / 2), 1, 0.75 * kPi, kPi},
        ArcMergeCase{"Clockwise", Arc2D({0, 0}, 1, kPi / 2, -kPi / 2), Arc2D({0, 0}, 1, 0, -kPi / 2), 1,
                     kPi / 2, -kPi},
        ArcMergeCase{"Contained", Arc2D({0, 0}, 1, 0, kPi), Arc2D({0, 0}, 1, kPi / 4, kPi / 4), 1, 0, kPi},
        ArcMergeCase{"ClosesCircle", Arc2D({0, 0}, 1, 0, kPi), Arc2D({0, 0}, 1, kPi, kPi), 1, 0, 2 * kPi},
        ArcMergeCase{"Apart", Arc2D({0, 0}, 1, 0, kPi / 2), Arc2D({0, 0}, 1, kPi, kPi / 2), 0, 0, kPi / 2},
        ArcMergeCase{"OtherRadius", Arc2D({0, 0}, 1, 0, kPi / 2), Arc2D({0, 0}, 2, kPi / 4, kPi / 2), 0, 0,
                     kPi / 2},
        ArcMergeCase{"OtherCentre", Arc2D({0, 0}, 1, 0, kPi / 2), Arc2D({1e-6, 0}, 1, kPi / 4, kPi / 2), 0, 0,
                     kPi / 2},
        ArcMergeCase{"ZeroRadius", Arc2D({0, 0}, 0, 0, kPi / 2), Arc2D({0, 0}, 0, kPi / 4, kPi / 2), 0, 0,
                     kPi / 2}),
    [](const auto& info) { return info.param.name; });

// A mirror reverses the sense of travel: the sweep flips sign and the mapped start and end stay start and
// end.
TEST(Arc2DTest, MirrorFlipsSweepAndMapsEnds) {
    const Arc2D arc(Point2D(1, 1), 2, 0, kPi / 2);
    Matrix2D m;
    m.Mirror(Point2D(0, 0), Vector2D(1, 0));
    Arc2D mirrored = arc;
    mirrored.Transform(m);
    EXPECT_DOUBLE_EQ(mirrored.GetSweepAngle(), -kPi / 2);
    EXPECT_TRUE(PointNear(mirrored.GetCenter(), Point2D(1, -1)));
    EXPECT_TRUE(PointNear(mirrored.GetStartPoint(), Point2D(3, -1), 1e-15));
    EXPECT_TRUE(PointNear(mirrored.GetEndPoint(), Point2D(1, -3), 1e-15));
    EXPECT_TRUE(PointNear(mirrored.GetMidPoint(), m.TransformPoint(arc.GetMidPoint()), 1e-15));
    // Mirroring back restores the original sweep.
    mirrored.Transform(m);
    EXPECT_DOUBLE_EQ(mirrored.GetSweepAngle(), kPi / 2);
}

TEST(Arc2DTest, ScaleRotateAndTranslate) {
    Arc2D arc(Point2D(1, 0), 2, 0.3, 1.0);
    Matrix2D scale;
    scale.Scale(3);
    arc.Transform(scale);
    EXPECT_DOUBLE_EQ(arc.GetRadius(), 6.0);
    EXPECT_EQ(arc.GetCenter(), Point2D(3, 0));
    EXPECT_DOUBLE_EQ(arc.GetSweepAngle(), 1.0);
    Matrix2D rot;
    rot.Rotate(kPi / 2);
    arc.Transform(rot);
    EXPECT_NEAR(arc.GetBaseAngle(), 0.3 + kPi / 2, 1e-15);
    Matrix2D move;
    move.Transfer(Vector2D(5, 5));
    const double base = arc.GetBaseAngle();
    arc.Transform(move);
    EXPECT_EQ(arc.GetBaseAngle(), base);  // a translation leaves the angle bit for bit
}

struct RectCase {
    std::string name;
    Arc2D arc;
    Rect2D box;
};

class ArcRectTest : public ::testing::TestWithParam<RectCase> {};

TEST_P(ArcRectTest, IncludesSweptAxisExtremes) {
    EXPECT_TRUE(testutil::BoxNear(GetParam().arc.GetRect(), GetParam().box, 1e-15));
}

const double kH = std::sqrt(0.5);

INSTANTIATE_TEST_SUITE_P(
    Table, ArcRectTest,
    ::testing::Values(RectCase{"NoExtreme", Arc2D({0, 0}, 1, kPi / 4, kPi / 2), Rect2D(-kH, kH, kH, 1)},
                      RectCase{"AcrossZero", Arc2D({0, 0}, 1, -kPi / 4, kPi / 2), Rect2D(kH, 1, -kH, kH)},
                      RectCase{"AcrossSeam", Arc2D({0, 0}, 1, 0.75 * kPi, kPi / 2), Rect2D(-1, -kH, -kH, kH)},
                      RectCase{"ClockwiseAcrossZero", Arc2D({0, 0}, 1, kPi / 4, -kPi / 2),
                               Rect2D(kH, 1, -kH, kH)},
                      RectCase{"FullCircleOffCentre", Arc2D({2, 1}, 1, 0.3, 2 * kPi), Rect2D(1, 3, 0, 2)},
                      RectCase{"ZeroRadius", Arc2D({2, 1}, 0, 0.3, 1), Rect2D(2, 2, 1, 1)}),
    [](const auto& info) { return info.param.name; });

struct ArcPercentCase {
    std::string name;
    Arc2D arc;
    Point2D p;
    double expected;
};

class ArcPercentTest : public ::testing::TestWithParam<ArcPercentCase> {};

// Tolerance 0.25 with binary-exact distances so that the boundary rows are exact.
TEST_P(ArcPercentTest, FractionOrMinusOne) {
    EXPECT_NEAR(GetParam().arc.GetPercentOfPoint(GetParam().p, 0.25), GetParam().expected, 1e-12);
}

const Arc2D kUpperHalf4(Point2D(0, 0), 4, 0, kPi);

INSTANTIATE_TEST_SUITE_P(
    Table, ArcPercentTest,
    ::testing::Values(ArcPercentCase{"Middle", kUpperHalf4, {0, 4}, 0.5},
                      ArcPercentCase{"Start", kUpperHalf4, {4, 0}, 0.0},
                      ArcPercentCase{"End", kUpperHalf4, {-4, 0}, 1.0},
                      ArcPercentCase{"ExactlyTolBeforeStart", kUpperHalf4, {4, -0.25}, 0.0},
                      ArcPercentCase{"JustBeyondTolBeforeStart", kUpperHalf4, {4, -0.25 - 1.0 / 1024}, -1.0},
                      ArcPercentCase{"ExactlyTolOutside", kUpperHalf4, {0, 4.25}, 0.5},
                      ArcPercentCase{"JustBeyondTolOutside", kUpperHalf4, {0, 4.25 + 1.0 / 1024}, -1.0},
                      ArcPercentCase{"Centre", kUpperHalf4, {0, 0}, -1.0},
                      ArcPercentCase{"ClockwiseQuarter", Arc2D({0, 0}, 4, kPi, -kPi), {4 * kH, 4 * kH}, 0.75},
                      ArcPercentCase{
                          "FullCircleJustBelowStart", Arc2D({0, 0}, 4, 0, 2 * kPi), {4, -1e-12}, 0.0},
                      ArcPercentCase{"ZeroSweepAtItsPoint", Arc2D({0, 0}, 4, 0, 0), {4, 0.25}, 0.0}),
    [](const auto& info) { return info.param.name; });

TEST(Arc2DTest, DistanceClosestAndTangents) {
    EXPECT_DOUBLE_EQ(kUpperHalf5.DistanceTo(Point2D(0, 0)), 5.0);  // centre: the radius
    EXPECT_DOUBLE_EQ(kUpperHalf5.DistanceTo(Point2D(0, 8)), 3.0);
    EXPECT_DOUBLE_EQ(kUpperHalf5.DistanceTo(Point2D(5, -3)), 3.0);  // below the start: to the start point
    EXPECT_TRUE(PointNear(kUpperHalf5.GetClosestPt(Point2D(0, 8)), Point2D(0, 5), 1e-15));
    EXPECT_TRUE(PointNear(kUpperHalf5.GetClosestPt(Point2D(0, -8)), Point2D(5, 0), 1e-15));  // tie: the start

    EXPECT_NEAR(kUpperHalf5.GetMoveAngleAtPt(Point2D(0, 5)), kPi, 1e-15);
    EXPECT_NEAR(Arc2D({0, 0}, 5, kPi, -kPi).GetMoveAngleAtPt(Point2D(0, 5)), 0.0, 1e-15);
    EXPECT_NEAR(kUpperHalf5.GetStartTangentAngle(), kPi / 2, 1e-15);
    EXPECT_NEAR(kUpperHalf5.GetEndTangentAngle(), -kPi / 2, 1e-15);

    Arc2D r = kUpperHalf5;
    r.Reverse();
    EXPECT_TRUE(PointNear(r.GetStartPoint(), kUpperHalf5.GetEndPoint(), 1e-15));
    EXPECT_TRUE(PointNear(r.GetEndPoint(), kUpperHalf5.GetStartPoint(), 1e-15));
    EXPECT_DOUBLE_EQ(r.GetArcLen(), 5 * kPi);
}

TEST(Arc2DTest, CutKeepsCircleAndSense) {
    const Geom2DList pieces = Arc2D({0, 0}, 2, kPi, -kPi).CutArcWithPercent({0.5, 0.0, 0.5});
    ASSERT_EQ(pieces.size(), 2u);
    EXPECT_TRUE(PointNear(pieces[0]->GetEndPoint(), Point2D(0, 2), 1e-15));
    EXPECT_TRUE(PointNear(pieces[1]->GetStartPoint(), Point2D(0, 2), 1e-15));
    EXPECT_TRUE(PointNear(pieces[1]->GetEndPoint(), Point2D(2, 0), 1e-15));
    EXPECT_NEAR(pieces.GetTotalLength(), 2 * kPi, 1e-15);
}

}  // namespace
}  // namespace Norvane
