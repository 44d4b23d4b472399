#pragma once

#include <boost/shared_ptr.hpp>

#include "geomFeature/host/geomkit/Poly2DList.h"

namespace Norvane {

class Geom2DList;
class Polygon2D;

// Turns chains of lines and arcs into polygons. Every arc is replaced by equal chords whose sagitta stays
// within the tolerance `tol` (a tolerance that is not positive falls back to 0.001), so the polygon's
// vertices lie on the geometry and its edges within tol of it; the polygons carry tol as their approximation
// tolerance. Consecutive vertices equal within kGeomEqualTol are kept once, and a closed chain does not
// repeat its first vertex.
//
// Elements are taken in list order; each is run in the sense that continues the chain (an element whose end
// point lies nearer to where the chain has got to than its start point is run backwards; the first element
// turns towards the second). Empty element pointers are skipped. All operations are stateless.
class PolygonBuilder {
public:
    // One polygon from all the elements as one chain, whether it closes or not (the last vertex then joins
    // the first). `flag` non-zero makes the result counter-clockwise (its vertices reversed when its signed
    // area is negative); 0 keeps the sense of the chain. Empty pointer for a null or empty list.
    static boost::shared_ptr<Polygon2D> BuildPolyFromLineArc(const boost::shared_ptr<Geom2DList>& geoms,
                                                             double tol, int flag);
    // Counter-clockwise convex hull of the approximated elements (all vertices of all elements, in any order;
    // chords lie inside convex arcs, so the hull may fall short of the true one by up to tol). Empty pointer
    // for a null or empty list; a flat set gives its two extreme points.
    static boost::shared_ptr<Polygon2D> BuildHullFromLineArc(const boost::shared_ptr<Geom2DList>& geoms,
                                                             double tol);
    // One polygon per closed chain. The list is cut after each element that brings the current chain back to
    // the start of its first element (within 0.0001); the elements left after the last closing make one more
    // polygon, so a list that does not close still gives one polygon of what it has. Each polygon keeps the
    // sense of its chain. Empty list for a null or empty list.
    static Poly2DList BuildPolyListFromLineArc(const boost::shared_ptr<Geom2DList>& geoms, double tol);
};

}  // namespace Norvane
