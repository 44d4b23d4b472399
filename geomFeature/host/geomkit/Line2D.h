#pragma once

#include <vector>

#include <boost/shared_ptr.hpp>

#include "geomFeature/host/geomkit/Geom2DBase.h"
#include "geomFeature/host/geomkit/Geom2DList.h"
#include "geomFeature/host/geomkit/Point2DList.h"
#include "geomFeature/host/geomkit/Vector2D.h"

namespace Norvane {

class Arc2D;

// A bounded line segment: base (start) point plus the vector to the end point. Its left side is the side a
// traveller from start to end has on the left (counter-clockwise of the direction).
class Line2D : public Geom2DBase {
public:
    // Start (0, 0), vector (1, 0): ready for SetBaseAngle / SetLength.
    Line2D();
    Line2D(const Point2D& start, const Point2D& end);
    Line2D(const Point2D& start, const Vector2D& v);

    const Vector2D& GetVector() const { return m_vector; }
    void SetVector(const Vector2D& v) { m_vector = v; }
    // Direction of the vector, in (−π, π].
    double GetBaseAngle() const;
    Point2D GetMidPoint() const;
    // Moves the start, keeping the end point.
    void SetStartPoint(const Point2D& p);
    // Moves the end, keeping the start point.
    void SetEndPoint(const Point2D& p);

    // Perpendicular distance from p to the INFINITE line; for a zero-length line the distance to its start.
    double GetDistance(const Point2D& p) const;
    // Side of p: 1 left, −1 right, 0 when its perpendicular distance is within tol (non-strict). A
    // zero-length line has no side: 0.
    int CheckSide(const Point2D& p, double tol) const;
    // Crossings of the two BOUNDED segments, ordered along this line from its start. A crossing counts when
    // it lies within tol of both segments, so near-misses at the ends within tol are found (an end point
    // within tol of the other segment is reported as itself). Collinear segments (every end point within tol
    // of the other's line) that overlap give the two ends of the overlap; touching end to end, one point. A
    // zero-length segment acts as a point.
    Point2DList GetLineCrossPoint(const Line2D& other, double tol) const;
    // Crossings with the bounded arc, ordered along this line (see Arc2D::GetLineCrossPoint).
    Point2DList GetArcCrossPoint(const Arc2D& arc, double tol) const;
    // When both lie on one line (every end point within tol of the other's line) and overlap or touch (gap at
    // most tol), this becomes their union, keeping this direction (end points are taken from the inputs, not
    // recomputed), and answers 1; otherwise answers 0 and stays unchanged.
    int MergeWith(const Line2D& other, double tol);
    // Rescales the vector (keeps the start; a zero-length line stays zero).
    void SetLength(double length);
    // Turns the vector to angle a (keeps the start and the length).
    void SetBaseAngle(double a);
    // Parallel shift by d to the left of the direction (a negative d shifts right). Zero-length: unchanged.
    void MoveToLeft(double d);
    // Cuts at the given fractions: sorted, those outside the open range (0, 1) dropped, duplicates merged;
    // the pieces run in this direction from start to end. No usable fraction: one clone of the whole line.
    Geom2DList CutLineWithPercent(const std::vector<double>& fractions) const;

    // IGeom2D
    GeomType GetGeomType() const override { return GeomType::Line; }
    Point2D GetStartPoint() const override { return m_basePt; }
    Point2D GetEndPoint() const override { return m_basePt + m_vector; }
    double GetLength() const override { return m_vector.Length(); }
    Rect2D GetRect() const override;
    double DistanceTo(const Point2D& p) const override;
    Point2D GetClosestPt(const Point2D& p) const override;
    Point2D GetPointAtPercent(double f) const override;
    double GetPercentOfPoint(const Point2D& p, double tol = kGeomEqualTol) const override;
    void Transform(const Matrix2D& m) override;
    void Reverse() override;
    IGeom2DPtr Clone() const override;
    double GetStartTangentAngle() const override { return GetBaseAngle(); }
    double GetEndTangentAngle() const override { return GetBaseAngle(); }

private:
    Vector2D m_vector{1.0, 0.0};
};

using Line2DPtr = boost::shared_ptr<Line2D>;

}  // namespace Norvane
