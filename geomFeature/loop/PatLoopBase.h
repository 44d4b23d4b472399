#pragma once

#include <boost/shared_ptr.hpp>

#include "geomFeature/GeomFeatureExport.h"
#include "geomFeature/host/appframe/DataBase.h"
#include "geomFeature/loop/IPatLoop.h"

namespace Norvane {

// What every loop kind shares: the node list, the boundary flag and the cache. Copying a loop base shares
// the node list and the cache (the copy is a second view of the same chain); only the loop kinds' Clone
// makes a deep copy. Direction, reversal, openness and the loop kind are left to the kinds.
class GF_API PatLoopBase : public DataBase, public IPatLoop {
public:
    PatLoopBase();
    PatLoopBase(const PatLoopBase& other) = default;
    PatLoopBase& operator=(const PatLoopBase& other) = default;
    ~PatLoopBase() override = default;

    PatternListPtr GetPatternList() override;
    IPatternPtr GetPatByNodeIdx(int index) override;
    IPatternPtr GetPatByNodeIdx(int index, int& follow) override;
    IPatternPtr GetPatByPatID(DataID id) override;
    IPatternPtr GetPatByPatID(DataID id, int& follow) override;
    int GetNodeIdxByPatID(DataID id) const override;
    PatLoopNodeListPtr GetLoopNodes() override { return m_nodes; }

    // Nearest crossing of the ray from point at angle with the cached base geometry of the node patterns
    // (crossing tolerance 1e-4). Ties keep the earlier crossing; with no crossing the cross point is (0, 0)
    // and nodeIndex keeps its incoming value.
    void GetClosestCrossPt(const Point2D& point, double angle, Point2D& crossPt,
                           int& nodeIndex) const override;
    // Nearest point of the node patterns to point under transform. Ties keep the earlier node; an empty
    // loop answers (0, 0) and node 0.
    void GetClosestPt(const Point2D& point, Point2D& closestPt, int& nodeIndex,
                      Matrix2D transform) const override;

    void IsBoundaryLoop(int flag) override { m_boundary = flag; }
    int IsBoundaryLoop() const override { return m_boundary; }
    // An empty loop counts as coming from any list.
    int FromPatList(const PatternListPtr& list) const override;
    void SetCacheData(const PatLoopCachePtr& cache) override { m_cache = cache; }
    PatLoopCachePtr GetCacheData() override { return m_cache; }

    // 1 when the loop's own flag is set or its node list reports a change.
    int IsModified() const override;

protected:
    PatLoopNodeListPtr m_nodes;
    int m_boundary;
    PatLoopCachePtr m_cache;
};

using PatLoopBasePtr = boost::shared_ptr<PatLoopBase>;

}  // namespace Norvane
