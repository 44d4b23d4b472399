#include "geomFeature/pattern/PatRelationList.h"

#include <algorithm>

#include <boost/make_shared.hpp>

#include "geomFeature/pattern/PatRelation.h"

namespace Norvane {

PatRelationList::PatRelationList() : m_relations(boost::make_shared<RelationVector>()) {}

// The copy is a second handle on the same relations, and like every framework copy keeps the identifier.
PatRelationList::PatRelationList(const PatRelationList& other)
    : IData(), DataBase(other), m_relations(other.m_relations) {}

PatRelationList& PatRelationList::operator=(const PatRelationList& other) {
    m_relations = other.m_relations;
    return *this;
}

PatRelationList::~PatRelationList() = default;

void PatRelationList::AddPatRelation(const PatRelationPtr& relation) { m_relations->push_back(relation); }

void PatRelationList::RemovePatRelation(const PatRelationPtr& relation) {
    if (!relation) {
        return;
    }
    const DataID id = relation->GetID();
    auto it = std::find_if(m_relations->begin(), m_relations->end(),
                           [id](const PatRelationPtr& r) { return r && r->GetID() == id; });
    if (it != m_relations->end()) {
        m_relations->erase(it);
    }
}

PatRelationPtr PatRelationList::GetPatRelationByIndex(int index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= m_relations->size()) {
        return PatRelationPtr();
    }
    return (*m_relations)[static_cast<std::size_t>(index)];
}

boost::shared_ptr<PatRelationList> PatRelationList::GetRelationByType(tagPatRelationType type) const {
    auto result = boost::make_shared<PatRelationList>();
    for (const PatRelationPtr& r : *m_relations) {
        if (r && r->GetRelationType() == type) {
            result->AddPatRelation(r);
        }
    }
    return result;
}

int PatRelationList::GetCount() const { return static_cast<int>(m_relations->size()); }

void PatRelationList::Clear() { m_relations->clear(); }

IDataPtr PatRelationList::Clone() const {
    auto copy = boost::make_shared<PatRelationList>();
    *copy->m_relations = *m_relations;
    return copy;
}

}  // namespace Norvane
