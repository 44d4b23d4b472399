// Building loops from patterns: which free pattern a chain takes (exact joint, nearest, ties, the strict
// tolerance), what becomes a loop of its own, and the conversions to polygon loops.
#include <algorithm>
#include <array>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>
#include <boost/make_shared.hpp>

#include "geomFeature/loop/PatLoopList.h"
#include "geomFeature/loop/PolyPatLoop.h"
#include "geomFeature/pattern/CirclePattern.h"
#include "geomFeature/pattern/LinePattern.h"
#include "geomFeature/pattern/PatLinePattern.h"
#include "geomFeature/pattern/PatternList.h"
#include "geomFeature/processor/LoopBuilder.h"
#include "tests/support/SeedLinkGuard.h"

namespace Norvane {
namespace {

using Seg = std::array<double, 4>;
// Per loop, per node: (index of the pattern in the input, follow flag).
using Chains = std::vector<std::vector<std::pair<int, int>>>;

PatternListPtr Lines(const std::vector<Seg>& segs) {
    auto list = boost::make_shared<PatternList>();
    for (const Seg& s : segs) {
        list->push_back(boost::make_shared<LinePattern>(Point2D(s[0], s[1]), Point2D(s[2], s[3])));
    }
    return list;
}

Chains Fingerprint(const PatLoopListPtr& loops, const std::vector<IPatternPtr>& input) {
    Chains out;
    for (const IPatLoopPtr& loop : *loops) {
        out.emplace_back();
        for (const PatLoopNodePtr& node : *loop->GetLoopNodes()) {
            const auto at = std::find(input.begin(), input.end(), node->GetPat()) - input.begin();
            out.back().emplace_back(static_cast<int>(at), node->FollowLoopDir());
        }
    }
    return out;
}

// Every chain starts with line 0, (0,0)->(1,0); the rows vary the free lines around its ends.
struct PickRow {
    std::string name;
    double tolerance;
    std::vector<Seg> segs;
    Chains expected;
};

void PrintTo(const PickRow& row, std::ostream* os) {
    *os << row.name;
}

class ChainPick : public ::testing::TestWithParam<PickRow> {};

TEST_P(ChainPick, TakesTheRightFreePattern) {
    PatternListPtr list = Lines(GetParam().segs);
    const std::vector<IPatternPtr> input(list->begin(), list->end());
    EXPECT_EQ(Fingerprint(LoopBuilder::BuildPolyPatLoops(list, GetParam().tolerance), input),
              GetParam().expected);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(LoopBuilder, ChainPick, ::testing::Values(
    // Euclidean distance exactly 0.5 from the chain end: strict, so not joined.
    PickRow{"EndExactlyAtToleranceIsNotJoined", 0.5, {{0, 0, 1, 0}, {1.5, 0, 3, 0}}, {{{0, 1}}, {{1, 1}}}},
    // Line 1 is near (0.3) and listed first, line 2 touches exactly: the exact joint wins.
    PickRow{"ExactJointBeatsEarlierNearOne", 0.5, {{0, 0, 1, 0}, {1.3, 0, 2, 5}, {1, 1, 1, 0}},
            {{{0, 1}, {2, 0}}, {{1, 1}}}},
    // Line 1 lies within 1e-9 (an exact joint) and is listed first: the scan stops there, although line 2
    // touches at distance 0.
    PickRow{"FirstExactJointEndsTheScan", 1e-4, {{0, 0, 1, 0}, {1.0000000005, 0, 1, 5}, {1, 0, 1, -5}},
            {{{0, 1}, {1, 1}}, {{2, 1}}}},
    // Both free lines start 0.25 from the chain end: the earlier-listed one is taken.
    PickRow{"EquallyNearKeepsTheEarlier", 0.5, {{0, 0, 1, 0}, {1, 0.25, 1, 5}, {1, -0.25, 1, -5}},
            {{{0, 1}, {1, 1}}, {{2, 1}}}},
    PickRow{"StartAtChainStartGoesInFrontReversed", 1e-4, {{0, 0, 1, 0}, {0, 0, -1, 0}}, {{{1, 0}, {0, 1}}}},
    // Two branches leave the chain end: one is taken, the other becomes an open loop of its own.
    PickRow{"TJunctionLeavesTheOtherBranch", 1e-4, {{0, 0, 1, 0}, {1, 0, 2, 0}, {1, 0, 1, 1}},
            {{{0, 1}, {1, 1}}, {{2, 1}}}}),
    [](const ::testing::TestParamInfo<PickRow>& info) { return info.param.name; });
// clang-format on

// Whatever the order and orientation of its sides, a square comes out as one closed chain, and the list
// afterwards holds the sides in placement order: its first k entries are always a connected run of the
// chain (the chain grows only at its two ends).
TEST(LoopBuilder, SquareInAnyOrderIsOneClosedChain) {
    const std::vector<Seg> sides = {{0, 0, 2, 0}, {2, 0, 2, 2}, {2, 2, 0, 2}, {0, 2, 0, 0}};
    std::array<int, 4> order = {0, 1, 2, 3};
    do {
        for (int flips = 0; flips < 16; ++flips) {
            std::vector<Seg> segs;
            for (int k : order) {
                const Seg& s = sides[k];
                segs.push_back((flips >> k) & 1 ? Seg{s[2], s[3], s[0], s[1]} : s);
            }
            PatternListPtr list = Lines(segs);
            PatLoopListPtr loops = LoopBuilder::BuildPolyPatLoops(list, 1e-4);
            ASSERT_EQ(loops->size(), 1u);
            EXPECT_EQ(loops->front()->IsOpenPath(1e-4), 0);
            int lo = loops->front()->GetNodeIdxByPatID((*list)[0]->GetID());
            int hi = lo;
            for (int k = 1; k < 4; ++k) {
                const int at = loops->front()->GetNodeIdxByPatID((*list)[k]->GetID());
                ASSERT_TRUE(at == lo - 1 || at == hi + 1) << "entry " << k << " is not next to the run";
                lo = std::min(lo, at);
                hi = std::max(hi, at);
            }
        }
    } while (std::next_permutation(order.begin(), order.end()));
}

// Standard shapes and arrays come first in pattern order, then the polygon loops; the seed gets no loop.
// Converted back, the circle run against its sense gives a closed loop of new pieces run backwards, and a
// polygon loop is its own.
TEST(LoopBuilder, PartGivesStdThenArrayThenPolygonLoops) {
    testutil::SeedLinkGuard guard;
    auto seed = boost::make_shared<CirclePattern>(Point2D(10, 10), 1);
    auto circle = boost::make_shared<CirclePattern>(Point2D(-10, 0), 2);
    circle->UpdateCache();
    auto array = boost::make_shared<PatLinePattern>(Point2D(10, 10), Vector2D(5, 0), 3);
    guard.Link(array, seed);
    PatternListPtr list = Lines({{0, 0, 1, 0}, {1, 0, 1, 1}, {1, 1, 0, 1}, {0, 1, 0, 0}});
    list->insert(list->begin() + 1, circle);
    list->insert(list->begin() + 3, seed);
    list->insert(list->begin() + 4, array);

    PatLoopListPtr loops = LoopBuilder::BuildPatLoops(list, 1e-4);
    ASSERT_EQ(loops->size(), 3u);
    EXPECT_EQ((*loops)[0]->GetPatByNodeIdx(0), circle);
    EXPECT_EQ((*loops)[1]->GetLoopType(), LOOP_ARRAY);
    EXPECT_EQ((*loops)[2]->GetLoopNodes()->size(), 4u);

    (*loops)[0]->ReverseDirection();
    PolyPatLoopPtr poly = LoopBuilder::BuildPolyLoopByPatLoop((*loops)[0]);
    ASSERT_FALSE(poly->GetLoopNodes()->empty());
    EXPECT_EQ(poly->IsOpenPath(1e-4), 0);
    EXPECT_EQ(poly->GetLoopNodes()->front()->FollowLoopDir(), 0);
    EXPECT_NE(poly->GetPatByNodeIdx(0), circle);
    EXPECT_EQ(LoopBuilder::BuildPolyLoopByPatLoop((*loops)[2]), (*loops)[2]);
}

// Two open halves of a square, the second running the other way: it is reversed in place and appended,
// and the joined loop reuses the very node objects.
TEST(LoopBuilder, OpenLoopsJoinIntoOneClosedChain) {
    PatternListPtr halves = Lines({{0, 0, 1, 0}, {1, 0, 1, 1}, {0, 0, 0, 1}, {0, 1, 1, 1}});
    const std::vector<IPatternPtr> input(halves->begin(), halves->end());
    auto open = boost::make_shared<PatLoopList>();
    for (int k = 0; k < 4; k += 2) {
        auto half = boost::make_shared<PolyPatLoop>();
        half->AppendPattern(input[k], 1);
        half->AppendPattern(input[k + 1], 1);
        open->push_back(half);
    }
    const PatLoopNodePtr firstOfSecond = (*open)[1]->GetLoopNodes()->front();

    PatLoopListPtr joined = LoopBuilder::BuildClosedLoopByOpenLoop(open, 1e-4);
    EXPECT_EQ(Fingerprint(joined, input), (Chains{{{0, 1}, {1, 1}, {3, 0}, {2, 0}}}));
    EXPECT_EQ(joined->front()->IsOpenPath(1e-4), 0);
    EXPECT_EQ(joined->front()->GetLoopNodes()->back(), firstOfSecond);
}

// Chain order is given: each line goes to the nearer chain end, with no tolerance at all; two lines that
// retrace one segment chain there and back.
TEST(LoopBuilder, PolygonChainsByNearestEnds) {
    auto fingerprint = [](const std::vector<Seg>& segs) {
        PatternListPtr list = Lines(segs);
        auto loops = boost::make_shared<PatLoopList>();
        loops->push_back(LoopBuilder::BuildPolyLoopByPolygon(list));
        return Fingerprint(loops, std::vector<IPatternPtr>(list->begin(), list->end()));
    };
    EXPECT_EQ(fingerprint({{0, 0, 1, 0}, {0, 5, 0.1, 0.1}, {1.2, 0, 1, 3}}),
              (Chains{{{1, 1}, {0, 1}, {2, 1}}}));
    // Alone, the nearest pair (the starts, 3e-5 apart) would put the second line in front.
    EXPECT_EQ(fingerprint({{0, 0, 1, 0}, {0.00003, 0, 1, 0.00005}}), (Chains{{{0, 1}, {1, 0}}}));
}

}  // namespace
}  // namespace Norvane
