#pragma once

#include <boost/shared_ptr.hpp>

#include "geomFeature/GeomFeatureExport.h"
#include "geomFeature/host/appframe/DataBase.h"
#include "geomFeature/pattern/PatRelationType.h"

namespace Norvane {

class IPattern;
using IPatternPtr = boost::shared_ptr<IPattern>;

// One end of the link between an array and its seed. The parent identifier is the pattern that owns the
// relation; the target is the pattern at the other end. An array holds a PAT_RELATION_TO_SEED relation
// to its seed, the seed a PAT_RELATION_TO_ARRAY relation back to the array.
class GF_API PatRelation : public DataBase {
public:
    PatRelation(DataID parentID, const IPatternPtr& target, tagPatRelationType type);
    // Keeps a stored identifier (loader).
    PatRelation(DataID id, DataID parentID, const IPatternPtr& target, tagPatRelationType type);

    const IPatternPtr& GetTargetPat() const;
    tagPatRelationType GetRelationType() const;

    // A new relation with the same parent, target and type and a fresh identifier.
    IDataPtr Clone() const override;

private:
    IPatternPtr m_target;
    tagPatRelationType m_type;
};

using PatRelationPtr = boost::shared_ptr<PatRelation>;

}  // namespace Norvane
