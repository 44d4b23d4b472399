#pragma once

#include <array>
#include <cmath>

#include "geomFeature/host/mathkit/MathEx.h"

// Tolerances of the loop processors. Each applies exactly where its comment says; callers that need
// another one pass it as an argument.
namespace Norvane {

// --- Shape recognition (PatGrouper) ------------------------------------------------------------------

// A polygon loop is tried only when it is closed at this tolerance (IsOpenPath answers 0).
constexpr double kGroupClosedLoopTol = 0.0001;

// The recognisers' exact tests: cross and dot products of side vectors, equal lengths, radii, centres
// and sweeps (MathEx::EqualA or |x| <= tol, both inclusive). Absolute, like every recogniser tolerance.
constexpr double kShapeExactTol = 1e-9;

// One arc is a whole circle when its sweep differs from +2*pi by at most this (inclusive).
constexpr double kFullCircleSweepTol = 1e-9;

// Circles drawn as two half arcs or four quarter arcs: each |sweep| within this of pi (or pi/2), and
// every centre within this of the first arc's centre, as |dx| + |dy|. Both inclusive.
constexpr double kCirclePieceSweepTol = 0.0001;
constexpr double kCirclePieceCentreTol = 0.0001;

// Triangles: an end of an equal side matches a corner of the base when |dx| + |dy| is below this (strict).
constexpr double kTriangleCornerMatchTol = 0.0001;

// Below this length a side gives no direction: a rectangle or an obround with such a side has no shape
// parameters (the ratios would divide by it) and is not made.
constexpr double kShapeMinSideLength = 1e-12;

// --- Ellipses drawn as lines -------------------------------------------------------------------------

// Only chains of this many lines are tried: enough vertices for the sampling bound below to hold, and
// at most 998 end points.
constexpr int kEllipseMinLines = 21;
constexpr int kEllipseMaxLines = 499;

// Half axes equal within this (inclusive, absolute) make a circle, not an ellipse.
constexpr double kEllipseCircleTol = 0.05;

// Axis angle given to an ellipse whose farthest point lies straight above or below the centre (dx exactly
// 0, where atan(dy/dx) has no value): pi/2 to 8 digits.
constexpr double kEllipseVerticalAxisAngle = 1.5707963;

// Arc counts an ellipse made from lines may get; a line count is snapped to one of them.
constexpr std::array<int, 15> kEllipseSegCounts = {18, 21, 24, 27, 30, 33,  36, 48,
                                                   60, 66, 72, 81, 90, 105, 120};

// Coefficients of EllipseFitTolerance (see there).
constexpr double kEllipseEstimateCoef = 3.0;
constexpr double kEllipseAxisCoef = 1.5;
constexpr double kEllipseRoundCoef = 5.0;

// How far (inclusive) the sum of distances of a vertex or line midpoint to the foci of the fitted ellipse
// may differ from 2a, for an ellipse of fitted half axes a >= b drawn as lineCount lines; also how far
// (inclusive) the ends of the fitted axes may lie from the lines. Derived for lines whose vertices lie on
// the ellipse, spaced evenly in the ellipse parameter t (x = a cos t, y = b sin t, as EllipsePattern
// places them), with h = pi / lineCount, half the parameter step:
//  - 2a (1 - cos h): a line's midpoint lies inside the curve. The chord from t - h to t + h has its middle
//    at cos h times the curve point at t, which near the end of the major axis lowers the focal sum by
//    2a (1 - cos h) (the focal sum changes by 2 per unit of distance there).
//  - kEllipseEstimateCoef * a h^2: centre, a and b are read off the vertices, which may miss the axis
//    ends by up to h in parameter. Each of the three estimates moves a focal sum by at most about a h^2
//    (the box centre by up to a h^2 / 4 in each direction, a by (a^2 - b^2) h^2 / 2a, b by a^2 h^2 / 2b
//    at the minor axis, where the focal sum is less sensitive by the factor b/a).
//  - kEllipseAxisCoef * b (1 - (b/a)^2) tan h: the axis direction is that of the farthest vertex, which
//    can lie up to h in parameter off the axis, i.e. (b/a) tan h off in angle. This happens whenever no
//    vertex sits on an axis end, and always for an odd line count, where the box centre shifts towards
//    the end that has a vertex. Turning an ellipse by d moves focal sums by at most d (a^2 - b^2) / a.
//    This term shrinks only with the line count (not its square): a bound in 1/n^2 alone would refuse
//    every odd-count ellipse of more than about 25 lines.
//  - kEllipseRoundCoef * b / n^2: keeps a floor for nearly round ellipses, where the terms in a^2 - b^2
//    vanish but the box centre still moves the focal sums.
// The two 1/n^2 coefficients and the factor on the direction term carry a margin of at least 1.5 over
// the worst case found for 21 to 499 lines, axis ratios 0.1 to 0.99, any turn and any phase of the
// vertices.
inline double EllipseFitTolerance(int lineCount, double a, double b) {
    const double n = static_cast<double>(lineCount);
    const double h = MathEx::PI / n;
    const double ratio = b / a;
    return 2.0 * a * (1.0 - std::cos(h)) + kEllipseEstimateCoef * a * h * h +
           kEllipseAxisCoef * b * (1.0 - ratio * ratio) * std::tan(h) + kEllipseRoundCoef * b / (n * n);
}

// --- Clean-up (PatProcessor) -------------------------------------------------------------------------

// A loop counts as open when IsOpenPath answers 1 at this tolerance (tiny-piece removal in open loops,
// and the programs that report open contours).
constexpr double kOpenLoopTol = 0.0001;

// Merging (MergePattern) compares a pattern only with patterns an index finds near it. A duplicate circle,
// ellipse or arc, and an arc on the same circle, has its centre within this of the pattern's in x and in y
// (the duplicate test's 1e-4, which covers the merge's 1e-9), so the centre index is asked with it.
constexpr double kMergeCentreReach = 0.0001;

// Indexes widen every question by this fraction of the coordinates' size, so that rounding in an exact
// test can never accept what the index left out. Not a tolerance of the result.
constexpr double kIndexSlack = 1e-12;

// --- Loop building and upkeep (LoopBuilder, LoopProcessor) ------------------------------------------
// The joining tolerance itself is always the caller's; these are the fixed thresholds around it.

// A chain end and a pattern end this close (Euclidean, inclusive) are one point: the pattern is taken
// without looking further for a nearer candidate.
constexpr double kExactJointTol = 1e-9;

// Starting value of the nearest-candidate search: farther than any real joint, so the first candidate
// within the tolerance always becomes the best. Not a tolerance.
constexpr double kNoCandidateYet = 4294967295.0;

// Joining tolerance of loop upkeep when the changed patterns are re-linked (the editing commands' join
// distance).
constexpr double kEditJoinTol = 0.0001;

// Two line patterns given as a polygon count as sharing a corner when the corner points differ by at most
// this in x and in y (inclusive).
constexpr double kTwoLineCornerTol = 0.0001;

// --- Nesting (LoopProcessor::CalcLoopTopStruct) -------------------------------------------------------

// A loop counts as open (and so encloses nothing) when IsOpenPath answers 1 at this tolerance.
constexpr double kTopologyOpenTol = 0.0001;
// Chord tolerance used when outlines with arcs are turned into polygons for the containment test.
constexpr double kTopologyPolygonTol = 0.0052;

}  // namespace Norvane
