#include "geomFeature/pattern/PatRelation.h"

#include <boost/make_shared.hpp>

#include "geomFeature/pattern/IPattern.h"

namespace Norvane {

PatRelation::PatRelation(DataID parentID, const IPatternPtr& target, tagPatRelationType type)
    : m_type(type) {
    SetParentID(parentID);
    if (type == PAT_RELATION_TO_ARRAY) {
        m_array = target;
    } else {
        m_target = target;
    }
}

PatRelation::PatRelation(DataID id, DataID parentID, const IPatternPtr& target, tagPatRelationType type)
    : PatRelation(parentID, target, type) {
    SetID(id);
}

IPatternPtr PatRelation::GetTargetPat() const {
    return m_type == PAT_RELATION_TO_ARRAY ? m_array.lock() : m_target;
}

tagPatRelationType PatRelation::GetRelationType() const { return m_type; }

IDataPtr PatRelation::Clone() const {
    return boost::make_shared<PatRelation>(GetParentID(), GetTargetPat(), m_type);
}

}  // namespace Norvane
