// Obrounds: the four-piece outline (kinds, area) at several placements, exact same-shape comparison, snap
// points and property edits. (Box, transforms and offsets: StdShapePropertyTest.)
#include <cmath>
#include <string>

#include <gtest/gtest.h>
#include <boost/make_shared.hpp>
#include <boost/pointer_cast.hpp>

#include "geomFeature/host/appframe/DataPropItem.h"
#include "geomFeature/host/geomkit/Geom2DList.h"
#include "geomFeature/host/geomkit/Matrix2D.h"
#include "geomFeature/host/geomkit/Point2DList.h"
#include "geomFeature/host/mathkit/MathEx.h"
#include "geomFeature/pattern/OBroundPattern.h"
#include "geomFeature/pattern/PatternPropID.h"
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

struct OBroundOutlineCase {
    const char* name;
    Point2D centre;
    double angle;
    double length;
    double width;
};

class OBroundOutline : public ::testing::TestWithParam<OBroundOutlineCase> {};

// Arc, line, arc, line, counter-clockwise: the area is the L x W middle plus one full circle of diameter W.
TEST_P(OBroundOutline, FourPiecesWithExactArea) {
    const OBroundOutlineCase& c = GetParam();
    const Geom2DListPtr geoms = OBroundPattern(c.centre, c.angle, c.length, c.width).CalcBaseGeomList();
    ASSERT_EQ(geoms->size(), 4u);
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(geoms->at(i)->GetGeomType(), i % 2 == 0 ? GeomType::Arc : GeomType::Line) << i;
    }
    EXPECT_NEAR(AreaAbout(*geoms, c.centre), c.length * c.width + kPi * c.width * c.width / 4, 1e-9);
    EXPECT_NEAR(geoms->at(1)->GetLength(), c.length, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(OBroundPattern, OBroundOutline,
                         ::testing::Values(OBroundOutlineCase{"horizontalAtOrigin", Point2D(0, 0), 0, 10, 4},
                                           OBroundOutlineCase{"widerThanLong", Point2D(1, 1), -0.9, 1, 8},
                                           OBroundOutlineCase{"farFromOrigin", Point2D(1e4, -1e4), 0.3, 25,
                                                              5}),
                         [](const auto& info) { return std::string(info.param.name); });

// Same shape means exactly the same length, width and angle, wherever it stands: a difference of 0.00005
// in length is already another shape.
TEST(OBroundPattern, SameShapeIsExact) {
    const auto obround = boost::make_shared<OBroundPattern>(Point2D(0, 0), Vector2D(10, 0), 0.5);
    const auto moved = boost::make_shared<OBroundPattern>(Point2D(30, -4), Vector2D(10, 0), 0.5);
    const auto longer = boost::make_shared<OBroundPattern>(Point2D(0, 0), Vector2D(10.00005, 0), 0.5);
    const auto turned = boost::make_shared<OBroundPattern>(Point2D(0, 0), Vector2D(-10, 0), 0.5);
    EXPECT_EQ(obround->IsSameShape(moved), 1);
    EXPECT_EQ(obround->IsSameShape(longer), 0);
    EXPECT_EQ(obround->IsSameShape(turned), 0);
    EXPECT_EQ(obround->IsDuplicate(obround), 0);  // shapes of this family do not claim duplicates
}

// Centre, the two end-arc centres, the middles of the left and right straight sides.
TEST(OBroundPattern, SnapPoints) {
    OBroundPattern obround(Point2D(1, 1), 0.0, 10, 4);
    Point2DList snaps;
    obround.GetSnapPoints(snaps);
    EXPECT_TRUE(testutil::PointsNear(
        snaps, {Point2D(1, 1), Point2D(6, 1), Point2D(-4, 1), Point2D(1, 3), Point2D(1, -1)}));
}

// An L edit carries W along through the ratio, a W edit changes only the ratio, the angle arrives in
// degrees.
TEST(OBroundPattern, PropertyEdits) {
    auto obround = boost::make_shared<OBroundPattern>(Point2D(1, 2), 0.0, 10, 4);
    DataPropItem length(kPropGroupValues, kPropShapeLength, 20.0);
    obround->UpdateProperty(length);
    EXPECT_NEAR(obround->GetWidth(), 8, 1e-12);
    DataPropItem width(kPropGroupValues, kPropShapeWidth, 5.0);
    obround->UpdateProperty(width);
    EXPECT_NEAR(obround->GetOrthoRatio(), 0.25, 1e-15);
    DataPropItem angle(kPropGroupValues, kPropShapeAngle, -30.0);
    obround->UpdateProperty(angle);
    EXPECT_NEAR(obround->GetAngle(), -30.0 * kRadPerDeg, 1e-15);
    EXPECT_NEAR(obround->GetLength(), 20, 1e-12);
}

}  // namespace
}  // namespace Norvane
