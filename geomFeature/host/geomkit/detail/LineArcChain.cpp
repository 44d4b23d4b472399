#include "geomFeature/host/geomkit/detail/LineArcChain.h"

#include <algorithm>
#include <cmath>

#include "geomFeature/host/geomkit/Arc2D.h"
#include "geomFeature/host/geomkit/Geom2DList.h"
#include "geomFeature/host/geomkit/GeomTolerance.h"
#include "geomFeature/host/geomkit/IGeom2D.h"

namespace Norvane {
namespace detail {

namespace {

const Arc2D* AsArc(const IGeom2D* g) {
    return g->GetGeomType() == GeomType::Arc ? dynamic_cast<const Arc2D*>(g) : nullptr;
}

ChainStep MakeStep(const IGeom2D* g, bool reversed) {
    ChainStep step;
    step.geom = g;
    step.reversed = reversed;
    step.start = reversed ? g->GetEndPoint() : g->GetStartPoint();
    step.end = reversed ? g->GetStartPoint() : g->GetEndPoint();
    return step;
}

double NearestEndDistance(const Point2D& p, const IGeom2D& g) {
    return std::min(p.DistanceTo(g.GetStartPoint()), p.DistanceTo(g.GetEndPoint()));
}

// The first element of a chain faces the element after it: it is run backwards when its start point is
// strictly nearer to that element than its end point is. Without a successor it keeps its own sense.
bool FirstRunsBackwards(const IGeom2D& first, const IGeom2D* next) {
    if (next == nullptr) {
        return false;
    }
    // strict: a tie (both ends equally near, e.g. two half circles) keeps the element's sense
    return NearestEndDistance(first.GetStartPoint(), *next) < NearestEndDistance(first.GetEndPoint(), *next);
}

// A later element continues from the chain's current end `tail`.
bool RunsBackwards(const IGeom2D& g, const Point2D& tail) {
    return g.GetEndPoint().DistanceTo(tail) <
           g.GetStartPoint().DistanceTo(tail);  // strict, ties keep the sense
}

// A single element that returns to its own start (a full circle) closes a chain alone.
bool ClosesAlone(const IGeom2D& g) {
    return g.GetLength() > kChainJoinTol && g.GetStartPoint().DistanceTo(g.GetEndPoint()) <= kChainJoinTol;
}

std::vector<const IGeom2D*> PresentElements(const Geom2DList& geoms) {
    std::vector<const IGeom2D*> elems;
    elems.reserve(geoms.size());
    for (const IGeom2DPtr& g : geoms) {
        if (g) {
            elems.push_back(g.get());
        }
    }
    return elems;
}

// Grows a chain from elems[first] on; stops after the element that closes it when `stopWhenClosed`.
// Returns the index after the last element taken.
std::size_t GrowChain(const std::vector<const IGeom2D*>& elems, std::size_t first, bool stopWhenClosed,
                      Chain& chain) {
    const IGeom2D* head = elems[first];
    const IGeom2D* next = first + 1 < elems.size() ? elems[first + 1] : nullptr;
    const bool alone = ClosesAlone(*head);
    chain.steps.push_back(MakeStep(head, !alone && FirstRunsBackwards(*head, next)));
    const Point2D start = chain.steps.front().start;
    double length = head->GetLength();
    chain.closed = alone;
    std::size_t i = first + 1;
    if (alone && stopWhenClosed) {
        return i;
    }
    for (; i < elems.size(); ++i) {
        const IGeom2D* g = elems[i];
        chain.steps.push_back(MakeStep(g, RunsBackwards(*g, chain.steps.back().end)));
        length += g->GetLength();
        chain.closed = length > kChainJoinTol && chain.steps.back().end.DistanceTo(start) <= kChainJoinTol;
        if (chain.closed && stopWhenClosed) {
            return i + 1;
        }
    }
    return i;
}

double Cross(const Point2D& a, const Point2D& b) {
    return a.x * b.y - a.y * b.x;
}

}  // namespace

int ArcChordCount(double radius, double sweep, double tol) {
    const double t = tol > 0 ? tol : kDefaultChordTol;  // also catches NaN
    const double r = std::fabs(radius);
    const double s = std::fabs(sweep);
    if (!(r > kGeomZeroLength) || !(s > kGeomAngleTol)) {
        return 1;  // a point or an empty sweep: one chord joins the ends
    }
    if (r <= t / 2) {
        return 1;  // no point of the circle is farther than 2r from any chord
    }
    // A chord spanning the angle a leaves the sagitta r (1 − cos(a / 2)); it stays within t for a <= 2 acos(1
    // − t/r).
    const double maxStep = 2 * std::acos(std::max(-1.0, 1 - t / r));
    if (!(maxStep > 0)) {
        return kMaxArcChords;
    }
    const double n = std::ceil(s / maxStep);
    if (!(n < kMaxArcChords)) {
        return kMaxArcChords;
    }
    return std::max(1, static_cast<int>(n));
}

Chain MakeChain(const Geom2DList& geoms) {
    Chain chain;
    const std::vector<const IGeom2D*> elems = PresentElements(geoms);
    if (!elems.empty()) {
        GrowChain(elems, 0, false, chain);
    }
    return chain;
}

std::vector<Chain> SplitIntoChains(const Geom2DList& geoms) {
    std::vector<Chain> chains;
    const std::vector<const IGeom2D*> elems = PresentElements(geoms);
    std::size_t i = 0;
    while (i < elems.size()) {
        Chain chain;
        i = GrowChain(elems, i, true, chain);
        chains.push_back(std::move(chain));
    }
    return chains;
}

std::vector<Point2D> ApproximateChain(const Chain& chain, double tol) {
    std::vector<Point2D> pts;
    if (chain.steps.empty()) {
        return pts;
    }
    auto add = [&pts](const Point2D& p) {
        if (pts.empty() || !pts.back().IsEqual(p, kGeomEqualTol)) {
            pts.push_back(p);
        }
    };
    add(chain.steps.front().start);
    for (const ChainStep& step : chain.steps) {
        if (const Arc2D* arc = AsArc(step.geom)) {
            const double sweep = arc->GetSweepAngle();
            const int n = ArcChordCount(arc->GetRadius(), sweep, tol);
            // Inner points at equal angular steps in the sense the chain runs the arc; the ends come from the
            // element itself so that joints with the neighbours stay exactly shared.
            for (int k = 1; k < n; ++k) {
                const double f = static_cast<double>(k) / n;
                const double a =
                    step.reversed ? arc->GetEndAngle() - sweep * f : arc->GetBaseAngle() + sweep * f;
                add(arc->GetPointAtAngle(a));
            }
        }
        add(step.end);
    }
    if (chain.closed && pts.size() > 1 && pts.back().DistanceTo(pts.front()) <= kChainJoinTol) {
        pts.pop_back();  // the start again
    }
    return pts;
}

double ChainSignedArea(const Chain& chain) {
    if (chain.steps.empty()) {
        return 0;
    }
    // Green's theorem: area = ½ ∮ (x dy − y dx), taken relative to the chain's start to keep the products
    // small. A line contributes ½ (s × e); an arc of centre c, radius r and signed sweep θ (as run)
    // contributes ½ (c × (e − s) + r² θ). A gap between two steps, and the closing gap back to the start, are
    // straight.
    const Point2D origin = chain.steps.front().start;
    auto rel = [&origin](const Point2D& p) { return Point2D(p.x - origin.x, p.y - origin.y); };
    double twice = 0;
    Point2D prevEnd(0, 0);
    for (const ChainStep& step : chain.steps) {
        const Point2D s = rel(step.start);
        const Point2D e = rel(step.end);
        twice += Cross(prevEnd, s);  // bridge from the previous end (zero when they meet exactly)
        if (const Arc2D* arc = AsArc(step.geom)) {
            const Point2D c = rel(arc->GetCenter());
            const double r = arc->GetRadius();
            const double theta = step.reversed ? -arc->GetSweepAngle() : arc->GetSweepAngle();
            twice += c.x * (e.y - s.y) - c.y * (e.x - s.x) + r * r * theta;
        } else {
            twice += Cross(s, e);
        }
        prevEnd = e;
    }
    // The closing bridge back to the origin contributes prevEnd × 0 = 0.
    return twice / 2;
}

}  // namespace detail
}  // namespace Norvane
