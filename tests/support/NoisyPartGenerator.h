#pragma once

// Parts as real drawings deliver them, for measuring tolerant recognition: every standard hole kind at
// random sizes (0.5 to 50 mm) and rotations, drawn as loose lines and arcs in shuffled order, some run
// backwards, some split in two or drawn twice, with joint gaps of 1e-7 to 5e-6 of the drawing unit on
// about a third of the joints; optionally in inches (numbers scaled to millimetres as the reader does) and
// far from the origin. Near-misses (shapes that are not standard within any sensible tolerance) and a
// free-form plate outline come with them, to measure precision. Deterministic for a seed.
#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <random>
#include <string>
#include <vector>

#include <boost/make_shared.hpp>
#include <boost/pointer_cast.hpp>

#include "geomFeature/host/mathkit/MathEx.h"
#include "geomFeature/pattern/ArcPattern.h"
#include "geomFeature/pattern/CirclePattern.h"
#include "geomFeature/pattern/DoubleDPattern.h"
#include "geomFeature/pattern/EllipsePattern.h"
#include "geomFeature/pattern/LinePattern.h"
#include "geomFeature/pattern/OBroundPattern.h"
#include "geomFeature/pattern/PatternCache.h"
#include "geomFeature/pattern/PatternList.h"
#include "geomFeature/pattern/RCHolePattern.h"
#include "geomFeature/pattern/RadSlotPattern.h"
#include "geomFeature/pattern/RectHolePattern.h"
#include "geomFeature/pattern/SingleDPattern.h"
#include "geomFeature/pattern/TRHolePattern.h"
#include "geomFeature/processor/FittedShapeCanonical.h"
#include "geomFeature/processor/PatDecomposer.h"

namespace Norvane {
namespace testutil {

// The nine standard kinds, in the order reports list them.
inline const std::array<tagPatternType, 9>& StandardKinds() {
    static const std::array<tagPatternType, 9> kinds = {PAT_CIRCLE,    PAT_ELLIPSE, PAT_SINGLE_D,
                                                        PAT_DOUBLE_D,  PAT_OBROUND, PAT_RAD_SLOT,
                                                        PAT_RECT_HOLE, PAT_RC_HOLE, PAT_TR_HOLE};
    return kinds;
}

struct NoisyPartOptions {
    unsigned seed = 1;
    int perKind = 10;       // shapes of each kind
    int nearMisses = 10;    // near-misses of each of the five near-miss kinds
    double unitToMm = 1.0;  // 25.4: drawn in inches
    double offset = 0.0;    // the whole part moved by this many drawing units in x and y
    double gapMin = 1e-7;   // joint gaps, in drawing units (log-uniform between the two)
    double gapMax = 5e-6;
    double gapShare = 1.0 / 3.0;
    double splitShare = 0.1;
    double reverseShare = 0.3;
    double duplicateShare = 0.05;
};

struct NoisyPart {
    PatternListPtr pieces;            // in millimetres, shuffled
    std::vector<IPatternPtr> shapes;  // what was drawn, exact and canonical, in millimetres
    std::vector<Point2D> nearMissAt;  // a point inside each near-miss
    double maxCoordinate = 0.0;       // largest |x| or |y|, in millimetres
    // Every shape and near-miss has a square cell of its own: cell k (shapes first, then near-misses) is
    // centred at origin + cell * (k % columns + 1, k / columns + 1).
    Point2D origin;
    double cell = 0.0;
    int columns = 1;

    // The cell a point lies in, or -1 outside every cell.
    int CellOf(const Point2D& p) const {
        const long col = std::lround((p.x - origin.x) / cell) - 1;
        const long row = std::lround((p.y - origin.y) / cell) - 1;
        if (col < 0 || row < 0 || col >= columns)
            return -1;
        const long k = row * columns + col;
        return k < static_cast<long>(shapes.size() + nearMissAt.size()) ? static_cast<int>(k) : -1;
    }
};

namespace noisy_detail {

// A line or arc before it becomes a pattern.
struct Raw {
    bool arc = false;
    Point2D a;
    Point2D b;
    Point2D c;
    double r = 0.0;
    double start = 0.0;
    double sweep = 0.0;

