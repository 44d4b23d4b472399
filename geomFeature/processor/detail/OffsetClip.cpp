// Turning the raw offset curve into the offset loop: cut it where it crosses itself, keep the pieces that
// lie at the full distance from the original, stitch them into loops and pick the answer.
#include <algorithm>
#include <cmath>
#include <numeric>

#include "geomFeature/processor/ProcessorTolerance.h"
#include "geomFeature/processor/detail/OffsetChain.h"
#include "geomFeature/processor/detail/SegBoxIndex.h"

namespace Norvane {
namespace detail {

namespace {

// A place on the raw curve where it is cut: element, parameter, and the crossing point (by index).
struct Cut {
    int seg;
    double t;
    int vertex;
};

// A run of the raw curve between two consecutive cuts.
struct Slice {
    int first;  // index of its starting cut in the sorted cuts
    int startVertex;
    int endVertex;
    bool valid;
};

struct UnionFind {
    std::vector<int> parent;
    int Find(int v) {
        while (parent[v] != v) v = parent[v] = parent[parent[v]];
        return v;
    }
    void Join(int a, int b) { parent[Find(a)] = Find(b); }
};

SegBox Inflated(SegBox box, double by) {
    box.minX -= by;
    box.minY -= by;
    box.maxX += by;
    box.maxY += by;
    return box;
}

std::vector<SegBox> BoxesOf(const std::vector<OffsetSeg>& segs) {
    std::vector<SegBox> boxes;
    boxes.reserve(segs.size());
    for (const OffsetSeg& s : segs) boxes.push_back(Inflated(SegBoxOf(s), kOffsetPointTol));
    return boxes;
}

// Everything the clipping needs to know about the original chain: its elements, a box index over them
// and the least distance a kept piece must keep from them.
struct Original {
    const std::vector<OffsetSeg>& chain;
    SegBoxIndex index;
    double minDist;

