// Curves of the DXF reader: conics (circles, arcs, ellipses and their arcs) to patterns, and splines to
// points within a chord tolerance.
#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>

#include <boost/make_shared.hpp>

#include "geomFeature/host/mathkit/MathEx.h"
#include "geomFeature/pattern/ArcPattern.h"
#include "geomFeature/pattern/CirclePattern.h"
#include "geomFeature/pattern/EllipsePattern.h"
#include "geomFeature/pattern/LinePattern.h"
#include "io/detail/DxfModel.h"
#include "io/detail/DxfTolerance.h"

namespace Norvane::dxf_detail {

namespace {

Point2D ConicPoint(const Conic& k, double t) {
    return k.c + k.u * std::cos(t) + k.v * std::sin(t);
}

double DistanceToChord(const Point2D& p, const Point2D& a, const Point2D& b) {
    const Vector2D ab(a, b);
    const Vector2D ap(a, p);
    const double len2 = ab.DotProduct(ab);
    if (len2 <= 0.0) {
        return ap.Length();
    }
    const double f = std::clamp(ap.DotProduct(ab) / len2, 0.0, 1.0);
    return Vector2D(a + ab * f, p).Length();
}

// An elliptical arc as circular arcs through three points of the curve each (its ends and its middle),
// with more pieces until every piece stays within tol of the curve at its quarter points, where a
// three-point arc strays most. Consecutive pieces share the sampled end points.
void EllipticalArcToArcs(const Conic& k, double tol, std::vector<IPatternPtr>& out) {
    int pieces = std::max(2, static_cast<int>(std::ceil(std::fabs(k.sweep) / (MathEx::PI / 8.0))));
    for (;; pieces *= 2) {
        std::vector<IPatternPtr> arcs;
        bool within = true;
        const double step = k.sweep / pieces;
        for (int i = 0; i < pieces && within; ++i) {
            const double ta = k.t0 + step * i;
            const Point2D a = ConicPoint(k, ta);
            const Point2D m = ConicPoint(k, ta + step * 0.5);
            const Point2D b = ConicPoint(k, ta + step);
            Point2D centre;
            double radius = 0.0, base = 0.0, sweep = 0.0;
            MathEx::GetArcFrom3Point(a, m, b, centre, radius, base, sweep);
            if (radius <= kMinRadius) {  // collinear: the curve is straight here
                if (DistanceToChord(ConicPoint(k, ta + step * 0.25), a, b) > tol) {
                    within = false;
                } else if (a.DistanceTo(b) > kMinSegmentLength) {
                    arcs.push_back(boost::make_shared<LinePattern>(a, b));
                }
                continue;
            }
            for (double f : {0.25, 0.75}) {
                if (std::fabs(ConicPoint(k, ta + step * f).DistanceTo(centre) - radius) > tol) {
                    within = false;
                }
            }
            arcs.push_back(boost::make_shared<ArcPattern>(centre, radius, base, sweep));
        }
        if (within || pieces >= kMaxEllipseArcPieces) {
            out.insert(out.end(), arcs.begin(), arcs.end());
            return;
        }
    }
}

// Points of f over [breaks.front(), breaks.back()]: an interval between breaks that flat(i, a, b) proves
// to lie within tol of its chord from a to b is one chord; every other one is cut into a few pieces, and
// a piece is halved while the curve at its quarter, middle or three-quarter parameter lies farther than
// tol from its chord. Stops refining (capped = true) at kMaxCurvePoints.
using FlatTest = std::function<bool(std::size_t interval, const Point2D& a, const Point2D& b)>;
std::vector<Point2D> Tessellate(const std::function<Point2D(double)>& f, const std::vector<double>& breaks,
                                double tol, bool& capped, const FlatTest& flat = FlatTest()) {
    constexpr int kPiecesPerInterval = 4;
    std::vector<Point2D> points;
    capped = false;
    if (breaks.size() < 2) {
        return points;
    }
    std::function<void(double, const Point2D&, double, const Point2D&, int)> refine =
        [&](double ta, const Point2D& pa, double tb, const Point2D& pb, int depth) {
            const double tm = 0.5 * (ta + tb);
            const Point2D pm = f(tm);
            const bool flat = DistanceToChord(pm, pa, pb) <= tol &&
                              DistanceToChord(f(0.5 * (ta + tm)), pa, pb) <= tol &&
                              DistanceToChord(f(0.5 * (tm + tb)), pa, pb) <= tol;
            if (flat || depth >= kMaxSubdivisionDepth || points.size() >= kMaxCurvePoints) {
                capped = capped || (!flat && points.size() >= kMaxCurvePoints);
                points.push_back(pb);
                return;
            }
            refine(ta, pa, tm, pm, depth + 1);
            refine(tm, pm, tb, pb, depth + 1);
        };
    points.push_back(f(breaks.front()));
    for (std::size_t i = 0; i + 1 < breaks.size(); ++i) {
        const double a = breaks[i];
        const double b = breaks[i + 1];
        if (!(b > a)) {
            continue;
        }
        const Point2D end = f(b);
        if (flat && flat(i, points.back(), end)) {
            points.push_back(end);
            continue;
        }
        for (int j = 0; j < kPiecesPerInterval; ++j) {
            const double ta = a + (b - a) * j / kPiecesPerInterval;
            const double tb = (j + 1 == kPiecesPerInterval) ? b : a + (b - a) * (j + 1) / kPiecesPerInterval;
            refine(ta, points.back(), tb, f(tb), 0);
        }
    }
    return points;
}

// Point of a (rational) B-spline at t by de Boor's algorithm in homogeneous coordinates.
Point2D DeBoor(const Spline& s, double t) {
    const int p = s.degree;
    const int n = static_cast<int>(s.ctrl.size());
    const std::vector<double>& U = s.knots;
    // The span k with U[k] <= t < U[k+1], kept inside [p, n-1] so that t at the domain's end works.
    int k = static_cast<int>(std::upper_bound(U.begin() + p, U.begin() + n, t) - U.begin()) - 1;
    k = std::clamp(k, p, n - 1);
    std::vector<double> x(p + 1), y(p + 1), w(p + 1);
    for (int j = 0; j <= p; ++j) {
        const int i = k - p + j;
        const double wi = s.weights.empty() ? 1.0 : s.weights[i];
        x[j] = s.ctrl[i].x * wi;
        y[j] = s.ctrl[i].y * wi;
        w[j] = wi;
    }
    for (int r = 1; r <= p; ++r) {
        for (int j = p; j >= r; --j) {
            const int i = k - p + j;
            const double denom = U[i + p + 1 - r] - U[i];
            const double a = denom > 0.0 ? (t - U[i]) / denom : 0.0;
            x[j] = (1.0 - a) * x[j - 1] + a * x[j];
            y[j] = (1.0 - a) * y[j - 1] + a * y[j];
            w[j] = (1.0 - a) * w[j - 1] + a * w[j];
        }
    }
    return Point2D(x[p] / w[p], y[p] / w[p]);
}

// End tangent directions of a curve through the points when the file gives none, by the five-point
// (Akima) estimate with the chord differences extended linearly past the ends; CAD programs that draw
// fit-point splines behave much like this. Needs three points or more.
std::pair<Vector2D, Vector2D> EstimateEndTangents(const std::vector<Point2D>& p) {
    const std::size_t n = p.size();
    // d(j) = p[j] - p[j-1] for j in [1, n-1], extended: d(0), d(-1) before, d(n), d(n+1) after.
    auto d = [&p, n](long j) -> Vector2D {
        const auto inner = [&p](long k) { return Vector2D(p[k - 1], p[k]); };
        const long last = static_cast<long>(n) - 1;
        if (j >= 1 && j <= last) {
            return inner(j);
        }
        const Vector2D d0 = inner(1) * 2.0 - inner(2);
        const Vector2D dn = inner(last) * 2.0 - inner(last - 1);
        if (j == 0) {
            return d0;
        }
        if (j == -1) {
            return d0 * 2.0 - inner(1);
        }
        return j == last + 1 ? dn : dn * 2.0 - inner(last);
    };
    auto tangent = [&d](long k) {
        const double v1 = std::fabs(d(k - 1).CrossProduct(d(k)));
        const double v2 = std::fabs(d(k + 1).CrossProduct(d(k + 2)));
        const double alpha = v1 + v2 > 0.0 ? v1 / (v1 + v2) : 0.5;  // collinear neighbours: the mean
        return d(k) * (1.0 - alpha) + d(k + 1) * alpha;
    };
    return {tangent(0), tangent(static_cast<long>(n) - 1)};
}

// A C2 cubic through the fit points, parametrised by chord length, clamped to the given end tangent
// directions (estimated when missing) at unit speed, which is the chord-length parametrisation's.
struct FitCurve {
    std::vector<double> t;
    std::vector<Point2D> p;
    std::vector<Vector2D> m;  // second derivatives at the points

