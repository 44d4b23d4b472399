#pragma once

// Helpers of the loop optimisation: where the loop enters and leaves a node, and the new patterns that
// replace runs of nodes.

#include <algorithm>
#include <vector>

#include <boost/make_shared.hpp>

#include "geomFeature/host/geomkit/Point2D.h"
#include "geomFeature/host/geomkit/Vector2D.h"
#include "geomFeature/loop/PatLoopNode.h"
#include "geomFeature/loop/PatLoopNodeList.h"
#include "geomFeature/pattern/IPattern.h"
#include "geomFeature/pattern/PatternType.h"

namespace Norvane {
namespace detail {

inline bool IsLineNode(const PatLoopNode& node) {
    return node.GetPat() && node.GetPat()->GetPatternType() == PAT_LINE;
}

// The point where the loop enters / leaves the node: the pattern's start / end when the node follows it.
inline Point2D TravelStart(const PatLoopNode& node) {
    return node.FollowLoopDir() ? node.GetPat()->GetStartPoint() : node.GetPat()->GetEndPoint();
}
inline Point2D TravelEnd(const PatLoopNode& node) {
    return node.FollowLoopDir() ? node.GetPat()->GetEndPoint() : node.GetPat()->GetStartPoint();
}
inline Vector2D TravelVector(const PatLoopNode& node) {
    return TravelEnd(node) - TravelStart(node);
}

// A new node, followed from start to end, on `pattern`, which takes the layer and colour of `like` and
// gets its cache filled.
inline PatLoopNodePtr ReplacementNode(const IPatternPtr& pattern, const IPatternPtr& like) {
    if (like) {
        pattern->SetLayerName(like->GetLayerName());
        pattern->SetColorIndex(like->GetColorIndex());
    }
    pattern->UpdateCache();
    return boost::make_shared<PatLoopNode>(pattern, 1);
}

// Replaces the loop's chain by nodes, keeping the node list object, and marks the loop changed when the
// chain differs.
template <class Loop>
void ReplaceNodes(const boost::shared_ptr<Loop>& loop, const std::vector<PatLoopNodePtr>& nodes) {
    const PatLoopNodeListPtr list = loop->GetLoopNodes();
    if (std::equal(list->begin(), list->end(), nodes.begin(), nodes.end())) {
        return;
    }
    list->assign(nodes.begin(), nodes.end());
    loop->SetModified(1);
}

}  // namespace detail
}  // namespace Norvane
