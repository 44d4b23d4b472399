#include "geomFeature/host/geomkit/Line2D.h"

#include <algorithm>
#include <cmath>

#include <boost/make_shared.hpp>

#include "geomFeature/host/geomkit/Arc2D.h"
#include "geomFeature/host/geomkit/Matrix2D.h"
#include "geomFeature/host/geomkit/detail/GeomCross.h"

namespace Norvane {

namespace {

// The fractions strictly inside (0, 1), sorted, exact duplicates removed.
std::vector<double> InnerFractions(const std::vector<double>& fractions) {
    std::vector<double> f;
    for (double v : fractions) {
        if (v > 0.0 && v < 1.0) {  // strict: cutting at an end would make an empty piece
            f.push_back(v);
        }
    }
    std::sort(f.begin(), f.end());
    f.erase(std::unique(f.begin(), f.end()), f.end());
    return f;
}

}  // namespace

Line2D::Line2D() = default;

Line2D::Line2D(const Point2D& start, const Point2D& end) : Geom2DBase(start), m_vector(end - start) {}

Line2D::Line2D(const Point2D& start, const Vector2D& v) : Geom2DBase(start), m_vector(v) {}

double Line2D::GetBaseAngle() const {
    return m_vector.Angle();
}

Point2D Line2D::GetMidPoint() const {
    return m_basePt + m_vector / 2.0;
}

void Line2D::SetStartPoint(const Point2D& p) {
    const Point2D end = GetEndPoint();
    m_basePt = p;
    m_vector = end - p;
}

void Line2D::SetEndPoint(const Point2D& p) {
    m_vector = p - m_basePt;
}

double Line2D::GetDistance(const Point2D& p) const {
    const double len = m_vector.Length();
    if (len <= kGeomZeroLength) {
        return m_basePt.DistanceTo(p);
    }
    return std::fabs(m_vector.CrossProduct(p - m_basePt)) / len;
}

int Line2D::CheckSide(const Point2D& p, double tol) const {
    const double len = m_vector.Length();
    if (len <= kGeomZeroLength) {
        return 0;
    }
    const double signedDist = m_vector.CrossProduct(p - m_basePt) / len;
    if (signedDist > tol) {  // strict: a point exactly tol away counts as on the line
        return 1;
    }
    if (signedDist < -tol) {
        return -1;
    }
    return 0;
}

Point2DList Line2D::GetLineCrossPoint(const Line2D& other, double tol) const {
    Point2DList pts = detail::CrossLineLine(*this, other, tol);
    detail::SortAlong(*this, pts);
    return pts;
}

Point2DList Line2D::GetArcCrossPoint(const Arc2D& arc, double tol) const {
    Point2DList pts = detail::CrossLineArc(*this, arc, tol);
    detail::SortAlong(*this, pts);
    return pts;
}

// Contract: both segments on one line, each one's end points within tol of the other's infinite line; they
// overlap or leave a gap of at most tol (touching). The union keeps this direction; its ends are input end
// points, never recomputed projections, so merging (0,0)-(5,0) with (5,0)-(10,0) gives exactly (0,0)-(10,0).
// A zero-length segment merges when it lies within tol of the other (a zero-length `this` takes over the
// other's extent and direction).
int Line2D::MergeWith(const Line2D& other, double tol) {
    const double len1 = GetLength();
    const double len2 = other.GetLength();
    if (len2 <= kGeomZeroLength) {
        return DistanceTo(other.GetStartPoint()) <= tol ? 1 : 0;
    }
    if (len1 <= kGeomZeroLength) {
        if (other.DistanceTo(m_basePt) > tol) {
            return 0;
        }
        *this = other;
        return 1;
    }
    const Point2D a0 = GetStartPoint();
    const Point2D a1 = GetEndPoint();
    const Point2D b0 = other.GetStartPoint();
    const Point2D b1 = other.GetEndPoint();
    if (GetDistance(b0) > tol || GetDistance(b1) > tol || other.GetDistance(a0) > tol ||
        other.GetDistance(a1) > tol) {
        return 0;
    }
    const Vector2D u = m_vector / len1;
    const double sb0 = (b0 - a0).DotProduct(u);
    const double sb1 = (b1 - a0).DotProduct(u);
    const double sMin = std::min(sb0, sb1);
    const double sMax = std::max(sb0, sb1);
    if (sMax < -tol || sMin > len1 + tol) {  // strict: a gap of exactly tol still touches
        return 0;
    }
    const Point2D start = sMin < 0.0 ? (sb0 <= sb1 ? b0 : b1) : a0;
    const Point2D end = sMax > len1 ? (sb0 >= sb1 ? b0 : b1) : a1;
    m_basePt = start;
    m_vector = end - start;
    return 1;
}

void Line2D::SetLength(double length) {
    m_vector.Magnitude(length);
}

void Line2D::SetBaseAngle(double a) {
    m_vector.SetAngle(a);
}

void Line2D::MoveToLeft(double d) {
    m_basePt.Transfer(m_vector.GetUnit().Orthogonal() * d);
}

Geom2DList Line2D::CutLineWithPercent(const std::vector<double>& fractions) const {
    const std::vector<double> f = InnerFractions(fractions);
    Geom2DList pieces;
    Point2D from = GetStartPoint();
    for (double v : f) {
        const Point2D to = GetPointAtPercent(v);
        pieces.push_back(boost::make_shared<Line2D>(from, to));
        from = to;
    }
    pieces.push_back(boost::make_shared<Line2D>(from, GetEndPoint()));
    return pieces;
}

Rect2D Line2D::GetRect() const {
    return Rect2D::FromPoints(GetStartPoint(), GetEndPoint());
}

// Distance to the closed segment A→B: to A when p projects before A (a zero-length segment always takes this
// branch), perpendicular when it projects strictly inside, else to B.
double Line2D::DistanceTo(const Point2D& p) const {
    const Point2D a = GetStartPoint();
    const Point2D b = GetEndPoint();
    if ((p - a).DotProduct(m_vector) <= 0.0) {
        return p.DistanceTo(a);
    }
    if ((a - b).DotProduct(p - b) > 0.0) {
        return std::fabs((p - a).CrossProduct(m_vector)) / m_vector.Length();
    }
    return p.DistanceTo(b);
}

Point2D Line2D::GetClosestPt(const Point2D& p) const {
    const double len2 = m_vector.DotProduct(m_vector);
    if (len2 <= kGeomZeroLength * kGeomZeroLength) {
        return m_basePt;
    }
    const double t = std::clamp((p - m_basePt).DotProduct(m_vector) / len2, 0.0, 1.0);
    if (t == 1.0) {  // deliberate exact test: answer the stored end point itself, not a recomputed one
        return GetEndPoint();
    }
    return m_basePt + m_vector * t;
}

Point2D Line2D::GetPointAtPercent(double f) const {
    return m_basePt + m_vector * f;
}

// Fraction t of p's projection along the segment, clamped to [0, 1], when p lies within tol of the segment;
// −1 otherwise. A zero-length segment answers 0 for points within tol of it.
double Line2D::GetPercentOfPoint(const Point2D& p, double tol) const {
    if (DistanceTo(p) > tol) {  // non-strict: exactly tol away is still on the element
        return -1.0;
    }
    const double len2 = m_vector.DotProduct(m_vector);
    if (len2 <= kGeomZeroLength * kGeomZeroLength) {
        return 0.0;
    }
    return std::clamp((p - m_basePt).DotProduct(m_vector) / len2, 0.0, 1.0);
}

void Line2D::Transform(const Matrix2D& m) {
    m_basePt = m.TransformPoint(m_basePt);
    m_vector = m.TransformVector(m_vector);
}

void Line2D::Reverse() {
    m_basePt = GetEndPoint();
    m_vector = -m_vector;
}

IGeom2DPtr Line2D::Clone() const {
    return boost::make_shared<Line2D>(*this);
}

}  // namespace Norvane
