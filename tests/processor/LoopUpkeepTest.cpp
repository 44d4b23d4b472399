// Keeping loops in step with single pattern edits: where an added pattern goes, how a deleted one opens or
// splits its loop, that a closed loop moved as a whole survives a change, and tiny-node clean-up.
#include <vector>

#include <gtest/gtest.h>
#include <boost/make_shared.hpp>

#include "geomFeature/host/geomkit/Matrix2D.h"
#include "geomFeature/loop/ArrayPatLoop.h"
#include "geomFeature/loop/PatLoopList.h"
#include "geomFeature/loop/PolyPatLoop.h"
#include "geomFeature/pattern/CirclePattern.h"
#include "geomFeature/pattern/LinePattern.h"
#include "geomFeature/pattern/PatLinePattern.h"
#include "geomFeature/pattern/PatternList.h"
#include "geomFeature/processor/LoopBuilder.h"
#include "geomFeature/processor/LoopProcessor.h"
#include "tests/support/SeedLinkGuard.h"

namespace Norvane {
namespace {

IPatternPtr Line(double x1, double y1, double x2, double y2) {
    auto line = boost::make_shared<LinePattern>(Point2D(x1, y1), Point2D(x2, y2));
    line->UpdateCache();
    return line;
}

using Pats = std::vector<IPatternPtr>;

// The node patterns of a loop, in node order.
Pats Nodes(const IPatLoopPtr& loop) {
    Pats out;
    for (const PatLoopNodePtr& node : *loop->GetLoopNodes()) {
        out.push_back(node->GetPat());
    }
    return out;
}

PatternListPtr ListOf(const Pats& patterns) {
    auto list = boost::make_shared<PatternList>();
    list->insert(list->end(), patterns.begin(), patterns.end());
    return list;
}

PatLoopListPtr Chains(const Pats& patterns) {
    return LoopBuilder::BuildPolyPatLoops(ListOf(patterns), 1e-4);
}

class LoopUpkeep : public ::testing::Test {
protected:
    // Sides of the unit square, counter-clockwise from the bottom.
    Pats side = {Line(0, 0, 1, 0), Line(1, 0, 1, 1), Line(1, 1, 0, 1), Line(0, 1, 0, 0)};
};

// A side touching the free ends of two open loops bridges them (both go, one chain of all three comes at
// the end); the last side closes it; deleting the third node's side opens it there (fourth, first, second
// node); a line touching nothing starts a one-node loop at the end.
TEST_F(LoopUpkeep, SquareGrowsClosesAndOpensAgain) {
    PatLoopListPtr loops = Chains({side[0], Line(5, 5, 6, 5), side[2]});
    const IPatLoopPtr untouched = (*loops)[1];
    LoopProcessor::AddPatToLoopList(loops, side[1], 1e-4);
    ASSERT_EQ(loops->size(), 2u);
    EXPECT_EQ((*loops)[0], untouched);
    const IPatLoopPtr square = (*loops)[1];
    LoopProcessor::AddPatToLoopList(loops, side[3], 1e-4);
    // The closing side meets the chain's start first, so it goes in front.
    LoopProcessor::AdjustToHead(square, side[3]);  // already first: no change
    EXPECT_EQ(Nodes(square), (Pats{side[3], side[0], side[1], side[2]}));

    // Node 2 of four goes: the loop runs on from node 3 round to node 1.
    LoopProcessor::DelPatFromLoopList(loops, side[1], 1e-4);
    EXPECT_EQ(Nodes(square), (Pats{side[2], side[3], side[0]}));
    EXPECT_EQ(square->IsOpenPath(1e-4), 1);
    const IPatternPtr lone = Line(9, 9, 9, 8);
    LoopProcessor::AddPatToLoopList(loops, lone, 1e-4);
    ASSERT_EQ(loops->size(), 3u);
    EXPECT_EQ(Nodes(loops->back()), Pats{lone});
}

// The middle of an open chain of five: the chain goes and the two pieces on either side come at the end.
// A circle comes and goes with a loop of its own.
TEST_F(LoopUpkeep, DeleteInsideOpenChainSplitsIt) {
    Pats piece;
    for (int k = 0; k < 5; ++k) {
        piece.push_back(Line(k, 10, k + 1, 10));
    }
    PatLoopListPtr loops = Chains(side);
    loops->insert(loops->begin(), Chains(piece)->front());

    auto circle = boost::make_shared<CirclePattern>(Point2D(0, 0), 1);
    LoopProcessor::AddPatToLoopList(loops, circle, 1e-4);
    EXPECT_EQ(loops->back()->GetLoopType(), LOOP_STD);
    LoopProcessor::DelPatFromLoopList(loops, circle, 1e-4);

    LoopProcessor::DelPatFromLoopList(loops, piece[2], 1e-4);
    ASSERT_EQ(loops->size(), 3u);
    EXPECT_EQ(Nodes((*loops)[0]), side);
    EXPECT_EQ(Nodes((*loops)[1]), (Pats{piece[0], piece[1]}));
    EXPECT_EQ(Nodes((*loops)[2]), (Pats{piece[3], piece[4]}));
}

// A closed loop moved as a whole keeps its object and node order; its patterns leave the changed list.
TEST_F(LoopUpkeep, ClosedLoopMovedWholeKeepsItsStructure) {
    PatLoopListPtr loops = Chains({side[1], side[2], side[3], side[0]});
    const IPatLoopPtr square = loops->front();
    PatternListPtr changed = ListOf(side);
    Matrix2D move;
    move.SetTransfer(Vector2D(3, 2));
    changed->Transform(move, 0);
    changed->UpdateCache();

    LoopProcessor::ChangePatInLoopList(loops, changed);
    ASSERT_EQ(loops->size(), 1u);
    EXPECT_EQ(loops->front(), square);
    EXPECT_EQ(Nodes(square), (Pats{side[1], side[2], side[3], side[0]}));
    EXPECT_TRUE(changed->empty());
    EXPECT_NEAR(square->GetCacheData()->GetLoopRect().left, 3.0, 1e-9);
}

// Tiny nodes go from polygon loops; the pattern list keeps what loops use plus seeds, each once.
TEST_F(LoopUpkeep, RemoveTinyNodesRebuildsThePatternList) {
    testutil::SeedLinkGuard guard;
    auto seed = boost::make_shared<CirclePattern>(Point2D(5, 5), 1);
    auto array = boost::make_shared<PatLinePattern>(Point2D(5, 5), Vector2D(3, 0), 2);
    guard.Link(array, seed);
    seed->UpdateCache();
    const IPatternPtr tiny = Line(1, 1, 1, 1.00001);
    PatLoopListPtr loops = Chains({side[0], side[1], tiny});
    loops->push_back(boost::make_shared<ArrayPatLoop>(boost::make_shared<PatLoopNode>(array, 1)));
    PatternListPtr patterns = ListOf({side[0], Line(20, 20, 30, 20), seed, side[1], tiny, array});

    LoopProcessor::RemoveTinyLoopNode(loops, patterns, 1e-3);
    EXPECT_EQ(Nodes(loops->front()), (Pats{side[0], side[1]}));
    EXPECT_EQ(Pats(patterns->begin(), patterns->end()), (Pats{side[0], side[1], array, seed}));
}

}  // namespace
}  // namespace Norvane
