// Single-D and double-D holes side by side: the outline (kinds, closure, area, where the flats lie) at
// several placements, snap points, offsets with their refusals, exact same-shape comparison of clones, the
// setter path the shape recogniser uses, and property edits (whose width means R + t for one and 2t for the
// other).
#include <cmath>
#include <iomanip>
#include <random>
#include <string>

#include <boost/make_shared.hpp>
#include <boost/pointer_cast.hpp>
#include <gtest/gtest.h>

#include "geomFeature/host/appframe/DataPropItem.h"
#include "geomFeature/host/appframe/DataProperty.h"
#include "geomFeature/host/appframe/ResourceString.h"
#include "geomFeature/host/geomkit/Arc2D.h"
#include "geomFeature/host/geomkit/Geom2DList.h"
#include "geomFeature/host/geomkit/Line2D.h"
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
    static double SegmentArea(double r, double t) { return r * r * std::acos(t / r) - t * std::sqrt(r * r - t * t); }
    // Middle of the flat on the right of the base vector (direction angle - pi/2).
    static Point2D RightFlatMiddle(const DOutlineCase& c) {
        return Point2D(c.centre.x + c.toChord * std::sin(c.angle), c.centre.y - c.toChord * std::cos(c.angle));
    }
};

// Single-D: an arc of sweep 2pi - 2 acos(t/R) and one flat of length 2 sqrt(R^2 - t^2) whose middle lies at
// distance t on the right of the base vector; the area is the circle less one segment.
TEST_P(DOutline, SingleD) {
    const DOutlineCase& c = GetParam();
    const SingleDPattern shape(c.centre, c.radius, c.toChord, c.angle);
    const Geom2DListPtr geoms = shape.CalcBaseGeomList();
    ASSERT_EQ(geoms->size(), 2u);
    ASSERT_EQ(geoms->at(0)->GetGeomType(), GeomType::Arc);
    ASSERT_EQ(geoms->at(1)->GetGeomType(), GeomType::Line);
    EXPECT_TRUE(testutil::ChainCloses(*geoms, 1e-9));
    const auto& arc = static_cast<const Arc2D&>(*geoms->at(0));
    const auto& flat = static_cast<const Line2D&>(*geoms->at(1));
    EXPECT_NEAR(arc.GetSweepAngle(), 2 * kPi - 2 * std::acos(c.toChord / c.radius), 1e-12);
    EXPECT_GT(arc.GetBaseAngle(), -kPi);
    EXPECT_LE(arc.GetBaseAngle(), kPi);
    EXPECT_NEAR(flat.GetLength(), 2 * std::sqrt(c.radius * c.radius - c.toChord * c.toChord), 1e-9);
    EXPECT_TRUE(PointNear(flat.GetMidPoint(), RightFlatMiddle(c)));
    EXPECT_NEAR(AreaAbout(*geoms, c.centre), kPi * c.radius * c.radius - SegmentArea(c.radius, c.toChord), 1e-9);
}

// Double-D: arc, flat, arc, flat; both flats parallel to the base vector at distance t on either side, the
// first arc centred on the base vector's direction; the area is the circle less two segments.
TEST_P(DOutline, DoubleD) {
    const DOutlineCase& c = GetParam();
    const DoubleDPattern shape(c.centre, c.radius, c.toChord, c.angle);
    const Geom2DListPtr geoms = shape.CalcBaseGeomList();
    ASSERT_EQ(geoms->size(), 4u);
    EXPECT_TRUE(testutil::ChainCloses(*geoms, 1e-9));
    const double alpha = std::acos(c.toChord / c.radius);
    for (int i : {0, 2}) {
        ASSERT_EQ(geoms->at(i)->GetGeomType(), GeomType::Arc);
        EXPECT_NEAR(static_cast<const Arc2D&>(*geoms->at(i)).GetSweepAngle(), kPi - 2 * alpha, 1e-12);
    }
    const Point2D arcMiddle = static_cast<const Arc2D&>(*geoms->at(0)).GetMidPoint();
    EXPECT_TRUE(PointNear(arcMiddle, c.centre + shape.GetBaseVector()));
    const double flatLength = 2 * std::sqrt(c.radius * c.radius - c.toChord * c.toChord);
    const Point2D right = RightFlatMiddle(c);
    const Point2D left(2 * c.centre.x - right.x, 2 * c.centre.y - right.y);
    const auto& leftFlat = static_cast<const Line2D&>(*geoms->at(1));
    const auto& rightFlat = static_cast<const Line2D&>(*geoms->at(3));
    EXPECT_NEAR(leftFlat.GetLength(), flatLength, 1e-9);
    EXPECT_NEAR(rightFlat.GetLength(), flatLength, 1e-9);
    EXPECT_TRUE(PointNear(leftFlat.GetMidPoint(), left));
    EXPECT_TRUE(PointNear(rightFlat.GetMidPoint(), right));
    EXPECT_NEAR(AreaAbout(*geoms, c.centre), kPi * c.radius * c.radius - 2 * SegmentArea(c.radius, c.toChord),
                1e-9);
}

INSTANTIATE_TEST_SUITE_P(
    DPattern, DOutline,
    ::testing::Values(DOutlineCase{"radius5Flat3", Point2D(0, 0), 0, 5, 3},
                      DOutlineCase{"rotatedAndMoved", Point2D(12, -7), 2.0, 5, 3},
                      DOutlineCase{"startWrapsPastHalfTurn", Point2D(-1, 4), -3.0, 2, 0.5},
                      DOutlineCase{"flatNearCentre", Point2D(3, 3), 0.8, 4, 0.01},
                      DOutlineCase{"flatTouchesCircle", Point2D(0, 0), 1.0, 3, 3},
                      DOutlineCase{"farFromOrigin", Point2D(-2e4, 3e4), -1.2, 7.5, 6}),
    [](const auto& info) { return std::string(info.param.name); });

