// Triangular holes: outline and snap order, the inscribed centre as point of symmetry, offsets that move
// every side by exactly d about that centre, refusals, exact same-shape test, properties.
#include <cmath>
#include <ostream>
#include <string>

#include <boost/make_shared.hpp>
#include <gtest/gtest.h>

#include "geomFeature/host/appframe/DataPropItem.h"
#include "geomFeature/host/appframe/DataProperty.h"
#include "geomFeature/host/geomkit/Geom2DList.h"
#include "geomFeature/host/geomkit/Line2D.h"
#include "geomFeature/host/geomkit/Point2DList.h"
#include "geomFeature/host/mathkit/MathEx.h"
#include "geomFeature/pattern/PatternCache.h"
#include "geomFeature/pattern/PatternPropID.h"
#include "geomFeature/pattern/TRHolePattern.h"
#include "tests/support/GeomExpect.h"
#include "tests/support/OutlineMetrics.h"

namespace Norvane {
namespace {

using testutil::PointNear;
using testutil::PointsNear;

// Base 6 on the x axis about the origin, apex (0, 4): the equal sides are 5 long, so the inscribed circle
// has radius 6 * 4 / (6 + 10) = 1.5 and centre (0, 1.5).
TRHolePatternPtr SixByFour() { return boost::make_shared<TRHolePattern>(Point2D(0, 0), 0.0, 6.0, 4.0); }

TEST(TRHolePattern, OutlineSnapsAndInscribedCentre) {
    const TRHolePatternPtr tri = SixByFour();
    Point2DList snaps;
    tri->GetSnapPoints(snaps);
    EXPECT_TRUE(PointsNear(snaps, {Point2D(0, 0), Point2D(3, 0), Point2D(-3, 0), Point2D(0, 4)}));
    EXPECT_NEAR(tri->GetInscribedRadius(), 1.5, 1e-15);
    EXPECT_TRUE(PointNear(tri->GetSymmetryPt(), Point2D(0, 1.5), 1e-15));
    EXPECT_EQ(tri->IsSmooth(), 0);

    tri->UpdateCache();
    const Geom2DList& outline = *tri->GetCacheData()->GetBaseGeom();
    ASSERT_EQ(outline.size(), 3u);
    Point2DList starts;
    for (const IGeom2DPtr& g : outline) {
        starts.push_back(g->GetStartPoint());
    }
    EXPECT_TRUE(PointsNear(starts, {Point2D(-3, 0), Point2D(3, 0), Point2D(0, 4)}));
    EXPECT_NEAR(testutil::ChainSignedArea(outline), 12.0, 1e-12);
}

struct OffsetCase {
    const char* name;
    int direction;
    double distance;
    int answer;
};

void PrintTo(const OffsetCase& c, std::ostream* os) { *os << c.name; }

class TRHoleOffset : public ::testing::TestWithParam<OffsetCase> {};

// Every side of the offset triangle lies parallel to the old one at exactly distance d (outside for a
// grow, inside for a shrink), so the inscribed circle keeps its centre and its radius changes by d. A
// shrink is refused at 2d >= L, and also at d >= r, where the sides would meet or cross at the centre.
TEST_P(TRHoleOffset, SidesMoveByTheDistance) {
    const OffsetCase& c = GetParam();
    const TRHolePatternPtr tri = SixByFour();
    tri->UpdateCache();
    const Geom2DListPtr before = tri->GetCacheData()->GetBaseGeom();
    ASSERT_EQ(tri->OffsetStdPat(c.direction, c.distance), c.answer);
    if (c.answer == 0) {
        EXPECT_EQ(tri->GetBasePoint(), Point2D(0, 0));
        EXPECT_EQ(tri->GetLength(), 6.0);
        EXPECT_EQ(tri->GetHeight(), 4.0);
        return;
    }
    const double sign = c.direction == 0 ? 1.0 : -1.0;
    EXPECT_TRUE(PointNear(tri->GetSymmetryPt(), Point2D(0, 1.5), 1e-12));
    EXPECT_NEAR(tri->GetInscribedRadius(), 1.5 + sign * c.distance, 1e-12);
    EXPECT_NEAR(tri->GetOrthoRatio(), 4.0 / 6.0, 1e-15);
    tri->UpdateCache();
    const Geom2DList& after = *tri->GetCacheData()->GetBaseGeom();
    for (std::size_t i = 0; i < 3; ++i) {
        const auto oldSide = boost::dynamic_pointer_cast<Line2D>(before->at(i));
        const auto newSide = boost::dynamic_pointer_cast<Line2D>(after[i]);
        ASSERT_TRUE(oldSide && newSide);
        EXPECT_NEAR(std::fabs(oldSide->GetVector().CrossProduct(newSide->GetVector())), 0.0, 1e-9) << "side " << i;
        // Outward is the right of a counter-clockwise side.
        EXPECT_EQ(oldSide->CheckSide(newSide->GetStartPoint(), 1e-12), c.direction == 0 ? -1 : 1) << "side " << i;
        EXPECT_NEAR(oldSide->GetDistance(newSide->GetStartPoint()), c.distance, 1e-12) << "side " << i;
        EXPECT_NEAR(oldSide->GetDistance(newSide->GetEndPoint()), c.distance, 1e-12) << "side " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TRHoleOffset,
    ::testing::Values(OffsetCase{"GrowHalf", 0, 0.5, 1}, OffsetCase{"GrowFive", 0, 5.0, 1},
                      OffsetCase{"ShrinkHalf", 1, 0.5, 1}, OffsetCase{"ShrinkNearlyToTheCentre", 1, 1.49, 1},
                      OffsetCase{"ShrinkToTheCentre", 1, 1.5, 0},  // d = r although 2d < L
                      OffsetCase{"ShrinkHalfTheBase", 1, 3.0, 0}),  // 2d = L
    [](const ::testing::TestParamInfo<OffsetCase>& info) { return std::string(info.param.name); });

// The tabled shrink rule for the base, worked by hand for base 6, height 4 and d = 0.5: beta = atan(3/4),
// cos = 0.8, tan = 0.75, so the base shrinks by 2 (0.625 + 0.375) = 2 and the height by 4/3.
TEST(TRHolePattern, ShrinkByTheTabledFormula) {
    const TRHolePatternPtr tri = SixByFour();
    ASSERT_EQ(tri->OffsetStdPat(1, 0.5), 1);
    EXPECT_NEAR(tri->GetLength(), 4.0, 1e-12);
    EXPECT_NEAR(tri->GetHeight(), 8.0 / 3.0, 1e-12);
    EXPECT_TRUE(PointNear(tri->GetBasePoint(), Point2D(0, 0.5), 1e-12));
}

// A flat triangle has no inside to offset.
TEST(TRHolePattern, FlatTriangleIsNotOffset) {
    TRHolePattern flat(Point2D(0, 0), 0.0, 6.0, 0.0);
    EXPECT_EQ(flat.OffsetStdPat(0, 1.0), 0);
    EXPECT_EQ(flat.OffsetStdPat(1, 1.0), 0);
}

TEST(TRHolePattern, SameShapeIsExact) {
    const TRHolePatternPtr tri = SixByFour();
    EXPECT_EQ(tri->IsSameShape(boost::make_shared<TRHolePattern>(Point2D(9, 9), 0.0, 6.0, 4.0)), 1);
    EXPECT_EQ(tri->IsSameShape(boost::make_shared<TRHolePattern>(Point2D(0, 0), 0.0, std::nextafter(6.0, 7.0), 4.0)),
              0);
    EXPECT_EQ(tri->IsSameShape(boost::make_shared<TRHolePattern>(Point2D(0, 0), 1e-15, 6.0, 4.0)), 0);
}

// Items: base point, height, base length, angle. Editing the height changes the ratio; editing the base
// length keeps it, so the height follows.
TEST(TRHolePattern, Properties) {
    const TRHolePatternPtr tri = SixByFour();
    const DataProperty property = tri->GetProperty();
    ASSERT_EQ(property.size(), 6u);
    const int ids[] = {12109, 12110, 12123, 12118, 12117};
    const double values[] = {0, 0, 4, 6, 0};
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(property.GetItems()[i + 1].GetItemID(), ids[i]);
        EXPECT_NEAR(property.GetItems()[i + 1].GetDouble(), values[i], 1e-12);
    }
    DataPropItem height(kPropGroupValues, kPropShapeHeight, 3.0);
    tri->UpdateProperty(height);
    EXPECT_NEAR(tri->GetOrthoRatio(), 0.5, 1e-15);
    DataPropItem base(kPropGroupValues, kPropShapeWidth, 12.0);
    tri->UpdateProperty(base);
    EXPECT_NEAR(tri->GetHeight(), 6.0, 1e-12);
    EXPECT_TRUE(PointNear(tri->GetBasePoint(), Point2D(0, 0)));
}

}  // namespace
}  // namespace Norvane
