// The polygon loop offset against an independent oracle: Clipper's round-joined offset of the chorded loop.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/ClipperOracle.h"
#include "tests/support/OffsetLoopGenerators.h"
#include "tests/support/OffsetLoopSupport.h"

namespace Norvane {
namespace {

// Chords and Clipper's round joins stray at most this far from the true arcs.
constexpr double kChordError = 1e-4;

// Random convex, star-shaped and necked loops, grown and shrunk: the offset loop encloses the area of
// Clipper's outer polygon to within the chord error along both outlines; where shrinking leaves nothing or
// several pieces, Clipper finds none or several.
TEST(LoopOffsetOracle, AgreesWithClipperOnTheChordedLoop) {
    std::mt19937 rng(2718);
    const testutil::ClipperFrame frame{1e6};
    int compared = 0;
    const int trials = testutil::OffsetTrials(240);
    for (int trial = 0; trial < trials; ++trial) {
        const int kind = trial % 3;
        const std::vector<testutil::Bulged> vertices = kind == 0   ? testutil::RandomConvexLoop(rng)
                                                       : kind == 1 ? testutil::RandomStarLoop(rng)
                                                                   : testutil::RandomDumbbell(rng);
        const double d = std::uniform_real_distribution<double>(0.05, 2.0)(rng);
        for (const int side : {0, 1}) {
            char trace[64];
            std::snprintf(trace, sizeof trace, " side %d d %.17g", side, d);
            SCOPED_TRACE("loop " + testutil::Literal(vertices) + trace);
            const PolyPatLoopPtr loop = testutil::MakeLoop(vertices);
            const Geom2DList before = testutil::TravelGeom(*loop);
            const ClipperLib::Paths oracle = testutil::ClipperOffsetRound(
                {testutil::Chorded(before, kChordError, frame)}, side == 0 ? d : -d, kChordError, frame);
            PatIDPairList pairs;
            LoopOffsetReport report;
            const int ok = LoopProcessor::OffsetPolyLoop(loop, side, d, pairs, report);
            const Geom2DList after = testutil::TravelGeom(*loop);
            const double tolerance =
                4.0 * kChordError * (testutil::Perimeter(before) + (ok ? testutil::Perimeter(after) : 0.0)) +
                1e-6;
            // Pieces of Clipper's answer: any with area, and those clearly more than a chording sliver.
            std::vector<double> outer;
            int pieces = 0;
            for (const double a : testutil::Areas(oracle, frame)) {
                pieces += a > 0.0 ? 1 : 0;
                if (a > tolerance)
                    outer.push_back(a);
            }
            std::sort(outer.rbegin(), outer.rend());
            ++compared;
            if (ok == 0) {
                EXPECT_EQ(1, side);
                if (report.failure == LoopOffsetFailure::Vanishes) {
                    EXPECT_TRUE(outer.empty());
                } else {
                    EXPECT_EQ(LoopOffsetFailure::SplitsApart, report.failure);
                    EXPECT_GE(pieces, 2);
                }
                continue;
            }
            const double area = std::fabs(testutil::ChainSignedArea(after));
            if (area <= tolerance)
                continue;  // a sliver left by shrinking: the chords decide whether it stays
            ASSERT_FALSE(outer.empty());
            if (side == 1) {
                EXPECT_EQ(1u, outer.size());
            }
            EXPECT_NEAR(outer[0], area, tolerance);
        }
    }
    EXPECT_EQ(2 * trials, compared);
}

}  // namespace
}  // namespace Norvane
