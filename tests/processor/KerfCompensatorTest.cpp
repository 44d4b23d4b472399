// Kerf compensation of whole parts: which loops grow and which shrink, by which means, that every cut
// lies exactly half the kerf from what was drawn, what is left as drawn and why, what the cut cannot reach,
// where paths meet, and that the lists stay consistent.
#include <algorithm>
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

// A part built from patterns, with its loops, and the drawn outline of every loop by identifier.
class Part {
public:
    void Polygon(const std::vector<Bulged>& vertices) {
        for (std::size_t i = 0; i < vertices.size(); ++i) {
            const Bulged& v = vertices[i];
            const Bulged& w = vertices[(i + 1) % vertices.size()];
            Add(testutil::EdgePattern(Point2D(v.x, v.y), Point2D(w.x, w.y), v.sweep));
        }
    }
    void Rectangle(double left, double bottom, double right, double top) {
        Polygon({{left, bottom, 0}, {right, bottom, 0}, {right, top, 0}, {left, top, 0}});
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
            Geom2DList& drawn = m_drawn[loop->GetID()];
            for (const IGeom2DPtr& g : *loop->GetCacheData()->GetLoopBaseGeom()) drawn.push_back(g->Clone());
        }
    }
    std::size_t Compensate(double kerf = kKerf) {
        return KerfCompensator::Compensate(patterns, loops, kerf, report);
    }

    const KerfLoopOutcome& OutcomeOf(const IPatternPtr& pattern) const {
        const IPatLoopPtr loop = m_loopOf.at(pattern.get());
        for (const KerfLoopOutcome& o : report.loops) {
            if (o.loopID == loop->GetID())
                return o;
        }
        throw std::logic_error("no outcome");
    }
    // Remembers each pattern's loop before the compensation replaces patterns.
    void Remember(const IPatternPtr& pattern) { m_loopOf[pattern.get()] = loops->FindLoopByPat(pattern); }

    // Every point of the cut (the loops now carrying the identifier) lies d from the drawn outline.
    ::testing::AssertionResult CutAtDistance(DataID id, double d) const {
        Geom2DList cut;
        for (const IPatLoopPtr& loop : *loops) {
            if (loop->GetID() == id)
                cut.Append(*loop->GetCacheData()->GetLoopBaseGeom());
        }
        if (cut.empty())
            return ::testing::AssertionFailure() << "no loop " << id;
        return testutil::AtDistance(m_drawn.at(id), cut, d, 1e-9);
    }

    PatternListPtr patterns = boost::make_shared<PatternList>();
    PatLoopListPtr loops;
    KerfReport report;
    testutil::SeedLinkGuard seeds;

private:
    std::map<DataID, Geom2DList> m_drawn;
    std::map<const IPattern*, IPatLoopPtr> m_loopOf;
};

struct Expect {
    const char* name;
    KerfLoopRole role;
    KerfMethod method;
    LoopOffsetFailure failure;
};

