// The import clean-up end to end, one standard shape at a time: the shape is drawn as loose lines and arcs
// (shuffled, about half of them reversed) inside a square plate, and the pipeline must give back exactly
// that shape, nested in the plate; decomposing the recognised shape and chaining the pieces again must
// trace the same outline.
#include <algorithm>
#include <cmath>
#include <functional>
#include <mutex>
#include <random>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <boost/make_shared.hpp>
#include <boost/pointer_cast.hpp>

#include "geomFeature/host/appframe/ProgressData.h"
#include "geomFeature/host/mathkit/MathEx.h"
#include "geomFeature/loop/PolyPatLoop.h"
#include "geomFeature/pattern/ArcPattern.h"
#include "geomFeature/pattern/CirclePattern.h"
#include "geomFeature/pattern/DoubleDPattern.h"
#include "geomFeature/pattern/EllipsePattern.h"
#include "geomFeature/pattern/LinePattern.h"
#include "geomFeature/pattern/OBroundPattern.h"
#include "geomFeature/pattern/PatternCache.h"
#include "geomFeature/pattern/RCHolePattern.h"
#include "geomFeature/pattern/RadSlotPattern.h"
#include "geomFeature/pattern/RectHolePattern.h"
#include "geomFeature/pattern/SingleDPattern.h"
#include "geomFeature/pattern/TRHolePattern.h"
#include "geomFeature/processor/ImportPipeline.h"
#include "geomFeature/processor/LoopBuilder.h"
#include "geomFeature/processor/LoopProcessor.h"
#include "geomFeature/processor/PatDecomposer.h"
#include "tests/support/OutlineMetrics.h"