    Point2D At(double t) const {
        if (!arc)
            return a + (b - a) * t;
        const double angle = start + t * sweep;
        return c + Vector2D(std::cos(angle), std::sin(angle)) * r;
    }
    IPatternPtr Make() const {
        if (arc)
            return boost::make_shared<ArcPattern>(c, r, start, sweep);
        return boost::make_shared<LinePattern>(a, b);
    }
};

inline Raw FromPattern(const IPatternPtr& p) {
    Raw raw;
    if (const auto arc = boost::dynamic_pointer_cast<ArcPattern>(p)) {
        raw.arc = true;
        raw.c = arc->GetBasePoint();
        raw.r = arc->GetBaseVector().Length();
        raw.start = arc->GetStartAngle();
        raw.sweep = arc->GetMoveAngle();
    } else {
        raw.a = p->GetStartPoint();
        raw.b = p->GetEndPoint();
    }
    return raw;
}

class Drawer {
public:
    Drawer(const NoisyPartOptions& o, NoisyPart& part) : m_o(o), m_part(part), m_rng(o.seed) {}

    double Uniform(double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(m_rng); }
    bool Chance(double p) { return Uniform(0.0, 1.0) < p; }
    double LogUniform(double lo, double hi) { return std::exp(Uniform(std::log(lo), std::log(hi))); }
    double Gap() { return LogUniform(m_o.gapMin, m_o.gapMax) * m_o.unitToMm; }

    // Draws a closed chain of pieces (in loop order) with the noise of a real drawing.
    void Draw(std::vector<Raw> chain) {
        for (std::size_t i = 0; i < chain.size(); ++i) {
            if (chain.size() > 1 && Chance(m_o.gapShare)) {
                const double gap = Gap();
                Raw& piece = chain[i];
                if (piece.arc) {  // the start slides along the circle: an end arc's sweep off by gap / r
                    const double turn = (Chance(0.5) ? gap : -gap) / piece.r;
                    piece.start += turn;
                    piece.sweep -= turn;
                } else {
                    const double angle = Uniform(0.0, MathEx::PI2);
                    piece.a = piece.a + Vector2D(std::cos(angle), std::sin(angle)) * gap;
                }
            }
        }
        for (const Raw& piece : chain) {
            std::vector<Raw> parts;
            if (Chance(m_o.splitShare)) {
                const double t = Uniform(0.3, 0.7);
                Raw first = piece;
                Raw second = piece;
                if (piece.arc) {
                    first.sweep = piece.sweep * t;
                    second.start = piece.start + first.sweep;
                    second.sweep = piece.sweep - first.sweep;
                } else {
                    first.b = piece.At(t);
                    second.a = first.b;
                }
                parts = {first, second};
            } else {
                parts = {piece};
            }
            for (Raw part : parts) {
                if (Chance(m_o.reverseShare)) {
                    if (part.arc) {
                        part.start += part.sweep;
                        part.sweep = -part.sweep;
                    } else {
                        std::swap(part.a, part.b);
                    }
                }
                Add(part);
                if (Chance(m_o.duplicateShare))
                    Add(part);
            }
        }
    }

    // The outline of an exact shape as the chain to draw.
    static std::vector<Raw> ChainOf(const IPatternPtr& shape) {
        std::vector<Raw> chain;
        const PatternListPtr parts = PatDecomposer::DecomposeStdPat(shape);
        for (const IPatternPtr& p : *parts) chain.push_back(FromPattern(p));
        return chain;
    }

    static std::vector<Raw> Polygon(const std::vector<Point2D>& corners) {
        std::vector<Raw> chain;
        for (std::size_t i = 0; i < corners.size(); ++i) {
            Raw line;
            line.a = corners[i];
            line.b = corners[(i + 1) % corners.size()];
            chain.push_back(line);
        }
        return chain;
    }

    std::vector<Raw> CircleChain(const Point2D& c, double r) {
        const int count = std::array<int, 3>{1, 2, 4}[static_cast<std::size_t>(Uniform(0.0, 2.999))];
        const double start = Uniform(-MathEx::PI, MathEx::PI);
        const double sweep = (Chance(0.5) ? 1.0 : -1.0) * MathEx::PI2 / count;
        std::vector<Raw> chain;
        for (int k = 0; k < count; ++k) {
            Raw arc;
            arc.arc = true;
            arc.c = c;
            arc.r = r;
            arc.start = start + k * sweep;
            arc.sweep = sweep;
            chain.push_back(arc);
        }
        return chain;
    }

