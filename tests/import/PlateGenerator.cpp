#include "tests/import/PlateGenerator.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <random>
#include <vector>

#include <boost/make_shared.hpp>

#include "geomFeature/pattern/ArcPattern.h"
#include "geomFeature/pattern/LinePattern.h"

namespace Norvane {
namespace testplate {

namespace {

constexpr double kPi = 3.14159265358979323846;
// Side of the square cell each group of holes is drawn in.
constexpr double kCell = 40.0;
// Joints this close count as exact; shapes do not draw a connecting line across them.
constexpr double kExact = 1e-9;

using Chain = std::vector<IPatternPtr>;

IPatternPtr Line(const Point2D& a, const Point2D& b) {
    return boost::make_shared<LinePattern>(a, b);
}
IPatternPtr Arc(const Point2D& c, double r, double start, double sweep) {
    return boost::make_shared<ArcPattern>(c, r, start, sweep);
}
Point2D At(const Point2D& c, double r, double angle) {
    return Point2D(c.x + r * std::cos(angle), c.y + r * std::sin(angle));
}
Point2D Offset(const Point2D& c, double along, double across, double angle) {
    return Point2D(c.x + along * std::cos(angle) - across * std::sin(angle),
                   c.y + along * std::sin(angle) + across * std::cos(angle));
}

IPatternPtr Reversed(const IPatternPtr& p) {
    if (p->GetPatternType() == PAT_LINE)
        return Line(p->GetEndPoint(), p->GetStartPoint());
    const auto arc = boost::dynamic_pointer_cast<ArcPattern>(p);
    return Arc(arc->GetBasePoint(), arc->GetRadius(), arc->GetStartAngle() + arc->GetMoveAngle(),
               -arc->GetMoveAngle());
}

// Arcs joined in order by the lines between the end of one and the start of the next (none where they meet).
Chain ArcsJoined(const std::vector<IPatternPtr>& arcs) {
    Chain chain;
    for (std::size_t i = 0; i < arcs.size(); ++i) {
        chain.push_back(arcs[i]);
        const Point2D from = arcs[i]->GetEndPoint();
        const Point2D to = arcs[(i + 1) % arcs.size()]->GetStartPoint();
        if (from.DistanceTo(to) > kExact)
            chain.push_back(Line(from, to));
    }
    return chain;
}

Chain Polygon(const std::vector<Point2D>& pts) {
    Chain chain;
    for (std::size_t i = 0; i < pts.size(); ++i) chain.push_back(Line(pts[i], pts[(i + 1) % pts.size()]));
    return chain;
}

class Plate {
public:
    explicit Plate(const PlateSpec& spec) : m_spec(spec), m_rng(spec.seed) {}
    PatternListPtr Make();

private:
    double U(double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(m_rng); }
    int I(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(m_rng); }
    bool P(double p) { return U(0.0, 1.0) < p; }

