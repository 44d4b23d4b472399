#include "geomFeature/loop/PatLoopNodeList.h"

#include <boost/make_shared.hpp>
#include <boost/pointer_cast.hpp>

namespace Norvane {

int PatLoopNodeList::IsModified() const {
    if (DataBase::IsModified()) return 1;
    for (const PatLoopNodePtr& node : *this) {
        if (node && node->IsModified()) return 1;
    }
    return 0;
}

IDataPtr PatLoopNodeList::Clone() const {
    auto copy = boost::make_shared<PatLoopNodeList>();
    copy->reserve(size());
    for (const PatLoopNodePtr& node : *this) {
        copy->push_back(boost::dynamic_pointer_cast<PatLoopNode>(node->Clone()));
    }
    return copy;
}

void PatLoopNodeList::RemovePattern(const IPatternPtr& pattern) {
    if (!pattern) return;
    const DataID id = pattern->GetID();
    for (auto it = begin(); it != end(); ++it) {
        const IPatternPtr& p = (*it)->GetPat();
        if (p && p->GetID() == id) {
            erase(it);
            return;
        }
    }
}

}  // namespace Norvane
