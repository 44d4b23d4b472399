// Ellipses: the arc-chain approximation (count, start, closure, passing through the curve), the exact and
// exchanged-axes duplicate rules, the segment count as a display setting, and property edits.
#include <cmath>
#include <cstdint>
#include <string>

#include <gtest/gtest.h>
#include <boost/make_shared.hpp>
#include <boost/pointer_cast.hpp>

#include "geomFeature/host/appframe/DataPropItem.h"
#include "geomFeature/host/geomkit/Arc2D.h"
#include "geomFeature/host/geomkit/Geom2DList.h"
#include "geomFeature/host/geomkit/Matrix2D.h"
#include "geomFeature/host/geomkit/Point2DList.h"
#include "geomFeature/host/mathkit/MathEx.h"
#include "geomFeature/pattern/EllipsePattern.h"
#include "geomFeature/pattern/PatternCache.h"
#include "geomFeature/pattern/PatternPropID.h"
#include "tests/support/GeomExpect.h"
#include "tests/support/OutlineMetrics.h"

namespace Norvane {
namespace {

constexpr double kPi = MathEx::PI;
using testutil::PointNear;

struct EllipseOutlineCase {
    const char* name;
    Point2D centre;
    double angle;
    double length;
    double width;
    std::int32_t segCount;
    double areaTol;  // relative: the fewer the arcs, the coarser the approximation
};

class EllipseOutline : public ::testing::TestWithParam<EllipseOutlineCase> {};

// segCount counter-clockwise arcs that start at c + V/2, close the chain, and each pass through the three
// points of the true ellipse they were built from; the enclosed area approaches pi * a * b as arcs are added.
TEST_P(EllipseOutline, ArcsFollowTheCurveAndClose) {
    const EllipseOutlineCase& c = GetParam();
    EllipsePattern ellipse(c.centre, c.angle, c.length, c.width);
    ellipse.SetSegCount(c.segCount);
    const Geom2DListPtr geoms = ellipse.CalcBaseGeomList();
    ASSERT_EQ(geoms->size(), static_cast<std::size_t>(c.segCount));

    const Point2D axisEnd = c.centre + ellipse.GetBaseVector() / 2.0;
    EXPECT_TRUE(PointNear(geoms->at(0)->GetStartPoint(), axisEnd));
    EXPECT_TRUE(PointNear(geoms->at(geoms->size() - 1)->GetEndPoint(), axisEnd));
    EXPECT_TRUE(testutil::ChainCloses(*geoms, 1e-9));

    const double a = c.length / 2, b = c.width / 2;
    const auto onCurve = [&](double t) {
        const double ct = std::cos(t), st = std::sin(t), ca = std::cos(c.angle), sa = std::sin(c.angle);
        return Point2D(c.centre.x + a * ct * ca - b * st * sa, c.centre.y + a * ct * sa + b * st * ca);
    };
    for (std::int32_t k = 0; k < c.segCount; ++k) {
        const auto& arc = static_cast<const Arc2D&>(*geoms->at(k));
        EXPECT_GT(arc.GetSweepAngle(), 0.0) << "arc " << k;
        EXPECT_LT(arc.DistanceTo(onCurve(kPi * (2 * k + 1) / c.segCount)), 1e-9) << "arc " << k;
        EXPECT_LT(arc.DistanceTo(onCurve(2 * kPi * k / c.segCount)), 1e-9) << "arc " << k;
    }
    EXPECT_NEAR(testutil::ChainSignedArea(*geoms), kPi * a * b, c.areaTol * kPi * a * b);
}

INSTANTIATE_TEST_SUITE_P(
    EllipsePattern, EllipseOutline,
    ::testing::Values(EllipseOutlineCase{"default16", Point2D(0, 0), 0, 10, 4, 16, 0.01},
                      EllipseOutlineCase{"widerThanLong", Point2D(1, 1), -0.7, 3, 8, 16, 0.01},
                      EllipseOutlineCase{"fewArcs", Point2D(5, 5), kPi / 6, 6, 2, 3, 0.1},
                      EllipseOutlineCase{"manyArcs", Point2D(100, -200), 1.0, 40, 1, 120, 0.001}),
    [](const auto& info) { return std::string(info.param.name); });

// Below one arc there is no outline at all; the cache then keeps the empty box.
TEST(EllipsePattern, NoArcsNoOutline) {
    EllipsePattern ellipse(Point2D(3, 3), 0.0, 10, 4);
    ellipse.SetSegCount(0);
    ellipse.UpdateCache();
    EXPECT_TRUE(ellipse.GetCacheData()->GetBaseGeom()->empty());
    EXPECT_EQ(ellipse.GetCacheData()->GetRect().right, 0.0);
}

// A zero-width ellipse has no circle through its collinear points: its pieces become straight, and the
// outline still closes along the axis instead of jumping to a degenerate arc at the origin.
TEST(EllipsePattern, FlatEllipseStillCloses) {
    EllipsePattern ellipse(Point2D(7, -3), 0.3, 10, 0);
    const Geom2DListPtr geoms = ellipse.CalcBaseGeomList();
    ASSERT_EQ(geoms->size(), 16u);
    EXPECT_TRUE(testutil::ChainCloses(*geoms, 1e-9));
    for (const IGeom2DPtr& g : *geoms) {
        EXPECT_LT(g->GetStartPoint().DistanceTo(Point2D(7, -3)), 5 + 1e-9);
    }
}

struct EllipseCompareCase {
    const char* name;
    Point2D otherCentre;
    Vector2D otherAxis;
    double otherRatio;
    int duplicate;
    int sameShape;
};

class EllipseCompare : public ::testing::TestWithParam<EllipseCompareCase> {};

// Against an ellipse of length 8 and width 4 along +x at the origin. Axis vectors and ratios are chosen so
// that lengths, widths and angles come out exact: the exchanged-axes branch must carry the rotated cases.
TEST_P(EllipseCompare, DuplicateAndSameShape) {
    const EllipseCompareCase& c = GetParam();
    const auto ellipse = boost::make_shared<EllipsePattern>(Point2D(0, 0), Vector2D(8, 0), 0.5);
    const auto other = boost::make_shared<EllipsePattern>(c.otherCentre, c.otherAxis, c.otherRatio);
    EXPECT_EQ(ellipse->IsDuplicate(other), c.duplicate);
    EXPECT_EQ(ellipse->IsSameShape(other), c.sameShape);
    EXPECT_EQ(other->IsSameShape(ellipse), c.sameShape);
}

INSTANTIATE_TEST_SUITE_P(
    EllipsePattern, EllipseCompare,
    ::testing::Values(
        EllipseCompareCase{"identical", Point2D(0, 0), Vector2D(8, 0), 0.5, 1, 1},
        EllipseCompareCase{"axesExchangedQuarterTurn", Point2D(0, 0), Vector2D(0, 4), 2, 1, 1},
        EllipseCompareCase{"axesExchangedMinusQuarterTurn", Point2D(0, 0), Vector2D(0, -4), 2, 1, 1},
        EllipseCompareCase{"axesExchangedHalfTurn", Point2D(0, 0), Vector2D(-4, 0), 2, 0, 0},
        EllipseCompareCase{"widthDiffers", Point2D(0, 0), Vector2D(8, 0), 0.5000001, 0, 0},
        EllipseCompareCase{"centreAtToleranceIsApart", Point2D(0.00005, -0.00005), Vector2D(8, 0), 0.5, 0, 1},
        EllipseCompareCase{"exchangedFarAway", Point2D(20, 20), Vector2D(0, 4), 2, 0, 1}),
    [](const auto& info) { return std::string(info.param.name); });

// The segment count is a display setting: it does not make two ellipses different, UpdateFrom keeps the
// receiver's, and a clone starts again from 16.
TEST(EllipsePattern, SegmentCountIsNotPartOfTheShape) {
    auto fine = boost::make_shared<EllipsePattern>(42, Point2D(1, 1), Vector2D(0, 6), 0.25, 48);
    auto coarse = boost::make_shared<EllipsePattern>(Point2D(0, 0), Vector2D(2, 0), 1.0);
    coarse->UpdateFrom(fine);
    EXPECT_EQ(coarse->GetSegCount(), 16);
    EXPECT_EQ(coarse->IsDuplicate(fine), 1);

    auto clone = boost::dynamic_pointer_cast<EllipsePattern>(fine->Clone());
    ASSERT_TRUE(clone);
    EXPECT_EQ(clone->GetSegCount(), 16);
    EXPECT_EQ(clone->IsDuplicate(fine), 1);
}

// Snap points: centre, both ends of the first axis, both ends of the second (a quarter turn from the first).
// A uniform scale through Transform scales both axes, because the ratio is untouched.
TEST(EllipsePattern, SnapPointsAndScaling) {
    EllipsePattern ellipse(Point2D(1, 1), kPi / 2, 10, 4);
    Point2DList snaps;
    ellipse.GetSnapPoints(snaps);
    EXPECT_TRUE(testutil::PointsNear(
        snaps, {Point2D(1, 1), Point2D(1, 6), Point2D(1, -4), Point2D(-1, 1), Point2D(3, 1)}));
    Matrix2D scale;
    scale.ScaleBy(Point2D(1, 1), 3.0);
    ellipse.Transform(scale);
    EXPECT_NEAR(ellipse.GetLength(), 30, 1e-12);
    EXPECT_NEAR(ellipse.GetWidth(), 12, 1e-12);
}

// A length edit carries the width along through the ratio; a width edit changes only the ratio; the count
// edit changes the outline.
TEST(EllipsePattern, PropertyEdits) {
    EllipsePattern ellipse(Point2D(1, 2), kPi / 4, 10, 4);
    DataPropItem length(kPropGroupValues, kPropShapeLength, 20.0);
    ellipse.UpdateProperty(length);
    EXPECT_NEAR(ellipse.GetWidth(), 8, 1e-12);
    DataPropItem width(kPropGroupValues, kPropShapeWidth, 5.0);
    ellipse.UpdateProperty(width);
    EXPECT_NEAR(ellipse.GetOrthoRatio(), 0.25, 1e-15);
    EXPECT_NEAR(ellipse.GetLength(), 20, 1e-12);
    DataPropItem angle(kPropGroupValues, kPropShapeAngle, 90.0);
    ellipse.UpdateProperty(angle);
    EXPECT_NEAR(ellipse.GetAngle(), 90.0 * kRadPerDeg, 1e-15);
    DataPropItem count(kPropGroupValues, kPropEllipseSegCount, 24);
    ellipse.UpdateProperty(count);
    EXPECT_EQ(ellipse.CalcBaseGeomList()->size(), 24u);
}

}  // namespace
}  // namespace Norvane
