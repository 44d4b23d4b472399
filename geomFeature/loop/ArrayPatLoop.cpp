#include "geomFeature/loop/ArrayPatLoop.h"

#include <boost/make_shared.hpp>
#include <boost/pointer_cast.hpp>

#include "geomFeature/loop/detail/ClosedLoopTangent.h"
#include "geomFeature/pattern/IArrayPattern.h"
#include "geomFeature/pattern/PatternList.h"

namespace Norvane {

ArrayPatLoop::ArrayPatLoop(const PatLoopNodePtr& node) {
    m_nodes->push_back(node);
}

IPatternPtr ArrayPatLoop::ControlPattern() const {
    const auto array = boost::dynamic_pointer_cast<IArrayPattern>(m_nodes->front()->GetPat());
    return array ? array->GetControlPat() : IPatternPtr();
}

PatternListPtr ArrayPatLoop::GetPatternList() {
    auto list = boost::make_shared<PatternList>();
    list->push_back(m_nodes->front()->GetPat());
    // A seedless array (only while it is being built or loaded) has nothing more to offer.
    if (const IPatternPtr seed = ControlPattern())
        list->push_back(seed);
    return list;
}

tagDirection ArrayPatLoop::GetDirection() {
    return m_nodes->front()->FollowLoopDir() ? DIR_CCW : DIR_CW;
}

void ArrayPatLoop::ReverseDirection() {
    const PatLoopNodePtr& node = m_nodes->front();
    node->FollowLoopDir(node->FollowLoopDir() ? 0 : 1);
}

Vector2D ArrayPatLoop::GetDirectionOnPt(DataID patternId, const PatPosition& pos) {
    const PatLoopNodePtr& node = m_nodes->front();
    const IPatternPtr seed = ControlPattern();
    const bool namesArray = node->GetPat() && node->GetPat()->GetID() == patternId;
    const bool namesSeed = seed && seed->GetID() == patternId;
    if (!namesArray && !namesSeed)
        return Vector2D();
    return detail::ClosedLoopTangent(seed, pos, node->FollowLoopDir());
}

int ArrayPatLoop::IsOpenPath(double /*tolerance*/) const {
    return 0;
}

IDataPtr ArrayPatLoop::Clone() const {
    auto node = boost::dynamic_pointer_cast<PatLoopNode>(m_nodes->front()->Clone());
    return boost::make_shared<ArrayPatLoop>(node);
}

}  // namespace Norvane
