// Loop optimisation: runs of short lines fitted with arcs (or single lines) that follow them within a
// tolerance.
//
// A run of lines is given by its vertices p[a..e]: the loop enters at p[a] and leaves at p[e]. A replacement
// always runs from p[a] to p[e], so the pieces around it stay joined exactly as before. Its deviation is the
// largest distance of the run (vertices and every point of every line) from the replacement, and a
// replacement is taken only when that is at most the tolerance and the run advances along it without
// turning back.
#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include <boost/make_shared.hpp>
#include <boost/pointer_cast.hpp>

#include "geomFeature/host/geomkit/GeomTolerance.h"
#include "geomFeature/host/mathkit/MathEx.h"
#include "geomFeature/loop/LoopTolerance.h"
#include "geomFeature/loop/PolyPatLoop.h"
#include "geomFeature/pattern/ArcPattern.h"
#include "geomFeature/pattern/LinePattern.h"
#include "geomFeature/processor/LoopProcessor.h"
#include "geomFeature/processor/ProcessorTolerance.h"
#include "geomFeature/processor/detail/LoopNodeTravel.h"

namespace Norvane {

using detail::IsLineNode;
using detail::TravelEnd;
using detail::TravelStart;

namespace {

constexpr double kInfinite = std::numeric_limits<double>::infinity();

// What replaces a run: a line from p[a] to p[e], or an arc about centre.
struct Piece {
    bool arc = false;
    Point2D centre;
    double radius = 0.0;
    double start = 0.0;
    double sweep = 0.0;
};

// Distance from c to the segment from p to q.
double DistanceToSegment(const Point2D& c, const Point2D& p, const Point2D& q) {
    const Vector2D pq = q - p;
    const double len2 = pq.DotProduct(pq);
    if (len2 <= 0.0) {
        return c.DistanceTo(p);
    }
    double t = (c - p).DotProduct(pq) / len2;
    t = std::max(0.0, std::min(1.0, t));
    return c.DistanceTo(p + pq * t);
}

// The largest distance of the run p[a..e] from the circle about c of radius r, when the run turns steadily
// about c in the sense `sense` (+1 counter-clockwise) through `sweep` radians in all (within
// kArcFitTurnTol); infinity when it turns back or goes round a different way. A vertex's distance to the
// circle is | |p - c| - r |; a line between two vertices strays farthest at an end or, inside the circle, at
// its point nearest to c.
double CircleDeviation(const std::vector<Point2D>& p, std::size_t a, std::size_t e, const Point2D& c,
                       double r, double sense, double sweep) {
    double deviation = std::fabs(c.DistanceTo(p[a]) - r);
    double turned = 0.0;
    Vector2D previous = p[a] - c;
    for (std::size_t i = a + 1; i <= e; ++i) {
        const Vector2D v = p[i] - c;
        const double step = sense * previous.AngleTo(v);
        if (step < -kArcFitTurnTol) {
            return kInfinite;
        }
        turned += step;
        deviation = std::max(deviation, std::fabs(v.Length() - r));
        const double nearest = DistanceToSegment(c, p[i - 1], p[i]);
        if (nearest < r) {
            deviation = std::max(deviation, r - nearest);
        }
        previous = v;
    }
    return std::fabs(turned - sweep) <= kArcFitTurnTol ? deviation : kInfinite;
}

// Fits of one run of vertices. The arc through p[a] and p[e] is described by its signed sagitta h: the arc's
// middle lies at M + h n, M the chord's middle and n the unit normal on the chord's left. Then the radius is
// (c^2 + h^2) / 2|h| for the half chord c, the sweep 4 atan(|h| / c) (bulge formula), clockwise when h > 0.
class RunFitter {
public:
    RunFitter(const std::vector<Point2D>& points, double tolerance) : m_p(points), m_tol(tolerance) {}

    // p[a..e] as one line: every vertex within tolerance of the chord, advancing along it.
    bool Straight(std::size_t a, std::size_t e) const {
        const Vector2D chord = m_p[e] - m_p[a];
        const double len2 = chord.DotProduct(chord);
        if (!(len2 > 0.0)) {
            return false;
        }
        double along = 0.0;
        for (std::size_t i = a + 1; i < e; ++i) {
            const double t = (m_p[i] - m_p[a]).DotProduct(chord) / len2;
            if (t < along || t > 1.0 || DistanceToSegment(m_p[i], m_p[a], m_p[e]) > m_tol) {
                return false;
            }
            along = t;
        }
        return true;
    }

