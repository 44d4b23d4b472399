// Obrounds: the four-piece outline (kinds, closure, area, box) at several placements, the offset refusals on
// either dimension, exact same-shape comparison, snap points and property edits.
#include <cmath>
#include <string>

#include <boost/make_shared.hpp>
#include <boost/pointer_cast.hpp>
#include <gtest/gtest.h>

#include "geomFeature/host/appframe/DataPropItem.h"
#include "geomFeature/host/appframe/DataProperty.h"
#include "geomFeature/host/appframe/ResourceString.h"
#include "geomFeature/host/geomkit/Geom2DList.h"
#include "geomFeature/host/geomkit/Matrix2D.h"
#include "geomFeature/host/geomkit/Point2DList.h"
#include "geomFeature/host/mathkit/MathEx.h"
#include "geomFeature/pattern/OBroundPattern.h"
#include "geomFeature/pattern/PatternCache.h"
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

// Arc, line, arc, line, closed and counter-clockwise: the area is the L x W middle plus one full circle of
// diameter W, and the box reaches W/2 beyond the two end-arc centres in every direction.
TEST_P(OBroundOutline, FourPiecesClosedWithExactAreaAndBox) {
    const OBroundOutlineCase& c = GetParam();
    OBroundPattern obround(c.centre, c.angle, c.length, c.width);
    obround.UpdateCache();
    const Geom2DListPtr geoms = obround.GetCacheData()->GetBaseGeom();
    ASSERT_EQ(geoms->size(), 4u);
    EXPECT_EQ(geoms->at(0)->GetGeomType(), GeomType::Arc);
    EXPECT_EQ(geoms->at(1)->GetGeomType(), GeomType::Line);
    EXPECT_EQ(geoms->at(2)->GetGeomType(), GeomType::Arc);
    EXPECT_EQ(geoms->at(3)->GetGeomType(), GeomType::Line);
    EXPECT_TRUE(testutil::ChainCloses(*geoms, 1e-9));
    EXPECT_NEAR(AreaAbout(*geoms, c.centre), c.length * c.width + kPi * c.width * c.width / 4, 1e-9);
    EXPECT_NEAR(geoms->at(1)->GetLength(), c.length, 1e-9);

    const double halfX = std::fabs(c.length / 2 * std::cos(c.angle)) + c.width / 2;
    const double halfY = std::fabs(c.length / 2 * std::sin(c.angle)) + c.width / 2;
    const Rect2D box = obround.GetCacheData()->GetRect();
    EXPECT_NEAR(box.left, c.centre.x - halfX, 1e-9);
    EXPECT_NEAR(box.right, c.centre.x + halfX, 1e-9);
    EXPECT_NEAR(box.bottom, c.centre.y - halfY, 1e-9);
    EXPECT_NEAR(box.top, c.centre.y + halfY, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(
    OBroundPattern, OBroundOutline,
    ::testing::Values(OBroundOutlineCase{"horizontalAtOrigin", Point2D(0, 0), 0, 10, 4},
                      OBroundOutlineCase{"vertical", Point2D(3, -2), kPi / 2, 10, 4},
                      OBroundOutlineCase{"oblique", Point2D(-40, 17), 2.5, 6, 1.5},
                      OBroundOutlineCase{"widerThanLong", Point2D(1, 1), -0.9, 1, 8},
                      OBroundOutlineCase{"farFromOrigin", Point2D(1e4, -1e4), 0.3, 25, 5}),
    [](const auto& info) { return std::string(info.param.name); });

struct OBroundOffsetCase {
    const char* name;
    double length;
    double width;
    int direction;
    double distance;
    int accepted;
    double newWidth;
};

class OBroundOffset : public ::testing::TestWithParam<OBroundOffsetCase> {};

// Only the width moves (by 2d); the centre distance L never does. A shrink is refused when L <= 2d or
// W <= 2d, and a refusal leaves the shape as it was.
TEST_P(OBroundOffset, WidthMovesLengthStays) {
    const OBroundOffsetCase& c = GetParam();
    OBroundPattern obround(Point2D(2, 2), 0.5, c.length, c.width);
    EXPECT_EQ(obround.OffsetStdPat(c.direction, c.distance), c.accepted);
    EXPECT_NEAR(obround.GetLength(), c.length, 1e-12);
    EXPECT_NEAR(obround.GetWidth(), c.newWidth, 1e-12);
}

INSTANTIATE_TEST_SUITE_P(
    OBroundPattern, OBroundOffset,
    ::testing::Values(OBroundOffsetCase{"grow", 10, 4, 0, 1, 1, 6},
                      OBroundOffsetCase{"shrink", 10, 4, 1, 1.5, 1, 1},
                      OBroundOffsetCase{"widthAtTwiceDistanceRefused", 10, 4, 1, 2, 0, 4},
                      OBroundOffsetCase{"lengthAtTwiceDistanceRefused", 3, 8, 1, 1.5, 0, 8},
                      OBroundOffsetCase{"lengthJustAbove", 3, 8, 1, 1.49, 1, 5.02}),
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
    EXPECT_TRUE(testutil::PointsNear(snaps, {Point2D(1, 1), Point2D(6, 1), Point2D(-4, 1), Point2D(1, 3),
                                             Point2D(1, -1)}));
}

// Title 12029 and centre x/y, L, W, angle. An L edit carries W along through the ratio, a W edit changes
// only the ratio, the angle arrives in degrees.
TEST(OBroundPattern, PropertiesListAndEdit) {
    auto obround = boost::make_shared<OBroundPattern>(Point2D(1, 2), 0.0, 10, 4);
    const DataProperty property = obround->GetProperty();
    ASSERT_EQ(property.size(), 6u);
    EXPECT_EQ(property.GetItems()[0].GetString(), ResourceString::Load(kResOBroundTypeName));
    const int ids[] = {kPropShapeCentreX, kPropShapeCentreY, kPropShapeLength, kPropShapeWidth, kPropShapeAngle};
    const double values[] = {1, 2, 10, 4, 0};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(property.GetItems()[i + 1].GetItemID(), ids[i]);
        EXPECT_EQ(property.GetItems()[i + 1].GetDouble(), values[i]);
    }

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
