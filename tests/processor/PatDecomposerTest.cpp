// Decomposition: a circle into its one full-turn arc, grids into free copies in copy order, and a grid of
// a line array into every copy of every row.
#include <vector>

#include <gtest/gtest.h>
#include <boost/make_shared.hpp>
#include <boost/pointer_cast.hpp>

#include "geomFeature/host/mathkit/MathEx.h"
#include "geomFeature/pattern/CirclePattern.h"
#include "geomFeature/pattern/PatGridPattern.h"
#include "geomFeature/pattern/PatLinePattern.h"
#include "geomFeature/processor/PatDecomposer.h"
#include "tests/processor/GroupingSupport.h"
#include "tests/support/GeomExpect.h"
#include "tests/support/SeedLinkGuard.h"

namespace Norvane {
namespace {

TEST(PatDecomposer, CircleGivesOneFullTurnArc) {
    auto circle = boost::make_shared<CirclePattern>(Point2D(3, -2), 4.0);
    circle->UpdateCache();
    const PatternListPtr pieces = PatDecomposer::DecomposeStdPat(circle);
    ASSERT_EQ(pieces->size(), 1u);
    const auto arc = boost::dynamic_pointer_cast<ArcPattern>(pieces->front());
    ASSERT_TRUE(arc);
    EXPECT_NE(arc->GetID(), circle->GetID());
    EXPECT_DOUBLE_EQ(arc->GetMoveAngle(), MathEx::PI2);
    EXPECT_DOUBLE_EQ(arc->GetRadius(), 4.0);
    EXPECT_TRUE(testutil::PointNear(arc->GetStartPoint(), Point2D(7, -2)));
    EXPECT_DOUBLE_EQ(circle->GetRadius(), 4.0);  // the shape is left as it was
}

// The copies are free circles (no second seed of the array) centred at the expected places, in order.
void ExpectCircleCopies(const PatternListPtr& copies, const std::vector<Point2D>& expected,
                        testutil::SeedLinkGuard& guard) {
    ASSERT_EQ(copies->size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const IPatternPtr& copy = (*copies)[i];
        guard.Watch(copy);
        EXPECT_EQ(copy->GetPatternType(), PAT_CIRCLE);
        EXPECT_FALSE(copy->IsControlPat());
        EXPECT_TRUE(testutil::PointNear(copy->GetBasePoint(), expected[i])) << i;
    }
}

// The seed stands away from the grid's first place: the first copy is carried there, the others follow in
// the grid's serpentine order (up column 0, down column 1, up column 2).
TEST(PatDecomposer, GridGivesEveryCopyFirstIncluded) {
    testutil::SeedLinkGuard guard;
    auto seed = boost::make_shared<CirclePattern>(Point2D(-50, -50), 1.0);
    seed->UpdateCache();
    auto grid = boost::make_shared<PatGridPattern>(Point2D(10, 5), 3.0, 2, 4.0, 3);
    guard.Link(grid, seed);
    ExpectCircleCopies(
        PatDecomposer::DecomposeGridPat(grid),
        {Point2D(10, 5), Point2D(10, 8), Point2D(14, 8), Point2D(14, 5), Point2D(18, 5), Point2D(18, 8)},
        guard);
}

// A grid whose seed is a row of two circles: each grid place gets both circles of the row.
TEST(PatDecomposer, GridOfALineArrayGivesEveryCircle) {
    testutil::SeedLinkGuard guard;
    auto seed = boost::make_shared<CirclePattern>(Point2D(0, 0), 0.25);
    seed->UpdateCache();
    auto row = boost::make_shared<PatLinePattern>(Point2D(0, 0), Vector2D(1, 0), 2);
    guard.Link(row, seed);
    auto grid = boost::make_shared<PatGridPattern>(Point2D(10, 5), 3.0, 1, 4.0, 2);
    guard.Link(grid, row);
    ExpectCircleCopies(PatDecomposer::DecomposeGridPat(grid),
                       {Point2D(10, 5), Point2D(11, 5), Point2D(14, 5), Point2D(15, 5)}, guard);
}

}  // namespace
}  // namespace Norvane
