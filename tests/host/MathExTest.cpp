#include <cmath>
#include <string>

#include <gtest/gtest.h>

#include "geomFeature/host/geomkit/Matrix2D.h"
#include "geomFeature/host/mathkit/MathEx.h"
#include "tests/support/GeomExpect.h"

namespace Norvane {
namespace {

constexpr double kPi = MathEx::PI;
constexpr double kTol = 1e-9;

// One normalisation: input angle and the expected answer (compared to 1e-15).
struct AngleCase {
    std::string name;
    double in;
    double expected;
};

std::string CaseName(const ::testing::TestParamInfo<AngleCase>& info) {
    return info.param.name;
}

class SignedAngTest : public ::testing::TestWithParam<AngleCase> {};

// (−π, π] with the half turn named +π; within tol of ±π snaps to exactly π.
TEST_P(SignedAngTest, NormalisesIntoHalfOpenRange) {
    const double r = MathEx::GetSignedAng(GetParam().in, kTol);
    EXPECT_NEAR(r, GetParam().expected, 1e-15);
    EXPECT_GT(r, -kPi);
    EXPECT_LE(r, kPi);
}

INSTANTIATE_TEST_SUITE_P(Table, SignedAngTest,
                         ::testing::Values(AngleCase{"Zero", 0.0, 0.0}, AngleCase{"PlusPi", kPi, kPi},
                                           AngleCase{"MinusPiBecomesPlusPi", -kPi, kPi},
                                           AngleCase{"WithinTolAboveMinusPi", -kPi + 0.5e-9, kPi},
                                           AngleCase{"WithinTolBelowPi", kPi - 0.5e-9, kPi},
                                           AngleCase{"JustOutsideTolBelowPi", kPi - 1e-6, kPi - 1e-6},
                                           AngleCase{"ThreeQuarterTurn", 1.5 * kPi, -0.5 * kPi},
                                           AngleCase{"MinusThreeQuarterTurn", -1.5 * kPi, 0.5 * kPi},
                                           AngleCase{"FullTurn", 2 * kPi, 0.0},
                                           AngleCase{"FiveHalfTurns", 5 * kPi, kPi}),
                         CaseName);

class SignedAngExTest : public ::testing::TestWithParam<AngleCase> {};

// Sweeps keep their sign; whole turns stay a full turn instead of collapsing to nothing.
TEST_P(SignedAngExTest, ReducesSweepKeepingSign) {
    EXPECT_NEAR(MathEx::GetSignedAngEx(GetParam().in, kTol), GetParam().expected, 1e-14);
}

INSTANTIATE_TEST_SUITE_P(Table, SignedAngExTest,
                         ::testing::Values(AngleCase{"FiveQuarterPi", 2.5 * kPi, 0.5 * kPi},
                                           AngleCase{"MinusFiveQuarterPi", -2.5 * kPi, -0.5 * kPi},
                                           AngleCase{"ThreePi", 3 * kPi, kPi},
                                           AngleCase{"MinusThreeQuarterTurn", -1.5 * kPi, -1.5 * kPi},
                                           AngleCase{"FullTurnStays", 2 * kPi, 2 * kPi},
                                           AngleCase{"MinusFullTurnStays", -2 * kPi, -2 * kPi},
                                           AngleCase{"TwoTurnsIsOneTurn", 4 * kPi, 2 * kPi},
                                           AngleCase{"WithinTolOfTurn", 2 * kPi - 0.5e-9, 2 * kPi},
                                           AngleCase{"OutsideTolOfTurn", 2 * kPi - 1e-8, 2 * kPi - 1e-8},
                                           AngleCase{"TinySweepKept", 1e-10, 1e-10},
                                           AngleCase{"Zero", 0.0, 0.0}),
                         CaseName);

class UnsignedAngTest : public ::testing::TestWithParam<AngleCase> {};

TEST_P(UnsignedAngTest, NormalisesIntoZeroTwoPi) {
    const double r = MathEx::GetUnsignedAng(GetParam().in, kTol);
    EXPECT_NEAR(r, GetParam().expected, 1e-14);
    EXPECT_GE(r, 0.0);
    EXPECT_LT(r, 2 * kPi);
}

INSTANTIATE_TEST_SUITE_P(Table, UnsignedAngTest,
                         ::testing::Values(AngleCase{"MinusQuarter", -0.5 * kPi, 1.5 * kPi},
                                           AngleCase{"Pi", kPi, kPi}, AngleCase{"MinusPi", -kPi, kPi},
                                           AngleCase{"FullTurnIsZero", 2 * kPi, 0.0},
                                           AngleCase{"WithinTolBelowTurn", 2 * kPi - 0.5e-9, 0.0},
                                           AngleCase{"TinyNegativeIsZero", -1e-12, 0.0},
                                           AngleCase{"OutsideTolBelowTurn", 2 * kPi - 1e-8, 2 * kPi - 1e-8},
                                           AngleCase{"SevenHalfPi", 3.5 * kPi, 1.5 * kPi}),
                         CaseName);

TEST(MathExTest, GetAngleStaysInsideZeroTwoPi) {
    EXPECT_DOUBLE_EQ(MathEx::GetAngle(0, 0, 1, 0), 0.0);
    EXPECT_DOUBLE_EQ(MathEx::GetAngle(0, 0, 0, -1), 1.5 * kPi);
    EXPECT_DOUBLE_EQ(MathEx::GetAngle(Point2D(1, 1), Point2D(0, 1)), kPi);
    EXPECT_DOUBLE_EQ(MathEx::GetAngle(1, 1, 1, 1), 0.0);
    // atan2 of a tiny negative y gives −ε; adding 2π rounds to exactly 2π, which must come back as 0.
    EXPECT_EQ(MathEx::GetAngle(0, 0, 1, -1e-300), 0.0);
    // y = −0.0 with negative x: atan2 says −π, the direction is π.
    EXPECT_DOUBLE_EQ(MathEx::GetAngle(0, 0, -1, -0.0), kPi);
}

struct RangeCase {
    std::string name;
    double ang, start, sweep;
    int expected;
};

class CheckAngleRangeTest : public ::testing::TestWithParam<RangeCase> {};

TEST_P(CheckAngleRangeTest, Answers) {
    const RangeCase& c = GetParam();
    EXPECT_EQ(MathEx::CheckAngleRange(c.ang, c.start, c.sweep, kTol), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, CheckAngleRangeTest,
    ::testing::Values(RangeCase{"Inside", 0.25 * kPi, 0, 0.5 * kPi, 1},
                      RangeCase{"AtEnd", 0.5 * kPi, 0, 0.5 * kPi, 1},
                      RangeCase{"WithinTolPastEnd", 0.5 * kPi + 0.5e-9, 0, 0.5 * kPi, 1},
                      RangeCase{"PastEnd", 0.5 * kPi + 1e-6, 0, 0.5 * kPi, 0},
                      RangeCase{"WithinTolBeforeStart", -0.5e-9, 0, 0.5 * kPi, 1},
                      RangeCase{"BeforeStart", -1e-6, 0, 0.5 * kPi, 0},
                      RangeCase{"ClockwiseInside", -0.25 * kPi, 0, -0.5 * kPi, 1},
                      RangeCase{"ClockwiseOtherSide", 0.25 * kPi, 0, -0.5 * kPi, 0},
                      RangeCase{"AcrossSeam", kPi, 0.75 * kPi, 0.5 * kPi, 1},
                      RangeCase{"AcrossSeamEndNamedNegative", -0.75 * kPi, 0.75 * kPi, 0.5 * kPi, 1},
                      RangeCase{"AcrossSeamOutside", -0.5 * kPi, 0.75 * kPi, 0.5 * kPi, 0},
                      RangeCase{"UnnormalisedAngle", 2.25 * kPi, 0, 0.5 * kPi, 1},
                      RangeCase{"FullTurnHasAll", 1.0, 0, 2 * kPi, 1},
                      RangeCase{"ZeroSweepStart", 0.3, 0.3, 0.0, 1},
                      RangeCase{"ZeroSweepElsewhere", 0.4, 0.3, 0.0, 0}),
    [](const auto& info) { return info.param.name; });

struct CenterCase {
    std::string name;
    Point2D s, e;
    double sweep;
    Point2D centre;
};

class ArcCenterTest : public ::testing::TestWithParam<CenterCase> {};

TEST_P(ArcCenterTest, FindsCentre) {
    const CenterCase& c = GetParam();
    EXPECT_TRUE(
        testutil::PointNear(MathEx::GetArcCenter(c.s.x, c.s.y, c.e.x, c.e.y, c.sweep), c.centre, 1e-12));
}

INSTANTIATE_TEST_SUITE_P(Table, ArcCenterTest,
                         ::testing::Values(CenterCase{"QuarterCcw", {1, 0}, {0, 1}, 0.5 * kPi, {0, 0}},
                                           CenterCase{"QuarterCw", {1, 0}, {0, 1}, -0.5 * kPi, {1, 1}},
                                           CenterCase{"LongWayCw", {1, 0}, {0, 1}, -1.5 * kPi, {0, 0}},
                                           CenterCase{"HalfTurn", {1, 0}, {-1, 0}, kPi, {0, 0}},
                                           CenterCase{"MajorCcw", {1, 0}, {0, -1}, 1.5 * kPi, {0, 0}},
                                           CenterCase{"ZeroSweepIsMidpoint", {0, 0}, {2, 2}, 0.0, {1, 1}},
                                           CenterCase{"SamePointIsThePoint", {3, 4}, {3, 4}, kPi, {3, 4}}),
                         [](const auto& info) { return info.param.name; });

struct ThreePointCase {
    std::string name;
    Point2D p1, p2, p3;
    Point2D centre;
    double radius, base, sweep;
};

class ArcFrom3PointTest : public ::testing::TestWithParam<ThreePointCase> {
protected:
    // Checks the arc through p1, p2, p3 and returns its base angle.
    static double Check(const Point2D& p1, const Point2D& p2, const Point2D& p3, const Point2D& centre,
                        double radius, double sweep) {
        Point2D c;
        double r = -1, b = -1, s = -1;
        MathEx::GetArcFrom3Point(p1, p2, p3, c, r, b, s);
        EXPECT_NEAR(r, radius, 1e-9);
        EXPECT_NEAR(s, sweep, 1e-9);
        EXPECT_TRUE(testutil::PointNear(c, centre, 1e-9));
        if (radius > 0) {
            // The arc really starts at p1 and ends at p3.
            EXPECT_TRUE(testutil::PointNear(Point2D(c.x + r * std::cos(b), c.y + r * std::sin(b)), p1, 1e-9));
            EXPECT_TRUE(
                testutil::PointNear(Point2D(c.x + r * std::cos(b + s), c.y + r * std::sin(b + s)), p3, 1e-9));
        }
        return b;
    }
};

TEST_P(ArcFrom3PointTest, FindsArc) {
    const ThreePointCase& c = GetParam();
    EXPECT_NEAR(Check(c.p1, c.p2, c.p3, c.centre, c.radius, c.sweep), c.base, 1e-12);
}

// A rotation about some point keeps radius and sweep; a mirror negates the sweep.
TEST_P(ArcFrom3PointTest, UnderRotationAndMirror) {
    const ThreePointCase& c = GetParam();
    Matrix2D rot;
    rot.RotateBy(Point2D(2, -1), 0.7);
    Check(rot.TransformPoint(c.p1), rot.TransformPoint(c.p2), rot.TransformPoint(c.p3),
          c.radius > 0 ? rot.TransformPoint(c.centre) : Point2D(), c.radius, c.sweep);
    Matrix2D mir;
    mir.Mirror(Point2D(0, 3), Vector2D(1, 2));
    Check(mir.TransformPoint(c.p1), mir.TransformPoint(c.p2), mir.TransformPoint(c.p3),
          c.radius > 0 ? mir.TransformPoint(c.centre) : Point2D(), c.radius, -c.sweep);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ArcFrom3PointTest,
    ::testing::Values(ThreePointCase{"UpperHalfCcw", {1, 0}, {0, 1}, {-1, 0}, {0, 0}, 1, 0, kPi},
                      ThreePointCase{"MajorArcCcw", {1, 0}, {-1, 0}, {0, -1}, {0, 0}, 1, 0, 1.5 * kPi},
                      ThreePointCase{"OffCentre", {5, 2}, {3, 4}, {1, 2}, {3, 2}, 2, 0, kPi},
                      ThreePointCase{"Collinear", {0, 0}, {1, 1}, {2, 2}, {0, 0}, 0, 0, 0},
                      ThreePointCase{
                          "NearlyCollinearWithinTol", {0, 0}, {1, 0.5e-9}, {2, 0}, {0, 0}, 0, 0, 0},
                      ThreePointCase{"FirstTwoCoincide", {1, 1}, {1, 1}, {2, 3}, {0, 0}, 0, 0, 0},
                      ThreePointCase{"EndsCoincide", {1, 1}, {2, 3}, {1, 1}, {0, 0}, 0, 0, 0}),
    [](const auto& info) { return info.param.name; });

TEST(MathExTest, NearlyCollinearOutsideTolGivesHugeButFiniteArc) {
    Point2D c;
    double r = 0, b = 0, s = 0;
    MathEx::GetArcFrom3Point(Point2D(0, 0), Point2D(1, 1e-6), Point2D(2, 0), c, r, b, s);
    EXPECT_GT(r, 1e5);
    EXPECT_TRUE(std::isfinite(r) && std::isfinite(b) && std::isfinite(s));
    EXPECT_LT(s, 0.0);  // the middle point lies above the chord run left to right: clockwise
}

TEST(MathExTest, RotateAndCompare) {
    double x = 0, y = 0;
    MathEx::RotatePoint(2, 1, 1, 1, 0.5 * kPi, x, y);
    EXPECT_TRUE(testutil::PointNear(Point2D(x, y), Point2D(1, 2), 1e-15));
    // Non-strict at the boundary: 0.25 apart with tolerance 0.25 is equal.
    EXPECT_EQ(MathEx::EqualA(1.0, 1.25, 0.25), 1);
    EXPECT_EQ(MathEx::EqualA(1.0, 1.25 + 1.0 / 1024, 0.25), 0);
    EXPECT_EQ(MathEx::PointEqual(1, 1, 1 + 0.5e-9, 1 - 0.5e-9), 1);
    EXPECT_EQ(MathEx::PointEqual(1, 1, 1, 1 + 2e-9), 0);
}

}  // namespace
}  // namespace Norvane