    // --- Shapes, as closed chains around c ---------------------------------------------------------
    Chain Circle(const Point2D& c, double r, int parts) {
        std::vector<IPatternPtr> arcs;
        const double a0 = U(0, 2 * kPi);
        for (int k = 0; k < parts; ++k) arcs.push_back(Arc(c, r, a0 + 2 * kPi * k / parts, 2 * kPi / parts));
        return ArcsJoined(arcs);
    }
    Chain Obround(const Point2D& c, double length, double width, double th) {
        const double r = width / 2, half = (length - width) / 2;
        return ArcsJoined({Arc(Offset(c, half, 0, th), r, th - kPi / 2, kPi),
                           Arc(Offset(c, -half, 0, th), r, th + kPi / 2, kPi)});
    }
    Chain RoundedRect(const Point2D& c, double length, double width, double r, double th) {
        const double x = length / 2 - r, y = width / 2 - r;
        return ArcsJoined({Arc(Offset(c, x, y, th), r, th, kPi / 2),
                           Arc(Offset(c, -x, y, th), r, th + kPi / 2, kPi / 2),
                           Arc(Offset(c, -x, -y, th), r, th + kPi, kPi / 2),
                           Arc(Offset(c, x, -y, th), r, th + 1.5 * kPi, kPi / 2)});
    }
    Chain SingleD(const Point2D& c, double r, double flat, double th) {
        const double a = std::acos(flat / r);
        return ArcsJoined({Arc(c, r, th + a, 2 * kPi - 2 * a)});
    }
    Chain DoubleD(const Point2D& c, double r, double flat, double th) {
        const double a = std::acos(flat / r);
        return ArcsJoined({Arc(c, r, th + a, kPi - 2 * a), Arc(c, r, th + kPi + a, kPi - 2 * a)});
    }
    Chain RadSlot(const Point2D& c, double radius, double width, double a0, double sweep) {
        const double w = width / 2;
        return ArcsJoined({Arc(c, radius + w, a0, sweep), Arc(At(c, radius, a0 + sweep), w, a0 + sweep, kPi),
                           Arc(c, radius - w, a0 + sweep, -sweep), Arc(At(c, radius, a0), w, a0 + kPi, kPi)});
    }
    Chain Ellipse(const Point2D& c, double a, double b, double th, int n) {
        std::vector<Point2D> pts;
        for (int k = 0; k < n; ++k) {
            const double t = 2 * kPi * k / n;
            pts.push_back(Offset(c, a * std::cos(t), b * std::sin(t), th));
        }
        return Polygon(pts);
    }
    Chain Rect(const Point2D& c, double length, double width, double th) {
        return Polygon({Offset(c, -length / 2, -width / 2, th), Offset(c, length / 2, -width / 2, th),
                        Offset(c, length / 2, width / 2, th), Offset(c, -length / 2, width / 2, th)});
    }
    Chain Triangle(const Point2D& c, double base, double height, double th) {
        return Polygon({Offset(c, -base / 2, 0, th), Offset(c, base / 2, 0, th), Offset(c, 0, height, th)});
    }
    Chain Freeform(const Point2D& c, double radius, int n) {
        std::vector<Point2D> pts;
        for (int k = 0; k < n; ++k) pts.push_back(At(c, radius * U(0.75, 1.0), 2 * kPi * k / n));
        return Polygon(pts);
    }
    // One hole of a random kind and size, fitting in a circle of the given radius.
    Chain AnyHole(const Point2D& c, double fit) {
        const double th = P(0.5) ? 0.0 : U(0, 2 * kPi);
        switch (I(0, 11)) {
            case 0:
                return Circle(c, fit * U(0.3, 1), 1);
            case 1:
                return Circle(c, fit * U(0.3, 1), 2);
            case 2:
                return Circle(c, fit * U(0.3, 1), 4);
            case 3:
                return Obround(c, 2 * fit * 0.9, fit * U(0.4, 0.8), th);
            case 4:
                return RoundedRect(c, 1.4 * fit, fit * U(0.6, 1.0), fit * 0.2, th);
            case 5:
                return SingleD(c, fit * 0.8, fit * U(0.3, 0.7), th);
            case 6:
                return DoubleD(c, fit * 0.8, fit * U(0.3, 0.7), th);
            case 7:
                return RadSlot(c, fit * 0.7, fit * 0.3, th, U(0.5, 2.5));
            case 8:
                return Ellipse(c, fit * 0.9, fit * U(0.3, 0.7), th, 36);
            case 9:
                return Rect(c, 1.4 * fit, fit * U(0.4, 1.0), th);
            case 10:
                return Triangle(c, fit * 1.2, fit * U(0.6, 1.4), th);
            default:
                return Freeform(c, fit, I(8, 60));
        }
    }

