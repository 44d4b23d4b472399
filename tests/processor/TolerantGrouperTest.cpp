// Tolerant recognition of real drawings and the closing tolerance that governs a tolerant import.
#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <boost/make_shared.hpp>

#include "geomFeature/host/geomkit/Line2DList.h"
#include "geomFeature/loop/PatLoopList.h"
#include "geomFeature/processor/ImportPipeline.h"
#include "geomFeature/processor/ImportTolerance.h"
#include "geomFeature/processor/LoopBuilder.h"
#include "geomFeature/processor/LoopProcessor.h"
#include "geomFeature/processor/LoopTopItem.h"
#include "geomFeature/processor/LoopTopItemList.h"
#include "geomFeature/processor/PatGrouper.h"
#include "geomFeature/processor/TolerantGrouper.h"
#include "tests/support/NoisyPartGenerator.h"

namespace Norvane {
namespace {

using testutil::MakeNoisyPart;
using testutil::NoisyPart;
using testutil::NoisyPartOptions;

ImportOptions TolerantOptions(double joinTol) {
    ImportOptions options;
    options.tolerant = true;
    options.joinTol = joinTol;
    return options;
}

Part Import(const PatternListPtr& pieces, const ImportOptions& options) {
    ImportReport report;
    return ImportPipeline::Run(pieces, options, report);
}

PatternListPtr Pieces(const std::vector<IPatternPtr>& patterns) {
    auto list = boost::make_shared<PatternList>();
    for (const IPatternPtr& p : patterns) {
        p->UpdateCache();
        list->push_back(p);
    }
    return list;
}

// --- Noisy parts: every kind found, nothing else, parameters within the noise --------------------------

struct NoisyRow {
    const char* name;
    double unitToMm;
    double offset;
    unsigned seed;
};

class NoisyPartTest : public ::testing::TestWithParam<NoisyRow> {};

// Every drawn shape comes back as its own kind (recall 1 on this small sample; bench_realdraw measures
// thousands), no near-miss or outline becomes a shape (precision 1), and the parameters are off by no more
// than the joint gaps allow: a gap moves an end by at most gapMax units, against shapes from 0.5 mm.
TEST_P(NoisyPartTest, EveryKindRecognisedNothingElse) {
    NoisyPartOptions options;
    options.seed = GetParam().seed;
    options.perKind = 6;
    options.nearMisses = 2;
    options.unitToMm = GetParam().unitToMm;
    options.offset = GetParam().offset;
    const NoisyPart part = MakeNoisyPart(options);
    const double tolerance = DefaultJoinTolerance(options.unitToMm, part.maxCoordinate);
    const Part result = Import(part.pieces, TolerantOptions(tolerance));
    const testutil::RecognitionScore score = testutil::ScoreRecognition(part, *result.patterns, tolerance);
    const double bound = options.gapMax * options.unitToMm / 0.5;
    for (const tagPatternType kind : testutil::StandardKinds()) {
        EXPECT_EQ(score.Recall(kind), 1.0) << "kind " << kind;
        EXPECT_LE(score.kinds.at(kind).worstError, bound) << "kind " << kind;
    }
    EXPECT_EQ(score.wrong, 0);
    EXPECT_EQ(score.Precision(), 1.0);
}

INSTANTIATE_TEST_SUITE_P(Drawings, NoisyPartTest,
                         ::testing::Values(NoisyRow{"millimetres", 1.0, 0.0, 11},
                                           NoisyRow{"inches", 25.4, 0.0, 12}, NoisyRow{"far", 1.0, 1e5, 13},
                                           NoisyRow{"inchesFar", 25.4, 1e5, 14}),
                         [](const auto& info) { return std::string(info.param.name); });

// What the tolerant step makes, the exact rules accept: every recognised shape, drawn again from its own
// outline (an ellipse from chords through its vertices), is recognised by PatGrouper as the same kind.
TEST(TolerantGrouperTest, ExactRulesAcceptEveryFittedShape) {
    NoisyPartOptions options;
    options.seed = 21;
    options.perKind = 4;
    options.nearMisses = 0;
    const NoisyPart part = MakeNoisyPart(options);
    const Part fitted = Import(part.pieces, TolerantOptions(1e-4));
    for (const IPatternPtr& shape : *fitted.patterns) {
        if (!shape->IsStdPat())
            continue;
        std::vector<IPatternPtr> outline;
        if (const auto e = boost::dynamic_pointer_cast<EllipsePattern>(shape)) {
            std::vector<Point2D> v;
            for (int k = 0; k < 40; ++k) {
                const double t = MathEx::PI2 * k / 40;
                const Vector2D local(e->GetLength() / 2 * std::cos(t), e->GetWidth() / 2 * std::sin(t));
                const double a = e->GetAngle();
                v.push_back(e->GetBasePoint() + Vector2D(local.x * std::cos(a) - local.y * std::sin(a),
                                                         local.x * std::sin(a) + local.y * std::cos(a)));
            }
            for (std::size_t k = 0; k < v.size(); ++k)
                outline.push_back(boost::make_shared<LinePattern>(v[k], v[(k + 1) % v.size()]));
        } else {
            const PatternListPtr parts = PatDecomposer::DecomposeStdPat(shape);
            outline.assign(parts->begin(), parts->end());
        }
        ImportOptions exact;
        exact.merge = false;
        const Part again = Import(Pieces(outline), exact);
        ASSERT_EQ(again.patterns->size(), 1u) << "kind " << shape->GetPatternType();
        EXPECT_EQ(again.patterns->front()->GetPatternType(), shape->GetPatternType());
    }
}

// --- Canonical parameters -----------------------------------------------------------------------------

// One shape drawn from every start piece and in both directions gives the very same parameters, so that
// equal holes compare equal whichever corner their drawer started from.
TEST(TolerantGrouperTest, SameShapeFromAnyStartGivesEqualParameters) {
    NoisyPartOptions options;
    options.seed = 31;
    options.perKind = 2;
    options.nearMisses = 0;
    const NoisyPart part = MakeNoisyPart(options);  // only for its random exact shapes
    for (const IPatternPtr& truth : part.shapes) {
        if (truth->GetPatternType() == PAT_ELLIPSE || truth->GetPatternType() == PAT_CIRCLE)
            continue;
        const PatternListPtr outline = PatDecomposer::DecomposeStdPat(truth);
        const std::size_t n = outline->size();
        for (std::size_t start = 0; start < n; ++start) {
            for (const bool reversed : {false, true}) {
                std::vector<IPatternPtr> pieces;
                for (std::size_t k = 0; k < n; ++k) {
                    const IPatternPtr piece =
                        boost::dynamic_pointer_cast<IPattern>((*outline)[(start + k) % n]->Clone());
                    if (reversed)
                        ImportPipeline::ReversePiece(piece);
                    pieces.push_back(piece);
                }
                const PatLoopListPtr loops = LoopBuilder::BuildPatLoops(Pieces(pieces), 1e-6);
                ASSERT_EQ(loops->size(), 1u);
                const IPatternPtr fitted = TolerantGrouper::FitLoop(loops->front(), 1e-6);
                ASSERT_TRUE(fitted) << "kind " << truth->GetPatternType() << " start " << start;
                EXPECT_LE(testutil::ShapeParameterError(truth, fitted), 1e-9)
                    << "kind " << truth->GetPatternType() << " start " << start << " reversed " << reversed;
            }
        }
    }
}

// --- The tolerance decides ----------------------------------------------------------------------------

// A rectangle with one corner moved. The fit spreads the move over all four corners, so the outlines end
// up about 0.45 of the move apart: moved by half the tolerance it is a rectangle, by four times the
// tolerance a polygon, whatever the tolerance.
TEST(TolerantGrouperTest, CornerOffByMoreThanTheToleranceStaysAPolygon) {
    for (const double tol : {1e-4, 1e-3}) {
        for (const double factor : {0.5, 4.0}) {
            const double off = factor * tol;
            const std::vector<Point2D> q = {Point2D(0, 0), Point2D(20, 0), Point2D(20 + off, 10),
                                            Point2D(0, 10)};
            std::vector<IPatternPtr> lines;
            for (std::size_t k = 0; k < 4; ++k)
                lines.push_back(boost::make_shared<LinePattern>(q[k], q[(k + 1) % 4]));
            const PatLoopListPtr loops = LoopBuilder::BuildPatLoops(Pieces(lines), tol);
            ASSERT_EQ(loops->size(), 1u);
            const IPatternPtr fitted = TolerantGrouper::FitLoop(loops->front(), tol);
            EXPECT_EQ(static_cast<bool>(fitted), factor < 1.0) << "tol " << tol << " off " << off;
        }
    }
}

// The least-squares fit reads an ellipse from 50 chords to rounding; the module's exact recogniser, which
// reads the axes off the farthest and nearest vertices, is off by far more (why imports use the fit).
TEST(TolerantGrouperTest, EllipseFitToEveryVertex) {
    const Point2D centre(3.0, -2.0);
    const double a = 20.0;
    const double b = 8.0;
    const double angle = 0.7;
    std::vector<Point2D> v;
    auto lines = boost::make_shared<Line2DList>();
    for (int k = 0; k < 50; ++k) {
        const double t = 0.3 + MathEx::PI2 * k / 50;
        v.push_back(centre + Vector2D(a * std::cos(t) * std::cos(angle) - b * std::sin(t) * std::sin(angle),
                                      a * std::cos(t) * std::sin(angle) + b * std::sin(t) * std::cos(angle)));
    }
    for (std::size_t k = 0; k < v.size(); ++k) lines->push_back(Line2D(v[k], v[(k + 1) % v.size()]));
    TolerantGrouper::Ellipse fit;
    ASSERT_TRUE(TolerantGrouper::FitEllipse(v, fit));
    EXPECT_NEAR(fit.a, a, 1e-9);
    EXPECT_NEAR(fit.b, b, 1e-9);
    EXPECT_NEAR(fit.angle, angle, 1e-9);
    EXPECT_NEAR(fit.centre.DistanceTo(centre), 0.0, 1e-9);
    const auto exact = boost::dynamic_pointer_cast<EllipsePattern>(PatGrouper::GroupEllipse(lines));
    ASSERT_TRUE(exact);
    EXPECT_GT(std::fabs(exact->GetWidth() / 2 - b), 1e-3);
}

// Tiny pieces: a 0.0004 chamfer at a corner of a closed contour stays (the contour stays closed and is
// still recognised as a polygon loop of five pieces), a tiny piece at the free end of an open chain goes,
// and so does a speck on its own.
TEST(TolerantGrouperTest, TinyPiecesGoOnlyWhereNoContourNeedsThem) {
    const double tiny = 0.0004;
    std::vector<IPatternPtr> pieces = {
        boost::make_shared<LinePattern>(Point2D(tiny, 0), Point2D(30, 0)),
        boost::make_shared<LinePattern>(Point2D(30, 0), Point2D(30, 20)),
        boost::make_shared<LinePattern>(Point2D(30, 20), Point2D(0, 20)),
        boost::make_shared<LinePattern>(Point2D(0, 20), Point2D(0, tiny)),
        boost::make_shared<LinePattern>(Point2D(0, tiny),
                                        Point2D(tiny, 0)),               // tiny chamfer, closes the outline
        boost::make_shared<LinePattern>(Point2D(5, 5), Point2D(15, 5)),  // open chain ...
        boost::make_shared<LinePattern>(Point2D(15, 5), Point2D(15 + tiny, 5 + tiny)),  // ... with a tiny end
        boost::make_shared<LinePattern>(Point2D(25, 15), Point2D(25 + tiny, 15)),       // a speck
    };
    ImportReport report;
    const Part part = ImportPipeline::Run(Pieces(pieces), TolerantOptions(1e-4), report);
    EXPECT_EQ(report.tinyRemoved, 2u);
    ASSERT_EQ(part.loops->size(), 2u);
    std::size_t closed = 0;
    for (const IPatLoopPtr& loop : *part.loops) {
        if (loop->IsOpenPath(1e-4) == 0) {
            ++closed;
            EXPECT_EQ(loop->GetLoopNodes()->size(), 5u);
        } else {
            EXPECT_EQ(loop->GetLoopNodes()->size(), 1u);
        }
    }
    EXPECT_EQ(closed, 1u);
    // The module's exact clean-up drops the outline's tiny piece before chaining and opens the outline.
    ImportOptions exact;
    const Part before = Import(Pieces(pieces), exact);
    std::size_t open = 0;
    for (const IPatLoopPtr& loop : *before.loops) open += loop->IsOpenPath(kOpenLoopTol) != 0;
    EXPECT_EQ(open, 2u);
}

// One tolerance decides closed or open in every stage: a square whose last joint is 5e-5 apart holds a
// circle. Closed at 1e-4, the square is a rectangle with the circle nested in it, its joints exact; at
// 1e-5 the square is open everywhere (chaining, recognition, nesting), so the circle nests in nothing.
TEST(TolerantGrouperTest, JoinToleranceDecidesClosedInEveryStage) {
    const double gap = 5e-5;
    const auto pieces = [&] {
        return Pieces({boost::make_shared<LinePattern>(Point2D(0, 0), Point2D(30, 0)),
                       boost::make_shared<LinePattern>(Point2D(30, 0), Point2D(30, 20)),
                       boost::make_shared<LinePattern>(Point2D(30, 20), Point2D(0, 20)),
                       boost::make_shared<LinePattern>(Point2D(0, 20), Point2D(0, gap)),
                       boost::make_shared<CirclePattern>(Point2D(10, 10), 3.0)});
    };
    const Part closed = Import(pieces(), TolerantOptions(1e-4));
    ASSERT_EQ(closed.tree->size(), 1u);
    EXPECT_EQ(closed.tree->front()->GetSubItemList()->size(), 1u);
    EXPECT_EQ(closed.patterns->size(), 2u);  // the rectangle and the circle

    const Part open = Import(pieces(), TolerantOptions(1e-5));
    EXPECT_EQ(open.tree->size(), 2u);  // both at the top: an open chain encloses nothing
    EXPECT_EQ(open.patterns->size(), 5u);
    for (const IPatLoopPtr& loop : *open.loops) {
        if (loop->GetLoopType() == LOOP_POLY) {
            EXPECT_EQ(loop->IsOpenPath(1e-5), 1);
        }
    }
}

}  // namespace
}  // namespace Norvane
