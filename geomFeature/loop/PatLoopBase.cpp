#include "geomFeature/loop/PatLoopBase.h"

#include <boost/make_shared.hpp>
#include <boost/pointer_cast.hpp>

#include "geomFeature/host/geomkit/Arc2D.h"
#include "geomFeature/host/geomkit/Geom2DList.h"
#include "geomFeature/host/geomkit/Line2D.h"
#include "geomFeature/pattern/PatternCache.h"
#include "geomFeature/pattern/PatternList.h"

namespace Norvane {

namespace {

// A ray in practice: the longest segment the crossing tests are asked to handle.
constexpr double kRayLength = 4294967295.0;
// Crossings of the ray with the loop's elements are found within this distance.
constexpr double kRayCrossTol = 0.0001;

}  // namespace

PatLoopBase::PatLoopBase()
    : m_nodes(boost::make_shared<PatLoopNodeList>()),
      m_boundary(0),
      m_cache(boost::make_shared<PatLoopCache>()) {}

PatternListPtr PatLoopBase::GetPatternList() {
    auto list = boost::make_shared<PatternList>();
    list->reserve(m_nodes->size());
    for (const PatLoopNodePtr& node : *m_nodes) list->push_back(node->GetPat());
    return list;
}

IPatternPtr PatLoopBase::GetPatByNodeIdx(int index) { return (*m_nodes)[index]->GetPat(); }

IPatternPtr PatLoopBase::GetPatByNodeIdx(int index, int& follow) {
    const PatLoopNodePtr& node = (*m_nodes)[index];
    follow = node->FollowLoopDir();
    return node->GetPat();
}

IPatternPtr PatLoopBase::GetPatByPatID(DataID id) {
    int follow = 0;
    return GetPatByPatID(id, follow);
}

IPatternPtr PatLoopBase::GetPatByPatID(DataID id, int& follow) {
    for (const PatLoopNodePtr& node : *m_nodes) {
        const IPatternPtr& pattern = node->GetPat();
        if (pattern && pattern->GetID() == id) {
            follow = node->FollowLoopDir();
            return pattern;
        }
    }
    return IPatternPtr();
}

int PatLoopBase::GetNodeIdxByPatID(DataID id) const {
    for (std::size_t i = 0; i < m_nodes->size(); ++i) {
        const IPatternPtr& pattern = (*m_nodes)[i]->GetPat();
        if (pattern && pattern->GetID() == id) return static_cast<int>(i);
    }
    return -1;
}

void PatLoopBase::GetClosestCrossPt(const Point2D& point, double angle, Point2D& crossPt,
                                    int& nodeIndex) const {
    Line2D ray(point, Vector2D(1.0, 0.0));
    ray.SetBaseAngle(angle);
    ray.SetLength(kRayLength);

    crossPt = Point2D(0.0, 0.0);
    double best = -1.0;  // below zero: no crossing yet
    for (std::size_t i = 0; i < m_nodes->size(); ++i) {
        const IPatternPtr& pattern = (*m_nodes)[i]->GetPat();
        if (!pattern) continue;
        const PatternCachePtr cache = pattern->GetCacheData();
        if (!cache || !cache->GetBaseGeom()) continue;
        for (const IGeom2DPtr& geom : *cache->GetBaseGeom()) {
            Point2DList crossings;
            if (auto line = boost::dynamic_pointer_cast<Line2D>(geom)) {
                crossings = line->GetLineCrossPoint(ray, kRayCrossTol);
            } else if (auto arc = boost::dynamic_pointer_cast<Arc2D>(geom)) {
                crossings = arc->GetLineCrossPoint(ray, kRayCrossTol);
            }
            for (const Point2D& c : crossings) {
                const double d = c.DistanceTo(point);
                // Strictly nearer only: of equally near crossings the earlier one stays.
                if (best < 0.0 || d < best) {
                    best = d;
                    crossPt = c;
                    nodeIndex = static_cast<int>(i);
                }
            }
        }
    }
}

void PatLoopBase::GetClosestPt(const Point2D& point, Point2D& closestPt, int& nodeIndex,
                               Matrix2D transform) const {
    closestPt = Point2D(0.0, 0.0);
    nodeIndex = 0;
    double best = 0.0;
    for (std::size_t i = 0; i < m_nodes->size(); ++i) {
        const IPatternPtr& pattern = (*m_nodes)[i]->GetPat();
        const Point2D candidate = pattern->GetClosestPt(point, transform);
        const double d = candidate.DistanceTo(point);
        // The first node is always taken; later ones only when strictly nearer (ties keep the earlier).
        if (i == 0 || d < best) {
            best = d;
            closestPt = candidate;
            nodeIndex = static_cast<int>(i);
        }
    }
}

int PatLoopBase::FromPatList(const PatternListPtr& list) const {
    std::size_t matched = 0;
    for (const PatLoopNodePtr& node : *m_nodes) {
        const IPatternPtr& pattern = node->GetPat();
        if (pattern && list && list->GetPatFromID(pattern->GetID())) ++matched;
    }
    return matched == m_nodes->size() ? 1 : 0;
}

int PatLoopBase::IsModified() const {
    if (DataBase::IsModified()) return 1;
    return m_nodes && m_nodes->IsModified() ? 1 : 0;
}

}  // namespace Norvane
