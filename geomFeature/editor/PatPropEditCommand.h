#pragma once

#include <boost/shared_ptr.hpp>

#include "geomFeature/GeomFeatureExport.h"
#include "geomFeature/editor/PatternCommandBase.h"
#include "geomFeature/host/appframe/DataPropItem.h"

namespace Norvane {

// Changes one value of a pattern (the pattern property bar). The pattern stays the same object.
// Do: the pattern takes the new item (UpdateProperty), its cache is refreshed, it is marked modified and the
// loops re-link it (ChangePatInLoopList). UnDo: the same with the old item. The pattern and the loop list
// are notified.
//
// Values shown in another unit than the pattern stores (angles in degrees) do not come back bit for bit
// through the old item, so the command also keeps the geometry the pattern had before its first Do and
// puts exactly that back on every undo.
class GF_API PatPropEditCommand : public PatternCommandBase {
public:
    PatPropEditCommand(const EditorData& editorData, const PatLoopListPtr& loops, const IPatternPtr& pattern,
                       const DataPropItem& newItem, const DataPropItem& oldItem);

    void Do() override;
    void UnDo() override;

private:
    void Apply(DataPropItem& item, bool forward);

    IPatternPtr m_pattern;
    DataPropItem m_newItem;
    DataPropItem m_oldItem;
    IPatternPtr m_before;  // the geometry before the first Do
};

using PatPropEditCommandPtr = boost::shared_ptr<PatPropEditCommand>;

}  // namespace Norvane
