#include "geomFeature/loop/PolyPatLoop.h"

#include <algorithm>
#include <cmath>

#include <boost/make_shared.hpp>
#include <boost/pointer_cast.hpp>

#include "geomFeature/host/geomkit/Geom2DList.h"
#include "geomFeature/loop/LoopTolerance.h"
#include "geomFeature/pattern/PatternCache.h"

namespace Norvane {

namespace {

// Manhattan distance |dx| + |dy|: the measure the chain uses to decide that two ends touch.
double Manhattan(const Point2D& a, const Point2D& b) {
    return std::fabs(a.x - b.x) + std::fabs(a.y - b.y);
}

// Where a node enters and leaves its pattern: at the start when the loop follows the pattern's own
// direction, at the end otherwise.
Point2D EntryPoint(const PatLoopNode& node) {
    return node.FollowLoopDir() != 0 ? node.GetPat()->GetStartPoint() : node.GetPat()->GetEndPoint();
}
Point2D ExitPoint(const PatLoopNode& node) {
    return node.FollowLoopDir() != 0 ? node.GetPat()->GetEndPoint() : node.GetPat()->GetStartPoint();
}

// The four ways a pattern can join the chain, in the order they are tried.
enum class JoinAt { Front, Back, None };

struct Join {
    JoinAt where = JoinAt::None;
    int follow = 0;
};

// Decides where pattern joins a chain running from loopStart to loopEnd. Both ends are read once, before
// anything changes. Strict: ends exactly tolerance apart do not join.
Join FindJoin(const Point2D& loopStart, const Point2D& loopEnd, const IPatternPtr& pattern,
              double tolerance) {
    const Point2D ps = pattern->GetStartPoint();
    const Point2D pe = pattern->GetEndPoint();
    // In front: the pattern must LEAVE at the loop start, so it runs end->start when its start touches.
    if (Manhattan(ps, loopStart) < tolerance) {
        return {JoinAt::Front, 0};
    }
    if (Manhattan(pe, loopStart) < tolerance) {
        return {JoinAt::Front, 1};
    }
    // Behind: the pattern must ENTER at the loop end.
    if (Manhattan(ps, loopEnd) < tolerance) {
        return {JoinAt::Back, 1};
    }
    if (Manhattan(pe, loopEnd) < tolerance) {
        return {JoinAt::Back, 0};
    }
    return {};
}

}  // namespace

PolyPatLoop::PolyPatLoop() = default;

IDataPtr PolyPatLoop::Clone() const {
    auto loop = boost::make_shared<PolyPatLoop>();
    loop->SetLoopNodes(boost::dynamic_pointer_cast<PatLoopNodeList>(m_nodes->Clone()));
    return loop;
}

// --- Building the chain -------------------------------------------------------------------------------

int PolyPatLoop::AppendPattern(const IPatternPtr& pattern, int follow) {
    m_nodes->push_back(boost::make_shared<PatLoopNode>(pattern, follow));
    return 1;
}

int PolyPatLoop::InsertPattern(const IPatternPtr& pattern, int follow) {
    m_nodes->insert(m_nodes->begin(), boost::make_shared<PatLoopNode>(pattern, follow));
    return 1;
}

int PolyPatLoop::AddPattern(const IPatternPtr& pattern, double tolerance) {
    if (m_nodes->empty() || !pattern) {
        return 0;
    }
    const Join join = FindJoin(GetStartPt(), GetEndPt(), pattern, tolerance);
    switch (join.where) {
        case JoinAt::Front:
            return InsertPattern(pattern, join.follow);
        case JoinAt::Back:
            return AppendPattern(pattern, join.follow);
        case JoinAt::None:
            break;
    }
    return 0;
}

int PolyPatLoop::CanLinkWithPat(const IPatternPtr& pattern, double tolerance) const {
    if (m_nodes->empty() || !pattern) {
        return 0;
    }
    return FindJoin(GetStartPt(), GetEndPt(), pattern, tolerance).where != JoinAt::None ? 1 : 0;
}

void PolyPatLoop::RemovePattern(const IPatternPtr& pattern) {
    m_nodes->RemovePattern(pattern);
}

// --- Queries ------------------------------------------------------------------------------------------

Point2D PolyPatLoop::GetStartPt() const {
    return m_nodes->empty() ? Point2D(0.0, 0.0) : EntryPoint(*m_nodes->front());
}

Point2D PolyPatLoop::GetEndPt() const {
    return m_nodes->empty() ? Point2D(0.0, 0.0) : ExitPoint(*m_nodes->back());
}

int PolyPatLoop::IsOpenPath(double tolerance) const {
    // Strict, with a little slack: ends exactly `tolerance` apart still close the loop.
    return GetStartPt().DistanceTo(GetEndPt()) > tolerance + kLoopOpenSlack ? 1 : 0;
}

int PolyPatLoop::PatAtOpenLoopEnd(const IPatternPtr& pattern) const {
    if (m_nodes->empty() || !pattern) {
        return 0;
    }
    const DataID id = pattern->GetID();
    return (m_nodes->front()->GetPat()->GetID() == id || m_nodes->back()->GetPat()->GetID() == id) ? 1 : 0;
}

IPatternPtr PolyPatLoop::GetNextPat(const IPatternPtr& pattern) {
    const int index = pattern ? GetNodeIdxByPatID(pattern->GetID()) : -1;
    if (index < 0) {
        return IPatternPtr();
    }
    const std::size_t next = static_cast<std::size_t>(index) + 1;
    if (next < m_nodes->size()) {
        return (*m_nodes)[next]->GetPat();
    }
    return IsOpenPath(kLoopClosedTol) != 0 ? IPatternPtr() : m_nodes->front()->GetPat();
}

Point2DListPtr PolyPatLoop::GetCtrlPtList(int /*flag*/) const {
    auto points = boost::make_shared<Point2DList>();
    points->reserve(m_nodes->size());
    for (const PatLoopNodePtr& node : *m_nodes) points->push_back(EntryPoint(*node));
    return points;
}

int PolyPatLoop::GetTwoPatAtConPt(int index, DataID& firstId, DataID& secondId) const {
    const int count = static_cast<int>(m_nodes->size());
    if (index < 0 || index >= count) {
        return 0;
    }
    int first = 0;
    int second = 0;
    if (IsOpenPath(kLoopClosedTol) == 0) {
        // Closed: control point index is node index's entry, where node index-1 arrives.
        first = index == 0 ? count - 1 : index - 1;
        second = index;
    } else {
        // Open: connection point index is the joint after node index; the last node has none.
        if (index + 1 >= count) {
            return 0;
        }
        first = index;
        second = index + 1;
    }
    firstId = (*m_nodes)[first]->GetPat()->GetID();
    secondId = (*m_nodes)[second]->GetPat()->GetID();
    return 1;
}

Geom2DListPtr PolyPatLoop::GetTwoGeomAtConPt(Point2D point) {
    auto geoms = boost::make_shared<Geom2DList>();
    const int index = GetCtrlPtList(0)->GetPtIndex(point);
    DataID firstId = 0;
    DataID secondId = 0;
    if (index < 0 || GetTwoPatAtConPt(index, firstId, secondId) == 0) {
        return geoms;
    }
    for (const DataID id : {firstId, secondId}) {
        const IPatternPtr pattern = GetPatByPatID(id);
        const PatternCachePtr cache = pattern ? pattern->GetCacheData() : PatternCachePtr();
        if (cache && cache->GetBaseGeom()) {
            geoms->Append(*cache->GetBaseGeom());
        }
    }
    return geoms;
}

Point2D PolyPatLoop::GetPatCrossPt(DataID firstId, DataID secondId) {
    Point2D cross(0.0, 0.0);
    const IPatternPtr first = GetPatByPatID(firstId);
    const IPatternPtr second = GetPatByPatID(secondId);
    if (!first || !second) {
        return cross;
    }
    const Point2D fs = first->GetStartPoint();
    const Point2D fe = first->GetEndPoint();
    const Point2D ss = second->GetStartPoint();
    const Point2D se = second->GetEndPoint();
    if (Manhattan(fs, se) < kPatTouchTol || Manhattan(fs, ss) < kPatTouchTol) {
        cross = fs;
    }
    // Checked second on purpose: when both ends of the first pattern touch, its end point wins.
    if (Manhattan(fe, ss) < kPatTouchTol || Manhattan(fe, se) < kPatTouchTol) {
        cross = fe;
    }
    return cross;
}

void PolyPatLoop::ReverseDirection() {
    std::reverse(m_nodes->begin(), m_nodes->end());
    for (const PatLoopNodePtr& node : *m_nodes) node->FollowLoopDir(node->FollowLoopDir() != 0 ? 0 : 1);
}

}  // namespace Norvane