    // Chords through points evenly spaced in the ellipse's parameter, from a random phase.
    std::vector<Point2D> EllipseVertices(const Point2D& c, double a, double b, double angle, int count) {
        const double phase = Uniform(0.0, MathEx::PI2);
        std::vector<Point2D> vertices;
        for (int k = 0; k < count; ++k) {
            const double t = phase + MathEx::PI2 * k / count;
            const Vector2D local(a * std::cos(t), b * std::sin(t));
            vertices.push_back(c + Vector2D(local.x * std::cos(angle) - local.y * std::sin(angle),
                                            local.x * std::sin(angle) + local.y * std::cos(angle)));
        }
        return vertices;
    }

    IPatternPtr RandomShape(tagPatternType kind, const Point2D& c) {
        const double s = LogUniform(0.5, 50.0);
        const double angle = Uniform(-MathEx::PI, MathEx::PI);
        switch (kind) {
            case PAT_CIRCLE:
                return boost::make_shared<CirclePattern>(c, s / 2.0);
            case PAT_ELLIPSE:
                return boost::make_shared<EllipsePattern>(c, angle, s,
                                                          std::min(s * Uniform(0.3, 0.8), s - 0.2));
            case PAT_SINGLE_D:
                return boost::make_shared<SingleDPattern>(c, s / 2.0, s / 2.0 * Uniform(0.2, 0.9), angle);
            case PAT_DOUBLE_D:
                return boost::make_shared<DoubleDPattern>(c, s / 2.0, s / 2.0 * Uniform(0.3, 0.9), angle);
            case PAT_OBROUND:
                return boost::make_shared<OBroundPattern>(c, angle, s * Uniform(0.3, 1.0),
                                                          s * Uniform(0.2, 0.6));
            case PAT_RAD_SLOT:
                return boost::make_shared<RadSlotPattern>(c, s / 2.0, angle, Uniform(0.3, 3.5),
                                                          s / 2.0 * Uniform(0.1, 0.5));
            case PAT_RECT_HOLE: {
                const double width = Chance(0.1) ? s : s * Uniform(0.2, 1.0);
                const Vector2D e(std::cos(angle), std::sin(angle));
                return boost::make_shared<RectHolePattern>(c - e * (s / 2) - e.Orthogonal() * (width / 2),
                                                           e * s, width / s);
            }
            case PAT_RC_HOLE: {
                const double width = s * Uniform(0.3, 1.0);
                return boost::make_shared<RCHolePattern>(c, s, width, width * Uniform(0.05, 0.4), angle);
            }
            case PAT_TR_HOLE: {
                const double height = s * Uniform(0.3, 1.0);
                const Vector2D up(-std::sin(angle), std::cos(angle));
                return boost::make_shared<TRHolePattern>(c - up * (height / 2), angle, s, height);
            }
            default:
                return IPatternPtr();
        }
    }

    void DrawShape(const IPatternPtr& shape) {
        shape->UpdateCache();
        if (shape->GetPatternType() == PAT_CIRCLE) {
            const auto circle = boost::dynamic_pointer_cast<CirclePattern>(shape);
            Draw(CircleChain(circle->GetBasePoint(), circle->GetRadius()));
        } else if (shape->GetPatternType() == PAT_ELLIPSE) {
            const auto e = boost::dynamic_pointer_cast<EllipsePattern>(shape);
            Draw(Polygon(EllipseVertices(e->GetBasePoint(), e->GetLength() / 2, e->GetWidth() / 2,
                                         e->GetAngle(), static_cast<int>(Uniform(21.0, 121.0)))));
        } else {
            Draw(ChainOf(shape));
        }
        CanonicaliseFittedShape(shape);
        shape->UpdateCache();
        m_part.shapes.push_back(shape);
    }