    // --- Output with the perturbations of a real drawing --------------------------------------------
    void Emit(const IPatternPtr& p) { m_out.push_back(P(0.5) ? Reversed(p) : p); }
    void Contour(const Chain& chain) {
        for (std::size_t i = 0; i < chain.size(); ++i) {
            IPatternPtr piece = chain[i];
            if (piece->GetPatternType() == PAT_LINE && P(0.08)) {  // a gap at the start joint
                const Point2D s = piece->GetStartPoint();
                const double gap = U(1e-7, 9e-6), dir = U(0, 2 * kPi);
                piece =
                    Line(Point2D(s.x + gap * std::cos(dir), s.y + gap * std::sin(dir)), piece->GetEndPoint());
            }
            if (piece->GetPatternType() == PAT_LINE && P(0.03)) {  // split in two, overlapping or touching
                const Point2D s = piece->GetStartPoint(), e = piece->GetEndPoint();
                const double t1 = U(0.3, 0.5), t2 = P(0.5) ? t1 : U(0.5, 0.7);
                Emit(Line(s, Point2D(s.x + t2 * (e.x - s.x), s.y + t2 * (e.y - s.y))));
                Emit(Line(Point2D(s.x + t1 * (e.x - s.x), s.y + t1 * (e.y - s.y)), e));
                continue;
            }
            Emit(piece);
            if (P(0.02))
                Emit(piece);  // drawn twice (Emit may reverse either copy)
        }
    }

