// Corner and percent-point queries: corners of a loop, its inside angle there, the pattern beyond a corner,
// and the points where a loop is met from compass directions.
#include <array>
#include <cmath>

#include <boost/make_shared.hpp>
#include <boost/pointer_cast.hpp>

#include "geomFeature/host/geomkit/Point2DList.h"
#include "geomFeature/host/mathkit/IntegerList.h"
#include "geomFeature/host/mathkit/MathEx.h"
#include "geomFeature/loop/ArrayPatLoop.h"
#include "geomFeature/loop/LoopTolerance.h"
#include "geomFeature/loop/PatLoopList.h"
#include "geomFeature/loop/PolyPatLoop.h"
#include "geomFeature/loop/StdPatLoop.h"
#include "geomFeature/pattern/IArrayPattern.h"
#include "geomFeature/pattern/PatternCache.h"
#include "geomFeature/processor/LoopBuilder.h"
#include "geomFeature/processor/LoopProcessor.h"
#include "geomFeature/processor/ProcessorTolerance.h"

namespace Norvane {

namespace {

// The loop's nodes seen through a const pointer (IPatLoop's getter is not const; reading changes nothing).
PatLoopNodeListPtr NodesOf(const IPatLoop* loop) {
    return loop ? const_cast<IPatLoop*>(loop)->GetLoopNodes() : PatLoopNodeListPtr();
}

// The box a compass ray is aimed at: an array loop's seed, any other loop's own cached box.
Rect2D AimBox(const IPatLoopPtr& loop) {
    if (loop->GetLoopType() == LOOP_ARRAY) {
        const auto array = boost::dynamic_pointer_cast<IArrayPattern>(loop->GetPatByNodeIdx(0));
        const IPatternPtr seed = array ? array->GetControlPat() : IPatternPtr();
        const PatternCachePtr cache = seed ? seed->GetCacheData() : PatternCachePtr();
        return cache ? cache->GetRect() : Rect2D();
    }
    const PatLoopCachePtr cache = loop->GetCacheData();
    return cache ? cache->GetLoopRect() : Rect2D();
}

// The loop point a ray from origin at rayAngle meets first; the point nearest to origin when it meets none.
// An array loop is searched on its polygon form and answers node 0.
void FirstMet(const IPatLoopPtr& loop, const Point2D& origin, double rayAngle, Point2D& point,
              int& nodeIndex) {
    IPatLoopPtr target = loop;
    if (loop->GetLoopType() == LOOP_ARRAY) {
        target = LoopBuilder::BuildPolyLoopByArrayLoop(boost::dynamic_pointer_cast<ArrayPatLoop>(loop));
        if (!target) {
            return;
        }
    }
    nodeIndex = -1;
    target->GetClosestCrossPt(origin, rayAngle, point, nodeIndex);
    if (nodeIndex == -1) {
        target->GetClosestPt(origin, point, nodeIndex, Matrix2D());
    }
    if (loop->GetLoopType() == LOOP_ARRAY) {
        nodeIndex = 0;
    }
}

// Origin and ray of the compass direction `angle` on the square X +- h, Y +- h around box's centre. The
// eight directions are compared exactly; any other leaves the origin at (0, 0) and the ray along +x.
void CompassRay(const Rect2D& box, double angle, Point2D& origin, double& rayAngle) {
    const Point2D c = box.GetCenterPt();
    const double h = (box.Width() + box.Height()) / 2.0;
    struct Row {
        double angle;
        double dx;
        double dy;
        double ray;
    };
    constexpr double pi = MathEx::PI;
    static constexpr std::array<Row, 8> table = {{
        {0.0, 1, 0, pi},
        {0.7853981633974483, 1, 1, 5 * pi / 4},
        {1.5707963267948966, 0, 1, 3 * pi / 2},
        {2.356194490192345, -1, 1, 7 * pi / 4},
        {3.141592653589793, -1, 0, 0.0},
        {3.9269908169872414, -1, -1, pi / 4},
        {4.71238898038469, 0, -1, pi / 2},
        {5.497787143782138, 1, -1, 3 * pi / 4},
    }};
    origin = Point2D(0.0, 0.0);
    rayAngle = 0.0;
    for (const Row& row : table) {
        if (angle == row.angle) {  // exact on purpose: the eight directions are named values
            origin = Point2D(c.x + row.dx * h, c.y + row.dy * h);
            rayAngle = row.ray;
            return;
        }
    }
}

}  // namespace

int LoopProcessor::PtAtLoopCorner(const IPatLoopPtr& loop, Point2D& point) {
    const PolyPatLoopPtr poly = loop ? LoopBuilder::BuildPolyLoopByPatLoop(loop) : PolyPatLoopPtr();
    if (!poly || poly->GetLoopNodes()->size() == 1) {
        return 0;
    }
    const Point2DListPtr corners = poly->GetCtrlPtList(0);
    const int index = corners->GetPtIndex(point);
    if (index < 0) {
        return 0;
    }
    point = (*corners)[static_cast<std::size_t>(index)];
    return 1;
}

double LoopProcessor::GetAngAtLoopCorner(const IPatLoopPtr& loop, Point2D point) {
    const PolyPatLoopPtr poly = loop ? LoopBuilder::BuildPolyLoopByPatLoop(loop) : PolyPatLoopPtr();
    if (!poly) {
        return -1.0;
    }
    const int index = poly->GetCtrlPtList(0)->GetPtIndex(point);
    return index < 0 ? -1.0 : poly->GetTwoPatInsideAng(index);
}

void LoopProcessor::GetNextCornerGeomPos(const IPatLoopPtr& loop, Point2D point, DataID patID,
                                         PatPosition position, DataID& outPatID, PatPosition& outPosition) {
    if (!loop || loop->GetLoopNodes()->empty()) {
        return;
    }
    if (loop->GetLoopType() == LOOP_POLY) {
        const auto poly = boost::dynamic_pointer_cast<PolyPatLoop>(loop);
        const int index = poly ? poly->GetCtrlPtList(0)->GetPtIndex(point) : -1;
        DataID firstID = 0;
        DataID secondID = 0;
        if (index < 0 || poly->GetTwoPatAtConPt(index, firstID, secondID) == 0) {
            return;
        }
        DataID other = 0;
        if (firstID == patID) {
            other = secondID;
        } else if (secondID == patID) {
            other = firstID;
        } else {
            return;
        }
        const IPatternPtr pattern = loop->GetPatByPatID(other);
        if (!pattern) {
            return;
        }
        PatPosition unused(-1, 0.0);
        outPatID = other;
        outPosition = pattern->GetPatPosByPoint(point, unused);
        return;
    }
    // One closed pattern: the corner is where its outline starts and ends, reached at both ends.
    const IPatternPtr pattern = loop->GetPatByNodeIdx(0);
    if (!pattern) {
        return;
    }
    PatPosition second;
    const PatPosition found = pattern->GetPatPosByPoint(point, second);
    outPatID = patID;
    const bool same = found.GetIndex() == position.GetIndex() &&
                      found.GetPercent() == position.GetPercent();  // exact on purpose
    outPosition = same ? second : found;
}

void LoopProcessor::GetFst8PercentPt(const IPatLoopPtr& loop, double angle, Point2D& point, int& nodeIndex) {
    if (!loop || loop->GetLoopNodes()->empty()) {
        return;
    }
    Point2D origin;
    double rayAngle = 0.0;
    CompassRay(AimBox(loop), angle, origin, rayAngle);
    FirstMet(loop, origin, rayAngle, point, nodeIndex);
}

void LoopProcessor::Get16PercentPt(const IPatLoopPtr& loop, const Point2DListPtr& points,
                                   const IntegerListPtr& nodes, const Point2DListPtr& corners,
                                   const IntegerListPtr& cornerNodes, double snapDistance) {
    if (!loop || loop->GetLoopNodes()->empty() || !points || !nodes || !corners || !cornerNodes) {
        return;
    }
    const PolyPatLoopPtr poly = LoopBuilder::BuildPolyLoopByPatLoop(loop);
    const Point2DListPtr control = poly ? poly->GetCtrlPtList(0) : Point2DListPtr();
    const Rect2D box = AimBox(loop);
    // The odd directions shoot from the circle through the corners of GetFst8PercentPt's square.
    const double reach = (box.Width() + box.Height()) / 2.0 * std::sqrt(2.0);
    const Point2D centre = box.GetCenterPt();
    constexpr std::array<double, 8> eight = {0.0,
                                             0.7853981633974483,
                                             1.5707963267948966,
                                             2.356194490192345,
                                             3.141592653589793,
                                             3.9269908169872414,
                                             4.71238898038469,
                                             5.497787143782138};
    for (int k = 0; k < 16; ++k) {
        Point2D found;
        int node = -1;
        if (k % 2 == 0) {
            GetFst8PercentPt(loop, eight[static_cast<std::size_t>(k / 2)], found, node);
        } else {
            const double angle = k * MathEx::PI / 8.0;
            const Point2D origin(centre.x + reach * std::cos(angle), centre.y + reach * std::sin(angle));
            FirstMet(loop, origin, angle + MathEx::PI, found, node);
        }
        if (node < 0) {
            continue;
        }
        if (points->IsExist(found, kPtIndexTol) == 0) {
            points->push_back(found);
            nodes->AddInt(node);
        }
        if (!control || control->size() < 2) {
            continue;
        }
        // The nearest corner within snapDistance, if it is a real corner.
        Point2D corner = control->GetPtClosestTo(found);
        if (corner.DistanceTo(found) > snapDistance || PtAtLoopCorner(loop, corner) == 0) {
            continue;
        }
        const double inside = GetAngAtLoopCorner(loop, corner);
        if (inside < 0.0 || std::fabs(inside - MathEx::PI) <= kSmoothJointAngleTol) {
            continue;
        }
        if (corners->IsExist(corner, kPtIndexTol) == 0) {
            corners->push_back(corner);
            // A loop of one standard shape or array has one node: its corners all lie on node 0.
            cornerNodes->AddInt(loop->GetLoopType() == LOOP_POLY ? control->GetPtIndex(corner) : 0);
        }
    }
}

PatLoopListPtr LoopProcessor::FindCloseInOpenLoop(const PatLoopListPtr& loops, double tolerance) {
    auto found = boost::make_shared<PatLoopList>();
    if (!loops) {
        return found;
    }
    for (const IPatLoopPtr& loop : *loops) {
        const auto poly = boost::dynamic_pointer_cast<PolyPatLoop>(loop);
        if (!poly || poly->GetLoopNodes()->empty() || poly->IsOpenPath(kLoopClosedTol) == 0) {
            continue;
        }
        if (poly->GetStartPt().DistanceTo(poly->GetEndPt()) <= tolerance) {  // inclusive
            found->push_back(loop);
        }
    }
    return found;
}

std::wstring LoopProcessor::GetLayerName_of_loop(const IPatLoop* loop) {
    const PatLoopNodeListPtr nodes = NodesOf(loop);
    if (!nodes || nodes->empty() || !nodes->front()->GetPat()) {
        return std::wstring();
    }
    return nodes->front()->GetPat()->GetLayerName();
}

int LoopProcessor::GetColorIndex_of_loop(const IPatLoop* loop) {
    const PatLoopNodeListPtr nodes = NodesOf(loop);
    if (!nodes || nodes->empty() || !nodes->front()->GetPat()) {
        return -1;
    }
    return nodes->front()->GetPat()->GetColorIndex();
}

}  // namespace Norvane
