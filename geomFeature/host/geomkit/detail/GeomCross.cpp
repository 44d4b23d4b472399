#include "geomFeature/host/geomkit/detail/GeomCross.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "geomFeature/host/geomkit/Arc2D.h"
#include "geomFeature/host/geomkit/Line2D.h"
#include "geomFeature/host/mathkit/MathEx.h"

namespace Norvane {
namespace detail {

namespace {

// An arc that has collapsed to a single point (its start).
bool IsPointArc(const Arc2D& a) {
    return a.GetRadius() <= kGeomZeroLength || a.GetArcLen() <= kGeomZeroLength;
}

// Appends p unless a point already in the list lies within `dist` of it.
void AddDistinct(Point2DList& pts, const Point2D& p, double dist) {
    for (const Point2D& q : pts) {
        if (q.DistanceTo(p) <= dist) {
            return;
        }
    }
    pts.push_back(p);
}

// End points of each element that lie within tol of the other: the crossings of shallow near-misses at the
// ends, whose infinite-curve crossing lies farther away. Skipped when a crossing already lies within 2·tol
// (the shallow geometry can put the two up to about 2·tol apart).
void AddNearEnds(Point2DList& pts, const IGeom2D& g1, const IGeom2D& g2, double tol) {
    const Point2D ends[4] = {g1.GetStartPoint(), g1.GetEndPoint(), g2.GetStartPoint(), g2.GetEndPoint()};
    for (int i = 0; i < 4; ++i) {
        const IGeom2D& other = i < 2 ? g2 : g1;
        if (other.DistanceTo(ends[i]) <= tol) {
            AddDistinct(pts, ends[i], 2.0 * tol);
        }
    }
}

// Accepts a crossing candidate of the two underlying curves when it lies within tol of both bounded elements.
void AddIfOnBoth(Point2DList& pts, const Point2D& p, const IGeom2D& g1, const IGeom2D& g2, double tol) {
    if (std::isfinite(p.x) && std::isfinite(p.y) && g1.DistanceTo(p) <= tol && g2.DistanceTo(p) <= tol) {
        AddDistinct(pts, p, tol);
    }
}

}  // namespace

Point2DList CrossLineLine(const Line2D& l1, const Line2D& l2, double tol) {
    Point2DList pts;
    const Point2D a0 = l1.GetStartPoint();
    const Point2D a1 = l1.GetEndPoint();
    const Point2D b0 = l2.GetStartPoint();
    const Point2D b1 = l2.GetEndPoint();
    const Vector2D v1 = l1.GetVector();
    const Vector2D v2 = l2.GetVector();
    const double len1 = v1.Length();
    const double len2 = v2.Length();

    if (len1 <= kGeomZeroLength) {
        if (l2.DistanceTo(a0) <= tol) {
            pts.push_back(a0);
        }
        return pts;
    }
    if (len2 <= kGeomZeroLength) {
        if (l1.DistanceTo(b0) <= tol) {
            pts.push_back(b0);
        }
        return pts;
    }

    // Collinear: every end point within tol of the other's line. The answer is the overlap's two ends (taken
    // from the input end points), or the one shared point of segments that touch end to end.
    if (l1.GetDistance(b0) <= tol && l1.GetDistance(b1) <= tol && l2.GetDistance(a0) <= tol &&
        l2.GetDistance(a1) <= tol) {
        const Vector2D u = v1 / len1;
        const double sb0 = (b0 - a0).DotProduct(u);
        const double sb1 = (b1 - a0).DotProduct(u);
        const double sMin = std::min(sb0, sb1);
        const double sMax = std::max(sb0, sb1);
        if (sMax < -tol || sMin > len1 + tol) {  // strict: a gap of exactly tol still touches
            return pts;
        }
        const Point2D lo = sMin > 0.0 ? (sb0 <= sb1 ? b0 : b1) : a0;
        const Point2D hi = sMax < len1 ? (sb0 >= sb1 ? b0 : b1) : a1;
        pts.push_back(lo);
        AddDistinct(pts, hi, tol);
        return pts;
    }

    const double cross = v1.CrossProduct(v2);
    if (std::fabs(cross) > kGeomParallelSin * len1 * len2) {
        const Vector2D w = b0 - a0;
        const double t = w.CrossProduct(v2) / cross;
        const double s = w.CrossProduct(v1) / cross;
        // Evaluate on the shorter segment: its parameter times its length loses the least precision (a ray
        // of huge length crossing a short edge).
        const Point2D p = len1 <= len2 ? a0 + v1 * t : b0 + v2 * s;
        AddIfOnBoth(pts, p, l1, l2, tol);
    }
    AddNearEnds(pts, l1, l2, tol);
    return pts;
}

Point2DList CrossLineArc(const Line2D& line, const Arc2D& arc, double tol) {
    Point2DList pts;
    if (IsPointArc(arc)) {
        const Point2D p = arc.GetStartPoint();
        if (line.DistanceTo(p) <= tol) {
            pts.push_back(p);
        }
        return pts;
    }
    const double len = line.GetLength();
    if (len <= kGeomZeroLength) {
        const Point2D p = line.GetStartPoint();
        if (arc.DistanceTo(p) <= tol) {
            pts.push_back(p);
        }
        return pts;
    }

    const Point2D c = arc.GetCenter();
    const double r = arc.GetRadius();
    const Point2D a0 = line.GetStartPoint();
    const Vector2D u = line.GetVector() / len;
    const Point2D foot = a0 + u * (c - a0).DotProduct(u);
    const double d = foot.DistanceTo(c);
    if (d > r + tol) {  // strict: a line exactly tol outside the circle still touches it
        return pts;
    }
    if (std::fabs(d - r) <= tol && d > kGeomZeroLength) {
        // Tangent within tolerance: the one point of the circle nearest to the line.
        AddIfOnBoth(pts, c + (foot - c) * (r / d), line, arc, tol);
    } else {
        const double h = std::sqrt(std::max(0.0, r * r - d * d));
        AddIfOnBoth(pts, foot - u * h, line, arc, tol);
        AddIfOnBoth(pts, foot + u * h, line, arc, tol);
    }
    AddNearEnds(pts, line, arc, tol);
    return pts;
}

Point2DList CrossArcArc(const Arc2D& a1, const Arc2D& a2, double tol) {
    Point2DList pts;
    if (IsPointArc(a1) || IsPointArc(a2)) {
        const bool firstIsPoint = IsPointArc(a1);
        const Point2D p = firstIsPoint ? a1.GetStartPoint() : a2.GetStartPoint();
        const IGeom2D& other = firstIsPoint ? static_cast<const IGeom2D&>(a2) : a1;
        if (other.DistanceTo(p) <= tol) {
            pts.push_back(p);
        }
        return pts;
    }

    const Point2D c1 = a1.GetCenter();
    const Point2D c2 = a2.GetCenter();
    const double r1 = a1.GetRadius();
    const double r2 = a2.GetRadius();
    const double dist = c1.DistanceTo(c2);

    if (dist <= tol && std::fabs(r1 - r2) <= tol) {
        // One circle: the end points of each arc that lie on the other bound the overlaps.
        const Point2D ends[4] = {a1.GetStartPoint(), a1.GetEndPoint(), a2.GetStartPoint(), a2.GetEndPoint()};
        for (const Point2D& e : ends) {
            if (a1.DistanceTo(e) <= tol && a2.DistanceTo(e) <= tol) {
                AddDistinct(pts, e, tol);
            }
        }
        return pts;
    }
    if (dist <= kGeomZeroLength) {  // concentric circles of different radii never meet
        return pts;
    }
    if (dist > r1 + r2 + tol || dist < std::fabs(r1 - r2) - tol) {  // strict: exactly tol apart still touch
        return pts;
    }

    const Vector2D dir = (c2 - c1) / dist;
    if (std::fabs(dist - (r1 + r2)) <= tol) {
        // Touching from outside: midway between the two circles' nearest points.
        const Point2D p1 = c1 + dir * r1;
        const Point2D p2 = c2 - dir * r2;
        AddIfOnBoth(pts, (p1 + p2) / 2.0, a1, a2, tol);
    } else if (std::fabs(dist - std::fabs(r1 - r2)) <= tol) {
        // Touching from inside: on the far side of the smaller circle, seen from the larger one's centre.
        const double sgn = r1 >= r2 ? 1.0 : -1.0;
        const Point2D p1 = c1 + dir * (sgn * r1);
        const Point2D p2 = c2 + dir * (sgn * r2);
        AddIfOnBoth(pts, (p1 + p2) / 2.0, a1, a2, tol);
    } else {
        const double along = (dist * dist + r1 * r1 - r2 * r2) / (2.0 * dist);
        const double h = std::sqrt(std::max(0.0, r1 * r1 - along * along));
        const Point2D m = c1 + dir * along;
        const Vector2D n = dir.Orthogonal();
        AddIfOnBoth(pts, m - n * h, a1, a2, tol);
        AddIfOnBoth(pts, m + n * h, a1, a2, tol);
    }
    AddNearEnds(pts, a1, a2, tol);
    return pts;
}

Point2DList CrossElements(const IGeom2D& g1, const IGeom2D& g2, double tol) {
    const bool line1 = g1.GetGeomType() == GeomType::Line;
    const bool line2 = g2.GetGeomType() == GeomType::Line;
    if (line1 && line2) {
        return CrossLineLine(static_cast<const Line2D&>(g1), static_cast<const Line2D&>(g2), tol);
    }
    if (line1) {
        return CrossLineArc(static_cast<const Line2D&>(g1), static_cast<const Arc2D&>(g2), tol);
    }
    if (line2) {
        return CrossLineArc(static_cast<const Line2D&>(g2), static_cast<const Arc2D&>(g1), tol);
    }
    return CrossArcArc(static_cast<const Arc2D&>(g1), static_cast<const Arc2D&>(g2), tol);
}

double TravelParam(const IGeom2D& g, const Point2D& p) {
    if (g.GetGeomType() == GeomType::Line) {
        const Line2D& line = static_cast<const Line2D&>(g);
        return (p - line.GetStartPoint()).DotProduct(line.GetVector());
    }
    const Arc2D& arc = static_cast<const Arc2D&>(g);
    const double sweep = arc.GetSweepAngle();
    const double ang = MathEx::GetAngle(arc.GetCenter(), p);
    double d = std::fmod(sweep >= 0.0 ? ang - arc.GetBaseAngle() : arc.GetBaseAngle() - ang, MathEx::PI2);
    if (d < 0.0) {
        d += MathEx::PI2;
    }
    // Rounding can put the start itself a hair below a full turn (it matters for a full circle, whose sweep
    // would otherwise contain it at the far end); outside the sweep, nearer to the start counts as before it.
    const double span = std::fabs(sweep);
    if (MathEx::PI2 - d <= kGeomAngleTol || (d > span && MathEx::PI2 - d < d - span)) {
        d -= MathEx::PI2;
    }
    return d;
}

void SortAlong(const IGeom2D& g, Point2DList& pts) {
    std::vector<std::pair<double, Point2D>> keyed;
    keyed.reserve(pts.size());
    for (const Point2D& p : pts) {
        keyed.emplace_back(TravelParam(g, p), p);
    }
    std::stable_sort(keyed.begin(), keyed.end(),
                     [](const auto& l, const auto& r) { return l.first < r.first; });
    pts.clear();
    for (const auto& kp : keyed) {
        pts.push_back(kp.second);
    }
}

}  // namespace detail
}  // namespace Norvane
