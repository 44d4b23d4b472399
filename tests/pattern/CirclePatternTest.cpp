// Circles: the outline's fixed start, the axis-aligned snap points, the mixed strict/inclusive duplicate rule
// and property edits. (Offsets, clones and the box: StdShapePropertyTest.)
#include <string>

#include <gtest/gtest.h>
#include <boost/make_shared.hpp>

#include "geomFeature/host/appframe/DataPropItem.h"
#include "geomFeature/host/geomkit/Arc2D.h"
#include "geomFeature/host/geomkit/Geom2DList.h"
#include "geomFeature/host/geomkit/Point2DList.h"
#include "geomFeature/host/mathkit/MathEx.h"
#include "geomFeature/pattern/CirclePattern.h"
#include "geomFeature/pattern/PatternCache.h"
#include "geomFeature/pattern/PatternPropID.h"
#include "tests/support/GeomExpect.h"

namespace Norvane {
namespace {

using testutil::PointNear;

// The outline is one counter-clockwise full turn starting at (cx + r, cy) even when the base vector points
// elsewhere, and the snap points are axis-aligned too.
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

    Point2DList snaps;
    circle->GetSnapPoints(snaps);
    EXPECT_TRUE(testutil::PointsNear(
        snaps, {Point2D(2, -1), Point2D(2, 2), Point2D(-1, -1), Point2D(2, -4), Point2D(5, -1)}));
}

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

// Edits move the centre and rescale the vector; other items are ignored. (The list: PatternCoreTest.)
TEST(CirclePattern, PropertyEdits) {
    CirclePattern circle(Point2D(1, 2), 3.0);
    DataPropItem radius(kPropGroupValues, kPropShapeRadius, 7.5);
    DataPropItem x(kPropGroupValues, kPropShapeCentreX, -4.0);
    DataPropItem unknown(kPropGroupValues, kPropEllipseSegCount, 99);
    circle.UpdateProperty(radius);
    circle.UpdateProperty(x);
    circle.UpdateProperty(unknown);
    EXPECT_EQ(circle.GetRadius(), 7.5);
    EXPECT_EQ(circle.GetBasePoint(), Point2D(-4, 2));
}

}  // namespace
}  // namespace Norvane
