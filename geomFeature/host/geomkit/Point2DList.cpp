#include "geomFeature/host/geomkit/Point2DList.h"

namespace Norvane {

Point2D Point2DList::GetPtClosestTo(const Point2D& p) const {
    if (m_pts.empty()) {
        return Point2D();
    }
    std::size_t best = 0;
    double bestDist = m_pts[0].DistanceTo(p);
    for (std::size_t i = 1; i < m_pts.size(); ++i) {
        const double d = m_pts[i].DistanceTo(p);
        if (d < bestDist) {  // strict: the first of equally near points wins
            bestDist = d;
            best = i;
        }
    }
    return m_pts[best];
}

int Point2DList::IsExist(const Point2D& p, double tol) const {
    return GetPtIndex(p, tol) >= 0 ? 1 : 0;
}

int Point2DList::GetPtIndex(const Point2D& p, double tol) const {
    for (std::size_t i = 0; i < m_pts.size(); ++i) {
        if (m_pts[i].IsEqual(p, tol)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

int Point2DList::GetLeftPtIndex() const {
    if (m_pts.empty()) {
        return -1;
    }
    std::size_t best = 0;
    for (std::size_t i = 1; i < m_pts.size(); ++i) {
        const Point2D& p = m_pts[i];
        const Point2D& b = m_pts[best];
        // Deliberate exact comparisons: a strict total order, the first of exact ties stays.
        if (p.x < b.x || (p.x == b.x && p.y < b.y)) {
            best = i;
        }
    }
    return static_cast<int>(best);
}

void Point2DList::AddUnique(const Point2D& p, double tol) {
    if (!IsExist(p, tol)) {
        m_pts.push_back(p);
    }
}

}  // namespace Norvane
