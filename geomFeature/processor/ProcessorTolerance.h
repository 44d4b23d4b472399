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

// --- Loop optimisation (LoopProcessor_Optimize*.cpp) -------------------------------------------------

// A line starts a new segment of its loop when it turns by more than this from the line before it (strict):
// ten degrees.
constexpr double kSegmentMaxTurn = 0.17453292519943295;
// ... or, where the length rule applies, when the longer of the two lines is more than this many times the
// shorter (strict).
constexpr double kSegmentMaxLengthRatio = 10.0;
// "No turn yet" in a segment: no sign test is made while the previous turn is within kNoTurnYetTol of it.
constexpr double kNoTurnYet = 999999.0;
constexpr double kNoTurnYetTol = 1e-09;

// Two neighbouring lines are merged into one when the angles atan2(dy, dx) of their directions of travel
// differ by at most this (inclusive, raw difference: no wrap-around at +-pi).
constexpr double kCoLineAngleTol = 0.0001;

// Line optimisation: a node joins the current line only when the joint angle differs from a straight
// continuation (pi) by at most a quarter turn (inclusive); angles are normalised with kOptAngleTol.
constexpr double kLineJointMaxBend = 0.7853981633974483;
constexpr double kOptAngleTol = 1e-09;

// Arc fitting: a run of fewer lines than this is never replaced by an arc (two chords at a small turn are
// as likely a shallow corner as a curve); a straight run of two or more lines may still become one line.
constexpr int kArcFitMinLines = 3;
// Golden-section refinement of a fitted arc: its sagitta is searched this many times the tolerance on
// either side of the three-point estimate, in this many steps.
constexpr double kArcFitSearchSpan = 3.0;
constexpr int kArcFitSearchSteps = 40;
// Arc fitting: a run may turn back about the fitted centre by at most this (radians) from one vertex to the
// next, and its total turn must equal the arc's sweep within it (both inclusive).
constexpr double kArcFitTurnTol = 1e-9;
// A full circle is fitted to a closed loop only when it has at least this many lines.
constexpr int kCircleFitMinLines = 6;

// Duplicate loops: boxes (each coordinate), total lengths agree within this (inclusive).
constexpr double kOverlapLoopTol = 0.0001;

// --- Corner queries (LoopProcessor_Corner.cpp) -------------------------------------------------------

// A corner whose inside angle lies within this of pi (inclusive) is a smooth joint (a line running
// tangentially into an arc), not a corner worth reporting.
constexpr double kSmoothJointAngleTol = 0.0001;

// --- Array recognition (PatArrayBuilder) -------------------------------------------------------------

// Same-shape groups: IsSameShape never pairs two shapes whose size keys (width + height of the outline's
// box; an ellipse's two axes added) differ by more than kSameShapeKeyAbs + kSameShapeKeyRel * key. Sizes
// it compares agree within 1e-4 (radii, a rectangle's sides) or exactly (every other shape), and a
// rectangle's angle within 1e-4 rad, which moves its box by at most 1.5e-4 * key: the bound has a margin
// of over six. Used only to skip comparisons that cannot succeed.
constexpr double kSameShapeKeyAbs = 0.002;
constexpr double kSameShapeKeyRel = 0.001;
// Base points whose x differ by less than this (strict) sort by y (the column tie of the base-point order).
constexpr double kArraySortTieTol = 1e-9;
// Row seed: the directions A->B and B->C, and the lengths |AB| and |BC|, must differ by less than this
// (strict). Arc seed: two of the three distances agree within this (strict: |d1 - d2| < tol) and the third
// differs from both by more than this (strict).
constexpr double kArraySeedTol = 0.0001;
// A pattern is taken as a copy only when its base point lies within this (inclusive, Euclidean) of the
// copy's place: what makes every absorbed pattern a copy of its array.
constexpr double kArrayPlaceTol = 0.0001;
// Neighbours tried as the second copy of a row and as the two neighbours of an arc's middle copy.
constexpr int kArrayNeighbourCount = 8;
// Fewest copies of an array; an arc that does not close its ring needs more.
constexpr int kArrayMinCopies = 3;
constexpr int kArrayMinArcCopies = 4;

// --- Loop offsetting (PolyLoopOffsetter) -------------------------------------------------------------

// Two points of an offset curve this close (Euclidean, inclusive) are one point: the end of one offset
// element and the start of the next are joined without a corner, crossings are merged, and elements no
// longer than this are dropped. Also the slack of the tests whether a crossing lies on an element.
constexpr double kOffsetPointTol = 1e-9;

// A piece of the raw offset curve is kept only when its points lie at least d - tol from the original loop,
// with tol = kOffsetDistRelTol * d + kOffsetCoordRelTol * (the largest coordinate of the loop): the first
// term is the promised accuracy of the offset distance, the second covers the rounding of coordinates.
constexpr double kOffsetDistRelTol = 1e-9;
constexpr double kOffsetCoordRelTol = 1e-14;

// A joint whose direction turns by less than this (radians) is no corner: the next moved element starts
// where the one before it ends, which comes nearer than d by d * turn^2 / 2 at most (5e-13 * d). A corner
// arc or a crossing there would be ill-defined: the arc's centre, or the crossing's place along the
// elements, would rest on the last digits of its end points.
constexpr double kOffsetMinCornerTurn = 1e-6;

// Crossings of a line or arc with an arc are polished by Newton steps only where the two curves cross at
// a sine of angle above this; nearer to tangent the step would amplify rounding instead of removing it.
constexpr double kOffsetRefineMinSin = 1e-6;

// Two element directions whose cross product (of unit vectors) is within this are parallel: a joint
// between them is no corner and two such lines cross nowhere or overlap.
constexpr double kOffsetParallelSin = 1e-12;

// --- Kerf compensation (KerfCompensator) ---------------------------------------------------------

// A drawn point lies out of the cutter's reach when its distance from the compensated path exceeds the
// kerf (twice the offset) by more than this share of it: the slack of the distances' rounding, so that a
// corner of exactly 60 degrees, whose tip lies exactly a kerf from the path, counts as reached.
constexpr double kKerfReachRelTol = 1e-9;
// Compensated paths of two loops this near (inclusive) count as crossing.
constexpr double kKerfCrossTol = 1e-9;

}  // namespace Norvane
