#pragma once

#include "geomFeature/host/geomkit/Point2DList.h"

namespace Norvane {

class IGeom2D;
class Line2D;
class Arc2D;

namespace detail {

// Crossing points of two bounded elements, in no particular order, no two within tol of each other.
// A point counts when it lies within tol of both elements (non-strict). Degenerate elements (zero length,
// zero radius, zero sweep) act as their start point. See Line2D / Arc2D for the per-case contracts.
Point2DList CrossLineLine(const Line2D& l1, const Line2D& l2, double tol);
Point2DList CrossLineArc(const Line2D& line, const Arc2D& arc, double tol);
Point2DList CrossArcArc(const Arc2D& a1, const Arc2D& a2, double tol);
// Dispatches on the two element kinds.
Point2DList CrossElements(const IGeom2D& g1, const IGeom2D& g2, double tol);

// Travel parameter of a point of the element, increasing from start to end: distance along a line, angle
// travelled from the base for an arc (a point just before the start counts as the start). For sorting.
double TravelParam(const IGeom2D& g, const Point2D& p);
// Sorts the points by their travel parameter on g (stable).
void SortAlong(const IGeom2D& g, Point2DList& pts);

}  // namespace detail
}  // namespace Norvane
