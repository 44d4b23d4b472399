// Kerf compensation of whole parts: which loops grow and which shrink, by which means, that every cut lies
// exactly half the kerf from what was drawn, what is left as drawn and why, what the cut cannot reach,
// where paths meet, and that the lists stay consistent.
#include <cmath>
#include <limits>
#include <map>
#include <string>
#include <unordered_set>
#include <vector>

#include <gtest/gtest.h>
#include <boost/make_shared.hpp>
#include <boost/pointer_cast.hpp>

#include "geomFeature/loop/PatLoopList.h"
#include "geomFeature/pattern/CirclePattern.h"
#include "geomFeature/pattern/EllipsePattern.h"
#include "geomFeature/pattern/PatLinePattern.h"
#include "geomFeature/pattern/RCHolePattern.h"
#include "geomFeature/pattern/RectHolePattern.h"
#include "geomFeature/processor/KerfCompensator.h"
#include "geomFeature/processor/LoopBuilder.h"
#include "tests/support/OffsetLoopSupport.h"
#include "tests/support/SeedLinkGuard.h"

namespace Norvane {
namespace {

using testutil::Bulged;

constexpr double kKerf = 0.4;
constexpr double kD = kKerf / 2.0;

// A part built from patterns, its loops, and the drawn outline of every loop by identifier.
struct Part {
    void Polygon(const std::vector<Bulged>& vertices) {
        for (std::size_t i = 0; i < vertices.size(); ++i) {
            const Bulged& v = vertices[i];
            const Bulged& w = vertices[(i + 1) % vertices.size()];
            Add(testutil::EdgePattern(Point2D(v.x, v.y), Point2D(w.x, w.y), v.sweep));
        }
    }
    IPatternPtr Add(const IPatternPtr& pattern) {
        pattern->UpdateCache();
        patterns->push_back(pattern);
        return pattern;
    }
    void Build() {
        loops = LoopBuilder::BuildPatLoops(patterns, 1e-4);
        LoopProcessor::UpdateCacheEx(loops);
        for (const IPatLoopPtr& loop : *loops) {
            for (const IGeom2DPtr& g : *loop->GetCacheData()->GetLoopBaseGeom()) {
                drawn[loop->GetID()].push_back(g->Clone());
            }
        }
    }
    // Every point of the cut (the loops now carrying the identifier) lies d from the drawn outline.
    ::testing::AssertionResult CutAtDistance(DataID id) const {
        Geom2DList cut;
        for (const IPatLoopPtr& loop : *loops) {
            if (loop->GetID() == id)
                cut.Append(*loop->GetCacheData()->GetLoopBaseGeom());
        }
        return testutil::AtDistance(drawn.at(id), cut, kD, 1e-9);
    }

