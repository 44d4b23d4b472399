// Circles: the outline's fixed start, the axis-aligned snap points, the offset refusal at the radius, the
// mixed strict/inclusive duplicate rule, the centre counting for distances, cloning and property edits.
#include <string>

#include <boost/make_shared.hpp>
#include <boost/pointer_cast.hpp>
#include <gtest/gtest.h>

#include "geomFeature/host/appframe/DataPropItem.h"
#include "geomFeature/host/appframe/DataProperty.h"
#include "geomFeature/host/appframe/ResourceString.h"
#include "geomFeature/host/geomkit/Arc2D.h"
#include "geomFeature/host/geomkit/Geom2DList.h"
#include "geomFeature/host/geomkit/Point2DList.h"
#include "geomFeature/host/mathkit/MathEx.h"
#include "geomFeature/pattern/CirclePattern.h"
#include "geomFeature/pattern/PatternCache.h"
#include "geomFeature/pattern/PatternPropID.h"
#include "tests/support/GeomExpect.h"
#include "tests/support/OutlineMetrics.h"

namespace Norvane {
namespace {

using testutil::PointNear;

// The outline is one counter-clockwise full turn starting at (cx + r, cy) even when the base vector points
// elsewhere, and the snap points are axis-aligned too; the cached box is the circle's own.
TEST(CirclePattern, OutlineAndSnapsIgnoreTheVectorDirection) {
    auto circle = boost::make_shared<CirclePattern>(Point2D(2, -1), 3.0);
    circle->SetBaseVector(Vector2D(0, -3));  // same radius, pointing down
    circle->UpdateCache();

    const Geom2DListPtr geoms = circle->GetCacheData()->GetBaseGeom();
    ASSERT_EQ(geoms->size(), 1u);
    const auto& arc = static_cast<const Arc2D&>(*geoms->at(0));
    EXPECT_EQ(arc.GetBaseAngle(), 0.0);
    EXPECT_EQ(arc.GetSweepAngle(), MathEx::PI2);
    EXPECT_TRUE(PointNear(arc.GetStartPoint(), Point2D(5, -1)));
    EXPECT_TRUE(testutil::ChainCloses(*geoms, 1e-9));

    const Rect2D box = circle->GetCacheData()->GetRect();
    EXPECT_NEAR(box.left, -1, 1e-12);
    EXPECT_NEAR(box.right, 5, 1e-12);
    EXPECT_NEAR(box.bottom, -4, 1e-12);
    EXPECT_NEAR(box.top, 2, 1e-12);

    Point2DList snaps;
    circle->GetSnapPoints(snaps);
    EXPECT_TRUE(testutil::PointsNear(snaps, {Point2D(2, -1), Point2D(2, 2), Point2D(-1, -1), Point2D(2, -4),
                                             Point2D(5, -1)}));
}

// The centre counts as a place on the pattern, so a point there is at distance 0, not r.
TEST(CirclePattern, DistanceFromTheCentreIsZero) {
    CirclePattern circle(Point2D(1, 1), 4.0);
    circle.UpdateCache();
    EXPECT_EQ(circle.DistanceTo(Point2D(1, 1)), 0.0);
    EXPECT_NEAR(circle.DistanceTo(Point2D(1, 8)), 3.0, 1e-12);
    EXPECT_NEAR(circle.DistanceTo(Point2D(4, 1)), 1.0, 1e-12);  // the ring (1 away) is nearer than the centre (3)
}

struct CircleOffsetCase {
    const char* name;
    double radius;
    int direction;
    double distance;
    int accepted;
    double newRadius;
};

class CircleOffset : public ::testing::TestWithParam<CircleOffsetCase> {};

// A shrink is refused once it would leave no radius (distance >= radius); a refusal changes nothing.
TEST_P(CircleOffset, GrowsShrinksOrRefuses) {
    const CircleOffsetCase& c = GetParam();
    CirclePattern circle(Point2D(3, 4), c.radius);
    EXPECT_EQ(circle.OffsetStdPat(c.direction, c.distance), c.accepted);
    EXPECT_NEAR(circle.GetRadius(), c.newRadius, 1e-12);
    EXPECT_EQ(circle.GetBasePoint(), Point2D(3, 4));
}

INSTANTIATE_TEST_SUITE_P(CirclePattern, CircleOffset,
                         ::testing::Values(CircleOffsetCase{"grow", 5, 0, 2, 1, 7},
                                           CircleOffsetCase{"shrinkToNearlyNothing", 5, 1, 4.9, 1, 0.1},
                                           CircleOffsetCase{"shrinkByTheRadiusRefused", 5, 1, 5, 0, 5},
                                           CircleOffsetCase{"shrinkBeyondRefused", 5, 1, 5.5, 0, 5},
                                           CircleOffsetCase{"anyNonZeroDirectionShrinks", 5, -3, 1, 1, 4}),
                         [](const auto& info) { return std::string(info.param.name); });

struct CircleCompareCase {
    const char* name;
    Point2D otherCentre;
    double radius;
    double otherRadius;
    int duplicate;
    int sameShape;
};

class CircleCompare : public ::testing::TestWithParam<CircleCompareCase> {};

// Centres must be closer than 0.0001 in |dx| + |dy| (strict); radii may differ by up to 0.0001 (inclusive).
// 0.0001 and 0.0002 differ by exactly the double 0.0001, which pins the inclusive side.
TEST_P(CircleCompare, DuplicateAndSameShape) {
    const CircleCompareCase& c = GetParam();
    const auto circle = boost::make_shared<CirclePattern>(Point2D(0, 0), c.radius);
    const auto other = boost::make_shared<CirclePattern>(c.otherCentre, c.otherRadius);
    EXPECT_EQ(circle->IsDuplicate(other), c.duplicate);
    EXPECT_EQ(circle->IsSameShape(other), c.sameShape);
}

INSTANTIATE_TEST_SUITE_P(
    CirclePattern, CircleCompare,
    ::testing::Values(CircleCompareCase{"identical", Point2D(0, 0), 2, 2, 1, 1},
                      CircleCompareCase{"centreJustInside", Point2D(0.00005, 0.0000499), 2, 2, 1, 1},
                      CircleCompareCase{"centreAtToleranceIsApart", Point2D(0.00005, 0.00005), 2, 2, 0, 1},
                      CircleCompareCase{"radiiAtToleranceAreEqual", Point2D(0, 0), 0.0001, 0.0002, 1, 1},
                      CircleCompareCase{"radiiBeyondTolerance", Point2D(0, 0), 0.0001, 0.00020001, 0, 0},
                      CircleCompareCase{"sameSizeFarAway", Point2D(50, -7), 2, 2, 0, 1}),
    [](const auto& info) { return std::string(info.param.name); });

// A clone keeps the shape and stays linked to the same array through the shared relations, but has its own
// identity and an empty cache.
TEST(CirclePattern, CloneSharesRelations) {
    auto circle = boost::make_shared<CirclePattern>(Point2D(1, 2), 3.0);
    auto array = boost::make_shared<CirclePattern>();
    circle->SetBeControlPat(array);
    circle->UpdateCache();
    auto clone = boost::dynamic_pointer_cast<CirclePattern>(circle->Clone());
    ASSERT_TRUE(clone);
    EXPECT_NE(clone->GetID(), circle->GetID());
    EXPECT_EQ(clone->IsDuplicate(circle), 1);
    EXPECT_EQ(clone->IsControlPat(), array);
    EXPECT_FALSE(clone->GetCacheData()->GetBaseGeom());
}

// Title, then centre x, centre y, radius; edits move the centre and rescale the vector, others are ignored.
TEST(CirclePattern, PropertiesListAndEdit) {
    CirclePattern circle(Point2D(1, 2), 3.0);
    const DataProperty property = circle.GetProperty();
    ASSERT_EQ(property.size(), 4u);
    EXPECT_EQ(property.GetItems()[0].GetGroupID(), kPropGroupTitle);
    EXPECT_EQ(property.GetItems()[0].GetString(), ResourceString::Load(kResCircleTypeName));
    const int ids[] = {kPropShapeCentreX, kPropShapeCentreY, kPropShapeRadius};
    const double values[] = {1, 2, 3};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(property.GetItems()[i + 1].GetGroupID(), kPropGroupValues);
        EXPECT_EQ(property.GetItems()[i + 1].GetItemID(), ids[i]);
        EXPECT_EQ(property.GetItems()[i + 1].GetDouble(), values[i]);
    }

    DataPropItem radius(kPropGroupValues, kPropShapeRadius, 7.5);
    DataPropItem x(kPropGroupValues, kPropShapeCentreX, -4.0);
    DataPropItem unknown(kPropGroupValues, kPropEllipseSegCount, 99);
    circle.UpdateProperty(radius);
    circle.UpdateProperty(x);
    circle.UpdateProperty(unknown);
    EXPECT_EQ(circle.GetRadius(), 7.5);
    EXPECT_EQ(circle.GetBasePoint(), Point2D(-4, 2));
}

// A circle set to radius 0 has lost its direction; it can still be given a radius again.
TEST(CirclePattern, ZeroRadiusCanGrowAgain) {
    CirclePattern circle(Point2D(0, 0), 0.0);
    EXPECT_EQ(circle.OffsetStdPat(0, 2.5), 1);
    EXPECT_EQ(circle.GetRadius(), 2.5);
}

}  // namespace
}  // namespace Norvane