    // --- Groups ---------------------------------------------------------------------------------------
    void HoleGrid(const Point2D& o) {
        const int kind = I(0, 11), rows = I(2, 5), cols = I(2, 5);
        const double pitch = kCell / std::max(rows, cols), th = P(0.7) ? 0.0 : U(0, kPi);
        for (int i = 0; i < rows; ++i) {
            for (int j = 0; j < cols; ++j) {
                Contour(HoleOfKind(kind, Offset(o, pitch * (j + 0.5), pitch * (i + 0.5), th), pitch * 0.35));
            }
        }
    }
    // Equal holes for a grid: one of each kind, of a size set by fit.
    Chain HoleOfKind(int kind, const Point2D& c, double fit) {
        switch (kind) {
            case 0:
                return Circle(c, fit * 0.8, 1);
            case 1:
                return Circle(c, fit * 0.8, 2);
            case 2:
                return Circle(c, fit * 0.8, 4);
            case 3:
                return Obround(c, 2 * fit * 0.9, fit * 0.6, 0.3);
            case 4:
                return RoundedRect(c, 1.4 * fit, fit * 0.8, fit * 0.2, 0.0);
            case 5:
                return SingleD(c, fit * 0.8, fit * 0.5, 0.0);
            case 6:
                return DoubleD(c, fit * 0.8, fit * 0.5, 1.0);
            case 7:
                return RadSlot(c, fit * 0.7, fit * 0.3, 0.2, 1.5);
            case 8:
                return Ellipse(c, fit * 0.9, fit * 0.5, 0.4, 36);
            case 9:
                return Rect(c, 1.4 * fit, fit * 0.7, 0.0);
            case 10:
                return Triangle(c, fit * 1.2, fit, 0.0);
            default:
                return Freeform(c, fit, 24);
        }
    }
    void HoleMix(const Point2D& o) {
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j)
                Contour(AnyHole(Offset(o, kCell * (j + 0.5) / 3, kCell * (i + 0.5) / 3, 0), kCell / 7));
    }
    // A free-form cut-out with an island, which has a hole, which has an island.
    void Nested(const Point2D& o) {
        const Point2D c(o.x + kCell / 2, o.y + kCell / 2);
        Contour(Freeform(c, kCell * 0.48, I(40, 200)));
        Contour(Circle(c, kCell * 0.3, I(1, 3)));
        Contour(Rect(c, kCell * 0.3, kCell * 0.25, U(0, kPi)));
        if (P(0.7))
            Contour(Circle(c, kCell * 0.08, 1));
        if (P(0.5))
            Contour(AnyHole(Point2D(c.x + kCell * 0.38, c.y), kCell * 0.05));  // between the rings
    }
    void Marks(const Point2D& o) {
        for (int k = 0; k < I(1, 4); ++k) {
            Point2D p(o.x + U(0, kCell / 2), o.y + U(0, kCell));
            for (int s = 0; s < I(2, 8); ++s) {
                if (P(0.75)) {
                    const Point2D q(p.x + U(1, 4), p.y + U(-2, 2));
                    Emit(Line(p, q));
                    p = q;
                } else {
                    const double r = U(1, 3);
                    const IPatternPtr arc = Arc(Point2D(p.x, p.y + r), r, -kPi / 2, U(0.3, 1.2));
                    Emit(arc);
                    p = arc->GetEndPoint();
                }
            }
        }
        for (int k = 0; k < I(1, 4); ++k) {  // junk: specks and zero-length lines
            const Point2D p(o.x + U(0, kCell), o.y + U(0, 2));
            Emit(P(0.3) ? Line(p, p) : Line(p, Point2D(p.x + U(1e-4, 5e-3), p.y + U(-2e-3, 2e-3))));
        }
    }
    // The cases where a faster algorithm could choose differently from a scan of every candidate.
    void Adversarial(const Point2D& o) {
        // Whole-number corners and power-of-two gaps, so that the tied distances below are exactly equal.
        const Point2D p(std::floor(o.x) + 5, std::floor(o.y) + 5);
        const double g = std::ldexp(1.0, -15);
        Emit(Line(Point2D(p.x - 3, p.y), p));  // a chain end with two candidates at the same distance
        Emit(Line(Point2D(p.x, p.y + g), Point2D(p.x + 2, p.y + 3)));
        Emit(Line(Point2D(p.x, p.y - g), Point2D(p.x + 2, p.y - 3)));
        Emit(Line(Point2D(p.x + g, p.y), Point2D(p.x + 3, p.y)));
        const Point2D star(p.x + 8, p.y);  // five pieces meeting at one point
        for (int k = 0; k < 5; ++k) Emit(Line(star, At(star, 2, 2 * kPi * k / 5)));
        const Point2D t(p.x, p.y + 8);  // gaps of the joining tolerance and a hair below it
        Emit(Line(Point2D(t.x - 2, t.y), t));
        Emit(Line(Point2D(t.x + m_spec.joinTol, t.y), Point2D(t.x + 2, t.y + 1)));
        Emit(Line(Point2D(t.x, t.y + m_spec.joinTol * (1 - 1e-12)), Point2D(t.x + 1, t.y + 2)));
        const Point2D r(p.x + 16, p.y + 6);  // a contour drawn twice a hair apart; a circle and a twin
        Contour(Rect(r, 6, 4, 0.0));
        Contour(Rect(Point2D(r.x + 3e-4, r.y), 6, 4, 0.0));
        Contour(Circle(Point2D(r.x, r.y + 10), 2, 1));
        Contour(Circle(Point2D(r.x, r.y + 10), 2 + 2e-4, 2));
        const Point2D s(p.x + 2, p.y + 14);  // two squares sharing a side, one inside a frame touching it
        Contour(Polygon({s, Point2D(s.x + 4, s.y), Point2D(s.x + 4, s.y + 4), Point2D(s.x, s.y + 4)}));
        Contour(Polygon({Point2D(s.x + 4, s.y), Point2D(s.x + 8, s.y), Point2D(s.x + 8, s.y + 4),
                         Point2D(s.x + 4, s.y + 4)}));
        Contour(Polygon({Point2D(s.x - 1, s.y - 1), Point2D(s.x + 9, s.y - 1), Point2D(s.x + 9, s.y + 4),
                         Point2D(s.x - 1, s.y + 4)}));
        // A long line cut into touching pieces, a circle cut into arcs, concentric arcs, a reversed
        // duplicate.
        const Point2D l(p.x, p.y + 22);
        const int cuts = I(4, 16);
        for (int k = 0; k < cuts; ++k)
            Emit(Line(Point2D(l.x + 30.0 * k / cuts, l.y), Point2D(l.x + 30.0 * (k + 1) / cuts, l.y)));
        const Point2D cc(p.x + 30, p.y + 10);
        const int arcs = I(3, 12);
        for (int k = 0; k < arcs; ++k)
            Emit(Arc(cc, 3, 2 * kPi * k / arcs, 2 * kPi / arcs * (P(0.3) ? 1.2 : 1.0)));
        for (int k = 1; k <= 4; ++k) Emit(Arc(cc, 3 + 0.5 * k, U(0, kPi), U(0.5, 2)));
        const IPatternPtr twice = Arc(Point2D(cc.x, cc.y + 8), 2, 0.5, 1.5);
        Emit(twice);
        Emit(Reversed(twice));
    }
    // The outer contour: a frame with a notch in its top side, its sides drawn in several pieces; a hole sits
    // in the notch (inside the frame's box, outside its outline) and another touches the frame from inside.
    void Outer(double width, double height) {
        const double a = width * 0.4, b = width * 0.6, depth = std::min(20.0, height * 0.2);
        const std::vector<Point2D> pts = {
            {-10, -10},       {width + 10, -10},        {width + 10, height + 10},
            {b, height + 10}, {b, height + 10 - depth}, {a, height + 10 - depth},
            {a, height + 10}, {-10, height + 10}};
        Chain chain;
        for (std::size_t i = 0; i < pts.size(); ++i) {
            const Point2D s = pts[i], e = pts[(i + 1) % pts.size()];
            const int pieces = I(1, 3);
            for (int k = 0; k < pieces; ++k) {
                const double t0 = static_cast<double>(k) / pieces, t1 = static_cast<double>(k + 1) / pieces;
                chain.push_back(Line(Point2D(s.x + t0 * (e.x - s.x), s.y + t0 * (e.y - s.y)),
                                     Point2D(s.x + t1 * (e.x - s.x), s.y + t1 * (e.y - s.y))));
            }
        }
        Contour(chain);
        Contour(Circle(Point2D((a + b) / 2, height + 10 - depth / 2), depth / 4, 1));
        Contour(Polygon({{-10, 0}, {-5, 0}, {-5, 5}, {-10, 5}}));
    }

