#pragma once

#include <vector>

#include "geomFeature/host/geomkit/Point2D.h"
#include "geomFeature/host/geomkit/Vector2D.h"
#include "geomFeature/pattern/IPattern.h"

namespace Norvane {
namespace detail {

struct OffsetSeg;

// A line or arc of a loop as tolerant recognition sees it: in the loop's direction of travel, from p0 to
// p1. An arc runs from the angle `start` about `centre` through the signed `sweep` (positive
// counter-clockwise).
struct FitPiece {
    bool arc = false;
    Point2D p0;
    Point2D p1;
    Point2D centre;
    double radius = 0.0;
    double start = 0.0;
    double sweep = 0.0;

    // The offset curves' element for the same piece.
    OffsetSeg Seg() const;
    // The point at fraction t of the way (0 = p0, 1 = p1).
    Point2D At(double t) const;
    // Distance from p to the nearest point of the piece.
    double DistanceTo(const Point2D& p) const;

    // The piece of a line or arc pattern run forwards or backwards; false for any other pattern.
    static bool From(const IPatternPtr& pattern, bool forward, FitPiece& piece);
};

// The greatest distance, both ways, between the two outlines, measured at the ends and kFitInnerSamples
// inner points of every piece (a sampled Hausdorff distance).
double OutlineDistance(const std::vector<FitPiece>& a, const std::vector<FitPiece>& b);

// The exact standard shape of a few merged pieces in loop order (circle, single-D, triangle, rectangle,
// obround, double-D, radius slot, rounded rectangle), empty when their sequence of lines and arcs is none
// of these. Only fitted: the caller checks it against the drawing.
IPatternPtr FitFewPieces(const std::vector<FitPiece>& merged, double tolerance);

// The ellipse, or circle, through the vertices of a closed chain of lines (in loop order, each vertex
// once), when every vertex lies within tolerance of it and the chain goes once round it in steps of at
// most kFitMaxCurveStep; else empty.
IPatternPtr FitCurveChain(const std::vector<Point2D>& vertices, double tolerance);

}  // namespace detail
}  // namespace Norvane