    // p[a..e] as one arc: the three-point arc through the middle vertex, improved by a golden-section search
    // of the sagitta when that misses the tolerance.
    bool Arc(std::size_t a, std::size_t e, Piece& piece) const {
        const Point2D& first = m_p[a];
        const Point2D& last = m_p[e];
        const double halfChord = first.DistanceTo(last) / 2.0;
        if (!(halfChord > kGeomZeroLength)) {
            return false;
        }
        const Point2D middle = (first + last) / 2.0;
        const Vector2D along = (last - first).GetUnit();
        const Vector2D normal = along.Orthogonal();

        // Circle through first, the middle vertex and last; its centre lies on the chord's bisector.
        const Vector2D toMid = m_p[(a + e) / 2] - middle;
        const double x = toMid.DotProduct(along);
        const double y = toMid.DotProduct(normal);
        if (y == 0.0) {
            return false;  // the middle vertex lies on the chord: no circle through the three
        }
        const double t = (x * x + y * y - halfChord * halfChord) / (2.0 * y);
        const double h0 = t + (y > 0.0 ? 1.0 : -1.0) * std::sqrt(halfChord * halfChord + t * t);

        double best = h0;
        double bestDeviation = Deviation(h0, halfChord, middle, normal, a, e);
        if (bestDeviation > m_tol) {
            GoldenSection(h0 - kArcFitSearchSpan * m_tol, h0 + kArcFitSearchSpan * m_tol, halfChord, middle,
                          normal, a, e, best, bestDeviation);
        }
        if (bestDeviation > m_tol) {
            return false;
        }
        MakeArc(best, halfChord, middle, normal, a, piece);
        return true;
    }

private:
    void MakeArc(double h, double halfChord, const Point2D& middle, const Vector2D& normal, std::size_t a,
                 Piece& piece) const {
        const double r = (halfChord * halfChord + h * h) / (2.0 * std::fabs(h));
        piece.arc = true;
        piece.radius = r;
        piece.centre = middle + normal * (h - (h > 0.0 ? r : -r));
        piece.start = (m_p[a] - piece.centre).Angle();
        const double sweep = 4.0 * std::atan(std::fabs(h) / halfChord);
        piece.sweep = h > 0.0 ? -sweep : sweep;
    }

    double Deviation(double h, double halfChord, const Point2D& middle, const Vector2D& normal, std::size_t a,
                     std::size_t e) const {
        if (!(std::fabs(h) > kGeomZeroLength * halfChord)) {
            return kInfinite;  // no arc: straight runs are Straight's
        }
        Piece piece;
        MakeArc(h, halfChord, middle, normal, a, piece);
        return CircleDeviation(m_p, a, e, piece.centre, piece.radius, piece.sweep > 0.0 ? 1.0 : -1.0,
                               std::fabs(piece.sweep));
    }

    void GoldenSection(double lo, double hi, double halfChord, const Point2D& middle, const Vector2D& normal,
                       std::size_t a, std::size_t e, double& best, double& bestDeviation) const {
        const double ratio = (std::sqrt(5.0) - 1.0) / 2.0;
        double x1 = hi - ratio * (hi - lo);
        double x2 = lo + ratio * (hi - lo);
        double f1 = Deviation(x1, halfChord, middle, normal, a, e);
        double f2 = Deviation(x2, halfChord, middle, normal, a, e);
        for (int step = 0; step < kArcFitSearchSteps && bestDeviation > m_tol; ++step) {
            if (f1 < bestDeviation) {
                best = x1;
                bestDeviation = f1;
            }
            if (f2 < bestDeviation) {
                best = x2;
                bestDeviation = f2;
            }
            if (f1 <= f2) {
                hi = x2;
                x2 = x1;
                f2 = f1;
                x1 = hi - ratio * (hi - lo);
                f1 = Deviation(x1, halfChord, middle, normal, a, e);
            } else {
                lo = x1;
                x1 = x2;
                f1 = f2;
                x2 = lo + ratio * (hi - lo);
                f2 = Deviation(x2, halfChord, middle, normal, a, e);
            }
        }
    }