// One part holding every kind of loop. Each row names a pattern of a loop and what its loop becomes.
TEST(KerfCompensatorTest, EveryLoopKindMovesIntoTheScrapByItsExactMeans) {
    Part part;
    part.Rectangle(0, 0, 100, 60);
    const IPatternPtr outer = (*part.patterns)[0];
    const IPatternPtr circle = part.Add(boost::make_shared<CirclePattern>(Point2D(20, 20), 5.0));
    const IPatternPtr rect =
        part.Add(boost::make_shared<RectHolePattern>(Point2D(40, 10), Point2D(50, 16), 0.0));
    const auto roundCorners = boost::make_shared<RCHolePattern>(Point2D(70, 15), 12.0, 8.0, 2.0, 0.3);
    part.Add(roundCorners);
    const IPatternPtr nearlySharp =
        part.Add(boost::make_shared<RCHolePattern>(Point2D(90, 15), 6.0, 4.0, 0.1, 0.0));
    const IPatternPtr ellipse = part.Add(boost::make_shared<EllipsePattern>(Point2D(20, 45), 0.4, 10.0, 5.0));
    const IPatternPtr tiny = part.Add(boost::make_shared<CirclePattern>(Point2D(35, 45), kD));
    part.Rectangle(50, 30, 80, 55);  // a hole with two islands
    const IPatternPtr bigHole = part.patterns->back();
    const IPatternPtr islandCircle = part.Add(boost::make_shared<CirclePattern>(Point2D(65, 42), 3.0));
    const IPatternPtr islandRect =
        part.Add(boost::make_shared<RectHolePattern>(Point2D(55, 32), Point2D(58, 35), 0.0));
    const auto seed = boost::make_shared<CirclePattern>(Point2D(85, 40), 1.0);
    const auto row = boost::make_shared<PatLinePattern>(Point2D(85, 40), Vector2D(4, 0), 3);
    part.seeds.Link(row, seed);
    part.Add(seed);
    part.Add(row);
    const IPatternPtr secondPart =
        part.Add(boost::make_shared<RectHolePattern>(Point2D(120, 0), Point2D(130, 10), 0.0));
    part.Build();
    const std::size_t loopsBefore = part.loops->size();

    const std::vector<std::pair<IPatternPtr, Expect>> rows = {
        {outer, {"polygon outer contour", KerfLoopRole::Outer, KerfMethod::Engine, LoopOffsetFailure::None}},
        {circle, {"circle hole", KerfLoopRole::Hole, KerfMethod::OwnShape, LoopOffsetFailure::None}},
        {rect,
         {"rectangle hole (sharp corners stay sharp)", KerfLoopRole::Hole, KerfMethod::OwnShape,
          LoopOffsetFailure::None}},
        {roundCorners,
         {"rounded rectangle, r > d", KerfLoopRole::Hole, KerfMethod::OwnShape, LoopOffsetFailure::None}},
        {nearlySharp,
         {"rounded rectangle, r <= d", KerfLoopRole::Hole, KerfMethod::Outline, LoopOffsetFailure::None}},
        {ellipse,
         {"ellipse (its offset is no ellipse)", KerfLoopRole::Hole, KerfMethod::Outline,
          LoopOffsetFailure::None}},
        {tiny,
         {"hole exactly as wide as the kerf", KerfLoopRole::Hole, KerfMethod::None,
          LoopOffsetFailure::Vanishes}},
        {bigHole, {"polygon hole", KerfLoopRole::Hole, KerfMethod::Engine, LoopOffsetFailure::None}},
        {islandCircle,
         {"circle island", KerfLoopRole::Island, KerfMethod::OwnShape, LoopOffsetFailure::None}},
        {islandRect,
         {"rectangle island (grows round corners)", KerfLoopRole::Island, KerfMethod::Outline,
          LoopOffsetFailure::None}},
        {row, {"array of circles", KerfLoopRole::Hole, KerfMethod::OwnShape, LoopOffsetFailure::None}},
        {secondPart,
         {"rectangle as a second part", KerfLoopRole::Outer, KerfMethod::Outline, LoopOffsetFailure::None}},
    };
    for (const auto& [pattern, expect] : rows) part.Remember(pattern);

    EXPECT_EQ(part.Compensate(), rows.size() - 1);
    EXPECT_EQ(part.report.loops.size(), loopsBefore);
    EXPECT_TRUE(part.report.crossings.empty());
    for (const auto& [pattern, expect] : rows) {
        SCOPED_TRACE(expect.name);
        const KerfLoopOutcome& o = part.OutcomeOf(pattern);
        EXPECT_EQ(o.role, expect.role);
        EXPECT_EQ(o.method, expect.method);
        EXPECT_EQ(o.failure, expect.failure);
        EXPECT_EQ(o.voidsFilled, 0);
        EXPECT_EQ(o.miss, 0.0);  // no feature narrower than the kerf, no corner sharper than 60 degrees
        if (o.Offset()) {
            EXPECT_TRUE(part.CutAtDistance(o.loopID, kD));
        }
    }
    // The rounded rectangle's corners moved by d, where its own offset would have scaled them.
    EXPECT_NEAR(roundCorners->GetArcRadius(), 2.0 - kD, 1e-12);
    EXPECT_NEAR(boost::dynamic_pointer_cast<CirclePattern>(seed)->GetRadius(), 1.0 - kD, 1e-12);
    EXPECT_NEAR(boost::dynamic_pointer_cast<CirclePattern>(tiny)->GetRadius(), kD, 0.0);  // untouched
}

// Replaced patterns leave the list, new ones join it, every loop keeps its identifier, and the part is as
// consistent as a freshly built one: each pattern once, in exactly one loop (seeds through their array).
TEST(KerfCompensatorTest, TheListsStayConsistent) {
    Part part;
    part.Rectangle(0, 0, 50, 40);
    part.Add(boost::make_shared<RectHolePattern>(Point2D(60, 0), Point2D(70, 10), 0.0));  // decomposed
    part.Add(boost::make_shared<CirclePattern>(Point2D(10, 10), 2.0));
    part.Rectangle(20, 20, 30, 30);
    part.Build();
    std::vector<DataID> before;
    for (const IPatternPtr& p : *part.patterns) before.push_back(p->GetID());
    std::unordered_set<DataID> loopIDs;
    for (const IPatLoopPtr& loop : *part.loops) loopIDs.insert(loop->GetID());

    EXPECT_EQ(part.Compensate(), 4u);
    std::unordered_set<DataID> seen;
    std::size_t inLoops = 0;
    for (const IPatLoopPtr& loop : *part.loops) {
        EXPECT_EQ(loopIDs.count(loop->GetID()), 1u);
        EXPECT_EQ(loop->IsOpenPath(1e-12), 0);
        const PatternListPtr ofLoop = loop->GetPatternList();
        for (const IPatternPtr& p : *ofLoop) {
            EXPECT_GE(part.patterns->GetPatternIndex(p), 0);
            ++inLoops;
        }
    }
    for (const IPatternPtr& p : *part.patterns) EXPECT_TRUE(seen.insert(p->GetID()).second);
    EXPECT_EQ(inLoops, part.patterns->size());
    // Only the circle kept its pattern object; the polygons and the decomposed rectangle were replaced.
    std::size_t kept = 0;
    for (DataID id : before) kept += seen.count(id);
    EXPECT_EQ(kept, 1u);
    EXPECT_EQ(part.patterns->IsModified(), 1);
}