// The radius-5, flat-at-3 example in plain numbers.
TEST(SingleDPattern, FlatOfLengthEightAndSnapPoints) {
    const SingleDPattern shape(Point2D(1, 1), 5, 3, 0);
    const Geom2DListPtr geoms = shape.CalcBaseGeomList();
    EXPECT_NEAR(geoms->at(1)->GetLength(), 8.0, 1e-12);
    EXPECT_NEAR(shape.GetWidth(), 8.0, 1e-12);
    Point2DList snaps;
    shape.GetSnapPoints(snaps);
    EXPECT_TRUE(testutil::PointsNear(snaps, {Point2D(1, 1), Point2D(1, -2), Point2D(-4, 1), Point2D(6, 1),
                                             Point2D(1, 6)}));
}

TEST(DoubleDPattern, SnapPoints) {
    const DoubleDPattern shape(Point2D(1, 1), 5, 3, 0);
    EXPECT_NEAR(shape.GetWidth(), 6.0, 1e-12);
    Point2DList snaps;
    shape.GetSnapPoints(snaps);
    EXPECT_TRUE(testutil::PointsNear(snaps, {Point2D(1, 1), Point2D(1, -2), Point2D(1, 4), Point2D(-4, 1),
                                             Point2D(6, 1)}));
}

struct DOffsetCase {
    const char* name;
    int direction;
    double distance;
    int accepted;
    double newRadius;
    double newToChord;
};

class DOffset : public ::testing::TestWithParam<DOffsetCase> {};

// Arc and flats move together by d; from R = 5, t = 3 a shrink is refused once d reaches t. A refusal
// leaves the shape unchanged. The same table holds for both shapes.
TEST_P(DOffset, BothShapes) {
    const DOffsetCase& c = GetParam();
    SingleDPattern single(Point2D(4, 4), 5, 3, 1.1);
    DoubleDPattern twin(Point2D(4, 4), 5, 3, 1.1);
    EXPECT_EQ(single.OffsetStdPat(c.direction, c.distance), c.accepted);
    EXPECT_EQ(twin.OffsetStdPat(c.direction, c.distance), c.accepted);
    EXPECT_NEAR(single.GetRadius(), c.newRadius, 1e-12);
    EXPECT_NEAR(single.GetToChord(), c.newToChord, 1e-12);
    EXPECT_NEAR(twin.GetRadius(), c.newRadius, 1e-12);
    EXPECT_NEAR(twin.GetToChord(), c.newToChord, 1e-12);
    EXPECT_NEAR(single.GetAngle(), 1.1, 1e-12);
}

INSTANTIATE_TEST_SUITE_P(DPattern, DOffset,
                         ::testing::Values(DOffsetCase{"grow", 0, 1, 1, 6, 4}, DOffsetCase{"shrink", 1, 2, 1, 3, 1},
                                           DOffsetCase{"shrinkJustShortOfFlat", 1, 2.999, 1, 2.001, 0.001},
                                           DOffsetCase{"shrinkToTheFlatRefused", 1, 3, 0, 5, 3}),
                         [](const auto& info) { return std::string(info.param.name); });

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

struct DPropertyCase {
    const char* name;
    bool twin;
    int titleResource;
    double shownWidth;      // of R = 5, t = 3
    double toChordAfterEdit;  // after setting the width to 7
};

class DProperty : public ::testing::TestWithParam<DPropertyCase> {};

// Title, centre x/y, radius, width, angle in degrees; a radius edit keeps the ratio, a width edit moves the
// flat(s).
TEST_P(DProperty, ListAndEdit) {
    const DPropertyCase& c = GetParam();
    boost::shared_ptr<StdPatternBase> shape;
    if (c.twin) {
        shape = boost::make_shared<DoubleDPattern>(Point2D(1, 2), 5, 3, kPi / 2);
    } else {
        shape = boost::make_shared<SingleDPattern>(Point2D(1, 2), 5, 3, kPi / 2);
    }
    const DataProperty property = shape->GetProperty();
    ASSERT_EQ(property.size(), 6u);
    EXPECT_EQ(property.GetItems()[0].GetString(), ResourceString::Load(c.titleResource));
    const int ids[] = {kPropShapeCentreX, kPropShapeCentreY, kPropShapeRadius, kPropShapeWidth, kPropShapeAngle};
    const double values[] = {1, 2, 5, c.shownWidth, 90};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(property.GetItems()[i + 1].GetItemID(), ids[i]);
        EXPECT_NEAR(property.GetItems()[i + 1].GetDouble(), values[i], 1e-9);
    }

    DataPropItem width(kPropGroupValues, kPropShapeWidth, 7.0);
    shape->UpdateProperty(width);
    DataPropItem radius(kPropGroupValues, kPropShapeRadius, 10.0);
    shape->UpdateProperty(radius);
    const double toChord = c.twin ? boost::dynamic_pointer_cast<DoubleDPattern>(shape)->GetToChord()
                                  : boost::dynamic_pointer_cast<SingleDPattern>(shape)->GetToChord();
    EXPECT_NEAR(toChord, 2 * c.toChordAfterEdit, 1e-12);  // the radius doubled, the ratio stayed
}

INSTANTIATE_TEST_SUITE_P(DPattern, DProperty,
                         ::testing::Values(DPropertyCase{"singleD", false, kResSingleDTypeName, 8, 2},
                                           DPropertyCase{"doubleD", true, kResDoubleDTypeName, 6, 3.5}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace Norvane
