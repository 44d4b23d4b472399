#pragma once

#include "geomFeature/GeomFeatureExport.h"
#include "geomFeature/pattern/IPattern.h"

namespace Norvane {

// Rewrites a standard shape in its canonical form without moving its outline, so that one shape drawn from
// another start corner or side, or the other way round, gets equal parameters:
//  - the rotation is brought into [-period/10, 9 period/10), the period being the shape's symmetry (pi for
//    ellipses, obrounds, double-Ds, rectangles and rounded rectangles, pi/2 for squares, 2 pi otherwise).
//    A rectangle or rounded rectangle is a square when its sides agree within tolerance (a fitted shape's
//    closing tolerance), or within kCanonicalEqualSideRel of their length;
//    The range starts off every multiple of 15 and 22.5 degrees, so a shape drawn at a common angle never
//    sits at the boundary where noise would throw it to the other end;
//  - a rectangle's first side is its longer side (its length), from the corner that puts the outline on its
//    left;
//  - a radius slot runs counter-clockwise (positive sweep) from its start.
// Circles and other patterns are left alone. The cache is not refreshed.
GF_API void CanonicaliseFittedShape(const IPatternPtr& shape, double tolerance = 0.0);

}  // namespace Norvane
