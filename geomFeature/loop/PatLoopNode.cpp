#include "geomFeature/loop/PatLoopNode.h"

#include <boost/make_shared.hpp>

namespace Norvane {

PatLoopNode::PatLoopNode(const IPatternPtr& pattern, int follow) : m_pattern(pattern), m_follow(follow) {}

IDataPtr PatLoopNode::Clone() const { return boost::make_shared<PatLoopNode>(m_pattern, m_follow); }

}  // namespace Norvane
