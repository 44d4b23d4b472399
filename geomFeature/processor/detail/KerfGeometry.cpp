#include "geomFeature/processor/detail/KerfGeometry.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include <boost/pointer_cast.hpp>

#include "geomFeature/host/geomkit/Arc2D.h"
#include "geomFeature/host/geomkit/Line2D.h"
#include "geomFeature/processor/detail/SegBoxIndex.h"

namespace Norvane {
namespace detail {

namespace {

// Samples per element: the ends and seven points between, enough to land inside any feature made of its
// own elements (a slit's sides and end, a notch's walls).
constexpr int kSamplesPerElement = 8;
// Widenings of the search box before every element is in reach (the box doubles each time).
constexpr int kMaxWidenings = 64;

SegBox BoxOf(const Rect2D& r, double grow = 0.0) {
    return SegBox{r.left - grow, r.bottom - grow, r.right + grow, r.top + grow};
}

SegBoxIndex IndexOf(const Outline& outline) {
    std::vector<SegBox> boxes;
    boxes.reserve(outline.size());
    for (const IGeom2DPtr& g : outline) boxes.push_back(BoxOf(g->GetRect()));
    return SegBoxIndex(std::move(boxes));
}

// The least distance from p to an element whose box lies within r of p; infinity when none does. Exact
// when it is at most r: an element nearer than that always has its box within r.
double NearestWithin(const SegBoxIndex& index, const Outline& outline, const Point2D& p, double r) {
    double best = std::numeric_limits<double>::infinity();
    index.Query(SegBox{p.x - r, p.y - r, p.x + r, p.y + r}, [&](int k) {
        best = std::min(best, outline[static_cast<std::size_t>(k)]->DistanceTo(p));
        return true;
    });
    return best;
}

Point2DList Crossings(const IGeom2D& a, const IGeom2D& b, double tol) {
    if (a.GetGeomType() == GeomType::Line) {
        const auto& line = static_cast<const Line2D&>(a);
        return b.GetGeomType() == GeomType::Line ? line.GetLineCrossPoint(static_cast<const Line2D&>(b), tol)
                                                 : line.GetArcCrossPoint(static_cast<const Arc2D&>(b), tol);
    }
    const auto& arc = static_cast<const Arc2D&>(a);
    return b.GetGeomType() == GeomType::Line ? arc.GetLineCrossPoint(static_cast<const Line2D&>(b), tol)
                                             : arc.GetArcCrossPoint(static_cast<const Arc2D&>(b), tol);
}

}  // namespace

FarPoint FarthestBeyond(const Outline& drawn, const Outline& cut, double limit) {
    FarPoint worst;
    if (drawn.empty() || cut.empty()) {
        return worst;
    }
    const SegBoxIndex index = IndexOf(cut);
    for (const IGeom2DPtr& element : drawn) {
        for (int k = 0; k <= kSamplesPerElement; ++k) {
            const Point2D p = element->GetPointAtPercent(static_cast<double>(k) / kSamplesPerElement);
            if (NearestWithin(index, cut, p, limit) <= limit) {
                continue;
            }
            double r = std::max(2.0 * limit, std::numeric_limits<double>::min());
            double distance = NearestWithin(index, cut, p, r);
            for (int widen = 0; widen < kMaxWidenings && !(distance <= r); ++widen) {
                r *= 2.0;
                distance = NearestWithin(index, cut, p, r);
            }
            if (distance > worst.distance && std::isfinite(distance)) {
                worst.distance = distance;
                worst.at = p;
            }
        }
    }
    return worst;
}

bool FindCrossing(const Outline& a, const Outline& b, double tol, Point2D& at) {
    if (a.empty() || b.empty()) {
        return false;
    }
    const SegBoxIndex index = IndexOf(a);
    for (const IGeom2DPtr& g : b) {
        bool found = false;
        index.Query(BoxOf(g->GetRect(), tol), [&](int k) {
            const Point2DList hits = Crossings(*a[static_cast<std::size_t>(k)], *g, tol);
            if (hits.empty()) {
                return true;
            }
            at = hits[0];
            found = true;
            return false;
        });
        if (found) {
            return true;
        }
    }
    return false;
}

Rect2D OutlineBox(const Outline& outline) {
    if (outline.empty()) {
        return Rect2D();
    }
    Rect2D box = outline.front()->GetRect();
    for (const IGeom2DPtr& g : outline) box.Union(g->GetRect());
    return box;
}

}  // namespace detail
}  // namespace Norvane
