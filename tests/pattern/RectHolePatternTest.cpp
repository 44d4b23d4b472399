// Rectangular holes: corner order and outline, the drag constructor, the tolerant same-shape test and
// property edits (offsets and reflections: StdShapePropertyTest).
#include <cmath>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <boost/make_shared.hpp>

#include "geomFeature/host/appframe/DataPropItem.h"
#include "geomFeature/host/geomkit/Geom2DList.h"
#include "geomFeature/host/geomkit/Point2DList.h"
#include "geomFeature/host/mathkit/MathEx.h"
#include "geomFeature/pattern/PatternCache.h"
#include "geomFeature/pattern/PatternPropID.h"
#include "geomFeature/pattern/RectHolePattern.h"
#include "tests/support/GeomExpect.h"
#include "tests/support/OutlineMetrics.h"

namespace Norvane {
namespace {

using testutil::PointNear;
using testutil::PointsNear;

constexpr double kPi = MathEx::PI;

// 10 x 4 with its first corner at (1, 2), unturned.
RectHolePatternPtr TenByFour() {
    return boost::make_shared<RectHolePattern>(Point2D(1, 2), Vector2D(10, 0), 0.4);
}

// The corners come in outline order from the base corner, counter-clockwise, then the centre; the
// outline's lines start at the same corners; start and end points are the two corners next to the base.
TEST(RectHolePattern, CornersOutlineAndEnds) {
    const RectHolePatternPtr rect = TenByFour();
    Point2DList snaps;
    rect->GetSnapPoints(snaps);
    EXPECT_TRUE(
        PointsNear(snaps, {Point2D(1, 2), Point2D(11, 2), Point2D(11, 6), Point2D(1, 6), Point2D(6, 4)}));
    EXPECT_TRUE(PointNear(rect->GetSymmetryPt(), Point2D(6, 4)));
    EXPECT_TRUE(PointNear(rect->GetStartPoint(), Point2D(1, 6)));
    EXPECT_TRUE(PointNear(rect->GetEndPoint(), Point2D(11, 2)));

    rect->UpdateCache();
    const Geom2DList& outline = *rect->GetCacheData()->GetBaseGeom();
    ASSERT_EQ(outline.size(), 4u);
    Point2DList starts;
    for (const IGeom2DPtr& g : outline) {
        EXPECT_EQ(g->GetGeomType(), GeomType::Line);
        starts.push_back(g->GetStartPoint());
    }
    EXPECT_TRUE(PointsNear(starts, {Point2D(1, 2), Point2D(11, 2), Point2D(11, 6), Point2D(1, 6)}));
    EXPECT_NEAR(testutil::ChainSignedArea(outline), 40.0, 1e-12);
}

struct DragCase {
    const char* name;
    Point2D first;
    Point2D second;
    double angle;
    Point2D corner;
    double length;
    double width;
};

void PrintTo(const DragCase& c, std::ostream* os) {
    *os << c.name;
}

class RectHoleDrag : public ::testing::TestWithParam<DragCase> {};

// Whichever way the user drags, the rectangle between the two clicks is the same, its first side points
// along the given angle and its outline runs counter-clockwise.
TEST_P(RectHoleDrag, OppositeCornersInAnyOrder) {
    const DragCase& c = GetParam();
    RectHolePattern rect(c.first, c.second, c.angle);
    EXPECT_TRUE(PointNear(rect.GetBasePoint(), c.corner, 1e-12));
    EXPECT_NEAR(rect.GetLength(), c.length, 1e-12);
    EXPECT_NEAR(rect.GetWidth(), c.width, 1e-12);
    if (c.length > 0) {
        EXPECT_NEAR(rect.GetAngle(), c.angle, 1e-12);
        rect.UpdateCache();
        EXPECT_NEAR(testutil::ChainSignedArea(*rect.GetCacheData()->GetBaseGeom()), c.length * c.width, 1e-9);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Drags, RectHoleDrag,
    ::testing::Values(DragCase{"UpRight", Point2D(1, 2), Point2D(11, 6), 0.0, Point2D(1, 2), 10, 4},
                      DragCase{"DownLeft", Point2D(11, 6), Point2D(1, 2), 0.0, Point2D(1, 2), 10, 4},
                      DragCase{"UpLeft", Point2D(11, 2), Point2D(1, 6), 0.0, Point2D(1, 2), 10, 4},
                      DragCase{"DownRight", Point2D(1, 6), Point2D(11, 2), 0.0, Point2D(1, 2), 10, 4},
                      // Turned a quarter: the first side points up, so "lowest along both sides" is the
                      // corner with the least y and the greatest x.
                      DragCase{"QuarterTurn", Point2D(0, 0), Point2D(-4, 10), kPi / 2, Point2D(0, 0), 10, 4},
                      // A drag straight across the first side leaves no length and no ratio.
                      DragCase{"NoLength", Point2D(0, 0), Point2D(0, 5), 0.0, Point2D(0, 0), 0, 0}),
    [](const ::testing::TestParamInfo<DragCase>& info) { return std::string(info.param.name); });

struct SameShapeCase {
    const char* name;
    double length;
    double width;
    double angle;
    int same;
};

void PrintTo(const SameShapeCase& c, std::ostream* os) {
    *os << c.name;
}

class RectHoleSameShape : public ::testing::TestWithParam<SameShapeCase> {};

// Length, width and angle may each differ by up to 0.0001 (inclusive), wherever the rectangles stand.
TEST_P(RectHoleSameShape, WithinTenThousandth) {
    const SameShapeCase& c = GetParam();
    const auto reference = boost::make_shared<RectHolePattern>(Point2D(0, 0), Vector2D(10, 0), 0.4);
    Vector2D side(c.length, 0.0);
    side.Rotate(c.angle);
    const auto other = boost::make_shared<RectHolePattern>(Point2D(50, -7), side, c.width / c.length);
    EXPECT_EQ(reference->IsSameShape(other), c.same);
    EXPECT_EQ(other->IsSameShape(reference), c.same);
}

INSTANTIATE_TEST_SUITE_P(Cases, RectHoleSameShape,
                         ::testing::Values(SameShapeCase{"Identical", 10, 4, 0, 1},
                                           SameShapeCase{"LengthOffBy5e5", 10.00005, 4, 0, 1},
                                           SameShapeCase{"LengthOffBy2e4", 10.0002, 4, 0, 0},
                                           SameShapeCase{"WidthOffBy2e4", 10, 4.0002, 0, 0},
                                           SameShapeCase{"AngleOffBy5e5", 10, 4, 0.00005, 1},
                                           SameShapeCase{"AngleOffBy1_01e4", 10, 4, 0.000101, 0},
                                           SameShapeCase{"HalfTurn", 10, 4, kPi, 0}),
                         [](const ::testing::TestParamInfo<SameShapeCase>& info) {
                             return std::string(info.param.name);
                         });

// The tolerance is inclusive: lengths 0.0001 and 0.0002 differ by exactly the double 0.0001 (doubling is
// exact), and both rectangles are 0.0001 wide; one step further apart they are different shapes.
TEST(RectHolePattern, SameShapeBoundaryIsInclusive) {
    const auto small = boost::make_shared<RectHolePattern>(Point2D(0, 0), Vector2D(0.0001, 0), 1.0);
    const auto twice = boost::make_shared<RectHolePattern>(Point2D(0, 0), Vector2D(0.0002, 0), 0.5);
    ASSERT_EQ(twice->GetLength() - small->GetLength(), 0.0001);
    ASSERT_EQ(twice->GetWidth(), small->GetWidth());
    EXPECT_EQ(small->IsSameShape(twice), 1);
    const auto further =
        boost::make_shared<RectHolePattern>(Point2D(0, 0), Vector2D(std::nextafter(0.0002, 1.0), 0), 0.5);
    EXPECT_EQ(small->IsSameShape(further), 0);
}

// Angles just either side of the half turn are a hair apart, not a full turn apart.
TEST(RectHolePattern, SameShapeAcrossTheHalfTurn) {
    Vector2D a(10, 0), b(10, 0);
    a.Rotate(kPi);
    b.Rotate(-kPi + 0.00005);
    EXPECT_EQ(boost::make_shared<RectHolePattern>(Point2D(0, 0), a, 0.4)
                  ->IsSameShape(boost::make_shared<RectHolePattern>(Point2D(0, 0), b, 0.4)),
              1);
}

// The corner moves the whole rectangle; a length edit keeps the ratio; a width edit changes only the width;
// the angle turns about the corner.
TEST(RectHolePattern, PropertyEdits) {
    const RectHolePatternPtr rect = TenByFour();
    DataPropItem width(kPropGroupValues, kPropShapeWidth, 5.0);
    rect->UpdateProperty(width);
    EXPECT_NEAR(rect->GetWidth(), 5.0, 1e-12);
    EXPECT_NEAR(rect->GetLength(), 10.0, 1e-12);
    DataPropItem length(kPropGroupValues, kPropShapeLength, 20.0);
    rect->UpdateProperty(length);
    EXPECT_NEAR(rect->GetWidth(), 10.0, 1e-12);
    DataPropItem angle(kPropGroupValues, kPropShapeAngle, 90.0);
    rect->UpdateProperty(angle);
    EXPECT_TRUE(PointNear(rect->GetEndPoint(), Point2D(1, 22), 1e-9));
    DataPropItem x(kPropGroupValues, kPropShapeCornerX, -3.0);
    rect->UpdateProperty(x);
    EXPECT_TRUE(PointNear(rect->GetBasePoint(), Point2D(-3, 2)));
    EXPECT_NEAR(rect->GetLength(), 20.0, 1e-12);
}

}  // namespace
}  // namespace Norvane