// What the cut gets wrong although every offset was made, one small part per row (kerf 0.4): features
// narrower than the kerf, corners sharper than 60 degrees, gaps closed over, paths that meet.
struct TroubleCase {
    const char* name;
    std::vector<std::vector<Bulged>> polygons;  // the first is the outer contour
    double circleRadius;                        // > 0: a circle at (5, 5) as well
    bool missed;                                // some drawn point out of the cutter's reach
    int voids;                                  // gaps the outer contour closed over
    std::size_t crossings;
};

void PrintTo(const TroubleCase& c, std::ostream* os) {
    *os << c.name;
}

const std::vector<Bulged> kFrame = {{-10, -10, 0}, {20, -10, 0}, {20, 20, 0}, {-10, 20, 0}};

const TroubleCase kTroubleCases[] = {
    {"SquareHoleIsReachedEverywhere",
     {kFrame, {{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}}},
     0,
     false,
     0,
     0},
    {"SlitNarrowerThanTheKerf",
     {kFrame,
      {{0, 0, 0},
       {10, 0, 0},
       {10, 10, 0},
       {5.1, 10, 0},
       {5.1, 13, 0},
       {4.9, 13, 0},
       {4.9, 10, 0},
       {0, 10, 0}}},
     0,
     true,
     0,
     0},
    {"SlitWiderThanTheKerf",
     {kFrame,
      {{0, 0, 0},
       {10, 0, 0},
       {10, 10, 0},
       {5.3, 10, 0},
       {5.3, 13, 0},
       {4.7, 13, 0},
       {4.7, 10, 0},
       {0, 10, 0}}},
     0,
     false,
     0,
     0},
    // Equilateral: exactly a kerf between each corner tip and the path, which still counts as reached.
    {"SixtyDegreeCornersAreReached",
     {kFrame, {{0, 0, 0}, {10, 0, 0}, {5, 5 * std::sqrt(3.0), 0}}},
     0,
     false,
     0,
     0},
    {"ThirtyDegreeCornerIsNot",
     {kFrame, {{0, 0, 0}, {10, 0, 0}, {0, 10 * std::tan(3.14159265358979 / 6), 0}}},
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
    {"PartsCloserThanTheKerfMeet",
     {{{0, 0, 0}, {4, 0, 0}, {4, 4, 0}, {0, 4, 0}}, {{4.3, 0, 0}, {8, 0, 0}, {8, 4, 0}, {4.3, 4, 0}}},
     0,
     false,
     0,
     1},
    {"PartsFartherApartDoNot",
     {{{0, 0, 0}, {4, 0, 0}, {4, 4, 0}, {0, 4, 0}}, {{4.5, 0, 0}, {8, 0, 0}, {8, 4, 0}, {4.5, 4, 0}}},
     0,
     false,
     0,
     0},
    {"IslandCloserToItsHoleThanTheKerf",
     {kFrame, {{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}}},
     4.7,
     false,
     0,
     1},
    {"IslandWithRoomAround", {kFrame, {{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}}}, 4.5, false, 0, 0},
};

class KerfTroubleTest : public ::testing::TestWithParam<TroubleCase> {};

TEST_P(KerfTroubleTest, IsReportedAndTheOffsetIsStillMade) {
    const TroubleCase& c = GetParam();
    Part part;
    for (const auto& polygon : c.polygons) part.Polygon(polygon);
    if (c.circleRadius > 0)
        part.Add(boost::make_shared<CirclePattern>(Point2D(5, 5), c.circleRadius));
    part.Build();
    EXPECT_EQ(part.Compensate(), part.loops->size());
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

// A kerf that is no finite positive number changes nothing.
TEST(KerfCompensatorTest, RefusesAKerfThatIsNoPositiveNumber) {
    for (double kerf :
         {0.0, -0.2, std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()}) {
        Part part;
        part.Rectangle(0, 0, 10, 10);
        part.Build();
        const std::vector<IPatternPtr> before(part.patterns->begin(), part.patterns->end());
        EXPECT_EQ(part.Compensate(kerf), 0u);
        EXPECT_TRUE(part.report.loops.empty());
        EXPECT_EQ(std::vector<IPatternPtr>(part.patterns->begin(), part.patterns->end()), before);
    }
}

}  // namespace
}  // namespace Norvane
