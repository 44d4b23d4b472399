#include "geomFeature/host/geomkit/detail/PolygonAlgo.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <exception>

#include "geomFeature/host/geomkit/GeomTolerance.h"

// Boost 1.74's geometry headers pull in a header it has itself deprecated, and, once inlined at -O2, its
// rescale policy trips -Wmaybe-uninitialized. Both are Boost's own; they are silenced for its headers only.
#define BOOST_ALLOW_DEPRECATED_HEADERS
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#include <boost/geometry.hpp>
#include <boost/geometry/geometries/linestring.hpp>
#include <boost/geometry/geometries/multi_point.hpp>
#include <boost/geometry/geometries/point_xy.hpp>
#include <boost/geometry/geometries/ring.hpp>
#include <boost/geometry/geometries/segment.hpp>
#pragma GCC diagnostic pop

namespace Norvane {
namespace detail {

namespace {

namespace bg = boost::geometry;

using BPoint = bg::model::d2::point_xy<double>;
// Counter-clockwise, open (first vertex not repeated): the layout of Polygon2D::pts.
using BRing = bg::model::ring<BPoint, false, false>;
using BSegment = bg::model::segment<BPoint>;
using BLine = bg::model::linestring<BPoint>;

BPoint ToB(const Point2D& p) {
    return BPoint(p.x, p.y);
}
Point2D FromB(const BPoint& p) {
    return Point2D(p.x(), p.y());
}

// The vertices without consecutive repeats (kGeomEqualTol) and without a repeated first vertex at the end.
std::vector<Point2D> Clean(const std::vector<Point2D>& pts) {
    std::vector<Point2D> out;
    out.reserve(pts.size());
    for (const Point2D& p : pts) {
        if (out.empty() || !out.back().IsEqual(p, kGeomEqualTol)) {
            out.push_back(p);
        }
    }
    while (out.size() > 1 && out.back().IsEqual(out.front(), kGeomEqualTol)) {
        out.pop_back();
    }
    return out;
}

// A ring made counter-clockwise, as the Boost type declares it; `valid` is false for a degenerate ring.
struct OrientedRing {
    BRing ring;
    bool valid = false;
};

OrientedRing Orient(const std::vector<Point2D>& pts) {
    OrientedRing r;
    for (const Point2D& p : Clean(pts)) {
        r.ring.push_back(ToB(p));
    }
    if (r.ring.size() < 3) {
        return r;
    }
    const double area = bg::area(r.ring);
    if (!std::isfinite(area) || area == 0) {  // exact: only a truly flat ring has no inside
        return r;
    }
    if (area < 0) {
        std::reverse(r.ring.begin(), r.ring.end());
    }
    r.valid = true;
    return r;
}

// Boost reports some invalid inputs by exceptions; the kernel reports no errors, so such a test answers
// `fallback`.
template <class F>
bool Guarded(F&& test, bool fallback) {
    try {
        return test();
    } catch (const std::exception&) {
        return fallback;
    }
}

struct Box {
    double minX, maxX, minY, maxY;
};

Box SegmentBox(const BPoint& a, const BPoint& b) {
    return {std::min(a.x(), b.x()), std::max(a.x(), b.x()), std::min(a.y(), b.y()), std::max(a.y(), b.y())};
}

bool Overlap(const Box& a, const Box& b) {
    // closed: boxes that only touch may still hold touching segments
    return a.minX <= b.maxX && b.minX <= a.maxX && a.minY <= b.maxY && b.minY <= a.maxY;
}

// Every piece of the edge p→q between consecutive crossings with the ring's boundary has its midpoint within
// slack of the ring's closed region.
bool EdgePiecesNear(const BPoint& p, const BPoint& q, const BRing& ring, double slack) {
    const double dx = q.x() - p.x();
    const double dy = q.y() - p.y();
    const double len2 = dx * dx + dy * dy;
    if (!(len2 > 0)) {
        return true;  // a point, already tested as a vertex
    }
    std::vector<double> cuts{0.0, 1.0};
    const Box edgeBox = SegmentBox(p, q);
    std::vector<BPoint> hits;
    for (std::size_t i = 0; i < ring.size(); ++i) {
        const BPoint& r = ring[i];
        const BPoint& s = ring[(i + 1) % ring.size()];
        if (!Overlap(edgeBox, SegmentBox(r, s))) {
            continue;
        }
        hits.clear();
        bg::intersection(BSegment(p, q), BSegment(r, s), hits);
        for (const BPoint& h : hits) {
            cuts.push_back(((h.x() - p.x()) * dx + (h.y() - p.y()) * dy) / len2);
        }
    }
    std::sort(cuts.begin(), cuts.end());
    for (std::size_t k = 0; k + 1 < cuts.size(); ++k) {
        const double t = (cuts[k] + cuts[k + 1]) / 2;
        const BPoint mid(p.x() + dx * t, p.y() + dy * t);
        if (bg::distance(mid, ring) > slack) {  // distance to an areal geometry is 0 inside it
            return false;
        }
    }
    return true;
}

bool TolerantCover(const BRing& outer, const BRing& inner, double slack) {
    for (const BPoint& v : inner) {
        if (bg::distance(v, outer) > slack) {
            return false;
        }
    }
    for (std::size_t i = 0; i < inner.size(); ++i) {
        if (!EdgePiecesNear(inner[i], inner[(i + 1) % inner.size()], outer, slack)) {
            return false;
        }
    }
    BLine innerBoundary(inner.begin(), inner.end());
    innerBoundary.push_back(inner.front());
    for (const BPoint& w : outer) {
        if (bg::within(w, inner) && bg::distance(w, innerBoundary) > slack) {
            return false;
        }
    }
    return true;
}

}  // namespace

double RingSignedArea(const std::vector<Point2D>& ring) {
    const std::vector<Point2D> pts = Clean(ring);
    if (pts.size() < 3) {
        return 0;
    }
    BRing r;
    for (const Point2D& p : pts) {
        r.push_back(ToB(p));
    }
    // Boost measures a ring against its declared counter-clockwise order, so a clockwise one comes out
    // negative.
    return bg::area(r);
}

int RingIsProper(const std::vector<Point2D>& ring) {
    return Orient(ring).valid ? 1 : 0;
}

int RingCoversPoint(const std::vector<Point2D>& ring, const Point2D& p) {
    const OrientedRing r = Orient(ring);
    if (!r.valid) {
        return 0;
    }
    return Guarded([&] { return bg::covered_by(ToB(p), r.ring); }, false) ? 1 : 0;
}

int RingCoversRing(const std::vector<Point2D>& outer, const std::vector<Point2D>& inner, double slack) {
    const OrientedRing a = Orient(outer);
    const OrientedRing b = Orient(inner);
    if (!a.valid || !b.valid) {
        return 0;
    }
    if (Guarded([&] { return bg::covered_by(b.ring, a.ring); }, false)) {
        return 1;
    }
    if (!(slack > 0)) {
        return 0;
    }
    bg::model::box<BPoint> boxA;
    bg::model::box<BPoint> boxB;
    bg::envelope(a.ring, boxA);
    bg::envelope(b.ring, boxB);
    if (boxB.min_corner().x() < boxA.min_corner().x() - slack ||
        boxB.max_corner().x() > boxA.max_corner().x() + slack ||
        boxB.min_corner().y() < boxA.min_corner().y() - slack ||
        boxB.max_corner().y() > boxA.max_corner().y() + slack) {
        return 0;  // sticks out of the widened box: the tolerant test cannot pass
    }
    return Guarded([&] { return TolerantCover(a.ring, b.ring, slack); }, false) ? 1 : 0;
}

int RingSelfCrossCount(const std::vector<Point2D>& ring) {
    const std::vector<Point2D> pts = Clean(ring);
    const std::size_t n = pts.size();
    if (n < 3) {
        return 0;
    }
    std::vector<BSegment> edges;
    std::vector<Box> boxes;
    edges.reserve(n);
    boxes.reserve(n);
    for (std::size_t i = 0; i < n; ++i) {
        edges.emplace_back(ToB(pts[i]), ToB(pts[(i + 1) % n]));
        boxes.push_back(SegmentBox(edges.back().first, edges.back().second));
    }
    std::vector<std::size_t> order(n);
    for (std::size_t i = 0; i < n; ++i) {
        order[i] = i;
    }
    std::sort(order.begin(), order.end(),
              [&boxes](std::size_t a, std::size_t b) { return boxes[a].minX < boxes[b].minX; });

    std::vector<Point2D> meets;
    std::vector<BPoint> hits;
    for (std::size_t oa = 0; oa < n; ++oa) {
        const std::size_t i = order[oa];
        for (std::size_t ob = oa + 1; ob < n && boxes[order[ob]].minX <= boxes[i].maxX;
             ++ob) {  // closed ranges
            const std::size_t j = order[ob];
            if (!Overlap(boxes[i], boxes[j])) {
                continue;
            }
            hits.clear();
            Guarded(
                [&] {
                    bg::intersection(edges[i], edges[j], hits);
                    return true;
                },
                false);
            const bool iThenJ = j == (i + 1) % n;
            const bool jThenI = i == (j + 1) % n;
            if (!iThenJ && !jThenI) {
                for (const BPoint& h : hits) {
                    meets.push_back(FromB(h));
                }
                continue;
            }
            // Consecutive edges always share their joint; only a fold back along the previous edge (an
            // overlap, reported by its two ends) is a meeting, at the end of the overlap away from the joint.
            if (hits.size() == 2) {
                const Point2D joint = pts[iThenJ ? j : i];
                const Point2D h0 = FromB(hits[0]);
                const Point2D h1 = FromB(hits[1]);
                const Point2D far = h0.DistanceTo(joint) >= h1.DistanceTo(joint) ? h0 : h1;
                if (far.DistanceTo(joint) > kGeomEqualTol) {
                    meets.push_back(far);
                }
            }
        }
    }

    // Count distinct meeting points: a point where several edges meet is found by several pairs.
    std::sort(meets.begin(), meets.end(), [](const Point2D& a, const Point2D& b) { return a.x < b.x; });
    std::vector<Point2D> distinct;
    for (const Point2D& m : meets) {
        bool seen = false;
        for (auto it = distinct.rbegin(); it != distinct.rend() && it->x >= m.x - kGeomEqualTol; ++it) {
            if (it->IsEqual(m, kGeomEqualTol)) {
                seen = true;
                break;
            }
        }
        if (!seen) {
            distinct.push_back(m);
        }
    }
    return static_cast<int>(distinct.size());
}

std::vector<Point2D> ConvexHull(const std::vector<Point2D>& pts) {
    std::vector<Point2D> out;
    if (pts.empty()) {
        return out;
    }
    bg::model::multi_point<BPoint> cloud;
    for (const Point2D& p : pts) {
        cloud.push_back(ToB(p));
    }
    BRing hull;
    Guarded(
        [&] {
            bg::convex_hull(cloud, hull);
            return true;
        },
        false);
    for (const BPoint& p : hull) {
        out.push_back(FromB(p));
    }
    out = Clean(out);
    if (out.size() >= 3 && bg::area(hull) > 0) {
        return out;
    }
    // Flat cloud: the segment between the lexicographically least and greatest points.
    auto less = [](const Point2D& a, const Point2D& b) { return a.x < b.x || (a.x == b.x && a.y < b.y); };
    const Point2D lo = *std::min_element(pts.begin(), pts.end(), less);
    const Point2D hi = *std::max_element(pts.begin(), pts.end(), less);
    out.assign(1, lo);
    if (!hi.IsEqual(lo, kGeomEqualTol)) {
        out.push_back(hi);
    }
    return out;
}

}  // namespace detail
}  // namespace Norvane
