#pragma once

#include "geomFeature/host/geomkit/Point2D.h"

namespace Norvane {

// A point on a loop together with the index of the node (in the loop's node list) it lies on.
class LoopPt {
public:
    LoopPt() = default;
    LoopPt(const Point2D& point, int nodeIndex) : m_point(point), m_nodeIndex(nodeIndex) {}

    const Point2D& GetLoopPt() const { return m_point; }
    void SetLoopPt(const Point2D& point) { m_point = point; }
    int GetNodeIndex() const { return m_nodeIndex; }
    void SetNodeIndex(int nodeIndex) { m_nodeIndex = nodeIndex; }

private:
    Point2D m_point{0.0, 0.0};
    int m_nodeIndex = 0;
};

}  // namespace Norvane
