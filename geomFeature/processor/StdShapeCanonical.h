#pragma once

#include "geomFeature/GeomFeatureExport.h"
#include "geomFeature/pattern/IPattern.h"

namespace Norvane {

// The steps canonical descriptions are rounded to: far below any drawing's precision (a part is in
// millimetres), far above the noise of computing one hole's parameters from its own coordinates.
constexpr double kCanonicalLength = 1e-9;
constexpr double kCanonicalAngle = 1e-9;

// Rewrites a standard shape in place into its canonical description, so that two copies of one hole,
// recognised from contours that start at different corners or run from different sides, compare equal under
// IsSameShape (which is exact for most shapes) and can join one array. The outline, as a set of points, stays
// where it was (to within the rounding below); only the description changes:
//  - the shape's turn is taken in a fixed window of one symmetry period: a quarter turn for rectangles (and
//    for squares with rounded corners), a half turn for obrounds, double-Ds, ellipses and rounded
//    rectangles, a third of a turn for equilateral triangles, a whole turn otherwise. The windows start
//    0.1 rad before the usual -period/2, so that the common drawn angles (0, 45, 90 degrees...) lie well
//    inside and rounding noise cannot put two copies on different sides of the border;
//  - an ellipse's first axis is its longer one, a radius slot's sweep is positive, a rectangle's first
//    corner is the one its first side leaves from in the chosen turn, a circle's base vector points along +x;
//  - lengths are rounded to kCanonicalLength and angles to kCanonicalAngle, and the stored vectors and ratios
//    are computed from those rounded values only, so equal values give bit-for-bit equal descriptions.
// Other patterns are left alone. The pattern's cache is refreshed; a loop holding the shape must refresh its
// own (its outline may now start elsewhere).
GF_API void CanonicaliseStdShape(const IPatternPtr& shape);

}  // namespace Norvane
