#pragma once

#include <vector>

#include <boost/shared_ptr.hpp>

#include "geomFeature/GeomFeatureExport.h"
#include "geomFeature/host/appframe/DataBase.h"
#include "geomFeature/loop/PatLoopNode.h"

namespace Norvane {

// The chain of a loop; vector order is loop order.
class GF_API PatLoopNodeList : public std::vector<PatLoopNodePtr>, public DataBase {
public:
    PatLoopNodeList() = default;
    ~PatLoopNodeList() override = default;

    // 1 when the list's own flag is set or any node reports a change.
    int IsModified() const override;
    // A new list (new identifier) of clones of every node, in order; the patterns are shared.
    IDataPtr Clone() const override;
    // Erases the first node whose pattern has pattern's identifier; at most one node goes.
    void RemovePattern(const IPatternPtr& pattern);
};

using PatLoopNodeListPtr = boost::shared_ptr<PatLoopNodeList>;

}  // namespace Norvane