    PatternListPtr patterns = boost::make_shared<PatternList>();
    PatLoopListPtr loops;
    KerfReport report;
    std::map<DataID, Geom2DList> drawn;
    testutil::SeedLinkGuard seeds;
};

std::vector<Bulged> Box(double left, double bottom, double right, double top) {
    return {{left, bottom, 0}, {right, bottom, 0}, {right, top, 0}, {left, top, 0}};
}

// One part holding every kind of loop; each row names a pattern of a loop and what the loop becomes.
TEST(KerfCompensatorTest, EveryLoopKindMovesIntoTheScrapByItsExactMeans) {
    struct Row {
        const char* name;
        IPatternPtr pattern;
        KerfLoopRole role;
        KerfMethod method;
        LoopOffsetFailure failure = LoopOffsetFailure::None;
    };
    using R = KerfLoopRole;
    using M = KerfMethod;
    Part part;
    part.Polygon(Box(0, 0, 100, 60));
    const IPatternPtr outer = part.patterns->back();
    part.Polygon(Box(50, 30, 80, 55));  // a hole with two islands
    const IPatternPtr hole = part.patterns->back();
    const auto corners = boost::make_shared<RCHolePattern>(Point2D(70, 15), 12.0, 8.0, 2.0, 0.3);
    const auto seed = boost::make_shared<CirclePattern>(Point2D(85, 40), 1.0);
    part.Add(seed);
    const auto row =
        part.seeds.Link(boost::make_shared<PatLinePattern>(Point2D(85, 40), Vector2D(4, 0), 3), seed);
    const auto tiny = boost::make_shared<CirclePattern>(Point2D(35, 45), kD);
    const std::vector<Row> rows = {
        {"polygon outer contour", outer, R::Outer, M::Engine},
        {"polygon hole", hole, R::Hole, M::Engine},
        {"circle hole", part.Add(boost::make_shared<CirclePattern>(Point2D(20, 20), 5.0)), R::Hole,
         M::OwnShape},
        {"rectangle hole: sharp corners stay sharp",
         part.Add(boost::make_shared<RectHolePattern>(Point2D(40, 10), Point2D(50, 16), 0.0)), R::Hole,
         M::OwnShape},
        {"rounded rectangle, r > d", part.Add(corners), R::Hole, M::OwnShape},
        {"rounded rectangle, r <= d: corners turn sharp",
         part.Add(boost::make_shared<RCHolePattern>(Point2D(90, 15), 6.0, 4.0, 0.1, 0.0)), R::Hole,
         M::Outline},
        {"ellipse: its offset is no ellipse",
         part.Add(boost::make_shared<EllipsePattern>(Point2D(20, 45), 0.4, 10.0, 5.0)), R::Hole, M::Outline},
        {"hole exactly as wide as the kerf", part.Add(tiny), R::Hole, M::None, LoopOffsetFailure::Vanishes},
        {"circle island", part.Add(boost::make_shared<CirclePattern>(Point2D(65, 42), 3.0)), R::Island,
         M::OwnShape},
        {"rectangle island grows round corners",
         part.Add(boost::make_shared<RectHolePattern>(Point2D(55, 32), Point2D(58, 35), 0.0)), R::Island,
         M::Outline},
        {"array of circles", part.Add(row), R::Hole, M::OwnShape},
        {"rectangle as a second part",
         part.Add(boost::make_shared<RectHolePattern>(Point2D(120, 0), Point2D(130, 10), 0.0)), R::Outer,
         M::Outline},
    };
    part.Build();
    std::map<const IPattern*, DataID> loopOf;
    for (const Row& r : rows) loopOf[r.pattern.get()] = part.loops->FindLoopByPat(r.pattern)->GetID();
    std::unordered_set<DataID> loopIDs;
    for (const IPatLoopPtr& loop : *part.loops) loopIDs.insert(loop->GetID());

    EXPECT_EQ(KerfCompensator::Compensate(part.patterns, part.loops, kKerf, part.report), rows.size() - 1);
    ASSERT_EQ(part.report.loops.size(), rows.size());
    EXPECT_TRUE(part.report.crossings.empty());
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        const auto o =
            std::find_if(part.report.loops.begin(), part.report.loops.end(),
                         [&](const KerfLoopOutcome& x) { return x.loopID == loopOf[r.pattern.get()]; });
        ASSERT_NE(o, part.report.loops.end());
        EXPECT_EQ(o->role, r.role);
        EXPECT_EQ(o->method, r.method);
        EXPECT_EQ(o->failure, r.failure);
        EXPECT_EQ(o->voidsFilled, 0);
        EXPECT_EQ(o->miss, 0.0);  // no feature narrower than the kerf, no corner under 60 degrees
        if (o->Offset()) {
            EXPECT_TRUE(part.CutAtDistance(o->loopID));
        }
    }
    // The rounded rectangle's corners moved by d, where its own offset would have scaled them.
    EXPECT_NEAR(corners->GetArcRadius(), 2.0 - kD, 1e-12);
    EXPECT_NEAR(seed->GetRadius(), 1.0 - kD, 1e-12);
    EXPECT_EQ(tiny->GetRadius(), kD);

