#include "geomFeature/processor/detail/OffsetCurve.h"

#include <algorithm>

#include "geomFeature/host/geomkit/GeomTolerance.h"
#include "geomFeature/host/mathkit/MathEx.h"
#include "geomFeature/processor/ProcessorTolerance.h"

namespace Norvane {
namespace detail {

namespace {

constexpr double kTwoPi = 2.0 * MathEx::PI;

// The angle brought into [0, 2*pi).
double NormPositive(double angle) {
    double a = std::fmod(angle, kTwoPi);
    if (a < 0.0)
        a += kTwoPi;
    return a >= kTwoPi ? 0.0 : a;
}

// Fraction of the sweep at which the direction `angle` (from the centre) lies, counted from the start in
// the sense of travel: in [0, 1] on the arc, above 1 off it (a full circle is all arc).
double ArcFraction(const OffsetSeg& s, double angle) {
    const double delta = NormPositive(s.sweep > 0.0 ? angle - s.a0 : s.a0 - angle);
    return delta / std::fabs(s.sweep);
}

void AddHit(SegHit hits[2], int& count, double t1, double t2, const Point2D& p) {
    if (count < 2)
        hits[count++] = SegHit{t1, t2, p};
}

// Signed distance of p from the element's line or circle, and the unit gradient of that distance.
double Residual(const OffsetSeg& s, const Point2D& p, double& gx, double& gy) {
    if (!s.arc) {
        const double len = Dist(s.a, s.b);
        gx = -(s.b.y - s.a.y) / len;
        gy = (s.b.x - s.a.x) / len;
        return (p.x - s.a.x) * gx + (p.y - s.a.y) * gy;
    }
    const double dc = Dist(p, s.c);
    gx = (p.x - s.c.x) / dc;
    gy = (p.y - s.c.y) / dc;
    return dc - s.r;
}

// Newton steps towards the exact crossing of the two curves from a first estimate. The closed formulas
// lose digits for arcs of large radius (a nearly straight edge drawn as an arc); two steps bring the point
// back to the accuracy of the coordinates. Near-tangent crossings, where the step is ill-defined, keep
// the estimate.
Point2D Refine(const OffsetSeg& s1, const OffsetSeg& s2, Point2D p) {
    for (int step = 0; step < 2; ++step) {
        double g1x = 0.0;
        double g1y = 0.0;
        double g2x = 0.0;
        double g2y = 0.0;
        const double f1 = Residual(s1, p, g1x, g1y);
        const double f2 = Residual(s2, p, g2x, g2y);
        const double det = Cross(g1x, g1y, g2x, g2y);
        if (!(std::fabs(det) > kOffsetRefineMinSin))
            return p;
        p.x += (-f1 * g2y + f2 * g1y) / det;
        p.y += (-g1x * f2 + g2x * f1) / det;
    }
    return p;
}

// Adds p when it lies on both elements within tol, with its parameters on each, unless it repeats the
// crossing already found.
void AddIfOnBoth(const OffsetSeg& s1, const OffsetSeg& s2, const Point2D& p, double tol, SegHit hits[2],
                 int& count) {
    const double t1 = SegParamOf(s1, p, tol);
    const double t2 = SegParamOf(s2, p, tol);
    if (t1 < 0.0 || t2 < 0.0 || (count == 1 && Dist(hits[0].p, p) <= tol))
        return;
    AddHit(hits, count, t1, t2, p);
}

int LineLine(const OffsetSeg& s1, const OffsetSeg& s2, double tol, SegHit hits[2]) {
    const double rx = s1.b.x - s1.a.x;
    const double ry = s1.b.y - s1.a.y;
    const double sx = s2.b.x - s2.a.x;
    const double sy = s2.b.y - s2.a.y;
    const double lr = std::hypot(rx, ry);
    const double ls = std::hypot(sx, sy);
    int count = 0;
    // A zero-length line is a point: it crosses whatever it lies on.
    if (lr <= kGeomZeroLength) {
        const double u = SegParamOf(s2, s1.a, tol);
        if (u >= 0.0)
            AddHit(hits, count, 0.0, u, s1.a);
        return count;
    }
    if (ls <= kGeomZeroLength) {
        const double t = SegParamOf(s1, s2.a, tol);
        if (t >= 0.0)
            AddHit(hits, count, t, 0.0, s2.a);
        return count;
    }
    const double qx = s2.a.x - s1.a.x;
    const double qy = s2.a.y - s1.a.y;
    const double denom = Cross(rx, ry, sx, sy);
    if (std::fabs(denom) > kOffsetParallelSin * lr * ls) {
        double t = Cross(qx, qy, sx, sy) / denom;
        double u = Cross(qx, qy, rx, ry) / denom;
        const double tolT = tol / lr;
        const double tolU = tol / ls;
        if (t < -tolT || t > 1.0 + tolT || u < -tolU || u > 1.0 + tolU)
            return 0;
        t = std::clamp(t, 0.0, 1.0);
        u = std::clamp(u, 0.0, 1.0);
        AddHit(hits, count, t, u, SegPointAt(s1, t));
        return count;
    }
    // Parallel: they meet only when collinear, along the overlap of their extents.
    if (std::fabs(Cross(qx, qy, rx, ry)) / lr > tol)
        return 0;
    const double ta = (qx * rx + qy * ry) / (lr * lr);
    const double tb = ((s2.b.x - s1.a.x) * rx + (s2.b.y - s1.a.y) * ry) / (lr * lr);
    const double lo = std::max(0.0, std::min(ta, tb));
    const double hi = std::min(1.0, std::max(ta, tb));
    const double tolT = tol / lr;
    if (hi < lo - tolT)
        return 0;
    for (const double t : {lo, hi}) {
        if (count == 1 && t - lo <= tolT)
            break;
        const Point2D p = SegPointAt(s1, std::clamp(t, 0.0, 1.0));
        const double u = SegParamOf(s2, p, tol);
        if (u >= 0.0)
            AddHit(hits, count, std::clamp(t, 0.0, 1.0), u, p);
    }
    return count;
}

// Crossings of a line and an arc, with the line's parameter first.
int LineArc(const OffsetSeg& line, const OffsetSeg& arc, double tol, SegHit hits[2]) {
    const double rx = line.b.x - line.a.x;
    const double ry = line.b.y - line.a.y;
    const double lr = std::hypot(rx, ry);
    int count = 0;
    if (lr <= kGeomZeroLength) {
        const double u = SegParamOf(arc, line.a, tol);
        if (u >= 0.0)
            AddHit(hits, count, 0.0, u, line.a);
        return count;
    }
    // The foot of the perpendicular from the centre and the half chord either side of it: better
    // conditioned than the roots of the quadratic when the line nearly touches the circle.
    const double fx = line.a.x - arc.c.x;
    const double fy = line.a.y - arc.c.y;
    const double foot = -(fx * rx + fy * ry) / (lr * lr);
    const double h = std::fabs(Cross(fx, fy, rx, ry)) / lr;
    if (h > arc.r + tol)
        return 0;
    // Factored: r^2 - h^2 loses every digit when the radius is large and the line nearly touches.
    const double half2 = (arc.r - h) * (arc.r + h);
    const double half = half2 > 0.0 ? std::sqrt(half2) / lr : 0.0;
    const double tolT = tol / lr;
    const int roots = half * lr <= tol ? 1 : 2;
    for (int k = 0; k < roots; ++k) {
        double t = roots == 1 ? foot : (k == 0 ? foot - half : foot + half);
        if (t < -tolT || t > 1.0 + tolT)
            continue;
        AddIfOnBoth(line, arc, Refine(line, arc, SegPointAt(line, std::clamp(t, 0.0, 1.0))), tol, hits,
                    count);
    }
    return count;
}

int ArcArc(const OffsetSeg& s1, const OffsetSeg& s2, double tol, SegHit hits[2]) {
    const double dx = s2.c.x - s1.c.x;
    const double dy = s2.c.y - s1.c.y;
    const double d = std::hypot(dx, dy);
    int count = 0;
    if (d <= tol && std::fabs(s1.r - s2.r) <= tol) {
        // One circle: the arcs meet where an end of one lies on the other.
        for (const Point2D& p : {s1.a, s1.b, s2.a, s2.b}) AddIfOnBoth(s1, s2, p, tol, hits, count);
        return count;
    }
    if (d <= kGeomZeroLength || d > s1.r + s2.r + tol || d < std::fabs(s1.r - s2.r) - tol)
        return 0;
    // Factored differences of squares: arcs of large radius (a nearly straight edge) meet with the
    // accuracy of their coordinates rather than of their squared radii.
    const double along = (d + (s1.r - s2.r) * (s1.r + s2.r) / d) / 2.0;
    const double h2 = (s1.r - along) * (s1.r + along);
    const double h = h2 > 0.0 ? std::sqrt(h2) : 0.0;
    const double ux = dx / d;
    const double uy = dy / d;
    const Point2D base(s1.c.x + along * ux, s1.c.y + along * uy);
    const int roots = h <= tol ? 1 : 2;
    for (int k = 0; k < roots; ++k) {
        const double side = roots == 1 ? 0.0 : (k == 0 ? h : -h);
        AddIfOnBoth(s1, s2, Refine(s1, s2, Point2D(base.x - side * uy, base.y + side * ux)), tol, hits,
                    count);
    }
    return count;
}

}  // namespace

OffsetSeg MakeLine(const Point2D& a, const Point2D& b, OffsetSegKind kind, int source) {
    OffsetSeg s;
    s.a = a;
    s.b = b;
    s.kind = kind;
    s.source = source;
    return s;
}

OffsetSeg MakeArcFromEnds(const Point2D& c, const Point2D& a, const Point2D& b, bool ccw, OffsetSegKind kind,
                          int source) {
    OffsetSeg s;
    s.arc = true;
    s.a = a;
    s.b = b;
    s.c = c;
    s.r = Dist(c, a);
    s.a0 = std::atan2(a.y - c.y, a.x - c.x);
    const double ux = a.x - c.x;
    const double uy = a.y - c.y;
    const double vx = b.x - c.x;
    const double vy = b.y - c.y;
    double sweep = std::atan2(Cross(ux, uy, vx, vy), ux * vx + uy * vy);
    if (a == b) {
        sweep = 0.0;  // exact: coinciding ends make a full circle, filled in just below
    }
    if (ccw && sweep <= 0.0)
        sweep += kTwoPi;
    if (!ccw && sweep >= 0.0)
        sweep -= kTwoPi;
    s.sweep = sweep;
    s.kind = kind;
    s.source = source;
    return s;
}

double SegLength(const OffsetSeg& s) {
    return s.arc ? s.r * std::fabs(s.sweep) : Dist(s.a, s.b);
}

Point2D SegPointAt(const OffsetSeg& s, double t) {
    if (t == 0.0)
        return s.a;  // exact ends: the stored points, shared with the neighbours
    if (t == 1.0)
        return s.b;
    if (!s.arc)
        return Point2D(s.a.x + t * (s.b.x - s.a.x), s.a.y + t * (s.b.y - s.a.y));
    const double angle = s.a0 + t * s.sweep;
    return Point2D(s.c.x + s.r * std::cos(angle), s.c.y + s.r * std::sin(angle));
}

void SegTangentAt(const OffsetSeg& s, double t, double& tx, double& ty) {
    if (!s.arc) {
        const double len = Dist(s.a, s.b);
        tx = len > 0.0 ? (s.b.x - s.a.x) / len : 0.0;
        ty = len > 0.0 ? (s.b.y - s.a.y) / len : 0.0;
        return;
    }
    const double angle = s.a0 + t * s.sweep;
    const double sign = s.sweep > 0.0 ? 1.0 : -1.0;
    tx = -std::sin(angle) * sign;
    ty = std::cos(angle) * sign;
}

SegBox SegBoxOf(const OffsetSeg& s) {
    SegBox box{std::min(s.a.x, s.b.x), std::min(s.a.y, s.b.y), std::max(s.a.x, s.b.x),
               std::max(s.a.y, s.b.y)};
    if (!s.arc)
        return box;
    // The circle's extreme points in x and y that the sweep passes.
    for (int k = 0; k < 4; ++k) {
        const double angle = k * (MathEx::PI / 2.0);
        if (ArcFraction(s, angle) > 1.0)
            continue;
        const double x = s.c.x + (k == 0 ? s.r : k == 2 ? -s.r : 0.0);
        const double y = s.c.y + (k == 1 ? s.r : k == 3 ? -s.r : 0.0);
        box.minX = std::min(box.minX, x);
        box.maxX = std::max(box.maxX, x);
        box.minY = std::min(box.minY, y);
        box.maxY = std::max(box.maxY, y);
    }
    return box;
}

double SegDistance(const OffsetSeg& s, const Point2D& p) {
    if (!s.arc) {
        const double rx = s.b.x - s.a.x;
        const double ry = s.b.y - s.a.y;
        const double len2 = rx * rx + ry * ry;
        double t = len2 > 0.0 ? ((p.x - s.a.x) * rx + (p.y - s.a.y) * ry) / len2 : 0.0;
        t = std::clamp(t, 0.0, 1.0);
        return std::hypot(p.x - (s.a.x + t * rx), p.y - (s.a.y + t * ry));
    }
    const double dc = Dist(p, s.c);
    if (dc > 0.0 && ArcFraction(s, std::atan2(p.y - s.c.y, p.x - s.c.x)) <= 1.0) {
        return std::fabs(dc - s.r);
    }
    if (dc == 0.0)
        return s.r;  // exact: the centre has no direction and is a radius from every point
    return std::min(Dist(p, s.a), Dist(p, s.b));
}

double SegParamOf(const OffsetSeg& s, const Point2D& p, double tol) {
    if (!s.arc) {
        const double rx = s.b.x - s.a.x;
        const double ry = s.b.y - s.a.y;
        const double len2 = rx * rx + ry * ry;
        if (len2 <= kGeomZeroLength * kGeomZeroLength)
            return Dist(p, s.a) <= tol ? 0.0 : -1.0;
        const double t = ((p.x - s.a.x) * rx + (p.y - s.a.y) * ry) / len2;
        const double tolT = tol / std::sqrt(len2);
        if (t < -tolT || t > 1.0 + tolT)
            return -1.0;
        return std::clamp(t, 0.0, 1.0);
    }
    const double t = ArcFraction(s, std::atan2(p.y - s.c.y, p.x - s.c.x));
    if (t <= 1.0)
        return t;
    // Just past either end (the fraction wraps round to near 1 before the start).
    if (Dist(p, s.b) <= tol)
        return 1.0;
    if (Dist(p, s.a) <= tol)
        return 0.0;
    return -1.0;
}

int SegIntersect(const OffsetSeg& s1, const OffsetSeg& s2, double tol, SegHit hits[2]) {
    if (!s1.arc && !s2.arc)
        return LineLine(s1, s2, tol, hits);
    if (s1.arc && s2.arc)
        return ArcArc(s1, s2, tol, hits);
    if (!s1.arc)
        return LineArc(s1, s2, tol, hits);
    const int count = LineArc(s2, s1, tol, hits);
    for (int k = 0; k < count; ++k) std::swap(hits[k].t1, hits[k].t2);
    return count;
}

OffsetSeg SegPiece(const OffsetSeg& s, double t0, double t1, const Point2D& pa, const Point2D& pb) {
    OffsetSeg piece = s;
    piece.a = pa;
    piece.b = pb;
    if (s.arc) {
        piece.a0 = s.a0 + t0 * s.sweep;
        piece.sweep = (t1 - t0) * s.sweep;
    }
    return piece;
}

namespace {

// The angle brought into (-pi, pi].
double Wrap(double angle) {
    const double a = NormPositive(angle);
    return a > MathEx::PI ? a - kTwoPi : a;
}

}  // namespace

void SegSetStart(OffsetSeg& s, const Point2D& p) {
    if (s.arc && !(s.a == s.b)) {
        const double a0 = std::atan2(p.y - s.c.y, p.x - s.c.x);
        s.sweep -= Wrap(a0 - s.a0);
        s.a0 = a0;
    }
    s.a = p;
}

OffsetSeg SegReversed(const OffsetSeg& s) {
    OffsetSeg r = s;
    r.a = s.b;
    r.b = s.a;
    if (s.arc) {
        r.a0 = s.a0 + s.sweep;
        r.sweep = -s.sweep;
    }
    return r;
}

std::vector<OffsetSeg> DropTinyElements(std::vector<OffsetSeg> chain) {
    std::vector<OffsetSeg> kept;
    kept.reserve(chain.size());
    for (std::size_t k = 0; k < chain.size(); ++k) {
        // Inclusive: an element exactly kOffsetPointTol long is a point.
        if (chain.size() > 1 && SegLength(chain[k]) <= kOffsetPointTol) {
            SegSetStart(chain[(k + 1) % chain.size()], chain[k].a);
            continue;
        }
        kept.push_back(chain[k]);
    }
    if (!kept.empty())
        SegSetStart(kept.front(), kept.back().b);
    return kept;
}

double ChainSignedArea(const std::vector<OffsetSeg>& chain) {
    if (chain.empty())
        return 0.0;
    // Measured from the first point, so that large coordinates do not swamp small areas.
    const Point2D o = chain.front().a;
    double area = 0.0;
    for (const OffsetSeg& s : chain) {
        area += 0.5 * Cross(s.a.x - o.x, s.a.y - o.y, s.b.x - o.x, s.b.y - o.y);
        if (s.arc)
            area += 0.5 * s.r * s.r * (s.sweep - std::sin(s.sweep));
    }
    return area;
}

}  // namespace detail
}  // namespace Norvane
