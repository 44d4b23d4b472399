// Radius slots: the outline for either sign of the sweep, snap points, the exact same-shape test and
// properties. (Offsets and their refusals: StdShapePropertyTest.)
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
#include "geomFeature/pattern/RadSlotPattern.h"
#include "tests/support/GeomExpect.h"
#include "tests/support/OutlineMetrics.h"

namespace Norvane {
namespace {

using testutil::PointNear;
using testutil::PointsNear;

constexpr double kPi = MathEx::PI;

struct SweepCase {
    const char* name;
    double start;
    double move;
};

void PrintTo(const SweepCase& c, std::ostream* os) {
    *os << c.name;
}

class RadSlotOutline : public ::testing::TestWithParam<SweepCase> {};

// A quarter-turn slot of centre-line radius 10 and width 4 about the origin, drawn from 0 to pi/2 or
// backwards from pi/2 to 0: the same hole either way. Four arcs (outer edge, cap, inner edge, cap) form
// a counter-clockwise chain whose area is the annular sector, |m| R w = 20 pi, plus the two half-disc caps,
// 4 pi; the box reaches from the caps at -2 to the outer edge at 12.
TEST_P(RadSlotOutline, SameHoleForEitherSweepDirection) {
    const SweepCase& c = GetParam();
    const auto slot = boost::make_shared<RadSlotPattern>(Point2D(0, 0), 10.0, c.start, c.move, 4.0);
    slot->UpdateCache();
    const Geom2DList& outline = *slot->GetCacheData()->GetBaseGeom();
    ASSERT_EQ(outline.size(), 4u);
    EXPECT_TRUE(testutil::ChainCloses(outline, 1e-12));
    EXPECT_NEAR(testutil::ChainSignedArea(outline), 24 * kPi, 1e-10);
    EXPECT_TRUE(testutil::BoxNear(slot->GetCacheData()->GetRect(), Rect2D(-2, 12, -2, 12), 1e-12));

    Point2DList snaps;
    slot->GetSnapPoints(snaps);
    const double h = 10 * std::sqrt(0.5);
    const Point2D start = c.move > 0 ? Point2D(10, 0) : Point2D(0, 10);
    const Point2D end = c.move > 0 ? Point2D(0, 10) : Point2D(10, 0);
    EXPECT_TRUE(PointsNear(snaps, {Point2D(0, 0), start, Point2D(h, h), end}, 1e-12));
}

INSTANTIATE_TEST_SUITE_P(Sweeps, RadSlotOutline,
                         ::testing::Values(SweepCase{"Forward", 0.0, kPi / 2},
                                           SweepCase{"Backward", kPi / 2, -kPi / 2}),
                         [](const ::testing::TestParamInfo<SweepCase>& info) {
                             return std::string(info.param.name);
                         });

// Radius, width, start angle and move angle must all match exactly; the centre does not count.
TEST(RadSlotPattern, SameShapeIsExactOnFourValues) {
    const auto slot = boost::make_shared<RadSlotPattern>(Point2D(0, 0), 10.0, 0.5, 1.0, 2.0);
    EXPECT_EQ(slot->IsSameShape(boost::make_shared<RadSlotPattern>(Point2D(5, 5), 10.0, 0.5, 1.0, 2.0)), 1);
    EXPECT_EQ(
        slot->IsSameShape(boost::make_shared<RadSlotPattern>(Point2D(0, 0), 10.0, 0.5 + 1e-12, 1.0, 2.0)), 0);
    EXPECT_EQ(slot->IsSameShape(boost::make_shared<RadSlotPattern>(Point2D(0, 0), 10.0, 0.5, -1.0, 2.0)), 0);
    EXPECT_EQ(slot->IsSameShape(boost::make_shared<RadSlotPattern>(Point2D(0, 0), 10.0, 0.5, 1.0, 2.5)), 0);
}

// Editing the radius keeps the ratio (the width follows); editing the move angle (in degrees) keeps the
// start.
TEST(RadSlotPattern, PropertyEdits) {
    RadSlotPattern slot(Point2D(1, 2), 10.0, kPi / 2, -kPi / 4, 4.0);
    DataPropItem radius(kPropGroupValues, kPropShapeRadius, 20.0);
    slot.UpdateProperty(radius);
    EXPECT_NEAR(slot.GetWidth(), 8.0, 1e-12);
    DataPropItem move(kPropGroupValues, kPropShapeMoveAngle, 60.0);
    slot.UpdateProperty(move);
    EXPECT_NEAR(slot.GetMoveAngle(), kPi / 3, 1e-9);
    EXPECT_NEAR(slot.GetStartAngle(), kPi / 2, 1e-12);
    DataPropItem width(kPropGroupValues, kPropShapeWidth, 5.0);
    slot.UpdateProperty(width);
    EXPECT_NEAR(slot.GetWidth(), 5.0, 1e-12);
    EXPECT_NEAR(slot.GetRadius(), 20.0, 1e-12);
}

}  // namespace
}  // namespace Norvane