    FitCurve(const std::vector<Point2D>& points, std::optional<Vector2D> startTan,
             std::optional<Vector2D> endTan)
        : p(points) {
        const std::size_t n = p.size();
        if (!startTan || !endTan) {
            const auto [estStart, estEnd] = EstimateEndTangents(p);
            startTan = startTan ? startTan : estStart;
            endTan = endTan ? endTan : estEnd;
        }
        t.assign(n, 0.0);
        for (std::size_t i = 1; i < n; ++i) {
            t[i] = t[i - 1] + p[i - 1].DistanceTo(p[i]);
        }
        // Tridiagonal system for the second derivatives, solved by the Thomas algorithm.
        std::vector<double> lower(n, 0.0), diag(n, 1.0), upper(n, 0.0);
        std::vector<Vector2D> rhs(n, Vector2D(0.0, 0.0));
        for (std::size_t i = 1; i + 1 < n; ++i) {
            const double h0 = t[i] - t[i - 1];
            const double h1 = t[i + 1] - t[i];
            lower[i] = h0 / 6.0;
            diag[i] = (h0 + h1) / 3.0;
            upper[i] = h1 / 6.0;
            rhs[i] = Vector2D(p[i - 1], p[i]) * (-1.0 / h0) + Vector2D(p[i], p[i + 1]) * (1.0 / h1);
        }
        if (startTan && startTan->Length() > 0.0) {
            const double h = t[1] - t[0];
            diag[0] = h / 3.0;
            upper[0] = h / 6.0;
            rhs[0] = Vector2D(p[0], p[1]) * (1.0 / h) - startTan->GetUnit();
        }
        if (endTan && endTan->Length() > 0.0) {
            const double h = t[n - 1] - t[n - 2];
            lower[n - 1] = h / 6.0;
            diag[n - 1] = h / 3.0;
            rhs[n - 1] = endTan->GetUnit() - Vector2D(p[n - 2], p[n - 1]) * (1.0 / h);
        }
        for (std::size_t i = 1; i < n; ++i) {
            const double w = lower[i] / diag[i - 1];
            diag[i] -= w * upper[i - 1];
            rhs[i] -= rhs[i - 1] * w;
        }
        m.assign(n, Vector2D(0.0, 0.0));
        m[n - 1] = rhs[n - 1] / diag[n - 1];
        for (std::size_t i = n - 1; i-- > 0;) {
            m[i] = (rhs[i] - m[i + 1] * upper[i]) / diag[i];
        }
    }

