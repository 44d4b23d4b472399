#include "geomFeature/host/geomkit/Arc2D.h"

#include <algorithm>
#include <cmath>

#include <boost/make_shared.hpp>

#include "geomFeature/host/geomkit/Matrix2D.h"
#include "geomFeature/host/geomkit/detail/GeomCross.h"
#include "geomFeature/host/mathkit/MathEx.h"

namespace Norvane {

namespace {

constexpr double kHalfPi = MathEx::PI / 2.0;

// a reduced into [0, 2π) without any snapping.
double Wrap2Pi(double a) {
    double r = std::fmod(a, MathEx::PI2);
    if (r < 0.0) {
        r += MathEx::PI2;
    }
    return r >= MathEx::PI2 ? 0.0 : r;
}

}  // namespace

Arc2D::Arc2D() = default;

Arc2D::Arc2D(const Point2D& centre, double radius, double baseAngle, double sweepAngle)
    : Geom2DBase(centre), m_radius(radius), m_baseAngle(baseAngle), m_sweepAngle(sweepAngle) {}

double Arc2D::GetArcLen() const {
    return m_radius * std::fabs(m_sweepAngle);
}

Point2D Arc2D::GetMidPoint() const {
    return GetPointAtAngle(m_baseAngle + m_sweepAngle / 2.0);
}

Point2D Arc2D::GetPointAtAngle(double angle) const {
    return Point2D(m_basePt.x + m_radius * std::cos(angle), m_basePt.y + m_radius * std::sin(angle));
}

int Arc2D::IsFullCircle(double tol) const {
    return std::fabs(m_sweepAngle) >= MathEx::PI2 - tol ? 1 : 0;
}

int Arc2D::IsAngleOnArc(double angle, double tol) const {
    return MathEx::CheckAngleRange(angle, m_baseAngle, m_sweepAngle, tol);
}

double Arc2D::GetMoveAngleAtPt(const Point2D& p) const {
    if (m_basePt.DistanceTo(p) <= kGeomZeroLength) {
        return GetStartTangentAngle();
    }
    const double radial = (p - m_basePt).Angle();
    return MathEx::GetSignedAng(radial + (m_sweepAngle >= 0.0 ? kHalfPi : -kHalfPi), 0.0);
}

Point2DList Arc2D::GetLineCrossPoint(const Line2D& line, double tol) const {
    Point2DList pts = detail::CrossLineArc(line, *this, tol);
    detail::SortAlong(*this, pts);
    return pts;
}

Point2DList Arc2D::GetArcCrossPoint(const Arc2D& other, double tol) const {
    Point2DList pts = detail::CrossArcArc(*this, other, tol);
    detail::SortAlong(*this, pts);
    return pts;
}

// Contract: both arcs on one circle (centres within kGeomEqualTol in each coordinate, radii within
// kGeomEqualTol). Everything is measured as angle travelled from this base angle in this arc's sense, so this
// arc is [0, L1]; the other, whichever its own sense, is [o, o + L2] with o in [0, 2π) and may also be seen
// one turn earlier, [o − 2π, o − 2π + L2]. They merge when either placement overlaps or touches [0, L1]
// within an angular gap of kGeomEqualTol / radius. If both placements meet it, the two close the circle.
int Arc2D::MergeWith(const Arc2D& other) {
    if (!m_basePt.IsEqual(other.m_basePt, kGeomEqualTol) ||
        std::fabs(m_radius - other.m_radius) > kGeomEqualTol) {
        return 0;
    }
    if (m_radius <= kGeomZeroLength || other.m_radius <= kGeomZeroLength) {
        return 0;
    }
    const double sense = m_sweepAngle >= 0.0 ? 1.0 : -1.0;
    const double len1 = std::fabs(m_sweepAngle);
    const double len2 = std::fabs(other.m_sweepAngle);
    const double tolA = kGeomEqualTol / m_radius;
    const double fullSweep = sense * MathEx::PI2;

    if (len1 >= MathEx::PI2 - tolA) {  // already the whole circle: the other adds nothing
        return 1;
    }
    const bool sameSense = (other.m_sweepAngle >= 0.0) == (sense > 0.0);
    // Where the other begins when run in this arc's sense.
    const double otherStart = sameSense ? other.m_baseAngle : other.m_baseAngle + other.m_sweepAngle;
    const double o = Wrap2Pi(sense * (otherStart - m_baseAngle));

    const bool meetsAfter = o <= len1 + tolA;                  // starts inside this or at its end
    const bool meetsBefore = o - MathEx::PI2 + len2 >= -tolA;  // runs into this from before its start
    if (!meetsAfter && !meetsBefore) {
        return 0;
    }
    if (meetsAfter && meetsBefore) {
        m_sweepAngle = fullSweep;
        return 1;
    }
    if (meetsAfter) {
        const double end = std::max(len1, o + len2);
        m_sweepAngle = end >= MathEx::PI2 - tolA ? fullSweep : sense * end;
        return 1;
    }
    const double begin = o - MathEx::PI2;  // <= 0
    const double end = std::max(len1, begin + len2);
    const double span = end - begin;
    m_baseAngle = otherStart;
    m_sweepAngle = span >= MathEx::PI2 - tolA ? fullSweep : sense * span;
    return 1;
}

Geom2DList Arc2D::CutArcWithPercent(const std::vector<double>& fractions) const {
    std::vector<double> f;
    for (double v : fractions) {
        if (v > 0.0 && v < 1.0) {  // strict: cutting at an end would make an empty piece
            f.push_back(v);
        }
    }
    std::sort(f.begin(), f.end());
    f.erase(std::unique(f.begin(), f.end()), f.end());
    f.push_back(1.0);

    Geom2DList pieces;
    double prev = 0.0;
    for (double v : f) {
        pieces.push_back(boost::make_shared<Arc2D>(m_basePt, m_radius, m_baseAngle + m_sweepAngle * prev,
                                                   m_sweepAngle * (v - prev)));
        prev = v;
    }
    return pieces;
}

Point2D Arc2D::GetStartPoint() const {
    return GetPointAtAngle(m_baseAngle);
}

Point2D Arc2D::GetEndPoint() const {
    return GetPointAtAngle(m_baseAngle + m_sweepAngle);
}

// Box of the two end points widened by every axis extreme (0, π/2, π, 3π/2) the sweep passes.
Rect2D Arc2D::GetRect() const {
    Rect2D box = Rect2D::FromPoints(GetStartPoint(), GetEndPoint());
    const Point2D extremes[4] = {
        Point2D(m_basePt.x + m_radius, m_basePt.y), Point2D(m_basePt.x, m_basePt.y + m_radius),
        Point2D(m_basePt.x - m_radius, m_basePt.y), Point2D(m_basePt.x, m_basePt.y - m_radius)};
    for (int k = 0; k < 4; ++k) {
        if (MathEx::CheckAngleRange(k * kHalfPi, m_baseAngle, m_sweepAngle, 0.0)) {
            box.Union(extremes[k]);
        }
    }
    return box;
}

// A point at the centre is at distance radius (every point of the arc is); a point whose direction lies on
// the sweep is at |dc − r|; any other is measured to the nearer end point.
double Arc2D::DistanceTo(const Point2D& p) const {
    const double dc = m_basePt.DistanceTo(p);
    if (dc < kGeomEqualTol) {
        return m_radius;
    }
    if (MathEx::CheckAngleRange(MathEx::GetAngle(m_basePt, p), m_baseAngle, m_sweepAngle, kGeomAngleTol)) {
        return std::fabs(dc - m_radius);
    }
    return std::min(p.DistanceTo(GetStartPoint()), p.DistanceTo(GetEndPoint()));
}

Point2D Arc2D::GetClosestPt(const Point2D& p) const {
    const double dc = m_basePt.DistanceTo(p);
    if (dc <= kGeomZeroLength) {
        return GetStartPoint();
    }
    if (MathEx::CheckAngleRange(MathEx::GetAngle(m_basePt, p), m_baseAngle, m_sweepAngle, 0.0)) {
        return m_basePt + (p - m_basePt) * (m_radius / dc);
    }
    const Point2D s = GetStartPoint();
    const Point2D e = GetEndPoint();
    return p.DistanceTo(e) < p.DistanceTo(s) ? e : s;  // strict: the start wins a tie
}

Point2D Arc2D::GetPointAtPercent(double f) const {
    return GetPointAtAngle(m_baseAngle + m_sweepAngle * f);
}

// Fraction of the sweep travelled from the start to p's direction when p is within tol of the arc; a point
// within tol beyond an end clamps to that end; a point within tol of the start of a full circle answers 0.
// A degenerate arc (zero radius or sweep) is its start point: 0 within tol, else −1.
double Arc2D::GetPercentOfPoint(const Point2D& p, double tol) const {
    const Point2D s = GetStartPoint();
    const double span = std::fabs(m_sweepAngle);
    if (m_radius <= kGeomZeroLength || GetArcLen() <= kGeomZeroLength) {
        return s.DistanceTo(p) <= tol ? 0.0 : -1.0;
    }
    if (DistanceTo(p) > tol) {  // non-strict: exactly tol away is still on the element
        return -1.0;
    }
    if (m_basePt.DistanceTo(p) <= kGeomZeroLength) {  // direction undefined (only for a radius within tol)
        return 0.0;
    }
    const double ang = MathEx::GetAngle(m_basePt, p);
    const double d = Wrap2Pi(m_sweepAngle >= 0.0 ? ang - m_baseAngle : m_baseAngle - ang);
    if (d > span) {
        return (d - span) < (MathEx::PI2 - d) ? 1.0 : 0.0;  // strict: equidistant goes to the start
    }
    if (IsFullCircle(0.0) && s.DistanceTo(p) <= tol) {
        return 0.0;
    }
    return std::min(d / span, 1.0);
}

// The start direction and the centre follow the transform; the radius scales by sqrt(|det|); a mirror turns
// the sense of travel, so the sweep changes sign and the mapped start and end points stay start and end.
void Arc2D::Transform(const Matrix2D& m) {
    m_basePt = m.TransformPoint(m_basePt);
    m_radius *= m.GetScale();
    // A pure translation keeps the base angle bit for bit.
    if (!(m.a == 1.0 && m.b == 0.0 && m.c == 0.0 && m.d == 1.0)) {  // deliberate exact test
        const Vector2D dir = m.TransformVector(Vector2D(std::cos(m_baseAngle), std::sin(m_baseAngle)));
        m_baseAngle = dir.Angle();
    }
    if (m.IsMirror()) {
        m_sweepAngle = -m_sweepAngle;
    }
}

void Arc2D::Reverse() {
    m_baseAngle += m_sweepAngle;
    m_sweepAngle = -m_sweepAngle;
}

IGeom2DPtr Arc2D::Clone() const {
    return boost::make_shared<Arc2D>(*this);
}

double Arc2D::GetStartTangentAngle() const {
    return MathEx::GetSignedAng(m_baseAngle + (m_sweepAngle >= 0.0 ? kHalfPi : -kHalfPi), 0.0);
}

double Arc2D::GetEndTangentAngle() const {
    return MathEx::GetSignedAng(GetEndAngle() + (m_sweepAngle >= 0.0 ? kHalfPi : -kHalfPi), 0.0);
}

}  // namespace Norvane
