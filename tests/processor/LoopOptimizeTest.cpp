// Loop optimisation: chords of circles and arcs fitted back into arcs within the tolerance, collinear
// pieces merged, duplicate loops removed.
#include <algorithm>
#include <cmath>
#include <random>
#include <set>
#include <vector>

#include <gtest/gtest.h>
#include <boost/make_shared.hpp>
#include <boost/pointer_cast.hpp>

#include "geomFeature/host/mathkit/MathEx.h"
#include "geomFeature/loop/PatLoopList.h"
#include "geomFeature/loop/PolyPatLoop.h"
#include "geomFeature/pattern/ArcPattern.h"
#include "geomFeature/pattern/LinePattern.h"
#include "geomFeature/pattern/PatternList.h"
#include "geomFeature/processor/LoopProcessor.h"
#include "tests/support/GeomExpect.h"

namespace Norvane {
namespace {

constexpr double kPi = MathEx::PI;

// One polygon loop of lines through the points in order (closed when the last point repeats the first).
PolyPatLoopPtr Chain(const std::vector<Point2D>& points) {
    auto loop = boost::make_shared<PolyPatLoop>();
    for (std::size_t i = 1; i < points.size(); ++i) {
        auto line = boost::make_shared<LinePattern>(points[i - 1], points[i]);
        line->UpdateCache();
        loop->AppendPattern(line, 1);
    }
    LoopProcessor::UpdateCache(IPatLoopPtr(loop));
    return loop;
}

Point2D OnCircle(const Point2D& c, double r, double a) {
    return Point2D(c.x + r * std::cos(a), c.y + r * std::sin(a));
}

// The largest distance from the old polyline (sampled finely) to the loop's patterns.
double Deviation(const std::vector<Point2D>& old, const PolyPatLoop& loop) {
    double worst = 0.0;
    for (std::size_t i = 1; i < old.size(); ++i) {
        for (int s = 0; s <= 16; ++s) {
            const Point2D p = old[i - 1] + (old[i] - old[i - 1]) * (s / 16.0);
            double nearest = 1e300;
            for (const PatLoopNodePtr& node : *const_cast<PolyPatLoop&>(loop).GetLoopNodes()) {
                nearest = std::min(nearest, node->GetPat()->DistanceTo(p));
            }
            worst = std::max(worst, nearest);
        }
    }
    return worst;
}

struct Random {
    std::mt19937 engine;
    double operator()(double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(engine); }
};

// n chords of a whole circle, or of an arc between two sharp lead lines (turns far above ten degrees, so the
// leads are segments of their own). Vertices lie on the circle; a chord's sagitta is r (1 - cos(step / 2)).
struct ChordCase {
    std::vector<Point2D> points;
    double sagitta;
    bool whole;
};

ChordCase MakeChords(Random& random, bool whole) {
    const Point2D c(random(-100, 100), random(-100, 100));
    const double r = random(1, 200);
    const double sense = random(0, 1) < 0.5 ? -1.0 : 1.0;
    const double sweep = whole ? 2 * kPi : random(kPi / 4, 1.5 * kPi);
    // Steps of at most eight degrees: the chords stay one segment (turns of ten degrees or less).
    const int n = static_cast<int>(std::ceil(sweep / (8 * kPi / 180)) + random(0, 40));
    const double step = sweep / n;
    const double a0 = random(-kPi, kPi);
    ChordCase chords{{}, r * (1 - std::cos(step / 2)), whole};
    if (!whole)
        chords.points.push_back(OnCircle(c, 2 * r, a0 - sense * 0.5));
    for (int i = 0; i <= n; ++i) {
        chords.points.push_back(i == n && whole ? chords.points.front()
                                                : OnCircle(c, r, a0 + sense * i * step));
    }
    if (!whole)
        chords.points.push_back(OnCircle(c, 2 * r, a0 + sense * (sweep + 0.5)));
    return chords;
}

// Generated chains of chords: whatever the tolerance, the fit never strays farther than it, and the loop
// keeps its start and its closedness. A tolerance a little above the sagitta s collapses the chords into
// one arc (a whole circle into one full arc). Half of it leaves every chord: an arc through the ends of k
// chords strays at least 8s/13 from them (k = 3; more for longer runs), two chords are no line.
TEST(OptimizeToArc, ChordsOfCirclesAndArcs) {
    Random random{std::mt19937(7)};
    for (int trial = 0; trial < 40; ++trial) {
        const ChordCase chords = MakeChords(random, trial % 2 == 0);
        const std::size_t lines = chords.points.size() - 1;
        for (const double factor : {0.5, 1.1, random(0.2, 5.0)}) {
            const double tol = factor * chords.sagitta;
            PolyPatLoopPtr loop = Chain(chords.points);
            LoopProcessor::OptimizeToArc(loop, tol);
            const std::size_t nodes = loop->GetLoopNodes()->size();
            SCOPED_TRACE(::testing::Message() << "trial " << trial << " factor " << factor);
            if (nodes < lines) {  // with nothing replaced, nothing can have moved
                EXPECT_LE(Deviation(chords.points, *loop), tol * (1 + 1e-9) + 1e-12);
            }
            EXPECT_TRUE(testutil::PointNear(loop->GetStartPt(), chords.points.front(), 1e-9));
            EXPECT_EQ(loop->IsOpenPath(1e-4), chords.whole ? 0 : 1);
            if (factor == 0.5) {
                EXPECT_EQ(nodes, lines);
            } else if (factor == 1.1) {
                EXPECT_EQ(nodes, chords.whole ? 1u : 3u);
            }
        }
    }
}

// Noisy vertices: replacement pieces may be lines or arcs of any length, but none strays beyond the
// tolerance and the chain still runs from its first to its last point.
TEST(OptimizeToArc, NoisyChainsStayWithinTolerance) {
    Random random{std::mt19937(11)};
    for (int trial = 0; trial < 30; ++trial) {
        const Point2D c(random(-50, 50), random(-50, 50));
        const double r = random(5, 100);
        const double noise = random(1e-4, 1e-2) * r;
        std::vector<Point2D> points;
        const int n = 60;
        for (int i = 0; i <= n; ++i)
            points.push_back(OnCircle(c, r + random(-noise, noise), 1.5 * kPi * i / n));
        const double tol = random(0.5, 3.0) * noise;
        PolyPatLoopPtr loop = Chain(points);
        LoopProcessor::OptimizeToArc(loop, tol);
        EXPECT_LE(Deviation(points, *loop), tol * (1 + 1e-9) + 1e-12) << "trial " << trial;
        EXPECT_TRUE(testutil::PointNear(loop->GetStartPt(), points.front()));
        EXPECT_TRUE(testutil::PointNear(loop->GetEndPt(), points.back(), 1e-9));
    }
}

// A 10 x 10 square whose bottom side is three collinear pieces, the loop starting at ring corner `start`.
// Both merges turn the side into one line. When the loop starts inside the side, the piece before the start
// stays apart (the loop keeps its start), and OptimizeToLine leaves the two pieces after it alone too: it
// passes segments of fewer than three nodes through.
struct SquareCase {
    const char* name;
    int start;
    std::size_t merged;     // nodes after MergeCoLineNode
    std::size_t optimised;  // nodes after OptimizeToLine
};

class SquareSide : public ::testing::TestWithParam<SquareCase> {};

TEST_P(SquareSide, CollinearPiecesMergeIntoOneLine) {
    const std::vector<Point2D> ring = {Point2D(0, 0),  Point2D(3, 0),   Point2D(7, 0),
                                       Point2D(10, 0), Point2D(10, 10), Point2D(0, 10)};
    std::vector<Point2D> points;
    for (std::size_t i = 0; i <= ring.size(); ++i)
        points.push_back(ring[(GetParam().start + i) % ring.size()]);
    for (const bool lines : {false, true}) {
        PolyPatLoopPtr loop = Chain(points);
        if (lines) {
            LoopProcessor::OptimizeToLine(loop, 1e-6);
        } else {
            LoopProcessor::MergeCoLineNode(loop);
        }
        EXPECT_EQ(loop->GetLoopNodes()->size(), lines ? GetParam().optimised : GetParam().merged)
            << (lines ? "OptimizeToLine" : "MergeCoLineNode");
        EXPECT_TRUE(testutil::PointNear(loop->GetStartPt(), points.front()));
        EXPECT_EQ(loop->IsOpenPath(1e-4), 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Starts, SquareSide,
                         ::testing::Values(SquareCase{"AtCorner", 0, 4, 4},
                                           SquareCase{"AtOtherCorner", 3, 4, 4},
                                           SquareCase{"InsideTheSide", 1, 5, 6}),
                         [](const auto& info) { return std::string(info.param.name); });

// OptimizeToLine bounds the change of direction, not the distance: a bend whose squared unit-vector change
// is above the tolerance stops the line, below it joins. The node after a segment's first always joins (it
// defines the direction), and the original patterns are never changed.
TEST(OptimizeToLine, JoinsWithinTheDirectionBoundOnly) {
    // Two lines along x, then two bent by 0.05 rad. Seen from the start, the bent lines' ends lie 0.0167 and
    // 0.025 rad off the first direction: squared unit-vector changes of 2.8e-4 and 6.2e-4.
    const std::vector<Point2D> points = {Point2D(0, 0), Point2D(10, 0), Point2D(20, 0),
                                         Point2D(20 + 10 * std::cos(0.05), 10 * std::sin(0.05)),
                                         Point2D(20 + 20 * std::cos(0.05), 20 * std::sin(0.05))};
    PolyPatLoopPtr strict = Chain(points);
    const IPatternPtr first = strict->GetPatByNodeIdx(0);
    LoopProcessor::OptimizeToLine(strict, 0.0001);
    EXPECT_EQ(strict->GetLoopNodes()->size(), 2u);
    EXPECT_TRUE(testutil::PointNear(first->GetEndPoint(), Point2D(10, 0)));  // untouched original

    PolyPatLoopPtr loose = Chain(points);
    LoopProcessor::OptimizeToLine(loose, 0.01);
    EXPECT_EQ(loose->GetLoopNodes()->size(), 1u);
    EXPECT_TRUE(testutil::PointNear(loose->GetEndPt(), points.back()));
}

// --- Duplicate loops ---------------------------------------------------------------------------------

PatLoopListPtr LoopsOf(const std::vector<std::vector<Point2D>>& chains) {
    auto loops = boost::make_shared<PatLoopList>();
    for (const auto& chain : chains) loops->push_back(Chain(chain));
    return loops;
}

std::vector<Point2D> Box(double x, double y, double w, double h, int pieces = 4) {
    std::vector<Point2D> p = {Point2D(x, y), Point2D(x + w, y), Point2D(x + w, y + h), Point2D(x, y + h),
                              Point2D(x, y)};
    if (pieces == 5)
        p.insert(p.begin() + 1, Point2D(x + w / 2, y));
    return p;
}

// The result as stated: every loop that overlaps an earlier one goes (checked with all pairs here).
std::set<DataID> AllPairsDoomed(const PatLoopList& loops) {
    std::set<DataID> doomed;
    for (std::size_t i = 0; i < loops.size(); ++i)
        for (std::size_t j = i + 1; j < loops.size(); ++j)
            if (LoopProcessor::TwoLoopsOverlapped(loops[i].get(), loops[j].get()))
                doomed.insert(loops[j]->GetID());
    return doomed;
}

TEST(DeleteOverlappedLoops, KeepsTheFirstOfEachDuplicateGroupInOrder) {
    // Shifts within 1e-4 are duplicates, beyond it not; equal box and length but five pieces is no duplicate.
    PatLoopListPtr loops =
        LoopsOf({Box(0, 0, 10, 5), Box(50, 0, 3, 3), Box(0.00005, 0, 10, 5), Box(0, 0, 10, 5),
                 Box(0.0002, 0, 10, 5), Box(0, 0, 10, 5, 5), Box(50, 0, 3, 3)});
    const std::vector<DataID> ids = {(*loops)[0]->GetID(), (*loops)[1]->GetID(), (*loops)[4]->GetID(),
                                     (*loops)[5]->GetID()};
    LoopProcessor::DeleteOverlappedLoops(loops);
    std::vector<DataID> left;
    for (const IPatLoopPtr& loop : *loops) left.push_back(loop->GetID());
    EXPECT_EQ(left, ids);
}

TEST(DeleteOverlappedLoops, MatchesTheAllPairsResultOnRandomLists) {
    Random random{std::mt19937(3)};
    for (int trial = 0; trial < 20; ++trial) {
        std::vector<std::vector<Point2D>> chains;
        for (int k = 0; k < 150; ++k) {
            const int base = static_cast<int>(random(0, 12));
            // Nearby corners straddling the tolerance, so that overlap is not transitive.
            chains.push_back(
                Box(base * 7.0 + random(0, 3e-4), random(0, 3e-4), 5 + base % 3, 4, base % 2 ? 4 : 5));
        }
        PatLoopListPtr loops = LoopsOf(chains);
        const std::set<DataID> doomed = AllPairsDoomed(*loops);
        std::vector<DataID> expected;
        for (const IPatLoopPtr& loop : *loops)
            if (!doomed.count(loop->GetID()))
                expected.push_back(loop->GetID());
        LoopProcessor::DeleteOverlappedLoops(loops);
        std::vector<DataID> left;
        for (const IPatLoopPtr& loop : *loops) left.push_back(loop->GetID());
        EXPECT_EQ(left, expected) << "trial " << trial;
    }
}

// The list forms leave the pattern list holding exactly what the loops use.
TEST(OptimizeLists, RefillThePatternListFromTheLoops) {
    Random random{std::mt19937(5)};
    auto patterns = boost::make_shared<PatternList>();
    PatLoopListPtr loops = LoopsOf({MakeChords(random, true).points, Box(300, 0, 10, 5, 5)});
    for (const IPatLoopPtr& loop : *loops) patterns->AddPatterns(loop->GetPatternList());
    LoopProcessor::OptimizeToArc(loops, patterns, 1e-6, 1.0);
    std::set<DataID> used;
    for (const IPatLoopPtr& loop : *loops) {
        const PatternListPtr own = loop->GetPatternList();
        for (const IPatternPtr& p : *own) used.insert(p->GetID());
    }
    std::set<DataID> listed;
    for (const IPatternPtr& p : *patterns) listed.insert(p->GetID());
    EXPECT_EQ(listed, used);
    EXPECT_EQ(patterns->size(), 1u + 4u);  // the circle's full arc, the box's four sides
}

}  // namespace
}  // namespace Norvane
