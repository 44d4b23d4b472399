// Loop offsetting: the polygon engine on shapes whose offsets are known by hand, every loop kind through
// LoopProcessor::OffsetPolyLoop, and the two clamps.
#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>
#include <boost/make_shared.hpp>

#include "geomFeature/host/mathkit/MathEx.h"
#include "geomFeature/loop/ArrayPatLoop.h"
#include "geomFeature/loop/StdPatLoop.h"
#include "geomFeature/pattern/CirclePattern.h"
#include "geomFeature/pattern/PatCirclePattern.h"
#include "geomFeature/pattern/RectHolePattern.h"
#include "geomFeature/processor/PolyLoopOffsetter.h"
#include "tests/support/OffsetLoopSupport.h"
#include "tests/support/SeedLinkGuard.h"

namespace Norvane {
namespace {

using testutil::Bulged;
constexpr double kPi = MathEx::PI;

// Area of a polygon offset, worked out by hand: the original area, a strip of width d along every edge,
// a sector of d at every convex corner (exterior angle t) and, growing, a square-ish overlap of d^2 tan(t/2)
// lost at every concave one; shrinking swaps the roles of the two kinds of corner.
struct Row {
    std::string name;
    std::vector<Bulged> loop;
    int side;
    double d;
    LoopOffsetFailure failure;
    int lines;  // of the offset loop; -1: not checked
    int arcs;
    double area;  // absolute area of the offset loop; NaN: not checked
    int voidsFilled;
};

std::ostream& operator<<(std::ostream& os, const Row& row) {
    return os << row.name;
}

const double kNaN = std::numeric_limits<double>::quiet_NaN();

// 20 x 10 with a notch 1 wide and 5 deep in the top edge.
const std::vector<Bulged> kNotched = {{0, 0, 0},    {20, 0, 0},  {20, 10, 0},  {10.5, 10, 0},
                                      {10.5, 5, 0}, {9.5, 5, 0}, {9.5, 10, 0}, {0, 10, 0}};
// A 20 x 20 square ring round a 10 x 10 hole, opened to the outside by a slit 0.5 wide.
const std::vector<Bulged> kKeyhole = {{0, 0, 0},      {20, 0, 0},    {20, 20, 0},   {10.25, 20, 0},
                                      {10.25, 15, 0}, {15, 15, 0},   {15, 5, 0},    {5, 5, 0},
                                      {5, 15, 0},     {9.75, 15, 0}, {9.75, 20, 0}, {0, 20, 0}};
const std::vector<Bulged> kSquare = {{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}};
const std::vector<Bulged> kEll = {{0, 0, 0}, {10, 0, 0}, {10, 4, 0}, {4, 4, 0}, {4, 10, 0}, {0, 10, 0}};
const std::vector<Bulged> kCircle = {{5, 0, kPi}, {-5, 0, kPi}};
const std::vector<Bulged> kThin = {{0, 0, 0}, {10, 0, 0}, {10, 1, 0}, {0, 1, 0}};
// Two 6 x 6 boxes joined by a neck 1 wide and 2 long.
const std::vector<Bulged> kDumbbell = {{0, 0, 0},  {6, 0, 0}, {6, 2.5, 0}, {8, 2.5, 0}, {8, 0, 0}, {14, 0, 0},
                                       {14, 6, 0}, {8, 6, 0}, {8, 3.5, 0}, {6, 3.5, 0}, {6, 6, 0}, {0, 6, 0}};
// A 12 x 8 rectangle with corners rounded to radius 1.
const std::vector<Bulged> kRounded = {{1, 0, 0},  {11, 0, kPi / 2}, {12, 1, 0}, {12, 7, kPi / 2},
                                      {11, 8, 0}, {1, 8, kPi / 2},  {0, 7, 0},  {0, 1, kPi / 2}};

const std::vector<Row> kRows = {
    {"SquareGrowsWithRoundCorners", kSquare, 0, 1.0, LoopOffsetFailure::None, 4, 4, 100 + 40 + kPi, 0},
    {"SquareShrinksWithSharpCorners", kSquare, 1, 1.0, LoopOffsetFailure::None, 4, 0, 64, 0},
    {"CircleGrowsConcentric", kCircle, 0, 1.0, LoopOffsetFailure::None, 0, 2, 36 * kPi, 0},
    {"CircleShrinksConcentric", kCircle, 7, 2.0, LoopOffsetFailure::None, 0, 2, 9 * kPi, 0},
    {"CircleShrunkByItsRadiusVanishes", kCircle, 1, 5.0, LoopOffsetFailure::Vanishes, 0, 0, kNaN, 0},
    {"EllGrowsTrimmedAtItsConcaveCorner", kEll, 0, 1.0, LoopOffsetFailure::None, 6, 5,
     64 + 40 + 5 * kPi / 4 - 1, 0},
    {"EllShrinksRoundedAtItsConcaveCorner", kEll, 1, 1.0, LoopOffsetFailure::None, 6, 1,
     64 - 40 + 5 - kPi / 4, 0},
    // The notch is narrower than 2d: its corner arcs cross above it and it is gone.
    {"NotchNarrowerThanTwiceDClosesWhenGrown", kNotched, 0, 1.0, LoopOffsetFailure::None, 5, 6, kNaN, 0},
    // The slit closes but the hole behind it is wider than 2d: a void is left inside, not in the loop.
    {"KeyholeClosesOverAVoidWhenGrown", kKeyhole, 0, 1.0, LoopOffsetFailure::None, 5, 6, kNaN, 1},
    {"ThinBarShrunkToJustUnderHalfItsWidth", kThin, 1, 0.4999, LoopOffsetFailure::None, 4, 0, 9.0002 * 0.0002,
     0},
    {"ThinBarShrunkByHalfItsWidthVanishes", kThin, 1, 0.5, LoopOffsetFailure::Vanishes, 0, 0, kNaN, 0},
    {"ThinBarShrunkByMoreVanishes", kThin, 1, 0.8, LoopOffsetFailure::Vanishes, 0, 0, kNaN, 0},
    {"DumbbellKeepsItsNeckUnderHalfItsWidth", kDumbbell, 1, 0.4, LoopOffsetFailure::None, 12, 4, kNaN, 0},
    {"DumbbellSplitsPastHalfItsNeck", kDumbbell, 1, 0.6, LoopOffsetFailure::SplitsApart, 0, 0, kNaN, 0},
    // Corner radius 1 < d = 2: the corner arcs vanish and the sides meet in sharp corners.
    {"RoundedRectangleShrunkPastItsCornerRadius", kRounded, 1, 2.0, LoopOffsetFailure::None, 4, 0, 8 * 4, 0},
    {"RoundedRectangleGrowsConcentricCorners", kRounded, 0, 2.0, LoopOffsetFailure::None, 4, 4,
     96 - 4 + kPi + 2 * 2 * (10 + 6) + kPi*(9 - 1), 0},
    {"ZeroDistanceIsRefused", kSquare, 0, 0.0, LoopOffsetFailure::BadDistance, 0, 0, kNaN, 0},
    {"NegativeDistanceIsRefused", kSquare, 0, -1.0, LoopOffsetFailure::BadDistance, 0, 0, kNaN, 0},
    {"NaNDistanceIsRefused", kSquare, 1, kNaN, LoopOffsetFailure::BadDistance, 0, 0, kNaN, 0},
};

struct Counts {
    int lines = 0;
    int arcs = 0;
};

Counts CountKinds(IPatLoop& loop) {
    Counts c;
    for (const PatLoopNodePtr& node : *loop.GetLoopNodes()) {
        (node->GetPat()->GetPatternType() == PAT_ARC ? c.arcs : c.lines)++;
    }
    return c;
}

class LoopOffsetTable : public ::testing::TestWithParam<Row> {};

// Each row is run four ways: as drawn, with every pattern drawn backwards (and followed backwards), with
// the loop reversed to run clockwise, and both. Side 0 must grow it every time, and the direction of
// travel must survive the offset.
TEST_P(LoopOffsetTable, OffsetsAsWorkedOutWhateverTheDirection) {
    const Row& row = GetParam();
    for (const bool backwardPatterns : {false, true}) {
        for (const bool clockwise : {false, true}) {
            SCOPED_TRACE(std::string(backwardPatterns ? "backward patterns" : "forward patterns") +
                         (clockwise ? ", clockwise" : ", counter-clockwise"));
            const PolyPatLoopPtr loop = testutil::MakeLoop(row.loop, backwardPatterns);
            if (clockwise)
                loop->ReverseDirection();
            const Geom2DList before = testutil::TravelGeom(*loop);
            const PatternListPtr oldList = loop->GetPatternList();
            const std::vector<IPatternPtr> oldPatterns(oldList->begin(), oldList->end());
            PatIDPairList pairs{{1, 2}};
            LoopOffsetReport report;
            const int ok = LoopProcessor::OffsetPolyLoop(loop, row.side, row.d, pairs, report);
            EXPECT_EQ(row.failure, report.failure);
            if (row.failure != LoopOffsetFailure::None) {
                EXPECT_EQ(0, ok);
                // Untouched: the same pattern objects in the same nodes, and the pairs as they were.
                const PatternListPtr now = loop->GetPatternList();
                ASSERT_EQ(oldPatterns.size(), now->size());
                for (std::size_t i = 0; i < now->size(); ++i) EXPECT_EQ(oldPatterns[i], (*now)[i]);
                EXPECT_EQ((PatIDPairList{{1, 2}}), pairs);
                continue;
            }
            ASSERT_EQ(1, ok);
            const Geom2DList after = testutil::TravelGeom(*loop);
            const Counts counts = CountKinds(*loop);
            EXPECT_EQ(row.lines, counts.lines);
            EXPECT_EQ(row.arcs, counts.arcs);
            EXPECT_EQ(row.voidsFilled, report.voidsFilled);
            const double a0 = testutil::ChainSignedArea(before);
            const double a1 = testutil::ChainSignedArea(after);
            EXPECT_GT(a0 * a1, 0.0) << "the direction of travel changed";
            if (!std::isnan(row.area)) {
                EXPECT_NEAR(row.area, std::fabs(a1), 1e-9 * row.area);
            }
            EXPECT_TRUE(testutil::ChainCloses(after, 1e-9));
            EXPECT_TRUE(testutil::IsSimple(after, 1e-9));
            EXPECT_TRUE(testutil::AtDistance(before, after, row.d, 1e-9));
            // One pair per node, naming the node's pattern and its origin: an old pattern of the loop, or 0
            // for an arc of radius d made at a corner.
            ASSERT_EQ(loop->GetLoopNodes()->size(), pairs.size());
            for (std::size_t i = 0; i < pairs.size(); ++i) {
                const IPatternPtr pattern = loop->GetPatByNodeIdx(static_cast<int>(i));
                EXPECT_EQ(pattern->GetID(), pairs[i].first);
                if (pairs[i].second == 0) {
                    ASSERT_EQ(PAT_ARC, pattern->GetPatternType());
                    EXPECT_NEAR(row.d, boost::dynamic_pointer_cast<ArcPattern>(pattern)->GetRadius(), 1e-9);
                } else {
                    EXPECT_TRUE(
                        std::any_of(oldPatterns.begin(), oldPatterns.end(),
                                    [&](const IPatternPtr& p) { return p->GetID() == pairs[i].second; }));
                }
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Shapes, LoopOffsetTable, ::testing::ValuesIn(kRows),
                         [](const ::testing::TestParamInfo<Row>& info) { return info.param.name; });

TEST(LoopOffsetEngine, RefusesWhatIsNoClosedLoopOfLinesAndArcs) {
    PatIDPairList pairs;
    LoopOffsetReport report;
    EXPECT_EQ(0, PolyLoopOffsetter::Offset(PolyPatLoopPtr(), 0, 1.0, pairs, report));
    EXPECT_EQ(LoopOffsetFailure::NoLoop, report.failure);

    const PolyPatLoopPtr open = testutil::MakeLoop({{0, 0, 0}, {10, 0, 0}, {10, 10, 0}});
    open->GetLoopNodes()->pop_back();
    EXPECT_EQ(0, PolyLoopOffsetter::Offset(open, 0, 1.0, pairs, report));
    EXPECT_EQ(LoopOffsetFailure::OpenLoop, report.failure);

    auto withCircle = boost::make_shared<PolyPatLoop>();
    withCircle->AppendPattern(boost::make_shared<CirclePattern>(Point2D(0, 0), 1.0), 1);
    EXPECT_EQ(0, PolyLoopOffsetter::Offset(withCircle, 0, 1.0, pairs, report));
    EXPECT_EQ(LoopOffsetFailure::UnsupportedPattern, report.failure);

    // There and back along one line: closed, but it encloses nothing.
    const PolyPatLoopPtr flat = testutil::MakeLoop({{0, 0, 0}, {10, 0, 0}});
    EXPECT_EQ(0, PolyLoopOffsetter::Offset(flat, 0, 1.0, pairs, report));
    EXPECT_EQ(LoopOffsetFailure::Degenerate, report.failure);
}

// Gaps up to the loop's closing tolerance are bridged, and the offset strays from d by no more than the
// gap: a square whose corner misses by 5e-5, and an imported obround (a plate hole) whose side stops 3.6e-6
// short of its end arc, nearly tangent to it.
TEST(LoopOffsetEngine, BridgesSmallGapsAtTheJoints) {
    const PolyPatLoopPtr square = testutil::MakeLoop(kSquare);
    square->GetPatByNodeIdx(1)->SetStartPoint(Point2D(10, 5e-5));
    square->GetPatByNodeIdx(1)->UpdateCache();
    const PolyPatLoopPtr obround = testutil::MakeLoop({{108, 911.63717682088736, -kPi},
                                                       {111, 911.63717682088736, 0},
                                                       {111, 905.63717682088736, -kPi},
                                                       {108, 905.63717682088736, 0}});
    obround->GetPatByNodeIdx(1)->SetEndPoint(Point2D(110.99999639530674, 905.63717329249403));
    obround->GetPatByNodeIdx(1)->UpdateCache();
    for (const auto& [loop, d, gap] : {std::tuple{square, 1.0, 5e-5}, std::tuple{obround, 0.1, 3.6e-6}}) {
        const Geom2DList before = testutil::TravelGeom(*loop);
        PatIDPairList pairs;
        ASSERT_EQ(1, LoopProcessor::OffsetPolyLoop(loop, 1, d, pairs));
        const Geom2DList after = testutil::TravelGeom(*loop);
        EXPECT_TRUE(testutil::AtDistance(before, after, d, 2.0 * gap));
        EXPECT_TRUE(testutil::ChainCloses(after, 1e-12));
    }
}

// --- Through LoopProcessor with the part's pattern list ------------------------------------------------

double LoopWidth(const IPatLoopPtr& loop) {
    const Rect2D box = loop->GetCacheData()->GetLoopRect();
    return box.right - box.left;
}

struct KindRow {
    std::string name;
    std::function<IPatLoopPtr(testutil::SeedLinkGuard&)> make;
    double width;  // of the loop's box before the offset
};

std::ostream& operator<<(std::ostream& os, const KindRow& row) {
    return os << row.name;
}

IPatLoopPtr Cached(const IPatLoopPtr& loop) {
    LoopProcessor::UpdateCacheEx(loop);
    return loop;
}

const std::vector<KindRow> kKinds = {
    {"Circle",
     [](testutil::SeedLinkGuard&) {
         return Cached(boost::make_shared<StdPatLoop>(
             boost::make_shared<PatLoopNode>(boost::make_shared<CirclePattern>(Point2D(3, 4), 5.0), 1)));
     },
     10.0},
    {"CircleRunClockwise",
     [](testutil::SeedLinkGuard&) {
         return Cached(boost::make_shared<StdPatLoop>(
             boost::make_shared<PatLoopNode>(boost::make_shared<CirclePattern>(Point2D(3, 4), 5.0), 0)));
     },
     10.0},
    {"Rectangle",
     [](testutil::SeedLinkGuard&) {
         return Cached(boost::make_shared<StdPatLoop>(boost::make_shared<PatLoopNode>(
             boost::make_shared<RectHolePattern>(Point2D(0, 0), Vector2D(10, 0), 0.5), 1)));
     },
     10.0},
    {"CircleArray",
     [](testutil::SeedLinkGuard& guard) {
         auto array = boost::make_shared<PatCirclePattern>(Point2D(0, 0), 20.0, 0.0, 4);
         guard.Link(array, boost::make_shared<CirclePattern>(Point2D(20, 0), 2.0));
         return Cached(boost::make_shared<ArrayPatLoop>(boost::make_shared<PatLoopNode>(array, 1)));
     },
     44.0},
    {"PolygonCounterClockwise",
     [](testutil::SeedLinkGuard&) -> IPatLoopPtr { return testutil::MakeLoop(kSquare); }, 10.0},
    {"PolygonClockwise",
     [](testutil::SeedLinkGuard&) -> IPatLoopPtr {
         const PolyPatLoopPtr loop = testutil::MakeLoop(kSquare);
         loop->ReverseDirection();
         return loop;
     },
     10.0},
};

class LoopOffsetKinds : public ::testing::TestWithParam<KindRow> {};

// Side 0 grows every kind of loop by d on each side and side 1 shrinks it, whatever its direction: the box
// widens or narrows by 2d.
TEST_P(LoopOffsetKinds, SideZeroGrowsEveryKind) {
    for (const int side : {0, 1}) {
        testutil::SeedLinkGuard guard;
        const IPatLoopPtr loop = GetParam().make(guard);
        auto patterns = loop->GetPatternList();
        ASSERT_EQ(1, LoopProcessor::OffsetPolyLoop(patterns, loop, side, 0.5));
        EXPECT_NEAR(GetParam().width + (side == 0 ? 1.0 : -1.0), LoopWidth(loop), 1e-9) << "side " << side;
    }
}

INSTANTIATE_TEST_SUITE_P(Kinds, LoopOffsetKinds, ::testing::ValuesIn(kKinds),
                         [](const ::testing::TestParamInfo<KindRow>& info) { return info.param.name; });

TEST(LoopOffsetProcessor, CircleLoopChangesItsRadiusAndNotThePatternList) {
    auto circle = boost::make_shared<CirclePattern>(Point2D(0, 0), 5.0);
    const IPatLoopPtr loop =
        Cached(boost::make_shared<StdPatLoop>(boost::make_shared<PatLoopNode>(circle, 1)));
    auto patterns = boost::make_shared<PatternList>();
    patterns->push_back(circle);
    ASSERT_EQ(1, LoopProcessor::OffsetPolyLoop(patterns, loop, 0, 1.5));
    EXPECT_DOUBLE_EQ(6.5, circle->GetRadius());
    ASSERT_EQ(1u, patterns->size());
    EXPECT_EQ(circle, (*patterns)[0]);
    EXPECT_EQ(1, loop->IsModified());
    LoopOffsetReport report;
    EXPECT_EQ(0, LoopProcessor::OffsetPolyLoop(patterns, loop, 1, 6.5, report));
    EXPECT_EQ(LoopOffsetFailure::ShapeRefuses, report.failure);
    EXPECT_DOUBLE_EQ(6.5, circle->GetRadius());
}

// The part's list loses every old pattern of the loop and gains every new one; patterns of other loops stay
// in their places. A failed offset changes neither the list nor the loop.
TEST(LoopOffsetProcessor, PolygonOffsetSwapsTheLoopsPatternsInThePartList) {
    const PolyPatLoopPtr loop = testutil::MakeLoop(kSquare);
    const IPatternPtr other = testutil::EdgePattern(Point2D(50, 50), Point2D(60, 50), 0.0);
    auto patterns = boost::make_shared<PatternList>();
    patterns->push_back(other);
    patterns->AddPatterns(loop->GetPatternList());
    const PatternListPtr old = loop->GetPatternList();

    EXPECT_EQ(0, LoopProcessor::OffsetPolyLoop(patterns, loop, 1, 5.0));
    EXPECT_EQ(5u, patterns->size());
    EXPECT_EQ(1, loop->FromPatList(old));

    ASSERT_EQ(1, LoopProcessor::OffsetPolyLoop(patterns, loop, 0, 1.0));
    EXPECT_EQ(other, (*patterns)[0]);
    for (const IPatternPtr& p : *old) EXPECT_FALSE(patterns->GetPatFromID(p->GetID()));
    EXPECT_EQ(1, loop->FromPatList(patterns));
    EXPECT_EQ(1u + loop->GetLoopNodes()->size(), patterns->size());
    EXPECT_EQ(1, patterns->IsModified());
    // Closed by the clamp (to the rounding of arc end points), cache rebuilt: the box is the grown square's.
    EXPECT_TRUE(testutil::ChainCloses(testutil::TravelGeom(*loop), 1e-12));
    EXPECT_TRUE(testutil::BoxNear(loop->GetCacheData()->GetLoopRect(), Rect2D(-1, 11, -1, 11), 1e-9));
}

// --- Clamps ---------------------------------------------------------------------------------------------

TEST(LoopClamp, CloseClosesEveryGapExactlyAndLeavesOneNodeAlone) {
    // A square with an arc side whose joints miss by up to 3e-5, some nodes run backwards.
    const PolyPatLoopPtr loop = testutil::MakeLoop({{0, 0, 0}, {10, 0, 0.5}, {10, 10, 0}, {0, 10, 0}}, true);
    loop->GetPatByNodeIdx(1)->SetStartPoint(Point2D(10 + 2e-5, 10 - 1e-5));
    loop->GetPatByNodeIdx(3)->SetEndPoint(Point2D(3e-5, 0));
    const Point2D start = loop->GetStartPt();
    LoopProcessor::ClampClosePolyLoop(loop);
    LoopProcessor::UpdateCacheEx(loop);
    EXPECT_TRUE(testutil::ChainCloses(testutil::TravelGeom(*loop), 1e-12));
    EXPECT_EQ(start, loop->GetStartPt());
    EXPECT_EQ(start, loop->GetEndPt());

    const PolyPatLoopPtr one = testutil::MakeLoop({{0, 0, 0}, {10, 0, 0}});
    one->GetLoopNodes()->pop_back();
    const Point2D end = one->GetEndPt();
    LoopProcessor::ClampClosePolyLoop(one);
    EXPECT_EQ(end, one->GetEndPt());
}

TEST(LoopClamp, PolygonClosesInnerGapsOfAnOpenChainAndKeepsItsFreeEnds) {
    auto loop = boost::make_shared<PolyPatLoop>();
    loop->AppendPattern(testutil::EdgePattern(Point2D(0, 0), Point2D(10, 0), 0.0), 1);
    loop->AppendPattern(testutil::EdgePattern(Point2D(10, 2e-5), Point2D(10, 10), 0.0), 1);
    loop->AppendPattern(testutil::EdgePattern(Point2D(0, 10), Point2D(10 - 3e-5, 10), 0.0), 0);
    LoopProcessor::ClampPolygonLoop(loop, 0.0001);
    EXPECT_EQ(Point2D(0, 0), loop->GetStartPt());
    EXPECT_EQ(Point2D(0, 10), loop->GetEndPt());
    EXPECT_EQ(Point2D(10, 0), loop->GetPatByNodeIdx(1)->GetStartPoint());
    EXPECT_EQ(Point2D(10, 10), loop->GetPatByNodeIdx(2)->GetEndPoint());
    // Closed within the tolerance, the last node is tied to the start as well.
    loop->GetPatByNodeIdx(2)->SetStartPoint(Point2D(0, 5e-5));
    LoopProcessor::ClampPolygonLoop(loop, 0.0001);
    EXPECT_EQ(Point2D(0, 0), loop->GetEndPt());
}

}  // namespace
}  // namespace Norvane