    const std::vector<Point2D>& m_p;
    double m_tol;
};

// The vertices of a run of line nodes: where the first is entered, then where each is left.
std::vector<Point2D> RunVertices(const PatLoopNodeList& nodes) {
    std::vector<Point2D> points;
    points.reserve(nodes.size() + 1);
    points.push_back(TravelStart(*nodes.front()));
    for (const PatLoopNodePtr& node : nodes) points.push_back(TravelEnd(*node));
    return points;
}

PatLoopNodePtr PieceNode(const Piece& piece, const Point2D& from, const Point2D& to,
                         const IPatternPtr& like) {
    if (piece.arc) {
        return detail::ReplacementNode(
            boost::make_shared<ArcPattern>(piece.centre, piece.radius, piece.start, piece.sweep), like);
    }
    return detail::ReplacementNode(boost::make_shared<LinePattern>(from, to), like);
}

// The end e > a of the longest run from a that one piece can replace (a + 1 when none: the line stays), and
// that piece. Qualifying runs are found by doubling their length, then bisecting between the longest that
// qualified and the shortest that did not.
std::size_t LongestRun(const RunFitter& fitter, std::size_t a, std::size_t lines, Piece& piece) {
    const auto fits = [&](std::size_t e, Piece& out) {
        if (e - a >= 2 && fitter.Straight(a, e)) {
            out = Piece();
            return true;
        }
        return e - a >= static_cast<std::size_t>(kArcFitMinLines) && fitter.Arc(a, e, out);
    };
    std::size_t good = a + 1;
    Piece candidate;
    for (std::size_t len = 2; len <= static_cast<std::size_t>(kArcFitMinLines); ++len) {
        if (a + len <= lines && fits(a + len, candidate)) {
            good = a + len;
            piece = candidate;
        }
    }
    if (good == a + 1) {
        return good;
    }
    std::size_t bad = lines + 1;
    for (std::size_t len = 2 * (good - a); bad == lines + 1; len *= 2) {
        const std::size_t e = std::min(a + len, lines);
        if (fits(e, candidate)) {
            good = e;
            piece = candidate;
            if (e == lines) {
                return good;
            }
        } else {
            bad = e;
        }
    }
    while (bad - good > 1) {
        const std::size_t mid = good + (bad - good) / 2;
        if (fits(mid, candidate)) {
            good = mid;
            piece = candidate;
        } else {
            bad = mid;
        }
    }
    return good;
}

void FitSegment(const PatLoopNodeList& segment, double tolerance, std::vector<PatLoopNodePtr>& out) {
    if (segment.size() < 2 || !IsLineNode(*segment.front())) {
        out.insert(out.end(), segment.begin(), segment.end());
        return;
    }
    const std::vector<Point2D> points = RunVertices(segment);
    const RunFitter fitter(points, tolerance);
    const std::size_t lines = segment.size();
    for (std::size_t a = 0; a < lines;) {
        Piece piece;
        const std::size_t e = LongestRun(fitter, a, lines, piece);
        if (e == a + 1) {
            out.push_back(segment[a]);
        } else {
            out.push_back(PieceNode(piece, points[a], points[e], segment[a]->GetPat()));
        }
        a = e;
    }
}

// A closed run of lines p[0..n] (p[n] where the loop closes on p[0]) as one whole circle starting at p[0]:
// the algebraic least-squares circle of the vertices, its radius then set so that it runs through p[0].
bool FitWholeCircle(const std::vector<Point2D>& p, double tolerance, Piece& piece) {
    const std::size_t n = p.size() - 1;
    double mx = 0.0;
    double my = 0.0;
    for (std::size_t i = 0; i < n; ++i) {
        mx += p[i].x;
        my += p[i].y;
    }
    mx /= static_cast<double>(n);
    my /= static_cast<double>(n);
    double suu = 0.0, svv = 0.0, suv = 0.0, suuu = 0.0, svvv = 0.0, suvv = 0.0, svuu = 0.0;
    for (std::size_t i = 0; i < n; ++i) {
        const double u = p[i].x - mx;
        const double v = p[i].y - my;
        suu += u * u;
        svv += v * v;
        suv += u * v;
        suuu += u * u * u;
        svvv += v * v * v;
        suvv += u * v * v;
        svuu += v * u * u;
    }
    const double det = suu * svv - suv * suv;
    if (!(std::fabs(det) > kGeomZeroLength * (suu + svv) * (suu + svv))) {
        return false;
    }
    const double bu = (suuu + suvv) / 2.0;
    const double bv = (svvv + svuu) / 2.0;
    const Point2D centre(mx + (bu * svv - bv * suv) / det, my + (suu * bv - suv * bu) / det);
    const double radius = centre.DistanceTo(p[0]);
    if (!(radius > kGeomZeroLength)) {
        return false;
    }
    // The sense is the one in which the run turns in all; it must go round once, never turning back.
    double turned = 0.0;
    for (std::size_t i = 1; i <= n; ++i) turned += (p[i - 1] - centre).AngleTo(p[i] - centre);
    const double sense = turned > 0.0 ? 1.0 : -1.0;
    if (std::fabs(std::fabs(turned) - MathEx::PI2) >= MathEx::PI) {
        return false;
    }
    if (CircleDeviation(p, 0, n, centre, radius, sense, std::fabs(turned)) > tolerance) {
        return false;
    }
    piece.arc = true;
    piece.centre = centre;
    piece.radius = radius;
    piece.start = (p[0] - centre).Angle();
    piece.sweep = sense * MathEx::PI2;
    return true;
}

}  // namespace

void LoopProcessor::OptimizeToArc(const PolyPatLoopPtr& loop, double tolerance) {
    if (!loop || loop->GetLoopNodes()->empty()) {
        return;
    }
    const std::vector<PatLoopNodeListPtr> segments = SeparateLoop(loop, 1, 1);
    std::vector<PatLoopNodePtr> out;

    const PatLoopNodeList& first = *segments.front();
    if (segments.size() == 1 && first.size() >= static_cast<std::size_t>(kCircleFitMinLines) &&
        IsLineNode(*first.front()) && loop->IsOpenPath(kLoopClosedTol) == 0) {
        Piece circle;
        const std::vector<Point2D> points = RunVertices(first);
        if (FitWholeCircle(points, tolerance, circle)) {
            out.push_back(PieceNode(circle, points.front(), points.front(), first.front()->GetPat()));
        }
    }
    if (out.empty()) {
        for (const PatLoopNodeListPtr& segment : segments) FitSegment(*segment, tolerance, out);
    }
    detail::ReplaceNodes(loop, out);
    UpdateCache(IPatLoopPtr(loop));
}

}  // namespace Norvane
