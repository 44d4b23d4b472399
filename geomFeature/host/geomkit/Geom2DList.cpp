#include "geomFeature/host/geomkit/Geom2DList.h"

#include <boost/make_shared.hpp>

#include "geomFeature/host/geomkit/Matrix2D.h"
#include "geomFeature/host/geomkit/detail/GeomCross.h"

namespace Norvane {

void Geom2DList::Append(const Geom2DList& other) {
    m_geoms.insert(m_geoms.end(), other.m_geoms.begin(), other.m_geoms.end());
}

boost::shared_ptr<Geom2DList> Geom2DList::Clone() const {
    auto copy = boost::make_shared<Geom2DList>();
    copy->reserve(m_geoms.size());
    for (const IGeom2DPtr& g : m_geoms) {
        copy->push_back(g ? g->Clone() : IGeom2DPtr());
    }
    return copy;
}

void Geom2DList::Transform(const Matrix2D& m) {
    for (const IGeom2DPtr& g : m_geoms) {
        if (g) {
            g->Transform(m);
        }
    }
}

double Geom2DList::GetTotalLength() const {
    double total = 0.0;
    for (const IGeom2DPtr& g : m_geoms) {
        if (g) {
            total += g->GetLength();
        }
    }
    return total;
}

Rect2D Geom2DList::GetRect() const {
    Rect2D box;
    bool first = true;
    for (const IGeom2DPtr& g : m_geoms) {
        if (!g) {
            continue;
        }
        if (first) {
            box = g->GetRect();
            first = false;
        } else {
            box.Union(g->GetRect());
        }
    }
    return box;
}

Geom2DList Geom2DList::GetLineArcsCloseTo(const Point2D& p, double distance) const {
    Geom2DList close;
    for (const IGeom2DPtr& g : m_geoms) {
        if (g && g->DistanceTo(p) <= distance) {  // non-strict: exactly at the distance is close
            close.push_back(g);
        }
    }
    return close;
}

boost::shared_ptr<Point2D> Geom2DList::GetCrossClosestTo(const Point2D& p) const {
    boost::shared_ptr<Point2D> best;
    double bestDist = 0.0;
    for (std::size_t i = 0; i < m_geoms.size(); ++i) {
        for (std::size_t j = i + 1; j < m_geoms.size(); ++j) {
            if (!m_geoms[i] || !m_geoms[j]) {
                continue;
            }
            const Point2DList crossings = detail::CrossElements(*m_geoms[i], *m_geoms[j], kGeomEqualTol);
            for (const Point2D& c : crossings) {
                const double d = c.DistanceTo(p);
                if (!best || d < bestDist) {  // strict: the first found of equally near crossings wins
                    best = boost::make_shared<Point2D>(c);
                    bestDist = d;
                }
            }
        }
    }
    return best;
}

}  // namespace Norvane
