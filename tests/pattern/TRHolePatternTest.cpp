// Triangular holes: outline and snap order, the inscribed centre as point of symmetry, offsets that move
// every side by exactly d about that centre, exact same-shape test, properties. (The offset formula on random
// triangles and the refusals: StdShapePropertyTest.)
#include <cmath>
#include <ostream>
#include <string>

#include <gtest/gtest.h>
#include <boost/make_shared.hpp>

#include "geomFeature/host/appframe/DataPropItem.h"
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
TRHolePatternPtr SixByFour() {
    return boost::make_shared<TRHolePattern>(Point2D(0, 0), 0.0, 6.0, 4.0);
}

TEST(TRHolePattern, OutlineSnapsAndInscribedCentre) {
    const TRHolePatternPtr tri = SixByFour();
    Point2DList snaps;
    tri->GetSnapPoints(snaps);
    EXPECT_TRUE(PointsNear(snaps, {Point2D(0, 0), Point2D(3, 0), Point2D(-3, 0), Point2D(0, 4)}));
    EXPECT_NEAR(tri->GetInscribedRadius(), 1.5, 1e-15);
    EXPECT_TRUE(PointNear(tri->GetSymmetryPt(), Point2D(0, 1.5), 1e-15));

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
};

void PrintTo(const OffsetCase& c, std::ostream* os) {
    *os << c.name;
}

class TRHoleOffset : public ::testing::TestWithParam<OffsetCase> {};

// Every side of the offset triangle lies parallel to the old one at exactly distance d (outside for a
// grow, inside for a shrink), so the inscribed circle keeps its centre and its radius changes by d.
TEST_P(TRHoleOffset, SidesMoveByTheDistance) {
    const OffsetCase& c = GetParam();
    const TRHolePatternPtr tri = SixByFour();
    tri->UpdateCache();
    const Geom2DListPtr before = tri->GetCacheData()->GetBaseGeom();
    ASSERT_EQ(tri->OffsetStdPat(c.direction, c.distance), 1);
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
        EXPECT_NEAR(std::fabs(oldSide->GetVector().CrossProduct(newSide->GetVector())), 0.0, 1e-9)
            << "side " << i;
        // Outward is the right of a counter-clockwise side.
        EXPECT_EQ(oldSide->CheckSide(newSide->GetStartPoint(), 1e-12), c.direction == 0 ? -1 : 1)
            << "side " << i;
        EXPECT_NEAR(oldSide->GetDistance(newSide->GetStartPoint()), c.distance, 1e-12) << "side " << i;
        EXPECT_NEAR(oldSide->GetDistance(newSide->GetEndPoint()), c.distance, 1e-12) << "side " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, TRHoleOffset,
                         ::testing::Values(OffsetCase{"GrowHalf", 0, 0.5},
                                           OffsetCase{"ShrinkNearlyToTheCentre", 1, 1.49}),
                         [](const ::testing::TestParamInfo<OffsetCase>& info) {
                             return std::string(info.param.name);
                         });

TEST(TRHolePattern, SameShapeIsExact) {
    const TRHolePatternPtr tri = SixByFour();
    EXPECT_EQ(tri->IsSameShape(boost::make_shared<TRHolePattern>(Point2D(9, 9), 0.0, 6.0, 4.0)), 1);
    EXPECT_EQ(tri->IsSameShape(
                  boost::make_shared<TRHolePattern>(Point2D(0, 0), 0.0, std::nextafter(6.0, 7.0), 4.0)),
              0);
    EXPECT_EQ(tri->IsSameShape(boost::make_shared<TRHolePattern>(Point2D(0, 0), 1e-15, 6.0, 4.0)), 0);
}

// Editing the height changes the ratio; editing the base length keeps it, so the height follows.
TEST(TRHolePattern, PropertyEdits) {
    const TRHolePatternPtr tri = SixByFour();
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
