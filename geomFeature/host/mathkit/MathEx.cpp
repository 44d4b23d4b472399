#include "geomFeature/host/mathkit/MathEx.h"

#include <cmath>

#include "geomFeature/host/geomkit/GeomTolerance.h"

namespace Norvane {

namespace {

// Remainder of a by 2π with the sign of a, so |result| < 2π.
double TurnRemainder(double a) {
    return std::fmod(a, MathEx::PI2);
}

}  // namespace

double MathEx::GetAngle(double x1, double y1, double x2, double y2) {
    const double dx = x2 - x1;
    const double dy = y2 - y1;
    if (dx == 0.0 && dy == 0.0) {  // deliberate exact test: only truly coincident points have no direction
        return 0.0;
    }
    double a = std::atan2(dy, dx);
    if (a < 0.0) {
        a += PI2;
    }
    // A tiny negative angle plus 2π can round to exactly 2π, which lies outside [0, 2π); -0.0 becomes +0.
    if (a >= PI2 || a == 0.0) {
        a = 0.0;
    }
    return a;
}

double MathEx::GetAngle(const Point2D& from, const Point2D& to) {
    return GetAngle(from.x, from.y, to.x, to.y);
}

double MathEx::GetSignedAng(double a, double tol) {
    double r = TurnRemainder(a);
    if (r > PI) {
        r -= PI2;
    } else if (r <= -PI) {
        r += PI2;
    }
    // The half turn has two names; (−π, π] keeps +π. Within tol of it on either side we answer exactly π so
    // that a straight continuation or a half-circle sweep computes as exactly π.
    if (PI - r <= tol || r + PI <= tol) {  // non-strict: exactly tol away still counts as the half turn
        return PI;
    }
    return r;
}

double MathEx::GetSignedAngEx(double m, double tol) {
    if (std::fabs(m) <= tol) {
        return m;
    }
    const double sign = m < 0.0 ? -1.0 : 1.0;
    const double r = std::fabs(TurnRemainder(m));  // in [0, 2π)
    // A nonzero sweep that is (within tol) a whole number of turns stays a full turn.
    if (r <= tol || PI2 - r <= tol) {
        return sign * PI2;
    }
    return sign * r;
}

double MathEx::GetUnsignedAng(double a, double tol) {
    double r = TurnRemainder(a);
    if (r < 0.0) {
        r += PI2;
    }
    if (PI2 - r <= tol || r >= PI2) {  // non-strict: tol below 2π is the full turn, i.e. 0
        return 0.0;
    }
    return r == 0.0 ? 0.0 : r;  // normalise −0.0
}

int MathEx::CheckAngleRange(double ang, double start, double sweep, double tol) {
    const double span = std::fabs(sweep);
    if (span >= PI2 - tol) {
        return 1;
    }
    // Angle travelled from the start towards `ang` in the sweep's sense, in [0, 2π).
    double d = sweep >= 0.0 ? ang - start : start - ang;
    d = TurnRemainder(d);
    if (d < 0.0) {
        d += PI2;
    }
    // Inside the sweep (end included within tol) or just before the start (within tol).
    return (d <= span + tol || PI2 - d <= tol) ? 1 : 0;
}

Point2D MathEx::GetArcCenter(double sx, double sy, double ex, double ey, double sweep) {
    const double mx = (sx + ex) / 2.0;
    const double my = (sy + ey) / 2.0;
    const double dx = ex - sx;
    const double dy = ey - sy;
    const double chord = std::sqrt(dx * dx + dy * dy);
    const double halfSweep = sweep / 2.0;
    const double s = std::sin(halfSweep);
    if (chord <= kGeomZeroLength || std::fabs(s) <= kGeomZeroLength) {
        return Point2D(mx, my);
    }
    // The centre is at distance (chord/2)·cot(sweep/2) from the midpoint, on the left normal of the chord:
    // travelling counter-clockwise around a centre keeps it on the left.
    const double offset = (chord / 2.0) * std::cos(halfSweep) / s;
    const double nx = -dy / chord;
    const double ny = dx / chord;
    return Point2D(mx + nx * offset, my + ny * offset);
}

void MathEx::GetArcFrom3Point(const Point2D& p1, const Point2D& p2, const Point2D& p3, Point2D& centre,
                              double& radius, double& baseAngle, double& sweep) {
    centre = Point2D(0.0, 0.0);
    radius = 0.0;
    baseAngle = 0.0;
    sweep = 0.0;

    const Vector2D v12 = p2 - p1;
    const Vector2D v13 = p3 - p1;
    const double l13 = v13.Length();
    if (p1.IsEqual(p2, kGeomEqualTol) || p2.IsEqual(p3, kGeomEqualTol) || l13 <= kGeomEqualTol) {
        return;
    }
    const double cross = v13.CrossProduct(v12);     // signed distance of p2 from line p1p3, times l13
    if (std::fabs(cross) <= kGeomEqualTol * l13) {  // non-strict: exactly on the tolerance is collinear
        return;
    }
    // Circumcentre relative to p1.
    const double d = 2.0 * v12.CrossProduct(v13);
    const double b2 = v12.DotProduct(v12);
    const double c2 = v13.DotProduct(v13);
    const double ux = (v13.y * b2 - v12.y * c2) / d;
    const double uy = (v12.x * c2 - v13.x * b2) / d;
    centre = Point2D(p1.x + ux, p1.y + uy);
    radius = std::sqrt(ux * ux + uy * uy);
    baseAngle = GetAngle(centre, p1);
    const double endAngle = GetAngle(centre, p3);
    // p1 → p2 → p3 turns counter-clockwise exactly when p2 lies right of the chord p1→p3.
    const bool ccw = cross < 0.0;
    double span = ccw ? endAngle - baseAngle : baseAngle - endAngle;
    if (span <= 0.0) {
        span += PI2;
    }
    sweep = ccw ? span : -span;
}

void MathEx::RotatePoint(double x, double y, double cx, double cy, double angle, double& xOut, double& yOut) {
    const double c = std::cos(angle);
    const double s = std::sin(angle);
    const double dx = x - cx;
    const double dy = y - cy;
    xOut = cx + dx * c - dy * s;
    yOut = cy + dx * s + dy * c;
}

int MathEx::PointEqual(double x1, double y1, double x2, double y2) {
    return (std::fabs(x1 - x2) <= kGeomEqualTol && std::fabs(y1 - y2) <= kGeomEqualTol) ? 1 : 0;
}

int MathEx::EqualA(double a, double b, double tol) {
    return std::fabs(a - b) <= tol ? 1 : 0;
}

}  // namespace Norvane