    // Five kinds of contour that are not standard shapes: a rectangle with one corner `off` out of place,
    // an obround whose end radii differ by `off`, a triangle whose apex stands `off` beside the axis, 30
    // chords of an ellipse with one vertex `off` outwards, and a free-form polygon.
    void DrawNearMiss(int which, const Point2D& c) {
        const double off = 0.01 * m_o.unitToMm;
        const double s = LogUniform(2.0, 50.0);
        const double angle = Uniform(-MathEx::PI, MathEx::PI);
        const Vector2D e(std::cos(angle), std::sin(angle));
        const Vector2D f = e.Orthogonal();
        switch (which) {
            case 0: {
                const double w = s * Uniform(0.3, 1.0);
                std::vector<Point2D> q = {c - e * (s / 2) - f * (w / 2), c + e * (s / 2) - f * (w / 2),
                                          c + e * (s / 2) + f * (w / 2), c - e * (s / 2) + f * (w / 2)};
                q[2] = q[2] + (e + f) * (off / std::sqrt(2.0));
                Draw(Polygon(q));
                break;
            }
            case 1: {
                const double half = s * 0.3;
                const double r1 = s * 0.2;
                const double r2 = r1 + off;
                const Point2D c1 = c - e * half;
                const Point2D c2 = c + e * half;
                Raw a1, a2, l1, l2;
                a1.arc = a2.arc = true;
                a1.c = c1;
                a1.r = r1;
                a1.start = angle + MathEx::PI / 2;
                a1.sweep = MathEx::PI;
                a2.c = c2;
                a2.r = r2;
                a2.start = angle - MathEx::PI / 2;
                a2.sweep = MathEx::PI;
                l1.a = a1.At(1.0);
                l1.b = a2.At(0.0);
                l2.a = a2.At(1.0);
                l2.b = a1.At(0.0);
                Draw({a1, l1, a2, l2});
                break;
            }
            case 2: {
                // Height s/2: the sloping sides are far shorter than the base, so only they could be the
                // equal pair, and they differ by about 0.7 off.
                const Point2D apex = c + f * (s * 0.5) + e * off;
                Draw(Polygon({c - e * (s / 2), c + e * (s / 2), apex}));
                break;
            }
            case 3: {
                std::vector<Point2D> v = EllipseVertices(c, s / 2, s * 0.3, angle, 30);
                v[7] = v[7] + (v[7] - c).GetUnit() * off;
                Draw(Polygon(v));
                break;
            }
            default: {
                std::vector<Point2D> q;
                const int n = static_cast<int>(Uniform(5.0, 8.0));
                for (int k = 0; k < n; ++k) {
                    const double t = angle + MathEx::PI2 * k / n;
                    q.push_back(c + Vector2D(std::cos(t), std::sin(t)) * (s / 2 * Uniform(0.6, 1.0)));
                }
                Draw(Polygon(q));
                break;
            }
        }
        m_part.nearMissAt.push_back(c);
    }

    void Add(const Raw& raw) { m_pieces.push_back(raw.Make()); }

    void Finish() {
        std::shuffle(m_pieces.begin(), m_pieces.end(), m_rng);
        m_part.pieces = boost::make_shared<PatternList>();
        for (const IPatternPtr& p : m_pieces) {
            p->UpdateCache();
            m_part.pieces->push_back(p);
        }
    }

private:
    const NoisyPartOptions& m_o;
    NoisyPart& m_part;
    std::mt19937 m_rng;
    std::vector<IPatternPtr> m_pieces;
};

}  // namespace noisy_detail

// Shapes sit in cells 120 mm apart inside a notched plate outline; kinds come round in turn.
inline NoisyPart MakeNoisyPart(const NoisyPartOptions& options) {
    NoisyPart part;
    noisy_detail::Drawer drawer(options, part);
    const double cell = 120.0;
    const double origin = options.offset * options.unitToMm;
    part.origin = Point2D(origin, origin);
    part.cell = cell;
    const int shapeCount = options.perKind * static_cast<int>(StandardKinds().size());
    const int total = shapeCount + 5 * options.nearMisses;
    const int columns = std::max(1, static_cast<int>(std::ceil(std::sqrt(static_cast<double>(total)))));
    part.columns = columns;
    const auto cellCentre = [&](int k) {
        return Point2D(origin + cell * (k % columns + 1), origin + cell * (k / columns + 1));
    };
    for (int k = 0; k < shapeCount; ++k) {
        const tagPatternType kind = StandardKinds()[static_cast<std::size_t>(k) % StandardKinds().size()];
        drawer.DrawShape(drawer.RandomShape(kind, cellCentre(k)));
    }
    for (int k = shapeCount; k < total; ++k) drawer.DrawNearMiss((k - shapeCount) % 5, cellCentre(k));
    const double right = origin + cell * (columns + 1);
    const double top = origin + cell * ((total + columns - 1) / columns + 1);
    const double notch = cell * 0.3;
    drawer.Draw(noisy_detail::Drawer::Polygon(
        {Point2D(origin, origin), Point2D(right, origin), Point2D(right, top - notch),
         Point2D(right - notch, top - notch), Point2D(right - notch, top), Point2D(origin, top)}));
    drawer.Finish();
    part.maxCoordinate = std::max({std::fabs(origin), std::fabs(right), std::fabs(top)});
    return part;
}

// How far a recognised shape's parameters are from the drawn one's, as a fraction of its size: the
// largest of the differences of base points, base vectors (a circle's: its radius) and the ratios times
// the base vector's length, over that length.
inline double ShapeParameterError(const IPatternPtr& truth, const IPatternPtr& found) {
    const double size = std::max(truth->GetBaseVector().Length(), 1e-300);
    double worst = truth->GetBasePoint().DistanceTo(found->GetBasePoint());
    if (truth->GetPatternType() == PAT_CIRCLE) {
        worst = std::max(worst, std::fabs(size - found->GetBaseVector().Length()));
        return worst / size;
    }
    worst = std::max(worst, (truth->GetBaseVector() - found->GetBaseVector()).Length());
    const auto ratio = [](const IPatternPtr& p) -> std::array<double, 2> {
        if (auto x = boost::dynamic_pointer_cast<EllipsePattern>(p))
            return {x->GetOrthoRatio(), 0.0};
        if (auto x = boost::dynamic_pointer_cast<OBroundPattern>(p))
            return {x->GetOrthoRatio(), 0.0};
        if (auto x = boost::dynamic_pointer_cast<SingleDPattern>(p))
            return {x->GetOrthoRatio(), 0.0};
        if (auto x = boost::dynamic_pointer_cast<DoubleDPattern>(p))
            return {x->GetOrthoRatio(), 0.0};
        if (auto x = boost::dynamic_pointer_cast<RectHolePattern>(p))
            return {x->GetOrthoRatio(), 0.0};
        if (auto x = boost::dynamic_pointer_cast<RCHolePattern>(p))
            return {x->GetOrthoRatio(), x->GetArcRatio()};
        if (auto x = boost::dynamic_pointer_cast<TRHolePattern>(p))
            return {x->GetOrthoRatio(), 0.0};
        if (auto x = boost::dynamic_pointer_cast<RadSlotPattern>(p))
            return {x->GetWidthRatio(), x->GetMoveAngle()};
        return {0.0, 0.0};
    };
    const std::array<double, 2> r1 = ratio(truth);
    const std::array<double, 2> r2 = ratio(found);
    worst = std::max({worst, std::fabs(r1[0] - r2[0]) * size, std::fabs(r1[1] - r2[1]) * size});
    return worst / size;
}

// Recall, precision and parameter error of a recognition run on a noisy part.
struct RecognitionScore {
    struct Kind {
        int drawn = 0;
        int found = 0;            // recognised as this kind, in its own cell
        double worstError = 0.0;  // ShapeParameterError of the found ones
    };
    std::map<int, Kind> kinds;  // by pattern type
    int recognised = 0;         // standard shapes in the result
    int wrong = 0;              // of which not the shape drawn there (a near-miss, another kind, the outline)

