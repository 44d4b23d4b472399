// The other operations that lost their linear searches, against the plain ones: joining open loops, and the
// list removals by identifier. Random inputs with the awkward cases mixed in (ends that meet at equal
// distances, loops that must be turned round, loops of other kinds and empty ones in between; identifiers
// listed twice, absent, or a list given to itself; a list holding one loop twice).
#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <boost/make_shared.hpp>

#include "geomFeature/host/mathkit/IntegerList.h"
#include "geomFeature/loop/PatLoopList.h"
#include "geomFeature/loop/PolyPatLoop.h"
#include "geomFeature/loop/StdPatLoop.h"
#include "geomFeature/pattern/CirclePattern.h"
#include "geomFeature/pattern/LinePattern.h"
#include "geomFeature/pattern/PatternList.h"
#include "geomFeature/processor/LoopBuilder.h"
#include "tests/import/reference/ReferenceAlgorithms.h"

namespace Norvane {
namespace {

constexpr double kTol = 1e-4;

// Open chains whose ends lie on a lattice of whole-number points, each end moved by 0, a power-of-two
// fraction of the tolerance (so that two ends can be exactly equally near) or more than the tolerance.
struct OpenChains {
    std::vector<IPatternPtr> pieces;
    PatLoopListPtr loops = boost::make_shared<PatLoopList>();
};

OpenChains MakeChains(unsigned seed) {
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> cell(0, 6), count(1, 3), kind(0, 19);
    const double nudges[] = {0.0, 0.0, std::ldexp(1.0, -15), -std::ldexp(1.0, -15), 2 * kTol};
    std::uniform_int_distribution<int> nudge(0, 4);
    auto end = [&] { return Point2D(cell(rng) + nudges[nudge(rng)], cell(rng) + nudges[nudge(rng)]); };
    OpenChains out;
    for (int c = 0; c < 60; ++c) {
        const int k = kind(rng);
        if (k == 0) {  // a loop of another kind in between
            auto circle = boost::make_shared<CirclePattern>(Point2D(cell(rng), cell(rng)), 0.5);
            out.pieces.push_back(circle);
            out.loops->push_back(boost::make_shared<StdPatLoop>(boost::make_shared<PatLoopNode>(circle, 1)));
            continue;
        }
        auto loop = boost::make_shared<PolyPatLoop>();
        if (k > 1) {  // k == 1: an empty polygon loop
            Point2D from = end();
            for (int s = 0, n = count(rng); s < n; ++s) {
                const Point2D to(from.x + 0.5 + s, from.y + 0.25);
                auto line = boost::make_shared<LinePattern>(from, s + 1 == n ? end() : to);
                out.pieces.push_back(line);
                loop->AppendPattern(line, 1);
                from = line->GetEndPoint();
            }
            if (rng() % 2)
                loop->ReverseDirection();
        }
        out.loops->push_back(loop);
    }
    return out;
}

// Each loop as its nodes (number of the piece, follow flag).
std::vector<std::string> Describe(const PatLoopList& loops, const std::vector<IPatternPtr>& pieces) {
    std::vector<std::string> lines;
    for (const IPatLoopPtr& loop : loops) {
        std::string line = std::to_string(loop->GetLoopType()) + ":";
        for (const PatLoopNodePtr& node : *loop->GetLoopNodes()) {
            line += " " +
                    std::to_string(std::find(pieces.begin(), pieces.end(), node->GetPat()) - pieces.begin()) +
                    "/" + std::to_string(node->FollowLoopDir());
        }
        lines.push_back(line);
    }
    return lines;
}

TEST(IndexedOperationsTest, JoiningOpenLoopsTakesTheSameLoopsInTheSameOrder) {
    for (unsigned seed = 1; seed <= 40; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        OpenChains a = MakeChains(seed);
        OpenChains b = MakeChains(seed);
        const PatLoopListPtr expected = reference::BuildClosedLoopByOpenLoop(a.loops, kTol);
        const PatLoopListPtr actual = LoopBuilder::BuildClosedLoopByOpenLoop(b.loops, kTol);
        EXPECT_EQ(Describe(*actual, b.pieces), Describe(*expected, a.pieces));
        // The given list is consumed the same way: reordered, with the same loops turned round.
        EXPECT_EQ(Describe(*b.loops, b.pieces), Describe(*a.loops, a.pieces));
    }
}

std::vector<IPatternPtr> Lines(int n) {
    std::vector<IPatternPtr> lines;
    for (int i = 0; i < n; ++i)
        lines.push_back(boost::make_shared<LinePattern>(Point2D(i, 0), Point2D(i, 1)));
    return lines;
}

TEST(IndexedOperationsTest, RemovalsByIdentifierRemoveWhatTheLinearSearchesRemove) {
    std::mt19937 rng(3);
    const std::vector<IPatternPtr> lines = Lines(30);
    std::uniform_int_distribution<int> pick(0, 29);
    for (int round = 0; round < 200; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        // A list that may hold a pattern twice, and the patterns / identifiers to remove (some twice, some
        // absent).
        PatternList start;
        for (int k = 0; k < 25; ++k) start.push_back(lines[pick(rng)]);
        auto other = boost::make_shared<PatternList>();
        auto ids = boost::make_shared<IntegerList>();
        for (int k = 0, n = pick(rng); k < n; ++k) {
            other->push_back(lines[pick(rng)]);
            ids->AddInt(lines[pick(rng)]->GetID());
        }
        ids->AddInt(-1);

        PatternList expected = start, actual = start;
        reference::RemovePatternsEx(expected, ids);
        actual.RemovePatternsEx(ids);
        EXPECT_TRUE(std::equal(actual.begin(), actual.end(), expected.begin(), expected.end()));

        expected = start;
        actual = start;
        reference::RemovePatterns(expected, other);
        actual.RemovePatterns(other);
        EXPECT_TRUE(std::equal(actual.begin(), actual.end(), expected.begin(), expected.end()));

        // Given to itself, a list removes all of its entries.
        auto self = boost::make_shared<PatternList>(start);
        self->RemovePatterns(self);
        EXPECT_TRUE(self->empty());
    }
}

TEST(IndexedOperationsTest, DeletingLoopsMovesTheSameLastLoopsIntoTheFreedPlaces) {
    std::mt19937 rng(4);
    std::vector<IPatLoopPtr> loops;
    for (int i = 0; i < 30; ++i) loops.push_back(boost::make_shared<PolyPatLoop>());
    std::uniform_int_distribution<int> pick(0, 29);
    for (int round = 0; round < 200; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        PatLoopList start;
        std::vector<IPatLoopPtr> shuffled = loops;
        std::shuffle(shuffled.begin(), shuffled.end(), rng);
        start.assign(shuffled.begin(), shuffled.begin() + 20);
        if (round % 10 == 0)
            start.push_back(start.front());  // one loop twice: the plain way is taken
        auto doomed = boost::make_shared<PatLoopList>();
        for (int k = 0, n = pick(rng); k < n; ++k) doomed->push_back(loops[pick(rng)]);

        PatLoopList expected = start, actual = start;
        reference::DeleteLoopList(expected, doomed);
        actual.DeleteLoopList(doomed);
        EXPECT_TRUE(std::equal(actual.begin(), actual.end(), expected.begin(), expected.end()));
    }
}

}  // namespace
}  // namespace Norvane
