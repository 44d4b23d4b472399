#pragma once

#include "geomFeature/host/geomkit/Point2D.h"
#include "geomFeature/pattern/IPattern.h"
#include "geomFeature/pattern/PatternList.h"

namespace Norvane {
namespace detail {

// The shapes of the drawing tools, built from the points the user gave. The tools build the finished
// pattern and the rubber-band preview with them, and the grips rebuild a pattern from its defining points
// with the dragged one moved. Each answers a pattern (or list) whose cache is filled, or empty when the
// points give no sound shape (IsSoundShape). Angles come out in (-pi, pi]; every distance from a point to a
// centre is Euclidean.

IPatternPtr MakeLine(const Point2D& start, const Point2D& end);
// The axis-parallel rectangle with corners a and b as four lines, counter-clockwise from the lower left
// corner; with a corner radius, the rectangle with rounded corners as lines and quarter arcs, lines of no
// length left out. Empty when a side has no length, or when radius exceeds half the smaller side.
PatternListPtr MakeRectLines(const Point2D& a, const Point2D& b, double radius);
// The axis-parallel rectangular hole with corners a and b.
IPatternPtr MakeRectHole(const Point2D& a, const Point2D& b);
// The counter-clockwise arc about centre from the direction of start to the direction of end; its radius is
// the distance of start. End on the start direction (no sweep) gives nothing.
IPatternPtr MakeArcByCentre(const Point2D& centre, const Point2D& start, const Point2D& end);
// The arc from p1 through p2 to p3; three points on one line give nothing.
IPatternPtr MakeArcThrough(const Point2D& p1, const Point2D& p2, const Point2D& p3);
// The axis-parallel rounded rectangle about centre with a corner at `corner`; the corner radius, clamped to
// half the smaller side, is the distance of radiusPoint from that corner.
IPatternPtr MakeRCHole(const Point2D& centre, const Point2D& corner, const Point2D& radiusPoint);
IPatternPtr MakeCircle(const Point2D& centre, const Point2D& onCircle);
// Major axis from centre to axisEnd (length twice that distance); width twice the distance of widthPoint.
IPatternPtr MakeEllipse(const Point2D& centre, const Point2D& axisEnd, const Point2D& widthPoint);
// Radius: the distance of radiusPoint. The middle of the flat (of one of the double D's flats) lies towards
// flatPoint, at its distance from the centre.
IPatternPtr MakeSingleD(const Point2D& centre, const Point2D& radiusPoint, const Point2D& flatPoint);
IPatternPtr MakeDoubleD(const Point2D& centre, const Point2D& radiusPoint, const Point2D& flatPoint);
// endCentre is the centre of one end arc (the length between the arc centres is twice its distance); width
// twice the distance of widthPoint.
IPatternPtr MakeOBround(const Point2D& centre, const Point2D& endCentre, const Point2D& widthPoint);
// The base runs through baseMid to baseEnd and as far beyond; the apex lies on the side of apexPoint, the
// height being its distance from baseMid.
IPatternPtr MakeTRHole(const Point2D& baseMid, const Point2D& baseEnd, const Point2D& apexPoint);
// The centre line runs counter-clockwise from the direction of start (at its distance) to the direction
// of end; the slot's edge passes through edgePoint (width twice its distance from the centre line).
IPatternPtr MakeRadSlot(const Point2D& centre, const Point2D& start, const Point2D& end,
                        const Point2D& edgePoint);

// Arrays of `seed` whose first copy stands on the seed (at basePoint, the seed's base point). The array
// controls the seed on its own side only (for drawing); the seed is not told.
// A row: the second copy at `second`, the last one nearest to `last`.
IPatternPtr MakePatLine(const IPatternPtr& seed, const Point2D& basePoint, const Point2D& second,
                        const Point2D& last);
// An arc of copies about centre: the second copy towards `second` (its angle is the step, either way
// round), the last one nearest to the direction of `last`.
IPatternPtr MakePatArc(const IPatternPtr& seed, const Point2D& basePoint, const Point2D& centre,
                       const Point2D& second, const Point2D& last);
// A full circle of copies about centre, as many as the angle from the first copy to `second` fits in.
IPatternPtr MakePatCircle(const IPatternPtr& seed, const Point2D& basePoint, const Point2D& centre,
                          const Point2D& second);
// A grid: the copy diagonally next to the first at `diagonal` (column and row spacing, either sign), the
// copy at the opposite corner nearest to `last`.
IPatternPtr MakePatGrid(const IPatternPtr& seed, const Point2D& basePoint, const Point2D& diagonal,
                        const Point2D& last);

// Copies counted from how many steps reach a place: round(steps) + 1, at least 2. Far too many (or no
// finite count) answers kMaxArrayCopies + 1, which no array accepts.
int CopiesForSteps(double steps);
// A typed number of copies, rounded; kMaxArrayCopies + 1 (refused) for what is no sensible count.
int TypedCount(double value);
// The place of copy number `count` (1 is the base point) of a row or arc, for a typed number of copies.
Point2D RowPlace(const Point2D& basePoint, const Point2D& second, int count);
Point2D ArcPlace(const Point2D& basePoint, const Point2D& centre, const Point2D& second, int count);
// The place of the second copy of a circle of `count` copies.
Point2D CirclePlace(const Point2D& basePoint, const Point2D& centre, int count);

// The sound pattern with its cache filled, or empty.
IPatternPtr Sound(const IPatternPtr& pattern);

}  // namespace detail
}  // namespace Norvane
