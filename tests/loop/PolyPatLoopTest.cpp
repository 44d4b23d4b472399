#include "geomFeature/loop/PolyPatLoop.h"

#include <initializer_list>

#include <gtest/gtest.h>
#include <boost/make_shared.hpp>
#include <boost/pointer_cast.hpp>

#include "geomFeature/host/mathkit/MathEx.h"
#include "geomFeature/pattern/ArcPattern.h"
#include "geomFeature/pattern/LinePattern.h"
#include "tests/support/GeomExpect.h"

namespace Norvane {
namespace {

using testutil::PointNear;
constexpr double kPi = MathEx::PI;

IPatternPtr Line(double x1, double y1, double x2, double y2) {
    return boost::make_shared<LinePattern>(Point2D(x1, y1), Point2D(x2, y2));
}

PolyPatLoopPtr LoopOf(std::initializer_list<IPatternPtr> patterns) {  // each pattern followed as it runs
    auto loop = boost::make_shared<PolyPatLoop>();
    for (const IPatternPtr& p : patterns) {
        p->UpdateCache();
        loop->AppendPattern(p, 1);
    }
    return loop;
}

struct JoinCase {
    const char* name;
    Point2D start, end;  // of the offered line
    int joined, atFront, follow;
};
void PrintTo(const JoinCase& c, std::ostream* os) {
    *os << c.name;
}
class LoopJoin : public ::testing::TestWithParam<JoinCase> {};

constexpr double kTol = 1.0 / 8192, kHalf = kTol / 2;  // 2^-13: a Manhattan distance can sit exactly on it

// The open chain (0,0) -> (1,0) -> (1,1) is offered a line; the first end test that holds decides, and the
// line's free end becomes the chain's new end.
TEST_P(LoopJoin, JoinsAtTheFirstMatchingEnd) {
    const JoinCase& c = GetParam();
    const PolyPatLoopPtr loop = LoopOf({Line(0, 0, 1, 0), Line(1, 0, 1, 1)});
    const IPatternPtr line = Line(c.start.x, c.start.y, c.end.x, c.end.y);
    EXPECT_EQ(loop->CanLinkWithPat(line, kTol), c.joined);
    ASSERT_EQ(loop->AddPattern(line, kTol), c.joined);
    ASSERT_EQ(loop->GetLoopNodes()->size(), c.joined ? 3u : 2u);
    if (c.joined == 0) {
        return;
    }
    int follow = -1;
    EXPECT_EQ(loop->GetPatByNodeIdx(c.atFront ? 0 : 2, follow), line);
    EXPECT_EQ(follow, c.follow);
    EXPECT_TRUE(PointNear(c.atFront ? loop->GetStartPt() : loop->GetEndPt(),
                          c.atFront == (c.follow != 0) ? c.start : c.end));
}

INSTANTIATE_TEST_SUITE_P(
    PolyPatLoop, LoopJoin,
    ::testing::Values(JoinCase{"StartAtLoopStart", {0, 0}, {-1, 0}, 1, 1, 0},
                      JoinCase{"EndAtLoopStart", {-1, 0}, {0, 0}, 1, 1, 1},
                      JoinCase{"StartAtLoopEnd", {1, 1}, {2, 1}, 1, 0, 1},
                      JoinCase{"EndAtLoopEnd", {2, 1}, {1, 1}, 1, 0, 0},
                      JoinCase{"TouchesBothEndsJoinsFront", {1, 1}, {0, 0}, 1, 1, 1},
                      // |dx| + |dy| exactly the tolerance (Euclidean only 0.71 of it): strict, no join.
                      JoinCase{"ManhattanAtTolerance", {1 + kHalf, 1 + kHalf}, {2, 2}, 0, 0, 0},
                      JoinCase{"ManhattanJustInside", {1 + kHalf, 1 + kHalf / 2}, {2, 2}, 1, 0, 1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PolyPatLoop, OpenPathAllowsTheToleranceItself) {
    const auto gapped = [](double gap) { return LoopOf({Line(0, 0, 1, 0), Line(1, 0, 0, gap)}); };
    EXPECT_EQ(gapped(0.0001)->IsOpenPath(0.0001), 0);
    EXPECT_EQ(gapped(0.0001 + 5e-10)->IsOpenPath(0.0001), 0);  // within the slack above the tolerance
    EXPECT_EQ(gapped(0.00011)->IsOpenPath(0.0001), 1);
}

// A closed square wraps from its last node to its first; with a side removed it no longer does. Its clone
// keeps its own four nodes on the same patterns but not the boundary flag.
TEST(PolyPatLoop, ClosedLoopsWrapOpenOnesDoNot) {
    const PolyPatLoopPtr loop =
        LoopOf({Line(0, 0, 1, 0), Line(1, 0, 1, 1), Line(1, 1, 0, 1), Line(0, 1, 0, 0)});
    const IPatternPtr first = loop->GetPatByNodeIdx(0), second = loop->GetPatByNodeIdx(1);
    const IPatternPtr last = loop->GetPatByNodeIdx(3);
    DataID a = 0, b = 0;
    EXPECT_EQ(loop->GetNextPat(last), first);
    EXPECT_EQ(loop->GetTwoPatAtConPt(0, a, b), 1);
    EXPECT_EQ(std::make_pair(a, b), std::make_pair(last->GetID(), first->GetID()));
    EXPECT_EQ(loop->GetTwoGeomAtConPt(Point2D(0, 0))->size(), 2u);
    loop->IsBoundaryLoop(1);
    const auto clone = boost::dynamic_pointer_cast<PolyPatLoop>(loop->Clone());

    loop->RemovePattern(last);
    EXPECT_EQ(loop->GetNextPat(loop->GetPatByNodeIdx(2)), IPatternPtr());
    EXPECT_EQ(loop->GetTwoPatAtConPt(0, a, b), 1);
    EXPECT_EQ(std::make_pair(a, b), std::make_pair(first->GetID(), second->GetID()));
    ASSERT_EQ(clone->GetLoopNodes()->size(), 4u);
    EXPECT_EQ(clone->GetPatByNodeIdx(3), last);
    EXPECT_EQ(clone->IsBoundaryLoop(), 0);
}

// A D shape: bottom line, a half circle round (1, 1) tangent to both lines, top line, left side. Its inside
// angles stay when it is reversed; the left angles and the direction of travel do not.
TEST(PolyPatLoop, CornerAnglesAndTravelInBothSenses) {
    const IPatternPtr arc = boost::make_shared<ArcPattern>(Point2D(1, 1), 1.0, -kPi / 2, kPi);
    const IPatternPtr side = Line(0, 2, 0, 0);
    const PolyPatLoopPtr d = LoopOf({Line(0, 0, 1, 0), arc, Line(1, 2, 0, 2), side});
    for (int pass = 0; pass < 2; ++pass) {
        // Reversal keeps the corner (0,0) at control point 0, moves the others one place on.
        EXPECT_NEAR(d->GetTwoPatInsideAng(0), 0.5 * kPi, 1e-12);
        EXPECT_NEAR(d->GetTwoPatInsideAng(1 + pass), kPi, 1e-12);                   // line into arc
        EXPECT_NEAR(d->GetTwoPatLeftAng(2 + pass), kPi, 1e-12);                     // arc into line
        EXPECT_NEAR(d->GetTwoPatLeftAng(3 - 2 * pass), (0.5 + pass) * kPi, 1e-12);  // corner (0,2)
        const Vector2D at21 = d->GetDirectionOnPt(arc->GetID(), PatPosition(0, 0.5));
        const Vector2D left = d->GetDirectionOnPt(side->GetID(), PatPosition());
        EXPECT_TRUE(PointNear(Point2D(at21.x, at21.y), Point2D(0, pass == 0 ? 1 : -1)));
        EXPECT_TRUE(PointNear(Point2D(left.x, left.y), Point2D(0, pass == 0 ? -1 : 1)));  // unit, not 2 long
        d->ReverseDirection();
    }
}

}  // namespace
}  // namespace Norvane
