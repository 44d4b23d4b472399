#include "geomFeature/pattern/PatRelation.h"

#include <boost/make_shared.hpp>

#include "geomFeature/pattern/IPattern.h"

namespace Norvane {

PatRelation::PatRelation(DataID parentID, const IPatternPtr& target, tagPatRelationType type)
    : m_target(target), m_type(type) {
    SetParentID(parentID);
}

PatRelation::PatRelation(DataID id, DataID parentID, const IPatternPtr& target, tagPatRelationType type)
    : DataBase(id), m_target(target), m_type(type) {
    SetParentID(parentID);
}

const IPatternPtr& PatRelation::GetTargetPat() const { return m_target; }

tagPatRelationType PatRelation::GetRelationType() const { return m_type; }

IDataPtr PatRelation::Clone() const { return boost::make_shared<PatRelation>(GetParentID(), m_target, m_type); }

}  // namespace Norvane
