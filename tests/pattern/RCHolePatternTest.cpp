// Rounded rectangles: the eight-element outline (also with zero-length sides), the stored half-length
// vector and ratios, snap points, same-shape and properties. (Offsets, with the corner radius following
// the length: StdShapePropertyTest.)
#include <cmath>
#include <ostream>
#include <string>

#include <gtest/gtest.h>
#include <boost/make_shared.hpp>

#include "geomFeature/host/appframe/DataPropItem.h"
#include "geomFeature/host/geomkit/Geom2DList.h"
#include "geomFeature/host/geomkit/Point2DList.h"
#include "geomFeature/host/mathkit/MathEx.h"
#include "geomFeature/pattern/PatternCache.h"
#include "geomFeature/pattern/PatternPropID.h"
#include "geomFeature/pattern/RCHolePattern.h"
#include "tests/support/GeomExpect.h"
#include "tests/support/OutlineMetrics.h"

namespace Norvane {
namespace {

using testutil::PointsNear;

constexpr double kPi = MathEx::PI;

struct OutlineCase {
    const char* name;
    double length;
    double width;
    double radius;
};

void PrintTo(const OutlineCase& c, std::ostream* os) {
    *os << c.name;
}

class RCHoleOutline : public ::testing::TestWithParam<OutlineCase> {};

// Always eight elements, arc first and alternating, even where a side has no length left; the area is L W
// less the four corner cut-offs (4 - pi) r^2; the box is the full L x W.
TEST_P(RCHoleOutline, EightElementsAlternating) {
    const OutlineCase& c = GetParam();
    const auto rc = boost::make_shared<RCHolePattern>(Point2D(0, 0), c.length, c.width, c.radius, 0.0);
    rc->UpdateCache();
    const Geom2DList& outline = *rc->GetCacheData()->GetBaseGeom();
    ASSERT_EQ(outline.size(), 8u);
    EXPECT_TRUE(testutil::ChainCloses(outline, 1e-12));
    for (std::size_t i = 0; i < 8; ++i) {
        EXPECT_EQ(outline[i]->GetGeomType(), i % 2 == 0 ? GeomType::Arc : GeomType::Line) << i;
    }
    EXPECT_NEAR(testutil::ChainSignedArea(outline), c.length * c.width - (4 - kPi) * c.radius * c.radius,
                1e-10);
    const double hx = c.length / 2, hy = c.width / 2;
    EXPECT_TRUE(testutil::BoxNear(rc->GetCacheData()->GetRect(), Rect2D(-hx, hx, -hy, hy), 1e-12));
}

INSTANTIATE_TEST_SUITE_P(Cases, RCHoleOutline,
                         ::testing::Values(OutlineCase{"Ordinary", 12, 6, 1},
                                           // r = W/2: the short sides have zero length and are still there.
                                           OutlineCase{"RadiusHalfTheWidth", 12, 6, 3},
                                           // r = 0: sharp corners, four zero-radius arcs.
                                           OutlineCase{"SharpCorners", 12, 6, 0},
                                           // r = L/2 = W/2: a circle made of four arcs and four empty sides.
                                           OutlineCase{"Circle", 6, 6, 3}),
                         [](const ::testing::TestParamInfo<OutlineCase>& info) {
                             return std::string(info.param.name);
                         });

// V is half the length; the ratios are relative to the length (width) and to |V| (corner radius). Snap
// points: the centre, then where each corner arc starts and ends, in outline order.
TEST(RCHolePattern, StoredFieldsAndSnapPoints) {
    RCHolePattern rc(Point2D(1, 2), 12.0, 6.0, 1.0, kPi / 2);
    EXPECT_NEAR(rc.GetBaseVector().Length(), 6.0, 1e-15);
    EXPECT_NEAR(rc.GetOrthoRatio(), 0.5, 1e-15);
    EXPECT_NEAR(rc.GetArcRatio(), 1.0 / 6.0, 1e-15);

    // Turned a quarter: the length runs along y, so the first corner (+V, left of V) is at (1 - 3, 2 + 6).
    Point2DList snaps;
    rc.GetSnapPoints(snaps);
    EXPECT_TRUE(PointsNear(snaps,
                           {Point2D(1, 2), Point2D(-1, 8), Point2D(-2, 7), Point2D(-2, -3), Point2D(-1, -4),
                            Point2D(3, -4), Point2D(4, -3), Point2D(4, 7), Point2D(3, 8)},
                           1e-12));
}

// Same shape means the same length, width, angle and corner radius, exactly.
TEST(RCHolePattern, SameShapeIsExact) {
    const auto rc = boost::make_shared<RCHolePattern>(Point2D(0, 0), 12.3, 4.56, 0.789, 0.123);
    EXPECT_EQ(rc->IsSameShape(boost::make_shared<RCHolePattern>(Point2D(7, 7), 12.3, 4.56, 0.789, 0.123)), 1);
    EXPECT_EQ(rc->IsSameShape(boost::make_shared<RCHolePattern>(Point2D(0, 0), 12.3, 4.56, 0.5, 0.123)), 0);
    EXPECT_EQ(rc->IsSameShape(boost::make_shared<RCHolePattern>(Point2D(0, 0), 12.3, 4.56, 0.789, 0.124)), 0);
}

// Editing the length sets |V| to half the value (width and corner radius follow their
// ratios); editing the corner radius changes only the radius.
TEST(RCHolePattern, PropertyEdits) {
    RCHolePattern rc(Point2D(1, 2), 12.0, 6.0, 1.0, 0.0);
    DataPropItem length(kPropGroupValues, kPropShapeLength, 24.0);
    rc.UpdateProperty(length);
    EXPECT_NEAR(rc.GetBaseVector().Length(), 12.0, 1e-14);
    EXPECT_NEAR(rc.GetWidth(), 12.0, 1e-12);
    EXPECT_NEAR(rc.GetArcRadius(), 2.0, 1e-12);
    DataPropItem radius(kPropGroupValues, kPropShapeCornerRadius, 0.5);
    rc.UpdateProperty(radius);
    EXPECT_NEAR(rc.GetArcRadius(), 0.5, 1e-14);
    EXPECT_NEAR(rc.GetLength(), 24.0, 1e-12);
    DataPropItem width(kPropGroupValues, kPropShapeWidth, 3.0);
    rc.UpdateProperty(width);
    EXPECT_NEAR(rc.GetWidth(), 3.0, 1e-12);
    EXPECT_NEAR(rc.GetArcRadius(), 0.5, 1e-14);
}

}  // namespace
}  // namespace Norvane
