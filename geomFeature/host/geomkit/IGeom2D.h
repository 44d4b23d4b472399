#pragma once

#include <boost/shared_ptr.hpp>

#include "geomFeature/host/geomkit/GeomTolerance.h"
#include "geomFeature/host/geomkit/Point2D.h"
#include "geomFeature/host/geomkit/Rect2D.h"

namespace Norvane {

class Matrix2D;

enum class GeomType { Line, Arc };

// A bounded drawable element with a direction of travel from its start point to its end point.
// The kernel knows two kinds: Line2D and Arc2D.
class IGeom2D {
public:
    virtual ~IGeom2D() = default;

    virtual GeomType GetGeomType() const = 0;
    virtual Point2D GetStartPoint() const = 0;
    virtual Point2D GetEndPoint() const = 0;
    virtual double GetLength() const = 0;
    // Tight axis-aligned box (an arc includes the axis extremes it sweeps).
    virtual Rect2D GetRect() const = 0;
    // Distance to the bounded element.
    virtual double DistanceTo(const Point2D& p) const = 0;
    // Point of the bounded element nearest to p (the earlier candidate on ties).
    virtual Point2D GetClosestPt(const Point2D& p) const = 0;
    // Point at fraction f of the length from the start. f outside [0, 1] extrapolates along the line /
    // circle.
    virtual Point2D GetPointAtPercent(double f) const = 0;
    // Fraction of the length from the start at which p lies when p is within tol of the element (non-strict);
    // clamped to [0, 1] near the ends. −1 when p is farther than tol from the element.
    virtual double GetPercentOfPoint(const Point2D& p, double tol = kGeomEqualTol) const = 0;
    // Applies the transform (a mirror reverses an arc's sweep; a scale scales its radius).
    virtual void Transform(const Matrix2D& m) = 0;
    // Swaps start and end (same point set, opposite travel).
    virtual void Reverse() = 0;
    virtual boost::shared_ptr<IGeom2D> Clone() const = 0;
    // Direction of travel at the start / end, in (−π, π].
    virtual double GetStartTangentAngle() const = 0;
    virtual double GetEndTangentAngle() const = 0;
};

using IGeom2DPtr = boost::shared_ptr<IGeom2D>;

}  // namespace Norvane
