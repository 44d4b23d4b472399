#pragma once

#include <boost/shared_ptr.hpp>

namespace Norvane {

class Arc2D;
class Geom2DList;
class Point2DList;

// Operations on chains of lines and arcs, and on runs of points that lie along an arc. Stateless.
class LineArcProcessor {
public:
    // Exact signed area enclosed by the elements taken as one chain (see PolygonBuilder for how each
    // element's sense along the chain is found), arcs as true arcs; positive for a counter-clockwise chain.
    // An open chain is closed by a straight segment from its end to its start. 0 for an empty list.
    static double GetSignedArea(const Geom2DList& geoms);

    // Makes a closed chain run counter-clockwise. When its signed area is negative, the order of the elements
    // is reversed and every element is replaced by a reversed copy (start and end swapped; the element
    // objects the list held are not modified, as others may share them). A counter-clockwise chain, or one of
    // zero area, is left as it is.
    static void AdjustLoopToCCW(Geom2DList& geoms);

    // Fits one arc to a run of points given in order along it. The arc runs from the first point's place on
    // the circle, through the others, to the last point's place; its sense (sign of the sweep) is that in
    // which the points turn, read from the signed area of the polygon they form. First and last points that
    // coincide give a full circle (sweep ±2π) starting at the first point.
    //
    // flag 0: the least-squares circle: an algebraic (Kasa) fit refined by Gauss-Newton on the geometric
    //         distances |p − centre| − r; the arc's ends are the first and last points projected on it.
    // flag non-zero: the circle is held through the first and last points exactly (its centre on their
    //         perpendicular bisector, the rest fitted by least squares), so the arc can replace the run
    //         without moving its ends. Coincident first and last points fall back to the free fit with the
    //         radius taken through the first point.
    //
    // `deviation` receives the largest | |p − centre| − r | over the points (0 when no arc is returned).
    // Empty pointer for fewer than three points, for points that all lie within kGeomEqualTol of one line
    // (or coincide), and when the fit does not converge to a finite circle.
    static boost::shared_ptr<Arc2D> BuildPts2Arc(const Point2DList& pts, double& deviation, int flag);
};

}  // namespace Norvane
