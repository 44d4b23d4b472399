#pragma once

#include <vector>

#include <boost/shared_ptr.hpp>

#include "geomFeature/host/geomkit/Geom2DBase.h"
#include "geomFeature/host/geomkit/Geom2DList.h"
#include "geomFeature/host/geomkit/Line2D.h"
#include "geomFeature/host/geomkit/Point2DList.h"

namespace Norvane {

// A circular arc: centre (the base point), radius, base angle (direction of the start point from the centre)
// and signed sweep (positive counter-clockwise). A sweep of ±2π is a full circle starting and ending at the
// base angle.
class Arc2D : public Geom2DBase {
public:
    // Centre (0, 0), radius 0, base angle 0, sweep 0.
    Arc2D();
    Arc2D(const Point2D& centre, double radius, double baseAngle, double sweepAngle);

    const Point2D& GetCenter() const { return m_basePt; }
    void SetCenter(const Point2D& c) { m_basePt = c; }
    double GetRadius() const { return m_radius; }
    void SetRadius(double r) { m_radius = r; }
    double GetBaseAngle() const { return m_baseAngle; }
    void SetBaseAngle(double a) { m_baseAngle = a; }
    double GetSweepAngle() const { return m_sweepAngle; }
    void SetSweepAngle(double s) { m_sweepAngle = s; }
    // Base + sweep (not normalised).
    double GetEndAngle() const { return m_baseAngle + m_sweepAngle; }
    // radius * |sweep|.
    double GetArcLen() const;
    // Point halfway along the sweep.
    Point2D GetMidPoint() const;
    // Point of the circle in direction `angle` from the centre.
    Point2D GetPointAtAngle(double angle) const;
    // |sweep| within tol of 2π or more.
    int IsFullCircle(double tol = kGeomAngleTol) const;
    // 1 when the direction `angle` (from the centre) lies on the sweep, ends included within tol (radians).
    int IsAngleOnArc(double angle, double tol = kGeomAngleTol) const;
    // Direction of travel at p (taken as a point of the arc): the radial direction of p turned +π/2 for a
    // counter-clockwise (or zero) sweep, −π/2 for a clockwise one; in (−π, π]. p at the centre: the tangent
    // at the start.
    double GetMoveAngleAtPt(const Point2D& p) const;
    // Crossings with the bounded line, ordered along this arc's travel. A crossing counts within tol of both
    // elements; a line tangent to the circle (its distance from the centre within tol of the radius) gives
    // one point; end points within tol of the other element are found as themselves. Zero radius acts as a
    // point.
    Point2DList GetLineCrossPoint(const Line2D& line, double tol) const;
    // Crossings with the other bounded arc, ordered along this arc's travel. Tangent circles give one point.
    // Arcs on the same circle (centres and radii within tol) give the end points of each that lie on the
    // other: the ends of the overlap, or the one shared end when they only touch.
    Point2DList GetArcCrossPoint(const Arc2D& other, double tol) const;
    // When both lie on one circle (centres and radii within kGeomEqualTol) and overlap or touch, this becomes
    // their union, keeping this arc's sense of travel, and answers 1; otherwise answers 0 and stays
    // unchanged. If together they close the circle the result is a full circle (sweep ±2π) from this base
    // angle. Two zero-radius arcs never merge.
    int MergeWith(const Arc2D& other);
    // Cuts at the given fractions (sorted, those outside (0, 1) dropped, duplicates merged); the pieces keep
    // this centre, radius and sense of travel. No usable fraction: one clone of the whole arc.
    Geom2DList CutArcWithPercent(const std::vector<double>& fractions) const;

    // IGeom2D
    GeomType GetGeomType() const override { return GeomType::Arc; }
    Point2D GetStartPoint() const override;
    Point2D GetEndPoint() const override;
    double GetLength() const override { return GetArcLen(); }
    Rect2D GetRect() const override;
    // Distance to the bounded arc; a point at the centre is at distance radius.
    double DistanceTo(const Point2D& p) const override;
    Point2D GetClosestPt(const Point2D& p) const override;
    Point2D GetPointAtPercent(double f) const override;
    double GetPercentOfPoint(const Point2D& p, double tol = kGeomEqualTol) const override;
    // Centre transformed, radius scaled by the matrix's scale; the start direction follows the linear part;
    // a mirror (negative determinant) negates the sweep. The linear part is expected to be a similarity.
    void Transform(const Matrix2D& m) override;
    void Reverse() override;
    IGeom2DPtr Clone() const override;
    double GetStartTangentAngle() const override;
    double GetEndTangentAngle() const override;

private:
    double m_radius = 0;
    double m_baseAngle = 0;
    double m_sweepAngle = 0;
};

using Arc2DPtr = boost::shared_ptr<Arc2D>;

}  // namespace Norvane
