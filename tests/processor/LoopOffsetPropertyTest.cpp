// Property tests of the polygon loop offset on seeded random loops of lines and arcs: convex ones (with
// short edges and near-tangent joints), star-shaped concave ones and dumbbells with thin necks.
#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "geomFeature/host/mathkit/MathEx.h"
#include "tests/support/OffsetLoopGenerators.h"
#include "tests/support/OffsetLoopSupport.h"

namespace Norvane {
namespace {

using testutil::Bulged;

std::string Exact(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.17g", value);
    return text;
}

struct Offsetted {
    int ok = 0;
    LoopOffsetReport report;
    Geom2DList before;
    Geom2DList after;
    std::size_t nodes = 0;
};

Offsetted OffsetCopy(const std::vector<Bulged>& vertices, bool reverse, int side, double d) {
    const PolyPatLoopPtr loop = testutil::MakeLoop(vertices, reverse);
    if (reverse)
        loop->ReverseDirection();  // the same loop run clockwise, its patterns followed
    Offsetted out;
    out.before = testutil::TravelGeom(*loop);
    PatIDPairList pairs;
    out.ok = LoopProcessor::OffsetPolyLoop(loop, side, d, pairs, out.report);
    out.after = testutil::TravelGeom(*loop);
    out.nodes = loop->GetLoopNodes()->size();
    return out;
}

// Checks that hold for every successful offset: closed, simple, at distance d, still running the same
// way, and grown or shrunk as asked.
::testing::AssertionResult OffsetHolds(const Offsetted& o, int side, double d) {
    const double tol = 1e-9 * std::max(1.0, d);
    if (auto r = testutil::ChainCloses(o.after, tol); !r)
        return r;
    if (auto r = testutil::IsSimple(o.after, 1e-9); !r)
        return r;
    if (auto r = testutil::AtDistance(o.before, o.after, d, tol); !r)
        return r;
    const double a0 = testutil::ChainSignedArea(o.before);
    const double a1 = testutil::ChainSignedArea(o.after);
    if (a0 * a1 <= 0.0)
        return ::testing::AssertionFailure() << "direction changed: " << a0 << " -> " << a1;
    if ((side == 0) != (std::fabs(a1) > std::fabs(a0))) {
        return ::testing::AssertionFailure() << "side " << side << " took area " << a0 << " to " << a1;
    }
    return ::testing::AssertionSuccess();
}

struct Tally {
    int tried = 0;
    int succeeded = 0;
};

// Every offset of a convex loop succeeds outward; its area follows Steiner's formula A + P d + pi d^2
// (the outward offset of a convex region adds a strip of width d along the perimeter and a disc's worth
// of corner arcs); and shrinking it back by d gives the original loop again, element for element.
TEST(LoopOffsetProperty, ConvexLoopsGrowByTheSteinerFormulaAndShrinkBackExactly) {
    std::mt19937 rng(1701);
    Tally tally;
    for (int trial = 0; trial < testutil::OffsetTrials(300); ++trial) {
        const std::vector<Bulged> vertices = testutil::RandomConvexLoop(rng);
        const double d = std::uniform_real_distribution<double>(0.01, 3.0)(rng);
        const bool reverse = trial % 2 == 1;
        SCOPED_TRACE("loop " + testutil::Literal(vertices) + " reversed " + std::to_string(reverse) + " d " +
                     Exact(d));
        const PolyPatLoopPtr loop = testutil::MakeLoop(vertices, reverse);
        const Geom2DList original = testutil::TravelGeom(*loop);
        const std::size_t count = loop->GetLoopNodes()->size();
        PatIDPairList pairs;
        ++tally.tried;
        ASSERT_EQ(1, LoopProcessor::OffsetPolyLoop(loop, 0, d, pairs));
        const Geom2DList grown = testutil::TravelGeom(*loop);
        const double area = std::fabs(testutil::ChainSignedArea(original));
        const double perimeter = testutil::Perimeter(original);
        const double expected = area + perimeter * d + MathEx::PI * d * d;
        EXPECT_NEAR(expected, std::fabs(testutil::ChainSignedArea(grown)), 1e-9 * expected);

        ASSERT_EQ(1, LoopProcessor::OffsetPolyLoop(loop, 1, d, pairs));
        const Geom2DList back = testutil::TravelGeom(*loop);
        EXPECT_EQ(count, loop->GetLoopNodes()->size());
        EXPECT_NEAR(area, std::fabs(testutil::ChainSignedArea(back)), 1e-9 * expected);
        EXPECT_TRUE(testutil::SameCurve(back, original, 1e-9 * (1.0 + d)));
        ++tally.succeeded;
    }
    EXPECT_EQ(tally.tried, tally.succeeded);
}

// Random concave loops and dumbbells, grown and shrunk, both directions of travel: whatever succeeds is a
// simple closed loop at exactly distance d on the asked side; failures are only the shrinks that leave
// nothing or several pieces.
TEST(LoopOffsetProperty, ConcaveLoopsAndNecksOffsetExactlyOrReportWhy) {
    std::mt19937 rng(4242);
    Tally tally;
    int vanished = 0;
    int split = 0;
    for (int trial = 0; trial < testutil::OffsetTrials(400); ++trial) {
        const bool dumbbell = trial % 4 == 3;
        const std::vector<Bulged> vertices =
            dumbbell ? testutil::RandomDumbbell(rng) : testutil::RandomStarLoop(rng);
        const double d = std::uniform_real_distribution<double>(0.02, dumbbell ? 1.2 : 2.0)(rng);
        const bool reverse = (trial / 2) % 2 == 1;
        for (const int side : {0, 1}) {
            SCOPED_TRACE("loop " + testutil::Literal(vertices) + " reversed " + std::to_string(reverse) +
                         " side " + std::to_string(side) + " d " + Exact(d));
            const Offsetted o = OffsetCopy(vertices, reverse, side, d);
            ++tally.tried;
            if (o.ok == 0) {
                EXPECT_EQ(1, side) << "growing failed: " << static_cast<int>(o.report.failure);
                EXPECT_TRUE(o.report.failure == LoopOffsetFailure::Vanishes ||
                            o.report.failure == LoopOffsetFailure::SplitsApart)
                    << static_cast<int>(o.report.failure);
                vanished += o.report.failure == LoopOffsetFailure::Vanishes ? 1 : 0;
                split += o.report.failure == LoopOffsetFailure::SplitsApart ? 1 : 0;
                continue;
            }
            ++tally.succeeded;
            EXPECT_TRUE(OffsetHolds(o, side, d));
        }
    }
    // The generators are meant to exercise both outcomes of shrinking.
    EXPECT_GT(tally.succeeded, tally.tried / 2);
    EXPECT_GT(split, 0);
    RecordProperty("tried", tally.tried);
    RecordProperty("succeeded", tally.succeeded);
    RecordProperty("vanished", vanished);
    RecordProperty("split", split);
}

}  // namespace
}  // namespace Norvane