    // Each loop keeps its identifier; each pattern is in the list once and in exactly one loop (a seed
    // through its array).
    std::unordered_set<DataID> seen;
    std::size_t inLoops = 0;
    for (const IPatLoopPtr& loop : *part.loops) {
        EXPECT_EQ(loopIDs.count(loop->GetID()), 1u);
        const PatternListPtr ofLoop = loop->GetPatternList();
        for (const IPatternPtr& p : *ofLoop) EXPECT_GE(part.patterns->GetPatternIndex(p), 0);
        inLoops += ofLoop->size();
    }
    for (const IPatternPtr& p : *part.patterns) EXPECT_TRUE(seen.insert(p->GetID()).second);
    EXPECT_EQ(inLoops, part.patterns->size());
    EXPECT_EQ(part.patterns->GetPatternIndex(outer), -1);  // replaced by the offset patterns
}

// What the cut gets wrong although every offset was made, one small part per row: features narrower than
// the kerf, corners sharper than 60 degrees, gaps closed over, paths that meet.
struct TroubleCase {
    const char* name;
    std::vector<std::vector<Bulged>> polygons;  // the first is the outer contour
    double islandRadius;                        // > 0: a circle at (5, 5) as well
    bool missed;                                // some drawn point out of the cutter's reach
    int voids;                                  // gaps the outer contour closed over
    std::size_t crossings;
};

void PrintTo(const TroubleCase& c, std::ostream* os) {
    *os << c.name;
}

const std::vector<Bulged> kFrame = Box(-10, -10, 20, 20);
const std::vector<Bulged> kSquare = Box(0, 0, 10, 10);

// A square hole with a slit of that width from the middle of its top side.
std::vector<Bulged> Slit(double width) {
    const double a = 5 - width / 2;
    const double b = 5 + width / 2;
    return {{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {b, 10, 0}, {b, 13, 0}, {a, 13, 0}, {a, 10, 0}, {0, 10, 0}};
}

const TroubleCase kTroubleCases[] = {
    {"SquareHoleIsReachedEverywhere", {kFrame, kSquare}, 0, false, 0, 0},
    {"SlitNarrowerThanTheKerf", {kFrame, Slit(0.2)}, 0, true, 0, 0},
    {"SlitWiderThanTheKerf", {kFrame, Slit(0.6)}, 0, false, 0, 0},
    // Equilateral: exactly a kerf between each corner tip and the path, which still counts as reached.
    {"SixtyDegreeCornersAreReached",
     {kFrame, {{0, 0, 0}, {10, 0, 0}, {5, 5 * std::sqrt(3.0), 0}}},
     0,
     false,
     0,
     0},
    {"ThirtyDegreeCornerIsNot",
     {kFrame, {{0, 0, 0}, {10, 0, 0}, {0, 10 / std::sqrt(3.0), 0}}},
     0,
     true,
     0,
     0},
    {"BayWithANarrowMouthIsClosedOver",
     {{{0, 0, 0},
       {10, 0, 0},
       {10, 10, 0},
       {5.15, 10, 0},
       {5.15, 7, 0},
       {7, 7, 0},
       {7, 3, 0},
       {3, 3, 0},
       {3, 7, 0},
       {4.85, 7, 0},
       {4.85, 10, 0},
       {0, 10, 0}}},
     0,
     true,
     1,
     0},
    {"PartsCloserThanTheKerfMeet", {Box(0, 0, 4, 4), Box(4.3, 0, 8, 4)}, 0, false, 0, 1},
    {"PartsFartherApartDoNot", {Box(0, 0, 4, 4), Box(4.5, 0, 8, 4)}, 0, false, 0, 0},
    {"IslandCloserToItsHoleThanTheKerf", {kFrame, kSquare}, 4.7, false, 0, 1},
    {"IslandWithRoomAround", {kFrame, kSquare}, 4.5, false, 0, 0},
};

class KerfTroubleTest : public ::testing::TestWithParam<TroubleCase> {};

TEST_P(KerfTroubleTest, IsReportedAndTheOffsetIsStillMade) {
    const TroubleCase& c = GetParam();
    Part part;
    for (const auto& polygon : c.polygons) part.Polygon(polygon);
    if (c.islandRadius > 0)
        part.Add(boost::make_shared<CirclePattern>(Point2D(5, 5), c.islandRadius));
    part.Build();
    EXPECT_EQ(KerfCompensator::Compensate(part.patterns, part.loops, kKerf, part.report), part.loops->size());
    bool missed = false;
    int voids = 0;
    for (const KerfLoopOutcome& o : part.report.loops) {
        missed = missed || o.miss > 0.0;
        voids += o.voidsFilled;
        if (o.miss > 0.0) {
            EXPECT_GT(o.miss, kD);
            EXPECT_EQ(o.box.ContainPt(o.missAt), 1);
        }
    }
    EXPECT_EQ(missed, c.missed);
    EXPECT_EQ(voids, c.voids);
    EXPECT_EQ(part.report.crossings.size(), c.crossings);
}

INSTANTIATE_TEST_SUITE_P(Cases, KerfTroubleTest, ::testing::ValuesIn(kTroubleCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(KerfCompensatorTest, AKerfThatIsNoPositiveNumberChangesNothing) {
    for (double kerf :
         {0.0, -0.2, std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()}) {
        Part part;
        part.Polygon(kSquare);
        part.Build();
        const std::vector<IPatternPtr> before(part.patterns->begin(), part.patterns->end());
        EXPECT_EQ(KerfCompensator::Compensate(part.patterns, part.loops, kerf, part.report), 0u);
        EXPECT_TRUE(part.report.loops.empty());
        EXPECT_EQ(std::vector<IPatternPtr>(part.patterns->begin(), part.patterns->end()), before);
    }
}

}  // namespace
}  // namespace Norvane
