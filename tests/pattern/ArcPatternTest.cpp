// Arc patterns: the derived sweep and full circles, mirroring, dragging end points, distances, exact
// duplicate rules, cloning and property edits.
#include <cmath>
#include <string>

#include <gtest/gtest.h>
#include <boost/make_shared.hpp>
#include <boost/pointer_cast.hpp>

#include "geomFeature/host/appframe/DataPropItem.h"
#include "geomFeature/host/appframe/DataProperty.h"
#include "geomFeature/host/geomkit/Matrix2D.h"
#include "geomFeature/host/mathkit/MathEx.h"
#include "geomFeature/pattern/ArcPattern.h"
#include "geomFeature/pattern/PatternPropID.h"

namespace Norvane {
namespace {

constexpr double kPi = MathEx::PI;
constexpr double kNear = 1e-12;

void ExpectNear(const Point2D& actual, const Point2D& expected, double tol = kNear) {
    EXPECT_NEAR(actual.x, expected.x, tol);
    EXPECT_NEAR(actual.y, expected.y, tol);
}

struct SweepCase {
    const char* name;
    double move;
    int full;
};

class ArcSweep : public ::testing::TestWithParam<SweepCase> {};

// A full turn is recognised within 1e-9 of +/-2pi and then reported as exactly +/-2pi; just outside,
// the arc keeps its (nearly full) sweep. Mirroring flips the sweep of every ordinary arc, while a full
// circle keeps the turning sense it stored.
TEST_P(ArcSweep, DerivedSweepAndMirror) {
    const SweepCase& c = GetParam();
    ArcPattern arc(Point2D(1, 2), 3.0, 0.5, c.move);
    EXPECT_EQ(arc.IsFullCircle(), c.full);
    if (c.full) {
        EXPECT_EQ(arc.GetMoveAngle(), c.move > 0 ? MathEx::PI2 : -MathEx::PI2);
        EXPECT_EQ(arc.GetFullDirection(), c.move > 0 ? DIR_CCW : DIR_CW);
        EXPECT_TRUE(MathEx::PointEqual(arc.GetStartPoint().x, arc.GetStartPoint().y, arc.GetEndPoint().x,
                                       arc.GetEndPoint().y));
    } else {
        EXPECT_NEAR(arc.GetMoveAngle(), c.move, 1e-12);
        EXPECT_NE(std::fabs(arc.GetMoveAngle()), MathEx::PI2);
    }
    EXPECT_NEAR(arc.GetStartAngle(), 0.5, kNear);
    EXPECT_NEAR(arc.GetRadius(), 3.0, kNear);

    Matrix2D mirror;
    mirror.Mirror(Point2D(1, 2), Vector2D(1, 0));  // about the horizontal through the centre
    arc.Transform(mirror);
    ExpectNear(arc.GetBasePoint(), Point2D(1, 2));
    EXPECT_NEAR(arc.GetStartAngle(), -0.5, kNear);
    if (c.full) {
        EXPECT_EQ(arc.GetMoveAngle(), c.move > 0 ? MathEx::PI2 : -MathEx::PI2);
    } else {
        EXPECT_NEAR(arc.GetMoveAngle(), -c.move, 1e-9);
    }
}

INSTANTIATE_TEST_SUITE_P(ArcPattern, ArcSweep,
                         ::testing::Values(SweepCase{"quarterCcw", kPi / 2, 0},
                                           SweepCase{"quarterCw", -kPi / 2, 0},
                                           SweepCase{"threeQuarters", 1.5 * kPi, 0},
                                           SweepCase{"fullCcw", 2 * kPi, 1}, SweepCase{"fullCw", -2 * kPi, 1},
                                           SweepCase{"withinToleranceOfFull", 2 * kPi - 0.5e-9, 1},
                                           SweepCase{"justShortOfFull", 2 * kPi - 1e-8, 0},
                                           SweepCase{"justShortOfFullCw", -2 * kPi + 1e-8, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ArcPattern, DraggingStartKeepsEndAndSweep) {
    ArcPattern arc(Point2D(0, 0), 1.0, 0.0, kPi / 2);  // (1,0) -> (0,1)
    arc.SetStartPoint(Point2D(2, 0));
    ExpectNear(arc.GetStartPoint(), Point2D(2, 0), 1e-9);
    ExpectNear(arc.GetEndPoint(), Point2D(0, 1), 1e-9);
    EXPECT_NEAR(arc.GetMoveAngle(), kPi / 2, 1e-9);
    // chord sqrt(5) subtending a quarter turn: r = chord / (2 sin(pi/4))
    EXPECT_NEAR(arc.GetRadius(), std::sqrt(5.0) / std::sqrt(2.0), 1e-9);

    arc.SetEndPoint(Point2D(0, 3));
    ExpectNear(arc.GetStartPoint(), Point2D(2, 0), 1e-9);
    ExpectNear(arc.GetEndPoint(), Point2D(0, 3), 1e-9);
    EXPECT_NEAR(arc.GetMoveAngle(), kPi / 2, 1e-9);
}

struct ArcDistanceCase {
    const char* name;
    Point2D query;
    double expected;
};

class ArcDistance : public ::testing::TestWithParam<ArcDistanceCase> {};

// Quarter arc of radius 2 about the origin from (2,0) to (0,2).
TEST_P(ArcDistance, MeasuresToTheArc) {
    const ArcDistanceCase& c = GetParam();
    const ArcPattern arc(Point2D(0, 0), 2.0, 0.0, kPi / 2);
    EXPECT_NEAR(arc.DistanceTo(c.query), c.expected, 1e-12);
}

INSTANTIATE_TEST_SUITE_P(ArcPattern, ArcDistance,
                         ::testing::Values(ArcDistanceCase{"centre", {0, 0}, 2.0},
                                           // closer than 1e-9 to the centre counts as the centre
                                           ArcDistanceCase{"withinCentreTol", {0.5e-9, 0}, 2.0},
                                           ArcDistanceCase{"atCentreTol", {1e-9, 0}, 2.0 - 1e-9},
                                           ArcDistanceCase{"insideSweep", {3, 3}, 3 * std::sqrt(2.0) - 2},
                                           ArcDistanceCase{
                                               "insideSweepNearCentre", {0.5, 0.5}, 2 - std::sqrt(0.5)},
                                           ArcDistanceCase{"outsideNearStart", {2, -3}, 3.0},
                                           ArcDistanceCase{"outsideNearEnd", {-4, 2}, 4.0},
                                           ArcDistanceCase{"oppositeSide", {-2, -2}, std::sqrt(20.0)}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ArcPattern, DuplicateNeedsExactRadiusAndAngles) {
    const auto arc = boost::make_shared<ArcPattern>(Point2D(0, 0), 2.0, 0.25, 1.0);
    EXPECT_EQ(arc->IsDuplicate(boost::make_shared<ArcPattern>(Point2D(0, 0), 2.0, 0.25, 1.0)), 1);
    EXPECT_EQ(arc->IsDuplicate(boost::make_shared<ArcPattern>(Point2D(0.00004, 0.00005), 2.0, 0.25, 1.0)), 1);
    // Centre off by exactly 0.0001 in Manhattan distance: strict, so not a duplicate.
    EXPECT_EQ(arc->IsDuplicate(boost::make_shared<ArcPattern>(Point2D(0.00005, 0.00005), 2.0, 0.25, 1.0)), 0);
    // No tolerance on the radius or the angles.
    EXPECT_EQ(arc->IsDuplicate(boost::make_shared<ArcPattern>(Point2D(0, 0), 2.0 + 1e-12, 0.25, 1.0)), 0);
    EXPECT_EQ(arc->IsDuplicate(boost::make_shared<ArcPattern>(Point2D(0, 0), 2.0, 0.25, 1.0 + 1e-12)), 0);

    // The same quarter arc drawn backwards. These particular values survive the vector round trip
    // exactly (checked first), so the exact reverse rule applies.
    const auto quarter = boost::make_shared<ArcPattern>(Point2D(0, 0), 2.0, 0.0, kPi / 2);
    const auto back = boost::make_shared<ArcPattern>(Point2D(0, 0), 2.0, kPi / 2, -kPi / 2);
    ASSERT_EQ(back->GetRadius(), quarter->GetRadius());
    ASSERT_EQ(back->GetStartAngle() + back->GetMoveAngle(), quarter->GetStartAngle());
    ASSERT_EQ(-back->GetMoveAngle(), quarter->GetMoveAngle());
    EXPECT_EQ(quarter->IsDuplicate(back), 1);
    EXPECT_EQ(back->IsDuplicate(quarter), 1);
    // The complementary arc of the same circle shares both end points but is not the same arc.
    EXPECT_EQ(quarter->IsDuplicate(boost::make_shared<ArcPattern>(Point2D(0, 0), 2.0, kPi / 2, 3 * kPi / 2)),
              0);
}

TEST(ArcPattern, CloneKeepsFullCircleSense) {
    const ArcPattern arc(Point2D(5, 5), 1.0, 0.0, -2 * kPi);
    const auto clone = boost::dynamic_pointer_cast<ArcPattern>(arc.Clone());
    ASSERT_TRUE(clone);
    EXPECT_EQ(clone->IsFullCircle(), 1);
    EXPECT_EQ(clone->GetMoveAngle(), -2 * kPi);
}

TEST(ArcPattern, UpdateFromKeepsOwnFullCircleFields) {
    auto full = boost::make_shared<ArcPattern>(Point2D(0, 0), 1.0, 0.0, 2 * kPi);
    const auto part = boost::make_shared<ArcPattern>(Point2D(3, 3), 2.0, 1.0, 1.0);
    full->UpdateFrom(part);
    EXPECT_EQ(full->GetBasePoint(), Point2D(3, 3));
    EXPECT_NEAR(full->GetRadius(), 2.0, kNear);
    EXPECT_EQ(full->IsFullCircle(), 1);
    EXPECT_EQ(full->GetMoveAngle(), 2 * kPi);
}

TEST(ArcPattern, PropertiesInDegreesWithTruncatedFactors) {
    ArcPattern arc(Point2D(0, 0), 1.0, 0.0, kPi / 2);
    // (The list: PatternCoreTest.)
    const DataProperty prop = arc.GetProperty();
    EXPECT_EQ(prop.GetItemByName(kPropArcMoveAngle)->GetDouble(), arc.GetMoveAngle() * 57.29577951308);

    DataPropItem cx(kPropGroupValues, kPropArcCentreX, 4.0);
    DataPropItem radius(kPropGroupValues, kPropArcRadius, 2.0);
    DataPropItem start(kPropGroupValues, kPropArcStartAngle, 90.0);
    arc.UpdateProperty(cx);
    arc.UpdateProperty(radius);
    arc.UpdateProperty(start);
    EXPECT_EQ(arc.GetBasePoint(), Point2D(4, 0));
    EXPECT_NEAR(arc.GetRadius(), 2.0, kNear);
    EXPECT_NEAR(arc.GetStartAngle(), 90 * 0.01745329251994, kNear);
    EXPECT_NEAR(arc.GetMoveAngle(), kPi / 2, 1e-12);

    // 360 degrees times the truncated factor lies within 1e-9 of a full turn, so it makes a full circle.
    DataPropItem move(kPropGroupValues, kPropArcMoveAngle, -360.0);
    arc.UpdateProperty(move);
    EXPECT_EQ(arc.IsFullCircle(), 1);
    EXPECT_EQ(arc.GetMoveAngle(), -2 * kPi);
}

}  // namespace
}  // namespace Norvane
