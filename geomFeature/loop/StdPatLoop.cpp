#include "geomFeature/loop/StdPatLoop.h"

#include <boost/make_shared.hpp>
#include <boost/pointer_cast.hpp>

#include "geomFeature/loop/detail/ClosedLoopTangent.h"

namespace Norvane {

StdPatLoop::StdPatLoop(const PatLoopNodePtr& node) {
    m_nodes->push_back(node);
}

tagDirection StdPatLoop::GetDirection() {
    return m_nodes->front()->FollowLoopDir() ? DIR_CCW : DIR_CW;
}

void StdPatLoop::ReverseDirection() {
    const PatLoopNodePtr& node = m_nodes->front();
    node->FollowLoopDir(node->FollowLoopDir() ? 0 : 1);
}

Vector2D StdPatLoop::GetDirectionOnPt(DataID patternId, const PatPosition& pos) {
    int follow = 0;
    const IPatternPtr shape = GetPatByPatID(patternId, follow);
    return detail::ClosedLoopTangent(shape, pos, follow);
}

int StdPatLoop::IsOpenPath(double /*tolerance*/) const {
    return 0;
}

IDataPtr StdPatLoop::Clone() const {
    auto node = boost::dynamic_pointer_cast<PatLoopNode>(m_nodes->front()->Clone());
    return boost::make_shared<StdPatLoop>(node);
}

}  // namespace Norvane