    const PlateSpec m_spec;
    std::mt19937 m_rng;
    std::vector<IPatternPtr> m_out;
};

PatternListPtr Plate::Make() {
    // Groups go in cells of a square layout, row after row, until the plate has enough pieces.
    std::vector<std::function<void(const Point2D&)>> groups = {
        [this](const Point2D& o) { HoleGrid(o); }, [this](const Point2D& o) { HoleMix(o); },
        [this](const Point2D& o) { Nested(o); }, [this](const Point2D& o) { Marks(o); },
        [this](const Point2D& o) { Adversarial(o); }};
    const std::size_t perRow = static_cast<std::size_t>(std::ceil(std::sqrt(m_spec.pieces / 60.0))) + 1;
    std::size_t cell = 0;
    Adversarial(Point2D(0, 0));
    ++cell;
    while (m_out.size() < m_spec.pieces) {
        const Point2D o(static_cast<double>(cell % perRow) * kCell,
                        static_cast<double>(cell / perRow) * kCell);
        const int pick = I(0, 99);
        groups[pick < 35 ? 0 : pick < 60 ? 1 : pick < 80 ? 2 : pick < 90 ? 3 : 4](o);
        ++cell;
    }
    const double width = static_cast<double>(std::min(cell, perRow)) * kCell;
    const double height = static_cast<double>((cell + perRow - 1) / perRow) * kCell + kCell;
    Outer(width, height);
    std::shuffle(m_out.begin(), m_out.end(), m_rng);
    auto list = boost::make_shared<PatternList>();
    list->assign(m_out.begin(), m_out.end());
    list->UpdateCache();
    return list;
}

}  // namespace

PatternListPtr MakePlate(const PlateSpec& spec) {
    return Plate(spec).Make();
}

}  // namespace testplate
}  // namespace Norvane