    Point2D operator()(double s) const {
        std::size_t i = static_cast<std::size_t>(std::upper_bound(t.begin(), t.end(), s) - t.begin());
        i = std::clamp<std::size_t>(i, 1, t.size() - 1);
        const double h = t[i] - t[i - 1];
        const double a = (t[i] - s) / h;
        const double b = (s - t[i - 1]) / h;
        const double c = h * h / 6.0;
        const double x =
            a * p[i - 1].x + b * p[i].x + ((a * a * a - a) * m[i - 1].x + (b * b * b - b) * m[i].x) * c;
        const double y =
            a * p[i - 1].y + b * p[i].y + ((a * a * a - a) * m[i - 1].y + (b * b * b - b) * m[i].y) * c;
        return Point2D(x, y);
    }
};

std::vector<Point2D> TessellateFitPoints(const Spline& s, double tol, bool& capped, std::string& problem) {
    std::vector<Point2D> pts;
    for (const Point2D& q : s.fit) {
        if (pts.empty() || pts.back().DistanceTo(q) > kMinSegmentLength) {
            pts.push_back(q);
        }
    }
    if (s.closed && pts.size() > 2 && pts.front().DistanceTo(pts.back()) > kMinSegmentLength) {
        pts.push_back(pts.front());
    }
    if (pts.size() < 2) {
        problem = "fewer than two distinct fit points";
        return {};
    }
    if (pts.size() == 2) {
        return pts;
    }
    const FitCurve curve(pts, s.startTangent, s.endTangent);
    return Tessellate(std::cref(curve), curve.t, tol, capped);
}

std::vector<Point2D> TessellateControlPoints(Spline s, double tol, bool& capped, std::string& problem) {
    const int p = s.degree;
    const std::size_t n = s.ctrl.size();
    if (p < 1 || p > kMaxSplineDegree) {
        problem = "degree " + std::to_string(p) + " is not between 1 and " + std::to_string(kMaxSplineDegree);
        return {};
    }
    if (n < static_cast<std::size_t>(p) + 1) {
        problem = "too few control points for its degree";
        return {};
    }
    if (s.knots.empty()) {
        // No knots given: a clamped uniform vector.
        for (int i = 0; i <= p; ++i) {
            s.knots.push_back(0.0);
        }
        for (std::size_t i = 1; i + p < n; ++i) {
            s.knots.push_back(static_cast<double>(i));
        }
        for (int i = 0; i <= p; ++i) {
            s.knots.push_back(static_cast<double>(n - p));
        }
    }
    if (s.knots.size() != n + p + 1) {
        problem = "the knot count does not match the control points";
        return {};
    }
    for (std::size_t i = 0; i < s.knots.size(); ++i) {
        if (!std::isfinite(s.knots[i]) || (i > 0 && s.knots[i] < s.knots[i - 1])) {
            problem = "the knot vector decreases or is not finite";
            return {};
        }
    }
    if (!s.weights.empty()) {
        const bool unit = std::all_of(s.weights.begin(), s.weights.end(), [](double w) { return w == 1.0; });
        const bool valid =
            s.weights.size() == n && std::all_of(s.weights.begin(), s.weights.end(),
                                                 [](double w) { return std::isfinite(w) && w > 0.0; });
        if (unit) {
            s.weights.clear();
        } else if (!valid) {
            problem = "zero, negative or missing weights";
            return {};
        }
    }
    if (!(s.knots[n] > s.knots[p])) {
        problem = "an empty parameter range";
        return {};
    }
    // Break at every distinct knot inside the domain: the curve is smooth between knots.
    std::vector<double> breaks;
    for (std::size_t i = p; i <= n; ++i) {
        if (breaks.empty() || s.knots[i] > breaks.back()) {
            breaks.push_back(s.knots[i]);
        }
    }
    // A span of a B-spline with positive weights lies in the convex hull of its p + 1 control points, and
    // its curve crosses any line at most as often as their polygon does (variation diminishing). So when
    // those control points lie within tol of the line through the span's ends and advance along it
    // monotonically, the span itself stays within tol of its chord: a straight run of many control points
    // costs one chord per span.
    std::vector<std::size_t> spanOf(breaks.size(), 0);
    for (std::size_t i = 0; i + 1 < breaks.size(); ++i) {
        const auto k =
            std::upper_bound(s.knots.begin() + p, s.knots.begin() + static_cast<long>(n), breaks[i]) -
            s.knots.begin() - 1;
        spanOf[i] = static_cast<std::size_t>(std::clamp<long>(k, p, static_cast<long>(n) - 1));
    }
    const FlatTest flatSpan = [&s, &spanOf, p, tol](std::size_t interval, const Point2D& a,
                                                    const Point2D& b) {
        const Vector2D chord(a, b);
        const double length = chord.Length();
        if (!(length > kMinSegmentLength)) {
            return false;
        }
        const Vector2D d = chord / length;
        const std::size_t k = spanOf[interval];
        double along = -std::numeric_limits<double>::infinity();
        for (std::size_t j = k - static_cast<std::size_t>(p); j <= k; ++j) {
            const Vector2D v(a, s.ctrl[j]);
            const double next = v.DotProduct(d);
            if (!(std::fabs(v.CrossProduct(d)) <= tol) || !(next >= along)) {
                return false;
            }
            along = next;
        }
        return true;
    };
    return Tessellate([&s](double t) { return DeBoor(s, t); }, breaks, tol, capped, flatSpan);
}

}  // namespace

void ConicToPatterns(const Conic& k, double chordTol, std::vector<IPatternPtr>& out) {
    const double lu = k.u.Length();
    const double lv = k.v.Length();
    const double cross = k.u.CrossProduct(k.v);
    if (!(lu > kMinRadius) || !(lv > kMinRadius) || !std::isfinite(cross) ||
        std::fabs(cross) <= kMinRadius * std::max(lu, lv)) {
        return;  // collapsed to a point or a line
    }
    const double scale = std::max(lu, lv);
    const bool circular = std::fabs(k.u.DotProduct(k.v)) <= kCircularRelTol * lu * lv &&
                          std::fabs(lu - lv) <= kCircularRelTol * scale;
    // With u and v perpendicular and of equal length, v is u turned a quarter turn in the sense of the
    // curve, so the point at parameter t lies at angle(u) + sense * t.
    const double sense = cross > 0.0 ? 1.0 : -1.0;
    if (circular) {
        const double radius = 0.5 * (lu + lv);
        if (k.full) {
            out.push_back(boost::make_shared<CirclePattern>(k.c, radius));
            return;
        }
        // An arc so flat that its centre lies beyond the kernel's range (a polyline bulge of 1e-8) is a
        // straight piece to within its sagitta: it becomes a line when that is within the chord tolerance,
        // so that no stored part holds an unreachable centre. Otherwise it stays an arc, and the range
        // check of the placed geometry refuses it.
        const bool centreInRange = std::fabs(k.c.x) <= kMaxAbsValue && std::fabs(k.c.y) <= kMaxAbsValue;
        const double sagitta = radius * (1.0 - std::cos(0.5 * std::fabs(k.sweep)));
        if ((!centreInRange || radius > kMaxAbsValue) && sagitta <= chordTol) {
            const Point2D a = k.hasEnds ? k.start : ConicPoint(k, k.t0);
            const Point2D b = k.hasEnds ? k.end : ConicPoint(k, k.t0 + k.sweep);
            if (a.DistanceTo(b) > kMinSegmentLength) {
                out.push_back(boost::make_shared<LinePattern>(a, b));
            }
            return;
        }
        out.push_back(
            boost::make_shared<ArcPattern>(k.c, radius, k.u.Angle() + sense * k.t0, sense * k.sweep));
        return;
    }
    if (!k.full) {
        EllipticalArcToArcs(k, chordTol, out);
        return;
    }
    // The principal axes from the conjugate pair: the parameter t* where |u cos t + v sin t| is extreme
    // satisfies tan(2t*) = 2 u.v / (|u|^2 - |v|^2).
    const double ts = 0.5 * std::atan2(2.0 * k.u.DotProduct(k.v), lu * lu - lv * lv);
    Vector2D major = k.u * std::cos(ts) + k.v * std::sin(ts);
    Vector2D minor = k.u * -std::sin(ts) + k.v * std::cos(ts);
    if (minor.Length() > major.Length()) {
        std::swap(major, minor);
    }
    out.push_back(boost::make_shared<EllipsePattern>(k.c, major * 2.0, minor.Length() / major.Length()));
}

double CurveChordTol(double chordTol, double size) {
    const double relative = std::isfinite(size) ? kMinRelChordTol * size : 0.0;
    return std::max({chordTol, kMinChordTol, relative});
}

std::vector<Point2D> TessellateSpline(const Spline& spline, double chordTol, std::string& problem,
                                      bool& capped) {
    capped = false;
    return spline.ctrl.empty() ? TessellateFitPoints(spline, chordTol, capped, problem)
                               : TessellateControlPoints(spline, chordTol, capped, problem);
}

}  // namespace Norvane::dxf_detail
