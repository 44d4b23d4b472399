// One-pattern loops: the follow flag alone carries the direction, the tangent is read on the shape's (or the
// array seed's) cached outline, and clones share the pattern but nothing else.
#include <ostream>
#include <string>

#include <gtest/gtest.h>
#include <boost/make_shared.hpp>
#include <boost/pointer_cast.hpp>

#include "geomFeature/loop/ArrayPatLoop.h"
#include "geomFeature/loop/StdPatLoop.h"
#include "geomFeature/pattern/CirclePattern.h"
#include "geomFeature/pattern/PatLinePattern.h"
#include "geomFeature/pattern/PatternList.h"
#include "geomFeature/pattern/RectHolePattern.h"
#include "tests/support/SeedLinkGuard.h"

namespace Norvane {
namespace {

using testutil::SeedLinkGuard;

enum class Shape { Circle, Rect, ArrayAskedByArray, ArrayAskedBySeed };

struct TangentCase {
    std::string name;
    Shape shape;
    PatPosition pos;
    Vector2D tangent;  // unit tangent when the loop runs with the shape, worked out by hand
};

void PrintTo(const TangentCase& c, std::ostream* os) {
    *os << c.name;
}

// A circle of radius 2 about the origin: its outline is one counter-clockwise arc from angle 0.
IPatternPtr Circle() {
    auto circle = boost::make_shared<CirclePattern>(Point2D(0, 0), 2.0);
    circle->UpdateCache();
    return circle;
}

// A loop (follow 1) of the shape; id is the identifier to ask GetDirectionOnPt with.
IPatLoopPtr MakeLoop(Shape shape, SeedLinkGuard& links, DataID& id) {
    if (shape == Shape::Circle || shape == Shape::Rect) {
        // The rectangle's sides run (0,0)->(2,0)->(2,1)->(0,1)->(0,0).
        IPatternPtr p = shape == Shape::Circle
                            ? Circle()
                            : boost::make_shared<RectHolePattern>(Point2D(0, 0), Vector2D(2, 0), 0.5);
        p->UpdateCache();
        id = p->GetID();
        return boost::make_shared<StdPatLoop>(boost::make_shared<PatLoopNode>(p, 1));
    }
    const IPatternPtr seed = Circle();
    auto array = links.Link(boost::make_shared<PatLinePattern>(Point2D(10, 0), Vector2D(5, 0), 3), seed);
    id = shape == Shape::ArrayAskedBySeed ? seed->GetID() : array->GetID();
    return boost::make_shared<ArrayPatLoop>(boost::make_shared<PatLoopNode>(array, 1));
}

class OnePatternLoop : public ::testing::TestWithParam<TangentCase> {};

// Pins the direction encoding (follow 1 = counter-clockwise), that reversing flips both the reported
// direction and the tangent, and that a second reversal restores both.
TEST_P(OnePatternLoop, TangentAndDirectionFollowTheFlag) {
    SeedLinkGuard links;
    const TangentCase& c = GetParam();
    DataID id = 0;
    const IPatLoopPtr loop = MakeLoop(c.shape, links, id);
    for (const double sense : {1.0, -1.0, 1.0}) {
        const Vector2D t = loop->GetDirectionOnPt(id, c.pos);
        EXPECT_NEAR(t.x, sense * c.tangent.x, 1e-12);
        EXPECT_NEAR(t.y, sense * c.tangent.y, 1e-12);
        EXPECT_EQ(loop->GetDirection(), sense > 0 ? DIR_CCW : DIR_CW);
        EXPECT_EQ(loop->IsOpenPath(0.0), 0);
        loop->ReverseDirection();
    }
    // An identifier the loop does not hold gives no direction at all.
    EXPECT_EQ(loop->GetDirectionOnPt(-1, c.pos), Vector2D(0, 0));
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, OnePatternLoop,
    ::testing::Values(
        TangentCase{"CircleTop", Shape::Circle, PatPosition(0, 0.25), Vector2D(-1, 0)},
        TangentCase{"RectSecondSide", Shape::Rect, PatPosition(1, 0.5), Vector2D(0, 1)},
        TangentCase{"ArrayAskedByArray", Shape::ArrayAskedByArray, PatPosition(0, 0.5), Vector2D(0, -1)},
        TangentCase{"ArrayAskedBySeed", Shape::ArrayAskedBySeed, PatPosition(0, 0.25), Vector2D(-1, 0)}),
    [](const auto& info) { return info.param.name; });

// A clone is a new loop on a new node but the same pattern object and flag; the boundary mark stays behind.
// An array loop lists the array and then its seed.
TEST(OnePatternLoopTest, CloneSharesThePatternAndArrayListsItsSeed) {
    SeedLinkGuard links;
    DataID id = 0;
    const IPatLoopPtr array = MakeLoop(Shape::ArrayAskedByArray, links, id);
    array->ReverseDirection();
    array->IsBoundaryLoop(1);
    const auto clone = boost::dynamic_pointer_cast<ArrayPatLoop>(array->Clone());
    ASSERT_TRUE(clone);
    EXPECT_NE(clone->GetID(), array->GetID());
    EXPECT_NE(clone->GetLoopNodes()->front(), array->GetLoopNodes()->front());
    EXPECT_EQ(clone->GetPatByNodeIdx(0), array->GetPatByNodeIdx(0));
    EXPECT_EQ(clone->GetDirection(), DIR_CW);
    EXPECT_EQ(clone->IsBoundaryLoop(), 0);

    const PatternListPtr patterns = array->GetPatternList();
    ASSERT_EQ(patterns->size(), 2u);
    EXPECT_EQ(patterns->at(0)->GetID(), id);
    EXPECT_EQ(patterns->at(1), boost::dynamic_pointer_cast<IArrayPattern>(patterns->at(0))->GetControlPat());
}

}  // namespace
}  // namespace Norvane
