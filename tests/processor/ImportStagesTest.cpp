// The import stages that callers switch on: canonical descriptions of recognised shapes and arrays of them,
// loop optimisation before recognition, duplicate loops.
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
#include "geomFeature/host/appframe/ResourceString.h"
#include "geomFeature/host/geomkit/Matrix2D.h"
#include "geomFeature/host/geomkit/RepeatData.h"
#include "geomFeature/pattern/ArcPattern.h"
#include "geomFeature/pattern/CirclePattern.h"
#include "geomFeature/pattern/DoubleDPattern.h"
#include "geomFeature/pattern/EllipsePattern.h"
#include "geomFeature/pattern/IArrayPattern.h"
#include "geomFeature/pattern/LinePattern.h"
#include "geomFeature/pattern/OBroundPattern.h"
#include "geomFeature/pattern/PatternCache.h"
#include "geomFeature/pattern/RCHolePattern.h"
#include "geomFeature/pattern/RadSlotPattern.h"
#include "geomFeature/pattern/RectHolePattern.h"
#include "geomFeature/pattern/SingleDPattern.h"
#include "geomFeature/pattern/TRHolePattern.h"
#include "geomFeature/processor/ImportPipeline.h"
#include "geomFeature/processor/PatDecomposer.h"
#include "geomFeature/processor/StdShapeCanonical.h"
#include "tests/support/OutlineMetrics.h"

