// Single-D and double-D holes side by side: the outline (kinds, closure, area, where the flats lie) at
// several placements, snap points, exact same-shape comparison of clones, the setter path the shape
// recogniser uses, and property edits (whose width means R + t for one and 2t for the other). (Offsets:
// StdShapePropertyTest.)
#include <cmath>
#include <initializer_list>
#include <iomanip>
#include <random>
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
#include "geomFeature/pattern/DoubleDPattern.h"
#include "geomFeature/pattern/PatternPropID.h"
#include "geomFeature/pattern/SingleDPattern.h"
#include "tests/support/GeomExpect.h"
#include "tests/support/OutlineMetrics.h"

namespace Norvane {
namespace {

constexpr double kPi = MathEx::PI;

// Signed area of the outline measured about centre: translation does not change it, and large coordinates
// would otherwise cancel in the shoelace terms.
double AreaAbout(const Geom2DList& geoms, const Point2D& centre) {
    const Geom2DListPtr copy = geoms.Clone();
    Matrix2D shift;
    shift.SetTransfer(Point2D(0, 0) - centre);
    copy->Transform(shift);
    return testutil::ChainSignedArea(*copy);
}
using testutil::PointNear;

struct DOutlineCase {
    const char* name;
    Point2D centre;
    double angle;
    double radius;
    double toChord;
};

class DOutline : public ::testing::TestWithParam<DOutlineCase> {
protected:
    // Area of the circular segment a flat at distance t cuts off a circle of radius R.
    static double SegmentArea(double r, double t) {
        return r * r * std::acos(t / r) - t * std::sqrt(r * r - t * t);
    }
    // Middle of the flat on the right of the base vector (direction angle - pi/2).
    static Point2D RightFlatMiddle(const DOutlineCase& c) {
        return Point2D(c.centre.x + c.toChord * std::sin(c.angle),
                       c.centre.y - c.toChord * std::cos(c.angle));
    }
};

// Single-D: an arc, then one flat on the right of the base vector; double-D: arc, flat, arc, flat, the flats
// on either side and the first arc centred on the base vector's direction. Every flat is parallel to the base
// vector at distance t, and the area is the circle less one circular segment per flat.
TEST_P(DOutline, FlatsArcsAndArea) {
    const DOutlineCase& c = GetParam();
    const DoubleDPattern twin(c.centre, c.radius, c.toChord, c.angle);
    const Geom2DListPtr one = SingleDPattern(c.centre, c.radius, c.toChord, c.angle).CalcBaseGeomList();
    const Geom2DListPtr two = twin.CalcBaseGeomList();
    ASSERT_EQ(one->size(), 2u);
    ASSERT_EQ(two->size(), 4u);
    for (const Geom2DListPtr& geoms : {one, two}) {
        for (std::size_t i = 0; i < geoms->size(); ++i) {
            ASSERT_EQ(geoms->at(i)->GetGeomType(), i % 2 == 0 ? GeomType::Arc : GeomType::Line) << i;
        }
        EXPECT_TRUE(testutil::ChainCloses(*geoms, 1e-9));
    }
    const Point2D right = RightFlatMiddle(c);
    const Point2D left(2 * c.centre.x - right.x, 2 * c.centre.y - right.y);
    EXPECT_TRUE(PointNear(one->at(1)->GetPointAtPercent(0.5), right));
    EXPECT_TRUE(PointNear(two->at(1)->GetPointAtPercent(0.5), left));
    EXPECT_TRUE(PointNear(two->at(3)->GetPointAtPercent(0.5), right));
    EXPECT_TRUE(PointNear(two->at(0)->GetPointAtPercent(0.5), c.centre + twin.GetBaseVector()));
    const double base = static_cast<const Arc2D&>(*one->at(0)).GetBaseAngle();
    EXPECT_GT(base, -kPi);
    EXPECT_LE(base, kPi);
    const double disc = kPi * c.radius * c.radius;
    EXPECT_NEAR(AreaAbout(*one, c.centre), disc - SegmentArea(c.radius, c.toChord), 1e-9);
    EXPECT_NEAR(AreaAbout(*two, c.centre), disc - 2 * SegmentArea(c.radius, c.toChord), 1e-9);
}

INSTANTIATE_TEST_SUITE_P(DPattern, DOutline,
                         ::testing::Values(DOutlineCase{"radius5Flat3", Point2D(0, 0), 0, 5, 3},
                                           DOutlineCase{"startWrapsPastHalfTurn", Point2D(-1, 4), -3.0, 2,
                                                        0.5},
                                           DOutlineCase{"flatNearCentre", Point2D(3, 3), 0.8, 4, 0.01},
                                           DOutlineCase{"flatTouchesCircle", Point2D(0, 0), 1.0, 3, 3},
                                           DOutlineCase{"farFromOrigin", Point2D(-2e4, 3e4), -1.2, 7.5, 6}),
                         [](const auto& info) { return std::string(info.param.name); });

// The radius-5, flat-at-3 example in plain numbers: the width is R + t for the single-D, 2t for the double.
TEST(SingleDPattern, WidthAndSnapPoints) {
    const SingleDPattern shape(Point2D(1, 1), 5, 3, 0);
    EXPECT_NEAR(shape.GetWidth(), 8.0, 1e-12);
    Point2DList snaps;
    shape.GetSnapPoints(snaps);
    EXPECT_TRUE(testutil::PointsNear(
        snaps, {Point2D(1, 1), Point2D(1, -2), Point2D(-4, 1), Point2D(6, 1), Point2D(1, 6)}));
}

TEST(DoubleDPattern, SnapPoints) {
    const DoubleDPattern shape(Point2D(1, 1), 5, 3, 0);
    EXPECT_NEAR(shape.GetWidth(), 6.0, 1e-12);
    Point2DList snaps;
    shape.GetSnapPoints(snaps);
    EXPECT_TRUE(testutil::PointsNear(
        snaps, {Point2D(1, 1), Point2D(1, -2), Point2D(1, 4), Point2D(-4, 1), Point2D(6, 1)}));
}

// Clones carry the stored vector and ratio bit for bit, so they are the same shape under the exact test;
// rebuilding them from radius, flat distance and angle would round some of these random shapes apart.
TEST(DPattern, ClonesAreExactlyTheSameShape) {
    std::mt19937 rng(20240611);
    std::uniform_real_distribution<double> coord(-100.0, 100.0);
    std::uniform_real_distribution<double> ratio(0.05, 0.95);
    auto single = boost::make_shared<SingleDPattern>();
    auto twin = boost::make_shared<DoubleDPattern>();
    for (int i = 0; i < 200; ++i) {
        const Vector2D v(coord(rng), coord(rng));
        const double r = ratio(rng);
        single->SetBaseVector(v);
        single->SetOrthoRadio(r);
        twin->SetBaseVector(v);
        twin->SetOrthoRadio(r);
        ASSERT_EQ(single->IsSameShape(boost::dynamic_pointer_cast<IPattern>(single->Clone())), 1)
            << std::setprecision(17) << "Vector2D(" << v.x << ", " << v.y << "), ratio " << r;
        ASSERT_EQ(twin->IsSameShape(boost::dynamic_pointer_cast<IPattern>(twin->Clone())), 1)
            << std::setprecision(17) << "Vector2D(" << v.x << ", " << v.y << "), ratio " << r;
    }
}

// A reflection carries the flat to the mirrored side: reflected in the x axis, a single-D whose flat lay
// below its centre has it above, and the arc still runs counter-clockwise.
TEST(SingleDPattern, MirrorCarriesTheFlatAcross) {
    SingleDPattern shape(Point2D(2, 1), 5, 3, 0.4);
    Matrix2D mirror;
    mirror.Mirror(Point2D(0, 0), Vector2D(1, 0));
    const Geom2DListPtr expected = shape.CalcBaseGeomList();
    expected->Transform(mirror);
    shape.Transform(mirror);
    const Geom2DListPtr geoms = shape.CalcBaseGeomList();
    EXPECT_TRUE(PointNear(geoms->at(1)->GetStartPoint(), expected->at(1)->GetEndPoint()));
    EXPECT_TRUE(PointNear(geoms->at(1)->GetEndPoint(), expected->at(1)->GetStartPoint()));
    EXPECT_GT(static_cast<const Arc2D&>(*geoms->at(0)).GetSweepAngle(), 0.0);
}

// The recogniser builds a hole from the default one by base point, radius, width and angle, in that order;
// the width is R + t for the single-D and the distance between the flats for the double-D.
TEST(DPattern, SetterPathOfTheRecogniser) {
    SingleDPattern single;
    single.SetBasePoint(Point2D(2, 3));
    single.SetRadius(4);
    single.SetWidth(6.5);
    single.SetAngle(kPi / 3);
    EXPECT_NEAR(single.GetToChord(), 2.5, 1e-12);
    EXPECT_NEAR(single.GetAngle(), kPi / 3, 1e-12);

    DoubleDPattern twin;
    twin.SetBasePoint(Point2D(2, 3));
    twin.SetRadius(4);
    twin.SetWidth(6.5);
    twin.SetAngle(kPi / 3);
    EXPECT_NEAR(twin.GetToChord(), 3.25, 1e-12);
    EXPECT_NEAR(twin.GetRadius(), 4, 1e-12);
}

// A width edit moves the flat(s), the width being R + t for the single-D and 2t for the double-D; a radius
// edit then keeps the ratio. (The list: PatternCoreTest.)
TEST(DPattern, PropertyEdits) {
    SingleDPattern single(Point2D(1, 2), 5, 3, kPi / 2);
    DoubleDPattern twin(Point2D(1, 2), 5, 3, kPi / 2);
    for (StdPatternBase* shape : std::initializer_list<StdPatternBase*>{&single, &twin}) {
        DataPropItem width(kPropGroupValues, kPropShapeWidth, 7.0);
        shape->UpdateProperty(width);
        DataPropItem radius(kPropGroupValues, kPropShapeRadius, 10.0);
        shape->UpdateProperty(radius);
    }
    // Width 7 puts the flat at 2 (single) or 3.5 (double); doubling the radius doubles that.
    EXPECT_NEAR(single.GetToChord(), 4, 1e-12);
    EXPECT_NEAR(twin.GetToChord(), 7, 1e-12);
}

}  // namespace
}  // namespace Norvane