    double Recall(int kind) const {
        const Kind& k = kinds.at(kind);
        return k.drawn ? static_cast<double>(k.found) / k.drawn : 1.0;
    }
    double Precision() const { return recognised ? 1.0 - static_cast<double>(wrong) / recognised : 1.0; }
};

// tolerance: the closing tolerance of the import, by which it told squares from rectangles.
inline RecognitionScore ScoreRecognition(const NoisyPart& part, const PatternList& result, double tolerance) {
    RecognitionScore score;
    for (const IPatternPtr& shape : part.shapes) ++score.kinds[shape->GetPatternType()].drawn;
    std::vector<int> taken(part.shapes.size(), 0);
    for (const IPatternPtr& pattern : result) {
        if (!pattern->IsStdPat())
            continue;
        ++score.recognised;
        const int k = part.CellOf(pattern->GetCacheData()->GetRect().GetCenterPt());
        if (k < 0 || k >= static_cast<int>(part.shapes.size()) || taken[static_cast<std::size_t>(k)] ||
            part.shapes[static_cast<std::size_t>(k)]->GetPatternType() != pattern->GetPatternType()) {
            ++score.wrong;
            continue;
        }
        taken[static_cast<std::size_t>(k)] = 1;
        RecognitionScore::Kind& kind = score.kinds[pattern->GetPatternType()];
        ++kind.found;
        // The exact rules give the drawn parameters, not the canonical ones: compare in canonical form.
        const IPatternPtr canonical = boost::dynamic_pointer_cast<IPattern>(pattern->Clone());
        CanonicaliseFittedShape(canonical, tolerance);
        const IPatternPtr truth =
            boost::dynamic_pointer_cast<IPattern>(part.shapes[static_cast<std::size_t>(k)]->Clone());
        CanonicaliseFittedShape(truth, tolerance);
        kind.worstError = std::max(kind.worstError, ShapeParameterError(truth, canonical));
    }
    return score;
}

}  // namespace testutil
}  // namespace Norvane
