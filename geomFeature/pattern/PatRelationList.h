#pragma once

#include <cstddef>
#include <vector>

#include <boost/shared_ptr.hpp>

#include "geomFeature/GeomFeatureExport.h"
#include "geomFeature/host/appframe/DataBase.h"
#include "geomFeature/pattern/PatRelationType.h"

namespace Norvane {

class PatRelation;
using PatRelationPtr = boost::shared_ptr<PatRelation>;

// The relations a pattern owns. The relations live in a shared vector: copies of a list (copy
// construction, assignment) see the same relations, including ones added later through either copy.
class GF_API PatRelationList : public DataBase {
public:
    PatRelationList();
    PatRelationList(const PatRelationList& other);
    PatRelationList& operator=(const PatRelationList& other);
    ~PatRelationList() override;

    // Appends; the same relation may be added twice.
    void AddPatRelation(const PatRelationPtr& relation);
    // Removes the first relation whose identifier equals relation's; nothing when there is none.
    void RemovePatRelation(const PatRelationPtr& relation);
    // The relation at index, or an empty pointer when index is outside the list (an empty list included).
    PatRelationPtr GetPatRelationByIndex(int index) const;
    // A new list, with a vector of its own, holding the relations of that type in order.
    boost::shared_ptr<PatRelationList> GetRelationByType(tagPatRelationType type) const;
    int GetCount() const;
    void Clear();

    // A new list with its own vector holding the same relation objects.
    IDataPtr Clone() const override;

private:
    using RelationVector = std::vector<PatRelationPtr>;
    boost::shared_ptr<RelationVector> m_relations;
};

using PatRelationListPtr = boost::shared_ptr<PatRelationList>;

}  // namespace Norvane
