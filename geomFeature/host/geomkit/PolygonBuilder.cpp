#include "geomFeature/host/geomkit/PolygonBuilder.h"

#include <vector>

#include <boost/make_shared.hpp>

#include "geomFeature/host/geomkit/Geom2DList.h"
#include "geomFeature/host/geomkit/Polygon2D.h"
#include "geomFeature/host/geomkit/detail/LineArcChain.h"
#include "geomFeature/host/geomkit/detail/PolygonAlgo.h"

namespace Norvane {

namespace {

// The tolerance the chords are actually built with (see detail::ArcChordCount).
double EffectiveTol(double tol) {
    return tol > 0 ? tol : detail::kDefaultChordTol;
}

}  // namespace

boost::shared_ptr<Polygon2D> PolygonBuilder::BuildPolyFromLineArc(const boost::shared_ptr<Geom2DList>& geoms,
                                                                  double tol, int flag) {
    if (!geoms || geoms->empty()) {
        return {};
    }
    const detail::Chain chain = detail::MakeChain(*geoms);
    if (chain.steps.empty()) {
        return {};  // only empty element pointers
    }
    auto poly = boost::make_shared<Polygon2D>(detail::ApproximateChain(chain, tol), EffectiveTol(tol));
    if (flag != 0 && poly->GetArea() < 0) {
        poly->Reverse();
    }
    return poly;
}

boost::shared_ptr<Polygon2D> PolygonBuilder::BuildHullFromLineArc(const boost::shared_ptr<Geom2DList>& geoms,
                                                                  double tol) {
    if (!geoms || geoms->empty()) {
        return {};
    }
    // Each element is approximated on its own: the hull ignores how the elements are chained.
    std::vector<Point2D> cloud;
    for (const IGeom2DPtr& g : *geoms) {
        if (!g) {
            continue;
        }
        Geom2DList single;
        single.push_back(g);
        const std::vector<Point2D> pts = detail::ApproximateChain(detail::MakeChain(single), tol);
        cloud.insert(cloud.end(), pts.begin(), pts.end());
    }
    if (cloud.empty()) {
        return {};
    }
    return boost::make_shared<Polygon2D>(detail::ConvexHull(cloud), EffectiveTol(tol));
}

Poly2DList PolygonBuilder::BuildPolyListFromLineArc(const boost::shared_ptr<Geom2DList>& geoms, double tol) {
    Poly2DList polys;
    if (!geoms) {
        return polys;
    }
    for (const detail::Chain& chain : detail::SplitIntoChains(*geoms)) {
        polys.push_back(
            boost::make_shared<Polygon2D>(detail::ApproximateChain(chain, tol), EffectiveTol(tol)));
    }
    return polys;
}

}  // namespace Norvane
