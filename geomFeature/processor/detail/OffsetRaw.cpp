// The raw offset curve: every element moved to the offset distance and the joints closed again.
#include <cmath>
#include <limits>

#include "geomFeature/processor/ProcessorTolerance.h"
#include "geomFeature/processor/detail/OffsetChain.h"

namespace Norvane {
namespace detail {

namespace {

// The element moved by delta to its right (outward for a counter-clockwise chain). A line moves along its
// right normal. An arc keeps its centre and sweep and changes its radius: outward means away from the
// centre for a counter-clockwise arc and towards it for a clockwise one. An arc whose radius would reach
// zero or below has no offset; a connector between the (inverted) moved end points keeps the curve
// connected, and is absent (present = false) when those points coincide.
OffsetSeg MoveElement(const OffsetSeg& s, double delta, bool& present) {
    present = true;
    if (!s.arc) {
        const double len = Dist(s.a, s.b);
        const double nx = (s.b.y - s.a.y) / len;
        const double ny = -(s.b.x - s.a.x) / len;
        return MakeLine(Point2D(s.a.x + delta * nx, s.a.y + delta * ny),
                        Point2D(s.b.x + delta * nx, s.b.y + delta * ny), OffsetSegKind::Parallel, s.source);
    }
    const double sign = s.sweep > 0.0 ? 1.0 : -1.0;
    const double r = s.r + sign * delta;
    const double ux = (s.a.x - s.c.x) / s.r;
    const double uy = (s.a.y - s.c.y) / s.r;
    const double vx = (s.b.x - s.c.x) / s.r;
    const double vy = (s.b.y - s.c.y) / s.r;
    const Point2D a(s.c.x + r * ux, s.c.y + r * uy);
    const Point2D b(s.c.x + r * vx, s.c.y + r * vy);
    // Non-strict: a radius of exactly kOffsetPointTol is a point already.
    if (r <= kOffsetPointTol) {
        present = Dist(a, b) > kOffsetPointTol;
        return MakeLine(a, b, OffsetSegKind::Connector, -1);
    }
    OffsetSeg moved = s;
    moved.a = a;
    moved.b = s.a == s.b ? a : b;  // exact: a full circle stays closed
    moved.r = r;
    moved.kind = OffsetSegKind::Parallel;
    return moved;
}

// Closes the joint between the moved elements prev and next at the original corner v, where the original
// travels in direction (ex, ey) on arrival and (sx, sy) on leaving. Ends that meet stay as they are;
// a convex corner (the moved ends part) gets an arc of radius |delta| about v; a concave one (the moved
// elements overlap) is trimmed where they cross, or bridged by a connector when they do not cross near it.
// Answers whether a joining element was written to join.
bool CloseJoint(OffsetSeg& prev, OffsetSeg& next, bool same, const Point2D& v, double ex, double ey,
                double sx, double sy, double delta, OffsetSeg& join) {
    const Point2D e = prev.b;
    const Point2D s = next.a;
    // Inclusive: ends kOffsetPointTol apart are one point.
    if (Dist(e, s) <= kOffsetPointTol) {
        SegSetStart(next, e);
        return false;
    }
    const double cross = Cross(ex, ey, sx, sy);
    const double dot = ex * sx + ey * sy;
    // Strict: a turn of exactly kOffsetMinCornerTurn is a corner.
    if (std::atan2(std::fabs(cross), dot) < kOffsetMinCornerTurn) {
        SegSetStart(next, e);
        return false;
    }
    // The moved ends part on the side the loop turns to: a left turn is convex for an outward offset, a
    // right turn for an inward one. A joint without a turn (cross within tolerance, inclusive) is convex
    // too: at a U-turn the ends part along the normal and the arc rounds the tip of the spike; going
    // straight on they part by a hair and the arc is a sliver at distance |delta|, which is still exact.
    const bool straight = std::fabs(cross) <= kOffsetParallelSin;
    const bool convex = straight || (delta > 0.0 ? cross > 0.0 : cross < 0.0);
    if (convex) {
        join = MakeArcFromEnds(v, e, s, delta > 0.0, OffsetSegKind::Corner, -1);
        join.r = std::fabs(delta);
        return true;
    }
    if (!same && prev.kind == OffsetSegKind::Parallel && next.kind == OffsetSegKind::Parallel) {
        SegHit hits[2];
        const int count = SegIntersect(prev, next, kOffsetPointTol, hits);
        int best = -1;
        double bestDist = std::numeric_limits<double>::infinity();
        for (int k = 0; k < count; ++k) {
            const double d = Dist(hits[k].p, v);
            if (d < bestDist) {
                bestDist = d;
                best = k;
            }
        }
        if (best >= 0) {
            const SegHit& hit = hits[best];
            prev = SegPiece(prev, 0.0, hit.t1, prev.a, hit.p);
            next = SegPiece(next, hit.t2, 1.0, hit.p, next.b);
            return false;
        }
    }
    join = MakeLine(e, s, OffsetSegKind::Connector, -1);
    return true;
}

}  // namespace

std::vector<OffsetSeg> BuildRawOffset(const std::vector<OffsetSeg>& chain, double delta) {
    const int n = static_cast<int>(chain.size());
    std::vector<OffsetSeg> moved(chain.size());
    std::vector<int> present;
    present.reserve(chain.size());
    for (int i = 0; i < n; ++i) {
        bool keep = true;
        moved[i] = MoveElement(chain[i], delta, keep);
        if (keep)
            present.push_back(i);
    }
    const int m = static_cast<int>(present.size());
    if (m == 0)
        return {};

    std::vector<OffsetSeg> joins(present.size());
    std::vector<char> hasJoin(present.size(), 0);
    for (int k = 0; k < m; ++k) {
        const int i = present[k];
        const int j = present[(k + 1) % m];
        double ex = 0.0;
        double ey = 0.0;
        double sx = 0.0;
        double sy = 0.0;
        SegTangentAt(chain[i], 1.0, ex, ey);
        SegTangentAt(chain[j], 0.0, sx, sy);
        hasJoin[k] =
            CloseJoint(moved[i], moved[j], i == j, chain[j].a, ex, ey, sx, sy, delta, joins[k]) ? 1 : 0;
    }

    std::vector<OffsetSeg> raw;
    raw.reserve(2 * present.size());
    for (int k = 0; k < m; ++k) {
        raw.push_back(moved[present[k]]);
        if (hasJoin[k])
            raw.push_back(joins[k]);
    }
    // Trims can shrink an element to nothing.
    return DropTinyElements(std::move(raw));
}

}  // namespace detail
}  // namespace Norvane
