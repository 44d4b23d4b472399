#pragma once

#include "geomFeature/host/geomkit/Point2D.h"
#include "geomFeature/pattern/IPattern.h"

namespace Norvane {
namespace detail {

// What dragging a snap point (a grip) of a pattern does, kind by kind. Each grip either moves the whole
// pattern (its centre, base point or middle) or reshapes it as the drawing tool of its kind would with that
// defining point placed elsewhere:
// - line: start, end; the middle moves the line;
// - arc: start, a point on it, end (the arc through the three); the centre moves it;
// - circle: any quadrant point sets the radius;
// - ellipse: either end of the major axis (length and turn), either end of the minor axis (width);
// - rectangle: a corner (the opposite corner stays); the centre moves it;
// - rounded rectangle: a corner arc's end (the sides grow or shrink by what the point moved, the corner
//   radius stays unless it no longer fits);
// - single and double D: a flat's middle (distance and turn), a point of the circle (radius);
// - obround: an end arc's centre (length and turn), a side's middle (width);
// - triangle: an end of the base (length and turn), the apex (height and side);
// - radius slot: the start or end of the centre line (radius and that angle), its middle (radius);
// - arrays: the second copy (step), the last copy (number of copies); a grid's corners set its columns,
//   rows or both; the polar arrays' first copy sets their radius and start angle.

// The new geometry when snap point `index` of pattern is dragged to `to`: a new pattern of the same kind
// with its cache filled, or empty when that place gives no sound shape or the index is no snap point.
IPatternPtr DragGrip(const IPatternPtr& pattern, int index, const Point2D& to);

// The prompt to show while that grip is dragged.
int GripPrompt(tagPatternType type, int index);

}  // namespace detail
}  // namespace Norvane