namespace Norvane {
namespace {

constexpr double kPi = 3.14159265358979323846;
// Outlines of the same shape agree this closely (the ellipse is checked against its own bound).
constexpr double kOutlineTol = 1e-6;

struct ShapeCase {
    const char* name;
    tagPatternType type;
    // A shape of random size and angle centred near c.
    std::function<IPatternPtr(std::mt19937&, const Point2D& c)> make;
    // How closely the recognised outline follows the drawn pieces.
    double tol = kOutlineTol;
};

void PrintTo(const ShapeCase& c, std::ostream* os) {
    *os << c.name;
}

double Uniform(std::mt19937& rng, double lo, double hi) {
    return std::uniform_real_distribution<>(lo, hi)(rng);
}

// The ellipse is drawn as 36 lines between points on it, as drawings from other systems have it.
PatternListPtr EllipseAsLines(const EllipsePattern& ellipse) {
    auto lines = boost::make_shared<PatternList>();
    const double a = ellipse.GetLength() / 2, b = ellipse.GetWidth() / 2, t = ellipse.GetAngle();
    const Point2D c = ellipse.GetBasePoint();
    auto at = [&](int i) {
        const double u = 2 * kPi * i / 36;
        return Point2D(c.x + a * std::cos(u) * std::cos(t) - b * std::sin(u) * std::sin(t),
                       c.y + a * std::cos(u) * std::sin(t) + b * std::sin(u) * std::cos(t));
    };
    for (int i = 0; i < 36; ++i) lines->push_back(boost::make_shared<LinePattern>(at(i), at(i + 1)));
    return lines;
}

Geom2DList OutlineOf(const PatternListPtr& pieces) {
    Geom2DList outline;
    for (const IPatternPtr& p : *pieces) {
        p->UpdateCache();
        outline.Append(*p->GetCacheData()->GetBaseGeom());
    }
    return outline;
}

class ShapeRoundTripTest : public ::testing::TestWithParam<ShapeCase> {};

TEST_P(ShapeRoundTripTest, LoosePiecesComeBackAsTheShape) {
    const ShapeCase& shape = GetParam();
    for (unsigned seed = 1; seed <= 5; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::mt19937 rng(seed);
        const Point2D centre(Uniform(rng, 40, 60), Uniform(rng, 40, 60));
        const IPatternPtr original = shape.make(rng, centre);
        original->UpdateCache();

        PatternListPtr drawn = shape.type == PAT_ELLIPSE
                                   ? EllipseAsLines(*boost::dynamic_pointer_cast<EllipsePattern>(original))
                                   : PatDecomposer::DecomposeStdPat(original);
        const Geom2DList drawnOutline = OutlineOf(drawn);
        auto patterns = boost::make_shared<PatternList>();
        for (const IPatternPtr& piece : *drawn) {
            if (rng() % 2)
                ImportPipeline::ReversePiece(piece);
            patterns->push_back(piece);
        }
        // A plate with a chamfered corner, so that it is no rectangle itself.
        const Point2D plate[] = {{0, 0}, {100, 0}, {100, 100}, {10, 100}, {0, 90}};
        for (int i = 0; i < 5; ++i)
            patterns->push_back(boost::make_shared<LinePattern>(plate[i], plate[(i + 1) % 5]));
        std::shuffle(patterns->begin(), patterns->end(), rng);
        patterns->UpdateCache();  // as a reader leaves them

        ImportReport report;
        const Part part = ImportPipeline::Run(patterns, ImportOptions(), report);

        const PatternListPtr shapes = part.patterns->GetPatByCategory(GEOM_CATEGORY_STD, 0);
        ASSERT_EQ(shapes->size(), 1u);
        const IPatternPtr found = shapes->front();
        EXPECT_EQ(found->GetPatternType(), shape.type);
        EXPECT_TRUE(testutil::SameCurve(*found->GetCacheData()->GetBaseGeom(), drawnOutline, shape.tol));

        // The plate holds the shape.
        ASSERT_EQ(part.tree->size(), 1u);
        const LoopTopItemListPtr inside = part.tree->front()->GetSubItemList();
        ASSERT_EQ(inside->size(), 1u);
        EXPECT_EQ(inside->front()->GetPatLoop()->GetLoopType(), LOOP_STD);
        EXPECT_EQ(inside->front()->GetPatLoop()->GetPatByNodeIdx(0), found);
        EXPECT_EQ(part.loops->GetBoundaryLoop(),
                  part.loops->GetPatLoopIndex(part.tree->front()->GetPatLoop()->GetID()));

        // Decomposed and chained again, the shape traces the outline it was recognised from.
        const PatternListPtr pieces = PatDecomposer::DecomposeStdPat(found);
        pieces->UpdateCache();
        const PatLoopListPtr rebuilt = LoopBuilder::BuildPolyPatLoops(pieces, ImportOptions().joinTol);
        ASSERT_EQ(rebuilt->size(), 1u);
        EXPECT_EQ(rebuilt->front()->IsOpenPath(0.0001), 0);
        LoopProcessor::UpdateCache(rebuilt->front());
        EXPECT_TRUE(testutil::SameCurve(*rebuilt->front()->GetCacheData()->GetLoopBaseGeom(), drawnOutline,
                                        shape.tol));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, ShapeRoundTripTest,
    ::testing::Values(ShapeCase{"circle", PAT_CIRCLE,
                                [](std::mt19937& rng, const Point2D& c) -> IPatternPtr {
                                    return boost::make_shared<CirclePattern>(c, Uniform(rng, 1, 10));
                                }},
                      // Drawn as 36 chords, the ellipse is recognised within the grouping bound, not exactly.
                      ShapeCase{"ellipse", PAT_ELLIPSE,
                                [](std::mt19937& rng, const Point2D& c) -> IPatternPtr {
                                    const double length = Uniform(rng, 10, 20);
                                    return boost::make_shared<EllipsePattern>(
                                        c, Uniform(rng, -kPi, kPi), length, length * Uniform(rng, 0.3, 0.8));
                                },
                                0.05},
                      ShapeCase{"obround", PAT_OBROUND,
                                [](std::mt19937& rng, const Point2D& c) -> IPatternPtr {
                                    const double length = Uniform(rng, 8, 20);
                                    return boost::make_shared<OBroundPattern>(
                                        c, Uniform(rng, -kPi, kPi), length, length * Uniform(rng, 0.2, 0.6));
                                }},
                      ShapeCase{"single_d", PAT_SINGLE_D,
                                [](std::mt19937& rng, const Point2D& c) -> IPatternPtr {
                                    const double r = Uniform(rng, 2, 10);
                                    return boost::make_shared<SingleDPattern>(
                                        c, r, r * Uniform(rng, 0.3, 0.9), Uniform(rng, -kPi, kPi));
                                }},
                      ShapeCase{"double_d", PAT_DOUBLE_D,
                                [](std::mt19937& rng, const Point2D& c) -> IPatternPtr {
                                    const double r = Uniform(rng, 2, 10);
                                    return boost::make_shared<DoubleDPattern>(
                                        c, r, r * Uniform(rng, 0.3, 0.9), Uniform(rng, -kPi, kPi));
                                }},
                      ShapeCase{"radius_slot", PAT_RAD_SLOT,
                                [](std::mt19937& rng, const Point2D& c) -> IPatternPtr {
                                    const double r = Uniform(rng, 10, 20);
                                    return boost::make_shared<RadSlotPattern>(
                                        c, r, Uniform(rng, -kPi, kPi),
                                        Uniform(rng, 0.3, 2.5) * (rng() % 2 ? 1 : -1),
                                        r * Uniform(rng, 0.1, 0.4));
                                }},
                      ShapeCase{"rectangle", PAT_RECT_HOLE,
                                [](std::mt19937& rng, const Point2D& c) -> IPatternPtr {
                                    const double angle = Uniform(rng, -kPi, kPi);
                                    const double side = Uniform(rng, 4, 15);
                                    return boost::make_shared<RectHolePattern>(
                                        c, Vector2D(side * std::cos(angle), side * std::sin(angle)),
                                        Uniform(rng, 0.3, 2.0));
                                }},
                      ShapeCase{"rounded_rectangle", PAT_RC_HOLE,
                                [](std::mt19937& rng, const Point2D& c) -> IPatternPtr {
                                    const double length = Uniform(rng, 8, 20),
                                                 width = length * Uniform(rng, 0.3, 0.9);
                                    return boost::make_shared<RCHolePattern>(c, length, width,
                                                                             width * Uniform(rng, 0.1, 0.4),
                                                                             Uniform(rng, -kPi, kPi));
                                }},
                      ShapeCase{"triangle", PAT_TR_HOLE,
                                [](std::mt19937& rng, const Point2D& c) -> IPatternPtr {
                                    const double base = Uniform(rng, 4, 15);
                                    return boost::make_shared<TRHolePattern>(c, Uniform(rng, -kPi, kPi), base,
                                                                             base * Uniform(rng, 0.4, 1.5));
                                }}),
    [](const ::testing::TestParamInfo<ShapeCase>& info) { return std::string(info.param.name); });

// A grid of loose squares: enough pieces for every stage to have work.
PatternListPtr SquareGrid(int side) {
    auto patterns = boost::make_shared<PatternList>();
    for (int i = 0; i < side; ++i) {
        for (int j = 0; j < side; ++j) {
            const Point2D c[] = {{3.0 * i, 3.0 * j},
                                 {3.0 * i + 2, 3.0 * j},
                                 {3.0 * i + 2, 3.0 * j + 1},
                                 {3.0 * i, 3.0 * j + 1}};
            for (int k = 0; k < 4; ++k)
                patterns->push_back(boost::make_shared<LinePattern>(c[k], c[(k + 1) % 4]));
        }
    }
    patterns->UpdateCache();
    return patterns;
}

TEST(ImportPipelineProgressTest, RunsEveryStageAndEndsFinished) {
    auto progress = boost::make_shared<ProgressData>();
    std::vector<double> seen;
    ImportReport report;
    const Part part = ImportPipeline::Run(SquareGrid(20), ImportOptions(), report, progress, [&] {
        std::lock_guard<std::mutex> lock(progress->GetMutex());
        seen.push_back(progress->GetPercentage());
    });
    EXPECT_FALSE(report.cancelled);
    EXPECT_EQ(report.stages.size(), 6u);  // all but the move to the origin
    EXPECT_EQ(report.shapesRecognised, 400u);
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
    std::lock_guard<std::mutex> lock(progress->GetMutex());
    EXPECT_TRUE(progress->IsFinished());
    EXPECT_EQ(progress->GetPercentage(), 100.0);
    EXPECT_EQ(progress->GetSubTask(), L"Import finished.");
}

// Cancelled as soon as the first stage is shown, the run stops at the latest when the next stage begins,
// and what it leaves is consistent: every loop's pattern is in the pattern list.
TEST(ImportPipelineProgressTest, ACancelStopsTheRunWithConsistentLists) {
    auto progress = boost::make_shared<ProgressData>();
    ImportReport report;
    const Part part = ImportPipeline::Run(SquareGrid(20), ImportOptions(), report, progress, [&] {
        std::lock_guard<std::mutex> lock(progress->GetMutex());
        progress->SetCancel(true);
    });
    EXPECT_TRUE(report.cancelled);
    EXPECT_LE(report.stages.size(), 1u);
    std::set<const IPattern*> listed;
    for (const IPatternPtr& p : *part.patterns) listed.insert(p.get());
    for (const IPatLoopPtr& loop : *part.loops)
        for (const PatLoopNodePtr& node : *loop->GetLoopNodes())
            EXPECT_EQ(listed.count(node->GetPat().get()), 1u);
    std::lock_guard<std::mutex> lock(progress->GetMutex());
    EXPECT_TRUE(progress->IsFinished());
    EXPECT_EQ(progress->GetSubTask(), L"Import cancelled.");
}

}  // namespace
}  // namespace Norvane
