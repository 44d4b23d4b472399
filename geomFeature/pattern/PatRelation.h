#pragma once

#include <boost/shared_ptr.hpp>
#include <boost/weak_ptr.hpp>

#include "geomFeature/GeomFeatureExport.h"
#include "geomFeature/host/appframe/DataBase.h"
#include "geomFeature/pattern/PatRelationType.h"

namespace Norvane {

class IPattern;
using IPatternPtr = boost::shared_ptr<IPattern>;

// One end of the link between an array and its seed. The parent identifier is the pattern that owns the
// relation; the target is the pattern at the other end. An array holds a PAT_RELATION_TO_SEED relation
// to its seed, the seed a PAT_RELATION_TO_ARRAY relation back to the array.
//
// Ownership runs one way only: the array owns its seed, the seed merely knows its array. The back
// relation holds a weak reference, so an array and its seed never keep each other alive; once the array
// is gone the seed's relation answers an empty target and the seed is a plain pattern again.
class GF_API PatRelation : public DataBase {
public:
    PatRelation(DataID parentID, const IPatternPtr& target, tagPatRelationType type);
    // Keeps a stored identifier (loader).
    PatRelation(DataID id, DataID parentID, const IPatternPtr& target, tagPatRelationType type);

    // The pattern at the other end; empty when a seed's array no longer exists.
    IPatternPtr GetTargetPat() const;
    tagPatRelationType GetRelationType() const;

    // A new relation with the same parent, target and type and a fresh identifier.
    IDataPtr Clone() const override;

private:
    IPatternPtr m_target;           // an array's seed (owned)
    boost::weak_ptr<IPattern> m_array;  // a seed's array (not owned)
    tagPatRelationType m_type;
};

using PatRelationPtr = boost::shared_ptr<PatRelation>;

}  // namespace Norvane
