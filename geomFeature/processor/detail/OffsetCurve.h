#pragma once

// The offset engine's own curve model: a closed chain of lines and arcs held by value, with the plane
// geometry the engine needs (crossings with parameters, distances, boxes, pieces, area). Kept apart from
// the kernel's Line2D / Arc2D so that the inner loops run on plain inline arithmetic without allocation.

#include <cmath>
#include <vector>

#include "geomFeature/host/geomkit/Point2D.h"

namespace Norvane {
namespace detail {

// What an element of an offset curve stands for.
enum class OffsetSegKind : unsigned char {
    Parallel,   // a line or arc at the offset distance from one original element
    Corner,     // an arc of radius d about an original corner, joining two parallel elements
    Connector,  // a straight stand-in that keeps the raw curve connected where no true offset exists
                // (across a concave corner whose elements do not meet, or for an arc whose radius
                // vanishes); it lies nearer than d to the original and survives only where it is short
                // enough for that not to matter
};

// One element, in travel order from a to b. An arc also has its centre, radius, start angle and signed
// sweep (counter-clockwise positive; +-2*pi for a full circle, whose a and b coincide). The end points are
// stored rather than recomputed from the angles, so that neighbours share exactly the same point.
struct OffsetSeg {
    Point2D a;
    Point2D b;
    Point2D c;
    double r = 0.0;
    double a0 = 0.0;
    double sweep = 0.0;
    bool arc = false;
    OffsetSegKind kind = OffsetSegKind::Parallel;
    int source = -1;  // index of the original element (Parallel only), -1 otherwise
};

struct SegBox {
    double minX, minY, maxX, maxY;
    bool Overlaps(const SegBox& o) const {
        return minX <= o.maxX && o.minX <= maxX && minY <= o.maxY && o.minY <= maxY;
    }
};

// A crossing of two elements: the parameters (0 at a, 1 at b; an arc's parameter is its fraction of the
// sweep) on each and the point.
struct SegHit {
    double t1;
    double t2;
    Point2D p;
};

inline double Cross(double ax, double ay, double bx, double by) {
    return ax * by - ay * bx;
}
inline double Dist(const Point2D& p, const Point2D& q) {
    return std::hypot(p.x - q.x, p.y - q.y);
}

OffsetSeg MakeLine(const Point2D& a, const Point2D& b, OffsetSegKind kind, int source);
// The arc about c from a to b turning counter-clockwise when ccw, clockwise otherwise; a == b gives a
// full circle. The radius is read from a.
OffsetSeg MakeArcFromEnds(const Point2D& c, const Point2D& a, const Point2D& b, bool ccw, OffsetSegKind kind,
                          int source);

double SegLength(const OffsetSeg& s);
Point2D SegPointAt(const OffsetSeg& s, double t);
// Unit direction of travel at parameter t.
void SegTangentAt(const OffsetSeg& s, double t, double& tx, double& ty);
SegBox SegBoxOf(const OffsetSeg& s);
// Distance from p to the element.
double SegDistance(const OffsetSeg& s, const Point2D& p);
// Parameter of p, taken to lie on the element's line or circle, when it lies on the element within tol
// (a point just past an end but within tol of it counts as that end); -1 otherwise.
double SegParamOf(const OffsetSeg& s, const Point2D& p, double tol);
// Every crossing of the two bounded elements within tol (at most two; overlapping collinear lines or arcs
// of one circle give the ends of the overlap). Answers the number written to hits.
int SegIntersect(const OffsetSeg& s1, const OffsetSeg& s2, double tol, SegHit hits[2]);
// The part of s between parameters t0 < t1, running from pa to pb (points the caller has fixed, such as
// shared crossing points).
OffsetSeg SegPiece(const OffsetSeg& s, double t0, double t1, const Point2D& pa, const Point2D& pb);
// Moves the start of the element to a point near it; an arc keeps its centre, radius and end and takes
// its start angle and sweep from the new start (the sweep changing by less than half a turn).
void SegSetStart(OffsetSeg& s, const Point2D& p);
// The element run the other way.
OffsetSeg SegReversed(const OffsetSeg& s);
// The closed chain without its elements of length kOffsetPointTol or less; the element after each one
// dropped takes over its start, so the chain stays exactly connected. A single element always stays.
std::vector<OffsetSeg> DropTinyElements(std::vector<OffsetSeg> chain);
// The signed area enclosed by a closed chain, positive when it runs counter-clockwise.
double ChainSignedArea(const std::vector<OffsetSeg>& chain);

}  // namespace detail
}  // namespace Norvane