    // True when no original element comes nearer to p than minDist (strict: exactly minDist is far enough).
    bool FarEnough(const Point2D& p) const {
        const SegBox query{p.x - minDist, p.y - minDist, p.x + minDist, p.y + minDist};
        return index.Query(query, [&](int k) { return SegDistance(chain[k], p) >= minDist; });
    }
};

// The parameter slack at the ends of an element: kOffsetPointTol along it.
double ParamTol(const OffsetSeg& s) {
    const double len = SegLength(s);
    return len > 0.0 ? kOffsetPointTol / len : 1.0;
}

// Every self-crossing of the closed raw curve, as two cuts sharing a vertex. The joint that two
// neighbouring elements share is no crossing.
void FindSelfCrossings(const std::vector<OffsetSeg>& raw, std::vector<Cut>& cuts,
                       std::vector<Point2D>& points) {
    const int n = static_cast<int>(raw.size());
    if (n < 2)
        return;
    const SegBoxIndex index(BoxesOf(raw));
    for (int i = 0; i < n; ++i) {
        const double tolI = ParamTol(raw[i]);
        index.Query(index.Box(i), [&](int j) {
            if (j <= i)
                return true;
            SegHit hits[2];
            const int count = SegIntersect(raw[i], raw[j], kOffsetPointTol, hits);
            const double tolJ = ParamTol(raw[j]);
            for (int k = 0; k < count; ++k) {
                const SegHit& h = hits[k];
                // i's end is j's start, or (round the closing joint) j's end is i's start.
                if (j == i + 1 && h.t1 >= 1.0 - tolI && h.t2 <= tolJ)
                    continue;
                if (i == 0 && j == n - 1 && h.t1 <= tolI && h.t2 >= 1.0 - tolJ)
                    continue;
                const int vertex = static_cast<int>(points.size());
                points.push_back(h.p);
                cuts.push_back(Cut{i, h.t1, vertex});
                cuts.push_back(Cut{j, h.t2, vertex});
            }
            return true;
        });
    }
}

// Cuts at the same place become one; crossing points closer than kOffsetPointTol become one vertex.
// Cuts at the very end of an element are moved to the start of the next, so that every place has one
// spelling. Answers the cuts sorted along the curve, with vertices replaced by their representatives.
std::vector<Cut> NormaliseCuts(const std::vector<OffsetSeg>& raw, std::vector<Cut> cuts,
                               const std::vector<Point2D>& points, UnionFind& uf) {
    const int n = static_cast<int>(raw.size());
    uf.parent.resize(points.size());
    std::iota(uf.parent.begin(), uf.parent.end(), 0);
    std::vector<int> byX(points.size());
    std::iota(byX.begin(), byX.end(), 0);
    std::sort(byX.begin(), byX.end(), [&](int a, int b) { return points[a].x < points[b].x; });
    for (std::size_t a = 0; a < byX.size(); ++a) {
        for (std::size_t b = a + 1; b < byX.size(); ++b) {
            if (points[byX[b]].x - points[byX[a]].x > kOffsetPointTol)
                break;
            if (Dist(points[byX[a]], points[byX[b]]) <= kOffsetPointTol)
                uf.Join(byX[a], byX[b]);
        }
    }
    for (Cut& cut : cuts) {
        const double tol = ParamTol(raw[cut.seg]);
        if (cut.t >= 1.0 - tol) {
            cut.seg = (cut.seg + 1) % n;
            cut.t = 0.0;
        } else if (cut.t <= tol) {
            cut.t = 0.0;
        }
    }
    std::sort(cuts.begin(), cuts.end(),
              [](const Cut& a, const Cut& b) { return a.seg != b.seg ? a.seg < b.seg : a.t < b.t; });
    std::vector<Cut> unique;
    for (const Cut& cut : cuts) {
        if (!unique.empty() && unique.back().seg == cut.seg &&
            cut.t - unique.back().t <= ParamTol(raw[cut.seg])) {
            uf.Join(cut.vertex, unique.back().vertex);
            continue;
        }
        unique.push_back(cut);
    }
    for (Cut& cut : unique) cut.vertex = uf.Find(cut.vertex);
    return unique;
}

// A part of one raw element: parameters t0 < t1 on element seg.
struct PieceRef {
    int seg;
    double t0;
    double t1;
};

// The non-empty parts of raw elements between cut `from` and the next cut along the curve (all the way
// round when there is one cut), in order.
void SlicePieces(const std::vector<OffsetSeg>& raw, const std::vector<Cut>& cuts, int from,
                 std::vector<PieceRef>& out) {
    out.clear();
    const int n = static_cast<int>(raw.size());
    const Cut& a = cuts[from];
    const Cut& b = cuts[(from + 1) % cuts.size()];
    if (cuts.size() > 1 && a.seg == b.seg && a.t < b.t) {
        out.push_back(PieceRef{a.seg, a.t, b.t});
        return;
    }
    // From a to the end of its element, whole elements, then the start of b's element up to b.
    if (a.t < 1.0)
        out.push_back(PieceRef{a.seg, a.t, 1.0});
    for (int s = (a.seg + 1) % n; s != b.seg; s = (s + 1) % n) out.push_back(PieceRef{s, 0.0, 1.0});
    if (b.t > 0.0)
        out.push_back(PieceRef{b.seg, 0.0, b.t});
}

// A piece is kept when its midpoint lies far enough from the original. Connectors pass only when they are
// so short that they stray from the distance by less than the tolerance (a chord c of the circle of radius
// d about a corner comes nearer by c^2 / 8d): they bridge the hair-wide joints of loops closed within a
// tolerance rather than exactly.
bool PieceValid(const std::vector<OffsetSeg>& raw, const Original& original, const PieceRef& piece) {
    return original.FarEnough(SegPointAt(raw[piece.seg], 0.5 * (piece.t0 + piece.t1)));
}

// The closed loop made of the given slices, in order, as elements. Each slice starts and ends at its
// crossing points; inside it the raw elements keep their shared end points. Pieces of one raw element
// that meet again across a cut (a touching point) are joined back into one element.
std::vector<OffsetSeg> BuildLoop(const std::vector<OffsetSeg>& raw, const std::vector<Cut>& cuts,
                                 const std::vector<Slice>& slices, const std::vector<int>& order,
                                 const std::vector<Point2D>& points) {
    std::vector<OffsetSeg> loop;
    std::vector<PieceRef> refs;
    std::vector<PieceRef> pieces;
    for (const int id : order) {
        const Slice& slice = slices[id];
        SlicePieces(raw, cuts, slice.first, pieces);
        for (std::size_t k = 0; k < pieces.size(); ++k) {
            const PieceRef& p = pieces[k];
            const OffsetSeg& s = raw[p.seg];
            const Point2D pa = k == 0 ? points[slice.startVertex] : s.a;
            const Point2D pb = k + 1 == pieces.size() ? points[slice.endVertex] : s.b;
            if (!refs.empty() && refs.back().seg == p.seg && refs.back().t1 == p.t0) {
                refs.back().t1 = p.t1;
                loop.back() = SegPiece(s, refs.back().t0, p.t1, loop.back().a, pb);
                continue;
            }
            refs.push_back(p);
            loop.push_back(SegPiece(s, p.t0, p.t1, pa, pb));
        }
    }
    // The loop starts at a cut; when the pieces on both sides of it belong to one raw element, join them.
    if (loop.size() > 1 && refs.back().seg == refs.front().seg && refs.back().t1 == refs.front().t0) {
        loop.front() =
            SegPiece(raw[refs.front().seg], refs.back().t0, refs.front().t1, loop.back().a, loop.front().b);
        loop.pop_back();
    }
    return DropTinyElements(std::move(loop));
}

}  // namespace

ChainOffset OffsetClosedChain(const std::vector<OffsetSeg>& chain, double delta, double jointGap) {
    ChainOffset result;
    const std::vector<OffsetSeg> raw = BuildRawOffset(chain, delta);
    if (raw.empty()) {
        result.status = delta > 0.0 ? ChainOffsetStatus::NoValidLoop : ChainOffsetStatus::Vanishes;
        return result;
    }
    double extent = 0.0;
    for (const OffsetSeg& s : chain) {
        extent = std::max(
            {extent, std::fabs(s.a.x), std::fabs(s.a.y), std::fabs(s.c.x) + s.r, std::fabs(s.c.y) + s.r});
    }
    const double d = std::fabs(delta);
    const double slack = kOffsetDistRelTol * d + kOffsetCoordRelTol * extent + jointGap;
    Original original{chain, SegBoxIndex(BoxesOf(chain)), d - slack};

    std::vector<Cut> found;
    std::vector<Point2D> points;
    FindSelfCrossings(raw, found, points);
    UnionFind uf;
    const std::vector<Cut> cuts = NormaliseCuts(raw, std::move(found), points, uf);

    std::vector<std::vector<OffsetSeg>> loops;
    if (cuts.empty()) {
        // No crossing: the raw curve is all valid or all invalid.
        bool valid = true;
        for (int k = 0; k < static_cast<int>(raw.size()) && valid; ++k) {
            valid = PieceValid(raw, original, PieceRef{k, 0.0, 1.0});
        }
        if (valid)
            loops.push_back(raw);
    } else {
        std::vector<Slice> slices;
        slices.reserve(cuts.size());
        std::vector<PieceRef> pieces;
        for (int k = 0; k < static_cast<int>(cuts.size()); ++k) {
            Slice slice{k, cuts[k].vertex, cuts[(k + 1) % cuts.size()].vertex, true};
            SlicePieces(raw, cuts, k, pieces);
            for (const PieceRef& p : pieces) {
                if (!PieceValid(raw, original, p)) {
                    slice.valid = false;
                    break;
                }
            }
            slices.push_back(slice);
        }
        // Stitch: from the end vertex of a slice go on with an unused valid slice starting there, the one
        // that comes soonest along the raw curve when several do.
        const int count = static_cast<int>(slices.size());
        std::vector<char> used(slices.size(), 0);
        for (int s0 = 0; s0 < count; ++s0) {
            if (!slices[s0].valid || used[s0])
                continue;
            std::vector<int> order{s0};
            used[s0] = 1;
            bool closed = false;
            int cur = s0;
            for (int steps = 0; steps < count; ++steps) {
                const int endVertex = slices[cur].endVertex;
                if (endVertex == slices[s0].startVertex) {
                    closed = true;
                    break;
                }
                int next = -1;
                int bestGap = count + 1;
                for (int c = 0; c < count; ++c) {
                    if (used[c] || !slices[c].valid || slices[c].startVertex != endVertex)
                        continue;
                    const int gap = ((c - cur) % count + count) % count;
                    if (gap < bestGap) {
                        bestGap = gap;
                        next = c;
                    }
                }
                if (next < 0)
                    break;
                used[next] = 1;
                order.push_back(next);
                cur = next;
            }
            if (closed)
                loops.push_back(BuildLoop(raw, cuts, slices, order, points));
        }
    }

    // Grown, the region stays in one piece: its outer boundary is the one counter-clockwise loop, and any
    // clockwise loop bounds a gap the growth closed over. Shrunk, it may fall apart.
    int outer = -1;
    int outerCount = 0;
    double outerArea = 0.0;
    for (int k = 0; k < static_cast<int>(loops.size()); ++k) {
        if (loops[k].empty())
            continue;
        const double area = ChainSignedArea(loops[k]);
        double perimeter = 0.0;
        for (const OffsetSeg& s : loops[k]) perimeter += SegLength(s);
        // Slivers with no more area than a rounding error along their length are no region.
        if (std::fabs(area) <= kOffsetPointTol * perimeter)
            continue;
        if (area < 0.0) {
            ++result.voidsFilled;
            continue;
        }
        ++outerCount;
        if (area > outerArea) {
            outerArea = area;
            outer = k;
        }
    }
    if (outer < 0) {
        result.status = delta > 0.0 ? ChainOffsetStatus::NoValidLoop : ChainOffsetStatus::Vanishes;
        return result;
    }
    if (outerCount > 1 && delta < 0.0) {
        result.status = ChainOffsetStatus::SplitsApart;
        return result;
    }
    result.status = ChainOffsetStatus::Ok;
    result.loop = std::move(loops[outer]);
    return result;
}

}  // namespace detail
}  // namespace Norvane
