#pragma once

#include <vector>

#include "geomFeature/host/geomkit/Point2D.h"

namespace Norvane {
namespace detail {

// Polygon predicates on plain vertex rings. A ring is a vertex sequence closed implicitly (the first vertex
// is not repeated at the end); either orientation is accepted. These are the only routines that touch
// Boost.Geometry, so its heavy headers are compiled in one translation unit.
//
// Rings of fewer than three distinct vertices, or of zero area, are degenerate: they have no inside.

// Signed area, positive for a counter-clockwise ring; 0 for fewer than three vertices.
double RingSignedArea(const std::vector<Point2D>& ring);

// 1 when the ring is not degenerate: at least three distinct vertices and a finite, non-zero area. The
// enclosure test below answers 0 for any degenerate ring.
int RingIsProper(const std::vector<Point2D>& ring);

// 1 when p lies inside the ring or on its boundary (closed region); 0 outside or for a degenerate ring.
int RingCoversPoint(const std::vector<Point2D>& ring, const Point2D& p);

// 1 when `outer` encloses `inner` allowing the two boundaries to cross by no more than `slack`: either
// Boost's exact covered_by holds (every point of `inner` in the closed region of `outer`), or all of these
// hold:
//  - every vertex of `inner` is inside `outer` or within slack of it;
//  - every piece of an edge of `inner` between two crossings with the boundary of `outer` has its midpoint
//    inside `outer` or within slack of it (this catches an edge that cuts across a notch of `outer`);
//  - no vertex of `outer` lies inside `inner` farther than slack from its boundary (this catches a notch or a
//    slit of `outer`, however narrow, that runs deep into `inner`).
// So touching boundaries and equal outlines count as enclosed, and so does `inner` straying outside by no
// more than slack; an edge shared from the outside, an overlap or a crossing do not. 0 when either ring is
// degenerate.
int RingCoversRing(const std::vector<Point2D>& outer, const std::vector<Point2D>& inner, double slack);

// Number of distinct points (merged within kGeomEqualTol) at which the boundary meets itself, apart from the
// joints of consecutive edges: crossings and touchings of non-adjacent edges, and the far end of the overlap
// where an edge folds back along the previous one. 0 for a simple ring and for fewer than three vertices.
//
// Edges are swept in order of their left end so that only pairs whose x ranges overlap are tested, each with
// Boost's segment intersection (which reports an overlap of collinear segments by its two ends).
int RingSelfCrossCount(const std::vector<Point2D>& ring);

// Convex hull of the points, counter-clockwise, first vertex not repeated, collinear boundary points dropped.
// Points that are all collinear give the two extreme ones (one point when all coincide); none give none.
std::vector<Point2D> ConvexHull(const std::vector<Point2D>& pts);

}  // namespace detail
}  // namespace Norvane
