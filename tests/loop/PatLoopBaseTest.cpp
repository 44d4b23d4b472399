// The shared loop behaviour: look-ups by identifier, node list sharing, and the nearest point / nearest
// ray crossing searches with their tie rules.
#include <boost/make_shared.hpp>
#include <gtest/gtest.h>

#include "geomFeature/host/geomkit/Point2D.h"
#include "geomFeature/loop/PatLoopBase.h"
#include "geomFeature/pattern/LinePattern.h"
#include "geomFeature/pattern/PatternList.h"

namespace Norvane {
namespace {

// The smallest concrete loop: the loop kinds' own behaviour is not under test here.
class BareLoop : public PatLoopBase {
public:
    tagDirection GetDirection() override { return DIR_CCW; }
    void ReverseDirection() override {}
    Vector2D GetDirectionOnPt(DataID, const PatPosition&) override { return Vector2D(); }
    tagLoopType GetLoopType() const override { return LOOP_POLY; }
    int IsOpenPath(double) const override { return 0; }
    IDataPtr Clone() const override { return boost::make_shared<BareLoop>(*this); }
};

IPatternPtr MakeLine(double x1, double y1, double x2, double y2) {
    auto line = boost::make_shared<LinePattern>(Point2D(x1, y1), Point2D(x2, y2));
    line->UpdateCache();
    return line;
}

void AddNode(PatLoopBase& loop, const IPatternPtr& pattern, int follow = 1) {
    loop.GetLoopNodes()->push_back(boost::make_shared<PatLoopNode>(pattern, follow));
}

TEST(PatLoopBaseTest, LookupsAnswerTheFirstMatchingNode) {
    BareLoop loop;
    IPatternPtr a = MakeLine(0, 0, 1, 0);
    IPatternPtr b = MakeLine(1, 0, 1, 1);
    AddNode(loop, a, 1);
    AddNode(loop, b, 0);
    AddNode(loop, a, 0);  // the same pattern a second time

    EXPECT_EQ(loop.GetNodeIdxByPatID(a->GetID()), 0);
    EXPECT_EQ(loop.GetNodeIdxByPatID(b->GetID()), 1);
    EXPECT_EQ(loop.GetNodeIdxByPatID(b->GetID() + 1000), -1);

    int follow = 7;
    EXPECT_EQ(loop.GetPatByPatID(a->GetID(), follow), a);
    EXPECT_EQ(follow, 1);  // from node 0, not node 2
    follow = 7;
    EXPECT_FALSE(loop.GetPatByPatID(-5, follow));
    EXPECT_EQ(follow, 7);  // a miss leaves follow alone
    EXPECT_EQ(loop.GetPatByNodeIdx(1, follow), b);
    EXPECT_EQ(follow, 0);
}

TEST(PatLoopBaseTest, RemovePatternErasesOnlyTheFirstOccurrence) {
    BareLoop loop;
    IPatternPtr a = MakeLine(0, 0, 1, 0);
    IPatternPtr b = MakeLine(1, 0, 1, 1);
    AddNode(loop, a);
    AddNode(loop, b);
    AddNode(loop, a);
    loop.GetLoopNodes()->RemovePattern(a);
    ASSERT_EQ(loop.GetLoopNodes()->size(), 2u);
    EXPECT_EQ(loop.GetPatByNodeIdx(0), b);
    EXPECT_EQ(loop.GetPatByNodeIdx(1), a);
}

TEST(PatLoopBaseTest, FromPatListNeedsEveryNodePattern) {
    BareLoop loop;
    auto list = boost::make_shared<PatternList>();
    EXPECT_EQ(loop.FromPatList(list), 1);  // an empty loop comes from any list

    IPatternPtr a = MakeLine(0, 0, 1, 0);
    IPatternPtr b = MakeLine(1, 0, 1, 1);
    AddNode(loop, a);
    AddNode(loop, b);
    list->push_back(a);
    EXPECT_EQ(loop.FromPatList(list), 0);
    list->push_back(b);
    EXPECT_EQ(loop.FromPatList(list), 1);
}

TEST(PatLoopBaseTest, CopySharesNodesWhileNodeCloneKeepsThePattern) {
    BareLoop loop;
    IPatternPtr a = MakeLine(0, 0, 1, 0);
    AddNode(loop, a);
    BareLoop view(loop);
    AddNode(view, MakeLine(1, 0, 2, 0));
    EXPECT_EQ(loop.GetLoopNodes()->size(), 2u);  // the copy is a second view of one chain
    EXPECT_EQ(view.GetID(), loop.GetID());

    auto clone = boost::dynamic_pointer_cast<PatLoopNodeList>(loop.GetLoopNodes()->Clone());
    ASSERT_TRUE(clone);
    ASSERT_EQ(clone->size(), 2u);
    EXPECT_NE((*clone)[0]->GetID(), (*loop.GetLoopNodes())[0]->GetID());
    EXPECT_EQ((*clone)[0]->GetPat(), a);

    EXPECT_EQ(loop.IsModified(), 0);
    (*loop.GetLoopNodes())[1]->SetModified(1);
    EXPECT_EQ(loop.IsModified(), 1);  // a node's change is the loop's change
}

TEST(PatLoopBaseTest, ClosestPointKeepsTheEarlierNodeOnTies) {
    BareLoop loop;
    Point2D closest(9, 9);
    int index = 9;
    loop.GetClosestPt(Point2D(3, 3), closest, index, Matrix2D());
    EXPECT_EQ(closest, Point2D(0, 0));
    EXPECT_EQ(index, 0);

    // Two parallel lines exactly 1 below and 1 above the probe.
    AddNode(loop, MakeLine(0, 0, 10, 0));
    AddNode(loop, MakeLine(10, 2, 0, 2));
    AddNode(loop, MakeLine(0, 1.5, 10, 1.5));
    loop.GetClosestPt(Point2D(5, 1), closest, index, Matrix2D());
    EXPECT_EQ(index, 2);
    loop.GetLoopNodes()->pop_back();
    loop.GetClosestPt(Point2D(5, 1), closest, index, Matrix2D());
    EXPECT_EQ(index, 0);
    EXPECT_NEAR(closest.y, 0.0, 1e-12);
}

TEST(PatLoopBaseTest, ClosestRayCrossing) {
    BareLoop loop;
    AddNode(loop, MakeLine(4, -1, 4, 1));
    AddNode(loop, MakeLine(2, -1, 2, 1));
    AddNode(loop, MakeLine(-3, -1, -3, 1));  // behind the ray's start
    Point2D cross;
    int index = 42;
    loop.GetClosestCrossPt(Point2D(0, 0), 0.0, cross, index);
    EXPECT_EQ(index, 1);
    EXPECT_NEAR(cross.x, 2.0, 1e-9);

    // Pointing away from every line: nothing found, the index keeps its incoming value.
    index = 42;
    loop.GetClosestCrossPt(Point2D(0, 5), 1.5707963267948966, cross, index);
    EXPECT_EQ(cross, Point2D(0, 0));
    EXPECT_EQ(index, 42);
}

}  // namespace
}  // namespace Norvane