namespace Norvane {
namespace {

constexpr double kPi = 3.14159265358979323846;

double Uniform(std::mt19937& rng, double lo, double hi) {
    return std::uniform_real_distribution<>(lo, hi)(rng);
}

Geom2DList Outline(const IPatternPtr& p) {
    p->UpdateCache();
    return *p->GetCacheData()->GetBaseGeom();
}

// A shape of random size and turn centred on c, and other descriptions of that very shape (another start
// corner or side, the turn a symmetry period on, the axes exchanged, the sweep reversed).
struct ShapeKind {
    const char* name;
    tagPatternType type;
    std::function<IPatternPtr(std::mt19937&, const Point2D&)> make;
    std::function<std::vector<IPatternPtr>(const IPatternPtr&)> others;
};

template <class T>
boost::shared_ptr<T> As(const IPatternPtr& p) {
    return boost::dynamic_pointer_cast<T>(p);
}

const std::vector<ShapeKind>& Kinds() {
    static const std::vector<ShapeKind> kinds = {
        {"circle", PAT_CIRCLE,
         [](std::mt19937& rng, const Point2D& c) -> IPatternPtr {
             return boost::make_shared<CirclePattern>(c, Uniform(rng, 1, 4));
         },
         [](const IPatternPtr& p) {
             const auto c = As<CirclePattern>(p);
             IPatternPtr turned = boost::make_shared<CirclePattern>(c->GetBasePoint(), c->GetRadius());
             Vector2D v = c->GetBaseVector();
             v.Rotate(1.0);
             turned->SetBaseVector(v);
             return std::vector<IPatternPtr>{turned};
         }},
        {"rectangle", PAT_RECT_HOLE,
         [](std::mt19937& rng, const Point2D& c) -> IPatternPtr {
             const double l = Uniform(rng, 2, 6), a = Uniform(rng, -kPi, kPi);
             return boost::make_shared<RectHolePattern>(c, Vector2D(l * std::cos(a), l * std::sin(a)),
                                                        Uniform(rng, 0.3, 1.5));
         },
         [](const IPatternPtr& p) {
             const auto r = As<RectHolePattern>(p);
             const Vector2D v = r->GetBaseVector(), w = r->GetWidthVector();
             const Point2D c0 = r->GetBasePoint();
             return std::vector<IPatternPtr>{
                 boost::make_shared<RectHolePattern>(c0 + v, w, v.Length() / w.Length()),
                 boost::make_shared<RectHolePattern>(c0 + v + w, -v, w.Length() / v.Length()),
                 boost::make_shared<RectHolePattern>(c0 + w, -w, v.Length() / w.Length()),
                 // the width vector on the right of the side
                 boost::make_shared<RectHolePattern>(c0 + w, v, -w.Length() / v.Length())};
         }},
        {"rounded-rectangle", PAT_RC_HOLE,
         [](std::mt19937& rng, const Point2D& c) -> IPatternPtr {
             const double l = Uniform(rng, 4, 8);
             return boost::make_shared<RCHolePattern>(c, l, l * 0.6, l * 0.1, Uniform(rng, -kPi, kPi));
         },
         [](const IPatternPtr& p) {
             const auto r = As<RCHolePattern>(p);
             return std::vector<IPatternPtr>{boost::make_shared<RCHolePattern>(
                 r->GetBasePoint(), r->GetLength(), r->GetWidth(), r->GetArcRadius(), r->GetAngle() + kPi)};
         }},
        {"obround", PAT_OBROUND,
         [](std::mt19937& rng, const Point2D& c) -> IPatternPtr {
             const double l = Uniform(rng, 3, 6);
             return boost::make_shared<OBroundPattern>(c, Uniform(rng, -kPi, kPi), l, l * 0.5);
         },
         [](const IPatternPtr& p) {
             const auto o = As<OBroundPattern>(p);
             return std::vector<IPatternPtr>{boost::make_shared<OBroundPattern>(
                 o->GetBasePoint(), o->GetAngle() - kPi, o->GetLength(), o->GetWidth())};
         }},
        {"double-d", PAT_DOUBLE_D,
         [](std::mt19937& rng, const Point2D& c) -> IPatternPtr {
             const double r = Uniform(rng, 2, 4);
             return boost::make_shared<DoubleDPattern>(c, r, r * 0.7, Uniform(rng, -kPi, kPi));
         },
         [](const IPatternPtr& p) {
             const auto d = As<DoubleDPattern>(p);
             return std::vector<IPatternPtr>{boost::make_shared<DoubleDPattern>(
                 d->GetBasePoint(), d->GetRadius(), d->GetToChord(), d->GetAngle() + kPi)};
         }},
        {"single-d", PAT_SINGLE_D,
         [](std::mt19937& rng, const Point2D& c) -> IPatternPtr {
             const double r = Uniform(rng, 2, 4);
             return boost::make_shared<SingleDPattern>(c, r, r * 0.6, Uniform(rng, -kPi, kPi));
         },
         [](const IPatternPtr& p) {
             const auto d = As<SingleDPattern>(p);
             return std::vector<IPatternPtr>{boost::make_shared<SingleDPattern>(
                 d->GetBasePoint(), d->GetRadius(), d->GetToChord(), d->GetAngle() + 2 * kPi)};
         }},
        {"ellipse", PAT_ELLIPSE,
         [](std::mt19937& rng, const Point2D& c) -> IPatternPtr {
             const double l = Uniform(rng, 4, 8);
             return boost::make_shared<EllipsePattern>(c, Uniform(rng, -kPi, kPi), l, l * 0.5);
         },
         [](const IPatternPtr& p) {
             const auto e = As<EllipsePattern>(p);
             const Point2D c = e->GetBasePoint();
             return std::vector<IPatternPtr>{
                 boost::make_shared<EllipsePattern>(c, e->GetAngle() + kPi / 2, e->GetWidth(), e->GetLength()),
                 boost::make_shared<EllipsePattern>(c, e->GetAngle() + kPi, e->GetLength(), e->GetWidth())};
         }},
        {"radius-slot", PAT_RAD_SLOT,
         [](std::mt19937& rng, const Point2D& c) -> IPatternPtr {
             const double r = Uniform(rng, 3, 5);
             return boost::make_shared<RadSlotPattern>(c, r, Uniform(rng, -kPi, kPi), Uniform(rng, 0.5, 2), 1.0);
         },
         [](const IPatternPtr& p) {
             const auto s = As<RadSlotPattern>(p);
             return std::vector<IPatternPtr>{boost::make_shared<RadSlotPattern>(
                 s->GetBasePoint(), s->GetRadius(), s->GetEndAngle(), -s->GetMoveAngle(), s->GetWidth())};
         }},
        {"triangle", PAT_TR_HOLE,  // equilateral: three descriptions, one from each side
         [](std::mt19937& rng, const Point2D& c) -> IPatternPtr {
             const double l = Uniform(rng, 3, 6);
             return boost::make_shared<TRHolePattern>(c, Uniform(rng, -kPi, kPi), l, l * std::sqrt(3.0) / 2);
         },
         [](const IPatternPtr& p) {
             const auto t = As<TRHolePattern>(p);
             const Point2D right = t->GetBasePoint() + t->GetBaseVector() / 2.0;
             const Point2D left = t->GetBasePoint() - t->GetBaseVector() / 2.0;
             const Point2D apex = t->GetApex();
             const double l = t->GetLength(), h = t->GetHeight();
             return std::vector<IPatternPtr>{
                 boost::make_shared<TRHolePattern>((right + apex) / 2.0, (apex - right).Angle(), l, h),
                 boost::make_shared<TRHolePattern>((apex + left) / 2.0, (left - apex).Angle(), l, h)};
         }},
    };
    return kinds;
}

// Every description of a shape becomes one and the same: IsSameShape holds between all of them (it is
// exact for most kinds), and each still traces the shape's outline.
TEST(StdShapeCanonicalTest, EquivalentDescriptionsBecomeEqual) {
    for (const ShapeKind& kind : Kinds()) {
        SCOPED_TRACE(kind.name);
        for (unsigned seed = 1; seed <= 20; ++seed) {
            std::mt19937 rng(seed);
            const IPatternPtr shape = kind.make(rng, Point2D(Uniform(rng, -500, 500), Uniform(rng, -500, 500)));
            const Geom2DList outline = Outline(shape);
            std::vector<IPatternPtr> all = kind.others(shape);
            all.push_back(shape);
            for (const IPatternPtr& p : all) {
                CanonicaliseStdShape(p);
                EXPECT_EQ(p->GetPatternType(), kind.type);
                EXPECT_TRUE(testutil::SameCurve(Outline(p), outline, 1e-7));
            }
            for (const IPatternPtr& a : all)
                for (const IPatternPtr& b : all) EXPECT_EQ(a->IsSameShape(b), 1);
        }
    }
}

// --- Arrays: holes drawn as loose pieces, every copy starting at another piece ----------------------

struct Drawn {
    PatternListPtr patterns = boost::make_shared<PatternList>();
    std::vector<Geom2DList> holes;  // the outline of every hole drawn
};

// An ellipse as drawings from other systems have it: 36 lines between points on it.
PatternListPtr EllipseAsLines(const EllipsePattern& ellipse) {
    auto lines = boost::make_shared<PatternList>();
    const double a = ellipse.GetLength() / 2, b = ellipse.GetWidth() / 2, t = ellipse.GetAngle();
    const Point2D c = ellipse.GetBasePoint();
    const auto at = [&](int i) {
        const double u = 2 * kPi * i / 36;
        return Point2D(c.x + a * std::cos(u) * std::cos(t) - b * std::sin(u) * std::sin(t),
                       c.y + a * std::cos(u) * std::sin(t) + b * std::sin(u) * std::cos(t));
    };
    for (int i = 0; i < 36; ++i) lines->push_back(boost::make_shared<LinePattern>(at(i), at(i + 1)));
    return lines;
}

// The shape drawn as loose lines and arcs (an ellipse as 36 lines), its pieces listed from the k-th on,
// every other one reversed.
void DrawHole(const IPatternPtr& shape, std::size_t k, Drawn& drawn) {
    const auto ellipse = As<EllipsePattern>(shape);
    const PatternListPtr pieces = ellipse ? EllipseAsLines(*ellipse) : PatDecomposer::DecomposeStdPat(shape);
    if (ellipse) {
        Geom2DList outline;
        for (const IPatternPtr& line : *pieces) outline.Append(Outline(line));
        drawn.holes.push_back(outline);
    } else {
        drawn.holes.push_back(Outline(shape));
    }
    for (std::size_t i = 0; i < pieces->size(); ++i) {
        const IPatternPtr& piece = (*pieces)[(i + k) % pieces->size()];
        piece->UpdateCache();
        if ((i + k) % 2) ImportPipeline::ReversePiece(piece);
        drawn.patterns->push_back(piece);
    }
}

void DrawPlate(Drawn& drawn, double size) {
    const Point2D corner[] = {{-10, -10}, {size, -10}, {size, size}, {0, size}, {-10, size - 10}};
    for (int i = 0; i < 5; ++i) {
        auto line = boost::make_shared<LinePattern>(corner[i], corner[(i + 1) % 5]);
        line->UpdateCache();
        drawn.patterns->push_back(line);
    }
}

ImportOptions WithStages(bool arrays, bool optimize = false, double tol = 0.01) {
    ImportOptions options;
    options.arrays = arrays;
    options.removeDuplicates = true;
    options.optimize = optimize;
    options.optimizeTol = tol;
    return options;
}

// A 4 x 3 block and a row of 5 of every kind, each copy drawn from another start piece: the arrays take in
// every copy, their outlines trace exactly the holes drawn, and nothing is left outside.
TEST(ImportArraysTest, EqualHolesDrawnFromAnyStartFormArrays) {
    for (const ShapeKind& kind : Kinds()) {
        SCOPED_TRACE(kind.name);
        Drawn drawn;
        std::size_t k = 0;
        const auto copy = [&](const Point2D& at) {
            std::mt19937 rng(7);  // the same shape every time
            DrawHole(kind.make(rng, at), k++, drawn);
        };
        for (int i = 0; i < 4; ++i)
            for (int j = 0; j < 3; ++j) copy(Point2D(10.0 + 12.5 * i, 10.0 + 15.1 * j));
        for (int i = 0; i < 5; ++i) copy(Point2D(10.0 + 11.3 * i, 70.0));
        DrawPlate(drawn, 90);

        ImportReport report;
        const Part part = ImportPipeline::Run(drawn.patterns, WithStages(true), report);
        EXPECT_EQ(report.arrays, 2u);
        EXPECT_EQ(report.arrayCopies, 17u);
        Geom2DList copies;
        for (const IPatLoopPtr& loop : *part.loops) {
            EXPECT_NE(loop->GetLoopType(), LOOP_STD) << "a hole outside the arrays";
            if (loop->GetLoopType() == LOOP_ARRAY) copies.Append(*loop->GetCacheData()->GetLoopBaseGeom());
        }
        Geom2DList holes;
        for (const Geom2DList& hole : drawn.holes) holes.Append(hole);
        // Ellipses are fitted to their lines, within the grouping bound; the other shapes are exact.
        const bool fitted = kind.type == PAT_ELLIPSE;
        EXPECT_TRUE(testutil::SameCurve(copies, holes, fitted ? 0.05 : 1e-6));
        if (!fitted) {
            EXPECT_EQ(copies.size(), holes.size());
        }

    }
}

// --- Optimisation: shapes drawn as chains of chords ---------------------------------------------------

// The outline of shape with every arc replaced by chords whose sagitta is `sag`, at most 9 degrees each
// (coarser chains are never fitted).
PatternListPtr Chords(const IPatternPtr& shape, double sag) {
    auto lines = boost::make_shared<PatternList>();
    for (const IGeom2DPtr& g : Outline(shape)) {
        const auto arc = boost::dynamic_pointer_cast<Arc2D>(g);
        if (!arc) {
            lines->push_back(boost::make_shared<LinePattern>(g->GetStartPoint(), g->GetEndPoint()));
            continue;
        }
        const double step = std::min(2 * std::acos(1 - sag / arc->GetRadius()), kPi / 20);
        const int n = static_cast<int>(std::ceil(std::fabs(arc->GetSweepAngle()) / step));
        for (int i = 0; i < n; ++i)
            lines->push_back(boost::make_shared<LinePattern>(arc->GetPointAtPercent(double(i) / n),
                                                             arc->GetPointAtPercent(double(i + 1) / n)));
    }
    lines->UpdateCache();
    return lines;
}

// The pattern list holds exactly the patterns of the loops (no arrays here).
void ExpectListsMatch(const Part& part) {
    std::set<const IPattern*> listed;
    for (const IPatternPtr& p : *part.patterns) listed.insert(p.get());
    std::set<const IPattern*> used;
    for (const IPatLoopPtr& loop : *part.loops)
        for (const PatLoopNodePtr& node : *loop->GetLoopNodes()) used.insert(node->GetPat().get());
    EXPECT_EQ(listed, used);
    EXPECT_EQ(listed.size(), part.patterns->size());
}

// Circles, obrounds and rounded rectangles drawn as chains of chords that lie within the tolerance of the
// shape are recognised after the optimisation, and the shape stays within the tolerance of the chords. A
// quarter disc beside it, whose chords become one arc between its two radii, stays a polygon.
TEST(ImportOptimizeTest, ChordChainsWithinTheToleranceBecomeTheirShapes) {
    const int kinds[] = {0, 3, 2};  // circle, obround, rounded rectangle in Kinds()
    for (const double tol : {0.002, 0.01, 0.05}) {
        for (const int index : kinds) {
            const ShapeKind& kind = Kinds()[static_cast<std::size_t>(index)];
            for (unsigned seed = 1; seed <= 2; ++seed) {
                SCOPED_TRACE(std::string(kind.name) + " tol " + std::to_string(tol) + " seed " +
                             std::to_string(seed));
                std::mt19937 rng(seed);
                const IPatternPtr shape = kind.make(rng, Point2D(Uniform(rng, 20, 40), Uniform(rng, 20, 40)));
                const PatternListPtr chords = Chords(shape, tol * Uniform(rng, 0.3, 0.9));
                Drawn drawn;
                drawn.patterns->AddPatterns(chords);
                DrawPlate(drawn, 60);
                const PatternListPtr quarter =
                    Chords(boost::make_shared<ArcPattern>(Point2D(5, 5), 4.0, 0.0, kPi / 2), tol * 0.5);
                drawn.patterns->AddPatterns(quarter);
                for (const Point2D& end : {Point2D(9, 5), Point2D(5, 9)}) {
                    drawn.patterns->push_back(boost::make_shared<LinePattern>(Point2D(5, 5), end));
                    drawn.patterns->back()->UpdateCache();
                }
                Geom2DList chain;
                for (const IPatternPtr& line : *chords) chain.Append(*line->GetCacheData()->GetBaseGeom());

                if (seed == 1) {  // without the optimisation the chords stay a polygon
                    ImportReport plain;
                    const Part before = ImportPipeline::Run(drawn.patterns, WithStages(false), plain);
                    EXPECT_EQ(before.patterns->GetPatByCategory(GEOM_CATEGORY_STD, 0)->size(), 0u);
                }

                ImportReport report;
                const Part part = ImportPipeline::Run(drawn.patterns, WithStages(false, true, tol), report);
                const PatternListPtr shapes = part.patterns->GetPatByCategory(GEOM_CATEGORY_STD, 0);
                ASSERT_EQ(shapes->size(), 1u);
                EXPECT_EQ(shapes->front()->GetPatternType(), kind.type);
                EXPECT_TRUE(testutil::SameCurve(Outline(shapes->front()), chain, tol * (1 + 1e-9)));
                EXPECT_EQ(report.optimizeRecognised, 1u);
                // The plate's five sides stay; the chords become the shape's pieces and the quarter's arc.
                EXPECT_EQ(report.optimizeRemoved, chords->size() - Outline(shape).size() + quarter->size() - 1);
                ExpectListsMatch(part);
            }
        }
    }
}

// A contour drawn twice keeps one loop, and the other loop's pieces leave the part: an obround drawn again
// 0.05 um off (chaining at 1e-6, so the copies stay apart) and a circle drawn again as an arc from another
// start. Merging is off: it would take identical pieces out before the loops are built. A contour and its
// mirror image in the same box (same length, same element count) are no duplicates.
TEST(ImportDuplicatesTest, AContourDrawnTwiceKeepsOneLoop) {
    Drawn drawn;
    for (const double mirror : {1.0, -1.0}) {
        const Point2D quad[] = {{0, 0}, {10, 2}, {8, 10}, {1, 7}};
        for (int i = 0; i < 4; ++i) {
            const Point2D a = quad[i], b = quad[(i + 1) % 4];
            auto line = boost::make_shared<LinePattern>(Point2D(10 + mirror * (a.x - 5), 40 + a.y),
                                                        Point2D(10 + mirror * (b.x - 5), 40 + b.y));
            line->UpdateCache();
            drawn.patterns->push_back(line);
        }
    }
    for (const double shift : {0.0, 5e-5}) {
        std::mt19937 rng(3);
        DrawHole(Kinds()[3].make(rng, Point2D(20 + shift, 20 + shift)), 0, drawn);
    }
    DrawHole(boost::make_shared<CirclePattern>(Point2D(40, 40), 3.0), 0, drawn);
    DrawHole(boost::make_shared<ArcPattern>(Point2D(40, 40), 3.0, 1.0, 2 * kPi), 0, drawn);
    DrawPlate(drawn, 60);
    ImportOptions options = WithStages(false);
    options.merge = false;
    options.joinTol = 1e-6;
    ImportReport report;
    const Part part = ImportPipeline::Run(drawn.patterns, options, report);
    EXPECT_EQ(report.duplicateLoops, 2u);
    EXPECT_EQ(part.loops->size(), 5u);
    ExpectListsMatch(part);
}

// Cancelled while it optimises, the import stops there and leaves a pattern list that matches its loops.
TEST(ImportOptimizeTest, ACancelDuringTheOptimisationLeavesConsistentLists) {
    Drawn drawn;
    for (int i = 0; i < 30; ++i) {
        drawn.patterns->AddPatterns(
            Chords(boost::make_shared<CirclePattern>(Point2D(10.0 * i, 0), 3.0), 0.005));
    }
    auto progress = boost::make_shared<ProgressData>();
    const std::wstring optimising = ImportPipeline::StageText(tagImportStage::Optimize);
    ImportReport report;
    const Part part = ImportPipeline::Run(drawn.patterns, WithStages(true, true), report, progress, [&] {
        std::lock_guard<std::mutex> lock(progress->GetMutex());
        if (progress->GetSubTask() == optimising) progress->SetCancel(true);
    });
    EXPECT_TRUE(report.cancelled);
    EXPECT_EQ(report.stages.back().stage, tagImportStage::Optimize);
    ExpectListsMatch(part);
}

}  // namespace
}  // namespace Norvane
