#include "geomFeature/host/geomkit/Polygon2D.h"

#include <algorithm>

#include "geomFeature/host/geomkit/GeomTolerance.h"
#include "geomFeature/host/geomkit/detail/PolygonAlgo.h"

namespace Norvane {

double Polygon2D::GetArea() const {
    return detail::RingSignedArea(pts);
}

double Polygon2D::GetPerimeter() const {
    if (pts.size() < 2) {
        return 0;
    }
    double length = 0;
    for (std::size_t i = 0; i < pts.size(); ++i) {
        length += pts[i].DistanceTo(pts[(i + 1) % pts.size()]);
    }
    return length;
}

Rect2D Polygon2D::GetRect() const {
    if (pts.empty()) {
        return Rect2D();
    }
    Rect2D box(pts.front().x, pts.front().x, pts.front().y, pts.front().y);
    for (const Point2D& p : pts) {
        box.Union(p);
    }
    return box;
}

int Polygon2D::IsPointInside(const Point2D& p) const {
    return detail::RingCoversPoint(pts, p);
}

int Polygon2D::IncludePolygon(const Polygon2D& other) const {
    const double slack = std::max(kGeomEqualTol, m_approxTol + other.m_approxTol);
    return detail::RingCoversRing(pts, other.pts, slack);
}

int Polygon2D::GetSelfCrossNum() const {
    return detail::RingSelfCrossCount(pts);
}

void Polygon2D::Reverse() {
    if (pts.size() > 2) {
        std::reverse(pts.begin() + 1, pts.end());
    }
}

}  // namespace Norvane
