#pragma once

#include <boost/shared_ptr.hpp>

#include "geomFeature/GeomFeatureExport.h"
#include "geomFeature/host/appframe/IData.h"
#include "geomFeature/host/geomkit/Direction.h"
#include "geomFeature/host/geomkit/Matrix2D.h"
#include "geomFeature/host/geomkit/Point2D.h"
#include "geomFeature/host/geomkit/Vector2D.h"
#include "geomFeature/loop/LoopType.h"
#include "geomFeature/loop/PatLoopCache.h"
#include "geomFeature/loop/PatLoopNodeList.h"
#include "geomFeature/pattern/IPattern.h"
#include "geomFeature/pattern/PatPosition.h"

namespace Norvane {

class PatternList;
using PatternListPtr = boost::shared_ptr<PatternList>;

// One contour of a part: an ordered chain of patterns, closed or open. The patterns live in the part's
// pattern list; a loop's nodes hold further references to the same objects.
//
// The order of the virtual operations is fixed.
class GF_API IPatLoop : public virtual IData {
public:
    ~IPatLoop() override = default;

    // A new pattern list holding the node patterns in node order (the same objects).
    virtual PatternListPtr GetPatternList() = 0;                                       // 0
    // The pattern of node `index` (a valid index).
    virtual IPatternPtr GetPatByNodeIdx(int index) = 0;                                // 1
    virtual IPatternPtr GetPatByNodeIdx(int index, int& follow) = 0;                   // 2
    // The pattern of the first node holding that identifier, or empty (follow left alone).
    virtual IPatternPtr GetPatByPatID(DataID id) = 0;                                  // 3
    virtual IPatternPtr GetPatByPatID(DataID id, int& follow) = 0;                     // 4
    // Index of the first node holding that pattern identifier, or -1.
    virtual int GetNodeIdxByPatID(DataID id) const = 0;                                // 5
    // The node list itself (shared).
    virtual PatLoopNodeListPtr GetLoopNodes() = 0;                                     // 6
    virtual tagDirection GetDirection() = 0;                                           // 7
    virtual void ReverseDirection() = 0;                                               // 8
    // Unit direction of travel of the loop at a position on one of its patterns.
    virtual Vector2D GetDirectionOnPt(DataID patternId, const PatPosition& pos) = 0;   // 9
    // Nearest crossing of the ray from point at angle with the loop's cached geometry.
    virtual void GetClosestCrossPt(const Point2D& point, double angle, Point2D& crossPt,
                                   int& nodeIndex) const = 0;                          // 10
    // Nearest point of the loop's patterns to point under the transform.
    virtual void GetClosestPt(const Point2D& point, Point2D& closestPt, int& nodeIndex,
                              Matrix2D transform) const = 0;                           // 11
    virtual tagLoopType GetLoopType() const = 0;                                       // 12
    virtual void IsBoundaryLoop(int flag) = 0;                                         // 13
    virtual int IsBoundaryLoop() const = 0;                                            // 14
    // 1 when the loop does not close within tolerance.
    virtual int IsOpenPath(double tolerance) const = 0;                                // 15
    // 1 when every node's pattern identifier occurs in list.
    virtual int FromPatList(const PatternListPtr& list) const = 0;                     // 16
    virtual void SetCacheData(const PatLoopCachePtr& cache) = 0;                       // 17
    virtual PatLoopCachePtr GetCacheData() = 0;                                        // 18
};

using IPatLoopPtr = boost::shared_ptr<IPatLoop>;

}  // namespace Norvane
